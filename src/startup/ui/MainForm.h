#pragma once
#include "startup/MenuPrincipale.h"

#include <QHash>
#include <QLabel>
#include <QMainWindow>

class QCalendarWidget;
class QPushButton;
class QTimer;

namespace quirdal {

struct Contesto;

// A label that does what its button does when clicked.
class EtichettaCliccabile : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
Q_SIGNALS:
    void clicked();
protected:
    void mouseReleaseEvent(QMouseEvent *e) override;
};

// The main window with the main menu `Main` as its central widget.
class MDI_Main : public QMainWindow {
    Q_OBJECT
public:
    explicit MDI_Main(Contesto &c, QWidget *padre = nullptr);
    // Load: caption, marks, CLIENT restrictions. Throws FineProgramma (before the
    // event loop) on an invalid Versione.
    void carica();
    // First activation: operator choice and heading.
    void primaAttivazione();
    void aggiornaIntestazione();

private:
    QPushButton *aggiungiVoce(const QString &pulsante, const QString &etichetta, const QString &testo, int riga, int colonna);
    void apriSelOpe();
    void selezioneDomanda();
    void riepilogo();
    void sedi(const QString &modo);
    void aggiornaDaServer();
    void terminaProgramma();
    void aiuto();
    QList<QWidget *> vociMenu() const; // the menu's buttons and labels
    void collegamento(const QString &descrizione, const QString &indirizzo);

    Contesto &m_c;
    MenuPrincipale m_menu;
    QWidget *Main;
    QLabel *lblGrOpe, *lblOpe, *lblDenOper, *LblProv, *lblCompo, *lblNow;
    EtichettaCliccabile *lblCalendario;
    QCalendarWidget *calendario;
    QWidget *panel_Attesa;
    QWidget *pnlAttesa;
    QLabel *lblAttesaAgg;
    QTimer *Timer;
    QHash<QPushButton *, QLabel *> m_etichette; // each menu button's label
};

} // namespace quirdal
