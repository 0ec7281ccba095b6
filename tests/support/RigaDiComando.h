#pragma once
// quirdal-cli run as a batch job runs it: in its own process, on a program folder, with
// what it printed and its exit status kept for the test.
#include <QDir>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace quirdal::test {

struct EsitoCli {
    int codice = -1;
    QString out, err;
    // Empty when the tool succeeded; else its code and what it wrote on stderr.
    QString errore() const { return codice ? QStringLiteral("%1: %2").arg(codice).arg(err) : QString(); }
    QStringList righe() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

// The tool on the folder, run from inside it (when it exists) so that relative paths are
// the folder's.
inline EsitoCli cli(const QString &cartella, const QStringList &argomenti)
{
    QProcess p;
    if (QDir(cartella).exists())
        p.setWorkingDirectory(cartella);
    p.start(qEnvironmentVariable("QUIRDAL_TEST_CLI"), QStringList{QStringLiteral("--cartella"), cartella} + argomenti);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace quirdal::test
