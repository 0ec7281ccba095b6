// Section 2 driven as a user drives it: rooms against laboratories, the checks that keep
// the user on a site, the walk across components and occasional sites, laboratories and
// hours, and a printed application that nothing may change.
#include "config/SessioneIni.h"
#include "operator/ui/Componen.h"
#include "support/GuidaModali.h"
#include "support/Domanda.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// Operator A/7 in province 001: components 1 (SL) and 2, then occasional site 1001.
void sediPronte(Ambiente &a, bool stampata = false)
{
    a.pronto(QStringLiteral("Multiutenza"));
    preparaDomanda(a);
    a.db.esegui(QStringLiteral("UPDATE Installazione SET DomandaStampata=?"), {stampata ? -1 : 0});
    a.db.esegui(QStringLiteral("INSERT INTO TipoCompo VALUES ('SL','SEDE LEGALE'), ('UL','UNITA LOCALE'), "
                               "('UO','UNITA OPERATIVA')"));
    a.db.esegui(QStringLiteral("INSERT INTO Direttiva VALUES (1,'DIRETTIVA UNO'), (2,'DIRETTIVA DUE')"));
    for (const auto &[k, v] : {std::pair{"GrOpe", "A"}, std::pair{"Oper", "7"}, std::pair{"Prov", "001"},
                               std::pair{"Domanda", "1"}})
        a.ini.scrivi(QStringLiteral("BaseDati"), QString::fromLatin1(k), QString::fromLatin1(v));
    ripristinaSessione(a.sessione, a.ini, a.db);
}

QLineEdit *campo(QWidget *w, const char *nome) { return trova<QLineEdit>(w, nome); }
void clic(QWidget *w, const char *nome) { QTest::mouseClick(trova<QPushButton>(w, nome), Qt::LeftButton); }
QString valore(Ambiente &a, const QString &sql) { return a.db.valoreScalare(sql).toString(); }

} // namespace

class TestComponente : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void locali_data()
    {
        QTest::addColumn<QString>("locali");
        QTest::addColumn<int>("laboratori");
        QTest::addColumn<QString>("allievi");
        QTest::addColumn<bool>("conOre");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("fuoco");
        const QString unoSuTre = QStringLiteral("E' obbligatorio che ogni tre locali uno sia adibito a laboratorio.");
        QTest::newRow("3 locali, 1 laboratorio") << "3" << 1 << "20" << true << "" << "";
        QTest::newRow("4 locali, 1 laboratorio") << "4" << 1 << "20" << true << unoSuTre << "txtNumLocali";
        QTest::newRow("6 locali, 2 laboratori") << "6" << 2 << "20" << true << "" << "";
        QTest::newRow("7 locali, 2 laboratori") << "7" << 2 << "20" << true << unoSuTre << "txtNumLocali";
        QTest::newRow("2 locali, 3 laboratori")
            << "2" << 3 << "20" << true
            << "Il numero di locali indicato, deve essere maggiore o uguale al numero di laboratori inseriti"
            << "txtNumLocali";
        QTest::newRow("senza locali") << "" << 1 << "20" << true << "Indicare il numero totale dei locali."
                                      << "txtNumLocali";
        QTest::newRow("zero locali") << "0" << 0 << "20" << true
                                     << "Il numero totale dei locali deve essere MAGGIORE di 0." << "txtNumLocali";
        QTest::newRow("senza allievi") << "3" << 1 << "" << true
                                       << "Indicare il numero di allievi contemporaneamente previsti nella sede in "
                                          "riferimento alla legge sull'edilizia scolastica."
                                       << "txtAllieviPrevisti";
        QTest::newRow("zero allievi") << "3" << 1 << "0" << true
                                      << "Il numero di allievi contemporaneamente previsti nella sede in riferimento "
                                         "alla legge sull'edilizia scolastica deve essere MAGGIORE di 0."
                                      << "txtAllieviPrevisti";
        QTest::newRow("senza ore e senza spunta")
            << "3" << 1 << "20" << false
            << "E' obbligatorio compilare la griglia 'Previsione Ore Corsi Rientranti Nell'Anno Formativo' o spuntare "
               "il flag soprastante."
            << "ChkDirettive";
    }
    void locali()
    {
        QFETCH(QString, locali);
        QFETCH(int, laboratori);
        QFETCH(QString, allievi);
        QFETCH(bool, conOre);
        QFETCH(QString, messaggio);
        QFETCH(QString, fuoco);
        Ambiente a;
        sediPronte(a);
        a.db.esegui(QStringLiteral("UPDATE CorsiCompoTipoLab SET NumLab=? WHERE Componente=1"), {laboratori});
        if (!conOre)
            a.db.esegui(QStringLiteral("DELETE FROM CorsiCompoOre"));
        Componen s(*a.contesto);
        QVERIFY(s.carica());
        campo(&s, "txtNumLocali")->setText(locali);
        campo(&s, "txtAllieviPrevisti")->setText(allievi);
        clic(&s, "cmdSalva");
        if (messaggio.isEmpty()) {
            QVERIFY2(a.dialoghi.messaggi.isEmpty(), qPrintable(a.dialoghi.ultimo()));
            QCOMPARE(valore(a, QStringLiteral("SELECT NumLocali FROM CorsiCompo WHERE Componente=1")), locali);
            return;
        }
        QCOMPARE(a.dialoghi.ultimo(), messaggio);
        QCOMPARE(trova<QTabWidget>(&s, "SSTab1")->currentIndex(), fuoco == QLatin1String("ChkDirettive") ? 2 : 1);
        QCOMPARE(s.focusWidget()->objectName(), fuoco);
        QCOMPARE(valore(a, QStringLiteral("SELECT NumLocali FROM CorsiCompo WHERE Componente=1")), QStringLiteral("6"));
    }

    // The basic checks keep the user on the site when moving away.
    void restaSullaSede_data()
    {
        QTest::addColumn<QStringList>("modifiche");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("titolo");
        QTest::newRow("senza nome") << QStringList{"txtDenominazione="} << "Inserire denominazione della Facoltà"
                                    << "Verifica Dati";
        QTest::newRow("CAP di 4 cifre") << QStringList{"txtCap=1012"} << "C.A.P. non valido" << "Verifica Dati";
        QTest::newRow("CAP senza comune") << QStringList{"txtComDes=", "txtCap=10121"}
                                          << "Indicare, oltre al C.A.P., anche il comune, oppure cancellare il C.A.P."
                                          << "Verifica Dati";
        QTest::newRow("e-mail senza punto") << QStringList{"txtPostaElettronica=sede@ente"}
                                            << "Il formato dell'indirizzo di posta elettronica non è corretto."
                                            << "Verifica Dati";
        QTest::newRow("e-mail che inizia con @") << QStringList{"txtPostaElettronica=@ente.it"}
                                                 << "Il formato dell'indirizzo di posta elettronica non è corretto."
                                                 << "Verifica Dati";
        QTest::newRow("seconda sede legale") << QStringList{"cmbTipoCompo=SL  SEDE LEGALE"}
                                             << "E' già presente un componente (Facoltà)\r\n di tipo SEDE LEGALE"
                                             << "Tipo componente";
    }
    void restaSullaSede()
    {
        QFETCH(QStringList, modifiche);
        QFETCH(QString, messaggio);
        QFETCH(QString, titolo);
        Ambiente a;
        sediPronte(a);
        Componen s(*a.contesto);
        QVERIFY(s.carica());
        clic(&s, "cmdNext"); // component 2, which the rows change
        QCOMPARE(trova<QLabel>(&s, "lblComponente")->text(), QStringLiteral("2"));
        for (const QString &m : modifiche) {
            const QString nome = m.section(QLatin1Char('='), 0, 0), v = m.section(QLatin1Char('='), 1);
            if (auto *c = s.findChild<QComboBox *>(nome))
                c->setCurrentText(v);
            else
                campo(&s, nome.toLatin1().constData())->setText(v);
        }
        clic(&s, "cmdNext");
        QCOMPARE(a.dialoghi.ultimo(), messaggio);
        QCOMPARE(a.dialoghi.messaggi.last().titolo, titolo);
        QCOMPARE(trova<QLabel>(&s, "lblComponente")->text(), QStringLiteral("2"));
        QCOMPARE(valore(a, QStringLiteral("SELECT Denominazione || Cap || TipoCompo FROM CorsiCompo WHERE Componente=2")),
                 QStringLiteral("SEDE DUE10024UL"));
    }

    // Components in code order, then the occasional sites; the go-to list reaches any.
    void navigazione()
    {
        Ambiente a;
        sediPronte(a);
        Componen s(*a.contesto);
        QVERIFY(s.carica());
        auto sede = [&] { return trova<QLabel>(&s, "lblComponente")->text(); };
        auto abilitati = [&] {
            QString r;
            for (const char *b : {"cmdFirst", "cmdPrevious", "cmdNext", "cmdLast"})
                r += trova<QPushButton>(&s, b)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
            return r;
        };
        QCOMPARE(sede(), QStringLiteral("1"));
        QCOMPARE(abilitati(), QStringLiteral("0011"));
        clic(&s, "cmdNext");
        QCOMPARE(sede(), QStringLiteral("2"));
        QCOMPARE(abilitati(), QStringLiteral("1111"));
        clic(&s, "cmdNext");
        QCOMPARE(sede(), QStringLiteral("1001"));
        QVERIFY(!trova<QLabel>(&s, "lblSedeOcc")->isHidden());
        QVERIFY(campo(&s, "txtNumLocali")->isHidden() || !trova<QTabWidget>(&s, "SSTab1")->isTabEnabled(1));
        QCOMPARE(abilitati(), QStringLiteral("1100"));
        clic(&s, "cmdPrevious");
        QCOMPARE(sede(), QStringLiteral("2"));
        clic(&s, "cmdFirst");
        QCOMPARE(sede(), QStringLiteral("1"));
        clic(&s, "cmdLast");
        QCOMPARE(sede(), QStringLiteral("1001"));
        GuidaModali guida({[](QDialog *d) {
            trova<QListWidget>(d, "lstSedi")->setCurrentRow(1);
            clic(d, "cmdConferma");
        }});
        clic(&s, "CmdVai");
        QCOMPARE(guida.aperte, QStringList{QStringLiteral("FrmEleSedi")});
        QCOMPARE(sede(), QStringLiteral("2"));
        QVERIFY(a.dialoghi.messaggi.isEmpty());
    }

    void sedeOccasionaleScritta()
    {
        Ambiente a;
        sediPronte(a);
        a.db.esegui(QStringLiteral("UPDATE CorsiSediOcc SET TipoCompo='XX'"));
        Componen s(*a.contesto);
        QVERIFY(s.carica());
        clic(&s, "cmdLast");
        campo(&s, "txtDenominazione")->setText(QStringLiteral("PALESTRA NUOVA"));
        campo(&s, "txtRiferimento")->setText(QStringLiteral("VIOLA"));
        clic(&s, "cmdSalva");
        QVERIFY2(a.dialoghi.messaggi.isEmpty(), qPrintable(a.dialoghi.ultimo()));
        QCOMPARE(valore(a, QStringLiteral("SELECT Denominazione || '|' || TipoCompo FROM CorsiSediOcc WHERE SedeOcc=1001")),
                 QStringLiteral("PALESTRA NUOVA|UO"));
        QCOMPARE(valore(a, QStringLiteral("SELECT Riferimento FROM CorsiSediOccUtil WHERE SedeOcc=1001")),
                 QStringLiteral("VIOLA"));
    }

    void comuneDigitato_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("codice");
        QTest::addColumn<QString>("cap");
        QTest::addColumn<int>("messaggi");
        QTest::newRow("nella provincia") << "sant'elia" << "001002" << "10024" << 0;
        QTest::newRow("di un'altra provincia") << "GAMMA" << "001001" << "10100" << 1;
    }
    void comuneDigitato()
    {
        QFETCH(QString, nome);
        QFETCH(QString, codice);
        QFETCH(QString, cap);
        QFETCH(int, messaggi);
        Ambiente a;
        sediPronte(a);
        a.db.esegui(QStringLiteral("UPDATE CorsiCompo SET StatoEstero='FRANCIA' WHERE Componente=1"));
        Componen s(*a.contesto);
        QVERIFY(s.carica());
        s.show();
        QApplication::setActiveWindow(&s);
        QVERIFY(QTest::qWaitForWindowActive(&s));
        auto *comune = campo(&s, "txtComDes");
        comune->setFocus();
        comune->selectAll();
        QTest::keyClicks(comune, nome);
        campo(&s, "txtIndirizzo")->setFocus();
        QCOMPARE(a.dialoghi.messaggi.size(), messaggi);
        if (messaggi)
            QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Il comune inserito non è stato trovato nell'elenco dei comuni "
                                                         "italiani rientranti nella provincia selezionata (ALFA). "
                                                         "Selezionarne un'altro, oppure cancellarlo."));
        QCOMPARE(trova<QLabel>(&s, "lblCodComune")->text(), codice);
        QCOMPARE(campo(&s, "txtCap")->text(), cap);
        QCOMPARE(campo(&s, "txtStatoEstero")->text(), messaggi ? QStringLiteral("FRANCIA") : QString());
    }

    void laboratori()
    {
        Ambiente a;
        sediPronte(a);
        Componen s(*a.contesto);
        QVERIFY(s.carica());
        auto *g = trova<QTableWidget>(&s, "grdLab");
        QCOMPARE(g->rowCount(), 1);
        // A wrong number may be typed again or the entry given up.
        a.dialoghi.testi << QStringLiteral("x") << QStringLiteral("3") << QStringLiteral("AULA DISEGNO");
        a.dialoghi.risposte << Risposta::Si;
        clic(&s, "cmdInsLab");
        QCOMPARE(g->rowCount(), 2);
        QCOMPARE(g->item(1, 1)->text(), QStringLiteral("AULA DISEGNO"));
        a.dialoghi.testi << QStringLiteral("0");
        a.dialoghi.risposte << Risposta::No;
        clic(&s, "cmdInsLab");
        QCOMPARE(g->rowCount(), 2);
        // Too long a description: cut on Yes, the change given up on No.
        g->selectRow(1);
        a.dialoghi.testi << QStringLiteral("1") << QString(300, QLatin1Char('L'));
        a.dialoghi.risposte << Risposta::Si;
        clic(&s, "cmdModLab");
        QCOMPARE(valore(a, QStringLiteral("SELECT length(TipoLab) FROM CorsiCompoTipoLab WHERE Componente=1 AND NumLab=1")),
                 QStringLiteral("255"));
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Sono stati immessi più di 255 caratteri. Troncare la descrizione? "
                                                     "Scegliendo NO l'attuale modifica verrà annullata"));
        // Deleted meanwhile on another workstation.
        a.db.esegui(QStringLiteral("DELETE FROM CorsiCompoTipoLab WHERE Componente=1 AND NumLab=1"));
        g->selectRow(1);
        a.dialoghi.risposte << Risposta::Si;
        clic(&s, "cmdCancLab");
        QCOMPARE(a.dialoghi.ultimo(),
                 QStringLiteral("Il record che si è deciso di eliminare è già stato cancellato da un'altra postazione. "));
        QCOMPARE(g->rowCount(), 1);
        g->clearSelection();
        clic(&s, "cmdCancLab");
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Selezionare la riga da eliminare"));
    }

    void orePerDirettiva()
    {
        Ambiente a;
        sediPronte(a);
        Componen s(*a.contesto);
        QVERIFY(s.carica());
        auto *g = trova<QTableWidget>(&s, "grdOre");
        auto aggiungi = [&](int voce, const QString &diurne) {
            clic(&s, "CmdInsOre");
            QVERIFY(!trova<QFrame>(&s, "FrmPulsanti")->isEnabled());
            trova<QComboBox>(&s, "CmbDirettiva")->setCurrentIndex(voce);
            campo(&s, "txtOreDiurne")->setText(diurne);
            campo(&s, "txtOreSerali")->setText(QStringLiteral("10"));
            clic(&s, "cmdRispCertConf");
        };
        aggiungi(1, QStringLiteral("500"));
        aggiungi(1, QStringLiteral("700")); // the same directive again: its one row changes
        QCOMPARE(g->rowCount(), 2);
        QCOMPARE(valore(a, QStringLiteral("SELECT group_concat(OreDiurne) FROM CorsiCompoOre WHERE CodDiret=2")),
                 QStringLiteral("700"));
        QCOMPARE(campo(&s, "txtTotDiurne")->text(), QStringLiteral("1900"));
        QVERIFY(trova<QFrame>(&s, "FrmPulsanti")->isEnabled());
        clic(&s, "CmdInsOre");
        clic(&s, "cmdRispCertConf");
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Selezionare una direttiva"));
        clic(&s, "cmdRispCertAnn");
        // The tick removes every hour row at once, before any save.
        trova<QCheckBox>(&s, "ChkDirettive")->setChecked(true);
        QCOMPARE(valore(a, QStringLiteral("SELECT count(*) FROM CorsiCompoOre WHERE Componente=1")), QStringLiteral("0"));
        QCOMPARE(g->rowCount(), 0);
        QVERIFY(!trova<QPushButton>(&s, "CmdInsOre")->isEnabled());
    }

    // A printed application: no path writes, moving to another site included.
    void domandaStampata()
    {
        Ambiente a;
        sediPronte(a, true);
        Componen s(*a.contesto);
        QVERIFY(s.carica());
        QCOMPARE(a.dialoghi.ultimo(),
                 QStringLiteral("Domanda già inviata alla Provincia\r\nNon sarà possibile modificare i dati delle Sedi Interessate"));
        QVERIFY(campo(&s, "txtDenominazione")->isReadOnly());
        QVERIFY(!trova<QPushButton>(&s, "cmdSalva")->isEnabled());
        QVERIFY(!trova<QCheckBox>(&s, "ChkDirettive")->isEnabled());
        campo(&s, "txtDenominazione")->setText(QStringLiteral("CAMBIATO DA CODICE"));
        clic(&s, "cmdNext");
        clic(&s, "cmdEsci");
        QCOMPARE(a.dialoghi.messaggi.size(), 1);
        QCOMPARE(valore(a, QStringLiteral("SELECT Denominazione FROM CorsiCompo WHERE Componente=1")),
                 QStringLiteral("SEDE LEGALE"));
    }

    void uscita_data()
    {
        QTest::addColumn<Risposta>("risposta");
        QTest::addColumn<bool>("aperta");
        QTest::addColumn<QString>("salvato");
        QTest::newRow("Sì") << Risposta::Si << false << "NERI BIS";
        QTest::newRow("No") << Risposta::No << false << "NERI";
        QTest::newRow("Annulla") << Risposta::Annulla << true << "NERI";
    }
    void uscita()
    {
        QFETCH(Risposta, risposta);
        QFETCH(bool, aperta);
        QFETCH(QString, salvato);
        Ambiente a;
        sediPronte(a);
        a.db.esegui(QStringLiteral("UPDATE CorsiCompo SET NumLocali=3, AllieviPrevisti=10, Direttive='S' WHERE Componente=2"));
        a.db.esegui(QStringLiteral("INSERT INTO CorsiCompoTipoLab (GrupOpe, Operatore, Componente, NumLab, TipoLab) VALUES "
                                   "('A', 7, 2, 1, 'LABORATORIO')"));
        Componen s(*a.contesto);
        QVERIFY(s.carica());
        s.show();
        clic(&s, "cmdNext");
        campo(&s, "txtRiferimento")->setText(QStringLiteral("NERI BIS"));
        a.dialoghi.risposte << risposta;
        clic(&s, "cmdEsci");
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Sono stati modificati uno o più dati della Componente\r\nSalvare le modifiche ?"));
        QCOMPARE(s.isVisible(), aperta);
        QCOMPARE(valore(a, QStringLiteral("SELECT Riferimento FROM CorsiCompo WHERE Componente=2")), salvato);
    }
};

QTEST_MAIN(TestComponente)
#include "tst_componente.moc"
