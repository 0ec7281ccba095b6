#pragma once
// A client-side recordset over a table or a saved query: rows read into memory, moved through, read by name or position (Null kept apart from ""), and
// written back by primary key. An update or delete that finds its row gone raises
// codici::RigaCancellata, so a screen can offer to insert it again.
#include "db/CorsiDB.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace quirdal {

// One term of a recordset's filter: a column of the source compared with a value that
// is always bound, never written into the SQL text.
enum class Confronto { Uguale, Diverso, Minore, MinoreUguale, Maggiore, MaggioreUguale, Nullo, NonNullo };
struct Condizione {
    QString colonna; // a column of the source, plain or "Table.Column"
    Confronto confronto = Confronto::Uguale;
    QVariant valore;
};
using Condizioni = QList<Condizione>;
struct Ordine {
    QString colonna;
    bool discendente = false;
};

// The conditions that select the rows of an operator, a site, a course: the session's
// keys as equalities.
Condizioni condizioniChiave(const QStringList &colonne, const QVariantList &valori);

class Recordset {
public:
    // sorgente: a table or a saved query (view) of the schema.
    Recordset(CorsiDB &db, QString sorgente);

    // Every condition must hold; the rows come in the given order. A column that the
    // source does not have is an error (3265), so no text from outside can reach the SQL.
    void apri(const Condizioni &filtro = {}, const QList<Ordine> &ordine = {});
    void riapri(); // requery with the same filter and order, position kept when possible
    void chiudi();
    bool aperto() const { return m_aperto; }

    // Table whose row an update or delete writes; by default the source itself, or for
    // a saved query its main table.
    void setTabellaAggiornamento(const QString &tabella) { m_tabellaAgg = tabella; }

    int conteggio() const { return m_righe.size(); }
    bool eof() const { return m_pos >= m_righe.size() || m_righe.isEmpty(); }
    bool bof() const { return m_pos < 0 || m_righe.isEmpty(); }
    void primo();
    void ultimo();
    void successivo();
    void precedente();
    void vaiA(int posizione);
    int posizione() const { return m_pos; }

    int numeroCampi() const { return m_campi.size(); }
    QString nomeCampo(int indice) const { return m_campi.value(indice); }
    int indiceCampo(const QString &nome) const; // -1 when absent
    QVariant campo(const QString &nome) const;
    QVariant campo(int indice) const;
    // Text of a field, "" for Null.
    QString testo(const QString &nome) const { return campo(nome).toString(); }
    bool nullo(const QString &nome) const { return campo(nome).isNull(); }

    void imposta(const QString &nome, const QVariant &valore);
    void aggiungiNuovo();
    void aggiorna();   // INSERT of a new row, or UPDATE by key of the current one
    void elimina();    // DELETE by key of the current row
    void annullaModifica();
    bool inModifica() const { return m_modifica; }

private:
    struct Riga {
        QVector<QVariant> valori;
    };
    QString tabellaScrittura() const;
    const Riga &rigaCorrente() const;
    QString alias() const;
    QString colonnaSql(const QString &nome);

    CorsiDB &m_db;
    QString m_sorgente;
    QString m_tabellaAgg;
    Condizioni m_filtro;
    QList<Ordine> m_ordine;
    bool m_aperto = false;
    QStringList m_campi;
    QList<Riga> m_righe;
    int m_pos = -1;
    // Pending change: a copy of the row being edited (or the new row) and its flags.
    bool m_modifica = false;
    bool m_nuova = false;
    Riga m_buffer;
    QVector<bool> m_cambiati;
};

// The main table of a saved query of the schema (its rows are that table's rows),
// empty for anything else.
QString tabellaPrincipaleDi(const QString &vista);

} // namespace quirdal
