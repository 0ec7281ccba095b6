#pragma once
// Where the program works, and the model of a new program folder that the package
// installs beside the programs (QUIRDAL.INI with the installation keys empty, the empty
// database, the help file, the print templates and logos).
#include <QString>
#include <QStringList>

namespace quirdal {

inline const QString kNomeCartellaUtente = QStringLiteral("QUIRDAL");

// The program folder: home (QUIRDAL_HOME) when set; else the executable's folder when
// it holds QUIRDAL.INI; else "QUIRDAL" in the user's documents folder.
QString cartellaProgramma(const QString &home, const QString &cartellaEseguibile, const QString &documenti);
// The same for this process, from its environment, executable and user.
QString cartellaProgramma();

// The installed model beside the executable (<folder>/../share/quirdal/cartella), ""
// when there is none (a program run from its build folder).
QString cartellaModello(const QString &cartellaEseguibile);
QString cartellaModello();

// True when the program folder has no QUIRDAL.INI: a first start.
bool cartellaDaPreparare(const QString &cartella);

// Fills the program folder from the model, creating it when missing: every file of the
// model that the folder lacks, subfolders included, is copied whole or not at all; files
// already there are kept, so no data is ever overwritten. QUIRDAL.INI comes last, so that
// a folder left half-prepared is prepared again on the next start. Returns the files
// copied (relative paths); throws Errore naming what could not be made.
QStringList preparaCartella(const QString &cartella, const QString &modello);

// The help (QUIRDAL.html and its pictures in aiuto/) is the program's, not the user's: the
// model's copy replaces a folder's copy that differs from it, so that a newer package brings
// its help to folders prepared by an older one. Also done by preparaCartella. Returns the
// files copied; throws Errore as preparaCartella.
QStringList aggiornaAiuto(const QString &cartella, const QString &modello);

} // namespace quirdal
