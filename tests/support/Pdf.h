#pragma once
// A PDF read back with poppler's own tools, never with the writer that made it.
#include <QProcess>
#include <QStringList>

namespace quirdal::test {

inline QString eseguiStrumento(const QString &programma, const QStringList &argomenti)
{
    QProcess p;
    p.start(programma, argomenti);
    return p.waitForFinished(60000) && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

// The text of every page, one entry per page.
inline QStringList paginePdf(const QString &file)
{
    QStringList pagine = eseguiStrumento(u"pdftotext"_qs, {u"-layout"_qs, file, u"-"_qs}).split(u'\f');
    if (!pagine.isEmpty() && pagine.last().trimmed().isEmpty())
        pagine.removeLast();
    return pagine;
}

// The whole text, pages one after the other.
inline QString testoPdf(const QString &file) { return paginePdf(file).join(u'\n'); }

// A field of pdfinfo ("Pages", "Title", "Author" ...).
inline QString infoPdf(const QString &file, const QString &campo)
{
    for (const QString &riga : eseguiStrumento(u"pdfinfo"_qs, {file}).split(u'\n'))
        if (riga.startsWith(campo + u':'))
            return riga.mid(campo.size() + 1).trimmed();
    return {};
}

// The fonts of the document as pdffonts lists them: one line per font, its name first and
// its "emb" column ("yes" when embedded) among the rest.
inline QStringList fontPdf(const QString &file)
{
    QStringList r = eseguiStrumento(u"pdffonts"_qs, {file}).split(u'\n', Qt::SkipEmptyParts);
    return r.mid(2); // past the heading and its rule
}

// The XMP metadata packet of the document, as pdfinfo -meta prints it.
inline QString xmpPdf(const QString &file) { return eseguiStrumento(u"pdfinfo"_qs, {u"-meta"_qs, file}); }

} // namespace quirdal::test
