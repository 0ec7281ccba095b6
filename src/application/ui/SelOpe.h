#pragma once
#include <QDialog>

class QComboBox;

namespace quirdal {

struct Contesto;

// "Selezione Operatore".
class SelOpe : public QDialog {
    Q_OBJECT
public:
    explicit SelOpe(Contesto &c, QWidget *padre = nullptr);
    // The operators from the database, the current one chosen.
    void carica();

private:
    void conferma();
    Contesto &m_c;
    QComboBox *cmbOpe;
};

} // namespace quirdal
