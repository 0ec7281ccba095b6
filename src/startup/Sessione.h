#pragma once
// The session state every screen reads: current operator, province, application,
// site and course, the installation, the lock flags and the SQL conditions built from
// the current keys. One object, owned by the application context, passed by reference.
#include <QString>
#include <QStringList>

namespace quirdal {

class CorsiDB;
class cFileINI;

struct Sessione {
    QString gPathApp;            // program folder, with a trailing separator
    QString gTipoInstallazione;  // "StandAlone" or "Multiutenza"
    QString gVersione;           // "SERVER", "CLIENT" or empty
    QString gPathDB;
    QString gNomeFileDB;
    QString gFileHelp;
    QString gPwdConnessione;

    QString gGrupOpe;
    QString gOperatore;          // text of a number: "007" becomes "7"
    QString gDenomOper;          // empty: no operator selected
    QString gTipoOper;
    QString gWhereOper;
    QString gWhereOperCorsi;
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
    QString gWhereSede;
    QString gWhereSedeCorsi;
    QString gCorso;
    QString gAccorp;
    QString gProssimaScheda;
    QString gModoCompo;

    // Prints.
    QString gTipoStampa;
    QString gModoStampa;

    // Sets operator and rebuilds gWhereOper and gWhereOperCorsi. The number is
    // converted as a number ("0012" is 12, a non-number is 0), so the conditions never
    // carry anything but digits; the group has its quotes doubled.
    void impostaOperatore(const QString &grupOpe, const QString &operatore);

    // Restores operator, province and application from section BaseDati of the INI,
    // with the lock flags from the database.
    void ripristinaDaIni(cFileINI &ini, CorsiDB &db);
    // gOperStampato and gDomandaStampata from the Installazione rows.
    void ricalcolaStampate(CorsiDB &db);
};

constexpr short VERO = -1;
constexpr short FALSO = 0;
inline short flag(bool b) { return b ? VERO : FALSO; }

// The numeric value of a text as the original conversion gave it: leading blanks and
// zeros ignored, a text that is not a number is 0.
QString valoreNumerico(const QString &testo);

} // namespace quirdal
