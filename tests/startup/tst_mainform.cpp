// The main window as it opens: caption and CLIENT restrictions, the INI check of the
// version, the forced choice of an operator and the heading that shows it.
#include "common/Errori.h"
#include "startup/ui/MainForm.h"
#include "support/Ambiente.h"
#include "support/GuidaModali.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// In SelOpe: the entry below the preselected one, then Conferma. Records whether
// Annulla could be pressed.
GuidaModali::Azione scegliSeguente(bool *annullaAttivo)
{
    return [annullaAttivo](QDialog *d) {
        *annullaAttivo = trova(d, u"cmdAnnul"_s)->isEnabled();
        auto *cmb = trova<QComboBox>(d, u"cmbOpe"_s);
        cmb->setFocus();
        QTest::keyClick(cmb, Qt::Key_Down);
        clicca(d, u"cmdConfer"_s);
    };
}

// Group, number and name as the heading shows them.
QString testata(QWidget *w)
{
    QStringList t;
    for (const char *l : {"lblGrOpe", "lblOpe", "lblDenOper"})
        t << trova<QLabel>(w, QString::fromLatin1(l))->text();
    return t.join(u'|');
}

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void didascalia_data()
    {
        colonne<QString, QString, QString, bool>("versione", "marca", "altraMarca", "client");
        QTest::newRow("SERVER") << "SERVER"
                                << " ***SERVER***"
                                << " ___CLIENT___" << false;
        QTest::newRow("CLIENT") << "CLIENT"
                                << " ___CLIENT___"
                                << " ***SERVER***" << true;
    }
    void didascalia()
    {
        QFETCH(QString, versione);
        QFETCH(QString, marca);
        QFETCH(QString, altraMarca);
        QFETCH(bool, client);
        Ambiente amb;
        amb.scriviIni(u"StandAlone"_s, versione);
        MDI_Main w(*amb.contesto);
        w.carica();

        QVERIFY2(w.windowTitle().endsWith(marca) && !w.windowTitle().contains(altraMarca), qPrintable(w.windowTitle()));
        QCOMPARE(amb.dialoghi.testiMessaggi(), QStringList());
        QWidget *main = trova(&w, u"Main"_s);
        for (const QString &voce : {u"AggInst"_s, u"Riass"_s}) {
            auto *l = trova<QLabel>(main, u"lbl"_s + voce);
            QCOMPARE(l->styleSheet().contains("grey"_L1), client);
            if (client)
                QVERIFY(!trova(main, u"cmd"_s + voce)->isEnabled() && !l->isEnabled());
        }
        // The restriction touches only those two.
        QCOMPARE(trova(main, u"cmdConfi"_s)->isEnabled(), true);
        QCOMPARE(trova<QLabel>(main, u"lblConfi"_s)->styleSheet(), QString());
    }

    void versioneNonValida_data()
    {
        colonne<QString>("versione");
        QTest::newRow("vuota") << "";
        QTest::newRow("server minuscolo") << "server";
        QTest::newRow("Client") << "Client";
        QTest::newRow("altro") << "SERVERCLIENT";
    }
    void versioneNonValida()
    {
        QFETCH(QString, versione);
        Ambiente amb;
        amb.scriviIni(u"StandAlone"_s, versione);
        MDI_Main w(*amb.contesto);
        QVERIFY_THROWS_EXCEPTION(quirdal::FineProgramma, w.carica());
        unMessaggio(amb.dialoghi,
                    u"Le impostazioni del file QUIRDAL.INI riguardo la versione\r\n"
                    "Non sono Valide. Contattare l'assistenza tecnica."_s,
                    u"Errore nel file ini"_s, Icona::Critico);
    }

    // The heading cuts a long name to 44 characters and shows it whole in its tooltip.
    void operatoreAllAvvio_data()
    {
        // operatori as group|number|name, in insertion order; sceglie: SelOpe opens
        colonne<QStringList, bool, QString, QString>("operatori", "sceglie", "attesa", "suggerimento");
        QTest::newRow("uno solo, preso senza chiedere") << QStringList{"A|12|Ente Uno"} << false << "A|12|-  Ente Uno"
                                                        << "";
        QTest::newRow("due, scelto il secondo")
            << QStringList{"A|1|Primo Ente", "B|2|Secondo Ente"} << true << "B|2|-  Secondo Ente"
            << "";
        QTest::newRow("tre, il secondo in ordine di gruppo")
            << QStringList{"C|5|Terzo Ente", "A|9|Primo Ente", "B|3|Secondo Ente"} << true << "B|3|-  Secondo Ente"
            << "";
        // Distinct characters around the cut, so a cut one character off shows.
        const QString lungo = u"Ente Formazione Professionale Valdoria 0123456789 abcdefghijklmnopqrstuvwxyz"_s;
        QTest::newRow("nome di 44 caratteri, intero")
            << QStringList{"A|1|" + lungo.left(44)} << false << "A|1|-  " + lungo.left(44) << "";
        for (int n : {45, 70})
            QTest::addRow("nome di %d caratteri, tagliato", n)
                << QStringList{"A|1|" + lungo.left(n)} << false << "A|1|-  " + lungo.left(44) + "..." << lungo.left(n);
    }
    void operatoreAllAvvio()
    {
        QFETCH(QStringList, operatori);
        QFETCH(bool, sceglie);
        QFETCH(QString, attesa);
        QFETCH(QString, suggerimento);
        Pronto amb;
        for (const QString &o : operatori) {
            const QStringList c = o.split(u'|');
            amb.aggiungiOperatore(c[0], c[1].toInt(), c[2]);
        }
        MDI_Main w(*amb.contesto);
        w.carica();
        mostra(w);
        bool annullaAttivo = true;
        GuidaModali guida({scegliSeguente(&annullaAttivo)});
        w.primaAttivazione();

        QCOMPARE(guida.aperte, sceglie ? QStringList{u"SelOpe"_s} : QStringList());
        QCOMPARE(guida.chiuseForzate, 0);
        if (sceglie)
            QCOMPARE(annullaAttivo, false); // the start-up does not go on without an operator
        QCOMPARE(amb.dialoghi.testiMessaggi(), QStringList());
        const QStringList scelto = attesa.split(u'|');
        QCOMPARE(amb.leggiIni(u"BaseDati"_s, u"GrOpe"_s), scelto[0]);
        QCOMPARE(amb.leggiIni(u"BaseDati"_s, u"Oper"_s), scelto[1]);
        QCOMPARE(testata(&w), attesa);
        QCOMPARE(trova(&w, u"lblDenOper"_s)->toolTip(), suggerimento);
    }

    // After the start-up the picker can be left with Annulla, and a label works as its
    // button does.
    void selezioneOperatoreDalMenu_data()
    {
        colonne<QString>("comando");
        QTest::newRow("pulsante") << "cmdConfi";
        QTest::newRow("etichetta") << "lblConfi";
    }
    void selezioneOperatoreDalMenu()
    {
        QFETCH(QString, comando);
        Pronto amb;
        amb.aggiungiOperatore(u"A"_s, 1, u"Primo Ente"_s);
        MDI_Main w(*amb.contesto);
        w.carica();
        mostra(w);
        w.primaAttivazione();
        amb.aggiungiOperatore(u"B"_s, 2, u"Secondo Ente"_s);

        bool annullaAttivo = false;
        GuidaModali guida({scegliSeguente(&annullaAttivo)});
        clicca(&w, comando);

        QCOMPARE(guida.aperte, QStringList{u"SelOpe"_s});
        QCOMPARE(guida.chiuseForzate, 0);
        QCOMPARE(annullaAttivo, true);
        QCOMPARE(amb.leggiIni(u"BaseDati"_s, u"GrOpe"_s), u"B"_s);
        QCOMPARE(testata(&w), u"B|2|-  Secondo Ente"_s);
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
