#include "courses/ui/RiepiloghiCorsi.h"

#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "courses/Corso.h"

#include <QDialog>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quirdal {

std::optional<ProblemaCorso> frmProblemiCorsi(Contesto &c, const QList<ProblemaCorso> &problemi, QWidget *padre)
{
    QDialog elenco(padre);
    elenco.setObjectName(QStringLiteral("frmProblemiCorsi"));
    elenco.setWindowTitle(QStringLiteral("Verifica tutti i corsi"));
    auto *v = new QVBoxLayout(&elenco);
    v->addWidget(new QLabel(
        QStringLiteral("Problemi trovati: %1. Un doppio clic apre il corso (della sede corrente).").arg(problemi.size())));
    auto *l = new QListWidget;
    l->setObjectName(QStringLiteral("lstProblemi"));
    // A message is read whole, not scrolled sideways.
    l->setWordWrap(true);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    l->setResizeMode(QListView::Adjust);
    for (const ProblemaCorso &p : problemi)
        l->addItem(rigaProblema(p));
    v->addWidget(l);
    auto *chiudi = pulsante("cmdChiudi", QStringLiteral("Chiudi"));
    v->addWidget(chiudi, 0, Qt::AlignRight);
    QObject::connect(chiudi, &QPushButton::clicked, &elenco, &QDialog::reject);
    std::optional<ProblemaCorso> scelto;
    alSegnale(l, &QListWidget::itemActivated, c, [&](QListWidgetItem *i) {
        scelto = problemi.value(l->row(i));
        elenco.accept();
    });
    elenco.resize(760, 420);
    if (esegui(elenco) != QDialog::Accepted)
        return std::nullopt;
    return scelto;
}

void RAccorp(const RiepilogoAccorpati &r, QWidget *padre)
{
    QDialog d(padre);
    d.setObjectName(QStringLiteral("RAccorp"));
    d.setWindowTitle(QStringLiteral("Riepilogo corsi accorpati"));
    auto *f = new QFormLayout(&d);
    const char *const nomi[] = {"lbl_a11", "lbl_a12", "lbl_a21", "lbl_a22", "lbl_a31", "lbl_a32", "lbl_a41", "lbl_a42"};
    auto riga = [&](const char *nome, const QString &testo, Importo v) {
        auto *l = new QLabel(v.formato());
        l->setObjectName(QString::fromLatin1(nome));
        l->setAlignment(Qt::AlignRight);
        f->addRow(testo, l);
    };
    for (int i = 0; i < 8; ++i) {
        riga(nomi[i], QString::fromLatin1(nomi[i] + 4), r.a[i]);
        if (i % 2 == 1)
            riga(QStringLiteral("lbl_a%1_Tot").arg(i / 2 + 1).toLatin1().constData(), QStringLiteral("Totale a%1").arg(i / 2 + 1),
                 r.a[i - 1] + r.a[i]);
    }
    riga("lbl_a_Tot", QStringLiteral("Totale a"), r.totaleA());
    riga("lbl_b1", QStringLiteral("b1"), r.b1);
    riga("lbl_b2", QStringLiteral("b2"), r.b2);
    riga("lbl_b_Tot", QStringLiteral("Totale b"), r.totaleB());
    riga("lbl_ab_Tot", QStringLiteral("Totale generale"), r.totaleA() + r.totaleB());
    auto *ok = pulsante("cmdOK", QStringLiteral("OK"));
    QObject::connect(ok, &QPushButton::clicked, &d, &QDialog::accept);
    f->addRow(ok);
    esegui(d);
}

} // namespace quirdal
