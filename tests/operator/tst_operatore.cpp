// Section 1 driven as a user drives it: the operator sheet's checks at their boundaries,
// the birthplace, the exit question, the lock of a printed application; the registered
// office and a workstation that deletes it meanwhile.
#include "config/SessioneIni.h"
#include "operator/Operatore.h"
#include "operator/ui/FrmSedeLeg.h"
#include "operator/ui/Operator.h"
#include "startup/ui/MainForm.h"
#include "support/GuidaModali.h"
#include "support/Domanda.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// Operator A/7 of the application fixture, complete enough to pass every check, and its
// province's application printed or not.
void operatorePronto(Ambiente &a, bool stampata = false)
{
    a.pronto(QStringLiteral("Multiutenza"));
    preparaDomanda(a);
    a.db.esegui(QStringLiteral("UPDATE CorsiOper SET LegGGNasc='01', LegMMNasc='02'"));
    a.db.esegui(QStringLiteral("UPDATE Installazione SET DomandaStampata=?"), {stampata ? -1 : 0});
    a.db.esegui(QStringLiteral("INSERT INTO StatiEsteri VALUES ('Z110', 'FRANCIA')"));
    a.db.esegui(QStringLiteral("INSERT INTO AttEcono VALUES ('101', 'ISTRUZIONE')"));
    for (const auto &[k, v] : {std::pair{"GrOpe", "A"}, std::pair{"Oper", "7"}, std::pair{"Prov", "001"}})
        a.ini.scrivi(QStringLiteral("BaseDati"), QString::fromLatin1(k), QString::fromLatin1(v));
    ripristinaSessione(a.sessione, a.ini, a.db);
    a.sessione.gDenomOper = QStringLiteral("ENTE SETTE À");
}

void attiva(QWidget *w)
{
    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
}

// "campo=testo" sets a text box, "campo=#n" picks entry n of a drop-down.
void compila(QWidget *w, const QStringList &modifiche)
{
    for (const QString &m : modifiche) {
        const QString nome = m.section(QLatin1Char('='), 0, 0), valore = m.section(QLatin1Char('='), 1);
        if (auto *c = w->findChild<QComboBox *>(nome))
            c->setCurrentIndex(valore.mid(1).toInt());
        else
            trova<QLineEdit>(w, nome.toLatin1().constData())->setText(valore);
    }
}

QString colonna(Ambiente &a, const QString &c)
{
    return a.db.valoreScalare(QStringLiteral("SELECT %1 FROM CorsiOper WHERE GrupOpe='A' AND Operatore=7").arg(c)).toString();
}

void clic(QWidget *w, const char *pulsante) { QTest::mouseClick(trova<QPushButton>(w, pulsante), Qt::LeftButton); }

} // namespace

class TestOperatore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void verifica_data()
    {
        QTest::addColumn<QStringList>("modifiche");
        QTest::addColumn<QString>("messaggio"); // "" : saved
        QTest::addColumn<QString>("titolo");
        QTest::addColumn<int>("pagina");
        QTest::addColumn<QString>("campo");
        const QString vd = QStringLiteral("Verifica dati");
        const QString tutti = QStringLiteral("Per i dati riguardanti l'eventuale domanda precedente è obbligatorio\r\n"
                                             "compilare tutti i campi o non compilarne nessuno.");
        const QStringList precedente = {"txtDomPrece=123", "txtGGPrece=10", "txtMMPrece=03", "txtAAPrece=2005",
                                        "CmbProv=#1", "txtDirettiva=DIRETTIVA 2005", "txtAnnoDirettiva=2005"};
        QTest::newRow("tutto a posto") << QStringList{} << "" << "" << 0 << "";
        QTest::newRow("senza denominazione") << QStringList{"txtDenomi="} << "Inserire denominazione operatore" << vd << 0
                                              << "txtDenomi";
        QTest::newRow("senza corrispondenza") << QStringList{"cmbCorrispondenza=#0"}
                                               << "Inserire il componente responsabile della corrispondenza" << vd << 0
                                               << "cmbCorrispondenza";
        QTest::newRow("senza legale") << QStringList{"txtLegNome=  "} << "Inserire il legale rappresentante" << vd << 0
                                       << "txtLegNome";
        QTest::newRow("comune senza provincia") << QStringList{"txtProvLeg="}
                                                 << "Inserire la provincia di nascita del legale rappresentante"
                                                 << "Verifica Dati" << 0 << "txtProvLeg";
        QTest::newRow("provincia senza comune") << QStringList{"txtcomleg=", "txtProvLeg=AL"}
                                                 << "Inserire il comune di nascita del legale rappresentante"
                                                 << "Verifica Dati" << 0 << "txtcomleg";
        QTest::newRow("CCIAA incompleta") << QStringList{"txtCodCC="} << "Inserire tutti i dati relativi alla CCIAA" << vd
                                           << 1 << "txtProvCC";
        QTest::newRow("CCIAA tutta vuota") << QStringList{"txtProvCC=", "txtCodCC=", "txtAnnCC="} << "" << "" << 0 << "";
        QTest::newRow("31/02/2000") << QStringList{"txtGGLeg=31", "txtMMLeg=02", "txtAALeg=2000"}
                                     << "Data di nascita del legale\r\nrappresentante non valida" << vd << 0 << "txtGGLeg";
        QTest::newRow("29/02/2000") << QStringList{"txtGGLeg=29", "txtMMLeg=02", "txtAALeg=2000"} << "" << "" << 0 << "";
        QTest::newRow("data di nascita a metà") << QStringList{"txtGGLeg="}
                                                 << "Data di nascita del legale\r\nrappresentante non valida" << vd << 0
                                                 << "txtGGLeg";
        QTest::newRow("precedente 32/01") << precedente + QStringList{"txtGGPrece=32", "txtMMPrece=01"}
                                           << "Data domanda precedente non valida " << vd << 2 << "txtGGPrece";
        QTest::newRow("precedente mese 13") << precedente + QStringList{"txtGGPrece=01", "txtMMPrece=13"}
                                             << "Data domanda precedente non valida" << vd << 2 << "txtGGPrece";
        QTest::newRow("solo il numero") << QStringList{"txtDomPrece=123"} << tutti << vd << 2 << "txtDomPrece";
        QTest::newRow("senza provincia precedente") << precedente + QStringList{"CmbProv=#0"} << tutti << vd << 2
                                                     << "txtDomPrece";
        QTest::newRow("anno 1900") << precedente + QStringList{"txtAAPrece=1900"}
                                    << "Anno della domanda precedente non valido: deve essere maggiore di 1900" << vd << 2
                                    << "txtAAPrece";
        QTest::newRow("anno 1901") << precedente + QStringList{"txtAAPrece=1901"} << "" << "" << 0 << "";
        QTest::newRow("direttiva 1900")
            << precedente + QStringList{"txtAnnoDirettiva=1900"}
            << "Anno Gestione della Direttiva su cui è stata presentata la domanda precedente non valido: deve essere "
               "maggiore di 1900"
            << vd << 2 << "txtAnnoDirettiva";
        QTest::newRow("senza referente") << QStringList{"txtNominativoReferente="}
                                          << "Inserire il nominativo del referente Operatore per le pari opportunità" << vd
                                          << 1 << "txtNominativoReferente";
        QTest::newRow("senza codice fiscale del referente")
            << QStringList{"txtCodFiscaleReferente="}
            << "Inserire il codice fiscale del referente Operatore per le pari opportunità" << vd << 1
            << "txtCodFiscaleReferente";
    }
    void verifica()
    {
        QFETCH(QStringList, modifiche);
        QFETCH(QString, messaggio);
        QFETCH(QString, titolo);
        QFETCH(int, pagina);
        QFETCH(QString, campo);
        Ambiente a;
        operatorePronto(a);
        Operator s(*a.contesto);
        QVERIFY(s.carica());
        compila(&s, QStringList{QStringLiteral("txtDenomi=NUOVO NOME")} + modifiche);
        trova<QTabWidget>(&s, "SSTab1")->setCurrentIndex(2);
        clic(&s, "cmdSalva");
        if (messaggio.isEmpty()) {
            QVERIFY2(a.dialoghi.messaggi.isEmpty(), qPrintable(a.dialoghi.ultimo()));
            QCOMPARE(colonna(a, QStringLiteral("Denominazione")), QStringLiteral("NUOVO NOME"));
            QCOMPARE(a.sessione.gDenomOper, QStringLiteral("NUOVO NOME"));
            return;
        }
        QCOMPARE(a.dialoghi.messaggi.size(), 1);
        QCOMPARE(a.dialoghi.ultimo(), messaggio);
        QCOMPARE(a.dialoghi.messaggi[0].titolo, titolo);
        QCOMPARE(a.dialoghi.messaggi[0].icona, Icona::Critico);
        QCOMPARE(trova<QTabWidget>(&s, "SSTab1")->currentIndex(), pagina);
        QCOMPARE(s.focusWidget()->objectName(), campo);
        QCOMPARE(colonna(a, QStringLiteral("Denominazione")), QStringLiteral("ENTE SETTE À"));
    }

    // What is typed is kept as it was written, and day and month get their leading zero.
    void scritturaEZeri()
    {
        Ambiente a;
        operatorePronto(a);
        Operator s(*a.contesto);
        QVERIFY(s.carica());
        attiva(&s);
        auto *gg = trova<QLineEdit>(&s, "txtGGLeg");
        gg->setFocus();
        gg->clear();
        QTest::keyClicks(gg, QStringLiteral("5"));
        trova<QLineEdit>(&s, "txtMMLeg")->setFocus();
        QCOMPARE(gg->text(), QStringLiteral("05"));
        auto *nome = trova<QLineEdit>(&s, "txtLegNome");
        nome->setFocus();
        nome->clear();
        QTest::keyClicks(nome, QStringLiteral("rossi anna"));
        compila(&s, {"cmbAEco=#1", "txtContIBAN=IT00X0000000000000000000000"});
        clic(&s, "cmdSalva");
        QVERIFY2(a.dialoghi.messaggi.isEmpty(), qPrintable(a.dialoghi.ultimo()));
        QCOMPARE(colonna(a, QStringLiteral("LegNome")), QStringLiteral("ROSSI ANNA"));
        QCOMPARE(colonna(a, QStringLiteral("LegGGNasc")), QStringLiteral("05"));
        QCOMPARE(colonna(a, QStringLiteral("AttEcono")), QStringLiteral("101"));
        QCOMPARE(colonna(a, QStringLiteral("Corrispondenza")), QStringLiteral("1"));
        // Reopened, the sheet shows what was saved.
        Operator di_nuovo(*a.contesto);
        QVERIFY(di_nuovo.carica());
        QCOMPARE(trova<QLineEdit>(&di_nuovo, "txtContIBAN")->text(), QStringLiteral("IT00X0000000000000000000000"));
        QCOMPARE(trova<QComboBox>(&di_nuovo, "cmbAEco")->currentText(), QStringLiteral("101  ISTRUZIONE"));
    }

    void luogoDiNascita_data()
    {
        QTest::addColumn<QString>("luogo");
        QTest::addColumn<QList<Risposta>>("risposte");
        QTest::addColumn<QString>("provincia");
        QTest::addColumn<bool>("abilitata");
        QTest::addColumn<QString>("fuoco");
        QTest::addColumn<int>("domande");
        QTest::newRow("comune") << "alfa" << QList<Risposta>{} << "AL" << true << "txtProvLeg" << 0;
        // A province disabled under the cursor hands the focus on to the next field.
        QTest::newRow("stato estero") << "FRANCIA" << QList<Risposta>{} << "" << false << "txtGGLeg" << 0;
        QTest::newRow("sconosciuto, estero") << "ATLANTIDE" << QList<Risposta>{Risposta::Si, Risposta::Si} << "" << false
                                             << "txtGGLeg" << 2;
        QTest::newRow("sconosciuto, comune") << "ATLANTIDE" << QList<Risposta>{Risposta::Si, Risposta::No} << "" << true
                                             << "txtProvLeg" << 2;
        QTest::newRow("sconosciuto, da correggere") << "ATLANTIDE" << QList<Risposta>{Risposta::No} << "AL" << true
                                                    << "txtcomleg" << 1;
    }
    void luogoDiNascita()
    {
        QFETCH(QString, luogo);
        QFETCH(QList<Risposta>, risposte);
        QFETCH(QString, provincia);
        QFETCH(bool, abilitata);
        QFETCH(QString, fuoco);
        QFETCH(int, domande);
        Ambiente a;
        operatorePronto(a);
        Operator s(*a.contesto);
        QVERIFY(s.carica());
        attiva(&s);
        auto *comune = trova<QLineEdit>(&s, "txtcomleg");
        comune->setFocus();
        comune->selectAll();
        QTest::keyClicks(comune, luogo);
        a.dialoghi.risposte << risposte;
        trova<QLineEdit>(&s, "txtProvLeg")->setFocus();
        QCOMPARE(a.dialoghi.messaggi.size(), domande);
        if (domande > 0)
            QCOMPARE(a.dialoghi.messaggi[0].testo,
                     QStringLiteral("Il comune/stato estero inserito non è stato trovato nell'elenco\r\ndei comuni "
                                    "italiani/stati esteri. Mantenere la denominazione inserita ?"));
        if (domande > 1)
            QCOMPARE(a.dialoghi.messaggi[1].testo,
                     QStringLiteral("La denominazione inserita corrisponde ad uno stato estero?\r\nRispondendo NO la "
                                    "denominazione sarà considerata un comune italiano."));
        QCOMPARE(trova<QLineEdit>(&s, "txtProvLeg")->text(), provincia);
        QCOMPARE(trova<QLineEdit>(&s, "txtProvLeg")->isEnabled(), abilitata);
        QCOMPARE(QApplication::focusWidget()->objectName(), fuoco);
        if (!abilitata) {
            // A foreign birthplace needs no province: the checks pass.
            a.dialoghi.messaggi.clear();
            clic(&s, "cmdSalva");
            QVERIFY2(a.dialoghi.messaggi.isEmpty(), qPrintable(a.dialoghi.ultimo()));
            QCOMPARE(colonna(a, QStringLiteral("LegProvNasc")), QString());
        }
    }

    void uscitaConModifiche_data()
    {
        QTest::addColumn<Risposta>("risposta");
        QTest::addColumn<bool>("aperta");
        QTest::addColumn<QString>("salvato");
        QTest::newRow("Sì") << Risposta::Si << false << "VIA NUOVA";
        QTest::newRow("No") << Risposta::No << false << "VIA BANCA 1";
        QTest::newRow("Annulla") << Risposta::Annulla << true << "VIA BANCA 1";
    }
    void uscitaConModifiche()
    {
        QFETCH(Risposta, risposta);
        QFETCH(bool, aperta);
        QFETCH(QString, salvato);
        Ambiente a;
        operatorePronto(a);
        Operator s(*a.contesto);
        QVERIFY(s.carica());
        s.show();
        clic(&s, "cmdEsci"); // unchanged: no question
        QVERIFY(a.dialoghi.messaggi.isEmpty());
        QVERIFY(!s.isVisible());
        s.show();
        compila(&s, {"txtIndirAge=VIA NUOVA"});
        a.dialoghi.risposte << risposta;
        QTest::keyClick(&s, Qt::Key_Escape);
        QCOMPARE(a.dialoghi.ultimo(), QStringLiteral("Sono stati modificati uno o più dati dell' OPERATORE\r\nSalvare le modifiche ?"));
        QCOMPARE(a.dialoghi.messaggi.last().pulsanti, Pulsanti::SiNoAnnulla);
        QCOMPARE(s.isVisible(), aperta);
        QCOMPARE(colonna(a, QStringLiteral("ContIndirAge")), salvato);
    }

    // Once an application is printed the operator's data are locked on every path.
    void operatoreBloccato()
    {
        Ambiente a;
        operatorePronto(a, true);
        QVERIFY(a.sessione.gOperStampato);
        Operator s(*a.contesto);
        QVERIFY(s.carica());
        QCOMPARE(a.dialoghi.ultimo(),
                 QStringLiteral("Domanda già inviata alla Provincia\r\nNon sarà possibile modificare i dati\r\ndell' operatore"));
        QCOMPARE(a.dialoghi.messaggi[0].icona, Icona::Esclamazione);
        attiva(&s);
        auto *nome = trova<QLineEdit>(&s, "txtDenomi");
        nome->setFocus();
        QTest::keyClicks(nome, QStringLiteral("X"));
        QCOMPARE(nome->text(), QStringLiteral("ENTE SETTE À"));
        QVERIFY(!trova<QPushButton>(&s, "cmdSalva")->isEnabled());
        QVERIFY(!trova<QComboBox>(&s, "cmbAEco")->isEnabled());
        a.dialoghi.messaggi.clear();
        clic(&s, "cmdEsci");
        QVERIFY(a.dialoghi.messaggi.isEmpty());
        DatiOperatore d = *caricaOperatore(*a.contesto, vociOperatore(*a.contesto));
        d.denominazione = QStringLiteral("ALTRO");
        QVERIFY_THROWS_EXCEPTION(Errore, scriviOperatore(*a.contesto, d));
        QCOMPARE(colonna(a, QStringLiteral("Denominazione")), QStringLiteral("ENTE SETTE À"));
    }

    void sedeLegale_data()
    {
        QTest::addColumn<QStringList>("modifiche");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("campo");
        QTest::newRow("e-mail vuota") << QStringList{"txtPostaElettronica="} << "" << "";
        QTest::newRow("e-mail errata") << QStringList{"txtPostaElettronica=a@@b.it"}
                                       << "L'indirizzo e-mail non può contenere più di 1 carattere '@'."
                                       << "txtPostaElettronica";
        QTest::newRow("senza telefono") << QStringList{"txtTel="} << "Inserire un numero di telefono." << "txtTel";
        QTest::newRow("senza fax") << QStringList{"txtFax="} << "Inserire un numero di fax." << "txtFax";
    }
    void sedeLegale()
    {
        QFETCH(QStringList, modifiche);
        QFETCH(QString, messaggio);
        QFETCH(QString, campo);
        Ambiente a;
        operatorePronto(a);
        a.db.esegui(QStringLiteral("UPDATE CorsiCompo SET Fax='0115551235', Pref='011', PrefFax='011' WHERE Componente=1"));
        FrmSedeLeg s(*a.contesto);
        QVERIFY(s.carica());
        QCOMPARE(trova<QLineEdit>(&s, "txtComDes")->text(), QStringLiteral("ALFA"));
        QVERIFY(!trova<QLineEdit>(&s, "txtIndirizzo")->isEnabled());
        compila(&s, modifiche << QStringLiteral("txtRiferimento=BIANCHI"));
        clic(&s, "cmdSalva");
        if (!messaggio.isEmpty()) {
            QCOMPARE(a.dialoghi.ultimo(), messaggio);
            QCOMPARE(s.focusWidget()->objectName(), campo);
            return;
        }
        QVERIFY2(a.dialoghi.messaggi.isEmpty(), qPrintable(a.dialoghi.ultimo()));
        QCOMPARE(a.db.valoreScalare(QStringLiteral("SELECT Riferimento || '|' || Pref || '|' || PrefFax || '|' || Email FROM "
                                                   "CorsiCompo WHERE Componente=1"))
                     .toString(),
                 QStringLiteral("BIANCHI|||"));
    }

    // Another workstation deletes the registered office before the save.
    void sedeLegaleCancellataNelFrattempo_data()
    {
        QTest::addColumn<Risposta>("risposta");
        QTest::addColumn<int>("righe");
        QTest::addColumn<QString>("ultimo");
        QTest::newRow("reinserita") << Risposta::Si << 1 << "Sede legale reinserita.";
        QTest::newRow("ricaricata") << Risposta::No << 0
                                    << "Nessuna Sede Legale per l'Operatore selezionato.\r\nImpossibile gestire la proposta corsi";
    }
    void sedeLegaleCancellataNelFrattempo()
    {
        QFETCH(Risposta, risposta);
        QFETCH(int, righe);
        QFETCH(QString, ultimo);
        Ambiente a;
        operatorePronto(a);
        a.db.esegui(QStringLiteral("UPDATE CorsiCompo SET Fax='0115551235' WHERE Componente=1"));
        FrmSedeLeg s(*a.contesto);
        QVERIFY(s.carica());
        s.show();
        {
            CorsiDB altra(QStringLiteral("altra"));
            altra.apri(a.percorsoDb(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
            altra.esegui(QStringLiteral("DELETE FROM CorsiCompo WHERE Componente=1"));
        }
        compila(&s, {"txtRiferimento=NUOVO"});
        a.dialoghi.risposte << risposta;
        clic(&s, "cmdSalva");
        QCOMPARE(a.dialoghi.messaggi[0].testo, QStringLiteral("Il record che si sta cercando di aggiornare è stato cancellato "
                                                              "da un altro operatore.\r\nReinserire il record?"));
        QCOMPARE(a.dialoghi.messaggi[0].titolo, QStringLiteral("Accesso concorrente"));
        QCOMPARE(a.dialoghi.ultimo(), ultimo);
        QCOMPARE(a.db.valoreScalare(QStringLiteral("SELECT count(*) FROM CorsiCompo WHERE Componente=1 AND TipoCompo='SL' "
                                                   "AND Riferimento='NUOVO' AND Denominazione='SEDE LEGALE'"))
                     .toInt(),
                 righe);
        QCOMPARE(s.isVisible(), righe == 1);
    }

    // The menu's button opens the sheet, and the heading follows a new name.
    void dalMenu()
    {
        Ambiente a;
        operatorePronto(a);
        MDI_Main m(*a.contesto);
        m.carica();
        m.primaAttivazione();
        GuidaModali guida({[](QDialog *d) {
            compila(d, {"txtDenomi=ENTE RINOMINATO"});
            clic(d, "cmdSalva");
            clic(d, "cmdEsci");
        }});
        clic(&m, "cmdOpe");
        QCOMPARE(guida.aperte, QStringList{QStringLiteral("Operator")});
        QCOMPARE(trova<QLabel>(&m, "lblDenOper")->text(), QStringLiteral("-  ENTE RINOMINATO"));
    }
};

QTEST_MAIN(TestOperatore)
#include "tst_operatore.moc"
