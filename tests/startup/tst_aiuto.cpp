// The help: every topic a screen opens (its "Aiuto" button on each tab, F1, the topics the
// sources name) is in the help and speaks of that screen; every picture it shows is there;
// every message and caption it quotes is the program's own; the window's contents, search
// and memory of its place.
#include "application/ui/SchermiSelezione.h"
#include "application/ui/SelOpe.h"
#include "common/ui/Aiuto.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "config/Impostazioni.h"
#include "config/ui/FrmImpostazioni.h"
#include "config/ui/FrmOpzioni.h"
#include "config/ui/FrmServerClient.h"
#include "courses/ui/Corsi.h"
#include "courses/ui/Handi.h"
#include "courses/ui/Riass.h"
#include "loading/ui/FrmInstOper.h"
#include "operator/ui/Componen.h"
#include "operator/ui/FrmSedeLeg.h"
#include "operator/ui/Operator.h"
#include "operator/ui/Scelte.h"
#include "printing/ui/SchermiStampa.h"
#include "startup/ui/Applicazione.h"
#include "startup/ui/MainForm.h"
#include "support/Ambiente.h"
#include "support/GuidaModali.h"
#include "support/ui/FrmBackup.h"
#include "support/ui/FrmEmail.h"
#include "support/ui/FrmMailAggInst.h"
#include "transmission/ui/SchermiInternet.h"

#include <QAbstractTextDocumentLayout>
#include <QDirIterator>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>

using namespace quirdal;
using namespace quirdal::test;

namespace {

QString sorgenti() { return qEnvironmentVariable("QUIRDAL_SORGENTI"); }
QString fileAiutoSorgente() { return sorgenti() + u"/data/QUIRDAL.html"_s; }
QString testo(const QString &percorso) { return QString::fromUtf8(leggiFile(percorso)); }

// A program folder with the help of this tree (its pictures are checked on their own), and a
// province with the data of section 3.3, so that the course sheet stays open.
struct ConAiuto : Pronto {
    ConAiuto()
    {
        QFile::remove(percorso(u"QUIRDAL.html"_s));
        QVERIFY(QFile::copy(fileAiutoSorgente(), percorso(u"QUIRDAL.html"_s)));
        sessione.gFileHelp = percorso(u"QUIRDAL.html"_s);
        sessione.gProv = u"001"_s;
        db.esegui(u"INSERT INTO Legami (Prov, ID) VALUES ('001', 1)"_s);
    }
};

// Every screen that has a topic, built as its menu entry builds it (without loading data).
std::unique_ptr<QWidget> schermata(const QString &nome, Contesto &c)
{
    if (nome == "MDI_Main"_L1)
        return std::make_unique<MDI_Main>(c);
    if (nome == "Frm_Impostazioni"_L1)
        return std::make_unique<Frm_Impostazioni>(c);
    if (nome == "frmServerClient"_L1)
        return std::make_unique<frmServerClient>(c);
    if (nome == "frmOpzioni"_L1)
        return std::make_unique<frmOpzioni>(c);
    if (nome == "Operator"_L1)
        return std::make_unique<Operator>(c);
    if (nome == "FrmSedeLeg"_L1)
        return std::make_unique<FrmSedeLeg>(c);
    if (nome == "Componen"_L1)
        return std::make_unique<Componen>(c);
    if (nome == "FrmEleSedi"_L1)
        return std::make_unique<FrmEleSedi>(c);
    if (nome == "TabComu"_L1)
        return TabComu(c);
    if (nome == "Corsi"_L1)
        return std::make_unique<Corsi>(c);
    if (nome == "FrmTesto"_L1)
        return std::make_unique<FrmTesto>(c);
    if (nome == "frmHandi"_L1)
        return std::make_unique<frmHandi>(c);
    if (nome == "Riass"_L1)
        return std::make_unique<Riass>(c);
    if (nome == "SelOpe"_L1)
        return std::make_unique<SelOpe>(c);
    if (nome == "frmSelDomanda"_L1)
        return std::make_unique<frmSelDomanda>(c);
    if (nome == "frmRiepDomanda"_L1)
        return std::make_unique<frmRiepDomanda>(c);
    if (nome == "SelComp"_L1)
        return std::make_unique<SelComp>(c);
    if (nome == "StTrasm"_L1)
        return std::make_unique<StTrasm>(c);
    if (nome == "Invia"_L1)
        return std::make_unique<Invia>(c);
    if (nome == "Trasmis"_L1)
        return std::make_unique<Trasmis>(c);
    if (nome == "FrmnReg"_L1)
        return std::make_unique<FrmnReg>(c, u"001"_s);
    if (nome == "frmInet"_L1)
        return std::make_unique<frmInet>(c);
    if (nome == "FrmProxy"_L1)
        return std::make_unique<FrmProxy>(c);
    if (nome == "frmInstOper"_L1)
        return std::make_unique<frmInstOper>(c);
    if (nome == "frmBackup"_L1)
        return std::make_unique<frmBackup>(c);
    if (nome == "frmEmail"_L1)
        return std::make_unique<frmEmail>(c);
    if (nome == "frmMailAggInst"_L1)
        return std::make_unique<frmMailAggInst>(c);
    qFatal("schermata %s sconosciuta", qPrintable(nome));
}

// The help window the screen opened, on top of it.
FinestraAiuto *aiutoDi(QWidget *w)
{
    auto *f = w->findChild<FinestraAiuto *>();
    return f && f->isVisible() ? f : nullptr;
}

// The heading of a topic in the help window's document, empty when the help lacks it.
QString titolo(FinestraAiuto *f, int argomento)
{
    const QString ancora = u"t%1"_s.arg(argomento);
    const QTextDocument *d = trova<QTextBrowser>(f, u"brwAiuto"_s)->document();
    for (QTextBlock b = d->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(ancora))
                return b.text().trimmed();
    return {};
}

// What the sources say to the user: the contents of every string literal of a file, in
// order, joined (so that a message written as several literals reads whole), blanks as one.
QString letterali(const QString &s)
{
    QString r;
    const qsizetype n = s.size();
    auto fuga = [](QChar c) {
        switch (c.unicode()) {
        case 'n':
            return QChar(u'\n');
        case 't':
            return QChar(u'\t');
        case 'r':
            return QChar(u'\r');
        default:
            return c;
        }
    };
    for (qsizetype i = 0; i < n;) {
        const QChar c = s[i];
        if (c == u'/' && i + 1 < n && s[i + 1] == u'/') {
            while (i < n && s[i] != u'\n')
                ++i;
        } else if (c == u'/' && i + 1 < n && s[i + 1] == u'*') {
            const qsizetype fine = s.indexOf(u"*/"_s, i + 2);
            i = fine < 0 ? n : fine + 2;
        } else if (c == u'R' && i + 1 < n && s[i + 1] == u'"') {
            const qsizetype aperta = s.indexOf(u'(', i + 2);
            const QString chiusura = u')' + s.mid(i + 2, aperta - i - 2) + u'"';
            const qsizetype fine = s.indexOf(chiusura, aperta + 1);
            r += s.mid(aperta + 1, fine - aperta - 1);
            i = fine + chiusura.size();
        } else if (c == u'"' || c == u'\'') {
            // A string, or a character literal (whose quote is no string's start).
            QString letto;
            for (++i; i < n && s[i] != c; ++i) {
                if (s[i] == u'\\' && i + 1 < n)
                    letto += fuga(s[++i]);
                else
                    letto += s[i];
            }
            ++i;
            if (c == u'"')
                r += letto;
        } else {
            ++i;
        }
    }
    return r.simplified();
}

// The quotes of the help, message and caption pieces (a part in <i> is where the program puts
// a value), entities read, blanks as one.
QStringList citazioni(const QString &html)
{
    static const QRegularExpression span(u"<span\\s+class=\"(msg|ui)\">(.*?)</span>"_s,
                                         QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression variabile(u"<i>.*?</i>"_s, QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tag(u"<[^>]*>"_s);
    static const QRegularExpression commento(u"<!--.*?-->"_s, QRegularExpression::DotMatchesEverythingOption);
    QStringList r;
    for (auto m = span.globalMatch(QString(html).remove(commento)); m.hasNext();) {
        QString t = m.next().captured(2);
        t.replace(variabile, u"\x01"_s).replace(tag, u"\x01"_s);
        for (QString pezzo : t.split(u'\x01')) {
            pezzo.replace(u"&lt;"_s, u"<"_s).replace(u"&gt;"_s, u">"_s).replace(u"&quot;"_s, u"\""_s).replace(u"&amp;"_s, u"&"_s);
            pezzo = pezzo.simplified();
            if (!pezzo.isEmpty())
                r << pezzo;
        }
    }
    return r;
}

QStringList fileSorgenti()
{
    QStringList r;
    QDirIterator it(sorgenti() + u"/src"_s, {u"*.cpp"_s, u"*.h"_s}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        r << it.next();
    r.sort();
    return r;
}

} // namespace

class TestAiuto : public QObject {
    Q_OBJECT
    QStringList m_argomenti; // the topics the help holds, from its anchors

private Q_SLOTS:
    void initTestCase()
    {
        static const QRegularExpression ancora(u"<a name=\"(t\\d+)\">"_s);
        for (auto m = ancora.globalMatch(testo(fileAiutoSorgente())); m.hasNext();)
            m_argomenti << m.next().captured(1);
        QVERIFY(m_argomenti.size() > 40);
    }
    void cleanup() { dimenticaFine(); }

    // Each "Aiuto" button, on each tab of its screen, opens its topic, and the topic's heading
    // names that screen or tab.
    void pulsantiAiuto_data()
    {
        colonne<QString, QString, int, QStringList>("schermata", "pulsante", "argomento", "titoli");
        QTest::newRow("menu principale") << "MDI_Main"
                                         << "cmdHelp" << 10000 << QStringList{"Menu principale"};
        QTest::newRow("impostazioni") << "Frm_Impostazioni"
                                      << "cmdHelp" << 15000 << QStringList{"Impostazioni modalità di funzionamento"};
        QTest::newRow("operatore") << "Operator"
                                   << "cmdAiuto" << 11000
                                   << QStringList{"Sezioni 1.1 - 1.2", "Sezioni 1.3, 1.4, 1.5", "Domanda precedente"};
        QTest::newRow("sede legale") << "FrmSedeLeg"
                                     << "cmdAiuto" << 12000 << QStringList{"Sede Legale"};
        QTest::newRow("sedi interessate") << "Componen"
                                          << "cmdAiuto" << 13000 << QStringList{"Sez. 2.1", "Sez. 2.2/2.3", "Sez. 2.4"};
        QTest::newRow("corsi") << "Corsi"
                               << "cmdAiuto" << 14000 << QStringList{"Sez. 3.1", "Sez. 3.2", "Sez. 3.3", "Sez. 3.4"};
        QTest::newRow("riassegnazione") << "Riass"
                                        << "cmdAiuto" << 17000 << QStringList{"Riassegnazione Corsi"};
        QTest::newRow("riepilogo") << "frmRiepDomanda"
                                   << "cmdAiuto" << 10300 << QStringList{"Riepilogo Domanda"};
        QTest::newRow("invio") << "frmInet"
                               << "cmdAiuto" << 19000 << QStringList{"Invio delle domande"};
    }
    void pulsantiAiuto()
    {
        QFETCH(QString, schermata);
        QFETCH(QString, pulsante);
        QFETCH(int, argomento);
        QFETCH(QStringList, titoli);
        ConAiuto amb;
        const auto w = ::schermata(schermata, *amb.contesto);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QApplication::processEvents();
        auto *schede = w->findChild<QTabWidget *>(u"SSTab1"_s);
        // A tab without a topic of its own would open a topic of another screen.
        QCOMPARE(schede ? schede->count() : 1, titoli.size());
        for (int i = 0; i < titoli.size(); ++i) {
            if (schede)
                schede->setCurrentIndex(i);
            clicca(w.get(), pulsante);
            FinestraAiuto *f = aiutoDi(w.get());
            QVERIFY2(f, qPrintable(schermata));
            QCOMPARE(f->argomento(), argomento + i);
            QVERIFY2(titolo(f, argomento + i).contains(titoli[i]),
                     qPrintable(u"t%1: \"%2\""_s.arg(argomento + i).arg(titolo(f, argomento + i))));
        }
        QVERIFY(!amb.dialoghi.testiMessaggi().contains(u"File di Aiuto non presente"_s));
    }

    // F1 on a screen: the screen's own button where it has one, otherwise its topic (of the
    // tab in use); both reach the help window the same way.
    void tastoF1_data()
    {
        colonne<QString, int, int, QString>("schermata", "scheda", "argomento", "titolo");
        QTest::newRow("operatore, seconda scheda") << "Operator" << 1 << 11001 << "Sezioni 1.3, 1.4, 1.5";
        QTest::newRow("corsi, preventivo") << "Corsi" << 1 << 14001 << "Sez. 3.2";
        QTest::newRow("sede legale") << "FrmSedeLeg" << -1 << 12000 << "Sede Legale";
        QTest::newRow("selezione operatore") << "SelOpe" << -1 << 10100 << "Selezione Operatore";
        QTest::newRow("selezione domanda") << "frmSelDomanda" << -1 << 10200 << "Selezione Domanda";
        QTest::newRow("numero domanda") << "FrmnReg" << -1 << 10210 << "Recupero numero Domanda";
        QTest::newRow("selezione sede") << "SelComp" << -1 << 10400 << "Selezione SEDE INTERESSATA";
        QTest::newRow("opzioni") << "frmOpzioni" << -1 << 10500 << "Opzioni";
        QTest::newRow("comuni") << "TabComu" << -1 << 11100 << "Tabelle di scelta";
        QTest::newRow("elenco sedi") << "FrmEleSedi" << -1 << 13100 << "Elenco Sedi Interessate";
        QTest::newRow("testo descrittivo") << "FrmTesto" << -1 << 14400 << "Testo Descrittivo";
        QTest::newRow("versione") << "frmServerClient" << -1 << 15100 << "Versione dell'applicativo";
        QTest::newRow("schede handicap") << "frmHandi" << -1 << 16000 << "Schede Handicap";
        QTest::newRow("stampa e invio") << "StTrasm" << -1 << 18000 << "Stampa / Invio Domanda";
        QTest::newRow("conferma invio") << "Invia" << -1 << 18300 << "Invio domanda";
        QTest::newRow("stampa originale e invio") << "Trasmis" << -1 << 18400 << "Invio Domanda";
        QTest::newRow("proxy") << "FrmProxy" << -1 << 19100 << "Impostazione Proxy";
        QTest::newRow("scarico operatori") << "frmInstOper" << -1 << 20100 << "Selezione Operatori";
        QTest::newRow("salvataggio") << "frmBackup" << 0 << 30000 << "Salvataggio Dati";
        QTest::newRow("recupero") << "frmBackup" << 1 << 30001 << "Recupero Dati";
        QTest::newRow("assistenza") << "frmEmail" << -1 << 31000 << "Contatta l'assistenza";
        QTest::newRow("indirizzo e-mail") << "frmMailAggInst" << -1 << 31200 << "Indirizzo e-mail";
    }
    void tastoF1()
    {
        QFETCH(QString, schermata);
        QFETCH(int, scheda);
        QFETCH(int, argomento);
        QFETCH(QString, titolo);
        ConAiuto amb;
        const std::unique_ptr<QObject> aiuto = installaAiuto(*amb.contesto);
        const auto w = ::schermata(schermata, *amb.contesto);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QApplication::processEvents();
        if (scheda >= 0)
            trova<QTabWidget>(w.get(), u"SSTab1"_s)->setCurrentIndex(scheda);
        QTest::keyClick(w.get(), Qt::Key_F1);
        FinestraAiuto *f = aiutoDi(w.get());
        QVERIFY(f);
        QCOMPARE(f->argomento(), argomento);
        QVERIFY2(::titolo(f, argomento).contains(titolo), qPrintable(::titolo(f, argomento)));
        // F1 in the help window itself opens nothing else.
        QTest::keyClick(f, Qt::Key_F1);
        QCOMPARE(w->findChildren<FinestraAiuto *>().size(), 1);
        QCOMPARE(f->argomento(), argomento);
    }

    // Without the help file F1 says so, on a screen with its own button and on one without.
    void fileAiutoMancante_data()
    {
        QTest::addColumn<QString>("schermata");
        QTest::newRow("con pulsante") << "Riass";
        QTest::newRow("senza pulsante") << "frmBackup";
    }
    void fileAiutoMancante()
    {
        QFETCH(QString, schermata);
        Pronto amb;
        amb.sessione.gFileHelp = amb.percorso(u"manca.html"_s);
        const std::unique_ptr<QObject> aiuto = installaAiuto(*amb.contesto);
        const auto w = ::schermata(schermata, *amb.contesto);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTest::keyClick(w.get(), Qt::Key_F1);
        unMessaggio(amb.dialoghi, u"File di Aiuto non presente"_s, u"Aiuto"_s, Icona::Informazione);
        QVERIFY(!aiutoDi(w.get()));
    }

    // Every topic number the sources open, and every topic of the screens without a button,
    // is in the help. A new call of mostraAiuto outside the screens driven above fails here
    // until its screen is added to them.
    void argomentiDeiSorgenti()
    {
        static const QRegularExpression chiamata(u"(?:mostraAiuto\\([^,;]*,\\s*|apriAiuto\\()(\\d+)"_s);
        const QStringList conosciuti{u"startup/ui/MainForm.cpp"_s,
                                     u"startup/MenuPrincipale.cpp"_s,
                                     u"startup/ui/Applicazione.cpp"_s,
                                     u"config/ui/FrmImpostazioni.cpp"_s,
                                     u"operator/ui/Operator.cpp"_s,
                                     u"operator/ui/FrmSedeLeg.cpp"_s,
                                     u"operator/ui/Componen.cpp"_s,
                                     u"courses/ui/Corsi.cpp"_s,
                                     u"courses/ui/Riass.cpp"_s,
                                     u"application/ui/SchermiSelezione.cpp"_s,
                                     u"transmission/ui/SchermiInternet.cpp"_s};
        QList<int> numeri = argomentiSchermi();
        for (const QString &f : fileSorgenti()) {
            const QString relativo = QDir(sorgenti() + u"/src"_s).relativeFilePath(f);
            if (relativo.startsWith(u"common/ui/"_s))
                continue;
            const QString s = testo(f);
            if (!s.contains(u"mostraAiuto("_s) && !s.contains(u"apriAiuto("_s))
                continue;
            QVERIFY2(conosciuti.contains(relativo), qPrintable(relativo + u": schermata con l'aiuto non provata"_s));
            for (auto m = chiamata.globalMatch(s); m.hasNext();)
                numeri << m.next().captured(1).toInt();
        }
        QVERIFY(numeri.contains(20000) && numeri.contains(14000) && numeri.contains(30000));
        for (int n : numeri)
            QVERIFY2(m_argomenti.contains(u"t%1"_s.arg(n)), qPrintable(u"argomento %1 assente dall'aiuto"_s.arg(n)));
        // One anchor per topic.
        QCOMPARE(QSet<QString>(m_argomenti.cbegin(), m_argomenti.cend()).size(), m_argomenti.size());
    }

    // Every picture the help shows is there and small; every picture there is shown.
    void immagini()
    {
        static const QRegularExpression img(u"<img src=\"([^\"]+)\""_s);
        const QString html = testo(fileAiutoSorgente());
        QStringList mostrate;
        for (auto m = img.globalMatch(html); m.hasNext();) {
            const QString f = m.next().captured(1);
            const QFileInfo fi(sorgenti() + u"/data/"_s + f);
            QVERIFY2(fi.isFile(), qPrintable(f + u" mancante"_s));
            QVERIFY2(fi.size() < 120 * 1024, qPrintable(f + u" troppo grande"_s));
            QVERIFY2(QImage(fi.filePath()).width() > 100, qPrintable(f + u" non è un'immagine"_s));
            mostrate << fi.fileName();
        }
        QVERIFY(mostrate.size() > 30);
        for (const QString &f : QDir(sorgenti() + u"/data/aiuto"_s).entryList(QDir::Files))
            QVERIFY2(mostrate.contains(f), qPrintable(f + u" non mostrata dall'aiuto"_s));
        // A missing picture is caught by the check itself.
        QVERIFY(!QFileInfo(sorgenti() + u"/data/aiuto/manca.png"_s).isFile());
    }

    // The messages and captions the help quotes are the program's own words.
    void citazioniDelProgramma()
    {
        QString parole;
        for (const QString &f : fileSorgenti())
            parole += letterali(testo(f)) + u'\n';
        QVERIFY(parole.contains(u"Inserire denominazione operatore"_s));
        // Literals written in pieces read whole; a comment does not count.
        QCOMPARE(letterali(u"m(\"E' obbligatorio \"\n  \"compilare\" + CRLF + QStringLiteral(\"la griglia\")); // \"no\""_s),
                 u"E' obbligatorio compilarela griglia"_s);
        const QStringList c = citazioni(testo(fileAiutoSorgente()));
        QVERIFY(c.size() > 150);
        QStringList estranee;
        for (const QString &t : c)
            if (!parole.contains(t))
                estranee << t;
        QVERIFY2(estranee.isEmpty(), qPrintable(estranee.join(u"\n"_s)));
    }

    // The contents list the help's headings, by part, and take the reader to the topic.
    void sommario()
    {
        ConAiuto amb;
        QWidget base;
        FinestraAiuto *f = apriFinestraAiuto(amb.sessione.gFileHelp, 1, &base);
        QVERIFY(QTest::qWaitForWindowExposed(f));
        auto *indice = trova<QTreeWidget>(f, u"tocAiuto"_s);
        auto *testo = trova<QTextBrowser>(f, u"brwAiuto"_s);
        QStringList parti;
        for (int i = 0; i < indice->topLevelItemCount(); ++i)
            parti << indice->topLevelItem(i)->text(0);
        QCOMPARE(parti,
                 (QStringList{"Guida di QUIRDAL", "Il percorso di una domanda", "Installazione, avvio e impostazioni",
                              "Menu principale e scelta della domanda", "Sezione 1 - Operatore", "Sezione 2 - Sedi Interessate",
                              "Sezione 3 - Corsi Proposti", "Sezione 4 e riassegnazione dei corsi",
                              "Stampa e invio della domanda", "Salvataggio dei dati e assistenza"}));
        QTreeWidgetItem *voce = nullptr;
        for (QTreeWidgetItemIterator it(indice); *it; ++it)
            if ((*it)->text(0) == "Sez. 3.2: preventivo di spesa"_L1)
                voce = *it;
        QVERIFY(voce);
        QCOMPARE(voce->parent()->text(0), u"Sezione 3 - Corsi Proposti"_s);
        QVERIFY(testo->verticalScrollBar()->value() < 50);
        indice->scrollToItem(voce);
        QTest::mouseClick(indice->viewport(), Qt::LeftButton, {}, indice->visualItemRect(voce).center());
        // The heading is at the top of the text.
        const QTextBlock b = testo->document()->findBlock(voce->data(0, Qt::UserRole + 1).toInt());
        const int alto = int(testo->document()->documentLayout()->blockBoundingRect(b).top());
        QVERIFY(testo->verticalScrollBar()->value() > 0);
        QVERIFY2(std::abs(testo->verticalScrollBar()->value() - alto) <= 4,
                 qPrintable(u"%1 invece di %2"_s.arg(testo->verticalScrollBar()->value()).arg(alto)));
        // Opened at a topic, the contents show it.
        f = apriFinestraAiuto(amb.sessione.gFileHelp, 12000, &base);
        QCOMPARE(indice->currentItem()->text(0), u"Sede Legale"_s);
    }

    // The search finds a message where the help explains it; Enter and the buttons go on and
    // back, round the ends; a text the help lacks is said.
    void ricerca_data()
    {
        colonne<QString, QString>("cerca", "sezione");
        QTest::newRow("messaggio della sede legale") << "Inserire un numero di fax."
                                                     << "Sede Legale";
        QTest::newRow("regola del preventivo") << "il parametro 'a1' delle spese"
                                               << "Sez. 3.2: preventivo di spesa";
        QTest::newRow("controllo della stampa") << "DATA PRESUNTA AVVIO CORSO per i seguenti corsi"
                                                << "I controlli prima della stampa definitiva";
        QTest::newRow("assente") << "parola che la guida non ha"
                                 << "";
    }
    void ricerca()
    {
        QFETCH(QString, cerca);
        QFETCH(QString, sezione);
        ConAiuto amb;
        QWidget base;
        FinestraAiuto *f = apriFinestraAiuto(amb.sessione.gFileHelp, 10000, &base);
        QTest::keyClicks(trova(f, u"txtCercaAiuto"_s), cerca);
        auto *testo = trova<QTextBrowser>(f, u"brwAiuto"_s);
        auto *esito = trova<QLabel>(f, u"lblEsitoRicerca"_s);
        if (sezione.isEmpty()) {
            QCOMPARE(esito->text(), u"Testo non trovato"_s);
            QVERIFY(!testo->textCursor().hasSelection());
            return;
        }
        QCOMPARE(testo->textCursor().selectedText().toLower(), cerca.toLower());
        QCOMPARE(trova<QTreeWidget>(f, u"tocAiuto"_s)->currentItem()->text(0), sezione);
    }
    void ricercaAvantiIndietro()
    {
        ConAiuto amb;
        QWidget base;
        FinestraAiuto *f = apriFinestraAiuto(amb.sessione.gFileHelp, 10000, &base);
        auto *campo = trova<QLineEdit>(f, u"txtCercaAiuto"_s);
        auto *esito = trova<QLabel>(f, u"lblEsitoRicerca"_s);
        QTest::keyClicks(campo, u"Salva Modifiche"_s);
        const QString totale = esito->text().section(u" di "_s, 1);
        QVERIFY(totale.toInt() > 3);
        QCOMPARE(esito->text(), u"1 di "_s + totale);
        QTest::keyClick(campo, Qt::Key_Return);
        QCOMPARE(esito->text(), u"2 di "_s + totale);
        clicca(f, u"cmdSuccessivoAiuto"_s);
        QCOMPARE(esito->text(), u"3 di "_s + totale);
        clicca(f, u"cmdPrecedenteAiuto"_s);
        clicca(f, u"cmdPrecedenteAiuto"_s);
        QCOMPARE(esito->text(), u"1 di "_s + totale);
        clicca(f, u"cmdPrecedenteAiuto"_s);
        QCOMPARE(esito->text(), totale + u" di "_s + totale);
        QVERIFY(f->cerca(false));
        QCOMPARE(esito->text(), u"1 di "_s + totale);
    }

    // The window opens again at the size and place the user left it, from the user's settings;
    // asked again by its screen it shows the new topic, asked by another screen it moves there.
    void ricordaFinestra()
    {
        ConAiuto amb;
        const std::unique_ptr<QObject> aiuto = installaAiuto(*amb.contesto);
        {
            QWidget base;
            FinestraAiuto *f = apriFinestraAiuto(amb.sessione.gFileHelp, 10000, &base);
            f->resize(700, 520);
            f->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QVERIFY(!amb.utente->leggi(chiaviFP::FinestraAiuto).isEmpty());
        QWidget menu, scheda;
        FinestraAiuto *f = apriFinestraAiuto(amb.sessione.gFileHelp, 12000, &menu);
        QCOMPARE(f->size(), QSize(700, 520));
        QCOMPARE(apriFinestraAiuto(amb.sessione.gFileHelp, 13000, &menu), f);
        QCOMPARE(f->argomento(), 13000);
        f->resize(760, 560);
        FinestraAiuto *g = apriFinestraAiuto(amb.sessione.gFileHelp, 14000, &scheda);
        QCOMPARE(g->parentWidget(), &scheda);
        QCOMPARE(g->size(), QSize(760, 560));
        QCOMPARE(scheda.findChildren<FinestraAiuto *>().size() + menu.findChildren<FinestraAiuto *>().size(), 2);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(menu.findChildren<FinestraAiuto *>().size(), 0);
    }
};

QTEST_MAIN(TestAiuto)
#include "tst_aiuto.moc"
