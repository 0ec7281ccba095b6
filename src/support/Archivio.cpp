#include "support/Archivio.h"

#include "common/FileTemporanei.h"
#include "common/PuntiArresto.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStorageInfo>

#include <zip.h>

#include <memory>

namespace quirdal {

namespace {

constexpr qint64 kPezzo = 1 << 20;

// libzip takes file names in UTF-8 on Windows, in the local encoding elsewhere.
QByteArray nomePerZip(const QString &percorso)
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(percorso).toUtf8();
#else
    return QFile::encodeName(percorso);
#endif
}

QString testoErroreZip(int codice)
{
    zip_error_t e;
    zip_error_init_with_code(&e, codice);
    const QString t = QString::fromLocal8Bit(zip_error_strerror(&e));
    zip_error_fini(&e);
    return t;
}

struct ChiudiZip {
    void operator()(zip_t *z) const { zip_discard(z); }
};
using Zip = std::unique_ptr<zip_t, ChiudiZip>;

struct ChiudiFileZip {
    void operator()(zip_file_t *f) const { zip_fclose(f); }
};
using FileZip = std::unique_ptr<zip_file_t, ChiudiFileZip>;

// The base of the volume names: the archive's path without its extension.
QString baseVolumi(const QString &archivio)
{
    const QFileInfo fi(archivio);
    return QDir(fi.path()).filePath(fi.completeBaseName());
}

QString nomeVolume(const QString &base, int n) { return base + QStringLiteral(".z%1").arg(n, 2, 10, QLatin1Char('0')); }

// Copies bytes [da, da + quanti) of the file into a new file under the name, renamed
// into place only when whole.
bool copiaTratto(QFile &sorgente, qint64 da, qint64 quanti, const QString &destinazione)
{
    FileSicuro fuori(destinazione);
    if (!fuori.apri() || !sorgente.seek(da))
        return false;
    while (quanti > 0) {
        const QByteArray b = sorgente.read(std::min(quanti, kPezzo));
        if (b.isEmpty() || !fuori.scrivi(b))
            return false;
        quanti -= b.size();
    }
    puntoDiArresto("archivio-scritto");
    return fuori.conferma();
}

// Reads the archive back: one entry, whose data (checksum included) read to the end
// are as long as the file that went in.
QString verificaArchivio(const QString &archivio, qint64 lunghezzaAttesa)
{
    int codice = 0;
    Zip z(zip_open(nomePerZip(archivio).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &codice));
    if (!z)
        return testoErroreZip(codice);
    if (zip_get_num_entries(z.get(), 0) != 1)
        return QStringLiteral("l'archivio scritto non contiene il file");
    FileZip f(zip_fopen_index(z.get(), 0, 0));
    if (!f)
        return QString::fromLocal8Bit(zip_strerror(z.get()));
    QByteArray buffer(kPezzo, Qt::Uninitialized);
    qint64 letti = 0;
    for (;;) {
        const zip_int64_t n = zip_fread(f.get(), buffer.data(), static_cast<zip_uint64_t>(buffer.size()));
        if (n < 0)
            return QString::fromLocal8Bit(zip_file_strerror(f.get()));
        if (n == 0)
            break;
        letti += n;
    }
    return letti == lunghezzaAttesa ? QString() : QStringLiteral("l'archivio scritto è incompleto");
}

} // namespace

qint64 grandezzaVolume(const QString &percorsoArchivio)
{
    return percorsoArchivio.trimmed().startsWith(QLatin1String("A:"), Qt::CaseInsensitive) ? kGrandezzaVolumeDischetto : 0;
}

QString scriviArchivio(const QString &archivio, const QString &file, const QString &nomeVoce, qint64 volume)
{
    const QFileInfo sorgente(file);
    if (!sorgente.isFile())
        return QStringLiteral("file da archiviare non trovato: ") + QDir::toNativeSeparators(file);
    // Built and checked away from the destination, which only ever receives whole files.
    const auto lavoro = cartellaTemporaneaPrivata(QStringLiteral("salva"));
    if (!lavoro)
        return QStringLiteral("impossibile creare una cartella temporanea");
    const QString temporaneo = lavoro->filePath(QStringLiteral("archivio.zip"));
    {
        int codice = 0;
        Zip z(zip_open(nomePerZip(temporaneo).constData(), ZIP_CREATE | ZIP_TRUNCATE, &codice));
        if (!z)
            return testoErroreZip(codice);
        zip_source_t *s = zip_source_file(z.get(), nomePerZip(file).constData(), 0, -1);
        if (!s)
            return QString::fromLocal8Bit(zip_strerror(z.get()));
        const zip_int64_t indice = zip_file_add(z.get(), nomeVoce.toUtf8().constData(), s, ZIP_FL_ENC_UTF_8);
        if (indice < 0) {
            zip_source_free(s);
            return QString::fromLocal8Bit(zip_strerror(z.get()));
        }
        zip_set_file_compression(z.get(), static_cast<zip_uint64_t>(indice), ZIP_CM_DEFLATE, 9);
        // The file's data are read now.
        zip_t *aperto = z.release();
        if (zip_close(aperto) != 0) {
            const QString e = QString::fromLocal8Bit(zip_strerror(aperto));
            zip_discard(aperto);
            return e;
        }
    }
    if (const QString e = verificaArchivio(temporaneo, sorgente.size()); !e.isEmpty())
        return e;

    QFile completo(temporaneo);
    if (!completo.open(QIODevice::ReadOnly))
        return QStringLiteral("impossibile rileggere l'archivio temporaneo");
    const qint64 totale = completo.size();
    const qint64 passo = volume > 0 ? volume : totale;
    const qint64 volumi = totale <= passo ? 1 : (totale + passo - 1) / passo;
    const QString base = baseVolumi(archivio);
    for (qint64 i = 1; i < volumi; ++i)
        if (!copiaTratto(completo, (i - 1) * passo, passo, nomeVolume(base, static_cast<int>(i))))
            return QStringLiteral("impossibile scrivere ") + QDir::toNativeSeparators(nomeVolume(base, static_cast<int>(i)));
    if (!copiaTratto(completo, (volumi - 1) * passo, totale - (volumi - 1) * passo, archivio))
        return QStringLiteral("impossibile scrivere ") + QDir::toNativeSeparators(archivio);
    // Volumes left by an older, longer archive would be joined to this one.
    for (int i = static_cast<int>(volumi); QFile::exists(nomeVolume(base, i)); ++i)
        QFile::remove(nomeVolume(base, i));
    return {};
}

QStringList volumiArchivio(const QString &archivio)
{
    QStringList r;
    const QString base = baseVolumi(archivio);
    for (int i = 1; QFileInfo(nomeVolume(base, i)).isFile(); ++i)
        r << nomeVolume(base, i);
    r << archivio;
    return r;
}

bool eArchivioZip(const QString &percorso)
{
    auto iniziaComeZip = [](const QString &f) {
        QFile file(f);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        const QByteArray inizio = file.read(4);
        return inizio == QByteArray("PK\x03\x04", 4) || inizio == QByteArray("PK\x05\x06", 4)
            || inizio == QByteArray("PK\x07\x08", 4);
    };
    // The last volume of an archive in volumes is the tail of the archive.
    const QStringList volumi = volumiArchivio(percorso);
    return iniziaComeZip(percorso) || (volumi.size() > 1 && iniziaComeZip(volumi.first()));
}

bool voceSicura(const QString &nome)
{
    if (nome.isEmpty() || nome.contains(QChar(0)) || nome.contains(QLatin1Char(':')) || nome.startsWith(QLatin1Char('/'))
        || nome.startsWith(QLatin1Char('\\')))
        return false;
    static const QRegularExpression separatori(QStringLiteral("[/\\\\]"));
    for (const QString &parte : nome.split(separatori))
        if (parte == QLatin1String(".."))
            return false;
    return true;
}

FileEstratto estraiFileUnico(const QString &archivio, const QString &cartella, const OpzioniEstrazione &opzioni)
{
    FileEstratto r;
    if (!QFileInfo(archivio).isFile()) {
        r.errore = QStringLiteral("Archivio non trovato: ") + QDir::toNativeSeparators(archivio);
        return r;
    }
    // An archive in volumes is read as the volumes joined in order.
    const QStringList volumi = volumiArchivio(archivio);
    QString daAprire = archivio;
    const QString unito = QDir(cartella).filePath(QStringLiteral("volumi-uniti.zip"));
    struct Pulizia {
        QString f;
        ~Pulizia()
        {
            if (!f.isEmpty())
                QFile::remove(f);
        }
    } pulizia;
    if (volumi.size() > 1) {
        QSaveFile fuori(unito);
        bool ok = fuori.open(QIODevice::WriteOnly);
        for (const QString &v : volumi) {
            QFile dentro(v);
            ok = ok && dentro.open(QIODevice::ReadOnly);
            while (ok && !dentro.atEnd()) {
                const QByteArray b = dentro.read(kPezzo);
                ok = !b.isEmpty() && fuori.write(b) == b.size();
            }
        }
        if (!ok || !fuori.commit()) {
            r.errore = QStringLiteral("Impossibile riunire i volumi dell'archivio.");
            return r;
        }
        daAprire = unito;
        pulizia.f = unito;
    }

    int codice = 0;
    Zip z(zip_open(nomePerZip(daAprire).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &codice));
    if (!z) {
        r.errore = QStringLiteral("Il file non è un archivio zip valido (") + testoErroreZip(codice) + QStringLiteral(").");
        return r;
    }
    // Every name first: nothing is written from an archive that holds a name that escapes.
    const zip_int64_t voci = zip_get_num_entries(z.get(), 0);
    zip_int64_t indice = -1;
    int file = 0;
    QString nome;
    for (zip_int64_t i = 0; i < voci; ++i) {
        const char *n = zip_get_name(z.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_GUESS);
        const QString v = n ? QString::fromUtf8(n) : QString();
        if (!voceSicura(v)) {
            r.errore = QStringLiteral("L'archivio contiene un nome di file non ammesso: ") + v + QLatin1Char('.');
            return r;
        }
        if (v.endsWith(QLatin1Char('/')))
            continue; // a folder entry
        ++file;
        indice = i;
        nome = v;
    }
    if (file != 1) {
        r.errore = QStringLiteral("L'archivio deve contenere un solo file, la base dati; ne contiene %1.").arg(file);
        return r;
    }
    static const QRegularExpression separatori(QStringLiteral("[/\\\\]"));
    const QStringList parti = nome.split(separatori, Qt::SkipEmptyParts);
    const QString nomeFile = parti.isEmpty() ? QString() : parti.last();
    zip_stat_t st;
    zip_stat_init(&st);
    if (nomeFile.isEmpty() || nomeFile == QLatin1String(".")
        || zip_stat_index(z.get(), static_cast<zip_uint64_t>(indice), 0, &st) != 0) {
        r.errore = QStringLiteral("L'archivio contiene un nome di file non ammesso: ") + nome + QLatin1Char('.');
        return r;
    }
    if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE) {
        r.errore = QStringLiteral("L'archivio è protetto da password: impossibile leggerlo.");
        return r;
    }
    // The size the archive declares, checked before a byte is written: an archive of a
    // few megabytes may declare gigabytes of zeros.
    if (!(st.valid & ZIP_STAT_SIZE)) {
        r.errore = QStringLiteral("L'archivio non dichiara la grandezza del file che contiene.");
        return r;
    }
    const qint64 attesi = static_cast<qint64>(st.size);
    if (st.size > static_cast<zip_uint64_t>(opzioni.grandezzaMassima)) {
        auto grandezza = [](qint64 byte) {
            return byte < (1 << 20) ? QString::number((byte + 1023) >> 10) + QStringLiteral(" KB")
                                    : QString::number((byte + (1 << 20) - 1) >> 20) + QStringLiteral(" MB");
        };
        r.errore = QStringLiteral("Il file contenuto nell'archivio è troppo grande per essere una base dati del "
                                  "programma (%1; al massimo %2).")
                       .arg(grandezza(attesi), grandezza(opzioni.grandezzaMassima));
        return r;
    }
    const QStorageInfo disco(cartella);
    if (attesi > 0 && disco.isValid() && disco.bytesAvailable() >= 0 && disco.bytesAvailable() < attesi) {
        r.errore = QStringLiteral("Spazio su disco insufficiente per estrarre l'archivio.");
        return r;
    }
    FileZip f(zip_fopen_index(z.get(), static_cast<zip_uint64_t>(indice), 0));
    if (!f) {
        r.errore = QStringLiteral("Impossibile leggere l'archivio (") + QString::fromLocal8Bit(zip_strerror(z.get()))
            + QStringLiteral(").");
        return r;
    }
    auto danneggiato = [&] {
        return QStringLiteral("L'archivio è danneggiato (") + QString::fromLocal8Bit(zip_file_strerror(f.get()))
            + QStringLiteral(").");
    };
    // The first bytes, still in memory, must be those of a database file.
    static const QByteArray kIntestazione("SQLite format 3\0", 16);
    QByteArray inizio(kIntestazione.size(), Qt::Uninitialized);
    qint64 letti = 0;
    while (letti < inizio.size()) {
        const zip_int64_t n = zip_fread(f.get(), inizio.data() + letti, static_cast<zip_uint64_t>(inizio.size() - letti));
        if (n < 0) {
            r.errore = danneggiato();
            return r;
        }
        if (n == 0)
            break;
        letti += n;
    }
    if (letti != inizio.size() || inizio != kIntestazione) {
        r.errore = QStringLiteral("Il file dell'archivio non è una base dati del programma oppure è danneggiato.");
        return r;
    }
    const QString destinazione = QDir(cartella).filePath(nomeFile);
    QSaveFile fuori(destinazione);
    if (!fuori.open(QIODevice::WriteOnly) || fuori.write(inizio) != inizio.size()) {
        fuori.cancelWriting();
        r.errore = QStringLiteral("Impossibile scrivere ") + QDir::toNativeSeparators(destinazione) + QLatin1Char('.');
        return r;
    }
    QByteArray buffer(kPezzo, Qt::Uninitialized);
    qint64 scritti = letti;
    if (opzioni.avanzamento)
        opzioni.avanzamento(scritti, attesi);
    for (;;) {
        const zip_int64_t n = zip_fread(f.get(), buffer.data(), static_cast<zip_uint64_t>(buffer.size()));
        if (n < 0) {
            fuori.cancelWriting();
            r.errore = danneggiato();
            return r;
        }
        if (n == 0)
            break;
        scritti += n;
        // No more than the archive declares: a damaged header must not fill the disk.
        if (scritti > attesi || fuori.write(buffer.constData(), n) != n) {
            fuori.cancelWriting();
            r.errore = QStringLiteral("Impossibile estrarre l'archivio.");
            return r;
        }
        if (opzioni.avanzamento)
            opzioni.avanzamento(scritti, attesi);
    }
    if (scritti != attesi || !fuori.commit()) {
        r.errore = QStringLiteral("Impossibile estrarre l'archivio.");
        return r;
    }
    r.file = destinazione;
    return r;
}

} // namespace quirdal
