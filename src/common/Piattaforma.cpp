#include "common/Piattaforma.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>
#include <QUuid>

namespace quirdal {

QDate Piattaforma::oggi() const { return QDate::currentDate(); }
QDateTime Piattaforma::adesso() const { return QDateTime::currentDateTime(); }

bool Piattaforma::apri(const QString &fileOIndirizzo)
{
    const QUrl url = QFileInfo::exists(fileOIndirizzo) ? QUrl::fromLocalFile(fileOIndirizzo) : QUrl(fileOIndirizzo);
    return QDesktopServices::openUrl(url);
}

bool Piattaforma::apriInEditor(const QString &file) { return QDesktopServices::openUrl(QUrl::fromLocalFile(file)); }

QString Piattaforma::nuovoGuid() const { return QUuid::createUuid().toString(QUuid::Id128).toUpper(); }

} // namespace quirdal
