#include "common/Errori.h"
#include "config/CartellaProgramma.h"
#include "support/Ambiente.h"

#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// An installed tree: <radice>/bin and the model <radice>/share/quirdal/cartella.
struct Installazione {
    QTemporaryDir radice;
    QString bin() const { return radice.filePath(u"bin"_s); }
    QString modello() const { return radice.filePath(u"share/quirdal/cartella"_s); }
    explicit Installazione(bool conIni = true)
    {
        QDir().mkpath(bin());
        QDir().mkpath(modello() + u"/stampa/loghi"_s);
        QDir().mkpath(modello() + u"/aiuto"_s);
        const std::pair<const char *, QByteArray> file[] = {{"QUIRDAL.INI", "[Installazione]\r\nTipo=\r\n"},
                                                            {"QUIRDAL.mdb", "vuota"},
                                                            {"QUIRDAL.html", "<html></html>"},
                                                            {"aiuto/menu.png", "menu"},
                                                            {"stampa/_p01WZQ.html", "<p>copertina</p>"},
                                                            {"stampa/loghi/AL.png", "png"}};
        for (const auto &[nome, dati] : file)
            if (conIni || nome != "QUIRDAL.INI"_L1)
                scriviFile(modello() + u'/' + QLatin1String(nome), dati);
    }
};

} // namespace

class TestCartellaProgramma : public QObject {
    Q_OBJECT
    const Installazione i; // only read: the model every folder is made from
private Q_SLOTS:
    void cartella_data()
    {
        colonne<QString, bool, QString>("home", "iniAccanto", "attesa");
        QTest::newRow("QUIRDAL_HOME vince") << "/altrove/prog" << true << "/altrove/prog";
        QTest::newRow("INI accanto al programma") << "" << true << "@bin";
        QTest::newRow("nei Documenti dell'utente") << "" << false << "@doc/QUIRDAL";
    }
    void cartella()
    {
        QFETCH(QString, home);
        QFETCH(bool, iniAccanto);
        QFETCH(QString, attesa);
        QTemporaryDir d;
        const QString bin = d.filePath(u"bin"_s), doc = d.filePath(u"doc"_s);
        QDir().mkpath(bin);
        if (iniAccanto)
            scriviFile(bin + u"/QUIRDAL.INI"_s, "");
        QCOMPARE(cartellaProgramma(home, bin, doc), attesa.replace(u'@', d.path() + u'/'));
    }

    void modello()
    {
        QCOMPARE(cartellaModello(i.bin()), QFileInfo(i.modello()).canonicalFilePath());
        // A program run from its build folder has no model beside it; nor does a model without its INI count.
        const Installazione senzaIni(false);
        QCOMPARE(cartellaModello(senzaIni.bin()), QString());
        QCOMPARE(cartellaModello(i.radice.filePath(u"altro"_s)), QString());
    }

    // A new folder gets every file, the INI last; one that holds the user's database
    // keeps it and gets only what it lacks.
    void prepara()
    {
        QTemporaryDir d;
        const QString nuova = d.filePath(u"Documenti/QUIRDAL"_s);
        QVERIFY(cartellaDaPreparare(nuova));
        QCOMPARE(preparaCartella(nuova, i.modello()),
                 (QStringList{"QUIRDAL.html", "QUIRDAL.mdb", "aiuto/menu.png", "stampa/_p01WZQ.html", "stampa/loghi/AL.png",
                              "QUIRDAL.INI"}));
        QCOMPARE(leggiFile(nuova + u"/stampa/loghi/AL.png"_s), QByteArray("png"));
        QVERIFY(!cartellaDaPreparare(nuova));

        const QString usata = d.filePath(u"usata"_s);
        QDir().mkpath(usata);
        scriviFile(usata + u"/QUIRDAL.mdb"_s, "dati dell'utente");
        QCOMPARE(preparaCartella(usata, i.modello()),
                 (QStringList{"QUIRDAL.html", "aiuto/menu.png", "stampa/_p01WZQ.html", "stampa/loghi/AL.png", "QUIRDAL.INI"}));
        QCOMPARE(leggiFile(usata + u"/QUIRDAL.mdb"_s), QByteArray("dati dell'utente"));
        QCOMPARE(preparaCartella(usata, i.modello()), QStringList());
    }

    // A folder prepared by an older package gets this package's help, whatever else it holds
    // stays as the user left it; an up-to-date help is not copied again.
    void aiutoAggiornato()
    {
        QTemporaryDir d;
        const QString usata = d.filePath(u"usata"_s);
        QDir().mkpath(usata + u"/aiuto"_s);
        QDir().mkpath(usata + u"/stampa"_s);
        const std::pair<const char *, QByteArray> utente[] = {{"QUIRDAL.INI", "[Installazione]\r\nTipo=StandAlone\r\n"},
                                                              {"QUIRDAL.mdb", "dati dell'utente"},
                                                              {"QUIRDAL.html", "<html>vecchio</html>"},
                                                              {"aiuto/vecchia.png", "v"},
                                                              {"stampa/_p01WZQ.html", "<p>mia copertina</p>"}};
        for (const auto &[nome, dati] : utente)
            scriviFile(usata + u'/' + QLatin1String(nome), dati);
        QCOMPARE(aggiornaAiuto(usata, i.modello()), (QStringList{"QUIRDAL.html", "aiuto/menu.png"}));
        QCOMPARE(leggiFile(usata + u"/QUIRDAL.html"_s), QByteArray("<html></html>"));
        QCOMPARE(leggiFile(usata + u"/aiuto/menu.png"_s), QByteArray("menu"));
        for (const auto &[nome, dati] : utente)
            if (QLatin1String(nome) != "QUIRDAL.html"_L1)
                QCOMPARE(leggiFile(usata + u'/' + QLatin1String(nome)), dati);
        QCOMPARE(aggiornaAiuto(usata, i.modello()), QStringList());
        // prepara-cartella brings the help too, beside the files the folder lacks.
        scriviFile(usata + u"/aiuto/menu.png"_s, "menu di prima");
        QCOMPARE(preparaCartella(usata, i.modello()), (QStringList{"aiuto/menu.png", "stampa/loghi/AL.png"}));
        QCOMPARE(leggiFile(usata + u"/stampa/_p01WZQ.html"_s), QByteArray("<p>mia copertina</p>"));
    }

    // A folder that cannot be made: an error that names it, and no INI anywhere.
    void preparaImpossibile()
    {
        QTemporaryDir d;
        scriviFile(d.filePath(u"file"_s), "");
        const QString sotto = d.filePath(u"file/QUIRDAL"_s);
        try {
            preparaCartella(sotto, i.modello());
            QFAIL("nessun errore");
        } catch (const Errore &e) {
            QCOMPARE(e.descrizione(), u"Impossibile creare la cartella "_s + sotto);
        }
        QCOMPARE(numeroErrore([&] { preparaCartella(d.filePath(u"x"_s), d.filePath(u"manca"_s)); }), codici::FileNonTrovato);
        QVERIFY(!QFileInfo::exists(d.filePath(u"x/QUIRDAL.INI"_s)));
    }
};

QTEST_GUILESS_MAIN(TestCartellaProgramma)
#include "tst_cartellaprogramma.moc"
