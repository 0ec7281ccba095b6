#include "db/ConfrontoSchema.h"

#include "common/Errori.h"
#include "db/CatalogoCopie.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"

#include <QMap>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include <functional>

namespace quirdal {

namespace {

// One entry of sqlite_master, described so that two descriptions are equal exactly when
// the two objects behave alike.
struct Oggetto {
    QString tipo;            // "table", "view", "index", "trigger"
    QString nome;            // as the file spells it
    QString tabella;         // the table it belongs to, lower case
    QStringList colonne;     // tables: the columns in order, as spelled
    QStringList definizioni; // tables: type, NOT NULL, default, key position, hidden, one per column
    QString resto;           // tables: indexes, foreign keys and constraint words; the others: their SQL
};
// By lower-case name: SQLite's names ignore case.
using Descrizione = QMap<QString, Oggetto>;

// SQL as a list of tokens: words and bare symbols upper-cased, quoted names and texts kept
// as written, blanks and comments dropped, so that two texts that differ only in layout
// and case give the same list.
QStringList parti(const QString &sql)
{
    QStringList r;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    auto parola = [](QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; };
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            while (i < n && sql[i] != u'\n')
                ++i;
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype fine = sql.indexOf(QStringLiteral("*/"), i + 2);
            i = fine < 0 ? n : fine + 2;
        } else if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
            const QChar chiusa = c == u'[' ? QChar(u']') : c;
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == chiusa) {
                    if (chiusa != u']' && j + 1 < n && sql[j + 1] == chiusa) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            r << sql.mid(i, j + 1 - i);
            i = j + 1;
        } else if (parola(c)) {
            qsizetype j = i;
            while (j < n && parola(sql[j]))
                ++j;
            r << sql.mid(i, j - i).toUpper();
            i = j;
        } else {
            r << QString(c);
            ++i;
        }
    }
    return r;
}

// The words of a CREATE TABLE that the pragmas do not show in full (a CHECK, a collation,
// a conflict clause, WITHOUT ROWID, STRICT, a virtual table ...), counted, in order.
QString paroleDiVincolo(const QString &sql)
{
    static const QStringList vincoli = {
        QStringLiteral("CHECK"),      QStringLiteral("REFERENCES"),    QStringLiteral("COLLATE"),
        QStringLiteral("GENERATED"),  QStringLiteral("ALWAYS"),        QStringLiteral("AS"),
        QStringLiteral("STORED"),     QStringLiteral("VIRTUAL"),       QStringLiteral("CONFLICT"),
        QStringLiteral("ON"),         QStringLiteral("WITHOUT"),       QStringLiteral("ROWID"),
        QStringLiteral("STRICT"),     QStringLiteral("AUTOINCREMENT"), QStringLiteral("UNIQUE"),
        QStringLiteral("FOREIGN"),    QStringLiteral("PRIMARY"),       QStringLiteral("KEY"),
        QStringLiteral("NOT"),        QStringLiteral("NULL"),          QStringLiteral("DEFAULT"),
        QStringLiteral("CONSTRAINT"), QStringLiteral("DEFERRABLE"),    QStringLiteral("INITIALLY"),
        QStringLiteral("TEMP"),       QStringLiteral("TEMPORARY"),     QStringLiteral("USING"),
        QStringLiteral("ASC"),        QStringLiteral("DESC")};
    QStringList trovate;
    for (const QString &p : parti(sql))
        if (vincoli.contains(p))
            trovate << p;
    trovate.sort();
    return trovate.join(u' ');
}

QStringList righe(QSqlDatabase &d, const QString &sql, const QString &argomento)
{
    QSqlQuery q(d);
    q.prepare(sql);
    q.addBindValue(argomento);
    if (!q.exec())
        throw CorsiDB::erroreDa(q.lastError(), sql);
    QStringList r;
    while (q.next()) {
        QStringList campi;
        for (int i = 0; i < q.record().count(); ++i)
            campi << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
        r << campi.join(u'|').toLower();
    }
    return r;
}

void descriviTabella(QSqlDatabase &d, Oggetto &o, const QString &sql)
{
    QSqlQuery q(d);
    q.prepare(sql::copie::kColonneComplete.testo());
    q.addBindValue(o.nome);
    if (!q.exec())
        throw CorsiDB::erroreDa(q.lastError(), o.nome);
    while (q.next()) {
        o.colonne << q.value(0).toString();
        QString tipo = q.value(1).toString().toUpper();
        tipo.remove(u' ');
        o.definizioni << QStringList{tipo, q.value(2).toString(),
                                     q.value(3).isNull() ? QStringLiteral("<null>") : q.value(3).toString(),
                                     q.value(4).toString(), q.value(5).toString()}
                             .join(u'|');
    }
    // The indexes of its keys and UNIQUE constraints; those made by CREATE INDEX are
    // entries of their own.
    QStringList indici;
    for (const QString &indice : righe(d, sql::copie::kIndici.testo(), o.nome)) {
        const QString nome = indice.section(u'|', 0, 0);
        indici << indice + QLatin1Char('(') + righe(d, sql::copie::kColonneIndice.testo(), nome).join(u',') + QLatin1Char(')');
    }
    indici.sort();
    const QStringList esterne = righe(d, sql::copie::kChiaviEsterne.testo(), o.nome);
    const QStringList p = parti(sql);
    o.resto = QStringLiteral("inizio:") + p.mid(0, 3).join(u' ') + QStringLiteral(" indici:") + indici.join(u';')
        + QStringLiteral(" esterne:") + esterne.join(u';') + QStringLiteral(" vincoli:") + paroleDiVincolo(sql);
}

Descrizione descrivi(QSqlDatabase &d)
{
    QList<Oggetto> oggetti;
    {
        QSqlQuery q(d);
        if (!q.exec(sql::copie::kOggettiSchema.testo()))
            throw CorsiDB::erroreDa(q.lastError(), QStringLiteral("sqlite_master"));
        while (q.next()) {
            Oggetto o;
            o.tipo = q.value(0).toString().toLower();
            o.nome = q.value(1).toString();
            o.tabella = q.value(2).toString().toLower();
            o.resto = q.value(3).toString(); // the SQL, for now
            oggetti << o;
        }
    }
    Descrizione r;
    for (Oggetto &o : oggetti) {
        const QString sql = o.resto;
        if (o.tipo == QLatin1String("table"))
            descriviTabella(d, o, sql);
        else
            o.resto = parti(sql).join(u' ');
        r.insert(o.nome.toLower(), o);
    }
    return r;
}

// A connection of its own for the length of one use.
void conConnessione(const QString &file, bool soloLettura, const std::function<void(QSqlDatabase &)> &uso)
{
    const QString nome = QStringLiteral("schema-") + QUuid::createUuid().toString(QUuid::Id128);
    std::exception_ptr errore;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
        d.setDatabaseName(file);
        if (soloLettura)
            d.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        try {
            if (!d.open())
                throw CorsiDB::erroreDa(d.lastError(), file);
            uso(d);
        } catch (...) {
            errore = std::current_exception();
        }
        d.close();
    }
    QSqlDatabase::removeDatabase(nome);
    if (errore)
        std::rethrow_exception(errore);
}

// The schema the program makes itself, in the shape of the current release or of an
// earlier one that the start-up upgrades bring up to date.
Descrizione schemaDelProgramma(bool conDataAvvio, bool conNumPersone, bool conInvii)
{
    Descrizione r;
    conConnessione(QStringLiteral(":memory:"), false, [&](QSqlDatabase &d) {
        QSqlQuery q(d);
        OpzioniNuovoDatabase opzioni;
        opzioni.versionePrecedente = !conDataAvvio;
        QStringList istruzioni = istruzioniSchema(opzioni);
        if (!conNumPersone)
            istruzioni << sql::copie::kTogliNumPersone.testo();
        if (!conInvii)
            istruzioni << sql::copie::kTogliDomandeDefinitive.testo() << sql::copie::kTogliInvii.testo();
        for (const QString &s : istruzioni)
            if (!q.exec(s))
                throw CorsiDB::erroreDa(q.lastError(), s.left(80));
        q.finish();
        CorsiDB::impostaPassword(d, QStringLiteral("schema"));
        r = descrivi(d);
    });
    return r;
}

QString determinato(const QString &tipo)
{
    if (tipo == QLatin1String("table"))
        return QStringLiteral("la tabella ");
    if (tipo == QLatin1String("view"))
        return QStringLiteral("la vista ");
    if (tipo == QLatin1String("index"))
        return QStringLiteral("l'indice ");
    if (tipo == QLatin1String("trigger"))
        return QStringLiteral("il trigger ");
    return QStringLiteral("l'oggetto ");
}

QString indeterminato(const QString &tipo)
{
    if (tipo == QLatin1String("table"))
        return QStringLiteral("una tabella");
    if (tipo == QLatin1String("view"))
        return QStringLiteral("una vista");
    if (tipo == QLatin1String("index"))
        return QStringLiteral("un indice");
    if (tipo == QLatin1String("trigger"))
        return QStringLiteral("un trigger");
    return QStringLiteral("un oggetto");
}

bool haColonna(const Descrizione &d, const QString &tabella, const QString &colonna)
{
    const auto it = d.constFind(tabella.toLower());
    return it == d.constEnd() || it->tipo != QLatin1String("table") || it->colonne.contains(colonna, Qt::CaseInsensitive);
}

QStringList inMinuscolo(QStringList l)
{
    for (QString &s : l)
        s = s.toLower();
    return l;
}

EsitoConfrontoSchema confronta(const Descrizione &a, const Descrizione &rif)
{
    EsitoConfrontoSchema e;
    auto prima = [&](const QString &d) {
        if (e.differenza.isEmpty())
            e.differenza = d;
    };
    QStringList ordine;
    for (const QString &t : tabelleSchema())
        ordine << t.toLower();
    for (auto it = rif.cbegin(); it != rif.cend(); ++it)
        if (!ordine.contains(it.key()))
            ordine << it.key();
    for (const QString &k : ordine)
        if (rif.value(k).tipo == QLatin1String("table") && !a.contains(k))
            e.tabelleMancanti << rif.value(k).nome;

    // Something else in the place of one of the program's objects: a view for a table ...
    for (const Oggetto &o : a)
        if (const auto it = rif.constFind(o.nome.toLower()); it != rif.constEnd() && it->tipo != o.tipo)
            prima(o.nome + QStringLiteral(" è ") + indeterminato(o.tipo) + QStringLiteral(" al posto di ")
                  + indeterminato(it->tipo));
    // ... then what the program never creates, what can run code first.
    for (const char *tipo : {"trigger", "view", "table", "index"})
        for (const Oggetto &o : a)
            if (o.tipo == QLatin1String(tipo) && !rif.contains(o.nome.toLower()))
                prima(QStringLiteral("contiene ") + determinato(o.tipo) + o.nome + QStringLiteral(", che il programma non crea"));
    for (const QString &k : ordine) {
        const Oggetto r = rif.value(k);
        // The schema's order names tables an earlier shape lacks.
        if (!rif.contains(k))
            continue;
        if (r.tipo != QLatin1String("table") && !a.contains(k))
            prima(QStringLiteral("manca ") + determinato(r.tipo) + r.nome);
    }
    // The tables column by column, then their keys, indexes and constraints.
    for (const QString &k : ordine) {
        const Oggetto r = rif.value(k);
        const auto it = a.constFind(k);
        if (it == a.constEnd() || it->tipo != r.tipo)
            continue;
        const Oggetto &o = *it;
        if (r.tipo == QLatin1String("table")) {
            const QStringList colonne = inMinuscolo(o.colonne), attese = inMinuscolo(r.colonne);
            for (qsizetype i = 0; i < attese.size(); ++i)
                if (!colonne.contains(attese[i]))
                    prima(QStringLiteral("nella tabella ") + r.nome + QStringLiteral(" manca la colonna ") + r.colonne[i]);
            for (qsizetype i = 0; i < colonne.size(); ++i)
                if (!attese.contains(colonne[i]))
                    prima(QStringLiteral("la tabella ") + r.nome + QStringLiteral(" ha la colonna ") + o.colonne[i]
                          + QStringLiteral(", che il programma non crea"));
            if (colonne != attese) {
                prima(QStringLiteral("le colonne della tabella ") + r.nome
                      + QStringLiteral(" non sono nell'ordine del programma"));
                continue;
            }
            for (qsizetype i = 0; i < attese.size(); ++i)
                if (o.definizioni[i] != r.definizioni[i])
                    prima(QStringLiteral("la colonna ") + r.colonne[i] + QStringLiteral(" della tabella ") + r.nome
                          + QStringLiteral(" non è definita come nel programma"));
            if (o.resto != r.resto)
                prima(QStringLiteral("la tabella ") + r.nome
                      + QStringLiteral(" non ha le chiavi, gli indici o i vincoli del programma"));
        } else if (o.resto != r.resto || o.tabella != r.tabella) {
            const bool femminile = r.tipo == QLatin1String("table") || r.tipo == QLatin1String("view");
            prima(determinato(r.tipo) + r.nome
                  + (femminile ? QStringLiteral(" è diversa da quella") : QStringLiteral(" è diverso da quello"))
                  + QStringLiteral(" del programma"));
        }
    }
    return e;
}

} // namespace

EsitoConfrontoSchema confrontaConSchemaProgramma(const QString &file)
{
    Descrizione archivio;
    conConnessione(file, true, [&](QSqlDatabase &d) { archivio = descrivi(d); });
    // The shape the upgrades start from follows the columns they add.
    const bool conDataAvvio = haColonna(archivio, QStringLiteral("CorsiProp"), QStringLiteral("DataAvvio"));
    const bool conNumPersone = haColonna(archivio, QStringLiteral("CorsiHandi"), QStringLiteral("NumPersone"));
    // The tables of the sends came together: an archive has both or, older, neither.
    const bool conInvii = archivio.contains(QStringLiteral("invii")) || archivio.contains(QStringLiteral("domandedefinitive"));
    return confronta(archivio, schemaDelProgramma(conDataAvvio, conNumPersone, conInvii));
}

} // namespace quirdal
