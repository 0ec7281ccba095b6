#pragma once
// Keeps the crash report's "screen in use" up to date: whenever a window of the program
// becomes the active one, its name and title are recorded (with the window it stands on,
// for a dialog or a message).
#include <QString>

class QWidget;

namespace quirdal {

// The description recorded for a window: objectName (its class when it has none), its
// title in quotes, then " su " and the same for the window it belongs to, if any.
QString descrizioneSchermata(const QWidget *finestra);
// From now on, every change of active window is recorded. Needs the QApplication.
void seguiSchermataInUso();

} // namespace quirdal
