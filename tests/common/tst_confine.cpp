// The boundary between the screens and the logic, driven as a user meets it: a save that
// finds the database locked by another workstation, an end of the program asked for from
// inside a screen, a fault of the program itself, a long operation started twice; and the
// screens' sources read for a slot or an event handler that would bypass it.
#include "application/ui/SchermiSelezione.h"
#include "common/Errori.h"
#include "common/ui/Clessidra.h"
#include "common/ui/Confine.h"
#include "config/SessioneIni.h"
#include "support/GuidaModali.h"
#include "support/Domanda.h"

#include <QApplication>
#include <QDialog>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QRegularExpression>
#include <QTimer>

using namespace quirdal;
using namespace quirdal::test;

namespace {
// Dialogs that run a step of the test when the error message appears, before answering.
class DialoghiConAzione : public FakeDialoghi {
public:
    std::function<void()> primaDiRispondere;
    Risposta messaggio(const QString &t, const QString &ti, Icona i, Pulsanti p) override
    {
        if (primaDiRispondere && p == Pulsanti::RiprovaAnnulla)
            primaDiRispondere();
        return FakeDialoghi::messaggio(t, ti, i, p);
    }
};

QVariant atti(CorsiDB &db) { return db.valoreScalare(QStringLiteral("SELECT AttiATIATS FROM Installazione WHERE Prov='001'")); }

// A source as the compiler reads its brackets: comments and the insides of string and
// character literals blanked, line breaks kept.
QString soloCodice(QString s)
{
    enum { Codice, Riga, Blocco, Letterale } stato = Codice;
    QChar chiusa;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i], dopo = i + 1 < s.size() ? s[i + 1] : QChar();
        if (stato == Codice) {
            if (c == u'/' && (dopo == u'/' || dopo == u'*')) {
                stato = dopo == u'/' ? Riga : Blocco;
                s[i] = s[i + 1] = u' ';
                ++i;
            } else if (c == u'"' || c == u'\'') {
                stato = Letterale;
                chiusa = c;
            }
        } else if (stato == Riga) {
            if (c == u'\n')
                stato = Codice;
            else
                s[i] = u' ';
        } else if (stato == Blocco) {
            if (c == u'*' && dopo == u'/') {
                s[i] = s[i + 1] = u' ';
                ++i;
                stato = Codice;
            } else if (c != u'\n') {
                s[i] = u' ';
            }
        } else if (c == chiusa) {
            stato = Codice;
        } else {
            s[i] = u' ';
            if (c == u'\\' && dopo != u'\n' && i + 1 < s.size())
                s[++i] = u' ';
        }
    }
    return s;
}

// The position of the bracket that closes the one at aperta.
qsizetype chiusura(const QString &s, qsizetype aperta)
{
    int livello = 0;
    for (qsizetype i = aperta; i < s.size(); ++i) {
        if (s[i] == u'(' || s[i] == u'[' || s[i] == u'{')
            ++livello;
        else if ((s[i] == u')' || s[i] == u']' || s[i] == u'}') && --livello == 0)
            return i;
    }
    return s.size();
}

// The arguments of the call whose "(" is at aperta, split at its own commas.
QStringList argomenti(const QString &s, qsizetype aperta)
{
    QStringList r;
    const qsizetype fine = chiusura(s, aperta);
    qsizetype inizio = aperta + 1;
    for (qsizetype i = inizio; i <= fine; ++i) {
        if (s[i] == u'(' || s[i] == u'[' || s[i] == u'{') {
            i = chiusura(s, i);
        } else if (s[i] == u',' || i == fine) {
            r << s.mid(inizio, i - inizio).simplified();
            inizio = i + 1;
        }
    }
    return r;
}

// Event handlers that only move widgets or flags, or click a button whose own connection
// goes through the boundary: they run no logic that could raise.
const QStringList kSoloWidget = {
    u"frmRiepDomanda::eventFilter"_s,            // a zero cleared on entering the deeds count, restored on leaving
    u"Componen::eventFilter"_s,                  // notes the municipality's text on entering it
    u"Operator::eventFilter"_s,                  // notes the birthplace's text on entering it
    u"ViewStam::reject"_s,                       // asks the print under way to stop, or closes
    u"EtichettaCliccabile::mouseReleaseEvent"_s, // emits clicked(), connected through the boundary
    u"Didascalia::mouseReleaseEvent"_s,          // clicks its button, connected through the boundary
    u"VistaPdf::resizeEvent"_s,                  // lays the pages out again; the page shown is told through the boundary
    u"VistaPdf::paintEvent"_s,                   // draws pages Qt PDF renders, and the marks over them
};

// Every way a screen hands code to the event loop that bypasses the boundary: a connect,
// singleShot or invokeMethod whose slot is neither a Qt class's own function nor goes
// through protetto (alClic and alSegnale do), and an overridden event handler that does not
// call protetto and is not listed above. common/ui is the boundary itself and the key filters.
QStringList fuoriDalConfine(const QString &radice)
{
    QStringList r;
    static const QRegularExpression chiamata(u"\\b(connect|singleShot|invokeMethod)\\s*\\("_s);
    static const QRegularExpression diQt(u"^(qOverload<[^>]*>\\()?&Q\\w*::\\w+\\)?$"_s);
    static const QRegularExpression gestore(
        u"\\b(?:(\\w+)::)?(reject|accept|done|eventFilter|event|\\w+Event)\\s*\\([^()]*\\)\\s*"
        u"(?:const\\s*)?(?:override\\s*)?\\{"_s);
    static const QRegularExpression classe(u"\\b(?:class|struct)\\s+(\\w+)[^;{]*\\{"_s);
    QDirIterator it(radice, {u"*.cpp"_s, u"*.h"_s}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString nome = QDir(radice).relativeFilePath(file);
        if (!nome.contains(u"/ui/"_s) || nome.startsWith(u"common/ui/"_s))
            continue;
        const QString codice = soloCodice(QString::fromUtf8(leggiFile(file)));
        auto riga = [&](qsizetype i) { return nome + u':' + QString::number(codice.left(i).count(u'\n') + 1); };
        for (auto m = chiamata.globalMatch(codice); m.hasNext();) {
            const auto c = m.next();
            QStringList a = argomenti(codice, c.capturedEnd() - 1);
            if (!a.isEmpty() && a.last().startsWith(u"Qt::"_s))
                a.removeLast();
            const QString slot = a.value(a.size() - 1);
            if (!diQt.match(slot).hasMatch() && !slot.contains(u"protetto("_s))
                r << riga(c.capturedStart()) + u": "_s + c.captured(1) + u" -> "_s + slot.left(60);
        }
        for (auto m = gestore.globalMatch(codice); m.hasNext();) {
            const auto g = m.next();
            QString proprietario = g.captured(1);
            for (auto k = classe.globalMatch(codice.left(g.capturedStart())); proprietario.isEmpty() && k.hasNext();) {
                const auto d = k.next();
                if (!k.hasNext())
                    proprietario = d.captured(1);
            }
            const QString funzione = proprietario + u"::"_s + g.captured(2);
            const qsizetype corpo = g.capturedEnd() - 1;
            const bool protetta = codice.mid(corpo, chiusura(codice, corpo) - corpo).contains(u"protetto("_s);
            if (!protetta && !kSoloWidget.contains(funzione))
                r << riga(g.capturedStart()) + u": "_s + funzione;
        }
    }
    return r;
}
} // namespace

class TestConfine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { dimenticaFine(); }

    void salvataggioSuBaseDatiBloccata_data()
    {
        QTest::addColumn<Risposta>("risposta");
        QTest::addColumn<int>("salvato");
        QTest::addColumn<bool>("schermoAperto");
        QTest::newRow("Riprova, a blocco tolto") << Risposta::Riprova << 7 << false;
        QTest::newRow("Annulla") << Risposta::Annulla << 2 << true;
    }
    void salvataggioSuBaseDatiBloccata()
    {
        QFETCH(Risposta, risposta);
        QFETCH(int, salvato);
        QFETCH(bool, schermoAperto);
        Ambiente a;
        a.pronto(QStringLiteral("Multiutenza"));
        preparaDomanda(a);
        a.db.esegui(QStringLiteral("UPDATE Installazione SET DomandaStampata=0, AttiATIATS=2"));
        for (const auto &[k, v] :
             {std::pair{"GrOpe", "A"}, std::pair{"Oper", "7"}, std::pair{"Prov", "001"}, std::pair{"Domanda", "1"}})
            a.ini.scrivi(QStringLiteral("BaseDati"), QString::fromLatin1(k), QString::fromLatin1(v));
        ripristinaSessione(a.sessione, a.ini, a.db);
        // Refused at once rather than after the wait a workstation would give it.
        a.db.impostaAttesa(0);
        // Another workstation in the middle of a write to the same application: it holds the
        // writers' lock and the row.
        CorsiDB altra(QStringLiteral("altra postazione"));
        altra.apri(a.connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        altra.iniziaTransazione();
        altra.esegui(QStringLiteral("UPDATE Installazione SET AttiATIATS = AttiATIATS"));

        DialoghiConAzione d;
        d.risposte << risposta;
        d.primaDiRispondere = [&] {
            if (risposta == Risposta::Riprova)
                altra.annullaTransazione();
        };
        Contesto c{a.dir.path(), a.sessione, a.db, a.ini, d, a.piattaforma, *a.utente};
        frmRiepDomanda r(c);
        r.carica();
        r.show();
        auto *campo = trova<QLineEdit>(&r, "txtNumATIATS");
        campo->setFocus();
        campo->selectAll();
        QTest::keyClicks(campo, QStringLiteral("7"));
        QTest::mouseClick(trova<QPushButton>(&r, "cmdConferma"), Qt::LeftButton);

        QCOMPARE(d.messaggi.size(), 1);
        QVERIFY(d.messaggi[0].testo.startsWith(QStringLiteral("Errore 3260\r\nLa base dati è in uso da un'altra postazione.")));
        QVERIFY(d.messaggi[0].testo.endsWith(
            QStringLiteral("\r\n\r\nSi è verificato un errore imprevisto,scegliere riprova per ritentare l'operazione.")));
        QCOMPARE(d.messaggi[0].icona, Icona::Esclamazione);
        if (risposta == Risposta::Annulla)
            altra.annullaTransazione();
        QCOMPARE(atti(a.db).toInt(), salvato);
        QCOMPARE(r.isVisible(), schermoAperto);
        if (schermoAperto)
            QCOMPARE(campo->text(), QStringLiteral("7")); // what was typed is still there
        QVERIFY(!fineRichiesta());
        QVERIFY(a.db.aperto());
    }

    // The end of the program asked for inside a screen: every window closes, and the code
    // after the screen's exec() does not run.
    void fineDalloSchermo()
    {
        Ambiente a;
        QWidget principale;
        principale.show();
        bool dopo = false;
        QDialog interno;
        QTimer::singleShot(0, &interno, [&] { protetto(*a.contesto, [] { throw FineProgramma(); }); });
        protetto(*a.contesto, [&] {
            esegui(interno);
            dopo = true;
        });
        QVERIFY(fineRichiesta());
        QVERIFY(!dopo);
        QVERIFY(!principale.isVisible());
        QVERIFY(a.dialoghi.messaggi.isEmpty());
    }

    // A fault that is not one of the program's errors is still told, not carried into the event loop.
    void guastoInatteso()
    {
        Ambiente a;
        protetto(*a.contesto, [] { throw std::out_of_range("indice fuori intervallo"); });
        QCOMPARE(a.dialoghi.messaggi.size(), 1);
        QVERIFY(a.dialoghi.ultimo().startsWith(QStringLiteral("Errore 3146\r\nindice fuori intervallo\r\n")));
        QVERIFY(!fineRichiesta());
    }

    // The rule that keeps exceptions out of the event loop, checked on the sources, so that a
    // new screen cannot forget it; and checked on a sample that breaks it, so that the check
    // itself is seen to catch what it is for.
    void ogniSlotPassaDalConfine()
    {
        const QStringList fuori = fuoriDalConfine(qEnvironmentVariable("QUIRDAL_SORGENTI") + u"/src"_s);
        QVERIFY2(fuori.isEmpty(), qPrintable(u"fuori dal confine:\n"_s + fuori.join(u'\n')));
        QTemporaryDir d;
        QVERIFY(QDir(d.path()).mkpath(u"prova/ui"_s));
        const QStringList prova = {
            u""_s,
            u"void Prova::costruisci()"_s,
            u"{"_s,
            u"    connect(a, &QPushButton::clicked, this, &QDialog::reject); // a Qt slot"_s,
            u"    connect(b, &QLineEdit::textEdited, this, [this] { protetto(m_c, [this] { calcola(); }); });"_s,
            u"    alSegnale(c, &QLineEdit::textEdited, m_c, [this] { calcola(); });"_s,
            u"    connect(d, &QLineEdit::textEdited, this, [this] { calcola(); /* protetto( */ });"_s,
            u"    QObject::connect(e, &QPushButton::clicked, this, &Prova::calcola);"_s,
            u"    QTimer::singleShot(0, this, [this] { calcola(\", protetto(\"); });"_s,
            u"    QMetaObject::invokeMethod(f, qOverload<>(&QWidget::setFocus), Qt::QueuedConnection);"_s,
            u"}"_s,
            u"bool Prova::eventFilter(QObject *o, QEvent *e) { calcola(); return false; }"_s,
            u"void Prova::reject() { protetto(m_c, [this] { esci(); }); }"_s,
            u"class Etichetta : public QLabel {"_s,
            u"    void mouseReleaseEvent(QMouseEvent *) override { calcola(); }"_s,
            u"};"_s};
        QVERIFY(scriviFile(d.filePath(u"prova/ui/Prova.cpp"_s), prova.join(u'\n').toUtf8()));
        QCOMPARE(fuoriDalConfine(d.path()),
                 (QStringList{u"prova/ui/Prova.cpp:7: connect -> [this] { calcola(); }"_s,
                              u"prova/ui/Prova.cpp:8: connect -> &Prova::calcola"_s,
                              u"prova/ui/Prova.cpp:9: singleShot -> [this] { calcola(\" \"); }"_s,
                              u"prova/ui/Prova.cpp:12: Prova::eventFilter"_s,
                              u"prova/ui/Prova.cpp:15: Etichetta::mouseReleaseEvent"_s}));
    }

    void operazioneLungaNonSiAnnida()
    {
        QPushButton menu;
        {
            const OperazioneLunga prima({&menu});
            QVERIFY(!prima.rifiutata());
            QVERIFY(!menu.isEnabled());
            const OperazioneLunga seconda({&menu});
            QVERIFY(seconda.rifiutata());
        }
        QVERIFY(menu.isEnabled());
        const OperazioneLunga dopo({&menu});
        QVERIFY(!dopo.rifiutata());
    }

    // Each hourglass guard takes away only its own, whether guards nest, one is switched
    // off and on, or all go at once before a message: an hourglass set by someone else is
    // still there at the end.
    void clessidraPerOgniGuardia_data()
    {
        colonne<QString>("passi");
        QTest::newRow("annidate") << u"( W ( W ) W ) A"_s;
        QTest::newRow("spenta e riaccesa") << u"s A + W + W - A + W ) A"_s;
        QTest::newRow("tutte via prima di un messaggio") << u"( W ( W ! A ) A ) A"_s;
    }
    void clessidraPerOgniGuardia()
    {
        QFETCH(QString, passi);
        auto forma = [] { return QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor; };
        QApplication::setOverrideCursor(Qt::CrossCursor);
        {
            // "(" a guard, ")" its end, "s" one made switched off, "+"/"-" the last one
            // switched on/off, "!" all taken away; "W"/"A" the hourglass shows / does not.
            std::vector<std::unique_ptr<Clessidra>> guardie;
            for (const QString &p : passi.split(u' ')) {
                if (p == "("_L1 || p == "s"_L1)
                    guardie.push_back(std::make_unique<Clessidra>(p == "("_L1));
                else if (p == ")"_L1)
                    guardie.pop_back();
                else if (p == "+"_L1 || p == "-"_L1)
                    guardie.back()->mostra(p == "+"_L1);
                else if (p == "!"_L1)
                    Clessidra::togliTutte();
                else
                    QCOMPARE(forma(), p == "W"_L1 ? Qt::WaitCursor : Qt::CrossCursor);
            }
        }
        QCOMPARE(forma(), Qt::CrossCursor);
        QApplication::restoreOverrideCursor();
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }
};

QTEST_MAIN(TestConfine)
#include "tst_confine.moc"
