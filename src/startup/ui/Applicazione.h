#pragma once
#include <QString>

namespace quirdal {

// The program folder: QUIRDAL_HOME when set, else the executable's folder.
QString cartellaProgramma();

// Starts the program: start-up, main window, event loop; the end of the program
// closes the windows and then the connection.
int eseguiProgramma(int argc, char **argv);

} // namespace quirdal
