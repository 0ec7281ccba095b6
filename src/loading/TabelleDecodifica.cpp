#include "loading/TabelleDecodifica.h"

#include "common/Codifica.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Generale.h"
#include "db/CorsiDB.h"
#include "db/IstruzionePreparata.h"
#include "db/Schema.h"
#include "loading/CatalogoCaricamento.h"
#include "common/Contesto.h"
#include "common/Sessione.h"
#include "common/Testo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace quirdal {

namespace {

enum class Modo { Installa, Aggiorna };

// The region's files come from systems of either locale: a number may carry its
// decimals after "." or after ",". One "," and no "." is the decimal comma; a text with
// both separators stays as it is and is refused as no number.
QString separatoreDecimale(const QString &v)
{
    if (v.count(QLatin1Char(',')) == 1 && !v.contains(QLatin1Char('.')))
        return QString(v).replace(QLatin1Char(','), QLatin1Char('.'));
    return v;
}

} // namespace

QStringList terminiChiave(Contesto &c, const QString &tabella)
{
    QStringList r;
    for (const Colonna &k : c.db.chiavePrimaria(tabella))
        r << k.nome + (tipiAdo::eTesto(k.tipo) ? QStringLiteral("='") : QStringLiteral("="));
    return r;
}

int caricaTabella(Contesto &c, const QString &percorsoFile, const QString &tabella, const QStringList &chiavi,
                  ProgressoCaricamento &progresso)
{
    if (!QFileInfo(percorsoFile).isFile() || tabellaDellEnte(tabella))
        return 0;
    Sessione &s = c.sessione;
    if (fileVuoto(percorsoFile)) {
        const Risposta r = c.dialoghi.messaggio(
            QStringLiteral("ATTENZIONE: il file ") + percorsoFile
                + QStringLiteral(" è vuoto. Continuare l'operazione di aggiornamento sulle altre tabelle (scegliendo No "
                                 "il programma uscirà a Windows) ?"),
            QStringLiteral("Installazione/Aggiornamento tabelle di decodifica"), Icona::Domanda, Pulsanti::SiNo);
        if (r != Risposta::Si) {
            c.db.chiudi();
            throw FineProgramma(QStringLiteral("file tabella vuoto"));
        }
        return 0;
    }

    int caricati = 0;
    auto fallito = [&](const Errore &e) {
        c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + QStringLiteral(" --> ") + e.descrizione()
                                 + CRLF + QStringLiteral("durante l'aggiornamento della tabella ") + tabella
                                 + QStringLiteral(", record ") + QString::number(caricati + 1) + QStringLiteral(".") + CRLF
                                 + QStringLiteral("Impossibile continuare."),
                             kTitoloTabelle, Icona::Critico);
        c.db.chiudi();
        throw FineProgramma(QStringLiteral("tabella non caricata"));
    };
    // Read a record at a time: the memory a load takes stays that of its longest line.
    const int totale = contaRecord(percorsoFile, true);
    QFile file(percorsoFile);
    if (totale < 0 || !file.open(QIODevice::ReadOnly))
        fallito(Errore(codici::FileNonTrovato, QStringLiteral("Impossibile leggere il file ") + percorsoFile));
    LettoreDati lettore(file);

    QString intestazione = lettore.intestazione();
    intestazione.remove(QLatin1Char('#'));
    intestazione = intestazione.trimmed();
    if (intestazione.compare(QLatin1String("AGGIORNAMENTO"), Qt::CaseInsensitive) == 0)
        s.gInstallaTabelle = FALSO;
    else if (intestazione.compare(QLatin1String("INSTALLAZIONE"), Qt::CaseInsensitive) == 0)
        s.gInstallaTabelle = VERO;
    const Modo modo = s.gInstallaTabelle ? Modo::Installa : Modo::Aggiorna;

    progresso.file(percorsoFile, tabella, totale);
    progresso.record(0);

    try {
        const QList<Colonna> colonne = c.db.colonne(tabella);
        QStringList nomi, aggiornate, esclusi;
        QStringList nomiChiave;
        for (const QString &k : chiavi)
            nomiChiave << QString(k).remove(QLatin1Char('=')).remove(QLatin1Char('\''));
        for (const Colonna &col : colonne) {
            nomi << col.nome;
            if (!nomiChiave.contains(col.nome, Qt::CaseInsensitive)) {
                aggiornate << col.nome;
                esclusi << QStringLiteral("excluded.") + col.nome;
            }
        }
        const QString elenco = nomi.join(QStringLiteral(", ")), chiave = nomiChiave.join(QStringLiteral(", "));
        const QString aggiornateElenco = aggiornate.join(QStringLiteral(", ")),
                      esclusiElenco = esclusi.join(QStringLiteral(", "));
        // Update: a record whose key is already there overwrites it, any other is added.
        const bool soloInserimento = modo == Modo::Installa || nomiChiave.isEmpty();
        const IstruzioneCompleta inserisci = soloInserimento ? completa(sql::caricamento::kInserisciRighe, {tabella, elenco})
            : aggiornate.isEmpty()
            ? completa(sql::caricamento::kAggiungiRighe, {tabella, elenco, chiave})
            : completa(sql::caricamento::kAggiornaRighe, {tabella, elenco, chiave, aggiornateElenco, esclusiElenco});
        // A "?" for each column, put in after the names: the one part of the text that is no name.
        const QString valori = QStringList(nomi.size(), QStringLiteral("?")).join(QStringLiteral(", "));
        const QString sql = inserisci.testo(c.db.motore()).arg(valori);
        const int nCol = static_cast<int>(std::min<qsizetype>(colonne.size(), kCampiRecord));

        // The values of a record bound to the statement, one a column.
        const auto lega = [&](auto &q, const QStringList &campi) {
            for (int i = 0; i < colonne.size(); ++i) {
                const Colonna &col = colonne[i];
                const QString campo = i < nCol ? campi.value(i) : QString();
                if (campo.size() == 4 && campo.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0) {
                    q.legaNullo(i);
                    continue;
                }
                if (tipiAdo::eTesto(col.tipo)) {
                    // No control character reaches a table, nor from it the transmission file.
                    QString v = senzaCaratteriDiControllo(campo).trimmed();
                    if (col.dimensione > 0 && v.size() > col.dimensione)
                        v.truncate(col.dimensione);
                    q.legaTesto(i, v);
                } else {
                    const QString v = campo.trimmed();
                    q.lega(i, CorsiDB::convertiPerColonna(col, tipiAdo::eNumerico(col.tipo) ? separatoreDecimale(v) : v));
                }
            }
        };
        const auto erroreLettura = [&] {
            return Errore(codici::FileNonTrovato, QStringLiteral("Impossibile leggere il file ") + percorsoFile);
        };

        // Record by record: the fault of a record is that record's.
        const auto perRecord = [&](LettoreDati &l) {
            // Made before the transaction, the statement goes after it: on a server its end
            // is no statement of a transaction that a failure has spoiled.
            IstruzionePreparata q(c.db, sql);
            Transazione t(c.db);
            if (modo == Modo::Installa)
                c.db.esegui(completa(sql::caricamento::kSvuotaTabella, {tabella}));
            RigaDati rec;
            while (l.prossimo(rec)) {
                if (!rec.valida())
                    throw Errore(codici::TipoNonCorrispondente, rec.motivo());
                lega(q, rec.campi);
                q.esegui();
                ++caricati;
                if (caricati % 500 == 0)
                    progresso.record(caricati);
            }
            if (l.erroreLettura())
                throw erroreLettura();
            t.conferma();
        };

        // On a server, many records at a time (see BloccoDiRighe). A block the server refuses
        // leaves the table as it was and the load begins again record by record, which names
        // the record at fault as it always does; a fault of a record found here is told once
        // the records before it are in, as record by record. A connection lost is told as it is.
        struct BloccoRifiutato { };
        const auto aBlocchi = [&](LettoreDati &l) {
            QStringList vettori;
            for (const Colonna &col : colonne) {
                QString tipo = col.tipoDichiarato;
                tipo.remove(QRegularExpression(QStringLiteral("\\([^)]*\\)"))); // its size: the column's own checks it
                vettori << QStringLiteral("?::") + (tipo.trimmed().isEmpty() ? QStringLiteral("text") : tipo.trimmed())
                        + QStringLiteral("[]");
            }
            const QString elencoVettori = vettori.join(QStringLiteral(", "));
            const IstruzioneCompleta blocco = soloInserimento
                ? completa(sql::caricamento::kInserisciBlocco, {tabella, elenco, elencoVettori})
                : aggiornate.isEmpty() ? completa(sql::caricamento::kAggiungiBlocco, {tabella, elenco, chiave, elencoVettori})
                                       : completa(sql::caricamento::kAggiornaBlocco,
                                                  {tabella, elenco, chiave, aggiornateElenco, esclusiElenco, elencoVettori});
            BloccoDiRighe q(c.db, blocco.testo(c.db.motore()), static_cast<int>(colonne.size()));
            Transazione t(c.db);
            if (modo == Modo::Installa)
                c.db.esegui(completa(sql::caricamento::kSvuotaTabella, {tabella}));
            const auto invia = [&] {
                const int righe = q.righe();
                try {
                    q.invia();
                } catch (const Errore &e) {
                    if (e.numero() == codici::ConnessioneServer)
                        throw;
                    throw BloccoRifiutato();
                }
                caricati += righe;
            };
            RigaDati rec;
            while (l.prossimo(rec)) {
                try {
                    if (!rec.valida())
                        throw Errore(codici::TipoNonCorrispondente, rec.motivo());
                    lega(q, rec.campi);
                } catch (const Errore &) {
                    invia();
                    throw;
                }
                q.aggiungi();
                if (q.pieno())
                    invia();
                if ((caricati + q.righe()) % 500 == 0)
                    progresso.record(caricati + q.righe());
            }
            invia();
            if (l.erroreLettura())
                throw erroreLettura();
            t.conferma();
        };

        if (c.db.motore() != Motore::PostgreSQL) {
            perRecord(lettore);
        } else {
            try {
                aBlocchi(lettore);
            } catch (const BloccoRifiutato &) {
                caricati = 0;
                QFile dacapo(percorsoFile);
                if (!dacapo.open(QIODevice::ReadOnly))
                    throw erroreLettura();
                LettoreDati l(dacapo);
                l.intestazione();
                perRecord(l);
            }
        }
    } catch (const Errore &e) {
        fallito(e);
    }
    progresso.record(caricati);
    return caricati;
}

void passoTabelle(Contesto &c, ProgressoCaricamento &progresso)
{
    Sessione &s = c.sessione;
    const QString cartella = c.cartellaProgramma;
    const QString installa = trovaFile(cartella, QStringLiteral("installa.tab"));
    const QString aggiorna = trovaFile(cartella, QStringLiteral("aggiorna.tab"));
    if (!installa.isEmpty() && !aggiorna.isEmpty()) {
        c.dialoghi.messaggio(QStringLiteral("Rilevata presenza di entrambi i files INSTALLA.TAB e AGGIORNA.TAB. ")
                                 + QStringLiteral("Ambiguità nell'operazione da eseguire sulle tabelle di decodifica. ") + CRLF
                                 + QStringLiteral("Impossibile continuare. Si procederà con il caricamento della "
                                                  "procedura senza alcuna modifica delle tabelle di decodifica."),
                             kTitoloFlagTabelle, Icona::Esclamazione);
        return;
    }
    if (installa.isEmpty() && aggiorna.isEmpty())
        return;
    const QString fileFlag = installa.isEmpty() ? aggiorna : installa;
    s.gInstallaTabelle = flag(!installa.isEmpty());
    QFile::remove(fileFlag);
    if (QFileInfo::exists(fileFlag)) {
        c.dialoghi.messaggio(QStringLiteral("Impossibile aggiornare le tabelle di decodifica (file flag non cancellabile)"),
                             kTitoloFlagTabelle, Icona::Critico);
        return;
    }
    progresso.fase(s.gInstallaTabelle ? QStringLiteral("INSTALLAZIONE TABELLE") : QStringLiteral("AGGIORNAMENTO TABELLE"),
                   QStringLiteral("Attendere ...."));
    progresso.attendi(true);
    try {
        QList<InfoTabella> tabelle = c.db.elencoTabelle();
        for (auto it = tabelle.crbegin(); it != tabelle.crend(); ++it) {
            if (it->tipo != QLatin1String("TABLE") || tabellaDellEnte(it->nome))
                continue;
            const QString dati = trovaFile(cartella, it->nome + QStringLiteral(".txt"));
            if (dati.isEmpty())
                continue;
            caricaTabella(c, dati, it->nome, terminiChiave(c, it->nome), progresso);
            if (QFileInfo::exists(dati))
                spostaFile(dati, QDir(cartella).filePath(QStringLiteral("CAR/") + it->nome + QStringLiteral(".txt")));
        }
    } catch (...) {
        progresso.attendi(false);
        throw;
    }
    progresso.attendi(false);
}

} // namespace quirdal
