#include "operator/ui/PannelloLaboratori.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "operator/Componente.h"
#include "operator/ui/CampiScheda.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quirdal {

namespace {

const QString kLab = QStringLiteral("Tipologia Laboratorio");

QString troncato(const QString &t, int n) { return t.size() > n ? t.left(n) + QStringLiteral("...") : t; }

// The two prompts of a laboratory; nothing when the user gives up.
std::optional<std::pair<qlonglong, QString>> chiediLaboratorio(Dialoghi &d, const QString &numero, const QString &tipo,
                                                               bool modifica)
{
    std::optional<qlonglong> n;
    for (;;) {
        const std::optional<QString> t =
            d.chiediTesto(QStringLiteral("Immetti il numero di laboratori"), QStringLiteral("Numero Laboratori"), numero);
        if (!t)
            return std::nullopt;
        if ((n = numeroDiLaboratori(*t)))
            break;
        if (d.messaggio(QStringLiteral("Non è stato immesso un numero valido. Reinserire? Scegliendo NO l'attuale inserimento "
                                       "verrà annullato"),
                        QStringLiteral("Numero Laboratori"), Icona::Domanda, Pulsanti::SiNo)
            != Risposta::Si)
            return std::nullopt;
    }
    std::optional<QString> descrizione =
        d.chiediTesto(QStringLiteral("Immetti descrizione tipologia laboratorio (255 caratteri)"), kLab, tipo);
    if (!descrizione || descrizione->trimmed().isEmpty())
        return std::nullopt;
    if (descrizione->size() > kLunghezzaTipoLab) {
        const QString domanda = modifica ? QStringLiteral("Sono stati immessi più di 255 caratteri. Troncare la descrizione? "
                                                          "Scegliendo NO l'attuale modifica verrà annullata")
                                         : QStringLiteral("Sono stati immessi più di 255 caratteri. Troncare la descrizione? "
                                                          "Scegliendo NO l'attuale inserimento verrà annullato");
        if (d.messaggio(domanda, kLab, Icona::Domanda, Pulsanti::SiNo) != Risposta::Si)
            return std::nullopt;
        descrizione->truncate(kLunghezzaTipoLab);
    }
    return std::pair{*n, *descrizione};
}

} // namespace

PannelloLaboratori::PannelloLaboratori(Contesto &c, QWidget *padre)
    : QGroupBox(QStringLiteral("2.2 Autocertificazione"), padre), m_c(c)
{
    auto *v22 = new QVBoxLayout(this);
    grdLab = griglia("grdLab", {QStringLiteral("N. laboratori"), QStringLiteral("Tipologia laboratorio")});
    v22->addWidget(grdLab);
    auto *hl = new QHBoxLayout;
    cmdInsLab = pulsante("cmdInsLab", QStringLiteral("Aggiungi riga"));
    cmdModLab = pulsante("cmdModLab", QStringLiteral("Modifica riga"));
    cmdCancLab = pulsante("cmdCancLab", QStringLiteral("Elimina riga"));
    for (QPushButton *b : {cmdInsLab, cmdModLab, cmdCancLab})
        hl->addWidget(b);
    hl->addStretch();
    v22->addLayout(hl);
    alClic(cmdInsLab, m_c, [this] { nuovo(); });
    alClic(cmdModLab, m_c, [this] { modifica(); });
    alClic(cmdCancLab, m_c, [this] { elimina(); });
}

void PannelloLaboratori::mostra(qlonglong componente)
{
    m_componente = componente;
    aggiorna();
}

void PannelloLaboratori::blocca()
{
    for (QPushButton *b : {cmdInsLab, cmdModLab, cmdCancLab})
        b->setEnabled(false);
}

void PannelloLaboratori::aggiorna()
{
    const QList<Laboratorio> labs = laboratori(m_c, m_componente);
    grdLab->setRowCount(static_cast<int>(labs.size()));
    for (int i = 0; i < labs.size(); ++i) {
        auto *n = new QTableWidgetItem(QString::number(labs[i].numero));
        n->setData(Qt::UserRole, labs[i].id);
        n->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grdLab->setItem(i, 0, n);
        grdLab->setItem(i, 1, new QTableWidgetItem(labs[i].tipo));
    }
    grdLab->resizeColumnToContents(0);
}

void PannelloLaboratori::nuovo()
{
    if (const auto lab = chiediLaboratorio(m_c.dialoghi, {}, {}, false)) {
        aggiungiLaboratorio(m_c, m_componente, lab->first, lab->second);
        aggiorna();
    }
}

void PannelloLaboratori::modifica()
{
    if (grdLab->rowCount() == 0) {
        m_c.dialoghi.messaggio(QStringLiteral("Nessuna riga da modificare!"), kLab, Icona::Esclamazione);
        return;
    }
    const int riga = grdLab->currentRow();
    if (riga < 0 || grdLab->selectedItems().isEmpty()) {
        m_c.dialoghi.messaggio(QStringLiteral("Selezionare la riga da modificare"), kLab, Icona::Esclamazione);
        return;
    }
    const qlonglong id = grdLab->item(riga, 0)->data(Qt::UserRole).toLongLong();
    if (const auto lab = chiediLaboratorio(m_c.dialoghi, grdLab->item(riga, 0)->text(), grdLab->item(riga, 1)->text(), true)) {
        modificaLaboratorio(m_c, id, lab->first, lab->second);
        aggiorna();
    }
}

void PannelloLaboratori::elimina()
{
    if (grdLab->rowCount() == 0) {
        m_c.dialoghi.messaggio(QStringLiteral("Nessuna riga da eliminare!"), kLab, Icona::Esclamazione);
        return;
    }
    const int riga = grdLab->currentRow();
    if (riga < 0 || grdLab->selectedItems().isEmpty()) {
        m_c.dialoghi.messaggio(QStringLiteral("Selezionare la riga da eliminare"), kLab, Icona::Esclamazione);
        return;
    }
    if (m_c.dialoghi.messaggio(QStringLiteral("Confermi cancellazione di ") + troncato(grdLab->item(riga, 1)->text(), 50)
                                   + QStringLiteral(" ?"),
                               kLab, Icona::Domanda, Pulsanti::SiNo)
        != Risposta::Si)
        return;
    try {
        eliminaLaboratorio(m_c, grdLab->item(riga, 0)->data(Qt::UserRole).toLongLong());
    } catch (const Errore &e) {
        if (e.numero() != codici::RigaCancellata)
            throw;
        m_c.dialoghi.messaggio(QStringLiteral("Il record che si è deciso di eliminare è già stato cancellato da un'altra "
                                              "postazione. "),
                               QStringLiteral("Accesso concorrente"), Icona::Esclamazione);
    }
    aggiorna();
}

} // namespace quirdal
