#include "config/Installazione.h"
#include "db/CorsiDB.h"
#include "db/Recordset.h"
#include "db/Schema.h"
#include "common/Sessione.h"
#include "support/Ambiente.h"

#include <QFile>
#include <QProcess>
#include <QTest>

using namespace quirdal;
using quirdal::test::Ambiente;

namespace {
long numeroErrore(const std::function<void()> &f)
{
    try {
        f();
    } catch (const Errore &e) {
        return e.numero();
    }
    return 0;
}

// A second process holding the database open, as another workstation would.
class Detentore {
public:
    Detentore(const QString &db, const QString &modo)
    {
        m_p.start(qEnvironmentVariable("QUIRDAL_TEST_HOLDER"), {db, modo});
        m_p.waitForStarted();
        m_p.waitForReadyRead(10000);
        m_risposta = QString::fromLatin1(m_p.readAll()).trimmed();
    }
    ~Detentore()
    {
        m_p.closeWriteChannel();
        if (!m_p.waitForFinished(5000))
            m_p.kill();
    }
    const QString &risposta() const { return m_risposta; }
private:
    QProcess m_p;
    QString m_risposta;
};
} // namespace

class TestCorsiDB : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void schemaIspezionato()
    {
        Ambiente a;
        a.creaDb();
        a.apriDb();
        QString tipoCorsiProp, tipoQryCorsi, tipoSistema;
        for (const InfoTabella &t : a.db.elencoTabelle()) {
            if (t.nome == QLatin1String("CorsiProp"))
                tipoCorsiProp = t.tipo;
            if (t.nome == QLatin1String("QryCorsi"))
                tipoQryCorsi = t.tipo;
            if (t.nome == QLatin1String("MSysQuirdal"))
                tipoSistema = t.tipo;
        }
        QCOMPARE(tipoCorsiProp, QStringLiteral("TABLE"));
        QCOMPARE(tipoQryCorsi, QStringLiteral("VIEW"));
        QCOMPARE(tipoSistema, QStringLiteral("SYSTEM TABLE"));

        const QList<Colonna> chiave = a.db.chiavePrimaria(QStringLiteral("massimalipar"));
        QStringList nomi;
        for (const Colonna &c : chiave)
            nomi << c.nome;
        QCOMPARE(nomi, (QStringList{"CodAsse", "CodMisura", "CodAzione", "CodTipologia", "MinOre", "MaxOre", "ParC1"}));
        QVERIFY(tipiAdo::eTesto(chiave[0].tipo));
        QCOMPARE(chiave[4].tipo, tipiAdo::Integer);
        QCOMPARE(a.db.colonne(QStringLiteral("Comuni")).at(0).dimensione, 6);
        QVERIFY(a.db.esisteColonna(QStringLiteral("CORSIPROP"), QStringLiteral("dataavvio")));
    }

    // Every saved query runs, so none refers to a column the tables lack.
    void querySalvateEseguibili()
    {
        Ambiente a;
        a.creaDb();
        a.apriDb();
        for (const QuerySalvata &q : querySalvate()) {
            Recordset rs(a.db, q.nome);
            rs.apri();
            QVERIFY2(rs.numeroCampi() > 0, qPrintable(q.nome));
        }
    }

    void nullDistintoDaVuoto()
    {
        Ambiente a;
        a.creaDb();
        a.apriDb();
        a.db.esegui(QStringLiteral("INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione, LegNome) VALUES "
                                   "('A', 1, '', NULL)"));
        Recordset rs(a.db, QStringLiteral("CorsiOper"));
        rs.apri();
        QVERIFY(!rs.campo(QStringLiteral("Denominazione")).isNull());
        QCOMPARE(rs.testo(QStringLiteral("Denominazione")), QString());
        QVERIFY(rs.nullo(QStringLiteral("LegNome")));
        QCOMPARE(rs.campo(2), rs.campo(QStringLiteral("denominazione")));
    }

    void aggiuntaModificaEliminazioneEMovimenti()
    {
        Ambiente a;
        a.creaDb();
        a.apriDb();
        Recordset rs(a.db, QStringLiteral("Province"));
        rs.apri({}, {{QStringLiteral("PROV")}});
        QVERIFY(rs.eof() && rs.bof());
        for (const char *p : {"003", "001", "002"}) {
            rs.aggiungiNuovo();
            rs.imposta(QStringLiteral("PROV"), QString::fromLatin1(p));
            rs.imposta(QStringLiteral("DesProv"), QStringLiteral("Provincia ") + QString::fromLatin1(p));
            rs.aggiorna();
        }
        rs.apri({{QStringLiteral("Regione"), Confronto::Nullo, {}}}, {{QStringLiteral("PROV")}});
        QCOMPARE(rs.conteggio(), 3);
        QCOMPARE(rs.testo(QStringLiteral("PROV")), QStringLiteral("001"));
        rs.ultimo();
        QCOMPARE(rs.testo(QStringLiteral("PROV")), QStringLiteral("003"));
        rs.successivo();
        QVERIFY(rs.eof());
        rs.primo();
        rs.precedente();
        QVERIFY(rs.bof());
        rs.vaiA(1);
        rs.imposta(QStringLiteral("sigprov"), QStringLiteral("BB"));
        rs.aggiorna();
        QCOMPARE(a.db.valoreScalare(QStringLiteral("SELECT SigProv FROM Province WHERE PROV='002'")).toString(),
                 QStringLiteral("BB"));
        rs.elimina();
        QCOMPARE(a.db.valoreScalare(QStringLiteral("SELECT count(*) FROM Province")).toInt(), 2);
        QCOMPARE(rs.conteggio(), 2);
    }

    // The "Accesso concorrente" paths: the row went away on another workstation.
    void rigaCancellataNelFrattempo()
    {
        Ambiente a;
        a.scriviIni(QStringLiteral("Multiutenza"));
        a.creaDb();
        a.apriDb(ModoApertura::Condiviso);
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("UNO"));
        a.aggiungiOperatore(QStringLiteral("A"), 2, QStringLiteral("DUE"));
        Recordset rs(a.db, QStringLiteral("QryOper"));
        rs.apri({{QStringLiteral("GrupOpe"), Confronto::Uguale, QStringLiteral("A")}}, {{QStringLiteral("Operatore")}});
        {
            CorsiDB altra(QStringLiteral("altra"));
            altra.apri(a.percorsoDb(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
            altra.esegui(QStringLiteral("DELETE FROM CorsiOper"));
        }
        rs.imposta(QStringLiteral("CorsiOper.Denominazione"), QStringLiteral("NUOVO"));
        QCOMPARE(numeroErrore([&] { rs.aggiorna(); }), codici::RigaCancellata);
        rs.annullaModifica();
        rs.successivo();
        QCOMPARE(numeroErrore([&] { rs.elimina(); }), codici::RigaCancellata);
    }

    void tipiImpostiComeIlMotoreOriginale_data()
    {
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<long>("errore");
        QTest::newRow("numero come testo") << "AttEcono" << QVariant(QStringLiteral(" 12 ")) << 0L;
        QTest::newRow("testo in campo numerico") << "AttEcono" << QVariant(QStringLiteral("12a")) << codici::TipoNonCorrispondente;
        QTest::newRow("vuoto in campo numerico") << "AttEcono" << QVariant(QString()) << codici::TipoNonCorrispondente;
        QTest::newRow("testo alla misura") << "CodFisc" << QVariant(QString(16, QLatin1Char('X'))) << 0L;
        QTest::newRow("testo oltre la misura") << "CodFisc" << QVariant(QString(17, QLatin1Char('X'))) << 3163L;
        QTest::newRow("flag") << "ATI" << QVariant(true) << 0L;
    }
    void tipiImpostiComeIlMotoreOriginale()
    {
        QFETCH(QString, colonna);
        QFETCH(QVariant, valore);
        QFETCH(long, errore);
        Ambiente a;
        a.creaDb();
        a.apriDb();
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("UNO"));
        Recordset rs(a.db, QStringLiteral("CorsiOper"));
        rs.apri();
        rs.imposta(colonna, valore);
        QCOMPARE(numeroErrore([&] { rs.aggiorna(); }), errore);
        if (errore == 0 && colonna == QLatin1String("AttEcono"))
            QCOMPARE(a.db.valoreScalare(QStringLiteral("SELECT typeof(AttEcono) FROM CorsiOper")).toString(),
                     QStringLiteral("integer"));
    }

    // Conditions written on the main table select the rows of its saved query.
    void filtroSullaQueryConNomeDellaTabella()
    {
        Ambiente a;
        a.creaDb();
        a.apriDb();
        for (int sede : {999, 1000})
            a.db.esegui(QStringLiteral("INSERT INTO CorsiProp (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, "
                                       "StatoIter) VALUES ('A', 7, ?, '0001', '0', 1)"),
                        {sede});
        Sessione s;
        s.impostaOperatore(QStringLiteral("A"), QStringLiteral("007"));
        Recordset rs(a.db, QStringLiteral("QryCorsi"));
        Condizioni operatore = condizioniChiave({QStringLiteral("CorsiProp.GrupOpe"), QStringLiteral("CorsiProp.Operatore")},
                                                s.chiaveOperatore());
        rs.apri(operatore + Condizioni{{QStringLiteral("Sedeinteressata"), Confronto::Minore, 1000}});
        QCOMPARE(rs.conteggio(), 1);
        QCOMPARE(rs.campo(QStringLiteral("SedeInteressata")).toInt(), 999);
        rs.apri(operatore + Condizioni{{QStringLiteral("SEDEINTERESSATA"), Confronto::Maggiore, 999}});
        QCOMPARE(rs.campo(QStringLiteral("sedeinteressata")).toInt(), 1000);
        // A name that is not a column of the source never reaches the SQL.
        QCOMPARE(numeroErrore([&] { rs.apri({{QStringLiteral("1=1 OR Corso"), Confronto::Uguale, 1}}); }), 3265L);
        QCOMPARE(numeroErrore([&] { rs.apri({}, {{QStringLiteral("Corso; DROP TABLE CorsiProp")}}); }), 3265L);
    }

    void aperturaDiFileNonValidi_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QString>("password");
        QTest::addColumn<long>("errore");
        QTest::newRow("byte a caso") << QByteArray("\x13\x99 questo non e' un database\x00\x01", 30)
                                     << QString::fromLatin1(CorsiDB::kPassword) << codici::NonUnDatabase;
        QTest::newRow("password errata") << QByteArray() << QStringLiteral("ALTRA") << codici::PasswordErrata;
    }
    void aperturaDiFileNonValidi()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, password);
        QFETCH(long, errore);
        Ambiente a;
        if (contenuto.isEmpty()) {
            a.creaDb();
        } else {
            QFile f(a.percorsoDb());
            f.open(QIODevice::WriteOnly);
            f.write(contenuto.repeated(200));
        }
        const QByteArray prima = [&] { QFile f(a.percorsoDb()); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        QCOMPARE(numeroErrore([&] { a.db.apri(a.percorsoDb(), password, ModoApertura::Condiviso); }), errore);
        QVERIFY(!a.db.aperto());
        QFile f(a.percorsoDb());
        f.open(QIODevice::ReadOnly);
        QCOMPARE(f.readAll(), prima); // the file is left as it was
    }

    void fileAssenteNonVieneCreato()
    {
        Ambiente a;
        QCOMPARE(numeroErrore([&] { a.apriDb(); }), codici::FileNonTrovato);
        QVERIFY(!QFile::exists(a.percorsoDb()));
    }

    void esclusivaRifiutataMentreUnAltroProcessoLaTiene()
    {
        Ambiente a;
        a.creaDb();
        a.apriDb(ModoApertura::Condiviso);
        {
            Detentore altro(a.percorsoDb(), QStringLiteral("condiviso"));
            QCOMPARE(altro.risposta(), QStringLiteral("PRONTO"));
            Errore e(0, {});
            QVERIFY(!a.db.riconnettiEsclusivo(&e));
            QCOMPARE(e.numero(), codici::DatabaseBloccato);
            // Refused, the program keeps its shared connection.
            QVERIFY(a.db.aperto());
            QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
        }
        {
            Detentore altro(a.percorsoDb(), QStringLiteral("condiviso"));
            QVERIFY(!riconnessioneEsclusiva(a.db, a.dialoghi));
            QVERIFY(a.dialoghi.ultimo().startsWith(QStringLiteral("Errore %1\r\n").arg(codici::DatabaseBloccato)));
            QVERIFY(a.dialoghi.ultimo().endsWith(
                QStringLiteral("\r\nQualche client potrebbe ancora essere connesso alla base dati. \r\nIl programma "
                               "uscira a Windows.\r\nChiudere tutti i client, riavviare l'applicativo SERVER e "
                               "ritentare l'Operazione.")));
        }
        QVERIFY(riconnessioneEsclusiva(a.db, a.dialoghi));
        QCOMPARE(a.db.modo(), ModoApertura::Esclusivo);
        Detentore escluso(a.percorsoDb(), QStringLiteral("condiviso"));
        QVERIFY(escluso.risposta().startsWith(QLatin1String("ERRORE")));
    }

    void colonnaEQueryAggiunte()
    {
        Ambiente a;
        a.creaDb();
        a.apriDb();
        a.db.aggiungiColonnaTesto(QStringLiteral("Regioni"), QStringLiteral("Nota"), 20);
        a.db.esegui(QStringLiteral("INSERT INTO Regioni (REGIONE, Nota) VALUES ('01', '')"));
        QCOMPARE(a.db.colonne(QStringLiteral("Regioni")).last().dimensione, 20);
        a.db.sostituisciQuery(QStringLiteral("QryMetadati"), QStringLiteral("SELECT REGIONE, Nota FROM Regioni"));
        Recordset rs(a.db, QStringLiteral("QryMetadati"));
        rs.apri();
        QCOMPARE(rs.testo(QStringLiteral("REGIONE")), QStringLiteral("01"));
        QVERIFY(!rs.nullo(QStringLiteral("Nota")));
    }

    void transazioneAnnullataSenzaConferma()
    {
        Ambiente a;
        a.creaDb();
        a.apriDb();
        {
            Transazione t(a.db);
            a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("UNO"));
        }
        QCOMPARE(a.db.valoreScalare(QStringLiteral("SELECT count(*) FROM CorsiOper")).toInt(), 0);
        QCOMPARE(numeroErrore([&] { creaDatabase(a.percorsoDb(), QStringLiteral("x")); }), 3204L);
    }
};

QTEST_GUILESS_MAIN(TestCorsiDB)
#include "tst_corsidb.moc"
