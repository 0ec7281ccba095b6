#pragma once
// The courses of an application in and out of a spreadsheet. Out: a sheet "Corsi" with one row
// per course, a sheet "Spese" with one row per course and year, a sheet "Riepilogo" with the
// totals per site and of the application, as the summary and the print have them. In: the same
// layout read back, every row taken through the course sheet's own checks, and written all or
// nothing: a course with a code is updated, one without is new, one not in the file is left
// alone.
#include "common/FoglioDiCalcolo.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace quirdal {

class CorsiDB;
class Piattaforma;
struct Sessione;

inline const QString kFoglioCorsi = QStringLiteral("Corsi");
inline const QString kFoglioSpese = QStringLiteral("Spese");
inline const QString kFoglioRiepilogo = QStringLiteral("Riepilogo");

// The three sheets of the application's courses.
QList<FoglioDaScrivere> fogliCorsi(CorsiDB &db, const Sessione &s);

// The file of a sheet when the courses go to CSV, one file a sheet: "F.csv" holds the
// courses, "F-Spese.csv" and "F-Riepilogo.csv" the others.
QString fileCsvDelFoglio(const QString &file, const QString &foglio);

// The application's courses written to F.xlsx (one workbook) or F.csv (three files). The files
// written; nothing, with errore set, when they could not be.
QStringList esportaCorsi(CorsiDB &db, const Sessione &s, const QString &file, QString *errore);

// A problem of the file: where it is and the rule's own message.
struct ProblemaFoglio {
    QString foglio;
    int riga = 0;
    QString colonna;
    QString messaggio;
};
// 'Foglio "Corsi", riga 5, colonna "Allievi previsti": Inserire gli ALLIEVI PREVISTI', the
// message's line breaks as blanks.
QString rigaProblemaFoglio(const ProblemaFoglio &p);

struct OpzioniImportazione {
    bool prova = false; // check and report, write nothing
    // The checks of the whole application that concern its courses, run on the application as
    // the import leaves it: their messages are notes, which block nothing.
    std::function<QStringList()> noteDomanda;
};

struct EsitoImportazione {
    enum class Stato {
        Applicata,   // every row passed and the courses are written
        Verificata,  // --prova: every row passed, nothing written
        Problemi,    // some row has a problem: nothing written
        Illeggibile, // the file is not one of ours, or cannot be read: nothing written
        Rifiutata,   // the application is printed: nothing read, nothing written
    };
    Stato stato = Stato::Illeggibile;
    QString messaggio; // why the file was not read, or refused
    QList<ProblemaFoglio> problemi;
    QStringList note;
    int nuovi = 0, aggiornati = 0, invariati = 0;
};

// The file (.xlsx, or .csv with its "-Spese.csv" beside it when there is one) into the current
// application. Courses whose costs are not in the file keep theirs; a new one gets the
// defaults of the caps, as the sheet proposes them.
EsitoImportazione importaCorsi(CorsiDB &db, const Sessione &s, Piattaforma &p, const QString &file,
                               const OpzioniImportazione &opzioni = {});

// The outcome in a few words, as the command line and the screen say it.
QString sintesiImportazione(const EsitoImportazione &e);

} // namespace quirdal
