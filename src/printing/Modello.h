#pragma once
// The templates of the application form, one per section, and their filling. A template is
// rich text (Qt's HTML subset) holding fixed text and placeholders written "<Name>" in the
// text (so "&lt;Name&gt;" in its source). Filling replaces each placeholder by its value, over
// the whole document; a block between "<!--RIPETI name-->" and "<!--FINE name-->" is written
// once for each row given for it (one blank row when there is none). What is left unfilled is
// known, so that the print can say which.
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace quirdal {

// The values of a section's placeholders, ready to go into the page.
class Valori {
public:
    // A text, escaped; line breaks kept.
    void testo(const QString &segnaposto, const QString &valore);
    // A text in bold.
    void grassetto(const QString &segnaposto, const QString &valore);
    // A check box drawn as a box, ticked or not.
    void casella(const QString &segnaposto, bool spuntata);
    // Markup written as it is (a picture, a ready-made piece of the page).
    void html(const QString &segnaposto, const QString &markup);
    bool contiene(const QString &segnaposto) const { return m_v.contains(segnaposto); }
    QString valore(const QString &segnaposto) const { return m_v.value(segnaposto); }
    void unisci(const Valori &altri);

private:
    QHash<QString, QString> m_v;
};

using Righe = QList<Valori>;

// A template's text: from the "stampa" folder of the program folder when the installation has
// its own there, otherwise the one built into the program. Throws Errore when there is none.
QString testoModello(const QString &cartellaProgramma, const QString &nome);
// The names of the templates built into the program.
QStringList nomiModelli();

struct PaginaCompilata {
    QString html;
    QSet<QString> nonCompilati; // placeholders left as they were
};

// Fills a template's text with the values (and the rows of its repeated blocks).
PaginaCompilata compila(const QString &modello, const Valori &valori, const QHash<QString, Righe> &blocchi = {});

// The style every page of the form shares.
const QString &stileModulo();

} // namespace quirdal
