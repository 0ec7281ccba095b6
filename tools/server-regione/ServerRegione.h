#pragma once
// The simulated secure server of the region: HTTPS on 127.0.0.1, one request per
// connection, the services the program calls, and the faults the tests ask for.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSslServer>
#include <QString>

class QSslSocket;

namespace regione {

// What a service does instead of answering, to exercise the client's error paths.
// StatoHttp: its usual body under an error status; Propri: a container that names the
// program's own files before its usual body; Casuale: random bytes; Compresso: a body
// declared gzip that is not.
enum class Guasto { Nessuno, Html, Errore, Lento, Chiudi, Vuoto, StatoHttp, Propri, Casuale, Compresso };

struct Opzioni {
    QString dati = QStringLiteral("dati");
    QString ricevuti = QStringLiteral("ricevuti");
    QString numero; // empty: derived
    QString versione = QStringLiteral("#1.0.0#1.0.0#N#Versione in vigore");
    QHash<QString, Guasto> guasti; // by service name
    QHash<QString, int> statiHttp; // of the StatoHttp faults
    QByteArray contenitore;        // when set, the body of both download services
};

// The services by name, as --guasto names them, and the fault modes.
bool servizioNoto(const QString &nome);
Guasto guastoDaNome(const QString &modo); // Nessuno for an unknown mode
// The status of a "statoNNN" mode (400 to 599), 0 for any other.
int statoDaNome(const QString &modo);

struct Richiesta {
    QByteArray metodo, percorso, corpo;
    QHash<QByteArray, QByteArray> intestazioni; // names in lower case
};

struct Risposta {
    int codice = 200;
    QByteArray corpo;
    bool html = false;
    QByteArray intestazioni; // further header lines, each ended by CR LF
};

class ServerRegione {
public:
    explicit ServerRegione(Opzioni opzioni);
    // Empty on success, else the reason.
    QString avvia(quint16 porta, const QString &certificato, const QString &chiave);
    quint16 porta() const { return server_.serverPort(); }

    // The services, one per path.
    Risposta nreg(const Richiesta &r);
    Risposta versione(const Richiesta &r);
    Risposta upload(const Richiesta &r);
    Risposta aggiornaDb(const Richiesta &r);
    Risposta aggiornaTabelle(const Richiesta &r);
    Risposta assistenza(const Richiesta &r);

private:
    void nuovaConnessione(QSslSocket *socket);
    void servi(QSslSocket *socket, const Richiesta &richiesta);

    Opzioni opzioni_;
    QSslServer server_;
    int pratiche_ = 0;
    int caricamenti_ = 0; // uploads of transmission files received
};

} // namespace regione
