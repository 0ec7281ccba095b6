#include "config/ui/FrmOpzioni.h"
