#pragma once
// "Sezione 3 - Corsi Proposti": the courses of the current operator at the chosen site,
// one at a time, with their classification, hours, costs and specific characteristics.
#include "courses/Corso.h"
#include "courses/Elenchi.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace quirdal {

struct Contesto;

class Corsi : public QDialog {
    Q_OBJECT
public:
    explicit Corsi(Contesto &c, QWidget *padre = nullptr);
    // The lists and the first course of the site; false when the sheet must not open.
    bool carica();
    // Where the draft print of one course goes: set by the print engine's owner.
    void setStampaCorso(std::function<void(const ChiaveCorso &)> stampa) { m_stampa = std::move(stampa); }

protected:
    void reject() override; // Esc and the window's close ask as "Esci"
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    struct Anno; // the controls of one year's costs
    void costruisci31(QTabWidget *t);
    void costruisci32(QTabWidget *t);
    void costruisci33(QTabWidget *t);
    void costruisci34(QTabWidget *t);
    void collegaCascata();

    DatiCorso datiSchermo() const;
    void mostra(const DatiCorso &d);
    void pulisci();
    bool invariato() const;
    bool verifica(bool inserimento);
    bool mostraEsito(const EsitoVerifica &e);
    bool salvaSilenzioso();
    bool salva();
    void vai(int indice);
    void vaiAlCorso();
    void inserisci();
    void duplica();
    void elimina();
    void stampa();
    void esci();
    void verificaTutti();
    void riepilogoAccorpati();
    void impostaStato();
    void aggiornaPulsanti();
    // The first page of every tab, and the focus on the field given.
    void primaScheda(QWidget *fuoco);
    void aggiornaAzione();
    void aggiornaLinee();
    void spesePredefinite(bool soloAnniSenzaValori);
    void ricalcolaAnno(int anno);
    void mostraAnno(int anno, const SpeseAnno &s);
    SpeseAnno leggiAnno(int anno) const;

    Contesto &m_c;
    QList<ChiaveCorso> m_corsi;
    int m_indice = -1;
    bool m_vuoto = true, m_inserimento = false, m_memorizzato = false, m_caricando = false, m_primaAttivazione = true;
    bool m_solaLettura = false;
    // The costs of a new course are still the defaults, untouched by the user: they follow
    // the annual hours and the participants as these are typed.
    bool m_speseDiPartenza = false;
    DatiCorso m_caricati;
    LineeAmmesse m_linee;
    std::function<void(const ChiaveCorso &)> m_stampa;

    QLabel *lblCorso, *lblAccorp;
    QProgressBar *ProgrBarSalva;
    QTabWidget *SSTab1;
    QWidget *m_sezioni;
    QComboBox *cmbCompoResp, *cmbQuali, *cmbAsse, *cmbMisura, *cmbAzione, *CmbTipologia, *cmbAccorp, *cmbScol, *cmbSetto,
        *cmbCompa, *cmbOra, *cmbCert, *cmbDurata, *cmbCodIsti, *cmbAmbitoTerr, *cmbSettProd, *cmbFigProf, *cmbCorsoPrec,
        *cmbCorsoMod;
    std::array<QComboBox *, 6> cmbIndi;
    std::array<QCheckBox *, 6> chkIndi;
    std::array<QLineEdit *, 6> txtIndi;
    std::array<QComboBox *, 5> cmbDest;
    std::array<QLineEdit *, 4> txt_34;
    QCheckBox *chkQuali, *chkAccorp, *ChkATS, *chkSPINNonPres, *chkPO_1, *chkCO_1;
    QRadioButton *OptIM_S, *OptIM_N, *optConModSi, *optConModNo;
    QLineEdit *txtQuali, *txtNumAll, *txtDurataAnnOre, *txtTotIter, *txtOreStage, *txtOreLabEsterni, *txtStato,
        *txtGGDataAvvio, *txtMMDataAvvio, *txtAAAADataAvvio, *txtIstitutoLibero, *txtQss;
    QLabel *lblEleAcc;
    QWidget *m_pagina34Inclusione;
    QTabWidget *m_schede34;
    std::array<Anno *, 3> m_anni{};
    QList<std::pair<qlonglong, QCheckBox *>> m_caselle33;
    QPushButton *cmdFirst, *cmdPrevious, *cmdNext, *cmdLast, *CmdVai, *cmdInserisci, *cmdSalva, *cmdDuplica, *cmdElimina,
        *cmdStampa;
};

// "Elenco corsi": the courses of the site; the chosen one's key, nothing when cancelled.
class EleCorsi : public QDialog {
    Q_OBJECT
public:
    EleCorsi(Contesto &c, const ChiaveCorso &corrente, QWidget *padre = nullptr);
    std::optional<ChiaveCorso> scelto() const { return m_scelto; }

private:
    Contesto &m_c;
    std::optional<ChiaveCorso> m_scelto;
};

} // namespace quirdal
