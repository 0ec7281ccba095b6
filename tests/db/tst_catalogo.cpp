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
    u"src/db/Schema.cpp"_s, u"src/db/SchemaViste.cpp"_s,
};

} // namespace

class TestCatalogo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void preparate_data()
    {
        QTest::addColumn<QString>("testo");
        for (const Catalogo &c : cataloghi())
            for (const Istruzione *i : c.istruzioni) {
                const QStringList t = testi(*i, Motore::SQLite);
                for (qsizetype n = 0; n < t.size(); ++n)
                    QTest::newRow(qPrintable(QString::fromUtf8(i->nome) + (n ? u" #"_s + QString::number(n) : QString())))
                        << t[n];
            }
    }
    void preparate()
    {
        QFETCH(QString, testo);
        Pronto a;
        // The restore reads a second database of the program under this name.
        Ambiente seconda;
        seconda.creaDb();
        a.db.esegui(u"ATTACH DATABASE ? AS recupero"_s, {seconda.percorsoDb()});
        QSqlQuery q(a.db.database());
        QVERIFY2(q.prepare(testo), qPrintable(q.lastError().text() + u"\n"_s + testo));
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
        QEXPECT_FAIL("", "catalogues not yet complete", Continue);
        QVERIFY2(fuori.isEmpty(), qPrintable(fuori.join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(TestCatalogo)
#include "tst_catalogo.moc"
