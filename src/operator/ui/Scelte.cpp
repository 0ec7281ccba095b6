#include "operator/ui/Scelte.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTextEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace quirdal {

namespace {

bool tastoInvio(QEvent *e)
{
    if (e->type() != QEvent::KeyPress)
        return false;
    const int k = static_cast<QKeyEvent *>(e)->key();
    return k == Qt::Key_Return || k == Qt::Key_Enter;
}

QHBoxLayout *pulsantiInBasso(std::initializer_list<QPushButton *> pulsanti)
{
    auto *h = new QHBoxLayout;
    h->addStretch();
    for (QPushButton *b : pulsanti) {
        b->setAutoDefault(false);
        h->addWidget(b);
    }
    return h;
}

} // namespace

TabellaScelta::TabellaScelta(Contesto &c, Descrizione d, QWidget *padre) : QDialog(padre), m_c(c), m_d(std::move(d))
{
    setObjectName(QString::fromLatin1(m_d.nome));
    setWindowTitle(m_d.didascalia);
    auto *lay = new QVBoxLayout(this);
    auto *titolo = new QLabel(m_d.titoloGriglia);
    QFont f = titolo->font();
    f.setBold(true);
    titolo->setFont(f);
    lay->addWidget(titolo);
    m_modello = new QStandardItemModel(this);
    m_ordine = new QSortFilterProxyModel(this);
    m_ordine->setSourceModel(m_modello);
    m_ordine->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_griglia = new QTableView;
    m_griglia->setObjectName(QString::fromLatin1(m_d.griglia));
    m_griglia->setModel(m_ordine);
    m_griglia->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_griglia->setSelectionMode(QAbstractItemView::SingleSelection);
    m_griglia->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_griglia->setSortingEnabled(true);
    m_griglia->verticalHeader()->hide();
    m_griglia->verticalHeader()->setDefaultSectionSize(m_griglia->fontMetrics().height() + 6);
    m_griglia->horizontalHeader()->setStretchLastSection(true);
    m_griglia->installEventFilter(this);
    lay->addWidget(m_griglia, 1);
    auto *riga = new QHBoxLayout;
    riga->addWidget(new QLabel(QStringLiteral("Cerca:")));
    m_ricerca = new QLineEdit;
    m_ricerca->setObjectName(QString::fromLatin1(m_d.ricerca));
    riga->addWidget(m_ricerca, 1);
    auto *cmdCerca = pulsante(m_d.cerca, QStringLiteral("Cerca"));
    cmdCerca->setAutoDefault(false);
    riga->addWidget(cmdCerca);
    lay->addLayout(riga);
    auto *cmdConferma = pulsante(m_d.conferma, QStringLiteral("Conferma"));
    auto *cmdAnnulla = pulsante(m_d.annulla, QStringLiteral("Annulla"));
    lay->addLayout(pulsantiInBasso({cmdConferma, cmdAnnulla}));
    alClic(cmdCerca, m_c, [this] { cerca(); });
    connect(m_ricerca, &QLineEdit::returnPressed, this, [this] { protetto(m_c, [this] { cerca(); }); });
    alClic(cmdConferma, m_c, [this] { conferma(); });
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_griglia, &QTableView::doubleClicked, this, [this] { protetto(m_c, [this] { conferma(); }); });
    resize(620, 480);
}

void TabellaScelta::carica()
{
    const ElencoScelta e = m_d.sorgente(m_c);
    m_modello->clear();
    m_modello->setHorizontalHeaderLabels(e.intestazioni);
    for (const QStringList &r : e.righe) {
        QList<QStandardItem *> celle;
        for (const QString &v : r)
            celle << new QStandardItem(v);
        m_modello->appendRow(celle);
    }
    // The order of the source; a click on a heading sorts by that column.
    m_ordine->sort(-1);
    m_griglia->horizontalHeader()->setSortIndicatorShown(false);
    m_griglia->resizeColumnsToContents();
    if (m_ordine->rowCount() > 0)
        m_griglia->setCurrentIndex(m_ordine->index(0, m_d.colonnaRicerca));
    m_griglia->setFocus();
}

void TabellaScelta::cerca()
{
    QStringList valori;
    for (int i = 0; i < m_ordine->rowCount(); ++i)
        valori << m_ordine->index(i, m_d.colonnaRicerca).data().toString();
    const int corrente = m_griglia->currentIndex().isValid() ? m_griglia->currentIndex().row() : -1;
    const int trovata = cercaDopo(valori, corrente, m_ricerca->text(), m_d.contiene);
    if (trovata < 0) {
        m_c.dialoghi.messaggio(m_d.nessunoTrovato, m_d.titoloRicerca, Icona::Esclamazione);
        return; // the grid stays on its row
    }
    m_griglia->setCurrentIndex(m_ordine->index(trovata, m_d.colonnaRicerca));
    m_griglia->scrollTo(m_griglia->currentIndex());
}

void TabellaScelta::conferma()
{
    const QModelIndex i = m_griglia->currentIndex();
    if (!i.isValid() || !m_griglia->selectionModel()->isRowSelected(i.row(), {})) {
        m_c.dialoghi.messaggio(m_d.selezionare, m_d.titoloSelezionare, Icona::Esclamazione);
        return;
    }
    m_scelta.clear();
    for (int col = 0; col < m_ordine->columnCount(); ++col)
        m_scelta << m_ordine->index(i.row(), col).data().toString();
    accept();
}

bool TabellaScelta::eventFilter(QObject *o, QEvent *e)
{
    if (o == m_griglia && tastoInvio(e)) {
        protetto(m_c, [this] { conferma(); });
        return true;
    }
    return QDialog::eventFilter(o, e);
}

std::unique_ptr<TabellaScelta> TabComu(Contesto &c, QWidget *padre)
{
    const QString prov = c.sessione.gFiltroComuni;
    return std::make_unique<TabellaScelta>(
        c,
        TabellaScelta::Descrizione{"TabComu", "GrdComu", "txtRicComu", "cmdCerca2", "cmdSele2", "cmdEsci2",
                                   QStringLiteral("Tabella Comuni"), QStringLiteral("COMUNI ITALIANI"), 1, false,
                                   QStringLiteral("Nessun comune trovato"), QStringLiteral("Ricerca comune"),
                                   QStringLiteral("Selezionare un comune oppure Uscire"), QStringLiteral("Tabella Comuni"),
                                   [prov](Contesto &ctx) { return elencoComuni(ctx, prov); }},
        padre);
}

std::unique_ptr<TabellaScelta> TabNaz(Contesto &c, QWidget *padre)
{
    return std::make_unique<TabellaScelta>(
        c,
        TabellaScelta::Descrizione{"TabNaz", "GrdNaz", "txtRicNaz", "cmdCercaNaz", "cmdSeleNaz", "cmdEsciNaz",
                                   QStringLiteral("Tabella Stati esteri"), QStringLiteral("STATI ESTERI"), 1, false,
                                   QStringLiteral("Nessuno Stato trovato"), QStringLiteral("Ricerca stato"),
                                   QStringLiteral("Selezionare uno Stato Estero oppure Uscire"), QStringLiteral("Stati esteri"),
                                   [](Contesto &ctx) { return elencoStati(ctx); }},
        padre);
}

std::unique_ptr<TabellaScelta> TabIsti(Contesto &c, QWidget *padre)
{
    return std::make_unique<TabellaScelta>(
        c,
        TabellaScelta::Descrizione{"TabIsti", "GrdIsti", "txtRicIsti", "cmdCercaIsti", "cmdSeleIsti", "cmdEsciIsti",
                                   QStringLiteral("Tabella Istituti"), QStringLiteral("ISTITUTI"), 1, true,
                                   QStringLiteral("Nessun istituto trovato"), QStringLiteral("Ricerca comune"),
                                   QStringLiteral("Selezionare un istituto oppure Uscire"), QStringLiteral("Tabella Istituti"),
                                   [](Contesto &ctx) { return elencoIstituti(ctx); }},
        padre);
}

void scegli(Contesto &c, TabellaScelta &picker, QStringList &risultato)
{
    (void)c;
    risultato.clear();
    picker.carica();
    if (esegui(picker) == QDialog::Accepted)
        risultato = picker.scelta();
}

FrmEleSedi::FrmEleSedi(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("FrmEleSedi"));
    setWindowTitle(QStringLiteral("Elenco Sedi Interessate"));
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(new QLabel(QStringLiteral("Selezionare la sede interessata")));
    lstSedi = new QListWidget;
    lstSedi->setObjectName(QStringLiteral("lstSedi"));
    lstSedi->setFont(fontFisso());
    lay->addWidget(lstSedi, 1);
    auto *cmdConferma = pulsante("cmdConferma", QStringLiteral("Conferma"));
    auto *cmdAnnulla = pulsante("cmdAnnulla", QStringLiteral("Annulla"));
    lay->addLayout(pulsantiInBasso({cmdConferma, cmdAnnulla}));
    alClic(cmdConferma, m_c, [this] { conferma(); });
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstSedi, &QListWidget::itemActivated, this, [this] { protetto(m_c, [this] { conferma(); }); });
    resize(640, 360);
}

void FrmEleSedi::carica()
{
    lstSedi->clear();
    lstSedi->addItems(vociSediProvincia(m_c));
    if (lstSedi->count() > 0)
        lstSedi->setCurrentRow(0);
}

void FrmEleSedi::conferma()
{
    if (!lstSedi->currentItem())
        return;
    const SedeVoce v = leggiVoceSede(lstSedi->currentItem()->text());
    m_c.sessione.gSedeScelta = v.codice;
    m_c.sessione.gSedeSceltaOcc = v.occasionale ? -1 : 0;
    accept();
}

CompoRes::CompoRes(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("CompoRes"));
    setWindowTitle(QStringLiteral("Componente Responsabile"));
    auto *lay = new QVBoxLayout(this);
    auto *nota = new QLabel(QStringLiteral("Si sta eseguendo uno spostamento di corsi da un componente ad una sede "
                                           "occasionale. E' necessario specificare un componente responsabile per i corsi "
                                           "che saranno spostati."));
    nota->setWordWrap(true);
    lay->addWidget(nota);
    lay->addWidget(new QLabel(QStringLiteral("Selezionare il Componente Responsabile dall'elenco sottostante")));
    cmbCompo = new QComboBox;
    cmbCompo->setObjectName(QStringLiteral("cmbCompo"));
    lay->addWidget(cmbCompo);
    auto *cmdConferma = pulsante("cmdConferma", QStringLiteral("Conferma"));
    auto *cmdAnnulla = pulsante("cmdAnnulla", QStringLiteral("Annulla"));
    lay->addLayout(pulsantiInBasso({cmdConferma, cmdAnnulla}));
    alClic(cmdConferma, m_c, [this] { conferma(); });
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    resize(560, sizeHint().height());
}

void CompoRes::carica()
{
    cmbCompo->clear();
    cmbCompo->addItems(vociComponentiProvincia(m_c));
    cmbCompo->setCurrentIndex(-1);
}

void CompoRes::conferma()
{
    if (cmbCompo->currentIndex() < 0) {
        m_c.dialoghi.messaggio(QStringLiteral("Selezionare un componente dalla lista."), QStringLiteral("Verifica Dati"),
                               Icona::Esclamazione);
        return;
    }
    m_componente = cmbCompo->currentText().section(QStringLiteral(" - "), 0, 0).trimmed();
    accept();
}

void CompoRes::reject()
{
    protetto(m_c, [this] {
        if (m_c.dialoghi.messaggio(QStringLiteral("Annulla l'operazione di spostamento ?"), QStringLiteral("Verifica Dati"),
                                   Icona::Domanda, Pulsanti::SiNo)
            == Risposta::Si) {
            m_componente.clear();
            QDialog::reject();
        }
    });
}

FrmTesto::FrmTesto(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    const Sessione &s = m_c.sessione;
    setObjectName(QStringLiteral("FrmTesto"));
    setWindowTitle(QStringLiteral("Testo Descrittivo"));
    auto *lay = new QVBoxLayout(this);
    auto *lblTesto = new QLabel(s.gTestoTitolo);
    lblTesto->setObjectName(QStringLiteral("lblTesto"));
    lblTesto->setWordWrap(true);
    lay->addWidget(lblTesto);
    auto *lblNonModif = new QLabel(QStringLiteral("Testo descrittivo NON MODIFICABILE"));
    lblNonModif->setObjectName(QStringLiteral("lblNonModif"));
    lay->addWidget(lblNonModif);
    txtTesto = new QTextEdit;
    txtTesto->setObjectName(QStringLiteral("txtTesto"));
    txtTesto->setFont(fontFisso());
    // One line of the text holds 70 characters, as the printed form does. The width is set
    // in pixels of the fixed-pitch font: a width in columns breaks lines inside words.
    txtTesto->setAcceptRichText(false);
    txtTesto->setLineWrapMode(QTextEdit::FixedPixelWidth);
    txtTesto->setLineWrapColumnOrWidth(
        QFontMetrics(txtTesto->font()).horizontalAdvance(QString(kCaratteriPerRiga, QLatin1Char('M'))) + 2);
    txtTesto->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Tab leaves the text, as in every other field: a tab character has no place in a text
    // that goes into the transmission file.
    txtTesto->setTabChangesFocus(true);
    txtTesto->setMinimumWidth(QFontMetrics(txtTesto->font()).horizontalAdvance(QString(kCaratteriPerRiga + 4, QLatin1Char('M'))));
    txtTesto->installEventFilter(this);
    lay->addWidget(txtTesto, 1);
    m_massimo = s.gTestoMaxRighe * kCaratteriPerRiga;
    auto *lblMaxRighe = new QLabel(QStringLiteral("Numero massimo di righe: ") + QString::number(s.gTestoMaxRighe));
    lblMaxRighe->setObjectName(QStringLiteral("lblMaxRighe"));
    lay->addWidget(lblMaxRighe);
    auto *cmdConfTesto = pulsante("cmdConfTesto", QStringLiteral("Conferma"));
    auto *cmAnnTesto = pulsante("cmAnnTesto", QStringLiteral("Annulla"));
    lay->addLayout(pulsantiInBasso({cmdConfTesto, cmAnnTesto}));
    alClic(cmdConfTesto, m_c, [this] { conferma(); });
    connect(cmAnnTesto, &QPushButton::clicked, this, &QDialog::reject);

    txtTesto->setPlainText(s.gTesto);
    alSegnale(txtTesto, &QTextEdit::textChanged, m_c, [this] { adatta(); });
    adatta();
    QTextCursor cur = txtTesto->textCursor();
    cur.setPosition(std::clamp(s.gTestoPos, 0, static_cast<int>(txtTesto->toPlainText().size())));
    txtTesto->setTextCursor(cur);
    const bool sola = s.gTestoModo == QLatin1String("READ");
    lblNonModif->setVisible(sola);
    txtTesto->setReadOnly(sola);
    cmdConfTesto->setVisible(!sola);
    cmAnnTesto->setText(sola ? QStringLiteral("Esci") : QStringLiteral("Annulla"));
    resize(sizeHint().width(), 380);
}

// Whatever way the text arrives (typed, pasted), it is kept in upper case and within its
// length.
void FrmTesto::adatta()
{
    if (m_adattando)
        return;
    const QString t = txtTesto->toPlainText();
    QString u = t.toUpper();
    if (m_massimo > 0 && u.size() > m_massimo)
        u.truncate(m_massimo);
    if (u == t)
        return;
    m_adattando = true;
    const int pos = std::min(txtTesto->textCursor().position(), static_cast<int>(u.size()));
    txtTesto->setPlainText(u);
    QTextCursor cur = txtTesto->textCursor();
    cur.setPosition(pos);
    txtTesto->setTextCursor(cur);
    m_adattando = false;
}

bool FrmTesto::eventFilter(QObject *o, QEvent *e)
{
    if (o == txtTesto && e->type() == QEvent::FocusOut && !txtTesto->isReadOnly()
        && txtTesto->toPlainText().contains(QLatin1Char('#'))) {
        protetto(m_c, [this] {
            m_adattando = true;
            txtTesto->setPlainText(senzaCancelletto(txtTesto->toPlainText()));
            m_adattando = false;
        });
    }
    return QDialog::eventFilter(o, e);
}

void FrmTesto::conferma()
{
    m_c.sessione.gTesto = senzaCancelletto(txtTesto->toPlainText());
    m_c.sessione.gTestoPos = 0;
    accept();
}

} // namespace quirdal
