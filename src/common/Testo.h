#pragma once
#include <QString>

namespace quirdal {

inline const QString CRLF = QStringLiteral("\r\n");

// The program's version as major.minor.revision.
QString versioneProgramma();

// The text's quotes doubled, for use inside an SQL literal.
QString raddoppiaApici(const QString &testo);

} // namespace quirdal
