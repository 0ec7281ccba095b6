#pragma once
// What the main menu does on load and on its first activation: caption, SERVER and
// CLIENT marks, the accessibility options, the operator choice and the heading.
#include <QString>
#include <functional>

namespace quirdal {

struct Contesto;

inline const QString kTitoloMenu = QStringLiteral("QUIRDAL - Proposta corsi FSE");

struct StatoMenu {
    QString didascalia;
    bool client = false; // cmdAggInst and cmdRiass disabled, labels grey
};

struct Intestazione {
    QString grupOpe;
    QString operatore;
    QString denominazione; // "-  " + name, cut at 44 characters + "..."
    QString tooltip;       // the full name when cut
    QString provincia;     // "   ( " + gDesProv + " )"
};

class MenuPrincipale {
public:
    explicit MenuPrincipale(Contesto &c) : m_c(c) { }
    // Load: ends the program (FineProgramma) after its message when Versione is invalid.
    StatoMenu carica();
    // First activation: repeats the operator choice until an operator is current.
    // apriSelOpe shows the operator picker modally.
    void primaAttivazione(const std::function<void()> &apriSelOpe, const std::function<void(int)> &apriAiuto);
    Intestazione intestazione() const;

private:
    Contesto &m_c;
};

} // namespace quirdal
