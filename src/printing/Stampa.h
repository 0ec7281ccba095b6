#pragma once
// The print engine: the application of the current operator and province, or one of its
// sites, or one course, filled section by section into the templates of the form and written
// as one PDF. The final print marks the application as printed only when its PDF came out
// whole, in one step: the whole PDF under a provisional name, then the lock, then the PDF
// under its own name; a stop anywhere leaves neither or, once the next start has finished
// what the record in the program folder says, both.
// The run is in Stampa.cpp, the sections of the application in StampaDomanda.cpp, those of
// one course in StampaCorso.cpp, the final print's steps in StampaDefinitiva.cpp.
#include "courses/Corso.h"
#include "printing/CreaPDF.h"
#include "printing/Modello.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace quirdal {

struct Contesto;
struct Sessione;
class CorsiDB;

inline const QString kModoBozza = QStringLiteral("BOZZA");
inline const QString kModoOriginale = QStringLiteral("ORIGINALE");
inline const QString kModoCopia = QStringLiteral("COPIA");
inline const QString kModoBozzaCorso = QStringLiteral("BOZZA CORSO");
inline const QString kTitoloCompilazione = QStringLiteral("Compilazione File di stampa");

struct RichiestaStampa {
    QString modo = kModoBozza;        // what the form says it is
    QString tipoSede;                 // "" every site, "UL" one component, "SO" one occasional site
    qlonglong sede = 0;               // the one site
    std::optional<ChiaveCorso> corso; // the course of a "BOZZA CORSO"
    long intervallo = 0;              // pause between pages, ms
    QString filePdf;                  // empty: the program's own name for it
    bool apriAlTermine = true;        // open the PDF in the system's viewer when done

    // The print the session asks for (gModoStampa, gTipoSede, gCompo, gIntervalloStampa).
    static RichiestaStampa daSessione(const Sessione &s);
};

struct EsitoStampa {
    enum class Stato { Completa, Annullata, Fallita };
    Stato stato = Stato::Fallita;
    QString filePdf;
    int sezioni = 0;          // page files saved
    int pagine = 0;           // A4 pages of the PDF
    QStringList nonCompilati; // placeholders left unfilled, by name
    bool bloccata = false;    // a final print that locked the application
    // The PDF was written and every placeholder filled.
    bool intera() const { return stato == Stato::Completa && nonCompilati.isEmpty(); }
};

// The PDF names the program gives. The final form has a name of its own, so that no draft
// printed after it can take its place.
QString nomePdfDomanda(const Contesto &c, const QString &modo = QStringLiteral("BOZZA"));
QString nomePdfCorso(const Contesto &c, const ChiaveCorso &k);

class MotoreStampa {
public:
    MotoreStampa(Contesto &c, AvanzamentoStampa &avanzamento);

    // The whole run: the sections, the PDF, the closing messages.
    EsitoStampa esegui(const RichiestaStampa &r);
    // The sections, filled and laid out: drawn while the run writes the PDF, otherwise only
    // their pages counted.
    void compilaSezioni(const RichiestaStampa &r);

    // The sections, as the run calls them.
    void StampaTutto();
    // The occasional sites of the province, or the one given.
    void StampaSO(std::optional<qlonglong> sede);
    // A site's courses; for an occasional site only those its responsible component answers for.
    void StampaCorsi(qlonglong sede, std::optional<qlonglong> compoResp = {});
    void StampaUnCorso(const ChiaveCorso &k);
    void StampaHandi(const ChiaveCorso &k);
    // The boxes "<ck" + primo + ">" onwards, ticked as given.
    static void CompilaCk(Valori &v, int primo, const QList<bool> &caselle);
    // What every section shows of the application: print kind, number, date, operator.
    void CompilaHF(Valori &v);

    clsCreaPDF &pdf() { return m_pdf; }

private:
    bool interrotta();
    // A section filled and saved as the next page file; a failure while its values were read
    // is reported and leaves the placeholders it did not reach unfilled.
    void sezione(const QString &modello, const std::function<void(Valori &, QHash<QString, Righe> &)> &riempi);
    void intestazioneComune();
    void sedeComponente(qlonglong componente);
    void sedeOccasionale(qlonglong sede);
    void errore(const QString &procedura, const QString &descrizione);
    void avvisoNonCompilati(const QStringList &nonCompilati, const QString &file);

    Contesto &m_c;
    AvanzamentoStampa &m_a;
    clsCreaPDF m_pdf;
    RichiestaStampa m_r;
    Valori m_comuni;
    QSet<QString> m_nonCompilati;
    bool m_annullata = false;
    int m_sezione = 0; // sections given
};

// The application's lock: DomandaStampata of its Installazione row (false when it has none).
bool TrasDoma(CorsiDB &db, const Sessione &s);
// Sets it; false when the application has no row to mark.
bool SegnaDomandaStampata(CorsiDB &db, const Sessione &s);

// The name of the session's operator, as the database has it ("" when it has none).
QString denominazioneOperatore(CorsiDB &db, const Sessione &s);

// The sites a draft can be limited to: those with courses in the province, components as
// number + " - " + name, occasional sites the same followed by "  (SEDE OCCASIONALE)".
QStringList vociSediStampa(CorsiDB &db, const Sessione &s);
// One of those entries chosen (gCompo, gDenCompo, gTipoSede), or every site when empty.
void scegliSedeStampa(Sessione &s, const QString &voce);
// The interval typed in seconds as the pause in milliseconds; an empty or invalid text is none.
long intervalloStampa(const QString &secondi);

// The final print's steps around the print screen: before it (gTipoStampa, gStampaEseguita as
// the application's lock) and after it (the print counts only when its PDF came out whole).
// The lock itself is set by the print, before it says the file was made.
void iniziaStampaDefinitiva(Sessione &s);
void registraStampaDefinitiva(Sessione &s, const EsitoStampa &e);

// At start: the final prints that a stop left half done, told by their records in the
// program folder. A locked application whose PDF is still under its provisional name gets
// it under its own name (and the user is told the file was made); an unlocked one loses the
// provisional PDF. Records of a print still running in another process are left alone.
// How many were completed.
int completaStampeDefinitive(Contesto &c);

// The final print: the pre-print checks (their messages, nothing printed, when one fails),
// the print of every site, and the lock once its PDF came out whole. gDomandaStampata and
// gStampaEseguita follow. Returns what the print did (Fallita when a check refused it).
struct EsitoOriginale {
    EsitoStampa stampa;
    QStringList problemi; // the checks that failed
    bool segnata = false; // this print locked the application
};
EsitoOriginale stampaOriginale(Contesto &c, AvanzamentoStampa &a, RichiestaStampa r, bool controlla = true);

} // namespace quirdal
