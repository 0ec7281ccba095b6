// server-regione: a stand-in for the region's secure server, for the demo and the tests.
//
//   server-regione --certificato FILE.pem --chiave FILE.key [--porta N] [--dati DIR]
//                  [--ricevuti DIR] [--numero TEXT] [--versione "#1.0.5#1.0.7#N#testo"]
//                  [--contenitore FILE] [--guasto SERVIZIO:MODO]...
//
// --porta     port on 127.0.0.1; 0 (default) takes a free one. Once listening the first
//             line on stdout is "ASCOLTO <port>".
// --dati      folder of the operator files (*.tx1) and of tabelle/*.txt (default "dati")
// --ricevuti  where uploaded transmission files are stored (default "ricevuti"), with every
//             upload's body after its first line, as received, in corpi/N-NAME
// --numero    fixed answer of nreg instead of the number made of group and code,
//             percent-decoded (%0D%0A a line break, %00 a NUL byte)
// --versione  answer of the version service
// --contenitore  a file whose bytes both download services send as their reply
// --guasto    SERVIZIO (nreg, versione, upload, aggiornadb, aggiornatabelle, assistenza)
//             answers according to MODO: html, errore, lento (never), chiudi (hangs up),
//             vuoto (empty body), statoNNN (its usual body with HTTP status NNN, 400 to
//             599), propri (a container naming the program's own files, then its usual
//             body), casuale (200 KB of random bytes), compresso (its usual body declared
//             gzip). Repeatable.
// One line per request goes to stderr.
#include "ServerRegione.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulatore del server sicuro della Regione"));
    parser.addHelpOption();
    auto opzione = [&parser](const char *nome, const char *descrizione, const char *valore) {
        parser.addOption({QLatin1String(nome), QString::fromUtf8(descrizione), QLatin1String(valore)});
    };
    opzione("porta", "Porta su 127.0.0.1 (0: una libera)", "N");
    opzione("certificato", "Certificato del server (PEM)", "FILE");
    opzione("chiave", "Chiave privata del server (PEM)", "FILE");
    opzione("dati", "Cartella dei dati degli operatori e delle tabelle", "DIR");
    opzione("ricevuti", "Cartella dei file trasmessi", "DIR");
    opzione("numero", "Risposta fissa del servizio nreg", "TESTO");
    opzione("versione", "Risposta del servizio versione", "TESTO");
    opzione("contenitore", "Risposta fissa dei servizi di scarico", "FILE");
    opzione("guasto", "Guasto di un servizio: SERVIZIO:MODO", "SERVIZIO:MODO");
    parser.process(app);

    auto esci = [](const QString &messaggio) {
        std::fprintf(stderr, "server-regione: %s\n", messaggio.toLocal8Bit().constData());
        return 2;
    };
    if (!parser.isSet(QStringLiteral("certificato")) || !parser.isSet(QStringLiteral("chiave")))
        return esci(QStringLiteral("servono --certificato e --chiave"));
    bool portaValida = true;
    const uint porta =
        parser.value(QStringLiteral("porta")).isEmpty() ? 0 : parser.value(QStringLiteral("porta")).toUInt(&portaValida);
    if (!portaValida || porta > 65535)
        return esci(QStringLiteral("porta non valida"));

    regione::Opzioni opzioni;
    if (parser.isSet(QStringLiteral("dati")))
        opzioni.dati = parser.value(QStringLiteral("dati"));
    if (parser.isSet(QStringLiteral("ricevuti")))
        opzioni.ricevuti = parser.value(QStringLiteral("ricevuti"));
    opzioni.numero = QString::fromUtf8(QByteArray::fromPercentEncoding(parser.value(QStringLiteral("numero")).toUtf8()));
    if (parser.isSet(QStringLiteral("contenitore"))) {
        QFile f(parser.value(QStringLiteral("contenitore")));
        if (!f.open(QIODevice::ReadOnly))
            return esci(QStringLiteral("contenitore non leggibile: ") + f.fileName());
        opzioni.contenitore = f.readAll();
    }
    if (parser.isSet(QStringLiteral("versione")))
        opzioni.versione = parser.value(QStringLiteral("versione"));
    for (const QString &g : parser.values(QStringLiteral("guasto"))) {
        const QString servizio = g.section(QLatin1Char(':'), 0, 0);
        const regione::Guasto modo = regione::guastoDaNome(g.section(QLatin1Char(':'), 1));
        if (!regione::servizioNoto(servizio) || modo == regione::Guasto::Nessuno)
            return esci(QStringLiteral("guasto non valido: ") + g);
        opzioni.guasti.insert(servizio, modo);
        if (modo == regione::Guasto::StatoHttp)
            opzioni.statiHttp.insert(servizio, regione::statoDaNome(g.section(QLatin1Char(':'), 1)));
    }

    regione::ServerRegione server(opzioni);
    const QString errore = server.avvia(static_cast<quint16>(porta), parser.value(QStringLiteral("certificato")),
                                        parser.value(QStringLiteral("chiave")));
    if (!errore.isEmpty())
        return esci(errore);
    std::printf("ASCOLTO %u\n", static_cast<unsigned>(server.porta()));
    std::fflush(stdout);
    return app.exec();
}
