#pragma once
// Moving courses of the current operator and province from one site to another: one main
// course or every course of the site, always with its merged courses, cost rows, check
// values, linked companies and handicap sheets, in one transaction.
#include "common/Verifica.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace quirdal {

class CorsiDB;
struct Sessione;

struct SedeRiassegnazione {
    qlonglong numero = 0;
    bool occasionale = false;
    QString voce; // "n - name - type - address", an occasional site ending in "   (SEDE OCCASIONALE)"
};

// The sites of the province that have courses, in number order.
QList<SedeRiassegnazione> sediConCorsi(CorsiDB &db, const Sessione &s);
// Every other site of the operator in the province: components first, then occasional sites.
QList<SedeRiassegnazione> sediDestinazione(CorsiDB &db, const Sessione &s, qlonglong da);
// The main courses of the site: "Corso-DesQualif".
QStringList vociCorsiDaSpostare(CorsiDB &db, const Sessione &s, qlonglong da);

// The site number of a list entry (the text before the first " - "), -1 when there is none.
qlonglong sedeDellaVoce(const QString &voce);
// A move from a component to an occasional site names the component responsible for it.
inline bool serveCompoResp(qlonglong da, qlonglong a) { return da < 1000 && a >= 1000; }

struct Riassegnazione {
    qlonglong da = -1, a = -1;
    bool tutti = true; // every course of the site, or only corso
    QString corso;     // four digits
    QString compoResp; // the responsible component, for a move to an occasional site
};

// The first rule the move breaks; valid when it may run.
EsitoVerifica verificaRiassegnazione(CorsiDB &db, const Sessione &s, const Riassegnazione &r);
// Moves the courses in one transaction and returns how many course rows (main and merged)
// moved. A refused move or a failure on any row throws Errore and leaves every row where
// it was. A handicap sheet whose number the new site already uses gets the site's next one.
int riassegnaCorsi(CorsiDB &db, const Sessione &s, const Riassegnazione &r);

} // namespace quirdal
