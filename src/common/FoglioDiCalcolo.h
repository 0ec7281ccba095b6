#pragma once
// Spreadsheets in and out, knowing nothing of what their rows mean: a workbook (.xlsx) of
// several named sheets, or a CSV file as Italian Excel and LibreOffice Calc open it without
// a dialog (";" between fields, "," before the decimals, UTF-8 with its mark). Written whole
// under a temporary name and renamed; read with every part of the file checked before it is
// believed: a file that is not a workbook, an encrypted one, a sheet or a cell beyond what a
// spreadsheet program allows, an entry whose name would leave the archive, a part larger than
// it can honestly be are refused with a message, and nothing is returned.
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace quirdal {

// --- Writing ------------------------------------------------------------------------------

// What a column holds, and so how its cells are written: text (codes keep their zeros), a
// whole number, an amount ("#,##0.00"), a date ("dd/mm/yyyy").
enum class TipoColonna { Testo, Intero, Importo, Data };

struct ColonnaFoglio {
    QString intestazione;
    TipoColonna tipo = TipoColonna::Testo;
};

// A row's values, one per column: a null value is an empty cell; QString is written as
// text whatever the column (a date that is no date stays as it was typed); qlonglong is a
// whole number in an Intero column and cents in an Importo column; QDate a date.
struct FoglioDaScrivere {
    QString nome;
    QList<ColonnaFoglio> colonne;
    QList<QVariantList> righe;
};

// The sheets as one workbook: header row in bold, frozen and filtered, columns as wide as
// their longest value. "" on success, else why the file was not written (an older file of
// that name is then untouched).
QString scriviXlsx(const QString &percorso, const QList<FoglioDaScrivere> &fogli);

// One sheet as a CSV file. A text that a spreadsheet would take for a formula (it begins with
// "=", "+", "-" or "@") is written after an apostrophe, which the reader below takes away.
QString scriviCsv(const QString &percorso, const FoglioDaScrivere &foglio);

// --- Reading ------------------------------------------------------------------------------

struct CellaLetta {
    enum class Tipo { Vuota, Testo, Numero, Booleano };
    Tipo tipo = Tipo::Vuota;
    QString testo;     // Testo; for the other kinds, the value as a spreadsheet shows it
    double numero = 0; // Numero
    bool booleano = false;
    bool vuota() const { return tipo == Tipo::Vuota || (tipo == Tipo::Testo && testo.trimmed().isEmpty()); }
};

struct FoglioLetto {
    QString nome;
    // Row n of the sheet is righe[n - 1]; a row holds its cells up to the last one filled.
    QList<QList<CellaLetta>> righe;
    CellaLetta cella(int riga, int colonna) const; // both from 1; empty where nothing is
};

struct CartellaLetta {
    QList<FoglioLetto> fogli;
    bool date1904 = false; // the workbook counts its dates from 1904 (an old Mac setting)
    QString errore;        // empty: read
    bool letta() const { return errore.isEmpty(); }
    const FoglioLetto *foglio(const QString &nome) const; // by name, case ignored; nullptr when absent
};

// The limits of what is read: those of the spreadsheet programs themselves, and a ceiling on
// what one part of a workbook may expand to.
struct LimitiLettura {
    int righe = 10000;
    int caratteri = 32767;
    qint64 parte = qint64(64) << 20;   // one part of the archive, expanded
    qint64 totale = qint64(256) << 20; // every part read, expanded
    int voci = 10000;                  // entries of the archive
};

// The named sheets of a workbook, found by name through the workbook's own relations (those
// it does not have are simply missing from the result).
CartellaLetta leggiXlsx(const QString &percorso, const QStringList &nomi, const LimitiLettura &limiti = {});
// A CSV file as one sheet of that name; ";", "," or a tab between fields (the one the header
// uses most), UTF-8 (with or without its mark) or else Windows-1252, as Excel saves it.
CartellaLetta leggiCsv(const QString &percorso, const QString &nome, const LimitiLettura &limiti = {});

// The date a spreadsheet's serial number stands for (whole days; the time is dropped);
// invalid when the number is no date.
QDate dataDaSeriale(double seriale, bool date1904 = false);
// The serial number of a date, in the 1900 system.
double serialeDaData(const QDate &data);
// A text as a cell holds it: a line break is one LF, as spreadsheets write it.
QString testoDiCella(QString testo);
// "A" for 1, "AA" for 27.
QString nomeColonna(int colonna);

} // namespace quirdal
