#pragma once
// "Sezione 4 - Schede Handicap": the handicap sheets of the chosen site, one at a time, and
// the list of the sheets it is moved through.
#include "courses/Handicap.h"

#include <QDialog>
#include <array>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quirdal {

struct Contesto;

class frmHandi : public QDialog {
    Q_OBJECT
public:
    explicit frmHandi(Contesto &c, QWidget *padre = nullptr);
    // The lists and the first sheet of the site (a new one when there is none).
    void carica();

protected:
    void reject() override; // Esc and the window's close ask as "Esci"

private:
    SchedaHandicap datiSchermo() const;
    void mostra(const SchedaHandicap &h);
    void nuova();
    bool invariato() const;
    // Unsaved changes: asks whether to save them. False when the user stays.
    bool lascia();
    bool salva();
    void vai();
    void elimina();
    void aggiornaPulsanti();

    Contesto &m_c;
    bool m_solaLettura = false;
    SchedaHandicap m_caricata; // what the screen showed when loaded
    QStringList m_corsi;
    QLabel *lblHandi;
    QComboBox *cmbCorso;
    QLineEdit *txtNumPersone;
    std::array<QComboBox *, 4> cmbDest{};
    QPushButton *cmdNuova, *CmdVai, *cmdSalva, *cmdElimina;
};

// "Elenco schede handicap": the sheets of the site; the chosen sheet's number, nothing when
// cancelled.
class EleHandi : public QDialog {
    Q_OBJECT
public:
    EleHandi(Contesto &c, const QString &corrente, QWidget *padre = nullptr);
    void carica();
    std::optional<QString> scelta() const { return m_scelta; }

private:
    Contesto &m_c;
    QString m_corrente;
    std::optional<QString> m_scelta;
};

} // namespace quirdal
