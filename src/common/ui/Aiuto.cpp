#include "common/ui/Aiuto.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace quirdal {

namespace {

constexpr int kRuoloAncora = Qt::UserRole;

QPointer<FinestraAiuto> g_finestra;
ServiziAiuto g_servizi;

// The screens' topics; with a tab control SSTab1 the tab's index is added. Screens with an
// "Aiuto" button open the same topic from it (F1 presses the button).
struct ArgomentoSchermo {
    const char *finestra;
    int argomento;
    bool perScheda;
};
constexpr ArgomentoSchermo kArgomenti[] = {
    {"MDI_Main", 10000, false},        {"SelOpe", 10100, false},           {"frmSelDomanda", 10200, false},
    {"FrmnReg", 10210, false},         {"frmRiepDomanda", 10300, false},   {"SelComp", 10400, false},
    {"frmOpzioni", 10500, false},      {"Operator", 11000, true},          {"TabComu", 11100, false},
    {"TabNaz", 11100, false},          {"TabIsti", 11100, false},          {"FrmSedeLeg", 12000, false},
    {"Componen", 13000, true},         {"FrmEleSedi", 13100, false},       {"Corsi", 14000, true},
    {"EleCorsi", 14100, false},        {"frmProblemiCorsi", 14200, false}, {"RAccorp", 14300, false},
    {"FrmTesto", 14400, false},        {"CompoRes", 14500, false},         {"Frm_Impostazioni", 15000, false},
    {"frmServerClient", 15100, false}, {"frmHandi", 16000, false},         {"EleHandi", 16000, false},
    {"Riass", 17000, false},           {"StTrasm", 18000, false},          {"SelBozza", 18100, false},
    {"StBozza", 18100, false},         {"ViewStam", 18200, false},         {"Invia", 18300, false},
    {"Trasmis", 18400, false},         {"frmInet", 19000, false},          {"FrmProxy", 19100, false},
    {"Avvio", 20000, false},           {"frmInstOper", 20100, false},      {"frmConferma", 20100, false},
    {"FrmAvviso", 21000, false},       {"frmBackup", 30000, true},         {"frmEmail", 31000, false},
    {"Browser", 31000, false},         {"frmMailAggInst", 31200, false},   {"frmRapportoImportazione", 14600, false},
    {"frmAnteprima", 18100, false},
};

// The screen's own "Aiuto" button, when it shows one that can be pressed.
QPushButton *pulsanteAiuto(QWidget *finestra)
{
    for (QPushButton *b : finestra->findChildren<QPushButton *>())
        if ((b->objectName() == QLatin1String("cmdAiuto") || b->objectName() == QLatin1String("cmdHelp"))
            && b->window() == finestra && b->isVisible() && b->isEnabled())
            return b;
    return nullptr;
}

// F1 anywhere in the program.
class TastoAiuto : public QObject {
public:
    explicit TastoAiuto(ServiziAiuto servizi)
    {
        g_servizi = std::move(servizi);
        qApp->installEventFilter(this);
    }
    ~TastoAiuto() override
    {
        qApp->removeEventFilter(this);
        g_servizi = {};
    }

protected:
    bool eventFilter(QObject *oggetto, QEvent *evento) override
    {
        if (evento->type() != QEvent::KeyPress || !oggetto->isWidgetType())
            return false;
        const auto *tasto = static_cast<QKeyEvent *>(evento);
        if (tasto->key() != Qt::Key_F1 || (tasto->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (!tasto->isAutoRepeat())
            aiutoPer(static_cast<QWidget *>(oggetto)->window());
        return true;
    }

private:
    // The window in use, or the screen it was opened from (a message, a prompt).
    static void aiutoPer(QWidget *finestra)
    {
        for (QWidget *f = finestra; f; f = f->parentWidget() ? f->parentWidget()->window() : nullptr) {
            if (qobject_cast<FinestraAiuto *>(f))
                return;
            if (QPushButton *b = pulsanteAiuto(f)) {
                b->click();
                return;
            }
            if (const int a = argomentoSchermo(f); a != 0) {
                if (g_servizi.apri)
                    g_servizi.apri(a, f);
                return;
            }
        }
    }
};

} // namespace

int argomentoSchermo(const QWidget *finestra)
{
    if (!finestra)
        return 0;
    for (const ArgomentoSchermo &a : kArgomenti) {
        if (finestra->objectName() != QLatin1String(a.finestra))
            continue;
        if (!a.perScheda)
            return a.argomento;
        const auto *schede = finestra->findChild<QTabWidget *>(QStringLiteral("SSTab1"));
        return a.argomento + (schede ? std::max(0, schede->currentIndex()) : 0);
    }
    return 0;
}

QList<int> argomentiSchermi()
{
    QList<int> r;
    for (const ArgomentoSchermo &a : kArgomenti)
        if (!r.contains(a.argomento))
            r << a.argomento;
    return r;
}

std::unique_ptr<QObject> installaServiziAiuto(ServiziAiuto servizi) { return std::make_unique<TastoAiuto>(std::move(servizi)); }

FinestraAiuto::FinestraAiuto(QWidget *padre) : QDialog(padre)
{
    setObjectName(QStringLiteral("frmAiuto"));
    setWindowTitle(QStringLiteral("Aiuto - QUIRDAL"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *lay = new QVBoxLayout(this);

    auto *ricerca = new QHBoxLayout;
    ricerca->addWidget(new QLabel(QStringLiteral("Cerca nella guida:")));
    m_cerca = new QLineEdit;
    m_cerca->setObjectName(QStringLiteral("txtCercaAiuto"));
    m_cerca->setClearButtonEnabled(true);
    m_cerca->setPlaceholderText(QStringLiteral("parola o testo di un messaggio"));
    ricerca->addWidget(m_cerca, 1);
    auto *precedente = new QPushButton(QStringLiteral("Precedente"));
    precedente->setObjectName(QStringLiteral("cmdPrecedenteAiuto"));
    auto *successivo = new QPushButton(QStringLiteral("Successivo"));
    successivo->setObjectName(QStringLiteral("cmdSuccessivoAiuto"));
    ricerca->addWidget(precedente);
    ricerca->addWidget(successivo);
    m_esito = new QLabel;
    m_esito->setObjectName(QStringLiteral("lblEsitoRicerca"));
    m_esito->setMinimumWidth(130);
    ricerca->addWidget(m_esito);
    lay->addLayout(ricerca);

    m_divisione = new QSplitter(Qt::Horizontal);
    m_indice = new QTreeWidget;
    m_indice->setObjectName(QStringLiteral("tocAiuto"));
    m_indice->setHeaderLabel(QStringLiteral("Sommario"));
    m_indice->setMinimumWidth(180);
    m_testo = new QTextBrowser;
    m_testo->setObjectName(QStringLiteral("brwAiuto"));
    m_testo->setOpenExternalLinks(true);
    m_divisione->addWidget(m_indice);
    m_divisione->addWidget(m_testo);
    m_divisione->setStretchFactor(1, 1);
    m_divisione->setSizes({270, 950});
    lay->addWidget(m_divisione, 1);

    auto *basso = new QHBoxLayout;
    auto *indietro = new QPushButton(QStringLiteral("Indietro"));
    indietro->setObjectName(QStringLiteral("cmdIndietroAiuto"));
    indietro->setEnabled(false);
    auto *chiudi = new QPushButton(QStringLiteral("Chiudi"));
    chiudi->setObjectName(QStringLiteral("cmdChiudiAiuto"));
    basso->addWidget(indietro);
    basso->addStretch();
    basso->addWidget(chiudi);
    lay->addLayout(basso);
    for (QPushButton *b : {precedente, successivo, indietro, chiudi})
        b->setAutoDefault(false);

    connect(m_indice, &QTreeWidget::itemActivated, this, &FinestraAiuto::vaiA);
    connect(m_indice, &QTreeWidget::itemClicked, this, &FinestraAiuto::vaiA);
    connect(m_cerca, &QLineEdit::returnPressed, this, [this] { cerca(false); });
    connect(m_cerca, &QLineEdit::textEdited, this, [this] {
        // Each letter typed looks again from where the match under way begins.
        QTextCursor c = m_testo->textCursor();
        c.setPosition(c.selectionStart());
        m_testo->setTextCursor(c);
        cerca(false);
    });
    connect(m_cerca, &QLineEdit::textChanged, this, [this](const QString &t) {
        if (t.isEmpty()) {
            m_esito->clear();
            evidenzia();
        }
    });
    connect(successivo, &QPushButton::clicked, this, [this] { cerca(false); });
    connect(precedente, &QPushButton::clicked, this, [this] { cerca(true); });
    connect(m_testo, &QTextBrowser::backwardAvailable, indietro, &QWidget::setEnabled);
    connect(indietro, &QPushButton::clicked, m_testo, &QTextBrowser::backward);
    connect(m_testo, &QTextBrowser::sourceChanged, this, [this](const QUrl &u) {
        if (!u.fragment().isEmpty())
            segnaVoce(u.fragment());
    });
    connect(chiudi, &QPushButton::clicked, this, &QWidget::close);

    resize(1240, 840);
    if (g_servizi.leggiFinestra) {
        const QStringList parti = g_servizi.leggiFinestra().split(QLatin1Char(';'));
        if (parti.size() == 2) {
            restoreGeometry(QByteArray::fromBase64(parti[0].toLatin1()));
            m_divisione->restoreState(QByteArray::fromBase64(parti[1].toLatin1()));
        }
    }
}

FinestraAiuto::~FinestraAiuto() { ricordaFinestra(); }

void FinestraAiuto::hideEvent(QHideEvent *e)
{
    ricordaFinestra();
    QDialog::hideEvent(e);
}

void FinestraAiuto::ricordaFinestra()
{
    // Size and place of the window and of its contents pane, for the next time.
    if (!g_servizi.scriviFinestra)
        return;
    g_servizi.scriviFinestra(QString::fromLatin1(saveGeometry().toBase64()) + QLatin1Char(';')
                             + QString::fromLatin1(m_divisione->saveState().toBase64()));
}

void FinestraAiuto::apri(const QString &file, int argomento)
{
    m_argomento = argomento;
    QUrl url = QUrl::fromLocalFile(file);
    url.setFragment(QStringLiteral("t%1").arg(argomento));
    const bool nuovo = file != m_file;
    m_file = file;
    m_testo->setSource(url);
    if (nuovo) {
        costruisciIndice();
        evidenzia();
    }
    m_testo->scrollToAnchor(url.fragment());
    segnaVoce(url.fragment());
}

void FinestraAiuto::costruisciIndice()
{
    // The headings of the help, by level, each with the anchor it carries.
    m_indice->clear();
    QList<QTreeWidgetItem *> livelli;
    for (QTextBlock b = m_testo->document()->begin(); b.isValid(); b = b.next()) {
        const int livello = b.blockFormat().headingLevel();
        if (livello <= 0 || b.text().trimmed().isEmpty())
            continue;
        QString ancora;
        for (auto it = b.begin(); !it.atEnd() && ancora.isEmpty(); ++it)
            if (const QStringList nomi = it.fragment().charFormat().anchorNames(); !nomi.isEmpty())
                ancora = nomi.first();
        while (livelli.size() >= livello)
            livelli.removeLast();
        QTreeWidgetItem *voce = livelli.isEmpty() ? new QTreeWidgetItem(m_indice) : new QTreeWidgetItem(livelli.last());
        voce->setText(0, b.text().trimmed());
        voce->setToolTip(0, b.text().trimmed());
        voce->setData(0, kRuoloAncora, ancora);
        voce->setData(0, kRuoloAncora + 1, b.position());
        while (livelli.size() < livello - 1)
            livelli << voce;
        livelli << voce;
    }
    m_indice->expandToDepth(0);
}

void FinestraAiuto::vaiA(QTreeWidgetItem *voce)
{
    if (!voce)
        return;
    const QString ancora = voce->data(0, kRuoloAncora).toString();
    if (!ancora.isEmpty()) {
        m_testo->scrollToAnchor(ancora);
        return;
    }
    QTextCursor c(m_testo->document());
    c.setPosition(voce->data(0, kRuoloAncora + 1).toInt());
    m_testo->setTextCursor(c);
    m_testo->verticalScrollBar()->setValue(int(m_testo->cursorRect().top() + m_testo->verticalScrollBar()->value()));
}

void FinestraAiuto::segnaVoce(const QString &ancora)
{
    for (QTreeWidgetItemIterator it(m_indice); *it; ++it)
        if ((*it)->data(0, kRuoloAncora).toString() == ancora) {
            m_indice->setCurrentItem(*it);
            m_indice->scrollToItem(*it);
            return;
        }
}

void FinestraAiuto::evidenzia()
{
    // Every place where the searched text appears, on a yellow ground.
    QList<QTextEdit::ExtraSelection> segni;
    const QString t = m_cerca->text();
    if (!t.isEmpty()) {
        QTextCharFormat giallo;
        giallo.setBackground(QColor(255, 236, 120));
        for (QTextCursor c = m_testo->document()->find(t); !c.isNull(); c = m_testo->document()->find(t, c))
            segni << QTextEdit::ExtraSelection{c, giallo};
    }
    m_testo->setExtraSelections(segni);
}

bool FinestraAiuto::cerca(bool indietro)
{
    const QString t = m_cerca->text();
    evidenzia();
    if (t.isEmpty())
        return false;
    QTextDocument *d = m_testo->document();
    const QTextDocument::FindFlags modo = indietro ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    QTextCursor c = d->find(t, m_testo->textCursor(), modo);
    if (c.isNull()) {
        QTextCursor capo(d);
        if (indietro)
            capo.movePosition(QTextCursor::End);
        c = d->find(t, capo, modo);
    }
    QPalette p = m_esito->palette();
    if (c.isNull()) {
        m_esito->setText(QStringLiteral("Testo non trovato"));
        p.setColor(QPalette::WindowText, Qt::darkRed);
        m_esito->setPalette(p);
        return false;
    }
    int n = 0, questo = 0;
    for (QTextCursor k = d->find(t); !k.isNull(); k = d->find(t, k)) {
        ++n;
        if (k.selectionStart() == c.selectionStart())
            questo = n;
    }
    m_esito->setText(QStringLiteral("%1 di %2").arg(questo).arg(n));
    m_esito->setPalette(palette());
    m_testo->setTextCursor(c);
    // The match a third of the way down, with what leads to it above.
    QScrollBar *barra = m_testo->verticalScrollBar();
    barra->setValue(barra->value() + m_testo->cursorRect().top() - m_testo->viewport()->height() / 3);
    // The contents follow: the heading of the section that holds the text.
    for (QTextBlock b = c.block(); b.isValid(); b = b.previous())
        if (b.blockFormat().headingLevel() > 0) {
            for (QTreeWidgetItemIterator it(m_indice); *it; ++it)
                if ((*it)->data(0, kRuoloAncora + 1).toInt() == b.position()) {
                    m_indice->setCurrentItem(*it);
                    m_indice->scrollToItem(*it);
                    break;
                }
            break;
        }
    return true;
}

FinestraAiuto *apriFinestraAiuto(const QString &file, int argomento, QWidget *padre)
{
    if (g_finestra && g_finestra->parentWidget() != padre) {
        g_finestra->close();
        g_finestra = nullptr;
    }
    if (!g_finestra)
        g_finestra = new FinestraAiuto(padre);
    g_finestra->apri(file, argomento);
    g_finestra->show();
    g_finestra->raise();
    g_finestra->activateWindow();
    return g_finestra;
}

} // namespace quirdal
