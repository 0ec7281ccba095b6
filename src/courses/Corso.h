#pragma once
// A course of the application: its CorsiProp row, its yearly cost rows and its answers to
// section 3.3, read and written as one, with its key given out inside the write so that two
// workstations never get the same code.
#include "courses/Spese.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <optional>

namespace quirdal {

class CorsiDB;
class Piattaforma;
struct Sessione;

struct ChiaveCorso {
    qlonglong sede = 0;
    QString corso;  // four digits
    QString accorp; // "0" main course, "1" to "99" merged
    bool operator==(const ChiaveCorso &) const = default;
};

struct DatiCorso {
    ChiaveCorso chiave;      // corso empty while the course has no row yet
    bool accorpato = false;  // a merged course
    QString corsoPrincipale; // its main course, chosen while inserting it
    QString compoResp;       // the responsible component of an occasional site
    bool qualificaNuova = false;
    QString codQualif, desQualif;
    std::array<bool, 6> indirizzoNuovo{};
    std::array<QString, 6> codInd, desInd;
    QString codAsse, codMisura, codAzione, codTipologia;
    std::array<QString, 5> codDest;
    QString codScol, codSetto, codComp, codOra, codCert;
    qlonglong numAll = 0, durataAnnOre = 0, totOreIter = 0, oreStage = 0, oreLabEsterni = 0;
    int durataTotIter = 0; // 0: not chosen
    int statoIter = 1;
    QString ggAvvio, mmAvvio, aaaaAvvio;
    bool ats = false;
    QString codIsti, istitutoLibero;
    bool spinNonPresente = false;
    QString spinAmbito, spinSettore, spinFigura;
    QString im = QStringLiteral("N");
    bool po1 = false, co1 = false;
    QString qss;
    std::array<QString, 4> sez34;
    bool conModulare = false;
    QString corsoModulare;
    std::array<SpeseAnno, 3> spese;
    QMap<qlonglong, bool> valoriChk; // section 3.3 check box Id -> ticked

    QString azione() const;
    bool operator==(const DatiCorso &) const = default;
};

// The SPIN codes that say there is no SPIN research.
inline const QString kSpinAmbitoAssente = QStringLiteral("OO"), kSpinSettoreAssente = QStringLiteral("99"),
                     kSpinFiguraAssente = QStringLiteral("01");

// The courses of the current site, in code order.
QList<ChiaveCorso> corsiDellaSede(CorsiDB &db, const Sessione &s);
// "Corso Accorp - DesQualif" of each course of the site.
QStringList vociEleCorsi(CorsiDB &db, const Sessione &s);
// The key written in an entry of the course list.
ChiaveCorso leggiVoceCorso(const QString &voce, qlonglong sede);

std::optional<DatiCorso> caricaCorso(CorsiDB &db, const Sessione &s, const ChiaveCorso &k);

// Every course of the application (the current operator's, at the sites of the current
// province), read with one statement for each of its tables, in the order of their codes at
// each site: what caricaCorso reads of each, and its annual hours as stored (Null when none).
struct CorsoDellaDomanda {
    DatiCorso dati;
    QVariant durataAnnOre;
};
QList<CorsoDellaDomanda> caricaCorsiDomanda(CorsiDB &db, const Sessione &s);

// The key a new course gets: for a main course the operator's highest code plus one
// (whatever its site or province) with "0"; for a merged course its main course's code
// with the highest merged number plus one. Nothing when the main course does not exist.
std::optional<ChiaveCorso> ProgrCorso(CorsiDB &db, const Sessione &s, bool accorpato, const QString &principale);

// Writes the course, its cost rows (one a year of its duration, deleted and written again
// on every save) and its check values in one transaction; a new course gets its key inside
// it. A merged course's main course passes its summary amounts on. Returns the key.
// Refused with Errore while the application is printed, by this workstation or, as the
// database says inside the write, by another; a course gone meanwhile is
// codici::RigaCancellata.
ChiaveCorso scriviCorso(CorsiDB &db, const Sessione &s, Piattaforma &p, const DatiCorso &d);

// A course that another workstation deleted while it was on screen, written again as the
// screen holds it: under its own key while no course of the operator has taken it meanwhile
// (a merged course only while its main course is there), else under the next code. Returns
// the key.
ChiaveCorso reinserisciCorso(CorsiDB &db, const Sessione &s, Piattaforma &p, const DatiCorso &d);

// Deletes the course with its cost rows, check values and handicap sheet in one
// transaction. A main course with merged courses is not deleted: false. Refused as a write.
bool CancellaCorso(CorsiDB &db, const Sessione &s, const ChiaveCorso &k);
bool HaAccorpati(CorsiDB &db, const Sessione &s, const QString &corso);
// The course has no cost row.
bool CorsoIncompleto(CorsiDB &db, const Sessione &s, const ChiaveCorso &k);
// The ten summary amounts of a main course copied into its merged courses.
void AggQueryAcc(CorsiDB &db, const Sessione &s, const QString &corso);

// The merged-course summary of a main course: the ten lines, each amount × hours ×
// participants over the main course and its merged courses.
struct RiepilogoAccorpati {
    std::array<Importo, 8> a; // a11, a12, a21, a22, a31, a32, a41, a42
    Importo b1, b2;
    Importo totaleA() const;
    Importo totaleB() const { return b1 + b2; }
};
RiepilogoAccorpati riepilogoAccorpati(CorsiDB &db, const Sessione &s, const QString &corso);

} // namespace quirdal
