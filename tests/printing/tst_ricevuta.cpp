// The receipt of every send, against the simulator over real TLS: the copy kept is the body
// the region received, its record carries the copy's SHA-256, a send that is not confirmed
// keeps nothing, the final form prints the hash the receipt gives, a stop between the record
// and the removal of the pending file loses neither, an altered copy is flagged, and the
// command line lists the sends.
#include "support/Domanda.h"
#include "support/GuidaModali.h"
#include "support/Pdf.h"
#include "support/RigaDiComando.h"
#include "support/ServerFinto.h"

#include "printing/Ricevuta.h"
#include "printing/Stampa.h"
#include "startup/Avvio.h"
#include "transmission/CreaFileTrasm.h"
#include "transmission/ServiziRegione.h"
#include "transmission/ui/SchermiInternet.h"

#include <QCryptographicHash>
#include <QPushButton>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTest>
#include <QTreeWidget>

using namespace quirdal;
using namespace quirdal::test;

namespace {

const QString kFile = u"QUIRDAL_001_000123.A7"_s;

QString sha(const QByteArray &b) { return QString::fromLatin1(QCryptographicHash::hash(b, QCryptographicHash::Sha256).toHex()); }

// The application of the test data, sent from 30/11/2009 by mario.rossi, to a simulator of its own.
struct Banco : Selezionata {
    ServerFinto server;
    Trasferimento t{dir.path(), *utente};

    explicit Banco(const QStringList &opzioni = {}, bool stampata = true) : Selezionata(stampata), server(opzioni)
    {
        server.configura(ini, dir.path());
        sessione.gPwdConnessione = u"quirdal:Valdoria2009@"_s;
        sessione.gEmail = u"mario.rossi@ente.example"_s;
        piattaforma.data = QDate(2009, 11, 30);
        t.setAttesaMassima(8000);
    }
    EsitoInvioDomanda invia() { return inviaDomanda(*contesto, t, u"001"_s, u"A"_s, u"7"_s); }
    QList<Invio> invii() { return inviiDomanda(db, u"001"_s, u"A"_s, 7); }
    QString inviati(const QString &nome = {}) const { return percorso(u"Inviati/"_s + nome); }
    // The copies in the folder, receipts apart.
    QStringList copie() const { return QDir(inviati()).entryList({u"QUIRDAL_*"_s}, QDir::Files, QDir::Name); }
    // What the region received in its n-th upload, after the file's name.
    QByteArray corpo(int n) const { return leggiFile(server.ricevuti.filePath(u"corpi/%1-"_s.arg(n) + kFile)); }
};

struct VistaMuta : VistaAvvio {
    void mostraImpostazioni(Contesto &) override { }
    void mostraAvvisoClient() override { }
    void mostraFinestraPrincipale(Contesto &) override { }
};

// A port where nobody listens.
int portaChiusa()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost);
    return s.serverPort();
}

// The hash the final form prints at the foot of its last page.
QString improntaStampata(const QString &pdf)
{
    static const QRegularExpression r(u"Impronta SHA-256 del file di trasmissione del (\\d\\d/\\d\\d/\\d{4}): ([0-9a-f]{64})"_s);
    const QStringList pagine = paginePdf(pdf);
    const auto m = pagine.isEmpty() ? QRegularExpressionMatch() : r.match(pagine.last());
    return m.hasMatch() ? m.captured(1) + u' ' + m.captured(2) : QString();
}

} // namespace

class TestRicevuta : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void invio_data()
    {
        // ore: the minutes past 9:00 of each send's confirmation; copie: the names kept
        colonne<QStringList, bool, QList<int>, QStringList>("opzioni", "spento", "ore", "copie");
        QTest::newRow("ricevuto") << QStringList() << false << QList<int>{30}
                                  << QStringList{u"QUIRDAL_001_000123_20091130-093000.A7"_s};
        QTest::newRow("due invii") << QStringList() << false << QList<int>{30, 45}
                                   << QStringList{u"QUIRDAL_001_000123_20091130-093000.A7"_s,
                                                  u"QUIRDAL_001_000123_20091130-094500.A7"_s};
        QTest::newRow("due invii nello stesso secondo")
            << QStringList() << false << QList<int>{30, 30}
            << QStringList{u"QUIRDAL_001_000123_20091130-093000-2.A7"_s, u"QUIRDAL_001_000123_20091130-093000.A7"_s};
        QTest::newRow("rifiutato") << QStringList{u"--guasto"_s, u"upload:errore"_s} << false << QList<int>{30} << QStringList();
        QTest::newRow("senza conferma") << QStringList{u"--guasto"_s, u"upload:vuoto"_s} << false << QList<int>{30}
                                        << QStringList();
        QTest::newRow("stato 500") << QStringList{u"--guasto"_s, u"upload:stato500"_s} << false << QList<int>{30}
                                   << QStringList();
        QTest::newRow("server spento") << QStringList() << true << QList<int>{30} << QStringList();
    }
    void invio()
    {
        QFETCH(QStringList, opzioni);
        QFETCH(bool, spento);
        QFETCH(QList<int>, ore);
        QFETCH(QStringList, copie);
        Banco b(opzioni);
        if (spento)
            b.server.configura(b.ini, b.dir.path(), u"x@"_s, portaChiusa());
        QStringList ricevute;
        for (int minuti : ore) {
            b.piattaforma.ora = QTime(9, minuti);
            const EsitoInvioDomanda e = b.invia();
            QCOMPARE(e.trasmessa, !copie.isEmpty());
            if (!e.ricevuta.isEmpty())
                ricevute << e.ricevuta;
        }
        QCOMPARE(b.copie(), copie);
        const QList<Invio> invii = b.invii();
        QCOMPARE(invii.size(), copie.size());
        // Kept until the region has confirmed it, then nowhere but in Inviati.
        QCOMPARE(b.esiste(kFile), copie.isEmpty());
        if (copie.isEmpty()) {
            QVERIFY(!QFileInfo::exists(b.inviati()));
            QCOMPARE(b.piattaforma.aperti, QStringList());
            return;
        }
        for (qsizetype n = 0; n < invii.size(); ++n) {
            const Invio &i = invii[n];
            const QByteArray copia = leggiFile(b.inviati(i.copia));
            // The file as written, whose lines are the body the region received.
            QCOMPARE(copia, leggiFile(percorsoRiferimento()));
            QByteArray senzaCr = copia;
            senzaCr.replace("\r\n", "\n");
            QCOMPARE(senzaCr, b.corpo(static_cast<int>(n) + 1));
            QCOMPARE(i.sha256, sha(copia));
            QCOMPARE(i.dimensione, copia.size());
            QCOMPARE(i.nomeFile, kFile);
            QCOMPARE(i.numDoma, u"000123"_s);
            QCOMPARE(i.risposta, u"Trasmissione completata con successo"_s);
            QCOMPARE(i.dataOra, QDateTime(QDate(2009, 11, 30), QTime(9, ore[n])));
        }
        // A receipt per send, opened when the send ended.
        QCOMPARE(b.piattaforma.aperti, ricevute);
        QCOMPARE(ricevute.size(), copie.size());
        const QString testo = testoPdf(ricevute.last());
        for (const QString &atteso :
             {u"RICEVUTA DI TRASMISSIONE"_s, u"Proposta Corsi Brivasco - 2009 - primi anni"_s, u"Numero della domanda"_s,
              u"000123"_s, kFile, u"Trasmissione completata con successo"_s, u"30/11/2009 ore 09:%1:00"_s.arg(ore.last()),
              invii.last().sha256, u"Codice operatore"_s, u"ALFA (AL)"_s, u"Pagina 1 di 1"_s})
            QVERIFY2(testo.contains(atteso), qPrintable(atteso));
        QCOMPARE(infoPdf(ricevute.last(), u"Pages"_s), u"1"_s);
        QCOMPARE(infoPdf(ricevute.last(), u"Title"_s), u"Ricevuta di trasmissione"_s);
        QCOMPARE(infoPdf(ricevute.last(), u"Keywords"_s), u"SHA-256 "_s + invii.last().sha256);
    }

    // Received, but neither copy nor record can be kept: the user is told, and the pending
    // file, the only bytes left of what was sent, stays.
    void copiaNonConservata()
    {
        Banco b;
        QVERIFY(scriviFile(b.percorso(u"Inviati"_s), "un file al posto della cartella"));
        const EsitoInvioDomanda e = b.invia();
        QVERIFY(e.trasmessa);
        QVERIFY(!e.invio);
        QCOMPARE(e.ricevuta, QString());
        QCOMPARE(b.invii().size(), 0);
        QCOMPARE(leggiFile(b.percorso(kFile)), leggiFile(percorsoRiferimento()));
        QCOMPARE(b.dialoghi.messaggi.size(), 2);
        QCOMPARE(b.dialoghi.messaggi[0].testo, u"Trasmissione alla Provincia completata con successo"_s);
        QVERIFY(b.dialoghi.ultimo().startsWith(u"La copia della domanda inviata e la sua registrazione non sono state "
                                               "conservate: Impossibile scrivere la copia dell'invio "_s));
        QVERIFY(b.dialoghi.ultimo().endsWith(u"Il file di trasmissione resta nella cartella "_s
                                             + QDir::toNativeSeparators(b.percorso(kFile)) + u'.'));
        QCOMPARE(b.piattaforma.aperti, QStringList());
    }

    // The final form prints the SHA-256 of the file its locked data make, and the file sent
    // later, whatever the day and the sender's address, is that file.
    void moduloERicevuta_data()
    {
        colonne<bool, QDate, QString, QString>("stampa", "giorno", "mittente", "modulo");
        QTest::newRow("inviata il giorno della stampa") << true << QDate(2009, 11, 30) << u"mario.rossi@ente.example"_s
                                                        << u"l'impronta stampata sul modulo originale è la stessa"_s;
        QTest::newRow("inviata giorni dopo da un altro indirizzo") << true << QDate(2009, 12, 3) << u"ufficio@ente.example"_s
                                                                   << u"l'impronta stampata sul modulo originale è la stessa"_s;
        QTest::newRow("bloccata prima di questa versione") << false << QDate(2009, 12, 3) << u"mario.rossi@ente.example"_s
                                                           << u"nessuna impronta registrata per il modulo originale"_s;
    }
    void moduloERicevuta()
    {
        QFETCH(bool, stampa);
        QFETCH(QDate, giorno);
        QFETCH(QString, mittente);
        QFETCH(QString, modulo);
        Banco b({}, !stampa);
        QString hashModulo;
        if (stampa) {
            domandaStampabile(b.db);
            b.utente->scrivi(u"E-Mail"_s, u"mario.rossi@ente.example"_s);
            AvanzamentoStampa silenzioso;
            RichiestaStampa r;
            r.apriAlTermine = false;
            const EsitoOriginale o = stampaOriginale(*b.contesto, silenzioso, r);
            QVERIFY(o.stampa.intera());
            QVERIFY(TrasDoma(b.db, b.sessione));
            const QString stampata = improntaStampata(o.stampa.filePdf);
            QCOMPARE(stampata.left(11), u"30/11/2009 "_s);
            hashModulo = stampata.mid(11);
            QCOMPARE(infoPdf(o.stampa.filePdf, u"Keywords"_s), u"SHA-256 "_s + hashModulo);
        }
        if (!stampa) {
            // A database of the previous version, as the command line finds it: the file is
            // written all the same.
            b.db.esegui(u"DROP TABLE Invii"_s);
            b.db.esegui(u"DROP TABLE DomandeDefinitive"_s);
            mCreaFileTrasm modulo(*b.contesto);
            QVERIFY(modulo.CreaFile(u"001"_s, u"A"_s, u"7"_s));
        }
        b.piattaforma.data = giorno;
        b.sessione.gEmail = mittente;
        const EsitoInvioDomanda e = b.invia();
        QVERIFY(e.invio);
        const QByteArray copia = leggiFile(b.inviati(e.invio->copia));
        QCOMPARE(e.invio->sha256, sha(copia));
        if (stampa) {
            QCOMPARE(sha(copia), hashModulo);
            // The records carry the day and the address of the final print.
            QVERIFY(copia.contains("#mario.rossi@ente.example#"));
            QVERIFY(copia.endsWith("#Z#,#EOF#\r\n") && copia.contains("#20091130#\r\n"));
        } else {
            QVERIFY(copia.contains(giorno.toString(u"'#'yyyyMMdd'#\r\n'"_s).toLatin1()));
        }
        QVERIFY2(testoPdf(e.ricevuta).contains(modulo), qPrintable(testoPdf(e.ricevuta)));
    }

    // Stopped dead after the copy and the record, before the pending file goes: the next start
    // keeps both, the next send records a second one; the command line lists both.
    void interrottoPrimaDellaCancellazione()
    {
        Banco b;
        b.db.chiudi();
        const QStringList invia{u"invia"_s,     u"--prov"_s,  u"001"_s,
                                u"--grupope"_s, u"A"_s,       u"--operatore"_s,
                                u"7"_s,         u"--email"_s, u"mario.rossi@ente.example"_s};
        QProcess p;
        auto ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(u"QUIRDAL_ARRESTO"_s, u"invio-registrato"_s);
        p.setProcessEnvironment(ambiente);
        p.start(qEnvironmentVariable("QUIRDAL_TEST_CLI"), QStringList{u"--cartella"_s, b.dir.path()} + invia);
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 137);
        auto stato = [&] {
            CorsiDB d(u"controllo"_s);
            d.apri(b.connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
            return d.valoreScalare(u"SELECT count(*) FROM Invii"_s).toInt();
        };
        QCOMPARE(stato(), 1);
        QVERIFY(b.esiste(kFile));
        QCOMPARE(b.copie().size(), 1);

        // The next start.
        const QString cartellaCorrente = QDir::currentPath();
        {
            VistaMuta vista;
            Avvio avvio(*b.contesto, vista);
            QVERIFY(!finisce([&] { avvio.esegui(); }));
        }
        QDir::setCurrent(cartellaCorrente);
        b.db.chiudi();
        QCOMPARE(stato(), 1);
        QVERIFY(b.esiste(kFile));
        QCOMPARE(b.copie().size(), 1);

        const QStringList prima = b.copie();
        const EsitoCli e = cli(b.dir.path(), invia);
        QCOMPARE(e.errore(), QString());
        QStringList nuove = b.copie();
        for (const QString &c : prima)
            nuove.removeAll(c);
        QCOMPARE(nuove.size(), 1);
        QCOMPARE(e.out, QDir(b.inviati()).filePath(u"Ricevuta_"_s + nuove.first() + u".pdf"_s) + u'\n');
        QVERIFY(!b.esiste(kFile));

        // One line per send, with the whole hash of what the region received.
        const EsitoCli elenco =
            cli(b.dir.path(), {u"invii"_s, u"--prov"_s, u"001"_s, u"--grupope"_s, u"A"_s, u"--operatore"_s, u"7"_s});
        QCOMPARE(elenco.errore(), QString());
        const QStringList righe = elenco.righe();
        QCOMPARE(righe.size(), 2);
        for (int n = 0; n < 2; ++n) {
            QByteArray ricevuto = b.corpo(n + 1);
            ricevuto.replace("\n", "\r\n");
            const QRegularExpression riga(u"^\\d\\d/\\d\\d/\\d{4}\\t\\d\\d:\\d\\d:\\d\\d\\tQUIRDAL_001_000123\\.A7\\t%1\\t%2"
                                          "\\tInviati/QUIRDAL_001_000123_\\d{8}-\\d{6}(-2)?\\.A7$"_s.arg(ricevuto.size())
                                              .arg(sha(ricevuto)));
            QVERIFY2(riga.match(righe[n]).hasMatch(), qPrintable(righe[n]));
        }
    }

    // A copy whose bytes no longer match its record is flagged, on the screen and on the
    // command line; the receipt reopens, written again when it is gone.
    void copiaAlterata_data()
    {
        colonne<QString, QString>("modifica", "stato");
        QTest::newRow("intatta") << ""
                                 << "";
        QTest::newRow("un byte cambiato") << "byte"
                                          << "copia alterata";
        QTest::newRow("accorciata") << "corta"
                                    << "copia alterata";
        QTest::newRow("cancellata") << "via"
                                    << "copia mancante";
    }
    void copiaAlterata()
    {
        QFETCH(QString, modifica);
        QFETCH(QString, stato);
        Banco b;
        const EsitoInvioDomanda e = b.invia();
        QVERIFY(e.invio);
        const QString copia = b.inviati(e.invio->copia);
        QByteArray dati = leggiFile(copia);
        if (modifica == u"byte"_s)
            QVERIFY(scriviFile(copia, dati.replace("BIANCHI MARIA", "BIANCHI MARIO")));
        else if (modifica == u"corta"_s)
            QVERIFY(scriviFile(copia, dati.left(dati.size() - 1)));
        else if (modifica == u"via"_s)
            QVERIFY(QFile::remove(copia));
        QVERIFY(QFile::remove(e.ricevuta));
        b.piattaforma.aperti.clear();

        frmInet f(*b.contesto);
        f.show();
        auto *lista = trova<QTreeWidget>(&f, u"lstInvii"_s);
        QCOMPARE(lista->topLevelItemCount(), 1);
        QTreeWidgetItem *voce = lista->topLevelItem(0);
        QStringList colonne;
        for (int c = 0; c < lista->columnCount(); ++c)
            colonne << voce->text(c);
        QCOMPARE(colonne,
                 (QStringList{u"30/11/2009"_s, u"09:30:00"_s, kFile,
                              QLocale(QLocale::Italian).toString(leggiFile(percorsoRiferimento()).size()),
                              sha(leggiFile(percorsoRiferimento())).left(12), stato}));
        auto *apri = trova<QPushButton>(&f, u"cmdRicevuta"_s);
        QVERIFY(!apri->isEnabled());
        lista->setCurrentItem(voce);
        QVERIFY(apri->isEnabled());
        QTest::mouseClick(apri, Qt::LeftButton);
        QCOMPARE(b.piattaforma.aperti, QStringList{e.ricevuta});
        QVERIFY(testoPdf(e.ricevuta).contains(e.invio->sha256));

        b.db.chiudi();
        const EsitoCli elenco =
            cli(b.dir.path(), {u"invii"_s, u"--prov"_s, u"001"_s, u"--grupope"_s, u"A"_s, u"--operatore"_s, u"7"_s});
        QCOMPARE(elenco.codice, 0);
        QCOMPARE(elenco.out,
                 u"30/11/2009\t09:30:00\t"_s + kFile + u'\t' + QString::number(leggiFile(percorsoRiferimento()).size()) + u'\t'
                     + sha(leggiFile(percorsoRiferimento())) + u"\tInviati/QUIRDAL_001_000123_20091130-093000.A7"_s
                     + (stato.isEmpty() ? QString() : u'\t' + stato) + u'\n');
    }
};

QTEST_MAIN(TestRicevuta)
#include "tst_ricevuta.moc"
