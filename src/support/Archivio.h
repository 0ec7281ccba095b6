#pragma once
// Zip archives of the database: written under a temporary name, read back and renamed
// into place only when whole; split into volumes of a given size when asked; read back
// with every entry name checked before anything is written.
#include <QString>
#include <QStringList>

#include <functional>

namespace quirdal {

// The volume size of a diskette (drive "A:").
constexpr qint64 kGrandezzaVolumeDischetto = 1400000;

// 1400000 when the archive goes to drive "A:" (either case), 0 (one file) elsewhere.
qint64 grandezzaVolume(const QString &percorsoArchivio);

// Writes the archive holding one file under the entry name. The file is read while the
// archive is written (at zip_close), so it must not change until this returns: callers
// pass a copy of their own. With volume > 0 an archive larger than that is kept as
// volumes "name.z01", "name.z02", ... with the last one under the archive's own name;
// volumes of an older archive of the same name are removed once the new one is whole.
// "" on success, else what went wrong (the older archive is then untouched).
QString scriviArchivio(const QString &archivio, const QString &file, const QString &nomeVoce, qint64 volume = 0);

// The files that make up an archive, in order: its volumes "name.z01", "name.z02", ...
// when there are any, then the archive itself.
QStringList volumiArchivio(const QString &archivio);

// True when an entry of that name lands inside the extraction folder: not empty, not
// absolute, no drive, no ".." component.
bool voceSicura(const QString &nome);

// True when the file is a zip archive, or the last volume of one (the first volume then
// begins as an archive does).
bool eArchivioZip(const QString &percorso);

// The largest database a restore takes: well above what an agency's data fill, far below
// what an archive of zeros can declare.
constexpr qint64 kGrandezzaMassimaBaseDati = qint64(1) << 30;

struct OpzioniEstrazione {
    qint64 grandezzaMassima = kGrandezzaMassimaBaseDati;
    // Called as the file is written: bytes written so far, bytes the archive declares.
    std::function<void(qint64, qint64)> avanzamento;
};

// Extracts the one file an archive holds into the folder, under the last component of
// its entry name. Every entry name is checked first; an archive with an entry that would
// land outside the folder, with no file or more than one, damaged (checksum) or
// encrypted is refused and nothing is left in the folder. Before anything is written the
// size the archive declares must be within the limit and the first bytes those of a
// database file; no more than the declared size is ever written. file: the path written;
// errore: why the archive was refused.
struct FileEstratto {
    QString file;
    QString errore;
};
FileEstratto estraiFileUnico(const QString &archivio, const QString &cartella, const OpzioniEstrazione &opzioni = {});

} // namespace quirdal
