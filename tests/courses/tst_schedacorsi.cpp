// The course sheet driven as a user drives it: moving between courses saves a valid
// change without a word and keeps the user on an invalid one, a printed application is
// only read, a copy becomes a new course, and the report of every problem opens the course.
#include "common/ui/Filtri.h"
#include "courses/VerificaCorso.h"
#include "courses/ui/Corsi.h"
#include "support/Bando.h"
#include "support/Domanda.h"
#include "support/GuidaModali.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

struct Scheda : Selezionata {
    std::unique_ptr<Corsi> f;
    explicit Scheda(bool stampata = false, const QString &sede = u"1"_s) : Selezionata(stampata)
    {
        corsoPulito(db);
        listeDelBando(*contesto);
        sessione.impostaSede(sede);
        f = std::make_unique<Corsi>(*contesto);
        QVERIFY(f->carica());
        f->show();
    }
    QString corrente() const { return trova<QLabel>(f.get(), u"lblCorso"_s)->text().trimmed(); }
    QStringList testi() const
    {
        QStringList r;
        for (const auto &m : dialoghi.messaggi)
            r << m.testo;
        return r;
    }
};

// The entry of a list with the given code, chosen as from its drop-down.
void scegli(QWidget *w, const QString &nome, const QString &codice)
{
    auto *c = trova<QComboBox>(w, nome);
    for (int i = 0; i < c->count(); ++i)
        if (c->itemData(i).toString() == codice || c->itemText(i).section(u"  "_s, 0, 0) == codice) {
            c->setCurrentIndex(i);
            return;
        }
    QFAIL(qPrintable(nome + u": nessuna voce "_s + codice));
}

} // namespace

class TestSchedaCorsi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void spostarsiSalva_data()
    {
        QTest::addColumn<QString>("allievi");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("corso");
        QTest::addColumn<QString>("scritto");
        QTest::newRow("valido: scritto in silenzio") << u"19"_s << QString() << u"0001"_s << u"19"_s;
        QTest::newRow("invalido: resta sul corso") << u"0"_s << u"Inserire gli ALLIEVI PREVISTI"_s << u"0002"_s << u"18"_s;
    }
    void spostarsiSalva()
    {
        QFETCH(QString, allievi);
        QFETCH(QString, messaggio);
        QFETCH(QString, corso);
        QFETCH(QString, scritto);
        Scheda s;
        clicca(s.f.get(), u"cmdLast"_s);
        QCOMPARE(s.corrente(), u"0002"_s);
        digita(s.f.get(), u"txtNumAll"_s, allievi);
        clicca(s.f.get(), u"cmdFirst"_s);
        QCOMPARE(s.testi(), messaggio.isEmpty() ? QStringList() : QStringList{messaggio});
        QCOMPARE(s.corrente(), corso);
        QCOMPARE(s.valore(u"SELECT NumAll FROM CorsiProp WHERE Corso='0002'"_s), scritto);
    }

    // A cost typed above the cap of its action is refused on save; one within it is stored exactly.
    void massimale_data()
    {
        QTest::addColumn<QString>("a1");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("scritto");
        QTest::newRow("oltre il massimale") << u"9,01"_s << u"Il parametro 'A1' delle spese non deve superare i 9,00 euro."_s
                                            << u"9"_s;
        QTest::newRow("entro il massimale") << u"8,75"_s << QString() << u"8.75"_s;
    }
    void massimale()
    {
        QFETCH(QString, a1);
        QFETCH(QString, messaggio);
        QFETCH(QString, scritto);
        Scheda s;
        s.db.esegui(u"INSERT INTO MassimaliPar VALUES ('II.E','11','01','10',1,1000,9,20,2.5,3,NULL)"_s);
        clicca(s.f.get(), u"cmdLast"_s);
        digita(s.f.get(), u"txtA1_0"_s, a1);
        clicca(s.f.get(), u"cmdSalva"_s);
        QCOMPARE(s.testi(), messaggio.isEmpty() ? QStringList() : QStringList{messaggio});
        QCOMPARE(s.valore(u"SELECT ParamA1 FROM CorsiPropSpese WHERE Corso='0002' AND ProgrAnno=1"_s), scritto);
    }

    // The year's totals the sheet shows: line 17.3 is taken off once per participant. Course
    // 0001, year 1: A1 8,50 x 600 h x 15 = 76.500,00; line 16 1,50 x 100 h x 10 = 1.500,00;
    // line 17.3 300,00 per participant.
    void totaliAnno_data()
    {
        QTest::addColumn<QString>("allievi17_3");
        QTest::addColumn<QString>("totale");
        QTest::newRow("15 allievi") << QString() << u"73.500,00"_s;
        QTest::newRow("3 allievi digitati") << u"3"_s << u"77.100,00"_s;
        QTest::newRow("1 allievo digitato") << u"1"_s << u"77.700,00"_s;
    }
    void totaliAnno()
    {
        QFETCH(QString, allievi17_3);
        QFETCH(QString, totale);
        Scheda s;
        s.db.esegui(u"INSERT INTO AmmissioneSpese VALUES ('III.G','06','04','10',16,1), ('III.G','06','04','10',17,3)"_s);
        s.db.esegui(u"UPDATE CorsiPropSpese SET Param17_3=300 WHERE Corso='0001' AND Accorp='0'"_s);
        // The course shown again, with its lines as the call now admits them.
        clicca(s.f.get(), u"cmdLast"_s);
        clicca(s.f.get(), u"cmdFirst"_s);
        QCOMPARE(s.corrente(), u"0001"_s);
        if (!allievi17_3.isEmpty())
            digita(s.f.get(), u"txtNumAll17_3_0"_s, allievi17_3);
        QCOMPARE(trova<QLabel>(s.f.get(), u"lblTotAnno_0"_s)->text().trimmed(), totale);
        QCOMPARE(trova<QLabel>(s.f.get(), u"lblTot_0"_s)->text().trimmed(), totale);
    }

    // The largest values the cost fields take (14 digits of euro, 5 of hours and of
    // participants) go past what a total can hold: the totals say so while the user types,
    // the save refuses with the field to change, and the program goes on.
    void importoTroppoGrande_data()
    {
        QTest::addColumn<QStringList>("digitati");  // field, text, field, text ...
        QTest::addColumn<QStringList>("etichette"); // the totals that cannot be shown
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("campo");
        const QString riduci = u"\r\nRidurre l'importo, le ore o gli allievi."_s;
        QTest::newRow("A1 al massimo") << QStringList{u"txtA1_0"_s, u"99999999999999"_s, u"txtNumOreA1_0"_s,
                                                      u"99999"_s,   u"txtNumAllA1_0"_s,  u"99999"_s}
                                       << QStringList{u"lbla1Tot_0"_s, u"lblTotAnno_0"_s, u"lblTot_0"_s}
                                       << u"Importo troppo grande: il totale della spesa 'Spese Generali' (anno 1) supera il "
                                          "massimo calcolabile."_s
                + riduci << u"txtA1_0"_s;
        // Each line fits (the largest amount by 921 and 922 hours), their sum does not: the
        // user is taken to the larger line.
        QTest::newRow("due righe che entrano, la somma no")
            << QStringList{u"txtA1_0"_s, u"99999999999999"_s, u"txtNumOreA1_0"_s, u"921"_s, u"txtNumAllA1_0"_s, u"1"_s,
                           u"txtA2_0"_s, u"99999999999999"_s, u"txtNumOreA2_0"_s, u"922"_s, u"txtNumAllA2_0"_s, u"1"_s}
            << QStringList{u"lblTotAnno_0"_s, u"lblTot_0"_s}
            << u"Importo troppo grande: il Totale PREVENTIVO SPESE (anno 1) supera il massimo calcolabile."_s + riduci
            << u"txtA2_0"_s;
    }
    void importoTroppoGrande()
    {
        QFETCH(QStringList, digitati);
        QFETCH(QStringList, etichette);
        QFETCH(QString, messaggio);
        QFETCH(QString, campo);
        Scheda s;
        s.db.esegui(u"INSERT INTO AmmissioneSpese VALUES ('II.E','11','01','10',2,2)"_s);
        QWidget *f = s.f.get();
        clicca(f, u"cmdLast"_s);
        QCOMPARE(s.corrente(), u"0002"_s);
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        trova<QTabWidget>(f, u"SSTab1"_s)->setCurrentIndex(1);
        for (qsizetype i = 0; i < digitati.size(); i += 2) {
            auto *e = trova<QLineEdit>(f, digitati[i]);
            QCOMPARE(e->maxLength(), e->objectName().startsWith(u"txtNum"_s) ? 5 : 14);
            e->setFocus();
            digita(f, digitati[i], digitati[i + 1]);
            QTest::keyClick(e, Qt::Key_Tab);
            // Shown whole once left ("99.999.999.999.999,00"), not cut to the 14 characters typed.
            QCOMPARE(e->text().remove(u'.').remove(u",00"_s), digitati[i + 1]);
        }
        for (const QString &l : etichette)
            QCOMPARE(trova<QLabel>(f, l)->text(), u"Importo troppo grande"_s);
        QCOMPARE(s.testi(), QStringList());
        clicca(f, u"cmdSalva"_s);
        QCOMPARE(s.testi(), QStringList{messaggio});
        QCOMPARE(s.dialoghi.messaggi[0].titolo, u"Verifica dati"_s);
        QCOMPARE(f->focusWidget()->objectName(), campo);
        QCOMPARE(righe(s.db, u"SELECT ParamA1, NumOreA1, ParamA2 FROM CorsiPropSpese WHERE Corso='0002' ORDER BY ProgrAnno"_s),
                 u"9/900/2.5,9/900/2.5"_s);
        QVERIFY(f->isVisible());
    }

    // The costs of a new course start from the caps of the band of the hours typed, and stay
    // as the user typed them once a cost is typed.
    void nuovoCorsoValoriDiPartenza()
    {
        Scheda s;
        s.db.esegui(u"INSERT INTO MassimaliPar VALUES ('II.E','11','01','10',1,1000,9,20,2.5,3,NULL)"_s);
        QWidget *f = s.f.get();
        clicca(f, u"cmdInserisci"_s);
        for (const auto &[nome, codice] :
             {std::pair{"cmbAsse", "II.E"}, std::pair{"cmbMisura", "11"}, std::pair{"cmbAzione", "01"},
              std::pair{"CmbTipologia", "10"}, std::pair{"cmbDurata", "2"}})
            scegli(f, QString::fromLatin1(nome), QString::fromLatin1(codice));
        auto a1 = [f] {
            return trova<QLineEdit>(f, u"txtA1_0"_s)->text() + u' ' + trova<QLineEdit>(f, u"txtNumOreA1_0"_s)->text();
        };
        QCOMPARE(a1(), u"0,00 0"_s);
        // Typed, then left with Tab as the user leaves a field.
        auto scrivi = [f](const QString &nome, const QString &testo) {
            auto *e = trova<QLineEdit>(f, nome);
            e->setFocus();
            digita(f, nome, testo);
            QTest::keyClick(e, Qt::Key_Tab);
        };
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        scrivi(u"txtDurataAnnOre"_s, u"900"_s);
        QCOMPARE(a1(), u"9,00 900"_s);
        // "." typed in an amount becomes ","; the thousands are read back all the same.
        scrivi(u"txtA1_0"_s, u"1.234,5"_s);
        QCOMPARE(a1(), u"1.234,50 900"_s);
        scrivi(u"txtDurataAnnOre"_s, u"800"_s);
        QCOMPARE(a1(), u"1.234,50 900"_s);
    }

    // Another axis chooses the first activity of that axis and the first action of that activity.
    void cascata()
    {
        Scheda s;
        QWidget *f = s.f.get();
        clicca(f, u"cmdLast"_s);
        scegli(f, u"cmbAsse"_s, u"III.G"_s);
        QCOMPARE(trova<QComboBox>(f, u"cmbMisura"_s)->currentText(), u"02  FORMAZIONE PER PERSONE SVANTAGGIATE"_s);
        QCOMPARE(trova<QComboBox>(f, u"cmbAzione"_s)->currentText(),
                 u"02  PERCORSI INTEGRATI CON GLI ISTITUTI SCOLASTICI PER DETENUTI E GIOVANI A RISCHIO"_s);
        QVERIFY(trova(f, u"txt_34_1"_s)->isEnabled());
    }

    // Leaving a course that has no cost rows asks, and deletes it only on Yes.
    void esciDaCorsoSenzaSpese_data()
    {
        QTest::addColumn<Risposta>("risposta");
        QTest::addColumn<QString>("rimasti");
        QTest::newRow("sì: cancellato") << Risposta::Si << u"0001/0,0002/0"_s;
        QTest::newRow("no: resta") << Risposta::No << u"0001/0,0001/1,0002/0"_s;
    }
    void esciDaCorsoSenzaSpese()
    {
        QFETCH(Risposta, risposta);
        QFETCH(QString, rimasti);
        Scheda s;
        s.db.esegui(u"DELETE FROM CorsiPropSpese WHERE Corso='0001' AND Accorp='1'"_s);
        clicca(s.f.get(), u"cmdNext"_s);
        s.dialoghi.risposte.enqueue(risposta);
        clicca(s.f.get(), u"cmdEsci"_s);
        QCOMPARE(s.testi(),
                 QStringList{u"Il corso corrente non è ancora stato salvato in maniera corretta. Uscendo verrà "
                             "concellato.\r\nContinuare ?"_s});
        QCOMPARE(s.f->isVisible(), risposta != Risposta::Si);
        QCOMPARE(s.lista(u"SELECT Corso || '/' || Accorp FROM CorsiProp WHERE SedeInteressata=1 ORDER BY Corso, Accorp"_s),
                 rimasti);
    }

    void domandaStampata()
    {
        Scheda s(true);
        QCOMPARE(s.testi(),
                 QStringList{u"Domanda già inviata alla Provincia\r\nNon sarà possibile modificare i dati dei corsi"_s});
        for (const char *b : {"cmdInserisci", "cmdSalva", "cmdDuplica", "cmdElimina"})
            QVERIFY2(!trova<QPushButton>(s.f.get(), QString::fromLatin1(b))->isEnabled(), b);
        digita(s.f.get(), u"txtNumAll"_s, u"3"_s);
        clicca(s.f.get(), u"cmdNext"_s);
        QCOMPARE(s.corrente(), u"0001"_s);
        QCOMPARE(s.lista(u"SELECT NumAll FROM CorsiProp WHERE SedeInteressata=1 ORDER BY Corso, Accorp"_s), u"15,10,18"_s);
    }

    // A site without courses shows none and writes none; a printed application neither asks
    // for a new one nor offers it.
    void sedeSenzaCorsi_data()
    {
        QTest::addColumn<bool>("stampata");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("da compilare") << false << u"Nessun corso.\r\nVuoi inserirne uno ? "_s;
        QTest::newRow("stampata") << true
                                  << u"Domanda già inviata alla Provincia\r\nNon sarà possibile modificare i dati dei corsi"_s;
    }
    void sedeSenzaCorsi()
    {
        QFETCH(bool, stampata);
        QFETCH(QString, messaggio);
        Scheda s(stampata, u"2"_s);
        s.db.esegui(u"INSERT INTO Legami (Prov, ID) VALUES ('001', 1)"_s);
        QCoreApplication::processEvents(); // the question the first showing leaves queued
        QCOMPARE(s.testi(), QStringList{messaggio});
        QWidget *f = s.f.get();
        QVERIFY(!trova(f, u"SSTab1"_s)->isEnabled());
        QCOMPARE(trova(f, u"cmdInserisci"_s)->isEnabled(), !stampata);
        for (const char *b : {"cmdSalva", "cmdDuplica", "cmdElimina", "cmdStampa"})
            QVERIFY2(!trova(f, QString::fromLatin1(b))->isEnabled(), b);
        GuidaModali guida;
        clicca(f, u"cmdRiepAccorp"_s);
        clicca(f, u"cmdEsci"_s);
        QCOMPARE(guida.aperte, QStringList());
        QCOMPARE(s.testi(), QStringList{messaggio});
        QVERIFY(!f->isVisible());
    }

    // A copy of a clean course saved is a new course with the operator's next code.
    void duplicaESalva()
    {
        Scheda s;
        clicca(s.f.get(), u"cmdLast"_s);
        clicca(s.f.get(), u"cmdDuplica"_s);
        QCOMPARE(s.corrente(), u"----"_s);
        clicca(s.f.get(), u"cmdSalva"_s);
        QCOMPARE(s.testi(), (QStringList{u"Corso duplicato\r\nVerifiche OK."_s, u"VERIFICHE OK\r\nCorso inserito"_s}));
        QCOMPARE(s.corrente(), u"0006"_s);
        QCOMPARE(righe(s.db, u"SELECT count(*), sum(ParamA1) FROM CorsiPropSpese WHERE Corso='0006'"_s), u"2/18"_s);
    }

    // A course merged into the main course of its action, entered with "Inserisci Corso"
    // after the sheet has shown a course: the tick shows the main courses to choose from.
    void accorpatoDopoUnCorso()
    {
        Scheda s;
        QWidget *f = s.f.get();
        clicca(f, u"cmdInserisci"_s);
        for (const auto &[nome, codice] :
             {std::pair{"cmbAsse", "II.E"}, std::pair{"cmbMisura", "11"}, std::pair{"cmbAzione", "01"}})
            scegli(f, QString::fromLatin1(nome), QString::fromLatin1(codice));
        auto *principali = trova<QComboBox>(f, u"cmbAccorp"_s);
        QVERIFY(principali->isHidden() || !principali->isEnabled());
        portaInVista(trova(f, u"chkAccorp"_s));
        clicca(f, u"chkAccorp"_s);
        QVERIFY(!principali->isHidden() && !trova(f, u"lblEleAcc"_s)->isHidden() && principali->isEnabled());
        QCOMPARE(principali->count(), 2); // the empty entry and course 0002, the one main course of the action
        for (const auto &[nome, codice] :
             {std::pair{"cmbAccorp", "0002"}, std::pair{"cmbQuali", "110101"}, std::pair{"CmbTipologia", "10"},
              std::pair{"cmbDest_0", "2"}, std::pair{"cmbScol", "3"}, std::pair{"cmbSetto", "2"}, std::pair{"cmbCompa", "1"},
              std::pair{"cmbOra", "2"}, std::pair{"cmbCert", "2"}, std::pair{"cmbDurata", "2"}})
            scegli(f, QString::fromLatin1(nome), QString::fromLatin1(codice));
        for (const auto &[nome, testo] :
             {std::pair{"txtNumAll", "10"}, std::pair{"txtDurataAnnOre", "900"}, std::pair{"txtTotIter", "1800"},
              std::pair{"txtOreStage", "0"}, std::pair{"txtGGDataAvvio", "01"}, std::pair{"txtMMDataAvvio", "10"},
              std::pair{"txtAAAADataAvvio", "2009"}})
            digita(f, QString::fromLatin1(nome), QString::fromLatin1(testo));
        clicca(f, u"chkSPINNonPres"_s);
        clicca(f, u"cmdSalva"_s);
        QCOMPARE(s.testi(), QStringList{u"VERIFICHE OK\r\nCorso inserito"_s});
        QCOMPARE(s.corrente() + u'/' + trova<QLabel>(f, u"lblAccorp"_s)->text().trimmed(), u"0002/1"_s);
        QCOMPARE(s.valore(u"SELECT count(*) FROM CorsiProp WHERE Corso='0002' AND Accorp='1'"_s), u"1"_s);
    }

    // A course is met from its first page: after a move, an insert, a course opened from
    // the report (then at the field of its problem); the responsible component only at an
    // occasional site.
    void primaPagina_data()
    {
        QTest::addColumn<QString>("sede");
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<QString>("fuoco");
        QTest::addColumn<int>("pagina31"); // the sub-tab of section 3.1 then shown
        QTest::newRow("spostamento") << u"1"_s << u"cmdLast"_s << u"cmbQuali"_s << 0;
        QTest::newRow("inserimento in un componente") << u"1"_s << u"cmdInserisci"_s << u"cmbQuali"_s << 0;
        QTest::newRow("inserimento in una sede occasionale") << u"1001"_s << u"cmdInserisci"_s << u"cmbCompoResp"_s << 0;
        QTest::newRow("dal rapporto dei problemi") << u"1"_s << u"cmdVerificaTutti"_s << u"txtGGDataAvvio"_s << 3;
    }
    void primaPagina()
    {
        QFETCH(QString, sede);
        QFETCH(QString, pulsante);
        QFETCH(QString, fuoco);
        QFETCH(int, pagina31);
        Scheda s(false, sede);
        QWidget *f = s.f.get();
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        auto *sezioni = trova<QTabWidget>(f, u"SSTab1"_s);
        auto sotto = [sezioni](int i) { return static_cast<QTabWidget *>(sezioni->widget(i)); };
        sotto(0)->setCurrentIndex(2);
        sotto(1)->setCurrentIndex(1);
        sezioni->setCurrentIndex(1);
        GuidaModali guida({[](QDialog *d) {
            auto *l = trova<QListWidget>(d, u"lstProblemi"_s);
            const auto trovate = l->findItems(u"Corso 0001/1 - sede 1: La DATA AVVIO"_s, Qt::MatchStartsWith);
            QVERIFY(!trovate.isEmpty());
            l->setCurrentItem(trovate[0]);
            QTest::keyClick(l, Qt::Key_Return);
        }});
        clicca(f, pulsante);
        QCOMPARE(sezioni->currentIndex(), 0);
        QCOMPARE(sotto(0)->currentIndex(), pagina31);
        QCOMPARE(sotto(1)->currentIndex(), 0);
        QCOMPARE(f->focusWidget()->objectName(), fuoco);
        QCOMPARE(trova(f, u"cmbCompoResp"_s)->isEnabled(), sede == u"1001"_s);
    }

    // The report of every course's problems, and a double click that opens the course.
    void verificaTutti()
    {
        Scheda s;
        QStringList righe;
        GuidaModali guida({[&](QDialog *d) {
            auto *l = trova<QListWidget>(d, u"lstProblemi"_s);
            for (int i = 0; i < l->count(); ++i)
                righe << l->item(i)->text();
            const int riga = int(righe.indexOf(u"Corso 0001/1 - sede 1: La DATA AVVIO PRESUNTA deve essere una data valida"_s));
            QVERIFY(riga >= 0);
            l->setCurrentRow(riga);
            QTest::keyClick(l, Qt::Key_Return);
        }});
        clicca(s.f.get(), u"cmdVerificaTutti"_s);
        QCOMPARE(guida.aperte, QStringList{u"frmProblemiCorsi"_s});
        QCOMPARE(righe.size(), 8);
        QCOMPARE(righe.filter(u"Corso 0002/0"_s), QStringList());
        QCOMPARE(s.corrente(), u"0001"_s);
        QCOMPARE(trova<QLabel>(s.f.get(), u"lblAccorp"_s)->text().trimmed(), u"1"_s);
    }

    // The check of every course tells how far it is before each course and at the end, and
    // stops where it is told to, with nothing to show.
    void verificaTuttiAvanzamento_data()
    {
        QTest::addColumn<int>("fermaA");
        QTest::addColumn<bool>("completa");
        QTest::newRow("fino in fondo") << -1 << true;
        QTest::newRow("fermata al secondo corso") << 1 << false;
        QTest::newRow("fermata prima di cominciare") << 0 << false;
    }
    void verificaTuttiAvanzamento()
    {
        QFETCH(int, fermaA);
        QFETCH(bool, completa);
        Scheda s;
        QList<int> visti;
        int totale = -1;
        const auto r = quirdal::problemiCorsiDomanda(s.db, s.sessione, [&](int fatti, int di) {
            visti << fatti;
            totale = di;
            return fatti != fermaA;
        });
        QCOMPARE(r.has_value(), completa);
        QVERIFY(totale > 1);
        QList<int> attesi;
        for (int i = 0; i <= (completa ? totale : fermaA); ++i)
            attesi << i;
        QCOMPARE(visti, attesi);
        if (completa)
            QCOMPARE(r->size(), 8);
    }
};

QTEST_MAIN(TestSchedaCorsi)
#include "tst_schedacorsi.moc"
