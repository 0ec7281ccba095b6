#include "courses/ui/RapportoImportazione.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Testo.h"
#include "common/ui/Clessidra.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "printing/ControlliStampa.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quirdal {

namespace {

const QString kFiltro = QStringLiteral("Cartella di lavoro di Excel|*.xlsx|File CSV (separato da punto e virgola)|*.csv");

EsitoImportazione importa(Contesto &c, const QString &file, bool prova)
{
    OpzioniImportazione o;
    o.prova = prova;
    o.noteDomanda = [&c] { return problemiOreDomanda(c.db, c.sessione); };
    const Clessidra attesa;
    return importaCorsi(c.db, c.sessione, c.piattaforma, file, o);
}

} // namespace

RapportoImportazione::RapportoImportazione(Contesto &c, const QString &file, const EsitoImportazione &e, QWidget *padre)
    : QDialog(padre)
{
    setObjectName(QStringLiteral("frmRapportoImportazione"));
    setWindowTitle(kTitoloImportaFoglio);
    auto *v = new QVBoxLayout(this);
    auto *sintesi =
        new QLabel(QDir::toNativeSeparators(file) + QStringLiteral("\n") + sintesiImportazione(e)
                   + (e.problemi.isEmpty() ? QString() : QStringLiteral("\nCorreggere il file e importarlo di nuovo.")));
    sintesi->setObjectName(QStringLiteral("lblSintesi"));
    sintesi->setWordWrap(true);
    v->addWidget(sintesi);
    for (const ProblemaFoglio &p : e.problemi)
        m_righe << rigaProblemaFoglio(p);
    for (const QString &n : e.note)
        m_righe << QStringLiteral("Nota: ") + n.simplified();
    auto *l = new QListWidget;
    l->setObjectName(QStringLiteral("lstProblemi"));
    // A message is read whole, not scrolled sideways; selected lines can be copied too.
    l->setWordWrap(true);
    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    l->setResizeMode(QListView::Adjust);
    l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    l->addItems(m_righe);
    v->addWidget(l);
    auto *pulsanti = new QHBoxLayout;
    auto *copia = pulsante("cmdCopia", QStringLiteral("Copia l'elenco"));
    auto *chiudi = pulsante("cmdChiudi", QStringLiteral("Chiudi"));
    pulsanti->addWidget(copia);
    pulsanti->addStretch();
    pulsanti->addWidget(chiudi);
    v->addLayout(pulsanti);
    alClic(copia, c, [this, sintesi] {
        QApplication::clipboard()->setText(sintesi->text() + QLatin1Char('\n') + m_righe.join(QLatin1Char('\n'))
                                           + QLatin1Char('\n'));
    });
    connect(chiudi, &QPushButton::clicked, this, &QDialog::reject);
    resize(820, 460);
}

void esportaInFoglio(Contesto &c)
{
    const QString file = c.dialoghi.scegliFileDaSalvare(kTitoloEsportaFoglio, c.cartellaProgramma, kFiltro);
    if (file.isEmpty())
        return;
    QString errore;
    QStringList scritti;
    {
        const Clessidra attesa;
        scritti = esportaCorsi(c.db, c.sessione, file, &errore);
    }
    if (!errore.isEmpty()) {
        c.dialoghi.messaggio(errore, kTitoloEsportaFoglio, Icona::Critico);
        return;
    }
    for (QString &f : scritti)
        f = QDir::toNativeSeparators(f);
    c.dialoghi.messaggio(QStringLiteral("Corsi della domanda esportati in:") + CRLF + scritti.join(CRLF), kTitoloEsportaFoglio,
                         Icona::Informazione);
}

bool importaDaFoglio(Contesto &c, QWidget *padre)
{
    const QString file = c.dialoghi.scegliFileDaAprire(kTitoloImportaFoglio, c.cartellaProgramma, kFiltro);
    if (file.isEmpty())
        return false;
    // First the whole file is checked; nothing is written until the user has seen the outcome.
    const EsitoImportazione prova = importa(c, file, true);
    switch (prova.stato) {
    case EsitoImportazione::Stato::Illeggibile:
        c.dialoghi.messaggio(prova.messaggio, kTitoloImportaFoglio, Icona::Critico);
        return false;
    case EsitoImportazione::Stato::Rifiutata:
        c.dialoghi.messaggio(prova.messaggio, kTitoloImportaFoglio, Icona::Esclamazione);
        return false;
    case EsitoImportazione::Stato::Problemi: {
        Clessidra::togliTutte();
        RapportoImportazione r(c, file, prova, padre);
        esegui(r);
        return false;
    }
    default:
        break;
    }
    if (prova.nuovi + prova.aggiornati == 0) {
        c.dialoghi.messaggio(QStringLiteral("Il file non cambia nessun corso della domanda."), kTitoloImportaFoglio,
                             Icona::Informazione);
        return false;
    }
    if (c.dialoghi.messaggio(QStringLiteral("Nessun problema nel file: %1 corsi nuovi, %2 da aggiornare, %3 invariati.")
                                     .arg(prova.nuovi)
                                     .arg(prova.aggiornati)
                                     .arg(prova.invariati)
                                 + CRLF + QStringLiteral("Importare i corsi?"),
                             kTitoloImportaFoglio, Icona::Domanda, Pulsanti::SiNo)
        != Risposta::Si)
        return false;
    const EsitoImportazione e = importa(c, file, false);
    if (e.stato != EsitoImportazione::Stato::Applicata || !e.note.isEmpty()) {
        // Something changed in between, or the application has notes to read.
        Clessidra::togliTutte();
        RapportoImportazione r(c, file, e, padre);
        esegui(r);
    } else {
        c.dialoghi.messaggio(sintesiImportazione(e), kTitoloImportaFoglio, Icona::Informazione);
    }
    return e.stato == EsitoImportazione::Stato::Applicata;
}

} // namespace quirdal
