#pragma once
// quirdal-cli riassegna: the move of courses between sites, with the checks of the menu
// entry and of the screen.
#include <QStringList>

namespace quirdal {

struct Contesto;

// --prov P --grupope G --operatore N --da SEDE --a SEDE --corso CCCC|TUTTI [--compo-resp C].
// 0 moved, 1 refused or failed, 2 wrong usage.
int comandoRiassegna(Contesto &c, const QStringList &argomenti);

} // namespace quirdal
