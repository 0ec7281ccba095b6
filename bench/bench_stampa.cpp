// The PDF of an application of many courses over five sites: the whole print (sections
// filled, laid out, drawn into the PDF, written) beside its reference measured in the same
// run, the same sections filled and laid out once with nothing written. Each pair is run
// several times, taking turns at going first; the table gives the minimum and the median of
// wall and CPU time, and the peak of resident memory while each ran (Linux).
//
//   bench_stampa [--corsi N] [--giri K] [--pdf FILE]
//   default 100 courses, 3 rounds; --pdf keeps a copy of the PDF, to compare with another build's
#include "Banco.h"
#include "printing/Stampa.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

using namespace quirdal;

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments();
    const int corsi = bench::opzione(a, QLatin1String("--corsi"), 100);
    const int giri = std::max(1, bench::opzione(a, QLatin1String("--giri"), 3));
    QTextStream out(stdout);
    bench::Banco b;
    CorsiDB &db = b.db;
    b.apri();
    {
        Transazione t(db);
        db.esegui(QStringLiteral("INSERT INTO Province VALUES ('001','AL','ALFA','01')"));
        db.esegui(QStringLiteral("INSERT INTO Comuni VALUES ('001001','ALFA','001','AL','10100')"));
        db.esegui(QStringLiteral("INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione, TipoOper, LegNome, "
                                 "ContIBAN) VALUES ('A', 1, 'ENTE DI FORMAZIONE', 'EF', 'ROSSI MARIO', "
                                 "'IT60X0542811101000000123456')"));
        db.esegui(QStringLiteral("INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, NumDoma) VALUES ('A', 1, "
                                 "'001', 1, '000009')"));
        for (int comp = 1; comp <= 5; ++comp) {
            db.esegui(QStringLiteral("INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione, "
                                     "CodComune, Cap, Indirizzo, Tel, Riferimento, NumLocali) VALUES ('A', 1, ?, ?, "
                                     "'SEDE DI FORMAZIONE', '001001', '10100', 'VIA ROMA 1', '011555', 'BIANCHI', 6)"),
                      {comp, comp == 1 ? QStringLiteral("SL") : QStringLiteral("UL")});
            db.esegui(QStringLiteral("INSERT INTO CorsiCompoTipoLab (GrupOpe, Operatore, Componente, NumLab, TipoLab) "
                                     "VALUES ('A', 1, ?, 2, 'LABORATORIO INFORMATICO')"),
                      {comp});
        }
        for (int id = 1; id <= 10; ++id)
            db.esegui(QStringLiteral("INSERT INTO Metadati VALUES ('001', ?, 'C', 'ELEMENTO DI VALUTAZIONE', '')"), {id});
        for (int i = 1; i <= corsi; ++i) {
            const QString corso = QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'));
            const int sede = 1 + i % 5;
            db.esegui(QStringLiteral("INSERT INTO CorsiProp (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, "
                                     "DesQualif, CodAsse, CodMisura, CodAzione, CodTipologia, StatoIter, NumAll, "
                                     "DurataAnnOre, TotOreIter, DurataTotIter, CodOra, Sez34_1, Sez34_2, DataAvvio) "
                                     "VALUES ('A', 1, ?, ?, '0', 'QUALIFICA DEL CORSO', 'III.G', '06', '04', '10', 1, "
                                     "15, 600, 1200, 2, 1, ?, ?, '15/09/2009')"),
                      {sede, corso, QStringLiteral("Obiettivi del corso e contesto territoriale. ").repeated(12),
                       QStringLiteral("Articolazione in moduli teorici e pratici. ").repeated(12)});
            for (int anno = 1; anno <= 2; ++anno)
                db.esegui(QStringLiteral("INSERT INTO CorsiPropSpese (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, "
                                         "ProgrAnno, ParamA1, NumOreA1, NumAllA1, Param70, Param70P) VALUES ('A', 1, ?, "
                                         "?, '0', ?, 8.5, 600, 15, 7650, 10)"),
                          {sede, corso, anno});
            for (int id = 1; id <= 10; ++id)
                db.esegui(QStringLiteral("INSERT INTO ValoriChk VALUES ('A', 1, ?, ?, '0', '001', ?, ?)"),
                          {sede, corso, id, id % 2 ? -1 : 0});
        }
        t.conferma();
    }
    Sessione &s = b.s;
    s.impostaOperatore(QStringLiteral("A"), QStringLiteral("1"));
    s.gProv = QStringLiteral("001");
    s.gDesProv = QStringLiteral("ALFA");
    s.gDomanda = 1;

    AvanzamentoStampa nulla;
    RichiestaStampa r;
    r.apriAlTermine = false;

    // The whole print, as the user gets it, beside its reference: the same sections filled
    // and laid out once, nothing written.
    EsitoStampa e;
    int pagine = 0;
    bench::Serie intera, impaginazione;
    bench::alterna(
        giri, intera, [&] { e = MotoreStampa(b.c, nulla).esegui(r); }, impaginazione,
        [&] {
            MotoreStampa m(b.c, nulla);
            m.compilaSezioni(r);
            pagine = m.pdf().pagine();
        });
    if (e.stato != EsitoStampa::Stato::Completa) {
        out << "stampa non riuscita\n";
        return 1;
    }
    out << "corsi " << corsi << ", sezioni " << e.sezioni << ", pagine " << e.pagine << ", PDF "
        << QFileInfo(e.filePdf).size() / 1024 << " KiB; " << giri << " giri, coppie alternate\n";
    out << bench::Serie::intestazione() << '\n';
    out << intera.riga(QStringLiteral("stampa intera")) << '\n';
    out << impaginazione.riga(QStringLiteral("riferimento: impaginazione")) << '\n';
    // How many times the layout alone the whole print takes (lower is better).
    out << "stampa / impaginazione: muro min "
        << QString::number(bench::minimo(intera.muro) / bench::minimo(impaginazione.muro), 'f', 2) << ", muro med "
        << QString::number(bench::mediana(intera.muro) / bench::mediana(impaginazione.muro), 'f', 2) << ", CPU min "
        << QString::number(bench::minimo(intera.cpu) / bench::minimo(impaginazione.cpu), 'f', 2) << ", CPU med "
        << QString::number(bench::mediana(intera.cpu) / bench::mediana(impaginazione.cpu), 'f', 2)
        << " (volte; più basso è meglio)\n";
    const qsizetype copia = a.indexOf(QLatin1String("--pdf"));
    if (copia > 0 && copia + 1 < a.size()) {
        QFile::remove(a[copia + 1]);
        if (!QFile::copy(e.filePdf, a[copia + 1]))
            out << "copia del PDF non riuscita\n";
    }
    out << "pagine al secondo (muro min): " << QString::number(e.pagine / (bench::minimo(intera.muro) / 1000.0), 'f', 1) << '\n';
    return pagine == e.pagine ? 0 : 1;
}
