#pragma once
// The PDF of a print, written page by page as the sections come, so that a print of any
// size needs the memory of one section. Each section is laid out once and drawn at once into
// the one PDF; what needs the count of the pages ("Pagina n di N" at every page's foot, the
// final note) is drawn when the count is known, on pages of its own that the file's closing
// update lays over the pages of the form (CompletaPdf.h). Nothing of a section is kept once
// drawn, and nothing is ever written to a temporary folder: the pages hold the application's
// personal data (names, tax codes, bank accounts). The PDF is written under a temporary name
// beside its own and renamed only when complete.
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
    // Page n of the PDF drawn.
    virtual void scritta(int n) { (void)n; }
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
    // Rifiutato: the caller's closing step would not have the file, and said why.
    enum class Esito { Creato, Annullato, Fallito, Rifiutato };

    clsCreaPDF();
    ~clsCreaPDF();
    clsCreaPDF(const clsCreaPDF &) = delete;
    clsCreaPDF &operator=(const clsCreaPDF &) = delete;

    QString FilePDF;   // the path of the PDF
    int TotPagine = 0; // sections given

    // Section n, filled: while CreatePDF runs, laid out and drawn into the PDF; otherwise
    // only laid out and its pages counted. Sections come in order from 1.
    void SaveTmpRTF(int n, const QString &html);
    // A picture the pages refer to by name (the province's logo).
    void immagine(const QString &nome, const QImage &img) { m_immagini.insert(nome, img); }
    // Writes FilePDF: sezioni() gives the sections in order (each through SaveTmpRTF), drawn
    // as they come. Once every one is, completa (when given) may complete the document's data
    // (the final note, the keywords) or refuse the file. Shows its own messages on failure.
    Esito CreatePDF(Dialoghi &d, const Impaginazione &imp, const std::function<void()> &sezioni,
                    AvanzamentoStampa *avanzamento = nullptr, const std::function<bool(Impaginazione &)> &completa = {});

    // A4 pages laid out, and those the PDF was written with.
    int pagine() const { return m_totale; }
    int pagineStampate() const { return m_pagineStampate; }

    // The page folders that versions which saved each section to a file left in the
    // temporary folder and that no running process owns: those of a process that has ended,
    // and unnumbered ones untouched for a day. Only the folders of the given owner are
    // looked at. How many were removed.
    static int rimuoviCartelleAbbandonate(const QString &cartellaTemporanea, uint proprietario);

private:
    struct Scrittura;
    void disegna(Scrittura &s, const QString &html);
    void numeri(Scrittura &s);

    QHash<QString, QImage> m_immagini;
    int m_totale = 0;
    int m_pagineStampate = 0;
    std::unique_ptr<QBuffer> m_nulla;     // where that writer would write: nothing is
    std::unique_ptr<QPdfWriter> m_misura; // the device sections are counted for, outside CreatePDF
    Scrittura *m_scrittura = nullptr;     // set while CreatePDF draws
};

} // namespace quirdal
