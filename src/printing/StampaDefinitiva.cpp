// The final print: the lock of the application (TrasDoma, SegnaDomandaStampata), the step
// that locks it and gives the whole provisional PDF its name, the session's flags around the
// print screen, the completion at start-up of a final print that a stop left half done, and
// the final print with its checks.
#include "printing/StampaDefinitiva.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/PuntiArresto.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "common/FileTemporanei.h"
#include "db/CorsiDB.h"
#include "printing/CatalogoStampa.h"
#include "printing/ControlliStampa.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <filesystem>
#include <system_error>

namespace quirdal {

using namespace stampa;

namespace {

const QString kBaseDatiInUso = QStringLiteral("La base dati è in uso da un'altra postazione. Riprovare tra qualche istante.");

// A file put under another name in one step, replacing what was there.
bool rinomina(const QString &da, const QString &a, QString &errore)
{
    std::error_code ec;
    std::filesystem::rename(QFile(da).filesystemFileName(), QFile(a).filesystemFileName(), ec);
    if (ec)
        errore = QString::fromLocal8Bit(ec.message());
    return !ec;
}

bool domandaBloccata(CorsiDB &db, const QVariantList &chiave)
{
    return db.valoreScalare(sql::stampa::kDomandaStampata, chiave).toInt() != 0;
}

// What a record holds, and whether it can be trusted to name a final print of ours.
struct Sospesa {
    qint64 processo = 0;
    QVariantList chiave;
    QString pdf;
    static Sospesa leggi(const QString &file)
    {
        QFile f(file);
        Sospesa r;
        if (f.size() > 64 * 1024 || !f.open(QIODevice::ReadOnly))
            return r;
        QHash<QString, QString> v;
        for (const QString &riga : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            v.insert(riga.section(QLatin1Char('='), 0, 0), riga.section(QLatin1Char('='), 1));
        bool numero = false;
        const qlonglong operatore = v.value(QStringLiteral("Operatore")).toLongLong(&numero);
        r.processo = v.value(QStringLiteral("Processo")).toLongLong();
        if (numero && !v.value(QStringLiteral("GrupOpe")).isEmpty() && !v.value(QStringLiteral("Prov")).isEmpty())
            r.chiave = {v.value(QStringLiteral("GrupOpe")), operatore, v.value(QStringLiteral("Prov"))};
        const QString pdf = v.value(QStringLiteral("Pdf"));
        if (QDir::isAbsolutePath(pdf) && !pdf.contains(QChar::Null))
            r.pdf = QDir::cleanPath(pdf);
        return r;
    }
    bool valida() const { return !chiave.isEmpty() && !pdf.isEmpty(); }
};

} // namespace

QString stampa::descrizioneBaseDati(const Errore &e)
{
    if (e.numero() == codici::DatabaseBloccato)
        return kBaseDatiInUso;
    QString d = e.descrizione();
    const qsizetype contesto = d.lastIndexOf(QStringLiteral(" ["));
    if (contesto > 0 && d.endsWith(QLatin1Char(']')))
        d.truncate(contesto);
    return QStringLiteral("Errore ") + QString::number(e.numero()) + QStringLiteral(" --> ") + d;
}

QString stampa::messaggioCreato(const QString &file)
{
    return QStringLiteral("E' stato creato il file ") + file + QStringLiteral(".");
}

bool stampa::consegna(Contesto &c, Consegna &k, EsitoStampa &e, const FileDefinitivo *definitivo, Transazione *scrittura)
{
    Sessione &s = c.sessione;
    try {
        // The lock and what the form says of the transmission file, together.
        Transazione t(c.db);
        const bool giaBloccata = domandaBloccata(c.db, s.chiaveDomanda());
        if (!giaBloccata && !SegnaDomandaStampata(c.db, s)) {
            c.dialoghi.messaggio(QStringLiteral("Domanda non trovata: impossibile segnarla come stampata."), kTitoloCompilazione,
                                 Icona::Critico);
            return false;
        }
        if (definitivo)
            fissaFileDefinitivo(c.db, s.chiaveDomanda(), *definitivo, !giaBloccata);
        t.conferma();
        if (scrittura)
            scrittura->conferma();
        e.bloccata = !giaBloccata;
    } catch (const Errore &err) {
        c.dialoghi.messaggio(descrizioneBaseDati(err), kTitoloCompilazione, Icona::Esclamazione);
        return false;
    }
    puntoDiArresto("stampa-blocco");
    QString perche;
    if (!rinomina(k.provvisorio(), k.pdf(), perche)) {
        QString testo = QStringLiteral("Impossibile scrivere il file ") + k.pdf() + QStringLiteral(": ") + perche;
        if (e.bloccata) {
            try {
                Transazione t(c.db);
                c.db.esegui(sql::stampa::kSegnaDomandaStampata, QVariantList{FALSO} + s.chiaveDomanda());
                t.conferma();
                e.bloccata = false;
            } catch (const Errore &) {
                // The lock stands: the session follows it, and the next start puts the file in place.
                k.lascia();
                s.gDomandaStampata = VERO;
                s.gOperStampato = VERO;
                testo += CRLF + QStringLiteral("La stampa verrà completata al prossimo avvio del programma.");
            }
        }
        c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(codici::Generico) + QStringLiteral(" --> ") + testo,
                             QStringLiteral("Errore generico"), Icona::Esclamazione);
        return false;
    }
    puntoDiArresto("stampa-rinomina");
    k.chiudi();
    s.gDomandaStampata = VERO;
    s.gOperStampato = VERO;
    return true;
}

bool TrasDoma(CorsiDB &db, const Sessione &s) { return domandaBloccata(db, s.chiaveDomanda()); }

bool SegnaDomandaStampata(CorsiDB &db, const Sessione &s)
{
    Transazione t(db);
    const int n = db.esegui(sql::stampa::kSegnaDomandaStampata, QVariantList{VERO} + s.chiaveDomanda());
    t.conferma();
    return n > 0;
}

void iniziaStampaDefinitiva(Sessione &s)
{
    s.gTipoStampa = QStringLiteral("Stampa Definitivo");
    s.gStampaEseguita = s.gDomandaStampata != 0;
}

void registraStampaDefinitiva(Sessione &s, const EsitoStampa &e)
{
    if (e.intera())
        s.gStampaEseguita = true;
}

int completaStampeDefinitive(Contesto &c)
{
    int completate = 0;
    const QFileInfoList record =
        QDir(c.cartellaProgramma)
            .entryInfoList({QLatin1Char('*') + kEstensioneSospesa}, QDir::Files | QDir::NoSymLinks | QDir::Hidden);
    for (const QFileInfo &fi : record) {
        const Sospesa r = Sospesa::leggi(fi.absoluteFilePath());
        if (r.processo != QCoreApplication::applicationPid() && processoVivo(r.processo))
            continue; // still printing
        bool completata = false;
        if (r.valida()) {
            const QString provvisorio = r.pdf + kSuffissoProvvisorio;
            if (domandaBloccata(c.db, r.chiave)) {
                if (QFileInfo(provvisorio).isFile()) {
                    QString perche;
                    if (!rinomina(provvisorio, r.pdf, perche)) {
                        qWarning("Stampa definitiva non completata: %s", qPrintable(perche));
                        continue; // tried again at the next start
                    }
                    completata = true;
                }
            } else {
                QFile::remove(provvisorio);
            }
        }
        QFile::remove(fi.absoluteFilePath());
        if (completata) {
            ++completate;
            c.dialoghi.messaggio(messaggioCreato(r.pdf), kTitoloCompilazione, Icona::Informazione);
        }
    }
    return completate;
}

EsitoOriginale stampaOriginale(Contesto &c, AvanzamentoStampa &a, RichiestaStampa r, bool controlla)
{
    EsitoOriginale e;
    Sessione &s = c.sessione;
    if (controlla) {
        e.problemi = problemiDomandaStampa(c.db, s);
        if (!e.problemi.isEmpty())
            return e;
    }
    // The final print always covers every site.
    r.modo = kModoOriginale;
    r.tipoSede.clear();
    r.sede = 0;
    iniziaStampaDefinitiva(s);
    MotoreStampa motore(c, a);
    e.stampa = motore.esegui(r);
    registraStampaDefinitiva(s, e.stampa);
    e.segnata = e.stampa.bloccata;
    return e;
}

} // namespace quirdal
