#include "common/ui/Filtri.h"
#include "common/Sessione.h"
#include "support/FakeDialoghi.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace quirdal;
using quirdal::test::FakeDialoghi;

class TestFiltri : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void numerico_data()
    {
        QTest::addColumn<QString>("digitato");
        QTest::addColumn<QString>("atteso");
        QTest::addColumn<int>("messaggi");
        QTest::newRow("virgola rifiutata") << "12,5" << "125" << 1;
        QTest::newRow("punto rifiutato") << "12.5" << "125" << 1;
        QTest::newRow("lettera rifiutata") << "1a2" << "12" << 1;
        QTest::newRow("spazio rifiutato") << "1 2" << "12" << 1;
    }
    void numerico()
    {
        QFETCH(QString, digitato);
        QFETCH(QString, atteso);
        QFETCH(int, messaggi);
        FakeDialoghi d;
        QLineEdit campo;
        FiltroNumerico filtro(d);
        filtro.applica(&campo);
        QTest::keyClicks(&campo, digitato);
        QCOMPARE(campo.text(), atteso);
        QCOMPARE(d.messaggi.size(), messaggi);
        if (messaggi) {
            QCOMPARE(d.ultimo(), QStringLiteral("Carattere non numerico"));
            QCOMPARE(d.messaggi[0].titolo, QStringLiteral("Campo Numerico"));
            QCOMPARE(d.messaggi[0].icona, Icona::Informazione);
        }
    }
    void numericoLasciaPassareTastiDiModifica()
    {
        FakeDialoghi d;
        QLineEdit campo;
        FiltroNumerico filtro(d);
        filtro.applica(&campo);
        QTest::keyClicks(&campo, QStringLiteral("123"));
        QTest::keyClick(&campo, Qt::Key_Backspace);
        QTest::keyClick(&campo, Qt::Key_Left);
        QTest::keyClick(&campo, Qt::Key_Delete);
        QTest::keyClick(&campo, Qt::Key_Return);
        QCOMPARE(campo.text(), QStringLiteral("1"));
        QVERIFY(d.messaggi.isEmpty());
    }
    void maiuscole()
    {
        QLineEdit campo;
        FiltroMaiuscole filtro;
        filtro.applica(&campo);
        QTest::keyClicks(&campo, QStringLiteral("via 1"));
        QKeyEvent accentata(QEvent::KeyPress, Qt::Key_Egrave, Qt::NoModifier, QStringLiteral("è"));
        QApplication::sendEvent(&campo, &accentata);
        QCOMPARE(campo.text(), QStringLiteral("VIA 1È"));
    }
    void richiesto()
    {
        FakeDialoghi d;
        QLineEdit campo;
        QVERIFY(!testoRichiesto(&campo, QStringLiteral("Inserire denominazione operatore"), d));
        QCOMPARE(d.messaggi[0].titolo, QStringLiteral("Verifica dati"));
        campo.setText(QStringLiteral("X"));
        QVERIFY(testoRichiesto(&campo, QStringLiteral("Inserire denominazione operatore"), d));
        QCOMPARE(d.messaggi.size(), 1);
    }

    void stileEtichette_data()
    {
        QTest::addColumn<bool>("sottolinea");
        QTest::addColumn<bool>("aumenta");
        QTest::addColumn<bool>("cambia");
        QTest::newRow("tutte") << true << true << true;
        QTest::newRow("solo colore") << false << false << true;
        QTest::newRow("nessuna") << false << false << false;
    }
    void stileEtichette()
    {
        QFETCH(bool, sottolinea);
        QFETCH(bool, aumenta);
        QFETCH(bool, cambia);
        Sessione s;
        s.gOptSottolinea = flag(sottolinea);
        s.gOptAumenta = flag(aumenta);
        s.gOptCambia = flag(cambia);
        QWidget radice;
        auto *l = new QLabel(QStringLiteral("Esci"), &radice);
        l->setObjectName(QStringLiteral("LBLEsci"));
        auto *altra = new QLabel(QStringLiteral("titolo"), &radice);
        altra->setObjectName(QStringLiteral("Titolo"));
        StileEtichette stile(s);
        stile.applica(&radice);
        const QColor colore = l->palette().color(QPalette::WindowText);
        QEvent entra(QEvent::Enter);
        QApplication::sendEvent(l, &entra);
        QApplication::sendEvent(altra, &entra);
        QCOMPARE(l->palette().color(QPalette::WindowText) == QColor(255, 0, 0), cambia);
        QCOMPARE(l->font().bold(), aumenta);
        QCOMPARE(l->font().underline(), sottolinea);
        QCOMPARE(l->cursor().shape() == Qt::PointingHandCursor, sottolinea || aumenta || cambia);
        QVERIFY(!altra->font().bold() && !altra->font().underline());
        QEvent esce(QEvent::Leave);
        QApplication::sendEvent(l, &esce);
        QCOMPARE(l->palette().color(QPalette::WindowText), colore);
        QVERIFY(!l->font().bold() && !l->font().underline());
    }
};

QTEST_MAIN(TestFiltri)
#include "tst_filtri.moc"
