#pragma once
// The region-server simulator started for a test, on a free port of 127.0.0.1, and the
// program folder's settings pointed at it.
#include "config/FileIni.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace quirdal::test {

inline QString certificati() { return qEnvironmentVariable("QUIRDAL_SORGENTI") + QStringLiteral("/tests/certificati/"); }

// The options that make both download services answer these bytes, kept in cartella.
inline QStringList opzioneContenitore(const QTemporaryDir &cartella, const QByteArray &byte)
{
    QFile f(cartella.filePath(QStringLiteral("contenitore")));
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(byte);
    return {QStringLiteral("--contenitore"), f.fileName()};
}

class ServerFinto {
public:
    QTemporaryDir dati;     // operator files, tabelle/ for the tables
    QTemporaryDir ricevuti; // what the upload received
    int porta = 0;

    // fidato false: a certificate from an authority the program does not trust.
    explicit ServerFinto(const QStringList &opzioni = {}, bool fidato = true,
                         const QStringList &fileOperatori = {"oper.tx1", "compo.tx1", "sediocc.tx1", "sediutil.tx1",
                                                             "corsipre.tx1", "percmod.tx1"})
    {
        const QString sorgenti = qEnvironmentVariable("QUIRDAL_SORGENTI");
        for (const QString &f : fileOperatori)
            QFile::copy(sorgenti + QStringLiteral("/data/operatori/") + f, dati.filePath(f));
        QDir().mkpath(dati.filePath(QStringLiteral("tabelle")));
        for (const char *t : {"Province.txt", "Regioni.txt"})
            QFile::copy(sorgenti + QStringLiteral("/data/tabelle/") + QString::fromLatin1(t),
                        dati.filePath(QStringLiteral("tabelle/")) + QString::fromLatin1(t));
        const QString cert = fidato ? QStringLiteral("server") : QStringLiteral("non-fidato");
        m_p.setProgram(qEnvironmentVariable("QUIRDAL_TEST_SERVER"));
        m_p.setArguments(QStringList{QStringLiteral("--porta"), QStringLiteral("0"), QStringLiteral("--certificato"),
                                     certificati() + cert + QStringLiteral(".pem"), QStringLiteral("--chiave"),
                                     certificati() + cert + QStringLiteral(".key"), QStringLiteral("--dati"), dati.path(),
                                     QStringLiteral("--ricevuti"), ricevuti.path()}
                         + opzioni);
        m_p.setProcessChannelMode(QProcess::SeparateChannels);
        m_p.start();
        m_p.waitForStarted();
        while (porta == 0 && m_p.waitForReadyRead(10000)) {
            const QByteArray riga = m_p.readLine().trimmed();
            if (riga.startsWith("ASCOLTO "))
                porta = riga.mid(8).toInt();
        }
    }
    ~ServerFinto()
    {
        m_p.kill();
        m_p.waitForFinished(5000);
    }
    QString base() const { return QStringLiteral("https://127.0.0.1:%1/cgi-bin/fp/").arg(porta); }

    // The services of the program folder's INI, the connection credentials, and the
    // test authority installed as CA_ROOT.DER.
    void configura(cFileINI &ini, const QString &cartella, const QString &credenziali = QStringLiteral("quirdal:Valdoria2009@"),
                   int portaForzata = 0) const
    {
        const QString b = portaForzata ? QStringLiteral("https://127.0.0.1:%1/cgi-bin/fp/").arg(portaForzata) : base();
        ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("NREG"), b + QStringLiteral("nreg"));
        ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("VERSIONE"), b + QStringLiteral("versione"));
        ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("AGGIORNADB"), b + QStringLiteral("aggiornadb"));
        ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("AGGIORNATABELLE"), b + QStringLiteral("aggiornatabelle"));
        ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("ASSISTENZA"), b + QStringLiteral("assistenza"));
        ini.scrivi(QStringLiteral("CONNESSIONE"), QStringLiteral("PWD"), scramblePwd(credenziali));
        QFile::remove(QDir(cartella).filePath(QStringLiteral("CA_ROOT.DER")));
        QFile::copy(certificati() + QStringLiteral("ca.der"), QDir(cartella).filePath(QStringLiteral("CA_ROOT.DER")));
    }

private:
    QProcess m_p;
};

} // namespace quirdal::test
