// CSV in and out, and what the workbook reader and writer share.
#include "common/FoglioDiCalcolo.h"

#include "common/Codifica.h"
#include "common/FileTemporanei.h"
#include "common/Importo.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QStringDecoder>

#include <cmath>

namespace quirdal {

namespace {

// A text a spreadsheet would run as a formula, after any apostrophes that already guard it.
bool sembraFormula(const QString &t)
{
    qsizetype i = 0;
    while (i < t.size() && t[i] == QLatin1Char('\''))
        ++i;
    return i < t.size() && QStringView(u"=+-@").contains(t[i]);
}

QString campoCsv(QString t)
{
    t = testoDiCella(t);
    if (sembraFormula(t))
        t.prepend(QLatin1Char('\''));
    if (t.contains(QLatin1Char(';')) || t.contains(QLatin1Char('"')) || t.contains(QLatin1Char('\r'))
        || t.contains(QLatin1Char('\n')))
        return QLatin1Char('"') + t.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return t;
}

QString valoreCsv(const ColonnaFoglio &c, const QVariant &v)
{
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QString)
        return campoCsv(v.toString());
    switch (c.tipo) {
    case TipoColonna::Importo:
        return Importo::daCentesimi(v.toLongLong()).formatoSenzaGruppi();
    case TipoColonna::Intero:
        return QString::number(v.toLongLong());
    case TipoColonna::Data:
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case TipoColonna::Testo:
        break;
    }
    return campoCsv(v.toString());
}

} // namespace

QString testoDiCella(QString testo)
{
    return testo.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QString nomeColonna(int colonna)
{
    QString r;
    for (int c = colonna; c > 0; c = (c - 1) / 26)
        r.prepend(QChar(u'A' + (c - 1) % 26));
    return r;
}

double serialeDaData(const QDate &data) { return static_cast<double>(QDate(1899, 12, 30).daysTo(data)); }

QDate dataDaSeriale(double seriale, bool date1904)
{
    if (!std::isfinite(seriale) || seriale < (date1904 ? 0 : 1) || seriale >= 2958466)
        return {};
    const auto giorni = static_cast<qint64>(std::floor(seriale));
    if (date1904)
        return QDate(1904, 1, 1).addDays(giorni);
    // The 1900 system counts a 29 February 1900 that never was: the days before it are one off.
    if (giorni == 60)
        return {};
    return (giorni < 60 ? QDate(1899, 12, 31) : QDate(1899, 12, 30)).addDays(giorni);
}

CellaLetta FoglioLetto::cella(int riga, int colonna) const
{
    if (riga < 1 || riga > righe.size() || colonna < 1)
        return {};
    return righe[riga - 1].value(colonna - 1);
}

const FoglioLetto *CartellaLetta::foglio(const QString &nome) const
{
    for (const FoglioLetto &f : fogli)
        if (f.nome.compare(nome, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

QString scriviCsv(const QString &percorso, const FoglioDaScrivere &foglio)
{
    QString t;
    QStringList intestazioni;
    for (const ColonnaFoglio &c : foglio.colonne)
        intestazioni << campoCsv(c.intestazione);
    t += intestazioni.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    for (const QVariantList &riga : foglio.righe) {
        QStringList campi;
        for (int c = 0; c < foglio.colonne.size(); ++c)
            campi << valoreCsv(foglio.colonne[c], riga.value(c));
        t += campi.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    }
    FileSicuro f(percorso);
    if (!f.apri() || !f.scrivi(QByteArray("\xEF\xBB\xBF") + t.toUtf8()) || !f.conferma())
        return QStringLiteral("impossibile scrivere ") + QDir::toNativeSeparators(percorso);
    return {};
}

CartellaLetta leggiCsv(const QString &percorso, const QString &nome, const LimitiLettura &limiti)
{
    CartellaLetta r;
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly)) {
        r.errore = QStringLiteral("Impossibile aprire il file: ") + f.errorString();
        return r;
    }
    if (f.size() > limiti.parte) {
        r.errore = QStringLiteral("Il file è troppo grande per essere letto (oltre %1 MB).").arg(limiti.parte >> 20);
        return r;
    }
    QByteArray dati = f.readAll();
    if (dati.startsWith("\xEF\xBB\xBF"))
        dati.remove(0, 3);
    if (dati.contains('\0')) {
        r.errore = QStringLiteral("Il file non è un file CSV di testo.");
        return r;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString testo = utf8.decode(dati);
    if (utf8.hasError())
        testo = daWindows1252(dati); // what Excel's own "CSV" saves
    // The separator the header uses most.
    const QString intestazione = testo.left(testo.indexOf(QLatin1Char('\n')));
    QChar separatore = QLatin1Char(';');
    for (const QChar s : {QLatin1Char(','), QLatin1Char('\t')})
        if (intestazione.count(s) > intestazione.count(separatore))
            separatore = s;

    FoglioLetto foglio;
    foglio.nome = nome;
    QList<CellaLetta> riga;
    QString campo;
    bool virgolette = false, tralasciato = false;
    auto chiudiCampo = [&] {
        if (campo.size() > limiti.caratteri)
            return false;
        CellaLetta c;
        if (!campo.isEmpty()) {
            c.tipo = CellaLetta::Tipo::Testo;
            c.testo = sembraFormula(campo) && campo.startsWith(QLatin1Char('\'')) ? campo.mid(1) : campo;
        }
        riga.append(c);
        campo.clear();
        return true;
    };
    auto chiudiRiga = [&] {
        while (!riga.isEmpty() && riga.last().tipo == CellaLetta::Tipo::Vuota)
            riga.removeLast();
        foglio.righe.append(riga);
        riga.clear();
        return foglio.righe.size() <= limiti.righe;
    };
    QString problema;
    for (qsizetype i = 0; i < testo.size() && problema.isEmpty(); ++i) {
        const QChar ch = testo[i];
        if (virgolette) {
            if (ch == QLatin1Char('"')) {
                if (i + 1 < testo.size() && testo[i + 1] == QLatin1Char('"')) {
                    campo += ch;
                    ++i;
                } else {
                    virgolette = false;
                }
            } else {
                campo += ch;
            }
            continue;
        }
        if (ch == QLatin1Char('"') && campo.isEmpty()) {
            virgolette = true;
        } else if (ch == separatore) {
            if (!chiudiCampo())
                problema = QStringLiteral("cella");
        } else if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n')) {
            if (ch == QLatin1Char('\r') && i + 1 < testo.size() && testo[i + 1] == QLatin1Char('\n'))
                ++i;
            if (!chiudiCampo())
                problema = QStringLiteral("cella");
            else if (!chiudiRiga())
                problema = QStringLiteral("righe");
            tralasciato = false;
        } else {
            campo += ch;
            tralasciato = true;
        }
    }
    if (problema.isEmpty() && (tralasciato || !campo.isEmpty() || !riga.isEmpty())) {
        if (!chiudiCampo())
            problema = QStringLiteral("cella");
        else if (!chiudiRiga())
            problema = QStringLiteral("righe");
    }
    if (problema == QLatin1String("cella"))
        r.errore = QStringLiteral("Una cella del file supera i %1 caratteri: il file non viene letto.")
                       .arg(QLocale(QLocale::Italian).toString(limiti.caratteri));
    else if (problema == QLatin1String("righe"))
        r.errore = QStringLiteral("Il file ha più di %1 righe: il file non viene letto.")
                       .arg(QLocale(QLocale::Italian).toString(limiti.righe));
    else if (virgolette)
        r.errore = QStringLiteral("Il file CSV è troncato: un campo tra virgolette non è chiuso.");
    else {
        // Rows with nothing at the end (the empty rows a spreadsheet may leave) do not count.
        while (!foglio.righe.isEmpty() && foglio.righe.last().isEmpty())
            foglio.righe.removeLast();
        r.fogli << foglio;
    }
    return r;
}

} // namespace quirdal
