// The database's description of itself: its tables, columns, keys and saved queries on
// either engine, and a value converted to the type of the column it goes into.
#include "db/CorsiDB.h"

#include "db/CatalogoConnessione.h"
#include "db/Schema.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

#include <cmath>

namespace quirdal {

namespace tipiAdo {
bool eTesto(int t) { return t == 129 || t == 130 || t == 200 || t == 201 || t == 202 || t == 203; }
bool eNumerico(int t) { return t == SmallInt || t == Integer || t == Double || t == Currency || t == Boolean || t == TinyInt; }
} // namespace tipiAdo

namespace cn = sql::connessione;

namespace {

// A name as the schema writes them without quotes: letters, digits and '_'.
bool nomeSemplice(const QString &nome)
{
    static const QRegularExpression semplice(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return semplice.match(nome).hasMatch();
}

void tipoDaDichiarato(Colonna &c)
{
    static const QRegularExpression reDim(QStringLiteral("\\((\\d+)\\)"));
    const QString t = c.tipoDichiarato.toUpper();
    const auto m = reDim.match(t);
    c.dimensione = m.hasMatch() ? m.captured(1).toInt() : 0;
    // The server names its types in full: "character varying(6)", "character(2)".
    if (t.startsWith(QLatin1String("VARCHAR")) || t.startsWith(QLatin1String("NVARCHAR"))
        || t.startsWith(QLatin1String("CHARACTER VARYING")))
        c.tipo = tipiAdo::VarWChar;
    else if (t.startsWith(QLatin1String("CHAR")) || t.startsWith(QLatin1String("NCHAR")))
        c.tipo = tipiAdo::WChar;
    else if (t.startsWith(QLatin1String("TEXT")) || t.startsWith(QLatin1String("MEMO")) || t.isEmpty())
        c.tipo = tipiAdo::LongVarWChar;
    else if (t.startsWith(QLatin1String("SMALLINT")))
        c.tipo = tipiAdo::SmallInt;
    else if (t.startsWith(QLatin1String("TINYINT")) || t.startsWith(QLatin1String("BYTE")))
        c.tipo = tipiAdo::TinyInt;
    else if (t.startsWith(QLatin1String("INT")) || t.startsWith(QLatin1String("LONG")) || t.startsWith(QLatin1String("BIGINT")))
        c.tipo = tipiAdo::Integer;
    else if (t.startsWith(QLatin1String("DOUBLE")) || t.startsWith(QLatin1String("REAL")) || t.startsWith(QLatin1String("FLOAT")))
        c.tipo = tipiAdo::Double;
    else if (t.startsWith(QLatin1String("DECIMAL")) || t.startsWith(QLatin1String("NUMERIC"))
             || t.startsWith(QLatin1String("CURRENCY")))
        c.tipo = tipiAdo::Currency;
    // SINO: the server's yes/no flag (a smallint that says what it is for).
    else if (t.startsWith(QLatin1String("BIT")) || t.startsWith(QLatin1String("BOOL")) || t == QLatin1String("SINO"))
        c.tipo = tipiAdo::Boolean;
    else if (t.startsWith(QLatin1String("DATE")))
        c.tipo = tipiAdo::Date;
    else
        c.tipo = tipiAdo::LongVarWChar;
}

} // namespace

QList<InfoTabella> CorsiDB::elencoTabelle()
{
    QList<InfoTabella> r;
    QSqlQuery q = seleziona(cn::kElencoTabelle);
    const NomiSchema &nomi = nomiSchema();
    while (q.next()) {
        QString nome = q.value(0).toString();
        if (motore() == Motore::PostgreSQL)
            nome = nomi.tabelle.value(nome.toLower(), nome);
        QString tipo = q.value(1).toString() == QLatin1String("view") ? QStringLiteral("VIEW") : QStringLiteral("TABLE");
        if (nome.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive)
            || nome.startsWith(QLatin1String("MSys"), Qt::CaseInsensitive))
            tipo = QStringLiteral("SYSTEM TABLE");
        r.append({nome, tipo});
    }
    // In the order of SQLite's NOCASE, whatever the server's collation.
    if (motore() == Motore::PostgreSQL)
        std::stable_sort(r.begin(), r.end(),
                         [](const InfoTabella &a, const InfoTabella &b) { return a.nome.toLower() < b.nome.toLower(); });
    return r;
}

bool CorsiDB::esisteTabella(const QString &nome) { return valoreScalare(cn::kEsisteTabella, {nome}).toInt() > 0; }

QList<Colonna> CorsiDB::colonne(const QString &tabella)
{
    const QString k = tabella.toLower();
    if (auto it = m_cacheColonne.constFind(k); it != m_cacheColonne.constEnd())
        return *it;
    if (!esisteTabella(tabella))
        throw Errore(3078, QStringLiteral("Tabella o query '") + tabella + QStringLiteral("' non trovata."));
    const QHash<QString, QString> nomi = nomiSchema().colonne.value(k);
    QList<Colonna> r;
    QSqlQuery q = seleziona(cn::kColonne, {tabella});
    while (q.next()) {
        Colonna c;
        c.nomeEsatto = q.value(0).toString();
        c.nome = c.nomeEsatto;
        if (motore() == Motore::PostgreSQL) {
            const QString conservato = q.value(4).toString();
            c.nome = nomeSemplice(conservato) && conservato.toLower() == c.nomeEsatto.toLower()
                ? conservato
                : nomi.value(c.nomeEsatto.toLower(), c.nomeEsatto);
        }
        c.tipoDichiarato = q.value(1).toString();
        c.obbligatoria = q.value(2).toInt() != 0;
        c.posizioneChiave = q.value(3).toInt();
        tipoDaDichiarato(c);
        r.append(c);
    }
    m_cacheColonne.insert(k, r);
    return r;
}

QHash<QString, QString> CorsiDB::nomiColonne(const QString &tabella)
{
    const QString k = tabella.toLower();
    if (!m_cacheColonne.contains(k) && !esisteTabella(tabella))
        return nomiSchema().colonne.value(k);
    QHash<QString, QString> r;
    for (const Colonna &c : colonne(tabella))
        r.insert(c.nomeEsatto.toLower(), c.nome);
    return r;
}

QStringList CorsiDB::nomiCampi(const QSqlRecord &r, const QString &sql, const QString &sorgente)
{
    QStringList nomi;
    for (int i = 0; i < r.count(); ++i)
        nomi << r.fieldName(i);
    if (motore() != Motore::PostgreSQL)
        return nomi;
    const NomiSchema &schema = nomiSchema();
    // The statement's words, each lower-cased to its first spelling, and the tables it names.
    static const QRegularExpression parola(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
    QHash<QString, QString> parole;
    QStringList tabelle;
    if (!sorgente.isEmpty())
        tabelle << sorgente.trimmed().toLower();
    for (auto it = parola.globalMatch(sql); it.hasNext();) {
        const QString p = it.next().captured();
        const QString m = p.toLower();
        if (!parole.contains(m))
            parole.insert(m, p);
        if (schema.colonne.contains(m) && !tabelle.contains(m))
            tabelle << m;
    }
    // The tables' columns as the database describes them: a column added or a saved query
    // replaced since the schema was made is there with its name.
    QHash<QString, QHash<QString, QString>> colonneTabelle;
    auto colonneDi = [&](const QString &t) -> const QHash<QString, QString> & {
        auto it = colonneTabelle.find(t);
        if (it == colonneTabelle.end())
            it = colonneTabelle.insert(t, nomiColonne(t));
        return *it;
    };
    for (QString &n : nomi) {
        // A name the server kept in capitals was quoted: it is as written.
        if (n != n.toLower())
            continue;
        QString trovato;
        if (!sorgente.isEmpty())
            trovato = colonneDi(tabelle.constFirst()).value(n);
        if (trovato.isEmpty())
            trovato = parole.value(n);
        for (qsizetype t = 0; trovato.isEmpty() && t < tabelle.size(); ++t)
            trovato = colonneDi(tabelle[t]).value(n);
        if (trovato.isEmpty())
            trovato = schema.tutte.value(n);
        if (!trovato.isEmpty())
            n = trovato;
    }
    return nomi;
}

QList<Colonna> CorsiDB::chiavePrimaria(const QString &tabella)
{
    QList<Colonna> r;
    for (const Colonna &c : colonne(tabella))
        if (c.posizioneChiave > 0)
            r.append(c);
    std::sort(r.begin(), r.end(), [](const Colonna &a, const Colonna &b) { return a.posizioneChiave < b.posizioneChiave; });
    return r;
}

bool CorsiDB::esisteColonna(const QString &tabella, const QString &colonna)
{
    for (const Colonna &c : colonne(tabella))
        if (c.nome.compare(colonna, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void CorsiDB::aggiungiColonnaTesto(const QString &tabella, const QString &colonna, int dimensione)
{
    // Nullable, and a zero-length text is a value like any other.
    esegui(completa(cn::kAggiungiColonnaTesto, {tabella, colonna, QString::number(dimensione)}));
    conservaNome(tabella, colonna.toLower(), colonna);
    invalidaCache();
}

void CorsiDB::conservaNome(const QString &tabella, const QString &nomeEsatto, const QString &nome)
{
    if (motore() != Motore::PostgreSQL || nome == nomeEsatto || !nomeSemplice(nome) || !nomeSemplice(nomeEsatto)
        || nome.toLower() != nomeEsatto)
        return;
    esegui(completa(cn::kNomeColonna, {tabella, nomeEsatto, nome}));
}

void CorsiDB::sostituisciQuery(const QString &nome, const QString &select)
{
    const bool propria = !m_transazione;
    if (propria)
        iniziaTransazione();
    try {
        esegui(completa(cn::kEliminaVista, {nome}));
        esegui(istruzioneVista(nome, select));
        if (motore() == Motore::PostgreSQL) {
            // Its columns named as the SELECT spells them, as SQLite gives them back.
            invalidaCache();
            QSqlRecord r;
            const QList<Colonna> colonneVista = colonne(nome);
            for (const Colonna &c : colonneVista)
                r.append(QSqlField(c.nomeEsatto));
            const QStringList nomi = nomiCampi(r, select);
            for (qsizetype i = 0; i < colonneVista.size(); ++i)
                conservaNome(nome, colonneVista[i].nomeEsatto, nomi.value(i));
        }
        if (propria)
            confermaTransazione();
    } catch (...) {
        if (propria)
            annullaTransazione();
        throw;
    }
    invalidaCache();
}

QString CorsiDB::definizioneQuery(const QString &nome) { return valoreScalare(cn::kDefinizioneQuery, {nome}).toString(); }

QVariant CorsiDB::convertiPerColonna(const Colonna &c, const QVariant &valore)
{
    if (valore.isNull() || !valore.isValid())
        return QVariant();
    auto errore = [&]() {
        return Errore(codici::TipoNonCorrispondente,
                      QStringLiteral("Tipo di dati non corrispondente nel campo '") + c.nome + QStringLiteral("' (valore '")
                          + valore.toString() + QStringLiteral("')."));
    };
    if (tipiAdo::eTesto(c.tipo)) {
        const QString t = valore.toString();
        if (c.dimensione > 0 && t.size() > c.dimensione)
            throw Errore(3163,
                         QStringLiteral("Il campo '") + c.nome
                             + QStringLiteral("' è troppo piccolo per accettare la quantità di dati "
                                              "che si è tentato di aggiungere (%1 caratteri su %2).")
                                   .arg(t.size())
                                   .arg(c.dimensione));
        return t;
    }
    if (c.tipo == tipiAdo::Date)
        return valore;
    if (c.tipo == tipiAdo::Boolean) {
        const QString t = valore.toString().trimmed().toUpper();
        if (valore.typeId() == QMetaType::Bool)
            return valore.toBool() ? -1 : 0;
        if (t == QLatin1String("TRUE") || t == QLatin1String("VERO") || t == QLatin1String("S") || t == QLatin1String("-1")
            || t == QLatin1String("1"))
            return -1;
        if (t == QLatin1String("FALSE") || t == QLatin1String("FALSO") || t == QLatin1String("N") || t == QLatin1String("0"))
            return 0;
        throw errore();
    }
    // Numbers: an empty text is no number.
    const QString t = valore.toString().trimmed();
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        throw errore();
    if (c.tipo == tipiAdo::Double || c.tipo == tipiAdo::Currency)
        return d;
    const double arrotondato = std::nearbyint(d); // halves to even
    double min = -2147483648.0, max = 2147483647.0;
    if (c.tipo == tipiAdo::SmallInt) {
        min = -32768;
        max = 32767;
    } else if (c.tipo == tipiAdo::TinyInt) {
        min = 0;
        max = 255;
    }
    if (arrotondato < min || arrotondato > max)
        throw Errore(codici::TipoNonCorrispondente,
                     QStringLiteral("Valore fuori dall'intervallo consentito nel campo '") + c.nome
                         + QStringLiteral("' (valore '") + t + QStringLiteral("')."));
    return static_cast<qlonglong>(arrotondato);
}

} // namespace quirdal
