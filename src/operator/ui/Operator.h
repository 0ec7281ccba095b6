#pragma once
// "Sezione 1 - Operatore": the operator sheet with its three tab pages.
#include "operator/Operatore.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace quirdal {

struct Contesto;

class Operator : public QDialog {
    Q_OBJECT
public:
    explicit Operator(Contesto &c, QWidget *padre = nullptr);
    // The drop-downs and the operator's row; false (after its message) when there is none.
    bool carica();

protected:
    void reject() override; // Esc and the window's close ask as "Esci"
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    QLineEdit *campo(const char *nome, int lunghezza);
    DatiOperatore datiSchermo() const;
    void mostra(const DatiOperatore &d);
    bool salva();
    void esci();
    void luogoLasciato();
    void comuneDiNascita();
    void statoDiNascita();
    void provinciaNascita(bool abilitata);

    Contesto &m_c;
    VociOperatore m_voci;
    DatiOperatore m_caricati;
    bool m_solaLettura = false;
    QString m_luogoAllEntrata; // txtcomleg as it was when it got the focus

    QTabWidget *SSTab1;
    QLabel *lblGrOpe, *lblOpe, *lblCodFisc;
    QComboBox *cmbTOper, *cmbCorrispondenza, *cmbAEco, *CmbProv;
    QLineEdit *txtDenomi, *txtLegNome, *txtcomleg, *txtProvLeg, *txtGGLeg, *txtMMLeg, *txtAALeg;
    QLineEdit *txtContABI, *txtContCAB, *txtContCIN, *txtContIBAN, *txtDesBanca, *txtContAge, *txtIndirAge, *txtNumCC, *txtIntCC;
    QLineEdit *txtProvCC, *txtCodCC, *txtAnnCC, *txtNominativoReferente, *txtCodFiscaleReferente;
    QLineEdit *txtDomPrece, *txtGGPrece, *txtMMPrece, *txtAAPrece, *txtDirettiva, *txtAnnoDirettiva;
    QCheckBox *ckATI;
    QPushButton *cmdComuNasc, *cmdStatoEstero, *cmdSedeLeg, *cmdSalva;
};

} // namespace quirdal
