#include "courses/ui/Sezione34.h"

#include "common/Contesto.h"
#include "common/Sessione.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "common/ui/Filtri.h"
#include "courses/Corso.h"
#include "courses/Elenchi.h"
#include "courses/VerificaCorso.h"
#include "courses/ui/CampiCorso.h"
#include "operator/Scelte.h"
#include "operator/ui/CampiScheda.h"
#include "operator/ui/Scelte.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>

namespace quirdal {

namespace {
constexpr int kRigheSez34 = 15;
const char *const kEtichette[] = {"- Disabilità", "- Giovani a rischio", "- Immigrati", "- Detenuti"};
} // namespace

Sezione34::Sezione34(Contesto &c, const StatoScheda &stato, QWidget *padre) : QTabWidget(padre), m_c(c), m_stato(stato)
{
    // Innovative characteristics, modular connection, previous-year course: shown, never
    // edited on this sheet.
    auto *w = new QWidget;
    auto *f = new QGridLayout(w);
    f->setColumnStretch(1, 1);
    f->addWidget(didascalia(QStringLiteral("Corso dell'anno precedente")), 0, 0);
    f->addWidget(cmbCorsoPrec = tendina(QStringLiteral("cmbCorsoPrec")), 0, 1);
    auto *hm = new QHBoxLayout;
    optConModSi = new QRadioButton(QStringLiteral("Sì"));
    optConModSi->setObjectName(QStringLiteral("optConModSi"));
    optConModNo = new QRadioButton(QStringLiteral("No"));
    optConModNo->setObjectName(QStringLiteral("optConModNo"));
    optConModNo->setChecked(true);
    hm->addWidget(optConModSi);
    hm->addWidget(optConModNo);
    hm->addStretch();
    f->addWidget(didascalia(QStringLiteral("Connessione con percorsi modulari")), 1, 0);
    f->addLayout(hm, 1, 1);
    f->addWidget(didascalia(QStringLiteral("Corso modulare 2003/2004")), 2, 0);
    f->addWidget(cmbCorsoMod = tendina(QStringLiteral("cmbCorsoMod")), 2, 1);
    f->setRowStretch(3, 1);
    addTab(scorrevole(w), QStringLiteral("Caratteristiche innovative"));
    setTabEnabled(0, false);

    m_paginaInclusione = new QWidget;
    auto *g = new QGridLayout(m_paginaInclusione);
    g->setColumnStretch(1, 1);
    g->addWidget(new QLabel(QStringLiteral("3.4 Inclusione sociale")), 0, 0, 1, 3);
    for (int i = 0; i < 4; ++i) {
        g->addWidget(new QLabel(QString::fromUtf8(kEtichette[i])), i + 1, 0);
        txt_34[i] = campoCorso(campoElemento("txt_34", i), kRigheSez34 * FrmTesto::kCaratteriPerRiga);
        g->addWidget(txt_34[i], i + 1, 1);
        auto *b = pulsante(campoElemento("cmd_34", i).toLatin1().constData(), QStringLiteral("Visualizza tutto il testo"));
        b->setAutoDefault(false);
        g->addWidget(b, i + 1, 2);
        alClic(b, m_c, [this, i] {
            Sessione &s = m_c.sessione;
            s.gTesto = txt_34[i]->text();
            s.gTestoPos = txt_34[i]->cursorPosition();
            s.gTestoTitolo = QString::fromUtf8(kEtichette[i]);
            s.gTestoMaxRighe = kRigheSez34;
            const bool sola = m_stato.solaLettura() || txt_34[i]->isReadOnly();
            s.gTestoModo = sola ? QStringLiteral("READ") : QStringLiteral("READWRITE");
            FrmTesto testo(m_c, window());
            if (esegui(testo) == QDialog::Accepted)
                txt_34[i]->setText(s.gTesto);
        });
        alSegnale(txt_34[i], &QLineEdit::editingFinished, m_c, [e = txt_34[i]] { e->setText(senzaCancelletto(e->text())); });
    }
    g->setRowStretch(5, 1);
    addTab(scorrevole(m_paginaInclusione), QStringLiteral("Inclusione sociale"));
    auto *maiuscole = new FiltroMaiuscole(this);
    for (QLineEdit *e : txt_34)
        maiuscole->applica(e);
}

void Sezione34::riempiListe() { riempiLista(cmbCorsoMod, vociCorsiModulari(m_c.db, m_c.sessione), true); }

void Sezione34::pulisci()
{
    nessunaScelta(cmbCorsoMod);
    for (QLineEdit *e : txt_34)
        e->clear();
    optConModNo->setChecked(true);
}

void Sezione34::mostra(const DatiCorso &d)
{
    for (int i = 0; i < 4; ++i)
        txt_34[i]->setText(d.sez34[i]);
    riempiLista(cmbCorsoPrec, vociCorsiPrecedenti(m_c.db, m_c.sessione, d.codAsse, d.codMisura, d.codAzione), true);
    optConModNo->setChecked(!d.conModulare);
    optConModSi->setChecked(d.conModulare);
    perAsse(d.codAsse);
}

void Sezione34::leggi(DatiCorso &d) const
{
    for (int i = 0; i < 4; ++i)
        d.sez34[i] = txt_34[i]->text();
    d.conModulare = optConModSi->isChecked();
    d.corsoModulare = codiceScelto(cmbCorsoMod);
}

void Sezione34::perAzione(const QString &asse, const QString &misura, const QString &azione)
{
    perAsse(asse);
    riempiLista(cmbCorsoPrec, vociCorsiPrecedenti(m_c.db, m_c.sessione, asse, misura, azione), true);
}

void Sezione34::perAsse(const QString &asse)
{
    m_paginaInclusione->setEnabled(asse == QLatin1String("III.G"));
    setTabEnabled(1, asse == QLatin1String("III.G"));
}

void Sezione34::chiudiCaratteristiche() { setTabEnabled(0, false); }

} // namespace quirdal
