#pragma once
// The statements of the prints: the sections of the application and of one course, the
// application's lock and the checks before the final print. They only read, but for the lock.
#include "db/Istruzione.h"

namespace quirdal::sql::stampa {

// --- What every section shows -----------------------------------------------------------

inline constexpr Istruzione kIntestazione{
    "stampa.intestazione",
    "SELECT I.NumDoma, P.DesProv, P.SigProv, O.Denominazione FROM Installazione I LEFT JOIN Province P ON P.PROV = "
    "I.Prov LEFT JOIN CorsiOper O ON O.GrupOpe = I.GrupOpe AND O.Operatore = I.Operatore WHERE I.GrupOpe = ? AND "
    "I.Operatore = ? AND I.Prov = ?"};
inline constexpr Istruzione kDenominazioneOperatore{"stampa.denominazioneOperatore",
                                                    "SELECT Denominazione FROM CorsiOper WHERE GrupOpe = ? AND Operatore = ?"};
// The sites a draft can be limited to.
inline constexpr Istruzione kVociComponenti{
    "stampa.vociComponenti",
    "SELECT Componente, Denominazione FROM QryCompoCorsi WHERE GrupOpe = ? AND Operatore = ? AND PROV = ? ORDER BY "
    "Componente"};
inline constexpr Istruzione kVociSediOcc{
    "stampa.vociSediOcc",
    "SELECT SedeOcc, Denominazione FROM QrySediOccUtilCorsi WHERE GrupOpe = ? AND Operatore = ? AND PROV = ? ORDER BY "
    "SedeOcc"};

// --- The application: cover, addressee, summary, operator, sites -------------------------

inline constexpr Istruzione kOperatore{"stampa.operatore", "SELECT * FROM QryOper WHERE GrupOpe = ? AND Operatore = ?"};
inline constexpr Istruzione kSedeLegale{
    "stampa.sedeLegale",
    "SELECT C.*, Co.Denominazione AS ComuneSede, Co.SigProv AS SiglaSede FROM CorsiCompo C LEFT JOIN Comuni Co ON "
    "Co.CodComune = C.CodComune WHERE C.GrupOpe = ? AND C.Operatore = ? AND C.TipoCompo = 'SL' ORDER BY "
    "C.Componente"};
inline constexpr Istruzione kProvinciaLogo{
    "stampa.provinciaLogo",
    "SELECT P.SigProv, L.* FROM Province P LEFT JOIN ProvinceLoghiIndir L ON L.PROV = P.PROV WHERE P.PROV = ?"};
inline constexpr Istruzione kDesProv{"stampa.desProv", "SELECT DesProv FROM Province WHERE PROV = ?"};
inline constexpr Istruzione kRiepilogoSedi{
    "stampa.riepilogoSedi",
    "SELECT Componente AS Sede, Denominazione, 0 AS Occ FROM QryCompoCorsi WHERE GrupOpe = ? AND Operatore = ? AND "
    "PROV = ? UNION ALL SELECT SedeOcc, Denominazione, 1 FROM QrySediOccUtilCorsi WHERE GrupOpe = ? AND Operatore = ? "
    "AND PROV = ? ORDER BY 3, 1"};
inline constexpr Istruzione kNumeroCorsiSede{
    "stampa.numeroCorsiSede", "SELECT count(*) FROM CorsiProp WHERE GrupOpe = ? AND Operatore = ? AND SedeInteressata = ?"};
inline constexpr Istruzione kComponentiConCorsi{
    "stampa.componentiConCorsi",
    "SELECT Componente FROM QryCompoCorsi WHERE GrupOpe = ? AND Operatore = ? AND PROV = ? ORDER BY Componente"};
inline constexpr Istruzione kComponente{"stampa.componente",
                                        "SELECT * FROM QryCompo WHERE GrupOpe = ? AND Operatore = ? AND Componente = ?"};
inline constexpr Istruzione kLaboratori{
    "stampa.laboratori",
    "SELECT NumLab, TipoLab FROM CorsiCompoTipoLab WHERE GrupOpe = ? AND Operatore = ? AND Componente = ? ORDER BY "
    "IdLab"};
inline constexpr Istruzione kOreDirettiva{
    "stampa.oreDirettiva",
    "SELECT O.CodDiret, D.Descrizione, O.OreDiurne, O.OreSerali FROM CorsiCompoOre O LEFT JOIN Direttiva D ON "
    "D.CodDiret = O.CodDiret WHERE O.GrupOpe = ? AND O.Operatore = ? AND O.Componente = ? ORDER BY O.CodDiret"};
inline constexpr Istruzione kSedeOccasionale{"stampa.sedeOccasionale",
                                             "SELECT * FROM QrySediOccUtil WHERE GrupOpe = ? AND Operatore = ? AND SedeOcc = ?"};
inline constexpr Istruzione kSediOccasionali{
    "stampa.sediOccasionali",
    "SELECT DISTINCT SedeOcc, CompoResp FROM QryStSediOcc WHERE GrupOpe = ? AND Operatore = ? AND PROV = ? ORDER BY "
    "SedeOcc, CompoResp"};
inline constexpr Istruzione kCorsiSede{
    "stampa.corsiSede",
    "SELECT Corso, Accorp, CompoResp FROM CorsiProp WHERE GrupOpe = ? AND Operatore = ? AND SedeInteressata = ? ORDER "
    "BY Corso, CAST(Accorp AS INTEGER)"};

// --- One course ----------------------------------------------------------------------------

inline constexpr Istruzione kCorsoDescritto{
    "stampa.corsoDescritto",
    "SELECT * FROM QryCorsi WHERE GrupOpe = ? AND Operatore = ? AND SedeInteressata = ? AND Corso = ? AND Accorp = ?"};
inline constexpr Istruzione kCorso{
    "stampa.corso",
    "SELECT * FROM CorsiProp WHERE GrupOpe = ? AND Operatore = ? AND SedeInteressata = ? AND Corso = ? AND Accorp = ?"};
inline constexpr Istruzione kSpeseCorso{
    "stampa.speseCorso",
    "SELECT * FROM CorsiPropSpese WHERE GrupOpe = ? AND Operatore = ? AND SedeInteressata = ? AND Corso = ? AND "
    "Accorp = ? ORDER BY ProgrAnno"};
inline constexpr Istruzione kDesDest{"stampa.desDest", "SELECT DesDest FROM Destin WHERE CodDest = ?"};
inline constexpr Istruzione kValoriControllo{
    "stampa.valoriControllo",
    "SELECT M.Tipo, M.Etichetta, V.Valore FROM Metadati M LEFT JOIN ValoriChk V ON V.Prov = M.Prov AND V.ID = M.Id AND "
    "V.GrupOpe = ? AND V.Operatore = ? AND V.SedeInteressata = ? AND V.Corso = ? AND V.Accorp = ? WHERE M.Prov = ? "
    "ORDER BY M.Id"};
inline constexpr Istruzione kSchedeHandicap{
    "stampa.schedeHandicap",
    "SELECT * FROM CorsiHandi WHERE GrupOpe = ? AND Operatore = ? AND SedeInteressata = ? AND Corso = ? AND Accorp = ?"};

// --- The application's lock --------------------------------------------------------------

inline constexpr Istruzione kDomandaStampata{
    "stampa.domandaStampata",
    "SELECT DomandaStampata FROM Installazione WHERE GrupOpe = ? AND Operatore = ? AND Prov = ? AND Domanda = 1"};
// The lock's value first, then the application's key.
inline constexpr Istruzione kSegnaDomandaStampata{
    "stampa.segnaDomandaStampata",
    "UPDATE Installazione SET DomandaStampata = ? WHERE GrupOpe = ? AND Operatore = ? AND Prov = ? AND Domanda = 1"};

// --- The checks before the final print ----------------------------------------------------

inline constexpr Istruzione kOperatoreHaCorsi{"stampa.operatoreHaCorsi",
                                              "SELECT count(*) FROM CorsiProp WHERE GrupOpe = ? AND Operatore = ?"};
inline constexpr Istruzione kControlloOperatore{
    "stampa.controlloOperatore",
    "SELECT Corrispondenza, LegNome, LegGGNasc, LegMMNasc, LegAAAANasc, ProvCCIAA, CodCCIAA, AnnoCCIAA, "
    "NominativoReferente, CodFiscaleReferente FROM CorsiOper WHERE GrupOpe = ? AND Operatore = ?"};
inline constexpr Istruzione kControlloSedeLegale{
    "stampa.controlloSedeLegale",
    "SELECT Cap, CodComune, Email, Riferimento, Tel FROM QrySedLeg WHERE GrupOpe = ? AND Operatore = ? ORDER BY "
    "Componente"};
inline constexpr Istruzione kControlloComponenti{
    "stampa.controlloComponenti",
    "SELECT * FROM QryCompoCorsi WHERE GrupOpe = ? AND Operatore = ? AND Prov = ? ORDER BY Componente"};
inline constexpr Istruzione kControlloSediOcc{
    "stampa.controlloSediOcc",
    "SELECT * FROM QrySediOccUtilCorsi WHERE GrupOpe = ? AND Operatore = ? AND Prov = ? ORDER BY SedeOcc"};
// The components whose rooms the province's courses use: the course's own site, or the one
// that answers for its occasional site.
inline constexpr Istruzione kControlloLocali{
    "stampa.controlloLocali",
    "SELECT DISTINCT P.GrupOpe, P.Operatore, CASE WHEN P.SedeInteressata < 1000 THEN P.SedeInteressata ELSE "
    "P.CompoResp END AS Componente, COALESCE(C.Denominazione, C1.Denominazione) AS Denominazione, COALESCE(PR.PROV, "
    "PR1.PROV) AS PROV, COALESCE(C.NumLocali, C1.NumLocali) AS Locali FROM CorsiProp P LEFT JOIN CorsiCompo C ON "
    "C.GrupOpe = P.GrupOpe AND C.Operatore = P.Operatore AND C.Componente = P.SedeInteressata LEFT JOIN Comuni CO ON "
    "CO.CodComune = C.CodComune LEFT JOIN Province PR ON PR.PROV = CO.PROV LEFT JOIN CorsiCompo C1 ON C1.GrupOpe = "
    "P.GrupOpe AND C1.Operatore = P.Operatore AND C1.Componente = P.CompoResp LEFT JOIN Comuni CO1 ON CO1.CodComune = "
    "C1.CodComune LEFT JOIN Province PR1 ON PR1.PROV = CO1.PROV WHERE P.GrupOpe = ? AND P.Operatore = ? AND "
    "COALESCE(PR.PROV, PR1.PROV) = ? ORDER BY 3"};
inline constexpr Istruzione kLaboratoriComponente{
    "stampa.laboratoriComponente",
    "SELECT COALESCE(SUM(NumLab), 0) FROM CorsiCompoTipoLab WHERE GrupOpe = ? AND Operatore = ? AND Componente = ?"};
inline constexpr Istruzione kDateAvvioComponenti{
    "stampa.dateAvvioComponenti",
    "SELECT Q.GrupOpe, Q.Operatore, Q.SedeInteressata, Q.Corso, Q.Accorp, Q.DesQualif, Q.DataAvvio FROM QryCorsi Q "
    "INNER JOIN QryCompoCorsi S ON S.Componente = Q.SedeInteressata AND S.Operatore = Q.Operatore AND S.GrupOpe = "
    "Q.GrupOpe WHERE Q.GrupOpe = ? AND Q.Operatore = ? AND S.PROV = ? ORDER BY Q.SedeInteressata, Q.Corso, Q.Accorp"};
inline constexpr Istruzione kDateAvvioSediOcc{
    "stampa.dateAvvioSediOcc",
    "SELECT Q.GrupOpe, Q.Operatore, Q.SedeInteressata, Q.Corso, Q.Accorp, Q.DesQualif, Q.DataAvvio FROM "
    "QrySediOccUtilCorsi S INNER JOIN QryCorsi Q ON S.SedeOcc = Q.SedeInteressata AND S.Operatore = Q.Operatore AND "
    "S.GrupOpe = Q.GrupOpe WHERE Q.GrupOpe = ? AND Q.Operatore = ? AND S.PROV = ? ORDER BY Q.SedeInteressata, Q.Corso, "
    "Q.Accorp"};

// The hours of a component: each takes the operator, the component and the province.
// Occasional-site courses the component answers for, the site in the province.
inline constexpr Istruzione kOreOccasionali{
    "stampa.oreOccasionali",
    "SELECT SUM(P.DurataAnnOre) FROM CorsiProp P INNER JOIN CorsiSediOccUtil U ON U.SedeOcc = P.SedeInteressata AND "
    "U.GrupOpe = P.GrupOpe AND U.Operatore = P.Operatore INNER JOIN CorsiSediOcc O ON O.SedeOcc = U.SedeOcc INNER JOIN "
    "Comuni CO ON CO.CodComune = O.CodComune WHERE P.GrupOpe = ? AND P.Operatore = ? AND P.SedeInteressata > 999 AND "
    "P.CompoResp = ? AND CO.PROV = ?"};
// The same, only the actions allowed beyond the limit.
inline constexpr Istruzione kOreOccasionaliDeroga{
    "stampa.oreOccasionaliDeroga",
    "SELECT SUM(P.DurataAnnOre) FROM CorsiProp P INNER JOIN CorsiSediOccUtil U ON U.SedeOcc = P.SedeInteressata AND "
    "U.GrupOpe = P.GrupOpe AND U.Operatore = P.Operatore INNER JOIN CorsiSediOcc O ON O.SedeOcc = U.SedeOcc INNER JOIN "
    "Comuni CO ON CO.CodComune = O.CodComune WHERE P.GrupOpe = ? AND P.Operatore = ? AND P.SedeInteressata > 999 AND "
    "P.CompoResp = ? AND CO.PROV = ? AND EXISTS (SELECT 1 FROM AzioneDeroga D WHERE D.CodAsse = P.CodAsse AND "
    "D.CodMisura = P.CodMisura AND D.CodAzione = P.CodAzione)"};
// Courses held at the component, the component in the province: external lab hours a year
// (a course without its duration in years adds nothing, the division by zero gives Null).
// REAL is a 4-byte float in PostgreSQL: its text asks for the 8-byte one SQLite's REAL is.
inline constexpr Istruzione kOreLaboratoriEsterni{
    "stampa.oreLaboratoriEsterni",
    "SELECT SUM(CAST(P.OreLabEsterni AS REAL) / NULLIF(P.DurataTotIter, 0)) FROM CorsiProp P INNER JOIN CorsiCompo C ON "
    "C.GrupOpe = P.GrupOpe AND C.Operatore = P.Operatore AND C.Componente = P.SedeInteressata INNER JOIN Comuni CO ON "
    "CO.CodComune = C.CodComune WHERE P.GrupOpe = ? AND P.Operatore = ? AND P.SedeInteressata = ? AND CO.PROV = ?",
    "SELECT SUM(CAST(P.OreLabEsterni AS DOUBLE PRECISION) / NULLIF(P.DurataTotIter, 0)) FROM CorsiProp P INNER JOIN "
    "CorsiCompo C ON C.GrupOpe = P.GrupOpe AND C.Operatore = P.Operatore AND C.Componente = P.SedeInteressata INNER "
    "JOIN Comuni CO ON CO.CodComune = C.CodComune WHERE P.GrupOpe = ? AND P.Operatore = ? AND P.SedeInteressata = ? "
    "AND CO.PROV = ?"};
inline constexpr Istruzione kOreDiurne{
    "stampa.oreDiurne",
    "SELECT SUM(P.DurataAnnOre) FROM CorsiProp P INNER JOIN CorsiCompo C ON C.GrupOpe = P.GrupOpe AND C.Operatore = "
    "P.Operatore AND C.Componente = P.SedeInteressata INNER JOIN Comuni CO ON CO.CodComune = C.CodComune WHERE "
    "P.GrupOpe = ? AND P.Operatore = ? AND P.SedeInteressata = ? AND CO.PROV = ? AND P.CodOra = 1"};
inline constexpr Istruzione kOreSerali{
    "stampa.oreSerali",
    "SELECT SUM(P.DurataAnnOre) FROM CorsiProp P INNER JOIN CorsiCompo C ON C.GrupOpe = P.GrupOpe AND C.Operatore = "
    "P.Operatore AND C.Componente = P.SedeInteressata INNER JOIN Comuni CO ON CO.CodComune = C.CodComune WHERE "
    "P.GrupOpe = ? AND P.Operatore = ? AND P.SedeInteressata = ? AND CO.PROV = ? AND P.CodOra IN (2, 3)"};

inline constexpr const Istruzione *kTutte[] = {&kIntestazione,
                                               &kDenominazioneOperatore,
                                               &kVociComponenti,
                                               &kVociSediOcc,
                                               &kOperatore,
                                               &kSedeLegale,
                                               &kProvinciaLogo,
                                               &kDesProv,
                                               &kRiepilogoSedi,
                                               &kNumeroCorsiSede,
                                               &kComponentiConCorsi,
                                               &kComponente,
                                               &kLaboratori,
                                               &kOreDirettiva,
                                               &kSedeOccasionale,
                                               &kSediOccasionali,
                                               &kCorsiSede,
                                               &kCorsoDescritto,
                                               &kCorso,
                                               &kSpeseCorso,
                                               &kDesDest,
                                               &kValoriControllo,
                                               &kSchedeHandicap,
                                               &kDomandaStampata,
                                               &kSegnaDomandaStampata,
                                               &kOperatoreHaCorsi,
                                               &kControlloOperatore,
                                               &kControlloSedeLegale,
                                               &kControlloComponenti,
                                               &kControlloSediOcc,
                                               &kControlloLocali,
                                               &kLaboratoriComponente,
                                               &kDateAvvioComponenti,
                                               &kDateAvvioSediOcc,
                                               &kOreOccasionali,
                                               &kOreOccasionaliDeroga,
                                               &kOreLaboratoriEsterni,
                                               &kOreDiurne,
                                               &kOreSerali};
inline constexpr Catalogo kCatalogo{"stampa", "src/printing/CatalogoStampa.h", kTutte};

} // namespace quirdal::sql::stampa
