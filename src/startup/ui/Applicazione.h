#pragma once
#include <QObject>
#include <QString>
#include <memory>

namespace quirdal {

struct Contesto;

// The help for the whole program: F1 on every screen, and the help window's size and
// place kept in the user's settings. Lasts as long as the returned object.
std::unique_ptr<QObject> installaAiuto(Contesto &c);

// Starts the program: start-up, main window, event loop; the end of the program
// closes the windows and then the connection.
int eseguiProgramma(int argc, char **argv);

} // namespace quirdal
