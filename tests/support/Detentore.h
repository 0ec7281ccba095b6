#pragma once
// A second process holding the database open (tieni_db), as another workstation would,
// until the object goes. risposta is "PRONTO" once it holds it, "ERRORE n" when refused.
#include <QProcess>
#include <QString>

namespace quirdal::test {

class Detentore {
public:
    Detentore(const QString &db, const QString &modo)
    {
        m_p.start(qEnvironmentVariable("QUIRDAL_TEST_HOLDER"), {db, modo});
        m_p.waitForStarted();
        m_p.waitForReadyRead(10000);
        risposta = QString::fromLatin1(m_p.readAll()).trimmed();
    }
    ~Detentore()
    {
        m_p.closeWriteChannel();
        if (!m_p.waitForFinished(5000))
            m_p.kill();
    }
    Detentore(const Detentore &) = delete;
    Detentore &operator=(const Detentore &) = delete;
    QString risposta;

private:
    QProcess m_p;
};

} // namespace quirdal::test
