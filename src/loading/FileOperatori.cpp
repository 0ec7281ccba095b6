#include "loading/FileOperatori.h"

#include "common/Codifica.h"
#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Progresso.h"
#include "common/PuntiArresto.h"
#include "common/Testo.h"
#include "db/Consultazioni.h"
#include "db/CorsiDB.h"
#include "loading/CatalogoCaricamento.h"
#include "loading/DatiOperatori.h"

#include <QFile>

#include <algorithm>

namespace quirdal {

namespace {

QString nonNullo(const QString &s) { return s.isNull() ? QStringLiteral("") : s; }

QString provinciaComune(CorsiDB &db, const QString &codComune)
{
    if (codComune.isEmpty())
        return {};
    return db.valoreScalare(sql::caricamento::kProvinciaComune, {codComune}).toString();
}

void avviso(Contesto &c, const QString &testo) { c.dialoghi.messaggio(testo, kTitoloAggiornamentoDb, Icona::Critico); }

FileDati leggiFileDati(const QString &cartella, const QString &nome)
{
    FileDati f;
    f.nome = nome;
    f.percorso = trovaFile(cartella, nome);
    if (!f.esiste())
        return f;
    f.record = contaRecord(f.percorso, false);
    if (f.record < 0)
        throw Errore(codici::FileNonTrovato, QStringLiteral("impossibile leggere il file ") + f.percorso);
    return f;
}

// --- Install: every record added ----------------------------------------------------------

void inserisciOperatore(CorsiDB &db, const Campi &k)
{
    const auto [gg, mm, aaaa] = k.data8(8);
    db.esegui(sql::caricamento::kInserisciOperatore,
              {k.primo(0), k.numero(1), k.testo(2, 100), k.testo(3, 2), k.testo(4, 16), k.testo(5, 35), k.testo(6, 30),
               k.testo(7, 2), gg, mm, aaaa, k.testo(9, 2), k.testo(10, 7), k.testo(11, 4), k.numero(12)});
}

void inserisciComponente(CorsiDB &db, const Campi &k)
{
    db.esegui(sql::caricamento::kInserisciComponente,
              {k.primo(0), k.numero(1), k.numero(2), k.testo(3, 2), k.testo(4, 100), k.testo(5, 6), k.testo(6, 5), k.testo(7, 50),
               k.telefono(8, 9), k.telefono(10, 11), k.testo(12, 30), k.testo(13, 30), k.testo(14, 80)});
}

void inserisciSedeOcc(CorsiDB &db, const Campi &k)
{
    db.esegui(sql::caricamento::kInserisciSedeOcc,
              {k.numero(0), k.testo(1, 100), k.testo(2, 50), k.testo(3, 6), k.testo(4, 5), k.telefono(5, 6), k.telefono(7, 8)});
}

void inserisciAttivita(CorsiDB &db, const Istruzione &inserisci, const Campi &k, bool conAnnGest)
{
    QVariantList v{k.numero(0), k.primo(1),      k.numero(2), k.numero(3),  k.numeroONullo(4), k.numero(5),     k.testo(6, 4),
                   k.numero(7), k.testo(8, 100), k.primo(9),  k.numero(10), k.testo(11, 10),   k.testo(12, 10), k.testo(13, 10)};
    if (conAnnGest)
        v << k.testo(14, 4);
    db.esegui(inserisci, v);
}

void installaOperatore(Caricamento &car, const Campi &k) { inserisciOperatore(car.c.db, k); }
void installaComponente(Caricamento &car, const Campi &k) { inserisciComponente(car.c.db, k); }
void installaSedeOcc(Caricamento &car, const Campi &k) { inserisciSedeOcc(car.c.db, k); }
void installaUtilizzo(Caricamento &car, const Campi &k)
{
    car.c.db.esegui(sql::caricamento::kInserisciUtilizzo, {k.primo(0), k.numero(1), k.numero(2)});
}
void installaCorsoPrecedente(Caricamento &car, const Campi &k)
{
    inserisciAttivita(car.c.db, sql::caricamento::kInserisciCorsoPrecedente, k, false);
}
void installaPercorso(Caricamento &car, const Campi &k)
{
    inserisciAttivita(car.c.db, sql::caricamento::kInserisciPercorso, k, true);
}

// --- Update: what the user entered is kept, locked records are left as they are ---------

void aggiornaOperatore(Caricamento &car, const Campi &k)
{
    Contesto &c = car.c;
    const QString g = k.primo(0);
    const long long o = k.numero(1);
    if (operatoreBloccato(c.db, g, o)) {
        car.log << QStringLiteral("- Operatore ") + g + QLatin1Char('-') + QString::number(o)
                + QStringLiteral(" non aggiornato perchè bloccato (ha stampato almeno una domanda "
                                 "definitiva)");
        return;
    }
    const auto [gg, mm, aaaa] = k.data8(8);
    // What the user may have completed is kept: those fields are taken
    // from the file only when empty in the database.
    const int n = c.db.esegui(sql::caricamento::kAggiornaOperatore,
                              {k.testo(2, 100), k.testo(3, 2), k.testo(4, 16), k.numero(12), k.testo(5, 35), k.testo(6, 30),
                               k.testo(7, 2), gg, mm, aaaa, k.testo(9, 2), k.testo(10, 7), k.testo(11, 4), g, o});
    if (n == 0)
        inserisciOperatore(c.db, k);
}

// The component's province: where it is now and where the file puts it; both count
// for the lock.
void aggiornaComponente(Caricamento &car, const Campi &k)
{
    Contesto &c = car.c;
    const QString g = k.primo(0);
    const long long o = k.numero(1);
    const long long comp = k.numero(2);
    const std::optional<bool> oraBloccato = componenteBloccato(c.db, g, o, comp);
    const QString provFile = provinciaComune(c.db, k.testo(5, 6));
    if (!oraBloccato && provFile.isEmpty()) {
        avviso(c,
               QStringLiteral("ATTENZIONE: provincia non trovata per il componente ") + g + QLatin1Char('-') + QString::number(o)
                   + QLatin1Char('-') + QString::number(comp) + QLatin1Char(' ') + k.testo(4, 100)
                   + QStringLiteral(". Il componente non viene aggiornato."));
        return;
    }
    if (oraBloccato.value_or(false) || (!provFile.isEmpty() && provinciaStampata(c.db, g, o, provFile))) {
        car.log << QStringLiteral("- Componente ") + g + QLatin1Char('-') + QString::number(o) + QLatin1Char('-')
                + QString::number(comp) + QLatin1Char(' ') + k.testo(4, 100)
                + QStringLiteral(" non aggiornato perchè bloccato (rientra in una provincia per la "
                                 "quale è già stata stampata la domanda definitiva)");
        return;
    }
    const int n = c.db.esegui(sql::caricamento::kAggiornaComponente,
                              {k.testo(3, 2), k.testo(4, 100), k.testo(5, 6), k.testo(6, 5), k.testo(7, 50), k.telefono(8, 9),
                               k.telefono(10, 11), k.testo(12, 30), k.testo(13, 30), k.testo(14, 80), g, o, comp});
    if (n == 0)
        inserisciComponente(c.db, k);
}

void aggiornaSedeOcc(Caricamento &car, const Campi &k)
{
    Contesto &c = car.c;
    const long long sede = k.numero(0);
    const std::optional<bool> bloccata = sedeOccasionaleBloccata(c.db, sede);
    const QString provFile = provinciaComune(c.db, k.testo(3, 6));
    if (!bloccata && provFile.isEmpty()) {
        avviso(c,
               QStringLiteral("ATTENZIONE: provincia non trovata per la sede occasionale ") + QString::number(sede)
                   + QLatin1Char(' ') + k.testo(1, 100) + QStringLiteral(". La sede non viene aggiornata."));
        return;
    }
    bool inFile = false;
    if (!provFile.isEmpty()) {
        // A user's printed application in the province the file puts the site in.
        inFile = c.db.valoreScalare(sql::caricamento::kSedeOccStampata, {sede, provFile}).toInt() > 0;
    }
    if (bloccata.value_or(false) || inFile) {
        car.log << QStringLiteral("- Sede Occasionale ") + QString::number(sede)
                + QStringLiteral(" non aggiornata perchè bloccata (rientra in una provincia per la "
                                 "quale è già stata stampata la domanda definitiva da un Operatore "
                                 "utilizzatore della sede stessa)");
        return;
    }
    const int n =
        c.db.esegui(sql::caricamento::kAggiornaSedeOcc,
                    {k.testo(1, 100), k.testo(2, 50), k.testo(3, 6), k.testo(4, 5), k.telefono(5, 6), k.telefono(7, 8), sede});
    if (n == 0)
        inserisciSedeOcc(c.db, k);
}

void aggiornaUtilizzo(Caricamento &car, const Campi &k)
{
    Contesto &c = car.c;
    const QString g = k.primo(0);
    const long long o = k.numero(1), sede = k.numero(2);
    c.db.esegui(sql::caricamento::kAggiungiUtilizzo, {g, o, sede, g, o, sede});
}

} // namespace

Campi::Campi(const FileDati &f, const RigaDati &r) : m_f(f), m_r(r)
{
    if (!r.valida())
        throw Errore(codici::TipoNonCorrispondente, r.motivo(m_f.nome));
}

QString Campi::grezzo(int i) const { return nonNullo(m_r.campi.value(i)); }

QString Campi::testo(int i, int n) const { return nonNullo(senzaCaratteriDiControllo(grezzo(i)).trimmed().left(n)); }

long long Campi::numero(int i) const
{
    const QString t = grezzo(i).trimmed();
    bool ok = false;
    const long long v = t.toLongLong(&ok);
    if (!ok)
        throw Errore(codici::TipoNonCorrispondente,
                     QStringLiteral("Tipo di dati non corrispondente: il campo %1 della riga %2 del file %3 ('%4') "
                                    "deve essere un numero")
                         .arg(i)
                         .arg(m_r.numero)
                         .arg(m_f.nome, t));
    return v;
}

QVariant Campi::numeroONullo(int i) const { return grezzo(i).trimmed().isEmpty() ? QVariant() : QVariant(numero(i)); }

std::tuple<QString, QString, QString> Campi::data8(int i) const
{
    const QString t = grezzo(i).trimmed();
    if (t.isEmpty())
        return {nonNullo({}), nonNullo({}), nonNullo({})};
    if (t.size() != 8 || !std::all_of(t.cbegin(), t.cend(), [](QChar ch) { return ch >= u'0' && ch <= u'9'; }))
        throw Errore(codici::TipoNonCorrispondente,
                     QStringLiteral("data non valida nel campo %1 della riga %2 del file %3 ('%4'): sono attese 8 "
                                    "cifre GGMMAAAA")
                         .arg(i)
                         .arg(m_r.numero)
                         .arg(m_f.nome, t));
    return {t.mid(0, 2), t.mid(2, 2), t.mid(4, 4)};
}

QString Campi::telefono(int prefisso, int numero) const
{
    return nonNullo(unisciTelefono(grezzo(prefisso), grezzo(numero), 13).left(15));
}

const QList<FileOperatori> &fileOperatori()
{
    static const QList<FileOperatori> tabella = {
        {.nome = QStringLiteral("oper.tx1"),
         .tabella = QStringLiteral("CorsiOper"),
         .fase = QStringLiteral("dei dati anagrafici dell' OPERATORE/I"),
         .installa = installaOperatore,
         .procedura = QStringLiteral("AggCorsiOper"),
         .faseAggiornamento = QStringLiteral("durante il caricamento dei dati anagrafici dell' OPERATORE/I"),
         .aggiorna = aggiornaOperatore,
         .vuotoInstallazione = QStringLiteral("ATTENZIONE: non è presente alcun OPERATORE da caricare nella base "
                                              "dati.Impossibile utilizzare il programma."),
         .vuotoAggiornamento = QStringLiteral("ATTENZIONE: il file Oper.TX1 contenente le anagrafiche degli Operatori da "
                                              "aggiornare risulta vuoto. Impossibile continuare l'operazione di "
                                              "aggiornamento.")},
        {.nome = QStringLiteral("compo.tx1"),
         .tabella = QStringLiteral("CorsiCompo"),
         .fase = QStringLiteral("dei dati anagrafici dei COMPONENTI"),
         .installa = installaComponente,
         .procedura = QStringLiteral("AggCorsiCompo"),
         .faseAggiornamento = QStringLiteral("durante il caricamento dei dati anagrafici del COMPONENTE/I"),
         .aggiorna = aggiornaComponente,
         .vuotoInstallazione = QStringLiteral("ATTENZIONE: non è presente alcun COMPONENTE da caricare nella base "
                                              "dati.Impossibile utilizzare il programma."),
         .vuotoAggiornamento = QStringLiteral("ATTENZIONE: il file Compo.TX1 contenente le anagrafiche dei Componenti da "
                                              "aggiornare risulta vuoto. Impossibile continuare l'operazione di "
                                              "aggiornamento."),
         .sediLegali = true},
        {.nome = QStringLiteral("sediocc.tx1"),
         .tabella = QStringLiteral("CorsiSediOcc"),
         .fase = QStringLiteral("dei dati anagrafici delle SEDI OCCASIONALI"),
         .installa = installaSedeOcc,
         .procedura = QStringLiteral("AggCorsiSediOcc"),
         .faseAggiornamento = QStringLiteral("durante il caricamento dei dati anagrafici delle SEDI OCCASIONALI"),
         .aggiorna = aggiornaSedeOcc,
         .compagno = QStringLiteral("sediutil.tx1")},
        {.nome = QStringLiteral("sediutil.tx1"),
         .tabella = QStringLiteral("CorsiSediOccUtil"),
         .fase = QStringLiteral("dei dati di utilizzo delle SEDI OCCASIONALI"),
         .installa = installaUtilizzo,
         .procedura = QStringLiteral("AggCorsiSediOccUtil"),
         .faseAggiornamento = QStringLiteral("durante il caricamento dei dati di utilizzo delle SEDI OCCASIONALI"),
         .aggiorna = aggiornaUtilizzo},
        // The previous activities come with the install only.
        {.nome = QStringLiteral("corsipre.tx1"),
         .tabella = QStringLiteral("PrecCorsi"),
         .fase = QStringLiteral("dei dati dei CORSI PRECEDENTI"),
         .installa = installaCorsoPrecedente},
        {.nome = QStringLiteral("percmod.tx1"),
         .tabella = QStringLiteral("PercMod"),
         .fase = QStringLiteral("dei dati dei CORSI PRECEDENTI"),
         .installa = installaPercorso},
    };
    return tabella;
}

FileDati leggiFile(const QString &cartella, const QString &nome, const QString &fase, const QString &procedura)
{
    try {
        return leggiFileDati(cartella, nome);
    } catch (const Errore &e) {
        throw ErroreFase(e, procedura, fase);
    }
}

void perOgniRecord(const FileDati &f, const QString &tabella, ProgressoCaricamento &p, const QString &procedura,
                   const QString &fase, Caricamento &car, Lettore lettore)
{
    p.file(f.percorso, tabella, f.record);
    int n = 0;
    if (f.esiste()) {
        try {
            QFile in(f.percorso);
            if (!in.open(QIODevice::ReadOnly))
                throw Errore(codici::FileNonTrovato, QStringLiteral("impossibile leggere il file ") + f.percorso);
            LettoreDati righe(in);
            RigaDati r;
            while (righe.prossimo(r)) {
                lettore(car, Campi(f, r));
                puntoDiArresto("record");
                if (++n % 200 == 0)
                    p.record(n);
            }
            if (righe.erroreLettura())
                throw Errore(codici::FileNonTrovato, QStringLiteral("impossibile leggere il file ") + f.percorso);
        } catch (const Errore &e) {
            throw ErroreFase(e, procedura, fase);
        }
    }
    p.record(n);
}

} // namespace quirdal
