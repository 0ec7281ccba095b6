// The print and send screens driven as a user drives them: the checks of the send button,
// the road to the final print that locks, the pause typed in seconds, the delivery screen.
#include "support/Domanda.h"
#include "support/GuidaModali.h"

#include "printing/Stampa.h"
#include "courses/ui/Corsi.h"
#include "printing/ui/SchermiStampa.h"
#include "startup/ui/MainForm.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace quirdal;
using namespace quirdal::test;

namespace {

struct Corretta : Selezionata {
    explicit Corretta(bool stampata = false) : Selezionata(stampata)
    {
        domandaStampabile(db);
        sessione.gVersione = u"SERVER"_s;
    }
    QString creato(const QString &nome) const { return u"E' stato creato il file "_s + percorso(nome) + u"."_s; }
};

void clic(QWidget *w, const char *nome) { QTest::mouseClick(trova<QPushButton>(w, QString::fromLatin1(nome)), Qt::LeftButton); }
// A click that opens the next screen, given once the guide's action has returned, so that
// the guide goes on driving the screens it opens.
void poi(QDialog *d, std::function<void()> passo) { QTimer::singleShot(0, d, std::move(passo)); }
bool attivo(QWidget *w, const char *nome) { return trova(w, QString::fromLatin1(nome))->isEnabled(); }
// The transmission screen's copy and send buttons, both open.
bool copiaEInvio(QWidget *t) { return attivo(t, "cmdSend") && attivo(t, "cmdSalva"); }
QString esci(QWidget *t) { return trova<QLabel>(t, u"lblEsci"_s)->text(); }
// The print's preview, where the build has one: its title and the file it shows, then closed as
// the user closes it.
#ifdef QUIRDAL_ANTEPRIMA
const QStringList kAnteprima{u"frmAnteprima"_s};
#else
const QStringList kAnteprima;
#endif
GuidaModali::Azione chiudiAnteprima(QStringList *titoli = nullptr)
{
    return [titoli](QDialog *d) {
        if (titoli)
            *titoli << d->windowTitle() << trova<QLabel>(d, u"lblFile"_s)->text();
        poi(d, [d] { clic(d, "cmdChiudi"); });
    };
}
template <typename D>
void apri(D &d)
{
    d.carica();
    mostra(d);
}

} // namespace

class TestSchermiStampa : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The send button works only on the server, and stops at the first problem or at an operator without courses.
    void invioRifiutato_data()
    {
        QTest::addColumn<QString>("versione");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("titolo");
        QTest::newRow("client") << u"CLIENT"_s << QString() << QString() << QString();
        QTest::newRow("un controllo") << u"SERVER"_s << u"UPDATE CorsiOper SET CodFiscaleReferente=NULL"_s
                                      << u"Nella Scheda Operatore deve essere indicato il CODICE FISCALE DEL REFERENTE "
                                         "PARI OPPORTUNITA'. Correggere la situazione, e ritentare la stampa."_s
                                      << u"Stampa non disponibile"_s;
        QTest::newRow("nessun corso") << u"SERVER"_s << u"DELETE FROM CorsiProp"_s
                                      << u"Nessun corso: impossibile inviare la domanda!"_s << u"Invio domanda"_s;
    }
    void invioRifiutato()
    {
        QFETCH(QString, versione);
        QFETCH(QString, sql);
        QFETCH(QString, testo);
        QFETCH(QString, titolo);
        Corretta a;
        a.sessione.gVersione = versione;
        if (!sql.isEmpty())
            a.db.esegui(sql);
        StTrasm dlg(*a.contesto);
        apri(dlg);
        const bool server = versione == u"SERVER"_s;
        QCOMPARE(attivo(&dlg, "cmdInvia1"), server);
        QCOMPARE(attivo(&dlg, "LblInvia1"), server);
        if (!server)
            return;
        GuidaModali guida;
        clic(&dlg, "cmdInvia1");
        unMessaggio(a.dialoghi, testo, titolo, Icona::Critico);
        QCOMPARE(guida.aperte, QStringList());
        QVERIFY(!trova(&dlg, u"panel_Attesa"_s)->isVisible());
    }

    // From the send button to the final print: the application is locked, copy and send open.
    void stampaDefinitivaBlocca()
    {
        Corretta a;
        StTrasm dlg(*a.contesto);
        apri(dlg);
        QStringList visto; // what the user sees on the way
        GuidaModali guida({
            [](QDialog *invia) { poi(invia, [invia] { clic(invia, "cmdConf"); }); },
            [&](QDialog *t) {
                poi(t, [&, t] {
                    visto << (!attivo(t, "cmdSend") && !attivo(t, "cmdSalva") ? u"chiusi"_s : u"aperti"_s) << esci(t);
                    clic(t, "cmdStampa");
                    visto << (copiaEInvio(t) ? u"aperti"_s : u"chiusi"_s) << esci(t);
                    clic(t, "cmdEsci");
                });
            },
            [&](QDialog *sel) {
                visto << (attivo(sel, "OpzSelcomp") ? u"scelta aperta"_s : u"scelta chiusa"_s);
                poi(sel, [sel] { clic(sel, "cmdConfe"); });
            },
            [](QDialog *st) { poi(st, [st] { clic(st, "cmdSt"); }); },
            [](QDialog *) {}, // the print screen runs and closes by itself
            [&](QDialog *d) {
                // Shown only once the application is locked.
                visto << (a.sessione.gDomandaStampata == VERO ? u"bloccata"_s : u"non bloccata"_s);
                chiudiAnteprima (&visto)(d);
            },
        });
        clic(&dlg, "cmdInvia1");
        QCOMPARE(guida.aperte, (QStringList{u"Invia"_s, u"Trasmis"_s, u"SelBozza"_s, u"StBozza"_s, u"ViewStam"_s} + kAnteprima));
        QCOMPARE(guida.chiuseForzate, 0);
        const QStringList anteprima = kAnteprima.isEmpty()
            ? QStringList()
            : QStringList{u"bloccata"_s, u"Anteprima di stampa"_s, u"QUIRDAL-A7-AL-Domanda-Originale.pdf"_s};
        QCOMPARE(visto,
                 (QStringList{u"chiusi"_s, u"Annulla Invio Domanda"_s, u"scelta chiusa"_s} + anteprima
                  + QStringList{u"aperti"_s, u"Esci"_s}));
        QVERIFY(TrasDoma(a.db, a.sessione));
        QCOMPARE(a.sessione.gDomandaStampata, VERO);
        // The preview, or where there is none the system's viewer, shows the final print.
        QCOMPARE(a.piattaforma.aperti,
                 kAnteprima.isEmpty() ? QStringList{a.percorso(u"QUIRDAL-A7-AL-Domanda-Originale.pdf"_s)} : QStringList());
        QCOMPARE(a.dialoghi.testiMessaggi(), QStringList{a.creato(u"QUIRDAL-A7-AL-Domanda-Originale.pdf"_s)});
    }

    // The pause is typed in seconds and kept in milliseconds; cancelling the print leaves
    // the draft unwritten.
    void intervalloInSecondi_data()
    {
        QTest::addColumn<QString>("secondi");
        QTest::addColumn<long>("ms");
        QTest::newRow("3") << u"3"_s << 3000L;
        QTest::newRow("0") << u"0"_s << 0L;
        QTest::newRow("vuoto") << QString() << 0L;
    }
    void intervalloInSecondi()
    {
        QFETCH(QString, secondi);
        QFETCH(long, ms);
        Corretta a;
        a.sessione.gTipoStampa = u"Stampa Bozza"_s;
        a.sessione.gIntervalloStampa = 5000;
        StBozza st(*a.contesto);
        mostra(st);
        digita(&st, u"txtIntervallo"_s, secondi);
        long durante = -1;
        QString titolo;
        GuidaModali guida({[&](QDialog *v) {
            durante = a.sessione.gIntervalloStampa;
            titolo = v->windowTitle();
            clic(v, "cmAnnStamp");
        }});
        clic(&st, "cmdSt");
        QCOMPARE(guida.aperte, QStringList{u"ViewStam"_s});
        QCOMPARE(durante, ms);
        QCOMPARE(titolo, u"Compilazione BOZZA in corso ..."_s);
        QCOMPARE(a.sessione.gModoStampa, u"BOZZA"_s);
        QVERIFY(!a.esiste(u"QUIRDAL-A7-AL-Domanda.pdf"_s));
    }

    // A draft of one site chosen in the list.
    void bozzaDiUnaSede()
    {
        Corretta a;
        a.sessione.gTipoStampa = u"Stampa Bozza"_s;
        SelBozza sel(*a.contesto);
        apri(sel);
        auto *cmb = trova<QComboBox>(&sel, u"cmbCompoSt"_s);
        QCOMPARE(cmb->count(), 2);
        QCOMPARE(cmb->itemText(1), u"1001 - PALESTRA  (SEDE OCCASIONALE)"_s);
        clicca(&sel, u"OpzSelcomp"_s);
        cmb->setCurrentIndex(1);
        QStringList titoli;
        GuidaModali guida(
            {[](QDialog *st) { poi(st, [st] { clic(st, "cmdSt"); }); }, [](QDialog *) {}, chiudiAnteprima(&titoli)});
        clic(&sel, "cmdConfe");
        QCOMPARE(guida.aperte, (QStringList{u"StBozza"_s, u"ViewStam"_s} + kAnteprima));
        QCOMPARE(guida.chiuseForzate, 0);
        if (!kAnteprima.isEmpty())
            QCOMPARE(titoli, (QStringList{u"Anteprima di stampa"_s, u"QUIRDAL-A7-AL-Domanda.pdf"_s}));
        QCOMPARE(a.sessione.gTipoSede, u"SO"_s);
        QCOMPARE(a.sessione.gCompo, u"1001"_s);
        QCOMPARE(a.sessione.gDenCompo, u"PALESTRA"_s);
        QVERIFY(a.esiste(u"QUIRDAL-A7-AL-Domanda.pdf"_s));
        QVERIFY(!TrasDoma(a.db, a.sessione));
    }

    // A printed application opens copy and send; sending asks for the connection first, and cancelling
    // there stops; the copy of the transmission file goes where the user says, whole.
    void domandaStampata()
    {
        Corretta a(true);
        a.dialoghi.risposte.enqueue(Risposta::Annulla);
        a.dialoghi.file.enqueue(a.percorso(u"copia.A7"_s));
        Trasmis t(*a.contesto);
        apri(t);
        QVERIFY(copiaEInvio(&t));
        QCOMPARE(esci(&t), u"Esci"_s);
        GuidaModali guida({[](QDialog *m) {
            digita(m, u"txtEMail"_s, u"ente@ente.example"_s);
            QTest::mouseClick(trova<QWidget>(m, u"imgConferma"_s), Qt::LeftButton);
        }});
        clic(&t, "cmdSend");
        unMessaggio(a.dialoghi,
                    u"Attivazione collegamento con Internet\r\nProcedere solo dopo aver aperto la connessione "
                    "\r\ncon il vostro Provider"_s,
                    u"Trasmissione dati"_s, Icona::Informazione, Pulsanti::OkAnnulla);
        QCOMPARE(guida.aperte, QStringList());
        clic(&t, "cmdSalva");
        QCOMPARE(a.dialoghi.ultimo(), u"Copia dei dati effettuata.\r\nCopiato 1 files."_s);
        QVERIFY(a.esiste(u"copia.A7"_s));
        QCOMPARE(a.leggi(u"copia.A7"_s), a.leggi(u"QUIRDAL_001_000123.A7"_s));
    }

    // The menu entry needs an application, then opens the send screen.
    void voceDelMenu_data()
    {
        QTest::addColumn<bool>("domanda");
        QTest::newRow("con domanda") << true;
        QTest::newRow("senza domanda") << false;
    }
    void voceDelMenu()
    {
        QFETCH(bool, domanda);
        Corretta a;
        if (!domanda)
            a.sessione.gDomanda = 0;
        MDI_Main w(*a.contesto);
        w.carica();
        QVERIFY(attivo(&w, "cmdInvia1"));
        GuidaModali guida;
        clic(&w, "cmdInvia1");
        QCOMPARE(guida.aperte, domanda ? QStringList{u"StTrasm"_s} : QStringList());
        QCOMPARE(a.dialoghi.testiMessaggi(),
                 domanda ? QStringList()
                         : QStringList{u"Selezionare prima la PROVINCIA nell'ambito della quale compilare la domanda "
                                       "(Selezione Domanda)"_s});
    }

    // The course sheet's "Stampa Corso" prints the course shown as a draft of one course; so does a call
    // from elsewhere for the course it names.
    void stampaCorsoDallaScheda()
    {
        Corretta a;
        a.sessione.impostaSede(u"1"_s);
        Corsi scheda(*a.contesto);
        scheda.setStampaCorso([&](const ChiaveCorso &k) { stampaBozzaCorso(*a.contesto, k, &scheda); });
        QVERIFY(scheda.carica());
        mostra(scheda);
        // Each print screen runs and closes by itself; the preview after it, where there is one, is closed.
        QList<GuidaModali::Azione> azioni;
        for (int i = 0; i < 2; ++i) {
            azioni << [](QDialog *) {};
            if (!kAnteprima.isEmpty())
                azioni << chiudiAnteprima();
        }
        GuidaModali guida(azioni);
        clic(&scheda, "cmdStampa");
        QCOMPARE(guida.aperte, QStringList{u"ViewStam"_s} + kAnteprima);
        QVERIFY(a.esiste(u"Sede1_00010-BozzaCorso.pdf"_s));
        QCOMPARE(a.dialoghi.ultimo(), a.creato(u"Sede1_00010-BozzaCorso.pdf"_s));
        stampaBozzaCorso(*a.contesto, {1, u"0001"_s, u"1"_s}, nullptr);
        QCOMPARE(guida.aperte, (QStringList{u"ViewStam"_s} + kAnteprima + QStringList{u"ViewStam"_s} + kAnteprima));
        QCOMPARE(guida.chiuseForzate, 0);
        QCOMPARE(a.sessione.gModoStampa, u"BOZZA CORSO"_s);
        QVERIFY(a.esiste(u"Sede1_00011-BozzaCorso.pdf"_s));
    }
};

QTEST_MAIN(TestSchermiStampa)
#include "tst_schermistampa.moc"
