#pragma once
// Opening files and addresses, the text editor, the clock, GUIDs: behind one seam
// so that tests fix the date and record what would have been opened.
#include <QDate>
#include <QString>
#include <QStringList>

namespace quirdal {

class Piattaforma {
public:
    virtual ~Piattaforma() = default;
    virtual QDate oggi() const;
    virtual QDateTime adesso() const;
    virtual bool apri(const QString &fileOIndirizzo);
    virtual bool apriInEditor(const QString &file);
    virtual QString nuovoGuid() const; // 32 hexadecimal digits
};

} // namespace quirdal
