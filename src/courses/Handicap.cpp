#include "courses/Handicap.h"

#include "common/Errori.h"
#include "common/Sessione.h"
#include "courses/CatalogoCorsi.h"
#include "courses/Elenchi.h"
#include "courses/VerificaCorso.h"
#include "db/CorsiDB.h"

#include <QSet>
#include <QSqlQuery>

namespace quirdal {

namespace {

const QString kTitolo = QStringLiteral("Schede Handicap");
const QString kStampata =
    QStringLiteral("Domanda già inviata alla Provincia: i dati delle schede handicap non sono modificabili.");

QString testo(const QVariant &v) { return v.isNull() ? QString() : v.toString(); }

QVariantList chiaveScheda(const Sessione &s, const QString &handi) { return s.chiaveSede() + QVariantList{handi}; }

} // namespace

void segnaSchedaHandicap(CorsiDB &db, const Sessione &s, const ChiaveCorso &k)
{
    db.esegui(sql::corsi::kSegnaScheda, {s.gGrupOpe, s.numeroOperatore(), k.sede, k.corso, k.accorp});
}

int segnaSchedeHandicap(CorsiDB &db) { return db.esegui(sql::corsi::kSegnaSchede); }

QStringList vociCorsiConScheda(CorsiDB &db, const Sessione &s)
{
    QStringList r;
    QSqlQuery q = db.seleziona(sql::corsi::kCorsiConScheda, s.chiaveSede());
    while (q.next())
        r << q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString() + QStringLiteral(" - ") + q.value(2).toString();
    return r;
}

QStringList vociEleHandi(CorsiDB &db, const Sessione &s)
{
    QStringList r;
    QSqlQuery q = db.seleziona(sql::corsi::kVociSchede, s.chiaveSede());
    while (q.next())
        r << q.value(0).toString() + QStringLiteral(" - ") + testo(q.value(1));
    return r;
}

QStringList vociDestinatariHandicap(CorsiDB &db)
{
    QStringList r;
    QSqlQuery q = db.seleziona(sql::corsi::kDestinatariScheda);
    while (q.next())
        r << q.value(0).toString() + QStringLiteral("  ") + q.value(1).toString();
    return r;
}

std::optional<SchedaHandicap> caricaSchedaHandicap(CorsiDB &db, const Sessione &s, const QString &handi)
{
    QSqlQuery q = db.seleziona(sql::corsi::kScheda, chiaveScheda(s, handi));
    if (!q.next())
        return std::nullopt;
    SchedaHandicap h;
    h.handi = q.value(0).toString();
    h.corso = {q.value(1).toLongLong(), q.value(2).toString(), q.value(3).toString()};
    h.numPersone = q.value(4).toLongLong();
    for (int i = 0; i < 4; ++i)
        h.codDest[i] = testo(q.value(5 + i)).trimmed();
    return h;
}

QString prossimoHandi(CorsiDB &db, const Sessione &s, qlonglong sede)
{
    const QVariant ultimo = db.valoreScalare(sql::corsi::kUltimaScheda, {s.gGrupOpe, s.numeroOperatore(), sede});
    return QString::number(ultimo.isNull() ? 1 : ultimo.toLongLong() + 1).rightJustified(4, QLatin1Char('0'));
}

EsitoVerifica verificaSchedaHandicap(CorsiDB &db, const Sessione &s, const SchedaHandicap &h)
{
    if (h.corso.corso.isEmpty())
        return EsitoVerifica::errore(QStringLiteral("Selezionare il corso a cui si riferisce la scheda handicap."), kTitolo,
                                     QStringLiteral("cmbCorso"));
    QSqlQuery q = db.seleziona(sql::corsi::kCorsoDellaScheda,
                               {s.gGrupOpe, s.numeroOperatore(), s.numeroSede(), h.corso.corso, h.corso.accorp});
    if (!q.next() || h.corso.sede != s.numeroSede())
        return EsitoVerifica::errore(QStringLiteral("Il corso scelto non è più presente nella sede selezionata."), kTitolo,
                                     QStringLiteral("cmbCorso"));
    if (q.value(0).toInt() != 1)
        return EsitoVerifica::errore(QStringLiteral("Il corso scelto non prevede l'integrazione di persone portatrici di "
                                                    "handicap."),
                                     kTitolo, QStringLiteral("cmbCorso"));
    const qlonglong allievi = q.value(1).toLongLong();
    q.finish();
    const QVariant altra =
        db.valoreScalare(sql::corsi::kAltraSchedaDelCorso,
                         {s.gGrupOpe, s.numeroOperatore(), s.numeroSede(), h.corso.corso, h.corso.accorp, h.handi});
    if (altra.isValid() && !altra.isNull())
        return EsitoVerifica::errore(QStringLiteral("Per il corso scelto è già presente la scheda handicap ") + altra.toString()
                                         + QLatin1Char('.'),
                                     kTitolo, QStringLiteral("cmbCorso"));
    if (h.numPersone <= 0)
        return EsitoVerifica::errore(QStringLiteral("Indicare il numero di persone portatrici di handicap da integrare nel "
                                                    "corso."),
                                     kTitolo, QStringLiteral("txtNumPersone"));
    if (h.numPersone > allievi)
        return EsitoVerifica::errore(QStringLiteral("Il numero di persone portatrici di handicap non può superare il numero "
                                                    "di allievi previsto dal corso (")
                                         + QString::number(allievi) + QStringLiteral(")."),
                                     kTitolo, QStringLiteral("txtNumPersone"));
    QSet<QString> visti;
    for (int i = 0; i < 4; ++i) {
        const QString codice = h.codDest[i].trimmed();
        if (codice.isEmpty())
            continue;
        const QString campo = campoElemento("cmbDest", i);
        if (visti.contains(codice))
            return EsitoVerifica::errore(QStringLiteral("Destinatario indicato più volte."), kTitolo, campo);
        visti.insert(codice);
        bool numero = false;
        codice.toLongLong(&numero);
        if (!numero || db.valoreScalare(sql::corsi::kDestinatarioEsiste, {codice.toLongLong()}).toInt() == 0)
            return EsitoVerifica::errore(QStringLiteral("Destinatario non presente nella tabella dei destinatari."), kTitolo,
                                         campo);
    }
    if (visti.isEmpty())
        return EsitoVerifica::errore(QStringLiteral("Indicare almeno un destinatario della scheda handicap."), kTitolo,
                                     campoElemento("cmbDest", 0));
    return {};
}

QString scriviSchedaHandicap(CorsiDB &db, const Sessione &s, const SchedaHandicap &h)
{
    if (s.gDomandaStampata)
        throw Errore(codici::Generico, kStampata);
    Transazione t(db);
    const EsitoVerifica e = verificaSchedaHandicap(db, s, h);
    if (!e.valido())
        throw Errore(codici::Generico, e.messaggio);
    // The recipients close up: the empty ones go last.
    QStringList dest;
    for (const QString &d : h.codDest)
        if (!d.trimmed().isEmpty())
            dest << d.trimmed();
    while (dest.size() < 5)
        dest << QString();
    QVariantList valori{h.corso.corso, h.corso.accorp, h.numPersone};
    for (const QString &d : dest)
        valori << (d.isEmpty() ? QVariant() : QVariant(d));
    QString handi = h.handi;
    if (handi.isEmpty()) {
        handi = prossimoHandi(db, s, s.numeroSede());
        db.esegui(sql::corsi::kInserisciScheda, valori + chiaveScheda(s, handi));
    } else if (db.esegui(sql::corsi::kAggiornaScheda, valori + chiaveScheda(s, handi)) == 0) {
        throw Errore(codici::RigaCancellata, QStringLiteral("La scheda handicap è stata cancellata da un'altra postazione."));
    }
    t.conferma();
    return handi;
}

bool cancellaSchedaHandicap(CorsiDB &db, const Sessione &s, const QString &handi)
{
    if (s.gDomandaStampata)
        throw Errore(codici::Generico, kStampata);
    Transazione t(db);
    const int tolte = db.esegui(sql::corsi::kCancellaScheda, chiaveScheda(s, handi));
    t.conferma();
    return tolte > 0;
}

} // namespace quirdal
