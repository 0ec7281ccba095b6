#pragma once
#include "support/Assistenza.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTextBrowser;

namespace quirdal {

struct Contesto;

// The assistance request: the user's contact data and problem, the system data gathered
// by the screen, sent to the help desk, with or without the database attached.
class frmEmail : public QDialog {
    Q_OBJECT
public:
    explicit frmEmail(Contesto &c, QWidget *padre = nullptr);
    // Load: the stored address and the system data.
    void carica();

private:
    RichiestaAssistenza richiesta() const;
    void vaiAlCampo(const QString &campo);
    void invia();
    void inviaConBaseDati();
    void esci();

    Contesto &m_c;
    DatiSistema m_dati;
    bool m_inCorso = false, m_annulla = false;
    QLineEdit *txtMittente, *txtOggetto, *txtNumTel, *TxtRif;
    QPlainTextEdit *TxtProb, *TxtMessaggioFX;
    QLabel *lblArresto; // a crash report waiting to be offered
    QPushButton *cmdInvia, *cmdInviaDB, *cmdEsci;
};

// The browser screen: a page the server returned, or the request with the database
// attached, started with LogIn.
class Browser : public QDialog {
    Q_OBJECT
public:
    explicit Browser(Contesto &c, QWidget *padre = nullptr);
    // Shows a page written by the program (ErrServer.html); no request.
    void mostraFile(const QString &file);
    // Shows a reply as it came: a page, or a text.
    void mostraRisposta(const QString &risposta);
    // The request LogIn sends, with the crash report the user chose to attach.
    void impostaRichiesta(const DatiSistema &d, const RichiestaAssistenza &r,
                          const std::optional<RapportoArresto> &rapporto = std::nullopt);
    // The request went and the server took it.
    bool inviata() const { return m_inviata; }

private:
    void logIn();

    Contesto &m_c;
    DatiSistema m_dati;
    RichiestaAssistenza m_richiesta;
    std::optional<RapportoArresto> m_rapporto;
    bool m_inCorso = false, m_annulla = false, m_inviata = false;
    QLabel *lblStato;
    QTextBrowser *WebBrowser;
    QPushButton *cmdLogIn, *cmdEsci;
};

// The menu's "Contatta l'assistenza": its note first, then the request screen.
void apriAssistenza(Contesto &c, QWidget *padre);

} // namespace quirdal
