// The download screens as the user meets them: the list of operators to fetch, the
// first-start cancel, a download from the simulator; the application-number screen.
#include "loading/ui/FrmInstOper.h"
#include "support/Ambiente.h"
#include "support/GuidaModali.h"
#include "transmission/ServiziRegione.h"
#include "support/ServerFinto.h"
#include "transmission/ui/SchermiInternet.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {
void aggiungi(frmInstOper &s, const QString &g, const QString &n)
{
    QTest::keyClicks(trova<QLineEdit>(&s, "TxtGrup"), g);
    QTest::keyClicks(trova<QLineEdit>(&s, "TxtOper"), n);
    QTest::mouseClick(trova<QPushButton>(&s, "CmdIns"), Qt::LeftButton);
}
} // namespace

class TestFrmInstOper : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void elencoFinoA150()
    {
        Ambiente a;
        frmInstOper s(*a.contesto);
        QStringList voci;
        for (int i = 1; i <= 150; ++i)
            voci << vocePerScarico(QStringLiteral("A"), QString::number(i));
        s.riempi(voci);
        aggiungi(s, QStringLiteral("b"), QStringLiteral("151"));
        QCOMPARE(s.voci().size(), 150);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("E' stato raggiunto il limite massimo di aziende scaricabili da Internet"));
        QCOMPARE(trova<QLineEdit>(&s, "TxtGrup")->text(), QString());
        auto *lista = trova<QListWidget>(&s, "LstElenco");
        lista->setCurrentRow(0);
        QTest::mouseClick(trova<QPushButton>(&s, "CmdCanc"), Qt::LeftButton);
        aggiungi(s, QStringLiteral("b"), QStringLiteral("0310"));
        QCOMPARE(s.voci().last(), QStringLiteral("B      - 310"));
    }

    void annullaAlPrimoAvvio_data()
    {
        QTest::addColumn<int>("risposta");
        QTest::addColumn<bool>("fine");
        QTest::newRow("Sì termina") << int(Risposta::Si) << true;
        QTest::newRow("No resta") << int(Risposta::No) << false;
    }
    void annullaAlPrimoAvvio()
    {
        QFETCH(int, risposta);
        QFETCH(bool, fine);
        Ambiente a;
        a.sessione.gPrimoAvvio = VERO;
        a.dialoghi.risposte << static_cast<Risposta>(risposta);
        frmInstOper s(*a.contesto);
        s.show();
        QTest::mouseClick(trova<QPushButton>(&s, "cmdAnnulla"), Qt::LeftButton);
        QCOMPARE(a.dialoghi.messaggi[0].titolo, QStringLiteral("PRIMO AVVIO"));
        QCOMPARE(s.fineProgramma(), fine);
        QCOMPARE(s.isVisible(), !fine);
    }

    void scaricoDalServer()
    {
        ServerFinto server;
        Ambiente a;
        a.pronto();
        server.configura(a.ini, a.dir.path());
        frmInstOper s(*a.contesto);
        s.show();
        aggiungi(s, QStringLiteral("A"), QStringLiteral("101"));
        GuidaModali guida({[](QDialog *d) { d->accept(); }});
        QTest::mouseClick(trova<QPushButton>(&s, "cmdConferma"), Qt::LeftButton);
        QVERIFY2(s.scaricato(), qPrintable(a.dialoghi.ultimo()));
        QCOMPARE(guida.aperte, QStringList{QStringLiteral("frmConferma")});
        QVERIFY(QFile::exists(a.percorso(QStringLiteral("oper.tx1"))));
        QVERIFY(QFile::exists(a.percorso(QStringLiteral("Province.txt"))));
    }

    void numeroDomandaDalloSchermo()
    {
        ServerFinto server;
        Ambiente a;
        a.pronto();
        server.configura(a.ini, a.dir.path());
        a.sessione.gPwdConnessione = QStringLiteral("quirdal:Valdoria2009@");
        a.sessione.impostaOperatore(QStringLiteral("A"), QStringLiteral("7"));
        FrmnReg s(*a.contesto, QStringLiteral("001"));
        s.show();
        // The e-mail prompt opens first: an address, confirmed.
        GuidaModali guida({[](QDialog *d) {
            QTest::keyClicks(d->findChild<QLineEdit *>(QStringLiteral("txtEMail")), QStringLiteral("mario@ente.it"));
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("imgConferma")), Qt::LeftButton);
        }});
        QTest::mouseClick(trova<QPushButton>(&s, "CmdnReg"), Qt::LeftButton);
        QVERIFY2(s.ottenuto(), qPrintable(a.dialoghi.ultimo()));
        QCOMPARE(guida.aperte, QStringList{QStringLiteral("frmMailAggInst")});
        QCOMPARE(a.utente->leggi(QStringLiteral("E-Mail")), QStringLiteral("mario@ente.it"));
        QCOMPARE(a.db.valoreScalare(QStringLiteral("SELECT NumDoma FROM Installazione WHERE Prov='001'")).toString(),
                 QStringLiteral("01000007"));
    }
};

QTEST_MAIN(TestFrmInstOper)
#include "tst_frminstoper.moc"
