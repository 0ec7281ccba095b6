// A load stopped dead in the middle, as a crash or a power cut would stop it (the process
// exits at a record count the test chooses, running no destructor): the database opens,
// passes its integrity check and holds exactly what it held before.
#include "common/Codifica.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using namespace quirdal;

namespace {

QByteArray riga(const QStringList &c)
{
    return aWindows1252(QLatin1Char('#') + c.join(QStringLiteral("#,#")) + QStringLiteral("#\r\n"));
}

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
    // Runs the load and stops it dead on its Nth record; true when it did stop there.
    bool fermaAlRecord(int record)
    {
        QProcess p;
        auto ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("QUIRDAL_ARRESTO"), QStringLiteral("record:%1").arg(record));
        p.setProcessEnvironment(ambiente);
        p.setProgram(qEnvironmentVariable("QUIRDAL_TEST_CLI"));
        p.setArguments({QStringLiteral("--cartella"), m_dir.path(), QStringLiteral("carica-operatori")});
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start();
        return p.waitForFinished(120000) && p.exitCode() == 137;
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
        QTest::addColumn<int>("record");
        QTest::newRow("primo record") << 1;
        QTest::newRow("a metà degli operatori") << 1500;
        QTest::newRow("ultimo operatore") << 3000;
        QTest::newRow("tra i componenti") << 4500;
    }
    void installazioneInterrotta()
    {
        QFETCH(int, record);
        fileGrandi(3000, QStringLiteral("ENTE "));
        const QByteArray prima = impronta(db());
        QVERIFY2(fermaAlRecord(record), "the load did not stop at the chosen record");
        QCOMPARE(integrita(db()), QStringLiteral("ok"));
        QCOMPARE(impronta(db()), prima);
        QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("oper.tx1"))));
    }

    // The same for an update over operators already there.
    void aggiornamentoInterrotto()
    {
        fileGrandi(200, QStringLiteral("ENTE "));
        QCOMPARE(QProcess::execute(qEnvironmentVariable("QUIRDAL_TEST_CLI"),
                                   {QStringLiteral("--cartella"), m_dir.path(), QStringLiteral("carica-operatori")}),
                 0);
        fileGrandi(3000, QStringLiteral("NUOVO NOME "));
        const QByteArray prima = impronta(db());
        QVERIFY(fermaAlRecord(2000));
        QCOMPARE(integrita(db()), QStringLiteral("ok"));
        QCOMPARE(impronta(db()), prima);
    }
};

QTEST_GUILESS_MAIN(TestInterruzione)
#include "tst_interruzione.moc"
