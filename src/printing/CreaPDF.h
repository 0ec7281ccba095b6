#pragma once
// The PDF of a print, written page by page as the sections come, so that a print of any
// size needs the memory of one section. Every page carries the print kind in its heading and
// "Pagina n di N" at its foot, so the sections are given twice: a first pass lays each one
// out and counts its pages, then CreatePDF asks for them again and draws them into the one
// PDF. Nothing of a section is kept between the passes but its page count, and nothing is
// ever written to a temporary folder: the pages hold the application's personal data
// (names, tax codes, bank accounts). The PDF is written under a temporary name beside its
// own and renamed only when complete.
#include <QDate>
#include <QHash>
#include <QImage>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QBuffer;
class QPdfWriter;
class QPainter;
class QPaintDevice;

namespace quirdal {

class Dialoghi;

inline const QString kTitoloPDF = QStringLiteral("Proposta Corsi Brivasco - 2009 - primi anni");

// What a long print reports and asks while it runs: the screen's labels and cancel button,
// the command line, a test.
class AvanzamentoStampa {
public:
    virtual ~AvanzamentoStampa() = default;
    // A section filled and laid out as section n.
    virtual void pagina(int n, const QString &sezione)
    {
        (void)n;
        (void)sezione;
    }
    virtual void fase(const QString &testo) { (void)testo; }
    // Page n of the PDF written, of totale.
    virtual void scritta(int n, int totale)
    {
        (void)n;
        (void)totale;
    }
    // The user asked to stop.
    virtual bool annullata() { return false; }
    // The pause between pages; only called with a pause above 0.
    virtual void attendi(long millisecondi) { (void)millisecondi; }
};

// What every page carries and the document's own data.
struct Impaginazione {
    QString tipoStampa;   // "BOZZA", "ORIGINALE" ... on every page
    QString intestazione; // the operator and the application, in each page's heading
    QString autore;
    QString soggetto;            // the document's subject
    QString titolo = kTitoloPDF; // the document's title, and the foot of every page
    QString paroleChiave;        // the document's keywords, when given
    QString notaFinale;          // small print at the foot of the last page, when given
    QDate data;
    bool archivio = false; // PDF/A-1b, fonts embedded, its data in the XMP metadata too
};

class clsCreaPDF {
public:
    enum class Esito { Creato, Annullato, Fallito };

    clsCreaPDF();
    ~clsCreaPDF();
    clsCreaPDF(const clsCreaPDF &) = delete;
    clsCreaPDF &operator=(const clsCreaPDF &) = delete;

    QString FilePDF;   // the path of the PDF
    int TotPagine = 0; // sections laid out by the first pass

    // Section n, filled: on the first pass laid out and counted; while CreatePDF runs, drawn
    // into the PDF. Sections come in order from 1.
    void SaveTmpRTF(int n, const QString &html);
    // A picture the pages refer to by name (the province's logo).
    void immagine(const QString &nome, const QImage &img) { m_immagini.insert(nome, img); }
    // Writes FilePDF: sezioni() gives the sections again, in the same order (each through
    // SaveTmpRTF), and they are drawn as they come. When they no longer make the pages the
    // first pass counted (the data changed in between), no PDF is written. Shows its own
    // messages on failure.
    Esito CreatePDF(Dialoghi &d, const Impaginazione &imp, const std::function<void()> &sezioni,
                    AvanzamentoStampa *avanzamento = nullptr);

    // A4 pages the first pass counted, and those the PDF was written with.
    int pagine() const { return m_totale; }
    int pagineStampate() const { return m_pagineStampate; }

    // The page folders that versions which saved each section to a file left in the
    // temporary folder and that no running process owns: those of a process that has ended,
    // and unnumbered ones untouched for a day. Only the folders of the given owner are
    // looked at. How many were removed.
    static int rimuoviCartelleAbbandonate(const QString &cartellaTemporanea, uint proprietario);

private:
    struct Scrittura;
    void disegna(Scrittura &s, int n, const QString &html);

    QHash<QString, QImage> m_immagini;
    QList<int> m_paginePerSezione;
    int m_totale = 0;
    int m_pagineStampate = 0;
    std::unique_ptr<QBuffer> m_nulla;     // where that writer would write: nothing is
    std::unique_ptr<QPdfWriter> m_misura; // the device the first pass lays out for
    Scrittura *m_scrittura = nullptr;     // set while CreatePDF draws
};

} // namespace quirdal
