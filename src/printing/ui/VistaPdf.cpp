#include "printing/ui/VistaPdf.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QScrollBar>

#include <algorithm>

namespace quirdal {

namespace {

constexpr int kMargine = 8, kSpazio = 8;
constexpr qreal kZoomMinimo = 0.25, kZoomMassimo = 6.0;
// The pages kept once drawn, in KiB: a few pages at reading size.
constexpr int kMemoriaPagine = 32 * 1024;

} // namespace

VistaPdf::VistaPdf(QPdfDocument *documento, QWidget *padre) : QAbstractScrollArea(padre), m_doc(documento)
{
    m_immagini.setMaxCost(kMemoriaPagine);
    const int n = std::max(0, m_doc->pageCount());
    m_punti.reserve(n);
    for (int p = 0; p < n; ++p)
        m_punti << m_doc->pagePointSize(p);
    setFocusPolicy(Qt::StrongFocus);
    // Always there: a bar that came and went would change the width the pages fit.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(24);
    horizontalScrollBar()->setSingleStep(24);
    disponi();
}

QList<int> VistaPdf::ordinate(QList<int> l)
{
    std::sort(l.begin(), l.end());
    return l;
}

qreal VistaPdf::scala() const
{
    if (m_adatta) {
        qreal larghezza = 0;
        for (const QSizeF &s : m_punti)
            larghezza = std::max(larghezza, s.width());
        return larghezza > 0 ? std::max<qreal>(viewport()->width() - 2 * kMargine, 50) / larghezza : 1;
    }
    return m_zoom * logicalDpiX() / 72.0;
}

qreal VistaPdf::zoom() const { return m_adatta ? scala() * 72.0 / logicalDpiX() : m_zoom; }

void VistaPdf::disponi()
{
    const qreal s = scala();
    m_cime.resize(pagine());
    m_misure.resize(pagine());
    int y = kMargine, larghezza = 0;
    for (int p = 0; p < pagine(); ++p) {
        const QSize m(qRound(m_punti[p].width() * s), qRound(m_punti[p].height() * s));
        if (m != m_misure[p])
            m_immagini.remove(p);
        m_misure[p] = m;
        m_cime[p] = y;
        y += m.height() + kSpazio;
        larghezza = std::max(larghezza, m.width());
    }
    m_altezza = y - kSpazio + kMargine;
    m_larghezza = larghezza + 2 * kMargine;
    verticalScrollBar()->setRange(0, std::max(0, m_altezza - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    horizontalScrollBar()->setRange(0, std::max(0, m_larghezza - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    viewport()->update();
}

void VistaPdf::adattaLarghezza()
{
    m_adatta = true;
    disponi();
    vaiA(m_pagina);
}

void VistaPdf::ingrandisci(qreal fattore)
{
    m_zoom = std::clamp(zoom() * fattore, kZoomMinimo, kZoomMassimo);
    m_adatta = false;
    disponi();
    vaiA(m_pagina);
}

int VistaPdf::paginaA(int y) const
{
    const auto it = std::upper_bound(m_cime.cbegin(), m_cime.cend(), y);
    return std::max(0, int(it - m_cime.cbegin()) - 1);
}

void VistaPdf::vaiA(int p)
{
    if (pagine() == 0)
        return;
    m_pagina = std::clamp(p, 0, pagine() - 1);
    m_salto = true;
    verticalScrollBar()->setValue(m_cime[m_pagina]);
    m_salto = false;
    viewport()->update();
    Q_EMIT paginaCambiata(m_pagina);
}

void VistaPdf::mostraZona(int p, const QRectF &zona)
{
    if (p < 0 || p >= pagine() || m_punti[p].height() <= 0)
        return;
    const qreal sy = m_misure[p].height() / m_punti[p].height();
    const int y = m_cime[p] + qRound(zona.top() * sy) - viewport()->height() / 3;
    m_pagina = p;
    m_salto = true;
    verticalScrollBar()->setValue(std::max(y, m_cime[p] - kMargine));
    m_salto = false;
    viewport()->update();
    Q_EMIT paginaCambiata(p);
}

void VistaPdf::aggiornaPagina()
{
    if (pagine() == 0)
        return;
    const QScrollBar *b = verticalScrollBar();
    // The page across the upper third of the view; at the end of the document, the last.
    const int p = b->value() >= b->maximum() && b->maximum() > 0 ? pagine() - 1 : paginaA(b->value() + viewport()->height() / 3);
    if (p != m_pagina) {
        m_pagina = p;
        Q_EMIT paginaCambiata(p);
    }
}

void VistaPdf::scrollContentsBy(int, int)
{
    viewport()->update();
    if (!m_salto)
        aggiornaPagina();
}

void VistaPdf::resizeEvent(QResizeEvent *e)
{
    QAbstractScrollArea::resizeEvent(e);
    disponi();
    if (m_adatta)
        vaiA(m_pagina);
}

QRect VistaPdf::rettangoloPagina(int p) const
{
    const QSize m = m_misure.value(p);
    const int x = (std::max(m_larghezza, viewport()->width()) - m.width()) / 2 - horizontalScrollBar()->value();
    return QRect(QPoint(x, m_cime.value(p) - verticalScrollBar()->value()), m);
}

QRectF VistaPdf::inVista(int p, const QRectF &punti) const
{
    const QRect pagina = rettangoloPagina(p);
    const QSizeF dim = m_punti.value(p);
    if (dim.isEmpty())
        return {};
    const qreal sx = pagina.width() / dim.width(), sy = pagina.height() / dim.height();
    return QRectF(pagina.left() + punti.left() * sx, pagina.top() + punti.top() * sy, punti.width() * sx, punti.height() * sy);
}

void VistaPdf::segna(const QList<Segno> &segni, int corrente)
{
    m_segni = segni;
    m_segniPerPagina.clear();
    m_zone.clear();
    for (int i = 0; i < m_segni.size(); ++i)
        m_segniPerPagina[m_segni[i].pagina] << i;
    m_corrente = corrente;
    viewport()->update();
}

QList<QRectF> VistaPdf::zoneSegno(int segno)
{
    if (segno < 0 || segno >= m_segni.size())
        return {};
    auto it = m_zone.constFind(segno);
    if (it == m_zone.cend()) {
        const Segno &s = m_segni[segno];
        QList<QRectF> zone;
        for (const QPolygonF &poligono : m_doc->getSelectionAtIndex(s.pagina, s.indice, s.lunghezza).bounds())
            zone << poligono.boundingRect();
        it = m_zone.insert(segno, zone);
    }
    return *it;
}

void VistaPdf::paintEvent(QPaintEvent *)
{
    QPainter p(viewport());
    if (pagine() == 0)
        return;
    const qreal dpr = devicePixelRatioF();
    const int alto = verticalScrollBar()->value(), basso = alto + viewport()->height();
    for (int n = paginaA(alto); n < pagine() && m_cime[n] < basso; ++n) {
        const QRect r = rettangoloPagina(n);
        QImage immagine;
        if (const QImage *tenuta = m_immagini.object(n)) {
            immagine = *tenuta;
        } else {
            immagine = m_doc->render(n, (QSizeF(r.size()) * dpr).toSize());
            immagine.setDevicePixelRatio(dpr);
            m_immagini.insert(n, new QImage(immagine), std::max<qsizetype>(1, immagine.sizeInBytes() / 1024));
        }
        p.fillRect(r, Qt::white);
        p.drawImage(r.topLeft(), immagine);
        for (const int segno : m_segniPerPagina.value(n)) {
            const bool corrente = segno == m_corrente;
            for (const QRectF &zona : zoneSegno(segno)) {
                const QRectF v = inVista(n, zona).adjusted(-1, -1, 1, 1);
                p.fillRect(v, corrente ? QColor(255, 140, 0, 120) : QColor(255, 220, 0, 100));
                if (corrente) {
                    p.setPen(QPen(QColor(230, 90, 0), 1.5));
                    p.drawRect(v);
                }
            }
        }
    }
}

} // namespace quirdal
