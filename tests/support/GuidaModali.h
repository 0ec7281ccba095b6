#pragma once
// The screens driven as a user drives them: their modal dialogs, widgets by name, clicks, typing.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QProgressDialog>
#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QRadioButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>

namespace quirdal::test {

// Acts on the modal dialogs the screen opens with exec(), one action per opening; the
// action runs inside the dialog's own event loop. A dialog nobody expected, or one the
// action left open, is closed, so that a faulty screen fails the test instead of
// hanging it; one that keeps coming back ends the run.
class GuidaModali : public QObject {
public:
    using Azione = std::function<void(QDialog *)>;
    QStringList aperte; // objectName of each modal dialog, in opening order
    int chiuseForzate = 0;

    explicit GuidaModali(QList<Azione> azioni = {}) : m_azioni(std::move(azioni)) { pianifica(); }

private:
    void pianifica()
    {
        QTimer::singleShot(10, this, [this] {
            controlla();
            pianifica();
        });
    }
    void controlla()
    {
        auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        // A progress dialog is shown beside the work, never exec()'d: not one of the screen's questions.
        if (qobject_cast<QProgressDialog *>(d))
            return;
        if (!d)
            return;
        if (!d->property("guidata").toBool()) {
            d->setProperty("guidata", true);
            aperte << d->objectName();
            m_attesa = 0;
            if (!m_azioni.isEmpty()) {
                m_azioni.takeFirst()(d);
                return;
            }
        } else if (++m_attesa < 50) {
            return;
        }
        if (++chiuseForzate > 5)
            qFatal("%s riaperto senza fine", qPrintable(d->objectName()));
        d->done(QDialog::Rejected);
    }
    QList<Azione> m_azioni;
    int m_attesa = 0;
};

// A widget of the screen by its objectName; a missing one stops the test at once.
template <typename T = QWidget>
T *trova(QWidget *w, const QString &nome)
{
    T *f = w->findChild<T *>(nome);
    if (!f)
        qFatal("widget %s non trovato", qPrintable(nome));
    return f;
}

// A click as the user gives it: check boxes and radios on their box, since a click beside
// the label does nothing.
inline void clicca(QWidget *w, const QString &nome)
{
    QWidget *b = trova(w, nome);
    const bool casella = qobject_cast<QCheckBox *>(b) || qobject_cast<QRadioButton *>(b);
    QTest::mouseClick(b, Qt::LeftButton, {}, casella ? QPoint(b->height() / 2, b->height() / 2) : QPoint());
}

// The field's text replaced by typing.
inline void digita(QWidget *w, const QString &nome, const QString &testo)
{
    auto *t = trova<QLineEdit>(w, nome);
    QTest::keyClick(t, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(t, Qt::Key_Delete);
    QTest::keyClicks(t, testo);
}

inline void mostra(QWidget &w)
{
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
}

} // namespace quirdal::test
