#pragma once
// The peak memory of the test process over a stretch of work (Linux: the kernel's
// high-water mark of the resident set, reset at the start).
#include <QFile>

namespace quirdal::test {

class PiccoMemoria {
public:
    PiccoMemoria()
    {
        // "5" resets the high-water mark to the current resident set.
        QFile azzera(QStringLiteral("/proc/self/clear_refs"));
        if (azzera.open(QIODevice::WriteOnly))
            azzera.write("5");
        m_inizio = corrente(QByteArrayLiteral("VmRSS"));
    }
    // How far the peak rose above the resident set at the start, in MB.
    qint64 crescitaMB() const { return (corrente(QByteArrayLiteral("VmHWM")) - m_inizio) / 1024; }

private:
    static qint64 corrente(const QByteArray &voce)
    {
        QFile f(QStringLiteral("/proc/self/status"));
        if (!f.open(QIODevice::ReadOnly))
            return 0;
        for (const QByteArray &riga : f.readAll().split('\n'))
            if (riga.startsWith(voce + ':'))
                return riga.mid(voce.size() + 1).trimmed().split(' ').first().toLongLong(); // kB
        return 0;
    }
    qint64 m_inizio = 0;
};

} // namespace quirdal::test
