#include "support/Domanda.h"
#include "transmission/CreaFileTrasm.h"

#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// The transmission fixture's application, ready.
struct ConDomanda : Ambiente {
    ConDomanda()
    {
        pronto();
        preparaDomanda(*this);
    }
    // The file for province 001 (empty when none is made) and its name.
    QByteArray crea(QString *nome = nullptr)
    {
        mCreaFileTrasm m(*contesto);
        m.setData(QDate(2009, 11, 30));
        sessione.gEmail = u"mario.rossi@ente.example"_s;
        const bool creato = m.CreaFile(u"001"_s, u"A"_s, u"7"_s);
        if (nome)
            *nome = creato ? m.gNomeFileTrasm() : QString();
        return creato ? leggi(m.gNomeFileTrasm()) : QByteArray();
    }
};

// The records of a file, each a list of values.
QList<QStringList> record(const QByteArray &b)
{
    QList<QStringList> r;
    for (const QString &riga : daWindows1252(b).split(u"\r\n"_s, Qt::SkipEmptyParts))
        r << riga.mid(1, riga.size() - 2).split(u"#,#"_s);
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

// Value i of every record of a type, in file order.
QStringList colonna(const QList<QStringList> &r, const QString &tipo, int i)
{
    QStringList c;
    for (const QStringList &x : diTipo(r, tipo))
        c << x.value(i, u"<assente>"_s);
    return c;
}

// How many values each record of a type has.
QList<qsizetype> valoriPerRecord(const QList<QStringList> &r, const QString &tipo)
{
    QList<qsizetype> n;
    for (const QStringList &x : diTipo(r, tipo))
        n << x.size();
    return n;
}

} // namespace

class TestTrasmissione : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fileDiRiferimento()
    {
        ConDomanda a;
        QString nome;
        const QByteArray dati = a.crea(&nome);
        QCOMPARE(nome, u"QUIRDAL_001_000123.A7"_s);
        QVERIFY2(a.dialoghi.messaggi.isEmpty(), qPrintable(a.dialoghi.ultimo()));
        if (qEnvironmentVariableIsSet("QUIRDAL_RIGENERA"))
            scriviFile(percorsoRiferimento(), dati);
        QCOMPARE(dati, leggiFile(percorsoRiferimento()));
    }

    void valori()
    {
        ConDomanda a;
        const QList<QStringList> r = record(a.crea());
        QCOMPARE(r.first(),
                 (QStringList{"Z", "VTZ_ALLEGATO_PROPOSTA_CORSI_WZQ_2009", "62", "2009", "A", "7", "001", "AL", "000123",
                              "20091130"}));
        QCOMPARE(r.last(), (QStringList{"Z", "EOF"}));
        QStringList tipi;
        for (const QStringList &x : r)
            if (tipi.isEmpty() || tipi.last() != x[0])
                tipi << x[0];
        QCOMPARE(tipi, (QStringList{"Z", "A", "B", "C", "E", "F", "G", "L", "M", "N", "Z"}));
        const QStringList a1 = diTipo(r, u"A"_s).first();
        QCOMPARE(a1.size(), 29);
        QCOMPARE(a1.mid(0, 5), (QStringList{"A", "000123", "62", "2009", "AL"}));
        QCOMPARE(a1[7], u"AEF"_s);
        QCOMPARE(a1[9], u"mario.rossi@ente.example"_s);
        QCOMPARE(a1[14], u"--1965"_s); // only the year of the birth date
        QCOMPARE(a1[25], QString());   // no previous application date: empty, not "--"
        // Every site line has 14 values between the prefix and the date.
        QCOMPARE(valoriPerRecord(r, u"C"_s), QList<qsizetype>(3, 20));
        QCOMPARE(colonna(r, u"C"_s, 7), (QStringList{"1", "1001", "2"})); // 2 only as responsible; 3 and 1002 are in 003
        // Courses of the province only (the occasional site counts where it is): course,
        // merge and year; the year is StatoIter + ProgrAnno - 1.
        QStringList corsi;
        for (const QStringList &e : diTipo(r, u"E"_s))
            corsi << e[10] + e[11] + u'/' + e[3] + u'/' + e[39];
        QCOMPARE(corsi, (QStringList{"00010/2009/1", "00011/2009/1", "00020/2009/1", "00020/2010/2", "00030/2009/1"}));
        QCOMPARE(valoriPerRecord(r, u"E"_s), QList<qsizetype>(5, 55));
        QCOMPARE(colonna(r, u"E"_s, 46), (QStringList{"75000.00", "1234.50", "150300.00", "150249.75", "0.00"}));
        QCOMPARE(colonna(r, u"E"_s, 48), (QStringList{"", "AA0102", "AA0102", "AA0102", ""})); // "OO9901" is no SPIN
        QCOMPARE(colonna(r, u"E"_s, 45), (QStringList{"N", "S", "N", "N", "N"}));
        QCOMPARE(colonna(r, u"E"_s, 52), (QStringList{"", "", "ENTESHARPGESTORE", "ENTESHARPGESTORE", ""}));
        QCOMPARE(colonna(r, u"E"_s, 53), (QStringList{"20090915", "", "20091001", "20091001", ""}));
        QCOMPARE(valoriPerRecord(r, u"F"_s), QList<qsizetype>(5, 34));
        QCOMPARE(colonna(r, u"F"_s, 9), (QStringList{"8.50", "1234.50", "9.00", "9.00", "0.00"}));
        // A Null amount and a Null count.
        QCOMPARE(diTipo(r, u"F"_s)[1].mid(12, 2), (QStringList{"", ""}));
        QCOMPARE(colonna(r, u"F"_s, 21), (QStringList{"0.00", "0.00", "0.00", "50.25", "0.00"}));
        // Check values: only check boxes, per course row, the year of the row.
        QCOMPARE(diTipo(r, u"G"_s).size(), 4);
        QCOMPARE(diTipo(r, u"G"_s)[0].mid(5), (QStringList{"A", "7", "0001", "0", "2", "S", "20091130"}));
        QCOMPARE(diTipo(r, u"N"_s).size(), 1);
        QCOMPARE(diTipo(r, u"N"_s)[0].mid(8, 3), (QStringList{"0001", "2", "RIGA UNO RIGA DUE"}));
        QCOMPARE(diTipo(r, u"L"_s).size(), 1);
        QCOMPARE(diTipo(r, u"M"_s)[0].mid(5), (QStringList{"A", "7", "1", "1", "1200", "300", "20091130"}));
    }

    void windows1252()
    {
        ConDomanda a;
        a.db.esegui(u"UPDATE CorsiOper SET LegNome='PERÒ NICOLÒ €'"_s);
        const QByteArray b = a.crea();
        // Beyond Latin-1 too (the rest of the file is the reference one).
        QVERIFY(b.contains("PER\xd2 NICOL\xd2 \x80"));
        QVERIFY(daWindows1252(b).contains(u"PERÒ NICOLÒ €"_s));
    }

    // A value with "#" or a line break cannot split a record or shift its values.
    void valoriCheNonSpezzanoIRecord()
    {
        ConDomanda a;
        a.db.esegui(u"UPDATE CorsiCompo SET Indirizzo=? WHERE Componente=1"_s, {u"VIA #1\nSCALA B"_s});
        const QStringList c = diTipo(record(a.crea()), u"C"_s).first();
        QCOMPARE(c.size(), 20);
        QCOMPARE(c[12], u"VIA SHARP1 SCALA B"_s);
    }

    // The writer's own message, then the module's; and no file, not even an older one.
    void anomalie_data()
    {
        colonne<QString, QString, QString>("sql", "titolo", "messaggio");
        const char *sigla = "ANOMALIA: sigla della provincia non trovata. Impossibile continuare";
        QTest::newRow("provincia senza sigla") << "DELETE FROM Province WHERE PROV='001'"
                                               << "ScriviRec_Z" << sigla;
        QTest::newRow("sigla vuota") << "UPDATE Province SET SigProv='' WHERE PROV='001'"
                                     << "ScriviRec_Z" << sigla;
        QTest::newRow("senza operatore") << "DELETE FROM CorsiOper"
                                         << "ScriviRec_A"
                                         << "ANOMALIA: Operatore non trovato. Impossibile continuare";
        QTest::newRow("senza sede legale") << "UPDATE CorsiCompo SET TipoCompo='UL'"
                                           << "ScriviRec_B"
                                           << "ANOMALIA: Sede Legale dell'Operatore non trovata. Impossibile continuare";
        QTest::newRow("senza sedi") << "DELETE FROM CorsiProp"
                                    << "ScriviRec_C"
                                    << "ANOMALIA: nessuna sede interessata trovata. Impossibile continuare";
        // Component 1 is still responsible for the course in the other province's
        // occasional site, so it has its site line; the province has no course.
        QTest::newRow("senza corsi nella provincia") << "DELETE FROM CorsiProp WHERE SedeInteressata IN (1, 1001, 3)"
                                                     << "ScriviRec_E"
                                                     << "ANOMALIA: nessun corso trovato. Impossibile continuare";
        QTest::newRow("sede senza provincia") << "UPDATE CorsiSediOcc SET CodComune='999999' WHERE SedeOcc=1002"
                                              << "ScriviRec_E"
                                              << "ANOMALIA: Provincia non trovata. Impossibile continuare";
    }
    void anomalie()
    {
        QFETCH(QString, sql);
        QFETCH(QString, titolo);
        QFETCH(QString, messaggio);
        ConDomanda a;
        a.scrivi(u"QUIRDAL_001_000123.A7"_s, "vecchio");
        a.db.esegui(sql);
        QVERIFY(a.crea().isEmpty());
        QCOMPARE(a.dialoghi.messaggi.size(), 2);
        QCOMPARE(a.dialoghi.messaggi[0].titolo, u"Creazione file di trasmissione - "_s + titolo);
        QCOMPARE(a.dialoghi.messaggi[0].testo, messaggio);
        QCOMPARE(a.dialoghi.messaggi[0].icona, Icona::Critico);
        QCOMPARE(a.dialoghi.messaggi[1].titolo, u"Creazione file di trasmissione - Nomina_e_Crea"_s);
        QCOMPARE(a.dialoghi.messaggi[1].testo,
                 u"Errore 0 --> \r\ndurante la creazione del file di trasmissione con i dati della domanda"_s);
        QVERIFY(QDir(a.dir.path()).entryList({u"QUIRDAL_*"_s}).isEmpty());
    }

    // A failure of the database while a writer runs: its message, then the module's own
    // with the same number, and no file.
    void erroreDuranteLaScrittura()
    {
        ConDomanda a;
        a.db.esegui(u"DROP VIEW QrySedLeg"_s);
        QVERIFY(a.crea().isEmpty());
        QCOMPARE(a.dialoghi.messaggi.size(), 2);
        QCOMPARE(a.dialoghi.messaggi[0].titolo, u"Creazione file di trasmissione - ScriviRec_B"_s);
        const QString m = a.dialoghi.messaggi[0].testo;
        QVERIFY(m.startsWith(u"Errore "_s)
                && m.endsWith(u"\r\ndurante la creazione del file di trasmissione con i dati della domanda"_s));
        QCOMPARE(a.dialoghi.messaggi[1].titolo, u"Creazione file di trasmissione - Nomina_e_Crea"_s);
        QCOMPARE(a.dialoghi.messaggi[1].testo, m);
        QVERIFY(QDir(a.dir.path()).entryList({u"QUIRDAL_*"_s}).isEmpty());
    }

    void senzaDomandaNessunFileNessunMessaggio()
    {
        ConDomanda a;
        a.db.esegui(u"DELETE FROM Installazione"_s);
        QVERIFY(a.crea().isEmpty());
        QVERIFY(a.dialoghi.messaggi.isEmpty());
    }

    void formati_data()
    {
        colonne<QVariant, QString>("valore", "importo");
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
    }

    void puntoDecimaleESiNo()
    {
        QCOMPARE(PuntoDecimale(u"12,50"_s), u"12.50"_s);
        QCOMPARE(PuntoDecimale(u"12,"_s), u"12,"_s); // not on the last character
        QCOMPARE(SiNo(QVariant(-1)), u"S"_s);
        QCOMPARE(SiNo(QVariant(0)), u"N"_s);
        QCOMPARE(SiNo(QVariant()), u"N"_s);
    }
};

QTEST_GUILESS_MAIN(TestTrasmissione)
#include "tst_trasmissione.moc"
