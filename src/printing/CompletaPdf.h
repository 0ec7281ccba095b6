#pragma once
// The last step of a print's PDF, once every page is drawn and their number known: an
// incremental update appended to the file the writer made. The writer is given the pages of
// the form and then as many pages again, each holding only what needs the count ("Pagina n
// di N", the final note); the update gives each page of the form the content of its
// counterpart as a second layer, leaves the counterparts out of the document's page tree, and
// writes the document's data over the writer's own. The form is so laid out once, whatever
// its size, and nothing of it is held in memory meanwhile: what the update needs is read
// back from the file through its cross-reference table.
#include <QByteArray>
#include <QString>

class QIODevice;

namespace quirdal {

struct DatiDocumento {
    QByteArray informazioni; // the body of the information dictionary, "/Title ... /ModDate (...)"
    QByteArray xmp;          // the metadata packet, written over the writer's when given
};

// The file at percorso, lunghezza bytes long as written by the writer through scrittura (its
// last bytes in coda), whose first pagine pages are the form and the next pagine their
// counterparts: appends the update through scrittura. Throws Errore when the file is not
// the writer's as expected.
void completaPdf(const QString &percorso, QIODevice &scrittura, const QByteArray &coda, qint64 lunghezza, int pagine,
                 const DatiDocumento &dati);

} // namespace quirdal
