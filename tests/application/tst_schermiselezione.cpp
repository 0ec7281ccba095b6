// The selection screens and the main menu's buttons as the user meets them.
#include "application/ui/SchermiSelezione.h"
#include "startup/ui/MainForm.h"
#include "support/Domanda.h"
#include "support/GuidaModali.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {
// QUIRDAL_SCHERMATE=folder keeps a picture of each screen, to look at them.
void fotografa(QWidget *w, const char *nome)
{
    const QString cartella = qEnvironmentVariable("QUIRDAL_SCHERMATE");
    if (!cartella.isEmpty())
        w->grab().save(cartella + u'/' + QString::fromLatin1(nome) + u".png"_s);
}

QString atti(Ambiente &a) { return a.valore(u"SELECT AttiATIATS FROM Installazione WHERE Prov='001'"_s); }
} // namespace

class TestSchermiSelezione : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // With no application every button that needs one says so and opens nothing.
    void senzaDomanda()
    {
        Pronto a;
        a.aggiungiOperatore(u"A"_s, 1, u"UNO"_s);
        MDI_Main m(*a.contesto);
        m.carica();
        m.primaAttivazione();
        m.show();
        GuidaModali guida;
        for (const char *b : {"cmdRiepDoma", "cmdCorsi", "cmdHandi", "cmdAggInst"})
            clicca(&m, QString::fromLatin1(b));
        QCOMPARE(a.dialoghi.testiMessaggi(),
                 QStringList(4,
                             u"Selezionare prima la PROVINCIA nell'ambito della quale compilare la domanda "
                             "(Selezione Domanda)"_s));
        for (const auto &msg : a.dialoghi.messaggi) {
            QCOMPARE(msg.titolo, u"Funzione non disponibile"_s);
            QCOMPARE(msg.icona, Icona::Esclamazione);
        }
        QVERIFY(guida.aperte.isEmpty());
    }

    void attiATIATS()
    {
        Selezionata a(false);
        frmRiepDomanda r(*a.contesto);
        r.carica();
        auto *txt = trova<QLineEdit>(&r, u"txtNumATIATS"_s);
        QCOMPARE(txt->text(), u"0"_s); // an empty AttiATIATS shows 0
        r.show();
        QApplication::setActiveWindow(&r);
        QVERIFY(QTest::qWaitForWindowActive(&r));
        QCOMPARE(trova<QLineEdit>(&r, u"txtNumCarCORSI"_s)->text(), u"4"_s);
        fotografa(&r, "frmRiepDomanda");
        QCOMPARE(trova<QLineEdit>(&r, u"txtTotCOMPL"_s)->text(), u"226.534,50"_s);
        QVERIFY(!trova(&r, u"txtTotCORSI"_s)->isEnabled());
        txt->setFocus();
        QCOMPARE(txt->text(), QString()); // a zero is cleared on entering
        QTest::keyClicks(txt, u"x3"_s);
        QCOMPARE(txt->text(), u"3"_s);
        QCOMPARE(a.dialoghi.ultimo(), u"Carattere non numerico"_s);
        txt->clear();
        trova(&r, u"cmdConferma"_s)->setFocus(); // leaving it empty gives 0
        QCOMPARE(txt->text(), u"0"_s);
        clicca(&r, u"cmdConferma"_s);
        QCOMPARE(atti(a), u"0"_s);
    }

    void esciConModifiche_data()
    {
        colonne<int, QString, bool>("risposta", "salvato", "aperta");
        QTest::newRow("Sì salva") << int(Risposta::Si) << "5" << false;
        QTest::newRow("No non salva") << int(Risposta::No) << "" << false;
        QTest::newRow("Annulla resta") << int(Risposta::Annulla) << "" << true;
    }
    void esciConModifiche()
    {
        QFETCH(int, risposta);
        QFETCH(QString, salvato);
        QFETCH(bool, aperta);
        Selezionata a(false);
        frmRiepDomanda r(*a.contesto);
        r.carica();
        r.show();
        trova<QLineEdit>(&r, u"txtNumATIATS"_s)->setText(u"5"_s);
        a.dialoghi.risposte << static_cast<Risposta>(risposta);
        clicca(&r, u"cmdEsci"_s);
        QCOMPARE(a.dialoghi.ultimo(), u"Sono stati modificati uno o più dati.\r\nSalvare le modifiche ?"_s);
        QCOMPARE(r.isVisible(), aperta);
        QCOMPARE(atti(a), salvato);
    }

    void riepilogoStampato()
    {
        Selezionata a(true);
        frmRiepDomanda r(*a.contesto);
        r.carica();
        r.show();
        r.avvisaSeStampata();
        QCOMPARE(a.dialoghi.ultimo(), u"Domanda già inviata alla Provincia\r\nNon sarà possibile effettuare modifiche"_s);
        QVERIFY(!trova(&r, u"txtNumATIATS"_s)->isEnabled());
    }

    void provinciaVuota()
    {
        Selezionata a(false);
        frmSelDomanda s(*a.contesto);
        s.carica();
        s.show();
        fotografa(&s, "frmSelDomanda");
        auto *province = trova<QComboBox>(&s, u"cmbProvince"_s);
        province->setCurrentIndex(0);
        clicca(&s, u"cmdConferma"_s);
        QCOMPARE(a.dialoghi.ultimo(), u"Selezionare una Provincia o premere Annulla."_s);
        QVERIFY(s.isVisible());
        province->setCurrentIndex(2); // GG - GAMMA: its application exists
        clicca(&s, u"cmdConferma"_s);
        QVERIFY(!s.isVisible());
        QCOMPARE(a.sessione.gProv, u"003"_s);
        QCOMPARE(a.ini.leggi(u"BaseDati"_s, u"Prov"_s), u"003"_s);
    }

    void sedeSceltaDalMenu()
    {
        Selezionata a(false);
        MDI_Main m(*a.contesto);
        m.carica();
        m.primaAttivazione();
        m.show();
        fotografa(&m, "Main");
        int voci = 0;
        GuidaModali guida({[&](QDialog *d) {
                               fotografa(d, "SelComp");
                               voci = trova<QComboBox>(d, u"cmbCompo"_s)->count();
                               clicca(d, u"cmdConfer"_s);
                           },
                           [](QDialog *d) {
                               // The course sheet of the chosen site, on its first course.
                               QCOMPARE(trova<QLabel>(d, u"lblCorso"_s)->text(), u"0001"_s);
                               clicca(d, u"cmdEsci"_s);
                           }});
        clicca(&m, u"cmdCorsi"_s);
        QCOMPARE(guida.aperte, (QStringList{u"SelComp"_s, u"Corsi"_s}));
        QCOMPARE(voci, 3);
        QCOMPARE(a.sessione.gCompo, u"1"_s);
        QCOMPARE(a.sessione.chiaveSede(), (QVariantList{u"A"_s, 7LL, 1LL}));
    }
};

QTEST_MAIN(TestSchermiSelezione)
#include "tst_schermiselezione.moc"
