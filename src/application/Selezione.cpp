#include "application/Selezione.h"

#include "application/CatalogoSelezione.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Generale.h"
#include "common/Testo.h"
#include "config/CatalogoConfig.h"
#include "config/FileIni.h"
#include "common/Contesto.h"
#include "common/Sessione.h"
#include "config/Installazione.h"
#include "config/SessioneIni.h"
#include "courses/Spese.h"
#include "db/CorsiDB.h"
#include "operator/CatalogoOperatore.h"

#include <QSqlQuery>

#include <algorithm>

namespace quirdal {

namespace {

QVariantList operatore(const Sessione &s) { return s.chiaveOperatore(); }
QVariantList operatoreProvincia(const Sessione &s) { return s.chiaveDomanda(); }

int conta(Contesto &c, const Istruzione &i, const QVariantList &p) { return c.db.valoreScalare(i, p).toInt(); }

const QString kSoloSediOccasionali = QStringLiteral(
    "ATTENZIONE: per l'Operatore e la Provincia selezionati non sono stati trovati componenti, ma solo sedi occasionali.");

} // namespace

// --- Province ------------------------------------------------------------------------------

ElencoProvince elencoProvince(Contesto &c)
{
    ElencoProvince r;
    r.grupOpe = c.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("GrOpe"));
    r.operatore = c.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Oper"));
    r.denominazione =
        c.db.valoreScalare(sql::selezione::kDenominazioneOperatore, {r.grupOpe, valoreNumerico(r.operatore).toLongLong()})
            .toString();
    QStringList testi;
    QString daSelezionare;
    const QString provIni = c.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Prov"));
    for (const char *vista : {"QryCompo", "QrySediOccUtil"}) {
        QSqlQuery q =
            c.db.seleziona(completa(sql::selezione::kProvinceSedi, {QString::fromLatin1(vista)}), operatore(c.sessione));
        while (q.next()) {
            const QString t = q.value(0).toString() + QStringLiteral(" - ") + q.value(1).toString();
            testi << t;
            if (daSelezionare.isEmpty() && !provIni.isEmpty() && q.value(2).toString() == provIni)
                daSelezionare = t;
        }
    }
    std::sort(testi.begin(), testi.end());
    testi.erase(std::unique(testi.begin(), testi.end()), testi.end());
    r.voci = QStringList{QString()} + testi;
    r.preselezione = daSelezionare.isEmpty() ? 0 : static_cast<int>(r.voci.indexOf(daSelezionare));
    return r;
}

EsitoProvincia confermaProvincia(Contesto &c, const QString &voce,
                                 const std::function<std::optional<bool>(const QString &prov)> &numeroDomanda)
{
    Sessione &s = c.sessione;
    const QString descrizione = voce.mid(5);
    QString prov;
    if (!descrizione.isEmpty()) {
        prov =
            c.db.valoreScalare(sql::selezione::kProvinciaComponenti, {s.gGrupOpe, s.numeroOperatore(), descrizione}).toString();
        if (prov.isEmpty()) {
            const QString occ =
                c.db.valoreScalare(sql::selezione::kProvinciaSediOccasionali, {s.gGrupOpe, s.numeroOperatore(), descrizione})
                    .toString();
            if (!occ.isEmpty()
                && c.dialoghi.messaggio(kSoloSediOccasionali + CRLF + QStringLiteral("Non sarà possibile gestire corsi.") + CRLF
                                            + CRLF + QStringLiteral("Continuare comunque?"),
                                        QStringLiteral("Selezione Provincia"), Icona::Domanda, Pulsanti::SiNo)
                    == Risposta::Si)
                prov = occ;
        }
    }
    if (prov.isEmpty()) {
        c.dialoghi.messaggio(QStringLiteral("Selezionare una Provincia o premere Annulla."), QStringLiteral("Verifica Dati"),
                             Icona::Critico);
        return EsitoProvincia::Restare;
    }
    s.gProv = prov;
    auto domanda = [&] { return c.db.valoreScalare(sql::config::kDomanda, operatoreProvincia(s)); };
    QVariant riga = domanda();
    if (riga.isNull() && c.db.valoreScalare(sql::config::kDomandeProvincia, operatoreProvincia(s)).toInt() == 0) {
        const std::optional<bool> ottenuto = numeroDomanda(prov);
        if (!ottenuto)
            return EsitoProvincia::FineProgramma;
        riga = *ottenuto ? domanda() : QVariant();
        if (!*ottenuto) {
            ripristinaSessione(s, c.ini, c.db); // back to the province the INI remembers
            return EsitoProvincia::Confermata;
        }
    }
    c.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("GrOpe"), s.gGrupOpe);
    c.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Oper"), s.gOperatore.trimmed());
    c.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Prov"), s.gProv);
    c.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Domanda"), riga.toString());
    ripristinaSessione(s, c.ini, c.db);
    return EsitoProvincia::Confermata;
}

// --- Summary -----------------------------------------------------------------------------

QString formatoTotale(Importo v) { return v.formato(); }

Riepilogo calcolaRiepilogo(Contesto &c)
{
    const Sessione &s = c.sessione;
    Riepilogo r;
    r.descrizioneProvincia = c.db.valoreScalare(sql::config::kDescrizioneProvincia, {s.gProv}).toString();
    r.sedi = conta(c, sql::selezione::kComponentiConCorsi, operatoreProvincia(s))
        + conta(c, sql::selezione::kSediOccasionaliConCorsi, operatoreProvincia(s));
    QSqlQuery q = c.db.seleziona(sql::selezione::kSpeseDomanda, {s.gGrupOpe, s.numeroOperatore(), s.gProv, s.gProv});
    while (q.next()) {
        ++r.corsi;
        r.totale += totalePreventivo(leggiSpese(q));
    }
    r.domanda = {s.gGrupOpe, s.numeroOperatore(), s.gDomanda, s.gProv};
    const QVariant atti = c.db.valoreScalare(sql::selezione::kAttiATIATS, r.domanda);
    r.atti = atti.isNull() ? QStringLiteral("0") : QString::number(atti.toLongLong());
    return r;
}

void salvaAttiATIATS(Contesto &c, const QVariantList &domanda, const QString &valore)
{
    const QString t = valore.trimmed();
    bool ok = true;
    const int n = t.isEmpty() ? 0 : t.toInt(&ok);
    // A count is a whole number: "3,4" or "3.4" is refused, never stored as 0.
    if (!ok || n < 0 || !std::all_of(t.cbegin(), t.cend(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; }))
        throw Errore(codici::TipoNonCorrispondente,
                     QStringLiteral("Tipo di dati non corrispondente: il numero degli atti ('") + t
                         + QStringLiteral("') deve essere un numero intero."));
    c.db.esegui(sql::selezione::kSalvaAttiATIATS, QVariantList{n} + domanda);
}

void salvaAttiATIATS(Contesto &c, const QString &valore)
{
    const Sessione &s = c.sessione;
    salvaAttiATIATS(c, {s.gGrupOpe, s.numeroOperatore(), s.gDomanda, s.gProv}, valore);
}

// --- Site ----------------------------------------------------------------------------------

namespace {
QString colonna(const QString &testo, int larghezza, int cut)
{
    return riempi(testo.left(cut) + segnoTroncato(testo, cut), larghezza, QStringLiteral("sx"));
}
} // namespace

ElencoSedi elencoSedi(Contesto &c)
{
    const Sessione &s = c.sessione;
    ElencoSedi r;
    if (s.gProssimaScheda == QLatin1String("frmCorsi"))
        r.descrizione = QStringLiteral("Selezionare la Sede Interessata per la gestione dei Corsi");
    else if (s.gProssimaScheda == QLatin1String("frmHandi"))
        r.descrizione = QStringLiteral("Selezionare la Sede Interessata per la gestione degli Interventi Handicap");
    else
        r.anomalia = QStringLiteral("ANOMALIA: valore di 'prossima scheda da caricare' sconosciuto. Contattare il servizio di "
                                    "assistenza V.T.Z. riportando questo messaggio.");
    QSqlQuery q = c.db.seleziona(sql::operatore::kVociComponentiProvincia, operatoreProvincia(s));
    while (q.next())
        r.voci << riempi(q.value(0).toString(), 5, QStringLiteral("sx")) + QStringLiteral(" - ")
                + colonna(q.value(1).toString(), 21, 20) + QStringLiteral(" - ") + q.value(2).toString() + QStringLiteral(" - ")
                + q.value(3).toString();
    q = c.db.seleziona(sql::selezione::kSediOccasionaliProvincia, operatoreProvincia(s));
    while (q.next())
        r.voci << riempi(q.value(0).toString(), 5, QStringLiteral("sx")) + QStringLiteral(" - ")
                + colonna(q.value(1).toString(), 21, 20) + QStringLiteral(" - ") + colonna(q.value(2).toString(), 21, 20)
                + QStringLiteral("   (SEDE OCCASIONALE)");
    if (r.voci.isEmpty())
        return r;
    QVariant conCorsi = c.db.valoreScalare(sql::selezione::kPrimoComponenteConCorsi, operatoreProvincia(s));
    if (conCorsi.isNull())
        conCorsi = c.db.valoreScalare(sql::selezione::kPrimaSedeOccasionaleConCorsi, operatoreProvincia(s));
    r.preselezione = 0;
    if (!conCorsi.isNull())
        for (int i = 0; i < r.voci.size(); ++i)
            if (r.voci[i].section(QStringLiteral(" - "), 0, 0).trimmed() == conCorsi.toString()) {
                r.preselezione = i;
                break;
            }
    return r;
}

bool confermaSede(Contesto &c, const QString &voce)
{
    Sessione &s = c.sessione;
    const int trattino = static_cast<int>(voce.indexOf(QStringLiteral(" - ")));
    s.impostaSede(voce.left(trattino).trimmed());
    s.gDenCompo = voce.mid(trattino + 3).trimmed();
    if (s.gProssimaScheda != QLatin1String("frmHandi"))
        return true;
    if (conta(c, sql::selezione::kCorsiConHandicap, s.chiaveSede()) > 0)
        return true;
    const QString coda = QStringLiteral("oppure i corsi inseriti non prevedono") + CRLF
        + QStringLiteral("l'integrazione di persone portatrici di handicap.");
    c.dialoghi.messaggio(s.gDomandaStampata ? QStringLiteral("Domanda già inviata alla Provincia.") + CRLF
                                 + QStringLiteral("Non sarà possibile modificare i dati delle schede handicap.") + CRLF + CRLF
                                 + QStringLiteral("Nessuna scheda handicap e nessun corso inserito per la sede selezionata,")
                                 + CRLF + coda
                                            : QStringLiteral("Impossibile gestire le schede handicap:") + CRLF
                                 + QStringLiteral("nessun corso inserito per la sede selezionata,") + CRLF + coda,
                         QStringLiteral("Schede Handicap"), Icona::Critico);
    return false;
}

// --- Main-menu entry checks -------------------------------------------------------------------

bool richiedeDomanda(Contesto &c)
{
    if (!c.sessione.gProv.isEmpty() && c.sessione.gDomanda != 0)
        return true;
    c.dialoghi.messaggio(QStringLiteral("Selezionare prima la PROVINCIA nell'ambito della quale compilare la domanda "
                                        "(Selezione Domanda)"),
                         QStringLiteral("Funzione non disponibile"), Icona::Esclamazione);
    return false;
}

namespace {
int componentiInProvincia(Contesto &c)
{
    return conta(c, sql::selezione::kComponentiInProvincia, operatoreProvincia(c.sessione));
}
int sediOccasionaliInProvincia(Contesto &c)
{
    return conta(c, sql::selezione::kSediOccasionaliInProvincia, operatoreProvincia(c.sessione));
}
} // namespace

bool controllaAccessoSedi(Contesto &c, const QString &modo)
{
    if (!richiedeDomanda(c))
        return false;
    Sessione &s = c.sessione;
    const bool corsi = modo == QLatin1String("C");
    s.gProssimaScheda = corsi ? QStringLiteral("frmCorsi") : QStringLiteral("frmHandi");
    s.gModoCompo = corsi ? QStringLiteral("C") : QStringLiteral("I");
    // Courses and handicap sheets alike need the registered office.
    if (conta(c, sql::selezione::kComponentiDiTipo, operatore(s) + QVariantList{s.gCompoSedeLeg}) == 0) {
        c.dialoghi.messaggio(QStringLiteral("Nessun Componente di tipo SEDE LEGALE nella sezione Componenti"),
                             QStringLiteral("Gestione Corsi"), Icona::Critico);
        return false;
    }
    if (componentiInProvincia(c) == 0 && sediOccasionaliInProvincia(c) > 0) {
        c.dialoghi.messaggio(
            kSoloSediOccasionali + CRLF
                + (corsi ? QStringLiteral("Impossibile gestire corsi.") : QStringLiteral("Impossibile gestire schede handicap.")),
            QStringLiteral("Funzione non disponibile"), Icona::Critico);
        return false;
    }
    return true;
}

bool controllaRiassegnazione(Contesto &c)
{
    if (!richiedeDomanda(c))
        return false;
    const Sessione &s = c.sessione;
    const QString titolo = QStringLiteral("Riassegnazione Corsi");
    if (s.gDomandaStampata) {
        c.dialoghi.messaggio(QStringLiteral("Domanda già stampata in definitivo.") + CRLF
                                 + QStringLiteral("Non è possibile modificare l'assegnazione dei corsi alle sedi interessate"),
                             titolo, Icona::Esclamazione);
        return false;
    }
    const int corsi = conta(c, sql::selezione::kCorsiDellaDomanda, {s.gGrupOpe, s.numeroOperatore(), s.gProv, s.gProv});
    if (corsi == 0) {
        c.dialoghi.messaggio(QStringLiteral("Nessun corso inserito per l'Operatore e la Provincia selezionati."), titolo,
                             Icona::Esclamazione);
        return false;
    }
    if (componentiInProvincia(c) + sediOccasionaliInProvincia(c) <= 1) {
        c.dialoghi.messaggio(QStringLiteral("C'è una sola sede per l'Operatore e la Provincia selezionati. Non è possibile "
                                            "alcuna riassegnazione."),
                             titolo, Icona::Esclamazione);
        return false;
    }
    if (c.dialoghi.messaggio(QStringLiteral("ATTENZIONE: prima di procedere assicurarsi che nessuna installazione CLIENT sia "
                                            "connessa alla base dati.")
                                 + CRLF + QStringLiteral("Continuare ?"),
                             titolo, Icona::Domanda, Pulsanti::SiNo)
        != Risposta::Si)
        return false;
    return riconnessioneEsclusiva(c.db, c.dialoghi);
}

} // namespace quirdal
