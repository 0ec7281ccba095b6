// The transmission file of an application of many course rows, with costs and check values,
// beside reading the same course rows with one SELECT (every value of every row read), on
// the same database in the same run. The engine is SQLite, or PostgreSQL where
// QUIRDAL_TEST_PG names a server, as for the tests (scripts/con-postgres
// build/bench/bench_trasmissione).
//
// The two run in pairs, taking turns at going first, for the rounds asked. Per piece: wall and
// CPU time of this process (on a server, the server's own work is in the wall time only),
// fastest and median, in ms; then the file's time over the SELECT's, fastest against fastest
// and the median of the pairs. Goal: the file within 5 times the SELECT.
//
//   bench_trasmissione [--corsi N] [--giri K]      default 1000 courses, 5 rounds
#include "Banco.h"
#include "common/Contesto.h"
#include "common/Sessione.h"
#include "db/CorsiDB.h"
#include "transmission/CreaFileTrasm.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>

using namespace quirdal;

namespace {

// One operator, ten sites of one province, and the courses with a cost row and ten check
// values each.
void popola(CorsiDB &db, int corsi)
{
    Transazione t(db);
    db.esegui(QStringLiteral("INSERT INTO Province VALUES ('001','AL','ALFA','01')"));
    db.esegui(QStringLiteral("INSERT INTO Comuni VALUES ('001001','ALFA','001','AL','10100')"));
    db.esegui(
        QStringLiteral("INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione, TipoOper) VALUES ('A', 1, 'ENTE', 'EF')"));
    db.esegui(
        QStringLiteral("INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, NumDoma) VALUES ('A', 1, '001', 1, '9')"));
    for (int comp = 1; comp <= 10; ++comp)
        db.esegui(QStringLiteral("INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione, "
                                 "CodComune) VALUES ('A', 1, ?, ?, 'SEDE', '001001')"),
                  {comp, comp == 1 ? QStringLiteral("SL") : QStringLiteral("UL")});
    for (int id = 1; id <= 10; ++id)
        db.esegui(QStringLiteral("INSERT INTO Metadati VALUES ('001', ?, 'C', 'VOCE', '')"), {id});
    for (int i = 1; i <= corsi; ++i) {
        const QString corso = QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'));
        const int sede = 1 + i % 10;
        db.esegui(QStringLiteral("INSERT INTO CorsiProp (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, DesQualif, "
                                 "CodAsse, CodMisura, CodAzione, CodTipologia, StatoIter, NumAll, DurataAnnOre, "
                                 "TotOreIter, DurataTotIter, Sez34_1, DataAvvio) VALUES ('A', 1, ?, ?, '0', "
                                 "'QUALIFICA DEL CORSO', 'III.G', '06', '04', '10', 1, 15, 600, 600, 1, 'TESTO', "
                                 "'15/09/2009')"),
                  {sede, corso});
        db.esegui(QStringLiteral("INSERT INTO CorsiPropSpese (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, "
                                 "ProgrAnno, ParamA1, NumOreA1, NumAllA1, Param70P, Param71P) VALUES ('A', 1, ?, ?, "
                                 "'0', 1, 8.5, 600, 15, 50, 50)"),
                  {sede, corso});
        for (int id = 1; id <= 10; ++id)
            db.esegui(QStringLiteral("INSERT INTO ValoriChk VALUES ('A', 1, ?, ?, '0', '001', ?, ?)"),
                      {sede, corso, id, id % 2 ? -1 : 0});
    }
    t.conferma();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments();
    const int corsi = bench::opzione(a, QLatin1String("--corsi"), 1000);
    const int giri = std::max(1, bench::opzione(a, QLatin1String("--giri"), 5));
    QTextStream out(stdout);
    const Motore motore = bench::motoreBanco();
    bench::Banco b(motore);
    CorsiDB &db = b.db;
    b.apri();
    popola(db, corsi);

    int righe = 0;
    const std::function<void()> lettura = [&] {
        righe = 0;
        QSqlQuery q = db.seleziona(QStringLiteral(
            "SELECT P.*, S.* FROM CorsiProp P LEFT JOIN CorsiPropSpese S ON S.GrupOpe = P.GrupOpe AND S.Operatore = "
            "P.Operatore AND S.SedeInteressata = P.SedeInteressata AND S.Corso = P.Corso AND S.Accorp = P.Accorp ORDER BY "
            "P.SedeInteressata, P.Corso"));
        const int campi = q.record().count();
        while (q.next()) {
            for (int i = 0; i < campi; ++i)
                q.value(i);
            ++righe;
        }
    };
    mCreaFileTrasm m(b.c);
    bool ok = true;
    const std::function<void()> file = [&] {
        ok = m.CreaFile(QStringLiteral("001"), QStringLiteral("A"), QStringLiteral("1")) && ok;
    };
    bench::Serie sSelect, sFile;
    bench::alterna(giri, sSelect, lettura, sFile, file);
    QList<double> rapporti; // pair by pair
    for (int i = 0; i < giri; ++i)
        rapporti << sFile.muro[i] / sSelect.muro[i];
    const qint64 byte = QFileInfo(b.dir.filePath(m.gNomeFileTrasm())).size();
    out << nomeMotore(motore) << ", " << righe << " righe di corso, file di " << byte << " byte; " << giri
        << " giri, coppie alternate.\n"
        << bench::Serie::intestazione() << '\n'
        << sSelect.riga(QStringLiteral("lettura con una SELECT")) << '\n'
        << sFile.riga(QStringLiteral("file di trasmissione")) << '\n'
        << "file / SELECT (muro): min " << QString::number(bench::minimo(sFile.muro) / bench::minimo(sSelect.muro), 'f', 2)
        << ", mediana delle coppie " << QString::number(bench::mediana(rapporti), 'f', 2) << " (obiettivo <= 5)\n";
    return ok && byte > 0 && b.d.messaggi == 0 && righe == corsi ? 0 : 1;
}
