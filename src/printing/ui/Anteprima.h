#pragma once
// The preview of a print: its pages as thumbnails beside the page at reading size, zoom,
// moving by page, search of a text, the system's viewer and a copy of the file. It only
// reads the PDF: nothing of the application changes while it is open.
#include <QDialog>
#include <QList>
#include <QString>

class QLabel;
class QLineEdit;
class QListWidget;
class QPdfDocument;
class QPdfView;

namespace quirdal {

struct Contesto;

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
    void miniature();
    void mostraPagina(int pagina);
    void zoom(double fattore);

    Contesto &m_c;
    QString m_file;
    QPdfDocument *m_doc;
    QPdfView *m_vista;
    QListWidget *m_lista;
    QLabel *m_lblPagina, *m_lblRisultati;
    QLineEdit *m_txtCerca;
    QString m_cercato;
    QList<Risultato> m_risultati;
    int m_risultato = -1;
    bool m_caricato = false;
};

} // namespace quirdal
