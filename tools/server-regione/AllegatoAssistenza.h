#pragma once
// The assistance request as the region's services receive it: the checks of its fields,
// and the upload of a request with the database attached (multipart/form-data).
#include "ServerRegione.h"

#include <QList>
#include <QPair>
#include <QString>

namespace regione {

// "" when the request's fields are acceptable, else the reason.
QString controllaCampiAssistenza(const QList<QPair<QString, QString>> &campi);

// The upload of a request with its archive: the fields checked, the archive stored in
// the folder under its own name, an HTML page in reply.
Risposta allegatoAssistenza(const Richiesta &r, const QString &ricevuti, int pratica);

} // namespace regione
