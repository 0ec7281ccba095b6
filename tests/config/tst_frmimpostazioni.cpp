// The installation screens as a user meets them on the first run: the choice of the
// working mode and database (Frm_Impostazioni) and of SERVER or CLIENT (frmServerClient).
#include "config/ui/FrmImpostazioni.h"
#include "config/ui/FrmServerClient.h"
#include "support/Ambiente.h"
#include "config/Installazione.h"
#include "support/GuidaModali.h"

#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {
// The first run's folder: the INI with the given Tipo and Versione, the help file. Its INI
// names a database file, whatever the engine of the run: the screens' choice of a file is
// the same on both.
struct PrimaInstallazione : Ambiente {
    explicit PrimaInstallazione(const QString &tipo = u"StandAlone"_s, const QString &versione = u"SERVER"_s)
        : Ambiente(Motore::SQLite)
    {
        scriviIni(tipo, versione);
        scriviAiuto();
    }
};

const QString kPasswordUfficio = u"Segr eta;17\"x'"_s;

// An office's server as its IT person prepares it: a user of its own with a password, owning a
// database of its own that is empty ("vuota"), holds the program's tables ("programma", with
// one operator) or another program's ("altra"); gone at the end. The folder's INI is a first
// run's, with the given Versione and nothing of the server.
struct ServerUfficio {
    Ambiente a{Motore::PostgreSQL};
    const QString utente = nomeDatabaseNuovo() + u"_u"_s;
    explicit ServerUfficio(const QString &stato, const QString &versione)
    {
        amministra(u"CREATE ROLE %1 LOGIN PASSWORD '%2'"_s.arg(utente, QString(kPasswordUfficio).replace(u"'"_s, u"''"_s)));
        amministra(u"CREATE DATABASE %1 OWNER %2"_s.arg(a.nomeDbServer, utente));
        if (stato == "programma"_L1) {
            creaDatabase(dove(), QString::fromLatin1(CorsiDB::kPassword));
            CorsiDB d(u"semina"_s);
            d.apri(dove(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
            d.esegui(u"INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione) VALUES ('A', 1, 'UNO')"_s);
        } else if (stato == "altra"_L1) {
            amministra(u"CREATE TABLE altrui (x integer)"_s, a.nomeDbServer);
        }
        a.scrivi(u"QUIRDAL.INI"_s,
                 u"[Installazione]\r\nTipo=\r\nVersione=%1\r\n[BaseDati]\r\nDatabase=\r\nNFileDB=\r\n"
                 "[Help]\r\nFILEHELP=QUIRDAL.html\r\n"_s.arg(versione)
                     .toUtf8());
        a.scriviAiuto();
    }
    ~ServerUfficio()
    {
        a.db.chiudi();
        try {
            eliminaDatabaseServer(a.nomeDbServer);
            amministra(u"DROP ROLE IF EXISTS "_s + utente);
        } catch (const Errore &e) {
            qWarning().noquote() << e.descrizione();
        }
    }
    DatiConnessione dove() const
    {
        DatiConnessione d = serverDiProva(a.nomeDbServer);
        d.utente = utente;
        d.password = kPasswordUfficio;
        return d;
    }
};

// A text typed key by key as a keyboard that has each character gives it (QTest::keyClicks
// takes ASCII alone), over whatever the field showed.
void digitaQualsiasi(QWidget *dlg, const QString &nome, const QString &testo)
{
    auto *t = trova<QLineEdit>(dlg, nome);
    QTest::keyClick(t, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(t, Qt::Key_Delete);
    for (const QChar c : testo)
        QTest::sendKeyEvent(QTest::Click, t, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The server's fields typed as a user types them, over whatever they showed.
void scriviServer(QWidget *dlg, const DatiConnessione &d)
{
    digita(dlg, u"txtHost"_s, d.host);
    digita(dlg, u"txtPorta"_s, QString::number(d.porta));
    digita(dlg, u"txtNomeDb"_s, d.nomeDb);
    digita(dlg, u"txtUtente"_s, d.utente);
    digita(dlg, u"txtPassword"_s, d.password);
}
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

    // A network installation chooses where its database is; a local one keeps a file.
    void motore_data()
    {
        // abilitati: fMotore, fServer, txtDatabase, cmdSfoglia, Label2
        colonne<bool, bool, QString>("inRete", "server", "abilitati");
        QTest::newRow("locale") << false << false << "no|no|si|si|si";
        QTest::newRow("locale, server scelto prima") << false << true << "no|no|si|si|si";
        QTest::newRow("in rete, file condiviso") << true << false << "si|no|si|si|si";
        QTest::newRow("in rete, server PostgreSQL") << true << true << "si|si|no|no|no";
    }
    void motore()
    {
        QFETCH(bool, inRete);
        QFETCH(bool, server);
        QFETCH(QString, abilitati);
        PrimaInstallazione amb;
        Frm_Impostazioni dlg(*amb.contesto);
        mostra(dlg);
        QVERIFY(trova<QRadioButton>(&dlg, u"optFileCondiviso"_s)->isChecked());
        clicca(&dlg, u"opt_InRete"_s);
        clicca(&dlg, server ? u"optServerDb"_s : u"optFileCondiviso"_s);
        if (!inRete)
            clicca(&dlg, u"opt_Locale"_s);
        QStringList visti;
        for (const char *nome : {"fMotore", "fServer", "txtDatabase", "cmdSfoglia", "Label2"})
            visti << (trova(&dlg, QString::fromLatin1(nome))->isEnabled() ? u"si"_s : u"no"_s);
        QCOMPARE(visti.join(u'|'), abilitati);
        QCOMPARE(trova<QLineEdit>(&dlg, u"txtPassword"_s)->echoMode(), QLineEdit::Password);
        QCOMPARE(trova<QLineEdit>(&dlg, u"txtPorta"_s)->text(), u"5432"_s);
    }

    // The server's fields are checked in order before any connection is tried; the first
    // wrong one is said and gets the focus, and the choice stays open.
    void campiServer_data()
    {
        // campi: server|porta|base dati|utente|password as typed
        colonne<QString, QString, QString>("campi", "messaggio", "campo");
        const auto riga = [](const char *nome, const QString &campi, const QString &messaggio, const char *campo) {
            QTest::newRow(nome) << campi << messaggio << QString::fromLatin1(campo);
        };
        const QString host = u"Indicare il server della base dati: il suo nome o indirizzo."_s;
        const QString porta = u"La porta del server della base dati deve essere un numero da 1 a 65535."_s;
        riga("server vuoto", u"|5432|corsi|ufficio|x"_s, host, "txtHost");
        riga("server di soli spazi", u"   |5432|corsi|ufficio|x"_s, host, "txtHost");
        riga("porta vuota", u"srv||corsi|ufficio|x"_s, porta, "txtPorta");
        riga("porta non numerica", u"srv|54a2|corsi|ufficio|x"_s, porta, "txtPorta");
        riga("porta 0", u"srv|0|corsi|ufficio|x"_s, porta, "txtPorta");
        riga("porta 65536", u"srv|65536|corsi|ufficio|x"_s, porta, "txtPorta");
        riga("base dati vuota", u"srv|65535||ufficio|x"_s, u"Indicare il nome della base dati sul server."_s, "txtNomeDb");
        riga("utente vuoto", u"srv|1|corsi| |x"_s, u"Indicare l'utente del server della base dati."_s, "txtUtente");
        riga("password con uno spazio in testa", u"srv|5432|corsi|ufficio| x"_s,
             u"La password non può iniziare o finire con uno spazio."_s, "txtPassword");
        riga("password con un carattere che il file non conserva", u"srv|5432|corsi|ufficio|x\u20ACy"_s,
             u"La password contiene caratteri che il file QUIRDAL.INI non può conservare."_s, "txtPassword");
    }
    void campiServer()
    {
        QFETCH(QString, campi);
        QFETCH(QString, messaggio);
        QFETCH(QString, campo);
        const QStringList c = campi.split(u'|');
        const QString &password = c[4];
        PrimaInstallazione amb{QString()};
        const QByteArray ini = amb.leggi(u"QUIRDAL.INI"_s);
        Frm_Impostazioni dlg(*amb.contesto);
        mostra(dlg);
        clicca(&dlg, u"opt_InRete"_s);
        clicca(&dlg, u"optServerDb"_s);
        digita(&dlg, u"txtHost"_s, c[0]);
        digita(&dlg, u"txtPorta"_s, c[1]);
        digita(&dlg, u"txtNomeDb"_s, c[2]);
        digita(&dlg, u"txtUtente"_s, c[3]);
        digitaQualsiasi(&dlg, u"txtPassword"_s, password);
        QCOMPARE(trova<QLineEdit>(&dlg, u"txtPassword"_s)->text(), password);
        clicca(&dlg, u"Cmd_Ok"_s);

        unMessaggio(amb.dialoghi, messaggio, u"Controllo dati"_s, Icona::Critico);
        QCOMPARE(dlg.focusWidget() ? dlg.focusWidget()->objectName() : QString(), campo);
        QVERIFY(dlg.isVisible());
        QCOMPARE(amb.leggi(u"QUIRDAL.INI"_s), ini);
    }

    // An installation set again after its server refused it shows that server again, so that
    // only what was wrong is retyped; choosing the shared file then names the file's engine.
    void serverDellaIni()
    {
        PrimaInstallazione amb{QString()};
        amb.ini.scrivi(u"Installazione"_s, u"PROVIDER"_s, u"PostgreSQL"_s);
        amb.ini.scrivi(u"BaseDati"_s, u"Host"_s, u"db.ufficio.local"_s);
        amb.ini.scrivi(u"BaseDati"_s, u"Porta"_s, u"6543"_s);
        amb.ini.scrivi(u"BaseDati"_s, u"NomeDB"_s, u"corsi"_s);
        amb.ini.scrivi(u"BaseDati"_s, u"Utente"_s, u"segreteria"_s);
        amb.ini.scrivi(u"BaseDati"_s, u"Password"_s, scramblePwd(u"Riservata1"_s));
        Frm_Impostazioni dlg(*amb.contesto);
        mostra(dlg);
        QVERIFY(trova<QRadioButton>(&dlg, u"opt_InRete"_s)->isChecked());
        QVERIFY(trova<QRadioButton>(&dlg, u"optServerDb"_s)->isChecked());
        QStringList campi;
        for (const char *nome : {"txtHost", "txtPorta", "txtNomeDb", "txtUtente", "txtPassword"})
            campi << trova<QLineEdit>(&dlg, QString::fromLatin1(nome))->text();
        QCOMPARE(campi, (QStringList{u"db.ufficio.local"_s, u"6543"_s, u"corsi"_s, u"segreteria"_s, u"Riservata1"_s}));

        const QString file = amb.percorso(u"condiviso.mdb"_s);
        QVERIFY(scriviFile(file, "x"));
        clicca(&dlg, u"optFileCondiviso"_s);
        amb.dialoghi.file.enqueue(file);
        clicca(&dlg, u"cmdSfoglia"_s);
        clicca(&dlg, u"Cmd_Ok"_s);
        QCOMPARE(amb.dialoghi.testiMessaggi(), QStringList());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(amb.leggiIni(u"Installazione"_s, u"PROVIDER"_s), u"SQLite"_s);
        QCOMPARE(amb.sessione.gPathDB, file);
        QCOMPARE(amb.sessione.gTipoInstallazione, u"Multiutenza"_s);
    }

    // The server tried as a user meets it: a SERVER makes the program's tables in an empty
    // database or takes the program's database as it is; a CLIENT takes only the program's
    // database. A wrong address, port, user or password, a missing database or one of another
    // program is said in Italian, never with the password, and the choice stays open with the
    // INI untouched; put right, the same screen accepts it.
    void server_data()
    {
        // sbaglio: what is typed wrong; messaggio: %1 host, %2 port, %3 database, %4 user (a
        // text ending in "(" goes on with the connection library's own words); campo: the field
        // that has the focus after the message
        colonne<QString, QString, QString, QString, QString>("versione", "stato", "sbaglio", "messaggio", "campo");
        const auto riga = [](const char *nome, const char *versione, const char *stato, const char *sbaglio,
                             const QString &messaggio = {}, const char *campo = "") {
            QTest::newRow(nome) << QString::fromLatin1(versione) << QString::fromLatin1(stato) << QString::fromLatin1(sbaglio)
                                << messaggio << QString::fromLatin1(campo);
        };
        const QString nonRisponde = u"Impossibile collegarsi al server della base dati %1:%2: il server non risponde o "
                                    "l'indirizzo è errato ("_s;
        const QString rifiutato = u"Il server della base dati %1:%2 non accetta l'utente '%4' con la password indicata."_s;
        riga("SERVER, base dati vuota", "SERVER", "vuota", "");
        riga("SERVER, base dati del programma", "SERVER", "programma", "");
        riga("CLIENT, base dati del programma", "CLIENT", "programma", "");
        riga("server inesistente", "SERVER", "vuota", "host", nonRisponde, "txtHost");
        riga("indirizzo senza server", "CLIENT", "programma", "indirizzo", nonRisponde, "txtHost");
        riga("porta errata", "SERVER", "programma", "porta", nonRisponde, "txtHost");
        riga("password errata", "SERVER", "vuota", "password", rifiutato, "txtPassword");
        riga("password errata, CLIENT", "CLIENT", "programma", "password", rifiutato, "txtPassword");
        riga("utente sconosciuto", "CLIENT", "programma", "utente", rifiutato, "txtPassword");
        riga("base dati inesistente", "SERVER", "vuota", "nomeDb", u"La base dati '%3' non esiste sul server %1:%2."_s,
             "txtNomeDb");
        riga("CLIENT, base dati vuota", "CLIENT", "vuota", "",
             u"La base dati '%3' sul server %1:%2 (utente '%4') non è una base dati del programma.\r\nLe tabelle del "
             "programma sono create dall'installazione di tipo SERVER: completare prima quella, sarà poi possibile "
             "installare le postazioni CLIENT."_s,
             "txtNomeDb");
        riga("SERVER, base dati di un altro programma", "SERVER", "altra", "",
             u"La base dati '%3' sul server %1:%2 (utente '%4') contiene già delle tabelle: non viene sovrascritta."_s,
             "txtNomeDb");
    }
    void server()
    {
        QFETCH(QString, versione);
        QFETCH(QString, stato);
        QFETCH(QString, sbaglio);
        QFETCH(QString, messaggio);
        QFETCH(QString, campo);
        if (!suPostgres())
            QSKIP("Nessun server PostgreSQL per questa esecuzione (QUIRDAL_TEST_PG)");
        ServerUfficio u(stato, versione);
        Ambiente &a = u.a;
        const QByteArray iniPrima = a.leggi(u"QUIRDAL.INI"_s);
        const DatiConnessione giusta = u.dove();
        DatiConnessione scritta = giusta;
        if (sbaglio == "host"_L1)
            scritta.host = a.dir.path(); // a folder without the server's socket
        else if (sbaglio == "indirizzo"_L1)
            scritta.host = u"127.0.0.1"_s; // the test server listens on its socket only
        else if (sbaglio == "porta"_L1)
            scritta.porta = giusta.porta == 65535 ? 1 : giusta.porta + 1;
        else if (sbaglio == "password"_L1)
            scritta.password = u"Sbagliata-99"_s;
        else if (sbaglio == "utente"_L1)
            scritta.utente = u"nessuno_cosi"_s;
        else if (sbaglio == "nomeDb"_L1)
            scritta.nomeDb = u"nessuna_cosi"_s;

        Frm_Impostazioni dlg(*a.contesto);
        mostra(dlg);
        clicca(&dlg, u"opt_InRete"_s);
        clicca(&dlg, u"optServerDb"_s);
        scriviServer(&dlg, scritta);
        clicca(&dlg, u"Cmd_Ok"_s);

        for (const auto &m : a.dialoghi.messaggi) {
            QVERIFY2(!m.testo.contains(kPasswordUfficio), qPrintable(m.testo));
            QVERIFY(!m.testo.contains(u"Sbagliata-99"_s));
        }
        if (!messaggio.isEmpty()) {
            const QString atteso = QString(messaggio)
                                       .replace(u"%1"_s, scritta.host)
                                       .replace(u"%2"_s, QString::number(scritta.porta))
                                       .replace(u"%3"_s, scritta.nomeDb)
                                       .replace(u"%4"_s, scritta.utente);
            QCOMPARE(a.dialoghi.messaggi.size(), 1);
            const QString visto = a.dialoghi.ultimo();
            if (atteso.endsWith(u'('))
                QVERIFY2(visto.startsWith(atteso) && visto.endsWith(u")."_s) && visto.size() > atteso.size() + 2,
                         qPrintable(visto));
            else
                QCOMPARE(visto, atteso);
            QCOMPARE(a.dialoghi.messaggi.first().titolo, u"Connessione alla base dati"_s);
            QCOMPARE(a.dialoghi.messaggi.first().icona, Icona::Critico);
            QVERIFY(dlg.isVisible());
            QCOMPARE(dlg.focusWidget() ? dlg.focusWidget()->objectName() : QString(), campo);
            QCOMPARE(a.leggi(u"QUIRDAL.INI"_s), iniPrima);
            if (sbaglio.isEmpty())
                return; // nothing the user can retype
            // The choice again: put right, the same screen takes it.
            a.dialoghi.messaggi.clear();
            scriviServer(&dlg, giusta);
            clicca(&dlg, u"Cmd_Ok"_s);
        }
        QCOMPARE(a.dialoghi.testiMessaggi(), QStringList());
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(a.sessione.gTipoInstallazione, u"Multiutenza"_s);
        QCOMPARE((QStringList{a.sessione.gPathDB, a.sessione.gNomeFileDB}), (QStringList{u""_s, u""_s}));
        // The server in QUIRDAL.INI, its password never in clear.
        QStringList ini;
        for (const char *chiave : {"Host", "Porta", "NomeDB", "Utente", "Password"})
            ini << a.leggiIni(u"BaseDati"_s, QString::fromLatin1(chiave));
        QCOMPARE(a.leggiIni(u"Installazione"_s, u"PROVIDER"_s), u"PostgreSQL"_s);
        QCOMPARE(ini,
                 (QStringList{giusta.host, QString::number(giusta.porta), giusta.nomeDb, giusta.utente,
                              scramblePwd(kPasswordUfficio)}));
        QVERIFY(!a.leggi(u"QUIRDAL.INI"_s).contains(kPasswordUfficio.toUtf8()));
        QCOMPARE(leggiConnessione(a.ini).password, kPasswordUfficio);
        // The program's database is there, as it was when it was there already.
        CorsiDB db(u"dopo"_s);
        db.apri(giusta, QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        QCOMPARE(db.valoreScalare(u"SELECT count(*) FROM CorsiOper"_s).toInt(), stato == "programma"_L1 ? 1 : 0);
        QVERIFY(db.esisteColonna(u"CorsiProp"_s, u"DataAvvio"_s));
    }
};

QTEST_MAIN(TestFrmImpostazioni)
#include "tst_frmimpostazioni.moc"
