#pragma once
// The statements of the loaders: the operators' files (install adds every record, update
// keeps what the user completed) and the lookup tables, whose statements are made for each
// table from its own columns.
#include "db/Istruzione.h"

namespace quirdal::sql::caricamento {

// --- The operators' files: install ---------------------------------------------------------

inline constexpr Istruzione kNumeroOperatori{"caricamento.numeroOperatori", "SELECT count(*) FROM CorsiOper"};
inline constexpr Istruzione kInserisciOperatore{
    "caricamento.inserisciOperatore",
    "INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione, TipoOper, CodFisc, LegNome, LegComNasc, LegProvNasc, "
    "LegGGNasc, LegMMNasc, LegAAAANasc, ProvCCIAA, CodCCIAA, AnnoCCIAA, AttEcono, ContABI, ContDesBanca, ContAge, "
    "ContIndirAge, ContNumCC, ContIntCC, DomPrece, AAAAPrece, GGPrece, MMPrece, NominativoReferente, "
    "CodFiscaleReferente) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,'','','','','','','','','','','','')"};
inline constexpr Istruzione kInserisciComponente{
    "caricamento.inserisciComponente",
    "INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione, CodComune, Cap, Indirizzo, Pref, "
    "Tel, PrefFax, Fax, StatoEstero, CittaEstero, Email, Riferimento, MA_nCert, MB_nCert, MC_nCert, MIO_nCert, "
    "tAD_nCert, tD_nCert, tH_nCert, tFAD_nCert, tINN_nCert) VALUES "
    "(?,?,?,?,?,?,?,?,'',?,'',?,?,?,?,'','','','','','','','','','')"};
inline constexpr Istruzione kInserisciSedeOcc{
    "caricamento.inserisciSedeOcc",
    "INSERT INTO CorsiSediOcc (SedeOcc, Denominazione, Indirizzo, CodComune, Cap, Pref, Tel, PrefFax, Fax, TipoCompo) "
    "VALUES (?,?,?,?,?,'',?,'',?,'UO')"};
inline constexpr Istruzione kInserisciUtilizzo{
    "caricamento.inserisciUtilizzo",
    "INSERT INTO CorsiSediOccUtil (GrupOpe, Operatore, SedeOcc, Email, Riferimento) VALUES (?,?,?,'','')"};
inline constexpr Istruzione kInserisciCorsoPrecedente{
    "caricamento.inserisciCorsoPrecedente",
    "INSERT INTO PrecCorsi (IdAttivitaPrec, GrupOpe, Operatore, Componente, SedeOcc, ProgrAttivitaPrec, AnnoInizioPrec, "
    "AccPrec, Denomina, GrupOpeAtt, OperatoreAtt, CodAsse, CodMisura, CodAzione) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)"};
inline constexpr Istruzione kInserisciPercorso{
    "caricamento.inserisciPercorso",
    "INSERT INTO PercMod (IdAttivitaPrec, GrupOpe, Operatore, Componente, SedeOcc, ProgrAttivitaPrec, AnnoInizioPrec, "
    "AccPrec, Denomina, GrupOpeAtt, OperatoreAtt, CodAsse, CodMisura, CodAzione, AnnGest) VALUES "
    "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"};
// The operators without a correspondence address, then each one's registered office.
inline constexpr Istruzione kOperatoriSenzaCorrispondenza{
    "caricamento.operatoriSenzaCorrispondenza",
    "SELECT GrupOpe, Operatore FROM CorsiOper WHERE Corrispondenza IS NULL ORDER BY GrupOpe, Operatore"};
inline constexpr Istruzione kSedeLegale{"caricamento.sedeLegale",
                                        "SELECT Componente FROM QrySedLeg WHERE GrupOpe=? AND Operatore=? ORDER BY Componente"};
inline constexpr Istruzione kImpostaCorrispondenza{"caricamento.impostaCorrispondenza",
                                                   "UPDATE CorsiOper SET Corrispondenza=? WHERE GrupOpe=? AND Operatore=?"};

// --- The operators' files: update ------------------------------------------------------------

inline constexpr Istruzione kProvinciaComune{"caricamento.provinciaComune", "SELECT PROV FROM Comuni WHERE CodComune=?"};
// What the user may have completed is kept: those fields are taken from the file only when
// empty in the database.
inline constexpr Istruzione kAggiornaOperatore{"caricamento.aggiornaOperatore",
                                               "UPDATE CorsiOper SET Denominazione=?, TipoOper=?, CodFisc=?, AttEcono=?, "
                                               "LegNome=CASE WHEN COALESCE(LegNome,'')='' THEN ? ELSE LegNome END, "
                                               "LegComNasc=CASE WHEN COALESCE(LegComNasc,'')='' THEN ? ELSE LegComNasc END, "
                                               "LegProvNasc=CASE WHEN COALESCE(LegProvNasc,'')='' THEN ? ELSE LegProvNasc END, "
                                               "LegGGNasc=CASE WHEN COALESCE(LegGGNasc,'')='' THEN ? ELSE LegGGNasc END, "
                                               "LegMMNasc=CASE WHEN COALESCE(LegMMNasc,'')='' THEN ? ELSE LegMMNasc END, "
                                               "LegAAAANasc=CASE WHEN COALESCE(LegAAAANasc,'')='' THEN ? ELSE LegAAAANasc END, "
                                               "ProvCCIAA=CASE WHEN COALESCE(ProvCCIAA,'')='' THEN ? ELSE ProvCCIAA END, "
                                               "CodCCIAA=CASE WHEN COALESCE(CodCCIAA,'')='' THEN ? ELSE CodCCIAA END, "
                                               "AnnoCCIAA=CASE WHEN COALESCE(AnnoCCIAA,'')='' THEN ? ELSE AnnoCCIAA END "
                                               "WHERE GrupOpe=? AND Operatore=?"};
inline constexpr Istruzione kAggiornaComponente{
    "caricamento.aggiornaComponente",
    "UPDATE CorsiCompo SET TipoCompo=?, Denominazione=?, CodComune=?, Cap=?, Indirizzo=?, "
    "Tel=CASE WHEN COALESCE(Tel,'')='' THEN ? ELSE Tel END, "
    "Fax=CASE WHEN COALESCE(Fax,'')='' THEN ? ELSE Fax END, "
    "StatoEstero=CASE WHEN COALESCE(StatoEstero,'')='' THEN ? ELSE StatoEstero END, "
    "CittaEstero=CASE WHEN COALESCE(CittaEstero,'')='' THEN ? ELSE CittaEstero END, "
    "Email=CASE WHEN COALESCE(Email,'')='' THEN ? ELSE Email END "
    "WHERE GrupOpe=? AND Operatore=? AND Componente=?"};
// A user's printed application in the province the file puts an occasional site in.
inline constexpr Istruzione kSedeOccStampata{
    "caricamento.sedeOccStampata",
    "SELECT count(*) FROM CorsiSediOccUtil U INNER JOIN Installazione I ON I.GrupOpe=U.GrupOpe AND "
    "I.Operatore=U.Operatore WHERE U.SedeOcc=? AND I.Prov=? AND I.DomandaStampata<>0"};
inline constexpr Istruzione kAggiornaSedeOcc{
    "caricamento.aggiornaSedeOcc",
    "UPDATE CorsiSediOcc SET Denominazione=?, Indirizzo=?, CodComune=?, Cap=?, Tel=?, Fax=?, TipoCompo='UO' WHERE "
    "SedeOcc=?"};
// The operator, the site, then the same again for the check.
inline constexpr Istruzione kAggiungiUtilizzo{
    "caricamento.aggiungiUtilizzo",
    "INSERT INTO CorsiSediOccUtil (GrupOpe, Operatore, SedeOcc, Email, Riferimento) SELECT ?, ?, ?, '', '' WHERE NOT "
    "EXISTS (SELECT 1 FROM CorsiSediOccUtil WHERE GrupOpe=? AND Operatore=? AND SedeOcc=?)"};

// --- The lookup tables -------------------------------------------------------------------------
// %1 a table of the schema, %2 its columns, %3 its key, %4 the columns beside the key and %5
// the same as "excluded.<column>". The highest marker is the row of "?", one a column, that
// the loader puts in after the names (a "?" is no name): the examples give NULLs in its place.

inline constexpr Istruzione kSvuotaTabella{"caricamento.svuotaTabella", "DELETE FROM %1", nullptr, "Comuni|AzioneDeroga"};
// Install: every record added to the emptied table.
inline constexpr Istruzione kInserisciRighe{"caricamento.inserisciRighe", "INSERT INTO %1 (%2) VALUES (%3)", nullptr,
                                            "Comuni;CodComune, Denominazione, PROV, SigProv, Cap;NULL, NULL, NULL, "
                                            "NULL, NULL|Direttiva;CodDiret, Descrizione;NULL, NULL"};
// Update: a record whose key is already there overwrites it, any other is added. PostgreSQL
// takes a list of one column only from ROW(...).
inline constexpr Istruzione kAggiornaRighe{
    "caricamento.aggiornaRighe", "INSERT INTO %1 (%2) VALUES (%6) ON CONFLICT (%3) DO UPDATE SET (%4) = (%5)",
    "INSERT INTO %1 (%2) VALUES (%6) ON CONFLICT (%3) DO UPDATE SET (%4) = ROW(%5)",
    "Comuni;CodComune, Denominazione, PROV, SigProv, Cap;CodComune;Denominazione, PROV, SigProv, Cap;"
    "excluded.Denominazione, excluded.PROV, excluded.SigProv, excluded.Cap;NULL, NULL, NULL, NULL, NULL|"
    "Direttiva;CodDiret, Descrizione;CodDiret;Descrizione;excluded.Descrizione;NULL, NULL"};
// Update of a table whose every column is its key: only the new records.
inline constexpr Istruzione kAggiungiRighe{
    "caricamento.aggiungiRighe", "INSERT INTO %1 (%2) VALUES (%4) ON CONFLICT (%3) DO NOTHING", nullptr,
    "AzioneDeroga;CodAsse, CodMisura, CodAzione;CodAsse, CodMisura, CodAzione;NULL, NULL, NULL"};

// The same three on a server, the rows many at a time: in place of the row of "?" one array
// per column, each "?" cast to an array of the column's type ("?::integer[]"), and the rows
// made of the arrays' elements side by side. SQLite takes its rows one at a time, as fast as
// it takes them (see db/IstruzionePreparata.h).
inline constexpr Istruzione kInserisciBlocco{
    "caricamento.inserisciBlocco", kNessuno, "INSERT INTO %1 (%2) SELECT * FROM unnest(%3)",
    "Comuni;CodComune, Denominazione, PROV, SigProv, Cap;NULL::character varying[], NULL::character varying[], "
    "NULL::character varying[], NULL::character varying[], NULL::character varying[]|Direttiva;CodDiret, Descrizione;"
    "NULL::integer[], NULL::character varying[]"};
inline constexpr Istruzione kAggiornaBlocco{
    "caricamento.aggiornaBlocco", kNessuno,
    "INSERT INTO %1 (%2) SELECT * FROM unnest(%6) ON CONFLICT (%3) DO UPDATE SET (%4) = ROW(%5)",
    "Comuni;CodComune, Denominazione, PROV, SigProv, Cap;CodComune;Denominazione, PROV, SigProv, Cap;"
    "excluded.Denominazione, excluded.PROV, excluded.SigProv, excluded.Cap;NULL::character varying[], "
    "NULL::character varying[], NULL::character varying[], NULL::character varying[], NULL::character varying[]|"
    "Direttiva;CodDiret, Descrizione;CodDiret;Descrizione;excluded.Descrizione;NULL::integer[], "
    "NULL::character varying[]"};
inline constexpr Istruzione kAggiungiBlocco{
    "caricamento.aggiungiBlocco", kNessuno, "INSERT INTO %1 (%2) SELECT * FROM unnest(%4) ON CONFLICT (%3) DO NOTHING",
    "AzioneDeroga;CodAsse, CodMisura, CodAzione;CodAsse, CodMisura, CodAzione;NULL::character varying[], "
    "NULL::character varying[], NULL::character varying[]"};

inline constexpr const Istruzione *kTutte[] = {
    &kNumeroOperatori,    &kInserisciOperatore,       &kInserisciComponente, &kInserisciSedeOcc,
    &kInserisciUtilizzo,  &kInserisciCorsoPrecedente, &kInserisciPercorso,   &kOperatoriSenzaCorrispondenza,
    &kSedeLegale,         &kImpostaCorrispondenza,    &kProvinciaComune,     &kAggiornaOperatore,
    &kAggiornaComponente, &kSedeOccStampata,          &kAggiornaSedeOcc,     &kAggiungiUtilizzo,
    &kSvuotaTabella,      &kInserisciRighe,           &kAggiornaRighe,       &kAggiungiRighe,
    &kInserisciBlocco,    &kAggiornaBlocco,           &kAggiungiBlocco};
inline constexpr Catalogo kCatalogo{"caricamento", "src/loading/CatalogoCaricamento.h", kTutte};

} // namespace quirdal::sql::caricamento
