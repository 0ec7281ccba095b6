#pragma once
#include <QString>

namespace quirdal {

// Starts the program: start-up, main window, event loop; the end of the program
// closes the windows and then the connection.
int eseguiProgramma(int argc, char **argv);

} // namespace quirdal
