#include "AllegatoAssistenza.h"

#include "common/Generale.h"

#include <QDir>
#include <QSaveFile>
#include <QStringDecoder>

#include <cstdio>

namespace regione {

namespace {

QString valore(const QList<QPair<QString, QString>> &campi, const char *nome)
{
    for (const auto &[n, v] : campi)
        if (n == QLatin1String(nome))
            return v;
    return {};
}

bool presente(const QList<QPair<QString, QString>> &campi, const char *nome)
{
    for (const auto &c : campi)
        if (c.first == QLatin1String(nome))
            return true;
    return false;
}

Risposta errore(const QString &motivo) { return {200, QByteArray("ERRORE: ") + motivo.toUtf8(), false, {}}; }

QByteArray parametro(const QByteArray &intestazione, const QByteArray &nome)
{
    for (QByteArray pezzo : intestazione.split(';')) {
        pezzo = pezzo.trimmed();
        if (pezzo.startsWith(nome + '=')) {
            QByteArray v = pezzo.mid(nome.size() + 1);
            if (v.size() >= 2 && v.startsWith('"') && v.endsWith('"'))
                v = v.mid(1, v.size() - 2);
            return v;
        }
    }
    return {};
}

} // namespace

QString controllaCampiAssistenza(const QList<QPair<QString, QString>> &campi)
{
    if (!quirdal::controllaEmail(valore(campi, "fr").trimmed()).isEmpty())
        return QStringLiteral("mittente non valido");
    for (const char *obbligatorio : {"tel", "rif", "prb"})
        if (valore(campi, obbligatorio).trimmed().isEmpty())
            return QStringLiteral("campo %1 mancante").arg(QLatin1String(obbligatorio));
    if (!presente(campi, "cp") || valore(campi, "ap") != QLatin1String("QUIRDAL"))
        return QStringLiteral("richiesta incompleta");
    return {};
}

Risposta allegatoAssistenza(const Richiesta &r, const QString &ricevuti, int pratica)
{
    const QByteArray confine = parametro(r.intestazioni.value("content-type"), "boundary");
    if (confine.isEmpty())
        return errore(QStringLiteral("richiesta non valida"));
    const QByteArray delimitatore = "--" + confine;
    QList<QPair<QString, QString>> campi;
    QString nomeFile;
    QByteArray dati;
    bool conFile = false;
    qsizetype pos = r.corpo.indexOf(delimitatore);
    while (pos >= 0) {
        pos += delimitatore.size();
        if (r.corpo.mid(pos, 2) == "--")
            break; // the closing delimiter
        pos += 2;  // CR LF
        const qsizetype fine = r.corpo.indexOf("\r\n" + delimitatore, pos);
        const qsizetype finiIntestazioni = r.corpo.indexOf("\r\n\r\n", pos);
        if (fine < 0 || finiIntestazioni < 0 || finiIntestazioni > fine)
            return errore(QStringLiteral("richiesta non valida"));
        QByteArray disposizione;
        for (const QByteArray &riga : r.corpo.mid(pos, finiIntestazioni - pos).split('\n'))
            if (riga.trimmed().toLower().startsWith("content-disposition:"))
                disposizione = riga.trimmed().mid(20);
        const QByteArray contenuto = r.corpo.mid(finiIntestazioni + 4, fine - finiIntestazioni - 4);
        const QString nome = QString::fromUtf8(parametro(disposizione, "name"));
        if (disposizione.contains("filename=")) {
            conFile = true;
            nomeFile = QString::fromUtf8(parametro(disposizione, "filename"));
            dati = contenuto;
        } else {
            campi.append({nome, QString::fromUtf8(contenuto)});
        }
        pos = fine + 2;
    }
    if (const QString e = controllaCampiAssistenza(campi); !e.isEmpty())
        return errore(e);
    if (valore(campi, "h").trimmed().isEmpty())
        return errore(QStringLiteral("indirizzo dell'assistenza mancante"));
    if (!conFile || nomeFile.isEmpty() || nomeFile.contains(QLatin1Char('/')) || nomeFile.contains(QLatin1Char('\\'))
        || nomeFile.contains(QLatin1String("..")) || nomeFile.contains(QLatin1Char(':'))
        || !nomeFile.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive))
        return errore(QStringLiteral("nome dell'allegato non valido"));
    if (!dati.startsWith("PK\x03\x04"))
        return errore(QStringLiteral("l'allegato non è un archivio zip"));
    QDir().mkpath(ricevuti);
    QSaveFile f(QDir(ricevuti).filePath(nomeFile));
    if (!f.open(QIODevice::WriteOnly) || f.write(dati) != dati.size() || !f.commit())
        return {500, "ERRORE: scrittura non riuscita", false, {}};
    std::fprintf(stderr, "assistenza con allegato da %s: %s (%lld byte)\n", valore(campi, "fr").toLocal8Bit().constData(),
                 nomeFile.toLocal8Bit().constData(), static_cast<long long>(dati.size()));
    const QString pagina = QStringLiteral("<html><body><h3>Richiesta di assistenza ricevuta</h3><p>Numero pratica: %1</p>"
                                          "<p>Allegato %2 (%3 byte) ricevuto.</p></body></html>")
                               .arg(pratica)
                               .arg(nomeFile.toHtmlEscaped())
                               .arg(dati.size());
    return {200, pagina.toUtf8(), true, {}};
}

} // namespace regione
