#pragma once
// The road from launch to the main menu, with every message and every end of the
// program. The screens it needs (splash, installation screens, notice, progress labels,
// main window) are behind VistaAvvio; the steps that other parts of the program provide
// (lookup tables, download, operator load) are plugged in as PassiAvvio.
#include "common/Contesto.h"
#include "common/Progresso.h"

#include <QString>
#include <functional>

namespace quirdal {

class VistaAvvio : public ProgressoCaricamento {
public:
    virtual ~VistaAvvio() = default;
    virtual void mostraSplash() { }
    virtual void chiudiSplash() { }
    virtual void caricaImmagini() { }
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
    // The installed model of a program folder (cartellaModello()): a program folder
    // without QUIRDAL.INI is made from it before anything else, one that has it gets the
    // model's help. Empty: never.
    QString cartellaModello;
    // Lookup tables from the flag files (again after a first-start download). Unset: the
    // table pass, with the start-up screen showing its progress.
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
    // The whole road, up to the main window. FineProgramma escapes where the program ends.
    void esegui();

    // The steps in their order, public so that tests can run them one by one.
    void preparaCartella();    // a first start of an installed program: its folder
    void controllaIni();       // the INI and the installation screens
    void apriBaseDati();       // the connection
    void aggiornaStruttura();  // schema upgrades (a CLIENT ends instead), courses that are not first years
    void tabelle();            // lookup tables from the flag files
    void controllaBaseVuota(); // a first start: download and operator load
    void ripristinaSessione(); // operator and province from the INI
    void riparaDati();         // the two data repairs
    void completaStampe();     // final prints a stop left between the lock and the PDF's name

private:
    // A data step: a failure ends only that step.
    void passoDati(const char *nome, const std::function<void()> &passo);

    Contesto &m_c;
    VistaAvvio &m_vista;
    PassiAvvio m_passi;
    bool m_splash = false;
};

} // namespace quirdal
