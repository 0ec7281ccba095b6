#pragma once
// The statements of the operator's sections: the operator's own row, its registered office,
// its sites with their laboratories and hours, and the lists the sheets choose from.
#include "db/Istruzione.h"

namespace quirdal::sql::operatore {

// --- The operator ---------------------------------------------------------------------------

inline constexpr Istruzione kTipiOperatore{
    "operatore.tipiOperatore", "SELECT TipoOper, \"TipoOper.Descrizione\" FROM QryOper WHERE GrupOpe=? AND Operatore=?"};
inline constexpr Istruzione kComponentiCorrispondenza{
    "operatore.componentiCorrispondenza",
    "SELECT Componente, Denominazione, TipoCompo, Indirizzo FROM CorsiCompo WHERE GrupOpe=? AND Operatore=? ORDER BY "
    "Componente"};
inline constexpr Istruzione kAttivitaEconomiche{"operatore.attivitaEconomiche",
                                                "SELECT AttEcono, Descrizione FROM AttEcono ORDER BY AttEcono"};
inline constexpr Istruzione kProvinceRegione{"operatore.provinceRegione",
                                             "SELECT DesProv FROM Province WHERE REGIONE='01' ORDER BY DesProv"};
// The operator's row by its key, read by column name.
inline constexpr Istruzione kOperatore{
    "operatore.operatore",
    "SELECT GrupOpe, Operatore, CodFisc, Denominazione, Corrispondenza, LegNome, LegComNasc, LegProvNasc, LegGGNasc, "
    "LegMMNasc, LegAAAANasc, ContABI, ContCAB, ContCIN, ContIBAN, ContDesBanca, ContAge, ContIndirAge, ContNumCC, "
    "ContIntCC, ProvCCIAA, CodCCIAA, AnnoCCIAA, AttEcono, NominativoReferente, CodFiscaleReferente, DomPrece, GGPrece, "
    "MMPrece, AAAAPrece, DESPROV, Direttiva, AnnoDirettiva FROM QryOper WHERE GrupOpe=? AND Operatore=?"};
// The sheet's columns in the order Operatore.cpp binds them, then the key. No row written:
// another workstation deleted it.
inline constexpr Istruzione kScriviOperatore{
    "operatore.scriviOperatore",
    "UPDATE CorsiOper SET Denominazione=?, TipoOper=?, Corrispondenza=?, LegNome=?, LegComNasc=?, LegProvNasc=?, "
    "LegGGNasc=?, LegMMNasc=?, LegAAAANasc=?, ContABI=?, ContCAB=?, ContCIN=?, ContIBAN=?, ContDesBanca=?, ContAge=?, "
    "ContIndirAge=?, ContNumCC=?, ContIntCC=?, ProvCCIAA=?, CodCCIAA=?, AnnoCCIAA=?, AttEcono=?, NominativoReferente=?, "
    "CodFiscaleReferente=?, DomPrece=?, GGPrece=?, MMPrece=?, AAAAPrece=?, DESPROV=?, Direttiva=?, AnnoDirettiva=? "
    "WHERE GrupOpe=? AND Operatore=?"};
// A name typed by hand, found whatever its case: SQLite's NOCASE folds ASCII letters, which
// PostgreSQL has no collation for, so there both sides are folded.
inline constexpr Istruzione kComuneNascita{
    "operatore.comuneNascita", "SELECT SigProv FROM QryComuni WHERE Denominazione = ? COLLATE NOCASE ORDER BY CodComune",
    "SELECT SigProv FROM QryComuni WHERE upper(Denominazione) = upper(?) ORDER BY CodComune"};
inline constexpr Istruzione kStatoEstero{"operatore.statoEstero",
                                         "SELECT count(*) FROM StatiEsteri WHERE DenomStato = ? COLLATE NOCASE",
                                         "SELECT count(*) FROM StatiEsteri WHERE upper(DenomStato) = upper(?)"};

// --- The registered office ------------------------------------------------------------------

// The operator's components of the registered office's type, the first one read by name.
inline constexpr Istruzione kSedeLegale{
    "operatore.sedeLegale",
    "SELECT Componente, Denominazione, CodComune, \"Comuni.Denominazione\", SigProv, Indirizzo, Cap, Tel, Fax, "
    "Riferimento, Email FROM QryCompo WHERE GrupOpe=? AND Operatore=? AND TipoCompo=? ORDER BY Componente"};
inline constexpr Istruzione kScriviSedeLegale{
    "operatore.scriviSedeLegale",
    "UPDATE CorsiCompo SET Cap=?, Pref='', Tel=?, PrefFax='', Fax=?, Email=?, Riferimento=? WHERE GrupOpe=? AND "
    "Operatore=? AND Componente=?"};
inline constexpr Istruzione kReinserisciSedeLegale{
    "operatore.reinserisciSedeLegale",
    "INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione, CodComune, Cap, Indirizzo, Pref, "
    "Tel, PrefFax, Fax, Email, Riferimento) VALUES (?, ?, ?, ?, ?, ?, ?, ?, '', ?, '', ?, ?, ?)"};

// --- The sites --------------------------------------------------------------------------------

inline constexpr Istruzione kComponentiProvincia{
    "operatore.componentiProvincia",
    "SELECT Componente FROM QryCompo WHERE GrupOpe=? AND Operatore=? AND PROV=? ORDER BY GrupOpe, Operatore, Componente"};
inline constexpr Istruzione kSediOccasionaliProvincia{
    "operatore.sediOccasionaliProvincia",
    "SELECT SedeOcc FROM QrySediOccUtil WHERE GrupOpe=? AND Operatore=? AND PROV=? ORDER BY GrupOpe, Operatore, SedeOcc"};
inline constexpr Istruzione kTipiComponente{"operatore.tipiComponente",
                                            "SELECT TipoCompo, Descrizione FROM TipoCompo ORDER BY TipoCompo"};
// A site by its key, read by column name.
inline constexpr Istruzione kComponente{
    "operatore.componente",
    "SELECT Denominazione, TipoCompo, CodComune, \"Comuni.Denominazione\", SigProv, Cap, Indirizzo, Tel, Fax, Riferimento, "
    "Email, StatoEstero, CittaEstero, NumLocali, AllieviPrevisti, Direttive FROM QryCompo WHERE GrupOpe=? AND "
    "Operatore=? AND Componente=?"};
inline constexpr Istruzione kSedeOccasionale{
    "operatore.sedeOccasionale",
    "SELECT Denominazione, TipoCompo, CodComune, \"Comuni.Denominazione\", SigProv, Cap, Indirizzo, Tel, Fax, Riferimento, "
    "Email FROM QrySediOccUtil WHERE GrupOpe=? AND Operatore=? AND SedeOcc=?"};
inline constexpr Istruzione kAltreSediLegali{
    "operatore.altreSediLegali",
    "SELECT count(*) FROM CorsiCompo WHERE GrupOpe=? AND Operatore=? AND TipoCompo=? AND NOT (Componente=?)"};
inline constexpr Istruzione kScriviSedeOccasionale{
    "operatore.scriviSedeOccasionale",
    "UPDATE CorsiSediOcc SET Denominazione=?, TipoCompo='UO', CodComune=?, Cap=?, Indirizzo=?, Tel=?, Fax=? WHERE "
    "SedeOcc=?"};
inline constexpr Istruzione kScriviUsoSedeOccasionale{
    "operatore.scriviUsoSedeOccasionale",
    "UPDATE CorsiSediOccUtil SET Riferimento=?, Email=? WHERE GrupOpe=? AND Operatore=? AND SedeOcc=?"};
inline constexpr Istruzione kScriviComponente{
    "operatore.scriviComponente",
    "UPDATE CorsiCompo SET Denominazione=?, TipoCompo=?, CodComune=?, Cap=?, Indirizzo=?, Tel=?, Fax=?, StatoEstero=?, "
    "CittaEstero=?, Riferimento=?, Email=?, NumLocali=?, AllieviPrevisti=?, Direttive=? WHERE GrupOpe=? AND "
    "Operatore=? AND Componente=?"};
// See kComuneNascita.
inline constexpr Istruzione kComuneInProvincia{
    "operatore.comuneInProvincia",
    "SELECT CodComune, SigProv, Cap FROM Comuni WHERE Denominazione = ? COLLATE NOCASE AND PROV = ? ORDER BY CodComune",
    "SELECT CodComune, SigProv, Cap FROM Comuni WHERE upper(Denominazione) = upper(?) AND PROV = ? ORDER BY CodComune"};

// --- Laboratories and hours -----------------------------------------------------------------

inline constexpr Istruzione kLaboratori{
    "operatore.laboratori",
    "SELECT IdLab, NumLab, TipoLab FROM CorsiCompoTipoLab WHERE GrupOpe=? AND Operatore=? AND Componente=? ORDER BY "
    "IdLab"};
inline constexpr Istruzione kNumeroLaboratori{
    "operatore.numeroLaboratori", "SELECT SUM(NumLab) FROM CorsiCompoTipoLab WHERE GrupOpe=? AND Operatore=? AND Componente=?"};
inline constexpr Istruzione kAggiungiLaboratorio{
    "operatore.aggiungiLaboratorio",
    "INSERT INTO CorsiCompoTipoLab (GrupOpe, Operatore, Componente, NumLab, TipoLab) VALUES (?, ?, ?, ?, ?)"};
inline constexpr Istruzione kModificaLaboratorio{"operatore.modificaLaboratorio",
                                                 "UPDATE CorsiCompoTipoLab SET NumLab=?, TipoLab=? WHERE IdLab=?"};
inline constexpr Istruzione kEliminaLaboratorio{"operatore.eliminaLaboratorio", "DELETE FROM CorsiCompoTipoLab WHERE IdLab=?"};
inline constexpr Istruzione kOrePerDirettiva{
    "operatore.orePerDirettiva",
    "SELECT O.CodDiret, D.Descrizione, O.OreDiurne, O.OreSerali FROM CorsiCompoOre O LEFT JOIN Direttiva D ON D.CodDiret "
    "= O.CodDiret WHERE O.GrupOpe=? AND O.Operatore=? AND O.Componente=? ORDER BY O.CodDiret"};
inline constexpr Istruzione kDirettive{"operatore.direttive", "SELECT CodDiret, Descrizione FROM Direttiva ORDER BY CodDiret"};
// One row per directive: added, or its hours replaced.
inline constexpr Istruzione kSalvaOreDirettiva{
    "operatore.salvaOreDirettiva",
    "INSERT INTO CorsiCompoOre (GrupOpe, Operatore, Componente, CodDiret, OreDiurne, OreSerali) VALUES (?, ?, ?, ?, ?, ?) "
    "ON CONFLICT (GrupOpe, Operatore, Componente, CodDiret) DO UPDATE SET OreDiurne = excluded.OreDiurne, OreSerali = "
    "excluded.OreSerali"};
inline constexpr Istruzione kEliminaOreDirettiva{
    "operatore.eliminaOreDirettiva", "DELETE FROM CorsiCompoOre WHERE GrupOpe=? AND Operatore=? AND Componente=? AND CodDiret=?"};
inline constexpr Istruzione kEliminaTutteLeOre{"operatore.eliminaTutteLeOre",
                                               "DELETE FROM CorsiCompoOre WHERE GrupOpe=? AND Operatore=? AND Componente=?"};

// --- The lists to choose from -----------------------------------------------------------------

inline constexpr Istruzione kComuni{"operatore.comuni",
                                    "SELECT CodComune, Denominazione, SigProv, Cap FROM QryComuni ORDER BY Denominazione"};
inline constexpr Istruzione kComuniProvincia{
    "operatore.comuniProvincia",
    "SELECT CodComune, Denominazione, SigProv, Cap FROM QryComuni WHERE PROV = ? ORDER BY Denominazione"};
inline constexpr Istruzione kStatiEsteri{"operatore.statiEsteri",
                                         "SELECT CodStato, DenomStato FROM StatiEsteri ORDER BY DenomStato"};
inline constexpr Istruzione kIstituti{"operatore.istituti", "SELECT CodIsti, DesIsti FROM Istituti ORDER BY DesIsti"};
inline constexpr Istruzione kVociComponentiProvincia{
    "operatore.vociComponentiProvincia",
    "SELECT Componente, Denominazione, TipoCompo, Indirizzo FROM QryCompo WHERE GrupOpe=? AND Operatore=? AND PROV=? "
    "ORDER BY GrupOpe, Operatore, Componente"};
inline constexpr Istruzione kVociSediOccasionaliProvincia{
    "operatore.vociSediOccasionaliProvincia",
    "SELECT SedeOcc, Denominazione, TipoCompo, Indirizzo FROM QrySediOccUtil WHERE GrupOpe=? AND Operatore=? AND PROV=? "
    "ORDER BY GrupOpe, Operatore, SedeOcc"};

inline constexpr const Istruzione *kTutte[] = {&kTipiOperatore,
                                               &kComponentiCorrispondenza,
                                               &kAttivitaEconomiche,
                                               &kProvinceRegione,
                                               &kOperatore,
                                               &kScriviOperatore,
                                               &kComuneNascita,
                                               &kStatoEstero,
                                               &kSedeLegale,
                                               &kScriviSedeLegale,
                                               &kReinserisciSedeLegale,
                                               &kComponentiProvincia,
                                               &kSediOccasionaliProvincia,
                                               &kTipiComponente,
                                               &kComponente,
                                               &kSedeOccasionale,
                                               &kAltreSediLegali,
                                               &kScriviSedeOccasionale,
                                               &kScriviUsoSedeOccasionale,
                                               &kScriviComponente,
                                               &kComuneInProvincia,
                                               &kLaboratori,
                                               &kNumeroLaboratori,
                                               &kAggiungiLaboratorio,
                                               &kModificaLaboratorio,
                                               &kEliminaLaboratorio,
                                               &kOrePerDirettiva,
                                               &kDirettive,
                                               &kSalvaOreDirettiva,
                                               &kEliminaOreDirettiva,
                                               &kEliminaTutteLeOre,
                                               &kComuni,
                                               &kComuniProvincia,
                                               &kStatiEsteri,
                                               &kIstituti,
                                               &kVociComponentiProvincia,
                                               &kVociSediOccasionaliProvincia};
inline constexpr Catalogo kCatalogo{"operatore", "src/operator/CatalogoOperatore.h", kTutte};

} // namespace quirdal::sql::operatore
