#include "courses/Elenchi.h"

#include "common/Generale.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "db/CorsiDB.h"

#include <QSqlQuery>
#include <cmath>

namespace quirdal {

namespace {

// Code, two blanks, description, for each row of a two-column query.
QStringList voci(CorsiDB &db, const QString &sql, const QVariantList &parametri = {},
                 const QString &separatore = QStringLiteral("  "))
{
    QStringList r;
    QSqlQuery q = db.seleziona(sql, parametri);
    while (q.next())
        r << q.value(0).toString() + separatore + q.value(1).toString();
    return r;
}

// The rows of an action: the three codes joined by "." compared with the key.
const QString kAzione = QStringLiteral(" CodAsse || '.' || CodMisura || '.' || CodAzione = ? ");

QString voceAttivita(const QSqlQuery &q)
{
    return q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString() + QStringLiteral(" - ")
        + q.value(2).toString() + QLatin1Char(' ') + q.value(3).toString() + QLatin1Char(' ') + q.value(4).toString()
        + QStringLiteral(" - ") + q.value(5).toString();
}

} // namespace

QString codiceVoce(const QString &voce) { return elementoN(voce.trimmed(), QStringLiteral(" "), 0); }

QString voceDelCodice(const QStringList &voci, const QString &codice)
{
    if (codice.trimmed().isEmpty())
        return {};
    for (const QString &v : voci)
        if (codiceVoce(v) == codice.trimmed())
            return v;
    return {};
}

QString chiaveAzione(const QString &asse, const QString &misura, const QString &azione)
{
    return asse + QLatin1Char('.') + misura + QLatin1Char('.') + azione;
}

QStringList vociQualifiche(CorsiDB &db)
{
    return voci(db, QStringLiteral("SELECT CodQualif, DesQualif FROM Qualifi ORDER BY DesQualif"));
}

QStringList vociIndirizzi(CorsiDB &db, const QString &codQualif)
{
    return voci(db, QStringLiteral("SELECT CodIndi, DesIndi FROM Indiri WHERE CodQualif = ? ORDER BY CodQualif, CodIndi"),
                {codQualif});
}

QStringList vociAssi(CorsiDB &db) { return voci(db, QStringLiteral("SELECT CodAsse, DesAsse FROM Asse ORDER BY CodAsse")); }

QStringList vociMisure(CorsiDB &db, const QString &asse)
{
    return voci(db, QStringLiteral("SELECT CodMisura, DesMisura FROM Misura WHERE CodAsse = ? ORDER BY CodAsse, CodMisura"),
                {asse});
}

QStringList vociAzioni(CorsiDB &db, const QString &asse, const QString &misura)
{
    return voci(db,
                QStringLiteral("SELECT CodAzione, DesAzione FROM Azione WHERE CodAsse = ? AND CodMisura = ? ORDER BY CodAsse, "
                               "CodMisura, CodAzione"),
                {asse, misura});
}

QList<VoceTipologia> vociTipologie(CorsiDB &db, const QString &azione)
{
    QList<VoceTipologia> r;
    QSqlQuery q = db.seleziona(
        QStringLiteral("SELECT CodTipologia, DesTipologia FROM AzioneTipologia WHERE") + kAzione + QStringLiteral("ORDER BY CodTipologia"),
        {azione});
    while (q.next())
        r.append({q.value(0).toString(), q.value(1).toString()});
    return r;
}

QStringList vociDestinatari(CorsiDB &db, const QString &azione, const QString &tipologia)
{
    return voci(db,
                QStringLiteral("SELECT AzioneDestin.CodDest, Destin.DesDest FROM AzioneDestin INNER JOIN Destin ON "
                               "AzioneDestin.CodDest = Destin.CodDest WHERE AzioneDestin.CodAsse || '.' || "
                               "AzioneDestin.CodMisura || '.' || AzioneDestin.CodAzione = ? AND AzioneDestin.CodTipologia = ? "
                               "ORDER BY AzioneDestin.CodAsse, AzioneDestin.CodMisura, AzioneDestin.CodAzione, "
                               "AzioneDestin.CodDest"),
                {azione, tipologia});
}

QStringList vociScolarita(CorsiDB &db, const QString &azione, const QString &tipologia)
{
    return voci(db,
                QStringLiteral("SELECT AzioneScolari.CodScol, Scolari.DesScol FROM AzioneScolari INNER JOIN Scolari ON "
                               "AzioneScolari.CodScol = Scolari.CodScol WHERE AzioneScolari.CodAsse || '.' || "
                               "AzioneScolari.CodMisura || '.' || AzioneScolari.CodAzione = ? AND "
                               "AzioneScolari.CodTipologia = ? ORDER BY AzioneScolari.CodAsse, AzioneScolari.CodMisura, "
                               "AzioneScolari.CodAzione, AzioneScolari.CodScol"),
                {azione, tipologia});
}

QStringList vociSettori(CorsiDB &db)
{
    return voci(db, QStringLiteral("SELECT CodSetto, DesSetto FROM Settore ORDER BY CodSetto"));
}

QStringList vociComparti(CorsiDB &db, const QString &settore)
{
    return voci(db, QStringLiteral("SELECT CodComp, DesComp FROM Comparto WHERE CodSetto = ? ORDER BY CodSetto, CodComp"),
                {settore.isEmpty() ? 0LL : settore.toLongLong()});
}

QStringList vociOrari(CorsiDB &db) { return voci(db, QStringLiteral("SELECT CodOra, DesOra FROM Orari ORDER BY CodOra")); }

QStringList vociCertificazioni(CorsiDB &db)
{
    return voci(db, QStringLiteral("SELECT CodCert, DesCert FROM Certif ORDER BY CodCert"));
}

QStringList vociDurate(CorsiDB &db, const QString &azione, const QString &tipologia)
{
    QStringList r;
    QSqlQuery q = db.seleziona(QStringLiteral("SELECT DISTINCT ProgrAnno FROM IntervalloOreStage WHERE") + kAzione
                                   + QStringLiteral("AND CodTipologia = ? ORDER BY ProgrAnno"),
                               {azione, tipologia});
    while (q.next())
        r << q.value(0).toString();
    return r;
}

QStringList vociIstituti(CorsiDB &db)
{
    const QString separatore = QStringLiteral(" - ");
    return voci(db, QStringLiteral("SELECT CodIsti, DesIsti FROM Istituti WHERE CodIsti = 0"), {}, separatore)
        + voci(db, QStringLiteral("SELECT CodIsti, DesIsti FROM Istituti WHERE CodIsti <> 0 ORDER BY DesIsti"), {}, separatore);
}

QStringList vociAmbitiTerritoriali(CorsiDB &db)
{
    return voci(db, QStringLiteral("SELECT Codice, Descrizione FROM AmbitiTerr WHERE NOT (Codice = 'OO') ORDER BY Codice"));
}

QStringList vociSettoriProduttivi(CorsiDB &db, const QString &ambito)
{
    return voci(db,
                QStringLiteral("SELECT Codice, Descrizione FROM SettoriProd WHERE AmbitoTerr = ? AND NOT (AmbitoTerr = 'OO' AND "
                               "Codice = '99') ORDER BY Codice"),
                {ambito});
}

QStringList vociFigureProfessionali(CorsiDB &db, const QString &ambito, const QString &settore)
{
    return voci(db,
                QStringLiteral("SELECT Codice, Descrizione FROM FigureProf WHERE AmbitoTerr = ? AND SettoreProd = ? AND NOT "
                               "(AmbitoTerr = 'OO' AND SettoreProd = '99' AND Codice = '01') ORDER BY Codice"),
                {ambito, settore});
}

QStringList vociComponentiResponsabili(CorsiDB &db, const Sessione &s)
{
    QStringList r;
    QSqlQuery q = db.seleziona(QStringLiteral("SELECT Componente, Denominazione, TipoCompo, Indirizzo FROM QryCompo WHERE "
                                              "GrupOpe = ? AND Operatore = ? AND PROV = ? ORDER BY Componente"),
                               s.chiaveDomanda());
    while (q.next())
        r << q.value(0).toString() + QStringLiteral(" - ") + q.value(1).toString() + QStringLiteral(" - ")
                + q.value(2).toString() + QStringLiteral(" - ") + q.value(3).toString();
    return r;
}

QStringList vociCorsiPrincipali(CorsiDB &db, const Sessione &s, const QString &asse, const QString &misura,
                                const QString &azione)
{
    return voci(db,
                QStringLiteral("SELECT Corso, DesQualif FROM CorsiProp WHERE GrupOpe = ? AND Operatore = ? AND "
                               "SedeInteressata = ? AND CodAsse = ? AND CodMisura = ? AND CodAzione = ? AND Accorp = '0' "
                               "ORDER BY GrupOpe, Operatore, SedeInteressata, Corso"),
                s.chiaveSede() + QVariantList{asse, misura, azione});
}

QStringList vociCorsiPrecedenti(CorsiDB &db, const Sessione &s, const QString &asse, const QString &misura,
                                const QString &azione)
{
    // The previous activities on the old actions that the current action replaces.
    QStringList r;
    QSqlQuery q = db.seleziona(
        QStringLiteral("SELECT P.GrupOpe, P.Operatore, P.ProgrAttivitaPrec, P.AnnoInizioPrec, P.AccPrec, P.Denomina FROM "
                       "PrecCorsi P WHERE P.GrupOpeAtt = ? AND P.OperatoreAtt = ? AND EXISTS (SELECT 1 FROM New_Old_Azioni N "
                       "WHERE N.New_CodAsse = ? AND N.New_CodMisura = ? AND N.New_CodAzione = ? AND N.Old_CodAsse = "
                       "P.CodAsse AND N.Old_CodMisura = P.CodMisura AND N.Old_CodAzione = P.CodAzione) ORDER BY "
                       "P.GrupOpe, P.Operatore, P.AnnoInizioPrec, P.ProgrAttivitaPrec"),
        s.chiaveOperatore() + QVariantList{asse, misura, azione});
    while (q.next())
        r << voceAttivita(q);
    return r;
}

QStringList vociCorsiModulari(CorsiDB &db, const Sessione &s)
{
    QStringList r;
    QSqlQuery q = db.seleziona(QStringLiteral("SELECT GrupOpe, Operatore, ProgrAttivitaPrec, AnnoInizioPrec, AccPrec, Denomina "
                                              "FROM PercMod WHERE GrupOpeAtt = ? AND OperatoreAtt = ? ORDER BY GrupOpe, "
                                              "Operatore, Componente, SedeOcc, AnnoInizioPrec, ProgrAttivitaPrec, AccPrec, "
                                              "Denomina"),
                               s.chiaveOperatore());
    while (q.next())
        r << voceAttivita(q);
    return r;
}

QString situazioneIter(int durataAnni, int annoCorrente)
{
    if (durataAnni == 1)
        return QStringLiteral("A");
    return annoCorrente < 2 ? QStringLiteral("P") : QStringLiteral("S");
}

std::optional<EsitoVerifica> regolaOreTotali(CorsiDB &db, const QString &azione, const QString &tipologia,
                                             const QString &situazione, int durataAnni, qlonglong oreTotali)
{
    QSqlQuery q = db.seleziona(QStringLiteral("SELECT MinOre, MaxOre FROM IntervalloOreStage WHERE") + kAzione
                                   + QStringLiteral("AND CodTipologia = ? AND SitIter = ? AND ProgrAnno = ?"),
                               {azione, tipologia, situazione, durataAnni});
    const QString testa = QStringLiteral("Il TOTALE ORE Iter indicato non rientra nell'intervallo di ore previsto ") + CRLF
        + QStringLiteral("per l'AZIONE e la DURATA TOTALE in anni del corso (");
    if (!q.next())
        return EsitoVerifica::errore(testa + QStringLiteral("nessun intervallo previsto)"), QStringLiteral("Verifica dati"),
                                     QStringLiteral("txtTotIter"));
    const qlonglong minimo = q.value(0).toLongLong(), massimo = q.value(1).toLongLong();
    if (minimo <= oreTotali && oreTotali <= massimo)
        return std::nullopt;
    return EsitoVerifica::errore(testa + QString::number(minimo) + QStringLiteral(" - ") + QString::number(massimo)
                                     + QLatin1Char(')'),
                                 QStringLiteral("Verifica dati"), QStringLiteral("txtTotIter"));
}

std::optional<EsitoVerifica> regolaOreStage(CorsiDB &db, const QString &azione, const QString &situazione,
                                            qlonglong oreTotali, qlonglong oreStage)
{
    QSqlQuery q = db.seleziona(QStringLiteral("SELECT min_ore_stage_perc, max_ore_stage_perc, min_ore_stage_ass, "
                                              "max_ore_stage_ass FROM IntervalloOreStage WHERE")
                                   + kAzione + QStringLiteral("AND SitIter = ? AND (? >= MinOre AND ? <= MaxOre)"),
                               {azione, situazione, oreTotali, oreTotali});
    if (!q.next())
        return std::nullopt;
    qlonglong minimo = 0, massimo = 0;
    if (!q.value(0).isNull()) {
        // A share of the total hours, rounded down to the hour.
        auto parte = [&](const QVariant &percentuale) {
            return static_cast<qlonglong>(std::floor(static_cast<long double>(oreTotali) * percentuale.toDouble() / 100.0L
                                                     + 1e-9L));
        };
        minimo = parte(q.value(0));
        massimo = parte(q.value(1));
    } else {
        minimo = q.value(2).toLongLong();
        massimo = q.value(3).toLongLong();
    }
    if (minimo == 0 && massimo == 0) {
        if (oreStage > 0)
            return EsitoVerifica::errore(QStringLiteral("Per l'AZIONE, la DURATA TOTALE e il TOTALE ORE Iter specificati non "
                                                        "sono ammesse le ORE STAGE."),
                                         QStringLiteral("Verifica dati"), QStringLiteral("txtOreStage"));
        return std::nullopt;
    }
    if (minimo <= oreStage && oreStage <= massimo)
        return std::nullopt;
    return EsitoVerifica::errore(QStringLiteral("Per l'AZIONE, la DURATA TOTALE e il TOTALE ORE Iter specificati, le ORE DI "
                                                "STAGE devono essere comprese tra ")
                                     + QString::number(minimo) + QStringLiteral(" e ") + QString::number(massimo),
                                 QStringLiteral("Verifica dati"), QStringLiteral("txtOreStage"));
}

QList<VoceSezione33> vociSezione33(CorsiDB &db, const QString &prov)
{
    QList<VoceSezione33> r;
    QSqlQuery q = db.seleziona(QStringLiteral("SELECT Tipo, Etichetta, Numero, Id FROM Metadati WHERE Prov = ? ORDER BY Id"),
                               {prov});
    while (q.next()) {
        const QString tipo = q.value(0).toString().trimmed().toUpper();
        const QString numero = q.value(2).toString().trimmed();
        VoceSezione33 v;
        v.id = q.value(3).toLongLong();
        v.tipo = tipo == QLatin1String("C") ? VoceSezione33::Casella
            : tipo == QLatin1String("L")    ? VoceSezione33::Etichetta
                                            : VoceSezione33::Titolo;
        v.testo = v.tipo == VoceSezione33::Titolo ? q.value(1).toString()
            : numero.isEmpty()                    ? QStringLiteral("    ") + q.value(1).toString()
                                                  : numero + QStringLiteral(" - ") + q.value(1).toString();
        r.append(v);
    }
    return r;
}

} // namespace quirdal
