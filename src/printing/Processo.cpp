#include "printing/Processo.h"

#include <QCoreApplication>

#include <limits>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <sys/types.h>
#endif

namespace quirdal {

bool processoVivo(qint64 pid)
{
    if (pid <= 0)
        return false;
    if (pid == QCoreApplication::applicationPid())
        return true;
#ifdef Q_OS_WIN
    if (pid > qint64(std::numeric_limits<DWORD>::max()))
        return false;
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!h)
        return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD codice = 0;
    const bool vivo = GetExitCodeProcess(h, &codice) && codice == STILL_ACTIVE;
    CloseHandle(h);
    return vivo;
#else
    if (pid > qint64(std::numeric_limits<pid_t>::max()))
        return false;
    // Signal 0 only asks: no such process is ESRCH; EPERM is someone else's, running.
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#endif
}

} // namespace quirdal
