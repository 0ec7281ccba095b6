#pragma once
// Archives written and read with libzip itself, so that the tests build archives the
// program would never write and check those it writes without trusting its own reader.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

#include <zip.h>

namespace quirdal::test {

using VociZip = QList<QPair<QString, QByteArray>>;

inline bool scriviZip(const QString &percorso, const VociZip &voci)
{
    int errore = 0;
    zip_t *z = zip_open(QFile::encodeName(percorso).constData(), ZIP_CREATE | ZIP_TRUNCATE, &errore);
    if (!z)
        return false;
    QList<QByteArray> tieni; // libzip reads the buffers at zip_close
    for (const auto &[nome, dati] : voci) {
        tieni << dati;
        zip_source_t *s = zip_source_buffer(z, tieni.last().constData(), static_cast<zip_uint64_t>(dati.size()), 0);
        if (!s || zip_file_add(z, nome.toUtf8().constData(), s, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(s);
            zip_discard(z);
            return false;
        }
    }
    return zip_close(z) == 0;
}

// The entries with their data; empty when the archive cannot be read whole.
inline VociZip leggiZip(const QString &percorso)
{
    VociZip r;
    int errore = 0;
    zip_t *z = zip_open(QFile::encodeName(percorso).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &errore);
    if (!z)
        return r;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_file_t *f = zip_fopen_index(z, static_cast<zip_uint64_t>(i), 0);
        QByteArray dati;
        char b[65536];
        zip_int64_t n = 0;
        while (f && (n = zip_fread(f, b, sizeof b)) > 0)
            dati.append(b, n);
        if (f)
            zip_fclose(f);
        if (!f || n < 0) {
            zip_discard(z);
            return {};
        }
        r.append({QString::fromUtf8(zip_get_name(z, static_cast<zip_uint64_t>(i), 0)), dati});
    }
    zip_discard(z);
    return r;
}

} // namespace quirdal::test
