// Every statement of every catalogue prepared on a freshly made schema, so that a misspelt table
// or column, or a text the engine cannot read, fails here and not in front of a user; and no SQL
// text of the program outside the catalogues.
#include "support/Ambiente.h"
#include "support/Cataloghi.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

QString sorgenti() { return qEnvironmentVariable("QUIRDAL_SORGENTI") + u'/'; }

// The texts a statement is prepared as: itself, or each of its examples.
QStringList testi(const Istruzione &i, Motore m)
{
    if (!i.completabile())
        return {i.testo(m)};
    QStringList r;
    for (const QString &esempio : QString::fromUtf8(i.esempi).split(u'|'))
        r << completa(i, esempio.split(u';')).testo(m);
    return r;
}

// Files that still hold SQL of their own: none once every subsystem has its catalogue. The
// schema itself (tables and views) is the one place where SQL is written as a script.
const QStringList kSenzaCatalogo = {
    u"src/db/Schema.cpp"_s,
    u"src/db/SchemaViste.cpp"_s,
};

} // namespace

class TestCatalogo : public QObject {
    Q_OBJECT

    std::unique_ptr<Ambiente> m_server;
    // The database on the server, made once, open.
    Ambiente &server()
    {
        if (!m_server) {
            m_server = std::make_unique<Ambiente>(Motore::PostgreSQL);
            m_server->creaDb();
            m_server->apriDb();
        }
        return *m_server;
    }

private Q_SLOTS:
    void cleanupTestCase() { m_server.reset(); }

    // Each statement with each text it has: SQLite's always, the server's when the run has one
    // (QUIRDAL_TEST_PG). A statement that has no text for an engine is never run there.
    void preparate_data()
    {
        QTest::addColumn<int>("motore");
        QTest::addColumn<QString>("testo");
        QList<Motore> motori{Motore::SQLite};
        if (suPostgres())
            motori << Motore::PostgreSQL;
        for (const Motore m : motori)
            for (const Catalogo &c : cataloghi())
                for (const Istruzione *i : c.istruzioni) {
                    if (!i->perMotore(m))
                        continue;
                    const QStringList t = testi(*i, m);
                    for (qsizetype n = 0; n < t.size(); ++n)
                        QTest::newRow(qPrintable(nomeMotore(m) + u' ' + QString::fromUtf8(i->nome)
                                                 + (n ? u" #"_s + QString::number(n) : QString())))
                            << int(m) << t[n];
                }
    }
    void preparate()
    {
        QFETCH(int, motore);
        QFETCH(QString, testo);
        if (Motore(motore) == Motore::SQLite) {
            Pronto a(Motore::SQLite);
            QSqlQuery q(a.db.database());
            QVERIFY2(q.prepare(testo), qPrintable(q.lastError().text() + u"\n"_s + testo));
            return;
        }
        // One fresh database on the server for every row: preparing changes nothing, and what
        // is run to be checked is undone.
        CorsiDB &db = server().db;
        QSqlQuery q(db.database());
        static const QRegularExpression interrogazione(u"^\\s*(SELECT|INSERT|UPDATE|DELETE|WITH|VALUES)\\b"_s,
                                                       QRegularExpression::CaseInsensitiveOption);
        if (interrogazione.match(testo).hasMatch()) {
            // The server prepares it: every table, column and type is checked there.
            QVERIFY2(q.prepare(testo), qPrintable(q.lastError().text() + u"\n"_s + testo));
            return;
        }
        // The server prepares only queries: any other statement runs inside a transaction that
        // is undone, with the savepoints a statement of a transaction names; one that begins a
        // transaction begins it itself.
        if (!testo.startsWith(u"BEGIN"_s))
            QVERIFY(q.exec(u"BEGIN"_s) && q.exec(u"SAVEPOINT quirdal_1"_s) && q.exec(u"SAVEPOINT quirdal_2"_s));
        const bool ok = q.exec(testo);
        const QString errore = q.lastError().text();
        q.exec(u"ROLLBACK"_s);
        QVERIFY2(ok, qPrintable(errore + u"\n"_s + testo));
    }

    // Names are unique and say their catalogue; each declared statement is in its list.
    void elenchiCompleti()
    {
        QSet<QString> nomi;
        static const QRegularExpression dichiarata(u"constexpr\\s+Istruzione\\s+k\\w+\\s*\\{"_s);
        for (const Catalogo &c : cataloghi()) {
            for (const Istruzione *i : c.istruzioni) {
                const QString nome = QString::fromUtf8(i->nome);
                QVERIFY2(!nomi.contains(nome), qPrintable(nome));
                nomi.insert(nome);
                QVERIFY2(nome.startsWith(QString::fromUtf8(c.nome) + u'.'), qPrintable(nome));
                QVERIFY2(QString::fromUtf8(i->sql).count(u'%') == 0 || i->completabile(), qPrintable(nome));
                // Left out on one engine at most (kNessuno), and said so by an empty text only.
                QVERIFY2(i->perMotore(Motore::SQLite) || i->perMotore(Motore::PostgreSQL), qPrintable(nome));
            }
            const QString testo = QString::fromUtf8(leggiFile(sorgenti() + QString::fromUtf8(c.file)));
            QVERIFY2(!testo.isEmpty(), c.file);
            QCOMPARE(testo.count(dichiarata), c.istruzioni.size());
        }
    }

    // No SQL written outside the catalogues: a statement of the program starts with one of
    // these words at the start of a string literal.
    void nessunSqlFuoriDaiCataloghi()
    {
        static const QRegularExpression sql(
            u"\"\\s*(SELECT|INSERT|UPDATE|DELETE|CREATE|DROP|ALTER|PRAGMA|ATTACH|DETACH|BEGIN|COMMIT|ROLLBACK|SAVEPOINT|RELEASE|"
            "VACUUM|WITH|REPLACE)\\b"_s);
        QSet<QString> cataloghiFile;
        for (const Catalogo &c : cataloghi())
            cataloghiFile.insert(QString::fromUtf8(c.file));
        QStringList fuori;
        QDirIterator it(sorgenti() + u"src"_s, {u"*.cpp"_s, u"*.h"_s}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString relativo = it.next().mid(sorgenti().size());
            if (cataloghiFile.contains(relativo) || kSenzaCatalogo.contains(relativo))
                continue;
            const QStringList righe = QString::fromUtf8(leggiFile(it.filePath())).split(u'\n');
            for (qsizetype n = 0; n < righe.size(); ++n)
                if (righe[n].contains(sql))
                    fuori << relativo + u':' + QString::number(n + 1);
        }
        if (!fuori.isEmpty())
            qInfo().noquote() << "SQL fuori dai cataloghi:\n" + fuori.join(u'\n');
        QVERIFY2(fuori.isEmpty(), qPrintable(fuori.join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(TestCatalogo)
#include "tst_catalogo.moc"
