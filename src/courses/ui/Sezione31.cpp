#include "courses/ui/Sezione31.h"

#include "common/Contesto.h"
#include "common/Sessione.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "common/ui/Filtri.h"
#include "courses/Corso.h"
#include "courses/Elenchi.h"
#include "courses/Spese.h"
#include "courses/VerificaCorso.h"
#include "courses/ui/CampiCorso.h"
#include "operator/ui/CampiScheda.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>

namespace quirdal {

namespace {

// A page of the section: a caption column and a field column that takes the width.
QGridLayout *pagina(QTabWidget *t, const QString &titolo)
{
    auto *w = new QWidget;
    auto *f = new QGridLayout(w);
    f->setColumnStretch(1, 1);
    t->addTab(scorrevole(w), titolo);
    return f;
}

void riga(QGridLayout *f, const QString &testo, QWidget *w)
{
    const int r = f->rowCount();
    f->addWidget(didascalia(testo), r, 0);
    f->addWidget(w, r, 1);
}

void riga(QGridLayout *f, const QString &testo, QLayout *l)
{
    const int r = f->rowCount();
    f->addWidget(didascalia(testo), r, 0);
    f->addLayout(l, r, 1);
}

} // namespace

Sezione31::Sezione31(Contesto &c, const StatoScheda &stato, QWidget *padre) : QTabWidget(padre), m_c(c), m_stato(stato)
{
    costruisciSedeQualifica();
    costruisciAccorpamento();
    costruisciDestinatari();
    costruisciDurata();
    collega();
}

void Sezione31::costruisciSedeQualifica()
{
    QGridLayout *f = pagina(this, QStringLiteral("Sede e qualifica"));
    riga(f, QStringLiteral("Componente responsabile (sede occasionale)"), cmbCompoResp = tendina(QStringLiteral("cmbCompoResp")));
    riga(f, QStringLiteral("Qualifica"), cmbQuali = tendina(QStringLiteral("cmbQuali")));
    auto *hq = new QHBoxLayout;
    chkQuali = new QCheckBox(QStringLiteral("Qualifica nuova"));
    chkQuali->setObjectName(QStringLiteral("chkQuali"));
    txtQuali = campoCorso(QStringLiteral("txtQuali"), 255);
    hq->addWidget(chkQuali);
    hq->addWidget(txtQuali, 1);
    riga(f, QString(), hq);
    riga(f, QStringLiteral("Asse.Obiettivo specifico"), cmbAsse = tendina(QStringLiteral("cmbAsse")));
    riga(f, QStringLiteral("Attività"), cmbMisura = tendina(QStringLiteral("cmbMisura")));
    riga(f, QStringLiteral("Azione"), cmbAzione = tendina(QStringLiteral("cmbAzione")));
    f->setRowStretch(f->rowCount(), 1);
}

void Sezione31::costruisciAccorpamento()
{
    QGridLayout *f = pagina(this, QStringLiteral("Accorpamento, indirizzi, tipologia"));
    auto *ha = new QHBoxLayout;
    chkAccorp = new QCheckBox(QStringLiteral("Corso accorpato"));
    chkAccorp->setObjectName(QStringLiteral("chkAccorp"));
    lblEleAcc = new QLabel(QStringLiteral("al corso principale:"));
    lblEleAcc->setObjectName(QStringLiteral("lblEleAcc"));
    cmbAccorp = tendina(QStringLiteral("cmbAccorp"));
    ha->addWidget(chkAccorp);
    ha->addWidget(lblEleAcc);
    ha->addWidget(cmbAccorp, 1);
    riga(f, QStringLiteral("Accorpamento"), ha);
    for (int i = 0; i < 6; ++i) {
        auto *h = new QHBoxLayout;
        cmbIndi[i] = tendina(campoElemento("cmbIndi", i));
        chkIndi[i] = new QCheckBox(QStringLiteral("Nuovo"));
        chkIndi[i]->setObjectName(campoElemento("chkIndi", i));
        txtIndi[i] = campoCorso(campoElemento("txtIndi", i), 255);
        h->addWidget(cmbIndi[i], 2);
        h->addWidget(chkIndi[i]);
        h->addWidget(txtIndi[i], 1);
        riga(f, QStringLiteral("Indirizzo %1").arg(i + 1), h);
    }
    riga(f, QStringLiteral("Tipologia del corso"), CmbTipologia = tendina(QStringLiteral("CmbTipologia")));
    f->setRowStretch(f->rowCount(), 1);
}

void Sezione31::costruisciDestinatari()
{
    QGridLayout *f = pagina(this, QStringLiteral("Destinatari, scolarità, settore"));
    for (int i = 0; i < 5; ++i)
        riga(f, QStringLiteral("Destinatario %1").arg(i + 1), cmbDest[i] = tendina(campoElemento("cmbDest", i)));
    riga(f, QStringLiteral("Scolarità"), cmbScol = tendina(QStringLiteral("cmbScol")));
    riga(f, QStringLiteral("Settore"), cmbSetto = tendina(QStringLiteral("cmbSetto")));
    riga(f, QStringLiteral("Comparto"), cmbCompa = tendina(QStringLiteral("cmbCompa")));
    riga(f, QStringLiteral("Orario"), cmbOra = tendina(QStringLiteral("cmbOra")));
    riga(f, QStringLiteral("Certificazione"), cmbCert = tendina(QStringLiteral("cmbCert")));
    f->setRowStretch(f->rowCount(), 1);
}

void Sezione31::costruisciDurata()
{
    QGridLayout *f = pagina(this, QStringLiteral("Durata, allievi, ore"));
    ChkATS = new QCheckBox(QStringLiteral("Associazione temporanea di scopo (ATS)"));
    ChkATS->setObjectName(QStringLiteral("ChkATS"));
    f->addWidget(ChkATS, f->rowCount(), 0, 1, 2);
    riga(f, QStringLiteral("Durata totale dell'iter (anni)"), cmbDurata = tendina(QStringLiteral("cmbDurata")));
    cmbDurata->setMinimumContentsLength(6);
    auto numero = [&](const char *nome, const QString &testo, int lunghezza) {
        auto *e = campoCorso(QString::fromLatin1(nome), lunghezza, 90);
        riga(f, testo, e);
        return e;
    };
    txtStato = numero("txtStato", QStringLiteral("Anno dell'iter"), 1);
    txtNumAll = numero("txtNumAll", QStringLiteral("Allievi previsti"), 4);
    txtDurataAnnOre = numero("txtDurataAnnOre", QStringLiteral("Durata annuale (in ore)"), 5);
    txtTotIter = numero("txtTotIter", QStringLiteral("Totale ore dell'iter"), 5);
    txtOreStage = numero("txtOreStage", QStringLiteral("Ore di stage"), 5);
    txtOreLabEsterni = numero("txtOreLabEsterni", QStringLiteral("Ore in laboratori esterni"), 5);
    auto *hd = new QHBoxLayout;
    txtGGDataAvvio = campoCorso(QStringLiteral("txtGGDataAvvio"), 2, 36);
    txtMMDataAvvio = campoCorso(QStringLiteral("txtMMDataAvvio"), 2, 36);
    txtAAAADataAvvio = campoCorso(QStringLiteral("txtAAAADataAvvio"), 4, 56);
    hd->addWidget(txtGGDataAvvio);
    hd->addWidget(new QLabel(QStringLiteral("/")));
    hd->addWidget(txtMMDataAvvio);
    hd->addWidget(new QLabel(QStringLiteral("/")));
    hd->addWidget(txtAAAADataAvvio);
    hd->addWidget(new QLabel(QStringLiteral("(gg/mm/aaaa)")));
    hd->addStretch();
    riga(f, QStringLiteral("Data di avvio presunta"), hd);
    f->setRowStretch(f->rowCount(), 1);
    txtStato->setText(QStringLiteral("1"));
    txtStato->setReadOnly(true);
    auto *numeri = new FiltroNumerico(m_c.dialoghi, this);
    for (QLineEdit *e : {txtNumAll, txtDurataAnnOre, txtTotIter, txtOreStage, txtOreLabEsterni, txtGGDataAvvio, txtMMDataAvvio,
                         txtAAAADataAvvio})
        numeri->applica(e);
    for (QLineEdit *e : {txtGGDataAvvio, txtMMDataAvvio})
        alSegnale(e, &QLineEdit::editingFinished, m_c, [e] {
            if (e->text().size() == 1)
                e->setText(QStringLiteral("0") + e->text());
        });
}

void Sezione31::collega()
{
    allaScelta(cmbAsse, m_c, m_stato, [this] {
        riempiLista(cmbMisura, vociMisure(m_c.db, asse()), false);
        cmbMisura->setCurrentIndex(cmbMisura->count() > 0 ? 0 : -1);
        if (cmbMisura->count() == 0)
            cambiaAzione();
    });
    allaScelta(cmbMisura, m_c, m_stato, [this] {
        riempiLista(cmbAzione, vociAzioni(m_c.db, asse(), misura()), false);
        cmbAzione->setCurrentIndex(cmbAzione->count() > 0 ? 0 : -1);
        if (cmbAzione->count() == 0)
            cambiaAzione();
    });
    allaScelta(cmbAzione, m_c, m_stato, [this] { cambiaAzione(); });
    allaScelta(CmbTipologia, m_c, m_stato, [this] {
        const QString azione = this->azione(), tipo = tipologia();
        for (QComboBox *d : cmbDest) {
            riempiLista(d, vociDestinatari(m_c.db, azione, tipo), true);
            d->setCurrentIndex(0);
        }
        riempiLista(cmbScol, vociScolarita(m_c.db, azione, tipo), false);
        riempiLista(cmbDurata, vociDurate(m_c.db, azione, tipo), true);
        if (const auto massimo = IniNumAll(m_c.db, azione, tipo); massimo && *massimo != 99 && !m_stato.solaLettura())
            txtNumAll->setText(QString::number(*massimo));
        Q_EMIT tipologiaCambiata();
    });
    allaScelta(cmbDurata, m_c, m_stato, [this] { Q_EMIT durataScelta(); });
    for (QLineEdit *e : {txtDurataAnnOre, txtNumAll})
        alSegnale(e, &QLineEdit::editingFinished, m_c, [this] {
            if (!m_stato.caricando)
                Q_EMIT oreOAllieviLasciati();
        });
    allaScelta(cmbSetto, m_c, m_stato, [this] { riempiLista(cmbCompa, vociComparti(m_c.db, codiceScelto(cmbSetto)), false); });
    allaScelta(cmbQuali, m_c, m_stato, [this] {
        if (cmbQuali->currentIndex() < 0 || cmbQuali->currentText().isEmpty())
            return;
        const QSignalBlocker b(chkQuali);
        chkQuali->setChecked(false);
        txtQuali->clear();
        txtQuali->setEnabled(false);
        const QStringList indirizzi = vociIndirizzi(m_c.db, codiceScelto(cmbQuali));
        for (QComboBox *c : cmbIndi)
            riempiLista(c, indirizzi, true);
    });
    alSegnale(chkQuali, &QCheckBox::toggled, m_c, [this](bool si) {
        if (m_stato.caricando)
            return;
        if (si) {
            const QSignalBlocker b(cmbQuali);
            cmbQuali->setCurrentIndex(-1);
        } else {
            txtQuali->clear();
        }
        txtQuali->setEnabled(si && !m_stato.solaLettura());
    });
    for (int i = 0; i < 6; ++i) {
        allaScelta(cmbIndi[i], m_c, m_stato, [this, i] {
            if (cmbIndi[i]->currentText().isEmpty())
                return;
            const QSignalBlocker b(chkIndi[i]);
            chkIndi[i]->setChecked(false);
            txtIndi[i]->clear();
            txtIndi[i]->setEnabled(false);
        });
        alSegnale(chkIndi[i], &QCheckBox::toggled, m_c, [this, i](bool si) {
            if (m_stato.caricando)
                return;
            if (si) {
                const QSignalBlocker b(cmbIndi[i]);
                cmbIndi[i]->setCurrentIndex(-1);
            } else {
                txtIndi[i]->clear();
            }
            txtIndi[i]->setEnabled(si && !m_stato.solaLettura());
        });
    }
    alSegnale(chkAccorp, &QCheckBox::toggled, m_c, [this](bool si) {
        if (m_stato.caricando)
            return;
        if (si)
            riempiLista(cmbAccorp, vociCorsiPrincipali(m_c.db, m_c.sessione, asse(), misura(), codiceAzione()), true);
        else
            riempiLista(cmbAccorp, {}, false);
        lblEleAcc->setVisible(true);
        cmbAccorp->setVisible(true);
        cmbAccorp->setEnabled(si);
    });
    senzaCancellettoAllUscita(txtQuali, m_c);
    for (QLineEdit *e : txtIndi)
        senzaCancellettoAllUscita(e, m_c);
}

void Sezione31::cambiaAzione()
{
    aggiornaAzione();
    Q_EMIT azioneCambiata();
}

void Sezione31::aggiornaAzione()
{
    const QSignalBlocker b(CmbTipologia);
    CmbTipologia->clear();
    CmbTipologia->addItem(QString(), QString());
    if (!codiceAzione().isEmpty())
        for (const VoceTipologia &t : vociTipologie(m_c.db, azione()))
            CmbTipologia->addItem(t.descrizione, t.codice);
    CmbTipologia->setCurrentIndex(0);
    for (QComboBox *d : cmbDest)
        riempiLista(d, {}, true);
    riempiLista(cmbScol, {}, false);
    riempiLista(cmbDurata, {}, true);
}

void Sezione31::riempiListe()
{
    CorsiDB &db = m_c.db;
    riempiLista(cmbCompoResp, vociComponentiResponsabili(db, m_c.sessione), true);
    riempiLista(cmbQuali, vociQualifiche(db), false);
    riempiLista(cmbAsse, vociAssi(db), false);
    riempiLista(cmbSetto, vociSettori(db), false);
    riempiLista(cmbOra, vociOrari(db), false);
    riempiLista(cmbCert, vociCertificazioni(db), false);
}

void Sezione31::pulisci()
{
    for (QComboBox *c : {cmbCompoResp, cmbQuali, cmbAsse, cmbSetto, cmbOra, cmbCert})
        nessunaScelta(c);
    for (QComboBox *c : {cmbMisura, cmbAzione, cmbScol, cmbCompa, cmbAccorp})
        riempiLista(c, {}, false);
    for (QComboBox *c : cmbIndi)
        riempiLista(c, {}, true);
    for (QLineEdit *e : findChildren<QLineEdit *>())
        if (e != txtStato)
            e->clear();
    for (QCheckBox *k : findChildren<QCheckBox *>())
        k->setChecked(false);
    // A new course may be merged into a main course: the list shows, and opens on the tick.
    chkAccorp->setEnabled(!m_stato.solaLettura());
    cmbAccorp->setEnabled(false);
    lblEleAcc->setVisible(true);
    cmbAccorp->setVisible(true);
    cmbCompoResp->setEnabled(m_c.sessione.numeroSede() >= 1000 && !m_stato.solaLettura());
    txtQuali->setEnabled(false);
    for (QLineEdit *e : txtIndi)
        e->setEnabled(false);
}

bool Sezione31::mostra(const DatiCorso &d)
{
    CorsiDB &db = m_c.db;
    const bool solaLettura = m_stato.solaLettura();
    bool adatto = selezionaCodice(cmbCompoResp, d.compoResp);
    cmbCompoResp->setEnabled(m_c.sessione.numeroSede() >= 1000 && !solaLettura);
    chkQuali->setChecked(d.qualificaNuova);
    txtQuali->setText(d.qualificaNuova ? d.desQualif : QString());
    txtQuali->setEnabled(d.qualificaNuova && !solaLettura);
    if (d.qualificaNuova)
        cmbQuali->setCurrentIndex(-1);
    else
        adatto &= selezionaCodice(cmbQuali, d.codQualif);
    const QStringList indirizzi = d.qualificaNuova ? QStringList{} : vociIndirizzi(db, d.codQualif);
    for (int i = 0; i < 6; ++i) {
        riempiLista(cmbIndi[i], indirizzi, true);
        chkIndi[i]->setChecked(d.indirizzoNuovo[i]);
        txtIndi[i]->setText(d.indirizzoNuovo[i] ? d.desInd[i] : QString());
        txtIndi[i]->setEnabled(d.indirizzoNuovo[i] && !solaLettura);
        if (!d.indirizzoNuovo[i])
            adatto &= selezionaCodice(cmbIndi[i], d.codInd[i]);
    }
    adatto &= selezionaCodice(cmbAsse, d.codAsse);
    riempiLista(cmbMisura, vociMisure(db, d.codAsse), false);
    adatto &= selezionaCodice(cmbMisura, d.codMisura);
    riempiLista(cmbAzione, vociAzioni(db, d.codAsse, d.codMisura), false);
    adatto &= selezionaCodice(cmbAzione, d.codAzione);
    const QString azione = d.azione();
    CmbTipologia->clear();
    CmbTipologia->addItem(QString(), QString());
    for (const VoceTipologia &t : vociTipologie(db, azione))
        CmbTipologia->addItem(t.descrizione, t.codice);
    const int it = CmbTipologia->findData(d.codTipologia);
    if (it >= 0) {
        CmbTipologia->setCurrentIndex(it);
    } else {
        if (!d.codTipologia.isEmpty()) {
            CmbTipologia->addItem(voceNonValidaDi(d.codTipologia), d.codTipologia);
            adatto = false;
        }
        CmbTipologia->setCurrentIndex(d.codTipologia.isEmpty() ? 0 : CmbTipologia->count() - 1);
    }
    const QStringList destinatari = vociDestinatari(db, azione, d.codTipologia);
    for (int i = 0; i < 5; ++i) {
        riempiLista(cmbDest[i], destinatari, true);
        adatto &= selezionaCodice(cmbDest[i], d.codDest[i]);
    }
    riempiLista(cmbScol, vociScolarita(db, azione, d.codTipologia), false);
    adatto &= selezionaCodice(cmbScol, d.codScol);
    riempiLista(cmbDurata, vociDurate(db, azione, d.codTipologia), true);
    adatto &= selezionaCodice(cmbDurata, d.durataTotIter > 0 ? QString::number(d.durataTotIter) : QString());
    adatto &= selezionaCodice(cmbSetto, d.codSetto);
    riempiLista(cmbCompa, vociComparti(db, d.codSetto), false);
    adatto &= selezionaCodice(cmbCompa, d.codComp);
    adatto &= selezionaCodice(cmbOra, d.codOra);
    adatto &= selezionaCodice(cmbCert, d.codCert);
    txtNumAll->setText(QString::number(d.numAll));
    txtDurataAnnOre->setText(QString::number(d.durataAnnOre));
    txtTotIter->setText(QString::number(d.totOreIter));
    txtOreStage->setText(QString::number(d.oreStage));
    txtOreLabEsterni->setText(QString::number(d.oreLabEsterni));
    txtGGDataAvvio->setText(d.ggAvvio);
    txtMMDataAvvio->setText(d.mmAvvio);
    txtAAAADataAvvio->setText(d.aaaaAvvio);
    ChkATS->setChecked(d.ats);
    chkAccorp->setChecked(d.accorpato);
    chkAccorp->setEnabled(false); // main or merged is fixed from the first save
    riempiLista(cmbAccorp, {}, false);
    cmbAccorp->setEnabled(false);
    lblEleAcc->setVisible(false);
    cmbAccorp->setVisible(false);
    return adatto;
}

void Sezione31::leggi(DatiCorso &d, const DatiCorso &caricati, bool inserimento) const
{
    d.accorpato = chkAccorp->isChecked();
    d.corsoPrincipale = inserimento ? cmbAccorp->currentText().left(4).trimmed() : (d.accorpato ? d.chiave.corso : QString());
    d.compoResp = codiceScelto(cmbCompoResp);
    d.qualificaNuova = chkQuali->isChecked();
    if (d.qualificaNuova) {
        d.desQualif = txtQuali->text();
    } else {
        d.codQualif = codiceScelto(cmbQuali);
        d.desQualif = voceNonValida(cmbQuali) ? caricati.desQualif : descrizioneScelta(cmbQuali);
    }
    for (int i = 0; i < 6; ++i) {
        d.indirizzoNuovo[i] = chkIndi[i]->isChecked();
        if (d.indirizzoNuovo[i]) {
            d.desInd[i] = txtIndi[i]->text();
        } else {
            d.codInd[i] = codiceScelto(cmbIndi[i]);
            d.desInd[i] = voceNonValida(cmbIndi[i]) ? caricati.desInd[i] : descrizioneScelta(cmbIndi[i]);
        }
    }
    d.codAsse = asse();
    d.codMisura = misura();
    d.codAzione = codiceAzione();
    d.codTipologia = tipologia();
    for (int i = 0; i < 5; ++i)
        d.codDest[i] = codiceScelto(cmbDest[i]);
    d.codScol = codiceScelto(cmbScol);
    d.codSetto = codiceScelto(cmbSetto);
    d.codComp = codiceScelto(cmbCompa);
    d.codOra = codiceScelto(cmbOra);
    d.codCert = codiceScelto(cmbCert);
    d.numAll = interoDi(txtNumAll);
    d.durataAnnOre = interoDi(txtDurataAnnOre);
    d.totOreIter = interoDi(txtTotIter);
    d.oreStage = interoDi(txtOreStage);
    d.oreLabEsterni = interoDi(txtOreLabEsterni);
    d.durataTotIter = durata();
    d.statoIter = static_cast<int>(interoDi(txtStato));
    d.ggAvvio = txtGGDataAvvio->text();
    d.mmAvvio = txtMMDataAvvio->text();
    d.aaaaAvvio = txtAAAADataAvvio->text();
    d.ats = ChkATS->isChecked();
}

void Sezione31::preparaCopia()
{
    const bool accorpato = chkAccorp->isChecked();
    chkAccorp->setEnabled(true);
    lblEleAcc->setVisible(true);
    cmbAccorp->setVisible(true);
    riempiLista(cmbAccorp, vociCorsiPrincipali(m_c.db, m_c.sessione, asse(), misura(), codiceAzione()), true);
    if (accorpato)
        selezionaCodice(cmbAccorp, m_c.sessione.gCorso);
    cmbAccorp->setEnabled(accorpato);
}

QString Sezione31::asse() const { return codiceScelto(cmbAsse); }
QString Sezione31::misura() const { return codiceScelto(cmbMisura); }
QString Sezione31::codiceAzione() const { return codiceScelto(cmbAzione); }
QString Sezione31::azione() const { return chiaveAzione(asse(), misura(), codiceAzione()); }
QString Sezione31::tipologia() const { return CmbTipologia->currentData().toString(); }
int Sezione31::durata() const { return cmbDurata->currentText().toInt(); }
qlonglong Sezione31::oreAnnue() const { return interoDi(txtDurataAnnOre); }
qlonglong Sezione31::allievi() const { return interoDi(txtNumAll); }

QWidget *Sezione31::campoIniziale(bool sedeOccasionale) const { return sedeOccasionale ? cmbCompoResp : cmbQuali; }

} // namespace quirdal
