#pragma once
// Key filters of the input fields, the required-field check and the label styling of
// the accessibility options: event filters that any screen installs on its widgets.
#include <QFont>
#include <QHash>
#include <QObject>
#include <QPalette>
#include <QPointer>

class QLabel;
class QLineEdit;
class QWidget;

namespace quirdal {

class Dialoghi;
struct Sessione;

// Numeric fields, digits only: digits and backspace pass; Enter is swallowed; any other
// character ("." and "," included) is refused with a beep and "Carattere non numerico".
// Editing and navigation keys (arrows, Tab, Delete, shortcuts) are not characters and
// pass as they are; a pasted text that is not all digits is refused as a whole.
class FiltroNumerico : public QObject {
    Q_OBJECT
public:
    FiltroNumerico(Dialoghi &dialoghi, QObject *padre = nullptr) : QObject(padre), m_d(dialoghi) {}
    void applica(QLineEdit *campo);
protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override;
private:
    Dialoghi &m_d;
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
    StileEtichette(const Sessione &sessione, QObject *padre = nullptr) : QObject(padre), m_s(sessione) {}
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
