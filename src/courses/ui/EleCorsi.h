#pragma once
// "Elenco corsi": the courses of the site; the chosen one's key, nothing when cancelled.
#include "courses/Corso.h"

#include <QDialog>
#include <optional>

namespace quirdal {

struct Contesto;

class EleCorsi : public QDialog {
    Q_OBJECT
public:
    EleCorsi(Contesto &c, const ChiaveCorso &corrente, QWidget *padre = nullptr);
    std::optional<ChiaveCorso> scelto() const { return m_scelto; }

private:
    Contesto &m_c;
    std::optional<ChiaveCorso> m_scelto;
};

} // namespace quirdal
