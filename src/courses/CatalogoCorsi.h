#pragma once
// The statements of the courses: the look-up lists of the course sheet, the course with its
// cost rows and check values, the caps and hour bands its checks read, the handicap sheets
// and the moving of courses between sites.
#include "db/Istruzione.h"

namespace quirdal::sql::corsi {

// Look-up lists of the course sheet: code and description.
inline constexpr Istruzione kQualifiche{"corsi.qualifiche", "SELECT CodQualif, DesQualif FROM Qualifi ORDER BY DesQualif"};
inline constexpr Istruzione kIndirizzi{"corsi.indirizzi",
                                       "SELECT CodIndi, DesIndi FROM Indiri WHERE CodQualif = ? ORDER BY CodQualif, CodIndi"};
inline constexpr Istruzione kAssi{"corsi.assi", "SELECT CodAsse, DesAsse FROM Asse ORDER BY CodAsse"};
inline constexpr Istruzione kMisure{"corsi.misure",
                                    "SELECT CodMisura, DesMisura FROM Misura WHERE CodAsse = ? ORDER BY CodAsse, CodMisura"};
inline constexpr Istruzione kAzioni{"corsi.azioni",
                                    "SELECT CodAzione, DesAzione FROM Azione WHERE CodAsse = ? AND CodMisura = ? "
                                    "ORDER BY CodAsse, CodMisura, CodAzione"};
// The rows of an action: its three codes joined by "." compared with the key "asse.misura.azione".
inline constexpr Istruzione kTipologie{"corsi.tipologie",
                                       "SELECT CodTipologia, DesTipologia FROM AzioneTipologia WHERE CodAsse || '.' || "
                                       "CodMisura || '.' || CodAzione = ? ORDER BY CodTipologia"};
inline constexpr Istruzione kDestinatari{
    "corsi.destinatari",
    "SELECT AzioneDestin.CodDest, Destin.DesDest FROM AzioneDestin INNER JOIN Destin ON AzioneDestin.CodDest = "
    "Destin.CodDest WHERE AzioneDestin.CodAsse || '.' || AzioneDestin.CodMisura || '.' || AzioneDestin.CodAzione = ? "
    "AND AzioneDestin.CodTipologia = ? ORDER BY AzioneDestin.CodAsse, AzioneDestin.CodMisura, "
    "AzioneDestin.CodAzione, AzioneDestin.CodDest"};
inline constexpr Istruzione kScolarita{
    "corsi.scolarita",
    "SELECT AzioneScolari.CodScol, Scolari.DesScol FROM AzioneScolari INNER JOIN Scolari ON AzioneScolari.CodScol = "
    "Scolari.CodScol WHERE AzioneScolari.CodAsse || '.' || AzioneScolari.CodMisura || '.' || AzioneScolari.CodAzione "
    "= ? AND AzioneScolari.CodTipologia = ? ORDER BY AzioneScolari.CodAsse, AzioneScolari.CodMisura, "
    "AzioneScolari.CodAzione, AzioneScolari.CodScol"};
inline constexpr Istruzione kSettori{"corsi.settori", "SELECT CodSetto, DesSetto FROM Settore ORDER BY CodSetto"};
inline constexpr Istruzione kComparti{"corsi.comparti",
                                      "SELECT CodComp, DesComp FROM Comparto WHERE CodSetto = ? ORDER BY CodSetto, CodComp"};
inline constexpr Istruzione kOrari{"corsi.orari", "SELECT CodOra, DesOra FROM Orari ORDER BY CodOra"};
inline constexpr Istruzione kCertificazioni{"corsi.certificazioni", "SELECT CodCert, DesCert FROM Certif ORDER BY CodCert"};
inline constexpr Istruzione kDurate{"corsi.durate",
                                    "SELECT DISTINCT ProgrAnno FROM IntervalloOreStage WHERE CodAsse || '.' || "
                                    "CodMisura || '.' || CodAzione = ? AND CodTipologia = ? ORDER BY ProgrAnno"};
// The institute "0" first, then the others by name.
inline constexpr Istruzione kIstitutoZero{"corsi.istitutoZero", "SELECT CodIsti, DesIsti FROM Istituti WHERE CodIsti = 0"};
inline constexpr Istruzione kIstituti{"corsi.istituti",
                                      "SELECT CodIsti, DesIsti FROM Istituti WHERE CodIsti <> 0 ORDER BY DesIsti"};
inline constexpr Istruzione kAmbitiTerritoriali{
    "corsi.ambitiTerritoriali", "SELECT Codice, Descrizione FROM AmbitiTerr WHERE NOT (Codice = 'OO') ORDER BY Codice"};
inline constexpr Istruzione kSettoriProduttivi{"corsi.settoriProduttivi",
                                               "SELECT Codice, Descrizione FROM SettoriProd WHERE AmbitoTerr = ? AND NOT "
                                               "(AmbitoTerr = 'OO' AND Codice = '99') ORDER BY Codice"};
inline constexpr Istruzione kFigureProfessionali{
    "corsi.figureProfessionali",
    "SELECT Codice, Descrizione FROM FigureProf WHERE AmbitoTerr = ? AND SettoreProd = ? AND NOT (AmbitoTerr = 'OO' "
    "AND SettoreProd = '99' AND Codice = '01') ORDER BY Codice"};
inline constexpr Istruzione kComponentiResponsabili{
    "corsi.componentiResponsabili",
    "SELECT Componente, Denominazione, TipoCompo, Indirizzo FROM QryCompo WHERE GrupOpe = ? AND Operatore = ? AND "
    "PROV = ? ORDER BY Componente"};
inline constexpr Istruzione kCorsiPrincipali{
    "corsi.corsiPrincipali",
    "SELECT Corso, DesQualif FROM CorsiProp WHERE GrupOpe = ? AND Operatore = ? AND SedeInteressata = ? AND CodAsse = "
    "? AND CodMisura = ? AND CodAzione = ? AND Accorp = '0' ORDER BY GrupOpe, Operatore, SedeInteressata, Corso"};
// The previous activities on the old actions that the current action replaces.
inline constexpr Istruzione kCorsiPrecedenti{
    "corsi.corsiPrecedenti",
    "SELECT P.GrupOpe, P.Operatore, P.ProgrAttivitaPrec, P.AnnoInizioPrec, P.AccPrec, P.Denomina FROM PrecCorsi P "
    "WHERE P.GrupOpeAtt = ? AND P.OperatoreAtt = ? AND EXISTS (SELECT 1 FROM New_Old_Azioni N WHERE N.New_CodAsse = ? "
    "AND N.New_CodMisura = ? AND N.New_CodAzione = ? AND N.Old_CodAsse = P.CodAsse AND N.Old_CodMisura = P.CodMisura "
    "AND N.Old_CodAzione = P.CodAzione) ORDER BY P.GrupOpe, P.Operatore, P.AnnoInizioPrec, P.ProgrAttivitaPrec"};
inline constexpr Istruzione kCorsiModulari{
    "corsi.corsiModulari",
    "SELECT GrupOpe, Operatore, ProgrAttivitaPrec, AnnoInizioPrec, AccPrec, Denomina FROM PercMod WHERE GrupOpeAtt = ? "
    "AND OperatoreAtt = ? ORDER BY GrupOpe, Operatore, Componente, SedeOcc, AnnoInizioPrec, ProgrAttivitaPrec, "
    "AccPrec, Denomina"};
inline constexpr Istruzione kLegamiProvincia{"corsi.legamiProvincia", "SELECT count(*) FROM Legami WHERE Prov=?"};
inline constexpr Istruzione kSezione33{"corsi.sezione33",
                                       "SELECT Tipo, Etichetta, Numero, Id FROM Metadati WHERE Prov = ? ORDER BY Id"};

// The hour bands of an action.
inline constexpr Istruzione kOreTotali{"corsi.oreTotali",
                                       "SELECT MinOre, MaxOre FROM IntervalloOreStage WHERE CodAsse || '.' || CodMisura "
                                       "|| '.' || CodAzione = ? AND CodTipologia = ? AND SitIter = ? AND ProgrAnno = ?"};
inline constexpr Istruzione kOreStage{
    "corsi.oreStage",
    "SELECT min_ore_stage_perc, max_ore_stage_perc, min_ore_stage_ass, max_ore_stage_ass FROM IntervalloOreStage WHERE "
    "CodAsse || '.' || CodMisura || '.' || CodAzione = ? AND SitIter = ? AND (? >= MinOre AND ? <= MaxOre)"};

// The cost lines an action admits, and its caps.
inline constexpr Istruzione kLineeAmmesse{"corsi.lineeAmmesse",
                                          "SELECT CodCentro, CodSpesa FROM AmmissioneSpese WHERE CodAsse || '.' || "
                                          "CodMisura || '.' || CodAzione = ? AND CodTipologia = ?"};
inline constexpr Istruzione kMassimaliAzione{
    "corsi.massimaliAzione",
    "SELECT ParA1, ParC1, ParA2, ParC2, ParB FROM MassimaliPar WHERE CodAsse || '.' || CodMisura || '.' || CodAzione = "
    "? AND CodTipologia = ? AND (MinOre <= ? AND ? <= MaxOre) ORDER BY ParC1"};
inline constexpr Istruzione kMassimaliAnno{
    "corsi.massimaliAnno",
    "SELECT ParA1, ParC1, ParA2, ParC2, ParB FROM MassimaliPar WHERE CodAsse = ? AND CodMisura = ? AND CodAzione = ? "
    "AND CodTipologia = ? AND (MinOre <= ? AND MaxOre >= ?) ORDER BY ParC1"};
// The same tables read once for an action and type (or situation), every band with its
// hours, for the checks of many courses.
inline constexpr Istruzione kMassimaliBande{
    "corsi.massimaliBande",
    "SELECT ParA1, ParC1, ParA2, ParC2, ParB, MinOre, MaxOre FROM MassimaliPar WHERE CodAsse = ? AND CodMisura = ? AND "
    "CodAzione = ? AND CodTipologia = ? ORDER BY ParC1"};
inline constexpr Istruzione kOreStageBande{
    "corsi.oreStageBande",
    "SELECT min_ore_stage_perc, max_ore_stage_perc, min_ore_stage_ass, max_ore_stage_ass, MinOre, MaxOre FROM "
    "IntervalloOreStage WHERE CodAsse || '.' || CodMisura || '.' || CodAzione = ? AND SitIter = ? ORDER BY MinOre, MaxOre"};
inline constexpr Istruzione kAllieviMassimi{"corsi.allieviMassimi",
                                            "SELECT MAX(ParC1) FROM MassimaliPar WHERE CodAsse || '.' || CodMisura || "
                                            "'.' || CodAzione = ? AND CodTipologia = ?"};
inline constexpr Istruzione kOreMassime{"corsi.oreMassime",
                                        "SELECT MAX(MaxOre) FROM MassimaliPar WHERE CodAsse || '.' || CodMisura || '.' "
                                        "|| CodAzione = ? AND CodTipologia = ?"};
inline constexpr Istruzione kObbligoIstituto{"corsi.obbligoIstituto",
                                             "SELECT count(*) FROM ObbligoIstituto WHERE CodAsse || '.' || CodMisura || "
                                             "'.' || CodAzione = ? AND Obbligo = 'S'"};

// The courses of a site.
inline constexpr Istruzione kCorsiDellaSede{"corsi.corsiDellaSede",
                                            "SELECT Corso, Accorp FROM CorsiProp WHERE GrupOpe=? AND Operatore=? AND "
                                            "SedeInteressata=? ORDER BY Corso, CAST(Accorp AS INTEGER)"};
inline constexpr Istruzione kVociCorsi{"corsi.vociCorsi",
                                       "SELECT Corso, Accorp, DesQualif FROM CorsiProp WHERE GrupOpe=? AND Operatore=? "
                                       "AND SedeInteressata=? ORDER BY Corso, CAST(Accorp AS INTEGER)"};
// The courses of the application in the province, at its components and its occasional sites.
inline constexpr Istruzione kCorsiDellaDomanda{
    "corsi.corsiDellaDomanda",
    "SELECT P.SedeInteressata, P.Corso, P.Accorp FROM CorsiProp P WHERE P.GrupOpe=? AND P.Operatore=? AND "
    "((P.SedeInteressata < 1000 AND EXISTS (SELECT 1 FROM CorsiCompo K INNER JOIN Comuni M ON M.CodComune = "
    "K.CodComune WHERE K.GrupOpe = P.GrupOpe AND K.Operatore = P.Operatore AND K.Componente = P.SedeInteressata AND "
    "M.PROV = ?)) OR (P.SedeInteressata > 999 AND EXISTS (SELECT 1 FROM CorsiSediOcc O INNER JOIN Comuni M ON "
    "M.CodComune = O.CodComune WHERE O.SedeOcc = P.SedeInteressata AND M.PROV = ?))) ORDER BY P.SedeInteressata, "
    "P.Corso, CAST(P.Accorp AS INTEGER)"};

// The rows of those courses in each of their tables, one statement a table, for the check of
// every course. The condition on the site is the one above; the parameters are the operator
// and the province twice (ValoriChk: the province three times, its own column first).
inline constexpr Istruzione kRigheCorsiDellaDomanda{
    "corsi.righeCorsiDellaDomanda",
    "SELECT P.* FROM CorsiProp P WHERE P.GrupOpe=? AND P.Operatore=? AND "
    "((P.SedeInteressata < 1000 AND EXISTS (SELECT 1 FROM CorsiCompo K INNER JOIN Comuni M ON M.CodComune = "
    "K.CodComune WHERE K.GrupOpe = P.GrupOpe AND K.Operatore = P.Operatore AND K.Componente = P.SedeInteressata AND "
    "M.PROV = ?)) OR (P.SedeInteressata > 999 AND EXISTS (SELECT 1 FROM CorsiSediOcc O INNER JOIN Comuni M ON "
    "M.CodComune = O.CodComune WHERE O.SedeOcc = P.SedeInteressata AND M.PROV = ?))) ORDER BY P.SedeInteressata, "
    "P.Corso, CAST(P.Accorp AS INTEGER)"};
inline constexpr Istruzione kSpeseDellaDomanda{
    "corsi.speseDellaDomanda",
    "SELECT P.* FROM CorsiPropSpese P WHERE P.GrupOpe=? AND P.Operatore=? AND "
    "((P.SedeInteressata < 1000 AND EXISTS (SELECT 1 FROM CorsiCompo K INNER JOIN Comuni M ON M.CodComune = "
    "K.CodComune WHERE K.GrupOpe = P.GrupOpe AND K.Operatore = P.Operatore AND K.Componente = P.SedeInteressata AND "
    "M.PROV = ?)) OR (P.SedeInteressata > 999 AND EXISTS (SELECT 1 FROM CorsiSediOcc O INNER JOIN Comuni M ON "
    "M.CodComune = O.CodComune WHERE O.SedeOcc = P.SedeInteressata AND M.PROV = ?)))"};
inline constexpr Istruzione kValoriChkDellaDomanda{
    "corsi.valoriChkDellaDomanda",
    "SELECT P.SedeInteressata, P.Corso, P.Accorp, P.ID, P.Valore FROM ValoriChk P WHERE P.GrupOpe=? AND "
    "P.Operatore=? AND P.Prov=? AND "
    "((P.SedeInteressata < 1000 AND EXISTS (SELECT 1 FROM CorsiCompo K INNER JOIN Comuni M ON M.CodComune = "
    "K.CodComune WHERE K.GrupOpe = P.GrupOpe AND K.Operatore = P.Operatore AND K.Componente = P.SedeInteressata AND "
    "M.PROV = ?)) OR (P.SedeInteressata > 999 AND EXISTS (SELECT 1 FROM CorsiSediOcc O INNER JOIN Comuni M ON "
    "M.CodComune = O.CodComune WHERE O.SedeOcc = P.SedeInteressata AND M.PROV = ?)))"};

// A course, by its key: GrupOpe, Operatore, SedeInteressata, Corso, Accorp.
inline constexpr Istruzione kCorso{
    "corsi.corso", "SELECT * FROM CorsiProp WHERE GrupOpe=? AND Operatore=? AND SedeInteressata=? AND Corso=? AND Accorp=?"};
inline constexpr Istruzione kSpeseCorso{"corsi.speseCorso",
                                        "SELECT * FROM CorsiPropSpese WHERE GrupOpe=? AND Operatore=? AND "
                                        "SedeInteressata=? AND Corso=? AND Accorp=? ORDER BY ProgrAnno"};
inline constexpr Istruzione kValoriChk{"corsi.valoriChk",
                                       "SELECT ID, Valore FROM ValoriChk WHERE GrupOpe=? AND Operatore=? AND "
                                       "SedeInteressata=? AND Corso=? AND Accorp=? AND Prov=?"};
inline constexpr Istruzione kCorsoSenzaSpese{"corsi.corsoSenzaSpese",
                                             "SELECT count(*) FROM CorsiPropSpese WHERE GrupOpe=? AND Operatore=? AND "
                                             "SedeInteressata=? AND Corso=? AND Accorp=?"};
// The rows of a course in one of its tables: CorsiPropSpese, ValoriChk, CorsiHandi, CorsiProp.
inline constexpr Istruzione kCancellaDelCorso{
    "corsi.cancellaDelCorso", "DELETE FROM %1 WHERE GrupOpe=? AND Operatore=? AND SedeInteressata=? AND Corso=? AND Accorp=?",
    nullptr, "CorsiPropSpese|ValoriChk|CorsiHandi|CorsiProp"};

// The code of a new course: the highest merged number of its main course, or the
// operator's highest course code.
inline constexpr Istruzione kUltimoAccorpato{"corsi.ultimoAccorpato",
                                             "SELECT count(*), MAX(CAST(Accorp AS INTEGER)) FROM CorsiProp WHERE "
                                             "GrupOpe=? AND Operatore=? AND Corso=?"};
inline constexpr Istruzione kUltimoCorso{"corsi.ultimoCorso",
                                         "SELECT MAX(CAST(Corso AS INTEGER)) FROM CorsiProp WHERE GrupOpe=? AND Operatore=?"};
// A code and merged number held by a course of the operator, at any site.
inline constexpr Istruzione kCodiceInUso{
    "corsi.codiceInUso", "SELECT count(*) FROM CorsiProp WHERE GrupOpe=? AND Operatore=? AND Corso=? AND Accorp=?"};

// A course written: its key, then the same columns in the same order in both statements.
inline constexpr Istruzione kInserisciCorso{
    "corsi.inserisciCorso",
    "INSERT INTO CorsiProp (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, CompoResp, CodQualif, DesQualif, "
    "CodInd1, DesInd1, CodInd2, DesInd2, CodInd3, DesInd3, CodInd4, DesInd4, CodInd5, DesInd5, CodInd6, DesInd6, "
    "CodAsse, CodMisura, CodAzione, CodTipologia, CodDest1, CodDest2, CodDest3, CodDest4, CodDest5, CodScol, "
    "CodSetto, CodComp, CodOra, CodCert, NumAll, DurataAnnOre, DataAvvio, TotOreIter, OreStage, OreLabEsterni, "
    "DurataTotIter, StatoIter, ATS, CodIsti, IstitutoLibero, SPINAmbitoTerr, SPINSettoreProd, SPINFiguraProf, IM, "
    "QSS, Sez34_1, Sez34_2, Sez34_3, Sez34_4, PO_1, CO_1) VALUES "
    "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"};
inline constexpr Istruzione kAggiornaCorso{
    "corsi.aggiornaCorso",
    "UPDATE CorsiProp SET CompoResp=?, CodQualif=?, DesQualif=?, CodInd1=?, DesInd1=?, CodInd2=?, DesInd2=?, "
    "CodInd3=?, DesInd3=?, CodInd4=?, DesInd4=?, CodInd5=?, DesInd5=?, CodInd6=?, DesInd6=?, CodAsse=?, "
    "CodMisura=?, CodAzione=?, CodTipologia=?, CodDest1=?, CodDest2=?, CodDest3=?, CodDest4=?, CodDest5=?, "
    "CodScol=?, CodSetto=?, CodComp=?, CodOra=?, CodCert=?, NumAll=?, DurataAnnOre=?, DataAvvio=?, TotOreIter=?, "
    "OreStage=?, OreLabEsterni=?, DurataTotIter=?, StatoIter=?, ATS=?, CodIsti=?, IstitutoLibero=?, "
    "SPINAmbitoTerr=?, SPINSettoreProd=?, SPINFiguraProf=?, IM=?, QSS=?, Sez34_1=?, Sez34_2=?, Sez34_3=?, "
    "Sez34_4=?, PO_1=?, CO_1=? WHERE GrupOpe=? AND Operatore=? AND SedeInteressata=? AND Corso=? AND Accorp=?"};
inline constexpr Istruzione kInserisciSpese{
    "corsi.inserisciSpese",
    "INSERT INTO CorsiPropSpese (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, ProgrAnno, ParamA1, NumOreA1, "
    "NumAllA1, ParamA2, NumOreA2, NumAllA2, Param16, NumOre16, NumAll16, Param17Piu, Param17Meno, Param70, Param70P, "
    "Param71, Param71P, Param72, Param72P, Param73, Param73P, Param74, Param74P, Param17_3, NumAll17_3, "
    "EnteErogatore, Guid) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"};
// An upsert both engines read alike (ON CONFLICT ... DO UPDATE, excluded).
inline constexpr Istruzione kScriviValoreChk{
    "corsi.scriviValoreChk",
    "INSERT INTO ValoriChk (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, Prov, ID, Valore) VALUES "
    "(?,?,?,?,?,?,?,?) ON CONFLICT (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, Prov, ID) DO UPDATE SET "
    "Valore = excluded.Valore"};

// Merged courses, by the key of their main course: GrupOpe, Operatore, SedeInteressata, Corso.
inline constexpr Istruzione kHaAccorpati{"corsi.haAccorpati",
                                         "SELECT count(*) FROM CorsiProp WHERE GrupOpe=? AND Operatore=? AND "
                                         "SedeInteressata=? AND Corso=? AND Accorp<>'0'"};
inline constexpr Istruzione kAccorpatoNumero99{"corsi.accorpatoNumero99",
                                               "SELECT count(*) FROM CorsiProp WHERE GrupOpe=? AND Operatore=? AND "
                                               "SedeInteressata=? AND Corso=? AND Accorp='99'"};
inline constexpr Istruzione kOrePrincipale{"corsi.orePrincipale",
                                           "SELECT DurataAnnOre FROM CorsiProp WHERE GrupOpe=? AND Operatore=? AND "
                                           "SedeInteressata=? AND Corso=? AND Accorp='0'"};
inline constexpr Istruzione kOreMassimeAccorpati{"corsi.oreMassimeAccorpati",
                                                 "SELECT MAX(DurataAnnOre) FROM CorsiProp WHERE GrupOpe=? AND "
                                                 "Operatore=? AND SedeInteressata=? AND Corso=? AND NOT (Accorp='0')"};
inline constexpr Istruzione kRiepilogoAccorpati{
    "corsi.riepilogoAccorpati", "SELECT * FROM CorsiProp WHERE GrupOpe=? AND Operatore=? AND SedeInteressata=? AND Corso=?"};
// The ten summary amounts of the main course copied into each of its merged courses.
inline constexpr Istruzione kSintesiAgliAccorpati{
    "corsi.sintesiAgliAccorpati",
    "UPDATE CorsiProp SET "
    "a11_ParamA1 = (SELECT P.a11_ParamA1 FROM CorsiProp P WHERE P.GrupOpe = CorsiProp.GrupOpe AND P.Operatore = "
    "CorsiProp.Operatore AND P.SedeInteressata = CorsiProp.SedeInteressata AND P.Corso = CorsiProp.Corso AND P.Accorp = '0'), "
    "a12_ParamA2 = (SELECT P.a12_ParamA2 FROM CorsiProp P WHERE P.GrupOpe = CorsiProp.GrupOpe AND P.Operatore = "
    "CorsiProp.Operatore AND P.SedeInteressata = CorsiProp.SedeInteressata AND P.Corso = CorsiProp.Corso AND P.Accorp = '0'), "
    "a21_ParamA1 = (SELECT P.a21_ParamA1 FROM CorsiProp P WHERE P.GrupOpe = CorsiProp.GrupOpe AND P.Operatore = "
    "CorsiProp.Operatore AND P.SedeInteressata = CorsiProp.SedeInteressata AND P.Corso = CorsiProp.Corso AND P.Accorp = '0'), "
    "a22_ParamA2 = (SELECT P.a22_ParamA2 FROM CorsiProp P WHERE P.GrupOpe = CorsiProp.GrupOpe AND P.Operatore = "
    "CorsiProp.Operatore AND P.SedeInteressata = CorsiProp.SedeInteressata AND P.Corso = CorsiProp.Corso AND P.Accorp = '0'), "
    "a31_ParamA1 = (SELECT P.a31_ParamA1 FROM CorsiProp P WHERE P.GrupOpe = CorsiProp.GrupOpe AND P.Operatore = "
    "CorsiProp.Operatore AND P.SedeInteressata = CorsiProp.SedeInteressata AND P.Corso = CorsiProp.Corso AND P.Accorp = '0'), "
    "a32_ParamA2 = (SELECT P.a32_ParamA2 FROM CorsiProp P WHERE P.GrupOpe = CorsiProp.GrupOpe AND P.Operatore = "
    "CorsiProp.Operatore AND P.SedeInteressata = CorsiProp.SedeInteressata AND P.Corso = CorsiProp.Corso AND P.Accorp = '0'), "
    "a41_ParamA1 = (SELECT P.a41_ParamA1 FROM CorsiProp P WHERE P.GrupOpe = CorsiProp.GrupOpe AND P.Operatore = "
    "CorsiProp.Operatore AND P.SedeInteressata = CorsiProp.SedeInteressata AND P.Corso = CorsiProp.Corso AND P.Accorp = '0'), "
    "a42_ParamA2 = (SELECT P.a42_ParamA2 FROM CorsiProp P WHERE P.GrupOpe = CorsiProp.GrupOpe AND P.Operatore = "
    "CorsiProp.Operatore AND P.SedeInteressata = CorsiProp.SedeInteressata AND P.Corso = CorsiProp.Corso AND P.Accorp = '0'), "
    "b1_ParamB1 = (SELECT P.b1_ParamB1 FROM CorsiProp P WHERE P.GrupOpe = CorsiProp.GrupOpe AND P.Operatore = "
    "CorsiProp.Operatore AND P.SedeInteressata = CorsiProp.SedeInteressata AND P.Corso = CorsiProp.Corso AND P.Accorp = '0'), "
    "b2_ParamB2 = (SELECT P.b2_ParamB2 FROM CorsiProp P WHERE P.GrupOpe = CorsiProp.GrupOpe AND P.Operatore = "
    "CorsiProp.Operatore AND P.SedeInteressata = CorsiProp.SedeInteressata AND P.Corso = CorsiProp.Corso AND P.Accorp = '0') "
    "WHERE GrupOpe=? AND Operatore=? AND SedeInteressata=? AND Corso=? AND Accorp<>'0'"};

// The year-1 cost rows of the courses a site answers for: its own, and for a component
// those of the occasional sites in the province it is responsible for; with the annual
// hours and whether the action is one in derogation.
inline constexpr Istruzione kSpeseDellaSede{
    "corsi.speseDellaSede",
    "SELECT S.*, P.DurataAnnOre AS OreAnno, EXISTS (SELECT 1 FROM AzioneDeroga D WHERE D.CodAsse = P.CodAsse AND "
    "D.CodMisura = P.CodMisura AND D.CodAzione = P.CodAzione) AS Deroga FROM CorsiPropSpese S INNER JOIN CorsiProp P "
    "ON P.GrupOpe = S.GrupOpe AND P.Operatore = S.Operatore AND P.SedeInteressata = S.SedeInteressata AND P.Corso = "
    "S.Corso AND P.Accorp = S.Accorp WHERE S.ProgrAnno = 1 AND S.GrupOpe=? AND S.Operatore=? AND (S.SedeInteressata = "
    "? OR (? < 1000 AND S.SedeInteressata > 999 AND P.CompoResp = ? AND EXISTS (SELECT 1 FROM CorsiSediOcc O INNER "
    "JOIN Comuni M ON M.CodComune = O.CodComune WHERE O.SedeOcc = S.SedeInteressata AND M.PROV = ?)))"};

// Handicap sheets: the flag on the course that says whether its action admits one.
inline constexpr Istruzione kSegnaScheda{
    "corsi.segnaScheda",
    "UPDATE CorsiProp SET SchedaHand = CASE WHEN EXISTS (SELECT 1 FROM AmmissioneSchedaHand A WHERE A.CodAsse = "
    "CorsiProp.CodAsse AND A.CodMisura = CorsiProp.CodMisura AND A.CodAzione = CorsiProp.CodAzione AND A.CodTipologia = "
    "CorsiProp.CodTipologia) THEN 1 ELSE 0 END WHERE GrupOpe=? AND Operatore=? AND SedeInteressata=? AND Corso=? AND "
    "Accorp=?"};
// Only the courses whose flag changes. SQLite's "IS NOT" compares NULL as a value;
// PostgreSQL spells it IS DISTINCT FROM.
inline constexpr Istruzione kSegnaSchede{
    "corsi.segnaSchede",
    "UPDATE CorsiProp SET SchedaHand = CASE WHEN EXISTS (SELECT 1 FROM AmmissioneSchedaHand A WHERE A.CodAsse = "
    "CorsiProp.CodAsse AND A.CodMisura = CorsiProp.CodMisura AND A.CodAzione = CorsiProp.CodAzione AND A.CodTipologia = "
    "CorsiProp.CodTipologia) THEN 1 ELSE 0 END WHERE SchedaHand IS NOT (CASE WHEN EXISTS (SELECT 1 FROM "
    "AmmissioneSchedaHand A WHERE A.CodAsse = CorsiProp.CodAsse AND A.CodMisura = CorsiProp.CodMisura AND A.CodAzione = "
    "CorsiProp.CodAzione AND A.CodTipologia = CorsiProp.CodTipologia) THEN 1 ELSE 0 END)",
    "UPDATE CorsiProp SET SchedaHand = CASE WHEN EXISTS (SELECT 1 FROM AmmissioneSchedaHand A WHERE A.CodAsse = "
    "CorsiProp.CodAsse AND A.CodMisura = CorsiProp.CodMisura AND A.CodAzione = CorsiProp.CodAzione AND A.CodTipologia = "
    "CorsiProp.CodTipologia) THEN 1 ELSE 0 END WHERE SchedaHand IS DISTINCT FROM (CASE WHEN EXISTS (SELECT 1 FROM "
    "AmmissioneSchedaHand A WHERE A.CodAsse = CorsiProp.CodAsse AND A.CodMisura = CorsiProp.CodMisura AND A.CodAzione = "
    "CorsiProp.CodAzione AND A.CodTipologia = CorsiProp.CodTipologia) THEN 1 ELSE 0 END)"};
inline constexpr Istruzione kCorsiConScheda{
    "corsi.corsiConScheda",
    "SELECT Corso, Accorp, DesQualif FROM CorsiProp WHERE GrupOpe=? AND Operatore=? AND SedeInteressata=? AND "
    "SchedaHand=1 ORDER BY Corso, CAST(Accorp AS INTEGER)"};
inline constexpr Istruzione kCorsoDellaScheda{"corsi.corsoDellaScheda",
                                              "SELECT SchedaHand, NumAll FROM CorsiProp WHERE GrupOpe=? AND Operatore=? "
                                              "AND SedeInteressata=? AND Corso=? AND Accorp=?"};
// The sheets of a site: GrupOpe, Operatore, SedeInteressata, then the sheet's number Handi.
inline constexpr Istruzione kVociSchede{"corsi.vociSchede",
                                        "SELECT Handi, DesQualif FROM qryhandi WHERE GrupOpe=? AND Operatore=? AND "
                                        "SedeInteressata=? ORDER BY Handi"};
inline constexpr Istruzione kDestinatariScheda{"corsi.destinatariScheda", "SELECT CodDest, DesDest FROM Destin ORDER BY CodDest"};
inline constexpr Istruzione kDestinatarioEsiste{"corsi.destinatarioEsiste", "SELECT count(*) FROM Destin WHERE CodDest=?"};
inline constexpr Istruzione kScheda{
    "corsi.scheda",
    "SELECT Handi, SedeInteressata, Corso, Accorp, NumPersone, CodDest1, CodDest2, CodDest3, CodDest4 FROM CorsiHandi "
    "WHERE GrupOpe=? AND Operatore=? AND SedeInteressata=? AND Handi=?"};
inline constexpr Istruzione kUltimaScheda{"corsi.ultimaScheda",
                                          "SELECT MAX(CAST(Handi AS INTEGER)) FROM CorsiHandi WHERE GrupOpe=? AND "
                                          "Operatore=? AND SedeInteressata=?"};
inline constexpr Istruzione kSchedaOccupata{"corsi.schedaOccupata",
                                            "SELECT count(*) FROM CorsiHandi WHERE GrupOpe=? AND Operatore=? AND "
                                            "SedeInteressata=? AND Handi=?"};
// A sheet of the course other than the one given (none given: any sheet of the course).
inline constexpr Istruzione kAltraSchedaDelCorso{
    "corsi.altraSchedaDelCorso",
    "SELECT Handi FROM CorsiHandi WHERE GrupOpe=? AND Operatore=? AND SedeInteressata=? AND Corso=? AND Accorp=? AND "
    "COALESCE(Handi, '') <> COALESCE(?, '')"};
inline constexpr Istruzione kInserisciScheda{
    "corsi.inserisciScheda",
    "INSERT INTO CorsiHandi (Corso, Accorp, NumPersone, CodDest1, CodDest2, CodDest3, CodDest4, CodDest5, GrupOpe, "
    "Operatore, SedeInteressata, Handi) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"};
inline constexpr Istruzione kAggiornaScheda{
    "corsi.aggiornaScheda",
    "UPDATE CorsiHandi SET Corso=?, Accorp=?, NumPersone=?, CodDest1=?, CodDest2=?, CodDest3=?, CodDest4=?, "
    "CodDest5=? WHERE GrupOpe=? AND Operatore=? AND SedeInteressata=? AND Handi=?"};
inline constexpr Istruzione kCancellaScheda{
    "corsi.cancellaScheda", "DELETE FROM CorsiHandi WHERE GrupOpe=? AND Operatore=? AND SedeInteressata=? AND Handi=?"};

// Moving courses between the sites of the application in the province: its components
// (number, name, type, address) and its occasional sites (number, name, address), keyed by
// GrupOpe, Operatore, PROV and then the condition's own values.
inline constexpr Istruzione kComponenti{"corsi.componenti",
                                        "SELECT Componente, Denominazione, TipoCompo, Indirizzo FROM QryCompo WHERE "
                                        "GrupOpe=? AND Operatore=? AND PROV=? ORDER BY Componente"};
// Those with courses of the operator (GrupOpe, Operatore).
inline constexpr Istruzione kComponentiConCorsi{
    "corsi.componentiConCorsi",
    "SELECT Componente, Denominazione, TipoCompo, Indirizzo FROM QryCompo WHERE GrupOpe=? AND Operatore=? AND PROV=? "
    "AND EXISTS (SELECT 1 FROM CorsiProp P WHERE P.GrupOpe=? AND P.Operatore=? AND "
    "P.SedeInteressata=QryCompo.Componente) ORDER BY Componente"};
inline constexpr Istruzione kSediOccConCorsi{
    "corsi.sediOccConCorsi",
    "SELECT SedeOcc, Denominazione, Indirizzo FROM QrySediOccUtil WHERE GrupOpe=? AND Operatore=? AND PROV=? AND "
    "EXISTS (SELECT 1 FROM CorsiProp P WHERE P.GrupOpe=? AND P.Operatore=? AND "
    "P.SedeInteressata=QrySediOccUtil.SedeOcc) ORDER BY SedeOcc"};
// All but the site given.
inline constexpr Istruzione kComponentiTranne{"corsi.componentiTranne",
                                              "SELECT Componente, Denominazione, TipoCompo, Indirizzo FROM QryCompo WHERE "
                                              "GrupOpe=? AND Operatore=? AND PROV=? AND NOT (Componente=?) ORDER BY "
                                              "Componente"};
inline constexpr Istruzione kSediOccTranne{"corsi.sediOccTranne",
                                           "SELECT SedeOcc, Denominazione, Indirizzo FROM QrySediOccUtil WHERE GrupOpe=? "
                                           "AND Operatore=? AND PROV=? AND NOT (SedeOcc=?) ORDER BY SedeOcc"};
// The courses of a site: GrupOpe, Operatore, SedeInteressata.
inline constexpr Istruzione kCodiciCorsiDellaSede{"corsi.codiciCorsiDellaSede",
                                                  "SELECT DISTINCT Corso FROM CorsiProp WHERE GrupOpe=? AND Operatore=? "
                                                  "AND SedeInteressata=? ORDER BY Corso"};
inline constexpr Istruzione kCorsiDaSpostare{"corsi.corsiDaSpostare",
                                             "SELECT DISTINCT Corso, DesQualif FROM CorsiProp WHERE GrupOpe=? AND "
                                             "Operatore=? AND SedeInteressata=? AND Accorp='0' ORDER BY Corso"};
// A course to its new site, with its responsible component: kept, the one given, or none.
inline constexpr Istruzione kSpostaCorso{"corsi.spostaCorso",
                                         "UPDATE CorsiProp SET SedeInteressata=?, CompoResp=CompoResp WHERE GrupOpe=? "
                                         "AND Operatore=? AND SedeInteressata=? AND Corso=?"};
inline constexpr Istruzione kSpostaCorsoConResponsabile{"corsi.spostaCorsoConResponsabile",
                                                        "UPDATE CorsiProp SET SedeInteressata=?, CompoResp=? WHERE "
                                                        "GrupOpe=? AND Operatore=? AND SedeInteressata=? AND Corso=?"};
inline constexpr Istruzione kSpostaCorsoSenzaResponsabile{"corsi.spostaCorsoSenzaResponsabile",
                                                          "UPDATE CorsiProp SET SedeInteressata=?, CompoResp=NULL WHERE "
                                                          "GrupOpe=? AND Operatore=? AND SedeInteressata=? AND Corso=?"};
// The rows of the course in one of its tables: CorsiPropSpese, ValoriChk, CorsiPropAziende.
inline constexpr Istruzione kSpostaDelCorso{
    "corsi.spostaDelCorso", "UPDATE %1 SET SedeInteressata=? WHERE GrupOpe=? AND Operatore=? AND SedeInteressata=? AND Corso=?",
    nullptr, "CorsiPropSpese|ValoriChk|CorsiPropAziende"};
inline constexpr Istruzione kSchedeDelCorso{"corsi.schedeDelCorso",
                                            "SELECT Accorp, Handi FROM CorsiHandi WHERE GrupOpe=? AND Operatore=? AND "
                                            "SedeInteressata=? AND Corso=? ORDER BY Handi"};
inline constexpr Istruzione kSpostaScheda{"corsi.spostaScheda",
                                          "UPDATE CorsiHandi SET SedeInteressata=?, Handi=? WHERE GrupOpe=? AND "
                                          "Operatore=? AND SedeInteressata=? AND Corso=? AND Accorp=?"};

inline constexpr const Istruzione *kTutte[] = {&kQualifiche,
                                               &kIndirizzi,
                                               &kAssi,
                                               &kMisure,
                                               &kAzioni,
                                               &kTipologie,
                                               &kDestinatari,
                                               &kScolarita,
                                               &kSettori,
                                               &kComparti,
                                               &kOrari,
                                               &kCertificazioni,
                                               &kDurate,
                                               &kIstitutoZero,
                                               &kIstituti,
                                               &kAmbitiTerritoriali,
                                               &kSettoriProduttivi,
                                               &kFigureProfessionali,
                                               &kComponentiResponsabili,
                                               &kCorsiPrincipali,
                                               &kCorsiPrecedenti,
                                               &kCorsiModulari,
                                               &kLegamiProvincia,
                                               &kSezione33,
                                               &kOreTotali,
                                               &kOreStage,
                                               &kLineeAmmesse,
                                               &kMassimaliAzione,
                                               &kMassimaliAnno,
                                               &kMassimaliBande,
                                               &kOreStageBande,
                                               &kAllieviMassimi,
                                               &kOreMassime,
                                               &kObbligoIstituto,
                                               &kCorsiDellaSede,
                                               &kVociCorsi,
                                               &kCorsiDellaDomanda,
                                               &kRigheCorsiDellaDomanda,
                                               &kSpeseDellaDomanda,
                                               &kValoriChkDellaDomanda,
                                               &kCorso,
                                               &kSpeseCorso,
                                               &kValoriChk,
                                               &kCorsoSenzaSpese,
                                               &kCancellaDelCorso,
                                               &kUltimoAccorpato,
                                               &kUltimoCorso,
                                               &kCodiceInUso,
                                               &kInserisciCorso,
                                               &kAggiornaCorso,
                                               &kInserisciSpese,
                                               &kScriviValoreChk,
                                               &kHaAccorpati,
                                               &kAccorpatoNumero99,
                                               &kOrePrincipale,
                                               &kOreMassimeAccorpati,
                                               &kRiepilogoAccorpati,
                                               &kSintesiAgliAccorpati,
                                               &kSpeseDellaSede,
                                               &kSegnaScheda,
                                               &kSegnaSchede,
                                               &kCorsiConScheda,
                                               &kCorsoDellaScheda,
                                               &kVociSchede,
                                               &kDestinatariScheda,
                                               &kDestinatarioEsiste,
                                               &kScheda,
                                               &kUltimaScheda,
                                               &kSchedaOccupata,
                                               &kAltraSchedaDelCorso,
                                               &kInserisciScheda,
                                               &kAggiornaScheda,
                                               &kCancellaScheda,
                                               &kComponenti,
                                               &kComponentiConCorsi,
                                               &kSediOccConCorsi,
                                               &kComponentiTranne,
                                               &kSediOccTranne,
                                               &kCodiciCorsiDellaSede,
                                               &kCorsiDaSpostare,
                                               &kSpostaCorso,
                                               &kSpostaCorsoConResponsabile,
                                               &kSpostaCorsoSenzaResponsabile,
                                               &kSpostaDelCorso,
                                               &kSchedeDelCorso,
                                               &kSpostaScheda};
inline constexpr Catalogo kCatalogo{"corsi", "src/courses/CatalogoCorsi.h", kTutte};

} // namespace quirdal::sql::corsi
