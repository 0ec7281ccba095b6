#pragma once
// The pages of a PDF one below the other at reading size. A page is drawn only when it
// comes into view, and only the last few drawn are kept, so that a print of thousands of
// pages opens at once and scrolls in the memory of a few. The places a search found are
// marked on the pages shown, the one the search is at more strongly than the others.
#include <QAbstractScrollArea>
#include <QCache>
#include <QHash>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>

class QPdfDocument;

namespace quirdal {

class VistaPdf : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit VistaPdf(QPdfDocument *documento, QWidget *padre = nullptr);

    int pagine() const { return int(m_punti.size()); }
    int pagina() const { return m_pagina; } // the page shown, from 0
    // Page p in view, from its top.
    void vaiA(int p);
    // Page p in view with a place of it (in points) a third of the way down, when the page
    // reaches that far.
    void mostraZona(int p, const QRectF &zona);

    // The pages as wide as the view, or a factor of their printed size on this screen.
    void adattaLarghezza();
    void ingrandisci(qreal fattore);
    qreal zoom() const; // 1: the printed size

    // A place of a page's text to mark: from its character indice, lunghezza characters.
    struct Segno {
        int pagina, indice, lunghezza;
    };
    // The places the search found, and the one it is at (-1 none).
    void segna(const QList<Segno> &segni, int corrente);

    // Where page p is, and a rectangle of it in points, in the coordinates of the viewport.
    QRect rettangoloPagina(int p) const;
    QRectF inVista(int p, const QRectF &punti) const;
    // The rectangles of a mark's text, in points.
    QList<QRectF> zoneSegno(int segno);
    // The pages drawn and kept, in order.
    QList<int> pagineDisegnate() const { return ordinate(m_immagini.keys()); }

Q_SIGNALS:
    void paginaCambiata(int pagina);

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    static QList<int> ordinate(QList<int> l);
    void disponi();
    qreal scala() const; // pixels a point
    int paginaA(int y) const;
    void aggiornaPagina();

    QPdfDocument *m_doc;
    QList<QSizeF> m_punti; // each page's size in points
    QList<int> m_cime;     // each page's top in the document, in pixels
    QList<QSize> m_misure; // each page's size in pixels
    int m_altezza = 0, m_larghezza = 0;
    bool m_adatta = true;
    qreal m_zoom = 1;
    int m_pagina = 0;
    bool m_salto = false;
    QCache<int, QImage> m_immagini; // by page, at the present scale
    QList<Segno> m_segni;
    QHash<int, QList<int>> m_segniPerPagina;
    QHash<int, QList<QRectF>> m_zone; // by mark
    int m_corrente = -1;
};

} // namespace quirdal
