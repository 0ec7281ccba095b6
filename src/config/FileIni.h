#pragma once
// The installation's INI file, read and written like the platform's profile-string
// functions: sections and keys case-insensitive, values trimmed, the rest of the
// file (other lines, comments, layout) kept as it was.
#include <QString>

namespace quirdal {

class cFileINI {
public:
    // programFolder: where a bare name is put (the program folder).
    explicit cFileINI(QString cartellaProgramma = {});

    // A name without "." gets ".ini"; a name without a folder separator gets the
    // program folder in front.
    void setNomeFile(const QString &nome);
    const QString &NomeFile() const { return m_nomeFile; }

    void setSezione(const QString &sezione) { m_sezione = sezione; }
    const QString &Sezione() const { return m_sezione; }

    // At most 254 characters (a longer value is cut there, as every reader of the
    // installation's INI files expects); strDefault when the key or the file is missing.
    QString Leggi(const QString &strChiave, const QString &strDefault = {}) const;
    // Non-zero on success. The file and the section are created when missing; the
    // file is replaced atomically, so a failure never leaves it half written, and the
    // temporary file a killed write left beside it goes at the next write.
    int Scrivi(const QString &strChiave, const QString &strValore);

    // Convenience: section and key at once.
    QString leggi(const QString &sezione, const QString &chiave, const QString &def = {});
    int scrivi(const QString &sezione, const QString &chiave, const QString &valore);

    static constexpr int kLunghezzaMassima = 254;

private:
    QString m_cartella;
    QString m_nomeFile;
    QString m_sezione;
};

// The PWD of section CONNESSIONE is kept scrambled: every character's code is xor-ed
// with one fixed byte. The routine is its own inverse.
QString scramblePwd(const QString &testo);

} // namespace quirdal
