#pragma once
// The application picker, its summary, the site picker.
#include <QDialog>
#include <QVariantList>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;

namespace quirdal {

struct Contesto;

// "Selezione Domanda": the province of the current operator.
class frmSelDomanda : public QDialog {
    Q_OBJECT
public:
    explicit frmSelDomanda(Contesto &c, QWidget *padre = nullptr);
    // The operator shown and the provinces, from the database.
    void carica();
    bool fineProgramma() const { return m_fine; }

private:
    void conferma();
    Contesto &m_c;
    bool m_fine = false;
    QComboBox *cmbProvince;
    QLabel *lblGrOpe, *lblOpe, *lblDenOpe;
};

// "Riepilogo dati della domanda (schede allegate e totale finanziario)".
class frmRiepDomanda : public QDialog {
    Q_OBJECT
public:
    explicit frmRiepDomanda(Contesto &c, QWidget *padre = nullptr);
    // The counts and totals from the database.
    void carica();
    // The warning of a printed application, shown as the screen opens.
    void avvisaSeStampata();

protected:
    void reject() override; // Esc and the window's close ask as "Esci"
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void confermaDati();
    Contesto &m_c;
    QString m_attiSalvati;
    QVariantList m_domanda; // the application shown: what Conferma dati writes to
    QLineEdit *txtNumATIATS, *txtNumIdSEDE, *txtNumCarCORSI, *txtTotCORSI, *txtTotCOMPL;
    QLabel *lblDescrProv;
};

// "Selezione SEDE INTERESSATA".
class SelComp : public QDialog {
    Q_OBJECT
public:
    explicit SelComp(Contesto &c, QWidget *padre = nullptr);
    // The sites from the database. False when there is nothing to pick (its message has
    // been shown).
    bool carica();
    bool pronta() const { return m_pronta; }
    bool confermata() const { return m_confermata; }
    // In handicap mode, what a valid choice opens over the picker, which stays open.
    void setApriSchede(std::function<void()> apri) { m_apriSchede = std::move(apri); }

private:
    void conferma();
    Contesto &m_c;
    bool m_pronta = false, m_confermata = false;
    std::function<void()> m_apriSchede;
    QComboBox *cmbCompo;
    QLabel *lblDescri;
};

} // namespace quirdal
