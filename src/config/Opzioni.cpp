#include "config/Opzioni.h"
