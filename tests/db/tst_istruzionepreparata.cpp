// The two roads of the prepared statements give the same values, the same errors and the
// same reading: every case runs on each road this build has.
#include "db/IstruzionePreparata.h"
#include "support/Ambiente.h"

#include <QTest>

using namespace quirdal;
using namespace quirdal::test;
using Via = IstruzionePreparata::Via;

namespace {

void vie()
{
    colonne<int>("via");
    QTest::newRow("diretta") << int(Via::Diretta);
    QTest::newRow("portabile") << int(Via::Portabile);
}

// What a value read back is: its type and its text, or Null.
QString descrivi(const QVariant &v)
{
    return v.isValid() ? QString::fromLatin1(v.typeName()) + u':' + v.toString() : u"<null>"_s;
}

// x takes any value on SQLite; the server needs a type for it: text.
struct Banco : Ambiente {
    Banco()
    {
        creaDb();
        apriDb();
        db.esegui(suServer() ? u"CREATE TABLE Prova (k INTEGER PRIMARY KEY, n NUMERIC, r DOUBLE PRECISION, t TEXT, x TEXT)"_s
                             : u"CREATE TABLE Prova (k INTEGER PRIMARY KEY, n NUMERIC, r REAL, t TEXT, x)"_s);
    }
};

} // namespace

class TestIstruzionePreparata : public QObject {
    Q_OBJECT

    Via m_iniziale = IstruzionePreparata::viaScelta();

    // The row's road, or the row skipped where this build has no direct road.
    bool scegli()
    {
        QFETCH(int, via);
        if (Via(via) == Via::Diretta && (!IstruzionePreparata::viaDirettaCompilata() || suPostgres()))
            return false;
        IstruzionePreparata::scegliVia(Via(via));
        return true;
    }

private Q_SLOTS:
    void cleanup() { IstruzionePreparata::scegliVia(m_iniziale); }

    // QUIRDAL_SQLITE_PORTABILE=1 puts every statement on the portable road (the suite runs the
    // loaders again that way); without it a build with the direct road takes it.
    void viaDellAmbiente()
    {
        const bool portabile = qEnvironmentVariableIntValue("QUIRDAL_SQLITE_PORTABILE") != 0;
        const Via attesa = portabile || !IstruzionePreparata::viaDirettaCompilata() ? Via::Portabile : Via::Diretta;
        QCOMPARE(m_iniziale, attesa);
        Banco a;
        // The server has only the portable road.
        QCOMPARE(IstruzionePreparata(a.db, u"SELECT 1"_s).via(), a.suServer() ? Via::Portabile : attesa);
    }

    void valori_data() { vie(); }
    void valori()
    {
        if (!scegli())
            QSKIP("Questa build non ha la via diretta, o la base dati è sul server");
        QFETCH(int, via);
        Banco a;
        {
            IstruzionePreparata q(a.db, u"INSERT INTO Prova (k, n, r, t, x) VALUES (?,?,?,?,?)"_s);
            QCOMPARE(int(q.via()), via);
            q.legaTutti({1, Q_INT64_C(9007199254740993), 1234.5, u"CASTELLÀ € \"#\" 'x'"_s, true});
            q.esegui();
            // Only two values rebound: the others stay from the row before.
            q.lega(0, 2);
            q.legaTesto(3, u"due"_s);
            q.esegui();
            // Every kind of Null; a short is a number, a date its text.
            q.lega(0, QVariant::fromValue(short(3)));
            q.legaNullo(1);
            q.lega(2, QVariant());
            q.lega(3, QVariant(QMetaType::fromType<QString>()));
            q.lega(4, QDate(2026, 12, 6));
            q.esegui();
            // A null QString is an empty text, not Null.
            q.lega(0, 4);
            q.legaTesto(3, QString());
            q.lega(4, QVariant(QString()));
            q.esegui();
        }
        IstruzionePreparata l(a.db, u"SELECT k, n, r, t, x AS Ultima FROM Prova WHERE k >= ? ORDER BY k"_s);
        l.lega(0, 1);
        // The columns are known before the first row, and asking does not lose it.
        QCOMPARE(l.numeroColonne(), 5);
        QCOMPARE(l.nomeColonna(0), u"k"_s);
        QCOMPARE(l.nomeColonna(4), u"Ultima"_s);
        QStringList righe;
        while (l.prossima()) {
            QStringList r;
            for (int i = 0; i < 5; ++i)
                r << descrivi(l.colonna(i));
            righe << r.join(u" | "_s);
        }
        // The server gives an exact number back as its text, and keeps the flag in a text column.
        const QString n = a.suServer() ? u"QString:9007199254740993"_s : u"qlonglong:9007199254740993"_s;
        const QString x = a.suServer() ? u"QString:1"_s : u"qlonglong:1"_s;
        QCOMPARE(righe,
                 (QStringList{u"qlonglong:1 | %1 | double:1234.5 | QString:CASTELLÀ € \"#\" 'x' | %2"_s.arg(n, x),
                              u"qlonglong:2 | %1 | double:1234.5 | QString:due | %2"_s.arg(n, x),
                              u"qlonglong:3 | <null> | <null> | <null> | QString:2026-12-06"_s,
                              u"qlonglong:4 | <null> | <null> | QString: | QString:"_s}));
        // After its end the statement runs again, with the values bound now.
        l.lega(0, 4);
        QVERIFY(l.prossima());
        QCOMPARE(descrivi(l.colonna(0)), u"qlonglong:4"_s);
        QVERIFY(!l.prossima());
    }

    void errori_data() { vie(); }
    void errori()
    {
        if (!scegli())
            QSKIP("Questa build non ha la via diretta, o la base dati è sul server");
        Banco a;
        const QString sql = u"INSERT INTO Prova (k, t) VALUES (?, ?)"_s;
        IstruzionePreparata q(a.db, sql);
        q.legaTutti({1, u"uno"_s});
        q.esegui();
        try {
            q.esegui();
            QFAIL("una chiave doppia accettata");
        } catch (const Errore &e) {
            QCOMPARE(e.numero(), 3022L);
            QCOMPARE(e.descrizione(),
                     u"Le modifiche richieste non sono state apportate perché creerebbero valori duplicati nella chiave o "
                     "violerebbero un vincolo della tabella (%1). [%2]"_s.arg(
                         a.suServer() ? u"duplicate key value violates unique constraint \"prova_pkey\""_s
                                      : u"UNIQUE constraint failed: Prova.k"_s,
                         sql));
        }
        // The statement goes on after a failed row.
        q.lega(0, 2);
        q.esegui();
        QCOMPARE(a.conta(u"Prova"_s), 2);
        try {
            IstruzionePreparata x(a.db, u"SELECT kk FROM Prova"_s);
            QFAIL("una colonna sbagliata preparata");
        } catch (const Errore &e) {
            QCOMPARE(e.descrizione(),
                     a.suServer() ? u"column \"kk\" does not exist [SELECT kk FROM Prova]"_s
                                  : u"no such column: kk [SELECT kk FROM Prova]"_s);
        }
    }
};

QTEST_GUILESS_MAIN(TestIstruzionePreparata)
#include "tst_istruzionepreparata.moc"
