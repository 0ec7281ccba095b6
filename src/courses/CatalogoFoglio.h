#pragma once
// The statements of the courses' spreadsheet: which courses and sites an application has, and
// which sites its courses may be held at.
#include "db/Istruzione.h"

namespace quirdal::sql::foglio {

// The courses of the application (the operator in the province, at components and at
// occasional sites of the province), in the order of the sheet.
inline constexpr Istruzione kCorsiDomanda{
    "foglio.corsiDomanda",
    "SELECT P.SedeInteressata, P.Corso, P.Accorp FROM CorsiProp P WHERE P.GrupOpe = ? AND P.Operatore = ? AND "
    "((P.SedeInteressata < 1000 AND EXISTS (SELECT 1 FROM CorsiCompo K INNER JOIN Comuni M ON M.CodComune = "
    "K.CodComune WHERE K.GrupOpe = P.GrupOpe AND K.Operatore = P.Operatore AND K.Componente = P.SedeInteressata AND "
    "M.PROV = ?)) OR (P.SedeInteressata > 999 AND EXISTS (SELECT 1 FROM CorsiSediOcc O INNER JOIN Comuni M ON "
    "M.CodComune = O.CodComune WHERE O.SedeOcc = P.SedeInteressata AND M.PROV = ?))) ORDER BY P.SedeInteressata, "
    "P.Corso, CAST(P.Accorp AS INTEGER)"};

// The sites of the application that have courses, as the print's summary lists them:
// components first, then occasional sites (Occ 1).
inline constexpr Istruzione kSediConCorsi{
    "foglio.sediConCorsi",
    "SELECT Componente AS Sede, Denominazione, 0 AS Occ FROM QryCompoCorsi WHERE GrupOpe = ? AND Operatore = ? AND "
    "PROV = ? UNION ALL SELECT SedeOcc, Denominazione, 1 FROM QrySediOccUtilCorsi WHERE GrupOpe = ? AND Operatore = ? "
    "AND PROV = ? ORDER BY 3, 1"};

// Every site the application may hold courses at: the operator's components in the province
// and the occasional sites it uses there.
inline constexpr Istruzione kSediDomanda{
    "foglio.sediDomanda",
    "SELECT Componente AS Sede, Denominazione FROM QryCompo WHERE GrupOpe = ? AND Operatore = ? AND PROV = ? "
    "UNION ALL SELECT SedeOcc, Denominazione FROM QrySediOccUtil WHERE GrupOpe = ? AND Operatore = ? AND PROV = ?"};

// The courses held at one site: how many.
inline constexpr Istruzione kCorsiSede{
    "foglio.corsiSede", "SELECT count(*) FROM CorsiProp WHERE GrupOpe = ? AND Operatore = ? AND SedeInteressata = ?"};

// Where a course code of the operator is, whatever its site or province.
inline constexpr Istruzione kSedeCorso{
    "foglio.sedeCorso", "SELECT SedeInteressata FROM CorsiProp WHERE GrupOpe = ? AND Operatore = ? AND Corso = ? AND Accorp = ?"};

inline constexpr const Istruzione *kTutte[] = {&kCorsiDomanda, &kSediConCorsi, &kSediDomanda, &kCorsiSede, &kSedeCorso};
inline constexpr Catalogo kCatalogo{"foglio", "src/courses/CatalogoFoglio.h", kTutte};

} // namespace quirdal::sql::foglio
