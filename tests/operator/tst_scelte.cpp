// The pickers and the text editor as a user meets them: searching on from the current
// row, choosing by keyboard alone, the site list, the descriptive text.
#include "operator/ui/Scelte.h"
#include "support/Ambiente.h"
#include "support/GuidaModali.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

using namespace quirdal;
using namespace quirdal::test;

namespace {
void conComuni(Ambiente &a)
{
    a.pronto();
    a.db.esegui(QStringLiteral("INSERT INTO Province VALUES ('001','AL','ALFA','01'), ('003','GG','GAMMA','01')"));
    a.db.esegui(QStringLiteral("INSERT INTO Comuni VALUES ('001001','ALFA','001','AL','10100'), ('001002','ALBA','001','AL',"
                               "'10200'), ('001003','BETA','001','AL','10300'), ('003001','ALTRA','003','GG','30100')"));
    a.db.esegui(QStringLiteral("INSERT INTO Istituti VALUES (1, 'ISTITUTO TECNICO'), (2, 'LICEO SCIENTIFICO')"));
}

QString corrente(QTableView *g, int colonna = 1) { return g->model()->index(g->currentIndex().row(), colonna).data().toString(); }
} // namespace

class TestScelte : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // From the current row on, never back: a match only before it is not found.
    void ricercaDallaRigaCorrente()
    {
        Ambiente a;
        conComuni(a);
        a.sessione.gFiltroComuni = QStringLiteral("001");
        auto t = TabComu(*a.contesto);
        t->carica();
        auto *g = trova<QTableView>(t.get(), "GrdComu");
        QCOMPARE(g->model()->rowCount(), 3); // restricted to the province
        QCOMPARE(corrente(g), QStringLiteral("ALBA"));
        trova<QLineEdit>(t.get(), "txtRicComu")->setText(QStringLiteral("al"));
        QTest::mouseClick(trova<QPushButton>(t.get(), "cmdCerca2"), Qt::LeftButton);
        QCOMPARE(corrente(g), QStringLiteral("ALFA"));
        QTest::mouseClick(trova<QPushButton>(t.get(), "cmdCerca2"), Qt::LeftButton);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Nessun comune trovato"));
        QCOMPARE(a.dialoghi.messaggi.last().titolo, QStringLiteral("Ricerca comune"));
        QCOMPARE(a.dialoghi.messaggi.last().icona, Icona::Esclamazione);
        QCOMPARE(corrente(g), QStringLiteral("ALFA"));
        // Sorted by a heading, the search follows the order shown.
        g->sortByColumn(0, Qt::DescendingOrder);
        g->setCurrentIndex(g->model()->index(0, 1));
        QCOMPARE(corrente(g), QStringLiteral("BETA"));
        QTest::mouseClick(trova<QPushButton>(t.get(), "cmdCerca2"), Qt::LeftButton);
        QCOMPARE(corrente(g), QStringLiteral("ALBA"));
    }

    void sceltaDaTastiera_data()
    {
        QTest::addColumn<int>("tasto");
        QTest::addColumn<QStringList>("scelta");
        QTest::newRow("Invio sceglie") << int(Qt::Key_Return) << QStringList{"001003", "BETA", "AL", "10300"};
        QTest::newRow("Esc annulla") << int(Qt::Key_Escape) << QStringList{};
    }
    void sceltaDaTastiera()
    {
        QFETCH(int, tasto);
        QFETCH(QStringList, scelta);
        Ambiente a;
        conComuni(a);
        a.sessione.gComuneScelto = {QStringLiteral("vecchia scelta")};
        auto t = TabComu(*a.contesto);
        GuidaModali guida({[tasto](QDialog *d) {
            auto *g = trova<QTableView>(d, "GrdComu");
            g->setFocus();
            QTest::keyClicks(g, QStringLiteral("BE"));
            QTest::keyClick(g, static_cast<Qt::Key>(tasto));
        }});
        scegli(*a.contesto, *t, a.sessione.gComuneScelto);
        QCOMPARE(guida.aperte, QStringList{QStringLiteral("TabComu")});
        QCOMPARE(a.sessione.gComuneScelto, scelta);
        QCOMPARE(guida.chiuseForzate, 0);
    }

    void confermaSenzaRiga()
    {
        Ambiente a;
        conComuni(a);
        auto t = TabNaz(*a.contesto);
        t->carica(); // no state at all: the grid is empty
        QTest::mouseClick(trova<QPushButton>(t.get(), "cmdSeleNaz"), Qt::LeftButton);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Selezionare uno Stato Estero oppure Uscire"));
        QCOMPARE(a.dialoghi.messaggi.last().titolo, QStringLiteral("Stati esteri"));
        QVERIFY(t->scelta().isEmpty());
    }

    // The school search finds the text anywhere in the name.
    void istitutoPerParteDelNome()
    {
        Ambiente a;
        conComuni(a);
        auto t = TabIsti(*a.contesto);
        t->carica();
        trova<QLineEdit>(t.get(), "txtRicIsti")->setText(QStringLiteral("scient"));
        QTest::mouseClick(trova<QPushButton>(t.get(), "cmdCercaIsti"), Qt::LeftButton);
        QVERIFY(a.dialoghi.messaggi.isEmpty());
        QCOMPARE(corrente(trova<QTableView>(t.get(), "GrdIsti")), QStringLiteral("LICEO SCIENTIFICO"));
    }

    void testoDescrittivo_data()
    {
        QTest::addColumn<QString>("modo");
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("risultato");
        QTest::newRow("maiuscole e SHARP") << "READWRITE"
                                           << "via #3"
                                           << "VIA SHARP3";
        QTest::newRow("Tab esce dal testo") << "READWRITE"
                                            << "via\t3"
                                            << "VIA3";
        QTest::newRow("tre righe sono 210 caratteri")
            << "READWRITE" << QString(230, QLatin1Char('a')) << QString(210, QLatin1Char('A'));
        QTest::newRow("sola lettura") << "READ"
                                      << "xyz" << QStringLiteral("UN TESTO DI PARTENZA LUNGO, ").repeated(6).trimmed();
    }
    void testoDescrittivo()
    {
        QFETCH(QString, modo);
        QFETCH(QString, digitato);
        QFETCH(QString, risultato);
        Ambiente a;
        Sessione &s = a.sessione;
        s.gTesto = modo == QLatin1String("READ") ? risultato : QString();
        s.gTestoModo = modo;
        s.gTestoMaxRighe = 3;
        s.gTestoTitolo = QStringLiteral("3.4.1 Descrizione");
        FrmTesto f(*a.contesto);
        f.show();
        QApplication::setActiveWindow(&f);
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QCOMPARE(trova<QLabel>(&f, "lblMaxRighe")->text(), QStringLiteral("Numero massimo di righe: 3"));
        auto *testo = trova<QTextEdit>(&f, "txtTesto");
        testo->setFocus();
        QTest::keyClicks(testo, digitato);
        auto *conferma = trova<QPushButton>(&f, "cmdConfTesto");
        QCOMPARE(conferma->isVisible(), modo != QLatin1String("READ"));
        QCOMPARE(trova<QLabel>(&f, "lblNonModif")->isVisible(), modo == QLatin1String("READ"));
        if (modo == QLatin1String("READ")) {
            QCOMPARE(trova<QPushButton>(&f, "cmAnnTesto")->text(), QStringLiteral("Esci"));
            QCOMPARE(testo->toPlainText(), risultato);
            // Lines wrap between words, never inside one.
            const QTextLayout *righe = testo->document()->firstBlock().layout();
            QVERIFY(righe->lineCount() > 1);
            for (int i = 0; i + 1 < righe->lineCount(); ++i) {
                const QTextLine r = righe->lineAt(i);
                QCOMPARE(risultato.at(r.textStart() + r.textLength() - 1), QLatin1Char(' '));
            }
            return;
        }
        // Tab leaves the text, as in any field, and the text takes no tab.
        QTest::keyClick(testo, Qt::Key_Tab);
        QVERIFY(!testo->hasFocus());
        QCOMPARE(testo->toPlainText(), risultato);
        QTest::mouseClick(conferma, Qt::LeftButton);
        QCOMPARE(s.gTesto, risultato);
        QCOMPARE(s.gTestoPos, 0);
    }

    void elencoSedi()
    {
        Ambiente a;
        conComuni(a);
        a.aggiungiOperatore(QStringLiteral("A"), 7, QStringLiteral("ENTE"));
        a.db.esegui(QStringLiteral("INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione, "
                                   "CodComune, Indirizzo) VALUES ('A', 7, 1, 'SL', 'SEDE LEGALE CON UN NOME LUNGO', '001001', "
                                   "'VIA UNO')"));
        a.db.esegui(QStringLiteral("INSERT INTO CorsiSediOcc (SedeOcc, Denominazione, TipoCompo, Indirizzo, CodComune) VALUES "
                                   "(1001, 'PALESTRA', 'UO', 'VIA DUE, CORTILE INTERNO 12', '001002')"));
        a.db.esegui(QStringLiteral("INSERT INTO CorsiSediOccUtil (GrupOpe, Operatore, SedeOcc) VALUES ('A', 7, 1001)"));
        a.sessione.impostaOperatore(QStringLiteral("A"), QStringLiteral("7"));
        a.sessione.gProv = QStringLiteral("001");
        FrmEleSedi f(*a.contesto);
        f.carica();
        auto *l = trova<QListWidget>(&f, "lstSedi");
        QCOMPARE(l->count(), 2);
        QCOMPARE(l->item(0)->text(), QStringLiteral("1     - SEDE LEGALE CON UN N. - SL - VIA UNO"));
        QCOMPARE(l->item(1)->text(),
                 QStringLiteral("1001  - PALESTRA              - UO - VIA DUE, CORTILE INTERNO 12   (SEDE OCCASIONALE)"));
        l->setCurrentRow(1);
        QTest::mouseClick(trova<QPushButton>(&f, "cmdConferma"), Qt::LeftButton);
        QCOMPARE(a.sessione.gSedeScelta, QStringLiteral("1001"));
        QCOMPARE(a.sessione.gSedeSceltaOcc, short(-1));
        // The responsible component: a choice is required, leaving asks first.
        CompoRes r(*a.contesto);
        r.carica();
        r.show();
        QTest::mouseClick(trova<QPushButton>(&r, "cmdConferma"), Qt::LeftButton);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Selezionare un componente dalla lista."));
        a.dialoghi.risposte << Risposta::No;
        QTest::mouseClick(trova<QPushButton>(&r, "cmdAnnulla"), Qt::LeftButton);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Annulla l'operazione di spostamento ?"));
        QVERIFY(r.isVisible());
        trova<QComboBox>(&r, "cmbCompo")->setCurrentIndex(0);
        QTest::mouseClick(trova<QPushButton>(&r, "cmdConferma"), Qt::LeftButton);
        QCOMPARE(r.componente(), QStringLiteral("1"));
    }
};

QTEST_MAIN(TestScelte)
#include "tst_scelte.moc"
