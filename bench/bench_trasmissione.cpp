// The transmission file of an application of many course rows, with costs and check
// values, beside the time of reading the same rows with one SELECT in the same run.
//
//   bench_trasmissione [--corsi N]      default 1000
#include "Banco.h"
#include "common/Dialoghi.h"
#include "common/Piattaforma.h"
#include "config/FileIni.h"
#include "config/Impostazioni.h"
#include "db/CorsiDB.h"
#include "db/Schema.h"
#include "common/Contesto.h"
#include "common/Sessione.h"
#include "transmission/CreaFileTrasm.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>

using namespace quirdal;

namespace {
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = QCoreApplication::arguments();
    const int corsi = a.size() == 3 && a[1] == QLatin1String("--corsi") ? a[2].toInt() : 1000;
    QTextStream out(stdout);
    bench::Banco b;
    CorsiDB &db = b.db;
    Contesto &c = b.c;
    const bench::DialoghiMuti &d = b.d;
    const QTemporaryDir &dir = b.dir;
    b.apri();
    {
        Transazione t(db);
        db.esegui(QStringLiteral("INSERT INTO Province VALUES ('001','AL','ALFA','01')"));
        db.esegui(QStringLiteral("INSERT INTO Comuni VALUES ('001001','ALFA','001','AL','10100')"));
        db.esegui(
            QStringLiteral("INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione, TipoOper) VALUES ('A', 1, 'ENTE', 'EF')"));
        db.esegui(QStringLiteral(
            "INSERT INTO Installazione (GrupOpe, Operatore, Prov, Domanda, NumDoma) VALUES ('A', 1, '001', 1, '9')"));
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

    QElapsedTimer t;
    t.start();
    int righe = 0;
    {
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
    }
    const double lettura = t.nsecsElapsed() / 1e9;

    mCreaFileTrasm m(c);
    t.restart();
    const bool ok = m.CreaFile(QStringLiteral("001"), QStringLiteral("A"), QStringLiteral("1"));
    const double file = t.nsecsElapsed() / 1e9;
    out << "righe di corso: " << righe << '\n'
        << "lettura con una SELECT: " << QString::number(lettura * 1000, 'f', 1) << " ms\n"
        << "file di trasmissione:   " << QString::number(file * 1000, 'f', 1) << " ms ("
        << QFileInfo(dir.filePath(m.gNomeFileTrasm())).size() << " byte), " << QString::number(file / lettura, 'f', 1)
        << " volte la lettura\n";
    return ok && d.messaggi == 0 && righe == corsi ? 0 : 1;
}
