#include "common/Codifica.h"
#include "transmission/CreaFileTrasm.h"
#include "transmission/Domanda.h"

#include <QFile>
#include <QTest>

using namespace quirdal;
using quirdal::test::Ambiente;

namespace {

QByteArray leggi(const QString &p)
{
    QFile f(p);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// The records of a file, each a list of values, read back with the splitter of the data files.
QList<QStringList> record(const QByteArray &b)
{
    QList<QStringList> r;
    for (const QString &riga : daWindows1252(b).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        QStringList v = riga.mid(1, riga.size() - 2).split(QStringLiteral("#,#"));
        r << v;
    }
    return r;
}

QList<QStringList> diTipo(const QList<QStringList> &r, const QString &tipo)
{
    QList<QStringList> t;
    for (const QStringList &x : r)
        if (x.value(0) == tipo)
            t << x;
    return t;
}

struct Creato {
    QString nome;
    QByteArray dati;
};

Creato crea(Ambiente &a, const QString &prov = QStringLiteral("001"))
{
    mCreaFileTrasm m(*a.contesto);
    m.setData(QDate(2009, 11, 30));
    a.sessione.gEmail = QStringLiteral("mario.rossi@ente.example");
    if (!m.CreaFile(prov, QStringLiteral("A"), QStringLiteral("7")))
        return {};
    return {m.gNomeFileTrasm(), leggi(a.percorso(m.gNomeFileTrasm()))};
}

} // namespace

class TestTrasmissione : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fileDiRiferimento()
    {
        Ambiente a;
        a.pronto();
        test::preparaDomanda(a);
        const Creato f = crea(a);
        QCOMPARE(f.nome, QStringLiteral("QUIRDAL_001_000123.A7"));
        QVERIFY2(a.dialoghi.messaggi.isEmpty(), qPrintable(a.dialoghi.ultimo()));
        const QString riferimento = QStringLiteral(QUIRDAL_DATI_TEST "/trasmissione/QUIRDAL_001_000123.A7");
        if (qEnvironmentVariableIsSet("QUIRDAL_RIGENERA")) {
            QFile o(riferimento);
            o.open(QIODevice::WriteOnly);
            o.write(f.dati);
        }
        QCOMPARE(f.dati, leggi(riferimento));
    }

    void valori()
    {
        Ambiente a;
        a.pronto();
        test::preparaDomanda(a);
        const QList<QStringList> r = record(crea(a).dati);
        QCOMPARE(r.first(), (QStringList{"Z", "VTZ_ALLEGATO_PROPOSTA_CORSI_WZQ_2009", "62", "2009", "A", "7", "001", "AL",
                                         "000123", "20091130"}));
        QCOMPARE(r.last(), (QStringList{"Z", "EOF"}));
        QStringList tipi;
        for (const QStringList &x : r)
            if (tipi.isEmpty() || tipi.last() != x[0])
                tipi << x[0];
        QCOMPARE(tipi, (QStringList{"Z", "A", "B", "C", "E", "F", "G", "L", "M", "N", "Z"}));
        const QStringList a1 = diTipo(r, QStringLiteral("A")).first();
        QCOMPARE(a1.size(), 29);
        QCOMPARE(a1.mid(0, 5), (QStringList{"A", "000123", "62", "2009", "AL"}));
        QCOMPARE(a1[7], QStringLiteral("AEF"));
        QCOMPARE(a1[9], QStringLiteral("mario.rossi@ente.example"));
        QCOMPARE(a1[14], QStringLiteral("--1965")); // only the year of the birth date
        QCOMPARE(a1[25], QString());                // no previous application date: empty, not "--"
        // Every site line has 14 values between the prefix and the date.
        for (const QStringList &c : diTipo(r, QStringLiteral("C")))
            QCOMPARE(c.size(), 20);
        QStringList sedi;
        for (const QStringList &c : diTipo(r, QStringLiteral("C")))
            sedi << c[7];
        QCOMPARE(sedi, (QStringList{"1", "1001", "2"})); // 2 only as responsible; 3 and 1002 are in 003
        // Courses of the province only: the occasional site counts where it is.
        QStringList corsi;
        for (const QStringList &e : diTipo(r, QStringLiteral("E")))
            corsi << e[10] + e[11] + QLatin1Char('/') + e[3];
        QCOMPARE(corsi, (QStringList{"00010/2009", "00011/2009", "00020/2009", "00020/2010", "00030/2009"}));
        const QList<QStringList> e = diTipo(r, QStringLiteral("E"));
        QCOMPARE(e[0].size(), 55);
        QCOMPARE(e[0][46], QStringLiteral("75000.00"));
        QCOMPARE(e[1][46], QStringLiteral("1234.50"));
        QCOMPARE(e[4][46], QStringLiteral("0.00"));
        QCOMPARE(e[0][48], QString());             // SPIN "OO9901" is no classification
        QCOMPARE(e[1][48], QStringLiteral("AA0102"));
        QCOMPARE(e[0][53], QStringLiteral("20090915"));
        QCOMPARE(e[2][52], QStringLiteral("ENTESHARPGESTORE"));
        QCOMPARE(e[3][39], QStringLiteral("2")); // StatoIter + ProgrAnno - 1
        QCOMPARE(e[0][45], QStringLiteral("N"));
        QCOMPARE(e[1][45], QStringLiteral("S"));
        const QList<QStringList> f = diTipo(r, QStringLiteral("F"));
        QCOMPARE(f[1][9], QStringLiteral("1234.50"));
        QCOMPARE(f[1][12], QString()); // a Null amount
        QCOMPARE(f[1][13], QString()); // a Null count
        QCOMPARE(f[3][21], QStringLiteral("50.25"));
        QCOMPARE(f[0].size(), 34);
        // Check values: only check boxes, per course row, the year of the row.
        QCOMPARE(diTipo(r, QStringLiteral("G")).size(), 4);
        QCOMPARE(diTipo(r, QStringLiteral("G"))[0].mid(5), (QStringList{"A", "7", "0001", "0", "2", "S", "20091130"}));
        const QList<QStringList> n = diTipo(r, QStringLiteral("N"));
        QCOMPARE(n.size(), 1);
        QCOMPARE(n[0].mid(8, 3), (QStringList{"0001", "2", "RIGA UNO RIGA DUE"}));
        QCOMPARE(diTipo(r, QStringLiteral("L")).size(), 1);
        QCOMPARE(diTipo(r, QStringLiteral("M"))[0].mid(5), (QStringList{"A", "7", "1", "1", "1200", "300", "20091130"}));
    }

    void windows1252ECrLf()
    {
        Ambiente a;
        a.pronto();
        test::preparaDomanda(a);
        a.db.esegui(QStringLiteral("UPDATE CorsiOper SET LegNome='PERÒ NICOLÒ €'"));
        const QByteArray b = crea(a).dati;
        QVERIFY(b.contains("ENTE SETTE \xc0"));
        QVERIFY(b.contains("PER\xd2 NICOL\xd2 \x80"));
        QVERIFY(daWindows1252(b).contains(QStringLiteral("PERÒ NICOLÒ €")));
        QCOMPARE(b.count('\n'), b.count("\r\n"));
        QVERIFY(b.endsWith("#Z#,#EOF#\r\n"));
    }

    // A value with "#" or a line break cannot split a record or shift its values.
    void valoriCheNonSpezzanoIRecord()
    {
        Ambiente a;
        a.pronto();
        test::preparaDomanda(a);
        a.db.esegui(QStringLiteral("UPDATE CorsiCompo SET Indirizzo='VIA #1'||char(10)||'SCALA B' WHERE Componente=1"));
        const QList<QStringList> r = record(crea(a).dati);
        const QStringList c = diTipo(r, QStringLiteral("C")).first();
        QCOMPARE(c.size(), 20);
        QCOMPARE(c[12], QStringLiteral("VIA SHARP1 SCALA B"));
    }

    void anomalie_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("provincia senza sigla") << "DELETE FROM Province WHERE PROV='001'" << "ScriviRec_Z"
                                               << "ANOMALIA: sigla della provincia non trovata. Impossibile continuare";
        QTest::newRow("sigla vuota") << "UPDATE Province SET SigProv='' WHERE PROV='001'" << "ScriviRec_Z"
                                     << "ANOMALIA: sigla della provincia non trovata. Impossibile continuare";
        QTest::newRow("senza operatore") << "DELETE FROM CorsiOper" << "ScriviRec_A"
                                         << "ANOMALIA: Operatore non trovato. Impossibile continuare";
        QTest::newRow("senza sede legale") << "UPDATE CorsiCompo SET TipoCompo='UL'" << "ScriviRec_B"
                                           << "ANOMALIA: Sede Legale dell'Operatore non trovata. Impossibile continuare";
        QTest::newRow("senza sedi") << "DELETE FROM CorsiProp" << "ScriviRec_C"
                                    << "ANOMALIA: nessuna sede interessata trovata. Impossibile continuare";
        // Component 1 is still responsible for the course in the other province's
        // occasional site, so it has its site line; the province has no course.
        QTest::newRow("senza corsi nella provincia") << "DELETE FROM CorsiProp WHERE SedeInteressata IN (1, 1001, 3)"
                                                     << "ScriviRec_E"
                                                     << "ANOMALIA: nessun corso trovato. Impossibile continuare";
        QTest::newRow("sede senza provincia") << "UPDATE CorsiSediOcc SET CodComune='999999' WHERE SedeOcc=1002"
                                              << "ScriviRec_E" << "ANOMALIA: Provincia non trovata. Impossibile continuare";
    }
    void anomalie()
    {
        QFETCH(QString, sql);
        QFETCH(QString, titolo);
        QFETCH(QString, messaggio);
        Ambiente a;
        a.pronto();
        test::preparaDomanda(a);
        // An older file of the same name must not survive a failed one.
        QFile vecchio(a.percorso(QStringLiteral("QUIRDAL_001_000123.A7")));
        vecchio.open(QIODevice::WriteOnly);
        vecchio.write("vecchio");
        vecchio.close();
        for (const QString &s : sql.split(QStringLiteral("; ")))
            a.db.esegui(s);
        QVERIFY(crea(a).nome.isEmpty());
        QCOMPARE(a.dialoghi.messaggi.size(), 2);
        QCOMPARE(a.dialoghi.messaggi[0].titolo, QStringLiteral("Creazione file di trasmissione - ") + titolo);
        QCOMPARE(a.dialoghi.messaggi[0].testo, messaggio);
        QCOMPARE(a.dialoghi.messaggi[0].icona, Icona::Critico);
        QCOMPARE(a.dialoghi.messaggi[1].titolo, QStringLiteral("Creazione file di trasmissione - Nomina_e_Crea"));
        QCOMPARE(a.dialoghi.messaggi[1].testo,
                 QStringLiteral("Errore 0 --> \r\ndurante la creazione del file di trasmissione con i dati della domanda"));
        QVERIFY(!QFile::exists(a.percorso(QStringLiteral("QUIRDAL_001_000123.A7"))));
        QVERIFY(QDir(a.dir.path()).entryList({QStringLiteral("QUIRDAL_*")}).isEmpty());
    }

    // A failure of the database while a writer runs: its message, then the module's own
    // with the same number, and no file.
    void erroreDuranteLaScrittura()
    {
        Ambiente a;
        a.pronto();
        test::preparaDomanda(a);
        a.db.esegui(QStringLiteral("DROP VIEW QrySedLeg"));
        QVERIFY(crea(a).nome.isEmpty());
        QCOMPARE(a.dialoghi.messaggi.size(), 2);
        QCOMPARE(a.dialoghi.messaggi[0].titolo, QStringLiteral("Creazione file di trasmissione - ScriviRec_B"));
        QVERIFY(a.dialoghi.messaggi[0].testo.startsWith(QStringLiteral("Errore ")));
        QVERIFY(a.dialoghi.messaggi[0].testo.endsWith(
            QStringLiteral("\r\ndurante la creazione del file di trasmissione con i dati della domanda")));
        QCOMPARE(a.dialoghi.messaggi[1].titolo, QStringLiteral("Creazione file di trasmissione - Nomina_e_Crea"));
        QCOMPARE(a.dialoghi.messaggi[1].testo, a.dialoghi.messaggi[0].testo);
        QVERIFY(QDir(a.dir.path()).entryList({QStringLiteral("QUIRDAL_*")}).isEmpty());
    }

    void senzaDomandaNessunFileNessunMessaggio()
    {
        Ambiente a;
        a.pronto();
        test::preparaDomanda(a);
        a.db.esegui(QStringLiteral("DELETE FROM Installazione"));
        QVERIFY(crea(a).nome.isEmpty());
        QVERIFY(a.dialoghi.messaggi.isEmpty());
    }

    void formati_data()
    {
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<QString>("importo");
        QTest::newRow("mezzo") << QVariant(1234.5) << "1234.50";
        QTest::newRow("zero") << QVariant(0.0) << "0.00";
        QTest::newRow("nullo") << QVariant() << "";
        QTest::newRow("grande") << QVariant(1234567.891) << "1234567.89";
        QTest::newRow("negativo") << QVariant(-50.255) << "-50.26";
        QTest::newRow("intero") << QVariant(7) << "7.00";
    }
    void formati()
    {
        QFETCH(QVariant, valore);
        QFETCH(QString, importo);
        QCOMPARE(quirdal::importo(valore), importo);
        QCOMPARE(PuntoDecimale(QStringLiteral("12,50")), QStringLiteral("12.50"));
        QCOMPARE(PuntoDecimale(QStringLiteral("12,")), QStringLiteral("12,")); // not on the last character
        QCOMPARE(SiNo(QVariant(-1)), QStringLiteral("S"));
        QCOMPARE(SiNo(QVariant(0)), QStringLiteral("N"));
        QCOMPARE(SiNo(QVariant()), QStringLiteral("N"));
    }
};

QTEST_GUILESS_MAIN(TestTrasmissione)
#include "tst_trasmissione.moc"
