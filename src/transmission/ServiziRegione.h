#pragma once
// The services of the region's secure server as the program uses them: the application
// number, the version check, the upload of the transmission file, the download of
// operator data and lookup tables, the course-catalogue export step.
#include "transmission/Invii.h"
#include "transmission/Trasferimento.h"

#include <QString>
#include <QStringList>

#include <optional>

class QIODevice;

namespace quirdal {

class CorsiDB;
struct Contesto;

// The address of one of the region's services, as [CONNESSIONE] names it.
QString leggiServizio(Contesto &c, const QString &chiave);

// major.minor.revision compared as numbers, part by part: -1, 0 or 1.
int confrontaVersioni(const QString &a, const QString &b);

// The message of a transfer error on the sending screen ("Errore di trasmissione").
QString testoErroreTrasmissione(const EsitoTrasferimento &e);

// Application number: one request. Ottenuto: the Installazione row exists (created now
// or already there). ErroreServer: the server answered with an error. Fallito: no
// complete reply (the screen offers to try again).
enum class EsitoNumero { Ottenuto, ErroreServer, Fallito };
EsitoNumero richiediNumeroDomanda(Contesto &c, Trasferimento &t, const QString &prov, const QString &grupOpe,
                                  const QString &operatore, const QString &email);
// The messages that end the program when the number cannot be had.
QString testoNumeroNonOttenuto();
// The whole road of FrmnReg's request: an e-mail address first (chiediEmail opens the
// prompt and returns the address, "" when none was given), then the request, offered
// again after a failed connection. FineProgramma: the user gave up; the program ends.
enum class EsitoRecupero { Ottenuto, ErroreServer, FineProgramma };
EsitoRecupero recuperaNumeroDomanda(Contesto &c, Trasferimento &t, const QString &prov, const QString &grupOpe,
                                    const QString &operatore, const std::function<QString()> &chiediEmail);

// The version check before a transmission: true when this version may transmit.
bool VerificaVersione(Contesto &c, Trasferimento &t, const QString &versione = {});

// Writes the transmission file and uploads it; the file is deleted only after a
// confirmed reception or a certificate error. A confirmed reception first keeps a copy of the
// file and records the send (registrato, when given); when they cannot be kept the file stays.
bool InviaFile(Contesto &c, Trasferimento &t, const QString &prov, const QString &grupOpe, const QString &operatore,
               std::optional<Invio> *registrato = nullptr);
// The upload address: scheme, host and port of the NREG address, the upload path.
QString indirizzoUpload(const QString &indirizzoNreg);

// Download: the body from "GrupOpe      - Operatore" entries.
QString vocePerScarico(const QString &grupOpe, const QString &operatore);
QByteArray corpoScarico(const QStringList &voci);
constexpr int kMassimoOperatoriScarico = 150;
// The names a download may write, as the program spells them: the operator files, the
// lookup-table files of the tables the loader loads (of the database when given, of
// the schema otherwise), and the two flag files.
QStringList nomiScaricabili(CorsiDB *db = nullptr);
// The one reading of a line of a reply container, for the check and the write alike:
// blank or "EOF" closes the open file, a line beginning with "#" (blanks trimmed) is
// data, anything else names a file.
struct RigaContenitore {
    enum Tipo { Chiusura, Dati, Nome } tipo;
    QByteArray testo; // trimmed
};
RigaContenitore leggiRigaContenitore(const QByteArray &riga);
// Unpacks a reply container into the folder, reading it a line at a time. Only the
// names in ammessi are written (letter case ignored, under the name as ammessi spells
// it), never through a symbolic link; a reply that names anything else, or more files
// than there are names, is refused with a message and nothing of it is written.
struct EsitoScompatta {
    QStringList file;
    QString errore;
};
EsitoScompatta scompattaContenitore(const QString &cartella, QIODevice &contenitore, const QStringList &ammessi);
EsitoScompatta scompattaContenitore(const QString &cartella, const QString &contenitore,
                                    const QStringList &ammessi = nomiScaricabili());
// The two requests of frmInstOper: tables, then operator data; true when both went well.
bool scaricaTabelle(Contesto &c, Trasferimento &t, const QStringList &voci);
bool scaricaDatiOperatori(Contesto &c, Trasferimento &t, const QStringList &voci);

// Course-catalogue export: the routine reports 0 (success) in this program.
int EsportaCatalogo(const QString &proxy, const QString &porta);
void passoEsportazione(Contesto &c);
// The message of an export result: 0 success, 5406 a proxy is needed, anything else an error.
void mostraEsitoEsportazione(Contesto &c, int esito);
// A new GUID as 32 hexadecimal digits.
QString GeneraGuid();
// How the machine reaches the Internet: 1 modem, 4 proxy.
bool ControllaStato(Contesto &c, long flag);

} // namespace quirdal
