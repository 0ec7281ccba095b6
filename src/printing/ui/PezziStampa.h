#pragma once
// What the print and send screens share: labels that wrap, the menu-like entries of a button
// and its caption, the frame "Operatore selezionato", and which print the session asks for.
#include <QString>

class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;

namespace quirdal {

struct Contesto;
struct Sessione;

namespace schermistampa {

inline const QString kStampaBozza = QStringLiteral("Stampa Bozza");

QLabel *etichetta(const QString &testo, const char *nome = nullptr);
// A menu-like entry: the button and its caption beside it.
QLabel *voce(QGridLayout *g, int riga, QPushButton *b, const char *nomeEtichetta, const QString &testo);
void attivo(QPushButton *b, QLabel *l, bool si);
// The frame "Operatore selezionato" of the print and send screens.
QGroupBox *operatoreSelezionato(Contesto &c, bool conSede);
// The final print rather than a draft (gTipoStampa).
bool definitiva(const Sessione &s);

} // namespace schermistampa
} // namespace quirdal
