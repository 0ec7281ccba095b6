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
using namespace Qt::StringLiterals;

inline QString certificati() { return qEnvironmentVariable("QUIRDAL_SORGENTI") + u"/tests/certificati/"_s; }

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
            QFile::copy(sorgenti + u"/data/operatori/"_s + f, dati.filePath(f));
        QDir().mkpath(dati.filePath(u"tabelle"_s));
        for (const char *t : {"Province.txt", "Regioni.txt"})
            QFile::copy(sorgenti + u"/data/tabelle/"_s + QString::fromLatin1(t),
                        dati.filePath(u"tabelle/"_s) + QString::fromLatin1(t));
        const QString cert = fidato ? u"server"_s : u"non-fidato"_s;
        m_p.setProgram(qEnvironmentVariable("QUIRDAL_TEST_SERVER"));
        m_p.setArguments(QStringList{u"--porta"_s, u"0"_s, u"--certificato"_s, certificati() + cert + u".pem"_s, u"--chiave"_s,
                                     certificati() + cert + u".key"_s, u"--dati"_s, dati.path(), u"--ricevuti"_s, ricevuti.path()}
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
    QString base() const { return u"https://127.0.0.1:%1/cgi-bin/fp/"_s.arg(porta); }

    // The services of the program folder's INI, the connection credentials, and the
    // test authority installed as CA_ROOT.DER.
    void configura(cFileINI &ini, const QString &cartella, const QString &credenziali = u"quirdal:Valdoria2009@"_s,
                   int portaForzata = 0) const
    {
        const QString b = portaForzata ? u"https://127.0.0.1:%1/cgi-bin/fp/"_s.arg(portaForzata) : base();
        for (const char *servizio : {"NREG", "VERSIONE", "AGGIORNADB", "AGGIORNATABELLE", "ASSISTENZA"})
            ini.scrivi(u"CONNESSIONE"_s, QString::fromLatin1(servizio), b + QString::fromLatin1(servizio).toLower());
        ini.scrivi(u"CONNESSIONE"_s, u"PWD"_s, scramblePwd(credenziali));
        QFile::remove(QDir(cartella).filePath(u"CA_ROOT.DER"_s));
        QFile::copy(certificati() + u"ca.der"_s, QDir(cartella).filePath(u"CA_ROOT.DER"_s));
    }

private:
    QProcess m_p;
};

} // namespace quirdal::test
