#include "printing/CreaPDF.h"

#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/FileTemporanei.h"
#include "printing/CompletaPdf.h"
#include "printing/Modello.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocument>

namespace quirdal {

namespace {

constexpr int kDpi = 300;
const QString kPrefissoCartella = QStringLiteral("quirdal-stampa-");
constexpr long kErroreStampante = 482;
constexpr double mm(double millimetri) { return millimetri / 25.4 * kDpi; }

// The A4 page: the text between a heading band and a foot band.
struct Pagina {
    double larghezza = mm(210), altezza = mm(297);
    double sinistra = mm(16), destra = mm(16), alto = mm(24), basso = mm(18);
    QSizeF testo() const { return {larghezza - sinistra - destra, altezza - alto - basso}; }
};

void preparaScrittore(QPdfWriter &w)
{
    w.setPageSize(QPageSize(QPageSize::A4));
    w.setPageMargins(QMarginsF(0, 0, 0, 0));
    w.setResolution(kDpi);
}

// A section laid out for the writer's pages.
std::unique_ptr<QTextDocument> documento(const QString &html, const QHash<QString, QImage> &immagini, QPaintDevice *dispositivo)
{
    static const QFont base = [] {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSizeF(9);
        return f;
    }();
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(dispositivo);
    doc->setDefaultFont(base);
    doc->setDefaultStyleSheet(stileModulo());
    doc->setDocumentMargin(0);
    for (auto it = immagini.cbegin(); it != immagini.cend(); ++it)
        doc->addResource(QTextDocument::ImageResource, QUrl(it.key()), it.value());
    doc->setPageSize(Pagina().testo());
    doc->setHtml(html);
    return doc;
}

// The device the PDF goes through on its way to the file: it passes every byte on and keeps
// the position and the last bytes written, where the writer's trailer is.
class Coda : public QIODevice {
public:
    explicit Coda(QIODevice &destinazione) : m_d(destinazione) { open(QIODevice::WriteOnly); }
    qint64 scritti() const { return m_scritti; }
    const QByteArray &ultimi() const { return m_ultimi; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *dati, qint64 n) override
    {
        const qint64 w = m_d.write(dati, n);
        if (w != n)
            return -1;
        m_scritti += n;
        m_ultimi.append(dati, n);
        if (m_ultimi.size() > kTenuti)
            m_ultimi.remove(0, m_ultimi.size() - kTenuti);
        return n;
    }

private:
    static constexpr qsizetype kTenuti = 4096;
    QIODevice &m_d;
    qint64 m_scritti = 0;
    QByteArray m_ultimi;
};

QByteArray testoPdf(const QString &s)
{
    QByteArray r = "<FEFF";
    for (const QChar c : s)
        r += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return r + '>';
}

QString xml(const QString &s) { return s.toHtmlEscaped(); }

// The document's data as XMP, with the PDF/A identification: the same title, author,
// subject, dates and tools as its information dictionary, as the archival format requires.
QByteArray metadatiXmp(const Impaginazione &imp)
{
    const QString quando = imp.data.startOfDay(Qt::UTC).toString(Qt::ISODate);
    const QString t =
        QStringLiteral("<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
                       "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
                       " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
                       "  <rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n"
                       "   <dc:format>application/pdf</dc:format>\n"
                       "   <dc:title><rdf:Alt><rdf:li xml:lang=\"x-default\">%1</rdf:li></rdf:Alt></dc:title>\n"
                       "   <dc:creator><rdf:Seq><rdf:li>%2</rdf:li></rdf:Seq></dc:creator>\n"
                       "   <dc:description><rdf:Alt><rdf:li xml:lang=\"x-default\">%3</rdf:li></rdf:Alt></dc:description>\n"
                       "  </rdf:Description>\n"
                       "  <rdf:Description rdf:about=\"\" xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n"
                       "   <xmp:CreatorTool>QUIRDAL</xmp:CreatorTool>\n"
                       "   <xmp:CreateDate>%4</xmp:CreateDate>\n"
                       "   <xmp:ModifyDate>%4</xmp:ModifyDate>\n"
                       "   <xmp:MetadataDate>%4</xmp:MetadataDate>\n"
                       "  </rdf:Description>\n"
                       "  <rdf:Description rdf:about=\"\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\">\n"
                       "   <pdf:Producer>QUIRDAL</pdf:Producer>\n%5"
                       "  </rdf:Description>\n"
                       "  <rdf:Description rdf:about=\"\" xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
                       "   <pdfaid:part>1</pdfaid:part>\n"
                       "   <pdfaid:conformance>B</pdfaid:conformance>\n"
                       "  </rdf:Description>\n"
                       " </rdf:RDF>\n"
                       "</x:xmpmeta>\n"
                       "<?xpacket end=\"w\"?>");
    const QString parole = imp.paroleChiave.isEmpty()
        ? QString()
        : QStringLiteral("   <pdf:Keywords>") + xml(imp.paroleChiave) + QStringLiteral("</pdf:Keywords>\n");
    return t.arg(xml(imp.titolo), xml(imp.autore), xml(imp.soggetto), quando, parole).toUtf8();
}

// The document's title, author, subject and date, the body of the information dictionary
// the closing update writes over the writer's own.
QByteArray informazioni(const Impaginazione &imp)
{
    const QByteArray quando =
        "D:" + imp.data.toString(QStringLiteral("yyyyMMdd")).toLatin1() + "000000" + (imp.archivio ? "Z" : "");
    return "/Title " + testoPdf(imp.titolo) + "\n/Author " + testoPdf(imp.autore)
        + (imp.soggetto.isEmpty() ? QByteArray() : "\n/Subject " + testoPdf(imp.soggetto))
        + (imp.paroleChiave.isEmpty() ? QByteArray() : "\n/Keywords " + testoPdf(imp.paroleChiave)) + "\n/Creator "
        + testoPdf(QStringLiteral("QUIRDAL")) + "\n/Producer " + testoPdf(QStringLiteral("QUIRDAL")) + "\n/CreationDate ("
        + quando + ")\n/ModDate (" + quando + ")";
}

const QFont &fontIntestazione()
{
    static const QFont f = [] {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSizeF(7.5);
        return f;
    }();
    return f;
}

// The line at the foot of every page, below its rule.
QRectF rigaPiede()
{
    const Pagina pg;
    return QRectF(pg.sinistra, pg.altezza - pg.basso + mm(5), pg.testo().width(), mm(6));
}

} // namespace

// The PDF being drawn.
struct clsCreaPDF::Scrittura {
    QPdfWriter &w;
    QPainter &p;
    const Impaginazione &imp;
    AvanzamentoStampa *a;
    int numero = 0; // pages drawn
    bool annullata = false;
};

clsCreaPDF::clsCreaPDF()
{
    // Only the user's own: the owner of their home folder.
    rimuoviCartelleAbbandonate(QDir::tempPath(), QFileInfo(QDir::homePath()).ownerId());
}
clsCreaPDF::~clsCreaPDF() = default;

int clsCreaPDF::rimuoviCartelleAbbandonate(const QString &cartellaTemporanea, uint proprietario)
{
    static const QRegularExpression numerata(QStringLiteral("^quirdal-stampa-(\\d{1,18})-[A-Za-z0-9]+$"));
    static const QRegularExpression senzaNumero(QStringLiteral("^quirdal-stampa-[A-Za-z0-9]{6}$"));
    const QDateTime unGiornoFa = QDateTime::currentDateTime().addDays(-1);
    int rimosse = 0;
    // Never through a link: only real folders, each removed as itself.
    const QFileInfoList cartelle = QDir(cartellaTemporanea)
                                       .entryInfoList({kPrefissoCartella + QLatin1Char('*')},
                                                      QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden);
    for (const QFileInfo &fi : cartelle) {
        if (fi.isSymLink() || fi.ownerId() != proprietario)
            continue;
        const auto m = numerata.match(fi.fileName());
        const bool abbandonata = m.hasMatch() ? !processoVivo(m.captured(1).toLongLong())
                                              : senzaNumero.match(fi.fileName()).hasMatch() && fi.lastModified() < unGiornoFa;
        if (abbandonata && QDir(fi.absoluteFilePath()).removeRecursively())
            ++rimosse;
    }
    return rimosse;
}

void clsCreaPDF::SaveTmpRTF(int n, const QString &html)
{
    if (n != TotPagine + 1)
        throw Errore(codici::Generico,
                     QStringLiteral("Sezione ") + QString::number(n) + QStringLiteral(" della stampa fuori ordine."));
    TotPagine = n;
    if (m_scrittura) {
        disegna(*m_scrittura, html);
        return;
    }
    if (!m_misura) {
        // Laid out as the PDF would be, on a writer that writes nowhere.
        m_nulla = std::make_unique<QBuffer>();
        m_misura = std::make_unique<QPdfWriter>(m_nulla.get());
        preparaScrittore(*m_misura);
    }
    m_totale += documento(html, m_immagini, m_misura.get())->pageCount();
}

void clsCreaPDF::disegna(Scrittura &s, const QString &html)
{
    if (s.annullata)
        return;
    const auto d = documento(html, m_immagini, &s.w);
    static const QFont fTipo = [] {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSizeF(11);
        f.setBold(true);
        return f;
    }();
    const Pagina pg;
    QPainter &p = s.p;
    const QPen linea(QColor(0x55, 0x55, 0x55), mm(0.3));
    for (int i = 0; i < d->pageCount(); ++i) {
        if (s.a && s.a->annullata()) {
            s.annullata = true;
            return;
        }
        if (s.numero > 0)
            s.w.newPage();
        ++s.numero;
        // Heading: the application on the left, the print kind on the right.
        const QRectF testata(pg.sinistra, mm(9), pg.testo().width(), mm(10));
        p.setPen(Qt::black);
        p.setFont(fontIntestazione());
        p.drawText(testata, Qt::AlignLeft | Qt::AlignVCenter, s.imp.intestazione);
        p.setFont(fTipo);
        p.drawText(testata, Qt::AlignRight | Qt::AlignVCenter, s.imp.tipoStampa);
        p.setPen(linea);
        p.drawLine(QPointF(pg.sinistra, mm(19.5)), QPointF(pg.larghezza - pg.destra, mm(19.5)));
        // The section's page.
        p.save();
        p.translate(pg.sinistra, pg.alto - i * pg.testo().height());
        d->drawContents(&p, QRectF(QPointF(0, i * pg.testo().height()), pg.testo()));
        p.restore();
        // Foot: the document; the page number comes with the count.
        const double piede = pg.altezza - pg.basso + mm(4);
        p.setPen(linea);
        p.drawLine(QPointF(pg.sinistra, piede), QPointF(pg.larghezza - pg.destra, piede));
        p.setPen(Qt::black);
        p.setFont(fontIntestazione());
        p.drawText(rigaPiede(), Qt::AlignLeft | Qt::AlignVCenter, s.imp.titolo + QStringLiteral(" - ") + s.imp.tipoStampa);
        if (s.a)
            s.a->scritta(s.numero);
    }
}

void clsCreaPDF::numeri(Scrittura &s)
{
    const Pagina pg;
    QPainter &p = s.p;
    const int totale = s.numero;
    for (int n = 1; n <= totale; ++n) {
        s.w.newPage();
        p.setPen(Qt::black);
        if (n == totale && !s.imp.notaFinale.isEmpty()) {
            // Monospaced: no ligature joins two letters of a hash.
            QFont fNota(QStringLiteral("DejaVu Sans Mono"));
            fNota.setPointSizeF(6.5);
            p.setFont(fNota);
            // Between the text and the foot's line, clear of both.
            const double piede = pg.altezza - pg.basso + mm(4);
            p.drawText(QRectF(pg.sinistra, piede - mm(3.8), pg.testo().width(), mm(3.6)), Qt::AlignLeft | Qt::AlignVCenter,
                       s.imp.notaFinale);
        }
        p.setFont(fontIntestazione());
        p.drawText(rigaPiede(), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("Pagina ") + QString::number(n) + QStringLiteral(" di ") + QString::number(totale));
    }
}

clsCreaPDF::Esito clsCreaPDF::CreatePDF(Dialoghi &dlg, const Impaginazione &datiIniziali, const std::function<void()> &sezioni,
                                        AvanzamentoStampa *a, const std::function<bool(Impaginazione &)> &completa)
{
    if (FilePDF.isEmpty()) {
        dlg.messaggio(QStringLiteral("Il nome del file PDF non è stato impostato.") + QLatin1Char('\r')
                          + QStringLiteral("Impossibile creare il PDF!"),
                      QStringLiteral("Errore"), Icona::Esclamazione);
        return Esito::Fallito;
    }
    Impaginazione imp = datiIniziali;
    // The file under its own name only once whole: until then it is a temporary file beside
    // it, removed with the object whatever happens.
    FileSicuro file(FilePDF);
    try {
        if (!file.apri())
            throw Errore(codici::Generico,
                         QStringLiteral("Impossibile scrivere il file ") + FilePDF + QStringLiteral(": ") + file.errore());
        Coda coda(file.dispositivo());
        TotPagine = 0;
        m_totale = 0;
        bool annullata = false;
        {
            QPdfWriter w(&coda);
            preparaScrittore(w);
            w.setTitle(imp.titolo);
            w.setCreator(QStringLiteral("QUIRDAL"));
            if (imp.archivio) {
                w.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
                w.setDocumentXmpMetadata(metadatiXmp(imp));
            }
            QPainter p;
            if (!p.begin(&w))
                throw Errore(kErroreStampante, QStringLiteral("Impossibile iniziare il documento PDF."));
            Scrittura s{w, p, imp, a};
            m_scrittura = &s;
            struct Fine {
                Scrittura *&s;
                ~Fine() { s = nullptr; }
            } fine{m_scrittura};
            sezioni();
            m_scrittura = nullptr;
            m_totale = s.numero;
            annullata = s.annullata || (a && a->annullata());
            if (!annullata && s.numero == 0) {
                p.end();
                dlg.messaggio(QStringLiteral("Il numero delle pagine create non è stato impostato.") + QLatin1Char('\r')
                                  + QStringLiteral("Impossibile creare il PDF!"),
                              QStringLiteral("Errore"), Icona::Esclamazione);
                return Esito::Fallito;
            }
            if (!annullata && completa && !completa(imp)) {
                p.end();
                return Esito::Rifiutato;
            }
            if (!annullata)
                numeri(s);
            if (!p.end() && !annullata)
                throw Errore(kErroreStampante, QStringLiteral("Impossibile completare il documento PDF."));
            m_pagineStampate = s.numero;
        }
        if (annullata)
            return Esito::Annullato;
        if (a)
            a->fase(QStringLiteral("Scrittura del file PDF in corso..."));
        if (!file.dispositivo().flush())
            throw Errore(codici::Generico,
                         QStringLiteral("Impossibile scrivere il file ") + FilePDF + QStringLiteral(": ") + file.errore());
        completaPdf(file.temporaneo(), coda, coda.ultimi(), coda.scritti(), m_pagineStampate,
                    {informazioni(imp), imp.archivio ? metadatiXmp(imp) : QByteArray()});
        if (!file.conferma())
            throw Errore(codici::Generico,
                         QStringLiteral("Impossibile scrivere il file ") + FilePDF + QStringLiteral(": ") + file.errore());
        return Esito::Creato;
    } catch (const Errore &e) {
        // The writer that would not start or finish stands where the printer did.
        if (e.numero() == kErroreStampante)
            dlg.messaggio(QStringLiteral("Controllare la stampante."), QStringLiteral("Errore in compilazione file di stampa"),
                          Icona::Esclamazione);
        else
            dlg.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + QStringLiteral(" --> ") + e.descrizione(),
                          QStringLiteral("Errore generico"), Icona::Esclamazione);
        return Esito::Fallito;
    }
}

} // namespace quirdal
