// The installation screens as a user meets them on the first run: the choice of the
// working mode and database (Frm_Impostazioni) and of SERVER or CLIENT (frmServerClient).
#include "config/ui/FrmImpostazioni.h"
#include "config/ui/FrmServerClient.h"
#include "support/Ambiente.h"
#include "support/GuidaModali.h"

#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {
// The first run's folder: the INI with the given Tipo and Versione, the help file.
struct PrimaInstallazione : Ambiente {
    explicit PrimaInstallazione(const QString &tipo = u"StandAlone"_s, const QString &versione = u"SERVER"_s)
    {
        scriviIni(tipo, versione);
        scriviAiuto();
    }
};
} // namespace

class TestFrmImpostazioni : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void salva_data()
    {
        // nomeFile empty: nothing chosen; errore empty: the choice is accepted; tipo: the session's after
        colonne<QString, bool, bool, QString, QString>("nomeFile", "esiste", "inRete", "errore", "tipo");
        const char *nonAccess = "Il file selezionato non è un database Microsoft Access.";
        QTest::newRow("nessuna base dati") << "" << false << false << "Selezionare una base dati."
                                           << "StandAlone";
        QTest::newRow("file di testo") << "dati.txt" << true << false << nonAccess << "StandAlone";
        QTest::newRow("estensione prima del controllo di esistenza") << "dati.txt" << false << false << nonAccess << "StandAlone";
        QTest::newRow("mdb seguito da altro") << "dati.mdb.bak" << true << false << nonAccess << "StandAlone";
        QTest::newRow("MDB inesistente") << "DATI.MDB" << false << false << "File inesistente."
                                         << "StandAlone";
        QTest::newRow("mdb locale") << "x.mdb" << true << false << ""
                                    << "StandAlone";
        QTest::newRow("mdb in rete") << "x.mdb" << true << true << ""
                                     << "Multiutenza";
        QTest::newRow("Mdb a lettere miste") << "Corsi.Mdb" << true << true << ""
                                             << "Multiutenza";
        // What is shown is cut, what is saved is not.
        QTest::newRow("percorso lungo salvato intero")
            << "archivio_delle_proposte_corsi_fondo_sociale_europeo.mdb" << true << false << ""
            << "StandAlone";
    }
    void salva()
    {
        QFETCH(QString, nomeFile);
        QFETCH(bool, esiste);
        QFETCH(bool, inRete);
        QFETCH(QString, errore);
        QFETCH(QString, tipo);
        PrimaInstallazione amb;
        const QString percorso = nomeFile.isEmpty() ? QString() : amb.percorso(nomeFile);
        if (esiste)
            QVERIFY(scriviFile(percorso, "x"));
        Frm_Impostazioni dlg(*amb.contesto);
        mostra(dlg);
        if (inRete) {
            clicca(&dlg, u"opt_InRete"_s);
            QVERIFY(trova<QRadioButton>(&dlg, u"opt_InRete"_s)->isChecked());
        }
        if (!percorso.isEmpty()) {
            amb.dialoghi.file.enqueue(percorso);
            clicca(&dlg, u"cmdSfoglia"_s);
        }
        clicca(&dlg, u"Cmd_Ok"_s);

        const bool accettata = errore.isEmpty();
        QCOMPARE(dlg.isVisible(), !accettata);
        QCOMPARE(dlg.result(), int(accettata ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE((QStringList{amb.sessione.gPathDB, amb.sessione.gNomeFileDB, amb.sessione.gTipoInstallazione}),
                 (accettata ? QStringList{percorso, nomeFile, tipo} : QStringList{"", "", tipo}));
        if (accettata)
            QCOMPARE(amb.dialoghi.testiMessaggi(), QStringList());
        else
            unMessaggio(amb.dialoghi, errore, u"Controllo dati"_s, Icona::Critico);
    }

    void percorsoMostrato_data()
    {
        colonne<int, bool>("lunghezza", "tagliato");
        QTest::newRow("55 caratteri, intero") << 55 << false;
        QTest::newRow("56 caratteri, tagliato") << 56 << true;
        QTest::newRow("120 caratteri, tagliato") << 120 << true;
    }
    void percorsoMostrato()
    {
        QFETCH(int, lunghezza);
        QFETCH(bool, tagliato);
        // Each position tells itself apart, so that a cut in the wrong place shows.
        const QString cifre = u"abcdefghijklmnopqrstuvwxyz0123456789"_s;
        QString percorso = u"/"_s;
        while (percorso.size() < lunghezza - 4)
            percorso += cifre.at(percorso.size() % cifre.size());
        percorso += u".mdb"_s;
        PrimaInstallazione amb;
        Frm_Impostazioni dlg(*amb.contesto);
        mostra(dlg);
        amb.dialoghi.file.enqueue(percorso);
        clicca(&dlg, u"cmdSfoglia"_s);

        auto *txt = trova<QLineEdit>(&dlg, u"txtDatabase"_s);
        QCOMPARE(txt->text(), tagliato ? percorso.left(55) + u"..."_s : percorso);
        QCOMPARE(txt->toolTip(), tagliato ? percorso : QString());
    }

    void esci_data()
    {
        // conEsc: closing the window instead of pressing the button
        colonne<bool, bool>("conEsc", "si");
        QTest::newRow("pulsante, Si") << false << true;
        QTest::newRow("pulsante, No") << false << false;
        QTest::newRow("Esc, Si") << true << true;
        QTest::newRow("Esc, No") << true << false;
    }
    void esci()
    {
        QFETCH(bool, conEsc);
        QFETCH(bool, si);
        PrimaInstallazione amb;
        Frm_Impostazioni dlg(*amb.contesto);
        mostra(dlg);
        amb.dialoghi.risposte.enqueue(si ? Risposta::Si : Risposta::No);
        if (conEsc)
            QTest::keyClick(&dlg, Qt::Key_Escape);
        else
            clicca(&dlg, u"cmdEsci"_s);

        unMessaggio(amb.dialoghi, u"Si è sicuri di voler interrompere l'installazione?"_s, u"Installazione"_s, Icona::Domanda,
                    Pulsanti::SiNo);
        QCOMPARE(dlg.fineProgramma(), si);
        QCOMPARE(dlg.isVisible(), !si);
    }

    void aiutoAllApertura_data()
    {
        colonne<bool>("conAiuto");
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
        if (conAiuto)
            QCOMPARE(amb.dialoghi.testiMessaggi(), QStringList());
        else
            unMessaggio(amb.dialoghi, u"File di Aiuto non presente"_s, u"Imposta Aiuto"_s, Icona::Esclamazione);
    }

    void sceltaVersioneAllaPrimaApertura_data()
    {
        colonne<QString>("versione");
        QTest::newRow("versione vuota") << "";
        QTest::newRow("SERVER") << "SERVER";
        QTest::newRow("CLIENT") << "CLIENT";
    }
    void sceltaVersioneAllaPrimaApertura()
    {
        QFETCH(QString, versione);
        PrimaInstallazione amb(QString(), versione);
        Frm_Impostazioni dlg(*amb.contesto);
        QString padre;
        GuidaModali guida({[&](QDialog *d) {
            padre = d->parentWidget() ? d->parentWidget()->objectName() : QString();
            clicca(d, u"optClient"_s);
            clicca(d, u"cmdOK"_s);
        }});
        mostra(dlg);
        // The choice is offered once the screen shows: by now it has come and gone.
        QCoreApplication::processEvents();

        const bool chiede = versione.isEmpty();
        QCOMPARE(guida.aperte, chiede ? QStringList{u"frmServerClient"_s} : QStringList());
        QCOMPARE(guida.chiuseForzate, 0);
        if (chiede)
            QCOMPARE(padre, u"Frm_Impostazioni"_s);
        QCOMPARE(amb.leggiIni(u"Installazione"_s, u"Versione"_s), chiede ? u"CLIENT"_s : versione);
        // The choice of the database follows on the same screen.
        QCOMPARE(dlg.isVisible(), true);
        QCOMPARE(dlg.fineProgramma(), false);
    }

    // The choice of SERVER or CLIENT is stored; a CLIENT puts aside the database and the data
    // files of the folder, which belong to its server, and nothing else.
    void serverClient_data()
    {
        // opzione empty: nothing chosen
        colonne<QString, bool, QString>("opzione", "conFile", "versione");
        QTest::newRow("nessuna scelta") << "" << true << "";
        QTest::newRow("SERVER") << "optServer" << false << "SERVER";
        QTest::newRow("SERVER con i file") << "optServer" << true << "SERVER";
        QTest::newRow("CLIENT") << "optClient" << false << "CLIENT";
        QTest::newRow("CLIENT con i file") << "optClient" << true << "CLIENT";
    }
    void serverClient()
    {
        QFETCH(QString, opzione);
        QFETCH(bool, conFile);
        QFETCH(QString, versione);
        const bool spostati = versione == "CLIENT"_L1 && conFile;
        const QStringList daRinominare = {"QUIRDAL.mdb", "oper.tx1", "compo.tx1", "sediocc.tx1", "sediutil.tx1"};
        const QStringList rinominati = {"QUIRDAL.cli", "oper.cli", "compo.cli", "sediocc.cli", "sediutil.cli"};
        const QStringList altri = {"corsi.tx1", "oper.txt", "QUIRDAL.ldb", "QUIRDAL.html"};
        Ambiente amb;
        amb.scriviIni(QString(), QString());
        for (const QString &n : altri + (conFile ? daRinominare : QStringList()))
            amb.scrivi(n, n.toUtf8());
        frmServerClient dlg(*amb.contesto);
        mostra(dlg);
        if (!opzione.isEmpty())
            clicca(&dlg, opzione);
        clicca(&dlg, u"cmdOK"_s);

        QCOMPARE(amb.leggiIni(u"Installazione"_s, u"Versione"_s), versione);
        QCOMPARE(amb.sessione.gVersione, versione);
        QCOMPARE(dlg.isVisible(), opzione.isEmpty());
        if (opzione.isEmpty()) {
            unMessaggio(amb.dialoghi, u"Scegliere la versione dell'applicativo: SERVER o CLIENT"_s, u"Controllo dati"_s,
                        Icona::Critico);
        } else {
            QCOMPARE(amb.dialoghi.testiMessaggi(), QStringList());
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
        }
        for (int i = 0; i < daRinominare.size(); ++i) {
            QCOMPARE(amb.esiste(daRinominare[i]), conFile && !spostati);
            QCOMPARE(amb.leggi(rinominati[i]), spostati ? daRinominare[i].toUtf8() : QByteArray());
            QCOMPARE(amb.esiste(rinominati[i]), spostati);
        }
        for (const QString &n : altri)
            QCOMPARE(amb.leggi(n), n.toUtf8());
    }
};

QTEST_MAIN(TestFrmImpostazioni)
#include "tst_frmimpostazioni.moc"
