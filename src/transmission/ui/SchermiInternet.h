#pragma once
// The screens that talk to the region's secure server.
#include "transmission/Invii.h"

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace quirdal {

struct Contesto;

// "Recupero numero Domanda": obtains the number of a new application.
class FrmnReg : public QDialog {
    Q_OBJECT
public:
    FrmnReg(Contesto &c, QString prov, QWidget *padre = nullptr);
    bool ottenuto() const { return m_ottenuto; }
    bool fineProgramma() const { return m_fine; }

private:
    void richiedi();
    Contesto &m_c;
    QString m_prov;
    bool m_ottenuto = false, m_fine = false;
    bool m_inCorso = false, m_annulla = false; // Annulla during a request stops the request
    QLabel *lblAttesa;
    QProgressBar *PgrBar;
};

// "Invio delle domande": version check and upload of the application.
class frmInet : public QDialog {
    Q_OBJECT
public:
    explicit frmInet(Contesto &c, QWidget *padre = nullptr);

private:
    void invia();
    void orbide();
    // The earlier sends of the application, oldest first, each copy checked against its record.
    void caricaInvii();
    void apriRicevutaScelta();
    Contesto &m_c;
    bool m_inCorso = false, m_annulla = false;
    QLineEdit *txFrom;
    QLabel *lblPercent;
    QPushButton *Cmd_Send;
    QTreeWidget *lstInvii;
    QPushButton *cmdRicevuta;
    QList<Invio> m_invii;
};

// "Impostazione Proxy".
class FrmProxy : public QDialog {
    Q_OBJECT
public:
    explicit FrmProxy(Contesto &c, QWidget *padre = nullptr);

private:
    void salva();
    void analizza();
    Contesto &m_c;
    QRadioButton *optWindows, *optServer;
    QLineEdit *txtproxy, *TxtPorta;
};

} // namespace quirdal
