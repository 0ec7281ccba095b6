// quirdal-cli esegui-sql: a script of SQL statements, all or nothing.
#include "cli/Comandi.h"

#include "common/Contesto.h"
#include "common/Errori.h"
#include "db/CorsiDB.h"

#include <QFile>
#include <QRegularExpression>

// sqlite3_complete reads text and touches no connection: the program's own SQLite serves
// for it wherever Qt's driver takes its SQLite from.
#include <sqlite3.h>

namespace quirdal {

namespace {

// Where the statement that starts at i really starts: past SQL's blanks and comments. An
// unclosed block comment is left where it is, for the statement to be found unfinished.
qsizetype dopoCommenti(const QByteArray &t, qsizetype i)
{
    for (;;) {
        while (i < t.size() && (t[i] == ' ' || t[i] == '\t' || t[i] == '\n' || t[i] == '\f' || t[i] == '\r'))
            ++i;
        if (t.mid(i, 2) == "--") {
            i = t.indexOf('\n', i);
            if (i < 0)
                return t.size();
        } else if (t.mid(i, 2) == "/*" && t.indexOf("*/", i + 2) >= 0) {
            i = t.indexOf("*/", i + 2) + 2;
        } else {
            return i;
        }
    }
}

// The statements of a script, each whole, as SQLite itself reads them: a ";" ends a
// statement only where sqlite3_complete finds the text before it complete, so one inside a
// quoted text, a comment or a trigger's body stays in its statement. The last statement
// may lack its ";". Leading comments are left out, so that a statement starts with its
// first word. An unfinished statement (an open quote, comment or trigger body) is an error.
QStringList istruzioni(const QByteArray &script)
{
    if (script.contains('\0'))
        throw Errore(codici::Generico, QStringLiteral("Il file contiene caratteri nulli: non è un testo SQL."));
    QStringList r;
    const auto aggiungi = [&r](const QByteArray &testo) {
        const QByteArray istruzione = testo.mid(dopoCommenti(testo, 0));
        if (!istruzione.isEmpty() && istruzione != ";")
            r << QString::fromUtf8(istruzione);
    };
    qsizetype inizio = 0;
    for (qsizetype fine = script.indexOf(';'); fine >= 0; fine = script.indexOf(';', fine + 1)) {
        const QByteArray candidata = script.mid(inizio, fine + 1 - inizio);
        if (sqlite3_complete(candidata.constData())) {
            aggiungi(candidata);
            inizio = fine + 1;
        }
    }
    const QByteArray resto = script.mid(inizio);
    if (dopoCommenti(resto, 0) < resto.size()) {
        // On a line of its own, the ";" cannot fall into a closing line comment.
        if (!sqlite3_complete((resto + "\n;").constData()))
            throw Errore(codici::Generico,
                         QStringLiteral("Istruzione non finita (un testo, un commento o il corpo di "
                                        "un trigger non chiuso): ")
                             + QString::fromUtf8(resto.mid(dopoCommenti(resto, 0))).left(200));
        aggiungi(resto);
    }
    return r;
}

// A statement that would end or undo the script's own transaction, and so leave part of
// the script done (a ROLLBACK TO a savepoint stays inside it).
bool chiudeTransazione(const QString &istruzione)
{
    static const QRegularExpression chiude(QStringLiteral("^(COMMIT|END|ROLLBACK)\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression aSalvataggio(QStringLiteral("^ROLLBACK(\\s+TRANSACTION)?\\s+TO\\b"),
                                                 QRegularExpression::CaseInsensitiveOption);
    return chiude.match(istruzione).hasMatch() && !aSalvataggio.match(istruzione).hasMatch();
}

class EseguiSql final : public Comando {
public:
    EseguiSql() : Comando(QStringLiteral("esegui-sql"), QStringLiteral("esegue le istruzioni del file in una sola transazione"))
    {
        argomento(QStringLiteral("FILE.sql"), QStringLiteral("il file delle istruzioni, separate da \";\""));
    }

    int esegui(Contesto &c, const QCommandLineParser &p) const override
    {
        const QString nome = p.positionalArguments().constFirst();
        QFile f(nome);
        if (!f.open(QIODevice::ReadOnly))
            throw Errore(codici::FileNonTrovato, QStringLiteral("Impossibile leggere ") + nome);
        const QStringList elenco = istruzioni(f.readAll());
        for (const QString &i : elenco)
            if (chiudeTransazione(i))
                throw Errore(codici::Generico,
                             QStringLiteral("Il file contiene \"") + i.left(40)
                                 + QStringLiteral("\", che chiuderebbe la transazione in cui esegui-sql esegue tutte "
                                                  "le istruzioni: nessuna istruzione eseguita."));
        // All or nothing: a failing statement leaves the database as it was.
        Transazione t(c.db);
        for (const QString &i : elenco)
            c.db.esegui(i);
        t.conferma();
        return kRiuscito;
    }
};

} // namespace

ElencoComandi comandiSql()
{
    ElencoComandi r;
    r.push_back(std::make_unique<EseguiSql>());
    return r;
}

} // namespace quirdal
