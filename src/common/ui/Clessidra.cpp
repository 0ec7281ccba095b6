#include "common/ui/Clessidra.h"

#include <QApplication>
#include <QCursor>

namespace quirdal {

QList<Clessidra *> Clessidra::s_attive;

Clessidra::Clessidra(bool mostrata)
{
    s_attive.append(this);
    mostra(mostrata);
}

Clessidra::~Clessidra()
{
    mostra(false);
    s_attive.removeOne(this);
}

void Clessidra::mostra(bool si)
{
    if (si == m_mostrata)
        return;
    m_mostrata = si;
    // Qt keeps the override cursors on a stack; every guard pushes the same shape, so a
    // guard that pops the top one leaves the others' count right whatever the order.
    if (si)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void Clessidra::togliTutte()
{
    for (Clessidra *c : std::as_const(s_attive))
        c->mostra(false);
}

} // namespace quirdal
