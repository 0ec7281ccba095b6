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
#include "courses/Spese.h"
#include "courses/VerificaCorso.h"
#include "db/CorsiDB.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>

#include <cmath>

namespace quirdal {

using namespace foglio;

namespace {

const QString kNonValido = QStringLiteral("  (codice non più valido)");
const QString kStampata = QStringLiteral("Domanda già inviata alla Provincia") + CRLF
    + QStringLiteral("Non sarà possibile modificare i dati dei corsi");

QString normalizza(const QString &intestazione) { return intestazione.simplified().toLower(); }

bool soloCifre(const QString &t)
{
    return !t.isEmpty() && std::all_of(t.cbegin(), t.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// A free text as the sheet keeps it: no control characters, one line unless the field holds
// several (then with CR LF between them), "#" as "SHARP" where the sheet turns it so and upper
// case where the sheet types it so. A text the file leaves as it was stays as it was.
enum class Testo { Libero, Cancelletto, Maiuscolo };
QString testoLibero(QString t, Testo tipo, bool piuRighe, const QString &memorizzato = {})
{
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    t = senzaCaratteriDiControllo(t);
    t.replace(QLatin1Char('\n'), piuRighe ? CRLF : QStringLiteral(" "));
    if (t == memorizzato)
        return t;
    if (tipo != Testo::Libero)
        t.replace(QLatin1Char('#'), QStringLiteral("SHARP"));
    return tipo == Testo::Maiuscolo ? t.toUpper() : t;
}

// The columns of a sheet by their headers (the first row), in whatever order.
class Intestazioni {
public:
    explicit Intestazioni(const FoglioLetto &f)
    {
        const QList<CellaLetta> prima = f.righe.value(0);
        for (int c = 0; c < prima.size(); ++c) {
            const QString h = normalizza(prima[c].testo);
            if (!h.isEmpty() && !m_colonne.contains(h))
                m_colonne.insert(h, c + 1);
        }
    }
    int colonna(const QString &h) const { return m_colonne.value(normalizza(h), 0); }
    QStringList mancanti(const QStringList &richieste) const
    {
        QStringList r;
        for (const QString &h : richieste)
            if (!colonna(h))
                r << QLatin1Char('"') + h + QLatin1Char('"');
        return r;
    }

private:
    QHash<QString, int> m_colonne;
};

// The values of one row, each read as its column needs it; a value that cannot be is a problem
// of its cell, and counts as empty.
class Riga {
public:
    Riga(const FoglioLetto &f, const Intestazioni &h, int riga, bool date1904, QList<ProblemaFoglio> &problemi)
        : m_f(f), m_h(h), m_riga(riga), m_date1904(date1904), m_problemi(problemi)
    {
    }
    int numero() const { return m_riga; }
    bool vuota() const
    {
        const QList<CellaLetta> celle = m_f.righe.value(m_riga - 1);
        return std::all_of(celle.cbegin(), celle.cend(), [](const CellaLetta &c) { return c.vuota(); });
    }
    bool presente(const QString &colonna) const { return m_h.colonna(colonna) > 0; }
    void problema(const QString &colonna, const QString &messaggio)
    {
        m_problemi.append({m_f.nome, m_riga, colonna, messaggio});
        m_errate.insert(colonna);
    }
    bool errata(const QString &colonna) const { return m_errate.contains(colonna); }
    bool haProblemi() const { return !m_errate.isEmpty(); }
    const QSet<QString> &errate() const { return m_errate; }

    // The text of a cell: a number as the digits that make it.
    QString grezzo(const QString &colonna) const
    {
        const CellaLetta c = m_f.cella(m_riga, m_h.colonna(colonna));
        if (c.tipo == CellaLetta::Tipo::Numero) {
            if (std::abs(c.numero) < 1e15 && c.numero == std::floor(c.numero))
                return QString::number(static_cast<qlonglong>(c.numero));
            return QString::number(c.numero, 'g', 15);
        }
        return c.testo;
    }
    QString codice(const QString &colonna) const { return grezzo(colonna).trimmed(); }

    // A value that cannot be read is a problem of its cell, and the value the course had stays
    // for the other checks, so that one wrong cell is one line of the report.
    qlonglong intero(const QString &colonna, qlonglong corrente = 0)
    {
        const CellaLetta c = m_f.cella(m_riga, m_h.colonna(colonna));
        if (c.vuota())
            return 0;
        const QString t = grezzo(colonna).trimmed();
        bool numero = false;
        qlonglong v = 0;
        if (c.tipo == CellaLetta::Tipo::Numero) {
            numero = std::abs(c.numero - std::round(c.numero)) < 1e-9 && std::abs(c.numero) < 1e9;
            v = static_cast<qlonglong>(std::llround(c.numero));
        } else {
            // "1.200" is one thousand two hundred in Italian.
            static const QRegularExpression cifre(QStringLiteral("^\\d{1,3}(\\.\\d{3})*$|^\\d+$"));
            if (cifre.match(t).hasMatch()) {
                v = QString(t).remove(QLatin1Char('.')).toLongLong(&numero);
                numero = numero && v < 1000000000;
            }
        }
        if (!numero || v < 0) {
            problema(colonna, QStringLiteral("Il valore \"") + t + QStringLiteral("\" non è un numero intero"));
            return corrente;
        }
        return v;
    }

    Importo importo(const QString &colonna, Importo corrente = {})
    {
        const CellaLetta c = m_f.cella(m_riga, m_h.colonna(colonna));
        if (c.vuota())
            return {};
        std::optional<Importo> v;
        QString t = grezzo(colonna).trimmed();
        if (c.tipo == CellaLetta::Tipo::Numero) {
            // A spreadsheet's binary fractions read back to the cent; a third decimal is no amount.
            const QString fissato = QString::number(c.numero, 'f', 6);
            if (std::abs(c.numero) < 1e13 && fissato.endsWith(QLatin1String("0000")))
                v = Importo::daValore(c.numero);
        } else {
            t.remove(QChar(u'€')).remove(QChar(0xA0)).remove(QLatin1Char(' '));
            v = Importo::daTesto(t);
            // "1234.5": a point before at most two decimals, and no comma, is the decimal point.
            static const QRegularExpression punto(QStringLiteral("^-?\\d+\\.\\d{1,2}$"));
            if (!v && punto.match(t).hasMatch())
                v = Importo::daTesto(QString(t).replace(QLatin1Char('.'), QLatin1Char(',')));
        }
        if (!v) {
            problema(colonna, QStringLiteral("Il valore \"") + t
                                  + QStringLiteral("\" non è un importo in euro (come 1.234,50 o 1234.5)"));
            return corrente;
        }
        if (*v < Importo()) {
            problema(colonna, QStringLiteral("Un importo non può essere negativo"));
            return corrente;
        }
        return *v;
    }

    bool sino(const QString &colonna, bool corrente = false)
    {
        const CellaLetta c = m_f.cella(m_riga, m_h.colonna(colonna));
        if (c.tipo == CellaLetta::Tipo::Booleano)
            return c.booleano;
        const QString t = grezzo(colonna).trimmed().toUpper();
        if (QStringList{"S", "SI", "SÌ", "X", "1", "VERO", "TRUE", "Y", "YES"}.contains(t))
            return true;
        if (t.isEmpty() || QStringList{"N", "NO", "0", "FALSO", "FALSE"}.contains(t))
            return false;
        problema(colonna, QStringLiteral("Indicare S o N (\"") + t + QStringLiteral("\")"));
        return corrente;
    }

    // Day, month and year: from a date (a serial number), from "gg/mm/aaaa" (or with "-" or
    // "."), from an ISO date; anything else is left for the date rule to refuse.
    std::array<QString, 3> data(const QString &colonna, const std::array<QString, 3> &corrente)
    {
        const CellaLetta c = m_f.cella(m_riga, m_h.colonna(colonna));
        if (c.vuota())
            return {};
        QDate d;
        QString t = grezzo(colonna).trimmed();
        if (c.tipo == CellaLetta::Tipo::Numero) {
            d = dataDaSeriale(c.numero, m_date1904);
            if (!d.isValid()) {
                problema(colonna, QStringLiteral("Il valore \"") + t + QStringLiteral("\" non è una data"));
                return corrente;
            }
        } else {
            d = QDate::fromString(t.left(10), Qt::ISODate);
        }
        if (d.isValid())
            return {d.toString(QStringLiteral("dd")), d.toString(QStringLiteral("MM")), d.toString(QStringLiteral("yyyy"))};
        t.replace(QLatin1Char('-'), QLatin1Char('/')).replace(QLatin1Char('.'), QLatin1Char('/'));
        const QStringList p = t.split(QLatin1Char('/'));
        if (p.size() != 3)
            return {t, QString(), QString()};
        // The sheet puts a "0" before a day or month of one digit.
        auto due = [](const QString &x) { return x.size() == 1 ? QLatin1Char('0') + x : x; };
        return {due(p[0].trimmed()), due(p[1].trimmed()), p[2].trimmed()};
    }

private:
    const FoglioLetto &m_f;
    const Intestazioni &m_h;
    int m_riga;
    bool m_date1904;
    QList<ProblemaFoglio> &m_problemi;
    QSet<QString> m_errate;
};

// The course code as the sheet writes it: four digits ("12" is "0012", as a spreadsheet that
// read "0012" as a number gives it back); empty stays empty.
std::optional<QString> codiceCorso(const QString &t)
{
    if (t.isEmpty())
        return QString();
    if (!soloCifre(t) || t.size() > 4)
        return std::nullopt;
    return t.rightJustified(4, QLatin1Char('0'));
}
std::optional<QString> numeroAccorp(const QString &t)
{
    if (t.isEmpty())
        return QString();
    if (!soloCifre(t) || t.toInt() > 99)
        return std::nullopt;
    return QString::number(t.toInt());
}

struct RigaSpese {
    int riga = 0;
    qlonglong sede = 0;
    int anno = 0; // 0 to 2
};

struct CorsoLetto {
    int riga = 0;
    bool chiaveValida = true; // the course is identified: its rules can be run
    bool valido = true;       // every value read: it can be written
    bool nuovo = false;
    DatiCorso dati;
    std::optional<DatiCorso> memorizzato;
    QMap<int, int> righeSpese; // year (0 to 2) -> row of "Spese"
    QSet<QString> colonneErrate;
    bool speseErrate = false;
    bool scritto = false;
};

QList<QString> intestazioniSpese()
{
    QList<QString> r{kSede, kCorso, kAccorp, kAnno};
    for (const QString &l : {kSpeseGenerali, kPremio, kReddito})
        r << euro(l) << ore(l) << allievi(l);
    r << allievi(kContributo) << kQuotaPiu << kQuotaMeno << kEnteErogatore;
    for (int i = 0; i < 5; ++i)
        r << percentuale(i);
    return r;
}

QList<QString> intestazioniCorsi()
{
    QList<QString> r{kSede, kCorso, kAccorp, kCompoResp, kQualifica, descrizione(kQualifica)};
    for (int i = 0; i < 6; ++i)
        r << indirizzo(i) << descrizione(indirizzo(i));
    r << kAsse << kMisura << kAzione << kTipologia;
    for (int i = 0; i < 5; ++i)
        r << destinatario(i);
    r << kScolarita << kSettore << kComparto << kOrario << kCertificazione << kNumAll << kDurataAnnOre << kDurataAnni
      << kTotOreIter << kOreStage << kOreLabEsterni << kDataAvvio << kAts << kIstituto << kIstitutoLibero
      << kSpinNonPresente << kSpinAmbito << kSpinSettore << kSpinFigura << kInnovazione << kPariOpportunita
      << kCapacitaOrganizzativa << kEntiGestori;
    for (const QString &t : kSez34)
        r << t;
    return r;
}

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
                r.problema(kCorso, QStringLiteral("Indicare il codice e il numero di accorpamento di un corso del foglio "
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
                r.problema(kAnno, QStringLiteral("L'anno %1 del corso %2 è già alla riga %3")
                                      .arg(anno)
                                      .arg(chiave)
                                      .arg(viste[annoChiave]));
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
                    m_esito.problemi.append({kFoglioSpese, s.riga, kCorso,
                                             QStringLiteral("Il corso ") + it.key()
                                                 + QStringLiteral(" non è nel foglio \"Corsi\"")});
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
            r.problema(kSede, QStringLiteral("La sede %1 non è una sede della domanda (un componente o una sede "
                                             "occasionale dell'operatore nella provincia)")
                                  .arg(sede));
        if (!corso)
            r.problema(kCorso, QStringLiteral("Il codice del corso è di quattro cifre (\"") + r.codice(kCorso)
                                   + QStringLiteral("\")"));
        if (!accorp)
            r.problema(kAccorp, QStringLiteral("Il numero di accorpamento va da 0 a 99 (\"") + r.codice(kAccorp)
                                    + QStringLiteral("\")"));
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
                r.problema(kAccorp, QStringLiteral("Un corso nuovo si indica lasciando vuoto il codice; un nuovo "
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
            r.problema(kCorso, QStringLiteral("Il corso ") + chiave
                                   + QStringLiteral(" non esiste: per un corso nuovo lasciare vuoto il codice"));
            c.chiaveValida = false;
            return;
        }
        if (dove.toLongLong() != sede) {
            r.problema(kSede, QStringLiteral("Il corso %1 è della sede %2: per cambiarne la sede usare la Riassegnazione "
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
            r.problema(kCompoResp, QStringLiteral("Il componente responsabile si indica solo per i corsi di una sede "
                                                  "occasionale"));

        // Qualification and addresses: a code of the list, or with no code a new one, in words.
        auto qualificato = [&](const QString &colonna, const QString &cod, const QStringList &voci, bool &nuovo,
                               QString &codOut, QString &desOut, const QString &codPrima, bool nuovoPrima,
                               const QString &desPrima, const QString &campo) {
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
            qualificato(indirizzo(i), cod, voci, d.indirizzoNuovo[i], d.codInd[i], d.desInd[i],
                        m ? m->codInd[i] : QString(), m ? m->indirizzoNuovo[i] : false, m ? m->desInd[i] : QString(),
                        QStringLiteral("DesInd%1").arg(i + 1));
        }

        d.codAsse = codice(r, kAsse, m_elenchi.assi());
        d.codMisura = codiceDopo(r, kMisura, kAsse, [&] { return m_elenchi.misure(d.codAsse); });
        d.codAzione = codiceDopo(r, kAzione, kMisura, [&] { return m_elenchi.azioni(d.codAsse, d.codMisura); });
        const QString azione = d.azione();
        d.codTipologia = codiceDopo(r, kTipologia, kAzione, [&] { return m_elenchi.tipologie(azione); });
        const bool tipoNoto = !r.errata(kTipologia) && !r.errata(kAzione);
        for (int i = 0; i < 5; ++i)
            d.codDest[i] = tipoNoto ? codice(r, destinatario(i), m_elenchi.destinatari(azione, d.codTipologia))
                                    : r.codice(destinatario(i));
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
            d.spinFigura = codiceDopo(r, kSpinFigura, kSpinSettore,
                                      [&] { return m_elenchi.figure(d.spinAmbito, d.spinSettore); });
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
                m_esito.problemi.append({kFoglioSpese, s.riga, kAnno,
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
