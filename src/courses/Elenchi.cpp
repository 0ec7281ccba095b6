#include "courses/Elenchi.h"

#include "common/Generale.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "courses/CatalogoCorsi.h"
#include "db/CorsiDB.h"

#include <QSqlQuery>
#include <cmath>

namespace quirdal {

namespace {

// Code, two blanks, description, for each row of a two-column query.
QStringList voci(CorsiDB &db, const Istruzione &istruzione, const QVariantList &parametri = {},
                 const QString &separatore = QStringLiteral("  "))
{
    QStringList r;
    QSqlQuery q = db.seleziona(istruzione, parametri);
    while (q.next())
        r << q.value(0).toString() + separatore + q.value(1).toString();
    return r;
}

QString voceAttivita(const QSqlQuery &q)
{
    return q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString() + QStringLiteral(" - ") + q.value(2).toString()
        + QLatin1Char(' ') + q.value(3).toString() + QLatin1Char(' ') + q.value(4).toString() + QStringLiteral(" - ")
        + q.value(5).toString();
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

QStringList vociQualifiche(CorsiDB &db) { return voci(db, sql::corsi::kQualifiche); }

QStringList vociIndirizzi(CorsiDB &db, const QString &codQualif) { return voci(db, sql::corsi::kIndirizzi, {codQualif}); }

QStringList vociAssi(CorsiDB &db) { return voci(db, sql::corsi::kAssi); }

QStringList vociMisure(CorsiDB &db, const QString &asse) { return voci(db, sql::corsi::kMisure, {asse}); }

QStringList vociAzioni(CorsiDB &db, const QString &asse, const QString &misura)
{
    return voci(db, sql::corsi::kAzioni, {asse, misura});
}

QList<VoceTipologia> vociTipologie(CorsiDB &db, const QString &azione)
{
    QList<VoceTipologia> r;
    QSqlQuery q = db.seleziona(sql::corsi::kTipologie, {azione});
    while (q.next())
        r.append({q.value(0).toString(), q.value(1).toString()});
    return r;
}

QStringList vociDestinatari(CorsiDB &db, const QString &azione, const QString &tipologia)
{
    return voci(db, sql::corsi::kDestinatari, {azione, tipologia});
}

QStringList vociScolarita(CorsiDB &db, const QString &azione, const QString &tipologia)
{
    return voci(db, sql::corsi::kScolarita, {azione, tipologia});
}

QStringList vociSettori(CorsiDB &db) { return voci(db, sql::corsi::kSettori); }

QStringList vociComparti(CorsiDB &db, const QString &settore)
{
    return voci(db, sql::corsi::kComparti, {settore.isEmpty() ? 0LL : settore.toLongLong()});
}

QStringList vociOrari(CorsiDB &db) { return voci(db, sql::corsi::kOrari); }

QStringList vociCertificazioni(CorsiDB &db) { return voci(db, sql::corsi::kCertificazioni); }

QStringList vociDurate(CorsiDB &db, const QString &azione, const QString &tipologia)
{
    QStringList r;
    QSqlQuery q = db.seleziona(sql::corsi::kDurate, {azione, tipologia});
    while (q.next())
        r << q.value(0).toString();
    return r;
}

QStringList vociIstituti(CorsiDB &db)
{
    const QString separatore = QStringLiteral(" - ");
    return voci(db, sql::corsi::kIstitutoZero, {}, separatore) + voci(db, sql::corsi::kIstituti, {}, separatore);
}

QStringList vociAmbitiTerritoriali(CorsiDB &db) { return voci(db, sql::corsi::kAmbitiTerritoriali); }

QStringList vociSettoriProduttivi(CorsiDB &db, const QString &ambito)
{
    return voci(db, sql::corsi::kSettoriProduttivi, {ambito});
}

QStringList vociFigureProfessionali(CorsiDB &db, const QString &ambito, const QString &settore)
{
    return voci(db, sql::corsi::kFigureProfessionali, {ambito, settore});
}

QStringList vociComponentiResponsabili(CorsiDB &db, const Sessione &s)
{
    QStringList r;
    QSqlQuery q = db.seleziona(sql::corsi::kComponentiResponsabili, s.chiaveDomanda());
    while (q.next())
        r << q.value(0).toString() + QStringLiteral(" - ") + q.value(1).toString() + QStringLiteral(" - ") + q.value(2).toString()
                + QStringLiteral(" - ") + q.value(3).toString();
    return r;
}

QStringList vociCorsiPrincipali(CorsiDB &db, const Sessione &s, const QString &asse, const QString &misura, const QString &azione)
{
    return voci(db, sql::corsi::kCorsiPrincipali, s.chiaveSede() + QVariantList{asse, misura, azione});
}

QStringList vociCorsiPrecedenti(CorsiDB &db, const Sessione &s, const QString &asse, const QString &misura, const QString &azione)
{
    // The previous activities on the old actions that the current action replaces.
    QStringList r;
    QSqlQuery q = db.seleziona(sql::corsi::kCorsiPrecedenti, s.chiaveOperatore() + QVariantList{asse, misura, azione});
    while (q.next())
        r << voceAttivita(q);
    return r;
}

QStringList vociCorsiModulari(CorsiDB &db, const Sessione &s)
{
    QStringList r;
    QSqlQuery q = db.seleziona(sql::corsi::kCorsiModulari, s.chiaveOperatore());
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

std::optional<std::pair<qlonglong, qlonglong>> intervalloOreTotali(CorsiDB &db, const QString &azione, const QString &tipologia,
                                                                   const QString &situazione, int durataAnni)
{
    QSqlQuery q = db.seleziona(sql::corsi::kOreTotali, {azione, tipologia, situazione, durataAnni});
    if (!q.next())
        return std::nullopt;
    return std::pair{q.value(0).toLongLong(), q.value(1).toLongLong()};
}

std::optional<EsitoVerifica> regolaOreTotali(CorsiDB &db, const QString &azione, const QString &tipologia,
                                             const QString &situazione, int durataAnni, qlonglong oreTotali)
{
    return regolaOreTotali(intervalloOreTotali(db, azione, tipologia, situazione, durataAnni), oreTotali);
}

std::optional<EsitoVerifica> regolaOreTotali(const std::optional<std::pair<qlonglong, qlonglong>> &intervallo,
                                             qlonglong oreTotali)
{
    const QString testa = QStringLiteral("Il TOTALE ORE Iter indicato non rientra nell'intervallo di ore previsto ") + CRLF
        + QStringLiteral("per l'AZIONE e la DURATA TOTALE in anni del corso (");
    if (!intervallo)
        return EsitoVerifica::errore(testa + QStringLiteral("nessun intervallo previsto)"), QStringLiteral("Verifica dati"),
                                     QStringLiteral("txtTotIter"));
    const auto [minimo, massimo] = *intervallo;
    if (minimo <= oreTotali && oreTotali <= massimo)
        return std::nullopt;
    return EsitoVerifica::errore(testa + QString::number(minimo) + QStringLiteral(" - ") + QString::number(massimo)
                                     + QLatin1Char(')'),
                                 QStringLiteral("Verifica dati"), QStringLiteral("txtTotIter"));
}

std::optional<EsitoVerifica> regolaOreStage(CorsiDB &db, const QString &azione, const QString &situazione, qlonglong oreTotali,
                                            qlonglong oreStage)
{
    QSqlQuery q = db.seleziona(sql::corsi::kOreStage, {azione, situazione, oreTotali, oreTotali});
    if (!q.next())
        return std::nullopt;
    return regolaOreStage(q.value(0), q.value(1), q.value(2), q.value(3), oreTotali, oreStage);
}

std::optional<EsitoVerifica> regolaOreStage(const QVariant &minPerc, const QVariant &maxPerc, const QVariant &minAss,
                                            const QVariant &maxAss, qlonglong oreTotali, qlonglong oreStage)
{
    qlonglong minimo = 0, massimo = 0;
    if (!minPerc.isNull()) {
        // A share of the total hours, rounded down to the hour.
        auto parte = [&](const QVariant &percentuale) {
            return static_cast<qlonglong>(
                std::floor(static_cast<long double>(oreTotali) * percentuale.toDouble() / 100.0L + 1e-9L));
        };
        minimo = parte(minPerc);
        massimo = parte(maxPerc);
    } else {
        minimo = minAss.toLongLong();
        massimo = maxAss.toLongLong();
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

bool sezione33Disponibile(CorsiDB &db, const QString &prov)
{
    return db.valoreScalare(sql::corsi::kLegamiProvincia, {prov}).toInt() > 0;
}

QList<VoceSezione33> vociSezione33(CorsiDB &db, const QString &prov)
{
    QList<VoceSezione33> r;
    QSqlQuery q = db.seleziona(sql::corsi::kSezione33, {prov});
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
