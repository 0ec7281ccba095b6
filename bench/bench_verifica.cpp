// The check of every course of an application ("verifica", "Verifica tutti i corsi") beside
// its reference measured in the same run: one SELECT of the same courses' rows, every column
// read. Each pair is run several times, taking turns at going first; the table gives the
// minimum and the median of wall and CPU time, and the peak of resident memory (Linux).
//
//   bench_verifica [--corsi N] [--giri K]      default 1000 courses, 5 rounds
#include "Banco.h"
#include "courses/VerificaCorso.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace quirdal;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments();
    const int corsi = bench::opzione(a, QLatin1String("--corsi"), 1000);
    const int giri = std::max(1, bench::opzione(a, QLatin1String("--giri"), 5));
    QTextStream out(stdout);
    bench::Banco b;
    CorsiDB &db = b.db;
    b.apri();
    {
        Transazione t(db);
        db.esegui(QStringLiteral("INSERT INTO Province VALUES ('001','AL','ALFA','01')"));
        db.esegui(QStringLiteral("INSERT INTO Comuni VALUES ('001001','ALFA','001','AL','10100')"));
        db.esegui(QStringLiteral("INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione, TipoOper) VALUES ('A', 1, "
                                 "'ENTE DI FORMAZIONE', 'EF')"));
        db.esegui(QStringLiteral("INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, NumDoma) VALUES ('A', 1, "
                                 "'001', 1, '000009')"));
        for (int comp = 1; comp <= 5; ++comp)
            db.esegui(QStringLiteral("INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione, "
                                     "CodComune) VALUES ('A', 1, ?, 'UL', 'SEDE', '001001')"),
                      {comp});
        for (int i = 1; i <= corsi; ++i) {
            const QString corso = QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'));
            const int sede = 1 + i % 5;
            // Four actions and two types, as an application mixes them; hours that vary.
            db.esegui(QStringLiteral("INSERT INTO CorsiProp (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, "
                                     "CodQualif, DesQualif, CodAsse, CodMisura, CodAzione, CodTipologia, CodDest1, CodScol, "
                                     "CodSetto, CodComp, CodOra, CodCert, StatoIter, NumAll, DurataAnnOre, TotOreIter, "
                                     "OreStage, DurataTotIter, DataAvvio) VALUES ('A', 1, ?, ?, '0', '310301', 'QUALIFICA', "
                                     "'III.G', ?, '04', ?, '3', 1, 1, 1, 1, 1, 1, 15, ?, ?, 100, 2, '15/09/2009')"),
                      {sede, corso, QStringLiteral("0%1").arg(1 + i % 4), i % 2 ? QStringLiteral("10") : QStringLiteral("20"),
                       500 + i % 7 * 50, 1000 + i % 7 * 100});
            for (int anno = 1; anno <= 2; ++anno)
                db.esegui(QStringLiteral("INSERT INTO CorsiPropSpese (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, "
                                         "ProgrAnno, ParamA1, NumOreA1, NumAllA1, Param70, Param70P) VALUES ('A', 1, ?, "
                                         "?, '0', ?, 8.5, 600, 15, 7650, 100)"),
                          {sede, corso, anno});
        }
        t.conferma();
    }
    Sessione &s = b.s;
    s.impostaOperatore(QStringLiteral("A"), QStringLiteral("1"));
    s.gProv = QStringLiteral("001");
    s.gDomanda = 1;

    qsizetype problemi = 0, righe = 0;
    bench::Serie verifica, select;
    bench::alterna(
        giri, verifica, [&] { problemi = problemiCorsiDomanda(db, s).value().size(); }, select,
        [&] {
            QSqlQuery q = db.seleziona(QStringLiteral("SELECT * FROM CorsiProp WHERE GrupOpe = ? AND Operatore = ?"),
                                       {QStringLiteral("A"), 1});
            righe = 0;
            const int colonne = q.record().count();
            while (q.next()) {
                for (int c = 0; c < colonne; ++c)
                    q.value(c);
                ++righe;
            }
        });
    out << "corsi " << corsi << ", righe lette " << righe << ", problemi trovati " << problemi << "; " << giri
        << " giri, coppie alternate\n";
    out << bench::Serie::intestazione() << '\n';
    out << verifica.riga(QStringLiteral("verifica di tutti i corsi")) << '\n';
    out << select.riga(QStringLiteral("riferimento: una SELECT")) << '\n';
    // How many times one SELECT of the rows the check takes (lower is better).
    auto volte = [](double a, double b) { return QString::number(a / std::max(0.001, b), 'f', 2); };
    out << "verifica / SELECT: muro min " << volte(bench::minimo(verifica.muro), bench::minimo(select.muro)) << ", muro med "
        << volte(bench::mediana(verifica.muro), bench::mediana(select.muro)) << ", CPU min "
        << volte(bench::minimo(verifica.cpu), bench::minimo(select.cpu)) << ", CPU med "
        << volte(bench::mediana(verifica.cpu), bench::mediana(select.cpu)) << " (volte; più basso è meglio)\n";
    return righe == corsi ? 0 : 1;
}
