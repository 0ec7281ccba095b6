#pragma once
// "2.2 Autocertificazione" of the component sheet: the kinds of laboratory of a component
// and how many of each. A row is added, changed or deleted at once, not with the sheet's
// save; the sheet's room checks count what the grid holds.
#include <QGroupBox>

class QPushButton;
class QTableWidget;

namespace quirdal {

struct Contesto;

class PannelloLaboratori : public QGroupBox {
    Q_OBJECT
public:
    explicit PannelloLaboratori(Contesto &c, QWidget *padre = nullptr);
    // The laboratories of this component, read again.
    void mostra(qlonglong componente);
    // An application printed in final form: no row may change.
    void blocca();

private:
    void aggiorna();
    void nuovo();
    void modifica();
    void elimina();

    Contesto &m_c;
    qlonglong m_componente = 0;
    QTableWidget *grdLab;
    QPushButton *cmdInsLab, *cmdModLab, *cmdCancLab;
};

} // namespace quirdal
