#include "support/ui/FrmBackup.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Progresso.h"
#include "common/Testo.h"
#include "common/ui/Clessidra.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "config/FileIni.h"
#include "support/Backup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quirdal {

namespace {
QLabel *nota(const QString &testo)
{
    auto *l = new QLabel(testo);
    l->setWordWrap(true);
    return l;
}
// The folder a file dialog opens in: the one of the archive named, when it exists.
QString cartellaDi(const QString &percorso, const QString &predefinita)
{
    const QFileInfo fi(QDir::fromNativeSeparators(percorso));
    return !percorso.isEmpty() && fi.absoluteDir().exists() ? fi.absolutePath() : predefinita;
}
// The hourglass while the work runs (never over a message or a question), what it is
// doing, and the share of the archive extracted; the window is repainted between steps.
class Avanzamento : public ProgressoCaricamento {
public:
    Avanzamento(QLabel *etichetta, QProgressBar *barra) : m_etichetta(etichetta), m_barra(barra) { }
    ~Avanzamento() override { attendi(false); }
    void fase(const QString &, const QString &riga2) override
    {
        m_etichetta->setText(riga2);
        m_etichetta->show();
        aggiorna();
    }
    void file(const QString &, const QString &, int totale) override
    {
        m_barra->setRange(0, totale);
        m_barra->setValue(0);
        m_barra->show();
        aggiorna();
    }
    void record(int fatti) override
    {
        if (fatti == m_barra->value())
            return;
        m_barra->setValue(fatti);
        aggiorna();
    }
    void attendi(bool clessidra) override
    {
        if (clessidra == m_clessidra.mostrata())
            return;
        m_clessidra.mostra(clessidra);
        if (!clessidra) {
            // Nothing runs while a message or a question shows.
            m_etichetta->hide();
            m_barra->hide();
        }
        aggiorna();
    }

private:
    static void aggiorna() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }
    QLabel *m_etichetta;
    QProgressBar *m_barra;
    Clessidra m_clessidra{false};
};
} // namespace

frmBackup::frmBackup(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(QStringLiteral("Salvataggio/Recupero Dati"));
    auto *lay = new QVBoxLayout(this);
    SSTab1 = new QTabWidget;
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    lay->addWidget(SSTab1);

    auto *salvataggio = new QWidget;
    auto *ls = new QGridLayout(salvataggio);
    ls->addWidget(nota(QStringLiteral("Indicare l'archivio in cui salvare la base dati. Su un dischetto (unità A:) "
                                      "l'archivio è diviso in volumi da 1,4 MB.")),
                  0, 0, 1, 2);
    ls->addWidget(new QLabel(QStringLiteral("Archivio di backup:")), 1, 0, 1, 2);
    txtFileBak = new QLineEdit;
    txtFileBak->setObjectName(QStringLiteral("txtFileBak"));
    txtFileBak->setMinimumWidth(420);
    ls->addWidget(txtFileBak, 2, 0);
    cmdSfogliaBak = pulsante("cmdSfogliaBak", QStringLiteral("Sfoglia..."));
    ls->addWidget(cmdSfogliaBak, 2, 1);
    cmdConfermaBak = pulsante("cmdConfermaBak", QStringLiteral("Esegui il salvataggio"));
    ls->addWidget(cmdConfermaBak, 3, 1);
    ls->setRowStretch(4, 1);
    SSTab1->addTab(salvataggio, QStringLiteral("Salvataggio Dati"));

    auto *recupero = new QWidget;
    auto *lr = new QGridLayout(recupero);
    lr->addWidget(nota(QStringLiteral("Indicare l'archivio da recuperare. Prima del recupero la base dati attuale viene "
                                      "copiata nella cartella BackupDB del programma.")),
                  0, 0, 1, 2);
    lr->addWidget(new QLabel(QStringLiteral("Archivio da recuperare:")), 1, 0, 1, 2);
    txtFileZip = new QLineEdit;
    txtFileZip->setObjectName(QStringLiteral("txtFileZip"));
    lr->addWidget(txtFileZip, 2, 0);
    cmdSfogliaZip = pulsante("cmdSfogliaZip", QStringLiteral("Sfoglia..."));
    lr->addWidget(cmdSfogliaZip, 2, 1);
    optAll = new QRadioButton(QStringLiteral("Recupera l'intera base dati (sostituisce tutti i dati attuali)"));
    optAll->setObjectName(QStringLiteral("optAll"));
    optAll->setChecked(true);
    optSost = new QRadioButton(QStringLiteral("Sostituisci solo i dati dell'operatore selezionato"));
    optSost->setObjectName(QStringLiteral("optSost"));
    lr->addWidget(optAll, 3, 0, 1, 2);
    lr->addWidget(optSost, 4, 0, 1, 2);
    cmdConfermaZip = pulsante("cmdConfermaZip", QStringLiteral("Esegui il recupero"));
    lr->addWidget(cmdConfermaZip, 5, 1);
    lr->setRowStretch(6, 1);
    SSTab1->addTab(recupero, QStringLiteral("Recupero Dati"));

    lblAvanzamento = new QLabel;
    lblAvanzamento->setObjectName(QStringLiteral("lblAvanzamento"));
    prgRecupero = new QProgressBar;
    prgRecupero->setObjectName(QStringLiteral("prgRecupero"));
    for (QWidget *w : {static_cast<QWidget *>(lblAvanzamento), static_cast<QWidget *>(prgRecupero)}) {
        // Their room is kept while they are hidden: the pages do not move when they show.
        QSizePolicy p = w->sizePolicy();
        p.setRetainSizeWhenHidden(true);
        w->setSizePolicy(p);
        w->hide();
        lay->addWidget(w);
    }

    auto *basso = new QHBoxLayout;
    basso->addStretch();
    cmdEsci = pulsante("cmdEsci", QStringLiteral("Esci"));
    basso->addWidget(cmdEsci);
    lay->addLayout(basso);

    alClic(cmdSfogliaBak, m_c, [this] { sfogliaBak(); });
    alClic(cmdSfogliaZip, m_c, [this] { sfogliaZip(); });
    alClic(cmdConfermaBak, m_c, [this] { confermaBak(); });
    alClic(cmdConfermaZip, m_c, [this] { confermaZip(); });
    connect(cmdEsci, &QPushButton::clicked, this, &QDialog::reject);
    resize(600, sizeHint().height());
}

void frmBackup::carica()
{
    for (;;) {
        try {
            const QString archivio = archivioIniziale(m_c.cartellaProgramma, m_c.ini);
            txtFileBak->setText(archivio);
            txtFileZip->setText(archivio);
            m_iniziale = archivio;
            return;
        } catch (const Errore &e) {
            if (m_c.dialoghi.messaggio(QStringLiteral("Si è verificato il seguente errore: ") + QString::number(e.numero())
                                           + QStringLiteral(" - ") + e.descrizione() + CRLF
                                           + QStringLiteral("Ritentare l'operazione?"),
                                       windowTitle(), Icona::Domanda, Pulsanti::SiNo)
                != Risposta::Si)
                return;
        }
    }
}

QList<QWidget *> frmBackup::pulsanti() const { return {cmdSfogliaBak, cmdConfermaBak, cmdSfogliaZip, cmdConfermaZip, cmdEsci}; }

void frmBackup::sfogliaBak()
{
    const QString f = m_c.dialoghi.scegliFileDaSalvare(QStringLiteral("Archivio di Backup"),
                                                       cartellaDi(txtFileBak->text(), m_c.cartellaProgramma), filtroArchivi());
    if (!f.isEmpty())
        txtFileBak->setText(QDir::toNativeSeparators(nomeArchivioBackup(f)));
}

void frmBackup::sfogliaZip()
{
    const QString f = m_c.dialoghi.scegliFileDaAprire(QStringLiteral("Archivio da recuperare"),
                                                      cartellaDi(txtFileZip->text(), m_c.cartellaProgramma), filtroArchivi());
    if (!f.isEmpty())
        txtFileZip->setText(QDir::toNativeSeparators(f));
}

void frmBackup::confermaBak()
{
    const OperazioneLunga lunga(pulsanti());
    if (lunga.rifiutata())
        return;
    Avanzamento avanzamento(lblAvanzamento, prgRecupero);
    const EsitoSalvataggio e = salvaDati(m_c, txtFileBak->text(), &avanzamento);
    if (e == EsitoSalvataggio::NomeMancante) {
        // The buttons come back when the operation ends; the focus goes to the browse button then.
        QMetaObject::invokeMethod(cmdSfogliaBak, qOverload<>(&QWidget::setFocus), Qt::QueuedConnection);
    } else if (e == EsitoSalvataggio::Riuscito) {
        const QString salvato = m_c.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("FileBackup"));
        // The archive just saved is the one to restore, unless another was typed there.
        if (txtFileZip->text() == m_iniziale)
            txtFileZip->setText(salvato);
        txtFileBak->setText(salvato);
        m_iniziale = salvato;
    }
}

void frmBackup::confermaZip()
{
    const OperazioneLunga lunga(pulsanti());
    if (lunga.rifiutata())
        return;
    Avanzamento avanzamento(lblAvanzamento, prgRecupero);
    recuperaDati(m_c, txtFileZip->text(), optSost->isChecked() ? ModoRecupero::Operatore : ModoRecupero::Tutto, &avanzamento);
}

} // namespace quirdal
