#pragma once
// The screens of the prints and of the sending: the send screen with its checks, the choice
// of the sites of a draft, the print confirmation, the print screen with its progress and
// cancel, the send confirmation and the delivery screen (final print, copy, send). Each is in
// the file of its name; what they share is in PezziStampa.h.
#include "printing/Stampa.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace quirdal {

struct Contesto;

// "Stampa Modulo e Trasmissione Dati".
class StTrasm : public QDialog {
    Q_OBJECT
public:
    explicit StTrasm(Contesto &c, QWidget *padre = nullptr);
    void carica();
    // The checks of the whole application with the waiting panel and the bar; shows the first
    // problem and returns false.
    bool ControllaDatiDomanda();

private:
    void stampaBozza();
    void invia();
    Contesto &m_c;
    QWidget *panel_Attesa;
    QProgressBar *PB1;
    QPushButton *cmdInvia1;
    QLabel *LblInvia1;
};

// "Stampa Bozza" / "Stampa Originale": every site or one.
class SelBozza : public QDialog {
    Q_OBJECT
public:
    explicit SelBozza(Contesto &c, QWidget *padre = nullptr);
    void carica();

private:
    void conferma();
    Contesto &m_c;
    QRadioButton *OpzTuttiComp, *OpzSelcomp;
    QComboBox *cmbCompoSt;
};

// The print confirmation, with the pause between pages.
class StBozza : public QDialog {
    Q_OBJECT
public:
    explicit StBozza(Contesto &c, QWidget *padre = nullptr);

private:
    void conferma();
    Contesto &m_c;
    QLineEdit *txtIntervallo;
};

// The print running: its progress, and its cancel button.
class ViewStam : public QDialog, private AvanzamentoStampa {
    Q_OBJECT
public:
    ViewStam(Contesto &c, RichiestaStampa richiesta, QWidget *padre = nullptr);
    const EsitoStampa &esito() const { return m_esito; }
    // Once this screen has closed: the PDF written, shown when the print asked for it.
    void mostraPdf(QWidget *padre);

protected:
    void showEvent(QShowEvent *e) override;
    void reject() override; // Esc and the window's close cancel as the button does

private:
    void esegui();
    void pagina(int n, const QString &sezione) override;
    void fase(const QString &testo) override;
    bool annullata() override { return m_annulla; }
    void attendi(long millisecondi) override;

    Contesto &m_c;
    RichiestaStampa m_richiesta;
    EsitoStampa m_esito;
    bool m_avviata = false, m_inCorso = false, m_annulla = false, m_mostra = false;
    QLabel *lblPagina, *lblPag;
    QPushButton *cmAnnStamp;
};

// "Invio domanda": what the sending involves, then the delivery screen.
class Invia : public QDialog {
    Q_OBJECT
public:
    explicit Invia(Contesto &c, QWidget *padre = nullptr);

private:
    Contesto &m_c;
};

// "Invio Domanda": final print, copy of the transmission file, send.
class Trasmis : public QDialog {
    Q_OBJECT
public:
    explicit Trasmis(Contesto &c, QWidget *padre = nullptr);
    void carica();
    void AggiornaTrasmis();

private:
    void stampa();
    void salva();
    void invia();
    Contesto &m_c;
    QPushButton *cmdStampa, *cmdSalva, *cmdSend, *cmdEsci;
    QLabel *lblStampa, *lblSalva, *lblSend, *lblEsci;
};

// The draft of one course of the course sheet.
void stampaBozzaCorso(Contesto &c, const ChiaveCorso &k, QWidget *padre);
// The PDF of a print just written, shown as this build can: in the program's preview where
// Qt PDF is built in (and the file reads as a PDF), else in the system's viewer.
void mostraStampa(Contesto &c, const QString &filePdf, QWidget *padre);

} // namespace quirdal
