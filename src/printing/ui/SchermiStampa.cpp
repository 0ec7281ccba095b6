// What the print and send screens share (PezziStampa.h). Each screen is in the file of its
// name: StTrasm, SelBozza, StBozza, ViewStam (with the draft of one course), Invia, Trasmis.
#include "printing/ui/PezziStampa.h"

#include "common/Contesto.h"
#include "common/Sessione.h"
#include "printing/Stampa.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace quirdal {

namespace {

// A label that does what its button does when clicked.
class Didascalia : public QLabel {
public:
    Didascalia(const QString &testo, QAbstractButton *pulsante) : QLabel(testo), m_p(pulsante) { setWordWrap(true); }

protected:
    void mouseReleaseEvent(QMouseEvent *e) override
    {
        QLabel::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton && isEnabled() && m_p->isEnabled())
            m_p->click();
    }

private:
    QAbstractButton *m_p;
};

} // namespace

QLabel *schermistampa::etichetta(const QString &testo, const char *nome)
{
    auto *l = new QLabel(testo);
    l->setWordWrap(true);
    if (nome)
        l->setObjectName(QString::fromLatin1(nome));
    return l;
}

QLabel *schermistampa::voce(QGridLayout *g, int riga, QPushButton *b, const char *nomeEtichetta, const QString &testo)
{
    b->setMinimumSize(44, 36);
    auto *l = new Didascalia(testo, b);
    l->setObjectName(QString::fromLatin1(nomeEtichetta));
    g->addWidget(b, riga, 0);
    g->addWidget(l, riga, 1);
    return l;
}

void schermistampa::attivo(QPushButton *b, QLabel *l, bool si)
{
    b->setEnabled(si);
    l->setEnabled(si);
    l->setStyleSheet(si ? QStringLiteral("color: blue;") : QStringLiteral("color: grey;"));
}

QGroupBox *schermistampa::operatoreSelezionato(Contesto &c, bool conSede)
{
    const Sessione &s = c.sessione;
    auto *f = new QGroupBox(QStringLiteral("Operatore selezionato"));
    auto *g = new QGridLayout(f);
    auto valore = [](const QString &testo, const char *nome) {
        auto *l = etichetta(testo, nome);
        QFont b = l->font();
        b.setBold(true);
        l->setFont(b);
        return l;
    };
    g->addWidget(new QLabel(QStringLiteral("Operatore:")), 0, 0);
    g->addWidget(valore(s.gGrupOpe, "lblGrOpe"), 0, 1);
    g->addWidget(valore(s.gOperatore, "lblOpe"), 0, 2);
    const QString nome = s.gDenomOper.isEmpty() ? denominazioneOperatore(c.db, s) : s.gDenomOper;
    g->addWidget(valore(nome, "lblDenOpe"), 0, 3);
    g->addWidget(new QLabel(QStringLiteral("Provincia:")), 1, 0);
    g->addWidget(valore(s.gDesProv, "lblDesProv"), 1, 1, 1, 3);
    if (conSede) {
        const bool tutte = s.gTipoSede.isEmpty();
        g->addWidget(new QLabel(QStringLiteral("Sede:")), 2, 0);
        g->addWidget(valore(tutte ? QStringLiteral("Tutte") : s.gCompo, "lblCompo"), 2, 1);
        g->addWidget(valore(tutte ? QString() : s.gDenCompo, "lblDenCompo"), 2, 2, 1, 2);
    }
    g->setColumnStretch(3, 1);
    return f;
}

bool schermistampa::definitiva(const Sessione &s) { return s.gTipoStampa != kStampaBozza; }

} // namespace quirdal
