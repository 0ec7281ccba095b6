#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quirdal {

struct Contesto;
struct DatiConnessione;

// "Impostazioni modalità di funzionamento": local or network installation and the
// database, on the first run. A network installation keeps its database either in a shared
// file or on a PostgreSQL server, which the screen tries before it accepts it.
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
    void salvaServer();
    void aggiornaCampi();
    // Writes the engine into the INI; when it cannot, the message and the end of the program.
    bool scriviMotore(const DatiConnessione &dove);

    Contesto &m_c;
    QString m_percorso;
    bool m_attivato = false;
    bool m_fine = false;
    QRadioButton *opt_Locale;
    QRadioButton *opt_InRete;
    QLabel *Label2;
    QLineEdit *txtDatabase;
    QPushButton *cmdSfoglia;
    QWidget *fMotore;
    QRadioButton *optFileCondiviso;
    QRadioButton *optServerDb;
    QWidget *fServer;
    QLineEdit *txtHost;
    QLineEdit *txtPorta;
    QLineEdit *txtNomeDb;
    QLineEdit *txtUtente;
    QLineEdit *txtPassword;
};

} // namespace quirdal
