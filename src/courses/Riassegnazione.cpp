#include "courses/Riassegnazione.h"

#include "common/Errori.h"
#include "common/PuntiArresto.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "courses/CatalogoCorsi.h"
#include "courses/Handicap.h"
#include "db/CorsiDB.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace quirdal {

namespace {

const QString kTitolo = QStringLiteral("Riassegnazione Corsi");
const QString kOccasionale = QStringLiteral("   (SEDE OCCASIONALE)");

// The sites of the application in the province, components or occasional sites, that the
// statement chooses: the number, then its columns joined with " - ".
QList<SedeRiassegnazione> sedi(CorsiDB &db, const Sessione &s, bool occasionali, const Istruzione &istruzione,
                               const QVariantList &extra)
{
    QList<SedeRiassegnazione> r;
    QSqlQuery q = db.seleziona(istruzione, s.chiaveDomanda() + extra);
    while (q.next()) {
        QStringList parti;
        for (int i = 0; i < q.record().count(); ++i)
            parti << q.value(i).toString();
        r.append(
            {q.value(0).toLongLong(), occasionali, parti.join(QStringLiteral(" - ")) + (occasionali ? kOccasionale : QString())});
    }
    return r;
}

bool contiene(const QList<SedeRiassegnazione> &sedi, qlonglong n)
{
    for (const SedeRiassegnazione &x : sedi)
        if (x.numero == n)
            return true;
    return false;
}

QStringList corsiDellaSedeDa(CorsiDB &db, const Sessione &s, qlonglong da)
{
    QStringList r;
    QSqlQuery q = db.seleziona(sql::corsi::kCodiciCorsiDellaSede, {s.gGrupOpe, s.numeroOperatore(), da});
    while (q.next())
        r << q.value(0).toString();
    return r;
}

} // namespace

QList<SedeRiassegnazione> sediConCorsi(CorsiDB &db, const Sessione &s)
{
    const QVariantList op = s.chiaveOperatore();
    QList<SedeRiassegnazione> r = sedi(db, s, false, sql::corsi::kComponentiConCorsi, op);
    r += sedi(db, s, true, sql::corsi::kSediOccConCorsi, op);
    std::stable_sort(r.begin(), r.end(), [](const auto &x, const auto &y) { return x.numero < y.numero; });
    return r;
}

QList<SedeRiassegnazione> sediDestinazione(CorsiDB &db, const Sessione &s, qlonglong da)
{
    return sedi(db, s, false, sql::corsi::kComponentiTranne, {da}) + sedi(db, s, true, sql::corsi::kSediOccTranne, {da});
}

QStringList vociCorsiDaSpostare(CorsiDB &db, const Sessione &s, qlonglong da)
{
    QStringList r;
    QSqlQuery q = db.seleziona(sql::corsi::kCorsiDaSpostare, {s.gGrupOpe, s.numeroOperatore(), da});
    while (q.next())
        r << q.value(0).toString() + QLatin1Char('-') + q.value(1).toString();
    return r;
}

qlonglong sedeDellaVoce(const QString &voce)
{
    const qsizetype trattino = voce.indexOf(QStringLiteral(" - "));
    if (trattino < 0)
        return -1;
    bool ok = false;
    const qlonglong n = voce.left(trattino).trimmed().toLongLong(&ok);
    return ok ? n : -1;
}

EsitoVerifica verificaRiassegnazione(CorsiDB &db, const Sessione &s, const Riassegnazione &r)
{
    if (s.gDomandaStampata)
        return EsitoVerifica::errore(QStringLiteral("Domanda già stampata in definitivo.") + CRLF
                                         + QStringLiteral("Non è possibile modificare l'assegnazione dei corsi alle sedi "
                                                          "interessate"),
                                     kTitolo, QString(), -1, Icona::Esclamazione);
    auto rifiuto = [](const QString &testo, const char *campo) {
        return EsitoVerifica::errore(testo, kTitolo, QString::fromLatin1(campo), -1, Icona::Esclamazione);
    };
    if (!contiene(sediConCorsi(db, s), r.da))
        return rifiuto(QStringLiteral("Selezionare la sede da cui spostare il/i corsi"), "cmbSedeDa");
    if (!contiene(sediDestinazione(db, s, r.da), r.a))
        return rifiuto(QStringLiteral("Selezionare la sede su cui spostare il/i corsi"), "cmbSedeA");
    if (!r.tutti) {
        bool trovato = false;
        for (const QString &v : vociCorsiDaSpostare(db, s, r.da))
            trovato |= !r.corso.isEmpty() && v.left(4) == r.corso;
        if (!trovato)
            return rifiuto(QStringLiteral("Selezionare il corso o i corsi da spostare"), "cmbCorso");
    }
    if (serveCompoResp(r.da, r.a)) {
        bool numero = false;
        const qlonglong compo = r.compoResp.trimmed().toLongLong(&numero);
        if (!numero || !contiene(sedi(db, s, false, sql::corsi::kComponenti, {}), compo))
            return rifiuto(QStringLiteral("Selezionare il Componente Responsabile dei corsi spostati nella sede "
                                          "occasionale."),
                           "cmbCompo");
    }
    return {};
}

int riassegnaCorsi(CorsiDB &db, const Sessione &s, const Riassegnazione &r)
{
    Transazione t(db);
    const EsitoVerifica e = verificaRiassegnazione(db, s, r);
    if (!e.valido())
        throw Errore(codici::Generico, e.messaggio);
    const QStringList corsi = r.tutti ? corsiDellaSedeDa(db, s, r.da) : QStringList{r.corso};
    // The responsible component: the one chosen for a move to an occasional site, none at a
    // component, unchanged between occasional sites.
    const Istruzione *sposta = &sql::corsi::kSpostaCorso;
    QVariantList valoreCompo;
    if (serveCompoResp(r.da, r.a)) {
        sposta = &sql::corsi::kSpostaCorsoConResponsabile;
        valoreCompo << r.compoResp.trimmed().toLongLong();
    } else if (r.a < 1000) {
        sposta = &sql::corsi::kSpostaCorsoSenzaResponsabile;
    }
    int righe = 0;
    for (const QString &corso : corsi) {
        const QVariantList dove{s.gGrupOpe, s.numeroOperatore(), r.da, corso};
        righe += db.esegui(*sposta, QVariantList{r.a} + valoreCompo + dove);
        for (const char *tabella : {"CorsiPropSpese", "ValoriChk", "CorsiPropAziende"})
            db.esegui(completa(sql::corsi::kSpostaDelCorso, {QString::fromLatin1(tabella)}), QVariantList{r.a} + dove);
        // The sheets keep their number unless the new site already uses it.
        QList<std::pair<QString, QString>> schede;
        QSqlQuery q = db.seleziona(sql::corsi::kSchedeDelCorso, dove);
        while (q.next())
            schede.append({q.value(0).toString(), q.value(1).toString()});
        q.finish();
        for (const auto &[accorp, handi] : schede) {
            const bool occupato =
                db.valoreScalare(sql::corsi::kSchedaOccupata, {s.gGrupOpe, s.numeroOperatore(), r.a, handi}).toInt() > 0;
            const QString numero = occupato || handi.trimmed().isEmpty() ? prossimoHandi(db, s, r.a) : handi;
            db.esegui(sql::corsi::kSpostaScheda, QVariantList{r.a, numero} + dove + QVariantList{accorp});
        }
        // One course moved, the others not yet.
        puntoDiArresto("riassegna-corso");
    }
    t.conferma();
    return righe;
}

} // namespace quirdal
