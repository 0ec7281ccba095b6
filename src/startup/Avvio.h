#pragma once
// The road from launch to the main menu, step by step, with every message and every
// end of the program. The screens it needs (splash, installation screens, notice,
// progress labels, main window) are behind VistaAvvio; the steps that other parts of
// the program provide (lookup tables, download, operator load) are plugged in as
// PassiAvvio.
#include "loading/TabelleDecodifica.h"
#include "startup/Sessione.h"

#include <QString>
#include <functional>

namespace quirdal {

class CorsiDB;
class Dialoghi;
class Piattaforma;
class cFileINI;
class ImpostazioniUtente;

// Everything a screen needs, owned by main (or by a test).
struct Contesto {
    QString cartellaProgramma;
    Sessione &sessione;
    CorsiDB &db;
    cFileINI &ini;
    Dialoghi &dialoghi;
    Piattaforma &piattaforma;
    ImpostazioniUtente &utente;
};

class VistaAvvio : public ProgressoCaricamento {
public:
    virtual ~VistaAvvio() = default;
    virtual void mostraSplash() {}
    virtual void chiudiSplash() {}
    virtual void caricaImmagini() {}
    // Frm_Impostazioni, modal (it opens frmServerClient itself when Versione is
    // empty). Leaves gTipoInstallazione, gPathDB and gNomeFileDB set, or ends the
    // program.
    virtual void mostraImpostazioni(Contesto &c) = 0;
    // FrmAvviso: the notice of an empty database on a CLIENT installation.
    virtual void mostraAvvisoClient() = 0;
    // MDI_Main and the main menu.
    virtual void mostraFinestraPrincipale(Contesto &c) = 0;
};

struct PassiAvvio {
    // Step 8 (and again after a first-start download): lookup tables from the flag
    // files. Unset: the table pass, with the start-up screen showing its progress.
    std::function<void(Contesto &)> tabelle;
    // First start: frmInstOper, the download of operator data and tables.
    std::function<void(Contesto &)> scaricaPrimoAvvio;
    // First start: the load of the operator data files into the empty database.
    // Unset: the install of the data files found in the program folder.
    std::function<void(Contesto &)> installaOperatori;
};

class Avvio {
public:
    Avvio(Contesto &c, VistaAvvio &vista, PassiAvvio passi = {});
    // Runs steps 1 to 14. FineProgramma escapes where the program ends.
    void esegui();

    // The steps, public so that tests can run them one by one.
    void controllaIni();         // step 4
    void apriBaseDati();         // step 5
    void aggiornaStruttura();    // steps 6 and 7
    void tabelle();              // step 8
    void controllaBaseVuota();   // step 9
    void ripristinaSessione();   // steps 10 and 11
    void riparaDati();           // step 12

private:
    // A data step: a failure ends only that step.
    void passoDati(const char *nome, const std::function<void()> &passo);

    Contesto &m_c;
    VistaAvvio &m_vista;
    PassiAvvio m_passi;
    bool m_splash = false;
};

} // namespace quirdal
