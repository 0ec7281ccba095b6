#pragma once
// One year of a course's costs ("3.2.1 Preventivo di spesa del corso - Primo Anno" and the
// two after it): the lines A1, A2, 16 and 17.3 with their totals, the operator's shares, the
// provider and the breakdown a) to e). The totals come from the money module as the user types.
#include "courses/Spese.h"

#include <QWidget>
#include <functional>

class QLabel;
class QLineEdit;

namespace quirdal {

struct Contesto;
struct StatoScheda;

class FrmAnno : public QWidget {
    Q_OBJECT
public:
    // anno: 0 to 2; oreAnnue: the course's annual hours as typed, from which line 17.3 is computed.
    FrmAnno(Contesto &c, const StatoScheda &stato, int anno, std::function<qlonglong()> oreAnnue, QWidget *padre = nullptr);

    void mostra(const SpeseAnno &s);
    // The year as typed, its breakdown computed.
    SpeseAnno leggi() const;
    // The lines the action and type admit (a closed line counts for nothing); the year's page
    // is open only within the course's duration.
    void aggiornaLinee(const LineeAmmesse &l, bool entroDurata);

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void ricalcola();

    Contesto &m_c;
    const StatoScheda &m_stato;
    std::function<qlonglong()> m_oreAnnue;
    LineeAmmesse m_linee;
    QLineEdit *a1, *oreA1, *allA1, *a2, *oreA2, *allA2, *p16, *ore16, *all16, *p17_3, *all17_3, *piu, *meno, *ente;
    std::array<QLineEdit *, 5> perc, dett;
    QLabel *totA1, *totA2, *tot16, *tot17_3, *totAnno, *tot;
    QList<QWidget *> lineaA2, linea16, lineaQuote, linea17_3;
};

} // namespace quirdal
