#pragma once
// What the pages of the course sheet share: the sheet's mode, the fields' names and sizes,
// and the drop-down lists of "code  description" entries.
#include <QString>
#include <QStringList>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;

namespace quirdal {

struct Contesto;

// What the course sheet is doing.
enum class Modo {
    SedeVuota,     // the site has no course, and none is being entered: the sections are off
    Consultazione, // a stored course is shown: a change is saved with "Salva Modifiche" or on a move
    Inserimento,   // a new course (or a copy) is being entered: it has no row yet, no moves
    SolaLettura,   // the application is printed: its courses (if the site has any) are shown, nothing is written
};

// The mode, read by every page, and the sheet's filling of its fields from a course, during
// which the fields' own reactions (cascades of lists, ticks that clear a field) wait.
struct StatoScheda {
    Modo modo = Modo::SedeVuota;
    bool caricando = false;
    bool solaLettura() const { return modo == Modo::SolaLettura; }
};

// The fields' reactions wait for as long as the guard lives.
class Caricamento {
public:
    explicit Caricamento(StatoScheda &s) : m_s(s), m_prima(s.caricando) { s.caricando = true; }
    ~Caricamento() { m_s.caricando = m_prima; }
    Caricamento(const Caricamento &) = delete;
    Caricamento &operator=(const Caricamento &) = delete;

private:
    StatoScheda &m_s;
    bool m_prima;
};

// A text field named for the tests and the checks' messages: at most lunghezza characters and
// larghezza points wide when given.
QLineEdit *campoCorso(const QString &nome, int lunghezza = 0, int larghezza = 0);
// The caption left of a field, wrapped on a narrow column.
QLabel *didascalia(const QString &testo);

// The list's entries, none chosen, without a signal.
void riempiLista(QComboBox *c, const QStringList &voci, bool vuotaPrima);
// Selects the entry of the code; a stored code the list no longer has is shown, marked,
// rather than changed behind the user's back. True when the code fits the list.
bool selezionaCodice(QComboBox *c, const QString &codice);
// The code of the entry chosen ("code  description").
QString codiceScelto(const QComboBox *c);
// The description of the entry chosen.
QString descrizioneScelta(const QComboBox *c);
// The entry chosen is a stored code the list no longer has.
bool voceNonValida(const QComboBox *c);
// The text of the entry that shows a stored code the list no longer has.
QString voceNonValidaDi(const QString &codice);
// The list back on no code: its empty first entry, or no entry at all.
void nessunaScelta(QComboBox *c);
// A whole number typed (0 when there is none).
qlonglong interoDi(const QLineEdit *e);

// A choice in a list runs the action behind the boundary, unless the sheet is filling its fields.
void allaScelta(QComboBox *lista, Contesto &c, const StatoScheda &stato, std::function<void()> azione);
// "#" cannot travel in the transmission file: a free text left is written without it.
void senzaCancellettoAllUscita(QLineEdit *campo, Contesto &c);

} // namespace quirdal
