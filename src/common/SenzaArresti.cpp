// Linked into the installed programs only: no stop point ever acts (see PuntiArresto.h).
#include "common/PuntiArresto.h"

namespace quirdal {

void puntoDiArresto(const char *) { }

} // namespace quirdal
