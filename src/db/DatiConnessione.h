#pragma once
// Where the database is: a file for SQLite, a server and a database on it for PostgreSQL.
#include "db/Istruzione.h"

#include <QString>

namespace quirdal {

struct DatiConnessione {
    Motore motore = Motore::SQLite;
    // SQLite: the database file.
    QString file;
    // PostgreSQL: the server's name or address, or (as libpq allows) a folder that holds its
    // socket; its port; the database on it; the user and the user's password.
    QString host;
    int porta = 5432;
    QString nomeDb;
    QString utente;
    QString password;

    static DatiConnessione diFile(const QString &file)
    {
        DatiConnessione d;
        d.file = file;
        return d;
    }

    // What a message names: the file, or the database, server and user. Never the password.
    QString descrizione() const
    {
        if (motore == Motore::SQLite)
            return QStringLiteral("'") + file + QStringLiteral("'");
        return QStringLiteral("'") + nomeDb + QStringLiteral("' sul server ") + host + QLatin1Char(':') + QString::number(porta)
            + QStringLiteral(" (utente '") + utente + QStringLiteral("')");
    }
};

// The names of the engines as QUIRDAL.INI writes them in [Installazione] PROVIDER.
inline QString nomeMotore(Motore m) { return m == Motore::PostgreSQL ? QStringLiteral("PostgreSQL") : QStringLiteral("SQLite"); }

} // namespace quirdal
