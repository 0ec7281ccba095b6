#pragma once
// The operators' data files, as the install and the update of DatiOperatori.cpp read them:
// a table of {file, table, phase, reader}, in load order, and what reads a file's records.
// Used by the operators' load only.
#include "common/Errori.h"
#include "common/Generale.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <tuple>

namespace quirdal {

class ProgressoCaricamento;
struct Contesto;

// A data file as found in the program folder.
struct FileDati {
    QString nome;     // as the program calls it: "oper.tx1"
    QString percorso; // as found in the folder, "" when missing
    int record = 0;   // counted when found; the records are read one at a time when loaded
    bool esiste() const { return !percorso.isEmpty(); }
    bool vuoto() const { return record == 0; }
};

// The fields of one record, converted as the files' layout says. An invalid record is an
// error (TipoNonCorrispondente) that names the file.
class Campi {
public:
    Campi(const FileDati &f, const RigaDati &r);
    // An absent field is an empty text, never a Null.
    QString grezzo(int i) const;
    // Without control characters, trimmed, first n characters.
    QString testo(int i, int n) const;
    QString primo(int i) const { return testo(i, 1); }
    long long numero(int i) const;
    QVariant numeroONullo(int i) const;
    // A date as 8 digits DDMMYYYY, in its three parts; an empty field gives three empty
    // parts. Anything else ("1/2/1970") is an error of the record, never cut into parts.
    std::tuple<QString, QString, QString> data8(int i) const;
    QString telefono(int prefisso, int numero) const;

private:
    const FileDati &m_f;
    const RigaDati &m_r;
};

// An error of a load, with what was being loaded: the update procedure (AggCorsiOper ...)
// and the phase its message names.
class ErroreFase : public Errore {
public:
    ErroreFase(const Errore &e, QString procedura, QString fase)
        : Errore(e), m_procedura(std::move(procedura)), m_fase(std::move(fase))
    {
    }
    const QString &procedura() const { return m_procedura; }
    const QString &fase() const { return m_fase; }
private:
    QString m_procedura, m_fase;
};

// What a reader works with: the connection and, on update, the log of the records left as
// they were (locked) and why.
struct Caricamento {
    Contesto &c;
    QStringList log;
};
using Lettore = void (*)(Caricamento &, const Campi &);

// One data file of the operators' load.
struct FileOperatori {
    QString nome{};    // "oper.tx1"
    QString tabella{}; // "CorsiOper"
    // Install: the phase its messages name ("dei dati anagrafici dell' OPERATORE/I") and the
    // reader that adds a record's row.
    QString fase{};
    Lettore installa = nullptr;
    // Update: the procedure and phase its messages name and the reader that updates a row
    // or adds it; no procedure: an update leaves the table as it is.
    QString procedura{};
    QString faseAggiornamento{};
    Lettore aggiorna = nullptr;
    // A file without records stops the load, with these messages; "" when it may be empty.
    QString vuotoInstallazione{}, vuotoAggiornamento{};
    // The file that comes with this one: both hold records or neither ("" when none).
    QString compagno{};
    // Once loaded, each new operator gets its registered office (components).
    bool sediLegali = false;
};

// The files in load order.
const QList<FileOperatori> &fileOperatori();

// The file as found in the folder, its records counted; a read failure is an ErroreFase.
FileDati leggiFile(const QString &cartella, const QString &nome, const QString &fase, const QString &procedura = {});

// Runs a reader over the records of a file, with its progress; a failure is an ErroreFase.
void perOgniRecord(const FileDati &f, const QString &tabella, ProgressoCaricamento &p, const QString &procedura,
                   const QString &fase, Caricamento &car, Lettore lettore);

} // namespace quirdal
