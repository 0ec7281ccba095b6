#include "common/ui/Filtri.h"
#include "common/Sessione.h"
#include "support/Colonne.h"
#include "support/FakeDialoghi.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

class TestFiltri : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void numerico_data()
    {
        colonne<QString, QString, bool>("digitato", "atteso", "messaggi");
        QTest::newRow("virgola rifiutata") << "12,5" << "125" << true;
        QTest::newRow("punto rifiutato") << "12.5" << "125" << true;
        QTest::newRow("lettera rifiutata") << "1a2" << "12" << true;
        QTest::newRow("spazio rifiutato") << "1 2" << "12" << true;
    }
    void numerico()
    {
        QFETCH(QString, digitato);
        QFETCH(QString, atteso);
        QFETCH(bool, messaggi);
        FakeDialoghi d;
        QLineEdit campo;
        FiltroNumerico filtro(d);
        filtro.applica(&campo);
        QTest::keyClicks(&campo, digitato);
        QCOMPARE(campo.text(), atteso);
        if (messaggi)
            unMessaggio(d, u"Carattere non numerico"_s, u"Campo Numerico"_s, Icona::Informazione);
        else
            QVERIFY(d.messaggi.isEmpty());
    }
    void numericoLasciaPassareTastiDiModifica()
    {
        FakeDialoghi d;
        QLineEdit campo;
        FiltroNumerico filtro(d);
        filtro.applica(&campo);
        QTest::keyClicks(&campo, u"123"_s);
        for (Qt::Key k : {Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Delete, Qt::Key_Return})
            QTest::keyClick(&campo, k);
        QCOMPARE(campo.text(), u"1"_s);
        QVERIFY(d.messaggi.isEmpty());
    }
    void maiuscole()
    {
        QLineEdit campo;
        FiltroMaiuscole filtro;
        filtro.applica(&campo);
        QTest::keyClicks(&campo, u"via 1"_s);
        QKeyEvent accentata(QEvent::KeyPress, Qt::Key_Egrave, Qt::NoModifier, u"è"_s);
        QApplication::sendEvent(&campo, &accentata);
        QCOMPARE(campo.text(), u"VIA 1È"_s);
    }
    void richiesto()
    {
        FakeDialoghi d;
        QLineEdit campo;
        QVERIFY(!testoRichiesto(&campo, u"Inserire denominazione operatore"_s, d));
        QCOMPARE(d.messaggi[0].titolo, u"Verifica dati"_s);
        campo.setText(u"X"_s);
        QVERIFY(testoRichiesto(&campo, u"Inserire denominazione operatore"_s, d));
        QCOMPARE(d.messaggi.size(), 1);
    }

    void stileEtichette_data()
    {
        colonne<bool, bool, bool>("sottolinea", "aumenta", "cambia");
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
        auto *l = new QLabel(u"Esci"_s, &radice);
        l->setObjectName(u"LBLEsci"_s);
        auto *altra = new QLabel(u"titolo"_s, &radice);
        altra->setObjectName(u"Titolo"_s);
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
