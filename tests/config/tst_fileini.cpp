#include "config/FileIni.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quirdal;

class TestFileIni : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString scriviFile(const QByteArray &contenuto)
    {
        const QString p = m_dir.filePath(QStringLiteral("QUIRDAL.INI"));
        QFile f(p);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(contenuto);
        return p;
    }
    QByteArray leggiFile(const QString &p)
    {
        QFile f(p);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

private Q_SLOTS:
    void nomeFile_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("senza punto e cartella") << "ABC" << "@/ABC.ini";
        QTest::newRow("con estensione, senza cartella") << "y.cfg" << "@/y.cfg";
        QTest::newRow("percorso completo") << "/etc/x/prova.ini" << "/etc/x/prova.ini";
        QTest::newRow("percorso Windows") << "C:\\Prog\\q.ini" << "C:\\Prog\\q.ini";
        QTest::newRow("cartella senza estensione") << "/tmp/abc" << "/tmp/abc.ini";
    }
    void nomeFile()
    {
        QFETCH(QString, nome);
        QFETCH(QString, atteso);
        cFileINI ini(QStringLiteral("/prog"));
        ini.setNomeFile(nome);
        QCOMPARE(ini.NomeFile(), QString(atteso).replace(QLatin1Char('@'), QStringLiteral("/prog")));
    }

    void letturaConDefault()
    {
        const QString p = scriviFile("; commento\r\n[BaseDati]\r\nOper = 0012 \r\nVuota=\r\n[Altro]\r\nOper=9\r\n");
        cFileINI ini(m_dir.path());
        ini.setNomeFile(p);
        ini.setSezione(QStringLiteral("basedati")); // sections and keys ignore case
        QCOMPARE(ini.Leggi(QStringLiteral("OPER"), QStringLiteral("0")), QStringLiteral("0012"));
        QCOMPARE(ini.Leggi(QStringLiteral("Vuota"), QStringLiteral("def")), QString());
        QCOMPARE(ini.Leggi(QStringLiteral("Manca"), QStringLiteral("def")), QStringLiteral("def"));
        ini.setSezione(QStringLiteral("Nessuna"));
        QCOMPARE(ini.Leggi(QStringLiteral("Oper"), QStringLiteral("x")), QStringLiteral("x"));
        cFileINI assente(m_dir.path());
        assente.setNomeFile(QStringLiteral("nonc_e"));
        assente.setSezione(QStringLiteral("BaseDati"));
        QCOMPARE(assente.Leggi(QStringLiteral("Oper"), QStringLiteral("0")), QStringLiteral("0"));
    }

    void valoreTroppoLungo()
    {
        const QString lungo(300, QLatin1Char('x'));
        const QString p = scriviFile("[S]\r\nK=" + lungo.toLatin1() + "\r\n");
        cFileINI ini(m_dir.path());
        ini.setNomeFile(p);
        ini.setSezione(QStringLiteral("S"));
        QCOMPARE(ini.Leggi(QStringLiteral("K")).size(), 254);
    }

    void scritturaConservaIlResto()
    {
        const QString p = scriviFile("; intestazione\r\n[Installazione]\r\nTipo=StandAlone\r\n\r\n"
                                     "[BaseDati]\r\n; il percorso\r\nDatabase=C:\\x.mdb\r\n");
        cFileINI ini(m_dir.path());
        ini.setNomeFile(p);
        ini.setSezione(QStringLiteral("BaseDati"));
        QVERIFY(ini.Scrivi(QStringLiteral("Database"), QStringLiteral("/dati/QUIRDAL.mdb")) != 0);
        QVERIFY(ini.Scrivi(QStringLiteral("Oper"), QStringLiteral("12")) != 0);
        ini.setSezione(QStringLiteral("Installazione"));
        QVERIFY(ini.Scrivi(QStringLiteral("Versione"), QStringLiteral("SERVER")) != 0);
        ini.setSezione(QStringLiteral("Nuova"));
        QVERIFY(ini.Scrivi(QStringLiteral("Chiave"), QStringLiteral("è"))
                != 0);
        QCOMPARE(leggiFile(p),
                 QByteArray("; intestazione\r\n[Installazione]\r\nTipo=StandAlone\r\nVersione=SERVER\r\n\r\n"
                            "[BaseDati]\r\n; il percorso\r\nDatabase=/dati/QUIRDAL.mdb\r\nOper=12\r\n"
                            "[Nuova]\r\nChiave=\xe8\r\n"));
        QCOMPARE(ini.Leggi(QStringLiteral("Chiave")), QStringLiteral("è"));
    }

    void fileCreatoSeManca()
    {
        cFileINI ini(m_dir.path());
        ini.setNomeFile(QStringLiteral("nuovo"));
        ini.setSezione(QStringLiteral("BaseDati"));
        QVERIFY(ini.Scrivi(QStringLiteral("Prov"), QStringLiteral("001")) != 0);
        QCOMPARE(leggiFile(m_dir.filePath(QStringLiteral("nuovo.ini"))), QByteArray("[BaseDati]\r\nProv=001\r\n"));
    }

    void aCapoNelValoreNonSpezzaLaRiga()
    {
        cFileINI ini(m_dir.path());
        ini.setNomeFile(QStringLiteral("acapo"));
        ini.setSezione(QStringLiteral("S"));
        QVERIFY(ini.Scrivi(QStringLiteral("K"), QStringLiteral("a\r\n[Finta]\nb")) != 0);
        ini.setSezione(QStringLiteral("Finta"));
        QCOMPARE(ini.Leggi(QStringLiteral("b"), QStringLiteral("nessuna")), QStringLiteral("nessuna"));
    }

    void pwdScrambling()
    {
        const QString chiaro = QStringLiteral("segreto#42");
        const QString cifrato = scramblePwd(chiaro);
        QVERIFY(cifrato != chiaro);
        QCOMPARE(scramblePwd(cifrato), chiaro);
        // What the INI keeps: written and read back through the file, whole.
        cFileINI ini(m_dir.path());
        ini.setNomeFile(QStringLiteral("pwd"));
        ini.setSezione(QStringLiteral("CONNESSIONE"));
        const QString credenziali = QStringLiteral("quirdal:Valdoria2009@ z");
        QVERIFY(ini.Scrivi(QStringLiteral("PWD"), scramblePwd(credenziali)) != 0);
        QCOMPARE(scramblePwd(ini.Leggi(QStringLiteral("PWD"))), credenziali);
    }
};

QTEST_GUILESS_MAIN(TestFileIni)
#include "tst_fileini.moc"
