#pragma once
// The small pieces the component sheet and its panels are built from, named for the tests
// and for the sheet's own lookups by objectName.
#include <QStringList>

class QLabel;
class QLineEdit;
class QScrollArea;
class QTableWidget;
class QWidget;

namespace quirdal {

// A framed label that shows a value (or a plain one when riquadro is false).
QLabel *etichetta(const char *nome, bool riquadro = true);
// A text field of at most lunghezza characters.
QLineEdit *campo(const char *nome, int lunghezza);
// A read-only grid of whole rows, one selected at a time.
QTableWidget *griglia(const char *nome, const QStringList &intestazioni);
// A tab page that scrolls rather than clip its fields on a small screen.
QScrollArea *scorrevole(QWidget *pagina);

} // namespace quirdal
