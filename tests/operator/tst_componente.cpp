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
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// Operator A/7 in province 001: components 1 (SL) and 2, then occasional site 1001.
Contesto &sediPronte(Ambiente &a, bool stampata)
{
    a.pronto(u"Multiutenza"_s);
    preparaDomanda(a);
    a.db.esegui(u"UPDATE Installazione SET DomandaStampata=?"_s, {stampata ? -1 : 0});
    a.db.esegui(QStringLiteral("INSERT INTO TipoCompo VALUES ('SL','SEDE LEGALE'), ('UL','UNITA LOCALE'), "
                               "('UO','UNITA OPERATIVA')"));
    a.db.esegui(u"INSERT INTO Direttiva VALUES (1,'DIRETTIVA UNO'), (2,'DIRETTIVA DUE')"_s);
    for (const auto &[k, v] :
         {std::pair{"GrOpe", "A"}, std::pair{"Oper", "7"}, std::pair{"Prov", "001"}, std::pair{"Domanda", "1"}})
        a.ini.scrivi(u"BaseDati"_s, QString::fromLatin1(k), QString::fromLatin1(v));
    ripristinaSessione(a.sessione, a.ini, a.db);
    return *a.contesto;
}

// Those sites and their screen, built but not loaded.
struct Sedi : Ambiente {
    Componen s;
    explicit Sedi(bool stampata = false) : s(sediPronte(*this, stampata)) { }
    QString sede() { return trova<QLabel>(&s, "lblComponente")->text(); }
};

QLineEdit *campo(QWidget *w, const char *nome) { return trova<QLineEdit>(w, nome); }
void clic(QWidget *w, const char *nome) { QTest::mouseClick(trova<QPushButton>(w, nome), Qt::LeftButton); }

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
        // Where a check stops, the focus goes to the number of rooms unless the row names another field.
        auto riga = [](const char *nome, const char *locali, int laboratori, const QString &messaggio = {},
                       const char *fuoco = "txtNumLocali", const char *allievi = "20", bool conOre = true) {
            QTest::newRow(nome) << locali << laboratori << allievi << conOre << messaggio << (messaggio.isEmpty() ? "" : fuoco);
        };
        const QString unoSuTre = u"E' obbligatorio che ogni tre locali uno sia adibito a laboratorio."_s;
        riga("3 locali, 1 laboratorio", "3", 1);
        riga("4 locali, 1 laboratorio", "4", 1, unoSuTre);
        riga("6 locali, 2 laboratori", "6", 2);
        riga("7 locali, 2 laboratori", "7", 2, unoSuTre);
        riga("2 locali, 3 laboratori", "2", 3,
             u"Il numero di locali indicato, deve essere maggiore o uguale al numero di laboratori inseriti"_s);
        riga("senza locali", "", 1, u"Indicare il numero totale dei locali."_s);
        riga("zero locali", "0", 0, u"Il numero totale dei locali deve essere MAGGIORE di 0."_s);
        riga("senza allievi", "3", 1,
             u"Indicare il numero di allievi contemporaneamente previsti nella sede in "
             "riferimento alla legge sull'edilizia scolastica."_s,
             "txtAllieviPrevisti", "");
        riga("zero allievi", "3", 1,
             u"Il numero di allievi contemporaneamente previsti nella sede in riferimento alla "
             "legge sull'edilizia scolastica deve essere MAGGIORE di 0."_s,
             "txtAllieviPrevisti", "0");
        riga("senza ore e senza spunta", "3", 1,
             u"E' obbligatorio compilare la griglia 'Previsione Ore Corsi Rientranti "
             "Nell'Anno Formativo' o spuntare il flag soprastante."_s,
             "ChkDirettive", "20", false);
    }
    void locali()
    {
        QFETCH(QString, locali);
        QFETCH(int, laboratori);
        QFETCH(QString, allievi);
        QFETCH(bool, conOre);
        QFETCH(QString, messaggio);
        QFETCH(QString, fuoco);
        Sedi a;
        a.db.esegui(u"UPDATE CorsiCompoTipoLab SET NumLab=? WHERE Componente=1"_s, {laboratori});
        if (!conOre)
            a.db.esegui(u"DELETE FROM CorsiCompoOre"_s);
        QVERIFY(a.s.carica());
        campo(&a.s, "txtNumLocali")->setText(locali);
        campo(&a.s, "txtAllieviPrevisti")->setText(allievi);
        clic(&a.s, "cmdSalva");
        if (messaggio.isEmpty()) {
            QVERIFY2(a.dialoghi.messaggi.isEmpty(), qPrintable(a.dialoghi.ultimo()));
            QCOMPARE(a.valore(u"SELECT NumLocali FROM CorsiCompo WHERE Componente=1"_s), locali);
            return;
        }
        QCOMPARE(a.dialoghi.ultimo(), messaggio);
        QCOMPARE(trova<QTabWidget>(&a.s, "SSTab1")->currentIndex(), fuoco == QLatin1String("ChkDirettive") ? 2 : 1);
        QCOMPARE(a.s.focusWidget()->objectName(), fuoco);
        QCOMPARE(a.valore(u"SELECT NumLocali FROM CorsiCompo WHERE Componente=1"_s), u"6"_s);
    }

    // The basic checks keep the user on the site when moving away.
    void restaSullaSede_data()
    {
        QTest::addColumn<QStringList>("modifiche");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("titolo");
        const QString vd = u"Verifica Dati"_s;
        const QString formato = u"Il formato dell'indirizzo di posta elettronica non è corretto."_s;
        QTest::newRow("senza nome") << QStringList{"txtDenominazione="} << "Inserire denominazione della Facoltà" << vd;
        QTest::newRow("CAP di 4 cifre") << QStringList{"txtCap=1012"} << "C.A.P. non valido" << vd;
        QTest::newRow("CAP senza comune") << QStringList{"txtComDes=", "txtCap=10121"}
                                          << "Indicare, oltre al C.A.P., anche il comune, oppure cancellare il C.A.P." << vd;
        QTest::newRow("e-mail senza punto") << QStringList{"txtPostaElettronica=sede@ente"} << formato << vd;
        QTest::newRow("e-mail che inizia con @") << QStringList{"txtPostaElettronica=@ente.it"} << formato << vd;
        QTest::newRow("seconda sede legale")
            << QStringList{"cmbTipoCompo=SL  SEDE LEGALE"} << "E' già presente un componente (Facoltà)\r\n di tipo SEDE LEGALE"
            << "Tipo componente";
    }
    void restaSullaSede()
    {
        QFETCH(QStringList, modifiche);
        QFETCH(QString, messaggio);
        QFETCH(QString, titolo);
        Sedi a;
        QVERIFY(a.s.carica());
        clic(&a.s, "cmdNext"); // component 2, which the rows change
        QCOMPARE(a.sede(), u"2"_s);
        for (const QString &m : modifiche) {
            const QString nome = m.section(QLatin1Char('='), 0, 0), v = m.section(QLatin1Char('='), 1);
            if (auto *c = a.s.findChild<QComboBox *>(nome))
                c->setCurrentText(v);
            else
                campo(&a.s, nome.toLatin1().constData())->setText(v);
        }
        clic(&a.s, "cmdNext");
        QCOMPARE(a.dialoghi.ultimo(), messaggio);
        QCOMPARE(a.dialoghi.messaggi.last().titolo, titolo);
        QCOMPARE(a.sede(), u"2"_s);
        QCOMPARE(a.valore(u"SELECT Denominazione || Cap || TipoCompo FROM CorsiCompo WHERE Componente=2"_s),
                 u"SEDE DUE10024UL"_s);
    }

    // Components in code order, then the occasional sites; the go-to list reaches any.
    void navigazione()
    {
        Sedi a;
        QVERIFY(a.s.carica());
        auto abilitati = [&] {
            QString r;
            for (const char *b : {"cmdFirst", "cmdPrevious", "cmdNext", "cmdLast"})
                r += trova<QPushButton>(&a.s, b)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
            return r;
        };
        QCOMPARE(a.sede(), u"1"_s);
        QCOMPARE(abilitati(), u"0011"_s);
        QStringList didascalie;
        for (const char *b : {"cmdFirst", "cmdPrevious", "cmdNext", "cmdLast", "CmdVai"})
            didascalie << trova<QPushButton>(&a.s, b)->text();
        QCOMPARE(didascalie,
                 (QStringList{u"Prima Sede Interessata"_s, u"Sede Interessata Precedente"_s, u"Sede Interessata Successiva"_s,
                              u"Ultima Sede Interessata"_s, u"Vai alla Sede Interessata"_s}));
        clic(&a.s, "cmdNext");
        QCOMPARE(a.sede(), u"2"_s);
        QCOMPARE(abilitati(), u"1111"_s);
        clic(&a.s, "cmdNext");
        QCOMPARE(a.sede(), u"1001"_s);
        QVERIFY(!trova<QLabel>(&a.s, "lblSedeOcc")->isHidden());
        QVERIFY(campo(&a.s, "txtNumLocali")->isHidden() || !trova<QTabWidget>(&a.s, "SSTab1")->isTabEnabled(1));
        QCOMPARE(abilitati(), u"1100"_s);
        clic(&a.s, "cmdPrevious");
        QCOMPARE(a.sede(), u"2"_s);
        clic(&a.s, "cmdFirst");
        QCOMPARE(a.sede(), u"1"_s);
        clic(&a.s, "cmdLast");
        QCOMPARE(a.sede(), u"1001"_s);
        GuidaModali guida({[](QDialog *d) {
            trova<QListWidget>(d, "lstSedi")->setCurrentRow(1);
            clic(d, "cmdConferma");
        }});
        clic(&a.s, "CmdVai");
        QCOMPARE(guida.aperte, QStringList{u"FrmEleSedi"_s});
        QCOMPARE(a.sede(), u"2"_s);
        QVERIFY(a.dialoghi.messaggi.isEmpty());
    }

    void sedeOccasionaleScritta()
    {
        Sedi a;
        a.db.esegui(u"UPDATE CorsiSediOcc SET TipoCompo='XX'"_s);
        QVERIFY(a.s.carica());
        clic(&a.s, "cmdLast");
        campo(&a.s, "txtDenominazione")->setText(u"PALESTRA NUOVA"_s);
        campo(&a.s, "txtRiferimento")->setText(u"VIOLA"_s);
        clic(&a.s, "cmdSalva");
        QVERIFY2(a.dialoghi.messaggi.isEmpty(), qPrintable(a.dialoghi.ultimo()));
        QCOMPARE(a.valore(u"SELECT Denominazione || '|' || TipoCompo FROM CorsiSediOcc WHERE SedeOcc=1001"_s),
                 u"PALESTRA NUOVA|UO"_s);
        QCOMPARE(a.valore(u"SELECT Riferimento FROM CorsiSediOccUtil WHERE SedeOcc=1001"_s), u"VIOLA"_s);
    }

    void comuneDigitato_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("codice");
        QTest::addColumn<QString>("cap");
        QTest::addColumn<int>("messaggi");
        QTest::addColumn<bool>("svuotato"); // the field emptied first, which empties the postal code
        QTest::newRow("nella provincia") << "sant'elia"
                                         << "001002"
                                         << "10024" << 0 << false;
        QTest::newRow("di un'altra provincia") << "GAMMA"
                                               << "001001"
                                               << "10100" << 1 << false;
        QTest::newRow("svuotato, poi di un'altra provincia") << "GAMMA"
                                                             << "001001"
                                                             << "10100" << 1 << true;
    }
    void comuneDigitato()
    {
        QFETCH(QString, nome);
        QFETCH(QString, codice);
        QFETCH(QString, cap);
        QFETCH(int, messaggi);
        QFETCH(bool, svuotato);
        Sedi a;
        a.db.esegui(u"UPDATE CorsiCompo SET StatoEstero='FRANCIA' WHERE Componente=1"_s);
        QVERIFY(a.s.carica());
        a.s.show();
        QApplication::setActiveWindow(&a.s);
        QVERIFY(QTest::qWaitForWindowActive(&a.s));
        auto *comune = campo(&a.s, "txtComDes");
        comune->setFocus();
        comune->selectAll();
        if (svuotato) {
            QTest::keyClick(comune, Qt::Key_Delete);
            QCOMPARE(campo(&a.s, "txtCap")->text(), QString());
        }
        QTest::keyClicks(comune, nome);
        campo(&a.s, "txtIndirizzo")->setFocus();
        const QString fuori = u"Il comune inserito non è stato trovato nell'elenco dei comuni italiani rientranti nella "
                              "provincia selezionata (ALFA). Selezionarne un'altro, oppure cancellarlo."_s;
        QCOMPARE(a.dialoghi.testiMessaggi(), messaggi ? QStringList{fuori} : QStringList());
        QCOMPARE(trova<QLabel>(&a.s, "lblCodComune")->text(), codice);
        QCOMPARE(campo(&a.s, "txtCap")->text(), cap);
        QCOMPARE(campo(&a.s, "txtStatoEstero")->text(), messaggi ? u"FRANCIA"_s : QString());
    }

    // The sheet opens showing a whole page (the accreditation frame included), within the
    // screen, and again at the size its user left it at.
    void dimensione()
    {
        Sedi a;
        QVERIFY(a.s.carica());
        a.s.show();
        QVERIFY(QTest::qWaitForWindowExposed(&a.s));
        auto *schede = trova<QTabWidget>(&a.s, "SSTab1");
        const QSize schermo = a.s.screen()->availableGeometry().size();
        QVERIFY(a.s.height() <= schermo.height());
        // A page scrolls only on a screen too small for it (the headless one is 800x600).
        const bool limitata = a.s.height() >= schermo.height() - 48;
        for (int i = 0; i < schede->count(); ++i) {
            schede->setCurrentIndex(i);
            QApplication::processEvents();
            auto *pagina = qobject_cast<QScrollArea *>(schede->currentWidget());
            QVERIFY(pagina);
            QVERIFY2(limitata || !pagina->verticalScrollBar()->isVisible(), qPrintable(schede->tabText(i)));
        }
        a.s.resize(a.s.width(), a.s.height() - 30);
        const QSize scelta = a.s.size();
        a.s.hide();
        Componen altra(*a.contesto);
        QCOMPARE(altra.size(), scelta);
    }

    void laboratori()
    {
        Sedi a;
        QVERIFY(a.s.carica());
        auto *g = trova<QTableWidget>(&a.s, "grdLab");
        QCOMPARE(g->rowCount(), 1);
        // A wrong number may be typed again or the entry given up.
        a.dialoghi.testi << u"x"_s << u"3"_s << u"AULA DISEGNO"_s;
        a.dialoghi.risposte << Risposta::Si;
        clic(&a.s, "cmdInsLab");
        QCOMPARE(g->rowCount(), 2);
        QCOMPARE(g->item(1, 1)->text(), u"AULA DISEGNO"_s);
        a.dialoghi.testi << u"0"_s;
        a.dialoghi.risposte << Risposta::No;
        clic(&a.s, "cmdInsLab");
        QCOMPARE(g->rowCount(), 2);
        // Too long a description: cut on Yes, the change given up on No.
        g->selectRow(1);
        a.dialoghi.testi << u"1"_s << QString(300, QLatin1Char('L'));
        a.dialoghi.risposte << Risposta::Si;
        clic(&a.s, "cmdModLab");
        QCOMPARE(a.valore(u"SELECT length(TipoLab) FROM CorsiCompoTipoLab WHERE Componente=1 AND NumLab=1"_s), u"255"_s);
        QCOMPARE(a.dialoghi.ultimo(),
                 QStringLiteral("Sono stati immessi più di 255 caratteri. Troncare la descrizione? "
                                "Scegliendo NO l'attuale modifica verrà annullata"));
        // Deleted meanwhile on another workstation.
        a.db.esegui(u"DELETE FROM CorsiCompoTipoLab WHERE Componente=1 AND NumLab=1"_s);
        g->selectRow(1);
        a.dialoghi.risposte << Risposta::Si;
        clic(&a.s, "cmdCancLab");
        QCOMPARE(a.dialoghi.ultimo(),
                 u"Il record che si è deciso di eliminare è già stato cancellato da un'altra postazione. "_s);
        QCOMPARE(g->rowCount(), 1);
        g->clearSelection();
        clic(&a.s, "cmdCancLab");
        QCOMPARE(a.dialoghi.ultimo(), u"Selezionare la riga da eliminare"_s);
    }

    void orePerDirettiva()
    {
        Sedi a;
        QVERIFY(a.s.carica());
        auto *g = trova<QTableWidget>(&a.s, "grdOre");
        auto aggiungi = [&](int voce, const QString &diurne) {
            clic(&a.s, "CmdInsOre");
            QVERIFY(!trova<QFrame>(&a.s, "FrmPulsanti")->isEnabled());
            trova<QComboBox>(&a.s, "CmbDirettiva")->setCurrentIndex(voce);
            campo(&a.s, "txtOreDiurne")->setText(diurne);
            campo(&a.s, "txtOreSerali")->setText(u"10"_s);
            clic(&a.s, "cmdRispCertConf");
        };
        aggiungi(1, u"500"_s);
        aggiungi(1, u"700"_s); // the same directive again: its one row changes
        QCOMPARE(g->rowCount(), 2);
        QCOMPARE(a.lista(u"SELECT OreDiurne FROM CorsiCompoOre WHERE CodDiret=2"_s), u"700"_s);
        QCOMPARE(campo(&a.s, "txtTotDiurne")->text(), u"1900"_s);
        QVERIFY(trova<QFrame>(&a.s, "FrmPulsanti")->isEnabled());
        clic(&a.s, "CmdInsOre");
        clic(&a.s, "cmdRispCertConf");
        QCOMPARE(a.dialoghi.ultimo(), u"Selezionare una direttiva"_s);
        clic(&a.s, "cmdRispCertAnn");
        // The tick removes every hour row at once, before any save.
        trova<QCheckBox>(&a.s, "ChkDirettive")->setChecked(true);
        QCOMPARE(a.valore(u"SELECT count(*) FROM CorsiCompoOre WHERE Componente=1"_s), u"0"_s);
        QCOMPARE(g->rowCount(), 0);
        QVERIFY(!trova<QPushButton>(&a.s, "CmdInsOre")->isEnabled());
    }

    // A printed application: no path writes, moving to another site included.
    void domandaStampata()
    {
        Sedi a(true);
        QVERIFY(a.s.carica());
        QCOMPARE(a.dialoghi.ultimo(),
                 u"Domanda già inviata alla Provincia\r\nNon sarà possibile modificare i dati delle Sedi Interessate"_s);
        QVERIFY(campo(&a.s, "txtDenominazione")->isReadOnly());
        QVERIFY(!trova<QPushButton>(&a.s, "cmdSalva")->isEnabled());
        QVERIFY(!trova<QCheckBox>(&a.s, "ChkDirettive")->isEnabled());
        campo(&a.s, "txtDenominazione")->setText(u"CAMBIATO DA CODICE"_s);
        clic(&a.s, "cmdNext");
        clic(&a.s, "cmdEsci");
        QCOMPARE(a.dialoghi.messaggi.size(), 1);
        QCOMPARE(a.valore(u"SELECT Denominazione FROM CorsiCompo WHERE Componente=1"_s), u"SEDE LEGALE"_s);
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
        Sedi a;
        a.db.esegui(u"UPDATE CorsiCompo SET NumLocali=3, AllieviPrevisti=10, Direttive='S' WHERE Componente=2"_s);
        a.db.esegui(QStringLiteral("INSERT INTO CorsiCompoTipoLab (GrupOpe, Operatore, Componente, NumLab, TipoLab) VALUES "
                                   "('A', 7, 2, 1, 'LABORATORIO')"));
        QVERIFY(a.s.carica());
        a.s.show();
        clic(&a.s, "cmdNext");
        campo(&a.s, "txtRiferimento")->setText(u"NERI BIS"_s);
        a.dialoghi.risposte << risposta;
        clic(&a.s, "cmdEsci");
        QCOMPARE(a.dialoghi.ultimo(), u"Sono stati modificati uno o più dati della Componente\r\nSalvare le modifiche ?"_s);
        QCOMPARE(a.s.isVisible(), aperta);
        QCOMPARE(a.valore(u"SELECT Riferimento FROM CorsiCompo WHERE Componente=2"_s), salvato);
    }
};

QTEST_MAIN(TestComponente)
#include "tst_componente.moc"
