#pragma once
// The statements of the upgrades and repairs run at every start (db/Aggiornamenti.h). Plain
// SQL that both engines run.
#include "db/Istruzione.h"

namespace quirdal::sql::aggiornamenti {

inline constexpr Istruzione kDataAvvioVuota{"aggiornamenti.dataAvvioVuota", "UPDATE CorsiProp SET DataAvvio=''"};
// A whole-number column an earlier shape of the schema lacks (CorsiHandi.NumPersone).
inline constexpr Istruzione kAggiungiColonnaIntera{"aggiornamenti.aggiungiColonnaIntera", "ALTER TABLE %1 ADD COLUMN %2 INTEGER",
                                                   nullptr, "CorsiHandi;Nota"};
inline constexpr Istruzione kContaNonPrimiAnni{"aggiornamenti.contaNonPrimiAnni",
                                               "SELECT count(*) FROM CorsiProp WHERE StatoIter <> 1"};
// The rows of a child table that hang on a course that is not a first year.
inline constexpr Istruzione kTogliFigliNonPrimiAnni{
    "aggiornamenti.togliFigliNonPrimiAnni",
    "DELETE FROM %1 WHERE EXISTS (SELECT 1 FROM CorsiProp P WHERE P.StatoIter <> 1 AND P.GrupOpe = %1.GrupOpe AND "
    "P.Operatore = %1.Operatore AND P.SedeInteressata = %1.SedeInteressata AND P.Corso = %1.Corso AND P.Accorp = "
    "%1.Accorp)",
    nullptr, "CorsiPropSpese|ValoriChk|CorsiHandi"};
inline constexpr Istruzione kTogliNonPrimiAnni{"aggiornamenti.togliNonPrimiAnni", "DELETE FROM CorsiProp WHERE StatoIter <> 1"};
// IS DISTINCT FROM: the standard "differs, Null included" that both engines read.
inline constexpr Istruzione kRiparaQualifiche{
    "aggiornamenti.riparaQualifiche",
    "UPDATE CorsiProp SET DesQualif = (SELECT Qualifi.DesQualif FROM Qualifi WHERE Qualifi.CodQualif = "
    "CorsiProp.CodQualif) WHERE CodQualif IS NOT NULL AND CodQualif <> '' AND EXISTS (SELECT 1 FROM Qualifi "
    "WHERE Qualifi.CodQualif = CorsiProp.CodQualif) AND DesQualif IS DISTINCT FROM (SELECT Qualifi.DesQualif FROM "
    "Qualifi WHERE Qualifi.CodQualif = CorsiProp.CodQualif)"};
// The province of a course is that of its site: a component's municipality below 1000, the
// occasional site's from 1000 up.
inline constexpr Istruzione kRiparaValoriChk{
    "aggiornamenti.riparaValoriChk",
    "INSERT INTO ValoriChk (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, Prov, ID, Valore) "
    "SELECT C.GrupOpe, C.Operatore, C.SedeInteressata, C.Corso, C.Accorp, L.Prov, L.ID, 0 "
    "FROM (SELECT P.GrupOpe, P.Operatore, P.SedeInteressata, P.Corso, P.Accorp, "
    "  CASE WHEN P.SedeInteressata < 1000 THEN "
    "    (SELECT Comuni.PROV FROM CorsiCompo INNER JOIN Comuni ON Comuni.CodComune = CorsiCompo.CodComune "
    "     WHERE CorsiCompo.GrupOpe = P.GrupOpe AND CorsiCompo.Operatore = P.Operatore AND "
    "     CorsiCompo.Componente = P.SedeInteressata) "
    "  ELSE (SELECT Comuni.PROV FROM CorsiSediOcc INNER JOIN Comuni ON Comuni.CodComune = "
    "     CorsiSediOcc.CodComune WHERE CorsiSediOcc.SedeOcc = P.SedeInteressata) END AS Prov "
    "  FROM CorsiProp P) AS C "
    "INNER JOIN Legami L ON L.Prov = C.Prov "
    "INNER JOIN Metadati M ON M.ID = L.ID AND M.Prov = L.Prov AND M.Tipo = 'C' "
    "WHERE NOT EXISTS (SELECT 1 FROM ValoriChk V WHERE V.GrupOpe = C.GrupOpe AND V.Operatore = C.Operatore "
    "AND V.SedeInteressata = C.SedeInteressata AND V.Corso = C.Corso AND V.Accorp = C.Accorp AND V.ID = L.ID)"};

inline constexpr const Istruzione *kTutte[] = {&kDataAvvioVuota,         &kAggiungiColonnaIntera, &kContaNonPrimiAnni,
                                               &kTogliFigliNonPrimiAnni, &kTogliNonPrimiAnni,     &kRiparaQualifiche,
                                               &kRiparaValoriChk};
inline constexpr Catalogo kCatalogo{"aggiornamenti", "src/db/CatalogoAggiornamenti.h", kTutte};

} // namespace quirdal::sql::aggiornamenti
