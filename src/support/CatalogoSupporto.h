#pragma once
// The statements of the backup's restore: the applications a restore would unlock, one
// operator's rows replaced table by table. The archived database is read on a connection of
// its own, on either engine.
#include "db/Istruzione.h"

namespace quirdal::sql::supporto {

// The applications printed in final form here, all or one operator's; and those the archived
// database holds printed (read on a connection of its own: a server attaches no file).
inline constexpr Istruzione kDomandeStampate{
    "supporto.domandeStampate",
    "SELECT I.GrupOpe, I.Operatore, I.Prov, O.Denominazione, P.DesProv FROM Installazione I LEFT JOIN CorsiOper O ON "
    "O.GrupOpe = I.GrupOpe AND O.Operatore = I.Operatore LEFT JOIN Province P ON P.PROV = I.Prov WHERE "
    "I.DomandaStampata <> 0 ORDER BY I.GrupOpe, I.Operatore, I.Prov"};
inline constexpr Istruzione kDomandeStampateOperatore{
    "supporto.domandeStampateOperatore",
    "SELECT I.GrupOpe, I.Operatore, I.Prov, O.Denominazione, P.DesProv FROM Installazione I LEFT JOIN CorsiOper O ON "
    "O.GrupOpe = I.GrupOpe AND O.Operatore = I.Operatore LEFT JOIN Province P ON P.PROV = I.Prov WHERE "
    "I.DomandaStampata <> 0 AND I.GrupOpe = ? AND I.Operatore = ? ORDER BY I.GrupOpe, I.Operatore, I.Prov"};
inline constexpr Istruzione kStampateArchivio{"supporto.stampateArchivio",
                                              "SELECT GrupOpe, Operatore, Prov FROM Installazione WHERE DomandaStampata <> 0"};

// One operator's rows of a table (%1) taken out before the archive's take their place.
inline constexpr Istruzione kCancellaOperatore{"supporto.cancellaOperatore", "DELETE FROM %1 WHERE GrupOpe=? AND Operatore=?",
                                               nullptr, "CorsiOper|CorsiPropSpese"};
// The occasional sites the operator uses in the archive (%1: the columns both databases have),
// and whether this database has one: those it has stay as they are.
inline constexpr Istruzione kSediOccOperatore{
    "supporto.sediOccOperatore",
    "SELECT %1 FROM CorsiSediOcc WHERE SedeOcc IN (SELECT SedeOcc FROM CorsiSediOccUtil WHERE GrupOpe=? AND "
    "Operatore=?)",
    nullptr, "SedeOcc, Denominazione, CodComune"};
inline constexpr Istruzione kEsisteSedeOcc{"supporto.esisteSedeOcc", "SELECT count(*) FROM CorsiSediOcc WHERE SedeOcc = ?"};

// The sends a database records, all or one operator's, and whether this one has a send; a
// restore takes back the data of the applications, never the record of what was sent.
inline constexpr Istruzione kInviiRegistrati{
    "supporto.inviiRegistrati",
    "SELECT GrupOpe, Operatore, Prov, Copia, NumDoma, NomeFile, Dimensione, Sha256, DataOra, Risposta FROM Invii"};
inline constexpr Istruzione kInviiRegistratiOperatore{
    "supporto.inviiRegistratiOperatore",
    "SELECT GrupOpe, Operatore, Prov, Copia, NumDoma, NomeFile, Dimensione, Sha256, DataOra, Risposta FROM Invii "
    "WHERE GrupOpe=? AND Operatore=?"};
inline constexpr Istruzione kEsisteInvio{"supporto.esisteInvio",
                                         "SELECT count(*) FROM Invii WHERE GrupOpe=? AND Operatore=? AND Prov=? AND Copia=?"};
inline constexpr Istruzione kRiportaInvio{
    "supporto.riportaInvio",
    "INSERT INTO Invii (GrupOpe, Operatore, Prov, Copia, NumDoma, NomeFile, Dimensione, Sha256, DataOra, Risposta) "
    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"};

// The session's operator as the restored database knows it.
inline constexpr Istruzione kOperatoreSessione{"supporto.operatoreSessione",
                                               "SELECT Denominazione, TipoOper FROM CorsiOper WHERE GrupOpe=? AND Operatore=?"};

inline constexpr const Istruzione *kTutte[] = {
    &kDomandeStampate, &kDomandeStampateOperatore, &kStampateArchivio, &kCancellaOperatore, &kSediOccOperatore, &kEsisteSedeOcc,
    &kInviiRegistrati, &kInviiRegistratiOperatore, &kEsisteInvio,      &kRiportaInvio,      &kOperatoreSessione};
inline constexpr Catalogo kCatalogo{"supporto", "src/support/CatalogoSupporto.h", kTutte};

} // namespace quirdal::sql::supporto
