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
enum class Guasto { Nessuno, Html, Errore, Lento, Chiudi, Vuoto };

struct Opzioni {
    QString dati = QStringLiteral("dati");
    QString ricevuti = QStringLiteral("ricevuti");
    QString numero;                                               // empty: derived
    QString versione = QStringLiteral("#1.0.0#1.0.0#N#Versione in vigore");
    QHash<QString, Guasto> guasti;                                // by service name
};

// The services by name, as --guasto names them, and the fault modes.
bool servizioNoto(const QString &nome);
Guasto guastoDaNome(const QString &modo); // Nessuno for an unknown mode

struct Richiesta {
    QByteArray metodo, percorso, corpo;
    QHash<QByteArray, QByteArray> intestazioni; // names in lower case
};

struct Risposta {
    int codice = 200;
    QByteArray corpo;
    bool html = false;
};

class ServerRegione
{
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
};

} // namespace regione
