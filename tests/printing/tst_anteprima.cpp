// The print preview on a draft the engine wrote, its pages counted and read back with poppler:
// thumbnails drawn only as they come into view, the keys that move between pages, the search
// and its places marked on the page, the copy of the file, the system's viewer, and an
// application left exactly as it was.
#include "support/Domanda.h"
#include "support/GuidaModali.h"
#include "support/Pdf.h"

#include "printing/Stampa.h"
#include "printing/ui/Anteprima.h"
#include "printing/ui/SchermiStampa.h"
#include "printing/ui/VistaPdf.h"
#include "common/ui/Confine.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace quirdal;
using namespace quirdal::test;

namespace {

struct Bozza : Selezionata {
    QString pdf;
    QStringList pagine; // the text of each page, as poppler reads it
    Bozza() : Selezionata(false)
    {
        domandaStampabile(db);
        RichiestaStampa q;
        q.apriAlTermine = false;
        AvanzamentoStampa silenzioso;
        pdf = MotoreStampa(*contesto, silenzioso).esegui(q).filePdf;
        pagine = paginePdf(pdf);
        dialoghi.messaggi.clear();
    }
    // The pages (from 1) that hold the text, as poppler reads them.
    QList<int> pagineCon(const QString &testo) const
    {
        QList<int> r;
        for (int i = 0; i < pagine.size(); ++i)
            if (pagine.at(i).contains(testo.simplified(), Qt::CaseInsensitive))
                r << i + 1;
        return r;
    }
    QByteArray impronta(const QString &file) const
    {
        return QCryptographicHash::hash(leggiFile(file), QCryptographicHash::Sha256);
    }
};

QString etichetta(QWidget *w, const char *nome) { return trova<QLabel>(w, QString::fromLatin1(nome))->text(); }
QString paginaDi(int n, int di) { return u"Pagina %1 di %2"_s.arg(n).arg(di); }
void clic(QWidget *w, const char *nome) { QTest::mouseClick(trova<QPushButton>(w, QString::fromLatin1(nome)), Qt::LeftButton); }
// A page counted from the start (1, 2 ...) or from the end (-1 the last).
int contata(int n, int pagine) { return n > 0 ? n : pagine + 1 + n; }
VistaPdf *vista(QWidget *f) { return trova<VistaPdf>(f, u"pdfPagina"_s); }
// What the screen shows now, painted at once: the thumbnails and the pages drawn so far.
QList<int> miniatureInVista(frmAnteprima &f)
{
    trova<QListWidget>(&f, u"lstPagine"_s)->viewport()->repaint();
    vista(&f)->viewport()->repaint();
    return f.miniatureDisegnate();
}
// A PDF of many short pages, written straight away.
QString moltePagine(const QString &cartella, int n)
{
    const QString file = cartella + u"/molte.pdf"_s;
    QPdfWriter w(file);
    w.setPageSize(QPageSize(QPageSize::A4));
    QPainter p(&w);
    for (int i = 1; i <= n; ++i) {
        if (i > 1)
            w.newPage();
        p.drawText(QPointF(200, 200), u"Pagina di prova %1"_s.arg(i));
    }
    return file;
}
// The mean colour of a part of the view as the screen shows it.
QColor coloreMedio(const QImage &img, const QRect &r)
{
    qint64 rosso = 0, verde = 0, blu = 0, n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = img.pixelColor(x, y);
            rosso += c.red(), verde += c.green(), blu += c.blue(), ++n;
        }
    return n ? QColor(int(rosso / n), int(verde / n), int(blu / n)) : QColor();
}

} // namespace

class TestAnteprima : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { dimenticaFine(); }

    // Every page of the print is there, as a thumbnail and in the count, and the first shows.
    void pagineEMiniature()
    {
        Bozza a;
        QVERIFY(a.pagine.size() > 3);
        frmAnteprima f(*a.contesto, a.pdf);
        mostra(f);
        QVERIFY(f.caricato());
        QCOMPARE(f.windowTitle(), u"Anteprima di stampa"_s);
        QCOMPARE(etichetta(&f, "lblFile"), u"QUIRDAL-A7-AL-Domanda.pdf"_s);
        QCOMPARE(f.pagine(), a.pagine.size());
        QCOMPARE(etichetta(&f, "lblPagina"), paginaDi(1, int(a.pagine.size())));
        auto *lista = trova<QListWidget>(&f, u"lstPagine"_s);
        QCOMPARE(lista->count(), a.pagine.size());
        QVERIFY(miniatureInVista(f).contains(0));
        QCOMPARE(lista->item(int(a.pagine.size()) - 1)->text(), QString::number(a.pagine.size()));
    }

    // Thumbnails and pages are drawn as they come into view, and only the last ones are kept:
    // a print of thousands of pages opens with a handful drawn.
    void soloInVista_data()
    {
        QTest::addColumn<int>("pagine");
        QTest::addColumn<QList<int>>("tasti");
        QTest::addColumn<QList<int>>("disegnate"); // thumbnails drawn, from 0
        QTest::addColumn<int>("finoA");            // the first page from which none is drawn but those above
        QTest::addColumn<int>("massimo");          // thumbnails drawn at most
        QTest::newRow("8000 pagine all'apertura") << 8000 << QList<int>() << QList<int>{0, 1} << 20 << 20;
        QTest::newRow("8000 pagine, Fine") << 8000 << QList<int>{Qt::Key_End} << QList<int>{0, 7998, 7999} << 20 << 40;
        QTest::newRow("8000 pagine, Fine, Inizio")
            << 8000 << QList<int>{Qt::Key_End, Qt::Key_Home} << QList<int>{0, 7999} << 20 << 40;
        QTest::newRow("300 pagine una a una") << 300 << QList<int>(300, Qt::Key_PageDown) << QList<int>{280, 299} << 300 << 120;
    }
    void soloInVista()
    {
        QFETCH(int, pagine);
        QFETCH(QList<int>, tasti);
        QFETCH(QList<int>, disegnate);
        QFETCH(int, finoA);
        QFETCH(int, massimo);
        Ambiente a;
        frmAnteprima f(*a.contesto, moltePagine(a.dir.path(), pagine));
        mostra(f);
        QCOMPARE(f.pagine(), pagine);
        QList<int> viste = miniatureInVista(f);
        for (int k : tasti) {
            QTest::keyClick(vista(&f), Qt::Key(k));
            viste = miniatureInVista(f);
        }
        for (int p : disegnate)
            QVERIFY2(viste.contains(p), qPrintable(QString::number(p)));
        QVERIFY2(viste.size() <= massimo, qPrintable(QString::number(viste.size())));
        for (int p : viste)
            QVERIFY2(p < finoA || p >= pagine - 20, qPrintable(QString::number(p)));
        // At reading size, the page shown and a few drawn last.
        const QList<int> lette = vista(&f)->pagineDisegnate();
        QVERIFY(lette.contains(f.pagina()));
        QVERIFY2(lette.size() <= 16, qPrintable(QString::number(lette.size())));
    }

    // The keys and buttons move by page and stop at the first and the last.
    void navigazione_data()
    {
        QTest::addColumn<QList<int>>("tasti");
        QTest::addColumn<QStringList>("pulsanti");
        QTest::addColumn<int>("attesa"); // from 1, or from the end when negative
        QTest::newRow("PgGiù") << QList<int>{Qt::Key_PageDown} << QStringList() << 2;
        QTest::newRow("PgGiù due volte, PgSu")
            << QList<int>{Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp} << QStringList() << 2;
        QTest::newRow("PgSu sulla prima") << QList<int>{Qt::Key_PageUp} << QStringList() << 1;
        QTest::newRow("Fine") << QList<int>{Qt::Key_End} << QStringList() << -1;
        QTest::newRow("Fine, PgGiù") << QList<int>{Qt::Key_End, Qt::Key_PageDown} << QStringList() << -1;
        QTest::newRow("Fine, PgSu") << QList<int>{Qt::Key_End, Qt::Key_PageUp} << QStringList() << -2;
        QTest::newRow("Fine, Inizio") << QList<int>{Qt::Key_End, Qt::Key_Home} << QStringList() << 1;
        QTest::newRow("successiva due volte") << QList<int>() << QStringList{u"cmdSuccessiva"_s, u"cmdSuccessiva"_s} << 3;
        QTest::newRow("Fine, precedente") << QList<int>{Qt::Key_End} << QStringList{u"cmdPrecedente"_s} << -2;
        QTest::newRow("precedente sulla prima") << QList<int>() << QStringList{u"cmdPrecedente"_s} << 1;
    }
    void navigazione()
    {
        QFETCH(QList<int>, tasti);
        QFETCH(QStringList, pulsanti);
        QFETCH(int, attesa);
        Bozza a;
        frmAnteprima f(*a.contesto, a.pdf);
        mostra(f);
        for (int k : tasti)
            QTest::keyClick(vista(&f), Qt::Key(k));
        for (const QString &p : pulsanti)
            clic(&f, p.toLatin1().constData());
        const int n = int(a.pagine.size());
        const int pagina = contata(attesa, n);
        QCOMPARE(f.pagina() + 1, pagina);
        QCOMPARE(etichetta(&f, "lblPagina"), paginaDi(pagina, n));
        QCOMPARE(trova<QListWidget>(&f, u"lstPagine"_s)->currentRow() + 1, pagina);
    }

    // A click on a thumbnail shows its page.
    void clicSullaMiniatura()
    {
        Bozza a;
        frmAnteprima f(*a.contesto, a.pdf);
        mostra(f);
        auto *lista = trova<QListWidget>(&f, u"lstPagine"_s);
        const QRect r = lista->visualItemRect(lista->item(2));
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(f.pagina(), 2);
        QCOMPARE(etichetta(&f, "lblPagina"), paginaDi(3, int(a.pagine.size())));
    }

    // The search goes to the first page holding the text (the last, going backwards), marks
    // it there over its very letters, and says when it is nowhere.
    void cerca_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QStringList>("pulsanti");
        QTest::addColumn<bool>("ultima"); // the last page holding it rather than the first
        QTest::addColumn<QString>("risultati");
        QTest::newRow("preventivo") << u"PREVENTIVO DI SPESA"_s << QStringList{u"cmdCercaSucc"_s} << false << u"1 di "_s;
        QTest::newRow("spazi in più") << u"  PREVENTIVO   DI  SPESA "_s << QStringList{u"cmdCercaSucc"_s} << false << u"1 di "_s;
        QTest::newRow("minuscole") << u"operatore grafico"_s << QStringList{u"cmdCercaSucc"_s} << false << u"1 di "_s;
        QTest::newRow("voce di spesa") << u"VOCE DUE"_s << QStringList{u"cmdCercaSucc"_s} << false << u"1 di "_s;
        QTest::newRow("corsi all'indietro") << u"SEZIONE 3 - CORSO"_s << QStringList{u"cmdCercaPrec"_s} << true << QString();
        QTest::newRow("sede occasionale") << u"SEDE INTERESSATA 1001"_s << QStringList{u"cmdCercaSucc"_s} << false << u"1 di "_s;
        QTest::newRow("assente") << u"ZZZ NON C'E'"_s << QStringList{u"cmdCercaSucc"_s} << false << u"Testo non trovato"_s;
    }
    void cerca()
    {
        QFETCH(QString, testo);
        QFETCH(QStringList, pulsanti);
        QFETCH(bool, ultima);
        QFETCH(QString, risultati);
        Bozza a;
        const QList<int> dove = a.pagineCon(testo);
        frmAnteprima f(*a.contesto, a.pdf);
        mostra(f);
        digita(&f, u"txtCerca"_s, testo);
        for (const QString &p : pulsanti)
            clic(&f, p.toLatin1().constData());
        const int attesa = dove.isEmpty() ? 1 : ultima ? dove.last() : dove.first();
        if (!dove.isEmpty())
            QVERIFY2(attesa > 1, "il testo cercato deve stare oltre la prima pagina");
        QVERIFY2(dove.isEmpty() == (risultati == u"Testo non trovato"_s), "poppler deve trovare il testo cercato");
        if (ultima)
            QVERIFY2(dove.size() > 1, "all'indietro serve un testo su più pagine");
        QCOMPARE(f.pagina() + 1, attesa);
        QCOMPARE(etichetta(&f, "lblPagina"), paginaDi(attesa, int(a.pagine.size())));
        const QString contati = etichetta(&f, "lblRisultati");
        QVERIFY2(contati.startsWith(risultati), qPrintable(contati));
        if (dove.isEmpty())
            return;
        // The place found, in view on its page: orange over it, and its letters beneath.
        VistaPdf *v = vista(&f);
        const QList<QRectF> zone = v->zoneSegno(contati.section(u' ', 0, 0).toInt() - 1);
        QVERIFY(!zone.isEmpty());
        const QRect zona = v->inVista(f.pagina(), zone.first()).toRect();
        QVERIFY2(v->viewport()->rect().contains(zona) && v->rettangoloPagina(f.pagina()).contains(zona),
                 qPrintable(u"%1,%2 %3x%4"_s.arg(zona.x()).arg(zona.y()).arg(zona.width()).arg(zona.height())));
        const QColor segnata = coloreMedio(v->viewport()->grab().toImage(), zona);
        QVERIFY2(segnata.red() - segnata.blue() > 60, qPrintable(segnata.name()));
        digita(&f, u"txtCerca"_s, QString());
        clic(&f, "cmdCercaSucc");
        const QColor libera = coloreMedio(v->viewport()->grab().toImage(), zona);
        QVERIFY2(std::abs(libera.red() - libera.blue()) < 10 && libera.red() < 235, qPrintable(libera.name()));
    }

    // Enter in the field runs the search, and each next result comes after the one before,
    // back to the first after the last.
    void risultatiInOrdine()
    {
        Bozza a;
        const QString testo = u"SEZIONE 3 - CORSO"_s;
        const QList<int> dove = a.pagineCon(testo);
        QVERIFY(dove.size() >= 2);
        frmAnteprima f(*a.contesto, a.pdf);
        mostra(f);
        digita(&f, u"txtCerca"_s, testo);
        QTest::keyClick(trova<QLineEdit>(&f, u"txtCerca"_s), Qt::Key_Return);
        QList<int> visitate{f.pagina() + 1};
        const QString primo = etichetta(&f, "lblRisultati");
        QVERIFY(primo.startsWith(u"1 di "_s));
        const int n = primo.mid(5).toInt();
        for (int i = 1; i < n; ++i) {
            clic(&f, "cmdCercaSucc");
            visitate << f.pagina() + 1;
        }
        QList<int> uniche = visitate;
        uniche.erase(std::unique(uniche.begin(), uniche.end()), uniche.end());
        QCOMPARE(uniche, dove);
        clic(&f, "cmdCercaSucc");
        QCOMPARE(etichetta(&f, "lblRisultati"), u"1 di "_s + QString::number(n));
        QCOMPARE(f.pagina() + 1, dove.first());
    }

    // "Salva una copia" writes the very same bytes elsewhere, and never over the print itself.
    void salvaCopia_data()
    {
        QTest::addColumn<QString>("nome"); // "" cancels; "=" the print's own path
        QTest::addColumn<bool>("scritta");
        QTest::addColumn<QString>("messaggio");
        QTest::newRow("nuovo file") << u"copia.pdf"_s << true << u"Copia salvata in "_s;
        QTest::newRow("sopra un file esistente") << u"vecchia.pdf"_s << true << u"Copia salvata in "_s;
        QTest::newRow("la stampa stessa") << u"="_s << false
                                          << u"Il file scelto è la stampa stessa: scegliere un altro nome per la copia."_s;
        QTest::newRow("la stampa per altra via") << u"./sotto/../QUIRDAL-A7-AL-Domanda.pdf"_s << false
                                                 << u"Il file scelto è la stampa stessa: scegliere un altro nome per la copia."_s;
        QTest::newRow("annullato") << QString() << false << QString();
    }
    void salvaCopia()
    {
        QFETCH(QString, nome);
        QFETCH(bool, scritta);
        QFETCH(QString, messaggio);
        Bozza a;
        QVERIFY(QDir(a.dir.path()).mkdir(u"sotto"_s));
        QVERIFY(a.scrivi(u"vecchia.pdf"_s, "vecchio"));
        const QByteArray originale = a.leggi(QFileInfo(a.pdf).fileName());
        const QString destinazione = nome.isEmpty() ? QString() : nome == u"="_s ? a.pdf : a.percorso(nome);
        a.dialoghi.file.enqueue(destinazione);
        frmAnteprima f(*a.contesto, a.pdf);
        mostra(f);
        clic(&f, "cmdSalva");
        QCOMPARE(leggiFile(a.pdf), originale);
        if (scritta)
            QCOMPARE(leggiFile(destinazione), originale);
        QCOMPARE(a.dialoghi.testiMessaggi(),
                 messaggio.isEmpty() ? QStringList()
                     : scritta       ? QStringList{messaggio + destinazione}
                                     : QStringList{messaggio});
        // Nothing half-written left beside the print.
        QCOMPARE(QDir(a.dir.path()).entryList({u"*.tmp"_s}, QDir::Files), QStringList());
    }

    // The system's viewer opens the print itself.
    void visualizzatoreDiSistema()
    {
        Bozza a;
        frmAnteprima f(*a.contesto, a.pdf);
        mostra(f);
        clic(&f, "cmdApri");
        QCOMPARE(a.piattaforma.aperti, QStringList{a.pdf});
        QCOMPARE(a.dialoghi.testiMessaggi(), QStringList());
    }

    // Looking at a draft, moving, searching, copying: the application and its database stay as they were.
    void statoInvariato()
    {
        Bozza a;
        const auto stampata = a.sessione.gDomandaStampata;
        const bool trasmessa = TrasDoma(a.db, a.sessione);
        const QByteArray db = a.impronta(a.percorsoDb());
        a.dialoghi.file.enqueue(a.percorso(u"copia.pdf"_s));
        {
            frmAnteprima f(*a.contesto, a.pdf);
            mostra(f);
            QTest::keyClick(vista(&f), Qt::Key_End);
            digita(&f, u"txtCerca"_s, u"BIANCHI"_s);
            clic(&f, "cmdCercaSucc");
            clic(&f, "cmdZoomPiu");
            clic(&f, "cmdSalva");
            clic(&f, "cmdChiudi");
            QVERIFY(!f.isVisible());
        }
        QCOMPARE(a.sessione.gDomandaStampata, stampata);
        QCOMPARE(TrasDoma(a.db, a.sessione), trasmessa);
        QCOMPARE(a.impronta(a.percorsoDb()), db);
    }

    // A print that does not read as a PDF goes to the system's viewer, as without the preview.
    void fileIlleggibile()
    {
        Bozza a;
        QVERIFY(a.scrivi(u"rotto.pdf"_s, "%PDF-1.4 non un documento"));
        GuidaModali guida;
        mostraStampa(*a.contesto, a.percorso(u"rotto.pdf"_s), nullptr);
        QCOMPARE(guida.aperte, QStringList());
        QCOMPARE(a.piattaforma.aperti, QStringList{a.percorso(u"rotto.pdf"_s)});
    }

    // The draft of one course opens in the preview once written, not in the system's viewer.
    void bozzaCorsoInAnteprima()
    {
        Bozza a;
        a.sessione.impostaSede(u"1"_s);
        int pagine = -1;
        GuidaModali guida({[](QDialog *) {},
                           [&](QDialog *d) {
                               pagine = static_cast<frmAnteprima *>(d)->pagine();
                               QTimer::singleShot(0, d, [d] { clic(d, "cmdChiudi"); });
                           }});
        stampaBozzaCorso(*a.contesto, {1, u"0001"_s, u"1"_s}, nullptr);
        QCOMPARE(guida.aperte, (QStringList{u"ViewStam"_s, u"frmAnteprima"_s}));
        QCOMPARE(guida.chiuseForzate, 0);
        QCOMPARE(pagine, paginePdf(a.percorso(u"Sede1_00011-BozzaCorso.pdf"_s)).size());
        QCOMPARE(a.piattaforma.aperti, QStringList());
    }
};

QTEST_MAIN(TestAnteprima)
#include "tst_anteprima.moc"
