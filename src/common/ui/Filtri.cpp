#include "common/ui/Filtri.h"

#include "common/Dialoghi.h"
#include "common/Sessione.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QTabWidget>

namespace quirdal {

namespace {
bool eCarattere(const QKeyEvent *k)
{
    if (k->text().isEmpty())
        return false;
    if (k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QChar c = k->text().at(0);
    return c.isPrint() || c == QLatin1Char('\b') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}
} // namespace

void FiltroNumerico::applica(QLineEdit *campo)
{
    campo->installEventFilter(this);
    // What does not come from a key press (paste, drop) is held to digits as well.
    campo->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), campo));
}

bool FiltroNumerico::eventFilter(QObject *, QEvent *evento)
{
    if (evento->type() != QEvent::KeyPress)
        return false;
    auto *k = static_cast<QKeyEvent *>(evento);
    if (k->key() == Qt::Key_Backspace)
        return false;
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)
        return true;
    if (!eCarattere(k))
        return false;
    const QChar c = k->text().at(0);
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
        return false;
    QApplication::beep();
    m_d.messaggio(QStringLiteral("Carattere non numerico"), QStringLiteral("Campo Numerico"), Icona::Informazione);
    return true;
}

void FiltroMaiuscole::applica(QLineEdit *campo) { campo->installEventFilter(this); }

bool FiltroMaiuscole::eventFilter(QObject *oggetto, QEvent *evento)
{
    if (evento->type() != QEvent::KeyPress)
        return false;
    auto *k = static_cast<QKeyEvent *>(evento);
    if (!eCarattere(k))
        return false;
    const QString testo = k->text();
    const QString su = testo.toUpper();
    if (su == testo)
        return false;
    if (auto *campo = qobject_cast<QLineEdit *>(oggetto)) {
        if (!campo->isReadOnly())
            campo->insert(su);
        return true;
    }
    return false;
}

void portaInVista(QWidget *campo)
{
    if (!campo)
        return;
    for (QWidget *w = campo->parentWidget(); w; w = w->parentWidget())
        if (auto *schede = qobject_cast<QTabWidget *>(w))
            for (int i = 0; i < schede->count(); ++i)
                if (schede->widget(i)->isAncestorOf(campo))
                    schede->setCurrentIndex(i);
    // A field down a long page is scrolled to, not only given the focus.
    for (QWidget *w = campo->parentWidget(); w; w = w->parentWidget())
        if (auto *area = qobject_cast<QScrollArea *>(w))
            area->ensureWidgetVisible(campo);
    campo->setFocus();
}

bool testoRichiesto(QLineEdit *campo, const QString &messaggio, Dialoghi &dialoghi)
{
    if (!campo->text().isEmpty())
        return true;
    dialoghi.messaggio(messaggio, QStringLiteral("Verifica dati"), Icona::Critico);
    campo->setFocus();
    return false;
}

void StileEtichette::applica(QWidget *radice)
{
    for (QLabel *l : radice->findChildren<QLabel *>())
        if (l->objectName().startsWith(QLatin1String("lbl"), Qt::CaseInsensitive)) {
            l->setAttribute(Qt::WA_Hover);
            l->installEventFilter(this);
        }
}

bool StileEtichette::eventFilter(QObject *oggetto, QEvent *evento)
{
    auto *l = qobject_cast<QLabel *>(oggetto);
    if (!l)
        return false;
    if (evento->type() == QEvent::Enter) {
        if (!(m_s.gOptSottolinea || m_s.gOptAumenta || m_s.gOptCambia) || m_originali.contains(l))
            return false;
        m_originali.insert(l, {l->palette(), l->font(), l->testAttribute(Qt::WA_SetCursor), l->cursor().shape()});
        if (m_s.gOptCambia) {
            QPalette p = l->palette();
            p.setColor(QPalette::WindowText, QColor(255, 0, 0));
            l->setPalette(p);
        }
        QFont f = l->font();
        if (m_s.gOptAumenta)
            f.setBold(true);
        if (m_s.gOptSottolinea)
            f.setUnderline(true);
        l->setFont(f);
        l->setCursor(Qt::PointingHandCursor);
    } else if (evento->type() == QEvent::Leave) {
        const auto it = m_originali.constFind(l);
        if (it == m_originali.constEnd())
            return false;
        l->setPalette(it->palette);
        l->setFont(it->font);
        if (it->cursore)
            l->setCursor(it->forma);
        else
            l->unsetCursor();
        m_originali.erase(it);
    }
    return false;
}

} // namespace quirdal
