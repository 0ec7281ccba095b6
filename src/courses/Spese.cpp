#include "courses/Spese.h"

#include "courses/TotaleCorso.h"
#include "db/CorsiDB.h"

#include <QSqlQuery>
#include <optional>

namespace quirdal {

namespace {
const QString kAzione = QStringLiteral(" CodAsse || '.' || CodMisura || '.' || CodAzione = ? ");
const Importo kSenzaMassimale = Importo::daCentesimi(99999900);
constexpr qlonglong kSenzaMassimaleAllievi = 9999;

Massimali daRiga(const QSqlQuery &q)
{
    Massimali m;
    m.trovati = true;
    m.a1 = Importo::daValore(q.value(0));
    m.c1 = q.value(1).toLongLong();
    m.a2 = Importo::daValore(q.value(2));
    m.c2 = q.value(3).toLongLong();
    m.b = Importo::daValore(q.value(4));
    return m;
}

Massimali senzaRiga() { return {kSenzaMassimale, kSenzaMassimale, kSenzaMassimale, kSenzaMassimaleAllievi, kSenzaMassimaleAllievi, false}; }

// The first row, or among several the first whose participant cap fits. Participants above
// every cap of the band take the row of the highest cap: more participants never lift a
// cap, and the participants' rule then refuses them against that row.
Massimali scegli(CorsiDB &db, const QString &sql, QVariantList parametri, qlonglong allievi)
{
    QSqlQuery q = db.seleziona(sql + QStringLiteral(" ORDER BY ParC1"), parametri);
    QList<Massimali> righe;
    while (q.next())
        righe.append(daRiga(q));
    if (righe.isEmpty())
        return senzaRiga();
    for (const Massimali &m : righe)
        if (m.c1 >= allievi)
            return m;
    return righe.last();
}
} // namespace

Importo totaleAnno(const SpeseAnno &s)
{
    return s.a1.per(s.oreA1).per(s.allA1) + s.a2.per(s.oreA2).per(s.allA2) + s.p16.per(s.ore16).per(s.all16)
        - s.p17_3.per(s.all17_3);
}

Importo totalePreventivo(const SpeseAnno &s)
{
    // Through the one course-total formula, as the summary and the transmission file read it.
    return totaleRigaSpese([&](const char *c) -> QVariant {
        const QByteArray n(c);
        if (n == "ParamA1") return s.a1.perSql();
        if (n == "NumOreA1") return s.oreA1;
        if (n == "NumAllA1") return s.allA1;
        if (n == "ParamA2") return s.a2.perSql();
        if (n == "NumOreA2") return s.oreA2;
        if (n == "NumAllA2") return s.allA2;
        if (n == "Param16") return s.p16.perSql();
        if (n == "NumOre16") return s.ore16;
        if (n == "NumAll16") return s.all16;
        if (n == "Param17_3") return s.p17_3.perSql();
        if (n == "NumAll17_3") return s.all17_3;
        if (n == "Param17Meno") return s.meno.perSql();
        return {};
    });
}

LineeAmmesse lineeAmmesse(CorsiDB &db, const QString &azione, const QString &tipologia)
{
    LineeAmmesse l;
    QSqlQuery q = db.seleziona(QStringLiteral("SELECT CodCentro, CodSpesa FROM AmmissioneSpese WHERE") + kAzione
                                   + QStringLiteral("AND CodTipologia = ?"),
                               {azione, tipologia});
    while (q.next()) {
        const QString codice = q.value(0).toString() + QLatin1Char('.') + q.value(1).toString();
        if (codice == QLatin1String("2.2"))
            l.a2 = true;
        else if (codice == QLatin1String("16.1"))
            l.p16 = true;
        else if (codice == QLatin1String("17.1"))
            l.quote = true;
        else if (codice == QLatin1String("17.3"))
            l.p17_3 = true;
    }
    return l;
}

SpeseAnno soloLineeAmmesse(SpeseAnno s, const LineeAmmesse &l)
{
    if (!l.a2) {
        s.a2 = {};
        s.oreA2 = s.allA2 = 0;
    }
    if (!l.p16) {
        s.p16 = {};
        s.ore16 = s.all16 = 0;
    }
    if (!l.quote) {
        s.piu = s.meno = {};
        s.enteErogatore.clear();
    }
    if (!l.p17_3) {
        s.p17_3 = {};
        s.all17_3 = 0;
    }
    return s;
}

Massimali MaxValParamAC(CorsiDB &db, const QString &azione, const QString &tipologia, qlonglong ore, qlonglong allievi)
{
    return scegli(db,
                  QStringLiteral("SELECT ParA1, ParC1, ParA2, ParC2, ParB FROM MassimaliPar WHERE") + kAzione
                      + QStringLiteral("AND CodTipologia = ? AND (MinOre <= ? AND ? <= MaxOre)"),
                  {azione, tipologia, ore, ore}, allievi);
}

Massimali massimaliAnno(CorsiDB &db, const QString &asse, const QString &misura, const QString &azione,
                        const QString &tipologia, qlonglong oreA1, qlonglong allieviA1)
{
    return scegli(db,
                  QStringLiteral("SELECT ParA1, ParC1, ParA2, ParC2, ParB FROM MassimaliPar WHERE CodAsse = ? AND CodMisura "
                                 "= ? AND CodAzione = ? AND CodTipologia = ? AND (MinOre <= ? AND MaxOre >= ?)"),
                  {asse, misura, azione, tipologia, oreA1, oreA1}, allieviA1);
}

std::optional<qlonglong> IniNumAll(CorsiDB &db, const QString &azione, const QString &tipologia)
{
    const QVariant v = db.valoreScalare(QStringLiteral("SELECT MAX(ParC1) FROM MassimaliPar WHERE") + kAzione
                                            + QStringLiteral("AND CodTipologia = ?"),
                                        {azione, tipologia});
    return v.isNull() ? std::nullopt : std::optional<qlonglong>(v.toLongLong());
}

std::optional<qlonglong> oreMassimeAzione(CorsiDB &db, const QString &azione, const QString &tipologia)
{
    const QVariant v = db.valoreScalare(QStringLiteral("SELECT MAX(MaxOre) FROM MassimaliPar WHERE") + kAzione
                                            + QStringLiteral("AND CodTipologia = ?"),
                                        {azione, tipologia});
    return v.isNull() ? std::nullopt : std::optional<qlonglong>(v.toLongLong());
}

Importo CalcolaParam17_3(qlonglong oreAnnue)
{
    const Importo perOre = Importo::daCentesimi(200).per(std::max<qlonglong>(oreAnnue, 0));
    const Importo tetto = Importo::daCentesimi(30000);
    return std::min(perOre, tetto);
}

SpeseAnno speseDiPartenza(const Massimali &m, const LineeAmmesse &l, qlonglong allievi, qlonglong oreAnnue)
{
    SpeseAnno s;
    // Without a caps row the caps are only a ceiling nobody reaches: an amount the user has
    // to type, not one to propose.
    auto proposto = [&m](const Importo &tetto) { return m.trovati ? tetto : Importo(); };
    s.a1 = proposto(m.a1);
    s.allA1 = std::min(allievi, m.c1);
    s.oreA1 = oreAnnue;
    if (l.a2) {
        s.a2 = proposto(m.a2);
        s.allA2 = std::min(allievi, m.c2);
        s.oreA2 = oreAnnue;
    }
    if (l.p16) {
        s.p16 = proposto(m.b);
        s.all16 = allievi;
        s.ore16 = oreAnnue;
    }
    if (l.p17_3) {
        s.all17_3 = s.allA1;
        s.p17_3 = CalcolaParam17_3(oreAnnue);
    }
    ArrotondaSpese(s);
    return s;
}

void ArrotondaSpese(SpeseAnno &s)
{
    const Importo totale = totalePreventivo(s);
    qlonglong somma = 0;
    for (int i = 0; i < 5; ++i) {
        s.dettaglio[i] = totale.perRapporto(s.percentuali[i], 100);
        somma += s.percentuali[i];
    }
    // With the five percentages making the whole, the cents left by the rounding go to
    // b) (Realizzazione), so that the breakdown adds up exactly to the total.
    if (somma == 100)
        s.dettaglio[1] = totale - (s.dettaglio[0] + s.dettaglio[2] + s.dettaglio[3] + s.dettaglio[4]);
}

} // namespace quirdal
