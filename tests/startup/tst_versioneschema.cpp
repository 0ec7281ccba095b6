// The shape of a shared database is brought up to date by the SERVER workstation alone: a
// CLIENT that starts on the shape of an earlier release says so and ends, changing nothing; the
// SERVER upgrades it and starts. On the engine of the run.
#include "common/Errori.h"
#include "db/Aggiornamenti.h"
#include "startup/Avvio.h"
#include "support/Ambiente.h"

#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// Records what the start-up asks of its screens.
class VistaFinta : public VistaAvvio {
public:
    QStringList eventi;
    void mostraImpostazioni(Contesto &) override
    {
        eventi << u"impostazioni"_s;
        throw FineProgramma();
    }
    void mostraAvvisoClient() override { eventi << u"avviso client"_s; }
    void mostraFinestraPrincipale(Contesto &) override { eventi << u"principale"_s; }
};

// The shape of the database as a workstation's own connection reads it now: what each
// upgrade adds (a column with the view that shows it), "si" when it is there.
QString forma(Ambiente &a)
{
    CorsiDB d(u"forma"_s);
    d.apri(a.connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
    QStringList r;
    for (const bool c : {d.esisteColonna(u"CorsiProp"_s, u"DataAvvio"_s) && d.esisteColonna(u"QryCorsi"_s, u"DataAvvio"_s),
                         d.esisteColonna(u"CorsiHandi"_s, u"NumPersone"_s) && d.esisteColonna(u"qryhandi"_s, u"NumPersone"_s),
                         d.esisteTabella(u"DomandeDefinitive"_s), d.esisteTabella(u"Invii"_s)})
        r << (c ? u"si"_s : u"no"_s);
    r << d.valoreScalare(u"SELECT count(*) FROM CorsiOper"_s).toString();
    return r.join(u'|');
}

} // namespace

class TestVersioneSchema : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void schemaPrecedente_data()
    {
        // manca: what the earlier release lacked; forma: DataAvvio|NumPersone|DomandeDefinitive|Invii|operators
        colonne<QString, QString, QString>("versione", "manca", "forma");
        const QStringList forme = {u""_s, u"DataAvvio"_s, u"NumPersone"_s, u"Invii"_s};
        const QStringList vecchie = {u"si|si|si|si|1"_s, u"no|si|si|si|1"_s, u"si|no|si|si|1"_s, u"si|si|no|no|1"_s};
        for (const char *versione : {"SERVER", "CLIENT"})
            for (qsizetype i = 0; i < forme.size(); ++i)
                QTest::addRow("%s, %s", versione, forme[i].isEmpty() ? "schema attuale" : qPrintable(u"senza "_s + forme[i]))
                    << QString::fromLatin1(versione) << forme[i] << vecchie[i];
    }
    void schemaPrecedente()
    {
        QFETCH(QString, versione);
        QFETCH(QString, manca);
        QFETCH(QString, forma);
        Ambiente a;
        a.scriviIni(u"Multiutenza"_s, versione);
        a.scriviAiuto();
        OpzioniNuovoDatabase o;
        o.versionePrecedente = manca == "DataAvvio"_L1;
        a.creaDb(o);
        a.operatoreNelFile();
        {
            CorsiDB d(u"vecchia"_s);
            d.apri(a.connessione(), QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Condiviso);
            if (manca == "NumPersone"_L1) {
                // The view over the table's every column goes and comes back, as the earlier release had it.
                d.esegui(u"DROP VIEW qryhandi"_s);
                d.esegui(u"ALTER TABLE CorsiHandi DROP COLUMN NumPersone"_s);
                for (const QuerySalvata &q : querySalvate())
                    if (q.nome == "qryhandi"_L1)
                        d.esegui(istruzioneVista(q.nome, q.perMotore(d.motore())));
            }
            if (manca == "Invii"_L1) {
                d.esegui(u"DROP TABLE Invii"_s);
                d.esegui(u"DROP TABLE DomandeDefinitive"_s);
            }
            QCOMPARE(quirdal::schemaPrecedente(d), !manca.isEmpty());
        }
        QCOMPARE(::forma(a), forma);

        VistaFinta v;
        PassiAvvio passi;
        passi.tabelle = [](Contesto &) {};
        Avvio avvio(*a.contesto, v, passi);
        const bool fermo = versione == "CLIENT"_L1 && !manca.isEmpty();
        QCOMPARE(finisce([&] { avvio.esegui(); }), fermo);

        if (fermo) {
            unMessaggio(a.dialoghi,
                        u"La Base Dati è stata creata da una versione precedente del programma e deve essere aggiornata. "
                        "E' impossibile continuare l'esecuzione del programma da una installazione di tipo CLIENT.\r\n"
                        "Per procedere, avviare la procedura dall'installazione di tipo SERVER, che aggiornerà la Base "
                        "Dati; sarà poi possibile avviare le installazioni CLIENT."_s,
                        u"Installazione Versione Client"_s, Icona::Critico);
            QCOMPARE(v.eventi, QStringList());
        } else {
            QCOMPARE(a.dialoghi.testiMessaggi(), QStringList());
            QCOMPARE(v.eventi, QStringList{u"principale"_s});
        }
        a.db.chiudi();
        // The CLIENT left the database as it found it; the SERVER brought it up to date.
        QCOMPARE(::forma(a), fermo ? forma : u"si|si|si|si|1"_s);

        // Once the SERVER has started, the same CLIENT starts too.
        if (fermo) {
            a.scriviIni(u"Multiutenza"_s, u"SERVER"_s);
            VistaFinta server;
            Avvio(*a.contesto, server, passi).esegui();
            a.db.chiudi();
            a.scriviIni(u"Multiutenza"_s, u"CLIENT"_s);
            a.dialoghi.messaggi.clear();
            VistaFinta client;
            Avvio(*a.contesto, client, passi).esegui();
            QCOMPARE(client.eventi, QStringList{u"principale"_s});
            QCOMPARE(a.dialoghi.testiMessaggi(), QStringList());
        }
    }
};

QTEST_MAIN(TestVersioneSchema)
#include "tst_versioneschema.moc"
