#pragma once
// Section 1 of the application: the current operator's own data, as the operator sheet
// shows, checks and writes them. The screen holds the texts; every rule is here.
#include "common/Verifica.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace quirdal {

struct Contesto;

// The sheet's fields as texts, as the user sees them; the drop-downs as their entries.
struct DatiOperatore {
    QString grupOpe, operatore, codFisc;
    QString denominazione; // txtDenomi
    QString voceTipoOper;  // cmbTOper entry
    QString voceCorrispondenza;
    QString legNome, legComNasc, legProvNasc, legGG, legMM, legAAAA;
    QString contABI, contCAB, contCIN, contIBAN, desBanca, contAge, indirAge, numCC, intCC;
    QString provCC, codCC, annCC;
    QString voceAttEcono;
    QString nominativoReferente, codFiscaleReferente;
    QString domPrece, ggPrece, mmPrece, aaPrece, voceProvPrece, direttiva, annoDirettiva;
    bool provLegAbilitata = true; // false: the birthplace is a foreign state

    bool operator==(const DatiOperatore &) const = default;
};

// The entries of the drop-downs.
struct VociOperatore {
    QStringList tipoOper;       // the operator's type: code, two blanks, description
    QStringList corrispondenza; // "" then each component: code (5), " - ", name (35), " - ", type, " - ", address
    QStringList attEcono;       // "" then code (3), two blanks, description
    QStringList provincePrece;  // "", "REGIONE VALDORIA", then the region's provinces
};

inline const QString kTitoloOperatore = QStringLiteral("Sezione 1 - Operatore");

// The current operator's row as the sheet shows it; nothing when the operator has no row.
std::optional<DatiOperatore> caricaOperatore(Contesto &c, const VociOperatore &voci);
VociOperatore vociOperatore(Contesto &c);

// The sheet's tab pages.
enum PaginaOperatore { PaginaIdentificazione = 0, PaginaVersamenti = 1, PaginaDomandaPrecedente = 2 };

// The checks in their order; the first failing one.
EsitoVerifica verificaOperatore(const DatiOperatore &d);

// A one-character day, month or year becomes "0" followed by it, as the field is left.
QString completaDueCifre(const QString &testo);

// Writes the sheet's fields to the operator's row and sets gDenomOper. Refused with
// Errore once an application of the operator has been printed in final form: its data
// are locked.
void scriviOperatore(Contesto &c, const DatiOperatore &d);

// Whether the fields differ from those loaded, after the conversions of the write.
bool operatoreCambiato(const DatiOperatore &caricati, const DatiOperatore &attuali);

// A birthplace typed by hand, as the lists know it.
enum class LuogoNascita { Comune, StatoEstero, Sconosciuto };
struct EsitoLuogo {
    LuogoNascita tipo = LuogoNascita::Sconosciuto;
    QString sigProv; // of the municipality
};
EsitoLuogo cercaLuogoNascita(Contesto &c, const QString &testo);

// The operator's data are locked (gOperStampato).
bool operatoreInSolaLettura(const Contesto &c);

} // namespace quirdal
