#pragma once
#include <QString>
#include <functional>
#include <stdexcept>

namespace quirdal {

class Dialoghi;

// "The program ends": raised where the program must stop, caught by main, which
// closes the connection and the windows in order.
class FineProgramma : public std::exception {
public:
    explicit FineProgramma(QString motivo = {}) : m_motivo(std::move(motivo)) { }
    const char *what() const noexcept override { return "fine del programma"; }
    const QString &motivo() const { return m_motivo; }
private:
    QString m_motivo;
};

// A run-time failure with a number and a description, as the messages show them.
class Errore : public std::runtime_error {
public:
    Errore(long numero, QString descrizione)
        : std::runtime_error(descrizione.toStdString()), m_numero(numero), m_descrizione(std::move(descrizione))
    {
    }
    long numero() const { return m_numero; }
    const QString &descrizione() const { return m_descrizione; }
private:
    long m_numero;
    QString m_descrizione;
};

// Numbers of our own failures that callers tell apart.
namespace codici {
// The provider's "row changed or deleted by another user" (0x80040E38).
constexpr long RigaCancellata = static_cast<long>(static_cast<int>(0x80040E38u));
constexpr long DatabaseBloccato = 3260; // file in use by another workstation
constexpr long PasswordErrata = 3031;
constexpr long NonUnDatabase = 3343;
constexpr long TipoNonCorrispondente = 3421;
constexpr long FileNonTrovato = 3024;
constexpr long Generico = 3146;
constexpr long Traboccamento = 6;
constexpr long DivisionePerZero = 11;
} // namespace codici

// The generic error message: "Errore n", description, then the Retry/Cancel text.
QString testoErroreGenerico(long numero, const QString &descrizione);

// What Cancel on the generic error message does: end the program (where there is nothing
// to go back to, as at start-up), or abandon the step and go back to the screen, where the
// user's typing is still there.
enum class DopoAnnulla { Termina, Abbandona };

// Runs a step under the generic error handler: Retry runs it again; Cancel ends the
// program (FineProgramma) or, with Abbandona, returns false.
bool conGestoreGenerico(Dialoghi &dialoghi, const std::function<void()> &passo, DopoAnnulla dopo = DopoAnnulla::Termina);

} // namespace quirdal
