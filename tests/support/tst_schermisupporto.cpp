// The backup screen and the assistance screens driven as a user drives them, and the two
// menu entries that open them.
#include "startup/ui/MainForm.h"
#include "support/Ambiente.h"
#include "support/GuidaModali.h"
#include "support/ServerFinto.h"
#include "support/Zip.h"
#include "support/ui/FrmBackup.h"
#include "support/ui/FrmEmail.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>

using namespace quirdal;
using namespace quirdal::test;

namespace {

QString nomi(CorsiDB &db)
{
    return unisci(db, QStringLiteral("SELECT Denominazione FROM CorsiOper ORDER BY GrupOpe, Operatore"));
}

void scriviNelCampo(QWidget *campo, const QString &testo)
{
    campo->setFocus();
    if (auto *l = qobject_cast<QLineEdit *>(campo))
        l->clear();
    QTest::keyClicks(campo, testo);
}

// The request typed into frmEmail.
void compila(frmEmail &dlg)
{
    scriviNelCampo(trova<QLineEdit>(&dlg, "txtMittente"), QStringLiteral("mario.rossi@ente.it"));
    scriviNelCampo(trova<QLineEdit>(&dlg, "txtNumTel"), QStringLiteral("0123 456789"));
    scriviNelCampo(trova<QLineEdit>(&dlg, "TxtRif"), QStringLiteral("Mario Rossi"));
    scriviNelCampo(trova<QPlainTextEdit>(&dlg, "TxtProb"), QStringLiteral("La stampa non parte"));
}

} // namespace

class TestSchermiSupporto : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void vociDelMenu()
    {
        Ambiente a;
        a.pronto();
        MDI_Main w(*a.contesto);
        w.carica();
        QWidget *main = trova<QWidget>(&w, "Main");
        for (const char *voce : {"cmdBackup", "lblBackup", "cmdMailHelp", "lblMailHelp"})
            QVERIFY2(trova<QWidget>(main, voce)->isEnabled(), voce);
        GuidaModali guida;
        QTest::mouseClick(trova<QPushButton>(main, "cmdMailHelp"), Qt::LeftButton);
        QTest::mouseClick(trova<QPushButton>(main, "cmdBackup"), Qt::LeftButton);
        QCOMPARE(guida.aperte, (QStringList{"frmEmail", "frmBackup"}));
        QCOMPARE(a.dialoghi.testiMessaggi(),
                 QStringList{QStringLiteral("E' opportuno indicare il numero di telefono, la persona di riferimento e il tipo "
                                            "di problema riscontrato\r\nVerrà ora precompilata una mail da inviare "
                                            "all'assitenza V.T.Z.")});
    }

    void salvataggioERecuperoDallaSchermata()
    {
        Ambiente a;
        a.pronto(QStringLiteral("Multiutenza"));
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("SALVATO"));
        frmBackup dlg(*a.contesto);
        dlg.carica();
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        auto *txtFileBak = trova<QLineEdit>(&dlg, "txtFileBak");
        QCOMPARE(txtFileBak->text(), QDir::toNativeSeparators(a.percorso(QStringLiteral("QUIRDAL.zip"))));

        scriviNelCampo(txtFileBak, QString());
        QTest::mouseClick(trova<QPushButton>(&dlg, "cmdConfermaBak"), Qt::LeftButton);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Selezionare prima un nome per l'Archivio di Backup."));
        QCOMPARE(a.dialoghi.messaggi.last().titolo, QStringLiteral("Errore"));
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), trova<QPushButton>(&dlg, "cmdSfogliaBak"));

        scriviNelCampo(txtFileBak, QStringLiteral("copia"));
        QTest::mouseClick(trova<QPushButton>(&dlg, "cmdConfermaBak"), Qt::LeftButton);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Backup eseguito con successo."));
        const QString zip = a.percorso(QStringLiteral("copia.zip"));
        QVERIFY(QFileInfo::exists(zip));
        QCOMPARE(txtFileBak->text(), QDir::toNativeSeparators(zip));

        a.db.esegui(QStringLiteral("UPDATE CorsiOper SET Denominazione='CAMBIATO'"));
        trova<QTabWidget>(&dlg, "SSTab1")->setCurrentIndex(1);
        QVERIFY(trova<QRadioButton>(&dlg, "optAll")->isChecked());
        // The archive just saved is offered for the restore.
        QCOMPARE(trova<QLineEdit>(&dlg, "txtFileZip")->text(), QDir::toNativeSeparators(zip));
        QTest::mouseClick(trova<QPushButton>(&dlg, "cmdConfermaZip"), Qt::LeftButton);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Recupero eseguito con successo"));
        QCOMPARE(nomi(a.db), QStringLiteral("SALVATO"));
        QVERIFY(trova<QPushButton>(&dlg, "cmdConfermaZip")->isEnabled());
    }

    // The database's own name typed as the archive: refused, the database whole. (A database
    // on the server has no file: there the INI file's name is refused the same way.)
    void salvataggioSullaBaseDatiRifiutato()
    {
        Ambiente a;
        a.pronto(QStringLiteral("Multiutenza"));
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("INTATTA"));
        const QString nome = a.suServer() ? QStringLiteral("QUIRDAL.INI") : QStringLiteral("QUIRDAL.mdb");
        const QString cosa = a.suServer() ? QStringLiteral("il file di configurazione del programma")
                                          : QStringLiteral("la base dati del programma");
        const QByteArray ini = a.leggi(QStringLiteral("QUIRDAL.INI"));
        frmBackup dlg(*a.contesto);
        dlg.carica();
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        scriviNelCampo(trova<QLineEdit>(&dlg, "txtFileBak"), nome);
        QTest::mouseClick(trova<QPushButton>(&dlg, "cmdConfermaBak"), Qt::LeftButton);
        unMessaggio(a.dialoghi,
                    QStringLiteral("Backup fallito\r\n\r\nil file ") + QDir::toNativeSeparators(a.percorso(nome))
                        + QStringLiteral(" è ") + cosa + QStringLiteral(": scegliere un altro nome per l'archivio"),
                    QStringLiteral("QUIRDAL"), Icona::Critico);
        QCOMPARE(a.leggi(QStringLiteral("QUIRDAL.INI")), ini);
        QCOMPARE(nomi(a.db), QStringLiteral("INTATTA"));
        QCOMPARE(a.leggiIni(QStringLiteral("BaseDati"), QStringLiteral("FileBackup")), QString());
        QVERIFY(trova<QPushButton>(&dlg, "cmdConfermaBak")->isEnabled());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // A restore from the screen, with either option: the hourglass and the bar while the
    // archive is read; the question before an application printed in final form is
    // unlocked (No: nothing changes), then Yes; no hourglass left behind.
    void recuperoCheSblocca_data()
    {
        QTest::addColumn<QString>("opzione");
        QTest::newRow("intera base dati") << QStringLiteral("optAll");
        QTest::newRow("solo l'operatore") << QStringLiteral("optSost");
    }
    void recuperoCheSblocca()
    {
        QFETCH(QString, opzione);
        Ambiente a;
        a.pronto(QStringLiteral("Multiutenza"));
        a.aggiungiOperatore(QStringLiteral("A"), 1, QStringLiteral("SALVATO"));
        a.db.esegui(QStringLiteral("INSERT INTO Province (PROV, SigProv, DesProv) VALUES ('001', 'TO', 'TORINO')"));
        a.db.esegui(QStringLiteral("INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, DomandaStampata) "
                                   "VALUES ('A', 1, '001', 1, 0)"));
        a.sessione.impostaOperatore(QStringLiteral("A"), QStringLiteral("1"));
        frmBackup dlg(*a.contesto);
        dlg.carica();
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        scriviNelCampo(trova<QLineEdit>(&dlg, "txtFileBak"), QStringLiteral("copia"));
        QTest::mouseClick(trova<QPushButton>(&dlg, "cmdConfermaBak"), Qt::LeftButton);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Backup eseguito con successo."));
        a.db.esegui(QStringLiteral("UPDATE Installazione SET DomandaStampata = -1"));
        a.db.esegui(QStringLiteral("UPDATE CorsiOper SET Denominazione = 'CAMBIATO'"));

        trova<QTabWidget>(&dlg, "SSTab1")->setCurrentIndex(1);
        QTest::mouseClick(trova<QRadioButton>(&dlg, qPrintable(opzione)), Qt::LeftButton);
        auto *barra = trova<QProgressBar>(&dlg, "prgRecupero");
        QList<bool> clessidra;
        connect(barra, &QProgressBar::valueChanged, this, [&] {
            clessidra << (QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        });
        const QString domanda = QStringLiteral(
            "Il recupero sbloccherà queste domande, già stampate in definitivo: nell'archivio non risultano stampate e "
            "dopo il recupero i loro dati torneranno modificabili.\r\n\r\n- operatore A/1 CAMBIATO, provincia di "
            "TORINO\r\n\r\nContinuare il recupero?");
        for (const Risposta risposta : {Risposta::No, Risposta::Si}) {
            a.dialoghi.messaggi.clear();
            clessidra.clear();
            a.dialoghi.risposte.enqueue(risposta);
            QTest::mouseClick(trova<QPushButton>(&dlg, "cmdConfermaZip"), Qt::LeftButton);
            QCOMPARE(a.dialoghi.messaggi.first().testo, domanda);
            QCOMPARE(a.dialoghi.messaggi.first().icona, Icona::Domanda);
            QCOMPARE(a.dialoghi.messaggi.first().pulsanti, Pulsanti::SiNo);
            QVERIFY(!clessidra.isEmpty());
            QVERIFY(!clessidra.contains(false));
            QCOMPARE(QApplication::overrideCursor(), nullptr);
            QVERIFY(!barra->isVisible());
            QVERIFY(trova<QPushButton>(&dlg, "cmdConfermaZip")->isEnabled());
            const bool si = risposta == Risposta::Si;
            QCOMPARE(a.dialoghi.messaggi.size(), si ? 2 : 1);
            QCOMPARE(nomi(a.db), si ? QStringLiteral("SALVATO") : QStringLiteral("CAMBIATO"));
            QCOMPARE(a.db.valoreScalare(QStringLiteral("SELECT DomandaStampata FROM Installazione")).toInt(), si ? 0 : -1);
        }
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Recupero eseguito con successo"));
    }

    void paginaDiErroreNelBrowser()
    {
        ServerFinto s({QStringLiteral("--guasto"), QStringLiteral("assistenza:html")});
        Ambiente a;
        a.pronto();
        s.configura(a.ini, a.dir.path());
        frmEmail dlg(*a.contesto);
        dlg.carica();
        dlg.show();
        compila(dlg);
        QString mostrato;
        bool logIn = true;
        GuidaModali guida({[&](QDialog *b) {
            mostrato = trova<QTextBrowser>(b, "WebBrowser")->toPlainText();
            logIn = trova<QPushButton>(b, "cmdLogIn")->isVisible();
            b->reject();
        }});
        QTest::mouseClick(trova<QPushButton>(&dlg, "cmdInvia"), Qt::LeftButton);
        QCOMPARE(guida.aperte, QStringList{QStringLiteral("Browser")});
        QCOMPARE(a.dialoghi.messaggi.size(), 1);
        QCOMPARE(a.dialoghi.messaggi.first().titolo, QStringLiteral("ERRORE"));
        QVERIFY(QFileInfo::exists(a.percorso(QStringLiteral("ErrServer.html"))));
        QCOMPARE(mostrato, QStringLiteral("Errore interno del server"));
        QCOMPARE(logIn, false);
    }

    // With a crash report waiting, the screen says so, and the request with the database
    // asks whether to attach it: the archive that arrives holds it, and it is not offered
    // again.
    void baseDatiAllegataDalBrowser_data()
    {
        QTest::addColumn<bool>("conRapporto");
        QTest::newRow("senza rapporto") << false;
        QTest::newRow("con il rapporto di un arresto") << true;
    }
    void baseDatiAllegataDalBrowser()
    {
        QFETCH(bool, conRapporto);
        ServerFinto s;
        Ambiente a;
        a.pronto();
        s.configura(a.ini, a.dir.path());
        const QByteArray rapporto = "=== Arresto anomalo: 05/12/2026 10:01:30, processo 41 ===\nProgramma: quirdal, versione "
                                    "1.0.0\nSegnale: SIGABRT (6)\nSchermata: nessuna\nPila delle chiamate:\n"
                                    "=== Fine del rapporto ===\n";
        if (conRapporto)
            QVERIFY(a.scrivi(QStringLiteral("QUIRDAL-arresto.log"), rapporto));
        frmEmail dlg(*a.contesto);
        dlg.carica();
        dlg.show();
        QLabel *nota = trova<QLabel>(&dlg, "lblArresto");
        QCOMPARE(nota->isVisible(), conRapporto);
        if (conRapporto)
            QCOMPARE(nota->text(),
                     QStringLiteral("Il programma si è chiuso in modo anomalo il 05/12/2026 alle 10:01: il "
                                    "rapporto dell'arresto può essere allegato alla richiesta con la base dati."));
        a.dialoghi.risposte << Risposta::Si;
        compila(dlg);
        QString stato, mostrato;
        bool logIn = true;
        GuidaModali guida({[&](QDialog *b) {
            QTest::mouseClick(trova<QPushButton>(b, "cmdLogIn"), Qt::LeftButton);
            stato = trova<QLabel>(b, "lblStato")->text();
            mostrato = trova<QTextBrowser>(b, "WebBrowser")->toPlainText();
            logIn = trova<QPushButton>(b, "cmdLogIn")->isVisible();
            b->reject();
        }});
        QTest::mouseClick(trova<QPushButton>(&dlg, "cmdInviaDB"), Qt::LeftButton);
        QCOMPARE(guida.aperte, QStringList{QStringLiteral("Browser")});
        QCOMPARE(a.dialoghi.testiMessaggi(),
                 conRapporto ? QStringList{QStringLiteral("Il programma si è chiuso in modo anomalo il 05/12/2026 alle 10:01.\r\n"
                                                          "Allegare alla richiesta di assistenza il rapporto dell'arresto "
                                                          "(QUIRDAL-arresto.log)?")}
                             : QStringList());
        QCOMPARE(stato, QStringLiteral("Collegamento effettuato"));
        QVERIFY2(mostrato.startsWith(QStringLiteral("Richiesta di assistenza ricevuta")), qPrintable(mostrato));
        QCOMPARE(logIn, false);
        const VociZip arrivato = leggiZip(s.ricevuti.filePath(QStringLiteral("QUIRDAL_06-12-2026.zip")));
        QCOMPARE(arrivato.size(), conRapporto ? 2 : 1);
        QCOMPARE(arrivato[0].first, QStringLiteral("QUIRDAL.mdb"));
        if (conRapporto)
            QCOMPARE(arrivato[1], (QPair<QString, QByteArray>{QStringLiteral("QUIRDAL-arresto.log"), rapporto}));
        QCOMPARE(dlg.result(), int(QDialog::Accepted)); // sent: the request screen closes
        // The next request has nothing to offer.
        frmEmail dopo(*a.contesto);
        dopo.carica();
        dopo.show();
        QVERIFY(!trova<QLabel>(&dopo, "lblArresto")->isVisible());
    }
};

QTEST_MAIN(TestSchermiSupporto)
#include "tst_schermisupporto.moc"
