#include "courses/ui/CampiCorso.h"

#include "common/ui/Confine.h"
#include "courses/Elenchi.h"
#include "operator/Scelte.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace quirdal {

namespace {
const QString kNonValido = QStringLiteral("  (codice non più valido)");
const QString kDatoNonValido = QStringLiteral("non valido");
} // namespace

QLineEdit *campoCorso(const QString &nome, int lunghezza, int larghezza)
{
    auto *e = new QLineEdit;
    e->setObjectName(nome);
    if (lunghezza > 0)
        e->setMaxLength(lunghezza);
    if (larghezza > 0)
        e->setFixedWidth(larghezza);
    return e;
}

QLabel *didascalia(const QString &testo)
{
    auto *l = new QLabel(testo);
    l->setWordWrap(true);
    l->setFixedWidth(190);
    return l;
}

void riempiLista(QComboBox *c, const QStringList &voci, bool vuotaPrima)
{
    const QSignalBlocker b(c);
    c->clear();
    if (vuotaPrima)
        c->addItem(QString());
    c->addItems(voci);
    c->setCurrentIndex(-1);
}

bool selezionaCodice(QComboBox *c, const QString &codice)
{
    const QSignalBlocker b(c);
    if (codice.trimmed().isEmpty()) {
        c->setCurrentIndex(c->count() > 0 && c->itemText(0).isEmpty() ? 0 : -1);
        return true;
    }
    for (int i = 0; i < c->count(); ++i)
        if (codiceVoce(c->itemText(i)) == codice.trimmed()) {
            c->setCurrentIndex(i);
            return true;
        }
    c->addItem(codice.trimmed() + kNonValido, kDatoNonValido);
    c->setCurrentIndex(c->count() - 1);
    return false;
}

QString codiceScelto(const QComboBox *c) { return codiceVoce(c->currentText()); }

QString descrizioneScelta(const QComboBox *c)
{
    const QString t = c->currentText();
    const qsizetype i = t.indexOf(QStringLiteral("  "));
    return i < 0 ? QString() : t.mid(i + 2).trimmed();
}

bool voceNonValida(const QComboBox *c) { return c->currentData().toString() == kDatoNonValido; }

QString voceNonValidaDi(const QString &codice) { return codice + kNonValido; }

void nessunaScelta(QComboBox *c) { c->setCurrentIndex(c->count() > 0 && c->itemText(0).isEmpty() ? 0 : -1); }

qlonglong interoDi(const QLineEdit *e) { return e->text().trimmed().toLongLong(); }

void allaScelta(QComboBox *lista, Contesto &c, const StatoScheda &stato, std::function<void()> azione)
{
    QObject::connect(lista, &QComboBox::currentIndexChanged, lista, [&c, &stato, azione = std::move(azione)] {
        if (!stato.caricando)
            protetto(c, azione);
    });
}

void senzaCancellettoAllUscita(QLineEdit *campo, Contesto &c)
{
    alSegnale(campo, &QLineEdit::editingFinished, c, [campo] { campo->setText(senzaCancelletto(campo->text())); });
}

} // namespace quirdal
