// Points up: the database layer may not read the configuration.
#include "common/Errori.h"
#include "config/FileIni.h"
