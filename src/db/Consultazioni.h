#pragma once
// Look-ups that several parts of the program share.
#include <QString>

namespace quirdal {

class CorsiDB;

// The abbreviation of a province.
QString sigProvProvincia(CorsiDB &db, const QString &prov);
// Of a component's municipality below 1000, of the occasional site's from 1000 up.
QString sigProvSede(CorsiDB &db, const QString &grupOpe, qlonglong operatore, qlonglong sede);

} // namespace quirdal
