// Two workstations on one database at once, on either engine. The other workstation is a
// process of its own (tests/support/postazione.cpp) held at a named point of the program until
// the test lets it go on; this one is the test itself, which meets the other at its own points.
// Courses inserted together, a course deleted under another's eyes, a final print or a
// reassignment beside a course save, the operations that want the database alone, and a save
// cut off in the middle.
#include "application/Selezione.h"
#include "courses/Corso.h"
#include "courses/Riassegnazione.h"
#include "courses/ui/Corsi.h"
#include "db/RiaperturaConnessione.h"
#include "printing/Stampa.h"
#include "startup/Avvio.h"
#include "support/Bando.h"
#include "support/Detentore.h"
#include "support/Domanda.h"
#include "support/GuidaModali.h"
#include "support/RigaDiComando.h"
#include "transmission/Invii.h"

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSqlDatabase>
#include <QTest>

#include <memory>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// Where this workstation meets the other: the program's stop points, in this process.
std::function<void(const QString &)> g_alPunto;

} // namespace

namespace quirdal {

void puntoDiArresto(const char *nome)
{
    if (g_alPunto)
        g_alPunto(QString::fromLatin1(nome));
}

} // namespace quirdal

namespace {

const QString kQuirdal = u"QUIRDAL"_s;
const QString kRiprova = u"\r\n\r\nSi è verificato un errore imprevisto,scegliere riprova per ritentare l'operazione."_s;
const QString kEsclusivaRifiutata =
    u"Errore 3260\r\nLa base dati è aperta da un'altra postazione: impossibile aprirla in modo esclusivo.\r\n"
    "Qualche client potrebbe ancora essere connesso alla base dati. \r\nIl programma uscira a Windows.\r\n"
    "Chiudere tutti i client, riavviare l'applicativo SERVER e ritentare l'Operazione."_s;

// At the point named, the first time it is passed, the action: the moment of the clash.
class Incontro {
public:
    Incontro(const char *punto, std::function<void()> azione) : m_avvenuto(std::make_shared<bool>(false))
    {
        g_alPunto = [punto = QString::fromLatin1(punto), azione = std::move(azione), avvenuto = m_avvenuto](const QString &nome) {
            if (nome != punto || *avvenuto)
                return;
            *avvenuto = true;
            azione();
        };
    }
    ~Incontro() { g_alPunto = nullptr; }
    Incontro(const Incontro &) = delete;
    Incontro &operator=(const Incontro &) = delete;
    bool avvenuto() const { return *m_avvenuto; }

private:
    std::shared_ptr<bool> m_avvenuto;
};

// The other workstation, at work on the application of operator A-7 in province 001 of the
// test's database: SEDE and what to do (see postazione.cpp), held at the point pausa if given.
class Postazione {
public:
    Postazione(const Ambiente &a, const QStringList &lavoro, const QString &pausa = {})
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        if (!pausa.isEmpty())
            e.insert(u"QUIRDAL_PAUSA"_s, pausa);
        m_p.setProcessEnvironment(e);
        m_p.start(QStringLiteral(QUIRDAL_POSTAZIONE), QStringList{a.dir.path(), u"A"_s, u"7"_s, u"001"_s} + lavoro);
    }
    ~Postazione()
    {
        if (m_p.state() != QProcess::NotRunning)
            ferma();
    }
    Postazione(const Postazione &) = delete;
    Postazione &operator=(const Postazione &) = delete;

    // The first line it says that begins with the word; empty when it ends without one.
    QString attendi(const QString &parola)
    {
        for (;;) {
            while (m_p.canReadLine()) {
                const QString riga = QString::fromUtf8(m_p.readLine()).trimmed();
                if (riga.startsWith(parola))
                    return riga;
            }
            if (!m_p.waitForReadyRead(60000) && !m_p.canReadLine())
                return {};
        }
    }
    void prosegui()
    {
        m_p.write("\n");
        m_p.waitForBytesWritten();
    }
    // Its last line, once it has done.
    QString esito()
    {
        m_p.closeWriteChannel();
        m_p.waitForFinished(60000);
        const QStringList righe = QString::fromUtf8(m_p.readAll()).split(u'\n', Qt::SkipEmptyParts);
        return righe.isEmpty() ? QString() : righe.last().trimmed();
    }
    // Dead where it stands, as a power cut leaves it.
    void ferma()
    {
        m_p.kill();
        m_p.waitForFinished();
    }

private:
    QProcess m_p;
};

// The other workstation waits for the lock this one holds. On a file it says so itself; the
// server lists its request among the locks not granted.
void attendeBlocco(Ambiente &a, Postazione &altra)
{
    if (!a.suServer()) {
        QCOMPARE(altra.attendi(u"ATTESA"_s), u"ATTESA"_s);
        return;
    }
    CorsiDB o(u"osservatore"_s);
    o.apri(a.connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
    QTRY_VERIFY_WITH_TIMEOUT(o.valoreScalare(u"SELECT count(*) FROM pg_locks WHERE locktype = 'advisory' AND NOT granted "
                                             "AND database = (SELECT oid FROM pg_database WHERE datname = current_database())"_s)
                                     .toInt()
                                 > 0,
                             60000);
}

// A course's rows in CorsiProp and CorsiPropSpese: "1/2" for a two-year course written whole.
QString righeCorso(Ambiente &a, qlonglong sede, const QString &corso, const QString &accorp)
{
    QStringList r;
    for (const char *t : {"CorsiProp", "CorsiPropSpese"})
        r << a.valore(
            u"SELECT count(*) FROM %1 WHERE GrupOpe='A' AND Operatore=7 AND SedeInteressata=? AND Corso=? AND Accorp=?"_s.arg(
                QLatin1String(t)),
            {sede, corso, accorp});
    return r.join(u'/');
}

// Rows of a course's tables that belong to no course: what a half-done write leaves behind.
int orfane(Ambiente &a)
{
    int n = 0;
    for (const char *t : {"CorsiPropSpese", "ValoriChk"})
        n += a.valore(u"SELECT count(*) FROM %1 x WHERE NOT EXISTS (SELECT * FROM CorsiProp p WHERE p.GrupOpe = x.GrupOpe "
                      "AND p.Operatore = x.Operatore AND p.SedeInteressata = x.SedeInteressata AND p.Corso = x.Corso "
                      "AND p.Accorp = x.Accorp)"_s.arg(QLatin1String(t)))
                 .toInt();
    return n;
}

// What the courses' tables hold, column by column.
QString contenuto(Ambiente &a)
{
    const QString ordine = u" ORDER BY SedeInteressata, Corso, Accorp"_s;
    QStringList r;
    for (const char *c : {"SedeInteressata", "Corso", "Accorp", "NumAll", "DesQualif"})
        r << a.lista(u"SELECT %1 FROM CorsiProp"_s.arg(QLatin1String(c)) + ordine);
    for (const char *c : {"SedeInteressata", "Corso", "Accorp", "ProgrAnno", "ParamA1"})
        r << a.lista(u"SELECT %1 FROM CorsiPropSpese"_s.arg(QLatin1String(c)) + ordine + u", ProgrAnno"_s);
    r << a.valore(u"SELECT count(*) FROM ValoriChk"_s);
    return r.join(u'|');
}

// Dialogs that act while the generic Retry/Cancel message is shown: the user reads it, the
// trouble passes, the user answers.
struct Spia : FakeDialoghi {
    std::function<void()> allErrore;
    Risposta messaggio(const QString &testo, const QString &titolo, Icona icona, Pulsanti pulsanti) override
    {
        if (pulsanti == Pulsanti::RiprovaAnnulla && allErrore)
            allErrore();
        return FakeDialoghi::messaggio(testo, titolo, icona, pulsanti);
    }
};

// The fixture's application, open to changes, on a multi-user SERVER installation; the course
// sheet of site 1, its course 0002 clean, when asked for.
struct Ufficio : Ambiente {
    Spia spia;
    Contesto c{dir.path(), sessione, db, ini, spia, piattaforma, *utente};
    std::unique_ptr<Corsi> scheda;
    Ufficio()
    {
        selezionata(*this, false);
        scriviIni(u"Multiutenza"_s);
    }
    Corsi *apriScheda()
    {
        corsoPulito(db);
        listeDelBando(c);
        sessione.impostaSede(u"1"_s);
        scheda = std::make_unique<Corsi>(c);
        scheda->carica();
        scheda->show();
        return scheda.get();
    }
    QString corrente() const
    {
        return trova<QLabel>(scheda.get(), u"lblCorso"_s)->text().trimmed() + u' '
            + trova<QLabel>(scheda.get(), u"lblAccorp"_s)->text().trimmed();
    }
};

const QStringList kSalva0002{u"1"_s, u"salva"_s, u"0002"_s, u"0"_s, u"19"_s};

} // namespace

class TestPostazioni : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Two workstations insert a course at once: the second waits for the first one's write and
    // then takes the next code, whatever site it inserts at; merged courses take the next
    // merged number. Each course is written whole.
    void codiciDistinti_data()
    {
        colonne<qlonglong, QString, QString, QString, QString>("sedeAltra", "modello", "accorp", "primo", "secondo");
        QTest::newRow("stessa sede") << 1LL << u"0002"_s << u"0"_s << u"0006 0"_s << u"0007 0"_s;
        QTest::newRow("altra sede") << 2LL << u"0002"_s << u"0"_s << u"0006 0"_s << u"0007 0"_s;
        QTest::newRow("accorpati allo stesso corso") << 1LL << u"0001"_s << u"1"_s << u"0001 2"_s << u"0001 3"_s;
    }
    void codiciDistinti()
    {
        QFETCH(qlonglong, sedeAltra);
        QFETCH(QString, modello);
        QFETCH(QString, accorp);
        QFETCH(QString, primo);
        QFETCH(QString, secondo);
        Ufficio a;
        a.sessione.impostaSede(u"1"_s);
        std::optional<DatiCorso> d = caricaCorso(a.db, a.sessione, {1, modello, accorp});
        QVERIFY(d);
        d->chiave = {1, {}, {}};
        std::optional<Postazione> altra;
        Incontro incontro("salva-corso", [&] {
            altra.emplace(a, QStringList{QString::number(sedeAltra), u"inserisci"_s, u"1"_s, modello, accorp});
            attendeBlocco(a, *altra);
        });
        const ChiaveCorso k = scriviCorso(a.db, a.sessione, a.piattaforma, *d);
        QVERIFY(incontro.avvenuto());
        QCOMPARE(k.corso + u' ' + k.accorp, primo);
        QCOMPARE(altra->esito(), u"CORSO "_s + secondo);
        const QString intero = righeCorso(a, 1, modello, accorp);
        QCOMPARE(righeCorso(a, 1, k.corso, k.accorp), intero);
        QCOMPARE(righeCorso(a, sedeAltra, secondo.left(4), secondo.mid(5)), intero);
        QCOMPARE(orfane(a), 0);
    }

    // The course on the sheet is deleted by another workstation; the save says so under
    // "Accesso concorrente". Yes writes it again, under its own code unless another course took
    // it meanwhile; No shows what the site has left.
    void cancellatoDaAltri_data()
    {
        colonne<bool, bool, QString, QString>("reinserire", "codicePreso", "mostrato", "poi");
        QTest::newRow("reinserito") << true << false << u"0002 0"_s << u"Corso reinserito."_s;
        QTest::newRow("lasciato cancellato") << false << false << u"0001 1"_s << QString();
        QTest::newRow("codice preso da un altro corso")
            << true << true << u"0003 0"_s
            << u"Corso reinserito.\r\nIl codice 0002 0 è stato assegnato nel frattempo a un altro corso: il corso ha ora il "
               "codice 0003 0."_s;
    }
    void cancellatoDaAltri()
    {
        QFETCH(bool, reinserire);
        QFETCH(bool, codicePreso);
        QFETCH(QString, mostrato);
        QFETCH(QString, poi);
        Ufficio a;
        // Course 0002 the operator's last: once it is gone, the next new course takes its code.
        if (codicePreso)
            for (const char *t : {"CorsiPropSpese", "ValoriChk", "CorsiProp"})
                a.db.esegui(u"DELETE FROM %1 WHERE Corso IN ('0003', '0004', '0005')"_s.arg(QLatin1String(t)));
        Corsi *f = a.apriScheda();
        clicca(f, u"cmdLast"_s);
        QCOMPARE(a.corrente(), u"0002 0"_s);
        digita(f, u"txtNumAll"_s, u"19"_s);
        QCOMPARE(Postazione(a, {u"1"_s, u"cancella"_s, u"0002"_s, u"0"_s}).esito(), u"CANCELLATO"_s);
        if (codicePreso)
            QCOMPARE(Postazione(a, {u"2"_s, u"inserisci"_s, u"1"_s, u"0001"_s, u"0"_s}).esito(), u"CORSO 0002 0"_s);
        a.spia.risposte << (reinserire ? Risposta::Si : Risposta::No);
        clicca(f, u"cmdSalva"_s);
        QVERIFY(!a.spia.messaggi.isEmpty());
        const MessaggioRegistrato m = a.spia.messaggi.takeFirst();
        QCOMPARE(m.testo,
                 u"Il record che si sta cercando di aggiornare è stato cancellato da un altro operatore.\r\n"
                 "Reinserire il record?"_s);
        QCOMPARE(m.titolo, u"Accesso concorrente"_s);
        QCOMPARE(m.icona, Icona::Esclamazione);
        QCOMPARE(m.pulsanti, Pulsanti::SiNo);
        QCOMPARE(a.spia.testiMessaggi(), poi.isEmpty() ? QStringList() : QStringList{poi});
        QCOMPARE(a.corrente(), mostrato);
        const QString chiave = u"SedeInteressata=1 AND Corso=? AND Accorp=?"_s;
        const QVariantList dove{mostrato.left(4), mostrato.mid(5)};
        QCOMPARE(a.valore(u"SELECT NumAll FROM CorsiProp WHERE "_s + chiave, dove), reinserire ? u"19"_s : u"10"_s);
        if (reinserire)
            QCOMPARE(righeCorso(a, 1, mostrato.left(4), u"0"_s), u"1/2"_s);
        else
            QCOMPARE(a.valore(u"SELECT count(*) FROM CorsiProp WHERE Corso='0002'"_s), u"0"_s);
        QCOMPARE(trova<QLineEdit>(f, u"txtNumAll"_s)->text(), reinserire ? u"19"_s : u"10"_s);
        QCOMPARE(orfane(a), 0);
    }

    // A final print and a course save at once. The save that comes while the print runs waits
    // for it and then finds the application locked; the print that comes while a save is half
    // done is refused at once and, repeated, prints what the save wrote. Either way the
    // transmission file the form names is the one the locked data make.
    void stampaDefinitiva_data()
    {
        colonne<bool, QString, QString>("primaLaStampa", "altra", "allievi");
        QTest::newRow("salvataggio durante la stampa")
            << true << u"ERRORE 3146 Domanda già inviata alla Provincia: i dati dei corsi non sono modificabili."_s << u"18"_s;
        QTest::newRow("stampa durante un salvataggio") << false << u"CORSO 0002 0"_s << u"19"_s;
    }
    void stampaDefinitiva()
    {
        QFETCH(bool, primaLaStampa);
        QFETCH(QString, altra);
        QFETCH(QString, allievi);
        Ufficio a;
        domandaStampabile(a.db);
        AvanzamentoStampa silenzioso;
        RichiestaStampa r;
        r.apriAlTermine = false;
        std::optional<Postazione> p;
        EsitoOriginale e;
        if (primaLaStampa) {
            Incontro incontro("stampa-provvisoria", [&] {
                p.emplace(a, kSalva0002);
                attendeBlocco(a, *p);
            });
            e = stampaOriginale(a.c, silenzioso, r);
            QVERIFY(incontro.avvenuto());
        } else {
            p.emplace(a, kSalva0002, u"salva-corso"_s);
            QCOMPARE(p->attendi(u"FERMO"_s), u"FERMO salva-corso"_s);
            // Refused at once, rather than after the wait any workstation gives another's lock.
            a.db.impostaAttesa(0);
            e = stampaOriginale(a.c, silenzioso, r);
            QCOMPARE(e.stampa.stato, EsitoStampa::Stato::Fallita);
            unMessaggio(a.spia, u"La base dati è in uso da un'altra postazione. Riprovare tra qualche istante."_s,
                        u"Compilazione File di stampa"_s, Icona::Esclamazione);
            QVERIFY(!TrasDoma(a.db, a.sessione));
            QCOMPARE(QDir(a.dir.path()).entryList({u"*.pdf*"_s, u"*.stampa-sospesa"_s}, QDir::Files), QStringList());
            p->prosegui();
            a.db.impostaAttesa(20000);
            e = stampaOriginale(a.c, silenzioso, r);
        }
        QCOMPARE(p->esito(), altra);
        QVERIFY(e.stampa.intera());
        QVERIFY(TrasDoma(a.db, a.sessione));
        QCOMPARE(a.valore(u"SELECT NumAll FROM CorsiProp WHERE SedeInteressata=1 AND Corso='0002'"_s), allievi);
        const std::optional<FileDefinitivo> fissato = fileDefinitivo(a.db, u"001"_s, u"A"_s, u"7"_s);
        const std::optional<FileDefinitivo> adesso = preparaFileDefinitivo(a.c, u"001"_s, u"A"_s, u"7"_s);
        QVERIFY(fissato && adesso);
        QCOMPARE(adesso->sha256, fissato->sha256);
    }

    // A reassignment and a course save at once: the save that comes while the reassignment
    // holds the database is refused when it connects; the reassignment that comes while a
    // save is half done is refused with its message. The courses stay whole where they are.
    void riassegnazione_data()
    {
        colonne<bool, QString, QString>("primaLaRiassegnazione", "sede", "allievi");
        QTest::newRow("salvataggio durante la riassegnazione") << true << u"2"_s << u"18"_s;
        QTest::newRow("riassegnazione durante un salvataggio") << false << u"1"_s << u"19"_s;
    }
    void riassegnazione()
    {
        QFETCH(bool, primaLaRiassegnazione);
        QFETCH(QString, sede);
        QFETCH(QString, allievi);
        Ufficio a;
        RiaperturaConnessione riapertura(a.db, [](const Errore &e) { QFAIL(qPrintable(e.descrizione())); });
        a.spia.risposte << Risposta::Si; // "prima di procedere assicurarsi che nessuna installazione CLIENT sia connessa"
        if (primaLaRiassegnazione) {
            QVERIFY(controllaRiassegnazione(a.c));
            QCOMPARE(a.db.modo(), ModoApertura::Esclusivo);
            QString altra;
            Incontro incontro("riassegna-corso", [&] { altra = Postazione(a, kSalva0002).esito(); });
            QCOMPARE(riassegnaCorsi(a.db, a.sessione, {1, 2, true, {}, {}}), 3);
            QVERIFY(incontro.avvenuto());
            QCOMPARE(altra, u"ERRORE 3260 La base dati è aperta in modo esclusivo da un'altra postazione."_s);
        } else {
            Postazione altra(a, kSalva0002, u"salva-corso"_s);
            QCOMPARE(altra.attendi(u"FERMO"_s), u"FERMO salva-corso"_s);
            QVERIFY(!controllaRiassegnazione(a.c));
            QCOMPARE(a.spia.messaggi.last().testo, kEsclusivaRifiutata);
            QCOMPARE(a.spia.messaggi.last().titolo, kQuirdal);
            QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
            altra.prosegui();
            QCOMPARE(altra.esito(), u"CORSO 0002 0"_s);
        }
        QVERIFY(riapertura.riapri());
        QCOMPARE(a.db.modo(), ModoApertura::Condiviso);
        for (const char *t : {"CorsiProp", "CorsiPropSpese", "ValoriChk"})
            QCOMPARE(a.lista(u"SELECT DISTINCT SedeInteressata FROM %1 WHERE Corso IN ('0001', '0002')"_s.arg(QLatin1String(t))),
                     sede);
        QCOMPARE(a.valore(u"SELECT NumAll FROM CorsiProp WHERE Corso='0002'"_s), allievi);
        QCOMPARE(righeCorso(a, sede.toLongLong(), u"0002"_s, u"0"_s), u"1/2"_s);
        QCOMPARE(orfane(a), 0);
    }

    // What wants the database alone (a reassignment, the update after a download, a load of the
    // operators, a restore) is refused with its message while another workstation is connected,
    // and on a server while any other program is; nothing changes. Once the other has gone,
    // the same command is not refused for it.
    void usoEsclusivo_data()
    {
        colonne<QString, QStringList, QString>("altro", "comando", "messaggio");
        const QString esclusiva = u"[ERRORE] QUIRDAL: "_s + QString(kEsclusivaRifiutata).replace(u"\r\n"_s, u"\n"_s);
        for (const char *altro : {"postazione", "programma"}) {
            const QString a = QString::fromLatin1(altro);
            QTest::addRow("%s: riassegnazione", altro)
                << a
                << QStringList{u"--si"_s, u"riassegna"_s, u"--prov"_s, u"001"_s, u"--grupope"_s, u"A"_s,       u"--operatore"_s,
                               u"7"_s,    u"--da"_s,      u"1"_s,      u"--a"_s, u"2"_s,         u"--corso"_s, u"0002"_s}
                << esclusiva;
            QTest::addRow("%s: aggiornamento", altro) << a << QStringList{u"aggiorna-db"_s} << esclusiva;
            QTest::addRow("%s: caricamento degli operatori", altro)
                << a << QStringList{u"carica-operatori"_s}
                << u"[ERRORE] Aggiornamento Base Dati: La base dati è in uso da un'altra postazione."_s;
            QTest::addRow("%s: recupero", altro)
                << a << QStringList{u"--si"_s, u"recupera"_s, u"copia.zip"_s}
                << u"[ERRORE] Errore: Qualche client potrebbe ancora essere connesso alla base dati. \n\nL'operazione non è "
                   "consentita."_s;
        }
    }
    void usoEsclusivo()
    {
        QFETCH(QString, altro);
        QFETCH(QStringList, comando);
        QFETCH(QString, messaggio);
        Ufficio a;
        // A program that is not one of ours takes no lock on a file: only a server can see it.
        if (altro == "programma"_L1 && !a.suServer())
            QSKIP("Solo un server vede i programmi collegati");
        QCOMPARE(cli(a.dir.path(), {u"salva"_s, u"copia.zip"_s}).errore(), QString());
        const QString prima = contenuto(a);
        a.db.chiudi();
        {
            std::optional<Detentore> postazione;
            QSqlDatabase programma;
            if (altro == "postazione"_L1) {
                postazione.emplace(a.percorsoDb(), u"condiviso"_s);
                QCOMPARE(postazione->risposta, u"PRONTO"_s);
            } else {
                const DatiConnessione d = a.connessione();
                programma = QSqlDatabase::addDatabase(u"QPSQL"_s, u"altro-programma"_s);
                programma.setHostName(d.host);
                programma.setPort(d.porta);
                programma.setDatabaseName(d.nomeDb);
                programma.setUserName(d.utente);
                programma.setConnectOptions(u"application_name=psql"_s);
                QVERIFY(programma.open());
            }
            const EsitoCli e = cli(a.dir.path(), comando);
            QCOMPARE(e.codice, 1);
            QVERIFY2(e.err.contains(messaggio), qPrintable(e.err));
            programma.close();
        }
        QSqlDatabase::removeDatabase(u"altro-programma"_s);
        a.apriDb();
        QCOMPARE(contenuto(a), prima);
        a.db.chiudi();
        QVERIFY2(!cli(a.dir.path(), comando).err.contains(messaggio), qPrintable(comando.join(u' ')));
    }

    // A CLIENT workstation neither loads nor downloads data nor moves courses: the command line
    // refuses it as the menu does, and nothing changes; the SERVER is not refused so.
    void soloIlServer_data()
    {
        colonne<QStringList, QString>("comando", "funzione");
        QTest::newRow("tabelle") << QStringList{u"carica-tabelle"_s} << u"Caricamento Tabelle di Decodifica"_s;
        QTest::newRow("operatori") << QStringList{u"carica-operatori"_s} << u"Caricamento Dati Operatori"_s;
        QTest::newRow("aggiornamento") << QStringList{u"aggiorna-db"_s} << u"Aggiornamento Base Dati"_s;
        QTest::newRow("scarico") << QStringList{u"scarica"_s, u"--operatori"_s, u"A:7"_s} << u"Scarico dal Server"_s;
        QTest::newRow("riassegnazione") << QStringList{u"--si"_s, u"riassegna"_s,   u"--prov"_s,  u"001"_s,  u"--grupope"_s,
                                                       u"A"_s,    u"--operatore"_s, u"7"_s,       u"--da"_s, u"1"_s,
                                                       u"--a"_s,  u"2"_s,           u"--corso"_s, u"0002"_s}
                                        << u"Riassegnazione Corsi"_s;
    }
    void soloIlServer()
    {
        QFETCH(QStringList, comando);
        QFETCH(QString, funzione);
        Ufficio a;
        const QString prima = contenuto(a);
        a.db.chiudi();
        const QString rifiuto = u"[ERRORE] Funzione non disponibile: La funzione di "_s + funzione
            + u" è disponibile solo dalle installazioni di tipo SERVER."_s;
        a.scriviIni(u"Multiutenza"_s, u"CLIENT"_s);
        const EsitoCli e = cli(a.dir.path(), comando);
        QCOMPARE(e.codice, 1);
        QVERIFY2(e.err.contains(rifiuto), qPrintable(e.err));
        a.apriDb();
        QCOMPARE(contenuto(a), prima);
        a.db.chiudi();
        a.scriviIni(u"Multiutenza"_s, u"SERVER"_s);
        QVERIFY2(!cli(a.dir.path(), comando).err.contains(rifiuto), qPrintable(comando.join(u' ')));
    }

    // A database of an earlier release is brought up to date by the SERVER only: a CLIENT that
    // finds one says so and ends, the schema as it found it.
    void schemaPrecedente_data()
    {
        colonne<QString, bool>("versione", "termina");
        QTest::newRow("SERVER") << u"SERVER"_s << false;
        QTest::newRow("CLIENT") << u"CLIENT"_s << true;
    }
    void schemaPrecedente()
    {
        QFETCH(QString, versione);
        QFETCH(bool, termina);
        Ufficio a;
        a.scriviIni(u"Multiutenza"_s, versione);
        a.db.esegui(u"DROP TABLE Invii"_s);
        struct : VistaAvvio {
            void mostraImpostazioni(Contesto &) override { }
            void mostraAvvisoClient() override { }
            void mostraFinestraPrincipale(Contesto &) override { }
        } vista;
        Avvio avvio(a.c, vista);
        QCOMPARE(finisce([&] { avvio.aggiornaStruttura(); }), termina);
        if (termina)
            unMessaggio(a.spia,
                        u"La Base Dati è stata creata da una versione precedente del programma e deve essere aggiornata. "
                        "E' impossibile continuare l'esecuzione del programma da una installazione di tipo CLIENT.\r\n"
                        "Per procedere, avviare la procedura dall'installazione di tipo SERVER, che aggiornerà la Base "
                        "Dati; sarà poi possibile avviare le installazioni CLIENT."_s,
                        u"Installazione Versione Client"_s, Icona::Critico);
        else
            QCOMPARE(a.spia.messaggi.size(), 0);
        QCOMPARE(a.db.esisteTabella(u"Invii"_s), !termina);
    }

    // The server (or, on a file, another workstation's reading when the write must land)
    // fails in the middle of a course save on the sheet: nothing of it is written, the generic
    // message offers Retry and Cancel, and the user's typing stays. Retry once the trouble is
    // over writes the course once and whole; Cancel leaves the sheet as it was, to save later.
    void salvataggioInterrotto_data()
    {
        colonne<bool, bool>("nuovo", "riprova");
        QTest::newRow("corso modificato, Riprova") << false << true;
        QTest::newRow("corso modificato, Annulla") << false << false;
        QTest::newRow("corso nuovo, Riprova") << true << true;
        QTest::newRow("corso nuovo, Annulla") << true << false;
    }
    void salvataggioInterrotto()
    {
        QFETCH(bool, nuovo);
        QFETCH(bool, riprova);
        Ufficio a;
        Corsi *f = a.apriScheda();
        clicca(f, u"cmdLast"_s);
        if (nuovo)
            clicca(f, u"cmdDuplica"_s);
        digita(f, u"txtNumAll"_s, u"19"_s);
        a.spia.messaggi.clear();
        const QString prima = contenuto(a);
        const int corsi = a.conta(u"CorsiProp"_s);

        // The server puts this workstation's session out; on a file another workstation reads
        // it when the write must land (and this one's wait for it is cut to nothing).
        const QString sessione = a.suServer() ? a.valore(u"SELECT pg_backend_pid()"_s) : QString();
        std::optional<CorsiDB> lettore;
        Incontro incontro("salva-corso", [&] {
            if (a.suServer()) {
                amministra(u"SELECT pg_terminate_backend(%1, 10000)"_s.arg(sessione), a.nomeDbServer);
                return;
            }
            lettore.emplace(u"lettore"_s);
            lettore->apri(a.connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
            QVERIFY(lettore->iniziaLettura());
            lettore->valoreScalare(u"SELECT count(*) FROM CorsiProp"_s);
            a.db.impostaAttesa(0);
        });
        const auto passata = [&] {
            lettore.reset();
            a.db.impostaAttesa(20000);
        };
        QString mentreSiLegge;
        a.spia.allErrore = [&] {
            mentreSiLegge = contenuto(a);
            if (riprova)
                passata();
        };
        a.spia.risposte << (riprova ? Risposta::Riprova : Risposta::Annulla);
        clicca(f, u"cmdSalva"_s);
        QVERIFY(incontro.avvenuto());
        QVERIFY(!a.spia.messaggi.isEmpty());
        const MessaggioRegistrato m = a.spia.messaggi.takeFirst();
        const QString errore = a.suServer() ? u"Errore 3151\r\nLa connessione al server della base dati si è interrotta."_s
                                            : u"Errore 3260\r\nLa base dati è in uso da un'altra postazione."_s;
        QVERIFY2(m.testo.startsWith(errore) && m.testo.endsWith(kRiprova), qPrintable(m.testo));
        QCOMPARE(m.titolo, kQuirdal);
        QCOMPARE(m.icona, Icona::Esclamazione);
        QCOMPARE(m.pulsanti, Pulsanti::RiprovaAnnulla);
        QCOMPARE(mentreSiLegge, prima);
        if (!riprova) {
            QCOMPARE(a.spia.messaggi.size(), 0);
            QCOMPARE(a.corrente(), nuovo ? u"---- --"_s : u"0002 0"_s);
            QCOMPARE(trova<QLineEdit>(f, u"txtNumAll"_s)->text(), u"19"_s);
            QCOMPARE(contenuto(a), prima);
            passata();
            clicca(f, u"cmdSalva"_s);
        }
        QCOMPARE(a.spia.testiMessaggi(), nuovo ? QStringList{u"VERIFICHE OK\r\nCorso inserito"_s} : QStringList());
        const QString scritto = nuovo ? u"0006 0"_s : u"0002 0"_s;
        QCOMPARE(a.corrente(), scritto);
        QCOMPARE(a.conta(u"CorsiProp"_s), corsi + (nuovo ? 1 : 0));
        QCOMPARE(
            a.valore(u"SELECT NumAll FROM CorsiProp WHERE SedeInteressata=1 AND Corso=? AND Accorp='0'"_s, {scritto.left(4)}),
            u"19"_s);
        QCOMPARE(righeCorso(a, 1, scritto.left(4), u"0"_s), u"1/2"_s);
        QCOMPARE(orfane(a), 0);
    }

    // The other workstation stops dead in the middle of its save: what it had written goes
    // with it, and the next save goes through.
    void processoFermato_data()
    {
        colonne<QStringList, QString>("lavoro", "poi");
        QTest::newRow("corso modificato") << kSalva0002 << u"CORSO 0002 0"_s;
        QTest::newRow("corso nuovo") << QStringList{u"1"_s, u"inserisci"_s, u"1"_s, u"0002"_s, u"0"_s} << u"CORSO 0006 0"_s;
    }
    void processoFermato()
    {
        QFETCH(QStringList, lavoro);
        QFETCH(QString, poi);
        Ufficio a;
        const QString prima = contenuto(a);
        {
            Postazione altra(a, lavoro, u"salva-corso"_s);
            QCOMPARE(altra.attendi(u"FERMO"_s), u"FERMO salva-corso"_s);
            altra.ferma();
        }
        QCOMPARE(contenuto(a), prima);
        // A file also proves itself whole; the server keeps no half-written file to look at.
        if (!a.suServer())
            QCOMPARE(a.valore(u"PRAGMA integrity_check"_s), u"ok"_s);
        QCOMPARE(Postazione(a, lavoro).esito(), poi);
        QCOMPARE(righeCorso(a, 1, poi.mid(6, 4), u"0"_s), u"1/2"_s);
        QCOMPARE(orfane(a), 0);
    }
};

QTEST_MAIN(TestPostazioni)
#include "tst_postazioni.moc"
