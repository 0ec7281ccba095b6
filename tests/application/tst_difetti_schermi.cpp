// Faults a user met on the screens: the menu under an open summary, the session of the
// only operator, the deeds count, the site-access messages, the download that goes on
// after a failed request, the export label.
#include "application/ui/SchermiSelezione.h"
#include "common/Progresso.h"
#include "config/SessioneIni.h"
#include "loading/DatiOperatori.h"
#include "loading/TabelleDecodifica.h"
#include "loading/ui/FrmInstOper.h"
#include "startup/ui/MainForm.h"
#include "support/GuidaModali.h"
#include "support/ServerFinto.h"
#include "support/Domanda.h"
#include "transmission/ui/SchermiInternet.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

const QString kSenzaDomanda =
    u"Selezionare prima la PROVINCIA nell'ambito della quale compilare la domanda (Selezione Domanda)"_s;

void scriviSessione(Ambiente &a, const QString &g, const QString &o, const QString &prov)
{
    for (const auto &[k, v] : {std::pair{u"GrOpe"_s, g}, {u"Oper"_s, o}, {u"Prov"_s, prov}, {u"Domanda"_s, u"1"_s}})
        a.ini.scrivi(u"BaseDati"_s, k, v);
    ripristinaSessione(a.sessione, a.ini, a.db);
}

// The application of A-7 in province 001 (ALFA), open to changes; A-7 has another in 003.
void domandaSelezionata(Ambiente &a)
{
    a.pronto();
    preparaDomanda(a);
    a.db.esegui(u"UPDATE Installazione SET DomandaStampata=0"_s);
    scriviSessione(a, u"A"_s, u"7"_s, u"001"_s);
}

// The main menu after its first activation, on screen.
std::unique_ptr<MDI_Main> menu(Ambiente &a)
{
    auto m = std::make_unique<MDI_Main>(*a.contesto);
    m->carica();
    m->primaAttivazione();
    m->show();
    if (!QTest::qWaitForWindowExposed(m.get()))
        qFatal("menu non esposto");
    return m;
}

QString ini(Ambiente &a, const char *chiave) { return a.ini.leggi(u"BaseDati"_s, QString::fromLatin1(chiave)); }

QString atti(Ambiente &a, const char *prov)
{
    return a.valore(u"SELECT AttiATIATS FROM Installazione WHERE Prov=?"_s, {QString::fromLatin1(prov)});
}

// A Dialoghi that looks at the screen as each message comes.
class DialoghiAttenti : public FakeDialoghi {
public:
    std::function<void()> alMessaggio;
    Risposta messaggio(const QString &t, const QString &ti, Icona i, Pulsanti p) override
    {
        if (alMessaggio)
            alMessaggio();
        return FakeDialoghi::messaggio(t, ti, i, p);
    }
};

} // namespace

class TestDifettiSchermi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // While the summary is open the menu takes no click, so the deeds typed on it go to
    // the application it shows.
    void menuFermoSottoIlRiepilogo()
    {
        Ambiente a;
        domandaSelezionata(a);
        auto m = menu(a);
        // Only opened if the menu answers a click under the summary: it switches to 003.
        GuidaModali guida({[](QDialog *d) {
            if (d->objectName() != QLatin1String("frmSelDomanda"))
                return;
            trova<QComboBox>(d, "cmbProvince")->setCurrentText(u"GG - GAMMA"_s);
            QTest::mouseClick(trova<QPushButton>(d, "cmdConferma"), Qt::LeftButton);
        }});
        bool modale = false;
        QMetaObject::invokeMethod(
            m.get(),
            [&] {
                auto *r = trova<QDialog>(m.get(), "frmRiepDomanda");
                modale = QApplication::activeModalWidget() == r;
                auto *campo = trova<QLineEdit>(r, "txtNumATIATS");
                campo->setFocus();
                QTest::keyClicks(campo, u"7"_s);
                // A real click of the window system on "Selezione Domanda".
                auto *b = trova<QPushButton>(m.get(), "cmdSelDoma");
                QTest::mouseClick(m->windowHandle(), Qt::LeftButton, {}, b->mapTo(m.get(), b->rect().center()));
                QTest::mouseClick(trova<QPushButton>(r, "cmdConferma"), Qt::LeftButton);
            },
            Qt::QueuedConnection);
        QTest::mouseClick(trova<QPushButton>(m.get(), "cmdRiepDoma"), Qt::LeftButton);

        QVERIFY(modale);
        QVERIFY2(!guida.aperte.contains(u"frmSelDomanda"_s), qPrintable(guida.aperte.join(u',')));
        QCOMPARE(atti(a, "001"), u"7"_s);
        QCOMPARE(atti(a, "003"), QString());
        QCOMPARE(a.sessione.gProv, u"001"_s);
        QCOMPARE(ini(a, "Prov"), u"001"_s);
    }

    // The only operator of the database keeps a remembered province only where it has an
    // application of its own.
    void unSoloOperatore_data()
    {
        QTest::addColumn<QStringList>("domande"); // Installazione rows: group|number|province
        QTest::addColumn<QString>("provincia");   // LblProv
        QTest::addColumn<QString>("prov");        // INI afterwards, with Domanda=1 when there is one
        QTest::newRow("nessuna domanda") << QStringList{} << "   (  )"
                                         << "";
        QTest::newRow("resta la domanda dell'altro operatore") << QStringList{"A|101|001"} << "   (  )"
                                                               << "";
        QTest::newRow("domanda propria nella provincia") << QStringList{"A|101|001", "B|310|001"} << "   ( ALBARESE )"
                                                         << "001";
    }
    void unSoloOperatore()
    {
        QFETCH(QStringList, domande);
        QFETCH(QString, provincia);
        QFETCH(QString, prov);
        Ambiente a;
        a.pronto();
        a.db.esegui(u"INSERT INTO Province VALUES ('001','AL','ALBARESE','01')"_s);
        a.aggiungiOperatore(u"B"_s, 310, u"COOPERATIVA SOCIALE L'ALBERO"_s);
        for (const QString &d : domande) {
            const QStringList k = d.split(u'|');
            a.db.esegui(u"INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, NumDoma) VALUES "
                        "(?, ?, ?, 1, 'N')"_s,
                        {k[0], k[1].toInt(), k[2]});
        }
        scriviSessione(a, u"A"_s, u"101"_s, u"001"_s);
        auto m = menu(a);

        QCOMPARE(trova<QLabel>(m.get(), "lblGrOpe")->text(), u"B"_s);
        QCOMPARE(trova<QLabel>(m.get(), "lblOpe")->text(), u"310"_s);
        QCOMPARE(trova<QLabel>(m.get(), "LblProv")->text(), provincia);
        QCOMPARE(ini(a, "GrOpe") + ini(a, "Oper") + u'|' + ini(a, "Prov") + u'|' + ini(a, "Domanda"),
                 u"B310|"_s + prov + u'|' + (prov.isEmpty() ? u""_s : u"1"_s));
        // The summary, if it opens, is read and left at once.
        QString testata;
        QMetaObject::invokeMethod(
            m.get(),
            [&] {
                if (auto *d = m->findChild<QDialog *>(u"frmRiepDomanda"_s)) {
                    testata = trova<QLabel>(d, "lblGrOpe")->text() + trova<QLabel>(d, "lblOpe")->text() + u' '
                        + trova<QLabel>(d, "lblDescrProv")->text();
                    QTest::mouseClick(trova<QPushButton>(d, "cmdEsci"), Qt::LeftButton);
                }
            },
            Qt::QueuedConnection);
        QTest::mouseClick(trova<QPushButton>(m.get(), "cmdRiepDoma"), Qt::LeftButton);
        QCoreApplication::processEvents(); // the look above, when no summary opened
        QCOMPARE(testata, prov.isEmpty() ? QString() : u"B310 ALBARESE"_s);
        QCOMPARE(a.dialoghi.testiMessaggi(), prov.isEmpty() ? QStringList{kSenzaDomanda} : QStringList());
    }

    // The deeds count takes digits only, typed or pasted; what it shows is what is stored.
    void attiSoloCifre_data()
    {
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<bool>("incollato");
        QTest::addColumn<int>("rifiutati");   // "Carattere non numerico" messages
        QTest::addColumn<QString>("salvato"); // and shown
        QTest::newRow("punto") << "3.4" << false << 1 << "34";
        QTest::newRow("virgola") << "3,4" << false << 1 << "34";
        QTest::newRow("cifre") << "7" << false << 0 << "7";
        QTest::newRow("incollato con la virgola") << "3,4" << true << 0 << "";
    }
    void attiSoloCifre()
    {
        QFETCH(QString, digitato);
        QFETCH(bool, incollato);
        QFETCH(int, rifiutati);
        QFETCH(QString, salvato);
        Ambiente a;
        domandaSelezionata(a);
        frmRiepDomanda r(*a.contesto);
        r.carica();
        r.show();
        QApplication::setActiveWindow(&r);
        QVERIFY(QTest::qWaitForWindowActive(&r));
        auto *campo = trova<QLineEdit>(&r, "txtNumATIATS");
        campo->setFocus();
        if (incollato) {
            QGuiApplication::clipboard()->setText(digitato);
            QCOMPARE(QGuiApplication::clipboard()->text(), digitato);
            QTest::keyClick(campo, Qt::Key_V, Qt::ControlModifier);
        } else {
            QTest::keyClicks(campo, digitato);
        }
        QCOMPARE(campo->text(), salvato);
        QCOMPARE(a.dialoghi.testiMessaggi().count(u"Carattere non numerico"_s), rifiutati);
        // Esci asks only about a real change; Yes stores it.
        a.dialoghi.messaggi.clear();
        a.dialoghi.risposte << Risposta::Si;
        QTest::mouseClick(trova<QPushButton>(&r, "cmdEsci"), Qt::LeftButton);
        const QString domanda = u"Sono stati modificati uno o più dati.\r\nSalvare le modifiche ?"_s;
        QCOMPARE(a.dialoghi.testiMessaggi(), salvato.isEmpty() ? QStringList() : QStringList{domanda});
        QVERIFY(!r.isVisible());
        QCOMPARE(atti(a, "001"), salvato);
    }

    // Courses and handicap sheets: the same registered-office check, and the lines of the
    // occasional-sites message in their order.
    void accessoAlleSedi_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("pulsante");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("titolo");
        const QString senzaSL = u"Nessun Componente di tipo SEDE LEGALE nella sezione Componenti"_s;
        const QString soloOcc = u"ATTENZIONE: per l'Operatore e la Provincia selezionati non sono stati trovati "
                                "componenti, ma solo sedi occasionali.\r\n"_s;
        const QString ul = u"UPDATE CorsiCompo SET TipoCompo='UL'"_s, occ = u"UPDATE CorsiCompo SET CodComune='003001'"_s;
        const QString corsi = u"Gestione Corsi"_s, nonDisponibile = u"Funzione non disponibile"_s;
        QTest::newRow("handicap, componenti ma nessuna sede legale") << ul << "cmdHandi" << senzaSL << corsi;
        QTest::newRow("handicap, nessun componente") << "DELETE FROM CorsiCompo"
                                                     << "cmdHandi" << senzaSL << corsi;
        QTest::newRow("corsi, nessuna sede legale") << ul << "cmdCorsi" << senzaSL << corsi;
        QTest::newRow("handicap, solo sedi occasionali")
            << occ << "cmdHandi" << soloOcc + u"Impossibile gestire schede handicap."_s << nonDisponibile;
        QTest::newRow("corsi, solo sedi occasionali")
            << occ << "cmdCorsi" << soloOcc + u"Impossibile gestire corsi."_s << nonDisponibile;
    }
    void accessoAlleSedi()
    {
        QFETCH(QString, sql);
        QFETCH(QString, pulsante);
        QFETCH(QString, messaggio);
        QFETCH(QString, titolo);
        Ambiente a;
        domandaSelezionata(a);
        a.db.esegui(sql);
        auto m = menu(a);
        GuidaModali guida;
        QTest::mouseClick(trova<QPushButton>(m.get(), qPrintable(pulsante)), Qt::LeftButton);
        QCOMPARE(guida.aperte, QStringList());
        unMessaggio(a.dialoghi, messaggio, titolo, Icona::Critico);
    }

    // One failed request does not stop the other: what came is unpacked and, for the
    // operators' data, confirmed and then loaded.
    void scaricoConUnaRichiestaFallita_data()
    {
        QTest::addColumn<QString>("guasto");
        QTest::addColumn<QString>("titolo"); // of the one error message
        QTest::addColumn<bool>("operatori"); // oper.tx1 unpacked, frmConferma shown
        QTest::newRow("tabelle non disponibili") << "aggiornatabelle:errore"
                                                 << "Installazione base dati - scarico tabelle di decodifica" << true;
        QTest::newRow("dati degli operatori non disponibili") << "aggiornadb:errore"
                                                              << "Installazione base dati" << false;
    }
    void scaricoConUnaRichiestaFallita()
    {
        QFETCH(QString, guasto);
        QFETCH(QString, titolo);
        QFETCH(bool, operatori);
        ServerFinto server({u"--guasto"_s, guasto});
        Ambiente a;
        a.pronto();
        ProgressoCaricamento progresso;
        const QString tabelle = qEnvironmentVariable("QUIRDAL_SORGENTI") + u"/data/tabelle/"_s;
        for (const QString &t : {u"Province"_s, u"Comuni"_s})
            caricaTabella(*a.contesto, tabelle + t + u".txt"_s, t, terminiChiave(*a.contesto, t), progresso);
        server.configura(a.ini, a.dir.path());
        frmInstOper s(*a.contesto);
        s.show();
        QTest::keyClicks(trova<QLineEdit>(&s, "TxtGrup"), u"A"_s);
        QTest::keyClicks(trova<QLineEdit>(&s, "TxtOper"), u"101"_s);
        QTest::mouseClick(trova<QPushButton>(&s, "CmdIns"), Qt::LeftButton);
        QString conferma;
        GuidaModali guida({[&](QDialog *d) {
            conferma = trova<QLabel>(d, "lblConferma")->text();
            d->accept();
        }});
        QTest::mouseClick(trova<QPushButton>(&s, "cmdConferma"), Qt::LeftButton);

        QCOMPARE(a.dialoghi.messaggi.size(), 1);
        QCOMPARE(a.dialoghi.messaggi[0].titolo, titolo);
        QCOMPARE(s.scaricato(), operatori);
        QCOMPARE(s.isVisible(), !operatori); // a failed operators' request leaves the screen open
        QCOMPARE(QFile::exists(a.percorso(u"oper.tx1"_s)), operatori);
        QCOMPARE(QFile::exists(a.percorso(u"Province.txt"_s)), !operatori);
        QCOMPARE(QFile::exists(a.percorso(u"aggiorna.tab"_s)), !operatori);
        if (!operatori) {
            QCOMPARE(guida.aperte, QStringList());
            return;
        }
        QCOMPARE(guida.aperte, QStringList{u"frmConferma"_s});
        QVERIFY2(conferma.contains(u"Le tabelle di decodifica non sono state scaricate"_s), qPrintable(conferma));
        // The update that follows on the menu loads the operators and leaves the tables.
        a.dialoghi.messaggi.clear();
        a.sessione.gVersione = u"SERVER"_s;
        QVERIFY2(aggiornaBaseDati(*a.contesto, progresso), qPrintable(a.dialoghi.ultimo()));
        QCOMPARE(a.dialoghi.testiMessaggi(), QStringList{u"Aggiornamento Base Dati effettuato."_s});
        QCOMPARE(a.valore(u"SELECT Denominazione FROM CorsiOper WHERE GrupOpe='A' AND Operatore=101"_s),
                 u"CENTRO DI FORMAZIONE PROFESSIONALE VALDORIA"_s);
        QCOMPARE(a.conta(u"CorsiCompo"_s), 3);
    }

    // The export step shows lblPercent at 0 while it runs and hides it afterwards.
    void etichettaDellEsportazione()
    {
        ServerFinto server;
        Ambiente a;
        a.pronto();
        server.configura(a.ini, a.dir.path());
        DialoghiAttenti dialoghi;
        Contesto c{a.dir.path(), a.sessione, a.db, a.ini, dialoghi, a.piattaforma, *a.utente};
        frmInet f(c);
        f.show();
        auto *percento = trova<QLabel>(&f, "lblPercent");
        QVERIFY(percento->isHidden());
        QString durante;
        dialoghi.alMessaggio = [&] { durante = percento->isVisible() ? percento->text() : u"nascosta"_s; };
        QTest::mouseClick(trova<QPushButton>(&f, "CmdORBIDE"), Qt::LeftButton);
        QCOMPARE(dialoghi.ultimo(), u"Trasmissione al sistema ORBIDE completata con successo"_s);
        QCOMPARE(durante, u"0"_s);
        QVERIFY(percento->isHidden());
    }
};

QTEST_MAIN(TestDifettiSchermi)
#include "tst_difetti_schermi.moc"
