#include "config/FileIni.h"
#include "support/Colonne.h"
#include "support/File.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

class TestFileIni : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    // An INI of the folder, on the given section; with contents, the file is written first.
    cFileINI ini(const QString &nome, const QString &sezione, const QByteArray &contenuto = {})
    {
        if (!contenuto.isEmpty())
            scriviFile(m_dir.filePath(nome), contenuto);
        cFileINI f(m_dir.path());
        f.setNomeFile(nome);
        f.setSezione(sezione);
        return f;
    }

private Q_SLOTS:
    void nomeFile_data()
    {
        colonne<QString, QString>("nome", "atteso");
        QTest::newRow("senza punto e cartella") << "ABC"
                                                << "/prog/ABC.ini";
        QTest::newRow("con estensione, senza cartella") << "y.cfg"
                                                        << "/prog/y.cfg";
        QTest::newRow("percorso completo") << "/etc/x/prova.ini"
                                           << "/etc/x/prova.ini";
        QTest::newRow("percorso Windows") << "C:\\Prog\\q.ini"
                                          << "C:\\Prog\\q.ini";
        QTest::newRow("cartella senza estensione") << "/tmp/abc"
                                                   << "/tmp/abc.ini";
    }
    void nomeFile()
    {
        QFETCH(QString, nome);
        QFETCH(QString, atteso);
        cFileINI ini(u"/prog"_s);
        ini.setNomeFile(nome);
        QCOMPARE(ini.NomeFile(), atteso);
    }

    void letturaConDefault()
    {
        // Sections and keys ignore case.
        cFileINI f =
            ini(u"QUIRDAL.INI"_s, u"basedati"_s, "; commento\r\n[BaseDati]\r\nOper = 0012 \r\nVuota=\r\n[Altro]\r\nOper=9\r\n");
        QCOMPARE(f.Leggi(u"OPER"_s, u"0"_s), u"0012"_s);
        QCOMPARE(f.Leggi(u"Vuota"_s, u"def"_s), QString());
        QCOMPARE(f.Leggi(u"Manca"_s, u"def"_s), u"def"_s);
        f.setSezione(u"Nessuna"_s);
        QCOMPARE(f.Leggi(u"Oper"_s, u"x"_s), u"x"_s);
        QCOMPARE(ini(u"nonc_e"_s, u"BaseDati"_s).Leggi(u"Oper"_s, u"0"_s), u"0"_s);
        // At most 254 characters.
        QCOMPARE(ini(u"lungo.ini"_s, u"S"_s, "[S]\r\nK=" + QByteArray(300, 'x') + "\r\n").Leggi(u"K"_s), QString(254, u'x'));
    }

    void scritturaConservaIlResto()
    {
        cFileINI f = ini(u"QUIRDAL.INI"_s, u"BaseDati"_s,
                         "; intestazione\r\n[Installazione]\r\nTipo=StandAlone\r\n\r\n[BaseDati]\r\n; il percorso\r\n"
                         "Database=C:\\x.mdb\r\n");
        QVERIFY(f.Scrivi(u"Database"_s, u"/dati/QUIRDAL.mdb"_s) != 0);
        QVERIFY(f.Scrivi(u"Oper"_s, u"12"_s) != 0);
        f.setSezione(u"Installazione"_s);
        QVERIFY(f.Scrivi(u"Versione"_s, u"SERVER"_s) != 0);
        f.setSezione(u"Nuova"_s);
        QVERIFY(f.Scrivi(u"Chiave"_s, u"è"_s) != 0);
        QCOMPARE(leggiFile(f.NomeFile()),
                 QByteArray("; intestazione\r\n[Installazione]\r\nTipo=StandAlone\r\nVersione=SERVER\r\n"
                            "\r\n[BaseDati]\r\n; il percorso\r\nDatabase=/dati/QUIRDAL.mdb\r\n"
                            "Oper=12\r\n[Nuova]\r\nChiave=\xe8\r\n"));
        QCOMPARE(f.Leggi(u"Chiave"_s), u"è"_s);
    }

    void fileCreatoSeManca()
    {
        QVERIFY(ini(u"nuovo"_s, u"BaseDati"_s).Scrivi(u"Prov"_s, u"001"_s) != 0);
        QCOMPARE(leggiFile(m_dir.filePath(u"nuovo.ini"_s)), QByteArray("[BaseDati]\r\nProv=001\r\n"));
    }

    void aCapoNelValoreNonSpezzaLaRiga()
    {
        cFileINI f = ini(u"acapo"_s, u"S"_s);
        QVERIFY(f.Scrivi(u"K"_s, u"a\r\n[Finta]\nb"_s) != 0);
        f.setSezione(u"Finta"_s);
        QCOMPARE(f.Leggi(u"b"_s, u"nessuna"_s), u"nessuna"_s);
    }

    // What a write killed before its rename left beside the INI goes at the next write, when
    // the process that wrote it no longer runs; nothing else is touched.
    void residuiDiScrittureInterrotte_data()
    {
        colonne<QString, bool>("nome", "rimosso");
        QTest::newRow("processo finito") << "QUIRDAL.INI.%f.tmp" << true;
        QTest::newRow("processo finito, maiuscole diverse") << "quirdal.ini.%f.TMP" << true;
        QTest::newRow("processo vivo") << "QUIRDAL.INI.%v.tmp" << false;
        QTest::newRow("copia dell'utente") << "QUIRDAL.INI.2009" << false;
        QTest::newRow("copia dell'utente con un numero") << "QUIRDAL.INI.%f.bak" << false;
        QTest::newRow("di un altro file") << "ALTRO.INI.%f.tmp" << false;
    }
    void residuiDiScrittureInterrotte()
    {
        QFETCH(QString, nome);
        QFETCH(bool, rimosso);
        QProcess finito, vivo;
        finito.start(QCoreApplication::applicationFilePath(), {u"-functions"_s});
        QVERIFY(finito.waitForStarted());
        const qint64 pidFinito = finito.processId();
        QVERIFY(finito.waitForFinished());
        vivo.start(u"cat"_s, QStringList());
        QVERIFY(vivo.waitForStarted());
        nome.replace(u"%f"_s, QString::number(pidFinito)).replace(u"%v"_s, QString::number(vivo.processId()));
        QTemporaryDir d;
        QVERIFY(scriviFile(d.filePath(nome), "[BaseDati]\r\nDatabase=C:\\segreto.mdb\r\n"));
        cFileINI f(d.path());
        f.setNomeFile(u"QUIRDAL.INI"_s);
        QVERIFY(f.scrivi(u"BaseDati"_s, u"Oper"_s, u"1"_s) != 0);
        QCOMPARE(QFileInfo::exists(d.filePath(nome)), !rimosso);
        // The write's own temporary file is gone too.
        QCOMPARE(QDir(d.path()).entryList(QDir::Files).size(), rimosso ? 1 : 2);
        vivo.closeWriteChannel();
        QVERIFY(vivo.waitForFinished());
    }

    // A link is written through, to its target, as before.
    void scritturaAttraversoUnCollegamento()
    {
        QTemporaryDir d;
        QVERIFY(scriviFile(d.filePath(u"vero.ini"_s), "[S]\r\nK=1\r\n"));
        QVERIFY(QFile::link(d.filePath(u"vero.ini"_s), d.filePath(u"QUIRDAL.INI"_s)));
        cFileINI f(d.path());
        f.setNomeFile(u"QUIRDAL.INI"_s);
        QVERIFY(f.scrivi(u"S"_s, u"K"_s, u"2"_s) != 0);
        QVERIFY(QFileInfo(d.filePath(u"QUIRDAL.INI"_s)).isSymLink());
        QCOMPARE(leggiFile(d.filePath(u"vero.ini"_s)), QByteArray("[S]\r\nK=2\r\n"));
    }

    void pwdScrambling()
    {
        const QString chiaro = u"segreto#42"_s;
        QVERIFY(scramblePwd(chiaro) != chiaro);
        QCOMPARE(scramblePwd(scramblePwd(chiaro)), chiaro);
        // What the INI keeps: written and read back through the file, whole.
        cFileINI f = ini(u"pwd"_s, u"CONNESSIONE"_s);
        const QString credenziali = u"quirdal:Valdoria2009@ z"_s;
        QVERIFY(f.Scrivi(u"PWD"_s, scramblePwd(credenziali)) != 0);
        QCOMPARE(scramblePwd(f.Leggi(u"PWD"_s)), credenziali);
    }
};

QTEST_GUILESS_MAIN(TestFileIni)
#include "tst_fileini.moc"
