#include "common/ui/Filtri.h"

#include "common/Dialoghi.h"
#include "common/Sessione.h"
#include "config/Impostazioni.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScreen>
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

// What people write between the parts of a telephone number.
bool separatoreTelefono(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('.') || c == QLatin1Char('/') || c == QLatin1Char('-');
}
} // namespace

void FiltroNumerico::applica(QLineEdit *campo)
{
    campo->installEventFilter(this);
    const QString ammessi = m_tipo == Tipo::Cifre ? QStringLiteral("[0-9]*")
        : m_tipo == Tipo::Virgola                 ? QStringLiteral("[0-9,.]*")
                                                  : QStringLiteral("[0-9 ./-]*");
    campo->setValidator(new QRegularExpressionValidator(QRegularExpression(ammessi), campo));
    if (m_tipo == Tipo::Telefono)
        // A number pasted with its separators keeps its digits; only what the user edits
        // changes, never a stored value being shown.
        connect(campo, &QLineEdit::textEdited, campo, [campo](const QString &t) {
            QString cifre = t;
            cifre.removeIf(separatoreTelefono);
            if (cifre == t)
                return;
            int cursore = 0;
            for (const QChar ch : t.left(campo->cursorPosition()))
                cursore += separatoreTelefono(ch) ? 0 : 1;
            campo->setText(cifre);
            campo->setCursorPosition(cursore);
        });
}

bool FiltroNumerico::eventFilter(QObject *oggetto, QEvent *evento)
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
    if (m_tipo == Tipo::Virgola && c == QLatin1Char(','))
        return false;
    if (m_tipo == Tipo::Virgola && c == QLatin1Char('.')) {
        if (auto *campo = qobject_cast<QLineEdit *>(oggetto); campo && !campo->isReadOnly())
            campo->insert(QStringLiteral(","));
        return true;
    }
    if (m_tipo == Tipo::Telefono && separatoreTelefono(c))
        return true;
    QApplication::beep();
    m_d.avviso(QStringLiteral("Carattere non numerico"), QStringLiteral("Campo Numerico"));
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

namespace {
// Keeps the size the user leaves a sheet at, when it is not the one it opened with.
class Dimensione : public QObject {
public:
    Dimensione(QDialog *finestra, ImpostazioniUtente &utente, QSize iniziale)
        : QObject(finestra), m_utente(utente), m_iniziale(iniziale)
    {
        finestra->installEventFilter(this);
    }
    static QString chiave(const QWidget *w) { return QStringLiteral("Finestra") + w->objectName(); }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        auto *w = static_cast<QWidget *>(o);
        if (e->type() == QEvent::Hide && w->size() != m_iniziale) {
            m_utente.scrivi(chiave(w), QStringLiteral("%1x%2").arg(w->width()).arg(w->height()));
            m_iniziale = w->size();
        }
        return false;
    }

private:
    ImpostazioniUtente &m_utente;
    QSize m_iniziale;
};
} // namespace

void dimensioneRicordata(QDialog *finestra, ImpostazioniUtente &utente)
{
    // The pages scroll on a small screen; their areas ask for a bounded size, so the whole
    // page is what the largest page asks for beyond what its area asked.
    QSize pagina, area;
    for (const QScrollArea *a : finestra->findChildren<QScrollArea *>())
        if (a->widget()) {
            const int cornice = 2 * a->frameWidth();
            pagina = pagina.expandedTo(a->widget()->sizeHint() + QSize(cornice, cornice));
            area = area.expandedTo(a->sizeHint());
        }
    QSize voluta = finestra->sizeHint() + (pagina - area).expandedTo(QSize(0, 0)) + QSize(4, 4);
    const QStringList ricordata = utente.leggi(Dimensione::chiave(finestra)).split(QLatin1Char('x'));
    if (ricordata.size() == 2 && ricordata[0].toInt() > 0 && ricordata[1].toInt() > 0)
        voluta = QSize(ricordata[0].toInt(), ricordata[1].toInt());
    // Within the screen's free area, leaving room for the window's title and borders.
    const QScreen *schermo = finestra->screen() ? finestra->screen() : QGuiApplication::primaryScreen();
    if (schermo)
        voluta = voluta.boundedTo(schermo->availableGeometry().size() - QSize(16, 48));
    voluta = voluta.expandedTo(finestra->minimumSizeHint());
    finestra->resize(voluta);
    new Dimensione(finestra, utente, voluta);
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
