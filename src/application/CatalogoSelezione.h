#pragma once
// The statements of the choice of operator, province, application and site, of the
// application's summary and of the checks before the main menu's sections open. The
// session's own look-ups are the config catalogue's.
#include "db/Istruzione.h"

namespace quirdal::sql::selezione {

// --- Operator and province ------------------------------------------------------------------

inline constexpr Istruzione kOperatori{"selezione.operatori",
                                       "SELECT GrupOpe, Operatore, Denominazione FROM CorsiOper ORDER BY GrupOpe, Operatore"};
inline constexpr Istruzione kDomandeOperatore{
    "selezione.domandeOperatore", "SELECT Prov, Domanda FROM Installazione WHERE GrupOpe=? AND Operatore=? ORDER BY Prov"};
inline constexpr Istruzione kDenominazioneOperatore{"selezione.denominazioneOperatore",
                                                    "SELECT Denominazione FROM CorsiOper WHERE GrupOpe=? AND Operatore=?"};
// The region's provinces where the operator has sites: %1 is the saved query of its
// components or of its occasional sites.
inline constexpr Istruzione kProvinceSedi{
    "selezione.provinceSedi",
    "SELECT DISTINCT Province.SigProv, Province.DesProv, Province.PROV FROM %1 V INNER JOIN Province ON V.PROV = "
    "Province.PROV WHERE V.GrupOpe = ? AND V.Operatore = ? AND Province.Regione = '01'",
    nullptr, "QryCompo|QrySediOccUtil"};
inline constexpr Istruzione kProvinciaComponenti{
    "selezione.provinciaComponenti",
    "SELECT V.PROV FROM QryCompo V INNER JOIN Province P ON P.PROV = V.PROV WHERE V.GrupOpe = ? AND V.Operatore = ? AND "
    "P.DesProv = ?"};
inline constexpr Istruzione kProvinciaSediOccasionali{
    "selezione.provinciaSediOccasionali",
    "SELECT V.PROV FROM QrySediOccUtil V INNER JOIN Province P ON P.PROV = V.PROV WHERE V.GrupOpe = ? AND V.Operatore = ? "
    "AND P.DesProv = ?"};

// --- Summary of the application ---------------------------------------------------------------

inline constexpr Istruzione kComponentiConCorsi{
    "selezione.componentiConCorsi",
    "SELECT count(DISTINCT Componente) FROM QryCompoCorsi WHERE GrupOpe=? AND Operatore=? AND PROV=?"};
inline constexpr Istruzione kSediOccasionaliConCorsi{
    "selezione.sediOccasionaliConCorsi",
    "SELECT count(DISTINCT SedeOcc) FROM QrySediOccUtilCorsi WHERE GrupOpe=? AND Operatore=? AND PROV=?"};
// The first-year cost rows of the courses of the application, at components and at
// occasional sites of the province.
inline constexpr Istruzione kSpeseDomanda{
    "selezione.speseDomanda",
    "SELECT S.* FROM QryCorsiPropSpese S WHERE S.ProgrAnno = 1 AND S.GrupOpe = ? AND S.Operatore = ? AND "
    "((S.SedeInteressata < 1000 AND EXISTS (SELECT 1 FROM CorsiCompo K INNER JOIN Comuni M ON M.CodComune = K.CodComune "
    "WHERE K.GrupOpe = S.GrupOpe AND K.Operatore = S.Operatore AND K.Componente = S.SedeInteressata AND M.PROV = ?)) OR "
    "(S.SedeInteressata > 999 AND EXISTS (SELECT 1 FROM CorsiSediOccUtil U INNER JOIN CorsiSediOcc O ON O.SedeOcc = "
    "U.SedeOcc INNER JOIN Comuni M ON M.CodComune = O.CodComune WHERE U.GrupOpe = S.GrupOpe AND U.Operatore = "
    "S.Operatore AND U.SedeOcc = S.SedeInteressata AND M.PROV = ?)))"};
inline constexpr Istruzione kAttiATIATS{
    "selezione.attiATIATS", "SELECT AttiATIATS FROM Installazione WHERE GrupOpe=? AND Operatore=? AND Domanda=? AND PROV=?"};
inline constexpr Istruzione kSalvaAttiATIATS{
    "selezione.salvaAttiATIATS",
    "UPDATE Installazione SET AttiATIATS=? WHERE GrupOpe=? AND Operatore=? AND Domanda=? AND PROV=?"};

// --- Site -------------------------------------------------------------------------------------

inline constexpr Istruzione kSediOccasionaliProvincia{
    "selezione.sediOccasionaliProvincia",
    "SELECT SedeOcc, Denominazione, Indirizzo FROM QrySediOccUtil WHERE GrupOpe=? AND Operatore=? AND PROV=? ORDER BY "
    "GrupOpe, Operatore, SedeOcc"};
inline constexpr Istruzione kPrimoComponenteConCorsi{
    "selezione.primoComponenteConCorsi", "SELECT min(Componente) FROM QryCompoCorsi WHERE GrupOpe=? AND Operatore=? AND PROV=?"};
inline constexpr Istruzione kPrimaSedeOccasionaleConCorsi{
    "selezione.primaSedeOccasionaleConCorsi",
    "SELECT min(SedeOcc) FROM QrySediOccUtilCorsi WHERE GrupOpe=? AND Operatore=? AND PROV=?"};
inline constexpr Istruzione kCorsiConHandicap{
    "selezione.corsiConHandicap",
    "SELECT count(*) FROM CorsiProp WHERE GrupOpe=? AND Operatore=? AND SedeInteressata=? AND SchedaHand=1"};

// --- Checks before a section opens --------------------------------------------------------------

inline constexpr Istruzione kComponentiInProvincia{"selezione.componentiInProvincia",
                                                   "SELECT count(*) FROM QryCompo WHERE GrupOpe=? AND Operatore=? AND PROV=?"};
inline constexpr Istruzione kSediOccasionaliInProvincia{
    "selezione.sediOccasionaliInProvincia", "SELECT count(*) FROM QrySediOccUtil WHERE GrupOpe=? AND Operatore=? AND PROV=?"};
inline constexpr Istruzione kComponentiDiTipo{"selezione.componentiDiTipo",
                                              "SELECT count(*) FROM CorsiCompo WHERE GrupOpe=? AND Operatore=? AND TipoCompo=?"};
// The courses of the application, at its components and occasional sites with courses.
inline constexpr Istruzione kCorsiDellaDomanda{
    "selezione.corsiDellaDomanda",
    "SELECT count(*) FROM QryCorsi Q WHERE Q.GrupOpe=? AND Q.Operatore=? AND ((Q.SedeInteressata < 1000 AND "
    "Q.SedeInteressata IN (SELECT Componente FROM QryCompoCorsi C WHERE C.GrupOpe=Q.GrupOpe AND C.Operatore=Q.Operatore "
    "AND C.PROV=?)) OR (Q.SedeInteressata > 999 AND Q.SedeInteressata IN (SELECT SedeOcc FROM QrySediOccUtilCorsi O "
    "WHERE O.GrupOpe=Q.GrupOpe AND O.Operatore=Q.Operatore AND O.PROV=?)))"};

inline constexpr const Istruzione *kTutte[] = {&kOperatori,
                                               &kDomandeOperatore,
                                               &kDenominazioneOperatore,
                                               &kProvinceSedi,
                                               &kProvinciaComponenti,
                                               &kProvinciaSediOccasionali,
                                               &kComponentiConCorsi,
                                               &kSediOccasionaliConCorsi,
                                               &kSpeseDomanda,
                                               &kAttiATIATS,
                                               &kSalvaAttiATIATS,
                                               &kSediOccasionaliProvincia,
                                               &kPrimoComponenteConCorsi,
                                               &kPrimaSedeOccasionaleConCorsi,
                                               &kCorsiConHandicap,
                                               &kComponentiInProvincia,
                                               &kSediOccasionaliInProvincia,
                                               &kComponentiDiTipo,
                                               &kCorsiDellaDomanda};
inline constexpr Catalogo kCatalogo{"selezione", "src/application/CatalogoSelezione.h", kTutte};

} // namespace quirdal::sql::selezione
