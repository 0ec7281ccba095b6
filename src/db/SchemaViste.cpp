// The saved queries. Column naming: the main table's columns keep their plain
// names; a column of a joined table keeps its plain name when no other column has it,
// otherwise it is named "Table.Column", as the program refers to it.
#include "db/Schema.h"

namespace quirdal {

namespace {

// A code kept as text compared with a numeric code: SQLite compares them as numbers (the text
// of an integer is taken as that integer), the server compares no text with a number. There
// the text becomes the integer it reads as, when it reads as one (Null otherwise, which
// matches nothing), so that both engines join the same rows.
QString comeNumero(const QString &testo)
{
    return QStringLiteral("CASE WHEN %1 ~ '^\\s*[-+]?[0-9]{1,18}\\s*$' THEN CAST(%1 AS BIGINT) END").arg(testo);
}

} // namespace

QString selectQryCorsi(bool conDataAvvio, Motore motore)
{
    QString s = QStringLiteral(
        "SELECT CorsiProp.GrupOpe, CorsiProp.Operatore, CorsiProp.SedeInteressata, CorsiProp.Corso, "
        "CorsiProp.Accorp, CorsiProp.CompoResp, CorsiCompo.TipoCompo, CorsiCompo.Denominazione, "
        "CorsiCompo.CodComune, CorsiCompo.Indirizzo, CorsiProp.CodQualif, CorsiProp.DesQualif, "
        "CorsiProp.CodInd1, CorsiProp.CodInd2, CorsiProp.CodInd3, CorsiProp.CodInd4, CorsiProp.CodInd5, "
        "CorsiProp.CodInd6, CorsiProp.DesInd1, CorsiProp.DesInd2, CorsiProp.DesInd3, CorsiProp.DesInd4, "
        "CorsiProp.DesInd5, CorsiProp.DesInd6, CorsiProp.CodProfessione, "
        "Professioni.Descrizione AS \"Professioni.Descrizione\", CorsiProp.CodAsse, Asse.DesAsse, "
        "CorsiProp.CodMisura, Misura.DesMisura, CorsiProp.CodAzione, Azione.DesAzione, CorsiProp.CodTipologia, "
        "AzioneTipologia.DesTipologia, CorsiProp.CodDest1, CorsiProp.CodDest2, CorsiProp.CodDest3, "
        "CorsiProp.CodDest4, CorsiProp.CodDest5, Destin.DesDest, CorsiProp.CodScol, Scolari.DesScol, "
        "CorsiProp.CodSetto, Settore.DesSetto, CorsiProp.CodComp, Comparto.DesComp, CorsiProp.CodOra, "
        "Orari.DesOra, CorsiProp.CodCert, Certif.DesCert, CorsiProp.NumAll, CorsiProp.DurataAnnOre, "
        "CorsiProp.TotOreIter, CorsiProp.OreStage, CorsiProp.OreLabEsterni, CorsiProp.DurataTotIter, "
        "CorsiProp.StatoIter, CorsiProp.ATS, CorsiProp.IdAttivitaPrec, PrecCorsi.GrupOpe AS \"PrecCorsi.GrupOpe\", "
        "PrecCorsi.Operatore AS \"PrecCorsi.Operatore\", PrecCorsi.Componente, PrecCorsi.SedeOcc, "
        "PrecCorsi.ProgrAttivitaPrec, PrecCorsi.AnnoInizioPrec, PrecCorsi.AccPrec, PrecCorsi.Denomina, "
        "CorsiProp.CodIsti, Istituti.DesIsti, CorsiProp.IstitutoLibero, CorsiProp.SPINAmbitoTerr, "
        "AmbitiTerr.Descrizione AS \"AmbitiTerr.Descrizione\", CorsiProp.SPINSettoreProd, "
        "SettoriProd.Descrizione AS \"SettoriProd.Descrizione\", CorsiProp.SPINFiguraProf, "
        "FigureProf.Descrizione AS \"FigureProf.Descrizione\", CorsiProp.IM, CorsiProp.PO_1, "
        "CorsiProp.IdAttivitaReit, CorsiProp.CO_1, CorsiProp.QSS, CorsiProp.Sez34_1, CorsiProp.Sez34_2, "
        "CorsiProp.Sez34_3, CorsiProp.Sez34_4");
    if (conDataAvvio)
        s += QStringLiteral(", CorsiProp.DataAvvio");
    s += QStringLiteral(" FROM CorsiProp"
                        " LEFT JOIN CorsiCompo ON CorsiCompo.GrupOpe = CorsiProp.GrupOpe AND CorsiCompo.Operatore = "
                        "CorsiProp.Operatore AND CorsiCompo.Componente = CorsiProp.CompoResp"
                        " LEFT JOIN Asse ON Asse.CodAsse = CorsiProp.CodAsse"
                        " LEFT JOIN Misura ON Misura.CodAsse = CorsiProp.CodAsse AND Misura.CodMisura = CorsiProp.CodMisura"
                        " LEFT JOIN Azione ON Azione.CodAsse = CorsiProp.CodAsse AND Azione.CodMisura = CorsiProp.CodMisura "
                        "AND Azione.CodAzione = CorsiProp.CodAzione"
                        " LEFT JOIN AzioneTipologia ON AzioneTipologia.CodAsse = CorsiProp.CodAsse AND AzioneTipologia.CodMisura "
                        "= CorsiProp.CodMisura AND AzioneTipologia.CodAzione = CorsiProp.CodAzione AND "
                        "AzioneTipologia.CodTipologia = CorsiProp.CodTipologia"
                        " LEFT JOIN Destin ON Destin.CodDest = ")
        + (motore == Motore::PostgreSQL ? comeNumero(QStringLiteral("CorsiProp.CodDest1")) : QStringLiteral("CorsiProp.CodDest1"))
        + QStringLiteral(" LEFT JOIN Comparto ON Comparto.CodSetto = CorsiProp.CodSetto AND Comparto.CodComp = CorsiProp.CodComp"
                         " LEFT JOIN Orari ON Orari.CodOra = CorsiProp.CodOra"
                         " LEFT JOIN Scolari ON Scolari.CodScol = CorsiProp.CodScol"
                         " LEFT JOIN Settore ON Settore.CodSetto = CorsiProp.CodSetto"
                         " LEFT JOIN Certif ON Certif.CodCert = CorsiProp.CodCert"
                         " LEFT JOIN Istituti ON Istituti.CodIsti = CorsiProp.CodIsti"
                         " LEFT JOIN PrecCorsi ON PrecCorsi.IdAttivitaPrec = CorsiProp.IdAttivitaPrec"
                         " LEFT JOIN AmbitiTerr ON AmbitiTerr.Codice = CorsiProp.SPINAmbitoTerr"
                         " LEFT JOIN SettoriProd ON SettoriProd.AmbitoTerr = CorsiProp.SPINAmbitoTerr AND SettoriProd.Codice = "
                         "CorsiProp.SPINSettoreProd"
                         " LEFT JOIN FigureProf ON FigureProf.AmbitoTerr = CorsiProp.SPINAmbitoTerr AND FigureProf.SettoreProd = "
                         "CorsiProp.SPINSettoreProd AND FigureProf.Codice = CorsiProp.SPINFiguraProf"
                         " LEFT JOIN Professioni ON Professioni.CodProfessione = CorsiProp.CodProfessione"
                         " ORDER BY CorsiProp.GrupOpe, CorsiProp.Operatore, CorsiProp.SedeInteressata, CorsiProp.Corso, "
                         "CorsiProp.Accorp");
    return s;
}

namespace {

const QString kHaCorsiCompo =
    QStringLiteral("EXISTS (SELECT 1 FROM CorsiProp WHERE CorsiProp.GrupOpe = CorsiCompo.GrupOpe AND CorsiProp.Operatore = "
                   "CorsiCompo.Operatore AND CorsiProp.SedeInteressata = CorsiCompo.Componente)");
const QString kHaCorsiSedeOcc =
    QStringLiteral("EXISTS (SELECT 1 FROM CorsiProp WHERE CorsiProp.GrupOpe = CorsiSediOccUtil.GrupOpe AND CorsiProp.Operatore "
                   "= CorsiSediOccUtil.Operatore AND CorsiProp.SedeInteressata = CorsiSediOccUtil.SedeOcc)");

QString selectCompoCorsi()
{
    return QStringLiteral("SELECT CorsiCompo.GrupOpe, CorsiCompo.Operatore, CorsiCompo.Componente, CorsiCompo.TipoCompo, "
                          "CorsiCompo.Denominazione, CorsiCompo.CodComune, CorsiCompo.Cap, CorsiCompo.Indirizzo, "
                          "CorsiCompo.Tel, CorsiCompo.Fax, CorsiCompo.Email, CorsiCompo.Riferimento, CorsiCompo.NumLocali, "
                          "CorsiCompo.AllieviPrevisti, Comuni.PROV FROM CorsiCompo INNER JOIN Comuni ON "
                          "Comuni.CodComune = CorsiCompo.CodComune WHERE ")
        + kHaCorsiCompo;
}

QString selectSediOccUtilCorsi()
{
    return QStringLiteral("SELECT CorsiSediOccUtil.GrupOpe, CorsiSediOccUtil.Operatore, CorsiSediOccUtil.SedeOcc, "
                          "CorsiSediOcc.TipoCompo, CorsiSediOcc.Denominazione, CorsiSediOcc.CodComune, CorsiSediOcc.Cap, "
                          "CorsiSediOcc.Indirizzo, CorsiSediOcc.Tel, CorsiSediOcc.Fax, CorsiSediOccUtil.Email, "
                          "CorsiSediOccUtil.Riferimento, Comuni.PROV FROM (CorsiSediOccUtil INNER JOIN CorsiSediOcc ON "
                          "CorsiSediOcc.SedeOcc = CorsiSediOccUtil.SedeOcc) INNER JOIN Comuni ON Comuni.CodComune = "
                          "CorsiSediOcc.CodComune WHERE ")
        + kHaCorsiSedeOcc;
}

} // namespace

QList<QuerySalvata> querySalvate(bool conDataAvvio)
{
    return {
        // The operator's activity is a number, its lookup code a text (see comeNumero).
        {QStringLiteral("QryOper"),
         QStringLiteral("SELECT CorsiOper.*, TipoOper.Descrizione AS \"TipoOper.Descrizione\", "
                        "AttEcono.Descrizione AS \"AttEcono.Descrizione\" FROM (CorsiOper LEFT JOIN TipoOper ON "
                        "TipoOper.GrupOpe = CorsiOper.GrupOpe AND TipoOper.TipoOper = CorsiOper.TipoOper) LEFT JOIN "
                        "AttEcono ON AttEcono.AttEcono = CorsiOper.AttEcono"),
         QStringLiteral("SELECT CorsiOper.*, TipoOper.Descrizione AS \"TipoOper.Descrizione\", "
                        "AttEcono.Descrizione AS \"AttEcono.Descrizione\" FROM (CorsiOper LEFT JOIN TipoOper ON "
                        "TipoOper.GrupOpe = CorsiOper.GrupOpe AND TipoOper.TipoOper = CorsiOper.TipoOper) LEFT JOIN "
                        "AttEcono ON ")
             + comeNumero(QStringLiteral("AttEcono.AttEcono")) + QStringLiteral(" = CorsiOper.AttEcono")},
        {QStringLiteral("QryCompo"),
         QStringLiteral("SELECT CorsiCompo.*, Comuni.Denominazione AS \"Comuni.Denominazione\", Comuni.PROV, "
                        "Comuni.SigProv FROM CorsiCompo LEFT JOIN Comuni ON Comuni.CodComune = "
                        "CorsiCompo.CodComune")},
        {QStringLiteral("QrySedLeg"),
         QStringLiteral("SELECT CorsiCompo.GrupOpe, CorsiCompo.Operatore, CorsiCompo.Componente, "
                        "CorsiOper.Denominazione AS \"CorsiOper.Denominazione\", CorsiCompo.Denominazione, "
                        "CorsiCompo.CodComune, CorsiCompo.Cap, CorsiCompo.Indirizzo, CorsiCompo.StatoEstero, "
                        "CorsiCompo.CittaEstero, CorsiOper.ProvCCIAA, CorsiOper.CodCCIAA, CorsiOper.AnnoCCIAA, "
                        "CorsiOper.AttEcono, CorsiCompo.Tel, CorsiCompo.Fax, CorsiCompo.Email, "
                        "CorsiCompo.Riferimento FROM CorsiCompo INNER JOIN CorsiOper ON CorsiOper.GrupOpe = "
                        "CorsiCompo.GrupOpe AND CorsiOper.Operatore = CorsiCompo.Operatore WHERE "
                        "CorsiCompo.TipoCompo = 'SL'")},
        {QStringLiteral("QrySediOccUtil"),
         QStringLiteral("SELECT CorsiSediOccUtil.GrupOpe, CorsiSediOccUtil.Operatore, CorsiSediOccUtil.SedeOcc, "
                        "CorsiSediOcc.Denominazione, CorsiSediOcc.Indirizzo, CorsiSediOcc.CodComune, "
                        "CorsiSediOcc.Cap, CorsiSediOcc.Pref, CorsiSediOcc.Tel, CorsiSediOcc.PrefFax, "
                        "CorsiSediOcc.Fax, CorsiSediOcc.TipoCompo, CorsiSediOccUtil.Email, "
                        "CorsiSediOccUtil.Riferimento, CorsiSediOccUtil.Accreditamento, Comuni.Denominazione AS "
                        "\"Comuni.Denominazione\", Comuni.PROV, Comuni.SigProv FROM (CorsiSediOccUtil INNER JOIN "
                        "CorsiSediOcc ON CorsiSediOcc.SedeOcc = CorsiSediOccUtil.SedeOcc) LEFT JOIN Comuni ON "
                        "Comuni.CodComune = CorsiSediOcc.CodComune")},
        {QStringLiteral("QryCompoCorsi"), selectCompoCorsi()},
        {QStringLiteral("QryCompoCorsi_TutteLeFasi"), selectCompoCorsi()},
        {QStringLiteral("QrySediOccUtilCorsi"), selectSediOccUtilCorsi()},
        {QStringLiteral("QrySediOccUtilCorsi_TutteLeFasi"), selectSediOccUtilCorsi()},
        {QStringLiteral("QryCorsi"), selectQryCorsi(conDataAvvio), selectQryCorsi(conDataAvvio, Motore::PostgreSQL)},
        {QStringLiteral("QryCorsiPropSpese"),
         QStringLiteral("SELECT CorsiPropSpese.*, CorsiProp.CompoResp, CorsiProp.DesQualif, CorsiProp.CodAsse, "
                        "CorsiProp.CodMisura, CorsiProp.CodAzione, CorsiProp.CodTipologia, CorsiProp.DurataTotIter, "
                        "CorsiProp.StatoIter FROM CorsiPropSpese INNER JOIN CorsiProp ON CorsiProp.GrupOpe = "
                        "CorsiPropSpese.GrupOpe AND CorsiProp.Operatore = CorsiPropSpese.Operatore AND "
                        "CorsiProp.SedeInteressata = CorsiPropSpese.SedeInteressata AND CorsiProp.Corso = "
                        "CorsiPropSpese.Corso AND CorsiProp.Accorp = CorsiPropSpese.Accorp")},
        {QStringLiteral("QryCompoOre"),
         QStringLiteral("SELECT CorsiCompoOre.*, Direttiva.Descrizione, Comuni.PROV FROM ((CorsiCompoOre LEFT "
                        "JOIN Direttiva ON Direttiva.CodDiret = CorsiCompoOre.CodDiret) INNER JOIN CorsiCompo ON "
                        "CorsiCompo.GrupOpe = CorsiCompoOre.GrupOpe AND CorsiCompo.Operatore = "
                        "CorsiCompoOre.Operatore AND CorsiCompo.Componente = CorsiCompoOre.Componente) LEFT JOIN "
                        "Comuni ON Comuni.CodComune = CorsiCompo.CodComune")},
        {QStringLiteral("QryCompoLab"),
         QStringLiteral("SELECT CorsiCompoTipoLab.*, Comuni.PROV FROM (CorsiCompoTipoLab INNER JOIN CorsiCompo ON "
                        "CorsiCompo.GrupOpe = CorsiCompoTipoLab.GrupOpe AND CorsiCompo.Operatore = "
                        "CorsiCompoTipoLab.Operatore AND CorsiCompo.Componente = CorsiCompoTipoLab.Componente) LEFT "
                        "JOIN Comuni ON Comuni.CodComune = CorsiCompo.CodComune")},
        {QStringLiteral("QryMetadati"), QStringLiteral("SELECT Metadati.* FROM Metadati ORDER BY Metadati.Prov, Metadati.Id")},
        {QStringLiteral("QryStSediOcc"),
         QStringLiteral("SELECT DISTINCT CorsiSediOccUtil.GrupOpe, CorsiSediOccUtil.Operatore, "
                        "CorsiSediOccUtil.SedeOcc, CorsiSediOcc.Denominazione, CorsiSediOcc.Indirizzo, "
                        "CorsiSediOcc.CodComune, CorsiSediOcc.Cap, CorsiSediOcc.Tel, CorsiSediOcc.Fax, "
                        "CorsiSediOccUtil.Email, CorsiSediOccUtil.Riferimento, CorsiProp.CompoResp, Comuni.PROV "
                        "FROM ((CorsiSediOccUtil INNER JOIN CorsiSediOcc ON CorsiSediOcc.SedeOcc = "
                        "CorsiSediOccUtil.SedeOcc) INNER JOIN CorsiProp ON CorsiProp.GrupOpe = "
                        "CorsiSediOccUtil.GrupOpe AND CorsiProp.Operatore = CorsiSediOccUtil.Operatore AND "
                        "CorsiProp.SedeInteressata = CorsiSediOccUtil.SedeOcc) LEFT JOIN Comuni ON "
                        "Comuni.CodComune = CorsiSediOcc.CodComune")},
        {QStringLiteral("QryComuni"),
         QStringLiteral("SELECT Comuni.*, Province.DesProv FROM Comuni LEFT JOIN Province ON Province.PROV = "
                        "Comuni.PROV")},
        {QStringLiteral("qryhandi"),
         QStringLiteral("SELECT CorsiHandi.*, CorsiProp.DesQualif FROM CorsiHandi LEFT JOIN CorsiProp ON "
                        "CorsiProp.GrupOpe = CorsiHandi.GrupOpe AND CorsiProp.Operatore = CorsiHandi.Operatore AND "
                        "CorsiProp.SedeInteressata = CorsiHandi.SedeInteressata AND CorsiProp.Corso = "
                        "CorsiHandi.Corso AND CorsiProp.Accorp = CorsiHandi.Accorp")},
    };
}

} // namespace quirdal
