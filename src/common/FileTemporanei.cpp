#include "common/FileTemporanei.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace quirdal {

namespace {

std::filesystem::path percorsoDiSistema(const QString &percorso)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(QDir::toNativeSeparators(percorso).toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(percorso).toStdString());
#endif
}

// The file's data on the disk, not only in the system's cache.
bool suDisco(QFile &f)
{
    if (!f.flush())
        return false;
#ifdef Q_OS_WIN
    return FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(f.handle()))) != 0;
#else
    return ::fsync(f.handle()) == 0;
#endif
}

// Renames over an existing file in one step (the platform's own replace).
bool rinominaSopra(const QString &da, const QString &a)
{
    std::error_code e;
    std::filesystem::rename(percorsoDiSistema(da), percorsoDiSistema(a), e);
    return !e;
}

void rimuoviVoce(const QFileInfo &voce)
{
    if (voce.isSymLink() || !voce.isDir())
        QFile::remove(voce.absoluteFilePath());
    else
        QDir(voce.absoluteFilePath()).removeRecursively();
}

} // namespace

qint64 idProcesso() { return QCoreApplication::applicationPid(); }

bool processoVivo(qint64 pid)
{
    if (pid <= 0)
        return false;
#ifdef Q_OS_WIN
    if (pid > 0xFFFFFFFFLL)
        return false;
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!h)
        return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD codice = 0;
    const bool vivo = GetExitCodeProcess(h, &codice) && codice == STILL_ACTIVE;
    CloseHandle(h);
    return vivo;
#else
    const auto p = static_cast<pid_t>(pid);
    if (p <= 0 || static_cast<qint64>(p) != pid)
        return false;
    return ::kill(p, 0) == 0 || errno == EPERM;
#endif
}

int rimuoviResiduiDiProcessiFiniti(const QString &cartella, const QRegularExpression &nome)
{
    int rimossi = 0;
    const QFileInfoList voci =
        QDir(cartella).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &voce : voci) {
        const QRegularExpressionMatch m = nome.match(voce.fileName());
        if (!m.hasMatch())
            continue;
        bool ok = false;
        const qint64 pid = m.captured(1).toLongLong(&ok);
        if (!ok || pid == idProcesso() || processoVivo(pid))
            continue;
        rimuoviVoce(voce);
        ++rimossi;
    }
    return rimossi;
}

std::unique_ptr<QTemporaryDir> cartellaTemporaneaPrivata(const QString &operazione)
{
    const QString prefisso = QStringLiteral("QUIRDAL-") + operazione + QLatin1Char('-');
    rimuoviResiduiDiProcessiFiniti(
        QDir::tempPath(),
        QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(prefisso) + QStringLiteral("(\\d+)-[A-Za-z0-9]{6}$")));
    auto d = std::make_unique<QTemporaryDir>(
        QDir(QDir::tempPath()).filePath(prefisso + QString::number(idProcesso()) + QStringLiteral("-XXXXXX")));
    if (!d->isValid())
        return nullptr;
    // Made so already; said again where the system's default would be wider.
    QFile::setPermissions(d->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return d;
}

FileSicuro::FileSicuro(const QString &destinazione)
{
    const QFileInfo fi(destinazione);
    // Written through a link to its target, as the platform's own save does.
    m_destinazione = fi.isSymLink() && fi.exists() ? fi.canonicalFilePath() : destinazione;
    const QFileInfo finale(m_destinazione);
    m_temporaneo =
        finale.dir().filePath(finale.fileName() + QLatin1Char('.') + QString::number(idProcesso()) + QStringLiteral(".tmp"));
}

FileSicuro::~FileSicuro()
{
    if (m_file.isOpen())
        m_file.close();
    if (!m_confermato)
        QFile::remove(m_temporaneo);
}

bool FileSicuro::apri()
{
    const QFileInfo finale(m_destinazione);
    rimuoviResiduiDiProcessiFiniti(
        finale.absolutePath(),
        QRegularExpression(QLatin1Char('^') + QRegularExpression::escape(finale.fileName()) + QStringLiteral("\\.(\\d+)\\.tmp$"),
                           QRegularExpression::CaseInsensitiveOption));
    // Ours, from an attempt of this same process that failed.
    QFile::remove(m_temporaneo);
    m_file.setFileName(m_temporaneo);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    if (finale.exists())
        m_file.setPermissions(QFile(m_destinazione).permissions());
    return true;
}

bool FileSicuro::scrivi(const QByteArray &dati) { return m_file.isOpen() && m_file.write(dati) == dati.size(); }

bool FileSicuro::conferma()
{
    if (!m_file.isOpen())
        return false;
    const bool scritto = suDisco(m_file) && m_file.error() == QFileDevice::NoError;
    m_file.close();
    if (!scritto || !rinominaSopra(m_temporaneo, m_destinazione))
        return false;
    m_confermato = true;
    return true;
}

} // namespace quirdal
