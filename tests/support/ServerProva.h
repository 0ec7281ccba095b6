#pragma once
// The PostgreSQL server of a test run, when QUIRDAL_TEST_PG names one ("host=FOLDER port=PORT
// user=postgres", set by scripts/con-postgres): the engine of the run, and a fresh database
// on it for each test environment, dropped when the environment goes.
#include "common/Errori.h"
#include "db/CorsiDB.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QUuid>

namespace quirdal::test {

inline bool suPostgres() { return !qEnvironmentVariableIsEmpty("QUIRDAL_TEST_PG"); }
inline Motore motoreDiProva() { return suPostgres() ? Motore::PostgreSQL : Motore::SQLite; }

// The test server, on the given database, as its superuser.
inline DatiConnessione serverDiProva(const QString &nomeDb = QStringLiteral("postgres"))
{
    DatiConnessione d;
    d.motore = Motore::PostgreSQL;
    d.nomeDb = nomeDb;
    for (const QString &coppia : qEnvironmentVariable("QUIRDAL_TEST_PG").split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString chiave = coppia.section(QLatin1Char('='), 0, 0), valore = coppia.section(QLatin1Char('='), 1);
        if (chiave == QLatin1String("host"))
            d.host = valore;
        else if (chiave == QLatin1String("port"))
            d.porta = valore.toInt();
        else if (chiave == QLatin1String("user"))
            d.utente = valore;
        else if (chiave == QLatin1String("password"))
            d.password = valore;
    }
    return d;
}

// One statement on the server's maintenance database, outside any transaction (as CREATE and
// DROP DATABASE must run). Throws on failure.
inline void amministra(const QString &sql, const QString &nomeDb = QStringLiteral("postgres"))
{
    static int n = 0;
    const QString nome = QStringLiteral("amministrazione-%1").arg(++n);
    QString errore;
    {
        QSqlDatabase d = CorsiDB::connettiServer(serverDiProva(nomeDb), nome);
        QSqlQuery q(d);
        if (!q.exec(sql))
            errore = q.lastError().text();
        q.finish();
        d.close();
    }
    QSqlDatabase::removeDatabase(nome);
    if (!errore.isEmpty())
        throw Errore(codici::Generico, errore + QStringLiteral(" [") + sql + QLatin1Char(']'));
}

// A name for a new database of the test server: never one in use.
inline QString nomeDatabaseNuovo() { return QStringLiteral("quirdal_") + QUuid::createUuid().toString(QUuid::Id128).left(16); }

inline void creaDatabaseServer(const QString &nome) { amministra(QStringLiteral("CREATE DATABASE ") + nome); }
// Whoever is still connected to it is put out first.
inline void eliminaDatabaseServer(const QString &nome)
{
    amministra(QStringLiteral("DROP DATABASE IF EXISTS ") + nome + QStringLiteral(" WITH (FORCE)"));
}

} // namespace quirdal::test
