#include "startup/ui/Applicazione.h"

int main(int argc, char **argv) { return quirdal::eseguiProgramma(argc, argv); }
