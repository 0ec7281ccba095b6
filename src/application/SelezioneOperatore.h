#pragma once
// The operator picker: its entries, the preselection, and the confirmation that
// writes the choice to the INI and reloads the session.
#include <QString>
#include <QStringList>

namespace quirdal {

struct Contesto;

struct VoceOperatore {
    QString grupOpe;
    QString operatore;
    QString testo; // GrupOpe, two blanks, Operatore, two blanks, Denominazione
};

QList<VoceOperatore> vociOperatori(Contesto &c);
// Index of the current operator's entry, else 0 (-1 for an empty list).
int voceCorrente(const QList<VoceOperatore> &voci, const Contesto &c);
// Group and number read back from an entry's text.
VoceOperatore leggiVoce(const QString &testo);
// Makes the chosen operator current (Conferma).
void confermaOperatore(Contesto &c, const QString &testoVoce);

} // namespace quirdal
