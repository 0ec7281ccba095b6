#include "loading/DatiOperatori.h"

#include "common/Codifica.h"
#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Generale.h"
#include "common/Piattaforma.h"
#include "common/Progresso.h"
#include "common/PuntiArresto.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "config/Installazione.h"
#include "db/Consultazioni.h"
#include "db/CopiaSicurezza.h"
#include "db/CorsiDB.h"
#include "db/IstruzionePreparata.h"
#include "db/RiaperturaConnessione.h"
#include "loading/TabelleDecodifica.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlQuery>

#include <algorithm>

namespace quirdal {

namespace {

QString provinciaComune(CorsiDB &db, const QString &codComune)
{
    if (codComune.isEmpty())
        return {};
    return db.valoreScalare(QStringLiteral("SELECT PROV FROM Comuni WHERE CodComune=?"), {codComune}).toString();
}

} // namespace

namespace {

// --- Data files ------------------------------------------------------------------------

using Riga = RigaDati;

struct FileDati {
    QString nome;     // as the program calls it: "oper.tx1"
    QString percorso; // as found in the folder, "" when missing
    int record = 0;   // counted when found; the records are read one at a time when loaded
    bool esiste() const { return !percorso.isEmpty(); }
    bool vuoto() const { return record == 0; }
};

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

// The fields of one record, converted as the files' layout says.
class Campi {
public:
    Campi(const FileDati &f, const Riga &r) : m_f(f), m_r(r)
    {
        if (!r.valida())
            throw Errore(codici::TipoNonCorrispondente, r.motivo(m_f.nome));
    }
    // An absent field is an empty text, never a Null.
    QString grezzo(int i) const { return nonNullo(m_r.campi.value(i)); }
    // Without control characters, trimmed, first n characters.
    QString testo(int i, int n) const { return nonNullo(senzaCaratteriDiControllo(grezzo(i)).trimmed().left(n)); }
    QString primo(int i) const { return testo(i, 1); }
    long long numero(int i) const
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
    QVariant numeroONullo(int i) const
    {
        return grezzo(i).trimmed().isEmpty() ? QVariant() : QVariant(numero(i));
    }
    // A date as 8 digits DDMMYYYY, in its three parts; an empty field gives three empty
    // parts. Anything else ("1/2/1970") is an error of the record, never cut into parts.
    std::tuple<QString, QString, QString> data8(int i) const
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
    QString telefono(int prefisso, int numero) const
    {
        return nonNullo(unisciTelefono(grezzo(prefisso), grezzo(numero), 13).left(15));
    }

private:
    static QString nonNullo(const QString &s) { return s.isNull() ? QStringLiteral("") : s; }

    const FileDati &m_f;
    const Riga &m_r;
};

// An error of a procedure, with the part of the message that tells what was being loaded.
class ErroreFase : public Errore {
public:
    ErroreFase(const Errore &e, QString procedura, QString fase)
        : Errore(e), m_procedura(std::move(procedura)), m_fase(std::move(fase))
    {
    }
    const QString &procedura() const { return m_procedura; } // AggCorsiOper ...
    const QString &fase() const { return m_fase; }
private:
    QString m_procedura, m_fase;
};

const QStringList &kFileDati = fileDatiOperatori();

QString nomeCar(const QString &file, bool aggiornamento)
{
    QString base = QFileInfo(file).completeBaseName();
    if (aggiornamento && base == QLatin1String("corsipre"))
        base = QStringLiteral("CorsiPre");
    else if (aggiornamento && base == QLatin1String("percmod"))
        base = QStringLiteral("PercMod");
    return base + QStringLiteral(".car");
}

void spostaFileDati(const QString &cartella, const QString &sottocartella, bool aggiornamento)
{
    for (const QString &nome : kFileDati) {
        const QString p = trovaFile(cartella, nome);
        if (!p.isEmpty())
            spostaFile(p, QDir(cartella).filePath(sottocartella + QLatin1Char('/') + nomeCar(nome, aggiornamento)));
    }
}

QString testoMancanoFile(const QString &cartella, const QString &verbo)
{
    return QStringLiteral("ATTENZIONE: la base dati è incompleta. Mancano uno o più files di testo necessari (è possibile "
                          "che si trovino ancora nella cartella temporanea dove è stato scaricato il pacchetto di "
                          "installazione da Internet. In tal caso, ")
        + verbo + QStringLiteral(" da tale cartella tutti i files .TX1 nella cartella ") + cartella + QStringLiteral(").");
}

// --- Writers shared by install and update ------------------------------------------------

void inserisciOperatore(CorsiDB &db, const Campi &k)
{
    const auto [gg, mm, aaaa] = k.data8(8);
    db.esegui(QStringLiteral(
                  "INSERT INTO CorsiOper (GrupOpe, Operatore, Denominazione, TipoOper, CodFisc, LegNome, LegComNasc, "
                  "LegProvNasc, LegGGNasc, LegMMNasc, LegAAAANasc, ProvCCIAA, CodCCIAA, AnnoCCIAA, AttEcono, ContABI, "
                  "ContDesBanca, ContAge, ContIndirAge, ContNumCC, ContIntCC, DomPrece, AAAAPrece, GGPrece, MMPrece, "
                  "NominativoReferente, CodFiscaleReferente) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,'','','','','','','',"
                  "'','','','','')"),
              {k.primo(0), k.numero(1), k.testo(2, 100), k.testo(3, 2), k.testo(4, 16), k.testo(5, 35), k.testo(6, 30),
               k.testo(7, 2), gg, mm, aaaa, k.testo(9, 2), k.testo(10, 7), k.testo(11, 4), k.numero(12)});
}

void inserisciComponente(CorsiDB &db, const Campi &k)
{
    db.esegui(QStringLiteral(
                  "INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione, CodComune, Cap, "
                  "Indirizzo, Pref, Tel, PrefFax, Fax, StatoEstero, CittaEstero, Email, Riferimento, MA_nCert, MB_nCert, "
                  "MC_nCert, MIO_nCert, tAD_nCert, tD_nCert, tH_nCert, tFAD_nCert, tINN_nCert) VALUES "
                  "(?,?,?,?,?,?,?,?,'',?,'',?,?,?,?,'','','','','','','','','','')"),
              {k.primo(0), k.numero(1), k.numero(2), k.testo(3, 2), k.testo(4, 100), k.testo(5, 6), k.testo(6, 5),
               k.testo(7, 50), k.telefono(8, 9), k.telefono(10, 11), k.testo(12, 30), k.testo(13, 30), k.testo(14, 80)});
}

void inserisciSedeOcc(CorsiDB &db, const Campi &k)
{
    db.esegui(QStringLiteral("INSERT INTO CorsiSediOcc (SedeOcc, Denominazione, Indirizzo, CodComune, Cap, Pref, Tel, "
                             "PrefFax, Fax, TipoCompo) VALUES (?,?,?,?,?,'',?,'',?,'UO')"),
              {k.numero(0), k.testo(1, 100), k.testo(2, 50), k.testo(3, 6), k.testo(4, 5), k.telefono(5, 6),
               k.telefono(7, 8)});
}

void inserisciAttivita(CorsiDB &db, const QString &tabella, const Campi &k, bool conAnnGest)
{
    QVariantList v{k.numero(0),  k.primo(1),    k.numero(2),      k.numero(3),      k.numeroONullo(4),
                   k.numero(5),  k.testo(6, 4), k.numero(7),      k.testo(8, 100),  k.primo(9),
                   k.numero(10), k.testo(11, 10), k.testo(12, 10), k.testo(13, 10)};
    if (conAnnGest)
        v << k.testo(14, 4);
    db.esegui(QStringLiteral("INSERT INTO ") + tabella
                  + QStringLiteral(" (IdAttivitaPrec, GrupOpe, Operatore, Componente, SedeOcc, ProgrAttivitaPrec, "
                                   "AnnoInizioPrec, AccPrec, Denomina, GrupOpeAtt, OperatoreAtt, CodAsse, CodMisura, "
                                   "CodAzione")
                  + (conAnnGest ? QStringLiteral(", AnnGest) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)")
                                : QStringLiteral(") VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)")),
              v);
}

// Runs a load over the records of a file, with its progress, under its phase.
void perOgniRecord(const FileDati &f, const QString &tabella, ProgressoCaricamento &p, const QString &procedura,
                   const QString &fase, const std::function<void(const Campi &)> &passo)
{
    p.file(f.percorso, tabella, f.record);
    int n = 0;
    if (f.esiste()) {
        try {
            QFile in(f.percorso);
            if (!in.open(QIODevice::ReadOnly))
                throw Errore(codici::FileNonTrovato, QStringLiteral("impossibile leggere il file ") + f.percorso);
            LettoreDati lettore(in);
            Riga r;
            while (lettore.prossimo(r)) {
                passo(Campi(f, r));
                puntoDiArresto("record");
                if (++n % 200 == 0)
                    p.record(n);
            }
            if (lettore.erroreLettura())
                throw Errore(codici::FileNonTrovato, QStringLiteral("impossibile leggere il file ") + f.percorso);
        } catch (const Errore &e) {
            throw ErroreFase(e, procedura, fase);
        }
    }
    p.record(n);
}

// Corrispondenza of the operators that have none yet: their registered office. Returns
// the first operator without one, if any.
std::optional<QString> impostaSediLegali(CorsiDB &db)
{
    QSqlQuery q = db.seleziona(QStringLiteral("SELECT GrupOpe, Operatore FROM CorsiOper WHERE Corrispondenza IS NULL "
                                              "ORDER BY GrupOpe, Operatore"));
    QList<QPair<QString, long long>> operatori;
    while (q.next())
        operatori.append({q.value(0).toString(), q.value(1).toLongLong()});
    q.finish();
    for (const auto &[g, o] : operatori) {
        const QVariant sede = db.valoreScalare(
            QStringLiteral("SELECT Componente FROM QrySedLeg WHERE GrupOpe=? AND Operatore=? ORDER BY Componente"), {g, o});
        if (sede.isNull())
            return g + QStringLiteral(" - ") + QString::number(o);
        db.esegui(QStringLiteral("UPDATE CorsiOper SET Corrispondenza=? WHERE GrupOpe=? AND Operatore=?"), {sede, g, o});
    }
    return std::nullopt;
}

FileDati leggi(const QString &cartella, const QString &nome, const QString &fase, const QString &procedura = {})
{
    try {
        return leggiFileDati(cartella, nome);
    } catch (const Errore &e) {
        throw ErroreFase(e, procedura, fase);
    }
}

// The hourglass for the length of a load, and the safety copy taken before it.
struct Attesa {
    explicit Attesa(ProgressoCaricamento &p) : p(p) { p.attendi(true); }
    ~Attesa() { p.attendi(false); }
    ProgressoCaricamento &p;
};

bool copiaPrimaDelCaricamento(Contesto &c, const QString &operazione, const QString &titolo)
{
    if (copiaSicurezza(c.db))
        return true;
    c.dialoghi.messaggio(QStringLiteral("Copia di sicurezza della base dati non riuscita. Impossibile continuare "
                                        "l'operazione di ")
                             + operazione + QStringLiteral("."),
                         titolo, Icona::Critico);
    return false;
}

void terminaInstallazione(Contesto &c, const QString &testo, const QString &titolo = kTitoloInstallazioneDb)
{
    if (c.db.inTransazione())
        c.db.annullaTransazione();
    c.dialoghi.messaggio(testo, titolo, Icona::Critico);
    c.db.chiudi();
    throw FineProgramma(QStringLiteral("installazione dati operatori"));
}

} // namespace

// --- Install ------------------------------------------------------------------------------

void installaDatiOperatori(Contesto &c, ProgressoCaricamento &progresso)
{
    const QString cartella = c.cartellaProgramma;
    const QString cartellaMostrata = QDir::toNativeSeparators(cartella);
    auto esiste = [&](const QString &n) { return !trovaFile(cartella, n).isEmpty(); };
    if (!esiste(QStringLiteral("oper.tx1")) || !esiste(QStringLiteral("compo.tx1")))
        terminaInstallazione(c, testoMancanoFile(cartellaMostrata, QStringLiteral("spostare")));
    if (esiste(QStringLiteral("sediocc.tx1")) != esiste(QStringLiteral("sediutil.tx1")))
        terminaInstallazione(c, testoMancanoFile(cartellaMostrata, QStringLiteral("spostate")));
    if (!esiste(QStringLiteral("corsipre.tx1")))
        terminaInstallazione(c, testoMancanoFile(cartellaMostrata, QStringLiteral("spostare")));

    const Attesa attesa(progresso);
    if (!copiaPrimaDelCaricamento(c, QStringLiteral("caricamento"), kTitoloInstallazioneDb))
        return;

    try {
        const FileDati oper = leggi(cartella, QStringLiteral("oper.tx1"), QStringLiteral("dei dati anagrafici dell' OPERATORE/I"));
        const FileDati compo = leggi(cartella, QStringLiteral("compo.tx1"), QStringLiteral("dei dati anagrafici dei COMPONENTI"));
        const FileDati sediocc =
            leggi(cartella, QStringLiteral("sediocc.tx1"), QStringLiteral("dei dati anagrafici delle SEDI OCCASIONALI"));
        const FileDati sediutil =
            leggi(cartella, QStringLiteral("sediutil.tx1"), QStringLiteral("dei dati di utilizzo delle SEDI OCCASIONALI"));
        const FileDati corsipre = leggi(cartella, QStringLiteral("corsipre.tx1"), QStringLiteral("dei dati dei CORSI PRECEDENTI"));
        const FileDati percmod = leggi(cartella, QStringLiteral("percmod.tx1"), QStringLiteral("dei dati dei CORSI PRECEDENTI"));

        // One transaction: whatever stops the load, even a killed process, leaves the
        // database as it was.
        Transazione t(c.db);
        if (oper.vuoto())
            terminaInstallazione(c, QStringLiteral("ATTENZIONE: non è presente alcun OPERATORE da caricare nella base "
                                                   "dati.Impossibile utilizzare il programma."));
        perOgniRecord(oper, QStringLiteral("CorsiOper"), progresso, {}, QStringLiteral("dei dati anagrafici dell' OPERATORE/I"),
                      [&](const Campi &k) { inserisciOperatore(c.db, k); });
        if (compo.vuoto())
            terminaInstallazione(c, QStringLiteral("ATTENZIONE: non è presente alcun COMPONENTE da caricare nella base "
                                                   "dati.Impossibile utilizzare il programma."));
        perOgniRecord(compo, QStringLiteral("CorsiCompo"), progresso, {}, QStringLiteral("dei dati anagrafici dei COMPONENTI"),
                      [&](const Campi &k) { inserisciComponente(c.db, k); });
        if (const auto senza = impostaSediLegali(c.db))
            terminaInstallazione(c,
                                 QStringLiteral("Manca la sede legale dell'Operatore ") + *senza
                                     + QStringLiteral(". Impossibile utilizzare il programma."),
                                 QStringLiteral("Installazione/Aggiornamento Base Dati"));
        if (sediutil.vuoto() && !sediocc.vuoto())
            terminaInstallazione(c, QStringLiteral("ATTENZIONE: il file con i dati di utilizzo delle sedi occasionali è "
                                                   "vuoto. La base dati è incompleta.Impossibile continuare "
                                                   "l'installazione."));
        if (sediocc.vuoto() && !sediutil.vuoto())
            terminaInstallazione(c, QStringLiteral("ATTENZIONE: il file con i dati anagrafici delle sedi occasionali è "
                                                   "vuoto, ma non lo è quello con i dati di utilizzo delle sedi stesse. "
                                                   "La base dati è incompleta.Impossibile continuare l'installazione."));
        perOgniRecord(sediocc, QStringLiteral("CorsiSediOcc"), progresso, {},
                      QStringLiteral("dei dati anagrafici delle SEDI OCCASIONALI"),
                      [&](const Campi &k) { inserisciSedeOcc(c.db, k); });
        perOgniRecord(sediutil, QStringLiteral("CorsiSediOccUtil"), progresso, {},
                      QStringLiteral("dei dati di utilizzo delle SEDI OCCASIONALI"), [&](const Campi &k) {
                          c.db.esegui(QStringLiteral("INSERT INTO CorsiSediOccUtil (GrupOpe, Operatore, SedeOcc, Email, "
                                                     "Riferimento) VALUES (?,?,?,'','')"),
                                      {k.primo(0), k.numero(1), k.numero(2)});
                      });
        perOgniRecord(corsipre, QStringLiteral("PrecCorsi"), progresso, {},
                      QStringLiteral("dei dati dei CORSI PRECEDENTI"),
                      [&](const Campi &k) { inserisciAttivita(c.db, QStringLiteral("PrecCorsi"), k, false); });
        perOgniRecord(percmod, QStringLiteral("PercMod"), progresso, {}, QStringLiteral("dei dati dei CORSI PRECEDENTI"),
                      [&](const Campi &k) { inserisciAttivita(c.db, QStringLiteral("PercMod"), k, true); });
        t.conferma();
    } catch (const Errore &e) {
        // Any failure, not only a record's, takes the road back: rollback, BAD, end.
        const auto *f = dynamic_cast<const ErroreFase *>(&e);
        try {
            if (c.db.inTransazione())
                c.db.annullaTransazione();
        } catch (const Errore &) {
        }
        c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + QStringLiteral(" --> ")
                                 + e.descrizione() + CRLF + QStringLiteral("durante il caricamento ")
                                 + (f ? f->fase() : QStringLiteral("dei dati degli operatori"))
                                 + QStringLiteral(". L'operazione di caricamento ") + QStringLiteral("sarà interrotta.")
                                 + CRLF + QStringLiteral("L'aggiornamento della Base Dati ")
                                 + QStringLiteral("non è andato a buon fine, verrà riprisitnata la situazione iniziale. "
                                                  "Contattare il servizio di ")
                                 + QStringLiteral("assistenza V.T.Z. riportando il presente messaggio."),
                             kTitoloInstallazioneDb, Icona::Critico);
        // The rollback has put the database back as it was; the safety copy is the last
        // resort should it not have (the connection lost, an operator left behind).
        bool vuota = false;
        try {
            vuota = c.db.aperto()
                && c.db.valoreScalare(QStringLiteral("SELECT count(*) FROM CorsiOper")).toInt() == 0;
        } catch (const Errore &) {
        }
        const QString percorsoDb = c.db.percorso();
        if (vuota)
            QFile::remove(percorsoCopiaSicurezza(percorsoDb));
        else if (!ripristinaCopiaSicurezza(c.db, percorsoDb))
            c.dialoghi.messaggio(QStringLiteral("Ripristino della base dati non riuscito."), kTitoloInstallazioneDb,
                                 Icona::Critico);
        spostaFileDati(cartella, QStringLiteral("BAD"), false);
        c.db.chiudi();
        throw FineProgramma(QStringLiteral("dati operatori non caricati"));
    }
    QFile::remove(percorsoCopiaSicurezza(c.db.percorso()));
    spostaFileDati(cartella, QStringLiteral("CAR"), false);
}

// --- Update ---------------------------------------------------------------------------

namespace {

struct Aggiornamento {
    Contesto &c;
    ProgressoCaricamento &p;
    QStringList log;

    void avviso(const QString &testo) { c.dialoghi.messaggio(testo, kTitoloAggiornamentoDb, Icona::Critico); }

    void operatori(const FileDati &f)
    {
        perOgniRecord(f, QStringLiteral("CorsiOper"), p, QStringLiteral("AggCorsiOper"),
                      QStringLiteral("durante il caricamento dei dati anagrafici dell' OPERATORE/I"), [&](const Campi &k) {
                          const QString g = k.primo(0);
                          const long long o = k.numero(1);
                          if (operatoreBloccato(c.db, g, o)) {
                              log << QStringLiteral("- Operatore ") + g + QLatin1Char('-') + QString::number(o)
                                      + QStringLiteral(" non aggiornato perchè bloccato (ha stampato almeno una domanda "
                                                       "definitiva)");
                              return;
                          }
                          const auto [gg, mm, aaaa] = k.data8(8);
                          // What the user may have completed is kept: those fields are taken
                          // from the file only when empty in the database.
                          const int n = c.db.esegui(
                              QStringLiteral(
                                  "UPDATE CorsiOper SET Denominazione=?, TipoOper=?, CodFisc=?, AttEcono=?, "
                                  "LegNome=CASE WHEN ifnull(LegNome,'')='' THEN ? ELSE LegNome END, "
                                  "LegComNasc=CASE WHEN ifnull(LegComNasc,'')='' THEN ? ELSE LegComNasc END, "
                                  "LegProvNasc=CASE WHEN ifnull(LegProvNasc,'')='' THEN ? ELSE LegProvNasc END, "
                                  "LegGGNasc=CASE WHEN ifnull(LegGGNasc,'')='' THEN ? ELSE LegGGNasc END, "
                                  "LegMMNasc=CASE WHEN ifnull(LegMMNasc,'')='' THEN ? ELSE LegMMNasc END, "
                                  "LegAAAANasc=CASE WHEN ifnull(LegAAAANasc,'')='' THEN ? ELSE LegAAAANasc END, "
                                  "ProvCCIAA=CASE WHEN ifnull(ProvCCIAA,'')='' THEN ? ELSE ProvCCIAA END, "
                                  "CodCCIAA=CASE WHEN ifnull(CodCCIAA,'')='' THEN ? ELSE CodCCIAA END, "
                                  "AnnoCCIAA=CASE WHEN ifnull(AnnoCCIAA,'')='' THEN ? ELSE AnnoCCIAA END "
                                  "WHERE GrupOpe=? AND Operatore=?"),
                              {k.testo(2, 100), k.testo(3, 2), k.testo(4, 16), k.numero(12), k.testo(5, 35),
                               k.testo(6, 30), k.testo(7, 2), gg, mm, aaaa, k.testo(9, 2), k.testo(10, 7),
                               k.testo(11, 4), g, o});
                          if (n == 0)
                              inserisciOperatore(c.db, k);
                      });
    }

    // The component's province: where it is now and where the file puts it; both count
    // for the lock.
    void componenti(const FileDati &f)
    {
        perOgniRecord(f, QStringLiteral("CorsiCompo"), p, QStringLiteral("AggCorsiCompo"),
                      QStringLiteral("durante il caricamento dei dati anagrafici del COMPONENTE/I"), [&](const Campi &k) {
                          const QString g = k.primo(0);
                          const long long o = k.numero(1);
                          const long long comp = k.numero(2);
                          const std::optional<bool> oraBloccato = componenteBloccato(c.db, g, o, comp);
                          const QString provFile = provinciaComune(c.db, k.testo(5, 6));
                          if (!oraBloccato && provFile.isEmpty()) {
                              avviso(QStringLiteral("ATTENZIONE: provincia non trovata per il componente ") + g
                                     + QLatin1Char('-') + QString::number(o) + QLatin1Char('-') + QString::number(comp)
                                     + QLatin1Char(' ') + k.testo(4, 100)
                                     + QStringLiteral(". Il componente non viene aggiornato."));
                              return;
                          }
                          if (oraBloccato.value_or(false) || (!provFile.isEmpty() && provinciaStampata(c.db, g, o, provFile))) {
                              log << QStringLiteral("- Componente ") + g + QLatin1Char('-') + QString::number(o)
                                      + QLatin1Char('-') + QString::number(comp) + QLatin1Char(' ') + k.testo(4, 100)
                                      + QStringLiteral(" non aggiornato perchè bloccato (rientra in una provincia per la "
                                                       "quale è già stata stampata la domanda definitiva)");
                              return;
                          }
                          const int n = c.db.esegui(
                              QStringLiteral(
                                  "UPDATE CorsiCompo SET TipoCompo=?, Denominazione=?, CodComune=?, Cap=?, Indirizzo=?, "
                                  "Tel=CASE WHEN ifnull(Tel,'')='' THEN ? ELSE Tel END, "
                                  "Fax=CASE WHEN ifnull(Fax,'')='' THEN ? ELSE Fax END, "
                                  "StatoEstero=CASE WHEN ifnull(StatoEstero,'')='' THEN ? ELSE StatoEstero END, "
                                  "CittaEstero=CASE WHEN ifnull(CittaEstero,'')='' THEN ? ELSE CittaEstero END, "
                                  "Email=CASE WHEN ifnull(Email,'')='' THEN ? ELSE Email END "
                                  "WHERE GrupOpe=? AND Operatore=? AND Componente=?"),
                              {k.testo(3, 2), k.testo(4, 100), k.testo(5, 6), k.testo(6, 5), k.testo(7, 50),
                               k.telefono(8, 9), k.telefono(10, 11), k.testo(12, 30), k.testo(13, 30), k.testo(14, 80), g,
                               o, comp});
                          if (n == 0)
                              inserisciComponente(c.db, k);
                      });
    }

    void sediOccasionali(const FileDati &f)
    {
        perOgniRecord(f, QStringLiteral("CorsiSediOcc"), p, QStringLiteral("AggCorsiSediOcc"),
                      QStringLiteral("durante il caricamento dei dati anagrafici delle SEDI OCCASIONALI"),
                      [&](const Campi &k) {
                          const long long sede = k.numero(0);
                          const std::optional<bool> bloccata = sedeOccasionaleBloccata(c.db, sede);
                          const QString provFile = provinciaComune(c.db, k.testo(3, 6));
                          if (!bloccata && provFile.isEmpty()) {
                              avviso(QStringLiteral("ATTENZIONE: provincia non trovata per la sede occasionale ")
                                     + QString::number(sede) + QLatin1Char(' ') + k.testo(1, 100)
                                     + QStringLiteral(". La sede non viene aggiornata."));
                              return;
                          }
                          bool inFile = false;
                          if (!provFile.isEmpty()) {
                              // A user's printed application in the province the file puts the site in.
                              inFile = c.db.valoreScalare(
                                               QStringLiteral("SELECT count(*) FROM CorsiSediOccUtil U INNER JOIN "
                                                              "Installazione I ON I.GrupOpe=U.GrupOpe AND "
                                                              "I.Operatore=U.Operatore WHERE U.SedeOcc=? AND I.Prov=? AND "
                                                              "I.DomandaStampata<>0"),
                                               {sede, provFile})
                                           .toInt()
                                  > 0;
                          }
                          if (bloccata.value_or(false) || inFile) {
                              log << QStringLiteral("- Sede Occasionale ") + QString::number(sede)
                                      + QStringLiteral(" non aggiornata perchè bloccata (rientra in una provincia per la "
                                                       "quale è già stata stampata la domanda definitiva da un Operatore "
                                                       "utilizzatore della sede stessa)");
                              return;
                          }
                          const int n = c.db.esegui(
                              QStringLiteral("UPDATE CorsiSediOcc SET Denominazione=?, Indirizzo=?, CodComune=?, Cap=?, "
                                             "Tel=?, Fax=?, TipoCompo='UO' WHERE SedeOcc=?"),
                              {k.testo(1, 100), k.testo(2, 50), k.testo(3, 6), k.testo(4, 5), k.telefono(5, 6),
                               k.telefono(7, 8), sede});
                          if (n == 0)
                              inserisciSedeOcc(c.db, k);
                      });
    }

    void utilizzoSedi(const FileDati &f)
    {
        perOgniRecord(f, QStringLiteral("CorsiSediOccUtil"), p, QStringLiteral("AggCorsiSediOccUtil"),
                      QStringLiteral("durante il caricamento dei dati di utilizzo delle SEDI OCCASIONALI"),
                      [&](const Campi &k) {
                          const QString g = k.primo(0);
                          const long long o = k.numero(1), sede = k.numero(2);
                          c.db.esegui(QStringLiteral("INSERT INTO CorsiSediOccUtil (GrupOpe, Operatore, SedeOcc, Email, "
                                                     "Riferimento) SELECT ?, ?, ?, '', '' WHERE NOT EXISTS (SELECT 1 FROM "
                                                     "CorsiSediOccUtil WHERE GrupOpe=? AND Operatore=? AND SedeOcc=?)"),
                                      {g, o, sede, g, o, sede});
                      });
    }
};

bool scriviLog(const QString &percorso, const QStringList &righe)
{
    QSaveFile f(percorso);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (const QString &r : righe) {
        const QByteArray b = aWindows1252(r + CRLF);
        if (f.write(b) != b.size()) {
            f.cancelWriting();
            return false;
        }
    }
    return f.commit();
}

} // namespace

bool aggiornaDatiOperatori(Contesto &c, ProgressoCaricamento &progresso)
{
    const QString cartella = c.cartellaProgramma;
    auto esiste = [&](const QString &n) { return !trovaFile(cartella, n).isEmpty(); };
    if (!esiste(QStringLiteral("oper.tx1")) || !esiste(QStringLiteral("compo.tx1"))
        || esiste(QStringLiteral("sediocc.tx1")) != esiste(QStringLiteral("sediutil.tx1"))) {
        c.dialoghi.messaggio(QStringLiteral("ATTENZIONE: la base dati è incompleta. Mancano uno o più files di testo "
                                            "necessari."),
                             kTitoloAggiornamentoDb, Icona::Critico);
        return false;
    }
    const Attesa attesa(progresso);
    if (!copiaPrimaDelCaricamento(c, QStringLiteral("aggiornamento"), kTitoloAggiornamentoDb))
        return false;
    const QString percorsoLog = QDir(cartella).filePath(kFileLog);
    if (const QString vecchio = trovaFile(cartella, kFileLog); !vecchio.isEmpty())
        QFile::remove(vecchio);
    Aggiornamento a{c, progresso, {}};

    auto fallito = [&]() {
        bool annullata = false;
        try {
            if (c.db.inTransazione())
                c.db.annullaTransazione();
            annullata = c.db.aperto();
        } catch (const Errore &) {
        }
        // The rollback has already put everything back; the safety copy is the last
        // resort should the connection have been lost meanwhile.
        const QString percorsoDb = c.db.percorso();
        const bool ripristinata = annullata || ripristinaCopiaSicurezza(c.db, percorsoDb);
        if (annullata)
            QFile::remove(percorsoCopiaSicurezza(percorsoDb));
        if (ripristinata)
            c.dialoghi.messaggio(QStringLiteral("Ripristino della base dati riuscito"), kTitoloAggiornamentoDb,
                                 Icona::Informazione);
        else
            c.dialoghi.messaggio(QStringLiteral("Ripristino della base dati non riuscito."), kTitoloAggiornamentoDb,
                                 Icona::Critico);
        QFile::remove(percorsoLog);
        return false;
    };

    try {
        const FileDati oper = leggi(cartella, QStringLiteral("oper.tx1"), {}, QStringLiteral("AggCorsiOper"));
        const FileDati compo = leggi(cartella, QStringLiteral("compo.tx1"), {}, QStringLiteral("AggCorsiCompo"));
        const FileDati sediocc = leggi(cartella, QStringLiteral("sediocc.tx1"), {}, QStringLiteral("AggCorsiSediOcc"));
        const FileDati sediutil = leggi(cartella, QStringLiteral("sediutil.tx1"), {}, QStringLiteral("AggCorsiSediOccUtil"));
        Transazione t(c.db);
        if (oper.vuoto()) {
            a.avviso(QStringLiteral("ATTENZIONE: il file Oper.TX1 contenente le anagrafiche degli Operatori da aggiornare "
                                    "risulta vuoto. Impossibile continuare l'operazione di aggiornamento."));
            return fallito();
        }
        a.operatori(oper);
        if (compo.vuoto()) {
            a.avviso(QStringLiteral("ATTENZIONE: il file Compo.TX1 contenente le anagrafiche dei Componenti da aggiornare "
                                    "risulta vuoto. Impossibile continuare l'operazione di aggiornamento."));
            return fallito();
        }
        a.componenti(compo);
        impostaSediLegali(c.db); // new operators: their registered office, where the file gives one
        if (sediutil.vuoto() != sediocc.vuoto()) {
            a.avviso((sediutil.vuoto()
                          ? QStringLiteral("ATTENZIONE: il file con i dati di utilizzo delle sedi occasionali da parte "
                                           "degli operatori è vuoto, ")
                              + QStringLiteral("mentre non lo è il file con i dati anagrafici delle sedi stesse. Vi è "
                                               "quindi una incongruenza nei dati.")
                          : QStringLiteral("ATTENZIONE: il file con i dati anagrafici delle sedi occasionali è vuoto, "
                                           "mentre non lo è quello con i dati ")
                              + QStringLiteral("di utilizzo delle sedi stesse. Vi è quindi una incongruenza nei dati."))
                     + QStringLiteral("Impossibile continuare l'operazione di aggiornamento."));
            return fallito();
        }
        a.sediOccasionali(sediocc);
        a.utilizzoSedi(sediutil);
        t.conferma();
    } catch (const ErroreFase &e) {
        c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + QStringLiteral(" --> ")
                                 + e.descrizione() + CRLF + e.fase(),
                             QStringLiteral("Aggiornamento Base Dati - ") + e.procedura(), Icona::Critico);
        return fallito();
    } catch (const Errore &e) {
        c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + QStringLiteral(" --> ")
                                 + e.descrizione(),
                             kTitoloAggiornamentoDb, Icona::Critico);
        return fallito();
    }

    QFile::remove(percorsoCopiaSicurezza(c.db.percorso()));
    if (!a.log.isEmpty() && scriviLog(percorsoLog, a.log)) {
        if (c.dialoghi.messaggio(QStringLiteral("E' stato creato un file di log con nome: ")
                                     + QDir::toNativeSeparators(percorsoLog)
                                     + QStringLiteral(", contenente alcune note all'aggiornamento. E' possibile leggerlo "
                                                      "usando il Blocco Note di Windows.")
                                     + CRLF + QStringLiteral("Visualizzare subito il file di log?"),
                                 kTitoloAggiornamentoDb, Icona::Domanda, Pulsanti::SiNo)
            == Risposta::Si)
            c.piattaforma.apriInEditor(percorsoLog);
    }
    return true;
}

void archiviaFileDatiOperatori(const QString &cartella, bool riuscito)
{
    spostaFileDati(cartella, riuscito ? QStringLiteral("CAR") : QStringLiteral("BAD"), true);
}

bool aggiornaBaseDati(Contesto &c, ProgressoCaricamento &progresso)
{
    const QString versione = c.sessione.gVersione;
    if (versione == QLatin1String("CLIENT")) {
        c.dialoghi.messaggio(QStringLiteral("La funzione di Aggiornamento Base Dati è disponibile solo dalle "
                                            "installazioni di tipo SERVER."),
                             QStringLiteral("Funzione non disponibile"), Icona::Critico);
        return false;
    }
    if (versione != QLatin1String("SERVER")) {
        c.dialoghi.messaggio(QStringLiteral("ATTENZIONE: impossibile rilevare tipo di installazione in uso "
                                            "(SERVER/CLIENT). ")
                                 + CRLF
                                 + QStringLiteral("Contattare il servizio di assistenza V.T.Z. riportando questo "
                                                  "messaggio."),
                             QStringLiteral("Anomalia"), Icona::Critico);
        return false;
    }
    const QString cartella = c.cartellaProgramma;
    // Back to the installation's own mode afterwards: left exclusive, the database would
    // shut the clients out until the next start.
    RiaperturaConnessione riapertura(c.db, [&c](const Errore &e) {
        c.dialoghi.messaggio(testoRiaperturaFallita(e), kTitoloAggiornamentoDb, Icona::Critico);
    });
    if (!riconnessioneEsclusiva(c.db, c.dialoghi)) {
        for (const QFileInfo &fi : QDir(cartella).entryInfoList(QDir::Files))
            if (fi.suffix().compare(QLatin1String("tx1"), Qt::CaseInsensitive) == 0)
                QFile::remove(fi.filePath());
        throw FineProgramma(QStringLiteral("base dati in uso"));
    }
    passoTabelle(c, progresso);
    if (trovaFile(cartella, QStringLiteral("oper.tx1")).isEmpty())
        return true;
    const bool riuscito = aggiornaDatiOperatori(c, progresso);
    archiviaFileDatiOperatori(cartella, riuscito);
    if (riuscito)
        c.dialoghi.messaggio(QStringLiteral("Aggiornamento Base Dati effettuato."), QStringLiteral("Aggiorna Base Dati"),
                             Icona::Informazione);
    return riuscito;
}

} // namespace quirdal
