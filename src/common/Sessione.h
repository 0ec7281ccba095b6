#pragma once
// The session state every screen reads: current operator, province, application, site
// and course, the installation, the lock flags. One object, owned by the application
// context, passed by reference. The current keys are values: queries bind them, none is
// ever pasted into SQL text.
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace quirdal {

struct Sessione {
    QString gPathApp;           // program folder, with a trailing separator
    QString gTipoInstallazione; // "StandAlone" or "Multiutenza"
    QString gVersione;          // "SERVER", "CLIENT" or empty
    QString gPathDB;
    QString gNomeFileDB;
    QString gFileHelp;
    QString gPwdConnessione;

    QString gGrupOpe;
    QString gOperatore; // text of a number: "007" becomes "7"
    QString gDenomOper; // empty: no operator selected
    QString gTipoOper;
    QString gProv;
    QString gDesProv;
    short gDomanda = 0;
    short gDomandaStampata = 0;
    short gOperStampato = 0;
    short gPrimoAvvio = 0;
    short gAiutoIniziale = 0;
    short gInstallaTabelle = 0;
    short gSelOpeAvvio = 0;
    QString gEmail;
    short gEmailValida = 0;
    QString gCompoSedeLeg = QStringLiteral("SL");
    short gOptSottolinea = 0;
    short gOptAumenta = 0;
    short gOptCambia = -1;

    // Site and course (selection screens and course sheet).
    QString gCompo;
    QString gDenCompo;
    QString gCorso;
    QString gAccorp;
    QString gCorsoScelto; // the course chosen in the course list
    QString gAccorpScelto;
    QString gProssimaScheda;
    QString gModoCompo;

    // Prints.
    QString gTipoStampa;          // "Stampa Bozza" or "Stampa Definitivo"
    QString gModoStampa;          // what the form says it is: "BOZZA", "ORIGINALE", "COPIA", "BOZZA CORSO"
    long gIntervalloStampa = 0;   // pause between pages, in milliseconds
    bool gStampaEseguita = false; // a final print was produced whole in this visit of the send screen
    QString gTipoSede;            // the one site of a draft: "UL" component, "SO" occasional; "" all

    // What the pickers hand back to their caller, who clears them before opening one; an
    // empty result means the user cancelled.
    QStringList gComuneScelto;   // CodComune, Denominazione, SigProv, Cap
    QString gFiltroComuni;       // the province the municipality picker is restricted to; empty: all
    QStringList gStatoScelto;    // CodStato, DenomStato
    QStringList gIstitutoScelto; // CodIsti, DesIsti
    QString gSedeScelta;
    short gSedeSceltaOcc = 0;
    QString gTesto;
    int gTestoPos = 0;
    QString gTestoTitolo;
    int gTestoMaxRighe = 0;
    QString gTestoModo; // "READWRITE" or "READ"

    // Sets the operator. The number is converted as a number ("0012" is 12, a text that
    // is not a number is 0).
    void impostaOperatore(const QString &grupOpe, const QString &operatore);
    // Sets the site; its number is converted the same way.
    void impostaSede(const QString &sede);

    qlonglong numeroOperatore() const { return gOperatore.toLongLong(); }
    qlonglong numeroSede() const { return gCompo.toLongLong(); }
    // The current keys as bound parameters, in the order GrupOpe, Operatore, then Prov or
    // SedeInteressata, then Corso and Accorp.
    QVariantList chiaveOperatore() const { return {gGrupOpe, numeroOperatore()}; }
    QVariantList chiaveDomanda() const { return {gGrupOpe, numeroOperatore(), gProv}; }
    QVariantList chiaveSede() const { return {gGrupOpe, numeroOperatore(), numeroSede()}; }
    QVariantList chiaveCorso() const { return {gGrupOpe, numeroOperatore(), numeroSede(), gCorso, gAccorp}; }
};

constexpr short VERO = -1;
constexpr short FALSO = 0;
inline short flag(bool b) { return b ? VERO : FALSO; }

// The numeric value of a text: leading blanks and zeros ignored, a decimal cut to its
// integer part, a text that is not a number is 0.
QString valoreNumerico(const QString &testo);

} // namespace quirdal
