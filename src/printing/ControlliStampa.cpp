#include "printing/ControlliStampa.h"

#include "common/Generale.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "courses/VerificaCorso.h"
#include "db/CorsiDB.h"
#include "printing/CatalogoStampa.h"

#include <QDate>
#include <QRegularExpression>
#include <cmath>

namespace quirdal {

namespace {

const QString kCorreggere = QStringLiteral(" Correggere la situazione, e ritentare la stampa.");
const QString kCorreggereElenco = QStringLiteral(" Correggere la situazione, e ritentare la stampa: ");

// Null and "" alike.
bool vuoto(const QVariant &v) { return v.toString().isEmpty(); }

bool soloCifre(const QString &t)
{
    if (t.isEmpty())
        return false;
    for (const QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// Day, month and year as a day-month-year parser takes them: digits, a calendar date; a
// year of one or two digits is of the last or the present century.
bool dataValida(const QString &gg, const QString &mm, const QString &aaaa)
{
    const QString g = gg.trimmed(), m = mm.trimmed(), a = aaaa.trimmed();
    if (!soloCifre(g) || !soloCifre(m) || !soloCifre(a) || g.size() > 2 || m.size() > 2 || a.size() > 4 || a.size() == 3)
        return false;
    int anno = a.toInt();
    if (a.size() <= 2)
        anno += anno < 30 ? 2000 : 1900;
    return QDate(anno, m.toInt(), g.toInt()).isValid();
}

// The CAP rules of a site or of the registered office.
bool capLunghezzaErrata(const QVariant &cap) { return !vuoto(cap) && cap.toString().size() != 5; }
bool capNonNumerico(const QVariant &cap) { return !vuoto(cap) && !soloCifre(cap.toString()); }

struct Riga {
    QVariantMap v;
    QVariant operator[](const char *nome) const { return v.value(QString::fromLatin1(nome)); }
};

QList<Riga> righe(CorsiDB &db, const Istruzione &istruzione, const QVariantList &parametri)
{
    QList<Riga> r;
    for (QVariantMap &v : db.righe(istruzione, parametri))
        r << Riga{std::move(v)};
    return r;
}

// The checks in their order; each returns its message, "" when it passes.
class Controlli {
public:
    Controlli(CorsiDB &db, const Sessione &s, bool tutti, bool corsi, const std::function<void(int)> &avanzamento)
        : m_db(db), m_s(s), m_tutti(tutti), m_corsi(corsi), m_avanzamento(avanzamento)
    {
    }

    QStringList esegui()
    {
        passo();
        operatore();
        if (fermati())
            return m_problemi;
        passo();
        sedeLegale();
        if (fermati())
            return m_problemi;
        passo();
        sitiComponenti();
        if (fermati())
            return m_problemi;
        passo();
        sitiOccasionali();
        if (fermati())
            return m_problemi;
        passo();
        regolaTrentaPercento();
        if (fermati())
            return m_problemi;
        passo();
        oreLocali();
        if (fermati())
            return m_problemi;
        passo();
        dateAvvio();
        // A course stored before a rule changed, restored from an archive or written by an
        // older release must not reach the final form unchecked.
        if (m_corsi && !fermati()) {
            passo();
            corsiDellaDomanda();
        }
        passo();
        return m_problemi;
    }

    // Only the checks of the application's course hours: the 30% of the occasional sites and
    // the hours of the rooms.
    QStringList ore()
    {
        regolaTrentaPercento();
        oreLocali();
        return m_problemi;
    }

private:
    void passo()
    {
        ++m_passo;
        if (m_avanzamento)
            m_avanzamento(std::min(m_passo, kPassiControlli));
    }
    bool fermati() const { return !m_tutti && !m_problemi.isEmpty(); }
    // A failing check: recorded; true when the run stops here.
    bool fallisce(const QString &messaggio)
    {
        m_problemi << messaggio;
        return !m_tutti;
    }

    void corsiDellaDomanda()
    {
        const QList<ProblemaCorso> problemi = problemiCorsiDomanda(m_db, m_s).value();
        for (const ProblemaCorso &p : problemi)
            if (fallisce(QStringLiteral("Il corso ") + p.chiave.corso + QLatin1Char('/') + p.chiave.accorp
                         + QStringLiteral(" della sede ") + QString::number(p.chiave.sede)
                         + QStringLiteral(" non supera le verifiche della scheda corso:") + CRLF + p.messaggio + CRLF
                         + kCorreggere.trimmed()))
                return;
    }

    void operatore()
    {
        const QList<Riga> r = righe(m_db, sql::stampa::kControlloOperatore, m_s.chiaveOperatore());
        // Without the operator's row every value counts as missing.
        const Riga o = r.value(0);
        if (o["Corrispondenza"].isNull()
            && fallisce(QStringLiteral("Nella Scheda Operatore deve essere indicato il COMPONENTE RESPONSABILE DELLA "
                                       "CORRISPONDENZA.")
                        + kCorreggere))
            return;
        if (vuoto(o["LegNome"])
            && fallisce(QStringLiteral("Nella Scheda Operatore deve essere inserito il LEGALE RAPPRESENTANTE O "
                                       "PROCURATORE FIRMATARIO DELLA CONVENZIONE.")
                        + kCorreggere))
            return;
        const QString gg = o["LegGGNasc"].toString(), mm = o["LegMMNasc"].toString(), aaaa = o["LegAAAANasc"].toString();
        if (gg + mm + aaaa != QString() && !dataValida(gg, mm, aaaa)
            && fallisce(QStringLiteral("Nella Scheda Operatore deve essere inserita una data valida come DATA DI NASCITA "
                                       "DEL LEGALE RAPPRESENTANTE O PROCURATORE FIRMATARIO DELLA CONVENZIONE.")
                        + kCorreggere))
            return;
        const int vuoti = int(vuoto(o["ProvCCIAA"])) + int(vuoto(o["CodCCIAA"])) + int(vuoto(o["AnnoCCIAA"]));
        if (vuoti > 0 && vuoti < 3
            && fallisce(QStringLiteral("Nella Scheda Operatore il gruppo di dati CCIAA va lasciato completamente vuoto o "
                                       "compilato per intero.")
                        + kCorreggere))
            return;
        if (o["NominativoReferente"].isNull()
            && fallisce(QStringLiteral("Nella Scheda Operatore deve essere indicato il NOMINATIVO DEL REFERENTE PARI "
                                       "OPPORTUNITA'.")
                        + kCorreggere))
            return;
        if (o["CodFiscaleReferente"].isNull())
            fallisce(QStringLiteral("Nella Scheda Operatore deve essere indicato il CODICE FISCALE DEL REFERENTE PARI "
                                    "OPPORTUNITA'.")
                     + kCorreggere);
    }

    void sedeLegale()
    {
        const QList<Riga> r = righe(m_db, sql::stampa::kControlloSedeLegale, m_s.chiaveOperatore());
        const Riga l = r.value(0);
        const QVariant cap = l["Cap"];
        if ((capLunghezzaErrata(cap) || capNonNumerico(cap))
            && fallisce(QStringLiteral("Nella Scheda Sede Legale il CAP se specificato deve essere di 5 cifre.") + kCorreggere))
            return;
        if (!vuoto(cap) && vuoto(l["CodComune"])
            && fallisce(QStringLiteral("Nella Scheda Sede Legale se il CAP è specificato deve esserlo anche il COMUNE di "
                                       "ubicazione della sede.")
                        + kCorreggere))
            return;
        if (!vuoto(l["Email"])) {
            const QString m = controllaEmail(l["Email"].toString());
            if (!m.isEmpty() && fallisce(m))
                return;
        }
        if (vuoto(l["Riferimento"])
            && fallisce(QStringLiteral("Nella Scheda Sede Legale deve essere indicata la PERSONA DI RIFERIMENTO.") + kCorreggere))
            return;
        if (vuoto(l["Tel"]))
            fallisce(QStringLiteral("Nella Scheda Sede Legale deve essere indicato il NUMERO DI TELEFONO.") + kCorreggere);
    }

    // The six passes over the sites of one kind; codice names the site's number column.
    void passiSiti(const QList<Riga> &siti, const char *codice)
    {
        auto riga = [codice](const Riga &r) {
            return QStringLiteral("- ") + r["GrupOpe"].toString() + QLatin1Char(' ') + r["Operatore"].toString()
                + QStringLiteral(" - ") + r[codice].toString() + QStringLiteral(" - ") + r["Denominazione"].toString() + CRLF;
        };
        auto passaggio = [&](const QString &introduzione, const std::function<QString(const Riga &)> &offende) {
            QString elenco;
            for (const Riga &r : siti)
                elenco += offende(r);
            return !elenco.isEmpty() && fallisce(introduzione + elenco);
        };
        const QString capCinque = QStringLiteral("Nella Scheda Sede Interessata, per le sedi qui elencate, il CAP se "
                                                 "specificato deve essere di 5 cifre.")
            + kCorreggereElenco + CRLF + CRLF;
        if (passaggio(capCinque, [&](const Riga &r) { return capLunghezzaErrata(r["Cap"]) ? riga(r) : QString(); }))
            return;
        if (passaggio(capCinque, [&](const Riga &r) { return capNonNumerico(r["Cap"]) ? riga(r) : QString(); }))
            return;
        if (passaggio(QStringLiteral("Nella Scheda Sede Interessata, per le sedi qui elencate, se il CAP è specificato "
                                     "deve esserlo anche il COMUNE di ubicazione della sede.")
                          + kCorreggereElenco + CRLF + CRLF,
                      [&](const Riga &r) { return !vuoto(r["Cap"]) && vuoto(r["CodComune"]) ? riga(r) : QString(); }))
            return;
        if (passaggio(QString(), [&](const Riga &r) {
                if (vuoto(r["Email"]))
                    return QString();
                const QString m = controllaEmail(r["Email"].toString());
                return m.isEmpty()
                    ? QString()
                    : QStringLiteral("- Sede Int. ") + r["GrupOpe"].toString() + QLatin1Char(' ') + r["Operatore"].toString()
                        + QStringLiteral(" - ") + r[codice].toString() + QStringLiteral(": ") + m + CRLF;
            }))
            return;
        if (passaggio(QStringLiteral("Nella Scheda Sede Interessata, per le sedi elencate di seguito, deve essere "
                                     "indicata la PERSONA DI RIFERIMENTO.")
                          + kCorreggereElenco + CRLF + CRLF,
                      [&](const Riga &r) { return vuoto(r["Riferimento"]) ? riga(r) : QString(); }))
            return;
        passaggio(QStringLiteral("Nella Scheda Sede Interessata, per le sedi elencate di seguito, deve essere indicato "
                                 "il NUMERO DI TELEFONO.")
                      + kCorreggereElenco + CRLF + CRLF,
                  [&](const Riga &r) { return vuoto(r["Tel"]) ? riga(r) : QString(); });
    }

    QList<Riga> componenti() { return righe(m_db, sql::stampa::kControlloComponenti, m_s.chiaveDomanda()); }

    void sitiComponenti() { passiSiti(componenti(), "Componente"); }

    void sitiOccasionali() { passiSiti(righe(m_db, sql::stampa::kControlloSediOcc, m_s.chiaveDomanda()), "SedeOcc"); }

    void regolaTrentaPercento()
    {
        QString elenco;
        for (const Riga &r : componenti()) {
            const OreComponente ore = oreComponente(m_db, m_s, r["Componente"].toLongLong());
            const qlonglong usate = ore.laboratoriEsterni + ore.occasionali - ore.occasionaliDeroga;
            const qlonglong locali = r["NumLocali"].toLongLong();
            const qlonglong capacita = interoBancario(double(interoBancario(double(locali * 500 + locali * 1200))) * 30 / 100);
            if (usate > capacita)
                elenco += QStringLiteral("- ") + r["GrupOpe"].toString() + QLatin1Char(' ') + r["Operatore"].toString()
                    + QStringLiteral(" - ") + r["Componente"].toString() + QStringLiteral(" - ") + r["Denominazione"].toString()
                    + CRLF;
        }
        if (!elenco.isEmpty())
            fallisce(QStringLiteral("Le attività formative svolte in Sedi Occasionali possono raggiungere un monte ore "
                                    "complessivo pari al 30% delle ore di corso svolte nella Sede Componente collegata, "
                                    "sulle seguenti componenti è stata rilevata una situazione non corretta: ")
                     + CRLF + CRLF + elenco);
    }

    void oreLocali()
    {
        const QList<Riga> sedi = righe(m_db, sql::stampa::kControlloLocali, m_s.chiaveDomanda());
        QString elenco;
        for (const Riga &r : sedi) {
            const qlonglong componente = r["Componente"].toLongLong();
            qlonglong locali = r["Locali"].toLongLong();
            const qlonglong laboratori =
                m_db.valoreScalare(sql::stampa::kLaboratoriComponente, {m_s.gGrupOpe, m_s.numeroOperatore(), componente})
                    .toLongLong();
            if (3 * laboratori < locali)
                locali = 3 * laboratori;
            const OreComponente ore = oreComponente(m_db, m_s, componente);
            const QString coda = r["GrupOpe"].toString() + QLatin1Char(' ') + r["Operatore"].toString() + QStringLiteral(" - ")
                + r["Componente"].toString() + QStringLiteral(" - ") + r["Denominazione"].toString() + CRLF;
            if (ore.diurne > 1200 * locali)
                elenco += QStringLiteral("- [ORE DIURNE] \t\t") + coda;
            if (ore.serali > 500 * locali)
                elenco += QStringLiteral("- [ORE PRESERALI E SERALI] \t") + coda;
        }
        if (!elenco.isEmpty())
            fallisce(QStringLiteral("In ogni locale potranno essere svolti corsi per un massimo di 1.200 ore diurne ed "
                                    "un massimo di 500 ore preserali/serali. ")
                     + CRLF + QStringLiteral("Nelle seguenti sedi non è stato rispettato il vincolo:") + CRLF + CRLF + elenco);
    }

    void dateAvvio()
    {
        // A database of the previous version has no start date to check.
        if (!m_db.esisteColonna(QStringLiteral("CorsiProp"), QStringLiteral("DataAvvio")))
            return;
        QString elenco;
        for (const Istruzione *corsi : {&sql::stampa::kDateAvvioComponenti, &sql::stampa::kDateAvvioSediOcc}) {
            for (const Riga &r : righe(m_db, *corsi, m_s.chiaveDomanda()))
                if (r["DataAvvio"].toString().trimmed().isEmpty())
                    elenco += QStringLiteral("- CORSO: \t") + r["GrupOpe"].toString() + QLatin1Char(' ')
                        + r["Operatore"].toString() + QStringLiteral(" - ") + r["SedeInteressata"].toString()
                        + QStringLiteral(" - ") + r["Corso"].toString() + QStringLiteral(" - ") + r["DesQualif"].toString()
                        + CRLF;
        }
        if (!elenco.isEmpty())
            fallisce(QStringLiteral("E' necessario compilare il dato relativo alla DATA PRESUNTA AVVIO CORSO per i "
                                    "seguenti corsi:")
                     + CRLF + CRLF + elenco);
    }

    CorsiDB &m_db;
    const Sessione &m_s;
    bool m_tutti;
    bool m_corsi;
    const std::function<void(int)> &m_avanzamento;
    QStringList m_problemi;
    int m_passo = 0;
};

} // namespace

QString rigaProblemaDomanda(const QString &messaggio)
{
    static const QRegularExpression spazi(QStringLiteral("[\\r\\n\\t ]+"));
    return QStringLiteral("Domanda: ") + QString(messaggio).replace(spazi, QStringLiteral(" ")).trimmed();
}

qlonglong interoBancario(double v) { return qlonglong(std::nearbyint(v)); }

bool operatoreHaCorsi(CorsiDB &db, const Sessione &s)
{
    return db.valoreScalare(sql::stampa::kOperatoreHaCorsi, s.chiaveOperatore()).toLongLong() > 0;
}

OreComponente oreComponente(CorsiDB &db, const Sessione &s, qlonglong componente)
{
    const QVariantList chiave = {s.gGrupOpe, s.numeroOperatore(), componente, s.gProv};
    auto totale = [&](const Istruzione &ore) { return interoBancario(db.valoreScalare(ore, chiave).toDouble()); };
    OreComponente o;
    o.occasionali = totale(sql::stampa::kOreOccasionali);
    o.occasionaliDeroga = totale(sql::stampa::kOreOccasionaliDeroga);
    o.laboratoriEsterni = totale(sql::stampa::kOreLaboratoriEsterni);
    o.diurne = totale(sql::stampa::kOreDiurne);
    o.serali = totale(sql::stampa::kOreSerali);
    return o;
}

QStringList problemiDomandaStampa(CorsiDB &db, const Sessione &s, const std::function<void(int)> &avanzamento, bool conCorsi)
{
    const Lettura lettura(db);
    return Controlli(db, s, true, conCorsi, avanzamento).esegui();
}

QStringList problemiOreDomanda(CorsiDB &db, const Sessione &s)
{
    const Lettura lettura(db);
    return Controlli(db, s, true, false, {}).ore();
}

EsitoVerifica ControllaDatiDomanda(CorsiDB &db, const Sessione &s, const std::function<void(int)> &avanzamento, bool conCorsi)
{
    const Lettura lettura(db);
    const QStringList p = Controlli(db, s, false, conCorsi, avanzamento).esegui();
    if (p.isEmpty())
        return {};
    return EsitoVerifica::errore(p.first(), kTitoloStampaNonDisponibile, QString());
}

} // namespace quirdal
