#include "courses/VerificaCorso.h"

#include "common/Generale.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "courses/CatalogoCorsi.h"
#include "courses/Elenchi.h"
#include "courses/TabelleVerifica.h"
#include "db/CorsiDB.h"

#include <QSet>
#include <QSqlQuery>
#include <functional>

namespace quirdal {

namespace {

const QString kVd = QStringLiteral("Verifica dati");
const QString kVD = QStringLiteral("Verifica Dati");

// Collects the failing rules; stops at the first unless every one is wanted.
class Regole {
public:
    explicit Regole(bool tutte) : m_tutte(tutte) { }
    // True while the rules go on.
    bool avanti() const { return m_tutte || m_esiti.isEmpty(); }
    void fallisce(const QString &messaggio, const QString &campo, const QString &titolo = kVd)
    {
        if (avanti())
            m_esiti.append(EsitoVerifica::errore(messaggio, titolo, campo));
    }
    void se(bool condizione, const QString &messaggio, const QString &campo, const QString &titolo = kVd)
    {
        if (condizione)
            fallisce(messaggio, campo, titolo);
    }
    void esito(const std::optional<EsitoVerifica> &e)
    {
        if (e && avanti())
            m_esiti.append(*e);
    }
    const QList<EsitoVerifica> &esiti() const { return m_esiti; }

private:
    bool m_tutte;
    QList<EsitoVerifica> m_esiti;
};

const QString kSez34[] = {QStringLiteral("- Disabilità"), QStringLiteral("- Giovani a rischio"), QStringLiteral("- Immigrati"),
                          QStringLiteral("- Detenuti")};

// The section 3.4 line an action requires, -1 when none.
int rigaSez34Richiesta(const QString &azione, const QString &tipologia)
{
    if (azione == QLatin1String("III.G.06.02"))
        return QStringList{"40", "41", "42"}.contains(tipologia) ? 0 : -1;
    if (azione == QLatin1String("III.G.02.03"))
        return 1;
    if (azione == QLatin1String("III.G.06.04"))
        return 2;
    if (azione == QLatin1String("III.G.02.02") || azione == QLatin1String("III.G.04.01"))
        return 3;
    return -1;
}

void regoleSpese(Regole &r, TabelleVerifica &t, const DatiCorso &d)
{
    const LineeAmmesse linee = t.linee(d.azione(), d.codTipologia);
    const QString reddito = QStringLiteral("Reddito Allievi");
    for (int anno = 0; anno < std::min(d.durataTotIter, 3) && r.avanti(); ++anno) {
        const SpeseAnno &x = d.spese[anno];
        const Massimali m = t.massimali(d.codAsse, d.codMisura, d.codAzione, d.codTipologia, x.oreA1, x.allA1);
        auto c = [anno](const char *campo) { return campoAnno(campo, anno); };
        const QString allievi = QString::number(d.numAll);
        r.se(x.a1 > m.a1,
             QStringLiteral("Il parametro 'A1' delle spese non deve superare i ") + m.a1.formatoSenzaGruppi()
                 + QStringLiteral(" euro."),
             c("txtA1"));
        r.se(x.allA1 > d.numAll,
             QStringLiteral("Il numero di allievi della spesa 'Spese Generali' non può superare") + CRLF
                 + QStringLiteral("il numero degli ALLIEVI PREVISTI (") + allievi + QLatin1Char(')'),
             c("txtNumAllA1"));
        r.se(x.oreA1 > d.durataAnnOre,
             QStringLiteral("Il numero di ore della spesa 'Spese Generali' non può superare") + CRLF
                 + QStringLiteral("la DURATA ANNUALE (in ore) prevista (") + QString::number(d.durataAnnOre) + QLatin1Char(')'),
             c("txtNumOreA1"));
        r.se(x.allA1 > m.c1,
             QStringLiteral("Il parametro 'C1' delle spese non deve superare i ") + QString::number(m.c1)
                 + QStringLiteral(" allievi."),
             c("txtNumAllA1"));
        if (linee.a2) {
            r.se(x.a2 > m.a2,
                 QStringLiteral("Il parametro 'A2' delle spese non deve superare i ") + m.a2.formatoSenzaGruppi()
                     + QStringLiteral(" euro."),
                 c("txtA2"));
            r.se(x.oreA2 > x.oreA1,
                 QStringLiteral("Il numero di ore della spesa 'Premio' non può superare") + CRLF
                     + QStringLiteral("la DURATA ANNUALE (in ore) prevista (") + QString::number(x.oreA1) + QLatin1Char(')'),
                 c("txtNumOreA2"));
            r.se(x.allA1 + x.allA2 > d.numAll,
                 QStringLiteral("La somma del numero degli allievi delle spese generali e del premio non può superare") + CRLF
                     + QStringLiteral("il numero degli ALLIEVI PREVISTI (") + allievi + QLatin1Char(')'),
                 c("txtNumAllA2"));
            r.se(x.allA2 > m.c2,
                 QStringLiteral("Il parametro 'C2' delle spese non deve superare i ") + QString::number(m.c2)
                     + QStringLiteral(" allievi."),
                 c("txtNumAllA2"));
        }
        if (linee.p16) {
            r.se(x.p16 > m.b,
                 QStringLiteral("Il parametro '") + reddito + QStringLiteral("' delle spese non deve superare i ")
                     + m.b.formatoSenzaGruppi() + QStringLiteral(" euro."),
                 c("txt16"));
            r.se(x.ore16 > x.oreA1,
                 QStringLiteral("Il numero di ore della spesa '") + reddito + QStringLiteral("' non può superare") + CRLF
                     + QStringLiteral("la DURATA ANNUALE (in ore) prevista (") + QString::number(x.oreA1) + QLatin1Char(')'),
                 c("txtNumOre16"));
            r.se(x.all16 > d.numAll,
                 QStringLiteral("Il numero di allievi della spesa '") + reddito + QStringLiteral("' non può superare") + CRLF
                     + QStringLiteral("il numero degli ALLIEVI PREVISTI (") + allievi + QLatin1Char(')'),
                 c("txtNumAll16"));
            const Importo tetto = tettoRedditoAllievi(d.numAll);
            const Totale reddito = totaleLinea(x.p16, x.ore16, x.all16); // nothing: above any cap
            r.se(d.azione() != QLatin1String("III.G.06.04") && (!reddito || *reddito > tetto),
                 QStringLiteral("Il totale della spesa 'Reddito Allievi' non deve superare i ") + tetto.formato()
                     + QStringLiteral(" euro. ") + CRLF + QStringLiteral("Corrispondenti a 400 euro procapite"),
                 c("txt16"));
        }
        if (linee.quote) {
            r.se(!x.piu.zero() && !x.meno.zero(),
                 QStringLiteral("Valorizzare la quota dell'operatore solamente in aggiunta o in sottrazione"),
                 c("txtParam17Piu"));
            r.se((!x.piu.zero() || !x.meno.zero()) && x.enteErogatore.trimmed().isEmpty(),
                 QStringLiteral("E' necessario indicare la ragione sociale dell'ente erogatore"), c("txtEnteErogatore"));
            r.se(x.piu.zero() && x.meno.zero() && !x.enteErogatore.trimmed().isEmpty(),
                 QStringLiteral("Non è possibile indicare la ragione sociale dell'ente erogatore se prima non è stata "
                                "indicata una quota dell'operatore"),
                 c("txtEnteErogatore"));
        }
        qlonglong percentuali = 0;
        for (const qlonglong p : x.percentuali)
            percentuali += p;
        r.se(percentuali != 100, QStringLiteral("Il totale del dettaglio delle spese deve dare 100% "), c("txt70P"));
    }
}

QList<EsitoVerifica> applica(TabelleVerifica &t, const Sessione &s, const DatiCorso &d, bool inserimento, bool memorizzato,
                             bool tutte)
{
    CorsiDB &db = t.db();
    Regole r(tutte);
    const QString azione = d.azione();
    const qlonglong sede = d.chiave.sede;
    const QVariantList op = s.chiaveOperatore();
    auto vuoto = [](const QString &t) { return t.trimmed().isEmpty(); };

    if (inserimento && d.accorpato) {
        const QString principale = d.corsoPrincipale.left(4);
        r.se(!vuoto(principale)
                 && db.valoreScalare(sql::corsi::kAccorpatoNumero99, op + QVariantList{sede, principale}).toInt() > 0,
             QStringLiteral("Impossibile inserire più di 99 corsi accorpati per ogni corso principale"),
             QStringLiteral("cmbAccorp"));
        r.se(vuoto(principale), QStringLiteral("Per i corsi accorpati occorre indicare il codice del corso principale"),
             QStringLiteral("cmbAccorp"));
    }
    r.se(sede >= 1000 && vuoto(d.compoResp),
         QStringLiteral("Per i corsi svolti da una sede occasionale è obbligatorio specificare il componente responsabile"),
         QStringLiteral("cmbCompoResp"));
    r.se(d.qualificaNuova ? vuoto(d.desQualif) : vuoto(d.codQualif), QStringLiteral("Inserire una qualifica"),
         d.qualificaNuova ? QStringLiteral("txtQuali") : QStringLiteral("cmbQuali"));
    r.se(vuoto(d.codAsse), QStringLiteral("Inserire una ASSE.OBIETTIVO SPECIFICO"), QStringLiteral("cmbAsse"));
    r.se(vuoto(d.codMisura), QStringLiteral("Inserire un'ATTIVITÀ"), QStringLiteral("cmbMisura"));
    r.se(vuoto(d.codAzione), QStringLiteral("Inserire un'AZIONE"), QStringLiteral("cmbAzione"));
    r.se(vuoto(d.codTipologia), QStringLiteral("Indicare la TIPOLOGIA del corso"), QStringLiteral("CmbTipologia"));
    {
        QSet<QString> visti;
        for (int i = 0; i < 6; ++i) {
            const QString v = d.indirizzoNuovo[i] ? QString() : d.codInd[i].trimmed();
            if (v.isEmpty())
                continue;
            if (visti.contains(v)) {
                r.fallisce(QStringLiteral("Non è possibile inserire più volte lo stesso indirizzo"), campoElemento("cmbIndi", i));
                break;
            }
            visti.insert(v);
        }
    }
    r.se(vuoto(d.codDest[0]), QStringLiteral("Inserire almeno un destinatario"), campoElemento("cmbDest", 0));
    int destinatari = 0;
    {
        QSet<QString> visti;
        bool doppio = false;
        for (int i = 0; i < 5; ++i) {
            const QString v = d.codDest[i].trimmed();
            if (v.isEmpty())
                continue;
            ++destinatari;
            if (visti.contains(v) && !doppio) {
                r.fallisce(QStringLiteral("Non è possibile inserire più volte lo stesso destinatario"),
                           campoElemento("cmbDest", i));
                doppio = true;
            }
            visti.insert(v);
        }
    }
    r.se(azione == QLatin1String("II.E.12.01") && destinatari > 1,
         QStringLiteral("Per l'azione ") + azione + QStringLiteral(" è possibile indicare un solo destinatario."),
         campoElemento("cmbDest", 1));
    r.se(vuoto(d.codScol), QStringLiteral("Inserire la SCOLARITA'"), QStringLiteral("cmbScol"));
    r.se(vuoto(d.codSetto), QStringLiteral("Inserire il SETTORE"), QStringLiteral("cmbSetto"));
    r.se(vuoto(d.codComp), QStringLiteral("Inserire il COMPARTO"), QStringLiteral("cmbCompa"));
    r.se(vuoto(d.codOra), QStringLiteral("Inserire l'ORARIO"), QStringLiteral("cmbOra"));
    r.se(vuoto(d.codCert), QStringLiteral("Inserire la CERTIFICAZIONE"), QStringLiteral("cmbCert"));
    r.se(d.numAll < 1, QStringLiteral("Inserire gli ALLIEVI PREVISTI"), QStringLiteral("txtNumAll"));
    r.se(d.durataAnnOre == 0, QStringLiteral("La DURATA ANNUALE (in ore) deve essere diversa da 0"),
         QStringLiteral("txtDurataAnnOre"));
    if (r.avanti()) {
        // Without caps rows the action sets no limit of annual hours.
        const std::optional<qlonglong> limite = t.oreMassime(azione, d.codTipologia);
        r.se(limite && d.durataAnnOre > *limite,
             QStringLiteral("La DURATA ANNUALE (in ore) non deve superare ") + QString::number(limite.value_or(0)),
             QStringLiteral("txtDurataAnnOre"));
    }
    r.se(!controllaData(d.ggAvvio + QLatin1Char('/') + d.mmAvvio + QLatin1Char('/') + d.aaaaAvvio),
         QStringLiteral("La DATA AVVIO PRESUNTA deve essere una data valida"), QStringLiteral("txtGGDataAvvio"));
    r.se(d.durataTotIter == 0, QStringLiteral("La DURATA ANNUALE (in anni) deve essere diversa da 0"),
         QStringLiteral("cmbDurata"));
    if (d.durataTotIter == 1)
        r.se(d.totOreIter != d.durataAnnOre,
             QStringLiteral("Per corsi annuali il TOTALE ORE dell'iter ") + CRLF
                 + QStringLiteral("deve essere uguale alla durata del corso"),
             QStringLiteral("txtTotIter"));
    if (d.durataTotIter > 1)
        r.se(d.totOreIter <= d.durataAnnOre,
             QStringLiteral("Per corsi pluriennali il TOTALE ORE dell'iter ") + CRLF
                 + QStringLiteral("deve essere maggiore della durata annuale del corso"),
             QStringLiteral("txtTotIter"));
    r.se(d.statoIter == 0 || d.statoIter > d.durataTotIter,
         QStringLiteral("Lo STATO ATTUALE deve essere diverso da zero ") + CRLF + QStringLiteral("e minore o uguale alla durata"),
         QStringLiteral("txtStato"));
    const QString situazione = situazioneIter(d.durataTotIter, d.statoIter);
    if (r.avanti())
        r.esito(t.oreTotali(azione, d.codTipologia, situazione, d.durataTotIter, d.totOreIter));
    r.se(d.oreStage > d.totOreIter, QStringLiteral("Le ORE STAGE non possono superare il TOTALE ORE Iter."),
         QStringLiteral("txtOreStage"));
    if (r.avanti())
        r.esito(t.oreStage(azione, situazione, d.totOreIter, d.oreStage));
    const bool atsRichiesta = azione == QLatin1String("IV.I.13.01") || azione == QLatin1String("IV.I.14.01")
        || (azione == QLatin1String("IV.L.17.01") && s.gTipoOper != QLatin1String("CP"));
    r.se(atsRichiesta && !d.ats,
         QStringLiteral("Per l'azione selezionata ") + azione + QStringLiteral(" è obbligatoria la costituzione di un' ATS."),
         QStringLiteral("ChkATS"));
    if (r.avanti()) {
        // On every save, the first as well: values no total can be computed from are never
        // checked further nor written.
        const LineeAmmesse linee = t.linee(azione, d.codTipologia);
        for (int anno = 0; anno < std::min(d.durataTotIter, 3); ++anno)
            if (const auto e = importoEccessivo(soloLineeAmmesse(d.spese[anno], linee), anno))
                r.fallisce(e->messaggio, campoAnno(e->campo, anno));
    }
    if (memorizzato) {
        if (r.avanti())
            regoleSpese(r, t, d);
        qlonglong ore = 0;
        for (int anno = 0; anno < std::min(d.durataTotIter, 3); ++anno)
            ore += d.spese[anno].oreA1;
        r.se(d.durataTotIter > 0 && ore != d.totOreIter,
             QStringLiteral("La somma delle ore distribuite sulle annualità deve essere uguale alla durata totale dell'iter "
                            "espressa in ore (")
                 + QString::number(d.totOreIter) + QLatin1Char(')'),
             campoAnno("txtNumOreA1", 0));
    }
    if (r.avanti()) {
        const bool obbligo = t.obbligoIstituto(azione);
        r.se(obbligo && vuoto(d.codIsti) && vuoto(d.istitutoLibero),
             QStringLiteral("Per l'azione specificata occorre indicare l'istituto scolastico di riferimento"),
             QStringLiteral("cmbCodIsti"));
    }
    if (!d.spinNonPresente) {
        if (vuoto(d.spinAmbito) && vuoto(d.spinSettore) && vuoto(d.spinFigura)) {
            r.fallisce(QStringLiteral("Indicare la Corrispondenza a fabbisogni formativi (secondo ricerca SPIN)"),
                       QStringLiteral("cmbAmbitoTerr"));
        } else {
            r.se(vuoto(d.spinAmbito), QStringLiteral("Indicare l'ambito territoriale di riferimento della ricerca SPIN"),
                 QStringLiteral("cmbAmbitoTerr"));
            r.se(vuoto(d.spinSettore), QStringLiteral("Indicare il settore produttivo di riferimento della ricerca SPIN"),
                 QStringLiteral("cmbSettProd"));
            r.se(vuoto(d.spinFigura), QStringLiteral("Indicare la figura professionale di riferimento della ricerca SPIN"),
                 QStringLiteral("cmbFigProf"));
        }
    }
    r.se(d.conModulare && vuoto(d.corsoModulare),
         QStringLiteral("Se è prevista la connessione con percorsi modulari") + CRLF
             + QStringLiteral("occorre indicare il codice 2003/2004 del corso"),
         QStringLiteral("cmbCorsoMod"));
    if (d.accorpato && r.avanti()) {
        const QString principale = inserimento ? d.corsoPrincipale.left(4) : d.chiave.corso;
        if (const std::optional<qlonglong> oreP = t.orePrincipale(op, sede, principale); !oreP) {
            r.fallisce(QStringLiteral("Non trovo il corso principale del presente accorpato."), QStringLiteral("cmbAccorp"), kVD);
        } else {
            r.se(d.durataAnnOre > *oreP,
                 QStringLiteral("Per i corsi accorpati la durata annuale in ore non deve superare quella del corso principale (")
                     + QString::number(*oreP) + QLatin1Char(')'),
                 QStringLiteral("txtDurataAnnOre"), kVD);
        }
    }
    if (!d.accorpato && !d.chiave.corso.isEmpty() && r.avanti()) {
        const std::optional<qlonglong> massimo = t.oreMassimeAccorpati(op, sede, d.chiave.corso);
        r.se(massimo && d.durataAnnOre < *massimo,
             QStringLiteral("Non è possibile indicare per il presente corso principale una durata annuale in ore inferiore a "
                            "quella dei suoi accorpati (")
                 + QString::number(massimo.value_or(0)) + QLatin1Char(')'),
             QStringLiteral("txtDurataAnnOre"), kVD);
    }
    const QString qualifica = d.qualificaNuova ? QString() : d.codQualif;
    r.se(QStringList{"430000", "430001", "430103", "430105"}.contains(qualifica) && vuoto(d.qss),
         QStringLiteral("E' necessario indicare gli Enti Gestori con il quale viene attivato il corso"),
         QStringLiteral("txtQss"));
    const int richiesta = rigaSez34Richiesta(azione, d.codTipologia);
    if (richiesta >= 0) {
        r.se(vuoto(d.sez34[richiesta]), QStringLiteral("E' obbligatorio compilare la parte relativa a :") + kSez34[richiesta],
             campoElemento("txt_34", richiesta));
        for (int i = 0; i < 4; ++i)
            if (i != richiesta && !vuoto(d.sez34[i])) {
                r.fallisce(QStringLiteral("Non è possibile compilare la parte relativa a ") + kSez34[i],
                           campoElemento("txt_34", i), kVD);
                break;
            }
    }
    return r.esiti();
}

} // namespace

QString campoAnno(const char *campo, int anno) { return QString::fromLatin1(campo) + QLatin1Char('_') + QString::number(anno); }
QString campoElemento(const char *campo, int indice) { return campoAnno(campo, indice); }

EsitoVerifica VerifCorso(CorsiDB &db, const Sessione &s, const DatiCorso &d, bool inserimento, bool memorizzato)
{
    if (s.gDomandaStampata)
        return {};
    TabelleVerifica t(db);
    const QList<EsitoVerifica> e = applica(t, s, d, inserimento, memorizzato, false);
    return e.isEmpty() ? EsitoVerifica{} : e.first();
}

QList<EsitoVerifica> problemiCorso(CorsiDB &db, const Sessione &s, const DatiCorso &d, bool inserimento, bool memorizzato)
{
    TabelleVerifica t(db);
    return applica(t, s, d, inserimento, memorizzato, true);
}

std::optional<QList<ProblemaCorso>> problemiCorsiDomanda(CorsiDB &db, const Sessione &s, const AvanzamentoVerifica &avanzamento)
{
    // Every course at once, one statement a table, then checked from memory.
    const QList<CorsoDellaDomanda> corsi = caricaCorsiDomanda(db, s);
    TabelleVerifica t(db);
    t.corsiLetti(corsi);
    QList<ProblemaCorso> r;
    for (qsizetype i = 0; i < corsi.size(); ++i) {
        if (avanzamento && !avanzamento(int(i), int(corsi.size())))
            return std::nullopt;
        const DatiCorso &d = corsi[i].dati;
        for (const EsitoVerifica &e : applica(t, s, d, false, true, true))
            r.append({d.chiave, e.messaggio, e.campo});
    }
    if (avanzamento)
        avanzamento(int(corsi.size()), int(corsi.size()));
    return r;
}

QString rigaProblema(const ProblemaCorso &p)
{
    QString m = p.messaggio;
    m.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QStringLiteral("Corso ") + p.chiave.corso + QLatin1Char('/') + p.chiave.accorp + QStringLiteral(" - sede ")
        + QString::number(p.chiave.sede) + QStringLiteral(": ") + m.simplified();
}

} // namespace quirdal
