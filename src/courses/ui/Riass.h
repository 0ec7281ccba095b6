#pragma once
// "Riassegnazione Corsi": moves one main course, or every course of a site, to another
// site of the operator in the province.
#include <QDialog>

class QComboBox;
class QRadioButton;

namespace quirdal {

struct Contesto;

class Riass : public QDialog {
    Q_OBJECT
public:
    explicit Riass(Contesto &c, QWidget *padre = nullptr);
    void carica();

private:
    void sedeDaScelta();
    void conferma();

    Contesto &m_c;
    QComboBox *cmbSedeDa, *cmbSedeA, *cmbCorso;
    QRadioButton *OpzTuttiCorsi, *OpzCorso;
};

} // namespace quirdal
