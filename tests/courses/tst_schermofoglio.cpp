// The course sheet's spreadsheet actions as a user meets them: the file asked for, the report of
// every problem read and copied, the question before anything is written, the notes.
#include "courses/ui/Corsi.h"
#include "courses/ui/RapportoImportazione.h"
#include "support/FoglioCorsi.h"
#include "support/GuidaModali.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// The lines of the report, read as it shows.
QStringList leggi(QDialog *d)
{
    auto *l = trova<QListWidget>(d, u"lstProblemi"_s);
    QStringList r;
    for (int i = 0; i < l->count(); ++i)
        r << l->item(i)->text();
    return r;
}

} // namespace

class TestSchermoFoglio : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void esporta()
    {
        DomandaPronta a;
        a.dialoghi.file << a.percorso(u"corsi.xlsx"_s);
        esportaInFoglio(*a.contesto);
        unMessaggio(a.dialoghi,
                    u"Corsi della domanda esportati in:\r\n"_s + QDir::toNativeSeparators(a.percorso(u"corsi.xlsx"_s)),
                    u"Esporta in foglio di calcolo"_s, Icona::Informazione);
        QVERIFY(a.esiste(u"corsi.xlsx"_s));
    }

    // A file with problems: the report lists them, "Copia l'elenco" copies them, nothing is written.
    void rapportoDeiProblemi()
    {
        DomandaPronta a;
        const QString f = a.modificato(
            a.esporta(u"corsi.xlsx"_s),
            cambi({cambio(u"Corsi"_s, 3, u"Allievi previsti"_s, u"x"_s), cambio(u"Corsi"_s, 4, u"Orario"_s, u"9"_s)}));
        const QString prima = a.stato();
        a.dialoghi.file << f;
        QStringList righe;
        QString sintesi;
        GuidaModali guida({[&](QDialog *d) {
            righe = leggi(d);
            sintesi = trova<QLabel>(d, u"lblSintesi"_s)->text();
            clicca(d, u"cmdCopia"_s);
            clicca(d, u"cmdChiudi"_s);
        }});
        QVERIFY(!importaDaFoglio(*a.contesto, nullptr));
        QCOMPARE(guida.aperte, QStringList{u"frmRapportoImportazione"_s});
        const QStringList attese{u"Foglio \"Corsi\", riga 3, colonna \"Allievi previsti\": Il valore \"x\" non è un numero "
                                 "intero"_s,
                                 u"Foglio \"Corsi\", riga 4, colonna \"Orario\": 9 (codice non più valido)"_s};
        QCOMPARE(righe, attese);
        QVERIFY(sintesi.endsWith(u"Problemi trovati: 2. Nessun corso è stato importato.\nCorreggere il file e importarlo di "
                                 "nuovo."_s));
        QVERIFY(QApplication::clipboard()->text().endsWith(attese.join(u'\n') + u'\n'));
        QCOMPARE(a.dialoghi.messaggi.size(), 0);
        QCOMPARE(a.stato(), prima);
    }

    // A file without problems is written only after the question, answered yes.
    void domandaPrimaDiScrivere_data()
    {
        QTest::addColumn<bool>("si");
        QTest::newRow("sì") << true;
        QTest::newRow("no") << false;
    }
    void domandaPrimaDiScrivere()
    {
        QFETCH(bool, si);
        DomandaPronta a;
        const QString f = a.modificato(a.esporta(u"corsi.xlsx"_s), cambi({cambio(u"Corsi"_s, 4, u"Allievi previsti"_s, 25)}));
        // Without notes of the application (the fixture's component 2 has no rooms for the 30% rule)
        // the outcome is a message.
        a.db.esegui(u"UPDATE CorsiCompo SET NumLocali=5 WHERE Componente=2"_s);
        a.dialoghi.file << f;
        a.dialoghi.risposte << (si ? Risposta::Si : Risposta::No);
        GuidaModali guida;
        QCOMPARE(importaDaFoglio(*a.contesto, nullptr), si);
        QStringList attesi{u"Nessun problema nel file: 0 corsi nuovi, 1 da aggiornare, 3 invariati.\r\nImportare i corsi?"_s};
        if (si)
            attesi << u"Importazione eseguita: 0 corsi nuovi, 1 aggiornati, 3 invariati."_s;
        QCOMPARE(a.dialoghi.testiMessaggi(), attesi);
        QCOMPARE(a.dialoghi.messaggi.first().pulsanti, Pulsanti::SiNo);
        QCOMPARE(guida.aperte, QStringList());
        QCOMPARE(a.valore(u"SELECT NumAll FROM CorsiProp WHERE Corso='0002'"_s), si ? u"25"_s : u"18"_s);
    }

    // The application's hour checks after the import: notes in the report, the courses written.
    void note()
    {
        DomandaPronta a;
        const QString f = a.modificato(a.esporta(u"corsi.xlsx"_s), cambi({cambio(u"Corsi"_s, 4, u"Allievi previsti"_s, 25)}));
        a.db.esegui(u"UPDATE CorsiCompo SET NumLocali=0 WHERE Componente=1"_s);
        a.dialoghi.file << f;
        a.dialoghi.risposte << Risposta::Si;
        QStringList righe;
        GuidaModali guida({[&](QDialog *d) { righe = leggi(d); }});
        QVERIFY(importaDaFoglio(*a.contesto, nullptr));
        QCOMPARE(guida.aperte, QStringList{u"frmRapportoImportazione"_s});
        QCOMPARE(righe.size(), 2);
        QVERIFY(righe[0].startsWith(u"Nota: Le attività formative svolte in Sedi Occasionali"_s));
        QVERIFY(righe[1].startsWith(u"Nota: In ogni locale potranno essere svolti corsi per un massimo di 1.200 ore diurne"_s));
        QCOMPARE(a.valore(u"SELECT NumAll FROM CorsiProp WHERE Corso='0002'"_s), u"25"_s);
    }

    // From the course sheet: the course on screen shows what the import wrote, the sheet stays on it.
    void dallaSchedaCorsi()
    {
        DomandaPronta a;
        const QString f = a.modificato(a.esporta(u"corsi.xlsx"_s), cambi({cambio(u"Corsi"_s, 4, u"Allievi previsti"_s, 25)}));
        a.db.esegui(u"UPDATE CorsiCompo SET NumLocali=5 WHERE Componente=2"_s);
        a.sessione.impostaSede(a.valore(u"SELECT SedeInteressata FROM CorsiProp WHERE Corso='0002'"_s));
        Corsi scheda(*a.contesto);
        QVERIFY(scheda.carica());
        scheda.show();
        while (trova<QLabel>(&scheda, u"lblCorso"_s)->text().trimmed() != u"0002"_s)
            clicca(&scheda, u"cmdNext"_s);
        QCOMPARE(trova<QLineEdit>(&scheda, u"txtNumAll"_s)->text(), u"18"_s);
        a.dialoghi.file << f;
        a.dialoghi.risposte << Risposta::Si;
        GuidaModali guida;
        clicca(&scheda, u"cmdImportaFoglio"_s);
        QCOMPARE(a.dialoghi.testiMessaggi().value(1), u"Importazione eseguita: 0 corsi nuovi, 1 aggiornati, 3 invariati."_s);
        QCOMPARE(trova<QLabel>(&scheda, u"lblCorso"_s)->text().trimmed(), u"0002"_s);
        QCOMPARE(trova<QLineEdit>(&scheda, u"txtNumAll"_s)->text(), u"25"_s);
    }

    // What cannot be read is said, and no question follows; cancelling the file dialog does nothing.
    void fileIllegibile()
    {
        DomandaPronta a;
        a.scrivi(u"rotto.xlsx"_s, "rotto");
        a.dialoghi.file << a.percorso(u"rotto.xlsx"_s) << QString();
        QVERIFY(!importaDaFoglio(*a.contesto, nullptr));
        unMessaggio(a.dialoghi, u"Il file non è una cartella di lavoro di Excel (.xlsx) leggibile."_s,
                    u"Importa da foglio di calcolo"_s, Icona::Critico);
        QVERIFY(!importaDaFoglio(*a.contesto, nullptr));
        QCOMPARE(a.dialoghi.messaggi.size(), 1);
    }
};

QTEST_MAIN(TestSchermoFoglio)
#include "tst_schermofoglio.moc"
