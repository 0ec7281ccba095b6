#pragma once
#include <QDialog>

class QLineEdit;

namespace quirdal {

struct Contesto;

// The e-mail address prompt: the stored address, checked, stored again when valid.
class frmMailAggInst : public QDialog {
    Q_OBJECT
public:
    explicit frmMailAggInst(Contesto &c, QWidget *padre = nullptr);
    // The valid address confirmed, "" when cancelled.
    QString indirizzo() const { return m_indirizzo; }

private:
    void conferma();
    Contesto &m_c;
    QLineEdit *txtEMail;
    QString m_indirizzo;
};

} // namespace quirdal
