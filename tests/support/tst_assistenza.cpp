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
Q_DECLARE_METATYPE(quirdal::Risposta)

namespace {

class CanaleFinto : public CanaleAssistenza {
public:
    QList<CampiModulo> moduli;
    QList<QByteArray> caricati;
    bool riuscito = true; // false: the upload fails in transfer
    EsitoInvio postaModulo(const QString &, const CampiModulo &campi) override
    {
        moduli << campi;
        return {true, u"Ricevuta"_s, {}, u"server"_s, u"/assistenza"_s};
    }
    EsitoInvio postaUpload(const QByteArray &corpo, const QString &) override
    {
        caricati << corpo;
        if (!riuscito)
            return {false, {}, u"Si è verificato un errore in trasmissione, 12029 : "_s, u"server"_s, u"/upload"_s};
        return {true, u"<html>Ricevuta</html>"_s, {}, u"server"_s, u"/upload"_s};
    }
};

RichiestaAssistenza compilata()
{
    return {u"mario.rossi@ente.it"_s, u"Stampa"_s, u"0123 456789"_s, u"Mario Rossi"_s, u"La stampa definitiva non parte"_s};
}

// Exactly one message, with this text and title.
void unMessaggio(const FakeDialoghi &d, const QString &testo, const QString &titolo)
{
    QCOMPARE(d.testiMessaggi(), QStringList{testo});
    QCOMPARE(d.messaggi.first().titolo, titolo);
}

const QString kArchivio = u"QUIRDAL_06-12-2026.zip"_s;

// A crash report as the program writes it, at 10:0n of the day before.
QByteArray rapportoArresto(int n)
{
    return u"=== Arresto anomalo: 05/12/2026 10:0%1:30, processo 4%1 ===\nProgramma: quirdal, versione 1.0.0\n"
           "Segnale: SIGABRT (6)\nSchermata: MDI_Main \"QUIRDAL\"\nPila delle chiamate:\nquirdal(main+0x10) [0x1]\n"
           "=== Fine del rapporto ===\n"_s.arg(n)
               .toUtf8();
}

// The archive inside an upload's multipart body, read back with libzip.
VociZip archivioCaricato(Ambiente &a, const QByteArray &corpo)
{
    const QByteArray inizio = "filename=\"" + kArchivio.toUtf8() + "\"\r\nContent-Type: application/zip\r\n\r\n";
    const qsizetype da = corpo.indexOf(inizio) + inizio.size();
    const QByteArray confine = corpo.left(corpo.indexOf("\r\n"));
    const QByteArray zip = corpo.mid(da, corpo.indexOf("\r\n" + confine, da) - da);
    a.scrivi(u"caricato.zip"_s, zip);
    return leggiZip(a.percorso(u"caricato.zip"_s));
}

} // namespace

class TestAssistenza : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // One field of a filled request made wrong.
    void nonInviata_data()
    {
        colonne<bool, QString, QString, QString, QString>("allegato", "campo", "valore", "messaggio", "titolo");
        const QString email = u"Controllo Email"_s, contatta = u"Contatta l'Assistenza"_s;
        for (const bool allegato : {false, true}) {
            const QByteArray modo = allegato ? " (con la base dati)" : "";
            QTest::newRow("mittente senza @" + modo) << allegato << "txtMittente"
                                                     << "mario.rossi.ente.it"
                                                     << "L'indirizzo e-mail deve contenere il carattere '@'." << email;
            QTest::newRow("mittente con due @" + modo) << allegato << "txtMittente"
                                                       << "mario@rossi@ente.it"
                                                       << "L'indirizzo e-mail non può contenere più di 1 carattere '@'." << email;
            QTest::newRow("telefono di spazi" + modo) << allegato << "txtNumTel"
                                                      << "   "
                                                      << "Indicare un numero di telefono." << contatta;
            QTest::newRow("senza problema" + modo) << allegato << "TxtProb"
                                                   << ""
                                                   << "Indicare il problema riscontrato." << contatta;
        }
    }
    void nonInviata()
    {
        QFETCH(bool, allegato);
        QFETCH(QString, campo);
        QFETCH(QString, valore);
        QFETCH(QString, messaggio);
        QFETCH(QString, titolo);
        Pronto a(u"Multiutenza"_s);
        CanaleFinto k;
        RichiestaAssistenza r = compilata();
        (campo == "txtMittente"_L1 ? r.mittente : campo == "txtNumTel"_L1 ? r.telefono : r.problema) = valore;
        const RisultatoAssistenza e = allegato ? inviaConBaseDati(*a.contesto, k, raccogliDatiSistema(), r)
                                               : inviaRichiesta(*a.contesto, k, raccogliDatiSistema(), r);
        QCOMPARE(e.esito, EsitoAssistenza::NonValida);
        QCOMPARE(e.campo, campo);
        unMessaggio(a.dialoghi, messaggio, titolo);
        QVERIFY(k.moduli.isEmpty() && k.caricati.isEmpty());
        QVERIFY(!a.esiste(kArchivio));
        // A valid sender becomes the user's address even when something else is missing.
        QCOMPARE(a.utente->leggi(u"E-Mail"_s), campo == "txtMittente"_L1 ? QString() : u"mario.rossi@ente.it"_s);
    }

    void campiDellaRichiesta()
    {
        Pronto a;
        a.sessione.impostaOperatore(u"A"_s, u"7"_s);
        a.sessione.gDenomOper = u"ENTE SETTE"_s;
        CanaleFinto k;
        const DatiSistema d = raccogliDatiSistema();
        QCOMPARE(inviaRichiesta(*a.contesto, k, d, compilata()).esito, EsitoAssistenza::Inviata);
        unMessaggio(a.dialoghi, u"Ricevuta"_s, u"Contatta l'assistenza"_s);
        QCOMPARE(k.moduli.size(), 1);
        QStringList nomi, valori;
        for (const auto &[n, v] : k.moduli.first()) {
            nomi << n;
            valori << v;
        }
        QCOMPARE(nomi, (QStringList{"fr", "su", "g", "c", "d", "cp", "so", "ie", "mem", "tel", "rif", "prb", "ap"}));
        QCOMPARE(valori,
                 (QStringList{"mario.rossi@ente.it", "Stampa", "A", "7", "ENTE SETTE", "", d.sistemaOperativo, d.browser,
                              d.memoria, "0123 456789", "Mario Rossi", "La stampa definitiva non parte", "QUIRDAL"}));
    }

    void risposteDelServer_data()
    {
        // guasto: the simulator's fault, or "spento" for no server; messaggio: %1 is the
        // simulator's port, a text ending in ": " is a prefix
        colonne<QString, EsitoAssistenza, QString, QString>("guasto", "esito", "titolo", "messaggio");
        const QString nonRiuscita = u"Operazione non riuscita (servizio: /cgi-bin/fp/assistenza). "_s;
        const QString controllare = u"\r\n\r\nControllare i dati immessi e ritentare l'operazione, oppure "
                                    "contattare il servizio di assistenza VTZ riportando questo messaggio."_s;
        QTest::newRow("ricevuta") << "" << EsitoAssistenza::Inviata << "Contatta l'assistenza"
                                  << "Richiesta di assistenza ricevuta. Numero pratica: 1";
        QTest::newRow("ERRORE") << "assistenza:errore" << EsitoAssistenza::ErroreServer << "Errore restituito dal Server"
                                << nonRiuscita
                + "Il server ha restituito il seguente messaggio di errore: \r\n\r\n"
                  "ERRORE: servizio non disponibile"
                + controllare;
        QTest::newRow("vuota") << "assistenza:vuoto" << EsitoAssistenza::ErroreServer << "Errore restituito dal Server"
                               << nonRiuscita + "Il server non ha restituito alcuna risposta." + controllare;
        QTest::newRow("pagina HTML") << "assistenza:html" << EsitoAssistenza::PaginaErrore << "ERRORE"
                                     << "Si è verificato un errore sul server 127.0.0.1:%1 (servizio: /cgi-bin/fp/assistenza), "
                                        "cliccando su OK il sistema cercherà di visualizzare ulteriori informazioni "
                                        "sull'errore. Contattare il servizio assistenza VTZ riportando questo messaggio e "
                                        "le informazioni visualizzate";
        QTest::newRow("server spento") << "spento" << EsitoAssistenza::NonInviata << "Errore di trasmissione"
                                       << "Si è verificato un errore in trasmissione, 12029 : ";
    }
    void risposteDelServer()
    {
        QFETCH(QString, guasto);
        QFETCH(EsitoAssistenza, esito);
        QFETCH(QString, titolo);
        QFETCH(QString, messaggio);
        const bool spento = guasto == "spento"_L1;
        ServerFinto s(guasto.isEmpty() || spento ? QStringList() : QStringList{u"--guasto"_s, guasto});
        QVERIFY(s.porta > 0);
        Pronto a;
        s.configura(a.ini, a.dir.path(), u"quirdal:Valdoria2009@"_s, spento ? 1 : 0);
        Trasferimento t(a.dir.path(), *a.utente);
        CanaleRegione k(*a.contesto, t);
        const RisultatoAssistenza r = inviaRichiesta(*a.contesto, k, raccogliDatiSistema(), compilata());
        QCOMPARE(r.esito, esito);
        QCOMPARE(a.dialoghi.messaggi.size(), 1);
        QCOMPARE(a.dialoghi.messaggi.first().titolo, titolo);
        if (messaggio.endsWith(": "_L1))
            QVERIFY2(a.dialoghi.ultimo().startsWith(messaggio), qPrintable(a.dialoghi.ultimo()));
        else
            QCOMPARE(a.dialoghi.ultimo(), messaggio.contains("%1"_L1) ? messaggio.arg(s.porta) : messaggio);
        const QString pagina = a.percorso(u"ErrServer.html"_s);
        QCOMPARE(r.paginaErrore, esito == EsitoAssistenza::PaginaErrore ? pagina : QString());
        QCOMPARE(leggiFile(pagina),
                 esito == EsitoAssistenza::PaginaErrore
                     ? QByteArray("<HTML><BODY><H1>Errore interno del server</H1></BODY></HTML>")
                     : QByteArray());
    }

    // The archive that arrives is the one made here, byte for byte, and holds the database.
    void allegatoArrivaIntero()
    {
        ServerFinto s;
        QVERIFY(s.porta > 0);
        Pronto a(u"Multiutenza"_s);
        a.aggiungiOperatore(u"A"_s, 1, u"ENTE ALLEGATO"_s);
        s.configura(a.ini, a.dir.path());
        QVERIFY(a.scrivi(kArchivio, "vecchio")); // an older archive of the same day
        Trasferimento t(a.dir.path(), *a.utente);
        CanaleRegione k(*a.contesto, t);
        QStringList stati;
        const RisultatoAssistenza r =
            inviaConBaseDati(*a.contesto, k, raccogliDatiSistema(), compilata(), [&](const QString &x) { stati << x; });
        QCOMPARE(a.dialoghi.testiMessaggi(), QStringList());
        QCOMPARE(r.esito, EsitoAssistenza::Inviata);
        QCOMPARE(stati,
                 (QStringList{"Creazione Backup base dati in corso........", "Collegamento in corso........",
                              "Collegamento effettuato"}));
        QVERIFY2(r.risposta.contains(u"Richiesta di assistenza ricevuta"_s), qPrintable(r.risposta));
        const QByteArray mandato = a.leggi(kArchivio);
        QVERIFY(mandato.startsWith("PK\x03\x04"));
        QCOMPARE(leggiFile(s.ricevuti.filePath(kArchivio)), mandato);
        const VociZip voci = leggiZip(s.ricevuti.filePath(kArchivio));
        QCOMPARE(voci.size(), 1);
        QCOMPARE(voci[0].first, u"QUIRDAL.mdb"_s);
        QVERIFY(a.scrivi(u"arrivato.mdb"_s, voci[0].second));
        QVERIFY(fileIntegro(a.percorso(u"arrivato.mdb"_s)));
        CorsiDB letto(u"letto"_s);
        letto.apri(a.percorso(u"arrivato.mdb"_s), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        QCOMPARE(letto.valoreScalare(u"SELECT Denominazione FROM CorsiOper"_s).toString(), u"ENTE ALLEGATO"_s);
        QVERIFY(a.db.aperto());
        QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
    }

    void allegatoRifiutatoSeAltriSonoConnessi()
    {
        Pronto a(u"Multiutenza"_s);
        QProcess altro;
        altro.start(qEnvironmentVariable("QUIRDAL_TEST_HOLDER"), {a.percorsoDb(), u"condiviso"_s});
        QVERIFY(altro.waitForReadyRead(30000) && altro.readLine().trimmed() == "PRONTO");
        CanaleFinto k;
        QCOMPARE(inviaConBaseDati(*a.contesto, k, raccogliDatiSistema(), compilata()).esito, EsitoAssistenza::NonInviata);
        unMessaggio(a.dialoghi,
                    u"Qualche client potrebbe ancora essere connesso alla base dati. \r\n\r\nL'operazione non è consentita."_s,
                    u"Contatta l'assistenza"_s);
        QVERIFY(k.caricati.isEmpty());
        QVERIFY(!a.esiste(kArchivio));
        altro.closeWriteChannel();
        QVERIFY(altro.waitForFinished(30000));
        QVERIFY(a.db.aperto());
        QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
    }

    // The latest crash report offered once with the request with the database: attached
    // when the user wants it (the archive in the program folder stays the database
    // alone), never offered again once declined or sent; a newer report is.
    void rapportoDiArresto_data()
    {
        colonne<int, Risposta, bool, QStringList, bool>("rapporti", "risposta", "riuscito", "voci", "ancora");
        const QStringList soloDb{u"QUIRDAL.mdb"_s}, conRapporto{u"QUIRDAL.mdb"_s, u"QUIRDAL-arresto.log"_s};
        QTest::newRow("nessun rapporto") << 0 << Risposta::Si << true << soloDb << false;
        QTest::newRow("allegato e inviato") << 2 << Risposta::Si << true << conRapporto << false;
        QTest::newRow("rifiutato") << 2 << Risposta::No << true << soloDb << false;
        QTest::newRow("allegato ma non arrivato") << 1 << Risposta::Si << false << conRapporto << true;
    }
    void rapportoDiArresto()
    {
        QFETCH(int, rapporti);
        QFETCH(Risposta, risposta);
        QFETCH(bool, riuscito);
        QFETCH(QStringList, voci);
        QFETCH(bool, ancora);
        Pronto a(u"Multiutenza"_s);
        QByteArray log;
        for (int n = 1; n <= rapporti; ++n)
            log += rapportoArresto(n);
        QVERIFY(a.scrivi(kFileArresto, log));
        a.dialoghi.risposte << risposta;
        const std::optional<RapportoArresto> scelto = offriRapportoArresto(*a.contesto);
        if (rapporti == 0) {
            QVERIFY(!scelto);
            QVERIFY(a.dialoghi.messaggi.isEmpty());
        } else {
            unMessaggio(a.dialoghi,
                        u"Il programma si è chiuso in modo anomalo il 05/12/2026 alle 10:0%1.\r\nAllegare alla richiesta di "
                        "assistenza il rapporto dell'arresto (QUIRDAL-arresto.log)?"_s.arg(rapporti),
                        u"Contatta l'assistenza"_s, Icona::Domanda, Pulsanti::SiNo);
            QCOMPARE(scelto.has_value(), risposta == Risposta::Si);
        }
        CanaleFinto k;
        k.riuscito = riuscito;
        a.dialoghi.messaggi.clear();
        const RisultatoAssistenza r = inviaConBaseDati(*a.contesto, k, raccogliDatiSistema(), compilata(), {}, scelto);
        QCOMPARE(r.esito, riuscito ? EsitoAssistenza::Inviata : EsitoAssistenza::NonInviata);
        QCOMPARE(k.caricati.size(), 1);
        const VociZip caricato = archivioCaricato(a, k.caricati.first());
        QStringList nomi;
        for (const auto &[nome, dati] : caricato)
            nomi << nome;
        QCOMPARE(nomi, voci);
        if (voci.size() > 1)
            QCOMPARE(caricato[1].second, rapportoArresto(rapporti)); // the latest report alone
        // The archive kept in the program folder can still be restored: the database alone.
        const VociZip tenuto = leggiZip(a.percorso(kArchivio));
        QCOMPARE(tenuto.size(), 1);
        QCOMPARE(tenuto[0].first, u"QUIRDAL.mdb"_s);

        // The next request.
        a.dialoghi.messaggi.clear();
        a.dialoghi.risposte << Risposta::No;
        offriRapportoArresto(*a.contesto);
        QCOMPARE(a.dialoghi.messaggi.size(), ancora ? 1 : 0);
        // A later crash is offered again.
        QVERIFY(a.scrivi(kFileArresto, log + rapportoArresto(7)));
        const std::optional<RapportoArresto> nuovo = rapportoDaOffrire(*a.contesto);
        QVERIFY(nuovo);
        QCOMPARE(nuovo->id, u"05/12/2026 10:07:30, processo 47"_s);
    }

    void memoria()
    {
        QCOMPARE(memoriaDaMeminfo(u"MemTotal:        2097152 kB\nMemFree:   1000 kB\nMemAvailable: 1048576 kB\n"
                                  "SwapTotal: 1048576 kB\nSwapFree: 524288 kB\n"_s),
                 u"Total RAM = 2048 MB\r\nAvailable RAM = 1024 MB\r\nTotal Virtual Memory = 3072 MB\r\n"
                 "Available Virtual Memory = 1536 MB"_s);
        QCOMPARE(memoriaDaMeminfo(QString()), u"non disponibile"_s);
    }
};

QTEST_GUILESS_MAIN(TestAssistenza)
#include "tst_assistenza.moc"
