#pragma once
// The statements of the transmission: the application's number asked of the region, the
// reads of the transmission file, record by record, and the record of every send.
#include "db/Istruzione.h"

namespace quirdal::sql::trasmissione {

// --- The application's number -------------------------------------------------------------

inline constexpr Istruzione kDomandeOperatore{"trasmissione.domandeOperatore",
                                              "SELECT count(*) FROM Installazione WHERE GrupOpe=? AND Operatore=? AND Prov=?"};
inline constexpr Istruzione kNuovaDomanda{
    "trasmissione.nuovaDomanda",
    "INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, DomandaStampata, NumDoma) VALUES (?, ?, ?, 1, 0, ?)"};
inline constexpr Istruzione kNumDoma{"trasmissione.numDoma",
                                     "SELECT NumDoma FROM Installazione WHERE GrupOpe=? AND Operatore=? AND Prov=?"};

// --- The file: its name and header ----------------------------------------------------------

inline constexpr Istruzione kNumDomaDomanda{
    "trasmissione.numDomaDomanda", "SELECT NumDoma FROM Installazione WHERE GrupOpe=? AND Operatore=? AND Prov=? AND Domanda=1"};
inline constexpr Istruzione kDomandaPresente{
    "trasmissione.domandaPresente",
    "SELECT count(*) FROM Installazione WHERE GrupOpe=? AND Operatore=? AND Prov=? AND Domanda=1"};

// --- The records ------------------------------------------------------------------------------

inline constexpr Istruzione kOperatore{"trasmissione.operatore", "SELECT * FROM CorsiOper WHERE GrupOpe=? AND Operatore=?"};
inline constexpr Istruzione kSedeLegale{"trasmissione.sedeLegale",
                                        "SELECT * FROM QrySedLeg WHERE GrupOpe=? AND Operatore=? ORDER BY Componente"};
inline constexpr Istruzione kComponenti{
    "trasmissione.componenti", "SELECT * FROM QryCompoCorsi WHERE GrupOpe=? AND Operatore=? AND PROV=? ORDER BY Componente"};
inline constexpr Istruzione kSediOccasionali{
    "trasmissione.sediOccasionali",
    "SELECT * FROM QrySediOccUtilCorsi WHERE GrupOpe=? AND Operatore=? AND PROV=? ORDER BY SedeOcc"};
// Components that are only responsible for occasional-site courses.
inline constexpr Istruzione kComponentiResponsabili{
    "trasmissione.componentiResponsabili",
    "SELECT DISTINCT QryCompo.* FROM QryCompo INNER JOIN CorsiProp ON CorsiProp.CompoResp = QryCompo.Componente AND "
    "QryCompo.Operatore = CorsiProp.Operatore AND QryCompo.GrupOpe = CorsiProp.GrupOpe WHERE QryCompo.Componente NOT "
    "IN (SELECT Componente FROM QryCompoCorsi WHERE QryCompoCorsi.GrupOpe = QryCompo.GrupOpe AND "
    "QryCompoCorsi.Operatore = QryCompo.Operatore) AND QryCompo.GrupOpe=? AND QryCompo.Operatore=? AND "
    "QryCompo.PROV=? ORDER BY QryCompo.Componente"};
// Every course row of the operator with its costs year by year, the costs' columns as "S_" and
// their name.
inline constexpr Istruzione kCorsi{
    "trasmissione.corsi",
    "SELECT P.*, S.ProgrAnno AS S_ProgrAnno, S.ParamA1 AS S_ParamA1, S.NumOreA1 AS S_NumOreA1, S.NumAllA1 AS "
    "S_NumAllA1, S.ParamA2 AS S_ParamA2, S.NumOreA2 AS S_NumOreA2, S.NumAllA2 AS S_NumAllA2, S.Param16 AS S_Param16, "
    "S.NumOre16 AS S_NumOre16, S.NumAll16 AS S_NumAll16, S.Param17Piu AS S_Param17Piu, S.Param17Meno AS "
    "S_Param17Meno, S.Param70 AS S_Param70, S.Param70P AS S_Param70P, S.Param71 AS S_Param71, S.Param71P AS "
    "S_Param71P, S.Param72 AS S_Param72, S.Param72P AS S_Param72P, S.Param73 AS S_Param73, S.Param73P AS S_Param73P, "
    "S.Param74 AS S_Param74, S.Param74P AS S_Param74P, S.Param17_3 AS S_Param17_3, S.NumAll17_3 AS S_NumAll17_3, "
    "S.EnteErogatore AS S_EnteErogatore FROM CorsiProp P LEFT JOIN CorsiPropSpese S ON S.GrupOpe = P.GrupOpe AND "
    "S.Operatore = P.Operatore AND S.SedeInteressata = P.SedeInteressata AND S.Corso = P.Corso AND S.Accorp = "
    "P.Accorp WHERE P.GrupOpe=? AND P.Operatore=? ORDER BY P.GrupOpe, P.Operatore, P.SedeInteressata, P.Corso, "
    "P.Accorp, S.ProgrAnno"};
inline constexpr Istruzione kProvinciaSedeOcc{"trasmissione.provinciaSedeOcc",
                                              "SELECT PROV FROM QrySediOccUtil WHERE GrupOpe=? AND Operatore=? AND SedeOcc=?"};
inline constexpr Istruzione kValoriControllo{
    "trasmissione.valoriControllo",
    "SELECT A.SedeInteressata, A.Corso, A.Accorp, A.ID, A.Valore FROM ValoriChk A INNER JOIN Metadati B ON A.ID = B.Id "
    "AND B.Prov = A.Prov WHERE B.Tipo = 'C' AND A.GrupOpe=? AND A.Operatore=? AND A.Prov=? ORDER BY "
    "A.SedeInteressata, A.Corso, A.Accorp, A.ID"};
inline constexpr Istruzione kLaboratori{
    "trasmissione.laboratori", "SELECT * FROM QryCompoLab WHERE GrupOpe=? AND Operatore=? AND PROV=? ORDER BY Componente, IdLab"};
inline constexpr Istruzione kOreDirettiva{
    "trasmissione.oreDirettiva",
    "SELECT * FROM QryCompoOre WHERE GrupOpe=? AND Operatore=? AND PROV=? ORDER BY Componente, CodDiret"};

// --- What the final form fixes of the file, and the sends ------------------------------------

inline constexpr Istruzione kDomandaStampata{
    "trasmissione.domandaStampata",
    "SELECT DomandaStampata FROM Installazione WHERE GrupOpe=? AND Operatore=? AND Prov=? AND Domanda=1"};
inline constexpr Istruzione kFileDefinitivo{
    "trasmissione.fileDefinitivo",
    "SELECT DataFile, Email, Sha256 FROM DomandeDefinitive WHERE GrupOpe=? AND Operatore=? AND Prov=?"};
inline constexpr Istruzione kTogliFileDefinitivo{"trasmissione.togliFileDefinitivo",
                                                 "DELETE FROM DomandeDefinitive WHERE GrupOpe=? AND Operatore=? AND Prov=?"};
inline constexpr Istruzione kNuovoFileDefinitivo{
    "trasmissione.nuovoFileDefinitivo",
    "INSERT INTO DomandeDefinitive (GrupOpe, Operatore, Prov, DataFile, Email, Sha256) VALUES (?, ?, ?, ?, ?, ?)"};
inline constexpr Istruzione kRegistraInvio{
    "trasmissione.registraInvio",
    "INSERT INTO Invii (GrupOpe, Operatore, Prov, Copia, NumDoma, NomeFile, Dimensione, Sha256, DataOra, Risposta) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"};
inline constexpr Istruzione kCopiaRegistrata{"trasmissione.copiaRegistrata",
                                             "SELECT count(*) FROM Invii WHERE GrupOpe=? AND Operatore=? AND Prov=? AND Copia=?"};
inline constexpr Istruzione kInviiDomanda{
    "trasmissione.inviiDomanda",
    "SELECT GrupOpe, Operatore, Prov, Copia, NumDoma, NomeFile, Dimensione, Sha256, DataOra, Risposta FROM Invii WHERE "
    "GrupOpe=? AND Operatore=? AND Prov=? ORDER BY DataOra, Copia"};

inline constexpr const Istruzione *kTutte[] = {&kDomandeOperatore,
                                               &kNuovaDomanda,
                                               &kNumDoma,
                                               &kNumDomaDomanda,
                                               &kDomandaPresente,
                                               &kOperatore,
                                               &kSedeLegale,
                                               &kComponenti,
                                               &kSediOccasionali,
                                               &kComponentiResponsabili,
                                               &kCorsi,
                                               &kProvinciaSedeOcc,
                                               &kValoriControllo,
                                               &kLaboratori,
                                               &kOreDirettiva,
                                               &kDomandaStampata,
                                               &kFileDefinitivo,
                                               &kTogliFileDefinitivo,
                                               &kNuovoFileDefinitivo,
                                               &kRegistraInvio,
                                               &kCopiaRegistrata,
                                               &kInviiDomanda};
inline constexpr Catalogo kCatalogo{"trasmissione", "src/transmission/CatalogoTrasmissione.h", kTutte};

} // namespace quirdal::sql::trasmissione
