// The print engine: the PDF read back with pdftotext and pdfinfo, the sites a draft holds,
// the pauses, and the final print that locks only when its PDF came out whole.
#include "support/Domanda.h"
#include "support/Pdf.h"
#include "support/RigaDiComando.h"

#include "printing/Stampa.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// Records the pauses, and stops the print after a number of sections when asked to.
struct Registro : AvanzamentoStampa {
    QList<long> pause;
    int sezioni = 0, fermaDopo = -1;
    void pagina(int, const QString &) override { ++sezioni; }
    bool annullata() override { return fermaDopo >= 0 && sezioni >= fermaDopo; }
    void attendi(long ms) override { pause << ms; }
};

// The fixture's application, correct, not printed, with the progress it records.
struct Corretta : Selezionata {
    Registro r;
    const QString pdf = percorso(u"QUIRDAL-A7-AL-Domanda.pdf"_s);
    Corretta() : Selezionata(false)
    {
        db.esegui(u"UPDATE CorsiOper SET LegGGNasc='01', LegMMNasc='02'"_s);
        db.esegui(u"UPDATE CorsiProp SET DataAvvio='01/10/2009'"_s);
    }
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

const QStringList kSezioni = {
    u"DOMANDA DI FINANZIAMENTO"_s, u"OGGETTO: DOMANDA DI FINANZIAMENTO"_s, u"QUADRO RIASSUNTIVO DELLA DOMANDA"_s,
    u"SEZIONE 1 - SOGGETTO PROPONENTE"_s, u"SEZIONE 2 - SEDE INTERESSATA 1"_s, u"SEZIONE 2 - SEDE 1: LABORATORI E ORE"_s,
    u"SEZIONE 3 - CORSO 0001 / 0 - SEDE 1"_s, u"PREVENTIVO DI SPESA"_s, u"RIPARTIZIONE DELLA SPESA"_s,
    u"PARAMETRI DEL CORSO"_s, u"CARATTERISTICHE"_s, u"SEZIONE 3.3 - CORSO"_s, u"INTERVENTI MIRATI"_s,
    u"SEZIONE 3.4 - CORSO"_s, u"SEZIONE 4 - SCHEDA HANDICAP DEL CORSO 0002 / 0 - SEDE 1"_s,
    u"SEZIONE 2 - SEDE INTERESSATA 1001"_s, u"SEZIONE 3 - CORSO 0003 / 0 - SEDE 1001"_s,
    // Values from the database, amounts in the Italian form.
    u"BIANCHI MARIA"_s, u"IT60X0542811101000000123456"_s, u"LABORATORIO INFORMATICO"_s, u"OPERATORE GRAFICO"_s,
    u"RIGA UNO"_s, u"VOCE DUE"_s, u"8,50"_s};

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
        for (int i = 0; i < pagine.size(); ++i)
            QVERIFY2(pagine[i].contains(u"BOZZA"_s) && pagine[i].contains(u"Pagina %1 di %2"_s.arg(i + 1).arg(pagine.size())),
                     qPrintable(QString::number(i + 1)));
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
                               << QStringList{u"SEZIONE 3 - CORSO 0002 / 0 - SEDE 1"_s}
                               << QStringList{u"SOGGETTO PROPONENTE"_s};
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

    void originaleDueVolteSegnaUnaVolta()
    {
        Corretta a;
        const EsitoOriginale prima = stampaOriginale(*a.contesto, a.r, a.richiesta());
        QVERIFY(prima.stampa.intera());
        QVERIFY(prima.segnata);
        QVERIFY(TrasDoma(a.db, a.sessione));
        QCOMPARE(a.sessione.gDomandaStampata, VERO);
        QVERIFY(paginePdf(prima.stampa.filePdf).first().contains(u"ORIGINALE"_s));
        const EsitoOriginale seconda = stampaOriginale(*a.contesto, a.r, a.richiesta());
        QCOMPARE(seconda.stampa.stato, EsitoStampa::Stato::Completa);
        QVERIFY(!seconda.segnata);
        QVERIFY(TrasDoma(a.db, a.sessione));
    }

    // A final print that did not come out whole leaves the application open.
    void originaleNonInteraNonBlocca_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::newRow("annullata") << u"annullata"_s;
        QTest::newRow("pdf non scrivibile") << u"fallita"_s;
        QTest::newRow("segnaposto non compilato") << u"segnaposto"_s;
        QTest::newRow("un controllo fallisce") << u"controllo"_s;
    }
    void originaleNonInteraNonBlocca()
    {
        QFETCH(QString, caso);
        Corretta a;
        RichiestaStampa q = a.richiesta();
        if (caso == u"annullata"_s)
            a.r.fermaDopo = 5;
        if (caso == u"fallita"_s)
            q.filePdf = a.percorso(u"manca/QUIRDAL.pdf"_s);
        if (caso == u"segnaposto"_s) {
            QDir(a.dir.path()).mkdir(u"stampa"_s);
            a.scrivi(u"stampa/_p03Wzq.html"_s, "<html><body><h2>RIEPILOGO</h2><p>&lt;Sconosciuto&gt;</p></body></html>");
        }
        if (caso == u"controllo"_s)
            a.db.esegui(u"UPDATE CorsiOper SET Corrispondenza=NULL"_s);
        const EsitoOriginale e = stampaOriginale(*a.contesto, a.r, q);
        QVERIFY(!e.segnata);
        QVERIFY(!TrasDoma(a.db, a.sessione));
        QCOMPARE(a.sessione.gDomandaStampata, FALSO);
        QVERIFY(!a.sessione.gStampaEseguita);
        if (caso == u"annullata"_s)
            QCOMPARE(e.stampa.stato, EsitoStampa::Stato::Annullata);
        if (caso == u"annullata"_s || caso == u"controllo"_s)
            QVERIFY(!QFile::exists(a.pdf));
        if (caso == u"fallita"_s || caso == u"controllo"_s)
            QCOMPARE(e.stampa.stato, EsitoStampa::Stato::Fallita);
        if (caso == u"fallita"_s) {
            QCOMPARE(a.dialoghi.messaggi.last().titolo, u"Errore generico"_s);
            QVERIFY(a.dialoghi.ultimo().startsWith(u"Errore "_s));
        }
        if (caso == u"segnaposto"_s) {
            QCOMPARE(e.stampa.nonCompilati, QStringList{u"Sconosciuto"_s});
            QCOMPARE(a.dialoghi.ultimo(), u"Nella stampa sono rimasti da compilare i campi:\r\n<Sconosciuto>\r\n"
                                          "La stampa definitiva non è completa."_s);
        }
        if (caso == u"controllo"_s)
            QCOMPARE(e.problemi.size(), 1);
    }

    // The page files live in a folder of their own, gone with the print even after a failure.
    void paginePulite()
    {
        Corretta a;
        RichiestaStampa q = a.richiesta();
        q.filePdf = a.percorso(u"manca/QUIRDAL.pdf"_s);
        QString cartella;
        {
            MotoreStampa m(*a.contesto, a.r);
            cartella = m.pdf().cartellaPagine();
            QCOMPARE(m.esegui(q).stato, EsitoStampa::Stato::Fallita);
            QVERIFY(QDir(cartella).exists());
            QVERIFY(!cartella.startsWith(a.dir.path()));
        }
        QVERIFY(!QDir(cartella).exists());
    }

    void pdfSenzaNomeNiPagine()
    {
        FakeDialoghi d;
        clsCreaPDF pdf;
        QCOMPARE(pdf.CreatePDF(d, {}), clsCreaPDF::Esito::Fallito);
        pdf.FilePDF = u"x.pdf"_s;
        QCOMPARE(pdf.CreatePDF(d, {}), clsCreaPDF::Esito::Fallito);
        QCOMPARE(d.testiMessaggi(), (QStringList{u"Il nome del file PDF non è stato impostato.\rImpossibile creare il PDF!"_s,
                                                 u"Il numero delle pagine create non è stato impostato.\rImpossibile "
                                                 "creare il PDF!"_s}));
        QCOMPARE(d.messaggi.first().titolo, u"Errore"_s);
        QCOMPARE(d.messaggi.first().icona, Icona::Esclamazione);
    }

    // The command line: the final form refused with the checks' messages, or printed and locked.
    void rigaDiComando_data()
    {
        QTest::addColumn<bool>("problema");
        QTest::newRow("con un problema") << true;
        QTest::newRow("corretta") << false;
    }
    void rigaDiComando()
    {
        QFETCH(bool, problema);
        QString cartella, pdf;
        {
            Corretta a;
            if (problema)
                a.db.esegui(u"UPDATE CorsiOper SET Corrispondenza=NULL"_s);
            a.db.chiudi();
            a.dir.setAutoRemove(false);
            cartella = a.dir.path();
            pdf = a.pdf;
        }
        const EsitoCli e = cli(cartella, {u"stampa"_s, u"--prov"_s, u"001"_s, u"--grupope"_s, u"A"_s, u"--operatore"_s,
                                          u"7"_s, u"--modo"_s, u"ORIGINALE"_s});
        QCOMPARE(e.codice, problema ? 1 : 0);
        QCOMPARE(QFile::exists(pdf), !problema);
        QCOMPARE(e.err.contains(u"Nella Scheda Operatore deve essere indicato il COMPONENTE RESPONSABILE DELLA "
                                "CORRISPONDENZA."_s),
                 problema);
        CorsiDB db(u"verifica"_s);
        db.apri(QDir(cartella).filePath(u"QUIRDAL.mdb"_s), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        QCOMPARE(db.valoreScalare(u"SELECT DomandaStampata FROM Installazione WHERE Prov='001'"_s).toInt(), problema ? 0 : -1);
        db.chiudi();
        QDir(cartella).removeRecursively();
    }
};

QTEST_MAIN(TestStampa)
#include "tst_stampa.moc"
