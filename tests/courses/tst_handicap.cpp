// The handicap sheets of a site as a user makes them, and the reassignment screen and menu
// entry.
#include "support/Detentore.h"
#include "support/Domanda.h"
#include "support/GuidaModali.h"

#include "courses/Handicap.h"
#include "db/Aggiornamenti.h"
#include "db/Schema.h"
#include "courses/ui/Handi.h"
#include "courses/ui/Riass.h"
#include "startup/ui/MainForm.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// The fixture's application open to changes, at site 1, where both rows of course 0001
// foresee a sheet.
struct Sede1 : Ambiente {
    explicit Sede1(bool stampata = false)
    {
        selezionata(*this, stampata);
        db.esegui(u"INSERT INTO Destin VALUES (1, 'GIOVANI DISOCCUPATI'), (4, 'OCCUPATI')"_s);
        db.esegui(u"UPDATE CorsiProp SET SchedaHand=1 WHERE SedeInteressata=1 AND Corso='0001'"_s);
        sessione.impostaSede(u"1"_s);
        sessione.gDenCompo = u"SEDE LEGALE"_s;
    }
};

// The entry n places down in a list, chosen with the keyboard as a user does.
void scendi(QWidget *w, const QString &nome, int volte)
{
    auto *c = trova<QComboBox>(w, nome);
    c->setFocus();
    for (int i = 0; i < volte; ++i)
        QTest::keyClick(c, Qt::Key_Down);
}

QStringList voci(QComboBox *c)
{
    QStringList r;
    for (int i = 0; i < c->count(); ++i)
        r << c->itemText(i);
    return r;
}

} // namespace

class TestHandicap : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A database of the previous release gets the column of the persons, and the saved query
    // of the sheets shows it: a server fixes a view's columns when the view is made.
    void colonnaPersone()
    {
        Pronto a;
        // The previous release: the table without the column, the query made over it.
        QString qryhandi;
        for (const QuerySalvata &q : querySalvate())
            if (q.nome == u"qryhandi"_s)
                qryhandi = q.perMotore(a.db.motore());
        QVERIFY(!qryhandi.isEmpty());
        a.db.esegui(u"DROP VIEW qryhandi"_s);
        a.db.esegui(u"ALTER TABLE CorsiHandi DROP COLUMN NumPersone"_s);
        a.db.sostituisciQuery(u"qryhandi"_s, qryhandi);
        QVERIFY(!a.db.esisteColonna(u"qryhandi"_s, u"NumPersone"_s));

        QVERIFY(aggiornaSchedeHandicap(a.db));
        QVERIFY(a.db.esisteColonna(u"CorsiHandi"_s, u"NumPersone"_s));
        QVERIFY(a.db.esisteColonna(u"qryhandi"_s, u"NumPersone"_s));
        QVERIFY(!aggiornaSchedeHandicap(a.db));
    }

    // A course foresees a sheet when the call admits one for its action and type.
    void segnaScheda_data()
    {
        colonne<QString, int>("tipologia", "schedaHand");
        QTest::newRow("ammessa") << "10" << 1;
        QTest::newRow("non ammessa") << "20" << 0;
    }
    void segnaScheda()
    {
        QFETCH(QString, tipologia);
        QFETCH(int, schedaHand);
        Sede1 a;
        a.db.esegui(u"INSERT INTO AmmissioneSchedaHand VALUES ('III.G', '06', '04', '10')"_s);
        a.db.esegui(u"UPDATE CorsiProp SET CodTipologia=?, SchedaHand=NULL WHERE Corso='0001' AND Accorp='0'"_s, {tipologia});
        // The course sheet's save marks it.
        const std::optional<DatiCorso> d = caricaCorso(a.db, a.sessione, {1, u"0001"_s, u"0"_s});
        QVERIFY(d);
        scriviCorso(a.db, a.sessione, a.piattaforma, *d);
        QCOMPARE(a.valore(u"SELECT SchedaHand FROM CorsiProp WHERE Corso='0001' AND Accorp='0'"_s).toInt(), schedaHand);
    }

    void regole_data()
    {
        colonne<QString, int, QString, QString>("corso", "persone", "destinatari", "messaggio");
        QTest::newRow("corso senza scheda") << "0002 0" << 1 << "1"
                                            << "Il corso scelto non prevede l'integrazione di persone "
                                               "portatrici di handicap.";
        QTest::newRow("nessuna persona") << "0001 0" << 0 << "1"
                                         << "Indicare il numero di persone portatrici di handicap da "
                                            "integrare nel corso.";
        QTest::newRow("piu degli allievi") << "0001 1" << 11 << "1"
                                           << "Il numero di persone portatrici di handicap non può "
                                              "superare il numero di allievi previsto dal corso (10).";
        QTest::newRow("tanti quanti gli allievi") << "0001 1" << 10 << "1"
                                                  << "";
        QTest::newRow("destinatario ripetuto") << "0001 0" << 1 << "4,4"
                                               << "Destinatario indicato più volte.";
        QTest::newRow("destinatario ignoto") << "0001 0" << 1 << "99"
                                             << "Destinatario non presente nella tabella dei "
                                                "destinatari.";
        QTest::newRow("nessun destinatario") << "0001 0" << 1 << ""
                                             << "Indicare almeno un destinatario della scheda handicap.";
    }
    void regole()
    {
        QFETCH(QString, corso);
        QFETCH(int, persone);
        QFETCH(QString, destinatari);
        QFETCH(QString, messaggio);
        Sede1 a;
        SchedaHandicap h{{}, {1, corso.left(4), corso.mid(5)}, persone, {}};
        const QStringList d = destinatari.split(u',', Qt::SkipEmptyParts);
        for (int i = 0; i < d.size(); ++i)
            h.codDest[i] = d[i];
        QCOMPARE(verificaSchedaHandicap(a.db, a.sessione, h).messaggio, messaggio);
    }

    // Two sheets made on the screen, then the list, the move to the first one, its deletion.
    void schedeDaSchermo()
    {
        Sede1 a;
        frmHandi w(*a.contesto);
        w.carica();
        mostra(w);
        QCOMPARE(trova<QLabel>(&w, u"lblHandi"_s)->text(), u" ---- "_s);
        QVERIFY(!trova(&w, u"cmdElimina"_s)->isEnabled());
        clicca(&w, u"cmdSalva"_s);
        QCOMPARE(a.dialoghi.ultimo(), u"Selezionare il corso a cui si riferisce la scheda handicap."_s);
        scendi(&w, u"cmbCorso"_s, 1);
        digita(&w, u"txtNumPersone"_s, u"2"_s);
        scendi(&w, u"cmbDest_0"_s, 1);
        clicca(&w, u"cmdSalva"_s);
        QCOMPARE(a.dialoghi.ultimo(), u"Scheda handicap 0001 inserita"_s);
        QCOMPARE(trova<QLabel>(&w, u"lblHandi"_s)->text(), u"0001"_s);
        QCOMPARE(a.valore(u"SELECT Corso || Accorp || '/' || NumPersone || '/' || CodDest1 FROM CorsiHandi"_s), u"00010/2/1"_s);

        // The same course again is refused; its merged course is not.
        clicca(&w, u"cmdNuova"_s);
        scendi(&w, u"cmbCorso"_s, 1);
        digita(&w, u"txtNumPersone"_s, u"1"_s);
        scendi(&w, u"cmbDest_0"_s, 2);
        clicca(&w, u"cmdSalva"_s);
        QCOMPARE(a.dialoghi.ultimo(), u"Per il corso scelto è già presente la scheda handicap 0001."_s);
        scendi(&w, u"cmbCorso"_s, 1);
        clicca(&w, u"cmdSalva"_s);
        QCOMPARE(a.dialoghi.ultimo(), u"Scheda handicap 0002 inserita"_s);
        QCOMPARE(vociEleHandi(a.db, a.sessione), QStringList({u"0001 - OPERATORE GRAFICO"_s, u"0002 - QUALIFICA NUOVA"_s}));

        QString evidenziata;
        GuidaModali guida({[&](QDialog *d) {
            auto *l = trova<QListWidget>(d, u"lstAllHandi"_s);
            evidenziata = l->currentItem()->text();
            l->setCurrentRow(0);
            clicca(d, u"cmdSele2"_s);
        }});
        clicca(&w, u"CmdVai"_s);
        QCOMPARE(guida.aperte, QStringList{u"EleHandi"_s});
        QCOMPARE(evidenziata, u"0002 - QUALIFICA NUOVA"_s);
        QCOMPARE(trova<QLabel>(&w, u"lblHandi"_s)->text(), u"0001"_s);
        QCOMPARE(trova<QLineEdit>(&w, u"txtNumPersone"_s)->text(), u"2"_s);

        a.dialoghi.risposte.enqueue(Risposta::Si);
        clicca(&w, u"cmdElimina"_s);
        QCOMPARE(vociEleHandi(a.db, a.sessione), QStringList{u"0002 - QUALIFICA NUOVA"_s});
        QCOMPARE(trova<QLabel>(&w, u"lblHandi"_s)->text(), u"0002"_s);

        // Leaving a changed sheet asks: Cancel stays, Yes saves and leaves.
        digita(&w, u"txtNumPersone"_s, u"4"_s);
        a.dialoghi.risposte.enqueue(Risposta::Annulla);
        clicca(&w, u"cmdEsci"_s);
        QVERIFY(w.isVisible());
        a.dialoghi.risposte.enqueue(Risposta::Si);
        clicca(&w, u"cmdEsci"_s);
        QVERIFY(!w.isVisible());
        QCOMPARE(a.valore(u"SELECT NumPersone FROM CorsiHandi WHERE Handi='0002'"_s), u"4"_s);
    }

    // A printed application shows its sheets and changes none.
    void stampata()
    {
        Sede1 a(true);
        a.db.esegui(u"INSERT INTO CorsiHandi (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, Handi, NumPersone, CodDest1) "
                    "VALUES ('A', 7, 1, '0001', '0', '0001', 3, '4')"_s);
        frmHandi w(*a.contesto);
        w.carica();
        QCOMPARE(a.dialoghi.ultimo(),
                 u"Domanda già inviata alla Provincia.\r\nNon sarà possibile modificare i dati delle schede "
                 "handicap."_s);
        QCOMPARE(trova<QLineEdit>(&w, u"txtNumPersone"_s)->text(), u"3"_s);
        for (const char *b : {"cmdSalva", "cmdElimina", "cmdNuova", "txtNumPersone"})
            QVERIFY(!trova(&w, QString::fromLatin1(b))->isEnabled());
        QVERIFY(numeroErrore([&] { cancellaSchedaHandicap(a.db, a.sessione, u"0001"_s); }) != 0);
        QCOMPARE(a.conta(u"CorsiHandi"_s), 1);
    }

    // To an occasional site the screen asks for the responsible component: Cancel moves
    // nothing, a choice moves the course with its merged course.
    void riassegnaVersoSedeOccasionale()
    {
        Selezionata a(false);
        Riass w(*a.contesto);
        w.carica();
        mostra(w);
        scendi(&w, u"cmbSedeDa"_s, 1);
        QCOMPARE(voci(trova<QComboBox>(&w, u"cmbSedeA"_s)),
                 QStringList({u"2 - SEDE DUE - UL - VIA DUE 2"_s, u"1001 - PALESTRA - VIA SPORT 1   (SEDE OCCASIONALE)"_s}));
        clicca(&w, u"cmdConfer"_s);
        QCOMPARE(a.dialoghi.ultimo(), u"Selezionare la sede su cui spostare il/i corsi"_s);
        scendi(&w, u"cmbSedeA"_s, 2);
        clicca(&w, u"OpzCorso"_s);
        clicca(&w, u"cmdConfer"_s);
        QCOMPARE(a.dialoghi.ultimo(), u"Selezionare il corso o i corsi da spostare"_s);
        scendi(&w, u"cmbCorso"_s, 1);

        a.dialoghi.risposte.enqueue(Risposta::Si); // "Annulla l'operazione di spostamento ?"
        {
            GuidaModali annulla({[](QDialog *d) { clicca(d, u"cmdAnnulla"_s); }});
            clicca(&w, u"cmdConfer"_s);
            QCOMPARE(annulla.aperte, QStringList{u"CompoRes"_s});
        }
        QCOMPARE(a.lista(u"SELECT SedeInteressata FROM CorsiProp WHERE Corso='0001' ORDER BY Accorp"_s), u"1,1"_s);

        GuidaModali sceglie({[](QDialog *d) {
            scendi(d, u"cmbCompo"_s, 2);
            clicca(d, u"cmdConferma"_s);
        }});
        clicca(&w, u"cmdConfer"_s);
        QCOMPARE(a.dialoghi.ultimo(), u"RIASSEGNAZIONE EFFETTUATA. Sono stati spostati anche gli eventuali accorpati."_s);
        QCOMPARE(a.lista(u"SELECT SedeInteressata || '/' || CompoResp FROM CorsiProp WHERE Corso='0001' ORDER BY Accorp"_s),
                 u"1001/2,1001/2"_s);
        QCOMPARE(a.valore(u"SELECT count(*) FROM CorsiPropSpese WHERE Corso='0001' AND SedeInteressata=1001"_s), u"2"_s);
        QCOMPARE(trova<QComboBox>(&w, u"cmbSedeDa"_s)->currentIndex(), -1);
        QVERIFY(trova<QRadioButton>(&w, u"OpzTuttiCorsi"_s)->isChecked());
    }

    // The handicap entry: the site picker, then the sheets of the chosen site over it; the
    // picker stays open when they close.
    void menuSchede()
    {
        Sede1 a;
        MDI_Main m(*a.contesto);
        mostra(m);
        QString sede;
        // The sheets open inside the picker's click: that click is posted, so that the guide
        // goes on acting on them.
        GuidaModali guida({[](QDialog *d) { QTimer::singleShot(0, d, [d] { clicca(d, u"cmdConfer"_s); }); },
                           [&](QDialog *d) {
                               sede = trova<QLabel>(d, u"lblCompo"_s)->text();
                               d->reject();
                           }});
        clicca(&m, u"cmdHandi"_s);
        QCOMPARE(guida.aperte, QStringList({u"SelComp"_s, u"frmHandi"_s}));
        QCOMPARE(sede, u"1"_s);
        QCOMPARE(guida.chiuseForzate, 1);
    }

    // The menu entry works on the database taken exclusively, and gives it back shared.
    // When it cannot (the connection lost meanwhile and the file taken by another
    // workstation), the user is told.
    void menuRiassegnazione_data()
    {
        colonne<bool, QString>("persa", "messaggio");
        QTest::newRow("riaperta condivisa") << false << QString();
        QTest::newRow("presa da un'altra postazione")
            << true
            << u"La base dati non si riapre: riavviare il programma.\r\n\r\nErrore 3260\r\nLa base dati è aperta in modo "
               "esclusivo da un'altra postazione."_s;
    }
    void menuRiassegnazione()
    {
        QFETCH(bool, persa);
        QFETCH(QString, messaggio);
        Selezionata a(false);
        a.db.riapriInModo(ModoApertura::Condiviso);
        MDI_Main m(*a.contesto);
        mostra(m);
        a.dialoghi.risposte.enqueue(Risposta::Si);
        ModoApertura durante = ModoApertura::Condiviso;
        std::optional<Detentore> altra;
        GuidaModali guida({[&](QDialog *d) {
            durante = a.db.modo();
            if (persa) {
                a.db.chiudi();
                altra.emplace(a.percorsoDb(), u"esclusivo"_s);
            }
            d->reject();
        }});
        const qsizetype prima = a.dialoghi.messaggi.size();
        clicca(&m, u"cmdRiass"_s);
        QCOMPARE(guida.aperte, QStringList{u"Riass"_s});
        QVERIFY(durante == ModoApertura::Esclusivo);
        // The question before the screen, then the failed reopen, if any.
        QCOMPARE(a.dialoghi.messaggi.size(), prima + (persa ? 2 : 1));
        if (!persa) {
            QVERIFY(a.db.modo() == ModoApertura::Condiviso);
            return;
        }
        QCOMPARE(altra->risposta, u"PRONTO"_s);
        QCOMPARE(a.dialoghi.ultimo(), messaggio);
        QCOMPARE(a.dialoghi.messaggi.last().titolo, u"Riassegnazione Corsi"_s);
        QCOMPARE(a.dialoghi.messaggi.last().icona, Icona::Critico);
        QVERIFY(!a.db.aperto());
    }
};

QTEST_MAIN(TestHandicap)
#include "tst_handicap.moc"
