#include "ServerRegione.h"

#include "AllegatoAssistenza.h"

#include "common/Codifica.h"
#include "common/Generale.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSet>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QStringDecoder>

#include <cstdio>
#include <memory>
#include <optional>

namespace regione {

namespace {

// The accounts the region gave the agency: one to ask for the application number, one
// for the robot that receives the transmissions.
const QString kUtenteNreg = QStringLiteral("quirdal");
const QString kPasswordNreg = QStringLiteral("Valdoria2009");
const QString kUtenteUpload = QStringLiteral("robot");
const QString kPasswordUpload = QStringLiteral("#kestr#42!");

constexpr qsizetype kMassimoIntestazioni = 64 * 1024;

struct Servizio {
    const char *percorso;
    const char *nome;
    Risposta (ServerRegione::*gestore)(const Richiesta &);
};

using Campi = QList<QPair<QString, QString>>;

// Form values arrive percent-encoded in UTF-8 from new clients and in Windows-1252
// from old ones: UTF-8 when it decodes cleanly.
QString testoDa(const QByteArray &byte)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString testo = utf8(byte);
    return utf8.hasError() ? quirdal::daWindows1252(byte) : testo;
}

// The pairs in their order: aggiornadb repeats g and c.
Campi campiModulo(const QByteArray &corpo)
{
    Campi campi;
    for (QByteArray pezzo : corpo.split('&')) {
        if (pezzo.isEmpty())
            continue;
        pezzo.replace('+', ' ');
        const qsizetype uguale = pezzo.indexOf('=');
        const QByteArray nome = uguale < 0 ? pezzo : pezzo.left(uguale);
        const QByteArray valore = uguale < 0 ? QByteArray() : pezzo.mid(uguale + 1);
        campi.append({testoDa(QByteArray::fromPercentEncoding(nome)), testoDa(QByteArray::fromPercentEncoding(valore))});
    }
    return campi;
}

QString campo(const Campi &campi, const QString &nome)
{
    for (const auto &[n, v] : campi)
        if (n == nome)
            return v.trimmed();
    return {};
}

bool autorizzato(const Richiesta &r, const QString &utente, const QString &password)
{
    const QByteArray valore = r.intestazioni.value("authorization").trimmed();
    if (!valore.startsWith("Basic ") && !valore.startsWith("basic "))
        return false;
    const QString coppia = QString::fromUtf8(QByteArray::fromBase64(valore.mid(6).trimmed()));
    const qsizetype duePunti = coppia.indexOf(QLatin1Char(':'));
    return duePunti >= 0 && coppia.left(duePunti) == utente && coppia.mid(duePunti + 1) == password;
}

Risposta testo(const QString &t, int codice = 200) { return {codice, quirdal::aWindows1252(t), false, {}}; }

Risposta credenzialiErrate() { return testo(QStringLiteral("ERRORE: credenziali non valide"), 401); }

// The lines of a data file without their line ends; blank lines are dropped.
QList<QByteArray> righeFile(const QString &percorso)
{
    QFile f(percorso);
    QList<QByteArray> righe;
    if (!f.open(QIODevice::ReadOnly))
        return righe;
    for (QByteArray riga : f.readAll().split('\n')) {
        if (riga.endsWith('\r'))
            riga.chop(1);
        if (!riga.isEmpty())
            righe.append(riga);
    }
    return righe;
}

using Operatore = QPair<QString, QString>; // group, number

QSet<Operatore> operatoriRichiesti(const Campi &campi)
{
    QSet<Operatore> richiesti;
    QString gruppo;
    for (const auto &[nome, valore] : campi) {
        if (nome == QLatin1String("g"))
            gruppo = valore.trimmed().toUpper();
        else if (nome == QLatin1String("c"))
            richiesti.insert({gruppo, valore.trimmed()});
    }
    return richiesti;
}

const char *motivo(int codice)
{
    switch (codice) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 503:
        return "Service Unavailable";
    default:
        return "Internal Server Error";
    }
}

QByteArray messaggioHttp(const Risposta &r)
{
    QByteArray m = "HTTP/1.1 " + QByteArray::number(r.codice) + ' ' + motivo(r.codice) + "\r\n";
    m += r.html ? "Content-Type: text/html\r\n" : "Content-Type: text/plain; charset=windows-1252\r\n";
    if (r.codice == 401)
        m += "WWW-Authenticate: Basic realm=\"Regione\"\r\n";
    m += r.intestazioni;
    m += "Content-Length: " + QByteArray::number(r.corpo.size()) + "\r\n";
    m += "Connection: close\r\n\r\n";
    return m + r.corpo;
}

void registra(const Richiesta &r, const QString &esito)
{
    std::fprintf(stderr, "%s %s %s\n", r.metodo.constData(), r.percorso.constData(), esito.toLocal8Bit().constData());
    std::fflush(stderr);
}

const Servizio kServizi[] = {
    {"/cgi-bin/fp/nreg", "nreg", &ServerRegione::nreg},
    {"/cgi-bin/fp/versione", "versione", &ServerRegione::versione},
    {"/cgi-bin/fp/upload/allegati_fp_upload", "upload", &ServerRegione::upload},
    {"/cgi-bin/fp/aggiornadb", "aggiornadb", &ServerRegione::aggiornaDb},
    {"/cgi-bin/fp/aggiornatabelle", "aggiornatabelle", &ServerRegione::aggiornaTabelle},
    {"/cgi-bin/fp/assistenza", "assistenza", &ServerRegione::assistenza},
};

// What a connection has received so far.
struct Stato {
    QByteArray ricevuto;
    bool continuaInviato = false;
    bool servita = false;
};

} // namespace

bool servizioNoto(const QString &nome)
{
    for (const Servizio &s : kServizi)
        if (nome == QLatin1String(s.nome))
            return true;
    return false;
}

Guasto guastoDaNome(const QString &modo)
{
    static const QHash<QString, Guasto> modi = {
        {QStringLiteral("html"), Guasto::Html},       {QStringLiteral("errore"), Guasto::Errore},
        {QStringLiteral("lento"), Guasto::Lento},     {QStringLiteral("chiudi"), Guasto::Chiudi},
        {QStringLiteral("vuoto"), Guasto::Vuoto},     {QStringLiteral("propri"), Guasto::Propri},
        {QStringLiteral("casuale"), Guasto::Casuale}, {QStringLiteral("compresso"), Guasto::Compresso},
    };
    if (statoDaNome(modo))
        return Guasto::StatoHttp;
    return modi.value(modo, Guasto::Nessuno);
}

int statoDaNome(const QString &modo)
{
    if (!modo.startsWith(QLatin1String("stato")))
        return 0;
    bool ok = false;
    const int stato = modo.mid(5).toInt(&ok);
    return ok && stato >= 400 && stato <= 599 ? stato : 0;
}

ServerRegione::ServerRegione(Opzioni opzioni) : opzioni_(std::move(opzioni))
{
    QObject::connect(&server_, &QTcpServer::pendingConnectionAvailable, &server_, [this] {
        while (QTcpSocket *s = server_.nextPendingConnection())
            nuovaConnessione(static_cast<QSslSocket *>(s));
    });
    QObject::connect(&server_, &QSslServer::errorOccurred, &server_, [](QSslSocket *s, QAbstractSocket::SocketError) {
        std::fprintf(stderr, "connessione non riuscita: %s\n", s->errorString().toLocal8Bit().constData());
    });
}

QString ServerRegione::avvia(quint16 porta, const QString &certificato, const QString &chiave)
{
    const QList<QSslCertificate> catena = QSslCertificate::fromPath(certificato);
    if (catena.isEmpty())
        return QStringLiteral("certificato non leggibile: ") + certificato;
    QFile fileChiave(chiave);
    if (!fileChiave.open(QIODevice::ReadOnly))
        return QStringLiteral("chiave non leggibile: ") + chiave;
    const QSslKey k(fileChiave.readAll(), QSsl::Rsa, QSsl::Pem);
    if (k.isNull())
        return QStringLiteral("chiave non valida: ") + chiave;

    QSslConfiguration conf = QSslConfiguration::defaultConfiguration();
    conf.setLocalCertificateChain(catena);
    conf.setPrivateKey(k);
    conf.setPeerVerifyMode(QSslSocket::VerifyNone); // clients have no certificates
    server_.setSslConfiguration(conf);
    if (!server_.listen(QHostAddress::LocalHost, porta))
        return server_.errorString();
    return {};
}

void ServerRegione::nuovaConnessione(QSslSocket *socket)
{
    auto stato = std::make_shared<Stato>();
    QObject::connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QIODevice::readyRead, socket, [this, socket, stato] {
        stato->ricevuto += socket->readAll();
        if (stato->servita)
            return; // one request per connection; whatever follows is ignored
        const qsizetype fine = stato->ricevuto.indexOf("\r\n\r\n");
        Richiesta r;
        if (fine < 0) {
            if (stato->ricevuto.size() > kMassimoIntestazioni) {
                stato->servita = true;
                socket->write(messaggioHttp(testo(QStringLiteral("ERRORE: richiesta non valida"), 400)));
                socket->disconnectFromHost();
            }
            return;
        }
        const QList<QByteArray> righe = stato->ricevuto.left(fine).split('\n');
        const QList<QByteArray> prima = righe.first().trimmed().split(' ');
        bool lunghezzaValida = true;
        if (prima.size() == 3) {
            r.metodo = prima[0];
            r.percorso = prima[1].split('?').first(); // the query is never used
        }
        for (qsizetype i = 1; i < righe.size(); ++i) {
            const qsizetype dueP = righe[i].indexOf(':');
            if (dueP > 0)
                r.intestazioni.insert(righe[i].left(dueP).trimmed().toLower(), righe[i].mid(dueP + 1).trimmed());
        }
        const qsizetype lunghezza = r.intestazioni.value("content-length", "0").toLongLong(&lunghezzaValida);
        if (r.metodo.isEmpty() || !lunghezzaValida || lunghezza < 0 || r.intestazioni.contains("transfer-encoding")) {
            stato->servita = true;
            registra(r, QStringLiteral("400"));
            socket->write(messaggioHttp(testo(QStringLiteral("ERRORE: richiesta non valida"), 400)));
            socket->disconnectFromHost();
            return;
        }
        if (stato->ricevuto.size() - (fine + 4) < lunghezza) {
            // curl holds large bodies back until it is told to go on
            if (!stato->continuaInviato && r.intestazioni.value("expect").toLower() == "100-continue") {
                stato->continuaInviato = true;
                socket->write("HTTP/1.1 100 Continue\r\n\r\n");
            }
            return;
        }
        r.corpo = stato->ricevuto.mid(fine + 4, lunghezza);
        stato->servita = true;
        servi(socket, r);
    });
}

void ServerRegione::servi(QSslSocket *socket, const Richiesta &r)
{
    const Servizio *servizio = nullptr;
    for (const Servizio &s : kServizi)
        if (r.percorso == s.percorso)
            servizio = &s;

    Risposta risposta;
    if (!servizio) {
        risposta = testo(QStringLiteral("ERRORE: servizio sconosciuto"), 404);
    } else if (r.metodo != "POST") {
        risposta = testo(QStringLiteral("ERRORE: metodo non ammesso"), 405);
    } else {
        // A broken server fails before looking at credentials or data.
        switch (opzioni_.guasti.value(QLatin1String(servizio->nome), Guasto::Nessuno)) {
        case Guasto::Lento:
            registra(r, QStringLiteral("nessuna risposta (lento)"));
            return;
        case Guasto::Chiudi:
            registra(r, QStringLiteral("connessione chiusa (chiudi)"));
            socket->disconnectFromHost();
            return;
        case Guasto::Html:
            risposta = {200, "<HTML><BODY><H1>Errore interno del server</H1></BODY></HTML>", true, {}};
            break;
        case Guasto::Errore:
            risposta = testo(QStringLiteral("ERRORE: servizio non disponibile"));
            break;
        case Guasto::Vuoto:
            risposta = {200, QByteArray(), false, {}};
            break;
        case Guasto::StatoHttp:
            risposta = (this->*servizio->gestore)(r);
            risposta.codice = opzioni_.statiHttp.value(QLatin1String(servizio->nome), 500);
            break;
        case Guasto::Propri:
            // Whatever a hostile reply could aim at: the database, the settings, the trusted
            // authority, and the tables of the agency's own data.
            risposta = (this->*servizio->gestore)(r);
            risposta.corpo.prepend("QUIRDAL.mdb\r\n#x#\r\nEOF\r\nQUIRDAL.INI\r\n#x#\r\nEOF\r\nCA_ROOT.DER\r\n#x#\r\nEOF\r\n"
                                   "CorsiProp.txt\r\n#INSTALLAZIONE#\r\nEOF\r\nInstallazione.txt\r\n#INSTALLAZIONE#\r\nEOF\r\n");
            break;
        case Guasto::Casuale: {
            // The same bytes every time, so that a failure can be reproduced.
            QRandomGenerator caso(20091130);
            QByteArray byte(200 * 1024, '\0');
            for (char &b : byte)
                b = static_cast<char>(caso.bounded(256));
            risposta = {200, byte, false, {}};
            break;
        }
        case Guasto::Compresso:
            risposta = (this->*servizio->gestore)(r);
            risposta.intestazioni = "Content-Encoding: gzip\r\n";
            break;
        case Guasto::Nessuno:
            risposta = (this->*servizio->gestore)(r);
            break;
        }
    }
    registra(r, QString::number(risposta.codice));
    socket->write(messaggioHttp(risposta));
    socket->disconnectFromHost(); // sends what is pending first
}

Risposta ServerRegione::nreg(const Richiesta &r)
{
    if (!autorizzato(r, kUtenteNreg, kPasswordNreg))
        return credenzialiErrate();
    const Campi campi = campiModulo(r.corpo);
    const QString gruppo = campo(campi, QStringLiteral("gruppo"));
    const QString codice = campo(campi, QStringLiteral("codice"));
    if (gruppo.isEmpty() || codice.isEmpty())
        return testo(QStringLiteral("ERRORE: dati mancanti"));
    if (!opzioni_.numero.isEmpty())
        return testo(opzioni_.numero);
    // Digits only: the group's letter as its place in the alphabet, then the code; the
    // region pads its answers with blanks.
    const int lettera = gruppo.toUpper().at(0).unicode() - 'A' + 1;
    return testo(QStringLiteral("  %1%2  ").arg(lettera, 2, 10, QLatin1Char('0')).arg(codice, 6, QLatin1Char('0')));
}

Risposta ServerRegione::versione(const Richiesta &) { return testo(opzioni_.versione); }

Risposta ServerRegione::upload(const Richiesta &r)
{
    if (!autorizzato(r, kUtenteUpload, kPasswordUpload))
        return credenzialiErrate();
    if (r.intestazioni.value("content-type").startsWith("multipart/form-data"))
        return allegatoAssistenza(r, opzioni_.ricevuti, ++pratiche_);
    const qsizetype a = r.corpo.indexOf('\n');
    if (a < 0)
        return testo(QStringLiteral("ERRORE: dati mancanti"));
    const QString nome = quirdal::daWindows1252(r.corpo.left(a)).trimmed();
    if (nome.isEmpty() || nome.contains(QLatin1Char('/')) || nome.contains(QLatin1Char('\\'))
        || nome.contains(QLatin1String("..")) || nome.contains(QLatin1Char(':')))
        return testo(QStringLiteral("ERRORE: nome file non valido"));

    // The lines as they came, bytes untouched, with the region's CR LF line ends.
    QList<QByteArray> righe = r.corpo.mid(a + 1).split('\n');
    if (!righe.isEmpty() && righe.last().isEmpty())
        righe.removeLast(); // the final line feed closes the last line
    QByteArray contenuto;
    for (QByteArray riga : righe) {
        if (riga.endsWith('\r'))
            riga.chop(1);
        contenuto += riga + "\r\n";
    }
    QDir().mkpath(opzioni_.ricevuti);
    QSaveFile f(QDir(opzioni_.ricevuti).filePath(nome));
    if (!f.open(QIODevice::WriteOnly) || f.write(contenuto) != contenuto.size() || !f.commit())
        return testo(QStringLiteral("ERRORE: scrittura non riuscita"), 500);
    // Every upload's body after its first line, exactly as it arrived, one file per upload
    // ("corpi/1-NAME", "corpi/2-NAME" ...), so that two sends of one file are both there.
    const QString corpi = QDir(opzioni_.ricevuti).filePath(QStringLiteral("corpi"));
    QDir().mkpath(corpi);
    QSaveFile corpo(QDir(corpi).filePath(QString::number(++caricamenti_) + QLatin1Char('-') + nome));
    const QByteArray dopoNome = r.corpo.mid(a + 1);
    if (!corpo.open(QIODevice::WriteOnly) || corpo.write(dopoNome) != dopoNome.size() || !corpo.commit())
        return testo(QStringLiteral("ERRORE: scrittura non riuscita"), 500);
    return testo(QStringLiteral("Trasmissione completata con successo"));
}

Risposta ServerRegione::aggiornaDb(const Richiesta &r)
{
    if (!opzioni_.contenitore.isEmpty())
        return {200, opzioni_.contenitore, false, {}};
    const QSet<Operatore> richiesti = operatoriRichiesti(campiModulo(r.corpo));
    auto leggi = [this](const char *nome) -> std::optional<QStringList> {
        const QString percorso = quirdal::trovaFile(opzioni_.dati, QLatin1String(nome));
        if (percorso.isEmpty())
            return std::nullopt;
        QStringList righe;
        for (const QByteArray &riga : righeFile(percorso))
            righe << quirdal::daWindows1252(riga);
        return righe;
    };
    auto chi = [](const QStringList &campi, int da) {
        return Operatore(campi.value(da).trimmed().toUpper(), campi.value(da + 1).trimmed());
    };

    // The sites of the requested operators, to pick their occasional sites.
    QSet<QString> sedi;
    if (const auto sediutil = leggi("sediutil.tx1"))
        for (const QString &riga : *sediutil) {
            const QStringList campi = quirdal::dividiRecord(riga, false);
            if (richiesti.contains(chi(campi, 0)))
                sedi.insert(campi.value(2).trimmed());
        }

    bool trovato = false;
    QString contenitore;
    const QPair<const char *, int> files[] = {{"oper.tx1", 0},     {"compo.tx1", 0},    {"sediocc.tx1", -1},
                                              {"sediutil.tx1", 0}, {"corsipre.tx1", 1}, {"percmod.tx1", 1}};
    for (const auto &[nome, da] : files) {
        const auto righe = leggi(nome);
        if (!righe)
            continue;
        contenitore += QLatin1String(nome) + QLatin1String("\r\n");
        for (const QString &riga : *righe) {
            const QStringList campi = quirdal::dividiRecord(riga, false);
            const bool suo = da < 0 ? sedi.contains(campi.value(0).trimmed()) : richiesti.contains(chi(campi, da));
            if (!suo)
                continue;
            trovato = true;
            contenitore += riga + QLatin1String("\r\n");
        }
        contenitore += QLatin1String("EOF\r\n");
    }
    if (!trovato)
        return testo(QStringLiteral("ERRORE: nessun operatore trovato"));
    return testo(contenitore);
}

Risposta ServerRegione::aggiornaTabelle(const Richiesta &)
{
    if (!opzioni_.contenitore.isEmpty())
        return {200, opzioni_.contenitore, false, {}};
    // Bytes copied as they are: the tables are large and already in Windows-1252.
    QByteArray contenitore;
    const QDir tabelle(QDir(opzioni_.dati).filePath(QStringLiteral("tabelle")));
    for (const QString &nome : tabelle.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        contenitore += quirdal::aWindows1252(nome) + "\r\n";
        for (const QByteArray &riga : righeFile(tabelle.filePath(nome)))
            if (riga.startsWith('#'))
                contenitore += riga + "\r\n";
        contenitore += "EOF\r\n";
    }
    contenitore += "aggiorna.tab\r\nEOF\r\n";
    return {200, contenitore, false, {}};
}

Risposta ServerRegione::assistenza(const Richiesta &r)
{
    const Campi campi = campiModulo(r.corpo);
    if (const QString e = controllaCampiAssistenza(campi); !e.isEmpty())
        return testo(QStringLiteral("ERRORE: ") + e);
    std::fprintf(stderr, "assistenza da %s: %s\n", campo(campi, QStringLiteral("fr")).toLocal8Bit().constData(),
                 campo(campi, QStringLiteral("prb")).toLocal8Bit().constData());
    return testo(QStringLiteral("Richiesta di assistenza ricevuta. Numero pratica: %1").arg(++pratiche_));
}

} // namespace regione
