// The download screens as the user meets them: the list of operators to fetch, the
// first-start cancel, a download from the simulator; the application-number screen.
#include "loading/ui/FrmInstOper.h"
#include "support/Ambiente.h"
#include "support/GuidaModali.h"
#include "support/ServerFinto.h"
#include "transmission/ServiziRegione.h"
#include "transmission/ui/SchermiInternet.h"

#include <QListWidget>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {
void aggiungi(frmInstOper &s, const QString &g, const QString &n)
{
    QTest::keyClicks(trova(&s, u"TxtGrup"_s), g);
    QTest::keyClicks(trova(&s, u"TxtOper"_s), n);
    clicca(&s, u"CmdIns"_s);
}

// A ready program folder pointed at the simulator.
struct ConServer : Ambiente {
    ServerFinto server;
    ConServer()
    {
        pronto();
        server.configura(ini, dir.path());
    }
};
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
            voci << vocePerScarico(u"A"_s, QString::number(i));
        s.riempi(voci);
        aggiungi(s, u"b"_s, u"151"_s);
        QCOMPARE(s.voci().size(), 150);
        QCOMPARE(a.dialoghi.ultimo(), u"E' stato raggiunto il limite massimo di aziende scaricabili da Internet"_s);
        QCOMPARE(trova<QLineEdit>(&s, u"TxtGrup"_s)->text(), QString());
        auto *lista = trova<QListWidget>(&s, u"LstElenco"_s);
        lista->setCurrentRow(0);
        clicca(&s, u"CmdCanc"_s);
        aggiungi(s, u"b"_s, u"0310"_s);
        QCOMPARE(s.voci().last(), u"B      - 310"_s);
    }

    void annullaAlPrimoAvvio_data()
    {
        colonne<int, bool>("risposta", "fine");
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
        clicca(&s, u"cmdAnnulla"_s);
        QCOMPARE(a.dialoghi.messaggi[0].titolo, u"PRIMO AVVIO"_s);
        QCOMPARE(s.fineProgramma(), fine);
        QCOMPARE(s.isVisible(), !fine);
    }

    void scaricoDalServer()
    {
        ConServer a;
        frmInstOper s(*a.contesto);
        s.show();
        aggiungi(s, u"A"_s, u"101"_s);
        GuidaModali guida({[](QDialog *d) { d->accept(); }});
        clicca(&s, u"cmdConferma"_s);
        QVERIFY2(s.scaricato(), qPrintable(a.dialoghi.ultimo()));
        QCOMPARE(guida.aperte, QStringList{u"frmConferma"_s});
        QVERIFY(a.esiste(u"oper.tx1"_s) && a.esiste(u"Province.txt"_s));
    }

    void numeroDomandaDalloSchermo()
    {
        ConServer a;
        a.sessione.gPwdConnessione = u"quirdal:Valdoria2009@"_s;
        a.sessione.impostaOperatore(u"A"_s, u"7"_s);
        FrmnReg s(*a.contesto, u"001"_s);
        s.show();
        // The e-mail prompt opens first: an address, confirmed.
        GuidaModali guida({[](QDialog *d) {
            QTest::keyClicks(trova(d, u"txtEMail"_s), u"mario@ente.it"_s);
            clicca(d, u"imgConferma"_s);
        }});
        clicca(&s, u"CmdnReg"_s);
        QVERIFY2(s.ottenuto(), qPrintable(a.dialoghi.ultimo()));
        QCOMPARE(guida.aperte, QStringList{u"frmMailAggInst"_s});
        QCOMPARE(a.utente->leggi(u"E-Mail"_s), u"mario@ente.it"_s);
        QCOMPARE(a.valore(u"SELECT NumDoma FROM Installazione WHERE Prov='001'"_s), u"01000007"_s);
    }
};

QTEST_MAIN(TestFrmInstOper)
#include "tst_frminstoper.moc"
