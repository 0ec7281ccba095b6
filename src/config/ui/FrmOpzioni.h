#pragma once
#include "config/Opzioni.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace quirdal {

struct Contesto;

// "Opzioni": installation type and database, e-mail and mail server, the
// accessibility options of the labels.
class frmOpzioni : public QDialog {
    Q_OBJECT
public:
    explicit frmOpzioni(Contesto &c, QWidget *padre = nullptr);
    // The installation was changed and saved: the program must end. (Exceptions do not
    // cross the event loop, so the caller checks this after exec().)
    bool fineProgramma() const { return m_fine; }

protected:
    void reject() override; // closing the window is "Annulla"

private:
    void mostra(const ValoriOpzioni &v);
    ValoriOpzioni valori() const;
    void sfoglia();
    void salva();
    void annulla();

    Contesto &m_c;
    bool m_installazioneCambiata = false;
    bool m_cambiato = false;
    bool m_fine = false;
    QRadioButton *optLocale;
    QRadioButton *optMultiutenza;
    QLineEdit *txtDatabase;
    QLineEdit *txtEMail;
    QRadioButton *optServVTZ;
    QRadioButton *optServVTZINT;
    QRadioButton *optMioServ;
    QLineEdit *txtMioServ;
    QCheckBox *ckSottolinea;
    QCheckBox *ckAumenta;
    QCheckBox *ckCambia;
};

} // namespace quirdal
