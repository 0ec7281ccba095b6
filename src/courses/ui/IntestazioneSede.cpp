#include "courses/ui/IntestazioneSede.h"

#include "common/Sessione.h"

#include <QFrame>
#include <QLabel>

namespace quirdal {

IntestazioneSede::IntestazioneSede(const Sessione &s)
{
    etichetta("lblGrOpe", s.gGrupOpe);
    etichetta("lblOpe", s.gOperatore);
    etichetta("lblCompo", s.gCompo);
    etichetta("lblDenCompo", s.gDenCompo)->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    etichetta("lblDesProv", s.gDesProv);
}

QLabel *IntestazioneSede::etichetta(const char *nome, const QString &testo)
{
    auto *l = new QLabel(testo);
    l->setObjectName(QString::fromLatin1(nome));
    l->setFrameShape(QFrame::StyledPanel);
    addWidget(l);
    return l;
}

QLabel *IntestazioneSede::codice(const QString &didascalia, const char *nome, const QString &testo)
{
    addWidget(new QLabel(didascalia));
    QLabel *l = etichetta(nome, testo);
    QFont g = l->font();
    g.setBold(true);
    l->setFont(g);
    return l;
}

} // namespace quirdal
