#include "db/Consultazioni.h"

#include "db/CatalogoDb.h"
#include "db/CorsiDB.h"

#include <QSqlQuery>
#include <tuple>

namespace quirdal {

QString sigProvProvincia(CorsiDB &db, const QString &prov)
{
    return db.valoreScalare(sql::db::kSigProvProvincia, {prov}).toString();
}

QString sigProvSede(CorsiDB &db, const QString &grupOpe, qlonglong operatore, qlonglong sede)
{
    if (sede < 1000)
        return db.valoreScalare(sql::db::kSigProvComponente, {grupOpe, operatore, sede}).toString();
    return db.valoreScalare(sql::db::kSigProvSedeOcc, {sede}).toString();
}

bool provinciaStampata(CorsiDB &db, const QString &grupOpe, qlonglong operatore, const QString &prov)
{
    return db.valoreScalare(sql::db::kProvinciaStampata, {grupOpe, operatore, prov}).toInt() > 0;
}

bool operatoreBloccato(CorsiDB &db, const QString &grupOpe, qlonglong operatore)
{
    return db.valoreScalare(sql::db::kOperatoreBloccato, {grupOpe, operatore}).toInt() > 0;
}

std::optional<bool> componenteBloccato(CorsiDB &db, const QString &grupOpe, qlonglong operatore, qlonglong componente)
{
    const QString prov = db.valoreScalare(sql::db::kProvinciaComponente, {grupOpe, operatore, componente}).toString();
    if (prov.isEmpty())
        return std::nullopt;
    return provinciaStampata(db, grupOpe, operatore, prov);
}

std::optional<bool> sedeOccasionaleBloccata(CorsiDB &db, qlonglong sedeOcc)
{
    QSqlQuery q = db.seleziona(sql::db::kUtentiSedeOcc, {sedeOcc});
    bool trovata = false, bloccata = false;
    QList<std::tuple<QString, qlonglong, QString>> utenti;
    while (q.next()) {
        if (q.value(2).toString().isEmpty())
            continue;
        trovata = true;
        utenti.append({q.value(0).toString(), q.value(1).toLongLong(), q.value(2).toString()});
    }
    q.finish();
    for (const auto &[g, o, p] : utenti)
        bloccata = bloccata || provinciaStampata(db, g, o, p);
    if (!trovata)
        return std::nullopt;
    return bloccata;
}

} // namespace quirdal
