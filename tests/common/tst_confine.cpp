// The boundary between the screens and the logic, driven as a user meets it: a save that
// finds the database locked by another workstation, an end of the program asked for from
// inside a screen, a fault of the program itself, a long operation started twice.
#include "application/ui/SchermiSelezione.h"
#include "common/Errori.h"
#include "common/ui/Clessidra.h"
#include "common/ui/Confine.h"
#include "config/SessioneIni.h"
#include "support/GuidaModali.h"
#include "support/Domanda.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
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

QVariant atti(CorsiDB &db)
{
    return db.valoreScalare(QStringLiteral("SELECT AttiATIATS FROM Installazione WHERE Prov='001'"));
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
        for (const auto &[k, v] : {std::pair{"GrOpe", "A"}, std::pair{"Oper", "7"}, std::pair{"Prov", "001"},
                                   std::pair{"Domanda", "1"}})
            a.ini.scrivi(QStringLiteral("BaseDati"), QString::fromLatin1(k), QString::fromLatin1(v));
        ripristinaSessione(a.sessione, a.ini, a.db);
        // Refused at once rather than after the wait a workstation would give it.
        a.db.esegui(QStringLiteral("PRAGMA busy_timeout = 0"));
        CorsiDB altra(QStringLiteral("altra postazione"));
        altra.apri(a.percorsoDb(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
        altra.esegui(QStringLiteral("BEGIN IMMEDIATE"));

        DialoghiConAzione d;
        d.risposte << risposta;
        d.primaDiRispondere = [&] {
            if (risposta == Risposta::Riprova)
                altra.esegui(QStringLiteral("ROLLBACK"));
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
            altra.esegui(QStringLiteral("ROLLBACK"));
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
