#pragma once
// The layout of the courses' spreadsheet, shared by its writer and its reader: the column
// headers of each sheet, and the call's lists the codes are looked up in.
#include "courses/Corso.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace quirdal {

class CorsiDB;
struct Sessione;

namespace foglio {

// --- Corsi ----------------------------------------------------------------------------------
inline const QString kSede = QStringLiteral("Sede");
inline const QString kDenominazioneSede = QStringLiteral("Denominazione sede");
inline const QString kCorso = QStringLiteral("Corso");
inline const QString kAccorp = QStringLiteral("Accorp");
inline const QString kCompoResp = QStringLiteral("Componente responsabile");
inline const QString kQualifica = QStringLiteral("Qualifica");
inline const QString kAsse = QStringLiteral("Asse");
inline const QString kMisura = QStringLiteral("Attività");
inline const QString kAzione = QStringLiteral("Azione");
inline const QString kTipologia = QStringLiteral("Tipologia");
inline const QString kScolarita = QStringLiteral("Scolarità");
inline const QString kSettore = QStringLiteral("Settore");
inline const QString kComparto = QStringLiteral("Comparto");
inline const QString kOrario = QStringLiteral("Orario");
inline const QString kCertificazione = QStringLiteral("Certificazione");
inline const QString kNumAll = QStringLiteral("Allievi previsti");
inline const QString kDurataAnnOre = QStringLiteral("Durata annuale (ore)");
inline const QString kDurataAnni = QStringLiteral("Durata (anni)");
inline const QString kTotOreIter = QStringLiteral("Totale ore iter");
inline const QString kOreStage = QStringLiteral("Ore stage");
inline const QString kOreLabEsterni = QStringLiteral("Ore laboratori esterni");
inline const QString kDataAvvio = QStringLiteral("Data avvio presunta");
inline const QString kAts = QStringLiteral("ATS");
inline const QString kIstituto = QStringLiteral("Istituto scolastico");
inline const QString kIstitutoLibero = QStringLiteral("Istituto scolastico (testo libero)");
inline const QString kSpinNonPresente = QStringLiteral("Ricerca SPIN non presente");
inline const QString kSpinAmbito = QStringLiteral("SPIN ambito territoriale");
inline const QString kSpinSettore = QStringLiteral("SPIN settore produttivo");
inline const QString kSpinFigura = QStringLiteral("SPIN figura professionale");
inline const QString kInnovazione = QStringLiteral("Innovazione metodologica");
inline const QString kPariOpportunita = QStringLiteral("Pari opportunità");
inline const QString kCapacitaOrganizzativa = QStringLiteral("Capacità organizzativa");
inline const QString kEntiGestori = QStringLiteral("Enti gestori");
inline const QString kPrefisso33 = QStringLiteral("3.3 ");
inline const QString kSez34[] = {QStringLiteral("3.4 Disabilità"), QStringLiteral("3.4 Giovani a rischio"),
                                 QStringLiteral("3.4 Immigrati"), QStringLiteral("3.4 Detenuti")};
// The column beside a code that holds its description.
inline QString descrizione(const QString &colonna) { return colonna + QStringLiteral(" (descrizione)"); }
inline QString indirizzo(int i) { return QStringLiteral("Indirizzo %1").arg(i + 1); }
inline QString destinatario(int i) { return QStringLiteral("Destinatario %1").arg(i + 1); }

// --- Spese ----------------------------------------------------------------------------------
inline const QString kAnno = QStringLiteral("Anno");
inline const QString kSpeseGenerali = QStringLiteral("Spese Generali");
inline const QString kPremio = QStringLiteral("Premio");
inline const QString kReddito = QStringLiteral("Reddito Allievi");
inline const QString kContributo = QStringLiteral("Contributo Allievi");
inline QString euro(const QString &linea) { return linea + QStringLiteral(" - euro"); }
inline QString ore(const QString &linea) { return linea + QStringLiteral(" - ore"); }
inline QString allievi(const QString &linea) { return linea + QStringLiteral(" - allievi"); }
inline QString totale(const QString &linea) { return linea + QStringLiteral(" - totale"); }
inline const QString kQuotaPiu = QStringLiteral("Quota dell'operatore da aggiungere");
inline const QString kQuotaMeno = QStringLiteral("Quota dell'operatore da sottrarre");
inline const QString kEnteErogatore = QStringLiteral("Ragione Sociale Ente erogatore");
inline const QString kDettaglio[] = {QStringLiteral("a) Preparazione"), QStringLiteral("b) Realizzazione"),
                                     QStringLiteral("c) Diffusione risultati"), QStringLiteral("d) Direzione e controllo"),
                                     QStringLiteral("e) Indiretti")};
inline QString percentuale(int i) { return kDettaglio[i] + QStringLiteral(" %"); }
inline const QString kTotaleAnno = QStringLiteral("Totale PREVENTIVO SPESE");
inline const QString kTotalePreventivo = QStringLiteral("Totale PREVENTIVO calcolato");

// --- Riepilogo ------------------------------------------------------------------------------
inline const QString kDenominazione = QStringLiteral("Denominazione");
inline const QString kTipoSede = QStringLiteral("Tipo");
inline const QString kNumeroCorsi = QStringLiteral("Corsi");
inline const QString kContributoRichiesto = QStringLiteral("Contributo richiesto");
inline const QString kNote = QStringLiteral("Note");

// The call's lists a course's codes come from, each read once however many rows ask for it.
class ElenchiCorso {
public:
    ElenchiCorso(CorsiDB &db, const Sessione &s) : m_db(db), m_s(s) { }
    QStringList qualifiche();
    QStringList indirizzi(const QString &qualifica);
    QStringList assi();
    QStringList misure(const QString &asse);
    QStringList azioni(const QString &asse, const QString &misura);
    QStringList tipologie(const QString &azione);
    QStringList destinatari(const QString &azione, const QString &tipologia);
    QStringList scolarita(const QString &azione, const QString &tipologia);
    QStringList settori();
    QStringList comparti(const QString &settore);
    QStringList orari();
    QStringList certificazioni();
    QStringList durate(const QString &azione, const QString &tipologia);
    QStringList istituti();
    QStringList ambiti();
    QStringList settoriProduttivi(const QString &ambito);
    QStringList figure(const QString &ambito, const QString &settore);
    QStringList componenti();

private:
    template <typename F>
    QStringList una(const QString &chiave, F leggi);
    CorsiDB &m_db;
    const Sessione &m_s;
    QHash<QString, QStringList> m_voci;
};

// The list's code the value stands for: the same text, or for a code of digits the same number
// ("6" for "06": a spreadsheet reads a code typed as digits as a number). Nothing when the
// list has none.
std::optional<QString> codiceInElenco(const QString &valore, const QStringList &voci);
// The description of the entry of a code; "" when the list has none.
QString descrizioneVoce(const QStringList &voci, const QString &codice);

// The objectName of a field of the course sheet, as its checks name it, and the column that
// holds it: in "Corsi", or, for a year's costs (anno 0 to 2 set), in "Spese".
struct ColonnaCampo {
    QString colonna;
    int anno = -1;
};
ColonnaCampo colonnaDelCampo(const QString &campo);

} // namespace foglio
} // namespace quirdal
