#pragma once
#include <QString>

namespace quirdal {

inline const QString CRLF = QStringLiteral("\r\n");

// The program's version as major.minor.revision.
QString versioneProgramma();

// The text's quotes doubled, for use inside an SQL literal.
QString raddoppiaApici(const QString &testo);

// True for a character no free text may hold: C0 controls except CR and LF, DEL, and the
// C1 controls (where the five bytes Windows-1252 leaves undefined end up once decoded).
constexpr bool carattereDiControllo(char16_t c) { return (c < 0x20 && c != u'\r' && c != u'\n') || (c >= 0x7F && c <= 0x9F); }

// A free text without control characters: a tab becomes a blank, every other control
// character goes; CR and LF stay, for the rules of whoever takes the text (a single-line
// value turns them into blanks). A clean text comes back as it is, without a copy.
QString senzaCaratteriDiControllo(const QString &testo);

} // namespace quirdal
