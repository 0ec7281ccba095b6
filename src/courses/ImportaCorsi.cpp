// The courses read back from a spreadsheet. Every value is read and checked before anything is
// written; then, in one transaction, the courses that changed are written and every course of the
// file goes through the course sheet's rules on the application as it now stands (so that a main
// course and its merged courses changed together are judged together). One problem anywhere and
// the transaction is undone: nothing of the file reaches the database.
#include "courses/FoglioCorsi.h"

#include "common/Errori.h"
#include "common/PuntiArresto.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "courses/CatalogoFoglio.h"
#include "courses/ColonneFoglioCorsi.h"
#include "courses/Elenchi.h"
#include "courses/RigaFoglio.h"
#include "courses/Spese.h"
#include "courses/VerificaCorso.h"
#include "db/CorsiDB.h"

#include <QFileInfo>
#include <QSet>
#include <QSqlQuery>

namespace quirdal {

using namespace foglio;

namespace {

const QString kNonValido = QStringLiteral("  (codice non più valido)");
const QString kStampata = QStringLiteral("Domanda già inviata alla Provincia") + CRLF
    + QStringLiteral("Non sarà possibile modificare i dati dei corsi");

class Importazione {
public:
    Importazione(CorsiDB &db, const Sessione &s, Piattaforma &p, bool date1904, EsitoImportazione &esito)
        : m_db(db), m_s(s), m_p(p), m_date1904(date1904), m_esito(esito), m_elenchi(db, s)
    {
        QSqlQuery q = db.seleziona(sql::foglio::kSediDomanda, s.chiaveDomanda() + s.chiaveDomanda());
        while (q.next())
            m_sedi.insert(q.value(0).toLongLong());
        for (const Colonna &c : db.colonne(QStringLiteral("CorsiProp")))
            m_lunghezze.insert(c.nome.toLower(), c.dimensione);
        for (const Colonna &c : db.colonne(QStringLiteral("CorsiPropSpese")))
            m_lunghezze.insert(c.nome.toLower(), c.dimensione);
        m_sez33 = vociSezione33(db, s.gProv);
    }

    // The rows of "Spese" by course and year; their values are read with the course's, so that
    // a value that cannot be read leaves the stored one for the checks.
    void leggiSpese(const FoglioLetto &f)
    {
        m_foglioSpese = &f;
        m_intestazioniSpese.emplace(f);
        QHash<QString, int> viste;
        for (int n = 2; n <= f.righe.size(); ++n) {
            Riga r(f, *m_intestazioniSpese, n, m_date1904, m_esito.problemi);
            if (r.vuota())
                continue;
            RigaSpese s;
            s.riga = n;
            s.sede = r.intero(kSede);
            const std::optional<QString> corso = codiceCorso(r.codice(kCorso));
            const std::optional<QString> accorp = numeroAccorp(r.codice(kAccorp));
            const qlonglong anno = r.intero(kAnno);
            if (r.haProblemi())
                continue;
            if (!corso || !accorp || corso->isEmpty() || accorp->isEmpty()) {
                r.problema(kCorso,
                           QStringLiteral("Indicare il codice e il numero di accorpamento di un corso del foglio "
                                          "\"Corsi\" (le spese di un corso nuovo si completano dopo averlo "
                                          "importato)"));
                continue;
            }
            if (anno < 1 || anno > 3) {
                r.problema(kAnno, QStringLiteral("L'anno deve essere 1, 2 o 3"));
                continue;
            }
            s.anno = static_cast<int>(anno) - 1;
            const QString chiave = *corso + QLatin1Char('/') + *accorp;
            const QString annoChiave = chiave + QLatin1Char('/') + QString::number(anno);
            if (viste.contains(annoChiave)) {
                r.problema(
                    kAnno,
                    QStringLiteral("L'anno %1 del corso %2 è già alla riga %3").arg(anno).arg(chiave).arg(viste[annoChiave]));
                continue;
            }
            viste.insert(annoChiave, n);
            m_spese[chiave].append(s);
        }
    }

    // The values of a row of "Spese" over the year as it stands.
    bool leggiAnno(const RigaSpese &s, SpeseAnno &x)
    {
        Riga r(*m_foglioSpese, *m_intestazioniSpese, s.riga, m_date1904, m_esito.problemi);
        x.a1 = r.importo(euro(kSpeseGenerali), x.a1);
        x.oreA1 = r.intero(ore(kSpeseGenerali), x.oreA1);
        x.allA1 = r.intero(allievi(kSpeseGenerali), x.allA1);
        x.a2 = r.importo(euro(kPremio), x.a2);
        x.oreA2 = r.intero(ore(kPremio), x.oreA2);
        x.allA2 = r.intero(allievi(kPremio), x.allA2);
        x.p16 = r.importo(euro(kReddito), x.p16);
        x.ore16 = r.intero(ore(kReddito), x.ore16);
        x.all16 = r.intero(allievi(kReddito), x.all16);
        x.all17_3 = r.intero(allievi(kContributo), x.all17_3);
        x.piu = r.importo(kQuotaPiu, x.piu);
        x.meno = r.importo(kQuotaMeno, x.meno);
        x.enteErogatore = testoLibero(r.grezzo(kEnteErogatore), Testo::Libero, false);
        lunghezza(r, kEnteErogatore, QStringLiteral("EnteErogatore"), x.enteErogatore);
        for (int i = 0; i < 5; ++i)
            x.percentuali[i] = r.intero(percentuale(i), x.percentuali[i]);
        return !r.haProblemi();
    }

    void leggiCorsi(const FoglioLetto &f)
    {
        const Intestazioni h(f);
        QHash<QString, int> viste;
        for (int n = 2; n <= f.righe.size(); ++n) {
            Riga r(f, h, n, m_date1904, m_esito.problemi);
            if (r.vuota())
                continue;
            CorsoLetto c;
            c.riga = n;
            leggiChiave(r, c, viste);
            if (c.chiaveValida)
                leggiValori(r, c);
            c.colonneErrate = r.errate();
            c.valido = c.chiaveValida && !r.haProblemi() && !c.speseErrate;
            m_corsi.append(c);
        }
        // Cost rows of a course that the sheet of the courses does not have.
        for (auto it = m_spese.cbegin(); it != m_spese.cend(); ++it)
            if (!m_speseUsate.contains(it.key()))
                for (const RigaSpese &s : *it)
                    m_esito.problemi.append(
                        {kFoglioSpese, s.riga, kCorso,
                         QStringLiteral("Il corso ") + it.key() + QStringLiteral(" non è nel foglio \"Corsi\"")});
    }

    // Writes what changed and runs every rule, inside the transaction the caller holds.
    void applica()
    {
        for (CorsoLetto &c : m_corsi) {
            // Written even when another row has a problem, so that every course is judged on the
            // application as the whole file would leave it; the caller then undoes it all.
            if (!c.valido)
                continue;
            if (c.memorizzato && c.dati == *c.memorizzato) {
                ++m_esito.invariati;
                continue;
            }
            const Sessione s = sessione(c.dati.chiave.sede);
            if (c.nuovo && c.dati.accorpato) {
                // The merged course's number, as the insert would take it: none without its
                // main course, none beyond 99.
                const std::optional<ChiaveCorso> k = ProgrCorso(m_db, s, true, c.dati.corsoPrincipale);
                if (!k || k->accorp.toInt() > 99)
                    continue; // its rules say why
            }
            // A total too large to compute is never written; its rule says so below.
            bool eccessivo = false;
            for (int y = 0; y < std::min(c.dati.durataTotIter, 3); ++y)
                eccessivo = eccessivo || importoEccessivo(c.dati.spese[y], y).has_value();
            if (eccessivo)
                continue;
            c.dati.chiave = scriviCorso(m_db, s, m_p, c.dati);
            c.scritto = true;
            ++(c.nuovo ? m_esito.nuovi : m_esito.aggiornati);
            puntoDiArresto("importa-corsi");
        }
        for (const CorsoLetto &c : m_corsi)
            if (c.chiaveValida)
                verifica(c);
    }

private:
    Sessione sessione(qlonglong sede) const
    {
        Sessione s = m_s;
        s.impostaSede(QString::number(sede));
        return s;
    }

    void lunghezza(Riga &r, const QString &colonna, const QString &campo, const QString &valore)
    {
        const int massimo = m_lunghezze.value(campo.toLower(), 0);
        if (massimo > 0 && valore.size() > massimo)
            r.problema(colonna, QStringLiteral("Il testo supera i %1 caratteri ammessi").arg(massimo));
    }

    void leggiChiave(Riga &r, CorsoLetto &c, QHash<QString, int> &viste)
    {
        const qlonglong sede = r.intero(kSede);
        const std::optional<QString> corso = codiceCorso(r.codice(kCorso));
        const std::optional<QString> accorp = numeroAccorp(r.codice(kAccorp));
        if (!r.errata(kSede) && !m_sedi.contains(sede))
            r.problema(kSede,
                       QStringLiteral("La sede %1 non è una sede della domanda (un componente o una sede "
                                      "occasionale dell'operatore nella provincia)")
                           .arg(sede));
        if (!corso)
            r.problema(kCorso,
                       QStringLiteral("Il codice del corso è di quattro cifre (\"") + r.codice(kCorso) + QStringLiteral("\")"));
        if (!accorp)
            r.problema(kAccorp,
                       QStringLiteral("Il numero di accorpamento va da 0 a 99 (\"") + r.codice(kAccorp) + QStringLiteral("\")"));
        // Its costs belong to it, whatever else is wrong with the row.
        if (corso && accorp && !corso->isEmpty() && !accorp->isEmpty())
            m_speseUsate.insert(*corso + QLatin1Char('/') + *accorp);
        if (r.haProblemi()) {
            c.chiaveValida = false;
            return;
        }
        DatiCorso &d = c.dati;
        if (corso->isEmpty()) {
            if (!accorp->isEmpty() && *accorp != QLatin1String("0")) {
                r.problema(kAccorp,
                           QStringLiteral("Un corso nuovo si indica lasciando vuoto il codice; un nuovo "
                                          "accorpato, con il codice del corso principale e Accorp vuoto"));
                c.chiaveValida = false;
                return;
            }
            c.nuovo = true;
            d.chiave = {sede, {}, {}};
            return;
        }
        if (accorp->isEmpty()) {
            c.nuovo = true;
            d.chiave = {sede, {}, {}};
            d.accorpato = true;
            d.corsoPrincipale = *corso;
            return;
        }
        const QString chiave = *corso + QLatin1Char('/') + *accorp;
        if (viste.contains(chiave)) {
            r.problema(kCorso, QStringLiteral("Il corso %1 è già alla riga %2").arg(chiave).arg(viste[chiave]));
            c.chiaveValida = false;
            return;
        }
        viste.insert(chiave, r.numero());
        const QVariant dove = m_db.valoreScalare(sql::foglio::kSedeCorso, m_s.chiaveOperatore() + QVariantList{*corso, *accorp});
        if (dove.isNull()) {
            r.problema(kCorso,
                       QStringLiteral("Il corso ") + chiave
                           + QStringLiteral(" non esiste: per un corso nuovo lasciare vuoto il codice"));
            c.chiaveValida = false;
            return;
        }
        if (dove.toLongLong() != sede) {
            r.problema(kSede,
                       QStringLiteral("Il corso %1 è della sede %2: per cambiarne la sede usare la Riassegnazione "
                                      "Corsi")
                           .arg(chiave)
                           .arg(dove.toLongLong()));
            c.chiaveValida = false;
            return;
        }
        c.memorizzato = caricaCorso(m_db, sessione(sede), {sede, *corso, *accorp});
        if (!c.memorizzato) {
            c.chiaveValida = false;
            return;
        }
        d = *c.memorizzato;
        for (const RigaSpese &s : m_spese.value(chiave)) {
            if (s.sede != sede)
                m_esito.problemi.append({kFoglioSpese, s.riga, kSede,
                                         QStringLiteral("La sede non è quella del corso nel foglio \"Corsi\" (%1)").arg(sede)});
            c.righeSpese.insert(s.anno, s.riga);
        }
    }

    // A code of a list: the list's own, or a problem naming the code as the sheet marks it.
    QString codice(Riga &r, const QString &colonna, const QStringList &voci)
    {
        const QString v = r.codice(colonna);
        if (v.isEmpty())
            return {};
        if (const std::optional<QString> c = codiceInElenco(v, voci))
            return *c;
        r.problema(colonna, v + kNonValido);
        return v;
    }
    // A code whose list depends on another: looked up only when that one is right.
    QString codiceDopo(Riga &r, const QString &colonna, const QString &prima, const std::function<QStringList()> &voci)
    {
        if (r.errata(prima))
            return r.codice(colonna);
        return codice(r, colonna, voci());
    }

    void leggiValori(Riga &r, CorsoLetto &c)
    {
        DatiCorso &d = c.dati;
        const std::optional<DatiCorso> &m = c.memorizzato;
        const qlonglong sede = d.chiave.sede;
        d.compoResp = codice(r, kCompoResp, m_elenchi.componenti());
        if (sede < 1000 && !d.compoResp.isEmpty() && !r.errata(kCompoResp))
            r.problema(kCompoResp,
                       QStringLiteral("Il componente responsabile si indica solo per i corsi di una sede "
                                      "occasionale"));

        // Qualification and addresses: a code of the list, or with no code a new one, in words.
        auto qualificato = [&](const QString &colonna, const QString &cod, const QStringList &voci, bool &nuovo, QString &codOut,
                               QString &desOut, const QString &codPrima, bool nuovoPrima, const QString &desPrima,
                               const QString &campo) {
            const QString testo = testoLibero(r.grezzo(descrizione(colonna)), Testo::Cancelletto, false, desPrima);
            if (cod.isEmpty()) {
                nuovo = !testo.trimmed().isEmpty();
                codOut.clear();
                desOut = testo;
                lunghezza(r, descrizione(colonna), campo, desOut);
                return;
            }
            nuovo = false;
            const QString c2 = codice(r, colonna, voci);
            codOut = c2;
            // The description of an unchanged code stays as stored; a new code takes the list's.
            desOut = (m && c2 == codPrima && !nuovoPrima) ? desPrima : descrizioneVoce(voci, c2);
        };
        const QString codQ = r.codice(kQualifica);
        qualificato(kQualifica, codQ, m_elenchi.qualifiche(), d.qualificaNuova, d.codQualif, d.desQualif,
                    m ? m->codQualif : QString(), m ? m->qualificaNuova : false, m ? m->desQualif : QString(),
                    QStringLiteral("DesQualif"));
        for (int i = 0; i < 6; ++i) {
            const QStringList voci = d.qualificaNuova || r.errata(kQualifica) ? QStringList() : m_elenchi.indirizzi(d.codQualif);
            const QString cod = r.codice(indirizzo(i));
            if (!cod.isEmpty() && (d.qualificaNuova || r.errata(kQualifica))) {
                if (!r.errata(kQualifica))
                    r.problema(indirizzo(i), cod + kNonValido);
                d.codInd[i] = cod;
                continue;
            }
            qualificato(indirizzo(i), cod, voci, d.indirizzoNuovo[i], d.codInd[i], d.desInd[i], m ? m->codInd[i] : QString(),
                        m ? m->indirizzoNuovo[i] : false, m ? m->desInd[i] : QString(), QStringLiteral("DesInd%1").arg(i + 1));
        }

        d.codAsse = codice(r, kAsse, m_elenchi.assi());
        d.codMisura = codiceDopo(r, kMisura, kAsse, [&] { return m_elenchi.misure(d.codAsse); });
        d.codAzione = codiceDopo(r, kAzione, kMisura, [&] { return m_elenchi.azioni(d.codAsse, d.codMisura); });
        const QString azione = d.azione();
        d.codTipologia = codiceDopo(r, kTipologia, kAzione, [&] { return m_elenchi.tipologie(azione); });
        const bool tipoNoto = !r.errata(kTipologia) && !r.errata(kAzione);
        for (int i = 0; i < 5; ++i)
            d.codDest[i] =
                tipoNoto ? codice(r, destinatario(i), m_elenchi.destinatari(azione, d.codTipologia)) : r.codice(destinatario(i));
        d.codScol = tipoNoto ? codice(r, kScolarita, m_elenchi.scolarita(azione, d.codTipologia)) : r.codice(kScolarita);
        d.codSetto = codice(r, kSettore, m_elenchi.settori());
        d.codComp = codiceDopo(r, kComparto, kSettore, [&] { return m_elenchi.comparti(d.codSetto); });
        d.codOra = codice(r, kOrario, m_elenchi.orari());
        d.codCert = codice(r, kCertificazione, m_elenchi.certificazioni());
        d.numAll = r.intero(kNumAll, d.numAll);
        d.durataAnnOre = r.intero(kDurataAnnOre, d.durataAnnOre);
        const qlonglong durata = r.intero(kDurataAnni, d.durataTotIter);
        if (durata > 0 && tipoNoto && !codiceInElenco(QString::number(durata), m_elenchi.durate(azione, d.codTipologia)))
            r.problema(kDurataAnni, QString::number(durata) + kNonValido);
        d.durataTotIter = static_cast<int>(std::min<qlonglong>(durata, 99));
        d.totOreIter = r.intero(kTotOreIter, d.totOreIter);
        d.oreStage = r.intero(kOreStage, d.oreStage);
        d.oreLabEsterni = r.intero(kOreLabEsterni, d.oreLabEsterni);
        const std::array<QString, 3> data = r.data(kDataAvvio, {d.ggAvvio, d.mmAvvio, d.aaaaAvvio});
        d.ggAvvio = data[0];
        d.mmAvvio = data[1];
        d.aaaaAvvio = data[2];
        d.ats = r.sino(kAts, d.ats);
        d.codIsti = codice(r, kIstituto, m_elenchi.istituti());
        d.istitutoLibero = testoLibero(r.grezzo(kIstitutoLibero), Testo::Cancelletto, false, d.istitutoLibero);
        lunghezza(r, kIstitutoLibero, QStringLiteral("IstitutoLibero"), d.istitutoLibero);
        d.spinNonPresente = r.sino(kSpinNonPresente, d.spinNonPresente);
        if (d.spinNonPresente) {
            d.spinAmbito = d.spinSettore = d.spinFigura = QString();
        } else {
            d.spinAmbito = codice(r, kSpinAmbito, m_elenchi.ambiti());
            d.spinSettore = codiceDopo(r, kSpinSettore, kSpinAmbito, [&] { return m_elenchi.settoriProduttivi(d.spinAmbito); });
            d.spinFigura =
                codiceDopo(r, kSpinFigura, kSpinSettore, [&] { return m_elenchi.figure(d.spinAmbito, d.spinSettore); });
        }
        d.im = r.sino(kInnovazione, d.im == QLatin1String("S")) ? QStringLiteral("S") : QStringLiteral("N");
        d.po1 = r.sino(kPariOpportunita, d.po1);
        d.co1 = r.sino(kCapacitaOrganizzativa, d.co1);
        d.qss = testoLibero(r.grezzo(kEntiGestori), Testo::Libero, false);
        lunghezza(r, kEntiGestori, QStringLiteral("QSS"), d.qss);
        for (const VoceSezione33 &v : m_sez33) {
            const QString colonna = kPrefisso33 + v.testo.trimmed();
            if (v.tipo != VoceSezione33::Casella || !r.presente(colonna))
                continue;
            const bool spuntata = r.sino(colonna, d.valoriChk.value(v.id, false));
            // An answer never given stays so while it is no.
            if (spuntata || d.valoriChk.contains(v.id))
                d.valoriChk.insert(v.id, spuntata);
        }
        for (int i = 0; i < 4; ++i) {
            d.sez34[i] = testoLibero(r.grezzo(kSez34[i]), Testo::Maiuscolo, true, d.sez34[i]);
            lunghezza(r, kSez34[i], QStringLiteral("Sez34_%1").arg(i + 1), d.sez34[i]);
        }
        leggiSpeseCorso(r, c);
    }

    void leggiSpeseCorso(Riga &r, CorsoLetto &c)
    {
        DatiCorso &d = c.dati;
        const std::optional<DatiCorso> &m = c.memorizzato;
        const int durata = std::min(d.durataTotIter, 3);
        const QString chiave = m ? d.chiave.corso + QLatin1Char('/') + d.chiave.accorp : QString();
        const QList<RigaSpese> righe = m ? m_spese.value(chiave) : QList<RigaSpese>();
        if (righe.isEmpty()) {
            // Costs not in the file: those stored stay, the years the course did not have
            // (or all of a new one) get the defaults of the caps.
            const int conservati = m ? std::min(m->durataTotIter, 3) : 0;
            if (durata > conservati && !r.errata(kDurataAnni)) {
                const SpeseIniziali iniziali =
                    IniSpese(m_db, d.azione(), d.codTipologia, durata, d.durataAnnOre, d.numAll, conservati);
                for (int y = conservati; y < durata; ++y)
                    if (iniziali.anni[y])
                        d.spese[y] = *iniziali.anni[y];
            }
            return;
        }
        for (const RigaSpese &s : righe) {
            if (s.anno >= durata && !r.errata(kDurataAnni)) {
                m_esito.problemi.append(
                    {kFoglioSpese, s.riga, kAnno,
                     QStringLiteral("L'anno %1 supera la durata del corso (%2)").arg(s.anno + 1).arg(durata)});
                continue;
            }
            const bool annoMemorizzato = m && s.anno < std::min(m->durataTotIter, 3);
            SpeseAnno x = annoMemorizzato ? m->spese[s.anno] : SpeseAnno{};
            // Its row of "Spese" says what is wrong there: the course is not written.
            if (!leggiAnno(s, x))
                c.speseErrate = true;
            // Line 17.3 follows the annual hours, as the sheet computes it.
            if (!annoMemorizzato || d.durataAnnOre != m->durataAnnOre)
                x.p17_3 = CalcolaParam17_3(d.durataAnnOre);
            // The breakdown follows what changed.
            if (!annoMemorizzato || !(x == m->spese[s.anno]))
                ArrotondaSpese(x);
            d.spese[s.anno] = x;
        }
        if (!r.errata(kDurataAnni))
            for (int y = 0; y < durata; ++y)
                if (!c.righeSpese.contains(y))
                    r.problema(kDurataAnni, QStringLiteral("Manca la riga dell'anno %1 nel foglio \"Spese\"").arg(y + 1));
    }

    void verifica(const CorsoLetto &c)
    {
        const Sessione s = sessione(c.dati.chiave.sede);
        const bool inserimento = c.nuovo && !c.scritto;
        const bool memorizzato = !c.nuovo || !c.righeSpese.isEmpty();
        for (const EsitoVerifica &e : problemiCorso(m_db, s, c.dati, inserimento, memorizzato)) {
            const ColonnaCampo cc = colonnaDelCampo(e.campo);
            ProblemaFoglio p{kFoglioCorsi, c.riga, cc.colonna, e.messaggio};
            if (cc.anno >= 0) {
                if (c.righeSpese.contains(cc.anno))
                    p = {kFoglioSpese, c.righeSpese.value(cc.anno), cc.colonna, e.messaggio};
                else
                    p.colonna = cc.colonna + QStringLiteral(" (anno %1)").arg(cc.anno + 1);
            }
            // A value that could not be read has said so already.
            if (p.foglio == kFoglioCorsi && c.colonneErrate.contains(p.colonna))
                continue;
            m_esito.problemi.append(p);
        }
    }

    CorsiDB &m_db;
    const Sessione &m_s;
    Piattaforma &m_p;
    bool m_date1904;
    EsitoImportazione &m_esito;
    ElenchiCorso m_elenchi;
    QSet<qlonglong> m_sedi;
    QHash<QString, int> m_lunghezze;
    QList<VoceSezione33> m_sez33;
    const FoglioLetto *m_foglioSpese = nullptr;
    std::optional<Intestazioni> m_intestazioniSpese;
    QHash<QString, QList<RigaSpese>> m_spese;
    QSet<QString> m_speseUsate;
    QList<CorsoLetto> m_corsi;
};

// The file's sheets: a workbook's "Corsi" and "Spese", or a CSV file with its "-Spese.csv".
CartellaLetta leggiFile(const QString &file)
{
    const QString estensione = QFileInfo(file).suffix().toLower();
    if (estensione == QLatin1String("xlsx"))
        return leggiXlsx(file, {kFoglioCorsi, kFoglioSpese});
    if (estensione != QLatin1String("csv"))
        return {{}, false, QStringLiteral("Il file deve avere l'estensione .xlsx o .csv.")};
    CartellaLetta c = leggiCsv(file, kFoglioCorsi);
    const QString spese = fileCsvDelFoglio(file, kFoglioSpese);
    if (c.letta() && QFileInfo::exists(spese)) {
        const CartellaLetta s = leggiCsv(spese, kFoglioSpese);
        if (!s.letta())
            return {{}, false, QFileInfo(spese).fileName() + QStringLiteral(": ") + s.errore};
        c.fogli << s.fogli;
    }
    return c;
}

} // namespace

EsitoImportazione importaCorsi(CorsiDB &db, const Sessione &s, Piattaforma &p, const QString &file,
                               const OpzioniImportazione &opzioni)
{
    EsitoImportazione e;
    if (s.gDomandaStampata) {
        e.stato = EsitoImportazione::Stato::Rifiutata;
        e.messaggio = kStampata;
        return e;
    }
    e.stato = EsitoImportazione::Stato::Illeggibile;
    const CartellaLetta c = leggiFile(file);
    if (!c.letta()) {
        e.messaggio = c.errore;
        return e;
    }
    const FoglioLetto *corsi = c.foglio(kFoglioCorsi);
    const FoglioLetto *spese = c.foglio(kFoglioSpese);
    if (!corsi) {
        e.messaggio = QStringLiteral("Il file non ha il foglio \"Corsi\".");
        return e;
    }
    for (const auto &[f, richieste] : {std::pair{corsi, intestazioniCorsi()}, std::pair{spese, intestazioniSpese()}}) {
        if (!f)
            continue;
        const QStringList mancanti = Intestazioni(*f).mancanti(richieste);
        if (!mancanti.isEmpty()) {
            e.messaggio = QStringLiteral("Nel foglio \"%1\" mancano le colonne %2: la prima riga deve avere le intestazioni "
                                         "dell'esportazione.")
                              .arg(f->nome, mancanti.join(QStringLiteral(", ")));
            return e;
        }
    }

    Transazione t(db);
    Importazione i(db, s, p, c.date1904, e);
    if (spese)
        i.leggiSpese(*spese);
    i.leggiCorsi(*corsi);
    i.applica();
    std::stable_sort(e.problemi.begin(), e.problemi.end(), [](const ProblemaFoglio &a, const ProblemaFoglio &b) {
        const bool ac = a.foglio == kFoglioCorsi, bc = b.foglio == kFoglioCorsi;
        return ac != bc ? ac : a.riga < b.riga;
    });
    if (!e.problemi.isEmpty()) {
        e.nuovi = e.aggiornati = e.invariati = 0;
        e.stato = EsitoImportazione::Stato::Problemi;
        return e; // the transaction is undone
    }
    if (opzioni.noteDomanda)
        e.note = opzioni.noteDomanda();
    if (opzioni.prova) {
        e.stato = EsitoImportazione::Stato::Verificata;
        return e;
    }
    t.conferma();
    e.stato = EsitoImportazione::Stato::Applicata;
    return e;
}

} // namespace quirdal
