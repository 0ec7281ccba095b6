#pragma once
// The final print's steps that the print run takes: the record and the provisional PDF of a
// final print on its way to its name (Consegna), and the step that locks the application and
// gives the PDF its name (consegna). The rest of the final print, and its completion at
// start-up, is in StampaDefinitiva.cpp; what the rest of the program calls is in Stampa.h.
#include "common/Errori.h"
#include "common/Sessione.h"
#include "printing/Stampa.h"
#include "transmission/Invii.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace quirdal {

struct Contesto;
class Transazione;

namespace stampa {

inline const QString kSuffissoProvvisorio = QStringLiteral(".provvisorio");
inline const QString kEstensioneSospesa = QStringLiteral(".stampa-sospesa");

// "E' stato creato il file ..."
QString messaggioCreato(const QString &file);
// A failure as the print tells it: another workstation's lock in words, never the statement
// that met it.
QString descrizioneBaseDati(const Errore &e);

// A final print on its way to its name. The record in the program folder, written before the
// provisional PDF, tells the next start what to do with what a stop leaves behind; unless the
// print is finished or left to the next start, everything it wrote goes with it.
class Consegna {
public:
    Consegna(const QString &cartella, const Sessione &s, const QString &pdf)
        : m_pdf(QFileInfo(pdf).absoluteFilePath()),
          m_record(QDir(cartella).filePath(QStringLiteral("QUIRDAL-") + s.gGrupOpe + s.gOperatore + QLatin1Char('-') + s.gProv
                                           + kEstensioneSospesa)),
          m_chiave(s.chiaveDomanda())
    {
    }
    ~Consegna()
    {
        if (m_aperta) {
            QFile::remove(provvisorio());
            QFile::remove(m_record);
        }
    }
    Consegna(const Consegna &) = delete;
    Consegna &operator=(const Consegna &) = delete;

    QString provvisorio() const { return m_pdf + kSuffissoProvvisorio; }
    const QString &pdf() const { return m_pdf; }
    void registra()
    {
        QStringList righe{QStringLiteral("Processo=") + QString::number(QCoreApplication::applicationPid())};
        for (const auto &[nome, valore] : {std::pair{"GrupOpe", m_chiave.value(0)}, std::pair{"Operatore", m_chiave.value(1)},
                                           std::pair{"Prov", m_chiave.value(2)}})
            righe << QString::fromLatin1(nome) + QLatin1Char('=') + valore.toString();
        righe << QStringLiteral("Pdf=") + m_pdf;
        const QByteArray dati = (righe.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
        QSaveFile f(m_record);
        if (!f.open(QIODevice::WriteOnly) || f.write(dati) != dati.size() || !f.commit())
            throw Errore(codici::Generico,
                         QStringLiteral("Impossibile scrivere il file ") + m_record + QStringLiteral(": ") + f.errorString());
        m_aperta = true;
    }
    // The PDF is under its name: nothing left for the next start.
    void chiudi()
    {
        QFile::remove(m_record);
        m_aperta = false;
    }
    // The lock stands and could not be taken back: the next start puts the PDF in place.
    void lascia() { m_aperta = false; }

private:
    QString m_pdf, m_record;
    QVariantList m_chiave;
    bool m_aperta = false;
};

// The final print's PDF, whole under its provisional name, put in place: the lock first
// (unless the application already has it), then the name. A name that cannot be given
// takes the lock back; a lock that cannot be taken back is left, with the record, for the
// next start to finish. True when the PDF is under its name and the application locked.
// definitivo: the transmission file the form describes, fixed for the application with the lock.
// scrittura: the write transaction the print has held since its first read, confirmed with the
// lock and before the name is given.
bool consegna(Contesto &c, Consegna &k, EsitoStampa &e, const FileDefinitivo *definitivo = nullptr,
              Transazione *scrittura = nullptr);

} // namespace stampa
} // namespace quirdal
