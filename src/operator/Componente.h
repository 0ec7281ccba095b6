#pragma once
// Section 2 of the application: the sites of the current operator in the current
// province (its components, then the occasional sites it uses), their data, rooms,
// laboratories and hours per directive, as the component sheet shows, checks and writes
// them.
#include "common/Verifica.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace quirdal {

struct Contesto;

// A site of the sequence the sheet walks.
struct Sede {
    qlonglong codice = 0;
    bool occasionale = false;
    bool operator==(const Sede &) const = default;
};

// Components in code order, then occasional sites in code order.
QList<Sede> sequenzaSedi(Contesto &c);

// The sheet's fields as texts.
struct DatiSede {
    Sede sede;
    QString denominazione, voceTipoCompo, codComune, comune, sigProv, cap, indirizzo, tel, fax, riferimento, email;
    QString statoEstero, cittaEstero, numLocali, allieviPrevisti; // components only
    bool direttive = false;                                       // "S": no activity of the listed directives
    bool operator==(const DatiSede &) const = default;
};

inline const QString kTitoloComponenti = QStringLiteral("Sez.2 - Sedi Interessate");

// The drop-down of the component types: code, two blanks, description.
QStringList vociTipoCompo(Contesto &c);
std::optional<DatiSede> caricaSede(Contesto &c, const Sede &s, const QStringList &vociTipo);

enum PaginaComponente { PaginaDatiSede = 0, PaginaLocali = 1, PaginaOre = 2 };

// The checks in their order: the basic ones when moving away from a site, all of them when
// saving (rooms, laboratories, pupils and hours only for a component).
EsitoVerifica verificaSede(Contesto &c, const DatiSede &d, bool salvataggio);

// Writes the site. Refused with Errore while the application is printed in final form.
void scriviSede(Contesto &c, const DatiSede &d);
bool sedeCambiata(const DatiSede &caricati, const DatiSede &attuali);

// The municipality of that name in the current province.
struct ComuneTrovato {
    QString codice, sigProv, cap;
};
std::optional<ComuneTrovato> cercaComuneInProvincia(Contesto &c, const QString &nome);

// --- Laboratories ------------------------------------------------------------------------

struct Laboratorio {
    qlonglong id = 0;
    qlonglong numero = 0;
    QString tipo;
};
QList<Laboratorio> laboratori(Contesto &c, qlonglong componente);
qlonglong numeroLaboratori(Contesto &c, qlonglong componente);
void aggiungiLaboratorio(Contesto &c, qlonglong componente, qlonglong numero, const QString &tipo);
// Both raise codici::RigaCancellata when the row is gone meanwhile.
void modificaLaboratorio(Contesto &c, qlonglong id, qlonglong numero, const QString &tipo);
void eliminaLaboratorio(Contesto &c, qlonglong id);
constexpr int kLunghezzaTipoLab = 255;
// The number typed for a laboratory: a whole number from 1 to 9999, else nothing.
std::optional<qlonglong> numeroDiLaboratori(const QString &testo);

// --- Hours per directive -------------------------------------------------------------------

struct OreDirettiva {
    qlonglong codDiret = 0;
    QString descrizione;
    qlonglong diurne = 0, serali = 0;
};
QList<OreDirettiva> orePerDirettiva(Contesto &c, qlonglong componente);
QStringList vociDirettive(Contesto &c); // code, two blanks, description
// The row of the directive: updated, or added when missing (one row per directive).
void salvaOreDirettiva(Contesto &c, qlonglong componente, qlonglong codDiret, qlonglong diurne, qlonglong serali);
void eliminaOreDirettiva(Contesto &c, qlonglong componente, qlonglong codDiret);
void eliminaTutteLeOre(Contesto &c, qlonglong componente);

// --- Summary of a component's courses -------------------------------------------------------

// The three summary lines of a component: its courses, those at the occasional sites it
// is responsible for, those on derogation actions.
QStringList testiRiepilogo(Contesto &c, qlonglong componente);

} // namespace quirdal
