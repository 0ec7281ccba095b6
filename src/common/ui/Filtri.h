#pragma once
// Key filters of the input fields, the required-field check and the label styling of
// the accessibility options: event filters that any screen installs on its widgets.
#include <QFont>
#include <QHash>
#include <QObject>
#include <QPalette>
#include <QPointer>

class QDialog;
class QLabel;
class QLineEdit;
class QWidget;

namespace quirdal {

class Dialoghi;
class ImpostazioniUtente;
struct Sessione;

// Numeric fields. Every kind lets digits and backspace pass and swallows Enter; editing
// and navigation keys (arrows, Tab, Delete, shortcuts) are not characters and pass as they
// are. A refused character beeps and shows "Carattere non numerico" as a notice that does
// not take the keyboard away (Dialoghi::avviso), so the typing that follows stays in the
// field. What does not come from a key press (paste, drop) is held to the same characters.
//  - Cifre: digits only, for the values stored as whole numbers and the codes (hours,
//    participants, counts, dates, postal codes): a "," would be read as nothing there.
//  - Virgola: the comma passes and "." becomes ",", for amounts; a pasted "." stays, as the
//    thousands mark of "1.234,50".
//  - Telefono: the blank, ".", "/" and "-" people write between the parts of a number are
//    dropped without a word, since a number is stored and sent as its digits alone.
class FiltroNumerico : public QObject {
    Q_OBJECT
public:
    enum class Tipo { Cifre, Virgola, Telefono };
    FiltroNumerico(Dialoghi &dialoghi, QObject *padre = nullptr, Tipo tipo = Tipo::Cifre)
        : QObject(padre), m_d(dialoghi), m_tipo(tipo)
    {
    }
    void applica(QLineEdit *campo);
protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;
private:
    Dialoghi &m_d;
    Tipo m_tipo;
};

// Typed letters become upper case.
class FiltroMaiuscole : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    void applica(QLineEdit *campo);
protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;
};

// Brings a field into view: every tab page that holds it becomes the current one, then the
// field gets the focus.
void portaInVista(QWidget *campo);

// A sheet of tabbed pages opens at the size that shows a whole page without scrolling,
// within the screen's free area, or at the size its user last left it at (a per-user
// setting named "Finestra" and the sheet's objectName).
void dimensioneRicordata(QDialog *finestra, ImpostazioniUtente &utente);

// The required-field check: an empty field shows the message (critical, "Verifica dati"),
// gets the focus back, and the result is false.
bool testoRichiesto(QLineEdit *campo, const QString &messaggio, Dialoghi &dialoghi);

// Labels whose name begins with "LBL" (any case) react to the mouse: red when
// gOptCambia is on, bold with gOptAumenta, underlined with gOptSottolinea, and the hand
// pointer; moving off restores them. The options are read at each pass, so a change
// is used at once.
class StileEtichette : public QObject {
    Q_OBJECT
public:
    StileEtichette(const Sessione &sessione, QObject *padre = nullptr) : QObject(padre), m_s(sessione) { }
    // Every matching label inside the widget.
    void applica(QWidget *radice);
protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;
private:
    struct Originale {
        QPalette palette;
        QFont font;
        bool cursore;
        Qt::CursorShape forma;
    };
    const Sessione &m_s;
    QHash<QObject *, Originale> m_originali;
};

} // namespace quirdal
