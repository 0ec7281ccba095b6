#pragma once
// "Sez.2 - Sedi Interessate (Facoltà e Sedi Operative)": one sheet per site of the
// operator in the province, walked with first/previous/next/last and a go-to list.
#include "operator/Componente.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace quirdal {

struct Contesto;
class PannelloLaboratori;
class PannelloOre;

class Componen : public QDialog {
    Q_OBJECT
public:
    explicit Componen(Contesto &c, QWidget *padre = nullptr);
    // The sites and the first of them; false (after its message) when there are none.
    bool carica();

protected:
    void reject() override; // Esc and the window's close ask as "Esci"
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void mostraSede(int indice);
    void controllaPulsanti();
    // The form and its record, both ways, over one list of fields.
    struct CampoTesto;
    QList<CampoTesto> campiTesto() const;
    void mostraDati(const DatiSede &d);
    DatiSede datiSchermo() const;
    bool mostraEsito(const EsitoVerifica &e);
    // The basic checks and the write before leaving the current site; false: stay.
    bool lasciaSede();
    void vai(int indice);
    void vaiAllaSede();
    bool salva();
    void esci();
    void comuneLasciato();
    void sceltaComune();
    void comune(const QString &nome, const QString &codice, const QString &sigProv, const QString &cap);
    void direttiveSpuntate(bool spuntato);
    qlonglong codice() const;
    bool componente() const;

    Contesto &m_c;
    QList<Sede> m_sedi;
    int m_indice = -1;
    QStringList m_vociTipo;
    DatiSede m_caricati;
    bool m_solaLettura = false;
    bool m_caricando = false;
    QString m_comuneAllEntrata;

    QTabWidget *SSTab1;
    QLabel *lblComponente, *lblCodComune, *lblProv, *lblSedeOcc, *lblSedeAccreditata, *lblSediOccasionali, *lblAzioni;
    QLineEdit *txtDenominazione, *txtComDes, *txtCap, *txtIndirizzo, *txtTel, *txtFax, *txtRiferimento, *txtPostaElettronica,
        *txtStatoEstero, *txtCittaEstero, *txtNumLocali, *txtAllieviPrevisti;
    QComboBox *cmbTipoCompo;
    QCheckBox *ChkDirettive;
    QFrame *FrmPulsanti;
    PannelloLaboratori *m_laboratori;
    PannelloOre *m_ore;
    QList<QWidget *> m_soloComponente; // the fields an occasional site does not have
    QPushButton *cmdFirst, *cmdPrevious, *cmdNext, *cmdLast, *CmdVai, *cmdSalva, *cmdComu;
};

} // namespace quirdal
