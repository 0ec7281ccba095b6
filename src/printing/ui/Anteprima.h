#pragma once
// The preview of a print: its pages as thumbnails beside the pages at reading size, zoom,
// moving by page, search of a text marked where it is found, the system's viewer and a copy
// of the file. Thumbnails and pages are drawn only as they come into view, so that a print
// of thousands of pages opens at once. It only reads the PDF: nothing of the application
// changes while it is open.
#include "printing/ui/VistaPdf.h"

#include <QDialog>
#include <QList>
#include <QString>

class QLabel;
class QLineEdit;
class QListWidget;
class QPdfDocument;

namespace quirdal {

struct Contesto;
class Miniature;

inline const QString kTitoloAnteprima = QStringLiteral("Anteprima di stampa");

class frmAnteprima : public QDialog {
    Q_OBJECT
public:
    frmAnteprima(Contesto &c, const QString &filePdf, QWidget *padre = nullptr);
    ~frmAnteprima() override;

    // False when the file could not be read as a PDF.
    bool caricato() const { return m_caricato; }
    int pagine() const;
    int pagina() const; // the page shown, from 0
    // The pages whose thumbnail is drawn and kept, in order.
    QList<int> miniatureDisegnate() const;

    void vaiA(int pagina);
    // The next (verso 1) or previous (-1) place where the text in "Cerca" occurs.
    void cerca(int verso);
    void salvaCopia();

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    struct Risultato {
        int pagina, indice, lunghezza; // in the page's own text
    };
    void mostraPagina(int pagina);

    Contesto &m_c;
    QString m_file;
    QPdfDocument *m_doc;
    VistaPdf *m_vista;
    QListWidget *m_lista;
    Miniature *m_miniature;
    QLabel *m_lblPagina, *m_lblRisultati;
    QLineEdit *m_txtCerca;
    QString m_cercato;
    QList<Risultato> m_risultati;
    QList<VistaPdf::Segno> m_segni;
    int m_risultato = -1;
    bool m_caricato = false;
};

} // namespace quirdal
