#include "db/CopiaTraBasiDati.h"

#include "common/Errori.h"
#include "db/CatalogoCopie.h"
#include "db/CorsiDB.h"
#include "db/CorsiDBInterno.h"
#include "db/IstruzionePreparata.h"
#include "db/Schema.h"

#include <QFile>
#include <QUuid>

namespace quirdal {

namespace cp = sql::copie;

namespace {

// The columns of the destination that the source also has, as the program spells them.
QStringList colonneComuni(CorsiDB &da, CorsiDB &a, const QString &tabella)
{
    // A table added since the source was made (an archive of an earlier release): none.
    if (!da.esisteTabella(tabella))
        return {};
    QStringList sorgente;
    for (const Colonna &c : da.colonne(tabella))
        sorgente << c.nome.toLower();
    QStringList r;
    for (const Colonna &c : a.colonne(tabella))
        if (sorgente.contains(c.nome.toLower()))
            r << c.nome;
    return r;
}

// A value as the destination's engine takes it. A real goes to the server as its shortest
// exact text (an amount of SQLite's file read back to the cent into numeric); the server's
// exact numbers already come as text, which SQLite's numeric columns turn into numbers.
QVariant perDestinazione(const QVariant &v, CorsiDB &a)
{
    if (a.motore() == Motore::PostgreSQL && v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    return v;
}

} // namespace

QList<RigheCopiate> copiaRighe(CorsiDB &da, CorsiDB &a, const QStringList &tabelle, const QVariantList &chiaveOperatore)
{
    QList<RigheCopiate> r;
    for (const QString &tabella : tabelle.isEmpty() ? tabelleSchema() : tabelle) {
        const QStringList colonne = colonneComuni(da, a, tabella);
        const bool perOperatore = !chiaveOperatore.isEmpty();
        if (colonne.isEmpty()
            || (perOperatore
                && (!colonne.contains(QStringLiteral("GrupOpe"), Qt::CaseInsensitive)
                    || !colonne.contains(QStringLiteral("Operatore"), Qt::CaseInsensitive))))
            continue;
        const QString elenco = colonne.join(QStringLiteral(", "));
        QStringList segnaposto;
        for (qsizetype i = 0; i < colonne.size(); ++i)
            segnaposto << QStringLiteral("?");
        IstruzionePreparata inserisci(
            a, completa(cp::kInserisci, {tabella, elenco, segnaposto.join(QStringLiteral(", "))}).testo(a.motore()));
        QSqlQuery q = perOperatore ? da.seleziona(completa(cp::kRigheOperatore, {tabella, elenco}), chiaveOperatore)
                                   : da.seleziona(completa(cp::kRighe, {tabella, elenco}));
        RigheCopiate copiate{tabella, 0};
        while (q.next()) {
            for (int i = 0; i < colonne.size(); ++i)
                inserisci.lega(i, perDestinazione(q.value(i), a));
            inserisci.esegui();
            ++copiate.righe;
        }
        q.finish();
        r << copiate;
    }
    return r;
}

void allineaContatori(CorsiDB &db)
{
    if (!cp::kAllineaContatore.perMotore(db.motore()))
        return;
    db.seleziona(completa(cp::kAllineaContatore, {QStringLiteral("CorsiCompoTipoLab"), QStringLiteral("IdLab")})).finish();
}

void scriviInFile(CorsiDB &da, const QString &file)
{
    creaDatabase(file, QString::fromLatin1(CorsiDB::kPassword));
    CorsiDB copia(QStringLiteral("copia-") + QUuid::createUuid().toString(QUuid::Id128));
    copia.apri(file, QString::fromLatin1(CorsiDB::kPassword), ModoApertura::Esclusivo);
    {
        // One snapshot of the source: what other workstations write meanwhile is not half in it.
        const Lettura lettura(da);
        Transazione t(copia);
        copiaRighe(da, copia);
        t.conferma();
    }
    copia.chiudi();
    // The copy's connection marked its presence beside the new file, which no one else opens:
    // nothing of it is left beside the copy.
    QFile::remove(corsidb::nomePresenzaDi(file));
}

} // namespace quirdal
