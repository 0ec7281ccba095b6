#include "common/Errori.h"
#include "config/Installazione.h"
#include "startup/Avvio.h"
#include "support/Ambiente.h"

#include <QFile>
#include <QTest>

using namespace quirdal;
using quirdal::test::Ambiente;
using quirdal::test::finisce;

namespace {

// Records what the start-up asks of its screens.
class VistaFinta : public VistaAvvio {
public:
    QStringList eventi;
    std::function<void(Contesto &)> impostazioni;
    void mostraSplash() override { eventi << QStringLiteral("splash"); }
    void chiudiSplash() override { eventi << QStringLiteral("chiudi splash"); }
    void mostraImpostazioni(Contesto &c) override
    {
        eventi << QStringLiteral("impostazioni");
        if (impostazioni)
            impostazioni(c);
        else
            throw FineProgramma();
    }
    void mostraAvvisoClient() override { eventi << QStringLiteral("avviso client"); }
    void fase(const QString &t, const QString &r) override { eventi << t + QLatin1Char('|') + r; }
    void mostraFinestraPrincipale(Contesto &) override { eventi << QStringLiteral("principale"); }
};

QString leggiIni(Ambiente &a, const QString &sezione, const QString &chiave)
{
    cFileINI ini(a.dir.path());
    ini.setNomeFile(a.percorso(QStringLiteral("QUIRDAL.INI")));
    return ini.leggi(sezione, chiave, QStringLiteral("<assente>"));
}

} // namespace

class TestAvvio : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void iniAssente()
    {
        Ambiente a;
        VistaFinta v;
        Avvio avvio(*a.contesto, v);
        QVERIFY(finisce([&] { avvio.esegui(); }));
        QCOMPARE(a.dialoghi.messaggi.size(), 1);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Impossibile trovare il file QUIRDAL.INI\r\nLa procedura verrà terminata."));
        QCOMPARE(a.dialoghi.messaggi[0].titolo, QStringLiteral("Errore di inizializzazione"));
        QVERIFY(!v.eventi.contains(QStringLiteral("principale")));
    }

    void tipoNonValidoReimpostaLInstallazione_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::newRow("altro caso") << "standalone";
        QTest::newRow("sconosciuto") << "Rete";
    }
    void tipoNonValidoReimpostaLInstallazione()
    {
        QFETCH(QString, tipo);
        Ambiente a;
        a.scriviIni(tipo);
        VistaFinta v;
        Avvio avvio(*a.contesto, v);
        QVERIFY(finisce([&] { avvio.esegui(); }));
        QCOMPARE(a.dialoghi.ultimo(), testoImpostazioniNonValide());
        QVERIFY(a.dialoghi.ultimo().endsWith(QStringLiteral("\r\nSe il problema persiste, contattare l'assistenza tecnica.")));
        QCOMPARE(leggiIni(a, QStringLiteral("Installazione"), QStringLiteral("Tipo")), QString());
        QCOMPARE(leggiIni(a, QStringLiteral("BaseDati"), QStringLiteral("Database")), QString());
        QCOMPARE(leggiIni(a, QStringLiteral("BaseDati"), QStringLiteral("NFileDB")), QString());
        QCOMPARE(leggiIni(a, QStringLiteral("Installazione"), QStringLiteral("Versione")), QStringLiteral("SERVER"));
    }

    void tipoVuotoChiedeLInstallazione()
    {
        Ambiente a;
        a.scriviIni(QString(), QStringLiteral("SERVER"), QString());
        a.scriviAiuto();
        a.creaDb();
        a.operatoreNelFile();
        VistaFinta v;
        v.impostazioni = [&](Contesto &c) {
            c.sessione.gTipoInstallazione = QStringLiteral("Multiutenza");
            c.sessione.gPathDB = a.percorsoDb();
            c.sessione.gNomeFileDB = QStringLiteral("QUIRDAL.mdb");
        };
        Avvio avvio(*a.contesto, v);
        QVERIFY(!finisce([&] { avvio.esegui(); }));
        QCOMPARE(v.eventi.mid(0, 3), (QStringList{"splash", "chiudi splash", "impostazioni"}));
        QCOMPARE(leggiIni(a, QStringLiteral("Installazione"), QStringLiteral("Tipo")), QStringLiteral("Multiutenza"));
        QCOMPARE(leggiIni(a, QStringLiteral("BaseDati"), QStringLiteral("Database")), a.percorsoDb());
        QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
        // The comments and other keys of the INI are still there.
        QCOMPARE(leggiIni(a, QStringLiteral("Installazione"), QStringLiteral("PROVIDER")), QStringLiteral("SQLite"));
    }

    // The INI cannot be written (a read-only folder, a vanished share): a clear
    // message, and the program ends rather than going on with settings it lost.
    void iniNonScrivibile()
    {
        Ambiente a;
        cFileINI ini(a.dir.path());
        ini.setNomeFile(a.percorso(QStringLiteral("sparita/QUIRDAL.INI")));
        a.sessione.gTipoInstallazione = QStringLiteral("StandAlone");
        QVERIFY(finisce([&] { salvaInstallazione(ini, a.sessione, a.dialoghi); }));
        QVERIFY(a.dialoghi.ultimo().startsWith(QStringLiteral("Impossibile salvare le impostazioni nel file ")));
        QCOMPARE(a.dialoghi.messaggi[0].icona, Icona::Critico);
    }

    void installazioneInterrotta()
    {
        Ambiente a;
        a.scriviIni(QString());
        VistaFinta v; // the screen ends the program, as "Esci dall'installazione" does
        Avvio avvio(*a.contesto, v);
        QVERIFY(finisce([&] { avvio.esegui(); }));
        QCOMPARE(leggiIni(a, QStringLiteral("Installazione"), QStringLiteral("Tipo")), QString());
    }

    void baseDatiAssente_data()
    {
        QTest::addColumn<QString>("percorso");
        QTest::addColumn<int>("risposta");
        QTest::addColumn<QString>("databaseDopo");
        QTest::newRow("spazi, Sì reimposta") << "   " << int(Risposta::Si) << "";
        QTest::newRow("file mancante, No lascia") << "@/manca.mdb" << int(Risposta::No) << "@/manca.mdb";
    }
    void baseDatiAssente()
    {
        QFETCH(QString, percorso);
        QFETCH(int, risposta);
        QFETCH(QString, databaseDopo);
        Ambiente a;
        percorso.replace(QLatin1Char('@'), a.dir.path());
        databaseDopo.replace(QLatin1Char('@'), a.dir.path());
        a.scriviIni(QStringLiteral("StandAlone"), QStringLiteral("SERVER"), percorso);
        a.dialoghi.risposte.enqueue(static_cast<Risposta>(risposta));
        VistaFinta v;
        Avvio avvio(*a.contesto, v);
        QVERIFY(finisce([&] { avvio.esegui(); }));
        QCOMPARE(a.dialoghi.messaggi[0].titolo, QStringLiteral("Imposta base dati"));
        // The INI's values are read trimmed, so a path of blanks is an empty one.
        QCOMPARE(a.dialoghi.ultimo(), testoBaseDatiAssente(percorso.trimmed()));
        QCOMPARE(leggiIni(a, QStringLiteral("BaseDati"), QStringLiteral("Database")), databaseDopo);
        QVERIFY(!QFile::exists(a.percorso(QStringLiteral("manca.mdb"))));
    }

    // A file that is not a database: the generic error, Retry tries again, Cancel ends.
    void fileNonDatabase()
    {
        Ambiente a;
        a.scriviIni();
        a.scriviAiuto();
        QFile f(a.percorsoDb());
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(4096, '\x5a'));
        f.close();
        a.dialoghi.risposte << Risposta::Riprova << Risposta::Annulla;
        VistaFinta v;
        Avvio avvio(*a.contesto, v);
        QVERIFY(finisce([&] { avvio.esegui(); }));
        QCOMPARE(a.dialoghi.messaggi.size(), 2);
        QVERIFY(a.dialoghi.ultimo().startsWith(QStringLiteral("Errore %1\r\n").arg(codici::NonUnDatabase)));
        QVERIFY(a.dialoghi.ultimo().endsWith(
            QStringLiteral("\r\n\r\nSi è verificato un errore imprevisto,scegliere riprova per ritentare l'operazione.")));
        QCOMPARE(a.dialoghi.messaggi[0].pulsanti, Pulsanti::RiprovaAnnulla);
        QCOMPARE(a.dialoghi.messaggi[0].icona, Icona::Esclamazione);
    }

    void primoAvvio_data()
    {
        QTest::addColumn<QString>("versione");
        QTest::addColumn<QStringList>("attesi");
        QTest::addColumn<bool>("fine");
        QTest::newRow("CLIENT") << "CLIENT" << QStringList{"INSTALLAZIONE|Attendere...", "avviso client"} << true;
        QTest::newRow("SERVER") << "SERVER"
                                << QStringList{"INSTALLAZIONE|Attendere...", "scarica", "tabelle", "installa",
                                               "tabelle-fine", "principale"}
                                << false;
    }
    void primoAvvio()
    {
        QFETCH(QString, versione);
        QFETCH(QStringList, attesi);
        QFETCH(bool, fine);
        Ambiente a;
        a.scriviIni(QStringLiteral("StandAlone"), versione);
        a.scriviAiuto();
        a.creaDb();
        VistaFinta v;
        PassiAvvio passi;
        int tabelle = 0;
        passi.tabelle = [&](Contesto &) { v.eventi << (tabelle++ == 0 ? QStringLiteral("tabelle-inizio") : QStringLiteral("tabelle")); };
        passi.scaricaPrimoAvvio = [&](Contesto &c) {
            QCOMPARE(c.sessione.gPrimoAvvio, VERO);
            v.eventi << QStringLiteral("scarica");
        };
        passi.installaOperatori = [&](Contesto &) { v.eventi << QStringLiteral("installa"); v.eventi << QStringLiteral("tabelle-fine"); };
        Avvio avvio(*a.contesto, v, passi);
        QCOMPARE(finisce([&] { avvio.esegui(); }), fine);
        v.eventi.removeAll(QStringLiteral("splash"));
        v.eventi.removeAll(QStringLiteral("chiudi splash"));
        v.eventi.removeAll(QStringLiteral("tabelle-inizio"));
        QCOMPARE(v.eventi, attesi);
        QCOMPARE(a.sessione.gAiutoIniziale, VERO);
    }

    void ripristinoSessione_data()
    {
        QTest::addColumn<QString>("oper");
        QTest::addColumn<QString>("prov");
        QTest::addColumn<QString>("domanda");
        QTest::addColumn<bool>("conRiga");
        QTest::addColumn<bool>("stampata");
        QTest::addColumn<QString>("operatore");
        QTest::addColumn<QString>("desProv");
        QTest::addColumn<short>("gDomanda");
        QTest::newRow("0012, con domanda") << "0012" << "001" << "1" << true << false << "12" << "ALFA" << short(1);
        QTest::newRow("domanda stampata") << "12" << "001" << "1" << true << true << "12" << "ALFA" << short(1);
        QTest::newRow("Prov vuota") << "12" << "" << "1" << true << false << "12" << "" << short(0);
        QTest::newRow("nessuna riga Installazione") << "12" << "001" << "1" << false << false << "12" << "ALFA" << short(0);
        QTest::newRow("Oper non numerico") << "abc" << "001" << "1" << false << false << "0" << "ALFA" << short(0);
    }
    void ripristinoSessione()
    {
        QFETCH(QString, oper);
        QFETCH(QString, prov);
        QFETCH(QString, domanda);
        QFETCH(bool, conRiga);
        QFETCH(bool, stampata);
        QFETCH(QString, operatore);
        QFETCH(QString, desProv);
        QFETCH(short, gDomanda);
        Ambiente a;
        a.pronto();
        a.db.esegui(QStringLiteral("INSERT INTO Province VALUES ('001', 'AA', 'ALFA', '01')"));
        if (conRiga)
            a.db.esegui(QStringLiteral("INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, DomandaStampata) "
                                       "VALUES ('A', 12, '001', 1, ?)"),
                        {stampata ? -1 : 0});
        a.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("GrOpe"), QStringLiteral("A"));
        a.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Oper"), oper);
        a.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Prov"), prov);
        a.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Domanda"), domanda);
        VistaFinta v;
        Avvio avvio(*a.contesto, v);
        avvio.ripristinaSessione();
        QCOMPARE(a.sessione.gOperatore, operatore);
        QCOMPARE(a.sessione.chiaveOperatore(), (QVariantList{QStringLiteral("A"), operatore.toLongLong()}));
        QCOMPARE(a.sessione.gDesProv, desProv);
        QCOMPARE(a.sessione.gDomanda, gDomanda);
        QCOMPARE(a.sessione.gDomandaStampata, flag(stampata && !prov.isEmpty()));
        QCOMPARE(a.sessione.gOperStampato, flag(stampata));
    }

    // A failure inside a data step ends that step only.
    void passoDatiFallitoNonFermaLAvvio()
    {
        Ambiente a;
        a.scriviIni();
        a.scriviAiuto();
        a.creaDb();
        a.operatoreNelFile();
        VistaFinta v;
        PassiAvvio passi;
        passi.tabelle = [](Contesto &) { throw Errore(3022, QStringLiteral("chiave duplicata")); };
        Avvio avvio(*a.contesto, v, passi);
        QVERIFY(!finisce([&] { avvio.esegui(); }));
        QCOMPARE(v.eventi.last(), QStringLiteral("principale"));
        QCOMPARE(a.sessione.gAiutoIniziale, FALSO);
        QCOMPARE(a.db.modo(), ModoApertura::Esclusivo);
        QCOMPARE(a.sessione.gCompoSedeLeg, QStringLiteral("SL"));
        QVERIFY(a.dialoghi.messaggi.isEmpty());
    }

    // A first start without the operators' data files: the install's message, the end.
    void primoAvvioSenzaFileDati()
    {
        Ambiente a;
        a.scriviIni();
        a.scriviAiuto();
        a.creaDb();
        VistaFinta v;
        Avvio avvio(*a.contesto, v);
        QVERIFY(finisce([&] { avvio.esegui(); }));
        QVERIFY(a.dialoghi.ultimo().startsWith(QStringLiteral("ATTENZIONE: la base dati è incompleta.")));
        QVERIFY(!v.eventi.contains(QStringLiteral("principale")));
    }

    // Step 8 without a hook of its own: the table pass, its phase on the start-up screen.
    void tabelleAllAvvio()
    {
        Ambiente a;
        a.scriviIni();
        a.scriviAiuto();
        a.creaDb();
        a.operatoreNelFile();
        for (const auto &[nome, dati] : {std::pair{"installa.tab", QByteArray()},
                                         std::pair{"Province.txt", QByteArray("#X#\r\n#001#,#AL#,#ALBARESE#,#01#\r\n")}}) {
            QFile f(a.percorso(QString::fromLatin1(nome)));
            f.open(QIODevice::WriteOnly);
            f.write(dati);
        }
        VistaFinta v;
        Avvio avvio(*a.contesto, v);
        QVERIFY(!finisce([&] { avvio.esegui(); }));
        QVERIFY(v.eventi.contains(QStringLiteral("INSTALLAZIONE TABELLE|Attendere ....")));
        QCOMPARE(a.db.valoreScalare(QStringLiteral("SELECT DesProv FROM Province")).toString(), QStringLiteral("ALBARESE"));
    }

    void aiutoMancanteAvvisaEProsegue()
    {
        Ambiente a;
        a.scriviIni();
        a.creaDb();
        a.operatoreNelFile();
        VistaFinta v;
        Avvio avvio(*a.contesto, v);
        QVERIFY(!finisce([&] { avvio.esegui(); }));
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("File di Aiuto non presente"));
        QCOMPARE(a.dialoghi.messaggi[0].titolo, QStringLiteral("Imposta Aiuto"));
        QCOMPARE(a.dialoghi.messaggi[0].icona, Icona::Esclamazione);
        QCOMPARE(v.eventi.last(), QStringLiteral("principale"));
    }
};

QTEST_GUILESS_MAIN(TestAvvio)
#include "tst_avvio.moc"
