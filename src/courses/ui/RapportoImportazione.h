#pragma once
// The course sheet's two actions on spreadsheets: the application's courses written to a file,
// and read back from one after a check that lists every problem of the file at once.
#include "courses/FoglioCorsi.h"

#include <QDialog>

class QWidget;

namespace quirdal {

struct Contesto;

inline const QString kTitoloEsportaFoglio = QStringLiteral("Esporta in foglio di calcolo");
inline const QString kTitoloImportaFoglio = QStringLiteral("Importa da foglio di calcolo");

// Asks where, and writes the courses of the current application there (.xlsx or .csv).
void esportaInFoglio(Contesto &c);

// Asks for the file, checks it whole, and when nothing is wrong asks before writing. The report
// of the problems (or, after the import, of the notes) is a list the user can read and copy.
// True when courses were written.
bool importaDaFoglio(Contesto &c, QWidget *padre);

// "Importazione corsi": the outcome, then one line per problem and per note; "Copia" puts
// every line on the clipboard.
class RapportoImportazione : public QDialog {
    Q_OBJECT
public:
    RapportoImportazione(Contesto &c, const QString &file, const EsitoImportazione &e, QWidget *padre = nullptr);
    // The lines of the list, as copied.
    QStringList righe() const { return m_righe; }

private:
    QStringList m_righe;
};

} // namespace quirdal
