#pragma once
// Every message box, question, input prompt and file dialog passes through here,
// shaped like the classic MsgBox: text, title, icon, buttons -> answer.
// Screens use a QMessageBox implementation, tests a scripted fake, the CLI stderr.
#include <QString>
#include <optional>

namespace quirdal {

enum class Icona { Nessuna, Critico, Esclamazione, Domanda, Informazione };
enum class Pulsanti { Ok, OkAnnulla, SiNo, SiNoAnnulla, RiprovaAnnulla };
enum class Risposta { Ok, Annulla, Si, No, Riprova };

// Title used where a message has "no title of its own": the product caption.
inline const QString kTitoloProdotto = QStringLiteral("QUIRDAL");

class Dialoghi {
public:
    virtual ~Dialoghi() = default;
    virtual Risposta messaggio(const QString &testo, const QString &titolo, Icona icona, Pulsanti pulsanti = Pulsanti::Ok) = 0;
    // A short notice that must not take the keyboard away from the field being typed in
    // (a refused key); where nothing better exists, a message.
    virtual void avviso(const QString &testo, const QString &titolo) { messaggio(testo, titolo, Icona::Informazione); }
    // Empty optional when the user cancels.
    virtual std::optional<QString> chiediTesto(const QString &prompt, const QString &titolo, const QString &predefinito = {}) = 0;
    // Empty text when the user cancels. filtro uses the "Descrizione|*.ext" form.
    virtual QString scegliFileDaAprire(const QString &titolo, const QString &cartella, const QString &filtro) = 0;
    virtual QString scegliFileDaSalvare(const QString &titolo, const QString &cartella, const QString &filtro) = 0;
};

} // namespace quirdal
