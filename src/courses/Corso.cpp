#include "courses/Corso.h"

#include "common/Errori.h"
#include "common/Piattaforma.h"
#include "common/PuntiArresto.h"
#include "common/Sessione.h"
#include "courses/CatalogoCorsi.h"
#include "courses/Handicap.h"
#include "db/Colonne.h"
#include "db/Consultazioni.h"
#include "db/CorsiDB.h"

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>

namespace quirdal {

namespace {

QVariantList chiave(const Sessione &s, const ChiaveCorso &k)
{
    return {s.gGrupOpe, s.numeroOperatore(), k.sede, k.corso, k.accorp};
}

QVariant numeroONullo(const QString &t)
{
    const QString v = t.trimmed();
    return v.isEmpty() ? QVariant() : QVariant(v.toLongLong());
}

QVariant flag(bool b) { return b ? -1 : 0; }

QString testo(const QVariant &v) { return v.isNull() ? QString() : v.toString(); }

// The values of the CorsiProp columns a save writes, in the order of the columns of
// sql::corsi::kInserisciCorso and kAggiornaCorso (after the key).
// A course's CorsiProp row, the current one of a query, as the course sheet holds it.
DatiCorso datiCorso(const Colonne &v, const ChiaveCorso &k)
{
    auto t = [&](const char *c) { return testo(v(c)); };
    auto n = [&](const char *c) { return v(c).toLongLong(); };
    auto b = [&](const char *c) { return v(c).toInt() != 0; };
    static const char *const kCodInd[] = {"CodInd1", "CodInd2", "CodInd3", "CodInd4", "CodInd5", "CodInd6"};
    static const char *const kDesInd[] = {"DesInd1", "DesInd2", "DesInd3", "DesInd4", "DesInd5", "DesInd6"};
    static const char *const kCodDest[] = {"CodDest1", "CodDest2", "CodDest3", "CodDest4", "CodDest5"};
    static const char *const kSez34[] = {"Sez34_1", "Sez34_2", "Sez34_3", "Sez34_4"};
    DatiCorso d;
    d.chiave = k;
    d.accorpato = k.accorp != QLatin1String("0");
    d.corsoPrincipale = d.accorpato ? k.corso : QString();
    d.compoResp = t("CompoResp");
    d.codQualif = t("CodQualif");
    d.desQualif = t("DesQualif");
    d.qualificaNuova = d.codQualif.isEmpty() && !d.desQualif.isEmpty();
    for (int i = 0; i < 6; ++i) {
        d.codInd[i] = t(kCodInd[i]);
        d.desInd[i] = t(kDesInd[i]);
        d.indirizzoNuovo[i] = d.codInd[i].isEmpty() && !d.desInd[i].isEmpty();
    }
    d.codAsse = t("CodAsse");
    d.codMisura = t("CodMisura");
    d.codAzione = t("CodAzione");
    d.codTipologia = t("CodTipologia");
    for (int i = 0; i < 5; ++i)
        d.codDest[i] = t(kCodDest[i]);
    d.codScol = t("CodScol");
    d.codSetto = t("CodSetto");
    d.codComp = t("CodComp");
    d.codOra = t("CodOra");
    d.codCert = t("CodCert");
    d.numAll = n("NumAll");
    d.durataAnnOre = n("DurataAnnOre");
    d.totOreIter = n("TotOreIter");
    d.oreStage = n("OreStage");
    d.oreLabEsterni = n("OreLabEsterni");
    d.durataTotIter = static_cast<int>(n("DurataTotIter"));
    const QStringList data = t("DataAvvio").split(QLatin1Char('/'));
    if (data.size() == 3) {
        d.ggAvvio = data[0];
        d.mmAvvio = data[1];
        d.aaaaAvvio = data[2];
    }
    d.ats = b("ATS");
    d.codIsti = t("CodIsti");
    d.istitutoLibero = t("IstitutoLibero");
    d.spinAmbito = t("SPINAmbitoTerr");
    d.spinSettore = t("SPINSettoreProd");
    d.spinFigura = t("SPINFiguraProf");
    d.spinNonPresente =
        d.spinAmbito == kSpinAmbitoAssente && d.spinSettore == kSpinSettoreAssente && d.spinFigura == kSpinFiguraAssente;
    if (d.spinNonPresente)
        d.spinAmbito = d.spinSettore = d.spinFigura = QString();
    d.im = t("IM").isEmpty() ? QStringLiteral("N") : t("IM");
    d.po1 = b("PO_1");
    d.co1 = b("CO_1");
    d.qss = t("QSS");
    for (int i = 0; i < 4; ++i)
        d.sez34[i] = t(kSez34[i]);
    return d;
}

// A year of costs, the current row of a CorsiPropSpese query, into the course.
void annoDiSpese(DatiCorso &d, const Colonne &c)
{
    const int anno = c("ProgrAnno").toInt();
    if (anno >= 1 && anno <= 3)
        d.spese[anno - 1] = leggiSpese([&c](const char *colonna) { return c(colonna); });
}

QVariantList colonne(const DatiCorso &d)
{
    QVariantList r = {numeroONullo(d.compoResp), d.qualificaNuova ? QString() : d.codQualif, d.desQualif};
    for (int i = 0; i < 6; ++i) // CodInd1, DesInd1 ... CodInd6, DesInd6
        r << (d.indirizzoNuovo[i] ? QString() : d.codInd[i]) << d.desInd[i];
    r << d.codAsse << d.codMisura << d.codAzione << d.codTipologia;
    for (int i = 0; i < 5; ++i) // CodDest1 ... CodDest5
        r << d.codDest[i];
    const bool spinAssente = d.spinNonPresente;
    const QString data = (d.ggAvvio + d.mmAvvio + d.aaaaAvvio).isEmpty()
        ? QString()
        : d.ggAvvio + QLatin1Char('/') + d.mmAvvio + QLatin1Char('/') + d.aaaaAvvio;
    r << numeroONullo(d.codScol) << numeroONullo(d.codSetto) << numeroONullo(d.codComp) << numeroONullo(d.codOra)
      << numeroONullo(d.codCert) << d.numAll << d.durataAnnOre << data << d.totOreIter << d.oreStage << d.oreLabEsterni
      << (d.durataTotIter > 0 ? QVariant(d.durataTotIter) : QVariant()) // DurataTotIter
      << 1                                                              // StatoIter
      << flag(d.ats) << numeroONullo(d.codIsti) << d.istitutoLibero << (spinAssente ? kSpinAmbitoAssente : d.spinAmbito)
      << (spinAssente ? kSpinSettoreAssente : d.spinSettore) << (spinAssente ? kSpinFiguraAssente : d.spinFigura) << d.im
      << d.qss;
    for (int i = 0; i < 4; ++i) // Sez34_1 ... Sez34_4
        r << d.sez34[i];
    r << flag(d.po1) << flag(d.co1);
    return r;
}

void scriviSpese(CorsiDB &db, const Sessione &s, Piattaforma &p, const ChiaveCorso &k, const DatiCorso &d)
{
    db.esegui(completa(sql::corsi::kCancellaDelCorso, {QStringLiteral("CorsiPropSpese")}), chiave(s, k));
    const LineeAmmesse linee = lineeAmmesse(db, d.azione(), d.codTipologia);
    for (int anno = 1; anno <= std::min(d.durataTotIter, 3); ++anno) {
        // A line the action does not admit is written as 0 in every value.
        const SpeseAnno x = soloLineeAmmesse(d.spese[anno - 1], linee);
        // Never stored what no total could then be computed from.
        if (const auto e = importoEccessivo(x, anno - 1))
            throw Errore(codici::Traboccamento, e->messaggio);
        QVariantList v = chiave(s, k);
        v << anno << x.a1.perSql() << x.oreA1 << x.allA1 << x.a2.perSql() << x.oreA2 << x.allA2 << x.p16.perSql() << x.ore16
          << x.all16 << x.piu.perSql() << x.meno.perSql();
        for (int i = 0; i < 5; ++i)
            v << x.dettaglio[i].perSql() << x.percentuali[i];
        v << x.p17_3.perSql() << x.all17_3 << x.enteErogatore << p.nuovoGuid();
        db.esegui(sql::corsi::kInserisciSpese, v);
    }
}

void scriviValoriChk(CorsiDB &db, const Sessione &s, const ChiaveCorso &k, const DatiCorso &d)
{
    for (auto it = d.valoriChk.cbegin(); it != d.valoriChk.cend(); ++it)
        db.esegui(sql::corsi::kScriviValoreChk, chiave(s, k) + QVariantList{s.gProv, it.key(), flag(it.value())});
}

// A printed application is never changed. The session says so for this workstation; inside
// the write the database says it for all of them, since another workstation may have printed
// the application after this session began.
void rifiutaSeStampata(CorsiDB &db, const Sessione &s)
{
    if (s.gDomandaStampata || provinciaStampata(db, s.gGrupOpe, s.numeroOperatore(), s.gProv))
        throw Errore(codici::Generico,
                     QStringLiteral("Domanda già inviata alla Provincia: i dati dei corsi non sono modificabili."));
}

// How a course is written: over its own row, as a new course, or put back under its own key
// after another workstation deleted it.
enum class Scrittura { Aggiorna, Inserisci, Reinserisci };

// The key of a course written as a new row. A course put back keeps its key while no course
// of the operator has taken it meanwhile (a merged course only while its main course is
// there); otherwise, and for a new course, the next code.
ChiaveCorso chiaveNuova(CorsiDB &db, const Sessione &s, const DatiCorso &d, Scrittura modo)
{
    if (modo == Scrittura::Reinserisci) {
        const QVariantList codice = s.chiaveOperatore() + QVariantList{d.chiave.corso};
        const bool principale = !d.accorpato || db.valoreScalare(sql::corsi::kUltimoAccorpato, codice).toInt() > 0;
        if (principale && db.valoreScalare(sql::corsi::kCodiceInUso, codice + QVariantList{d.chiave.accorp}).toInt() == 0)
            return ChiaveCorso{s.numeroSede(), d.chiave.corso, d.chiave.accorp};
    }
    const std::optional<ChiaveCorso> nuova = ProgrCorso(db, s, d.accorpato, d.corsoPrincipale);
    if (!nuova)
        throw Errore(codici::Generico,
                     QStringLiteral("Corso principale ") + d.corsoPrincipale.left(4) + QStringLiteral(" non trovato."));
    ChiaveCorso k = *nuova;
    k.sede = s.numeroSede();
    return k;
}

ChiaveCorso scrivi(CorsiDB &db, const Sessione &s, Piattaforma &p, const DatiCorso &d, Scrittura modo)
{
    // This workstation's own word refuses before the write waits for the lock.
    if (s.gDomandaStampata)
        rifiutaSeStampata(db, s);
    const QVariantList valori = colonne(d);
    // Two workstations inserting at once: the code is taken inside the write, which holds
    // the database; a clash on the key (the other one's code) is retried with a new code.
    for (int tentativo = 0;; ++tentativo) {
        try {
            Transazione t(db);
            rifiutaSeStampata(db, s);
            ChiaveCorso k = d.chiave;
            if (modo == Scrittura::Aggiorna) {
                if (db.esegui(sql::corsi::kAggiornaCorso, valori + chiave(s, k)) == 0)
                    throw Errore(codici::RigaCancellata, QStringLiteral("Il corso è stato cancellato da un'altra postazione."));
            } else {
                k = chiaveNuova(db, s, d, tentativo == 0 ? modo : Scrittura::Inserisci);
                db.esegui(sql::corsi::kInserisciCorso, chiave(s, k) + valori);
            }
            // The course row is written, its cost rows not yet: the middle of a save.
            puntoDiArresto("salva-corso");
            scriviSpese(db, s, p, k, d);
            scriviValoriChk(db, s, k, d);
            segnaSchedaHandicap(db, s, k);
            if (k.accorp == QLatin1String("0") && HaAccorpati(db, s, k.corso))
                AggQueryAcc(db, s, k.corso);
            t.conferma();
            return k;
        } catch (const Errore &e) {
            if (e.numero() != 3022 || modo == Scrittura::Aggiorna || tentativo >= 5)
                throw;
        }
    }
}

} // namespace

QString DatiCorso::azione() const { return codAsse + QLatin1Char('.') + codMisura + QLatin1Char('.') + codAzione; }

QList<ChiaveCorso> corsiDellaSede(CorsiDB &db, const Sessione &s)
{
    QList<ChiaveCorso> r;
    QSqlQuery q = db.seleziona(sql::corsi::kCorsiDellaSede, s.chiaveSede());
    while (q.next())
        r.append({s.numeroSede(), q.value(0).toString(), q.value(1).toString()});
    return r;
}

QStringList vociEleCorsi(CorsiDB &db, const Sessione &s)
{
    QStringList r;
    QSqlQuery q = db.seleziona(sql::corsi::kVociCorsi, s.chiaveSede());
    while (q.next())
        r << q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString() + QStringLiteral(" - ") + q.value(2).toString();
    return r;
}

ChiaveCorso leggiVoceCorso(const QString &voce, qlonglong sede)
{
    const qsizetype spazio = voce.indexOf(QLatin1Char(' '));
    const qsizetype trattino = voce.indexOf(QStringLiteral(" - "));
    return {sede, voce.left(4), spazio < 0 ? QString() : voce.mid(spazio + 1, trattino - spazio - 1).trimmed()};
}

std::optional<DatiCorso> caricaCorso(CorsiDB &db, const Sessione &s, const ChiaveCorso &k)
{
    QSqlQuery q = db.seleziona(sql::corsi::kCorso, chiave(s, k));
    if (!q.next())
        return std::nullopt;
    DatiCorso d = datiCorso(Colonne(q), k);
    q.finish();

    QSqlQuery sp = db.seleziona(sql::corsi::kSpeseCorso, chiave(s, k));
    const Colonne spese(sp);
    while (sp.next())
        annoDiSpese(d, spese);
    sp.finish();

    QSqlQuery chk = db.seleziona(sql::corsi::kValoriChk, chiave(s, k) + QVariantList{s.gProv});
    while (chk.next())
        d.valoriChk.insert(chk.value(0).toLongLong(), chk.value(1).toInt() != 0);
    return d;
}

QList<CorsoDellaDomanda> caricaCorsiDomanda(CorsiDB &db, const Sessione &s)
{
    const QVariantList domanda = s.chiaveOperatore() + QVariantList{s.gProv, s.gProv};
    QList<CorsoDellaDomanda> r;
    QHash<QString, qsizetype> indice;
    auto chiaveRiga = [](const Colonne &c) {
        return ChiaveCorso{c("SedeInteressata").toLongLong(), testo(c("Corso")), testo(c("Accorp"))};
    };
    auto testoChiave = [](const ChiaveCorso &k) {
        return QString::number(k.sede) + QChar(0x1F) + k.corso + QChar(0x1F) + k.accorp;
    };
    {
        QSqlQuery q = db.seleziona(sql::corsi::kRigheCorsiDellaDomanda, domanda);
        const Colonne c(q);
        while (q.next()) {
            const ChiaveCorso k = chiaveRiga(c);
            indice.insert(testoChiave(k), r.size());
            r.emplaceBack(CorsoDellaDomanda{datiCorso(c, k), c("DurataAnnOre")});
        }
    }
    // Rows of no course read (a course deleted in between) are left out.
    {
        QSqlQuery q = db.seleziona(sql::corsi::kSpeseDellaDomanda, domanda);
        const Colonne c(q);
        while (q.next())
            if (const qsizetype i = indice.value(testoChiave(chiaveRiga(c)), -1); i >= 0)
                annoDiSpese(r[i].dati, c);
    }
    {
        QSqlQuery q =
            db.seleziona(sql::corsi::kValoriChkDellaDomanda, s.chiaveOperatore() + QVariantList{s.gProv, s.gProv, s.gProv});
        const Colonne c(q);
        while (q.next())
            if (const qsizetype i = indice.value(testoChiave(chiaveRiga(c)), -1); i >= 0)
                r[i].dati.valoriChk.insert(c("ID").toLongLong(), c("Valore").toInt() != 0);
    }
    return r;
}

std::optional<ChiaveCorso> ProgrCorso(CorsiDB &db, const Sessione &s, bool accorpato, const QString &principale)
{
    if (accorpato) {
        QSqlQuery q = db.seleziona(sql::corsi::kUltimoAccorpato, s.chiaveOperatore() + QVariantList{principale.left(4)});
        if (!q.next() || q.value(0).toInt() == 0)
            return std::nullopt;
        return ChiaveCorso{s.numeroSede(), principale.left(4), QString::number(q.value(1).toLongLong() + 1)};
    }
    const QVariant ultimo = db.valoreScalare(sql::corsi::kUltimoCorso, s.chiaveOperatore());
    const qlonglong prossimo = ultimo.isNull() ? 1 : ultimo.toLongLong() + 1;
    return ChiaveCorso{s.numeroSede(), QString::number(prossimo).rightJustified(4, QLatin1Char('0')), QStringLiteral("0")};
}

ChiaveCorso scriviCorso(CorsiDB &db, const Sessione &s, Piattaforma &p, const DatiCorso &d)
{
    return scrivi(db, s, p, d, d.chiave.corso.isEmpty() ? Scrittura::Inserisci : Scrittura::Aggiorna);
}

ChiaveCorso reinserisciCorso(CorsiDB &db, const Sessione &s, Piattaforma &p, const DatiCorso &d)
{
    DatiCorso x = d;
    if (x.accorpato && x.corsoPrincipale.isEmpty())
        x.corsoPrincipale = x.chiave.corso;
    return scrivi(db, s, p, x, x.chiave.corso.isEmpty() ? Scrittura::Inserisci : Scrittura::Reinserisci);
}

bool HaAccorpati(CorsiDB &db, const Sessione &s, const QString &corso)
{
    return db.valoreScalare(sql::corsi::kHaAccorpati, s.chiaveSede() + QVariantList{corso}).toInt() > 0;
}

bool CancellaCorso(CorsiDB &db, const Sessione &s, const ChiaveCorso &k)
{
    // This workstation's own word refuses before the write waits for the lock.
    if (s.gDomandaStampata)
        rifiutaSeStampata(db, s);
    Transazione t(db);
    rifiutaSeStampata(db, s);
    if (k.accorp == QLatin1String("0") && HaAccorpati(db, s, k.corso))
        return false;
    for (const char *tabella : {"CorsiPropSpese", "ValoriChk", "CorsiHandi", "CorsiProp"})
        db.esegui(completa(sql::corsi::kCancellaDelCorso, {QString::fromLatin1(tabella)}), chiave(s, k));
    t.conferma();
    return true;
}

bool CorsoIncompleto(CorsiDB &db, const Sessione &s, const ChiaveCorso &k)
{
    return db.valoreScalare(sql::corsi::kCorsoSenzaSpese, chiave(s, k)).toInt() == 0;
}

void AggQueryAcc(CorsiDB &db, const Sessione &s, const QString &corso)
{
    db.esegui(sql::corsi::kSintesiAgliAccorpati, s.chiaveSede() + QVariantList{corso});
}

Importo RiepilogoAccorpati::totaleA() const
{
    Importo t;
    for (const Importo &x : a)
        t += x;
    return t;
}

RiepilogoAccorpati riepilogoAccorpati(CorsiDB &db, const Sessione &s, const QString &corso)
{
    RiepilogoAccorpati r;
    QSqlQuery q = db.seleziona(sql::corsi::kRiepilogoAccorpati, s.chiaveSede() + QVariantList{corso});
    auto prodotto = [&](const QString &importo, const QString &ore, const QString &allievi) {
        const Totale t =
            totaleLinea(Importo::daValore(q.value(importo)), q.value(ore).toLongLong(), q.value(allievi).toLongLong());
        if (!t)
            throw Errore(codici::Traboccamento,
                         kImportoTroppoGrande + QStringLiteral(": la riga ") + importo
                             + QStringLiteral(" del riepilogo supera il massimo calcolabile."));
        return *t;
    };
    while (q.next()) {
        int i = 0;
        for (const char *riga : {"11", "12", "21", "22", "31", "32", "41", "42"}) {
            const QString p = QStringLiteral("a") + QString::fromLatin1(riga), n = QString(QLatin1Char(riga[1]));
            const QString a = n == QLatin1String("1") ? QStringLiteral("A1") : QStringLiteral("A2");
            const QString c = n == QLatin1String("1") ? QStringLiteral("C1") : QStringLiteral("C2");
            r.a[i] += prodotto(p + QStringLiteral("_Param") + a, p + QStringLiteral("_Ore"), p + QStringLiteral("_Param") + c);
            ++i;
        }
        r.b1 += prodotto(QStringLiteral("b1_ParamB1"), QStringLiteral("DurataAnnOre"), QStringLiteral("NumAll"));
        r.b2 += prodotto(QStringLiteral("b2_ParamB2"), QStringLiteral("DurataAnnOre"), QStringLiteral("b2NumAll"));
    }
    return r;
}

} // namespace quirdal
