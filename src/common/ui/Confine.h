#pragma once
// The one boundary between the screens and the logic. Every slot that runs logic goes
// through protetto(): an error becomes the generic Retry/Cancel message (Retry runs the
// action again, Cancel abandons it and leaves the screen as it was, with whatever the
// user typed), the end of the program closes every window in order. No exception ever
// crosses the event loop.
#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <type_traits>

class QAbstractButton;
class QDialog;

namespace quirdal {

struct Contesto;

void protetto(Contesto &c, const std::function<void()> &azione);
// A button's click runs the action behind the boundary.
void alClic(QAbstractButton *pulsante, Contesto &c, std::function<void()> azione);
// Any other signal runs the action behind the boundary, with the signal's arguments when
// the action takes them; the connection lives as long as the emitter (a widget of the screen).
template <typename Emittente, typename Segnale, typename Azione>
QMetaObject::Connection alSegnale(Emittente *emittente, Segnale segnale, Contesto &c, Azione azione)
{
    return QObject::connect(emittente, segnale, emittente, [&c, azione = std::move(azione)](const auto &...argomenti) {
        protetto(c, [&] {
            if constexpr (std::is_invocable_v<const Azione &, decltype(argomenti)...>)
                azione(argomenti...);
            else
                azione();
        });
    });
}

// A modal screen opened from logic run by protetto(): exec(), then the end of the
// program raised again when it was asked for while the screen was open, so that the code
// after exec() never runs on a program that is ending.
int esegui(QDialog &dialogo);

// The end of the program has been asked for (all windows are closing).
bool fineRichiesta();
// Tests: forget a previous end.
void dimenticaFine();

// While a long operation runs (load, download, print, send) the given widgets (the main
// menu's entries) refuse input, and a second long operation cannot start inside the first.
class OperazioneLunga {
public:
    explicit OperazioneLunga(const QList<QWidget *> &menu);
    ~OperazioneLunga();
    OperazioneLunga(const OperazioneLunga &) = delete;
    OperazioneLunga &operator=(const OperazioneLunga &) = delete;
    // True when another long operation is running (this one must not start).
    bool rifiutata() const { return m_rifiutata; }

private:
    QList<QPointer<QWidget>> m_menu;
    QList<bool> m_eraAttivo;
    bool m_rifiutata = false;
};

} // namespace quirdal
