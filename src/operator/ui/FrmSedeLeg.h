#pragma once
// "Sede Legale": the registered office's contact data.
#include "operator/SedeLegale.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quirdal {

struct Contesto;

class FrmSedeLeg : public QDialog {
    Q_OBJECT
public:
    explicit FrmSedeLeg(Contesto &c, QWidget *padre = nullptr);
    // The registered office from the database; false (after its message) when the
    // operator has none.
    bool carica();

protected:
    void reject() override; // Esc and the window's close ask as "Esci"

private:
    DatiSedeLegale datiSchermo() const;
    void mostra(const DatiSedeLegale &d);
    bool salva();
    bool scrivi(const DatiSedeLegale &d);
    void esci();

    Contesto &m_c;
    DatiSedeLegale m_caricati;
    bool m_solaLettura = false;
    QLabel *lblComponente, *lblCodComune, *lblProv;
    QLineEdit *txtDenominazione, *txtComDes, *txtIndirizzo, *txtCap, *txtTel, *txtFax, *txtRiferimento, *txtPostaElettronica;
    QPushButton *cmdSalva;
};

} // namespace quirdal
