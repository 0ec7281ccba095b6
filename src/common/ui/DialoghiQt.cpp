#include "common/ui/DialoghiQt.h"

#include "common/Errori.h"
#include "common/ui/Aiuto.h"
#include "common/ui/Confine.h"

#include <QComboBox>
#include <QCursor>
#include <QFont>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QToolTip>

namespace quirdal {

namespace {
QWidget *finestraAttiva() { return QApplication::activeWindow(); }
} // namespace

Risposta DialoghiQt::messaggio(const QString &testo, const QString &titolo, Icona icona, Pulsanti pulsanti)
{
    // While every window closes no question can be answered.
    if (fineRichiesta())
        throw FineProgramma(QStringLiteral("chiusura in corso"));
    QMessageBox box(finestraAttiva());
    box.setWindowTitle(titolo.isEmpty() ? kTitoloProdotto : titolo);
    QString t = testo;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(t);
    box.setTextFormat(Qt::PlainText);
    switch (icona) {
    case Icona::Critico:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icona::Esclamazione:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icona::Domanda:
        box.setIcon(QMessageBox::Question);
        break;
    case Icona::Informazione:
        box.setIcon(QMessageBox::Information);
        break;
    case Icona::Nessuna:
        break;
    }
    switch (pulsanti) {
    case Pulsanti::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Pulsanti::OkAnnulla:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Pulsanti::SiNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Pulsanti::SiNoAnnulla:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case Pulsanti::RiprovaAnnulla:
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Risposta::Ok;
    case QMessageBox::Yes:
        return Risposta::Si;
    case QMessageBox::No:
        return Risposta::No;
    case QMessageBox::Retry:
        return Risposta::Riprova;
    default:
        return pulsanti == Pulsanti::SiNo ? Risposta::No : Risposta::Annulla;
    }
}

void DialoghiQt::avviso(const QString &testo, const QString &)
{
    QWidget *campo = QApplication::focusWidget();
    const QPoint dove = campo ? campo->mapToGlobal(QPoint(0, campo->height())) : QCursor::pos();
    QToolTip::showText(dove, testo, campo, {}, 3000);
}

std::optional<QString> DialoghiQt::chiediTesto(const QString &prompt, const QString &titolo, const QString &predefinito)
{
    bool ok = false;
    const QString t = QInputDialog::getText(finestraAttiva(), titolo, prompt, QLineEdit::Normal, predefinito, &ok);
    if (!ok)
        return std::nullopt;
    return t;
}

QString filtroQt(const QString &filtro)
{
    const QStringList p = filtro.split(QLatin1Char('|'));
    QStringList r;
    for (int i = 0; i + 1 < p.size(); i += 2) {
        QString d = p[i];
        if (!d.contains(QLatin1Char('(')))
            d += QStringLiteral(" (") + p[i + 1] + QLatin1Char(')');
        r << d;
    }
    return r.join(QStringLiteral(";;"));
}

QString DialoghiQt::scegliFileDaAprire(const QString &titolo, const QString &cartella, const QString &filtro)
{
    return QFileDialog::getOpenFileName(finestraAttiva(), titolo, cartella, filtroQt(filtro));
}

QString DialoghiQt::scegliFileDaSalvare(const QString &titolo, const QString &cartella, const QString &filtro)
{
    return QFileDialog::getSaveFileName(finestraAttiva(), titolo, cartella, filtroQt(filtro));
}

QPushButton *pulsante(const char *nome, const QString &testo)
{
    auto *b = new QPushButton(testo);
    b->setObjectName(QString::fromLatin1(nome));
    return b;
}

QFont fontFisso()
{
    QFont f(QStringLiteral("DejaVu Sans Mono"));
    f.setStyleHint(QFont::Monospace);
    return f;
}

QComboBox *tendina(const QString &nome, int caratteri)
{
    auto *c = new QComboBox;
    c->setObjectName(nome);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(caratteri);
    return c;
}

void mostraAiuto(const QString &fileAiuto, int argomento, QWidget *padre) { apriFinestraAiuto(fileAiuto, argomento, padre); }

} // namespace quirdal
