#pragma once
// Files as the tests write and read them, and the record lines of the data files.
#include "common/Codifica.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>

namespace quirdal::test {

using namespace Qt::StringLiterals;

inline bool scriviFile(const QString &percorso, const QByteArray &contenuto)
{
    QFile f(percorso);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(contenuto) == contenuto.size();
}

// Empty when the file is missing.
inline QByteArray leggiFile(const QString &percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One record line of a data file: #a#,#b#,... in Windows-1252, ended by CR LF.
inline QByteArray riga(const QStringList &campi) { return aWindows1252(u'#' + campi.join(u"#,#"_s) + u"#\r\n"_s); }

} // namespace quirdal::test
