// The installation screens as a user meets them on the first run: the choice of the
// working mode and database (Frm_Impostazioni) and of SERVER or CLIENT (frmServerClient).
#include "config/ui/FrmImpostazioni.h"
#include "config/ui/FrmServerClient.h"
#include "support/Ambiente.h"
#include "support/GuidaModali.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace quirdal;
using namespace quirdal::test;

namespace {



void clicca(QWidget *w, const char *nome) { QTest::mouseClick(trova<QWidget>(w, nome), Qt::LeftButton); }

QString leggiIni(Ambiente &amb, const QString &sezione, const QString &chiave)
{
    cFileINI ini(amb.dir.path());
    ini.setNomeFile(amb.percorso(QStringLiteral("QUIRDAL.INI")));
    return ini.leggi(sezione, chiave);
}

void scriviFile(const QString &percorso, const QByteArray &contenuto)
{
    QFile f(percorso);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(contenuto);
}

QByteArray leggiFile(const QString &percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A path of exactly n characters, each position telling itself apart, so that a cut in
// the wrong place shows.
QString percorsoLungo(int n)
{
    const QString cifre = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789");
    QString p = QStringLiteral("/");
    while (p.size() < n - 4)
        p += cifre.at(p.size() % cifre.size());
    return p + QStringLiteral(".mdb");
}

} // namespace

class TestFrmImpostazioni : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void salva_data()
    {
        QTest::addColumn<QString>("nomeFile"); // empty: nothing chosen
        QTest::addColumn<bool>("esiste");
        QTest::addColumn<bool>("inRete");
        QTest::addColumn<QString>("errore"); // empty: the choice is accepted
        QTest::addColumn<QString>("tipo");

        QTest::newRow("nessuna base dati") << "" << false << false << "Selezionare una base dati." << "";
        QTest::newRow("file di testo") << "dati.txt" << true << false
                                       << "Il file selezionato non è un database Microsoft Access." << "";
        QTest::newRow("estensione prima del controllo di esistenza")
            << "dati.txt" << false << false << "Il file selezionato non è un database Microsoft Access." << "";
        QTest::newRow("mdb seguito da altro") << "dati.mdb.bak" << true << false
                                              << "Il file selezionato non è un database Microsoft Access." << "";
        QTest::newRow("MDB inesistente") << "DATI.MDB" << false << false << "File inesistente." << "";
        QTest::newRow("mdb locale") << "x.mdb" << true << false << "" << "StandAlone";
        QTest::newRow("mdb in rete") << "x.mdb" << true << true << "" << "Multiutenza";
        QTest::newRow("Mdb a lettere miste") << "Corsi.Mdb" << true << true << "" << "Multiutenza";
    }
    void salva()
    {
        QFETCH(QString, nomeFile);
        QFETCH(bool, esiste);
        QFETCH(bool, inRete);
        QFETCH(QString, errore);
        QFETCH(QString, tipo);

        Ambiente amb;
        amb.scriviIni();
        amb.scriviAiuto();
        const QString percorso = nomeFile.isEmpty() ? QString() : amb.percorso(nomeFile);
        if (esiste)
            scriviFile(percorso, "x");

        Frm_Impostazioni dlg(*amb.contesto);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        if (inRete) {
            clicca(&dlg, "opt_InRete");
            QVERIFY(trova<QRadioButton>(&dlg, "opt_InRete")->isChecked());
        }
        if (!percorso.isEmpty()) {
            amb.dialoghi.file.enqueue(percorso);
            clicca(&dlg, "cmdSfoglia");
        }
        clicca(&dlg, "Cmd_Ok");

        if (errore.isEmpty()) {
            QCOMPARE(amb.dialoghi.testiMessaggi(), QStringList());
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            QCOMPARE(dlg.isVisible(), false);
            QCOMPARE(amb.sessione.gPathDB, percorso);
            QCOMPARE(amb.sessione.gNomeFileDB, nomeFile);
            QCOMPARE(amb.sessione.gTipoInstallazione, tipo);
        } else {
            QCOMPARE(amb.dialoghi.testiMessaggi(), QStringList{errore});
            QCOMPARE(amb.dialoghi.messaggi.first().titolo, QStringLiteral("Controllo dati"));
            QCOMPARE(amb.dialoghi.messaggi.first().icona, Icona::Critico);
            QCOMPARE(dlg.isVisible(), true);
            QCOMPARE(amb.sessione.gPathDB, QString());
        }
    }

    void percorsoMostrato_data()
    {
        QTest::addColumn<int>("lunghezza");
        QTest::addColumn<bool>("tagliato");
        QTest::newRow("55 caratteri, intero") << 55 << false;
        QTest::newRow("56 caratteri, tagliato") << 56 << true;
        QTest::newRow("120 caratteri, tagliato") << 120 << true;
    }
    void percorsoMostrato()
    {
        QFETCH(int, lunghezza);
        QFETCH(bool, tagliato);
        Ambiente amb;
        amb.scriviIni();
        amb.scriviAiuto();
        const QString percorso = percorsoLungo(lunghezza);
        QCOMPARE(percorso.size(), lunghezza);

        Frm_Impostazioni dlg(*amb.contesto);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        amb.dialoghi.file.enqueue(percorso);
        clicca(&dlg, "cmdSfoglia");

        auto *txt = trova<QLineEdit>(&dlg, "txtDatabase");
        QCOMPARE(txt->text(), tagliato ? percorso.left(55) + QStringLiteral("...") : percorso);
        QCOMPARE(txt->toolTip(), tagliato ? percorso : QString());
    }

    // What is shown is cut, what is saved is not.
    void percorsoLungoSalvatoIntero()
    {
        Ambiente amb;
        amb.scriviIni();
        amb.scriviAiuto();
        const QString percorso = amb.percorso(QStringLiteral("archivio_delle_proposte_corsi_fondo_sociale_europeo.mdb"));
        QVERIFY(percorso.size() >= 56);
        scriviFile(percorso, "x");

        Frm_Impostazioni dlg(*amb.contesto);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        amb.dialoghi.file.enqueue(percorso);
        clicca(&dlg, "cmdSfoglia");
        clicca(&dlg, "Cmd_Ok");

        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(amb.sessione.gPathDB, percorso);
    }

    void esci_data()
    {
        QTest::addColumn<bool>("conEsc"); // closing the window instead of the button
        QTest::addColumn<bool>("si");
        QTest::newRow("pulsante, Si") << false << true;
        QTest::newRow("pulsante, No") << false << false;
        QTest::newRow("Esc, Si") << true << true;
        QTest::newRow("Esc, No") << true << false;
    }
    void esci()
    {
        QFETCH(bool, conEsc);
        QFETCH(bool, si);
        Ambiente amb;
        amb.scriviIni();
        amb.scriviAiuto();
        Frm_Impostazioni dlg(*amb.contesto);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        amb.dialoghi.risposte.enqueue(si ? Risposta::Si : Risposta::No);
        if (conEsc)
            QTest::keyClick(&dlg, Qt::Key_Escape);
        else
            clicca(&dlg, "cmdEsci");

        QCOMPARE(amb.dialoghi.testiMessaggi(), QStringList{QStringLiteral("Si è sicuri di voler interrompere l'installazione?")});
        const MessaggioRegistrato &m = amb.dialoghi.messaggi.first();
        QCOMPARE(m.titolo, QStringLiteral("Installazione"));
        QCOMPARE(m.pulsanti, Pulsanti::SiNo);
        QCOMPARE(dlg.fineProgramma(), si);
        QCOMPARE(dlg.isVisible(), !si);
    }

    void aiutoAllApertura_data()
    {
        QTest::addColumn<bool>("conAiuto");
        QTest::newRow("file di aiuto presente") << true;
        QTest::newRow("file di aiuto assente") << false;
    }
    void aiutoAllApertura()
    {
        QFETCH(bool, conAiuto);
        Ambiente amb;
        amb.scriviIni();
        if (conAiuto)
            amb.scriviAiuto();
        Frm_Impostazioni dlg(*amb.contesto);

        if (conAiuto) {
            QCOMPARE(amb.dialoghi.testiMessaggi(), QStringList());
        } else {
            QCOMPARE(amb.dialoghi.testiMessaggi(), QStringList{QStringLiteral("File di Aiuto non presente")});
            QCOMPARE(amb.dialoghi.messaggi.first().titolo, QStringLiteral("Imposta Aiuto"));
        }
    }

    void sceltaVersioneAllaPrimaApertura_data()
    {
        QTest::addColumn<QString>("versione");
        QTest::addColumn<bool>("chiede");
        QTest::newRow("versione vuota") << "" << true;
        QTest::newRow("SERVER") << "SERVER" << false;
        QTest::newRow("CLIENT") << "CLIENT" << false;
    }
    void sceltaVersioneAllaPrimaApertura()
    {
        QFETCH(QString, versione);
        QFETCH(bool, chiede);
        Ambiente amb;
        amb.scriviIni(QString(), versione);
        amb.scriviAiuto();
        Frm_Impostazioni dlg(*amb.contesto);

        QString padre;
        GuidaModali guida({[&](QDialog *d) {
            padre = d->parentWidget() ? d->parentWidget()->objectName() : QString();
            clicca(d, "optClient");
            clicca(d, "cmdOK");
        }});
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        if (chiede)
            QTRY_COMPARE(guida.aperte, QStringList{QStringLiteral("frmServerClient")});
        else
            QTest::qWait(200);

        if (chiede) {
            QCOMPARE(padre, QStringLiteral("Frm_Impostazioni"));
            QCOMPARE(guida.chiuseForzate, 0);
            QCOMPARE(leggiIni(amb, QStringLiteral("Installazione"), QStringLiteral("Versione")), QStringLiteral("CLIENT"));
        } else {
            QCOMPARE(guida.aperte, QStringList());
            QCOMPARE(leggiIni(amb, QStringLiteral("Installazione"), QStringLiteral("Versione")), versione);
        }
        // The choice of the database follows on the same screen.
        QCOMPARE(dlg.isVisible(), true);
        QCOMPARE(dlg.fineProgramma(), false);
    }

    void serverClientOk_data()
    {
        QTest::addColumn<QString>("opzione"); // empty: nothing chosen
        QTest::addColumn<QString>("versione");
        QTest::newRow("nessuna scelta") << "" << "";
        QTest::newRow("SERVER") << "optServer" << "SERVER";
        QTest::newRow("CLIENT") << "optClient" << "CLIENT";
    }
    void serverClientOk()
    {
        QFETCH(QString, opzione);
        QFETCH(QString, versione);
        Ambiente amb;
        amb.scriviIni(QString(), QString());
        frmServerClient dlg(*amb.contesto);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        if (!opzione.isEmpty())
            clicca(&dlg, opzione.toLatin1().constData());
        clicca(&dlg, "cmdOK");

        QCOMPARE(leggiIni(amb, QStringLiteral("Installazione"), QStringLiteral("Versione")), versione);
        QCOMPARE(amb.sessione.gVersione, versione);
        if (opzione.isEmpty()) {
            QCOMPARE(amb.dialoghi.testiMessaggi(),
                     QStringList{QStringLiteral("Scegliere la versione dell'applicativo: SERVER o CLIENT")});
            QCOMPARE(amb.dialoghi.messaggi.first().titolo, QStringLiteral("Controllo dati"));
            QCOMPARE(amb.dialoghi.messaggi.first().icona, Icona::Critico);
            QCOMPARE(dlg.isVisible(), true);
        } else {
            QCOMPARE(amb.dialoghi.testiMessaggi(), QStringList());
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            QCOMPARE(dlg.isVisible(), false);
        }
    }

    void fileDelClient_data()
    {
        QTest::addColumn<QString>("opzione");
        QTest::addColumn<bool>("conFile");
        QTest::newRow("CLIENT con i file") << "optClient" << true;
        QTest::newRow("CLIENT senza i file") << "optClient" << false;
        QTest::newRow("SERVER con i file") << "optServer" << true;
    }
    void fileDelClient()
    {
        QFETCH(QString, opzione);
        QFETCH(bool, conFile);
        const bool client = opzione == QLatin1String("optClient");
        const QStringList daRinominare = {QStringLiteral("QUIRDAL.mdb"), QStringLiteral("oper.tx1"),
                                          QStringLiteral("compo.tx1"), QStringLiteral("sediocc.tx1"),
                                          QStringLiteral("sediutil.tx1")};
        const QStringList rinominati = {QStringLiteral("QUIRDAL.cli"), QStringLiteral("oper.cli"),
                                        QStringLiteral("compo.cli"), QStringLiteral("sediocc.cli"),
                                        QStringLiteral("sediutil.cli")};
        const QStringList altri = {QStringLiteral("corsi.tx1"), QStringLiteral("oper.txt"),
                                   QStringLiteral("QUIRDAL.ldb"), QStringLiteral("QUIRDAL.html")};
        Ambiente amb;
        amb.scriviIni(QString(), QString());
        for (const QString &n : altri)
            scriviFile(amb.percorso(n), n.toUtf8());
        if (conFile)
            for (const QString &n : daRinominare)
                scriviFile(amb.percorso(n), n.toUtf8());

        frmServerClient dlg(*amb.contesto);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        clicca(&dlg, opzione.toLatin1().constData());
        clicca(&dlg, "cmdOK");

        QCOMPARE(amb.dialoghi.testiMessaggi(), QStringList());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        for (int i = 0; i < daRinominare.size(); ++i) {
            const bool spostato = client && conFile;
            QCOMPARE(QFile::exists(amb.percorso(daRinominare[i])), conFile && !client);
            QCOMPARE(QFile::exists(amb.percorso(rinominati[i])), spostato);
            if (spostato)
                QCOMPARE(leggiFile(amb.percorso(rinominati[i])), daRinominare[i].toUtf8());
        }
        for (const QString &n : altri)
            QCOMPARE(leggiFile(amb.percorso(n)), n.toUtf8());
    }
};

QTEST_MAIN(TestFrmImpostazioni)
#include "tst_frmimpostazioni.moc"
