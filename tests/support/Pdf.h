#pragma once
// A PDF read back with poppler's own tools, never with the writer that made it.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace quirdal::test {

inline QString eseguiStrumento(const QString &programma, const QStringList &argomenti)
{
    QProcess p;
    p.start(programma, argomenti);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of every page, one entry per page.
inline QStringList paginePdf(const QString &file)
{
    QStringList pagine = eseguiStrumento(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")})
                             .split(QLatin1Char('\f'));
    if (!pagine.isEmpty() && pagine.last().trimmed().isEmpty())
        pagine.removeLast();
    return pagine;
}

// A field of pdfinfo ("Pages", "Title", "Author" ...).
inline QString infoPdf(const QString &file, const QString &campo)
{
    for (const QString &riga : eseguiStrumento(QStringLiteral("pdfinfo"), {file}).split(QLatin1Char('\n')))
        if (riga.startsWith(campo + QLatin1Char(':')))
            return riga.mid(campo.size() + 1).trimmed();
    return {};
}

} // namespace quirdal::test
