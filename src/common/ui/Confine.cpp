#include "common/ui/Confine.h"

#include "common/Contesto.h"
#include "common/Errori.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QWidget>

namespace quirdal {

namespace {
bool g_fine = false;
bool g_lunga = false;

// Every open screen closes, the innermost first; the main window last, which ends the
// event loop. Each exec() that returns because of it raises the end again (esegui).
void chiudiTutto()
{
    QList<QPointer<QWidget>> finestre;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible())
            finestre << w;
    for (const QPointer<QWidget> &w : finestre)
        if (auto *d = qobject_cast<QDialog *>(w.data()))
            d->done(QDialog::Rejected);
    for (const QPointer<QWidget> &w : finestre)
        if (w && !qobject_cast<QDialog *>(w.data()))
            w->close();
}
} // namespace

void protetto(Contesto &c, const std::function<void()> &azione)
{
    if (g_fine)
        return;
    try {
        // Cancel on the generic message abandons the action: the screen stays as it was.
        conGestoreGenerico(c.dialoghi, azione, DopoAnnulla::Abbandona);
    } catch (const FineProgramma &) {
        g_fine = true;
        chiudiTutto();
    } catch (const std::exception &e) {
        // A fault of the program itself: said as an error, never carried into the event loop.
        try {
            conGestoreGenerico(
                c.dialoghi, [&] { throw Errore(codici::Generico, QString::fromLocal8Bit(e.what())); }, DopoAnnulla::Abbandona);
        } catch (...) {
        }
    }
}

void alClic(QAbstractButton *pulsante, Contesto &c, std::function<void()> azione)
{
    QObject::connect(pulsante, &QAbstractButton::clicked, pulsante, [&c, azione = std::move(azione)] { protetto(c, azione); });
}

int esegui(QDialog &dialogo)
{
    if (g_fine)
        throw FineProgramma(QStringLiteral("chiusura in corso"));
    const int r = dialogo.exec();
    if (g_fine)
        throw FineProgramma(QStringLiteral("chiusura in corso"));
    return r;
}

bool fineRichiesta() { return g_fine; }
void dimenticaFine() { g_fine = false; }

OperazioneLunga::OperazioneLunga(const QList<QWidget *> &menu)
{
    if (g_lunga) {
        m_rifiutata = true;
        return;
    }
    g_lunga = true;
    for (QWidget *w : menu) {
        m_menu << w;
        m_eraAttivo << w->isEnabled();
        w->setEnabled(false);
    }
}

OperazioneLunga::~OperazioneLunga()
{
    if (m_rifiutata)
        return;
    g_lunga = false;
    for (qsizetype i = 0; i < m_menu.size(); ++i)
        if (m_menu[i])
            m_menu[i]->setEnabled(m_eraAttivo[i]);
}

} // namespace quirdal
