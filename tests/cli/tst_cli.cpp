#include "db/CorsiDB.h"
#include "support/ServerFinto.h"
#include "transmission/Domanda.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace quirdal;

namespace {

struct Esito {
    int codice;
    QString out, err;
};

Esito cli(const QString &cartella, const QStringList &argomenti)
{
    QProcess p;
    p.setProgram(qEnvironmentVariable("QUIRDAL_TEST_CLI"));
    p.setArguments(QStringList{QStringLiteral("--cartella"), cartella} + argomenti);
    p.start();
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QString datiDemo() { return qEnvironmentVariable("QUIRDAL_SORGENTI") + QStringLiteral("/data/tabelle"); }

// Record lines of a data file: every line but the header.
int righeDati(const QString &file)
{
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    const QList<QByteArray> righe = f.readAll().split('\n');
    int n = 0;
    for (int i = 1; i < righe.size(); ++i)
        if (!righe[i].trimmed().isEmpty())
            ++n;
    return n;
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString db() const { return m_dir.filePath(QStringLiteral("QUIRDAL.mdb")); }

private Q_SLOTS:
    void initTestCase()
    {
        QFile ini(m_dir.filePath(QStringLiteral("QUIRDAL.INI")));
        ini.open(QIODevice::WriteOnly);
        ini.write(QStringLiteral("[Installazione]\r\nTipo=StandAlone\r\nVersione=SERVER\r\n[BaseDati]\r\nDatabase=%1\r\n")
                      .arg(db())
                      .toUtf8());
    }

    void creaDbNonSovrascrive()
    {
        Esito e = cli(m_dir.path(), {QStringLiteral("crea-db")});
        QCOMPARE(e.codice, 0);
        QVERIFY(QFile::exists(db()));
        const QByteArray prima = [&] { QFile f(db()); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        e = cli(m_dir.path(), {QStringLiteral("crea-db")});
        QCOMPARE(e.codice, 1);
        QVERIFY2(e.err.contains(QStringLiteral("esiste già")), qPrintable(e.err));
        QFile f(db());
        f.open(QIODevice::ReadOnly);
        QCOMPARE(f.readAll(), prima);
    }

    // The demo data of the call fill every lookup table.
    void caricaTabelleDemo()
    {
        const QDir sorgente(datiDemo());
        const QStringList file = sorgente.entryList({QStringLiteral("*.txt")}, QDir::Files);
        QVERIFY(file.size() > 30);
        for (const QString &f : file)
            QVERIFY(QFile::copy(sorgente.filePath(f), m_dir.filePath(f)));
        QFile(m_dir.filePath(QStringLiteral("installa.tab"))).open(QIODevice::WriteOnly);
        const Esito e = cli(m_dir.path(), {QStringLiteral("carica-tabelle")});
        QVERIFY2(e.codice == 0, qPrintable(e.err));
        CorsiDB d(QStringLiteral("verifica"));
        d.apri(db(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        for (const QString &f : file) {
            const QString tabella = f.chopped(4);
            QCOMPARE(d.valoreScalare(QStringLiteral("SELECT count(*) FROM ") + tabella).toInt(),
                     righeDati(sorgente.filePath(f)));
            QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("CAR/") + f)));
        }
        QCOMPARE(d.valoreScalare(QStringLiteral("SELECT Denominazione FROM Comuni WHERE Denominazione LIKE 'CASTELL_'"))
                     .toString()
                     .right(1),
                 QStringLiteral("À"));
    }

    void fileVuotoSenzaRispostaTermina_data()
    {
        QTest::addColumn<QStringList>("opzioni");
        QTest::addColumn<int>("codice");
        QTest::newRow("senza risposta") << QStringList{} << 1;
        QTest::newRow("--no") << QStringList{QStringLiteral("--no")} << 1;
        QTest::newRow("--si") << QStringList{QStringLiteral("--si")} << 0;
    }
    void fileVuotoSenzaRispostaTermina()
    {
        QFETCH(QStringList, opzioni);
        QFETCH(int, codice);
        QFile(m_dir.filePath(QStringLiteral("aggiorna.tab"))).open(QIODevice::WriteOnly);
        QFile(m_dir.filePath(QStringLiteral("Regioni.txt"))).open(QIODevice::WriteOnly);
        const Esito e = cli(m_dir.path(), opzioni + QStringList{QStringLiteral("carica-tabelle")});
        QCOMPARE(e.codice, codice);
        QVERIFY2(e.err.contains(QStringLiteral("Installazione/Aggiornamento tabelle di decodifica: ATTENZIONE: il file")),
                 qPrintable(e.err));
    }

    void fileDiTrasmissione()
    {
        test::Ambiente a(QStringLiteral("domanda"));
        a.pronto();
        test::preparaDomanda(a);
        a.db.chiudi();
        const QStringList base{QStringLiteral("crea-file-trasmissione"), QStringLiteral("--prov"), QStringLiteral("001"),
                               QStringLiteral("--grupope"), QStringLiteral("A"), QStringLiteral("--operatore"),
                               QStringLiteral("7")};
        Esito e = cli(a.dir.path(), base + QStringList{QStringLiteral("--email"), QStringLiteral("mario.rossi@ente.example"),
                                                       QStringLiteral("--data"), QStringLiteral("20091130")});
        QVERIFY2(e.codice == 0, qPrintable(e.err));
        QCOMPARE(e.out.trimmed(), QStringLiteral("QUIRDAL_001_000123.A7"));
        QFile scritto(a.percorso(QStringLiteral("QUIRDAL_001_000123.A7")));
        QFile riferimento(QStringLiteral(QUIRDAL_DATI_TEST "/trasmissione/QUIRDAL_001_000123.A7"));
        QVERIFY(scritto.open(QIODevice::ReadOnly) && riferimento.open(QIODevice::ReadOnly));
        QCOMPARE(scritto.readAll(), riferimento.readAll());

        e = cli(a.dir.path(), base + QStringList{QStringLiteral("--data"), QStringLiteral("20093099")});
        QCOMPARE(e.codice, 2);
        e = cli(a.dir.path(), QStringList{QStringLiteral("crea-file-trasmissione"), QStringLiteral("--prov"),
                                          QStringLiteral("004"), QStringLiteral("--grupope"), QStringLiteral("A"),
                                          QStringLiteral("--operatore"), QStringLiteral("7")});
        QCOMPARE(e.codice, 1);
        QVERIFY(e.err.contains(QStringLiteral("Nessuna domanda")));
        {
            CorsiDB d(QStringLiteral("guasta"));
            d.apri(a.percorsoDb(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
            d.esegui(QStringLiteral("DELETE FROM CorsiCompo WHERE TipoCompo='SL'"));
        }
        e = cli(a.dir.path(), base);
        QCOMPARE(e.codice, 1);
        QVERIFY(e.err.contains(QStringLiteral("Creazione file di trasmissione - ScriviRec_B: ANOMALIA: Sede Legale")));
        QVERIFY(!QFile::exists(a.percorso(QStringLiteral("QUIRDAL_001_000123.A7"))));
    }

    // The server's services from the command line, against the simulator.
    void servizi()
    {
        test::ServerFinto server;
        test::Ambiente a(QStringLiteral("servizi"));
        a.pronto(QStringLiteral("Multiutenza"));
        test::preparaDomanda(a);
        a.db.chiudi();
        QCOMPARE(cli(a.dir.path(), {QStringLiteral("imposta-server"), QStringLiteral("--indirizzo"),
                                    QStringLiteral("https://127.0.0.1:%1").arg(server.porta), QStringLiteral("--utente"),
                                    QStringLiteral("quirdal"), QStringLiteral("--password"), QStringLiteral("Valdoria2009")})
                     .codice,
                 0);
        QFile::copy(test::certificati() + QStringLiteral("ca.der"), a.percorso(QStringLiteral("CA_ROOT.DER")));
        QCOMPARE(cli(a.dir.path(), {QStringLiteral("verifica-versione")}).codice, 0);
        const QStringList operatore{QStringLiteral("--grupope"), QStringLiteral("A"), QStringLiteral("--operatore"),
                                    QStringLiteral("7"), QStringLiteral("--email"), QStringLiteral("a@b.it")};
        Esito e = cli(a.dir.path(), QStringList{QStringLiteral("numero-domanda"), QStringLiteral("--prov"), QStringLiteral("004")}
                                        + operatore);
        QVERIFY2(e.codice == 0, qPrintable(e.err));
        QCOMPARE(e.out.trimmed(), QStringLiteral("01000007"));
        e = cli(a.dir.path(), QStringList{QStringLiteral("invia"), QStringLiteral("--prov"), QStringLiteral("001")} + operatore);
        QVERIFY2(e.codice == 0, qPrintable(e.err));
        QVERIFY(QFile::exists(QDir(server.ricevuti.path()).filePath(QStringLiteral("QUIRDAL_001_000123.A7"))));
        QVERIFY(!QFile::exists(a.percorso(QStringLiteral("QUIRDAL_001_000123.A7"))));
        e = cli(a.dir.path(), {QStringLiteral("scarica"), QStringLiteral("--operatori"), QStringLiteral("A:101,B:310")});
        QVERIFY2(e.codice == 0, qPrintable(e.err));
        QVERIFY(QFile::exists(a.percorso(QStringLiteral("compo.tx1"))));
        QVERIFY(QFile::exists(a.percorso(QStringLiteral("aggiorna.tab"))));
        QCOMPARE(cli(a.dir.path(), {QStringLiteral("scarica"), QStringLiteral("--operatori"), QStringLiteral("A101")}).codice, 2);
    }

    void aiutoEComandoSconosciuto()
    {
        Esito e = cli(m_dir.path(), {QStringLiteral("--help")});
        QCOMPARE(e.codice, 0);
        QVERIFY(e.out.contains(QStringLiteral("carica-tabelle")));
        e = cli(m_dir.path(), {QStringLiteral("boh")});
        QCOMPARE(e.codice, 2);
        e = cli(m_dir.path() + QStringLiteral("/manca"), {QStringLiteral("crea-db")});
        QCOMPARE(e.codice, 1);
        QVERIFY(e.err.contains(QStringLiteral("Impossibile trovare il file QUIRDAL.INI")));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
