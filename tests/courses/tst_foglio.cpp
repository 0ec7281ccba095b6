// The courses of an application in and out of a spreadsheet: what an independent reader
// (openpyxl) sees in the export, the export read back unchanged, a file edited as an agency
// edits it, a workbook written by openpyxl, hostile and broken files, and an import stopped dead.
#include "support/Bando.h"
#include "support/Domanda.h"
#include "support/RigaDiComando.h"
#include "support/Zip.h"

#include "application/Selezione.h"
#include "common/FoglioDiCalcolo.h"
#include "courses/FoglioCorsi.h"
#include "printing/ControlliStampa.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

[[maybe_unused]] QString python(const QStringList &argomenti, int *codice = nullptr)
{
    QProcess p;
    p.start(u"/usr/bin/python3"_s,
            QStringList{qEnvironmentVariable("QUIRDAL_SORGENTI") + u"/tests/courses/foglio.py"_s} + argomenti);
    p.waitForFinished(120000);
    if (codice)
        *codice = p.exitCode();
    if (p.exitCode() != 0)
        qWarning().noquote() << p.readAllStandardError();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The fixture's application, not printed, with the call's lists and every course passing the
// course rules.
struct Domanda : Selezionata {
    Domanda() : Selezionata(false)
    {
        listeDelBando(*contesto);
        // The fixture's own hour range of the action replaces the lists' narrower one.
        db.esegui(u"DELETE FROM IntervalloOreStage WHERE CodAsse='III.G' AND CodMisura='06' AND CodAzione='04'"_s);
        corsiCorretti(db);
    }
    QString esporta(const QString &nome)
    {
        QString errore;
        const QStringList f = esportaCorsi(db, sessione, percorso(nome), &errore);
        if (!errore.isEmpty())
            qWarning().noquote() << errore;
        return f.value(0);
    }
    EsitoImportazione importa(const QString &file, bool prova = false)
    {
        OpzioniImportazione o;
        o.prova = prova;
        o.noteDomanda = [this] { return problemiOreDomanda(db, sessione); };
        return importaCorsi(db, sessione, piattaforma, file, o);
    }
    // Every row of the courses' tables, in order: what "row for row" compares.
    QString stato()
    {
        QString r;
        for (const char *t : {"CorsiProp", "CorsiPropSpese", "ValoriChk", "CorsiHandi"}) {
            QSqlQuery q = db.seleziona(u"SELECT * FROM %1 ORDER BY 1, 2, 3, 4, 5, 6"_s.arg(QLatin1String(t)));
            while (q.next()) {
                QStringList v;
                for (int i = 0; i < q.record().count(); ++i)
                    v << (q.isNull(i) ? u"NULL"_s : q.value(i).toString());
                r += QLatin1String(t) + u": "_s + v.join(u'|') + u'\n';
            }
        }
        return r;
    }
};

QStringList righe(const EsitoImportazione &e)
{
    QStringList r;
    for (const ProblemaFoglio &p : e.problemi)
        r << rigaProblemaFoglio(p);
    return r;
}

} // namespace

class TestFoglio : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void esploratorio()
    {
        Domanda a;
        const QString f = a.esporta(u"corsi.xlsx"_s);
        QVERIFY(!f.isEmpty());
        QFile::copy(f, u"/tmp/foglio_esplora.xlsx"_s);
        const QString prima = a.stato();
        const EsitoImportazione e = a.importa(f);
        qInfo().noquote() << sintesiImportazione(e) << righe(e).join(u'\n') << e.note.join(u'\n');
        QCOMPARE(a.stato(), prima);
        QFile m(a.percorso(u"m.json"_s));
        m.open(QIODevice::WriteOnly);
        m.write(R"([
 {"foglio": "Spese", "riga": 4, "colonna": "Spese Generali - euro", "valore": 9.5},
 {"foglio": "Corsi", "riga": "nuova", "copia": 4, "colonna": "Corso", "valore": null},
 {"foglio": "Corsi", "riga": "nuova", "colonna": "Accorp", "valore": null},
 {"foglio": "Corsi", "riga": 5, "colonna": "Allievi previsti", "valore": "dieci"},
 {"foglio": "Corsi", "riga": 5, "colonna": "Data avvio presunta", "valore": "31/02/2010"},
 {"foglio": "Corsi", "riga": 5, "colonna": "3.4 Disabilità", "valore": "TESTO"}
])");
        m.close();
        python({u"modifica"_s, f, a.percorso(u"mod.xlsx"_s), m.fileName()});
        const EsitoImportazione e2 = a.importa(a.percorso(u"mod.xlsx"_s));
        qInfo().noquote() << sintesiImportazione(e2) << righe(e2).join(u'\n') << e2.note.join(u'\n');
        QCOMPARE(a.stato(), prima);
    }
};

QTEST_GUILESS_MAIN(TestFoglio)
#include "tst_foglio.moc"
