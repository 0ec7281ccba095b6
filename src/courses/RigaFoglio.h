#pragma once
// The rows of a courses' spreadsheet read cell by cell: each value as its column needs it, a value
// that cannot be read reported against its sheet, row and column header.
#include "common/FoglioDiCalcolo.h"
#include "common/Importo.h"
#include "courses/Corso.h"
#include "courses/FoglioCorsi.h"

#include <QHash>
#include <QMap>
#include <QSet>

#include <array>
#include <optional>

namespace quirdal::foglio {

bool soloCifre(const QString &t);

// A free text as the sheet keeps it: no control characters, one line unless the field holds
// several (then with CR LF between them), "#" as "SHARP" where the sheet turns it so and upper
// case where the sheet types it so. A text the file leaves as it was stays as it was.
enum class Testo { Libero, Cancelletto, Maiuscolo };
QString testoLibero(QString t, Testo tipo, bool piuRighe, const QString &memorizzato = {});

// The columns of a sheet by their headers (the first row), in whatever order.
class Intestazioni {
public:
    explicit Intestazioni(const FoglioLetto &f);
    int colonna(const QString &h) const;
    QStringList mancanti(const QStringList &richieste) const;

private:
    QHash<QString, int> m_colonne;
};

// The values of one row, each read as its column needs it; a value that cannot be is a problem
// of its cell, and counts as empty. A value that cannot be read leaves the value the course had
// for the other checks, so that one wrong cell is one line of the report.
class Riga {
public:
    Riga(const FoglioLetto &f, const Intestazioni &h, int riga, bool date1904, QList<ProblemaFoglio> &problemi)
        : m_f(f), m_h(h), m_riga(riga), m_date1904(date1904), m_problemi(problemi)
    {
    }
    int numero() const { return m_riga; }
    bool vuota() const;
    bool presente(const QString &colonna) const { return m_h.colonna(colonna) > 0; }
    void problema(const QString &colonna, const QString &messaggio);
    bool errata(const QString &colonna) const { return m_errate.contains(colonna); }
    bool haProblemi() const { return !m_errate.isEmpty(); }
    const QSet<QString> &errate() const { return m_errate; }

    // The text of a cell: a number as the digits that make it.
    QString grezzo(const QString &colonna) const;
    QString codice(const QString &colonna) const { return grezzo(colonna).trimmed(); }
    qlonglong intero(const QString &colonna, qlonglong corrente = 0);
    Importo importo(const QString &colonna, Importo corrente = {});
    bool sino(const QString &colonna, bool corrente = false);
    // Day, month and year: from a date (a serial number), from "gg/mm/aaaa" (or with "-" or
    // "."), from an ISO date; anything else is left for the date rule to refuse.
    std::array<QString, 3> data(const QString &colonna, const std::array<QString, 3> &corrente);

private:
    const FoglioLetto &m_f;
    const Intestazioni &m_h;
    int m_riga;
    bool m_date1904;
    QList<ProblemaFoglio> &m_problemi;
    QSet<QString> m_errate;
};

// The course code as the sheet writes it: four digits ("12" is "0012", as a spreadsheet that
// read "0012" as a number gives it back); empty stays empty.
std::optional<QString> codiceCorso(const QString &t);
std::optional<QString> numeroAccorp(const QString &t);

struct RigaSpese {
    int riga = 0;
    qlonglong sede = 0;
    int anno = 0; // 0 to 2
};

struct CorsoLetto {
    int riga = 0;
    bool chiaveValida = true; // the course is identified: its rules can be run
    bool valido = true;       // every value read: it can be written
    bool nuovo = false;
    DatiCorso dati;
    std::optional<DatiCorso> memorizzato;
    QMap<int, int> righeSpese; // year (0 to 2) -> row of "Spese"
    QSet<QString> colonneErrate;
    bool speseErrate = false;
    bool scritto = false;
};

// The headers each sheet must have.
QList<QString> intestazioniSpese();
QList<QString> intestazioniCorsi();

} // namespace quirdal::foglio
