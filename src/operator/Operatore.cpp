#include "operator/Operatore.h"

#include "common/Contesto.h"
#include "common/Errori.h"
#include "common/Generale.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "db/Consultazioni.h"
#include "db/CorsiDB.h"
#include "operator/CatalogoOperatore.h"

#include <QDate>
#include <QSqlQuery>

#include <algorithm>

namespace quirdal {

namespace {

const QString kVerificaDati = QStringLiteral("Verifica dati");

// The entry of a list whose leading code, cut to n characters and trimmed, is the value.
QString voceDi(const QStringList &voci, const QString &valore, int n)
{
    if (valore.isEmpty())
        return {};
    for (const QString &v : voci)
        if (!v.isEmpty() && v.left(n).trimmed() == valore)
            return v;
    return {};
}

bool soloCifre(const QString &t)
{
    for (const QChar c : t)
        if (c.unicode() < '0' || c.unicode() > '9')
            return false;
    return !t.isEmpty();
}

// A day, month and year as typed: a calendar date (four-digit year), a date only when
// day and month are swapped (out of range), or not a date.
enum class Data { Valida, FuoriIntervallo, NonValida };
Data controllaTreCampi(const QString &gg, const QString &mm, const QString &aaaa)
{
    if (!soloCifre(gg) || !soloCifre(mm) || aaaa.size() != 4 || !soloCifre(aaaa))
        return Data::NonValida;
    const int g = gg.toInt(), m = mm.toInt(), a = aaaa.toInt();
    if (QDate(a, m, g).isValid())
        return Data::Valida;
    return QDate(a, g, m).isValid() ? Data::FuoriIntervallo : Data::NonValida;
}

bool tuttiOVuotiOPieni(std::initializer_list<QString> campi)
{
    bool pieno = false, vuoto = false;
    for (const QString &c : campi)
        (c.trimmed().isEmpty() ? vuoto : pieno) = true;
    return !(pieno && vuoto);
}

// The columns as the write stores them, in the order of sql::operatore::kScriviOperatore.
QList<std::pair<QString, QVariant>> valori(const DatiOperatore &d)
{
    const QString corrispondenza = d.voceCorrispondenza.left(5).trimmed();
    const QString attEcono = d.voceAttEcono.left(3).trimmed();
    return {
        {QStringLiteral("Denominazione"), d.denominazione},
        {QStringLiteral("TipoOper"), d.voceTipoOper.left(3).trimmed()},
        {QStringLiteral("Corrispondenza"), corrispondenza.isEmpty() ? QVariant() : QVariant(corrispondenza.toLongLong())},
        {QStringLiteral("LegNome"), d.legNome},
        {QStringLiteral("LegComNasc"), d.legComNasc},
        {QStringLiteral("LegProvNasc"), d.legProvNasc},
        {QStringLiteral("LegGGNasc"), d.legGG},
        {QStringLiteral("LegMMNasc"), d.legMM},
        {QStringLiteral("LegAAAANasc"), d.legAAAA},
        {QStringLiteral("ContABI"), d.contABI},
        {QStringLiteral("ContCAB"), d.contCAB},
        {QStringLiteral("ContCIN"), d.contCIN},
        {QStringLiteral("ContIBAN"), d.contIBAN},
        {QStringLiteral("ContDesBanca"), d.desBanca},
        {QStringLiteral("ContAge"), d.contAge},
        {QStringLiteral("ContIndirAge"), d.indirAge},
        {QStringLiteral("ContNumCC"), d.numCC},
        {QStringLiteral("ContIntCC"), d.intCC},
        {QStringLiteral("ProvCCIAA"), d.provCC},
        {QStringLiteral("CodCCIAA"), d.codCC},
        {QStringLiteral("AnnoCCIAA"), d.annCC},
        {QStringLiteral("AttEcono"), attEcono.isEmpty() ? 0LL : attEcono.toLongLong()},
        {QStringLiteral("NominativoReferente"), d.nominativoReferente},
        {QStringLiteral("CodFiscaleReferente"), d.codFiscaleReferente},
        {QStringLiteral("DomPrece"), d.domPrece},
        {QStringLiteral("GGPrece"), d.ggPrece},
        {QStringLiteral("MMPrece"), d.mmPrece},
        {QStringLiteral("AAAAPrece"), d.aaPrece},
        {QStringLiteral("DESPROV"), d.voceProvPrece},
        {QStringLiteral("Direttiva"), d.direttiva},
        {QStringLiteral("AnnoDirettiva"), d.annoDirettiva},
    };
}

// The values as their columns hold them: a text longer than its column is refused (3163),
// never stored whole.
QVariantList perLeColonne(CorsiDB &db, const QList<std::pair<QString, QVariant>> &valori)
{
    const QList<Colonna> colonne = db.colonne(QStringLiteral("CorsiOper"));
    QVariantList r;
    for (const auto &[nome, valore] : valori) {
        const auto c = std::find_if(colonne.cbegin(), colonne.cend(),
                                    [&](const Colonna &k) { return k.nome.compare(nome, Qt::CaseInsensitive) == 0; });
        if (c == colonne.cend())
            throw Errore(3265, QStringLiteral("Elemento '") + nome + QStringLiteral("' non trovato nell'insieme."));
        r << CorsiDB::convertiPerColonna(*c, valore);
    }
    return r;
}

} // namespace

bool operatoreInSolaLettura(const Contesto &c) { return c.sessione.gOperStampato != 0; }

VociOperatore vociOperatore(Contesto &c)
{
    VociOperatore v;
    const QVariantList op = c.sessione.chiaveOperatore();
    QSqlQuery q = c.db.seleziona(sql::operatore::kTipiOperatore, op);
    while (q.next())
        v.tipoOper << q.value(0).toString() + QStringLiteral("  ") + q.value(1).toString();
    v.corrispondenza << QString();
    q = c.db.seleziona(sql::operatore::kComponentiCorrispondenza, op);
    while (q.next())
        v.corrispondenza << riempi(q.value(0).toString(), 5, QStringLiteral("sx")) + QStringLiteral(" - ")
                + q.value(1).toString().left(35) + QStringLiteral(" - ") + q.value(2).toString() + QStringLiteral(" - ")
                + q.value(3).toString();
    v.attEcono << QString();
    q = c.db.seleziona(sql::operatore::kAttivitaEconomiche);
    while (q.next())
        v.attEcono << riempi(q.value(0).toString(), 3, QStringLiteral("sx")) + QStringLiteral("  ") + q.value(1).toString();
    v.provincePrece << QString() << QStringLiteral("REGIONE VALDORIA");
    q = c.db.seleziona(sql::operatore::kProvinceRegione);
    while (q.next())
        v.provincePrece << q.value(0).toString();
    return v;
}

std::optional<DatiOperatore> caricaOperatore(Contesto &c, const VociOperatore &voci)
{
    const QList<QVariantMap> righe = c.db.righe(sql::operatore::kOperatore, c.sessione.chiaveOperatore());
    if (righe.isEmpty())
        return std::nullopt;
    DatiOperatore d;
    auto t = [&](const char *n) { return CorsiDB::campo(righe.first(), QString::fromLatin1(n)).toString(); };
    d.grupOpe = t("GrupOpe");
    d.operatore = t("Operatore");
    d.codFisc = t("CodFisc");
    d.denominazione = t("Denominazione");
    d.voceTipoOper = voci.tipoOper.value(0);
    d.voceCorrispondenza = voceDi(voci.corrispondenza, t("Corrispondenza"), 5);
    d.legNome = t("LegNome");
    d.legComNasc = t("LegComNasc");
    d.legProvNasc = t("LegProvNasc");
    d.legGG = t("LegGGNasc");
    d.legMM = t("LegMMNasc");
    d.legAAAA = t("LegAAAANasc");
    d.contABI = t("ContABI");
    d.contCAB = t("ContCAB");
    d.contCIN = t("ContCIN");
    d.contIBAN = t("ContIBAN");
    d.desBanca = t("ContDesBanca");
    d.contAge = t("ContAge");
    d.indirAge = t("ContIndirAge");
    d.numCC = t("ContNumCC");
    d.intCC = t("ContIntCC");
    d.provCC = t("ProvCCIAA");
    d.codCC = t("CodCCIAA");
    d.annCC = t("AnnoCCIAA");
    d.voceAttEcono = voceDi(voci.attEcono, t("AttEcono"), 3);
    d.nominativoReferente = t("NominativoReferente");
    d.codFiscaleReferente = t("CodFiscaleReferente");
    d.domPrece = t("DomPrece");
    d.ggPrece = t("GGPrece");
    d.mmPrece = t("MMPrece");
    d.aaPrece = t("AAAAPrece");
    d.voceProvPrece = voci.provincePrece.contains(t("DESPROV")) ? t("DESPROV") : QString();
    d.direttiva = t("Direttiva");
    d.annoDirettiva = t("AnnoDirettiva");
    // A birthplace without a province is a foreign state.
    d.provLegAbilitata = d.legComNasc.isEmpty() || !d.legProvNasc.isEmpty();
    return d;
}

QString completaDueCifre(const QString &testo) { return testo.size() == 1 ? QStringLiteral("0") + testo : testo; }

EsitoVerifica verificaOperatore(const DatiOperatore &d)
{
    auto richiesto = [](const QString &v, const char *messaggio, const char *campo, int pagina) {
        return v.trimmed().isEmpty()
            ? EsitoVerifica::errore(QString::fromUtf8(messaggio), kVerificaDati, QString::fromLatin1(campo), pagina)
            : EsitoVerifica{};
    };
    for (const EsitoVerifica &e :
         {richiesto(d.denominazione, "Inserire denominazione operatore", "txtDenomi", PaginaIdentificazione),
          richiesto(d.voceCorrispondenza.trimmed(), "Inserire il componente responsabile della corrispondenza",
                    "cmbCorrispondenza", PaginaIdentificazione),
          richiesto(d.legNome, "Inserire il legale rappresentante", "txtLegNome", PaginaIdentificazione)})
        if (!e.valido())
            return e;
    if (!d.legComNasc.isEmpty() && d.provLegAbilitata && d.legProvNasc.isEmpty())
        return EsitoVerifica::errore(QStringLiteral("Inserire la provincia di nascita del legale rappresentante"),
                                     QStringLiteral("Verifica Dati"), QStringLiteral("txtProvLeg"), PaginaIdentificazione);
    if (!d.legProvNasc.isEmpty() && d.legComNasc.isEmpty())
        return EsitoVerifica::errore(QStringLiteral("Inserire il comune di nascita del legale rappresentante"),
                                     QStringLiteral("Verifica Dati"), QStringLiteral("txtcomleg"), PaginaIdentificazione);
    if (!tuttiOVuotiOPieni({d.provCC, d.codCC, d.annCC}))
        return EsitoVerifica::errore(QStringLiteral("Inserire tutti i dati relativi alla CCIAA"), kVerificaDati,
                                     QStringLiteral("txtProvCC"), PaginaVersamenti);
    if (!(d.legGG + d.legMM + d.legAAAA).isEmpty() && controllaTreCampi(d.legGG, d.legMM, d.legAAAA) != Data::Valida)
        return EsitoVerifica::errore(QStringLiteral("Data di nascita del legale") + CRLF
                                         + QStringLiteral("rappresentante non valida"),
                                     kVerificaDati, QStringLiteral("txtGGLeg"), PaginaIdentificazione);
    if (!(d.ggPrece + d.mmPrece + d.aaPrece).isEmpty()) {
        switch (controllaTreCampi(d.ggPrece, d.mmPrece, d.aaPrece)) {
        case Data::Valida:
            break;
        case Data::NonValida:
            return EsitoVerifica::errore(QStringLiteral("Data domanda precedente non valida "), kVerificaDati,
                                         QStringLiteral("txtGGPrece"), PaginaDomandaPrecedente);
        case Data::FuoriIntervallo:
            return EsitoVerifica::errore(QStringLiteral("Data domanda precedente non valida"), kVerificaDati,
                                         QStringLiteral("txtGGPrece"), PaginaDomandaPrecedente);
        }
    }
    if (!tuttiOVuotiOPieni({d.domPrece, d.ggPrece, d.mmPrece, d.aaPrece, d.direttiva, d.annoDirettiva, d.voceProvPrece}))
        return EsitoVerifica::errore(QStringLiteral("Per i dati riguardanti l'eventuale domanda precedente è obbligatorio") + CRLF
                                         + QStringLiteral("compilare tutti i campi o non compilarne nessuno."),
                                     kVerificaDati, QStringLiteral("txtDomPrece"), PaginaDomandaPrecedente);
    if (!d.aaPrece.isEmpty() && d.aaPrece.toInt() <= 1900)
        return EsitoVerifica::errore(QStringLiteral("Anno della domanda precedente non valido: deve essere maggiore di 1900"),
                                     kVerificaDati, QStringLiteral("txtAAPrece"), PaginaDomandaPrecedente);
    if (!d.annoDirettiva.isEmpty() && d.annoDirettiva.toInt() <= 1900)
        return EsitoVerifica::errore(
            QStringLiteral("Anno Gestione della Direttiva su cui è stata presentata la domanda precedente non valido: deve "
                           "essere maggiore di 1900"),
            kVerificaDati, QStringLiteral("txtAnnoDirettiva"), PaginaDomandaPrecedente);
    for (const EsitoVerifica &e :
         {richiesto(d.nominativoReferente, "Inserire il nominativo del referente Operatore per le pari opportunità",
                    "txtNominativoReferente", PaginaVersamenti),
          richiesto(d.codFiscaleReferente, "Inserire il codice fiscale del referente Operatore per le pari opportunità",
                    "txtCodFiscaleReferente", PaginaVersamenti)})
        if (!e.valido())
            return e;
    return {};
}

void scriviOperatore(Contesto &c, const DatiOperatore &d)
{
    // Locked data are never written, whatever path asks for it.
    if (operatoreBloccato(c.db, c.sessione.gGrupOpe, c.sessione.numeroOperatore()))
        throw Errore(codici::Generico,
                     QStringLiteral("Domanda già inviata alla Provincia: i dati dell'operatore non "
                                    "sono modificabili."));
    // Identified by its key alone: a row gone meanwhile is told as such.
    if (c.db.esegui(sql::operatore::kScriviOperatore, perLeColonne(c.db, valori(d)) + c.sessione.chiaveOperatore()) == 0)
        throw Errore(codici::RigaCancellata, QStringLiteral("Il record è stato cancellato da un'altra postazione."));
    c.sessione.gDenomOper = d.denominazione;
}

bool operatoreCambiato(const DatiOperatore &caricati, const DatiOperatore &attuali)
{
    return valori(caricati) != valori(attuali);
}

EsitoLuogo cercaLuogoNascita(Contesto &c, const QString &testo)
{
    const QString t = testo.trimmed();
    EsitoLuogo r;
    QSqlQuery q = c.db.seleziona(sql::operatore::kComuneNascita, {t});
    if (q.next()) {
        r.tipo = LuogoNascita::Comune;
        r.sigProv = q.value(0).toString();
        return r;
    }
    if (c.db.valoreScalare(sql::operatore::kStatoEstero, {t}).toInt() > 0)
        r.tipo = LuogoNascita::StatoEstero;
    return r;
}

} // namespace quirdal
