#include "support/Domanda.h"
#include "support/RigaDiComando.h"
#include "support/ServerFinto.h"

#include <QTest>
#include <algorithm>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// Record lines of a data file: every line but the header.
int righeDati(const QString &file)
{
    const QList<QByteArray> righe = leggiFile(file).split('\n');
    return int(std::count_if(righe.begin() + 1, righe.end(), [](const QByteArray &r) { return !r.trimmed().isEmpty(); }));
}

// The fixture's application, in a folder the command line opens on its own.
struct ConDomanda : Ambiente {
    explicit ConDomanda(const QString &connessione, const QString &tipo = u"StandAlone"_s) : Ambiente(connessione)
    {
        pronto(tipo);
        preparaDomanda(*this);
        db.chiudi();
    }
    EsitoCli cli(const QStringList &argomenti) { return test::cli(dir.path(), argomenti); }
};

} // namespace

class TestCli : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString db() const { return m_dir.filePath(u"QUIRDAL.mdb"_s); }

private Q_SLOTS:
    void initTestCase()
    {
        scriviFile(m_dir.filePath(u"QUIRDAL.INI"_s),
                   u"[Installazione]\r\nTipo=StandAlone\r\nVersione=SERVER\r\n[BaseDati]\r\nDatabase=%1\r\n"_s.arg(db()).toUtf8());
    }

    void creaDbNonSovrascrive()
    {
        QCOMPARE(cli(m_dir.path(), {u"crea-db"_s}).codice, 0);
        const QByteArray prima = leggiFile(db());
        QVERIFY(!prima.isEmpty());
        const EsitoCli e = cli(m_dir.path(), {u"crea-db"_s});
        QCOMPARE(e.codice, 1);
        QVERIFY2(e.err.contains(u"esiste già"_s), qPrintable(e.err));
        QCOMPARE(leggiFile(db()), prima);
    }

    // A workstation set up from the command line: its folder from the installed model,
    // then the keys the installation screens would write, then a new database.
    void preparaEImposta()
    {
        QTemporaryDir d;
        const QString modello = d.filePath(u"modello"_s), cartella = d.filePath(u"postazione"_s);
        QDir().mkpath(modello);
        QVERIFY(QFile::copy(qEnvironmentVariable("QUIRDAL_SORGENTI") + u"/data/QUIRDAL.INI"_s, modello + u"/QUIRDAL.INI"_s));
        scriviFile(modello + u"/QUIRDAL.html"_s, "<html></html>");
        EsitoCli e = cli(cartella, {u"prepara-cartella"_s, u"--modello"_s, modello});
        QCOMPARE(e.errore(), QString());
        QCOMPARE(e.out, cartella + u"\n  QUIRDAL.html\n  QUIRDAL.INI\n"_s);
        // Not yet set up: the commands that need the installation refuse.
        QCOMPARE(cli(cartella, {u"crea-db"_s}).codice, 1);
        const auto imposta = [&](const QString &tipo, const QString &database) {
            return cli(cartella, {u"imposta-installazione"_s, u"--tipo"_s, tipo, u"--versione"_s, u"SERVER"_s,
                                  u"--database"_s, database});
        };
        QCOMPARE(imposta(u"Locale"_s, u"x.mdb"_s).codice, 2);
        e = imposta(u"StandAlone"_s, cartella + u"/dati.txt"_s);
        QCOMPARE(e.codice, 1);
        QVERIFY2(e.err.contains(u"Il file selezionato non è un database Microsoft Access."_s), qPrintable(e.err));
        QCOMPARE(imposta(u"StandAlone"_s, cartella + u"/QUIRDAL.mdb"_s).errore(), QString());
        QCOMPARE(cli(cartella, {u"crea-db"_s}).errore(), QString());
        QVERIFY(QFileInfo(cartella + u"/QUIRDAL.mdb"_s).size() > 0);
        cFileINI ini(cartella);
        ini.setNomeFile(cartella + u"/QUIRDAL.INI"_s);
        QStringList valori;
        for (const auto &[sezione, chiave] : {std::pair{"Installazione", "Tipo"}, std::pair{"Installazione", "Versione"},
                                              std::pair{"BaseDati", "Database"}, std::pair{"BaseDati", "NFileDB"},
                                              std::pair{"Help", "FILEHELP"}})
            valori << ini.leggi(QString::fromLatin1(sezione), QString::fromLatin1(chiave));
        QCOMPARE(valori, (QStringList{"StandAlone", "SERVER", cartella + u"/QUIRDAL.mdb"_s, "QUIRDAL.mdb", "QUIRDAL.html"}));
        // A second preparation adds nothing and keeps the settings.
        QCOMPARE(cli(cartella, {u"prepara-cartella"_s, u"--modello"_s, modello}).out, cartella + u"\n"_s);
        QCOMPARE(ini.leggi(u"Installazione"_s, u"Tipo"_s), u"StandAlone"_s);
    }

    // The demo data of the call fill every lookup table.
    void caricaTabelleDemo()
    {
        const QDir sorgente(qEnvironmentVariable("QUIRDAL_SORGENTI") + u"/data/tabelle"_s);
        const QStringList file = sorgente.entryList({u"*.txt"_s}, QDir::Files);
        QVERIFY(file.size() > 30);
        for (const QString &f : file)
            QVERIFY(QFile::copy(sorgente.filePath(f), m_dir.filePath(f)));
        scriviFile(m_dir.filePath(u"installa.tab"_s), {});
        const EsitoCli e = cli(m_dir.path(), {u"carica-tabelle"_s});
        QCOMPARE(e.errore(), QString());
        CorsiDB d(u"verifica"_s);
        d.apri(db(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        for (const QString &f : file) {
            QCOMPARE(d.valoreScalare(u"SELECT count(*) FROM "_s + f.chopped(4)).toInt(), righeDati(sorgente.filePath(f)));
            QVERIFY(QFile::exists(m_dir.filePath(u"CAR/"_s + f)));
        }
        QCOMPARE(d.valoreScalare(u"SELECT Denominazione FROM Comuni WHERE Denominazione LIKE 'CASTELL_'"_s).toString().right(1),
                 u"À"_s);
    }

    void fileVuotoSenzaRispostaTermina_data()
    {
        colonne<QStringList, int>("opzioni", "codice");
        QTest::newRow("senza risposta") << QStringList{} << 1;
        QTest::newRow("--no") << QStringList{u"--no"_s} << 1;
        QTest::newRow("--si") << QStringList{u"--si"_s} << 0;
    }
    void fileVuotoSenzaRispostaTermina()
    {
        QFETCH(QStringList, opzioni);
        QFETCH(int, codice);
        scriviFile(m_dir.filePath(u"aggiorna.tab"_s), {});
        scriviFile(m_dir.filePath(u"Regioni.txt"_s), {});
        const EsitoCli e = cli(m_dir.path(), opzioni + QStringList{u"carica-tabelle"_s});
        QCOMPARE(e.codice, codice);
        QVERIFY2(e.err.contains(u"Installazione/Aggiornamento tabelle di decodifica: ATTENZIONE: il file"_s), qPrintable(e.err));
    }

    void fileDiTrasmissione()
    {
        ConDomanda a(u"domanda"_s);
        const QStringList base{u"crea-file-trasmissione"_s, u"--prov"_s, u"001"_s, u"--grupope"_s, u"A"_s,
                               u"--operatore"_s, u"7"_s};
        EsitoCli e = a.cli(base + QStringList{u"--email"_s, u"mario.rossi@ente.example"_s, u"--data"_s, u"20091130"_s});
        QCOMPARE(e.errore(), QString());
        QCOMPARE(e.out.trimmed(), u"QUIRDAL_001_000123.A7"_s);
        QCOMPARE(a.leggi(u"QUIRDAL_001_000123.A7"_s), leggiFile(percorsoRiferimento()));
        // A date that is none is a usage error; a province without application, a failure.
        QCOMPARE(a.cli(base + QStringList{u"--data"_s, u"20093099"_s}).codice, 2);
        e = a.cli(QStringList(base).replaceInStrings(u"001"_s, u"004"_s));
        QCOMPARE(e.codice, 1);
        QVERIFY(e.err.contains(u"Nessuna domanda"_s));
        {
            CorsiDB d(u"guasta"_s);
            d.apri(a.percorsoDb(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
            d.esegui(u"DELETE FROM CorsiCompo WHERE TipoCompo='SL'"_s);
        }
        e = a.cli(base);
        QCOMPARE(e.codice, 1);
        QVERIFY(e.err.contains(u"Creazione file di trasmissione - ScriviRec_B: ANOMALIA: Sede Legale"_s));
        QVERIFY(!a.esiste(u"QUIRDAL_001_000123.A7"_s));
    }

    // The server's services from the command line, against the simulator.
    void servizi()
    {
        ServerFinto server;
        ConDomanda a(u"servizi"_s, u"Multiutenza"_s);
        QCOMPARE(a.cli({u"imposta-server"_s, u"--indirizzo"_s, u"https://127.0.0.1:%1"_s.arg(server.porta), u"--utente"_s,
                        u"quirdal"_s, u"--password"_s, u"Valdoria2009"_s}).codice, 0);
        QFile::copy(certificati() + u"ca.der"_s, a.percorso(u"CA_ROOT.DER"_s));
        QCOMPARE(a.cli({u"verifica-versione"_s}).codice, 0);
        const QStringList operatore{u"--grupope"_s, u"A"_s, u"--operatore"_s, u"7"_s, u"--email"_s, u"a@b.it"_s};
        EsitoCli e = a.cli(QStringList{u"numero-domanda"_s, u"--prov"_s, u"004"_s} + operatore);
        QCOMPARE(e.errore(), QString());
        QCOMPARE(e.out.trimmed(), u"01000007"_s);
        e = a.cli(QStringList{u"invia"_s, u"--prov"_s, u"001"_s} + operatore);
        QCOMPARE(e.errore(), QString());
        QVERIFY(QFile::exists(server.ricevuti.filePath(u"QUIRDAL_001_000123.A7"_s)));
        QVERIFY(!a.esiste(u"QUIRDAL_001_000123.A7"_s));
        e = a.cli({u"scarica"_s, u"--operatori"_s, u"A:101,B:310"_s});
        QCOMPARE(e.errore(), QString());
        QVERIFY(a.esiste(u"compo.tx1"_s) && a.esiste(u"aggiorna.tab"_s));
        QCOMPARE(a.cli({u"scarica"_s, u"--operatori"_s, u"A101"_s}).codice, 2);
    }

    void aiutoEComandoSconosciuto()
    {
        EsitoCli e = cli(m_dir.path(), {u"--help"_s});
        QCOMPARE(e.codice, 0);
        QVERIFY(e.out.contains(u"carica-tabelle"_s));
        QCOMPARE(cli(m_dir.path(), {u"boh"_s}).codice, 2);
        e = cli(m_dir.path() + u"/manca"_s, {u"crea-db"_s});
        QCOMPARE(e.codice, 1);
        QVERIFY(e.err.contains(u"Impossibile trovare il file QUIRDAL.INI"_s));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
