// A program that installs the crash report as quirdal does, shows a screen and then ends
// the way its argument says, at that exact point: guasto CARTELLA segv|abort|terminate|
// qfatal|fpe|ill|bus|pila. Built for the tests only.
#include "common/Arresto.h"
#include "common/ui/SchermataInUso.h"

#include <QApplication>
#include <QDialog>
#include <QWindow>

#include <csignal>
#include <cstdio>
#include <stdexcept>

// Named functions, so that the report's call stack can be seen to hold them. Each calls
// what ends the program where the compiler cannot tell it does not return, so that the
// function's own frame stays on the stack under its name.
volatile int g_dopo = 0;

extern "C" {

Q_NEVER_INLINE int guastoSegmentazione()
{
    volatile int *volatile nessuno = nullptr;
    *nessuno = 1;
    return g_dopo;
}

Q_NEVER_INLINE int guastoAbort()
{
    void (*volatile fine)() = std::abort;
    fine();
    return g_dopo;
}

Q_NEVER_INLINE int guastoEccezione()
{
    void (*volatile lancia)() = [] { throw std::runtime_error("eccezione di prova"); };
    lancia();
    return g_dopo;
}

Q_NEVER_INLINE int guastoQFatal()
{
    void (*volatile fatale)() = [] { qFatal("errore fatale di prova %d", 42); };
    fatale();
    return g_dopo;
}

Q_NEVER_INLINE int guastoSegnale(int s)
{
    int (*volatile segnala)(int) = std::raise;
    segnala(s);
    return g_dopo;
}

Q_NEVER_INLINE int guastoPila(int n)
{
    volatile char spazio[4096];
    spazio[0] = static_cast<char>(n);
    return n < 0 ? 0 : guastoPila(n + 1) + spazio[0];
}

} // extern "C"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: guasto CARTELLA MODO\n");
        return 2;
    }
    quirdal::installaRapportoArresto(QString::fromLocal8Bit(argv[1]), QStringLiteral("guasto"));
    quirdal::seguiSchermataInUso();
    QDialog schermata;
    schermata.setObjectName(QStringLiteral("frmProva"));
    schermata.setWindowTitle(QStringLiteral("Schermata di prova"));
    schermata.show();
    schermata.activateWindow();
    // The window system activates the screen through events: handled before the end.
    for (int i = 0; i < 100 && QGuiApplication::focusWindow() != schermata.windowHandle(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    const QByteArray modo = argv[2];
    if (modo == "segv")
        guastoSegmentazione();
    else if (modo == "abort")
        guastoAbort();
    else if (modo == "terminate")
        guastoEccezione();
    else if (modo == "qfatal")
        guastoQFatal();
    else if (modo == "fpe")
        guastoSegnale(SIGFPE);
    else if (modo == "ill")
        guastoSegnale(SIGILL);
#ifdef SIGBUS
    else if (modo == "bus")
        guastoSegnale(SIGBUS);
#endif
    else if (modo == "pila")
        return guastoPila(0);
    std::fprintf(stderr, "modo sconosciuto: %s\n", modo.constData());
    return 2;
}
