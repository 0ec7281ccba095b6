#pragma once
// Look-ups that several parts of the program share.
#include <QString>
#include <optional>

namespace quirdal {

class CorsiDB;

// The abbreviation of a province.
QString sigProvProvincia(CorsiDB &db, const QString &prov);
// Of a component's municipality below 1000, of the occasional site's from 1000 up.
QString sigProvSede(CorsiDB &db, const QString &grupOpe, qlonglong operatore, qlonglong sede);

// The lock of an application printed in final form, shared by the sheets, the loaders and
// the prints.
// The operator's application in that province is printed.
bool provinciaStampata(CorsiDB &db, const QString &grupOpe, qlonglong operatore, const QString &prov);
// Some application of the operator is printed.
bool operatoreBloccato(CorsiDB &db, const QString &grupOpe, qlonglong operatore);
// The operator's application in the component's province is printed; nothing when the
// component's province cannot be found.
std::optional<bool> componenteBloccato(CorsiDB &db, const QString &grupOpe, qlonglong operatore, qlonglong componente);
// Some user of the occasional site has printed its application in the site's province;
// nothing when the site's province cannot be found.
std::optional<bool> sedeOccasionaleBloccata(CorsiDB &db, qlonglong sedeOcc);

} // namespace quirdal
