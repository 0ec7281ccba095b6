#pragma once
// What the program keeps of every confirmed send: a copy of exactly the bytes uploaded, in the
// folder "Inviati" of the program folder under a name no earlier copy has, and a row of Invii
// with its SHA-256, written before the pending transmission file goes. And what the final
// form fixes of the transmission file (DomandeDefinitive): the file of a locked application
// is written with the date and the sender's address of its final print, so that it is the
// same file whenever it is written and the SHA-256 printed on the form matches what is sent.
#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace quirdal {

class CorsiDB;
struct Contesto;

inline const QString kCartellaInviati = QStringLiteral("Inviati");

// SHA-256 of the bytes, 64 lower-case hexadecimal digits.
QString impronta(const QByteArray &dati);

struct Invio {
    QString grupOpe;
    qlonglong operatore = 0;
    QString prov;
    QString copia; // its name in the folder Inviati
    QString numDoma;
    QString nomeFile; // the transmission file's name, as uploaded
    qint64 dimensione = 0;
    QString sha256;
    QDateTime dataOra; // the server's confirmation
    QString risposta;  // the server's reply text
};

// The folder of the copies, and the paths of a send's copy and receipt.
QString cartellaInviati(const QString &cartellaProgramma);
QString percorsoCopia(const QString &cartellaProgramma, const Invio &i);
QString percorsoRicevuta(const QString &cartellaProgramma, const Invio &i);

// The bytes uploaded kept after a confirmed reception: the copy written whole under a new name
// (never over an earlier copy), then the row recorded. Throws Errore when either fails; a copy
// whose row could not be written is removed again.
Invio conservaInvio(Contesto &c, const QString &prov, const QString &grupOpe, const QString &operatore, const QString &numDoma,
                    const QString &nomeFile, const QByteArray &dati, const QString &risposta);

// The sends of an application, oldest first.
QList<Invio> inviiDomanda(CorsiDB &db, const QString &prov, const QString &grupOpe, qlonglong operatore);

// Whether a send's copy still holds the bytes recorded.
enum class StatoCopia { Integra, Alterata, Mancante };
StatoCopia statoCopia(const QString &cartellaProgramma, const Invio &i);
// "" intact, "copia alterata", "copia mancante".
QString testoStatoCopia(StatoCopia s);

// The transmission file as the final form fixes it.
struct FileDefinitivo {
    QDate data;     // the creation date its records carry
    QString email;  // the sender's address of record A
    QString sha256; // of the file written with them
};
// The one fixed for the application, when it is locked and has one.
std::optional<FileDefinitivo> fileDefinitivo(CorsiDB &db, const QString &prov, const QString &grupOpe, const QString &operatore);
// The file the final print describes: written in memory with the date and address fixed
// earlier when the application has them, otherwise with today's date and the sender's address
// of the user's settings. Nothing when the file cannot be written (the writer has said why).
std::optional<FileDefinitivo> preparaFileDefinitivo(Contesto &c, const QString &prov, const QString &grupOpe,
                                                    const QString &operatore);
// Fixes it for the application: in place of an earlier one when sostituisci (the application
// is being locked now), else only when it has none.
void fissaFileDefinitivo(CorsiDB &db, const QVariantList &chiaveDomanda, const FileDefinitivo &f, bool sostituisci);

} // namespace quirdal
