// The print engine's run: the request, the names of the PDFs, what every section shares,
// the section saved as a page, the PDF and its closing messages; the choice of the sites of
// a draft. The sections themselves are in StampaDomanda.cpp and StampaCorso.cpp, the final
// print's steps in StampaDefinitiva.cpp.
#include "printing/Stampa.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Piattaforma.h"
#include "common/PuntiArresto.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "db/CatalogoDb.h"
#include "db/CorsiDB.h"
#include "printing/CampiStampa.h"
#include "printing/StampaDefinitiva.h"

#include <QDir>
#include <limits>

namespace quirdal {

using namespace stampa;

RichiestaStampa RichiestaStampa::daSessione(const Sessione &s)
{
    RichiestaStampa r;
    r.modo = s.gModoStampa.isEmpty() ? kModoBozza : s.gModoStampa;
    r.tipoSede = s.gTipoSede;
    r.sede = s.numeroSede();
    r.intervallo = s.gIntervalloStampa;
    return r;
}

QString nomePdfDomanda(const Contesto &c, const QString &modo)
{
    const QString sigla = c.db.valoreScalare(sql::db::kSigProvProvincia, {c.sessione.gProv}).toString();
    return QDir(c.cartellaProgramma)
        .filePath(QStringLiteral("QUIRDAL-") + c.sessione.gGrupOpe + c.sessione.gOperatore + QLatin1Char('-') + sigla
                  + (modo == kModoOriginale ? QStringLiteral("-Domanda-Originale.pdf") : QStringLiteral("-Domanda.pdf")));
}

QString nomePdfCorso(const Contesto &c, const ChiaveCorso &k)
{
    return QDir(c.cartellaProgramma)
        .filePath(QStringLiteral("Sede") + QString::number(k.sede) + QLatin1Char('_') + k.corso + k.accorp
                  + QStringLiteral("-BozzaCorso.pdf"));
}

MotoreStampa::MotoreStampa(Contesto &c, AvanzamentoStampa &avanzamento) : m_c(c), m_a(avanzamento) { }

void MotoreStampa::CompilaCk(Valori &v, int primo, const QList<bool> &caselle)
{
    for (int i = 0; i < caselle.size(); ++i)
        v.casella(QStringLiteral("ck") + QString::number(primo + i), caselle[i]);
}

void MotoreStampa::CompilaHF(Valori &v)
{
    const Sessione &s = m_c.sessione;
    const Riga dom = riga(m_c.db, sql::stampa::kIntestazione, s.chiaveDomanda());
    v.grassetto(QStringLiteral("NomStampa"), m_r.modo);
    v.grassetto(QStringLiteral("NumDoma"), t(dom, "NumDoma").trimmed());
    v.testo(QStringLiteral("Prov"), t(dom, "DesProv"));
    v.testo(QStringLiteral("SigProv"), t(dom, "SigProv"));
    v.testo(QStringLiteral("Data"), m_c.piattaforma.oggi().toString(QStringLiteral("dd/MM/yyyy")));
    v.testo(QStringLiteral("GrupOpe"), s.gGrupOpe);
    v.testo(QStringLiteral("Operatore"), s.gOperatore);
    v.grassetto(QStringLiteral("DenOpe"), t(dom, "Denominazione"));
}

bool MotoreStampa::interrotta()
{
    if (!m_annullata && m_a.annullata())
        m_annullata = true;
    return m_annullata;
}

void MotoreStampa::errore(const QString &procedura, const QString &descrizione)
{
    m_c.dialoghi.messaggio(QStringLiteral("Errore in ViewStam.") + procedura + QStringLiteral(" - ") + descrizione,
                           kTitoloCompilazione, Icona::Critico);
}

void MotoreStampa::sezione(const QString &modello, const std::function<void(Valori &, QHash<QString, Righe> &)> &riempi)
{
    if (interrotta())
        return;
    Valori v = m_comuni;
    QHash<QString, Righe> blocchi;
    try {
        riempi(v, blocchi);
    } catch (const Errore &e) {
        m_c.dialoghi.messaggio(QStringLiteral("Errore in fase di compilazione file di stampa") + CRLF
                                   + QString::number(e.numero()) + QStringLiteral(" - ") + e.descrizione(),
                               kTitoloCompilazione, Icona::Critico);
    }
    const PaginaCompilata p = compila(testoModello(m_c.cartellaProgramma, modello + QStringLiteral(".html")), v, blocchi);
    m_nonCompilati.unite(p.nonCompilati);
    const int n = ++m_sezione;
    m_pdf.SaveTmpRTF(n, p.html);
    m_a.pagina(n, modello);
    if (m_r.intervallo > 0)
        m_a.attendi(m_r.intervallo);
}

void MotoreStampa::intestazioneComune()
{
    m_comuni = Valori();
    CompilaHF(m_comuni);
}

void MotoreStampa::compilaSezioni(const RichiestaStampa &r)
{
    m_r = r;
    m_sezione = 0;
    intestazioneComune();
    if (r.modo == kModoBozzaCorso) {
        if (!r.corso)
            throw Errore(codici::Generico, QStringLiteral("Nessun corso da stampare."));
        StampaUnCorso(*r.corso);
    } else {
        StampaTutto();
    }
}

void MotoreStampa::avvisoNonCompilati(const QStringList &nonCompilati, const QString &file)
{
    QStringList nomi;
    for (const QString &n : nonCompilati)
        nomi << QLatin1Char('<') + n + QLatin1Char('>');
    m_c.dialoghi.messaggio(
        QStringLiteral("Nella stampa sono rimasti da compilare i campi:") + CRLF + nomi.join(QStringLiteral(", "))
            + (m_r.modo == kModoOriginale ? CRLF + QStringLiteral("La stampa definitiva non è completa: il file ") + file
                       + QStringLiteral(" non è stato creato.")
                                          : QString()),
        kTitoloCompilazione, Icona::Esclamazione);
}

EsitoStampa MotoreStampa::esegui(const RichiestaStampa &r)
{
    EsitoStampa e;
    const bool originale = r.modo == kModoOriginale;
    try {
        if (r.modo == kModoBozzaCorso && !r.corso)
            throw Errore(codici::Generico, QStringLiteral("Nessun corso da stampare."));
        // The final print holds the writers' lock from its first read to the lock of the
        // application, so that the form, the transmission file it names and the data it locks
        // are one state: another workstation's save waits for it, and then finds the
        // application locked.
        std::optional<Transazione> scrittura;
        if (originale) {
            try {
                scrittura.emplace(m_c.db);
            } catch (const Errore &err) {
                m_c.dialoghi.messaggio(descrizioneBaseDati(err), kTitoloCompilazione, Icona::Esclamazione);
                return e;
            }
        }
        const QString file = !r.filePdf.isEmpty() ? r.filePdf
            : r.modo == kModoBozzaCorso           ? nomePdfCorso(m_c, *r.corso)
                                                  : nomePdfDomanda(m_c, r.modo);
        // The final form goes under a provisional name, known to the record written before it
        // is complete, until the application is locked.
        std::optional<Consegna> k;
        if (originale)
            k.emplace(m_c.cartellaProgramma, m_c.sessione, file);
        m_pdf.FilePDF = originale ? k->provvisorio() : file;
        Impaginazione imp;
        imp.tipoStampa = r.modo;
        const QString denominazione = denominazioneOperatore(m_c.db, m_c.sessione);
        imp.intestazione = QStringLiteral("Operatore ") + m_c.sessione.gGrupOpe + QLatin1Char(' ') + m_c.sessione.gOperatore
            + QStringLiteral(" - ") + denominazione.left(60) + QStringLiteral(" - Provincia di ") + m_c.sessione.gDesProv;
        imp.autore = QStringLiteral("QUIRDAL - Operatore ") + m_c.sessione.gGrupOpe + QLatin1Char(' ') + m_c.sessione.gOperatore;
        imp.soggetto = QStringLiteral("Domanda di finanziamento dei corsi proposti - ") + r.modo
            + QStringLiteral(" - Provincia di ") + m_c.sessione.gDesProv;
        imp.data = m_c.piattaforma.oggi();
        // The final form is the one the region keeps for years: in the archival format.
        imp.archivio = originale;
        std::optional<FileDefinitivo> definitivo;
        // Once every section is drawn, before the file is closed.
        const auto completa = [&](Impaginazione &dati) {
            e.nonCompilati = QStringList(m_nonCompilati.cbegin(), m_nonCompilati.cend());
            e.nonCompilati.sort();
            if (!originale)
                return true;
            // A final form with a blank left is no final form: nothing is written.
            if (!e.nonCompilati.isEmpty()) {
                avvisoNonCompilati(e.nonCompilati, file);
                return false;
            }
            // The final form names the transmission file written from the data it locks.
            m_a.fase(QStringLiteral("Creazione del file di trasmissione in corso..."));
            definitivo = preparaFileDefinitivo(m_c, m_c.sessione.gProv, m_c.sessione.gGrupOpe, m_c.sessione.gOperatore);
            if (!definitivo) {
                m_c.dialoghi.messaggio(QStringLiteral("Creazione file di trasmissione fallita.") + CRLF
                                           + QStringLiteral("La stampa definitiva non è completa: il file ") + file
                                           + QStringLiteral(" non è stato creato."),
                                       QStringLiteral("Crea File di Trasmissione"), Icona::Critico);
                return false;
            }
            dati.paroleChiave = QStringLiteral("SHA-256 ") + definitivo->sha256;
            dati.notaFinale = QStringLiteral("Impronta SHA-256 del file di trasmissione del ")
                + definitivo->data.toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(": ") + definitivo->sha256;
            k->registra();
            return true;
        };
        const clsCreaPDF::Esito creato = m_pdf.CreatePDF(
            m_c.dialoghi, imp, [&] { compilaSezioni(r); }, &m_a, completa);
        e.sezioni = m_pdf.TotPagine;
        if (creato == clsCreaPDF::Esito::Annullato) {
            e.stato = EsitoStampa::Stato::Annullata;
            return e;
        }
        if (creato != clsCreaPDF::Esito::Creato)
            return e;
        if (originale) {
            puntoDiArresto("stampa-provvisoria");
            if (!consegna(m_c, *k, e, &*definitivo, scrittura ? &*scrittura : nullptr))
                return e;
        }
        e.stato = EsitoStampa::Stato::Completa;
        e.filePdf = file;
        e.pagine = m_pdf.pagineStampate();
        // Said only once the file is under its name and, for the final form, the application locked.
        m_c.dialoghi.messaggio(messaggioCreato(e.filePdf), kTitoloCompilazione, Icona::Informazione);
        if (!e.nonCompilati.isEmpty())
            avvisoNonCompilati(e.nonCompilati, file);
        if (r.apriAlTermine)
            m_c.piattaforma.apri(e.filePdf);
        return e;
    } catch (const Errore &err) {
        m_c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(err.numero()) + QStringLiteral(" --> ")
                                   + err.descrizione(),
                               QStringLiteral("Errore generico"), Icona::Esclamazione);
        e.stato = EsitoStampa::Stato::Fallita;
        return e;
    }
}

QString denominazioneOperatore(CorsiDB &db, const Sessione &s)
{
    return db.valoreScalare(sql::stampa::kDenominazioneOperatore, s.chiaveOperatore()).toString();
}

QStringList vociSediStampa(CorsiDB &db, const Sessione &s)
{
    QStringList r;
    for (const Riga &c : righe(db, sql::stampa::kVociComponenti, s.chiaveDomanda()))
        r << t(c, "Componente") + QStringLiteral(" - ") + t(c, "Denominazione");
    for (const Riga &c : righe(db, sql::stampa::kVociSediOcc, s.chiaveDomanda()))
        r << t(c, "SedeOcc") + QStringLiteral(" - ") + t(c, "Denominazione") + QStringLiteral("  (SEDE OCCASIONALE)");
    return r;
}

void scegliSedeStampa(Sessione &s, const QString &voce)
{
    if (voce.trimmed().isEmpty()) {
        s.gTipoSede.clear();
        s.gCompo = QStringLiteral("0");
        s.gDenCompo.clear();
        return;
    }
    const QString occasionale = QStringLiteral("(SEDE OCCASIONALE)");
    const qsizetype trattino = voce.indexOf(QLatin1Char('-'));
    s.gCompo = voce.left(trattino).trimmed();
    s.gDenCompo = voce.mid(trattino + 1).remove(occasionale).trimmed();
    s.gTipoSede = voce.contains(occasionale) ? QStringLiteral("SO") : QStringLiteral("UL");
}

long intervalloStampa(const QString &secondi)
{
    bool ok = false;
    const long n = secondi.trimmed().toLong(&ok);
    return ok && n >= 0 && n <= std::numeric_limits<long>::max() / 1000 ? n * 1000 : 0;
}

} // namespace quirdal
