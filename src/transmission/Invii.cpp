#include "transmission/Invii.h"

#include "common/Contesto.h"
#include "common/Errori.h"
#include "common/Piattaforma.h"
#include "common/Sessione.h"
#include "config/Impostazioni.h"
#include "db/Aggiornamenti.h"
#include "db/CorsiDB.h"
#include "transmission/CatalogoTrasmissione.h"
#include "transmission/CreaFileTrasm.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace quirdal {

namespace {

const QString kFormatoDataOra = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString kFormatoDataFile = QStringLiteral("yyyyMMdd");

// "QUIRDAL_001_000123.A7" confirmed on 30/11/2009 at 9:30 -> "QUIRDAL_001_000123_20091130-093000.A7",
// "-2", "-3" ... added when that name is taken.
QString nomeCopia(const QString &nomeFile, const QDateTime &quando, int n)
{
    const qsizetype punto = nomeFile.lastIndexOf(QLatin1Char('.'));
    const QString base = punto > 0 ? nomeFile.left(punto) : nomeFile;
    const QString estensione = punto > 0 ? nomeFile.mid(punto) : QString();
    return base + QLatin1Char('_') + quando.toString(QStringLiteral("yyyyMMdd-HHmmss"))
        + (n > 1 ? QLatin1Char('-') + QString::number(n) : QString()) + estensione;
}

Errore erroreCopia(const QString &percorso, const QString &perche)
{
    return Errore(codici::Generico,
                  QStringLiteral("Impossibile scrivere la copia dell'invio ") + QDir::toNativeSeparators(percorso)
                      + QStringLiteral(": ") + perche);
}

} // namespace

QString impronta(const QByteArray &dati)
{
    return QString::fromLatin1(QCryptographicHash::hash(dati, QCryptographicHash::Sha256).toHex());
}

QString cartellaInviati(const QString &cartellaProgramma) { return QDir(cartellaProgramma).filePath(kCartellaInviati); }

QString percorsoCopia(const QString &cartellaProgramma, const Invio &i)
{
    return QDir(cartellaInviati(cartellaProgramma)).filePath(i.copia);
}

QString percorsoRicevuta(const QString &cartellaProgramma, const Invio &i)
{
    return QDir(cartellaInviati(cartellaProgramma)).filePath(QStringLiteral("Ricevuta_") + i.copia + QStringLiteral(".pdf"));
}

Invio conservaInvio(Contesto &c, const QString &prov, const QString &grupOpe, const QString &operatore, const QString &numDoma,
                    const QString &nomeFile, const QByteArray &dati, const QString &risposta)
{
    Invio i;
    i.grupOpe = grupOpe;
    i.operatore = operatore.toLongLong();
    i.prov = prov;
    i.numDoma = numDoma;
    i.nomeFile = nomeFile;
    i.dimensione = dati.size();
    i.sha256 = impronta(dati);
    i.dataOra = c.piattaforma.adesso();
    i.risposta = risposta;

    const QString cartella = cartellaInviati(c.cartellaProgramma);
    if (!QDir().mkpath(cartella))
        throw erroreCopia(cartella, QStringLiteral("la cartella non si crea"));
    // Written whole under a temporary name, then given a name that neither a file nor a
    // recorded send has: a rename never replaces a file that is there.
    QTemporaryFile temporaneo(QDir(cartella).filePath(QStringLiteral("invio-XXXXXX.tmp")));
    if (!temporaneo.open() || temporaneo.write(dati) != dati.size() || !temporaneo.flush())
        throw erroreCopia(temporaneo.fileName(), temporaneo.errorString());
    temporaneo.close();
    for (int n = 1;; ++n) {
        if (n > 1000)
            throw erroreCopia(cartella, QStringLiteral("nessun nome libero"));
        i.copia = nomeCopia(nomeFile, i.dataOra, n);
        const QString percorso = percorsoCopia(c.cartellaProgramma, i);
        if (QFileInfo::exists(percorso) || QFileInfo(percorso).isSymLink()
            || c.db.valoreScalare(sql::trasmissione::kCopiaRegistrata, {grupOpe, i.operatore, prov, i.copia}).toInt())
            continue;
        if (temporaneo.rename(percorso))
            break;
        if (!QFileInfo::exists(percorso))
            throw erroreCopia(percorso, temporaneo.errorString());
    }
    temporaneo.setAutoRemove(false);
    try {
        Transazione t(c.db);
        c.db.esegui(sql::trasmissione::kRegistraInvio,
                    {grupOpe, i.operatore, prov, i.copia, numDoma, nomeFile, i.dimensione, i.sha256,
                     i.dataOra.toString(kFormatoDataOra), risposta});
        t.conferma();
    } catch (const Errore &) {
        // A copy that no row describes is not kept: the pending file stays instead.
        QFile::remove(percorsoCopia(c.cartellaProgramma, i));
        throw;
    }
    return i;
}

QList<Invio> inviiDomanda(CorsiDB &db, const QString &prov, const QString &grupOpe, qlonglong operatore)
{
    QList<Invio> r;
    QSqlQuery q = db.seleziona(sql::trasmissione::kInviiDomanda, {grupOpe, operatore, prov});
    while (q.next()) {
        Invio i;
        i.grupOpe = q.value(0).toString();
        i.operatore = q.value(1).toLongLong();
        i.prov = q.value(2).toString();
        i.copia = q.value(3).toString();
        i.numDoma = q.value(4).toString();
        i.nomeFile = q.value(5).toString();
        i.dimensione = q.value(6).toLongLong();
        i.sha256 = q.value(7).toString();
        i.dataOra = QDateTime::fromString(q.value(8).toString(), kFormatoDataOra);
        i.risposta = q.value(9).toString();
        r << i;
    }
    return r;
}

StatoCopia statoCopia(const QString &cartellaProgramma, const Invio &i)
{
    // Only a plain file of that name in the folder, never through a link or out of it.
    if (i.copia.isEmpty() || i.copia.contains(QLatin1Char('/')) || i.copia.contains(QLatin1Char('\\'))
        || i.copia == QLatin1String("..") || i.copia == QLatin1String("."))
        return StatoCopia::Mancante;
    const QFileInfo fi(percorsoCopia(cartellaProgramma, i));
    if (fi.isSymLink() || !fi.isFile())
        return StatoCopia::Mancante;
    if (fi.size() != i.dimensione)
        return StatoCopia::Alterata;
    QFile f(fi.filePath());
    if (!f.open(QIODevice::ReadOnly))
        return StatoCopia::Mancante;
    QCryptographicHash h(QCryptographicHash::Sha256);
    if (!h.addData(&f))
        return StatoCopia::Mancante;
    return QString::fromLatin1(h.result().toHex()) == i.sha256.toLower() ? StatoCopia::Integra : StatoCopia::Alterata;
}

QString testoStatoCopia(StatoCopia s)
{
    switch (s) {
    case StatoCopia::Integra:
        return {};
    case StatoCopia::Alterata:
        return QStringLiteral("copia alterata");
    case StatoCopia::Mancante:
        return QStringLiteral("copia mancante");
    }
    return {};
}

std::optional<FileDefinitivo> fileDefinitivo(CorsiDB &db, const QString &prov, const QString &grupOpe, const QString &operatore)
{
    const QVariantList chiave{grupOpe, operatore.toLongLong(), prov};
    // A database the start-up upgrades have not reached yet (the command line) has fixed nothing.
    if (!db.esisteTabella(QStringLiteral("DomandeDefinitive"))
        || db.valoreScalare(sql::trasmissione::kDomandaStampata, chiave).toInt() == 0)
        return std::nullopt;
    QSqlQuery q = db.seleziona(sql::trasmissione::kFileDefinitivo, chiave);
    if (!q.next())
        return std::nullopt;
    const QDate data = QDate::fromString(q.value(0).toString(), kFormatoDataFile);
    if (!data.isValid())
        return std::nullopt;
    return FileDefinitivo{data, q.value(1).toString(), q.value(2).toString()};
}

std::optional<FileDefinitivo> preparaFileDefinitivo(Contesto &c, const QString &prov, const QString &grupOpe,
                                                    const QString &operatore)
{
    FileDefinitivo f;
    if (const auto fissato = fileDefinitivo(c.db, prov, grupOpe, operatore)) {
        f.data = fissato->data;
        f.email = fissato->email;
    } else {
        f.data = c.piattaforma.oggi();
        f.email = c.utente.leggi(chiaviFP::EMail);
        if (f.email.isEmpty())
            f.email = c.sessione.gEmail;
    }
    mCreaFileTrasm modulo(c);
    modulo.fissa(f.data, f.email);
    const QByteArray dati = modulo.Contenuto(prov, grupOpe, operatore);
    if (dati.isEmpty())
        return std::nullopt;
    f.sha256 = impronta(dati);
    return f;
}

void fissaFileDefinitivo(CorsiDB &db, const QVariantList &chiaveDomanda, const FileDefinitivo &f, bool sostituisci)
{
    aggiornaInvii(db);
    if (!sostituisci && db.seleziona(sql::trasmissione::kFileDefinitivo, chiaveDomanda).next())
        return;
    Transazione t(db);
    db.esegui(sql::trasmissione::kTogliFileDefinitivo, chiaveDomanda);
    db.esegui(sql::trasmissione::kNuovoFileDefinitivo,
              chiaveDomanda + QVariantList{f.data.toString(kFormatoDataFile), f.email, f.sha256});
    t.conferma();
}

} // namespace quirdal
