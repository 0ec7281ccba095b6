#include "common/Errori.h"
#include "config/Installazione.h"
#include "startup/Avvio.h"
#include "support/Ambiente.h"

#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// Records what the start-up asks of its screens.
class VistaFinta : public VistaAvvio {
public:
    QStringList eventi;
    std::function<void(Contesto &)> impostazioni;
    void mostraSplash() override { eventi << u"splash"_s; }
    void chiudiSplash() override { eventi << u"chiudi splash"_s; }
    void mostraImpostazioni(Contesto &c) override
    {
        eventi << u"impostazioni"_s;
        if (!impostazioni)
            throw FineProgramma();
        impostazioni(c);
    }
    void mostraAvvisoClient() override { eventi << u"avviso client"_s; }
    void fase(const QString &t, const QString &r) override { eventi << t + u'|' + r; }
    void mostraFinestraPrincipale(Contesto &) override { eventi << u"principale"_s; }
};

// The whole start-up; true when it ends the program.
bool avvia(Ambiente &a, VistaFinta &v, PassiAvvio passi = {})
{
    Avvio avvio(*a.contesto, v, std::move(passi));
    return finisce([&] { avvio.esegui(); });
}

// An installed program folder: INI, help file, database and, unless it is a first start,
// an operator.
struct Installato : Ambiente {
    explicit Installato(bool conOperatore = true)
    {
        scriviIni();
        scriviAiuto();
        creaDb();
        if (conOperatore)
            operatoreNelFile();
    }
};

} // namespace

class TestAvvio : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each ends the program before the main window, with its one message (none when the
    // installation screen is left), and leaves the INI as it says.
    void avvioTerminato_data()
    {
        // ini: Tipo|Database written ("-": no INI); iniDopo: Tipo|Database|NFileDB|Versione; "@": the folder
        colonne<QString, bool, int, QString, QString, QString>("ini", "conDb", "risposta", "titolo", "messaggio", "iniDopo");
        const char *inizializzazione = "Errore di inizializzazione";
        const QString nonValide =
            u"E' stata rilevata una situazione anomala in fase di inizializzazione.\r\nLe impostazioni di QUIRDAL.INI non "
            "sono valide.\r\nIl programma verrà terminato.\r\nLa procedura cercherà di correggere il problema "
            "automaticamente.\r\nSarà chiesta nuovamente l'impostazione dell'installazione.\r\nEventuali dati salvati non "
            "verranno persi.\r\nPremere 'Ok' quindi riavviare il programma.\r\nSe il problema persiste, contattare "
            "l'assistenza tecnica."_s;
        const QString assente =
            u"File base dati non presente.%1\r\nNon è possibile utilizzare il programma.\r\n\r\nLa base dati è stata "
            "rimossa o spostata oppure alcune impostazioni del file QUIRDAL.INI sono errate.\r\n\r\nE' possibile "
            "correggere l'errore reimpostando l'installazione del programma, eventuali dati salvati non verranno persi."
            "\r\nPremere 'Sì' per procedere alla correzione automatica, quindi riavviare il programma.\r\nSe il problema "
            "persiste contattare l'assistenza tecnica."_s;
        const char *installato = "StandAlone|@/QUIRDAL.mdb|QUIRDAL.mdb|SERVER";
        QTest::newRow("ini assente") << "-" << false << 0 << inizializzazione
                                     << "Impossibile trovare il file QUIRDAL.INI\r\nLa procedura verrà terminata."
                                     << "<assente>|<assente>|<assente>|<assente>";
        QTest::newRow("tipo in altro caso") << "standalone|@/QUIRDAL.mdb" << false << 0 << inizializzazione << nonValide
                                            << "|||SERVER";
        QTest::newRow("tipo sconosciuto") << "Rete|@/QUIRDAL.mdb" << false << 0 << inizializzazione << nonValide << "|||SERVER";
        // The screen ends the program, as "Esci dall'installazione" does.
        QTest::newRow("installazione interrotta") << "|@/QUIRDAL.mdb" << false << 0 << ""
                                                  << ""
                                                  << "|@/QUIRDAL.mdb|QUIRDAL.mdb|SERVER";
        // The INI's values are read trimmed, so a path of blanks is an empty one.
        QTest::newRow("base dati di spazi, Sì reimposta")
            << "StandAlone|   " << false << int(Risposta::Si) << "Imposta base dati" << assente.arg(QString()) << "|||SERVER";
        QTest::newRow("base dati mancante, No lascia")
            << "StandAlone|@/manca.mdb" << false << int(Risposta::No) << "Imposta base dati" << assente.arg(u"@/manca.mdb"_s)
            << "StandAlone|@/manca.mdb|QUIRDAL.mdb|SERVER";
        QTest::newRow("primo avvio senza file dati")
            << "StandAlone|@/QUIRDAL.mdb" << true << 0 << "Installazione Base Dati"
            << "ATTENZIONE: la base dati è incompleta. Mancano uno o più files di testo necessari (è possibile che si trovino "
               "ancora nella cartella temporanea dove è stato scaricato il pacchetto di installazione da Internet. In tal "
               "caso, spostare da tale cartella tutti i files .TX1 nella cartella @)."
            << installato;
    }
    void avvioTerminato()
    {
        QFETCH(QString, ini);
        QFETCH(bool, conDb);
        QFETCH(int, risposta);
        QFETCH(QString, titolo);
        QFETCH(QString, messaggio);
        QFETCH(QString, iniDopo);
        Ambiente a;
        const auto qui = [&](QString t) { return t.replace(u'@', a.dir.path()); };
        if (ini != "-"_L1)
            a.scriviIni(qui(ini).section(u'|', 0, 0), u"SERVER"_s, qui(ini).section(u'|', 1));
        const QString assente = u"File base dati non presente."_s;
        if (a.suServer() && messaggio.startsWith(assente)) {
            // On the server the database looked for is the one [BaseDati] NomeDB names: blank,
            // or one the server does not have (never made). The message names it and its server.
            const DatiConnessione c = a.connessione();
            const bool vuoto = ini.section(u'|', 1).trimmed().isEmpty();
            if (vuoto) {
                cFileINI f(a.dir.path());
                f.setNomeFile(a.percorso(u"QUIRDAL.INI"_s));
                f.scrivi(u"BaseDati"_s, u"NomeDB"_s, ini.section(u'|', 1));
            }
            messaggio = assente
                + u"'%1' sul server %2:%3 (utente '%4')"_s.arg(vuoto ? QString() : c.nomeDb, c.host).arg(c.porta).arg(c.utente)
                + messaggio.mid(messaggio.indexOf(u"\r\n"_s));
        }
        if (conDb) {
            a.scriviAiuto();
            a.creaDb();
        }
        if (risposta)
            a.dialoghi.risposte << static_cast<Risposta>(risposta);
        VistaFinta v;
        QVERIFY(avvia(a, v));
        QVERIFY(!v.eventi.contains(u"principale"_s));
        QCOMPARE(a.dialoghi.testiMessaggi(), messaggio.isEmpty() ? QStringList() : QStringList{qui(messaggio)});
        if (!titolo.isEmpty())
            QCOMPARE(a.dialoghi.messaggi[0].titolo, titolo);
        QStringList dopo;
        for (const QString &k :
             {u"Installazione/Tipo"_s, u"BaseDati/Database"_s, u"BaseDati/NFileDB"_s, u"Installazione/Versione"_s})
            dopo << a.leggiIni(k.section(u'/', 0, 0), k.section(u'/', 1), u"<assente>"_s);
        QCOMPARE(dopo.join(u'|'), qui(iniDopo));
        QVERIFY(!a.esiste(u"manca.mdb"_s));
    }

    // The first start of an installed program: the folder is made from the installed
    // model, then the installation screen asks, with the empty database already there.
    void primoAvvioDelProgrammaInstallato()
    {
        Ambiente a;
        QTemporaryDir modello;
        QVERIFY(
            QFile::copy(qEnvironmentVariable("QUIRDAL_SORGENTI") + u"/data/QUIRDAL.INI"_s, modello.filePath(u"QUIRDAL.INI"_s)));
        creaDatabase(modello.filePath(u"QUIRDAL.mdb"_s), QString::fromLatin1(CorsiDB::kPassword));
        scriviFile(modello.filePath(u"QUIRDAL.html"_s), "<html><body><a name=\"t20000\"></a></body></html>");
        a.contesto->cartellaProgramma = a.percorso(u"Documenti/QUIRDAL"_s);
        const QString cartella = a.contesto->cartellaProgramma;
        VistaFinta v;
        v.impostazioni = [&](Contesto &c) {
            QCOMPARE(a.dialoghi.messaggi.size(), 0);
            QCOMPARE(c.ini.leggi(u"Installazione"_s, u"Tipo"_s, u"<assente>"_s), QString());
            QVERIFY(QFileInfo(cartella + u"/QUIRDAL.mdb"_s).isFile());
            c.ini.scrivi(u"Installazione"_s, u"Versione"_s, u"SERVER"_s);
            c.sessione.gTipoInstallazione = u"StandAlone"_s;
            c.sessione.gPathDB = cartella + u"/QUIRDAL.mdb"_s;
            c.sessione.gNomeFileDB = u"QUIRDAL.mdb"_s;
        };
        PassiAvvio passi;
        passi.cartellaModello = modello.path();
        passi.tabelle = [](Contesto &) {};
        passi.scaricaPrimoAvvio = [&](Contesto &) { v.eventi << u"scarica"_s; };
        passi.installaOperatori = [](Contesto &) {};
        QVERIFY(!avvia(a, v, passi));
        QCOMPARE(v.eventi,
                 (QStringList{"splash", "chiudi splash", "impostazioni", "INSTALLAZIONE|Attendere...", "scarica", "principale"}));
        QCOMPARE(QDir::current().absolutePath(), cartella);
        QCOMPARE(a.db.percorso(), cartella + u"/QUIRDAL.mdb"_s);
    }

    // An installed program that starts on a folder an older package prepared: the help
    // becomes the package's, the user's settings and data stay.
    void aiutoDalPacchetto()
    {
        Installato a;
        const QByteArray ini = a.leggi(u"QUIRDAL.INI"_s);
        QTemporaryDir modello;
        QDir().mkpath(modello.filePath(u"aiuto"_s));
        scriviFile(modello.filePath(u"QUIRDAL.INI"_s), "[Installazione]\r\nTipo=\r\n");
        scriviFile(modello.filePath(u"QUIRDAL.html"_s), "<html><a name=\"t20000\">nuovo</a></html>");
        scriviFile(modello.filePath(u"aiuto/menu-principale.png"_s), "png");
        PassiAvvio passi;
        passi.cartellaModello = modello.path();
        passi.tabelle = [](Contesto &) {};
        VistaFinta v;
        QVERIFY(!avvia(a, v, passi));
        QVERIFY(v.eventi.contains(u"principale"_s));
        QCOMPARE(a.leggi(u"QUIRDAL.html"_s), QByteArray("<html><a name=\"t20000\">nuovo</a></html>"));
        QCOMPARE(a.leggi(u"aiuto/menu-principale.png"_s), QByteArray("png"));
        QCOMPARE(a.leggi(u"QUIRDAL.INI"_s), ini);
        QCOMPARE(a.dialoghi.messaggi.size(), 0);
    }

    void cartellaNonPreparabile()
    {
        Ambiente a;
        QTemporaryDir modello;
        scriviFile(modello.filePath(u"QUIRDAL.INI"_s), "[Installazione]\r\n");
        a.scrivi(u"occupato"_s, "");
        a.contesto->cartellaProgramma = a.percorso(u"occupato/QUIRDAL"_s);
        PassiAvvio passi;
        passi.cartellaModello = modello.path();
        VistaFinta v;
        QVERIFY(avvia(a, v, passi));
        QCOMPARE(v.eventi, QStringList());
        unMessaggio(a.dialoghi,
                    u"Impossibile preparare la cartella del programma %1.\r\nImpossibile creare la cartella %1\r\n"
                    "La procedura verrà terminata."_s.arg(a.percorso(u"occupato/QUIRDAL"_s)),
                    u"Errore di inizializzazione"_s, Icona::Critico);
    }

    void tipoVuotoChiedeLInstallazione()
    {
        Installato a;
        a.scriviIni(QString(), u"SERVER"_s, QString());
        VistaFinta v;
        v.impostazioni = [&](Contesto &c) {
            c.sessione.gTipoInstallazione = u"Multiutenza"_s;
            c.sessione.gPathDB = a.percorsoDb();
            c.sessione.gNomeFileDB = u"QUIRDAL.mdb"_s;
        };
        QVERIFY(!avvia(a, v));
        QCOMPARE(v.eventi.mid(0, 3), (QStringList{"splash", "chiudi splash", "impostazioni"}));
        QCOMPARE(a.leggiIni(u"Installazione"_s, u"Tipo"_s), u"Multiutenza"_s);
        QCOMPARE(a.leggiIni(u"BaseDati"_s, u"Database"_s), a.percorsoDb());
        QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
        // The other keys of the INI are still there.
        QCOMPARE(a.leggiIni(u"Installazione"_s, u"PROVIDER"_s), a.suServer() ? u"PostgreSQL"_s : u"SQLite"_s);
    }

    // The INI cannot be written (a read-only folder, a vanished share): a clear
    // message, and the program ends rather than going on with settings it lost.
    void iniNonScrivibile()
    {
        Ambiente a;
        cFileINI ini(a.dir.path());
        ini.setNomeFile(a.percorso(u"sparita/QUIRDAL.INI"_s));
        a.sessione.gTipoInstallazione = u"StandAlone"_s;
        QVERIFY(finisce([&] { salvaInstallazione(ini, a.sessione, a.dialoghi); }));
        QVERIFY(a.dialoghi.ultimo().startsWith(u"Impossibile salvare le impostazioni nel file "_s));
        QCOMPARE(a.dialoghi.messaggi[0].icona, Icona::Critico);
    }

    // A file that is not a database (on the server: a database without the program's tables):
    // the generic error, Retry tries again, Cancel ends.
    void fileNonDatabase()
    {
        Ambiente a;
        a.scriviIni();
        a.scriviAiuto();
        if (a.suServer())
            creaDatabaseServer(a.nomeDbServer);
        else
            a.scrivi(u"QUIRDAL.mdb"_s, QByteArray(4096, '\x5a'));
        a.dialoghi.risposte << Risposta::Riprova << Risposta::Annulla;
        VistaFinta v;
        QVERIFY(avvia(a, v));
        QCOMPARE(a.dialoghi.messaggi.size(), 2);
        const QString m = a.dialoghi.ultimo();
        QVERIFY(m.startsWith(u"Errore 3343\r\n"_s)
                && m.endsWith(u"\r\n\r\nSi è verificato un errore imprevisto,scegliere riprova per ritentare l'operazione."_s));
        QCOMPARE(a.dialoghi.messaggi[0].pulsanti, Pulsanti::RiprovaAnnulla);
        QCOMPARE(a.dialoghi.messaggi[0].icona, Icona::Esclamazione);
    }

    void primoAvvio_data()
    {
        colonne<QString, QStringList, bool>("versione", "attesi", "fine");
        QTest::newRow("CLIENT") << "CLIENT" << QStringList{"INSTALLAZIONE|Attendere...", "avviso client"} << true;
        QTest::newRow("SERVER")
            << "SERVER"
            << QStringList{"INSTALLAZIONE|Attendere...", "scarica", "tabelle", "installa", "tabelle-fine", "principale"} << false;
    }
    void primoAvvio()
    {
        QFETCH(QString, versione);
        QFETCH(QStringList, attesi);
        QFETCH(bool, fine);
        Installato a(false);
        a.scriviIni(u"StandAlone"_s, versione);
        VistaFinta v;
        PassiAvvio passi;
        int tabelle = 0;
        passi.tabelle = [&](Contesto &) { v.eventi << (tabelle++ ? u"tabelle"_s : u"tabelle-inizio"_s); };
        passi.scaricaPrimoAvvio = [&](Contesto &c) {
            QCOMPARE(c.sessione.gPrimoAvvio, VERO);
            v.eventi << u"scarica"_s;
        };
        passi.installaOperatori = [&](Contesto &) { v.eventi << u"installa"_s << u"tabelle-fine"_s; };
        QCOMPARE(avvia(a, v, passi), fine);
        for (const char *e : {"splash", "chiudi splash", "tabelle-inizio"})
            v.eventi.removeAll(QString::fromLatin1(e));
        QCOMPARE(v.eventi, attesi);
        QCOMPARE(a.sessione.gAiutoIniziale, VERO);
    }

    void ripristinoSessione_data()
    {
        colonne<QString, QString, bool, bool, QString, QString, short>("oper", "prov", "conRiga", "stampata", "operatore",
                                                                       "desProv", "gDomanda");
        QTest::newRow("0012, con domanda") << "0012"
                                           << "001" << true << false << "12"
                                           << "ALFA" << short(1);
        QTest::newRow("domanda stampata") << "12"
                                          << "001" << true << true << "12"
                                          << "ALFA" << short(1);
        QTest::newRow("Prov vuota") << "12"
                                    << "" << true << false << "12"
                                    << "" << short(0);
        QTest::newRow("nessuna riga Installazione") << "12"
                                                    << "001" << false << false << "12"
                                                    << "ALFA" << short(0);
        QTest::newRow("Oper non numerico") << "abc"
                                           << "001" << false << false << "0"
                                           << "ALFA" << short(0);
    }
    void ripristinoSessione()
    {
        QFETCH(QString, oper);
        QFETCH(QString, prov);
        QFETCH(bool, conRiga);
        QFETCH(bool, stampata);
        QFETCH(QString, operatore);
        QFETCH(QString, desProv);
        QFETCH(short, gDomanda);
        Pronto a;
        a.db.esegui(u"INSERT INTO Province VALUES ('001', 'AA', 'ALFA', '01')"_s);
        if (conRiga)
            a.db.esegui(u"INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, DomandaStampata) "
                        "VALUES ('A', 12, '001', 1, ?)"_s,
                        {stampata ? -1 : 0});
        using Chiave = std::pair<QString, QString>;
        for (const auto &[k, v] : QList<Chiave>{{"GrOpe", "A"}, {"Oper", oper}, {"Prov", prov}, {"Domanda", "1"}})
            a.ini.scrivi(u"BaseDati"_s, k, v);
        VistaFinta v;
        Avvio(*a.contesto, v).ripristinaSessione();
        const Sessione &s = a.sessione;
        QCOMPARE((QVariantList{s.gOperatore, s.chiaveOperatore(), s.gDesProv, s.gDomanda, s.gDomandaStampata, s.gOperStampato}),
                 (QVariantList{operatore, QVariantList{u"A"_s, operatore.toLongLong()}, desProv, gDomanda,
                               flag(stampata && !prov.isEmpty()), flag(stampata)}));
    }

    // A failure inside a data step ends that step only.
    void passoDatiFallitoNonFermaLAvvio()
    {
        Installato a;
        VistaFinta v;
        PassiAvvio passi;
        passi.tabelle = [](Contesto &) { throw Errore(3022, u"chiave duplicata"_s); };
        QVERIFY(!avvia(a, v, passi));
        QCOMPARE(v.eventi.last(), u"principale"_s);
        QCOMPARE(a.sessione.gAiutoIniziale, FALSO);
        QCOMPARE(a.db.modo(), ModoApertura::Esclusivo);
        QCOMPARE(a.sessione.gCompoSedeLeg, u"SL"_s);
        QVERIFY(a.dialoghi.messaggi.isEmpty());
    }

    // Without a table step of its own the start-up runs the table pass, its phase shown.
    void tabelleAllAvvio()
    {
        Installato a;
        a.scrivi(u"installa.tab"_s, {});
        a.scrivi(u"Province.txt"_s, "#X#\r\n#001#,#AL#,#ALBARESE#,#01#\r\n");
        VistaFinta v;
        QVERIFY(!avvia(a, v));
        QVERIFY(v.eventi.contains(u"INSTALLAZIONE TABELLE|Attendere ...."_s));
        QCOMPARE(a.valore(u"SELECT DesProv FROM Province"_s), u"ALBARESE"_s);
    }

    void aiutoMancanteAvvisaEProsegue()
    {
        Installato a;
        QFile::remove(a.percorso(u"QUIRDAL.html"_s));
        VistaFinta v;
        QVERIFY(!avvia(a, v));
        unMessaggio(a.dialoghi, u"File di Aiuto non presente"_s, u"Imposta Aiuto"_s, Icona::Esclamazione);
        QCOMPARE(v.eventi.last(), u"principale"_s);
    }
};

QTEST_GUILESS_MAIN(TestAvvio)
#include "tst_avvio.moc"
