#include "operator/ui/CampiScheda.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QStringList>
#include <QTableWidget>

namespace quirdal {

QLabel *etichetta(const char *nome, bool riquadro)
{
    auto *l = new QLabel;
    l->setObjectName(QString::fromLatin1(nome));
    if (riquadro) {
        l->setFrameShape(QFrame::StyledPanel);
        l->setMinimumWidth(60);
        l->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    return l;
}

QLineEdit *campo(const char *nome, int lunghezza)
{
    auto *e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(nome));
    e->setMaxLength(lunghezza);
    return e;
}

QTableWidget *griglia(const char *nome, const QStringList &intestazioni)
{
    auto *g = new QTableWidget(0, static_cast<int>(intestazioni.size()));
    g->setObjectName(QString::fromLatin1(nome));
    g->setHorizontalHeaderLabels(intestazioni);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->verticalHeader()->hide();
    g->verticalHeader()->setDefaultSectionSize(g->fontMetrics().height() + 6);
    g->horizontalHeader()->setStretchLastSection(true);
    g->setMinimumHeight(110);
    return g;
}

QScrollArea *scorrevole(QWidget *pagina)
{
    auto *a = new QScrollArea;
    a->setWidget(pagina);
    a->setWidgetResizable(true);
    a->setFrameShape(QFrame::NoFrame);
    return a;
}

} // namespace quirdal
