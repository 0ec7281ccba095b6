#pragma once
// The PDF of a print: the filled sections are saved one by one as page files in a
// temporary folder of their own (removed with the object, whatever happened), then laid out
// on A4 pages, each with the print kind in its heading and its number at the foot, and
// written as one PDF under a temporary name renamed only when complete.
//
// The page files hold the application's personal data (names, tax codes, bank accounts):
// their folder, "quirdal-stampa-" + process number + "-" + six characters, is readable by
// its owner only, and a print removes the folders that killed prints left behind.
#include <QDate>
#include <QHash>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

namespace quirdal {

class Dialoghi;

inline const QString kTitoloPDF = QStringLiteral("Proposta Corsi Brivasco - 2009 - primi anni");

// What a long print reports and asks while it runs: the screen's labels and cancel button,
// the command line, a test.
class AvanzamentoStampa {
public:
    virtual ~AvanzamentoStampa() = default;
    // A section saved as page file n.
    virtual void pagina(int n, const QString &sezione) { (void)n; (void)sezione; }
    virtual void fase(const QString &testo) { (void)testo; }
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
    QDate data;
    QString titolo = kTitoloPDF; // the document's title, and the foot of every page
    QString soggetto;            // the document's subject and keywords, when given
    QString paroleChiave;
    QString notaFinale;          // small print at the foot of the last page, when given
};

class clsCreaPDF {
public:
    enum class Esito { Creato, Annullato, Fallito };

    clsCreaPDF();

    QString FilePDF;  // the path of the PDF
    int TotPagine = 0; // page files saved so far

    // Saves the filled section as page file n ("Pagina" + n + ".tmp"); throws Errore when it
    // cannot be written.
    void SaveTmpRTF(int n, const QString &html);
    // A picture the pages refer to by name (the province's logo).
    void immagine(const QString &nome, const QImage &img) { m_immagini.insert(nome, img); }
    // Joins page files 1 ... TotPagine into FilePDF. Shows its own messages on failure.
    Esito CreatePDF(Dialoghi &d, const Impaginazione &imp, AvanzamentoStampa *avanzamento = nullptr);
    // The same pages laid out, nothing written: how many A4 pages they make.
    int impagina();

    int pagineStampate() const { return m_pagineStampate; }
    QString cartellaPagine() const { return m_cartella.path(); }
    QString filePagina(int n) const;

    // The page folders in the temporary folder that no running process owns: those of a
    // process that has ended, and unnumbered ones untouched for a day (as older versions
    // named them). Only the folders of the given owner are looked at. How many were removed.
    static int rimuoviCartelleAbbandonate(const QString &cartellaTemporanea, uint proprietario);

private:
    QTemporaryDir m_cartella;
    QHash<QString, QImage> m_immagini;
    int m_pagineStampate = 0;
};

} // namespace quirdal
