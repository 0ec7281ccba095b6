// The courses of an application through the spreadsheet: the export of N courses, their import
// with every course changed (each written and taken through every rule) and unchanged (every rule,
// nothing written), beside the time of writing the same courses straight, without a file and
// without checks, in the same run.
//
//   bench_foglio [--corsi N]      default 200
#include "Banco.h"
#include "common/Progresso.h"
#include "config/SessioneIni.h"
#include "courses/Corso.h"
#include "courses/Elenchi.h"
#include "courses/FoglioCorsi.h"
#include "courses/VerificaCorso.h"
#include "loading/TabelleDecodifica.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

using namespace quirdal;

namespace {

QString primo(const QStringList &voci) { return voci.isEmpty() ? QString() : codiceVoce(voci.first()); }

// A course of the demo call's action III.G.06.04 that passes every rule, its codes taken from the
// call's own lists.
DatiCorso corsoValido(CorsiDB &db, const Sessione &s)
{
    DatiCorso d;
    d.codQualif = primo(vociQualifiche(db));
    d.desQualif = vociQualifiche(db).value(0).section(QStringLiteral("  "), 1).trimmed();
    d.codAsse = QStringLiteral("III.G");
    d.codMisura = QStringLiteral("06");
    d.codAzione = QStringLiteral("04");
    d.codTipologia = QStringLiteral("10");
    d.codDest[0] = primo(vociDestinatari(db, d.azione(), d.codTipologia));
    d.codScol = primo(vociScolarita(db, d.azione(), d.codTipologia));
    d.codSetto = primo(vociSettori(db));
    d.codComp = primo(vociComparti(db, d.codSetto));
    d.codOra = primo(vociOrari(db));
    d.codCert = primo(vociCertificazioni(db));
    d.codIsti = primo(vociIstituti(db).mid(1));
    d.numAll = 15;
    d.durataAnnOre = d.totOreIter = 600;
    d.oreStage = 90;
    d.durataTotIter = 1;
    d.ggAvvio = QStringLiteral("15");
    d.mmAvvio = QStringLiteral("09");
    d.aaaaAvvio = QStringLiteral("2009");
    d.spinNonPresente = true;
    d.sez34[2] = QStringLiteral("IMMIGRATI");
    SpeseAnno &x = d.spese[0];
    x.a1 = Importo::daCentesimi(850);
    x.oreA1 = 600;
    x.allA1 = x.all17_3 = 15;
    x.p17_3 = CalcolaParam17_3(600);
    x.percentuali = {40, 30, 10, 10, 10};
    ArrotondaSpese(x);
    for (const EsitoVerifica &e : problemiCorso(db, s, d, false, true))
        QTextStream(stderr) << "il corso di prova non passa le verifiche: " << e.messaggio << '\n';
    return d;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments();
    const int corsi = a.size() == 3 && a[1] == QLatin1String("--corsi") ? a[2].toInt() : 200;
    QTextStream out(stdout);
    bench::Banco b;
    CorsiDB &db = b.db;
    Sessione &s = b.s;
    b.apri();

    // The demo call's lookup tables, through the loader.
    const QDir tabelle(QStringLiteral(QUIRDAL_SORGENTI "/data/tabelle"));
    ProgressoCaricamento progresso;
    for (const QString &f : tabelle.entryList({QStringLiteral("*.txt")})) {
        const QString t = f.chopped(4);
        caricaTabella(b.c, tabelle.filePath(f), t, terminiChiave(b.c, t), progresso);
    }
    {
        Transazione t(db);
        db.esegui(
            QStringLiteral("INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione, TipoOper) VALUES ('A', 1, 'ENTE', 'EF')"));
        db.esegui(QStringLiteral(
            "INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, NumDoma) VALUES ('A', 1, '001', 1, '9')"));
        for (int comp = 1; comp <= 5; ++comp)
            db.esegui(QStringLiteral("INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione, "
                                     "CodComune, NumLocali) VALUES ('A', 1, ?, ?, 'SEDE', '001001', 20)"),
                      {comp, comp == 1 ? QStringLiteral("SL") : QStringLiteral("UL")});
        t.conferma();
    }
    impostaDomanda(s, db, QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("001"));
    s.impostaSede(QStringLiteral("1"));
    DatiCorso modello = corsoValido(db, s);

    // Baseline: the same courses written straight, in one transaction, no file, no check.
    QElapsedTimer t;
    t.start();
    {
        Transazione tr(db);
        for (int i = 0; i < corsi; ++i) {
            s.impostaSede(QString::number(1 + i % 5));
            modello.chiave = {s.numeroSede(), {}, {}};
            scriviCorso(db, s, b.p, modello);
        }
        tr.conferma();
    }
    const qint64 diretta = t.elapsed();

    const QString file = b.dir.filePath(QStringLiteral("corsi.xlsx"));
    t.restart();
    QString errore;
    esportaCorsi(db, s, file, &errore);
    const qint64 esportazione = t.elapsed();
    t.restart();
    esportaCorsi(db, s, b.dir.filePath(QStringLiteral("corsi.csv")), &errore);
    const qint64 csv = t.elapsed();

    // Every course of the file now differs from the database: each is written and checked.
    db.esegui(QStringLiteral("UPDATE CorsiPropSpese SET ParamA1 = 8"));
    t.restart();
    const EsitoImportazione cambiati = importaCorsi(db, s, b.p, file);
    const qint64 importazione = t.elapsed();
    t.restart();
    const EsitoImportazione uguali = importaCorsi(db, s, b.p, file);
    const qint64 verifica = t.elapsed();
    for (const ProblemaFoglio &p : cambiati.problemi)
        out << rigaProblemaFoglio(p) << '\n';

    out << "corsi: " << corsi << '\n'
        << "scrittura diretta (riferimento, senza file e senza verifiche): " << diretta << " ms\n"
        << "esportazione .xlsx: " << esportazione << " ms, .csv: " << csv << " ms\n"
        << "importazione, ogni corso cambiato: " << importazione << " ms (" << sintesiImportazione(cambiati) << ")\n"
        << "importazione, nessun corso cambiato: " << verifica << " ms (" << sintesiImportazione(uguali) << ")\n";
    const bool riuscita = errore.isEmpty() && cambiati.stato == EsitoImportazione::Stato::Applicata
        && cambiati.aggiornati == corsi && uguali.invariati == corsi;
    return riuscita ? 0 : 1;
}
