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
// Components that are only responsible for occasional-site courses. The operator is given
// twice, to the components with courses too: a list made once, not once per component.
inline constexpr Istruzione kComponentiResponsabili{
    "trasmissione.componentiResponsabili",
    "SELECT DISTINCT QryCompo.* FROM QryCompo INNER JOIN CorsiProp ON CorsiProp.CompoResp = QryCompo.Componente AND "
    "QryCompo.Operatore = CorsiProp.Operatore AND QryCompo.GrupOpe = CorsiProp.GrupOpe WHERE QryCompo.Componente NOT "
    "IN (SELECT Componente FROM QryCompoCorsi WHERE GrupOpe=? AND Operatore=?) AND QryCompo.GrupOpe=? AND "
    "QryCompo.Operatore=? AND QryCompo.PROV=? ORDER BY QryCompo.Componente"};
// Every course of the operator (%1: the columns the records take), and apart every cost row of
// its courses year by year, the costs' columns as "S_" and their name: the two are joined on
// the course's key as they are read, so that no plan of the server's can make of the join a
// scan of the costs per course (as one does on tables it has not yet measured).
inline constexpr Istruzione kCorsi{"trasmissione.corsi",
                                   "SELECT %1 FROM CorsiProp WHERE GrupOpe=? AND Operatore=? ORDER BY GrupOpe, Operatore, "
                                   "SedeInteressata, Corso, Accorp",
                                   nullptr, "GrupOpe, Operatore, SedeInteressata, Corso, Accorp, DesQualif, Sez34_1|DataAvvio"};
inline constexpr Istruzione kSpeseCorsi{
    "trasmissione.speseCorsi",
    "SELECT SedeInteressata, Corso, Accorp, ProgrAnno AS S_ProgrAnno, ParamA1 AS S_ParamA1, NumOreA1 AS S_NumOreA1, "
    "NumAllA1 AS S_NumAllA1, ParamA2 AS S_ParamA2, NumOreA2 AS S_NumOreA2, NumAllA2 AS S_NumAllA2, Param16 AS S_Param16, "
    "NumOre16 AS S_NumOre16, NumAll16 AS S_NumAll16, Param17Piu AS S_Param17Piu, Param17Meno AS S_Param17Meno, Param70 AS "
    "S_Param70, Param70P AS S_Param70P, Param71 AS S_Param71, Param71P AS S_Param71P, Param72 AS S_Param72, Param72P AS "
    "S_Param72P, Param73 AS S_Param73, Param73P AS S_Param73P, Param74 AS S_Param74, Param74P AS S_Param74P, Param17_3 AS "
    "S_Param17_3, NumAll17_3 AS S_NumAll17_3, EnteErogatore AS S_EnteErogatore FROM CorsiPropSpese WHERE GrupOpe=? AND "
    "Operatore=? ORDER BY GrupOpe, Operatore, SedeInteressata, Corso, Accorp, ProgrAnno"};
// The province of each site of the operator: its components' (0), its occasional sites' (1).
inline constexpr Istruzione kProvinceSedi{
    "trasmissione.provinceSedi",
    "SELECT 0 AS Occasionale, Componente AS Sede, PROV FROM QryCompo WHERE GrupOpe=? AND Operatore=? UNION ALL "
    "SELECT 1, SedeOcc, PROV FROM QrySediOccUtil WHERE GrupOpe=? AND Operatore=?"};
// The checked items of the province's metadata, and the check values of the application's
// courses: the values of the items that are checks are kept as they are read (a join would
// risk the same plans as the costs').
inline constexpr Istruzione kVociControllo{"trasmissione.vociControllo", "SELECT Id FROM Metadati WHERE Prov=? AND Tipo = 'C'"};
// The course's key as the course records make it: its site, code and grouping apart by "|".
inline constexpr Istruzione kValoriControllo{
    "trasmissione.valoriControllo",
    "SELECT SedeInteressata || '|' || Corso || '|' || Accorp AS Chiave, ID, Valore FROM ValoriChk WHERE GrupOpe=? AND "
    "Operatore=? AND Prov=? ORDER BY SedeInteressata, Corso, Accorp, ID"};
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
                                               &kSpeseCorsi,
                                               &kProvinceSedi,
                                               &kVociControllo,
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
