#include "db/Recordset.h"

#include "db/CatalogoRecordset.h"

#include <QSqlRecord>

namespace quirdal {

Recordset::Recordset(CorsiDB &db, QString sorgente) : m_db(db), m_sorgente(std::move(sorgente)) {}

Condizioni condizioniChiave(const QStringList &colonne, const QVariantList &valori)
{
    Condizioni r;
    for (qsizetype i = 0; i < colonne.size() && i < valori.size(); ++i)
        r.append({colonne[i], Confronto::Uguale, valori[i]});
    return r;
}

namespace {
QString quotato(const QString &nome)
{
    QString n = nome;
    return QLatin1Char('"') + n.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}
} // namespace

QString Recordset::alias() const
{
    // A saved query is seen under the name of its main table, so that conditions written
    // on that table ("CorsiProp.GrupOpe='A'") select its rows.
    const QString principale = tabellaPrincipaleDi(m_sorgente.trimmed());
    return principale.isEmpty() ? m_sorgente.trimmed() : principale;
}

// A column of the source, quoted: its own name, or "Table.Column" naming a column of the
// main table (or one the saved query calls so).
QString Recordset::colonnaSql(const QString &nome)
{
    const QList<Colonna> colonne = m_db.colonne(m_sorgente.trimmed());
    for (const Colonna &c : colonne)
        if (c.nome.compare(nome, Qt::CaseInsensitive) == 0)
            return quotato(c.nomeEsatto);
    const qsizetype punto = nome.lastIndexOf(QLatin1Char('.'));
    const QString principale = tabellaPrincipaleDi(m_sorgente);
    if (punto > 0) {
        const QString tabella = nome.left(punto), colonna = nome.mid(punto + 1);
        const QString alias = principale.isEmpty() ? m_sorgente.trimmed() : principale;
        if (tabella.compare(alias, Qt::CaseInsensitive) == 0)
            for (const Colonna &c : colonne)
                if (c.nome.compare(colonna, Qt::CaseInsensitive) == 0)
                    return quotato(c.nomeEsatto);
    }
    throw Errore(3265, QStringLiteral("Elemento '") + nome + QStringLiteral("' non trovato nell'insieme ") + m_sorgente
                           + QLatin1Char('.'));
}

void Recordset::apri(const Condizioni &filtro, const QList<Ordine> &ordine)
{
    m_filtro = filtro;
    m_ordine = ordine;
    m_aperto = false;
    m_modifica = false;
    if (!m_db.esisteTabella(m_sorgente.trimmed()))
        throw Errore(3078, QStringLiteral("Tabella o query '") + m_sorgente + QStringLiteral("' non trovata."));
    QStringList termini;
    QVariantList parametri;
    for (const Condizione &c : filtro) {
        const QString col = colonnaSql(c.colonna);
        switch (c.confronto) {
        case Confronto::Nullo: termini << col + QStringLiteral(" IS NULL"); continue;
        case Confronto::NonNullo: termini << col + QStringLiteral(" IS NOT NULL"); continue;
        case Confronto::Uguale: termini << col + QStringLiteral(" = ?"); break;
        case Confronto::Diverso: termini << col + QStringLiteral(" <> ?"); break;
        case Confronto::Minore: termini << col + QStringLiteral(" < ?"); break;
        case Confronto::MinoreUguale: termini << col + QStringLiteral(" <= ?"); break;
        case Confronto::Maggiore: termini << col + QStringLiteral(" > ?"); break;
        case Confronto::MaggioreUguale: termini << col + QStringLiteral(" >= ?"); break;
        }
        parametri << c.valore;
    }
    const QString condizione = termini.isEmpty() ? QStringLiteral("1 = 1") : termini.join(QStringLiteral(" AND "));
    QStringList ord;
    for (const Ordine &o : ordine)
        ord << colonnaSql(o.colonna) + (o.discendente ? QStringLiteral(" DESC") : QString());
    const IstruzioneCompleta lettura =
        ord.isEmpty() ? completa(sql::recordset::kLeggi, {m_sorgente.trimmed(), alias(), condizione})
                      : completa(sql::recordset::kLeggiInOrdine,
                                 {m_sorgente.trimmed(), alias(), condizione, ord.join(QStringLiteral(", "))});
    QSqlQuery q = m_db.seleziona(lettura, parametri);
    m_campi = m_db.nomiCampi(q.record(), lettura.testo(m_db.motore()), m_sorgente);
    m_righe.clear();
    while (q.next()) {
        Riga r;
        r.valori.resize(m_campi.size());
        for (int i = 0; i < m_campi.size(); ++i)
            r.valori[i] = q.value(i);
        m_righe.append(std::move(r));
    }
    m_pos = m_righe.isEmpty() ? -1 : 0;
    m_aperto = true;
}

void Recordset::riapri()
{
    const int pos = m_pos;
    apri(m_filtro, m_ordine);
    if (pos >= 0 && pos < m_righe.size())
        m_pos = pos;
}

void Recordset::chiudi()
{
    m_aperto = false;
    m_righe.clear();
    m_campi.clear();
    m_pos = -1;
    m_modifica = false;
}

void Recordset::primo() { m_pos = m_righe.isEmpty() ? -1 : 0; }
void Recordset::ultimo() { m_pos = m_righe.isEmpty() ? -1 : static_cast<int>(m_righe.size()) - 1; }
void Recordset::successivo()
{
    if (m_pos < m_righe.size())
        ++m_pos;
}
void Recordset::precedente()
{
    if (m_pos >= 0)
        --m_pos;
}
void Recordset::vaiA(int posizione) { m_pos = posizione; }

int Recordset::indiceCampo(const QString &nome) const
{
    for (int i = 0; i < m_campi.size(); ++i)
        if (m_campi[i].compare(nome, Qt::CaseInsensitive) == 0)
            return i;
    // "Table.Column" also finds a plain "Column" of the main table.
    const int punto = nome.lastIndexOf(QLatin1Char('.'));
    if (punto > 0) {
        const QString semplice = nome.mid(punto + 1);
        for (int i = 0; i < m_campi.size(); ++i)
            if (m_campi[i].compare(semplice, Qt::CaseInsensitive) == 0)
                return i;
    }
    return -1;
}

const Recordset::Riga &Recordset::rigaCorrente() const
{
    if (m_modifica)
        return m_buffer;
    if (m_pos < 0 || m_pos >= m_righe.size())
        throw Errore(3021, QStringLiteral("Nessun record corrente."));
    return m_righe[m_pos];
}

QVariant Recordset::campo(const QString &nome) const
{
    const int i = indiceCampo(nome);
    if (i < 0)
        throw Errore(3265, QStringLiteral("Elemento '") + nome + QStringLiteral("' non trovato nell'insieme."));
    return campo(i);
}

QVariant Recordset::campo(int indice) const
{
    const Riga &r = rigaCorrente();
    if (indice < 0 || indice >= r.valori.size())
        throw Errore(3265, QStringLiteral("Indice di campo %1 fuori intervallo.").arg(indice));
    return r.valori[indice];
}

void Recordset::imposta(const QString &nome, const QVariant &valore)
{
    const int i = indiceCampo(nome);
    if (i < 0)
        throw Errore(3265, QStringLiteral("Elemento '") + nome + QStringLiteral("' non trovato nell'insieme."));
    if (!m_modifica) {
        m_buffer = rigaCorrente();
        m_cambiati = QVector<bool>(m_campi.size(), false);
        m_modifica = true;
        m_nuova = false;
    }
    m_buffer.valori[i] = valore;
    m_cambiati[i] = true;
}

void Recordset::aggiungiNuovo()
{
    if (!m_aperto)
        throw Errore(3704, QStringLiteral("Recordset non aperto."));
    m_buffer = Riga{};
    m_buffer.valori.resize(m_campi.size());
    m_cambiati = QVector<bool>(m_campi.size(), false);
    m_modifica = true;
    m_nuova = true;
}

void Recordset::annullaModifica() { m_modifica = false; }

QString Recordset::tabellaScrittura() const
{
    if (!m_tabellaAgg.isEmpty())
        return m_tabellaAgg;
    const QString principale = tabellaPrincipaleDi(m_sorgente);
    return principale.isEmpty() ? m_sorgente.trimmed() : principale;
}

namespace {
// The recordset's field that holds a column of the written table: its plain name or
// "Table.Column".
int campoPerColonna(const QStringList &campi, const QString &tabella, const QString &colonna)
{
    const QString qualificato = tabella + QLatin1Char('.') + colonna;
    for (int i = 0; i < campi.size(); ++i)
        if (campi[i].compare(qualificato, Qt::CaseInsensitive) == 0)
            return i;
    for (int i = 0; i < campi.size(); ++i)
        if (campi[i].compare(colonna, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
} // namespace

void Recordset::aggiorna()
{
    if (!m_modifica)
        return;
    const QString tabella = tabellaScrittura();
    const QList<Colonna> cols = m_db.colonne(tabella);
    QStringList nomi, segnaposto;
    QVariantList valori;
    QList<Colonna> chiave;
    for (const Colonna &c : cols) {
        const int i = campoPerColonna(m_campi, tabella, c.nome);
        if (c.posizioneChiave > 0)
            chiave.append(c);
        if (i < 0 || !m_cambiati[i])
            continue;
        nomi << c.nome;
        segnaposto << QStringLiteral("?");
        valori << CorsiDB::convertiPerColonna(c, m_buffer.valori[i]);
    }
    if (m_nuova) {
        if (nomi.isEmpty())
            throw Errore(3058, QStringLiteral("Nessun valore da inserire."));
        m_db.esegui(completa(sql::recordset::kAggiungi,
                             {tabella, nomi.join(QStringLiteral(", ")), segnaposto.join(QStringLiteral(", "))}),
                    valori);
        m_righe.append(m_buffer);
        m_pos = static_cast<int>(m_righe.size()) - 1;
        m_modifica = false;
        return;
    }
    if (chiave.isEmpty())
        throw Errore(3027, QStringLiteral("Impossibile aggiornare la tabella ") + tabella
                               + QStringLiteral(": nessuna chiave primaria."));
    if (!nomi.isEmpty()) {
        QStringList set, where;
        for (const QString &n : nomi)
            set << n + QStringLiteral(" = ?");
        QVariantList parametri = valori;
        // The row is identified by the key it had when read (update criteria: key only).
        const Riga &originale = m_righe[m_pos];
        for (const Colonna &k : chiave) {
            const int i = campoPerColonna(m_campi, tabella, k.nome);
            if (i < 0)
                throw Errore(3027, QStringLiteral("Chiave ") + k.nome + QStringLiteral(" assente dall'insieme."));
            where << k.nome + QStringLiteral(" = ?");
            parametri << originale.valori[i];
        }
        const int n = m_db.esegui(completa(sql::recordset::kRiscrivi,
                                           {tabella, set.join(QStringLiteral(", ")), where.join(QStringLiteral(" AND "))}),
                                  parametri);
        if (n == 0)
            throw Errore(codici::RigaCancellata,
                         QStringLiteral("Il record è stato cancellato da un'altra postazione."));
    }
    m_righe[m_pos] = m_buffer;
    m_modifica = false;
}

void Recordset::elimina()
{
    const QString tabella = tabellaScrittura();
    const Riga &r = rigaCorrente();
    QStringList where;
    QVariantList parametri;
    const QList<Colonna> chiave = m_db.chiavePrimaria(tabella);
    if (chiave.isEmpty())
        throw Errore(3027, QStringLiteral("Impossibile eliminare dalla tabella ") + tabella
                               + QStringLiteral(": nessuna chiave primaria."));
    for (const Colonna &k : chiave) {
        const int i = campoPerColonna(m_campi, tabella, k.nome);
        if (i < 0)
            throw Errore(3027, QStringLiteral("Chiave ") + k.nome + QStringLiteral(" assente dall'insieme."));
        where << k.nome + QStringLiteral(" = ?");
        parametri << r.valori[i];
    }
    const int n = m_db.esegui(completa(sql::recordset::kElimina, {tabella, where.join(QStringLiteral(" AND "))}),
                              parametri);
    if (n == 0)
        throw Errore(codici::RigaCancellata, QStringLiteral("Il record è già stato cancellato da un'altra postazione."));
    m_modifica = false;
    m_righe.removeAt(m_pos);
    if (m_pos >= m_righe.size())
        m_pos = static_cast<int>(m_righe.size()); // EOF, as after a delete of the last row
}

} // namespace quirdal
