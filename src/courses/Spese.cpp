#include "courses/Spese.h"

#include "common/Errori.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "courses/CatalogoCorsi.h"
#include "db/CorsiDB.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace quirdal {

namespace {
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

Massimali senzaRiga()
{
    return {kSenzaMassimale, kSenzaMassimale, kSenzaMassimale, kSenzaMassimaleAllievi, kSenzaMassimaleAllievi, false};
}

// The first row, or among several the first whose participant cap fits. Participants above
// every cap of the band take the row of the highest cap: more participants never lift a
// cap, and the participants' rule then refuses them against that row.
Massimali scegli(CorsiDB &db, const Istruzione &istruzione, QVariantList parametri, qlonglong allievi)
{
    QSqlQuery q = db.seleziona(istruzione, parametri);
    QList<Massimali> righe;
    while (q.next())
        righe.append(daRiga(q));
    return sceltaMassimali(righe, allievi);
}
} // namespace

Massimali massimaliDaRiga(const QSqlQuery &q) { return daRiga(q); }

Massimali sceltaMassimali(const QList<Massimali> &righe, qlonglong allievi)
{
    if (righe.isEmpty())
        return senzaRiga();
    for (const Massimali &m : righe)
        if (m.c1 >= allievi)
            return m;
    return righe.last();
}

SpeseAnno leggiSpese(const CampoRiga &campo)
{
    auto imp = [&](const char *c) { return Importo::daValore(campo(c)); };
    auto num = [&](const char *c) {
        const QVariant v = campo(c);
        return v.isNull() ? qlonglong(0) : v.toLongLong();
    };
    SpeseAnno x;
    x.a1 = imp("ParamA1");
    x.oreA1 = num("NumOreA1");
    x.allA1 = num("NumAllA1");
    x.a2 = imp("ParamA2");
    x.oreA2 = num("NumOreA2");
    x.allA2 = num("NumAllA2");
    x.p16 = imp("Param16");
    x.ore16 = num("NumOre16");
    x.all16 = num("NumAll16");
    x.piu = imp("Param17Piu");
    x.meno = imp("Param17Meno");
    x.p17_3 = imp("Param17_3");
    x.all17_3 = num("NumAll17_3");
    const QVariant ente = campo("EnteErogatore");
    x.enteErogatore = ente.isNull() ? QString() : ente.toString();
    static const char *const kDettaglio[][2] = {{"Param70", "Param70P"},
                                                {"Param71", "Param71P"},
                                                {"Param72", "Param72P"},
                                                {"Param73", "Param73P"},
                                                {"Param74", "Param74P"}};
    for (int i = 0; i < 5; ++i) {
        x.dettaglio[i] = imp(kDettaglio[i][0]);
        x.percentuali[i] = num(kDettaglio[i][1]);
    }
    return x;
}

SpeseAnno leggiSpese(const QSqlQuery &q)
{
    // The columns found once: a lookup by name builds the whole record each time.
    const QSqlRecord r = q.record();
    return leggiSpese([&q, &r](const char *c) { return q.value(r.indexOf(QString::fromLatin1(c))); });
}

SpeseAnno leggiSpese(const QVariantMap &riga)
{
    return leggiSpese([&riga](const char *c) { return riga.value(QString::fromLatin1(c)); });
}

namespace {
Totale piu(Totale a, Totale b) { return a && b ? a->piu(*b, std::nothrow) : std::nullopt; }
Totale meno(Totale a, Totale b) { return a && b ? a->meno(*b, std::nothrow) : std::nullopt; }

// The total, or the error that says it is out of range.
Importo certo(const Totale &t, const char *cosa)
{
    if (!t)
        throw Errore(codici::Traboccamento,
                     kImportoTroppoGrande + QStringLiteral(": ") + QString::fromUtf8(cosa)
                         + QStringLiteral(" supera il massimo calcolabile."));
    return *t;
}
} // namespace

Totale totaleLinea(Importo importo, qlonglong ore, qlonglong allievi)
{
    const Totale perOre = importo.per(ore, std::nothrow);
    return perOre ? perOre->per(allievi, std::nothrow) : std::nullopt;
}

Totale totaleLinea(Importo importo, qlonglong allievi) { return importo.per(allievi, std::nothrow); }

TotaliAnno totaliAnno(const SpeseAnno &s)
{
    TotaliAnno t;
    t.a1 = totaleLinea(s.a1, s.oreA1, s.allA1);
    t.a2 = totaleLinea(s.a2, s.oreA2, s.allA2);
    t.p16 = totaleLinea(s.p16, s.ore16, s.all16);
    t.p17_3 = totaleLinea(s.p17_3, s.all17_3);
    t.anno = meno(piu(piu(t.a1, t.a2), t.p16), t.p17_3);
    t.preventivo = meno(t.anno, s.meno);
    return t;
}

std::optional<ImportoEccessivo> importoEccessivo(const SpeseAnno &s, int anno)
{
    const TotaliAnno t = totaliAnno(s);
    if (t.preventivo)
        return std::nullopt;
    const QString dove = QStringLiteral(" (anno %1) supera il massimo calcolabile.").arg(anno + 1) + CRLF;
    const QString riduci = QStringLiteral("Ridurre l'importo, le ore o gli allievi.");
    auto eccesso = [&](const char *campo, const QString &cosa) {
        return ImportoEccessivo{campo, kImportoTroppoGrande + QStringLiteral(": ") + cosa + dove + riduci};
    };
    if (!t.a1)
        return eccesso("txtA1", QStringLiteral("il totale della spesa 'Spese Generali'"));
    if (!t.a2)
        return eccesso("txtA2", QStringLiteral("il totale della spesa 'Premio'"));
    if (!t.p16)
        return eccesso("txt16", QStringLiteral("il totale della spesa 'Reddito Allievi'"));
    if (!t.p17_3)
        return eccesso("txtNumAll17_3", QStringLiteral("il totale della spesa 'Contributo Allievi'"));
    if (!t.anno) {
        // Each line fits, their sum does not: the user is taken to the largest.
        const char *campo = *t.a1 >= *t.a2 && *t.a1 >= *t.p16 ? "txtA1" : *t.a2 >= *t.p16 ? "txtA2" : "txt16";
        return eccesso(campo, QStringLiteral("il Totale PREVENTIVO SPESE"));
    }
    return ImportoEccessivo{"txtParam17Meno",
                            kImportoTroppoGrande + QStringLiteral(": il Totale PREVENTIVO calcolato") + dove
                                + QStringLiteral("Ridurre la quota dell'operatore da sottrarre.")};
}

Importo totaleAnno(const SpeseAnno &s) { return certo(totaliAnno(s).anno, "il Totale PREVENTIVO SPESE"); }

Importo totalePreventivo(const SpeseAnno &s) { return certo(totaliAnno(s).preventivo, "il Totale PREVENTIVO calcolato"); }

Importo totaleCorso(const QList<SpeseAnno> &anni)
{
    Importo t;
    for (const SpeseAnno &s : anni)
        t += totalePreventivo(s);
    return t;
}

Importo tettoRedditoAllievi(qlonglong allievi) { return Importo::daCentesimi(40000).per(allievi); }

TotaliSede TotaliCorsiSede(CorsiDB &db, const Sessione &s, qlonglong sede)
{
    QSqlQuery q = db.seleziona(sql::corsi::kSpeseDellaSede, {s.gGrupOpe, s.numeroOperatore(), sede, sede, sede, s.gProv});
    TotaliSede t;
    auto aggiungi = [](GruppoCorsi &g, Importo totale, qlonglong ore) {
        ++g.schede;
        g.totale += totale;
        g.ore += ore;
    };
    while (q.next()) {
        const Importo totale = totalePreventivo(leggiSpese(q));
        const qlonglong ore = q.value(QStringLiteral("OreAnno")).toLongLong();
        aggiungi(q.value(QStringLiteral("SedeInteressata")).toLongLong() == sede ? t.sedeAccreditata : t.sediOccasionali, totale,
                 ore);
        if (q.value(QStringLiteral("Deroga")).toInt() != 0)
            aggiungi(t.azioniInDeroga, totale, ore);
    }
    return t;
}

Importo TotSpeseCorsiSede(CorsiDB &db, const Sessione &s, qlonglong sede)
{
    const TotaliSede t = TotaliCorsiSede(db, s, sede);
    return t.sedeAccreditata.totale + t.sediOccasionali.totale;
}

LineeAmmesse lineeAmmesse(CorsiDB &db, const QString &azione, const QString &tipologia)
{
    LineeAmmesse l;
    QSqlQuery q = db.seleziona(sql::corsi::kLineeAmmesse, {azione, tipologia});
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
    return scegli(db, sql::corsi::kMassimaliAzione, {azione, tipologia, ore, ore}, allievi);
}

Massimali massimaliAnno(CorsiDB &db, const QString &asse, const QString &misura, const QString &azione, const QString &tipologia,
                        qlonglong oreA1, qlonglong allieviA1)
{
    return scegli(db, sql::corsi::kMassimaliAnno, {asse, misura, azione, tipologia, oreA1, oreA1}, allieviA1);
}

std::optional<qlonglong> IniNumAll(CorsiDB &db, const QString &azione, const QString &tipologia)
{
    const QVariant v = db.valoreScalare(sql::corsi::kAllieviMassimi, {azione, tipologia});
    return v.isNull() ? std::nullopt : std::optional<qlonglong>(v.toLongLong());
}

std::optional<qlonglong> oreMassimeAzione(CorsiDB &db, const QString &azione, const QString &tipologia)
{
    const QVariant v = db.valoreScalare(sql::corsi::kOreMassime, {azione, tipologia});
    return v.isNull() ? std::nullopt : std::optional<qlonglong>(v.toLongLong());
}

Importo CalcolaParam17_3(qlonglong oreAnnue)
{
    // From 150 hours on the 300 euro hold: the hours count no further, however many.
    return Importo::daCentesimi(200).per(std::clamp<qlonglong>(oreAnnue, 0, 150));
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

SpeseIniziali IniSpese(CorsiDB &db, const QString &azione, const QString &tipologia, int durata, qlonglong oreAnnue,
                       qlonglong allievi, int anniConservati)
{
    SpeseIniziali r;
    r.linee = lineeAmmesse(db, azione, tipologia);
    const Massimali m = MaxValParamAC(db, azione, tipologia, oreAnnue, allievi);
    for (int y = std::max(anniConservati, 0); y < std::min(durata, 3); ++y)
        r.anni[y] = speseDiPartenza(m, r.linee, allievi, oreAnnue);
    return r;
}

void ArrotondaSpese(SpeseAnno &s)
{
    s.dettaglio = {};
    const Totale totale = totaliAnno(s).preventivo;
    if (!totale)
        return; // the checks refuse the year: nothing to break down
    std::array<Totale, 5> parti;
    qlonglong somma = 0;
    for (int i = 0; i < 5; ++i) {
        parti[i] = totale->perRapporto(s.percentuali[i], 100, std::nothrow);
        somma += s.percentuali[i];
    }
    // With the five percentages making the whole, the cents left by the rounding go to
    // b) (Realizzazione), so that the breakdown adds up exactly to the total.
    if (somma == 100)
        parti[1] = meno(totale, piu(piu(parti[0], parti[2]), piu(parti[3], parti[4])));
    // Percentages far above the whole can push a part out of range: then none is shown.
    if (std::all_of(parti.cbegin(), parti.cend(), [](const Totale &p) { return p.has_value(); }))
        for (int i = 0; i < 5; ++i)
            s.dettaglio[i] = *parti[i];
}

} // namespace quirdal
