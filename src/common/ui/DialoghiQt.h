#pragma once
#include "common/Dialoghi.h"

class QComboBox;
class QFont;
class QPushButton;
class QWidget;

namespace quirdal {

// Message boxes, prompts and file dialogs of the screens.
class DialoghiQt : public Dialoghi {
public:
    Risposta messaggio(const QString &testo, const QString &titolo, Icona icona, Pulsanti pulsanti) override;
    // A tooltip at the field that has the focus: the typing goes on into the field.
    void avviso(const QString &testo, const QString &titolo) override;
    std::optional<QString> chiediTesto(const QString &prompt, const QString &titolo, const QString &predefinito) override;
    QString scegliFileDaAprire(const QString &titolo, const QString &cartella, const QString &filtro) override;
    QString scegliFileDaSalvare(const QString &titolo, const QString &cartella, const QString &filtro) override;
};

// Turns the "Descrizione|*.ext|Altro|*.x" form into Qt's "Descrizione (*.ext);;Altro (*.x)".
QString filtroQt(const QString &filtro);

// A button with its caption and the objectName the program and its tests know it by.
QPushButton *pulsante(const char *nome, const QString &testo);
// A drop-down list named for the tests, as wide as the given number of characters and no
// wider whatever its entries.
QComboBox *tendina(const QString &nome, int caratteri = 36);
// The fixed-width font of the lists whose entries are columns padded with blanks.
QFont fontFisso();

// The help file at a topic (its anchor "t<number>"), in the help window (common/ui/Aiuto.h).
void mostraAiuto(const QString &fileAiuto, int argomento, QWidget *padre = nullptr);

} // namespace quirdal
