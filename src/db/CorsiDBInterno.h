#pragma once
// What the database layer's own sources share about a connection: the messages of a database
// held by another workstation, the password's seal, the driver's error codes and texts.
// Not for use outside src/db.
#include "common/Errori.h"
#include "db/DatiConnessione.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRegularExpression>
#include <QSqlError>

namespace quirdal::corsidb {

// Key of the keyed hash that seals the password in the database; fixed in the program.
inline const QByteArray kChiaveSigillo = QByteArrayLiteral("QUIRDAL-CorsiDB-sigillo-v1");

inline const QString kAltraPostazioneEsclusiva =
    QStringLiteral("La base dati è aperta da un'altra postazione: impossibile aprirla in modo esclusivo.");
inline const QString kApertaInEsclusiva = QStringLiteral("La base dati è aperta in modo esclusivo da un'altra postazione.");
inline const QString kInUso = QStringLiteral("La base dati è in uso da un'altra postazione. Riprovare tra qualche istante.");
inline const QString kConnessioneInterrotta = QStringLiteral("La connessione al server della base dati si è interrotta.");

inline QByteArray sigillo(const QString &password, const QByteArray &sale)
{
    return QMessageAuthenticationCode::hash(sale + password.toUtf8(), kChiaveSigillo, QCryptographicHash::Sha256).toHex();
}

inline int codiceSqlite(const QSqlError &e)
{
    bool ok = false;
    const int c = e.nativeErrorCode().toInt(&ok);
    return ok ? (c & 0xFF) : -1;
}

// The server's message without its severity word ("ERROR:  ") and the lines of detail.
inline QString testoServer(const QSqlError &e)
{
    static const QRegularExpression gravita(QStringLiteral("^\\s*[A-Z]+:\\s+"));
    QString t = e.databaseText().isEmpty() ? e.driverText() : e.databaseText();
    t = t.section(QLatin1Char('\n'), 0, 0).trimmed();
    t.remove(gravita);
    return t;
}

inline QString nomePresenzaDi(const QString &percorso)
{
    const QFileInfo fi(percorso);
    return fi.dir().filePath(fi.completeBaseName() + QStringLiteral(".ldb"));
}

// Why a connection to the server was not made, from the text of libpq and of the server (in
// English or Italian, as their language is set): the one place where a message is read,
// since a refused connection carries no SQLSTATE to the driver.
inline Errore erroreApertura(const QSqlError &e, const DatiConnessione &d)
{
    const QString t = (e.databaseText() + QLatin1Char(' ') + e.driverText()).toLower();
    auto c = [&](const char *parola) { return t.contains(QLatin1String(parola)); };
    const QString server = d.host + QLatin1Char(':') + QString::number(d.porta);
    if ((c("role \"") && c("does not exist")) || (c("ruolo \"") && c("non esiste")) || c("password authentication")
        || c("autenticazione con password") || c("no password supplied") || c("nessuna password") || c("authentication failed")
        || c("autenticazione fallita") || c("pg_hba.conf"))
        return Errore(codici::PasswordErrata,
                      QStringLiteral("Il server della base dati ") + server + QStringLiteral(" non accetta l'utente '") + d.utente
                          + QStringLiteral("' con la password indicata."));
    if ((c("database \"") && (c("does not exist") || c("non esiste"))))
        return Errore(codici::FileNonTrovato,
                      QStringLiteral("La base dati '") + d.nomeDb + QStringLiteral("' non esiste sul server ") + server
                          + QLatin1Char('.'));
    if (c("too many") || c("troppi"))
        return Errore(codici::ConnessioneServer,
                      QStringLiteral("Il server della base dati ") + server + QStringLiteral(" non accetta altre connessioni."));
    return Errore(codici::ConnessioneServer,
                  QStringLiteral("Impossibile collegarsi al server della base dati ") + server
                      + QStringLiteral(": il server non risponde o l'indirizzo è errato (") + testoServer(e)
                      + QStringLiteral(")."));
}

} // namespace quirdal::corsidb
