#pragma once
#include <QDialog>

class QRadioButton;

namespace quirdal {

struct Contesto;

// "Versione dell'applicativo": SERVER or CLIENT.
class frmServerClient : public QDialog {
    Q_OBJECT
public:
    explicit frmServerClient(Contesto &c, QWidget *padre = nullptr);
    bool fineProgramma() const { return m_fine; }

protected:
    void reject() override;

private:
    void ok();
    Contesto &m_c;
    bool m_fine = false;
    QRadioButton *optServer;
    QRadioButton *optClient;
};

} // namespace quirdal
