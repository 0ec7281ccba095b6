#pragma once
#include "common/ui/Clessidra.h"
#include "startup/Avvio.h"

#include <QWidget>
#include <memory>

class QLabel;
class QProgressBar;

namespace quirdal {

class MDI_Main;

// The start-up screen with its progress labels, the splash, and the screens the
// start-up opens.
class AvvioForm : public QWidget, public VistaAvvio {
    Q_OBJECT
public:
    explicit AvvioForm(QWidget *padre = nullptr);
    ~AvvioForm() override;

    void mostraSplash() override;
    void chiudiSplash() override;
    void mostraImpostazioni(Contesto &c) override;
    void mostraAvvisoClient() override;
    void fase(const QString &titolo, const QString &riga2) override;
    void file(const QString &percorso, const QString &tabella, int totale) override;
    void record(int caricati) override;
    void attendi(bool clessidra) override;
    void mostraFinestraPrincipale(Contesto &c) override;

    // The main window, once shown; it outlives this screen.
    std::unique_ptr<MDI_Main> prendiFinestraPrincipale();

    QLabel *lblTitolo;
    QLabel *Label4;
    QLabel *lblFile;
    QLabel *lblTabe;
    QLabel *lblNRec;
    QProgressBar *ProgBar;

private:
    std::unique_ptr<QWidget> m_splash;
    std::unique_ptr<MDI_Main> m_main;
    Clessidra m_clessidra{false};
};

} // namespace quirdal
