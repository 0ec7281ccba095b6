#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quirdal {

struct Contesto;

// "Impostazioni modalità di funzionamento": local or network installation and the
// database file, on the first run.
class Frm_Impostazioni : public QDialog {
    Q_OBJECT
public:
    explicit Frm_Impostazioni(Contesto &c, QWidget *padre = nullptr);
    // The user chose to stop the installation: the program must end. (Exceptions do
    // not cross the event loop, so the caller checks this after exec().)
    bool fineProgramma() const { return m_fine; }

protected:
    void showEvent(QShowEvent *e) override;
    void reject() override; // closing the window asks as "Esci dall'installazione"

private:
    void sfoglia();
    void salva();
    void esci();
    void aiuto();

    Contesto &m_c;
    QString m_percorso;
    bool m_attivato = false;
    bool m_fine = false;
    QRadioButton *opt_Locale;
    QRadioButton *opt_InRete;
    QLineEdit *txtDatabase;
};

} // namespace quirdal
