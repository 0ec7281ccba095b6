#include "courses/ui/Sezione33.h"

#include "common/Contesto.h"
#include "common/Sessione.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "courses/Corso.h"
#include "courses/Elenchi.h"
#include "courses/VerificaCorso.h"
#include "courses/ui/CampiCorso.h"
#include "operator/ui/CampiScheda.h"
#include "operator/ui/Scelte.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace quirdal {

Sezione33::Sezione33(Contesto &c, const StatoScheda &stato, QWidget *padre) : QTabWidget(padre), m_c(c), m_stato(stato)
{
    costruisciIstituto();
    costruisciInnovazione();
    costruisciCaselle();
    collega();
}

void Sezione33::costruisciIstituto()
{
    auto *w = new QWidget;
    auto *f = new QGridLayout(w);
    f->setColumnStretch(1, 1);
    auto *hi = new QHBoxLayout;
    cmbCodIsti = tendina(QStringLiteral("cmbCodIsti"));
    auto *CmdCerca = pulsante("CmdCerca", QStringLiteral("Cerca Istituto"));
    hi->addWidget(cmbCodIsti, 1);
    hi->addWidget(CmdCerca);
    f->addWidget(didascalia(QStringLiteral("Istituto scolastico di riferimento")), 0, 0);
    f->addLayout(hi, 0, 1);
    txtIstitutoLibero = campoCorso(QStringLiteral("txtIstitutoLibero"), 255);
    f->addWidget(didascalia(QStringLiteral("Istituto non in elenco")), 1, 0);
    f->addWidget(txtIstitutoLibero, 1, 1);
    chkSPINNonPres = new QCheckBox(QStringLiteral("Ricerca SPIN non presente"));
    chkSPINNonPres->setObjectName(QStringLiteral("chkSPINNonPres"));
    f->addWidget(chkSPINNonPres, 2, 0, 1, 2);
    f->addWidget(didascalia(QStringLiteral("Ambito territoriale (SPIN)")), 3, 0);
    f->addWidget(cmbAmbitoTerr = tendina(QStringLiteral("cmbAmbitoTerr")), 3, 1);
    f->addWidget(didascalia(QStringLiteral("Settore produttivo (SPIN)")), 4, 0);
    f->addWidget(cmbSettProd = tendina(QStringLiteral("cmbSettProd")), 4, 1);
    f->addWidget(didascalia(QStringLiteral("Figura professionale (SPIN)")), 5, 0);
    f->addWidget(cmbFigProf = tendina(QStringLiteral("cmbFigProf")), 5, 1);
    f->setRowStretch(6, 1);
    addTab(scorrevole(w), QStringLiteral("Istituto e ricerca SPIN"));
    alClic(CmdCerca, m_c, [this] {
        const auto picker = TabIsti(m_c, window());
        scegli(m_c, *picker, m_c.sessione.gIstitutoScelto);
        const QStringList &s = m_c.sessione.gIstitutoScelto;
        if (s.size() >= 2) {
            selezionaCodice(cmbCodIsti, s[0]);
            txtIstitutoLibero->clear();
        }
    });
}

void Sezione33::costruisciInnovazione()
{
    auto *w2 = new QWidget;
    auto *v2 = new QVBoxLayout(w2);
    auto *im = new QGroupBox(QStringLiteral("Innovazione metodologica"));
    auto *him = new QHBoxLayout(im);
    OptIM_S = new QRadioButton(QStringLiteral("Sì"));
    OptIM_S->setObjectName(QStringLiteral("OptIM_S"));
    OptIM_N = new QRadioButton(QStringLiteral("No"));
    OptIM_N->setObjectName(QStringLiteral("OptIM_N"));
    him->addWidget(OptIM_S);
    him->addWidget(OptIM_N);
    him->addStretch();
    v2->addWidget(im);
    chkPO_1 = new QCheckBox(QStringLiteral("Il corso favorisce le pari opportunità"));
    chkPO_1->setObjectName(QStringLiteral("chkPO_1"));
    chkCO_1 = new QCheckBox(QStringLiteral("Capacità organizzativa: il corso è svolto in collaborazione con altri soggetti"));
    chkCO_1->setObjectName(QStringLiteral("chkCO_1"));
    v2->addWidget(chkPO_1);
    v2->addWidget(chkCO_1);
    v2->addWidget(new QLabel(QStringLiteral("Qualifiche socio-sanitarie: Enti Gestori con i quali viene attivato il corso")));
    v2->addWidget(txtQss = campoCorso(QStringLiteral("txtQss"), 255));
    v2->addStretch();
    addTab(scorrevole(w2), QStringLiteral("Innovazione, pari opportunità"));
}

void Sezione33::costruisciCaselle()
{
    // The check boxes the province's metadata describe, page after page.
    const QList<VoceSezione33> voci = vociSezione33(m_c.db, m_c.sessione.gProv);
    constexpr int kPerPagina = 14;
    for (int p = 0; p < 4; ++p) {
        auto *pag = new QWidget;
        pag->setObjectName(campoElemento("Frm", p));
        auto *vp = new QVBoxLayout(pag);
        const int da = p * kPerPagina;
        const int a = p == 3 ? static_cast<int>(voci.size()) : std::min<int>(da + kPerPagina, static_cast<int>(voci.size()));
        for (int i = da; i < a; ++i) {
            const VoceSezione33 &x = voci[i];
            if (x.tipo == VoceSezione33::Casella) {
                auto *k = new QCheckBox(x.testo);
                k->setObjectName(QStringLiteral("ChkTipoC_%1").arg(x.id));
                vp->addWidget(k);
                m_caselle.append({x.id, k});
            } else {
                auto *l = new QLabel(x.testo);
                l->setWordWrap(true);
                if (x.tipo == VoceSezione33::Titolo) {
                    QFont g = l->font();
                    g.setBold(true);
                    l->setFont(g);
                }
                vp->addWidget(l);
            }
        }
        vp->addStretch();
        addTab(scorrevole(pag), QStringLiteral("Sez. 3.3 (%1)").arg(p + 1));
    }
}

void Sezione33::collega()
{
    allaScelta(cmbAmbitoTerr, m_c, m_stato, [this] {
        riempiLista(cmbSettProd, vociSettoriProduttivi(m_c.db, codiceScelto(cmbAmbitoTerr)), false);
        riempiLista(cmbFigProf, {}, false);
    });
    allaScelta(cmbSettProd, m_c, m_stato, [this] {
        riempiLista(cmbFigProf, vociFigureProfessionali(m_c.db, codiceScelto(cmbAmbitoTerr), codiceScelto(cmbSettProd)), false);
    });
    alSegnale(chkSPINNonPres, &QCheckBox::toggled, m_c, [this](bool si) {
        for (QComboBox *c : {cmbAmbitoTerr, cmbSettProd, cmbFigProf}) {
            if (si && !m_stato.caricando) {
                const QSignalBlocker b(c);
                c->setCurrentIndex(-1);
            }
            c->setEnabled(!si && !m_stato.solaLettura());
        }
    });
    allaScelta(cmbCodIsti, m_c, m_stato, [this] {
        if (cmbCodIsti->currentIndex() >= 0 && !cmbCodIsti->currentText().isEmpty())
            txtIstitutoLibero->clear();
    });
    alSegnale(txtIstitutoLibero, &QLineEdit::textEdited, m_c, [this](const QString &t) {
        if (!t.isEmpty()) {
            const QSignalBlocker b(cmbCodIsti);
            cmbCodIsti->setCurrentIndex(-1);
        }
    });
    senzaCancellettoAllUscita(txtIstitutoLibero, m_c);
}

void Sezione33::riempiListe()
{
    riempiLista(cmbCodIsti, vociIstituti(m_c.db), false);
    riempiLista(cmbAmbitoTerr, vociAmbitiTerritoriali(m_c.db), false);
}

void Sezione33::pulisci()
{
    for (QComboBox *c : {cmbCodIsti, cmbAmbitoTerr})
        nessunaScelta(c);
    for (QComboBox *c : {cmbSettProd, cmbFigProf})
        riempiLista(c, {}, false);
    for (QLineEdit *e : findChildren<QLineEdit *>())
        e->clear();
    for (QCheckBox *k : findChildren<QCheckBox *>())
        k->setChecked(false);
    OptIM_N->setChecked(true);
}

bool Sezione33::mostra(const DatiCorso &d)
{
    bool adatto = selezionaCodice(cmbCodIsti, d.codIsti);
    txtIstitutoLibero->setText(d.istitutoLibero);
    chkSPINNonPres->setChecked(d.spinNonPresente);
    adatto &= selezionaCodice(cmbAmbitoTerr, d.spinAmbito);
    riempiLista(cmbSettProd, vociSettoriProduttivi(m_c.db, d.spinAmbito), false);
    adatto &= selezionaCodice(cmbSettProd, d.spinSettore);
    riempiLista(cmbFigProf, vociFigureProfessionali(m_c.db, d.spinAmbito, d.spinSettore), false);
    adatto &= selezionaCodice(cmbFigProf, d.spinFigura);
    for (QComboBox *c : {cmbAmbitoTerr, cmbSettProd, cmbFigProf})
        c->setEnabled(!d.spinNonPresente && !m_stato.solaLettura());
    (d.im == QLatin1String("S") ? OptIM_S : OptIM_N)->setChecked(true);
    chkPO_1->setChecked(d.po1);
    chkCO_1->setChecked(d.co1);
    txtQss->setText(d.qss);
    for (const auto &[id, k] : m_caselle)
        k->setChecked(d.valoriChk.value(id, false));
    return adatto;
}

void Sezione33::leggi(DatiCorso &d) const
{
    d.codIsti = codiceScelto(cmbCodIsti);
    d.istitutoLibero = txtIstitutoLibero->text();
    d.spinNonPresente = chkSPINNonPres->isChecked();
    if (!d.spinNonPresente) {
        d.spinAmbito = codiceScelto(cmbAmbitoTerr);
        d.spinSettore = codiceScelto(cmbSettProd);
        d.spinFigura = codiceScelto(cmbFigProf);
    }
    d.im = OptIM_S->isChecked() ? QStringLiteral("S") : QStringLiteral("N");
    d.po1 = chkPO_1->isChecked();
    d.co1 = chkCO_1->isChecked();
    d.qss = txtQss->text();
    for (const auto &[id, k] : m_caselle)
        d.valoriChk.insert(id, k->isChecked());
}

} // namespace quirdal
