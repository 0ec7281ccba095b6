#pragma once
// Windows-1252, the code page of every file the region exchanges with us. A built-in
// table keeps it independent of how Qt was built (ICU or not).
#include <QByteArray>
#include <QString>

namespace quirdal {

QString daWindows1252(const QByteArray &byte);
// Characters outside the code page become '?'.
QByteArray aWindows1252(const QString &testo);
// The same, appended to a buffer (no allocation of its own).
void accodaWindows1252(QByteArray &destinazione, QStringView testo);

} // namespace quirdal
