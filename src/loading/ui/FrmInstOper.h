#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quirdal {

struct Contesto;

// "Selezione Operatori": the operators whose data are fetched from the server, with the
// lookup tables.
class frmInstOper : public QDialog {
    Q_OBJECT
public:
    explicit frmInstOper(Contesto &c, QWidget *padre = nullptr);
    // The list starts with these entries (the database's operators, on an update).
    void riempi(const QStringList &voci);
    void setPrompt(const QString &testo);
    QStringList voci() const;
    bool annullato() const { return m_annullato; }
    bool fineProgramma() const { return m_fine; }
    bool scaricato() const { return m_scaricato; }

protected:
    void reject() override;

private:
    void inserisci();
    void cancella();
    void conferma();
    Contesto &m_c;
    bool m_annullato = false, m_fine = false, m_scaricato = false;
    QLabel *lblPrompt;
    QListWidget *LstElenco;
    QLineEdit *TxtGrup, *TxtOper;
    QPushButton *cmdConferma, *cmdAnnulla;
};

// The confirmation after a download.
class frmConferma : public QDialog {
    Q_OBJECT
public:
    // conTabelle: the lookup tables came too (else only the operators' data did).
    explicit frmConferma(bool conTabelle, QWidget *padre = nullptr);
};

} // namespace quirdal
