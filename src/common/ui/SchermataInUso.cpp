#include "common/ui/SchermataInUso.h"

#include "common/Arresto.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace quirdal {

namespace {

QString unaFinestra(const QWidget *w)
{
    const QString nome = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    return nome + QStringLiteral(" \"") + w->windowTitle() + QLatin1Char('"');
}

} // namespace

QString descrizioneSchermata(const QWidget *finestra)
{
    if (!finestra)
        return QStringLiteral("nessuna");
    QString d = unaFinestra(finestra);
    if (const QWidget *padre = finestra->parentWidget())
        d += QStringLiteral(" su ") + unaFinestra(padre->window());
    return d;
}

void seguiSchermataInUso()
{
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, qApp, [](QWindow *finestra) {
        if (!finestra)
            return; // the program lost the focus: the last screen is still the one in use
        // A menu or a tooltip opens over the screen in use, which stays the one to name.
        if (finestra->type() == Qt::Popup || finestra->type() == Qt::ToolTip)
            return;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->windowHandle() == finestra) {
                registraSchermata(descrizioneSchermata(w));
                return;
            }
        registraSchermata(finestra->objectName() + QStringLiteral(" \"") + finestra->title() + QLatin1Char('"'));
    });
}

} // namespace quirdal
