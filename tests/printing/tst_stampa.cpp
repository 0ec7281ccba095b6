// The print engine: the PDF read back with pdftotext and pdfinfo, the sites a draft holds,
// the pauses, the final print that locks only when its PDF came out whole and is stopped dead
// between its steps, and the page folders with their personal data.
#include "support/Domanda.h"
#include "support/Pdf.h"
#include "support/RigaDiComando.h"

#include "printing/Stampa.h"
#include "startup/Avvio.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <utime.h>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// Records the pauses, and stops the print after a number of sections, or of pages written
// into the PDF, when asked to.
struct Registro : AvanzamentoStampa {
    QList<long> pause;
    int sezioni = 0, fermaDopo = -1, scritte = 0, fermaAllaPagina = -1;
    void pagina(int, const QString &) override { ++sezioni; }
    void scritta(int n) override { scritte = n; }
    bool annullata() override
    {
        return (fermaDopo >= 0 && sezioni >= fermaDopo) || (fermaAllaPagina >= 0 && scritte >= fermaAllaPagina);
    }
    void attendi(long ms) override { pause << ms; }
};

// The fixture's application, correct, not printed, with the progress it records.
struct Corretta : Selezionata {
    Registro r;
    const QString pdf = percorso(u"QUIRDAL-A7-AL-Domanda.pdf"_s);
    const QString originale = percorso(u"QUIRDAL-A7-AL-Domanda-Originale.pdf"_s);
    Corretta() : Selezionata(false) { domandaStampabile(db); }
    RichiestaStampa richiesta(const QString &modo = kModoBozza)
    {
        RichiestaStampa q;
        q.modo = modo;
        q.apriAlTermine = false;
        return q;
    }
    EsitoStampa stampa(const RichiestaStampa &q) { return MotoreStampa(*contesto, r).esegui(q); }
    QString creato(const QString &file) const { return u"E' stato creato il file "_s + file + u"."_s; }
};

const QStringList kSezioni = {u"DOMANDA DI FINANZIAMENTO"_s, u"OGGETTO: DOMANDA DI FINANZIAMENTO"_s,
                              u"QUADRO RIASSUNTIVO DELLA DOMANDA"_s, u"SEZIONE 1 - SOGGETTO PROPONENTE"_s,
                              u"SEZIONE 2 - SEDE INTERESSATA 1"_s, u"SEZIONE 2 - SEDE 1: LABORATORI E ORE"_s,
                              u"SEZIONE 3 - CORSO 0001 / 0 - SEDE 1"_s, u"PREVENTIVO DI SPESA"_s, u"RIPARTIZIONE DELLA SPESA"_s,
                              u"PARAMETRI DEL CORSO"_s, u"CARATTERISTICHE"_s, u"SEZIONE 3.3 - CORSO"_s, u"INTERVENTI MIRATI"_s,
                              u"SEZIONE 3.4 - CORSO"_s, u"SEZIONE 4 - SCHEDA HANDICAP DEL CORSO 0002 / 0 - SEDE 1"_s,
                              u"SEZIONE 2 - SEDE INTERESSATA 1001"_s, u"SEZIONE 3 - CORSO 0003 / 0 - SEDE 1001"_s,
                              // Values from the database, amounts in the Italian form.
                              u"BIANCHI MARIA"_s, u"IT60X0542811101000000123456"_s, u"LABORATORIO INFORMATICO"_s,
                              u"OPERATORE GRAFICO"_s, u"RIGA UNO"_s, u"VOCE DUE"_s, u"8,50"_s};

// A Dialoghi that looks at the world when a message shows.
struct Spia : FakeDialoghi {
    std::function<void(const QString &)> alMessaggio;
    Risposta messaggio(const QString &testo, const QString &titolo, Icona icona, Pulsanti pulsanti) override
    {
        if (alMessaggio)
            alMessaggio(testo);
        return FakeDialoghi::messaggio(testo, titolo, icona, pulsanti);
    }
};

// What a final print leaves beside its PDF until it is done: the PDF under its provisional
// name, and the record of the print in the program folder.
QString provvisorio(const QString &pdf) { return pdf + u".provvisorio"_s; }
QStringList record(const Ambiente &a) { return QDir(a.dir.path()).entryList({u"*.stampa-sospesa"_s}, QDir::Files); }

// What a folder holds, hidden entries included.
QStringList voci(const QString &cartella)
{
    return QDir(cartella).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

// The system's temporary folder moved to a folder of the test's own while it lives, so that
// what a print leaves there can be seen.
struct TemporaneaPropria {
    QTemporaryDir dir;
    const QByteArray prima = qgetenv("TMPDIR");
    TemporaneaPropria() { qputenv("TMPDIR", dir.path().toLocal8Bit()); }
    ~TemporaneaPropria() { qputenv("TMPDIR", prima); }
};
struct Via {
    QStringList cartelle; // removed at the end, whatever the test saw
    ~Via()
    {
        for (const QString &c : cartelle)
            QDir(c).removeRecursively();
    }
};
// The start-up with nothing to show.
struct VistaMuta : VistaAvvio {
    void mostraImpostazioni(Contesto &) override { }
    void mostraAvvisoClient() override { }
    void mostraFinestraPrincipale(Contesto &) override { }
};

void contiene(const QString &testo, const QStringList &presenti, const QStringList &assenti = {})
{
    for (const QString &s : presenti)
        QVERIFY2(testo.contains(s), qPrintable(s));
    for (const QString &s : assenti)
        QVERIFY2(!testo.contains(s), qPrintable(s));
}

} // namespace

class TestStampa : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The whole draft, without pauses or with the pause asked for after every section.
    void bozzaCompleta_data()
    {
        QTest::addColumn<long>("intervallo");
        QTest::newRow("senza pause") << 0L;
        QTest::newRow("pausa di 3 secondi") << 3000L;
    }
    void bozzaCompleta()
    {
        QFETCH(long, intervallo);
        Corretta a;
        a.db.esegui(u"INSERT INTO CorsiHandi (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, Handi, NumPersone, "
                    "CodDest1) VALUES ('A', 7, 1, '0002', '0', '0001', 3, '2')"_s);
        RichiestaStampa q = a.richiesta();
        if (intervallo)
            q.intervallo = intervallo;
        const EsitoStampa e = a.stampa(q);
        QCOMPARE(e.stato, EsitoStampa::Stato::Completa);
        QCOMPARE(e.filePdf, a.pdf);
        QCOMPARE(e.nonCompilati, QStringList());
        QCOMPARE(a.dialoghi.testiMessaggi(), QStringList{a.creato(e.filePdf)});
        QCOMPARE(a.dialoghi.messaggi.first().titolo, u"Compilazione File di stampa"_s);
        QCOMPARE(a.r.pause, intervallo ? QList<long>(e.sezioni, intervallo) : QList<long>());
        QCOMPARE(a.r.sezioni, e.sezioni);
        const QStringList pagine = paginePdf(e.filePdf);
        QCOMPARE(pagine.size(), e.pagine);
        QCOMPARE(infoPdf(e.filePdf, u"Pages"_s), QString::number(e.pagine));
        QCOMPARE(infoPdf(e.filePdf, u"Title"_s), u"Proposta Corsi Brivasco - 2009 - primi anni"_s);
        QCOMPARE(infoPdf(e.filePdf, u"Author"_s), u"QUIRDAL - Operatore A 7"_s);
        QCOMPARE(infoPdf(e.filePdf, u"Page size"_s), u"595 x 842 pts (A4)"_s);
        const QString testo = pagine.join(u'\n');
        QVERIFY2(!testo.contains(u'<'), qPrintable(testo.mid(testo.indexOf(u'<') - 40, 80)));
        contiene(testo, kSezioni, {u"SEDE GAMMA"_s}); // another province's site stays out
        // The number on the foot's line, beside the document's name, on every page.
        for (int i = 0; i < pagine.size(); ++i)
            QVERIFY2(pagine[i].contains(QRegularExpression(
                         u"\n *Proposta Corsi Brivasco - 2009 - primi anni - BOZZA +Pagina %1 di %2\n"_s.arg(i + 1).arg(
                             pagine.size()))),
                     qPrintable(pagine[i].right(300)));
    }

    // A draft of one site holds the common sections, then only that site; a draft of one course only it.
    void bozzaParziale_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<int>("sede");
        QTest::addColumn<QString>("corso");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("presenti");
        QTest::addColumn<QStringList>("assenti");
        QTest::newRow("sede occasionale") << u"SO"_s << 1001 << QString() << u"QUIRDAL-A7-AL-Domanda.pdf"_s
                                          << QStringList{u"SEDE INTERESSATA 1001"_s, u"CORSO 0003"_s, u"SOGGETTO PROPONENTE"_s}
                                          << QStringList{u"SEDE INTERESSATA 1\n"_s, u"CORSO 0001"_s, u"CORSO 0002"_s};
        QTest::newRow("componente") << u"UL"_s << 1 << QString() << u"QUIRDAL-A7-AL-Domanda.pdf"_s
                                    << QStringList{u"SEDE INTERESSATA 1"_s, u"CORSO 0001"_s, u"CORSO 0002"_s}
                                    << QStringList{u"SEDE INTERESSATA 1001"_s, u"CORSO 0003"_s};
        QTest::newRow("corso") << QString() << 1 << u"0002"_s << u"Sede1_00020-BozzaCorso.pdf"_s
                               << QStringList{u"SEZIONE 3 - CORSO 0002 / 0 - SEDE 1"_s} << QStringList{u"SOGGETTO PROPONENTE"_s};
    }
    void bozzaParziale()
    {
        QFETCH(QString, tipo);
        QFETCH(int, sede);
        QFETCH(QString, corso);
        QFETCH(QString, file);
        QFETCH(QStringList, presenti);
        QFETCH(QStringList, assenti);
        Corretta a;
        RichiestaStampa q = a.richiesta(corso.isEmpty() ? kModoBozza : kModoBozzaCorso);
        if (corso.isEmpty()) {
            q.tipoSede = tipo;
            q.sede = sede;
        } else {
            q.corso = ChiaveCorso{sede, corso, u"0"_s};
        }
        const EsitoStampa e = a.stampa(q);
        QCOMPARE(e.stato, EsitoStampa::Stato::Completa);
        QCOMPARE(e.filePdf, a.percorso(file));
        const QStringList pagine = paginePdf(e.filePdf);
        contiene(pagine.join(u'\n').replace(QRegularExpression(u" +\n"_s), u"\n"_s), presenti, assenti);
        for (const QString &p : pagine)
            QCOMPARE(p.contains(u"BOZZA CORSO"_s), !corso.isEmpty());
    }

    // A section whose data cannot be read says so and the print goes on with the others.
    void sezioneIlleggibile()
    {
        Corretta a;
        a.db.esegui(u"DROP VIEW QryMetadati"_s);
        a.db.esegui(u"ALTER TABLE Metadati RENAME TO MetadatiAltrove"_s);
        const EsitoStampa e = a.stampa(a.richiesta());
        QCOMPARE(e.stato, EsitoStampa::Stato::Completa);
        const QStringList m = a.dialoghi.testiMessaggi();
        QVERIFY(m.size() > 1);
        QVERIFY2(m.first().startsWith(u"Errore in fase di compilazione file di stampa\r\n"_s), qPrintable(m.first()));
        QCOMPARE(a.dialoghi.messaggi.first().icona, Icona::Critico);
        QCOMPARE(m.last(), a.creato(e.filePdf));
        QVERIFY(testoPdf(e.filePdf).contains(u"SEZIONE 3.4 - CORSO"_s));
    }

    // The final print says the file was made only once the application is locked and the
    // PDF under its name.
    void originaleDueVolteSegnaUnaVolta()
    {
        Corretta a;
        Spia spia;
        QStringList visto;
        spia.alMessaggio = [&](const QString &) {
            visto << (TrasDoma(a.db, a.sessione) ? u"bloccata"_s : u"aperta"_s)
                  << (QFileInfo(a.originale).isFile() ? u"pdf"_s : u"nessun pdf"_s)
                  << (QFile::exists(provvisorio(a.originale)) ? u"provvisorio"_s : u"-"_s);
        };
        Contesto c{a.dir.path(), a.sessione, a.db, a.ini, spia, a.piattaforma, *a.utente};
        const EsitoOriginale prima = stampaOriginale(c, a.r, a.richiesta());
        QCOMPARE(spia.testiMessaggi(), QStringList{a.creato(a.originale)});
        QCOMPARE(visto, (QStringList{u"bloccata"_s, u"pdf"_s, u"-"_s}));
        QCOMPARE(record(a), QStringList());
        QVERIFY(prima.stampa.intera());
        QVERIFY(prima.segnata);
        QVERIFY(TrasDoma(a.db, a.sessione));
        QCOMPARE(a.sessione.gDomandaStampata, VERO);
        QVERIFY(paginePdf(prima.stampa.filePdf).first().contains(u"ORIGINALE"_s));
        const EsitoOriginale seconda = stampaOriginale(*a.contesto, a.r, a.richiesta());
        QCOMPARE(seconda.stampa.stato, EsitoStampa::Stato::Completa);
        QVERIFY(!seconda.segnata);
        QVERIFY(TrasDoma(a.db, a.sessione));
        // A draft printed afterwards goes beside it, never over it.
        const QByteArray archiviato = a.leggi(u"QUIRDAL-A7-AL-Domanda-Originale.pdf"_s);
        const EsitoStampa bozza = a.stampa(a.richiesta());
        QCOMPARE(bozza.filePdf, a.pdf);
        QCOMPARE(a.leggi(u"QUIRDAL-A7-AL-Domanda-Originale.pdf"_s), archiviato);
        QVERIFY(paginePdf(a.pdf).first().contains(u"BOZZA"_s));
    }

    // The final form is archival (PDF/A-1b: its identification and data in the XMP packet,
    // every font embedded); a draft is a plain PDF.
    void originaleInFormatoArchivio_data()
    {
        QTest::addColumn<QString>("modo");
        QTest::newRow("originale") << kModoOriginale;
        QTest::newRow("bozza") << kModoBozza;
    }
    void originaleInFormatoArchivio()
    {
        QFETCH(QString, modo);
        Corretta a;
        const bool originale = modo == kModoOriginale;
        const EsitoStampa e = originale ? stampaOriginale(*a.contesto, a.r, a.richiesta()).stampa : a.stampa(a.richiesta());
        QCOMPARE(e.stato, EsitoStampa::Stato::Completa);
        QCOMPARE(e.filePdf, originale ? a.originale : a.pdf);
        QCOMPARE(infoPdf(e.filePdf, u"Title"_s), u"Proposta Corsi Brivasco - 2009 - primi anni"_s);
        QCOMPARE(infoPdf(e.filePdf, u"Author"_s), u"QUIRDAL - Operatore A 7"_s);
        QCOMPARE(infoPdf(e.filePdf, u"Subject"_s),
                 u"Domanda di finanziamento dei corsi proposti - "_s + modo + u" - Provincia di ALFA"_s);
        QVERIFY2(infoPdf(e.filePdf, u"CreationDate"_s).contains(a.piattaforma.oggi().toString(u"yyyy"_s)),
                 qPrintable(infoPdf(e.filePdf, u"CreationDate"_s)));
        QCOMPARE(infoPdf(e.filePdf, u"PDF version"_s), u"1.4"_s);
        const QStringList font = fontPdf(e.filePdf);
        QVERIFY(!font.isEmpty());
        for (const QString &f : font)
            QVERIFY2(f.split(u' ', Qt::SkipEmptyParts).value(f.split(u' ', Qt::SkipEmptyParts).size() - 5) == u"yes"_s,
                     qPrintable(f));
        const QString xmp = xmpPdf(e.filePdf);
        QCOMPARE(xmp.contains(u"<pdfaid:part>1</pdfaid:part>"_s), originale);
        QCOMPARE(xmp.contains(u"<pdfaid:conformance>B</pdfaid:conformance>"_s), originale);
        if (originale) {
            contiene(xmp,
                     {u"<rdf:li xml:lang=\"x-default\">Proposta Corsi Brivasco - 2009 - primi anni</rdf:li>"_s,
                      u"<rdf:li>QUIRDAL - Operatore A 7</rdf:li>"_s,
                      u"Domanda di finanziamento dei corsi proposti - ORIGINALE - Provincia di ALFA"_s,
                      u"<xmp:CreateDate>"_s + a.piattaforma.oggi().toString(Qt::ISODate)});
        }
    }

    // A final print that did not come out whole leaves the application open.
    void originaleNonInteraNonBlocca_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::newRow("annullata") << u"annullata"_s;
        QTest::newRow("annullata mentre scrive il pdf") << u"annullata nel pdf"_s;
        QTest::newRow("pdf non scrivibile") << u"fallita"_s;
        QTest::newRow("segnaposto non compilato") << u"segnaposto"_s;
        QTest::newRow("un controllo fallisce") << u"controllo"_s;
        QTest::newRow("base dati in uso da un'altra postazione") << u"in uso"_s;
        QTest::newRow("pdf non rinominabile") << u"rinomina"_s;
    }
    void originaleNonInteraNonBlocca()
    {
        QFETCH(QString, caso);
        Corretta a;
        RichiestaStampa q = a.richiesta();
        QString ufficiale = a.originale;
        if (caso == u"annullata"_s)
            a.r.fermaDopo = 5;
        if (caso == u"annullata nel pdf"_s)
            a.r.fermaAllaPagina = 3;
        TemporaneaPropria temporanea;
        if (caso == u"fallita"_s)
            q.filePdf = ufficiale = a.percorso(u"manca/QUIRDAL.pdf"_s);
        if (caso == u"segnaposto"_s) {
            QDir(a.dir.path()).mkdir(u"stampa"_s);
            a.scrivi(u"stampa/_p03Wzq.html"_s, "<html><body><h2>RIEPILOGO</h2><p>&lt;Sconosciuto&gt;</p></body></html>");
        }
        if (caso == u"controllo"_s)
            a.db.esegui(u"UPDATE CorsiOper SET Corrispondenza=NULL"_s);
        // Another workstation holds the write lock; this one gives up at once instead of after its wait.
        CorsiDB altra(u"altra postazione"_s);
        if (caso == u"in uso"_s) {
            altra.apri(a.connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
            altra.iniziaTransazione();
            a.db.impostaAttesa(0);
        }
        // A folder where the PDF should go: the name cannot be given once the lock is taken.
        if (caso == u"rinomina"_s) {
            q.filePdf = ufficiale = a.percorso(u"occupato"_s);
            QDir(a.dir.path()).mkdir(u"occupato"_s);
            a.scrivi(u"occupato/altro.txt"_s, "altro");
        }
        const EsitoOriginale e = stampaOriginale(*a.contesto, a.r, q);
        if (caso == u"in uso"_s)
            altra.annullaTransazione();
        QVERIFY(!e.segnata);
        QVERIFY(!TrasDoma(a.db, a.sessione));
        QCOMPARE(a.sessione.gDomandaStampata, FALSO);
        QVERIFY(!a.sessione.gStampaEseguita);
        // Nothing under the official name, nothing left beside it.
        QVERIFY(!QFileInfo(ufficiale).isFile());
        QVERIFY(!QFile::exists(provvisorio(ufficiale)));
        QCOMPARE(record(a), QStringList());
        QCOMPARE(voci(temporanea.dir.path()), QStringList());
        QVERIFY2(voci(QFileInfo(ufficiale).path()).filter(u"QUIRDAL-"_s).filter(u".pdf"_s).isEmpty(),
                 qPrintable(voci(QFileInfo(ufficiale).path()).join(u' ')));
        QVERIFY(!a.dialoghi.testiMessaggi().join(u'|').contains(u"E' stato creato"_s));
        QCOMPARE(e.stampa.stato, caso.startsWith(u"annullata"_s) ? EsitoStampa::Stato::Annullata : EsitoStampa::Stato::Fallita);
        if (caso == u"fallita"_s || caso == u"rinomina"_s) {
            QCOMPARE(a.dialoghi.messaggi.last().titolo, u"Errore generico"_s);
            QVERIFY(a.dialoghi.ultimo().startsWith(u"Errore "_s));
        }
        if (caso == u"rinomina"_s) {
            QVERIFY(a.dialoghi.ultimo().contains(u"Impossibile scrivere il file "_s + ufficiale + u": "_s));
            QCOMPARE(a.leggi(u"occupato/altro.txt"_s), QByteArray("altro"));
        }
        if (caso == u"segnaposto"_s) {
            QCOMPARE(e.stampa.nonCompilati, QStringList{u"Sconosciuto"_s});
            unMessaggio(a.dialoghi,
                        u"Nella stampa sono rimasti da compilare i campi:\r\n<Sconosciuto>\r\n"
                        "La stampa definitiva non è completa: il file "_s
                            + a.originale + u" non è stato creato."_s,
                        u"Compilazione File di stampa"_s, Icona::Esclamazione);
        }
        if (caso == u"in uso"_s)
            unMessaggio(a.dialoghi, u"La base dati è in uso da un'altra postazione. Riprovare tra qualche istante."_s,
                        u"Compilazione File di stampa"_s, Icona::Esclamazione);
        if (caso == u"controllo"_s)
            QCOMPARE(e.problemi.size(), 1);
    }

    // The final print stopped dead between its steps, as a kill or a power cut would stop it:
    // the application is left either unlocked without its PDF or, once the next start has
    // finished the print, locked with it.
    void originaleInterrotta_data()
    {
        QTest::addColumn<QString>("punto");
        QTest::addColumn<bool>("bloccata");
        QTest::addColumn<bool>("pdfSubito"); // the PDF under its name before the next start
        QTest::newRow("dopo il pdf provvisorio") << u"stampa-provvisoria"_s << false << false;
        QTest::newRow("dopo il blocco") << u"stampa-blocco"_s << true << false;
        QTest::newRow("dopo la rinomina") << u"stampa-rinomina"_s << true << true;
    }
    void originaleInterrotta()
    {
        QFETCH(QString, punto);
        QFETCH(bool, bloccata);
        QFETCH(bool, pdfSubito);
        Corretta a;
        a.db.chiudi();
        QProcess p;
        auto ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(u"QUIRDAL_ARRESTO"_s, punto);
        const QTemporaryDir temporanea, esecuzione;
        ambiente.insert(u"TMPDIR"_s, temporanea.path());
        ambiente.insert(u"XDG_RUNTIME_DIR"_s, esecuzione.path()); // Qt's own, elsewhere
        p.setProcessEnvironment(ambiente);
        p.start(qEnvironmentVariable("QUIRDAL_TEST_CLI"),
                {u"--cartella"_s, a.dir.path(), u"stampa"_s, u"--prov"_s, u"001"_s, u"--grupope"_s, u"A"_s, u"--operatore"_s,
                 u"7"_s, u"--modo"_s, u"ORIGINALE"_s});
        QVERIFY(p.waitForStarted());
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 137); // stopped there, not ended
        // What the stop left: no page of the print in the temporary folder.
        QCOMPARE(voci(temporanea.path()), QStringList());
        a.apriDb();
        QCOMPARE(TrasDoma(a.db, a.sessione), bloccata);
        QCOMPARE(QFile::exists(a.originale), pdfSubito);
        QCOMPARE(QFile::exists(provvisorio(a.originale)), !pdfSubito);
        a.db.chiudi();
        // The next start.
        const QString cartellaCorrente = QDir::currentPath();
        VistaMuta vista;
        Avvio avvio(*a.contesto, vista);
        QVERIFY(!finisce([&] { avvio.esegui(); }));
        QDir::setCurrent(cartellaCorrente);
        QCOMPARE(TrasDoma(a.db, a.sessione), bloccata);
        QCOMPARE(QFile::exists(a.originale), bloccata);
        QVERIFY(!QFile::exists(provvisorio(a.originale)));
        QCOMPARE(record(a), QStringList());
        QCOMPARE(a.dialoghi.testiMessaggi(), bloccata && !pdfSubito ? QStringList{a.creato(a.originale)} : QStringList());
        if (bloccata) {
            const QStringList pagine = paginePdf(a.originale);
            QVERIFY(pagine.size() > 10);
            for (const QString &pg : pagine)
                QVERIFY(pg.contains(u"ORIGINALE"_s));
        }
    }

    // Page folders that older versions left: those of a process that has ended (or unnumbered
    // and a day old) removed by the next print, those of a running process kept.
    void cartellePagineAbbandonate_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<bool>("rimossa");
        QTest::newRow("processo terminato") << u"terminato"_s << true;
        QTest::newRow("processo in corso") << u"in corso"_s << false;
        QTest::newRow("senza numero, di due giorni fa") << u"vecchia"_s << true;
        QTest::newRow("senza numero, recente") << u"recente"_s << false;
    }
    void cartellePagineAbbandonate()
    {
        QFETCH(QString, caso);
        QFETCH(bool, rimossa);
        qint64 pid = QCoreApplication::applicationPid();
        if (caso == u"terminato"_s) {
            QProcess finito;
            finito.start(qEnvironmentVariable("QUIRDAL_TEST_CLI"), {u"--versione"_s});
            QVERIFY(finito.waitForStarted());
            pid = finito.processId();
            QVERIFY(finito.waitForFinished());
        }
        const QString sei = QString::number(QRandomGenerator::global()->bounded(100000, 999999));
        const QString nome = caso == u"terminato"_s || caso == u"in corso"_s ? u"quirdal-stampa-%1-abc%2"_s.arg(pid).arg(sei)
                                                                             : u"quirdal-stampa-"_s + sei;
        Via via;
        const QString cartella = QDir(QDir::tempPath()).filePath(nome);
        via.cartelle << cartella;
        QVERIFY(QDir().mkdir(cartella));
        QVERIFY(scriviFile(cartella + u"/Pagina1.tmp"_s, "BIANCHI MARIA IT60X0542811101000000123456"));
        if (caso == u"vecchia"_s) {
            const time_t dueGiorniFa = QDateTime::currentDateTime().addDays(-2).toSecsSinceEpoch();
            const utimbuf tempi{dueGiorniFa, dueGiorniFa};
            QCOMPARE(::utime(QFile::encodeName(cartella).constData(), &tempi), 0);
        }
        clsCreaPDF pdf;
        QCOMPARE(!QDir(cartella).exists(), rimossa);
    }

    // A draft that fails or is cancelled, while its sections are filled or while its PDF is
    // written, leaves nothing under its name or beside it, and nothing in the temporary folder.
    void nienteDopoUnaStampaNonRiuscita_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::addColumn<int>("stato");
        QTest::newRow("cartella del pdf mancante") << u"mancante"_s << int(EsitoStampa::Stato::Fallita);
        QTest::newRow("annullata nelle sezioni") << u"sezioni"_s << int(EsitoStampa::Stato::Annullata);
        QTest::newRow("annullata nel pdf") << u"pdf"_s << int(EsitoStampa::Stato::Annullata);
    }
    void nienteDopoUnaStampaNonRiuscita()
    {
        QFETCH(QString, caso);
        QFETCH(int, stato);
        Corretta a;
        TemporaneaPropria temporanea;
        const QStringList prima = voci(a.dir.path());
        RichiestaStampa q = a.richiesta();
        if (caso == u"mancante"_s)
            q.filePdf = a.percorso(u"manca/QUIRDAL.pdf"_s);
        if (caso == u"sezioni"_s)
            a.r.fermaDopo = 4;
        if (caso == u"pdf"_s)
            a.r.fermaAllaPagina = 2;
        const EsitoStampa e = MotoreStampa(*a.contesto, a.r).esegui(q);
        QCOMPARE(int(e.stato), stato);
        QCOMPARE(voci(a.dir.path()), prima);
        QCOMPARE(voci(temporanea.dir.path()), QStringList());
    }

    void pdfSenzaNomeNiPagine()
    {
        FakeDialoghi d;
        clsCreaPDF pdf;
        QCOMPARE(pdf.CreatePDF(d, {}, [] {}), clsCreaPDF::Esito::Fallito);
        pdf.FilePDF = u"x.pdf"_s;
        QCOMPARE(pdf.CreatePDF(d, {}, [] {}), clsCreaPDF::Esito::Fallito);
        QCOMPARE(d.testiMessaggi(),
                 (QStringList{u"Il nome del file PDF non è stato impostato.\rImpossibile creare il PDF!"_s,
                              u"Il numero delle pagine create non è stato impostato.\rImpossibile "
                              "creare il PDF!"_s}));
        QCOMPARE(d.messaggi.first().titolo, u"Errore"_s);
        QCOMPARE(d.messaggi.first().icona, Icona::Esclamazione);
    }

    // The command line: the final form refused with the checks' messages, or printed and
    // locked; a draft of a site the application does not print refused.
    void rigaDiComando_data()
    {
        QTest::addColumn<QStringList>("opzioni");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<int>("codice");
        QTest::addColumn<QString>("errore");
        QTest::addColumn<int>("stampata");
        const QStringList originale{u"--modo"_s, u"ORIGINALE"_s};
        QTest::newRow("originale con un problema")
            << originale << u"UPDATE CorsiOper SET Corrispondenza=NULL"_s << 1
            << u"Nella Scheda Operatore deve essere indicato il COMPONENTE RESPONSABILE DELLA CORRISPONDENZA."_s << 0;
        QTest::newRow("originale corretta") << originale << QString() << 0 << QString() << -1;
        QTest::newRow("bozza di una sede che la domanda non ha")
            << QStringList{u"--modo"_s, u"BOZZA"_s, u"--sede"_s, u"5"_s} << QString() << 1
            << u"La sede 5 non ha corsi nella domanda dell'operatore e della provincia indicati.\n"
               "Sedi stampabili: 1, 1001"_s
            << 0;
        QTest::newRow("bozza della sede occasionale")
            << QStringList{u"--modo"_s, u"BOZZA"_s, u"--sede"_s, u"1001"_s} << QString() << 0 << QString() << 0;
    }
    void rigaDiComando()
    {
        QFETCH(QStringList, opzioni);
        QFETCH(QString, sql);
        QFETCH(int, codice);
        QFETCH(QString, errore);
        QFETCH(int, stampata);
        Corretta a;
        if (!sql.isEmpty())
            a.db.esegui(sql);
        a.db.chiudi();
        const EsitoCli e =
            cli(a.dir.path(),
                QStringList{u"stampa"_s, u"--prov"_s, u"001"_s, u"--grupope"_s, u"A"_s, u"--operatore"_s, u"7"_s} + opzioni);
        QCOMPARE(e.codice, codice);
        const QString atteso = opzioni.contains(u"ORIGINALE"_s) ? a.originale : a.pdf;
        QCOMPARE(QFile::exists(atteso), codice == 0);
        QCOMPARE(e.righe(), codice == 0 ? QStringList{atteso} : QStringList());
        if (!errore.isEmpty())
            QVERIFY2(e.err.contains(errore), qPrintable(e.err));
        if (codice == 0 && opzioni.contains(u"--sede"_s))
            contiene(testoPdf(a.pdf), {u"SEDE INTERESSATA 1001"_s}, {u"CORSO 0001"_s});
        a.apriDb();
        QCOMPARE(a.valore(u"SELECT DomandaStampata FROM Installazione WHERE Prov='001'"_s).toInt(), stampata);
    }
};

QTEST_MAIN(TestStampa)
#include "tst_stampa.moc"
