// Logic that reaches a screen.
#include "db/CorsiDB.h"
#include "common/ui/Confine.h"
