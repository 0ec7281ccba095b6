// The region's downloads: the request for the files of the lookup tables and of the operators,
// the container the server answers with, checked whole before anything is written, and
// unpacked into the program folder.
#include "transmission/ServiziRegione.h"

#include "common/Codifica.h"
#include "common/Dialoghi.h"
#include "common/Generale.h"
#include "common/PuntiArresto.h"
#include "common/Testo.h"
#include "config/FileIni.h"
#include "config/Impostazioni.h"
#include "db/Aggiornamenti.h"
#include "db/CorsiDB.h"
#include "common/Contesto.h"
#include "common/Sessione.h"
#include "db/Schema.h"
#include "transmission/CatalogoTrasmissione.h"
#include "transmission/CreaFileTrasm.h"
#include "transmission/Invii.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QScopeGuard>
#include <QUrl>
#include <QUuid>

#include <memory>
#include <vector>

namespace quirdal {

QString vocePerScarico(const QString &grupOpe, const QString &operatore)
{
    return riempi(grupOpe.left(1), 1, QStringLiteral("sx")) + QStringLiteral("      - ") + operatore.trimmed();
}

QByteArray corpoScarico(const QStringList &voci)
{
    QList<std::pair<QString, QString>> campi;
    for (const QString &v : voci) {
        campi.append({QStringLiteral("g"), v.left(1)});
        campi.append({QStringLiteral("c"), dopoTrattino(v)});
    }
    return corpoModulo(campi);
}

QStringList nomiScaricabili(CorsiDB *db)
{
    QStringList tabelle;
    if (db) {
        for (const InfoTabella &t : db->elencoTabelle())
            if (t.tipo == QLatin1String("TABLE"))
                tabelle << t.nome;
    } else {
        tabelle = tabelleSchema();
    }
    QStringList r = fileDatiOperatori() + fileFlagTabelle();
    for (const QString &t : tabelle)
        if (!tabellaDellEnte(t))
            r << t + QStringLiteral(".txt");
    return r;
}

RigaContenitore leggiRigaContenitore(const QByteArray &riga)
{
    const QByteArray t = riga.trimmed();
    if (t.isEmpty() || t == "EOF")
        return {RigaContenitore::Chiusura, {}};
    return {t.startsWith('#') ? RigaContenitore::Dati : RigaContenitore::Nome, t};
}

namespace {

// A name of the reply as a message may show it: printable, not too long.
QString nomeMostrabile(const QByteArray &nome)
{
    QString r = daWindows1252(nome.left(80));
    for (QChar &ch : r)
        if (ch.category() == QChar::Other_Control || ch.category() == QChar::Other_Format)
            ch = QLatin1Char('?');
    return nome.size() > 80 ? r + QStringLiteral("...") : r;
}

// The name a reply line asks for, as the program spells it; "" when it is not one the
// program expects. Only plain ASCII can match, so no other character folds into one.
QString nomeAmmesso(const QByteArray &nome, const QStringList &ammessi)
{
    for (const char ch : nome)
        if (static_cast<unsigned char>(ch) <= 0x20 || static_cast<unsigned char>(ch) >= 0x7F)
            return {};
    const QString n = QString::fromLatin1(nome);
    for (const QString &a : ammessi)
        if (a.compare(n, Qt::CaseInsensitive) == 0)
            return a;
    return {};
}

const QString kNessunFile = QStringLiteral(" Nessun file è stato scritto.");
const QString kRispostaIlleggibile = QStringLiteral("Impossibile leggere la risposta del server.");

} // namespace

EsitoScompatta scompattaContenitore(const QString &cartella, QIODevice &contenitore, const QStringList &ammessi)
{
    EsitoScompatta r;
    const QDir dir(cartella);
    const qint64 inizio = contenitore.pos();
    // Every name first, read exactly as the writer reads it: nothing is written from a
    // reply that names anything else, more files than a service sends, or a link.
    {
        LettoreRighe righe(contenitore);
        QByteArray riga;
        int file = 0;
        while (righe.prossima(riga)) {
            const RigaContenitore l = leggiRigaContenitore(riga);
            if (l.tipo != RigaContenitore::Nome)
                continue;
            const QString nome = nomeAmmesso(l.testo, ammessi);
            if (nome.isEmpty()) {
                r.errore = QStringLiteral("La risposta del server contiene un nome di file non ammesso: ")
                    + nomeMostrabile(l.testo) + QStringLiteral(".") + kNessunFile;
                return r;
            }
            if (++file > ammessi.size()) {
                r.errore = QStringLiteral("La risposta del server contiene più file di quanti il servizio ne possa "
                                          "inviare (al massimo %1).")
                               .arg(ammessi.size())
                    + kNessunFile;
                return r;
            }
            if (QFileInfo(dir.filePath(nome)).isSymLink()) {
                r.errore = QStringLiteral("Il file ") + nome
                    + QStringLiteral(" della cartella del programma è un collegamento simbolico e non viene "
                                     "sovrascritto.")
                    + kNessunFile;
                return r;
            }
        }
        if (righe.erroreLettura() || !contenitore.seek(inizio)) {
            r.errore = kRispostaIlleggibile + kNessunFile;
            return r;
        }
    }

    // Each file is written under a temporary name; all are put in place only when every
    // one was written whole.
    std::vector<std::unique_ptr<QSaveFile>> scritti;
    QStringList nomi;
    QSaveFile *aperto = nullptr;
    QString errore;
    LettoreRighe righe(contenitore);
    QByteArray riga;
    while (errore.isEmpty() && righe.prossima(riga)) {
        const RigaContenitore l = leggiRigaContenitore(riga);
        switch (l.tipo) {
        case RigaContenitore::Chiusura:
            aperto = nullptr;
            break;
        case RigaContenitore::Dati:
            if (aperto && (aperto->write(l.testo) != l.testo.size() || aperto->write("\r\n", 2) != 2))
                errore = nomi.last();
            break;
        case RigaContenitore::Nome: {
            const QString nome = nomeAmmesso(l.testo, ammessi);
            scritti.push_back(std::make_unique<QSaveFile>(dir.filePath(nome)));
            aperto = scritti.back().get();
            nomi << nome;
            if (QFileInfo(dir.filePath(nome)).isSymLink() || !aperto->open(QIODevice::WriteOnly))
                errore = nome;
            break;
        }
        }
    }
    if (errore.isEmpty() && righe.erroreLettura()) {
        r.errore = kRispostaIlleggibile + kNessunFile;
        return r;
    }
    for (std::size_t i = 0; errore.isEmpty() && i < scritti.size(); ++i) {
        if (scritti[i]->commit())
            r.file << nomi[static_cast<qsizetype>(i)];
        else
            errore = nomi[static_cast<qsizetype>(i)];
    }
    if (!errore.isEmpty())
        r.errore = QStringLiteral("Impossibile scrivere il file ") + errore + QStringLiteral(" nella cartella del programma.");
    return r;
}

EsitoScompatta scompattaContenitore(const QString &cartella, const QString &contenitore, const QStringList &ammessi)
{
    QByteArray byte = aWindows1252(contenitore);
    QBuffer b(&byte);
    b.open(QIODevice::ReadOnly);
    return scompattaContenitore(cartella, b, ammessi);
}

namespace {

// What a download reply is judged by, read a line at a time.
struct Sommario {
    bool errore = false; // "ERRORE" somewhere
    int tx1 = 0;         // how many times ".tx1" occurs
    QString inizio;      // the start of the text, for the message
};

Sommario esaminaRisposta(QIODevice &f)
{
    Sommario s;
    LettoreRighe righe(f);
    QByteArray riga, inizio;
    while (righe.prossima(riga)) {
        s.errore = s.errore || riga.contains("ERRORE");
        s.tx1 += static_cast<int>(riga.toLower().count(".tx1"));
        if (inizio.size() < 4096)
            inizio += (righe.numero() > 1 ? QByteArray("\r\n") : QByteArray()) + riga.left(4096);
    }
    s.inizio = daWindows1252(inizio.left(4096));
    return s;
}

bool scarica(Contesto &c, Trasferimento &t, const QStringList &voci, const QString &servizio, const QString &temporaneo,
             const QString &titoloErrore, bool contaTx1)
{
    // The reply goes to a file of the folder as it arrives, and is unpacked from there.
    // A file or link left under that name is removed, never written through.
    const QString tmp = QDir(c.cartellaProgramma).filePath(temporaneo);
    QFile::remove(tmp);
    QFile f(tmp);
    if (!f.open(QIODevice::ReadWrite | QIODevice::NewOnly)) {
        c.dialoghi.messaggio(QStringLiteral("Impossibile scrivere il file ") + QDir::toNativeSeparators(tmp)
                                 + QStringLiteral(" nella cartella del programma."),
                             titoloErrore, Icona::Critico);
        return false;
    }
    const auto rimuovi = qScopeGuard([&] {
        f.close();
        QFile::remove(tmp);
    });
    const EsitoTrasferimento e = t.postaSuFile(leggiServizio(c, servizio), corpoScarico(voci), intestazioniModulo(), f);
    if (!e.completato) {
        c.dialoghi.messaggio(testoErroreTrasmissione(e), titoloErrore, Icona::Critico);
        return false;
    }
    if (!f.flush() || !f.seek(0)) {
        c.dialoghi.messaggio(kRispostaIlleggibile, titoloErrore, Icona::Critico);
        return false;
    }
    const Sommario s = esaminaRisposta(f);
    if (s.errore) {
        c.dialoghi.messaggio(s.inizio, titoloErrore, Icona::Critico);
        return false;
    }
    if (contaTx1 && s.tx1 < 5) {
        c.dialoghi.messaggio(QStringLiteral("Si sono verificati degli errori in fase di trasmissione.") + CRLF
                                 + QStringLiteral("Si consiglia di riprovare in un secondo momento."),
                             QStringLiteral("Errore di trasmissione"), Icona::Critico);
        return false;
    }
    // The tables of the database the loader will walk; of the schema when none is open.
    const QStringList ammessi = nomiScaricabili(c.db.aperto() ? &c.db : nullptr);
    const EsitoScompatta u =
        f.seek(0) ? scompattaContenitore(c.cartellaProgramma, f, ammessi) : EsitoScompatta{{}, kRispostaIlleggibile};
    if (!u.errore.isEmpty()) {
        c.dialoghi.messaggio(u.errore, titoloErrore, Icona::Critico);
        return false;
    }
    return true;
}

} // namespace

bool scaricaTabelle(Contesto &c, Trasferimento &t, const QStringList &voci)
{
    return scarica(c, t, voci, QStringLiteral("AGGIORNATABELLE"), QStringLiteral("$tmpDenOp.txt"),
                   QStringLiteral("Installazione base dati - scarico tabelle di decodifica"), false);
}

bool scaricaDatiOperatori(Contesto &c, Trasferimento &t, const QStringList &voci)
{
    return scarica(c, t, voci, QStringLiteral("AGGIORNADB"), QStringLiteral("$tmpDenOp.tx1"),
                   QStringLiteral("Installazione base dati"), true);
}

} // namespace quirdal
