#pragma once
// The help window (table of contents, search, the topic asked for), the topics of the
// screens that have no "Aiuto" button of their own, and F1 for the whole program.
#include <QDialog>
#include <QList>
#include <QString>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QSplitter;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace quirdal {

// The help file in a window of its own, opened at a topic: the anchor "t<number>".
class FinestraAiuto : public QDialog {
    Q_OBJECT
public:
    explicit FinestraAiuto(QWidget *padre = nullptr);
    ~FinestraAiuto() override;

    // Shows the topic; the file is read again only when it is another file.
    void apri(const QString &file, int argomento);
    int argomento() const { return m_argomento; }
    // Finds the search field's text after (or before) the current place, from the top
    // (or the end) once the end (or the top) is passed. False when the help lacks it.
    bool cerca(bool indietro = false);

protected:
    void hideEvent(QHideEvent *e) override;

private:
    void costruisciIndice();
    void vaiA(QTreeWidgetItem *voce);
    void segnaVoce(const QString &ancora);
    void evidenzia();
    void ricordaFinestra();

    QTextBrowser *m_testo;
    QTreeWidget *m_indice;
    QLineEdit *m_cerca;
    QLabel *m_esito;
    QSplitter *m_divisione;
    QString m_file;
    int m_argomento = 0;
};

// The one help window of the program: at the topic, in front; opened over the screen
// that asks (a window over a modal screen must belong to it to be usable).
FinestraAiuto *apriFinestraAiuto(const QString &file, int argomento, QWidget *padre);

// The topic of a screen by its objectName (and its tab, for screens whose tabs have
// topics of their own); 0 for a window that has none.
int argomentoSchermo(const QWidget *finestra);
// Every topic a screen without an "Aiuto" button opens on F1 (screens × tabs).
QList<int> argomentiSchermi();

// What F1 and the help window need from the program: how to open a topic for a screen
// (the same road as the screens' "Aiuto" buttons, with "File di Aiuto non presente"
// when the file is missing) and where the window keeps its size and place.
struct ServiziAiuto {
    std::function<void(int argomento, QWidget *finestra)> apri;
    std::function<QString()> leggiFinestra;
    std::function<void(const QString &)> scriviFinestra;
};

// F1, application-wide: the active screen's "Aiuto" button when it has one, otherwise
// its topic (or that of the screen it was opened from). Both services last as long as
// the returned object.
std::unique_ptr<QObject> installaServiziAiuto(ServiziAiuto servizi);

} // namespace quirdal
