// The assistance request: nothing is sent while a check fails, the fields go in their
// order with "cp" empty, the replies of the server are told apart (an HTML page is written
// to ErrServer.html), and the database attached reaches the region's server whole.
#include "db/CopiaSicurezza.h"
#include "transmission/CanaleRegione.h"
#include "support/Ambiente.h"
#include "support/Assistenza.h"
#include "support/ServerFinto.h"
#include "support/Zip.h"
#include "transmission/Trasferimento.h"

#include <QProcess>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

Q_DECLARE_METATYPE(quirdal::EsitoAssistenza)

namespace {

class CanaleFinto : public CanaleAssistenza {
public:
    QList<CampiModulo> moduli;
    QList<QByteArray> caricati;
    EsitoInvio postaModulo(const QString &, const CampiModulo &campi) override
    {
        moduli << campi;
        return {true, QStringLiteral("Ricevuta"), {}, QStringLiteral("server"), QStringLiteral("/assistenza")};
    }
    EsitoInvio postaUpload(const QByteArray &corpo, const QString &) override
    {
        caricati << corpo;
        return {true, QStringLiteral("<html>Ricevuta</html>"), {}, QStringLiteral("server"), QStringLiteral("/upload")};
    }
};

RichiestaAssistenza compilata()
{
    return {QStringLiteral("mario.rossi@ente.it"), QStringLiteral("Stampa"), QStringLiteral("0123 456789"),
            QStringLiteral("Mario Rossi"), QStringLiteral("La stampa definitiva non parte")};
}

QByteArray contenuto(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QString kArchivio = QStringLiteral("QUIRDAL_06-12-2026.zip");

} // namespace

class TestAssistenza : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nonInviata_data()
    {
        QTest::addColumn<bool>("allegato");
        QTest::addColumn<QString>("mittente");
        QTest::addColumn<QString>("telefono");
        QTest::addColumn<QString>("problema");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("campo");
        for (const bool allegato : {false, true}) {
            const QByteArray modo = allegato ? " (con la base dati)" : "";
            QTest::newRow("mittente senza @" + modo) << allegato << "mario.rossi.ente.it" << "0123" << "x"
                                                     << "L'indirizzo e-mail deve contenere il carattere '@'."
                                                     << "Controllo Email" << "txtMittente";
            QTest::newRow("mittente con due @" + modo) << allegato << "mario@rossi@ente.it" << "0123" << "x"
                                                       << "L'indirizzo e-mail non può contenere più di 1 carattere '@'."
                                                       << "Controllo Email" << "txtMittente";
            QTest::newRow("telefono di spazi" + modo) << allegato << "mario.rossi@ente.it" << "   " << "x"
                                                      << "Indicare un numero di telefono." << "Contatta l'Assistenza"
                                                      << "txtNumTel";
            QTest::newRow("senza problema" + modo) << allegato << "mario.rossi@ente.it" << "0123" << ""
                                                   << "Indicare il problema riscontrato." << "Contatta l'Assistenza"
                                                   << "TxtProb";
        }
    }
    void nonInviata()
    {
        QFETCH(bool, allegato);
        QFETCH(QString, mittente);
        QFETCH(QString, telefono);
        QFETCH(QString, problema);
        QFETCH(QString, messaggio);
        QFETCH(QString, titolo);
        QFETCH(QString, campo);
        Ambiente a;
        a.pronto(QStringLiteral("Multiutenza"));
        CanaleFinto k;
        RichiestaAssistenza r = compilata();
        r.mittente = mittente;
        r.telefono = telefono;
        r.problema = problema;
        const RisultatoAssistenza e = allegato ? inviaConBaseDati(*a.contesto, k, raccogliDatiSistema(), r)
                                               : inviaRichiesta(*a.contesto, k, raccogliDatiSistema(), r);
        QCOMPARE(e.esito, EsitoAssistenza::NonValida);
        QCOMPARE(e.campo, campo);
        QCOMPARE(a.dialoghi.testiMessaggi(), QStringList{messaggio});
        QCOMPARE(a.dialoghi.messaggi.first().titolo, titolo);
        QVERIFY(k.moduli.isEmpty());
        QVERIFY(k.caricati.isEmpty());
        QVERIFY(!QFileInfo::exists(a.percorso(kArchivio)));
        // A valid sender becomes the user's address even when something else is missing.
        QCOMPARE(a.utente->leggi(QStringLiteral("E-Mail")), campo == QLatin1String("txtMittente") ? QString() : mittente);
    }

    void campiDellaRichiesta()
    {
        Ambiente a;
        a.pronto();
        a.sessione.impostaOperatore(QStringLiteral("A"), QStringLiteral("7"));
        a.sessione.gDenomOper = QStringLiteral("ENTE SETTE");
        CanaleFinto k;
        const DatiSistema d = raccogliDatiSistema();
        QCOMPARE(inviaRichiesta(*a.contesto, k, d, compilata()).esito, EsitoAssistenza::Inviata);
        QCOMPARE(a.dialoghi.testiMessaggi(), QStringList{QStringLiteral("Ricevuta")});
        QCOMPARE(a.dialoghi.messaggi.first().titolo, QStringLiteral("Contatta l'assistenza"));
        QCOMPARE(k.moduli.size(), 1);
        QStringList nomi, valori;
        for (const auto &[n, v] : k.moduli.first()) {
            nomi << n;
            valori << v;
        }
        QCOMPARE(nomi, (QStringList{"fr", "su", "g", "c", "d", "cp", "so", "ie", "mem", "tel", "rif", "prb", "ap"}));
        QCOMPARE(valori, (QStringList{"mario.rossi@ente.it", "Stampa", "A", "7", "ENTE SETTE", "", d.sistemaOperativo,
                                      d.browser, d.memoria, "0123 456789", "Mario Rossi", "La stampa definitiva non parte",
                                      "QUIRDAL"}));
    }

    void risposteDelServer_data()
    {
        QTest::addColumn<QStringList>("opzioni");
        QTest::addColumn<bool>("spento");
        QTest::addColumn<EsitoAssistenza>("esito");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("messaggio"); // %1: the simulator's port; a text ending in ": " is a prefix
        const QString nonRiuscita = QStringLiteral("Operazione non riuscita (servizio: /cgi-bin/fp/assistenza). ");
        const QString controllare = QStringLiteral("\r\n\r\nControllare i dati immessi e ritentare l'operazione, oppure "
                                                   "contattare il servizio di assistenza VTZ riportando questo messaggio.");
        QTest::newRow("ricevuta") << QStringList{} << false << EsitoAssistenza::Inviata << "Contatta l'assistenza"
                                  << "Richiesta di assistenza ricevuta. Numero pratica: 1";
        QTest::newRow("ERRORE") << QStringList{"--guasto", "assistenza:errore"} << false << EsitoAssistenza::ErroreServer
                                << "Errore restituito dal Server"
                                << nonRiuscita + "Il server ha restituito il seguente messaggio di errore: \r\n\r\n"
                                       "ERRORE: servizio non disponibile" + controllare;
        QTest::newRow("vuota") << QStringList{"--guasto", "assistenza:vuoto"} << false << EsitoAssistenza::ErroreServer
                               << "Errore restituito dal Server"
                               << nonRiuscita + "Il server non ha restituito alcuna risposta." + controllare;
        QTest::newRow("pagina HTML") << QStringList{"--guasto", "assistenza:html"} << false << EsitoAssistenza::PaginaErrore
                                     << "ERRORE"
                                     << "Si è verificato un errore sul server 127.0.0.1:%1 (servizio: /cgi-bin/fp/assistenza), "
                                        "cliccando su OK il sistema cercherà di visualizzare ulteriori informazioni "
                                        "sull'errore. Contattare il servizio assistenza VTZ riportando questo messaggio e "
                                        "le informazioni visualizzate";
        QTest::newRow("server spento") << QStringList{} << true << EsitoAssistenza::NonInviata << "Errore di trasmissione"
                                       << "Si è verificato un errore in trasmissione, 12029 : ";
    }
    void risposteDelServer()
    {
        QFETCH(QStringList, opzioni);
        QFETCH(bool, spento);
        QFETCH(EsitoAssistenza, esito);
        QFETCH(QString, titolo);
        QFETCH(QString, messaggio);
        ServerFinto s(opzioni);
        QVERIFY(s.porta > 0);
        Ambiente a;
        a.pronto();
        s.configura(a.ini, a.dir.path(), QStringLiteral("quirdal:Valdoria2009@"), spento ? 1 : 0);
        Trasferimento t(a.dir.path(), *a.utente);
        CanaleRegione k(*a.contesto, t);
        const RisultatoAssistenza r = inviaRichiesta(*a.contesto, k, raccogliDatiSistema(), compilata());
        QCOMPARE(r.esito, esito);
        QCOMPARE(a.dialoghi.messaggi.size(), 1);
        QCOMPARE(a.dialoghi.messaggi.first().titolo, titolo);
        if (messaggio.endsWith(QLatin1String(": ")))
            QVERIFY2(a.dialoghi.ultimo().startsWith(messaggio), qPrintable(a.dialoghi.ultimo()));
        else
            QCOMPARE(a.dialoghi.ultimo(), messaggio.contains(QLatin1String("%1")) ? messaggio.arg(s.porta) : messaggio);
        const QString pagina = a.percorso(QStringLiteral("ErrServer.html"));
        QCOMPARE(r.paginaErrore, esito == EsitoAssistenza::PaginaErrore ? pagina : QString());
        QCOMPARE(contenuto(pagina), esito == EsitoAssistenza::PaginaErrore
                                        ? QByteArray("<HTML><BODY><H1>Errore interno del server</H1></BODY></HTML>")
                                        : QByteArray());
    }

    // The archive that arrives is the one made here, byte for byte, and holds the database.
    void allegatoArrivaIntero()
    {
        ServerFinto s;
        QVERIFY(s.porta > 0);
        Ambiente a;
        a.pronto(QStringLiteral("Multiutenza"));
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("ENTE ALLEGATO"));
        s.configura(a.ini, a.dir.path());
        {
            QFile vecchio(a.percorso(kArchivio)); // an older archive of the same day
            QVERIFY(vecchio.open(QIODevice::WriteOnly));
            vecchio.write("vecchio");
        }
        Trasferimento t(a.dir.path(), *a.utente);
        CanaleRegione k(*a.contesto, t);
        QStringList stati;
        const RisultatoAssistenza r = inviaConBaseDati(*a.contesto, k, raccogliDatiSistema(), compilata(),
                                                       [&](const QString &x) { stati << x; });
        QCOMPARE(a.dialoghi.testiMessaggi(), QStringList());
        QCOMPARE(r.esito, EsitoAssistenza::Inviata);
        QCOMPARE(stati, (QStringList{"Creazione Backup base dati in corso........", "Collegamento in corso........",
                                     "Collegamento effettuato"}));
        QVERIFY2(r.risposta.contains(QStringLiteral("Richiesta di assistenza ricevuta")), qPrintable(r.risposta));
        const QByteArray mandato = contenuto(a.percorso(kArchivio));
        QVERIFY(mandato.startsWith("PK\x03\x04"));
        QCOMPARE(contenuto(s.ricevuti.filePath(kArchivio)), mandato);
        const VociZip voci = leggiZip(s.ricevuti.filePath(kArchivio));
        QCOMPARE(voci.size(), 1);
        QCOMPARE(voci[0].first, QStringLiteral("QUIRDAL.mdb"));
        QFile db(a.percorso(QStringLiteral("arrivato.mdb")));
        QVERIFY(db.open(QIODevice::WriteOnly));
        db.write(voci[0].second);
        db.close();
        QVERIFY(fileIntegro(db.fileName()));
        CorsiDB letto(QStringLiteral("letto"));
        letto.apri(db.fileName(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        QCOMPARE(letto.valoreScalare(QStringLiteral("SELECT Denominazione FROM CorsiOper")).toString(),
                 QStringLiteral("ENTE ALLEGATO"));
        QVERIFY(a.db.aperto());
        QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
    }

    void allegatoRifiutatoSeAltriSonoConnessi()
    {
        Ambiente a;
        a.pronto(QStringLiteral("Multiutenza"));
        QProcess altro;
        altro.start(qEnvironmentVariable("QUIRDAL_TEST_HOLDER"), {a.percorsoDb(), QStringLiteral("condiviso")});
        QVERIFY(altro.waitForReadyRead(30000));
        QCOMPARE(altro.readLine().trimmed(), QByteArray("PRONTO"));
        CanaleFinto k;
        QCOMPARE(inviaConBaseDati(*a.contesto, k, raccogliDatiSistema(), compilata()).esito, EsitoAssistenza::NonInviata);
        QCOMPARE(a.dialoghi.testiMessaggi(),
                 QStringList{QStringLiteral("Qualche client potrebbe ancora essere connesso alla base dati. \r\n\r\n"
                                            "L'operazione non è consentita.")});
        QCOMPARE(a.dialoghi.messaggi.first().titolo, QStringLiteral("Contatta l'assistenza"));
        QVERIFY(k.caricati.isEmpty());
        QVERIFY(!QFileInfo::exists(a.percorso(kArchivio)));
        altro.closeWriteChannel();
        QVERIFY(altro.waitForFinished(30000));
        QVERIFY(a.db.aperto());
        QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
    }

    void memoria()
    {
        QCOMPARE(memoriaDaMeminfo(QStringLiteral("MemTotal:        2097152 kB\nMemFree:   1000 kB\nMemAvailable: 1048576 kB\n"
                                                 "SwapTotal: 1048576 kB\nSwapFree: 524288 kB\n")),
                 QStringLiteral("Total RAM = 2048 MB\r\nAvailable RAM = 1024 MB\r\nTotal Virtual Memory = 3072 MB\r\n"
                                "Available Virtual Memory = 1536 MB"));
        QCOMPARE(memoriaDaMeminfo(QString()), QStringLiteral("non disponibile"));
    }
};

QTEST_GUILESS_MAIN(TestAssistenza)
#include "tst_assistenza.moc"
