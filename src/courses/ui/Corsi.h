#pragma once
// "Sezione 3 - Corsi Proposti": the courses of the current operator at the chosen site,
// one at a time, with their classification, hours, costs and specific characteristics.
// The sheet moves between the courses, saves, inserts, copies, deletes and prints them; each
// section of the course is a page of its own (Sezione31 to Sezione34), and the copy between
// the pages and the course (DatiCorso) is mostra() and datiSchermo() here.
#include "courses/Corso.h"
#include "courses/ui/CampiCorso.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QWidget;

namespace quirdal {

struct Contesto;
struct EsitoVerifica;
class Sezione31;
class Sezione32;
class Sezione33;
class Sezione34;

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

private:
    void collegaSezioni();

    // The course and the screen.
    DatiCorso datiSchermo() const;
    void mostra(const DatiCorso &d);
    void pulisci();
    bool invariato() const;

    // The mode, and what it allows.
    bool inserimento() const { return m_stato.modo == Modo::Inserimento; }
    bool solaLettura() const { return m_stato.solaLettura(); }
    // No course on the sheet: the site has none and none is being entered.
    bool nessunCorso() const;
    // A stored course is on the sheet.
    bool corsoMemorizzato() const { return !nessunCorso() && !inserimento(); }
    void impostaStato();
    void aggiornaPulsanti();
    // The first page of every tab, and the focus on the field given.
    void primaScheda(QWidget *fuoco);

    // What one section's choice changes in the others.
    void azioneCambiata();
    void aggiornaLinee();
    void spesePredefinite(bool soloAnniSenzaValori);

    // The buttons.
    bool verifica(bool inserimento);
    bool mostraEsito(const EsitoVerifica &e);
    bool salvaSilenzioso();
    bool salva();
    // The course written, with what another workstation did meanwhile: a course it deleted
    // can be put back; left deleted, nothing is written and the sheet shows what the site
    // has left.
    std::optional<ChiaveCorso> scrivi(const DatiCorso &d);
    // The site's courses read again, the one at the same place (or the last) shown.
    void ricarica();
    void vai(int indice);
    void vaiAlCorso();
    void inserisci();
    void duplica();
    void elimina();
    void stampa();
    void esci();
    void verificaTutti();
    void riepilogoAccorpati();
    void esportaFoglio();
    void importaFoglio();

    Contesto &m_c;
    StatoScheda m_stato;
    QList<ChiaveCorso> m_corsi;
    int m_indice = -1;
    // The question of an empty site is asked when the sheet first shows, not again.
    bool m_giaMostrata = false;
    // What was loaded, as the screen reads it back: the reference of the unsaved-change test.
    DatiCorso m_caricati;
    std::function<void(const ChiaveCorso &)> m_stampa;

    QLabel *lblCorso, *lblAccorp;
    QProgressBar *ProgrBarSalva;
    QTabWidget *SSTab1;
    QWidget *m_sezioni;
    Sezione31 *m_s31;
    Sezione32 *m_s32;
    Sezione33 *m_s33;
    Sezione34 *m_s34;
    QPushButton *cmdFirst, *cmdPrevious, *cmdNext, *cmdLast, *CmdVai, *cmdInserisci, *cmdSalva, *cmdDuplica, *cmdElimina,
        *cmdStampa, *cmdImporta;
};

} // namespace quirdal
