// Amounts in exact cents: read from what users type and from what the database holds,
// written in the two forms, multiplied, split, without a cent lost or gained.
#include "common/Errori.h"
#include "common/Importo.h"

#include <QTest>
#include <functional>
#include <limits>

using namespace quirdal;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<qint64>)

class TestImporto : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void daTesto_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<std::optional<qint64>>("centesimi");
        QTest::newRow("migliaia e decimali") << "1.234,50" << std::optional<qint64>(123450);
        QTest::newRow("senza separatori") << "1234,5" << std::optional<qint64>(123450);
        QTest::newRow("intero") << "7" << std::optional<qint64>(700);
        QTest::newRow("solo decimali") << ",07" << std::optional<qint64>(7);
        QTest::newRow("negativo") << "-3,00" << std::optional<qint64>(-300);
        QTest::newRow("massimo del campo") << "999.999.999,99" << std::optional<qint64>(99999999999);
        QTest::newRow("spazi attorno") << "  12,30 " << std::optional<qint64>(1230);
        QTest::newRow("vuoto") << "" << std::optional<qint64>();
        QTest::newRow("tre decimali") << "2,675" << std::optional<qint64>();
        QTest::newRow("punto come decimale") << "3.4" << std::optional<qint64>();
        QTest::newRow("gruppo storto") << "1.23,00" << std::optional<qint64>();
        QTest::newRow("virgola sola") << "12," << std::optional<qint64>();
        QTest::newRow("lettere") << "12a" << std::optional<qint64>();
        QTest::newRow("due virgole") << "1,2,3" << std::optional<qint64>();
    }
    void daTesto()
    {
        QFETCH(QString, testo);
        QFETCH(std::optional<qint64>, centesimi);
        const std::optional<Importo> i = Importo::daTesto(testo);
        QCOMPARE(i.has_value(), centesimi.has_value());
        if (i)
            QCOMPARE(i->centesimi(), *centesimi);
    }

    // What the database holds comes back to the cent the user meant, halves away from zero.
    void daValore_data()
    {
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<QString>("formato");
        QTest::addColumn<QString>("trasmissione");
        QTest::newRow("2.675") << QVariant(2.675) << "2,68"
                               << "2.68";
        QTest::newRow("1.005") << QVariant(1.005) << "1,01"
                               << "1.01";
        QTest::newRow("-2.675") << QVariant(-2.675) << "-2,68"
                                << "-2.68";
        QTest::newRow("0.1 + 0.2") << QVariant(0.1 + 0.2) << "0,30"
                                   << "0.30";
        QTest::newRow("grande") << QVariant(999999999.99) << "999.999.999,99"
                                << "999999999.99";
        QTest::newRow("intero") << QVariant(qlonglong(1234567)) << "1.234.567,00"
                                << "1234567.00";
        QTest::newRow("testo col punto") << QVariant(QStringLiteral("12.5")) << "12,50"
                                         << "12.50";
        QTest::newRow("Null") << QVariant() << "0,00"
                              << "0.00";
        QTest::newRow("testo vuoto") << QVariant(QString()) << "0,00"
                                     << "0.00";
        QTest::newRow("meno di un euro") << QVariant(-0.07) << "-0,07"
                                         << "-0.07";
    }
    void daValore()
    {
        QFETCH(QVariant, valore);
        QFETCH(QString, formato);
        QFETCH(QString, trasmissione);
        const Importo i = Importo::daValore(valore);
        QCOMPARE(i.formato(), formato);
        QCOMPARE(i.perTrasmissione(), trasmissione);
        // Stored as the double it binds, it reads back the same.
        QCOMPARE(Importo::daValore(QVariant(i.perSql())), i);
    }

    void valoriNonNumerici()
    {
        for (const QVariant &v : {QVariant(QStringLiteral("abc")), QVariant(qInf()), QVariant(QStringLiteral("1e5"))}) {
            bool errore = false;
            try {
                Importo::daValore(v);
            } catch (const Errore &) {
                errore = true;
            }
            QVERIFY2(errore, qPrintable(v.toString()));
        }
    }

    void conti()
    {
        const Importo centesimo = Importo::daCentesimi(1);
        QCOMPARE((centesimo + centesimo + centesimo).formato(), QStringLiteral("0,03"));
        QCOMPARE(Importo::daCentesimi(1250).per(40).per(15).formato(), QStringLiteral("7.500,00"));
        QCOMPARE((Importo::daCentesimi(100) - Importo::daCentesimi(250)).formato(), QStringLiteral("-1,50"));
        QCOMPARE(Importo::daCentesimi(1000).perRapporto(1, 3).centesimi(), 333);   // 3,333...
        QCOMPARE(Importo::daCentesimi(1001).perRapporto(1, 2).centesimi(), 501);   // half up
        QCOMPARE(Importo::daCentesimi(-1001).perRapporto(1, 2).centesimi(), -501); // half away from zero
        bool traboccato = false;
        try {
            Importo::daCentesimi(std::numeric_limits<qint64>::max() / 2).per(3);
        } catch (const Errore &e) {
            traboccato = e.numero() == 6;
        }
        QVERIFY(traboccato);
    }

    // Every operation at the edge of the cents' range: the largest result that fits, and one
    // beyond it, which the raising form refuses with Errore 6 and the other gives as nothing.
    void traboccamento_data()
    {
        QTest::addColumn<QString>("operazione");
        QTest::addColumn<qint64>("a");
        QTest::addColumn<qint64>("b");
        QTest::addColumn<std::optional<qint64>>("risultato");
        constexpr qint64 massimo = std::numeric_limits<qint64>::max(), minimo = std::numeric_limits<qint64>::min();
        using R = std::optional<qint64>;
        QTest::newRow("per: il più grande che entra")
            << u"per"_s << qint64(3074457345618258602) << qint64(3) << R(9223372036854775806);
        QTest::newRow("per: uno oltre") << u"per"_s << qint64(3074457345618258603) << qint64(3) << R();
        // The largest amount the sheet takes (99.999.999.999.999,00) by hours: 922 fit, 923 do not.
        QTest::newRow("per: importo digitato massimo, 922 ore")
            << u"per"_s << qint64(9999999999999900) << qint64(922) << R(9219999999999907800);
        QTest::newRow("per: importo digitato massimo, 923 ore") << u"per"_s << qint64(9999999999999900) << qint64(923) << R();
        QTest::newRow("per: il più piccolo che entra") << u"per"_s << qint64(-4611686018427387904) << qint64(2) << R(minimo);
        QTest::newRow("per: uno sotto") << u"per"_s << qint64(-4611686018427387905) << qint64(2) << R();
        QTest::newRow("piu: fino al massimo") << u"piu"_s << massimo - 1 << qint64(1) << R(massimo);
        QTest::newRow("piu: un centesimo oltre") << u"piu"_s << massimo << qint64(1) << R();
        QTest::newRow("meno: fino al minimo") << u"meno"_s << minimo + 1 << qint64(1) << R(minimo);
        QTest::newRow("meno: un centesimo sotto") << u"meno"_s << minimo << qint64(1) << R();
        // A ratio passes 64 bits on the way and comes back: exact, rounded half away from zero.
        QTest::newRow("rapporto: tutto il massimo") << u"rapporto"_s << massimo << qint64(100) << R(massimo);
        QTest::newRow("rapporto: metà del massimo") << u"rapporto"_s << massimo << qint64(50) << R(4611686018427387904);
        QTest::newRow("rapporto: l'1% oltre") << u"rapporto"_s << massimo << qint64(101) << R();
        QTest::newRow("rapporto: il minimo intero") << u"rapporto"_s << minimo << qint64(100) << R(minimo);
    }
    void traboccamento()
    {
        QFETCH(QString, operazione);
        QFETCH(qint64, a);
        QFETCH(qint64, b);
        QFETCH(std::optional<qint64>, risultato);
        const Importo x = Importo::daCentesimi(a);
        std::optional<Importo> senzaErrore;
        std::function<Importo()> conErrore;
        if (operazione == u"per"_s) {
            senzaErrore = x.per(b, std::nothrow);
            conErrore = [&] { return x.per(b); };
        } else if (operazione == u"piu"_s) {
            senzaErrore = x.piu(Importo::daCentesimi(b), std::nothrow);
            conErrore = [&] { return x + Importo::daCentesimi(b); };
        } else if (operazione == u"meno"_s) {
            senzaErrore = x.meno(Importo::daCentesimi(b), std::nothrow);
            conErrore = [&] { return x - Importo::daCentesimi(b); };
        } else {
            senzaErrore = x.perRapporto(b, 100, std::nothrow);
            conErrore = [&] { return x.perRapporto(b, 100); };
        }
        QCOMPARE(senzaErrore.has_value(), risultato.has_value());
        if (risultato)
            QCOMPARE(senzaErrore->centesimi(), *risultato);
        QString errore;
        try {
            const Importo r = conErrore();
            QCOMPARE(r.centesimi(), risultato.value_or(0));
        } catch (const Errore &e) {
            errore = QString::number(e.numero()) + u' ' + e.descrizione();
        }
        QCOMPARE(errore, risultato ? QString() : u"6 Importo troppo grande per essere calcolato."_s);
    }

    void ripartisci_data()
    {
        QTest::addColumn<qint64>("totale");
        QTest::addColumn<QList<qint64>>("pesi");
        QTest::addColumn<QList<qint64>>("parti");
        QTest::newRow("33/33/34 %") << qint64(100000) << QList<qint64>{33, 33, 34} << QList<qint64>{33000, 33000, 34000};
        QTest::newRow("tre parti uguali") << qint64(10000) << QList<qint64>{1, 1, 1} << QList<qint64>{3334, 3333, 3333};
        QTest::newRow("un centesimo") << qint64(1) << QList<qint64>{1, 1} << QList<qint64>{1, 0};
        QTest::newRow("peso zero") << qint64(1000) << QList<qint64>{0, 3, 1} << QList<qint64>{0, 750, 250};
        QTest::newRow("negativo") << qint64(-10000) << QList<qint64>{1, 1, 1} << QList<qint64>{-3334, -3333, -3333};
        QTest::newRow("resti diversi") << qint64(10) << QList<qint64>{1, 2, 4} << QList<qint64>{1, 3, 6};
        QTest::newRow("tutti zero") << qint64(500) << QList<qint64>{0, 0} << QList<qint64>{0, 0};
    }
    void ripartisci()
    {
        QFETCH(qint64, totale);
        QFETCH(QList<qint64>, pesi);
        QFETCH(QList<qint64>, parti);
        QList<qint64> ottenute;
        for (const Importo &p : Importo::daCentesimi(totale).ripartisci(pesi))
            ottenute << p.centesimi();
        QCOMPARE(ottenute, parti);
    }
};

QTEST_GUILESS_MAIN(TestImporto)
#include "tst_importo.moc"
