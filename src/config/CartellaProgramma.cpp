#include "config/CartellaProgramma.h"

#include "common/Errori.h"
#include "config/Installazione.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace quirdal {

QString cartellaProgramma(const QString &home, const QString &cartellaEseguibile, const QString &documenti)
{
    if (!home.isEmpty())
        return QDir(home).absolutePath();
    if (!cartellaEseguibile.isEmpty() && QFileInfo(QDir(cartellaEseguibile).filePath(kNomeIni)).isFile())
        return QDir(cartellaEseguibile).absolutePath();
    return QDir(documenti).absoluteFilePath(kNomeCartellaUtente);
}

QString cartellaProgramma()
{
    QString documenti = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documenti.isEmpty())
        documenti = QDir::homePath();
    return cartellaProgramma(qEnvironmentVariable("QUIRDAL_HOME"), QCoreApplication::applicationDirPath(), documenti);
}

QString cartellaModello(const QString &cartellaEseguibile)
{
    const QFileInfo modello(QDir(cartellaEseguibile).filePath(QStringLiteral(QUIRDAL_CARTELLA_MODELLO)));
    return modello.isDir() && QFileInfo(QDir(modello.filePath()).filePath(kNomeIni)).isFile() ? modello.canonicalFilePath()
                                                                                              : QString();
}

QString cartellaModello() { return cartellaModello(QCoreApplication::applicationDirPath()); }

bool cartellaDaPreparare(const QString &cartella) { return !QFileInfo(QDir(cartella).filePath(kNomeIni)).exists(); }

namespace {

void copiaFile(const QString &da, const QString &a)
{
    QFile sorgente(da);
    if (!sorgente.open(QIODevice::ReadOnly))
        throw Errore(codici::FileNonTrovato,
                     QStringLiteral("Impossibile leggere ") + da + QStringLiteral(": ") + sorgente.errorString());
    if (!QDir().mkpath(QFileInfo(a).path()))
        throw Errore(codici::Generico, QStringLiteral("Impossibile creare la cartella ") + QFileInfo(a).path());
    QSaveFile destinazione(a);
    if (!destinazione.open(QIODevice::WriteOnly))
        throw Errore(codici::Generico,
                     QStringLiteral("Impossibile scrivere ") + a + QStringLiteral(": ") + destinazione.errorString());
    while (!sorgente.atEnd()) {
        const QByteArray blocco = sorgente.read(1 << 16);
        if (blocco.isEmpty() && sorgente.error() != QFileDevice::NoError)
            throw Errore(codici::Generico,
                         QStringLiteral("Impossibile leggere ") + da + QStringLiteral(": ") + sorgente.errorString());
        if (destinazione.write(blocco) != blocco.size())
            throw Errore(codici::Generico,
                         QStringLiteral("Impossibile scrivere ") + a + QStringLiteral(": ") + destinazione.errorString());
    }
    if (!destinazione.commit())
        throw Errore(codici::Generico,
                     QStringLiteral("Impossibile scrivere ") + a + QStringLiteral(": ") + destinazione.errorString());
}

bool eAiuto(const QString &relativo)
{
    return relativo == QLatin1String("QUIRDAL.html") || relativo.startsWith(QLatin1String("aiuto/"));
}

bool stessoContenuto(const QString &a, const QString &b)
{
    QFile fa(a), fb(b);
    if (fa.size() != fb.size() || !fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly))
        return false;
    while (!fa.atEnd())
        if (fa.read(1 << 16) != fb.read(1 << 16))
            return false;
    return true;
}

// The model's files, relative to it, in order.
QStringList fileDelModello(const QString &cartella, const QString &modello)
{
    const QDir da(modello);
    if (modello.isEmpty() || !da.exists())
        throw Errore(codici::FileNonTrovato, QStringLiteral("Modello della cartella del programma non trovato: ") + modello);
    if (!QDir().mkpath(cartella))
        throw Errore(codici::Generico, QStringLiteral("Impossibile creare la cartella ") + cartella);
    QStringList file;
    QDirIterator it(modello, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        file << da.relativeFilePath(it.next());
    file.sort();
    return file;
}

} // namespace

QStringList aggiornaAiuto(const QString &cartella, const QString &modello)
{
    const QDir da(modello), a(cartella);
    QStringList copiati;
    for (const QString &f : fileDelModello(cartella, modello)) {
        if (!eAiuto(f) || stessoContenuto(da.filePath(f), a.filePath(f)))
            continue;
        copiaFile(da.filePath(f), a.filePath(f));
        copiati << f;
    }
    return copiati;
}

QStringList preparaCartella(const QString &cartella, const QString &modello)
{
    const QDir da(modello);
    QStringList file = fileDelModello(cartella, modello);
    // The INI last: its presence is what says that the folder is ready.
    if (file.removeAll(kNomeIni) > 0)
        file << kNomeIni;
    const QDir a(cartella);
    QStringList copiati;
    for (const QString &f : file) {
        if (QFileInfo::exists(a.filePath(f)) && !(eAiuto(f) && !stessoContenuto(da.filePath(f), a.filePath(f))))
            continue;
        copiaFile(da.filePath(f), a.filePath(f));
        copiati << f;
    }
    return copiati;
}

} // namespace quirdal
