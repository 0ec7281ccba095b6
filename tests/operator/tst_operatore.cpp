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
Contesto &operatorePronto(Ambiente &a, bool stampata)
{
    a.pronto(u"Multiutenza"_s);
    preparaDomanda(a);
    a.db.esegui(u"UPDATE CorsiOper SET LegGGNasc='01', LegMMNasc='02'"_s);
    a.db.esegui(u"UPDATE Installazione SET DomandaStampata=?"_s, {stampata ? -1 : 0});
    a.db.esegui(u"INSERT INTO StatiEsteri VALUES ('Z110', 'FRANCIA')"_s);
    a.db.esegui(u"INSERT INTO AttEcono VALUES ('101', 'ISTRUZIONE')"_s);
    for (const auto &[k, v] : {std::pair{"GrOpe", "A"}, std::pair{"Oper", "7"}, std::pair{"Prov", "001"}})
        a.ini.scrivi(u"BaseDati"_s, QString::fromLatin1(k), QString::fromLatin1(v));
    ripristinaSessione(a.sessione, a.ini, a.db);
    a.sessione.gDenomOper = u"ENTE SETTE À"_s;
    return *a.contesto;
}

// That operator and one screen over it, built but not loaded.
template <typename Schermo>
struct Banco : Ambiente {
    Schermo s;
    explicit Banco(bool stampata = false) : s(operatorePronto(*this, stampata)) { }
    QString colonna(const char *c)
    {
        return valore(u"SELECT %1 FROM CorsiOper WHERE GrupOpe='A' AND Operatore=7"_s.arg(QLatin1String(c)));
    }
    void attiva()
    {
        s.show();
        QApplication::setActiveWindow(&s);
        QVERIFY(QTest::qWaitForWindowActive(&s));
    }
    // Types into a text box that has the focus, over what it holds.
    QLineEdit *digita(const char *nome, const QString &testo)
    {
        auto *c = trova<QLineEdit>(&s, nome);
        c->setFocus();
        c->selectAll();
        QTest::keyClicks(c, testo);
        return c;
    }
};

// "campo=testo" sets a text box, "campo=#n" picks entry n of a drop-down.
void compila(QWidget *w, const QStringList &modifiche)
{
    for (const QString &m : modifiche) {
        const QString nome = m.section(u'=', 0, 0), valore = m.section(u'=', 1);
        if (auto *c = w->findChild<QComboBox *>(nome))
            c->setCurrentIndex(valore.mid(1).toInt());
        else
            trova<QLineEdit>(w, nome.toLatin1().constData())->setText(valore);
    }
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
        const QString vd = u"Verifica dati"_s, nascita = u"Data di nascita del legale\r\nrappresentante non valida"_s;
        const QString tutti = u"Per i dati riguardanti l'eventuale domanda precedente è obbligatorio\r\n"
                              "compilare tutti i campi o non compilarne nessuno."_s;
        const QStringList precedente = {"txtDomPrece=123",      "txtGGPrece=10", "txtMMPrece=03",
                                        "txtAAPrece=2005",      "CmbProv=#1",    "txtDirettiva=DIRETTIVA 2005",
                                        "txtAnnoDirettiva=2005"};
        auto salvato = [](const char *riga, const QStringList &m) {
            QTest::newRow(riga) << m << ""
                                << "" << 0 << "";
        };
        auto errore = [&](const char *riga, const QStringList &m, const QString &messaggio, int pagina, const char *campo,
                          const QString &titolo = {}) {
            QTest::newRow(riga) << m << messaggio << (titolo.isEmpty() ? vd : titolo) << pagina << campo;
        };
        salvato("tutto a posto", {});
        errore("senza denominazione", {"txtDenomi="}, u"Inserire denominazione operatore"_s, 0, "txtDenomi");
        errore("senza corrispondenza", {"cmbCorrispondenza=#0"}, u"Inserire il componente responsabile della corrispondenza"_s, 0,
               "cmbCorrispondenza");
        errore("senza legale", {"txtLegNome=  "}, u"Inserire il legale rappresentante"_s, 0, "txtLegNome");
        errore("comune senza provincia", {"txtProvLeg="}, u"Inserire la provincia di nascita del legale rappresentante"_s, 0,
               "txtProvLeg", u"Verifica Dati"_s);
        errore("provincia senza comune", {"txtcomleg=", "txtProvLeg=AL"},
               u"Inserire il comune di nascita del legale rappresentante"_s, 0, "txtcomleg", u"Verifica Dati"_s);
        errore("CCIAA incompleta", {"txtCodCC="}, u"Inserire tutti i dati relativi alla CCIAA"_s, 1, "txtProvCC");
        salvato("CCIAA tutta vuota", {"txtProvCC=", "txtCodCC=", "txtAnnCC="});
        errore("31/02/2000", {"txtGGLeg=31", "txtMMLeg=02", "txtAALeg=2000"}, nascita, 0, "txtGGLeg");
        salvato("29/02/2000", {"txtGGLeg=29", "txtMMLeg=02", "txtAALeg=2000"});
        errore("data di nascita a metà", {"txtGGLeg="}, nascita, 0, "txtGGLeg");
        errore("precedente 32/01", precedente + QStringList{"txtGGPrece=32", "txtMMPrece=01"},
               u"Data domanda precedente non valida "_s, 2, "txtGGPrece");
        errore("precedente mese 13", precedente + QStringList{"txtGGPrece=01", "txtMMPrece=13"},
               u"Data domanda precedente non valida"_s, 2, "txtGGPrece");
        errore("solo il numero", {"txtDomPrece=123"}, tutti, 2, "txtDomPrece");
        errore("senza provincia precedente", precedente + QStringList{"CmbProv=#0"}, tutti, 2, "txtDomPrece");
        errore("anno 1900", precedente + QStringList{"txtAAPrece=1900"},
               u"Anno della domanda precedente non valido: deve essere maggiore di 1900"_s, 2, "txtAAPrece");
        salvato("anno 1901", precedente + QStringList{"txtAAPrece=1901"});
        errore("direttiva 1900", precedente + QStringList{"txtAnnoDirettiva=1900"},
               u"Anno Gestione della Direttiva su cui è stata presentata la domanda precedente non valido: deve essere "
               "maggiore di 1900"_s,
               2, "txtAnnoDirettiva");
        errore("senza referente", {"txtNominativoReferente="},
               u"Inserire il nominativo del referente Operatore per le pari opportunità"_s, 1, "txtNominativoReferente");
        errore("senza codice fiscale del referente", {"txtCodFiscaleReferente="},
               u"Inserire il codice fiscale del referente Operatore per le pari opportunità"_s, 1, "txtCodFiscaleReferente");
    }
    void verifica()
    {
        QFETCH(QStringList, modifiche);
        QFETCH(QString, messaggio);
        QFETCH(QString, titolo);
        QFETCH(int, pagina);
        QFETCH(QString, campo);
        Banco<Operator> a;
        QVERIFY(a.s.carica());
        compila(&a.s, QStringList{u"txtDenomi=NUOVO NOME"_s} + modifiche);
        trova<QTabWidget>(&a.s, "SSTab1")->setCurrentIndex(2);
        clic(&a.s, "cmdSalva");
        if (messaggio.isEmpty()) {
            QVERIFY2(a.dialoghi.messaggi.isEmpty(), qPrintable(a.dialoghi.ultimo()));
            QCOMPARE(a.colonna("Denominazione"), u"NUOVO NOME"_s);
            QCOMPARE(a.sessione.gDenomOper, u"NUOVO NOME"_s);
            return;
        }
        unMessaggio(a.dialoghi, messaggio, titolo, Icona::Critico);
        QCOMPARE(trova<QTabWidget>(&a.s, "SSTab1")->currentIndex(), pagina);
        QCOMPARE(a.s.focusWidget()->objectName(), campo);
        QCOMPARE(a.colonna("Denominazione"), u"ENTE SETTE À"_s);
    }

    // What is typed is kept as it was written, and day and month get their leading zero.
    void scritturaEZeri()
    {
        Banco<Operator> a;
        QVERIFY(a.s.carica());
        a.attiva();
        auto *gg = a.digita("txtGGLeg", u"5"_s);
        trova<QLineEdit>(&a.s, "txtMMLeg")->setFocus();
        QCOMPARE(gg->text(), u"05"_s);
        a.digita("txtLegNome", u"rossi anna"_s);
        compila(&a.s, {"cmbAEco=#1", "txtContIBAN=IT00X0000000000000000000000"});
        clic(&a.s, "cmdSalva");
        QVERIFY2(a.dialoghi.messaggi.isEmpty(), qPrintable(a.dialoghi.ultimo()));
        QCOMPARE(a.colonna("LegNome"), u"ROSSI ANNA"_s);
        QCOMPARE(a.colonna("LegGGNasc"), u"05"_s);
        QCOMPARE(a.colonna("AttEcono"), u"101"_s);
        QCOMPARE(a.colonna("Corrispondenza"), u"1"_s);
        // Reopened, the sheet shows what was saved.
        Operator di_nuovo(*a.contesto);
        QVERIFY(di_nuovo.carica());
        QCOMPARE(trova<QLineEdit>(&di_nuovo, "txtContIBAN")->text(), u"IT00X0000000000000000000000"_s);
        QCOMPARE(trova<QComboBox>(&di_nuovo, "cmbAEco")->currentText(), u"101  ISTRUZIONE"_s);
    }

    void luogoDiNascita_data()
    {
        QTest::addColumn<QString>("luogo");
        QTest::addColumn<QList<Risposta>>("risposte");
        QTest::addColumn<QString>("provincia");
        QTest::addColumn<bool>("abilitata");
        QTest::addColumn<QString>("fuoco");
        using R = QList<Risposta>;
        QTest::newRow("comune") << "alfa" << R{} << "AL" << true << "txtProvLeg";
        // A province disabled under the cursor hands the focus on to the next field.
        QTest::newRow("stato estero") << "FRANCIA" << R{} << "" << false << "txtGGLeg";
        QTest::newRow("sconosciuto, estero") << "ATLANTIDE" << R{Risposta::Si, Risposta::Si} << "" << false << "txtGGLeg";
        QTest::newRow("sconosciuto, comune") << "ATLANTIDE" << R{Risposta::Si, Risposta::No} << "" << true << "txtProvLeg";
        QTest::newRow("sconosciuto, da correggere") << "ATLANTIDE" << R{Risposta::No} << "AL" << true << "txtcomleg";
    }
    void luogoDiNascita()
    {
        QFETCH(QString, luogo);
        QFETCH(QList<Risposta>, risposte);
        QFETCH(QString, provincia);
        QFETCH(bool, abilitata);
        QFETCH(QString, fuoco);
        Banco<Operator> a;
        QVERIFY(a.s.carica());
        a.attiva();
        a.digita("txtcomleg", luogo);
        a.dialoghi.risposte << risposte;
        trova<QLineEdit>(&a.s, "txtProvLeg")->setFocus();
        // One question for each answer given.
        const QStringList domande{u"Il comune/stato estero inserito non è stato trovato nell'elenco\r\ndei comuni "
                                  "italiani/stati esteri. Mantenere la denominazione inserita ?"_s,
                                  u"La denominazione inserita corrisponde ad uno stato estero?\r\nRispondendo NO la "
                                  "denominazione sarà considerata un comune italiano."_s};
        QCOMPARE(a.dialoghi.testiMessaggi(), domande.first(risposte.size()));
        QCOMPARE(trova<QLineEdit>(&a.s, "txtProvLeg")->text(), provincia);
        QCOMPARE(trova<QLineEdit>(&a.s, "txtProvLeg")->isEnabled(), abilitata);
        QCOMPARE(QApplication::focusWidget()->objectName(), fuoco);
        if (!abilitata) {
            // A foreign birthplace needs no province: the checks pass.
            a.dialoghi.messaggi.clear();
            clic(&a.s, "cmdSalva");
            QVERIFY2(a.dialoghi.messaggi.isEmpty(), qPrintable(a.dialoghi.ultimo()));
            QCOMPARE(a.colonna("LegProvNasc"), QString());
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
        Banco<Operator> a;
        QVERIFY(a.s.carica());
        a.s.show();
        clic(&a.s, "cmdEsci"); // unchanged: no question
        QVERIFY(a.dialoghi.messaggi.isEmpty());
        QVERIFY(!a.s.isVisible());
        a.s.show();
        compila(&a.s, {"txtIndirAge=VIA NUOVA"});
        a.dialoghi.risposte << risposta;
        QTest::keyClick(&a.s, Qt::Key_Escape);
        QCOMPARE(a.dialoghi.ultimo(), u"Sono stati modificati uno o più dati dell' OPERATORE\r\nSalvare le modifiche ?"_s);
        QCOMPARE(a.dialoghi.messaggi.last().pulsanti, Pulsanti::SiNoAnnulla);
        QCOMPARE(a.s.isVisible(), aperta);
        QCOMPARE(a.colonna("ContIndirAge"), salvato);
    }

    // Once an application is printed the operator's data are locked on every path.
    void operatoreBloccato()
    {
        Banco<Operator> a(true);
        QVERIFY(a.sessione.gOperStampato);
        QVERIFY(a.s.carica());
        QCOMPARE(a.dialoghi.ultimo(),
                 u"Domanda già inviata alla Provincia\r\nNon sarà possibile modificare i dati\r\ndell' operatore"_s);
        QCOMPARE(a.dialoghi.messaggi[0].icona, Icona::Esclamazione);
        a.attiva();
        auto *nome = trova<QLineEdit>(&a.s, "txtDenomi");
        nome->setFocus();
        QTest::keyClicks(nome, u"X"_s);
        QCOMPARE(nome->text(), u"ENTE SETTE À"_s);
        QVERIFY(!trova<QPushButton>(&a.s, "cmdSalva")->isEnabled());
        QVERIFY(!trova<QComboBox>(&a.s, "cmbAEco")->isEnabled());
        a.dialoghi.messaggi.clear();
        clic(&a.s, "cmdEsci");
        QVERIFY(a.dialoghi.messaggi.isEmpty());
        DatiOperatore d = *caricaOperatore(*a.contesto, vociOperatore(*a.contesto));
        d.denominazione = u"ALTRO"_s;
        QVERIFY_THROWS_EXCEPTION(Errore, scriviOperatore(*a.contesto, d));
        QCOMPARE(a.colonna("Denominazione"), u"ENTE SETTE À"_s);
    }

    // Every field of the sheet is written to its own column and read back as it was.
    void ogniCampoRiletto()
    {
        Banco<Operator> a;
        const VociOperatore voci = vociOperatore(*a.contesto);
        DatiOperatore d = *caricaOperatore(*a.contesto, voci);
        QVERIFY(voci.corrispondenza.size() > 1 && voci.attEcono.size() > 1);
        d.denominazione = u"ENTE ALFA"_s;
        d.voceCorrispondenza = voci.corrispondenza.last();
        d.legNome = u"ROSSI ANNA"_s;
        d.legComNasc = u"BETA"_s;
        d.legProvNasc = u"BE"_s;
        d.legGG = u"03"_s;
        d.legMM = u"04"_s;
        d.legAAAA = u"1970"_s;
        d.contABI = u"12345"_s;
        d.contCAB = u"54321"_s;
        d.contCIN = u"X"_s;
        d.contIBAN = u"IT60X0542811101000000123456"_s;
        d.desBanca = u"BANCA"_s;
        d.contAge = u"AG1"_s;
        d.indirAge = u"VIA AGENZIA"_s;
        d.numCC = u"CC99"_s;
        d.intCC = u"INTESTATARIO"_s;
        d.provCC = u"TO"_s;
        d.codCC = u"7654321"_s;
        d.annCC = u"1999"_s;
        d.voceAttEcono = voci.attEcono.last();
        d.nominativoReferente = u"VERDI"_s;
        d.codFiscaleReferente = u"VRDLGU80A01L219X"_s;
        d.domPrece = u"DOM1"_s;
        d.ggPrece = u"05"_s;
        d.mmPrece = u"06"_s;
        d.aaPrece = u"2004"_s;
        d.voceProvPrece = voci.provincePrece.last();
        d.direttiva = u"DIRETTIVA"_s;
        d.annoDirettiva = u"2003"_s;
        scriviOperatore(*a.contesto, d);
        const DatiOperatore riletto = *caricaOperatore(*a.contesto, voci);
        QVERIFY(riletto == d);
        QVERIFY(!operatoreCambiato(d, riletto));
    }

    // A text longer than its column is refused and nothing is written; a row deleted meanwhile
    // by another workstation is told as such.
    void scritturaRifiutata_data()
    {
        colonne<int, bool, long, QString>("lunghezza", "cancellato", "errore", "scritto");
        QTest::newRow("nome alla misura") << 100 << false << 0L << QString(100, u'N');
        QTest::newRow("nome oltre la misura") << 101 << false << 3163L << u"ENTE SETTE À"_s;
        QTest::newRow("cancellato da un'altra postazione") << 10 << true << codici::RigaCancellata << QString();
    }
    void scritturaRifiutata()
    {
        QFETCH(int, lunghezza);
        QFETCH(bool, cancellato);
        QFETCH(long, errore);
        QFETCH(QString, scritto);
        Banco<Operator> a;
        DatiOperatore d = *caricaOperatore(*a.contesto, vociOperatore(*a.contesto));
        d.denominazione = QString(lunghezza, u'N');
        if (cancellato) {
            CorsiDB altra(u"altra"_s);
            altra.apri(a.connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
            altra.esegui(u"DELETE FROM CorsiOper"_s);
        }
        QCOMPARE(numeroErrore([&] { scriviOperatore(*a.contesto, d); }), errore);
        QCOMPARE(a.colonna("Denominazione"), scritto);
        QCOMPARE(a.conta(u"CorsiOper WHERE GrupOpe='A' AND Operatore=7"_s), cancellato ? 0 : 1);
    }

    // The registered office's checks; then another workstation deletes it before the save.
    void sedeLegale_data()
    {
        QTest::addColumn<QStringList>("modifiche");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QString>("campo");
        QTest::newRow("e-mail vuota") << QStringList{"txtPostaElettronica="} << ""
                                      << "";
        QTest::newRow("e-mail errata") << QStringList{"txtPostaElettronica=a@@b.it"}
                                       << "L'indirizzo e-mail non può contenere più di 1 carattere '@'."
                                       << "txtPostaElettronica";
        QTest::newRow("senza telefono") << QStringList{"txtTel="} << "Inserire un numero di telefono."
                                        << "txtTel";
        QTest::newRow("senza fax") << QStringList{"txtFax="} << "Inserire un numero di fax."
                                   << "txtFax";
    }
    void sedeLegale()
    {
        QFETCH(QStringList, modifiche);
        QFETCH(QString, messaggio);
        QFETCH(QString, campo);
        Banco<FrmSedeLeg> a;
        a.db.esegui(u"UPDATE CorsiCompo SET Fax='0115551235', Pref='011', PrefFax='011' WHERE Componente=1"_s);
        QVERIFY(a.s.carica());
        QCOMPARE(trova<QLineEdit>(&a.s, "txtComDes")->text(), u"ALFA"_s);
        QVERIFY(!trova<QLineEdit>(&a.s, "txtIndirizzo")->isEnabled());
        compila(&a.s, modifiche << u"txtRiferimento=BIANCHI"_s);
        clic(&a.s, "cmdSalva");
        if (!messaggio.isEmpty()) {
            QCOMPARE(a.dialoghi.ultimo(), messaggio);
            QCOMPARE(a.s.focusWidget()->objectName(), campo);
            return;
        }
        QVERIFY2(a.dialoghi.messaggi.isEmpty(), qPrintable(a.dialoghi.ultimo()));
        QCOMPARE(a.valore(u"SELECT Riferimento || '|' || Pref || '|' || PrefFax || '|' || Email FROM CorsiCompo "
                          "WHERE Componente=1"_s),
                 u"BIANCHI|||"_s);
    }

    void sedeLegaleCancellataNelFrattempo_data()
    {
        QTest::addColumn<Risposta>("risposta");
        QTest::addColumn<int>("righe");
        QTest::addColumn<QString>("ultimo");
        QTest::newRow("reinserita") << Risposta::Si << 1 << "Sede legale reinserita.";
        QTest::newRow("ricaricata")
            << Risposta::No << 0 << "Nessuna Sede Legale per l'Operatore selezionato.\r\nImpossibile gestire la proposta corsi";
    }
    void sedeLegaleCancellataNelFrattempo()
    {
        QFETCH(Risposta, risposta);
        QFETCH(int, righe);
        QFETCH(QString, ultimo);
        Banco<FrmSedeLeg> a;
        a.db.esegui(u"UPDATE CorsiCompo SET Fax='0115551235' WHERE Componente=1"_s);
        QVERIFY(a.s.carica());
        a.s.show();
        {
            CorsiDB altra(u"altra"_s);
            altra.apri(a.connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
            altra.esegui(u"DELETE FROM CorsiCompo WHERE Componente=1"_s);
        }
        compila(&a.s, {"txtRiferimento=NUOVO"});
        a.dialoghi.risposte << risposta;
        clic(&a.s, "cmdSalva");
        QCOMPARE(a.dialoghi.messaggi[0].testo,
                 u"Il record che si sta cercando di aggiornare è stato cancellato da un "
                 "altro operatore.\r\nReinserire il record?"_s);
        QCOMPARE(a.dialoghi.messaggi[0].titolo, u"Accesso concorrente"_s);
        QCOMPARE(a.dialoghi.ultimo(), ultimo);
        QCOMPARE(a.valore(u"SELECT count(*) FROM CorsiCompo WHERE Componente=1 AND TipoCompo='SL' AND "
                          "Riferimento='NUOVO' AND Denominazione='SEDE LEGALE'"_s),
                 QString::number(righe));
        QCOMPARE(a.s.isVisible(), righe == 1);
    }

    // The menu's button opens the sheet, and the heading follows a new name.
    void dalMenu()
    {
        Banco<MDI_Main> a;
        a.s.carica();
        a.s.primaAttivazione();
        GuidaModali guida({[](QDialog *d) {
            compila(d, {"txtDenomi=ENTE RINOMINATO"});
            clic(d, "cmdSalva");
            clic(d, "cmdEsci");
        }});
        clic(&a.s, "cmdOpe");
        QCOMPARE(guida.aperte, QStringList{u"Operator"_s});
        QCOMPARE(trova<QLabel>(&a.s, "lblDenOper")->text(), u"-  ENTE RINOMINATO"_s);
    }
};

QTEST_MAIN(TestOperatore)
#include "tst_operatore.moc"
