#pragma once
// Temporary files and folders named after the process that makes them, so that the next
// run of the same operation removes what a killed process left behind (whole copies of
// the database, of the INI file) and never what a running one still uses. What differs
// between platforms here (process ids, flushing to disk, replacing a file) is kept inside
// these functions.
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace quirdal {

qint64 idProcesso();
// True while a process with that id runs on this machine (one of another user included).
bool processoVivo(qint64 pid);

// Removes the entries of the folder whose name matches the expression, its first capture
// being the id of the process that made the entry, when that process no longer runs. A
// link is removed itself, never followed. Returns how many were removed.
int rimuoviResiduiDiProcessiFiniti(const QString &cartella, const QRegularExpression &nome);

// A new folder in the system's temporary folder, readable by the user only, named
// "QUIRDAL-<operazione>-<pid>-XXXXXX"; the folders that a process no longer running left
// for the same operation are removed first. Null when no folder can be made.
std::unique_ptr<QTemporaryDir> cartellaTemporaneaPrivata(const QString &operazione);

// A file replaced only when whole: written under "<name>.<pid>.tmp" beside it, flushed to
// disk and renamed over it; what a killed process left under such a name is removed when
// the next one opens. A link is written through, as to its target. Until conferma() the
// old file is untouched; the temporary file goes when the object does.
class FileSicuro {
public:
    explicit FileSicuro(const QString &destinazione);
    ~FileSicuro();
    FileSicuro(const FileSicuro &) = delete;
    FileSicuro &operator=(const FileSicuro &) = delete;

    bool apri();
    bool scrivi(const QByteArray &dati);
    bool conferma();
    const QString &temporaneo() const { return m_temporaneo; }
    // The file being written, for a writer that takes a device; why it could not be.
    QFile &dispositivo() { return m_file; }
    QString errore() const { return m_file.errorString(); }

private:
    QString m_destinazione;
    QString m_temporaneo;
    QFile m_file;
    bool m_confermato = false;
};

} // namespace quirdal
