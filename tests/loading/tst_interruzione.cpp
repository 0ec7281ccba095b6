// A load killed in the middle (SIGKILL, as a crash or a power cut would stop it): the
// database opens, passes its integrity check and holds exactly what it held before.
#include "common/Codifica.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using namespace quirdal;

namespace {

QByteArray riga(const QStringList &c) { return aWindows1252(QLatin1Char('#') + c.join(QStringLiteral("#,#")) + QStringLiteral("#\r\n")); }

QByteArray impronta(const QString &db)
{
    CorsiDB d(QStringLiteral("impronta"));
    d.apri(db, QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const char *t : {"CorsiOper", "CorsiCompo", "CorsiSediOcc", "CorsiSediOccUtil", "PrecCorsi", "Comuni"}) {
        QSqlQuery q = d.seleziona(QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2, 3").arg(QString::fromLatin1(t)));
        while (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                h.addData(q.value(i).toString().toUtf8() + (q.value(i).isNull() ? "\x01|" : "|"));
    }
    return h.result().toHex();
}

QString integrita(const QString &db)
{
    CorsiDB d(QStringLiteral("integrita"));
    d.apri(db, QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
    return d.valoreScalare(QStringLiteral("PRAGMA integrity_check")).toString();
}

} // namespace

class TestInterruzione : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString db() const { return m_dir.filePath(QStringLiteral("QUIRDAL.mdb")); }

    void scrivi(const QString &nome, const QByteArray &b)
    {
        QFile f(m_dir.filePath(nome));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(b);
    }
    void fileGrandi(int operatori, const QString &nome)
    {
        QByteArray oper, compo;
        oper.reserve(operatori * 80);
        compo.reserve(operatori * 100);
        for (int i = 1; i <= operatori; ++i) {
            const QString n = QString::number(i);
            oper += riga({"A", n, nome + n, "EF", "0123456789" + n, "", "", "", "", "", "", "", "101"});
            compo += riga({"A", n, "1", "SL", "SEDE " + n, "001001", "10100", "VIA " + n, "011", n, "", "", "", "", ""});
        }
        scrivi(QStringLiteral("oper.tx1"), oper);
        scrivi(QStringLiteral("compo.tx1"), compo);
        scrivi(QStringLiteral("corsipre.tx1"), riga({"1", "A", "1", "1", "", "1", "2007", "0", "X", "A", "1", "D", "1", "01"}));
    }
    // Starts the load, waits until it is writing, kills it after the given delay.
    bool uccidi(int ritardoMs)
    {
        QProcess p;
        p.setProgram(qEnvironmentVariable("QUIRDAL_TEST_CLI"));
        p.setArguments({QStringLiteral("--cartella"), m_dir.path(), QStringLiteral("carica-operatori")});
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start();
        QByteArray uscita;
        QElapsedTimer t;
        t.start();
        while (!uscita.contains("CorsiOper:") && t.elapsed() < 60000 && p.state() != QProcess::NotRunning) {
            p.waitForReadyRead(50);
            uscita += p.readAll();
        }
        QTest::qWait(ritardoMs);
        const bool vivo = p.state() == QProcess::Running;
        p.kill(); // SIGKILL
        p.waitForFinished(10000);
        return vivo;
    }

private Q_SLOTS:
    void initTestCase()
    {
        scrivi(QStringLiteral("QUIRDAL.INI"),
               QStringLiteral("[Installazione]\r\nTipo=StandAlone\r\nVersione=SERVER\r\n[BaseDati]\r\nDatabase=%1\r\n")
                   .arg(db())
                   .toUtf8());
        creaDatabase(db(), QString::fromLatin1(CorsiDB::kPassword));
        CorsiDB d(QStringLiteral("prepara"));
        d.apri(db(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Esclusivo);
        d.esegui(QStringLiteral("INSERT INTO Comuni VALUES ('001001', 'ALFA', '001', 'AA', '10100')"));
    }

    void installazioneInterrotta_data()
    {
        QTest::addColumn<int>("ritardo");
        QTest::newRow("subito") << 5;
        QTest::newRow("a metà") << 300;
        QTest::newRow("più avanti") << 900;
    }
    void installazioneInterrotta()
    {
        QFETCH(int, ritardo);
        fileGrandi(40000, QStringLiteral("ENTE "));
        const QByteArray prima = impronta(db());
        QVERIFY2(uccidi(ritardo), "the load ended before it could be killed: make the files larger");
        QCOMPARE(integrita(db()), QStringLiteral("ok"));
        QCOMPARE(impronta(db()), prima);
        QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("oper.tx1"))));
    }

    // The same for an update over operators already there.
    void aggiornamentoInterrotto()
    {
        fileGrandi(200, QStringLiteral("ENTE "));
        QProcess p;
        QCOMPARE(QProcess::execute(qEnvironmentVariable("QUIRDAL_TEST_CLI"),
                                   {QStringLiteral("--cartella"), m_dir.path(), QStringLiteral("carica-operatori")}),
                 0);
        fileGrandi(40000, QStringLiteral("NUOVO NOME "));
        const QByteArray prima = impronta(db());
        QVERIFY(uccidi(400));
        QCOMPARE(integrita(db()), QStringLiteral("ok"));
        QCOMPARE(impronta(db()), prima);
    }
};

QTEST_GUILESS_MAIN(TestInterruzione)
#include "tst_interruzione.moc"
