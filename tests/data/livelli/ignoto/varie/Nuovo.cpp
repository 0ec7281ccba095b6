// A folder that belongs to no layer.
#include "common/Errori.h"
