#include "config/SessioneIni.h"
// The selection screens and the main menu's buttons as the user meets them.
#include "application/ui/SchermiSelezione.h"
#include "startup/ui/MainForm.h"
#include "support/GuidaModali.h"
#include "transmission/Domanda.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {
// QUIRDAL_SCHERMATE=folder keeps a picture of each screen, to look at them.
void fotografa(QWidget *w, const char *nome)
{
    const QString cartella = qEnvironmentVariable("QUIRDAL_SCHERMATE");
    if (!cartella.isEmpty())
        w->grab().save(cartella + QLatin1Char('/') + QString::fromLatin1(nome) + QStringLiteral(".png"));
}

void selezionata(Ambiente &a, bool stampata)
{
    a.pronto();
    preparaDomanda(a);
    a.db.esegui(QStringLiteral("UPDATE Installazione SET DomandaStampata=? WHERE Prov='001'"), {stampata ? -1 : 0});
    for (const auto &[k, v] : {std::pair{"GrOpe", "A"}, std::pair{"Oper", "7"}, std::pair{"Prov", "001"},
                               std::pair{"Domanda", "1"}})
        a.ini.scrivi(QStringLiteral("BaseDati"), QString::fromLatin1(k), QString::fromLatin1(v));
    ripristinaSessione(a.sessione, a.ini, a.db);
}
} // namespace

class TestSchermiSelezione : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // With no application every button that needs one says so and opens nothing.
    void senzaDomanda()
    {
        Ambiente a;
        a.pronto();
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("UNO"));
        MDI_Main m(*a.contesto);
        m.carica();
        m.primaAttivazione();
        m.show();
        GuidaModali guida;
        for (const char *b : {"cmdRiepDoma", "cmdCorsi", "cmdHandi", "cmdAggInst"})
            QTest::mouseClick(trova<QPushButton>(&m, b), Qt::LeftButton);
        QCOMPARE(a.dialoghi.messaggi.size(), 4);
        for (const auto &msg : a.dialoghi.messaggi) {
            QCOMPARE(msg.testo, QStringLiteral("Selezionare prima la PROVINCIA nell'ambito della quale compilare la domanda "
                                               "(Selezione Domanda)"));
            QCOMPARE(msg.titolo, QStringLiteral("Funzione non disponibile"));
            QCOMPARE(msg.icona, Icona::Esclamazione);
        }
        QVERIFY(guida.aperte.isEmpty());
    }

    void attiATIATS()
    {
        Ambiente a;
        selezionata(a, false);
        frmRiepDomanda r(*a.contesto);
        r.carica();
        auto *atti = trova<QLineEdit>(&r, "txtNumATIATS");
        QCOMPARE(atti->text(), QStringLiteral("0")); // an empty AttiATIATS shows 0
        r.show();
        QApplication::setActiveWindow(&r);
        QVERIFY(QTest::qWaitForWindowActive(&r));
        QCOMPARE(trova<QLineEdit>(&r, "txtNumCarCORSI")->text(), QStringLiteral("4"));
        fotografa(&r, "frmRiepDomanda");
        QCOMPARE(trova<QLineEdit>(&r, "txtTotCOMPL")->text(), QStringLiteral("226.534,50"));
        QVERIFY(!trova<QLineEdit>(&r, "txtTotCORSI")->isEnabled());
        atti->setFocus();
        QCOMPARE(atti->text(), QString()); // a zero is cleared on entering
        QTest::keyClicks(atti, QStringLiteral("x3"));
        QCOMPARE(atti->text(), QStringLiteral("3"));
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Carattere non numerico"));
        atti->clear();
        trova<QPushButton>(&r, "cmdConferma")->setFocus(); // leaving it empty gives 0
        QCOMPARE(atti->text(), QStringLiteral("0"));
        QTest::mouseClick(trova<QPushButton>(&r, "cmdConferma"), Qt::LeftButton);
        QCOMPARE(a.db.valoreScalare(QStringLiteral("SELECT AttiATIATS FROM Installazione WHERE Prov='001'")).toString(),
                 QStringLiteral("0"));
    }

    void esciConModifiche_data()
    {
        QTest::addColumn<int>("risposta");
        QTest::addColumn<QString>("salvato");
        QTest::addColumn<bool>("aperta");
        QTest::newRow("Sì salva") << int(Risposta::Si) << "5" << false;
        QTest::newRow("No non salva") << int(Risposta::No) << "" << false;
        QTest::newRow("Annulla resta") << int(Risposta::Annulla) << "" << true;
    }
    void esciConModifiche()
    {
        QFETCH(int, risposta);
        QFETCH(QString, salvato);
        QFETCH(bool, aperta);
        Ambiente a;
        selezionata(a, false);
        frmRiepDomanda r(*a.contesto);
        r.carica();
        r.show();
        trova<QLineEdit>(&r, "txtNumATIATS")->setText(QStringLiteral("5"));
        a.dialoghi.risposte << static_cast<Risposta>(risposta);
        QTest::mouseClick(trova<QPushButton>(&r, "cmdEsci"), Qt::LeftButton);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Sono stati modificati uno o più dati.\r\nSalvare le modifiche ?"));
        QCOMPARE(r.isVisible(), aperta);
        QCOMPARE(a.db.valoreScalare(QStringLiteral("SELECT AttiATIATS FROM Installazione WHERE Prov='001'")).toString(), salvato);
    }

    void riepilogoStampato()
    {
        Ambiente a;
        selezionata(a, true);
        frmRiepDomanda r(*a.contesto);
        r.carica();
        r.show();
        r.avvisaSeStampata();
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Domanda già inviata alla Provincia\r\nNon sarà possibile effettuare modifiche"));
        QVERIFY(!trova<QLineEdit>(&r, "txtNumATIATS")->isEnabled());
    }

    void provinciaVuota()
    {
        Ambiente a;
        selezionata(a, false);
        frmSelDomanda s(*a.contesto);
        s.carica();
        s.show();
        fotografa(&s, "frmSelDomanda");
        trova<QComboBox>(&s, "cmbProvince")->setCurrentIndex(0);
        QTest::mouseClick(trova<QPushButton>(&s, "cmdConferma"), Qt::LeftButton);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Selezionare una Provincia o premere Annulla."));
        QVERIFY(s.isVisible());
        trova<QComboBox>(&s, "cmbProvince")->setCurrentIndex(2); // GG - GAMMA: its application exists
        QTest::mouseClick(trova<QPushButton>(&s, "cmdConferma"), Qt::LeftButton);
        QVERIFY(!s.isVisible());
        QCOMPARE(a.sessione.gProv, QStringLiteral("003"));
        QCOMPARE(a.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Prov")), QStringLiteral("003"));
    }

    void sedeSceltaDalMenu()
    {
        Ambiente a;
        selezionata(a, false);
        MDI_Main m(*a.contesto);
        m.carica();
        m.primaAttivazione();
        m.show();
        fotografa(&m, "Main");
        GuidaModali guida({[](QDialog *d) {
            fotografa(d, "SelComp");
            QCOMPARE(d->findChild<QComboBox *>(QStringLiteral("cmbCompo"))->count(), 3);
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdConfer")), Qt::LeftButton);
        }, [](QDialog *d) {
            // The course sheet of the chosen site, on its first course.
            QCOMPARE(d->findChild<QLabel *>(QStringLiteral("lblCorso"))->text(), QStringLiteral("0001"));
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdEsci")), Qt::LeftButton);
        }});
        QTest::mouseClick(trova<QPushButton>(&m, "cmdCorsi"), Qt::LeftButton);
        QCOMPARE(guida.aperte, (QStringList{QStringLiteral("SelComp"), QStringLiteral("Corsi")}));
        QCOMPARE(a.sessione.gCompo, QStringLiteral("1"));
        QCOMPARE(a.sessione.chiaveSede(), (QVariantList{QStringLiteral("A"), 7LL, 1LL}));
    }
};

QTEST_MAIN(TestSchermiSelezione)
#include "tst_schermiselezione.moc"
