#include "printing/CreaPDF.h"

#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "printing/Modello.h"
#include "common/FileTemporanei.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextDocument>
#include <memory>
#include <vector>

namespace quirdal {

namespace {

constexpr int kDpi = 300;
const QString kPrefissoCartella = QStringLiteral("quirdal-stampa-");
constexpr auto kSoloProprietario = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
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

// The sections laid out for the writer's pages.
std::vector<std::unique_ptr<QTextDocument>> documenti(const clsCreaPDF &pdf, const QHash<QString, QImage> &immagini,
                                                      QPaintDevice *dispositivo, AvanzamentoStampa *a, bool &annullata)
{
    std::vector<std::unique_ptr<QTextDocument>> r;
    const Pagina pg;
    QFont base(QStringLiteral("DejaVu Sans"));
    base.setPointSizeF(9);
    for (int n = 1; n <= pdf.TotPagine; ++n) {
        if (a && a->annullata()) {
            annullata = true;
            return r;
        }
        QFile f(pdf.filePagina(n));
        if (!f.open(QIODevice::ReadOnly))
            throw Errore(codici::FileNonTrovato, QStringLiteral("Pagina ") + QString::number(n)
                                                     + QStringLiteral(" della stampa non trovata."));
        auto doc = std::make_unique<QTextDocument>();
        doc->documentLayout()->setPaintDevice(dispositivo);
        doc->setDefaultFont(base);
        doc->setDefaultStyleSheet(stileModulo());
        doc->setDocumentMargin(0);
        for (auto it = immagini.cbegin(); it != immagini.cend(); ++it)
            doc->addResource(QTextDocument::ImageResource, QUrl(it.key()), it.value());
        doc->setPageSize(pg.testo());
        doc->setHtml(QString::fromUtf8(f.readAll()));
        r.push_back(std::move(doc));
    }
    return r;
}

// The document's title, author and date, written over the writer's own as an incremental
// update of the file: a new information dictionary, its cross-reference and trailer.
QByteArray testoPdf(const QString &s)
{
    QByteArray r = "<FEFF";
    for (const QChar c : s)
        r += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return r + '>';
}

bool aggiungiInformazioni(QByteArray &pdf, const Impaginazione &imp)
{
    const QString &titolo = imp.titolo, &autore = imp.autore;
    const QDate &data = imp.data;
    static const QRegularExpression rSize(QStringLiteral("/Size (\\d+)")), rRoot(QStringLiteral("/Root (\\d+ \\d+ R)")),
        rStart(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
    const QString coda = QString::fromLatin1(pdf.right(1024));
    const qsizetype trailer = coda.lastIndexOf(QStringLiteral("trailer"));
    if (trailer < 0)
        return false;
    const QString t = coda.mid(trailer);
    const auto size = rSize.match(t), root = rRoot.match(t), start = rStart.match(t);
    if (!size.hasMatch() || !root.hasMatch() || !start.hasMatch())
        return false;
    const int numero = size.captured(1).toInt();
    if (!pdf.endsWith('\n'))
        pdf += '\n';
    const qsizetype posizione = pdf.size();
    const QByteArray quando = "D:" + data.toString(QStringLiteral("yyyyMMdd")).toLatin1() + "000000";
    pdf += QByteArray::number(numero) + " 0 obj\n<<\n/Title " + testoPdf(titolo) + "\n/Author " + testoPdf(autore)
        + (imp.soggetto.isEmpty() ? QByteArray() : "\n/Subject " + testoPdf(imp.soggetto))
        + (imp.paroleChiave.isEmpty() ? QByteArray() : "\n/Keywords " + testoPdf(imp.paroleChiave))
        + "\n/Creator " + testoPdf(QStringLiteral("QUIRDAL")) + "\n/Producer " + testoPdf(QStringLiteral("QUIRDAL"))
        + "\n/CreationDate (" + quando + ")\n/ModDate (" + quando + ")\n>>\nendobj\n";
    const qsizetype xref = pdf.size();
    pdf += "xref\n" + QByteArray::number(numero) + " 1\n" + QByteArray::number(posizione).rightJustified(10, '0')
        + " 00000 n \ntrailer\n<<\n/Size " + QByteArray::number(numero + 1) + "\n/Root " + root.captured(1).toLatin1()
        + "\n/Info " + QByteArray::number(numero) + " 0 R\n/Prev " + start.captured(1).toLatin1() + "\n>>\nstartxref\n"
        + QByteArray::number(xref) + "\n%%EOF\n";
    return true;
}

} // namespace

clsCreaPDF::clsCreaPDF()
    : m_cartella(QDir(QDir::tempPath()).filePath(kPrefissoCartella + QString::number(QCoreApplication::applicationPid())
                                                 + QStringLiteral("-XXXXXX")))
{
    if (!m_cartella.isValid())
        return;
    QFile::setPermissions(m_cartella.path(), kSoloProprietario | QFileDevice::ExeOwner);
    rimuoviCartelleAbbandonate(QDir::tempPath(), QFileInfo(m_cartella.path()).ownerId());
}

int clsCreaPDF::rimuoviCartelleAbbandonate(const QString &cartellaTemporanea, uint proprietario)
{
    static const QRegularExpression numerata(QStringLiteral("^quirdal-stampa-(\\d{1,18})-[A-Za-z0-9]+$"));
    static const QRegularExpression senzaNumero(QStringLiteral("^quirdal-stampa-[A-Za-z0-9]{6}$"));
    const QDateTime unGiornoFa = QDateTime::currentDateTime().addDays(-1);
    int rimosse = 0;
    // Never through a link: only real folders, each removed as itself.
    const QFileInfoList cartelle = QDir(cartellaTemporanea).entryInfoList(
        {kPrefissoCartella + QLatin1Char('*')}, QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Hidden);
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

QString clsCreaPDF::filePagina(int n) const
{
    return m_cartella.filePath(QStringLiteral("Pagina") + QString::number(n) + QStringLiteral(".tmp"));
}

void clsCreaPDF::SaveTmpRTF(int n, const QString &html)
{
    if (!m_cartella.isValid())
        throw Errore(codici::Generico, QStringLiteral("Impossibile creare la cartella temporanea della stampa."));
    QSaveFile f(filePagina(n));
    const QByteArray dati = html.toUtf8();
    if (!f.open(QIODevice::WriteOnly) || f.write(dati) != dati.size() || !f.commit())
        throw Errore(codici::Generico, QStringLiteral("Impossibile scrivere la pagina ") + QString::number(n)
                                           + QStringLiteral(" della stampa: ") + f.errorString());
    QFile::setPermissions(filePagina(n), kSoloProprietario);
    TotPagine = std::max(TotPagine, n);
}

int clsCreaPDF::impagina()
{
    QBuffer nulla;
    nulla.open(QIODevice::WriteOnly);
    QPdfWriter w(&nulla);
    preparaScrittore(w);
    bool annullata = false;
    int pagine = 0;
    for (const auto &d : documenti(*this, m_immagini, &w, nullptr, annullata))
        pagine += d->pageCount();
    return pagine;
}

clsCreaPDF::Esito clsCreaPDF::CreatePDF(Dialoghi &dlg, const Impaginazione &imp, AvanzamentoStampa *a)
{
    if (FilePDF.isEmpty()) {
        dlg.messaggio(QStringLiteral("Il nome del file PDF non è stato impostato.") + QLatin1Char('\r')
                          + QStringLiteral("Impossibile creare il PDF!"),
                      QStringLiteral("Errore"), Icona::Esclamazione);
        return Esito::Fallito;
    }
    if (TotPagine <= 0) {
        dlg.messaggio(QStringLiteral("Il numero delle pagine create non è stato impostato.") + QLatin1Char('\r')
                          + QStringLiteral("Impossibile creare il PDF!"),
                      QStringLiteral("Errore"), Icona::Esclamazione);
        return Esito::Fallito;
    }
    try {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        bool annullata = false;
        {
            QPdfWriter w(&buffer);
            preparaScrittore(w);
            w.setTitle(imp.titolo);
            w.setCreator(QStringLiteral("QUIRDAL"));
            const auto docs = documenti(*this, m_immagini, &w, a, annullata);
            if (annullata)
                return Esito::Annullato;
            int totale = 0;
            for (const auto &d : docs)
                totale += d->pageCount();
            const Pagina pg;
            QPainter p;
            if (!p.begin(&w))
                throw Errore(kErroreStampante, QStringLiteral("Impossibile iniziare il documento PDF."));
            QFont fIntest(QStringLiteral("DejaVu Sans"));
            fIntest.setPointSizeF(7.5);
            QFont fTipo(QStringLiteral("DejaVu Sans"));
            fTipo.setPointSizeF(11);
            fTipo.setBold(true);
            const QPen linea(QColor(0x55, 0x55, 0x55), mm(0.3));
            int numero = 0;
            for (const auto &d : docs) {
                for (int i = 0; i < d->pageCount(); ++i) {
                    if (a && a->annullata()) {
                        p.end();
                        return Esito::Annullato;
                    }
                    if (numero > 0)
                        w.newPage();
                    ++numero;
                    // Heading: the application on the left, the print kind on the right.
                    const QRectF testata(pg.sinistra, mm(9), pg.testo().width(), mm(10));
                    p.setPen(Qt::black);
                    p.setFont(fIntest);
                    p.drawText(testata, Qt::AlignLeft | Qt::AlignVCenter, imp.intestazione);
                    p.setFont(fTipo);
                    p.drawText(testata, Qt::AlignRight | Qt::AlignVCenter, imp.tipoStampa);
                    p.setPen(linea);
                    p.drawLine(QPointF(pg.sinistra, mm(19.5)), QPointF(pg.larghezza - pg.destra, mm(19.5)));
                    // The section's page.
                    p.save();
                    p.translate(pg.sinistra, pg.alto - i * pg.testo().height());
                    d->drawContents(&p, QRectF(QPointF(0, i * pg.testo().height()), pg.testo()));
                    p.restore();
                    // Foot: the document and the page number.
                    const double piede = pg.altezza - pg.basso + mm(4);
                    p.setPen(linea);
                    p.drawLine(QPointF(pg.sinistra, piede), QPointF(pg.larghezza - pg.destra, piede));
                    p.setPen(Qt::black);
                    p.setFont(fIntest);
                    const QRectF riga(pg.sinistra, piede + mm(1), pg.testo().width(), mm(6));
                    p.drawText(riga, Qt::AlignLeft | Qt::AlignVCenter, imp.titolo + QStringLiteral(" - ")
                                                                          + imp.tipoStampa);
                    if (numero == totale && !imp.notaFinale.isEmpty()) {
                        // Monospaced: no ligature joins two letters of a hash.
                        QFont fNota(QStringLiteral("DejaVu Sans Mono"));
                        fNota.setPointSizeF(6.5);
                        p.setFont(fNota);
                        // Between the text and the foot's line, clear of both.
                        p.drawText(QRectF(pg.sinistra, piede - mm(3.8), pg.testo().width(), mm(3.6)),
                                   Qt::AlignLeft | Qt::AlignVCenter, imp.notaFinale);
                        p.setFont(fIntest);
                    }
                    p.drawText(riga, Qt::AlignRight | Qt::AlignVCenter,
                               QStringLiteral("Pagina ") + QString::number(numero) + QStringLiteral(" di ")
                                   + QString::number(totale));
                }
            }
            if (!p.end())
                throw Errore(kErroreStampante, QStringLiteral("Impossibile completare il documento PDF."));
            m_pagineStampate = numero;
        }
        QByteArray dati = buffer.data();
        aggiungiInformazioni(dati, imp);
        if (a)
            a->fase(QStringLiteral("Scrittura del file PDF in corso..."));
        QSaveFile f(FilePDF);
        if (!f.open(QIODevice::WriteOnly) || f.write(dati) != dati.size() || !f.commit())
            throw Errore(codici::Generico, QStringLiteral("Impossibile scrivere il file ") + FilePDF
                                               + QStringLiteral(": ") + f.errorString());
        for (int n = 1; n <= TotPagine; ++n)
            QFile::remove(filePagina(n));
        return Esito::Creato;
    } catch (const Errore &e) {
        // The writer that would not start or finish stands where the printer did.
        if (e.numero() == kErroreStampante)
            dlg.messaggio(QStringLiteral("Controllare la stampante."), QStringLiteral("Errore in compilazione file di stampa"),
                          Icona::Esclamazione);
        else
            dlg.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + QStringLiteral(" --> ")
                              + e.descrizione(),
                          QStringLiteral("Errore generico"), Icona::Esclamazione);
        return Esito::Fallito;
    }
}

} // namespace quirdal
