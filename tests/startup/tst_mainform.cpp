// The main window as it opens: caption and CLIENT restrictions, the INI check of the
// version, the forced choice of an operator and the heading that shows it.
#include "common/Errori.h"
#include "startup/ui/MainForm.h"
#include "support/Ambiente.h"
#include "support/GuidaModali.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace quirdal;
using namespace quirdal::test;

namespace {


template <typename T> T *trova(QWidget *w, const QString &nome)
{
    T *f = w->findChild<T *>(nome);
    if (!f)
        qFatal("widget %s non trovato", qPrintable(nome));
    return f;
}

QString leggiIni(Ambiente &amb, const QString &chiave)
{
    cFileINI ini(amb.dir.path());
    ini.setNomeFile(amb.percorso(QStringLiteral("QUIRDAL.INI")));
    return ini.leggi(QStringLiteral("BaseDati"), chiave);
}

// In SelOpe: the entry below the preselected one, then Conferma. Records whether
// Annulla could be pressed.
GuidaModali::Azione scegliSeguente(bool *annullaAttivo)
{
    return [annullaAttivo](QDialog *d) {
        *annullaAttivo = trova<QPushButton>(d, QStringLiteral("cmdAnnul"))->isEnabled();
        auto *cmb = trova<QComboBox>(d, QStringLiteral("cmbOpe"));
        cmb->setFocus();
        QTest::keyClick(cmb, Qt::Key_Down);
        QTest::mouseClick(trova<QPushButton>(d, QStringLiteral("cmdConfer")), Qt::LeftButton);
    };
}

// A name of n characters (up to 76) with distinct characters around the cut, so a cut
// one character off shows.
QString nomeLungo(int n)
{
    const QString base = QStringLiteral("Ente Formazione Professionale Valdoria 0123456789 abcdefghijklmnopqrstuvwxyz");
    return base.left(n);
}

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void didascalia_data()
    {
        QTest::addColumn<QString>("versione");
        QTest::addColumn<QString>("marca");
        QTest::addColumn<QString>("altraMarca");
        QTest::addColumn<bool>("client");
        QTest::newRow("SERVER") << "SERVER" << " ***SERVER***" << " ___CLIENT___" << false;
        QTest::newRow("CLIENT") << "CLIENT" << " ___CLIENT___" << " ***SERVER***" << true;
    }
    void didascalia()
    {
        QFETCH(QString, versione);
        QFETCH(QString, marca);
        QFETCH(QString, altraMarca);
        QFETCH(bool, client);
        Ambiente amb;
        amb.scriviIni(QStringLiteral("StandAlone"), versione);
        MDI_Main w(*amb.contesto);
        w.carica();

        QVERIFY2(w.windowTitle().endsWith(marca), qPrintable(w.windowTitle()));
        QVERIFY2(!w.windowTitle().contains(altraMarca), qPrintable(w.windowTitle()));
        QCOMPARE(amb.dialoghi.testiMessaggi(), QStringList());
        QWidget *main = trova<QWidget>(&w, QStringLiteral("Main"));
        for (const QString &voce : {QStringLiteral("AggInst"), QStringLiteral("Riass")}) {
            auto *l = trova<QLabel>(main, QStringLiteral("lbl") + voce);
            QCOMPARE(l->styleSheet().contains(QLatin1String("grey")), client);
            if (client) {
                QCOMPARE(trova<QPushButton>(main, QStringLiteral("cmd") + voce)->isEnabled(), false);
                QCOMPARE(l->isEnabled(), false);
            }
        }
        // The restriction touches only those two.
        QCOMPARE(trova<QPushButton>(main, QStringLiteral("cmdConfi"))->isEnabled(), true);
        QCOMPARE(trova<QLabel>(main, QStringLiteral("lblConfi"))->styleSheet(), QString());
    }

    void versioneNonValida_data()
    {
        QTest::addColumn<QString>("versione");
        QTest::newRow("vuota") << "";
        QTest::newRow("server minuscolo") << "server";
        QTest::newRow("Client") << "Client";
        QTest::newRow("altro") << "SERVERCLIENT";
    }
    void versioneNonValida()
    {
        QFETCH(QString, versione);
        Ambiente amb;
        amb.scriviIni(QStringLiteral("StandAlone"), versione);
        MDI_Main w(*amb.contesto);

        QVERIFY_THROWS_EXCEPTION(quirdal::FineProgramma, w.carica());
        QCOMPARE(amb.dialoghi.testiMessaggi(),
                 QStringList{QStringLiteral("Le impostazioni del file QUIRDAL.INI riguardo la versione\r\n"
                                            "Non sono Valide. Contattare l'assistenza tecnica.")});
        QCOMPARE(amb.dialoghi.messaggi.first().titolo, QStringLiteral("Errore nel file ini"));
        QCOMPARE(amb.dialoghi.messaggi.first().icona, Icona::Critico);
    }

    void operatoreAllAvvio_data()
    {
        QTest::addColumn<QStringList>("operatori"); // group|number|name, in insertion order
        QTest::addColumn<bool>("sceglie");          // SelOpe opens
        QTest::addColumn<QString>("gruppo");
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QString>("nome");
        QTest::newRow("uno solo, preso senza chiedere")
            << QStringList{"A|12|Ente Uno"} << false << "A" << "12" << "Ente Uno";
        QTest::newRow("due, scelto il secondo")
            << QStringList{"A|1|Primo Ente", "B|2|Secondo Ente"} << true << "B" << "2" << "Secondo Ente";
        QTest::newRow("tre, il secondo in ordine di gruppo")
            << QStringList{"C|5|Terzo Ente", "A|9|Primo Ente", "B|3|Secondo Ente"} << true << "B" << "3"
            << "Secondo Ente";
    }
    void operatoreAllAvvio()
    {
        QFETCH(QStringList, operatori);
        QFETCH(bool, sceglie);
        QFETCH(QString, gruppo);
        QFETCH(QString, numero);
        QFETCH(QString, nome);
        Ambiente amb;
        amb.pronto();
        for (const QString &o : operatori) {
            const QStringList c = o.split(QLatin1Char('|'));
            amb.aggiungiOperatore(c[0], c[1].toInt(), c[2]);
        }
        MDI_Main w(*amb.contesto);
        w.carica();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        bool annullaAttivo = true;
        GuidaModali guida({scegliSeguente(&annullaAttivo)});
        w.primaAttivazione();

        QCOMPARE(guida.aperte, sceglie ? QStringList{QStringLiteral("SelOpe")} : QStringList());
        QCOMPARE(guida.chiuseForzate, 0);
        if (sceglie)
            QCOMPARE(annullaAttivo, false); // the start-up does not go on without an operator
        QCOMPARE(amb.dialoghi.testiMessaggi(), QStringList());
        QCOMPARE(leggiIni(amb, QStringLiteral("GrOpe")), gruppo);
        QCOMPARE(leggiIni(amb, QStringLiteral("Oper")), numero);
        QCOMPARE(trova<QLabel>(&w, QStringLiteral("lblGrOpe"))->text(), gruppo);
        QCOMPARE(trova<QLabel>(&w, QStringLiteral("lblOpe"))->text(), numero);
        QCOMPARE(trova<QLabel>(&w, QStringLiteral("lblDenOper"))->text(), QStringLiteral("-  ") + nome);
    }

    void denominazioneInTestata_data()
    {
        QTest::addColumn<int>("lunghezza");
        QTest::addColumn<bool>("tagliata");
        QTest::newRow("44 caratteri, intera") << 44 << false;
        QTest::newRow("45 caratteri, tagliata") << 45 << true;
        QTest::newRow("70 caratteri, tagliata") << 70 << true;
    }
    void denominazioneInTestata()
    {
        QFETCH(int, lunghezza);
        QFETCH(bool, tagliata);
        const QString nome = nomeLungo(lunghezza);
        QCOMPARE(nome.size(), lunghezza);
        Ambiente amb;
        amb.pronto();
        amb.aggiungiOperatore(QStringLiteral("A"), 1, nome);
        MDI_Main w(*amb.contesto);
        w.carica();
        GuidaModali guida;
        w.primaAttivazione();

        QCOMPARE(guida.aperte, QStringList());
        auto *l = trova<QLabel>(&w, QStringLiteral("lblDenOper"));
        QCOMPARE(l->text(), QStringLiteral("-  ") + (tagliata ? nome.left(44) + QStringLiteral("...") : nome));
        QCOMPARE(l->toolTip(), tagliata ? nome : QString());
    }

    // After the start-up the picker can be left with Annulla, and a label works as its
    // button does.
    void selezioneOperatoreDalMenu_data()
    {
        QTest::addColumn<QString>("comando");
        QTest::newRow("pulsante") << "cmdConfi";
        QTest::newRow("etichetta") << "lblConfi";
    }
    void selezioneOperatoreDalMenu()
    {
        QFETCH(QString, comando);
        Ambiente amb;
        amb.pronto();
        amb.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("Primo Ente"));
        MDI_Main w(*amb.contesto);
        w.carica();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.primaAttivazione();
        amb.aggiungiOperatore(QStringLiteral("B"), 2, QStringLiteral("Secondo Ente"));

        bool annullaAttivo = false;
        GuidaModali guida({scegliSeguente(&annullaAttivo)});
        QTest::mouseClick(trova<QWidget>(&w, comando), Qt::LeftButton);

        QCOMPARE(guida.aperte, QStringList{QStringLiteral("SelOpe")});
        QCOMPARE(guida.chiuseForzate, 0);
        QCOMPARE(annullaAttivo, true);
        QCOMPARE(leggiIni(amb, QStringLiteral("GrOpe")), QStringLiteral("B"));
        QCOMPARE(trova<QLabel>(&w, QStringLiteral("lblGrOpe"))->text(), QStringLiteral("B"));
        QCOMPARE(trova<QLabel>(&w, QStringLiteral("lblOpe"))->text(), QStringLiteral("2"));
        QCOMPARE(trova<QLabel>(&w, QStringLiteral("lblDenOper"))->text(), QStringLiteral("-  Secondo Ente"));
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
