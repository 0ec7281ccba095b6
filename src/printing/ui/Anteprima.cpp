// The print preview over Qt PDF. The search reads each page's text itself, page by page, so
// that a result is known the moment "Cerca" is pressed.
#include "printing/ui/Anteprima.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/FileTemporanei.h"
#include "common/Piattaforma.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "printing/ui/VistaPdf.h"

#include <QCache>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QPushButton>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace quirdal {

namespace {

constexpr int kLarghezzaMiniatura = 110;
constexpr double kPassoZoom = 1.25;
// The thumbnails kept once drawn: a few screens' worth, whatever the pages.
constexpr int kMiniatureTenute = 120;

QPushButton *bottone(QHBoxLayout *riga, const char *nome, const QString &testo, const QString &suggerimento = {})
{
    QPushButton *b = pulsante(nome, testo);
    b->setAutoDefault(false);
    if (!suggerimento.isEmpty())
        b->setToolTip(suggerimento);
    riga->addWidget(b);
    return b;
}

// The same file, whether or not the name given exists yet.
bool stessoFile(const QString &a, const QString &b)
{
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

// The text with every run of white space (line ends included) as one space, so that a phrase
// is found across the lines of the page; dove[i] is where its character i was in the text.
QString compatto(const QString &testo, QList<int> &dove)
{
    QString r;
    dove.clear();
    bool spazio = false;
    for (int i = 0; i < testo.size(); ++i) {
        if (testo.at(i).isSpace()) {
            spazio = true;
            continue;
        }
        if (spazio && !r.isEmpty()) {
            r += QLatin1Char(' ');
            dove << i - 1;
        }
        spazio = false;
        r += testo.at(i);
        dove << i;
    }
    return r;
}

} // namespace

// The thumbnails of the list, each drawn from the document the first time it is shown and
// kept among the last ones drawn: the list holds only the pages' numbers.
class Miniature : public QStyledItemDelegate {
public:
    Miniature(QPdfDocument *doc, QObject *padre) : QStyledItemDelegate(padre), m_doc(doc)
    {
        m_tenute.setMaxCost(kMiniatureTenute);
    }

    QList<int> disegnate() const
    {
        QList<int> l = m_tenute.keys();
        std::sort(l.begin(), l.end());
        return l;
    }
    QSize sizeHint(const QStyleOptionViewItem &o, const QModelIndex &) const override
    {
        return QSize(kLarghezzaMiniatura, altezza(0)) + QSize(8, o.fontMetrics.height() + 12);
    }
    void paint(QPainter *p, const QStyleOptionViewItem &o, const QModelIndex &i) const override
    {
        QStyleOptionViewItem v = o;
        initStyleOption(&v, i);
        const QWidget *w = o.widget;
        const int pagina = i.row();
        const QSize misura(kLarghezzaMiniatura, altezza(pagina));
        const QRect dove(o.rect.left() + (o.rect.width() - misura.width()) / 2, o.rect.top() + 4, misura.width(),
                         misura.height());
        const QImage *tenuta = m_tenute.object(pagina);
        if (!tenuta) {
            const qreal dpr = w ? w->devicePixelRatioF() : 1;
            auto *nuova = new QImage(m_doc->render(pagina, (QSizeF(misura) * dpr).toSize()));
            nuova->setDevicePixelRatio(dpr);
            m_tenute.insert(pagina, nuova);
            tenuta = nuova;
        }
        p->fillRect(dove, Qt::white);
        p->drawImage(dove.topLeft(), *tenuta);
        const bool scelta = v.state & QStyle::State_Selected;
        const QRect numero(o.rect.left(), dove.bottom() + 3, o.rect.width(), o.fontMetrics.height() + 2);
        if (scelta) {
            // The page shown: a frame of the selection's colour and its number on it.
            p->setPen(QPen(v.palette.color(QPalette::Highlight), 3));
            p->drawRect(dove.adjusted(-2, -2, 1, 1));
            p->fillRect(numero, v.palette.color(QPalette::Highlight));
        } else {
            p->setPen(QColor(0x88, 0x88, 0x88));
            p->drawRect(dove.adjusted(0, 0, -1, -1));
        }
        p->setPen(v.palette.color(scelta ? QPalette::HighlightedText : QPalette::Text));
        p->drawText(numero, Qt::AlignCenter, v.text);
    }

private:
    int altezza(int pagina) const
    {
        const QSizeF punti = m_doc->pagePointSize(pagina);
        return punti.width() > 0 ? qRound(kLarghezzaMiniatura * punti.height() / punti.width()) : kLarghezzaMiniatura;
    }

    QPdfDocument *m_doc;
    mutable QCache<int, QImage> m_tenute;
};

frmAnteprima::frmAnteprima(Contesto &c, const QString &filePdf, QWidget *padre)
    : QDialog(padre), m_c(c), m_file(filePdf), m_doc(new QPdfDocument(this))
{
    setObjectName(QStringLiteral("frmAnteprima"));
    setWindowTitle(kTitoloAnteprima);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    m_caricato = m_doc->load(filePdf) == QPdfDocument::Error::None;

    auto *lay = new QVBoxLayout(this);
    auto *barra = new QHBoxLayout;
    QPushButton *cmdZoomMeno = bottone(barra, "cmdZoomMeno", QStringLiteral("-"), QStringLiteral("Riduci"));
    QPushButton *cmdZoomPiu = bottone(barra, "cmdZoomPiu", QStringLiteral("+"), QStringLiteral("Ingrandisci"));
    QPushButton *cmdLarghezza = bottone(barra, "cmdLarghezza", QStringLiteral("Adatta alla larghezza"));
    barra->addSpacing(12);
    QPushButton *cmdPrecedente = bottone(barra, "cmdPrecedente", QStringLiteral("<"), QStringLiteral("Pagina precedente (PgSu)"));
    m_lblPagina = new QLabel;
    m_lblPagina->setObjectName(QStringLiteral("lblPagina"));
    // As wide as the longest it will say, so that the bar never cuts it.
    const QString cifre(QString::number(pagine()).size(), QLatin1Char('8'));
    m_lblPagina->setMinimumWidth(
        m_lblPagina->fontMetrics().horizontalAdvance(QStringLiteral("Pagina ") + cifre + QStringLiteral(" di ") + cifre) + 4);
    barra->addWidget(m_lblPagina);
    QPushButton *cmdSuccessiva =
        bottone(barra, "cmdSuccessiva", QStringLiteral(">"), QStringLiteral("Pagina successiva (PgGiù)"));
    barra->addSpacing(12);
    m_txtCerca = new QLineEdit;
    m_txtCerca->setObjectName(QStringLiteral("txtCerca"));
    m_txtCerca->setPlaceholderText(QStringLiteral("Cerca"));
    m_txtCerca->setClearButtonEnabled(true);
    barra->addWidget(m_txtCerca, 1);
    QPushButton *cmdCercaPrec =
        bottone(barra, "cmdCercaPrec", QStringLiteral("Precedente"), QStringLiteral("Risultato precedente"));
    QPushButton *cmdCercaSucc =
        bottone(barra, "cmdCercaSucc", QStringLiteral("Successivo"), QStringLiteral("Risultato successivo"));
    m_lblRisultati = new QLabel;
    m_lblRisultati->setObjectName(QStringLiteral("lblRisultati"));
    barra->addWidget(m_lblRisultati);
    lay->addLayout(barra);

    auto *divisore = new QSplitter;
    m_lista = new QListWidget;
    m_lista->setObjectName(QStringLiteral("lstPagine"));
    m_lista->setViewMode(QListView::IconMode);
    m_lista->setFlow(QListView::TopToBottom);
    m_lista->setWrapping(false);
    m_lista->setMovement(QListView::Static);
    m_lista->setUniformItemSizes(true);
    m_lista->setSpacing(6);
    m_lista->setMinimumWidth(kLarghezzaMiniatura + 40);
    m_miniature = new Miniature(m_doc, m_lista);
    m_lista->setItemDelegate(m_miniature);
    for (int p = 0; p < pagine(); ++p)
        m_lista->addItem(QString::number(p + 1));
    m_vista = new VistaPdf(m_doc);
    m_vista->setObjectName(QStringLiteral("pdfPagina"));
    divisore->addWidget(m_lista);
    divisore->addWidget(m_vista);
    divisore->setStretchFactor(1, 1);
    divisore->setSizes({kLarghezzaMiniatura + 60, 800});
    lay->addWidget(divisore, 1);

    auto *piede = new QHBoxLayout;
    QPushButton *cmdApri = bottone(piede, "cmdApri", QStringLiteral("Apri con il visualizzatore di sistema"));
    QPushButton *cmdSalva = bottone(piede, "cmdSalva", QStringLiteral("Salva una copia"));
    auto *lblFile = new QLabel(QFileInfo(filePdf).fileName());
    lblFile->setObjectName(QStringLiteral("lblFile"));
    lblFile->setToolTip(QDir::toNativeSeparators(filePdf));
    piede->addSpacing(12);
    piede->addWidget(lblFile);
    piede->addStretch();
    QPushButton *cmdChiudi = bottone(piede, "cmdChiudi", QStringLiteral("Chiudi"));
    lay->addLayout(piede);

    mostraPagina(0);

    alClic(cmdZoomMeno, m_c, [this] { m_vista->ingrandisci(1 / kPassoZoom); });
    alClic(cmdZoomPiu, m_c, [this] { m_vista->ingrandisci(kPassoZoom); });
    alClic(cmdLarghezza, m_c, [this] { m_vista->adattaLarghezza(); });
    alClic(cmdPrecedente, m_c, [this] { vaiA(pagina() - 1); });
    alClic(cmdSuccessiva, m_c, [this] { vaiA(pagina() + 1); });
    alClic(cmdCercaPrec, m_c, [this] { cerca(-1); });
    alClic(cmdCercaSucc, m_c, [this] { cerca(1); });
    alSegnale(m_txtCerca, &QLineEdit::returnPressed, m_c, [this] { cerca(1); });
    alClic(cmdApri, m_c, [this] {
        if (!m_c.piattaforma.apri(m_file))
            m_c.dialoghi.messaggio(QStringLiteral("Impossibile aprire il file ") + m_file
                                       + QStringLiteral(" con il visualizzatore di sistema."),
                                   kTitoloAnteprima, Icona::Esclamazione);
    });
    alClic(cmdSalva, m_c, [this] { salvaCopia(); });
    connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::accept);
    alSegnale(m_lista, &QListWidget::currentRowChanged, m_c, [this](int riga) {
        if (riga >= 0 && riga != pagina())
            vaiA(riga);
    });
    alSegnale(m_vista, &VistaPdf::paginaCambiata, m_c, [this](int p) { mostraPagina(p); });
    for (QObject *o :
         {static_cast<QObject *>(m_vista), static_cast<QObject *>(m_vista->viewport()), static_cast<QObject *>(m_lista)})
        o->installEventFilter(this);
    m_vista->setFocus();
    resize(1000, 760);
}

frmAnteprima::~frmAnteprima() = default;

int frmAnteprima::pagine() const { return std::max(0, m_doc->pageCount()); }

int frmAnteprima::pagina() const { return m_vista->pagina(); }

QList<int> frmAnteprima::miniatureDisegnate() const { return m_miniature->disegnate(); }

void frmAnteprima::vaiA(int p)
{
    if (pagine() == 0)
        return;
    m_vista->vaiA(std::clamp(p, 0, pagine() - 1));
}

void frmAnteprima::mostraPagina(int p)
{
    m_lblPagina->setText(QStringLiteral("Pagina ") + QString::number(pagine() ? p + 1 : 0) + QStringLiteral(" di ")
                         + QString::number(pagine()));
    if (m_lista->currentRow() != p) {
        const QSignalBlocker blocco(m_lista);
        m_lista->setCurrentRow(p);
    }
}

void frmAnteprima::cerca(int verso)
{
    const QString testo = m_txtCerca->text().simplified();
    if (testo.isEmpty()) {
        m_cercato.clear();
        m_risultati.clear();
        m_vista->segna({}, -1);
        m_lblRisultati->clear();
        return;
    }
    if (testo != m_cercato) {
        // A new text: every place it occurs, in page order.
        m_cercato = testo;
        m_risultati.clear();
        m_risultato = -1;
        QList<int> dove;
        for (int p = 0; p < pagine(); ++p) {
            const QString pagina = compatto(m_doc->getAllText(p).text(), dove);
            for (qsizetype i = pagina.indexOf(testo, 0, Qt::CaseInsensitive); i >= 0;
                 i = pagina.indexOf(testo, i + testo.size(), Qt::CaseInsensitive))
                m_risultati.append({p, dove.at(i), dove.at(i + testo.size() - 1) - dove.at(i) + 1});
        }
        m_segni.clear();
        for (const Risultato &r : m_risultati)
            m_segni.append({r.pagina, r.indice, r.lunghezza});
    }
    if (m_risultati.isEmpty()) {
        m_vista->segna({}, -1);
        m_lblRisultati->setText(QStringLiteral("Testo non trovato"));
        return;
    }
    const int n = int(m_risultati.size());
    m_risultato = m_risultato < 0 ? (verso > 0 ? 0 : n - 1) : (m_risultato + verso + n) % n;
    m_vista->segna(m_segni, m_risultato);
    QRectF dove;
    for (const QRectF &z : m_vista->zoneSegno(m_risultato))
        dove = dove.isNull() ? z : dove.united(z);
    m_vista->mostraZona(m_risultati.at(m_risultato).pagina, dove);
    m_lblRisultati->setText(QString::number(m_risultato + 1) + QStringLiteral(" di ") + QString::number(n));
}

void frmAnteprima::salvaCopia()
{
    const QString destinazione = m_c.dialoghi.scegliFileDaSalvare(
        QStringLiteral("Salva una copia"), QFileInfo(m_file).absolutePath(), QStringLiteral("Documenti PDF|*.pdf"));
    if (destinazione.isEmpty())
        return;
    if (stessoFile(destinazione, m_file)) {
        m_c.dialoghi.messaggio(QStringLiteral("Il file scelto è la stampa stessa: scegliere un altro nome per la copia."),
                               kTitoloAnteprima, Icona::Esclamazione);
        return;
    }
    QFile sorgente(m_file);
    FileSicuro copia(destinazione);
    bool fatto = sorgente.open(QIODevice::ReadOnly) && copia.apri();
    while (fatto && !sorgente.atEnd()) {
        const QByteArray pezzo = sorgente.read(1 << 20);
        fatto = !pezzo.isEmpty() && copia.scrivi(pezzo);
    }
    if (!fatto || !copia.conferma()) {
        m_c.dialoghi.messaggio(QStringLiteral("Impossibile salvare la copia in ") + destinazione, kTitoloAnteprima,
                               Icona::Esclamazione);
        return;
    }
    m_c.dialoghi.messaggio(QStringLiteral("Copia salvata in ") + destinazione, kTitoloAnteprima, Icona::Informazione);
}

bool frmAnteprima::eventFilter(QObject *o, QEvent *e)
{
    if (e->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(e);
        int verso = 0;
        switch (k->key()) {
        case Qt::Key_PageDown:
            verso = pagina() + 1;
            break;
        case Qt::Key_PageUp:
            verso = pagina() - 1;
            break;
        case Qt::Key_Home:
            verso = 0;
            break;
        case Qt::Key_End:
            verso = pagine() - 1;
            break;
        default:
            return QDialog::eventFilter(o, e);
        }
        protetto(m_c, [&] { vaiA(verso); });
        return true;
    }
    return QDialog::eventFilter(o, e);
}

} // namespace quirdal
