#pragma once
// What the sections of the prints share to read the database: rows as maps of their
// columns, a column as text or as a flag, a code with its description.
#include "db/CorsiDB.h"
#include "printing/CatalogoStampa.h"

#include <QString>
#include <QVariantMap>

namespace quirdal::stampa {

using Riga = QVariantMap;

inline QList<Riga> righe(CorsiDB &db, const Istruzione &i, const QVariantList &parametri) { return db.righe(i, parametri); }
inline Riga riga(CorsiDB &db, const Istruzione &i, const QVariantList &parametri) { return db.righe(i, parametri).value(0); }

inline QString t(const Riga &r, const char *campo) { return r.value(QString::fromLatin1(campo)).toString(); }
inline bool vero(const Riga &r, const char *campo) { return r.value(QString::fromLatin1(campo)).toInt() != 0; }
inline QString codiceDescrizione(const QString &codice, const QString &descrizione)
{
    if (codice.isEmpty())
        return descrizione;
    return descrizione.isEmpty() ? codice : codice + QStringLiteral(" - ") + descrizione;
}

} // namespace quirdal::stampa
