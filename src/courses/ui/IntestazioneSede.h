#pragma once
// The heading of the sheets that work on one site: group, operator, site, its name and the
// province, each in a framed label, then the caption and code of what the sheet shows.
#include <QHBoxLayout>
#include <QString>

class QLabel;

namespace quirdal {

struct Sessione;

class IntestazioneSede : public QHBoxLayout {
public:
    explicit IntestazioneSede(const Sessione &s);
    // A framed label added to the heading.
    QLabel *etichetta(const char *nome, const QString &testo);
    // The caption and the bold framed label of the code of what the sheet shows.
    QLabel *codice(const QString &didascalia, const char *nome, const QString &testo);
};

} // namespace quirdal
