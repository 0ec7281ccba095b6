#include "common/ui/Filtri.h"
#include "common/Sessione.h"
#include "common/ui/DialoghiQt.h"
#include "support/Colonne.h"
#include "support/FakeDialoghi.h"
#include "support/GuidaModali.h"

#include <QClipboard>
#include <QKeyEvent>
#include <QToolTip>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

Q_DECLARE_METATYPE(quirdal::FiltroNumerico::Tipo)

class TestFiltri : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // What each kind of numeric field takes, typed or pasted: digits everywhere; the comma
    // (and "." as a comma) in amounts; the separators of a telephone number dropped.
    void numerico_data()
    {
        colonne<FiltroNumerico::Tipo, QString, bool, QString, int>("tipo", "digitato", "incollato", "atteso", "rifiutati");
        const auto cifre = FiltroNumerico::Tipo::Cifre, virgola = FiltroNumerico::Tipo::Virgola,
                   telefono = FiltroNumerico::Tipo::Telefono;
        QTest::newRow("cifre: virgola") << cifre << "12,5" << false << "125" << 1;
        QTest::newRow("cifre: punto") << cifre << "12.5" << false << "125" << 1;
        QTest::newRow("cifre: lettera") << cifre << "1a2" << false << "12" << 1;
        QTest::newRow("cifre: spazio") << cifre << "1 2" << false << "12" << 1;
        QTest::newRow("cifre: incollate") << cifre << "125" << true << "125" << 0;
        QTest::newRow("cifre: incollato con la virgola") << cifre << "12,5" << true << "" << 0;
        QTest::newRow("importo: virgola") << virgola << "12,5" << false << "12,5" << 0;
        QTest::newRow("importo: punto come virgola") << virgola << "12.5" << false << "12,5" << 0;
        QTest::newRow("importo: lettera") << virgola << "1a2" << false << "12" << 1;
        QTest::newRow("importo: incollato con le migliaia") << virgola << "1.234,50" << true << "1.234,50" << 0;
        QTest::newRow("importo: incollato con una lettera") << virgola << "12a" << true << "" << 0;
        QTest::newRow("telefono: punto") << telefono << "011.5551234" << false << "0115551234" << 0;
        QTest::newRow("telefono: separatori") << telefono << "011 555/12-34" << false << "0115551234" << 0;
        QTest::newRow("telefono: virgola") << telefono << "011,555" << false << "011555" << 1;
        QTest::newRow("telefono: lettera") << telefono << "011x5" << false << "0115" << 1;
        QTest::newRow("telefono: incollato con i separatori") << telefono << "011 555.1234" << true << "0115551234" << 0;
        QTest::newRow("telefono: incollato con lettere") << telefono << "011 CENTRALINO" << true << "" << 0;
    }
    void numerico()
    {
        QFETCH(FiltroNumerico::Tipo, tipo);
        QFETCH(QString, digitato);
        QFETCH(bool, incollato);
        QFETCH(QString, atteso);
        QFETCH(int, rifiutati);
        FakeDialoghi d;
        QLineEdit campo;
        FiltroNumerico filtro(d, nullptr, tipo);
        filtro.applica(&campo);
        if (incollato) {
            QGuiApplication::clipboard()->setText(digitato);
            QTest::keyClick(&campo, Qt::Key_V, Qt::ControlModifier);
        } else {
            QTest::keyClicks(&campo, digitato);
        }
        QCOMPARE(campo.text(), atteso);
        QCOMPARE(d.messaggi.size(), rifiutati);
        if (rifiutati)
            unMessaggio(d, u"Carattere non numerico"_s, u"Campo Numerico"_s, Icona::Informazione);
        // Editing keys pass, Enter is swallowed, in every kind.
        campo.setText(u"123"_s);
        for (Qt::Key k : {Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Delete, Qt::Key_Return, Qt::Key_Enter})
            QTest::keyClick(&campo, k);
        QCOMPARE(campo.text(), u"1"_s);
        QCOMPARE(d.messaggi.size(), rifiutati);
    }
    // On screen a refused key opens no dialog: the notice shows at the field and the typing
    // that follows goes on into it.
    void rifiutoSenzaFinestra()
    {
        DialoghiQt d;
        QLineEdit campo;
        FiltroNumerico filtro(d, nullptr, FiltroNumerico::Tipo::Telefono);
        filtro.applica(&campo);
        campo.show();
        QApplication::setActiveWindow(&campo);
        QVERIFY(QTest::qWaitForWindowActive(&campo));
        GuidaModali guida;
        QTest::keyClicks(&campo, u"011x5551234"_s);
        QCOMPARE(campo.text(), u"0115551234"_s);
        QCOMPARE(guida.aperte, QStringList());
        QCOMPARE(QToolTip::text(), u"Carattere non numerico"_s);
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
