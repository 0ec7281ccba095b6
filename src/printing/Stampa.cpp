#include "printing/Stampa.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Importo.h"
#include "common/Piattaforma.h"
#include "common/PuntiArresto.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "courses/Spese.h"
#include "db/CorsiDB.h"
#include "printing/ControlliStampa.h"
#include "common/FileTemporanei.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>

namespace quirdal {

namespace {

using Riga = QVariantMap;

QList<Riga> righe(CorsiDB &db, const QString &sql, const QVariantList &parametri) { return db.righe(sql, parametri); }
Riga riga(CorsiDB &db, const QString &sql, const QVariantList &parametri) { return db.righe(sql, parametri).value(0); }

QString t(const Riga &r, const char *campo) { return r.value(QString::fromLatin1(campo)).toString(); }
bool vero(const Riga &r, const char *campo) { return r.value(QString::fromLatin1(campo)).toInt() != 0; }
QString soldi(const QVariant &v) { return v.isNull() ? QString() : Importo::daValore(v).formato(); }
QString codiceDescrizione(const QString &codice, const QString &descrizione)
{
    if (codice.isEmpty())
        return descrizione;
    return descrizione.isEmpty() ? codice : codice + QStringLiteral(" - ") + descrizione;
}
// The name, address and contacts of a site, a component or an occasional one alike.
void recapitiSede(Valori &v, const Riga &c)
{
    v.grassetto(QStringLiteral("Denominazione"), t(c, "Denominazione"));
    for (const auto &[segnaposto, campo] : {std::pair{"Indirizzo", "Indirizzo"}, std::pair{"Cap", "Cap"},
                                            std::pair{"Prov1", "SigProv"}, std::pair{"Tel", "Tel"}, std::pair{"Fax", "Fax"},
                                            std::pair{"Email", "Email"}, std::pair{"Riferimento", "Riferimento"}})
        v.testo(QString::fromLatin1(segnaposto), t(c, campo));
    v.testo(QStringLiteral("Comune"), codiceDescrizione(t(c, "CodComune"), t(c, "Comuni.Denominazione")));
}

QString data(const QString &gg, const QString &mm, const QString &aaaa)
{
    if ((gg + mm + aaaa).isEmpty())
        return {};
    return gg + QLatin1Char('/') + mm + QLatin1Char('/') + aaaa;
}

// The office that receives the application, by province.
QString ufficioDestinatario(const QString &prov, const QString &desProv)
{
    static const QHash<QString, QString> uffici = {
        {QStringLiteral("001"), QStringLiteral("Settore Formazione Professionale e Lavoro")},
        {QStringLiteral("003"), QStringLiteral("Servizio Istruzione e Formazione Professionale")},
        {QStringLiteral("004"), QStringLiteral("Area Formazione Professionale")},
        {QStringLiteral("005"), QStringLiteral("Settore Politiche del Lavoro e della Formazione")},
        {QStringLiteral("006"), QStringLiteral("Servizio Formazione Professionale")},
        {QStringLiteral("096"), QStringLiteral("Settore Formazione e Orientamento")},
        {QStringLiteral("103"), QStringLiteral("Servizio Lavoro e Formazione Professionale")},
    };
    return uffici.value(prov, QStringLiteral("Ufficio Formazione Professionale")) + QStringLiteral(" della Provincia di ")
        + desProv;
}

// The province's emblem when the installation has no picture of its own: a shield with the
// province's initials.
QImage stemmaProvincia(const QString &sigla)
{
    QImage img(360, 420, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath scudo;
    scudo.moveTo(20, 20);
    scudo.lineTo(340, 20);
    scudo.lineTo(340, 230);
    scudo.quadTo(340, 360, 180, 405);
    scudo.quadTo(20, 360, 20, 230);
    scudo.closeSubpath();
    p.fillPath(scudo, QColor(0x1f, 0x3a, 0x6e));
    p.setPen(QPen(QColor(0xc9, 0xa2, 0x27), 14));
    p.drawPath(scudo);
    p.setPen(Qt::white);
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(150);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(20, 60, 320, 220), Qt::AlignCenter, sigla);
    return img;
}

const QString kSuffissoProvvisorio = QStringLiteral(".provvisorio");
const QString kEstensioneSospesa = QStringLiteral(".stampa-sospesa");
const QString kBaseDatiInUso = QStringLiteral("La base dati è in uso da un'altra postazione. Riprovare tra qualche istante.");
const QString kSqlBloccoDomanda = QStringLiteral("UPDATE Installazione SET DomandaStampata = ? WHERE GrupOpe = ? AND "
                                                 "Operatore = ? AND Prov = ? AND Domanda = 1");

QString messaggioCreato(const QString &file) { return QStringLiteral("E' stato creato il file ") + file + QStringLiteral("."); }

// A file put under another name in one step, replacing what was there.
bool rinomina(const QString &da, const QString &a, QString &errore)
{
    std::error_code ec;
    std::filesystem::rename(QFile(da).filesystemFileName(), QFile(a).filesystemFileName(), ec);
    if (ec)
        errore = QString::fromLocal8Bit(ec.message());
    return !ec;
}

// A failure of the database as the user reads it: another workstation's lock in words,
// never the statement that met it.
QString descrizioneBaseDati(const Errore &e)
{
    if (e.numero() == codici::DatabaseBloccato)
        return kBaseDatiInUso;
    QString d = e.descrizione();
    const qsizetype contesto = d.lastIndexOf(QStringLiteral(" ["));
    if (contesto > 0 && d.endsWith(QLatin1Char(']')))
        d.truncate(contesto);
    return QStringLiteral("Errore ") + QString::number(e.numero()) + QStringLiteral(" --> ") + d;
}

bool domandaBloccata(CorsiDB &db, const QVariantList &chiave)
{
    return db.valoreScalare(QStringLiteral("SELECT DomandaStampata FROM Installazione WHERE GrupOpe = ? AND "
                                           "Operatore = ? AND Prov = ? AND Domanda = 1"),
                            chiave)
               .toInt()
        != 0;
}

// A final print on its way to its name. The record in the program folder, written before the
// provisional PDF, tells the next start what to do with what a stop leaves behind; unless the
// print is finished or left to the next start, everything it wrote goes with it.
class Consegna {
public:
    Consegna(const QString &cartella, const Sessione &s, const QString &pdf)
        : m_pdf(QFileInfo(pdf).absoluteFilePath()),
          m_record(QDir(cartella).filePath(QStringLiteral("QUIRDAL-") + s.gGrupOpe + s.gOperatore + QLatin1Char('-')
                                           + s.gProv + kEstensioneSospesa)),
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
            throw Errore(codici::Generico, QStringLiteral("Impossibile scrivere il file ") + m_record
                                               + QStringLiteral(": ") + f.errorString());
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

// What a record holds, and whether it can be trusted to name a final print of ours.
struct Sospesa {
    qint64 processo = 0;
    QVariantList chiave;
    QString pdf;
    static Sospesa leggi(const QString &file)
    {
        QFile f(file);
        Sospesa r;
        if (f.size() > 64 * 1024 || !f.open(QIODevice::ReadOnly))
            return r;
        QHash<QString, QString> v;
        for (const QString &riga : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            v.insert(riga.section(QLatin1Char('='), 0, 0), riga.section(QLatin1Char('='), 1));
        bool numero = false;
        const qlonglong operatore = v.value(QStringLiteral("Operatore")).toLongLong(&numero);
        r.processo = v.value(QStringLiteral("Processo")).toLongLong();
        if (numero && !v.value(QStringLiteral("GrupOpe")).isEmpty() && !v.value(QStringLiteral("Prov")).isEmpty())
            r.chiave = {v.value(QStringLiteral("GrupOpe")), operatore, v.value(QStringLiteral("Prov"))};
        const QString pdf = v.value(QStringLiteral("Pdf"));
        if (QDir::isAbsolutePath(pdf) && !pdf.contains(QChar::Null))
            r.pdf = QDir::cleanPath(pdf);
        return r;
    }
    bool valida() const { return !chiave.isEmpty() && !pdf.isEmpty(); }
};

} // namespace

RichiestaStampa RichiestaStampa::daSessione(const Sessione &s)
{
    RichiestaStampa r;
    r.modo = s.gModoStampa.isEmpty() ? kModoBozza : s.gModoStampa;
    r.tipoSede = s.gTipoSede;
    r.sede = s.numeroSede();
    r.intervallo = s.gIntervalloStampa;
    return r;
}

QString nomePdfDomanda(const Contesto &c)
{
    const QString sigla = c.db.valoreScalare(QStringLiteral("SELECT SigProv FROM Province WHERE PROV = ?"),
                                             {c.sessione.gProv})
                              .toString();
    return QDir(c.cartellaProgramma)
        .filePath(QStringLiteral("QUIRDAL-") + c.sessione.gGrupOpe + c.sessione.gOperatore + QLatin1Char('-') + sigla
                  + QStringLiteral("-Domanda.pdf"));
}

QString nomePdfCorso(const Contesto &c, const ChiaveCorso &k)
{
    return QDir(c.cartellaProgramma)
        .filePath(QStringLiteral("Sede") + QString::number(k.sede) + QLatin1Char('_') + k.corso + k.accorp
                  + QStringLiteral("-BozzaCorso.pdf"));
}

MotoreStampa::MotoreStampa(Contesto &c, AvanzamentoStampa &avanzamento) : m_c(c), m_a(avanzamento) {}

void MotoreStampa::CompilaCk(Valori &v, int primo, const QList<bool> &caselle)
{
    for (int i = 0; i < caselle.size(); ++i)
        v.casella(QStringLiteral("ck") + QString::number(primo + i), caselle[i]);
}

void MotoreStampa::CompilaHF(Valori &v)
{
    const Sessione &s = m_c.sessione;
    const Riga dom = riga(m_c.db,
                          QStringLiteral("SELECT I.NumDoma, P.DesProv, P.SigProv, O.Denominazione FROM Installazione I "
                                         "LEFT JOIN Province P ON P.PROV = I.Prov LEFT JOIN CorsiOper O ON O.GrupOpe = "
                                         "I.GrupOpe AND O.Operatore = I.Operatore WHERE I.GrupOpe = ? AND "
                                         "I.Operatore = ? AND I.Prov = ?"),
                          s.chiaveDomanda());
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
    const int n = m_pdf.TotPagine + 1;
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

void MotoreStampa::StampaTutto()
{
    const Sessione &s = m_c.sessione;
    CorsiDB &db = m_c.db;
    const Riga oper = riga(db, QStringLiteral("SELECT * FROM QryOper WHERE GrupOpe = ? AND Operatore = ?"),
                           s.chiaveOperatore());
    const Riga sl = riga(db,
                         QStringLiteral("SELECT C.*, Co.Denominazione AS ComuneSede, Co.SigProv AS SiglaSede FROM "
                                        "CorsiCompo C LEFT JOIN Comuni Co ON Co.CodComune = C.CodComune WHERE "
                                        "C.GrupOpe = ? AND C.Operatore = ? AND C.TipoCompo = 'SL' ORDER BY "
                                        "C.Componente"),
                         s.chiaveOperatore());
    // Cover.
    sezione(QStringLiteral("_p01WZQ"), [&](Valori &v, QHash<QString, Righe> &) {
        const Riga pr = riga(db, QStringLiteral("SELECT P.SigProv, L.* FROM Province P LEFT JOIN ProvinceLoghiIndir L ON "
                                                "L.PROV = P.PROV WHERE P.PROV = ?"),
                             {s.gProv});
        QImage logo;
        const QString fileLogo = t(pr, "Logo").trimmed();
        if (!fileLogo.isEmpty())
            logo.load(QDir(m_c.cartellaProgramma).filePath(fileLogo));
        if (logo.isNull())
            logo = stemmaProvincia(t(pr, "SigProv"));
        m_pdf.immagine(QStringLiteral("logo"), logo);
        v.html(QStringLiteral("Logo"), QStringLiteral("<img src=\"logo\" width=\"96\" height=\"112\"/>"));
        v.testo(QStringLiteral("Indirizzo"), t(pr, "Indirizzo"));
        v.testo(QStringLiteral("Cap"), t(pr, "Cap"));
        v.testo(QStringLiteral("Comune"), t(pr, "Comune"));
        v.testo(QStringLiteral("Settore"), t(pr, "Settore"));
        v.testo(QStringLiteral("SottoSettore"), t(pr, "SottoSettore"));
    });
    // Addressee, directive, previous application.
    sezione(QStringLiteral("_p02WZQ"), [&](Valori &v, QHash<QString, Righe> &) {
        const QString desProv = db.valoreScalare(QStringLiteral("SELECT DesProv FROM Province WHERE PROV = ?"), {s.gProv})
                                    .toString();
        v.testo(QStringLiteral("Ufficio"), ufficioDestinatario(s.gProv, desProv));
        v.testo(QStringLiteral("DESPROV"), t(oper, "DESPROV").isEmpty() ? desProv : t(oper, "DESPROV"));
        v.testo(QStringLiteral("Direttiva"), t(oper, "Direttiva"));
        v.testo(QStringLiteral("AnnoDirettiva"), t(oper, "AnnoDirettiva"));
        v.testo(QStringLiteral("LegNome"), t(oper, "LegNome"));
        v.testo(QStringLiteral("DomPrece"), t(oper, "DomPrece"));
        v.testo(QStringLiteral("DataPrece"), data(t(oper, "GGPrece"), t(oper, "MMPrece"), t(oper, "AAAAPrece")));
        v.casella(QStringLiteral("ckPrece"), !t(oper, "DomPrece").trimmed().isEmpty());
    });
    // Summary of the sites and their courses.
    sezione(QStringLiteral("_p03Wzq"), [&](Valori &v, QHash<QString, Righe> &b) {
        Importo totale;
        int corsi = 0;
        const QList<Riga> sedi = righe(
            db,
            QStringLiteral("SELECT Componente AS Sede, Denominazione, 0 AS Occ FROM QryCompoCorsi WHERE GrupOpe = ? AND "
                           "Operatore = ? AND PROV = ? UNION ALL SELECT SedeOcc, Denominazione, 1 FROM "
                           "QrySediOccUtilCorsi WHERE GrupOpe = ? AND Operatore = ? AND PROV = ? ORDER BY 3, 1"),
            s.chiaveDomanda() + s.chiaveDomanda());
        for (const Riga &r : sedi) {
            const qlonglong sede = r.value(QStringLiteral("Sede")).toLongLong();
            const int n = db.valoreScalare(QStringLiteral("SELECT count(*) FROM CorsiProp WHERE GrupOpe = ? AND "
                                                          "Operatore = ? AND SedeInteressata = ?"),
                                           {s.gGrupOpe, s.numeroOperatore(), sede})
                              .toInt();
            // A component's own courses; an occasional site's are counted with its component.
            const Importo imp = vero(r, "Occ") ? Importo() : TotSpeseCorsiSede(db, s, sede);
            Valori rv;
            rv.testo(QStringLiteral("RSede"), QString::number(sede));
            rv.testo(QStringLiteral("RDenominazione"), t(r, "Denominazione")
                                                          + (vero(r, "Occ") ? QStringLiteral("  (SEDE OCCASIONALE)")
                                                                            : QString()));
            rv.testo(QStringLiteral("RCorsi"), QString::number(n));
            rv.testo(QStringLiteral("RImporto"), vero(r, "Occ") ? QStringLiteral("(con la sede responsabile)")
                                                                 : imp.formato());
            b[QStringLiteral("Sedi")] << rv;
            corsi += n;
            totale += imp;
        }
        v.testo(QStringLiteral("NumSedi"), QString::number(sedi.size()));
        v.testo(QStringLiteral("NumCorsi"), QString::number(corsi));
        v.grassetto(QStringLiteral("TotDomanda"), totale.formato());
    });
    // Operator sheet.
    sezione(QStringLiteral("_p04Wzq"), [&](Valori &v, QHash<QString, Righe> &) {
        const QStringList n = {
            t(oper, "Denominazione"),
            t(oper, "CodFisc"),
            codiceDescrizione(t(oper, "TipoOper"), t(oper, "TipoOper.Descrizione")),
            codiceDescrizione(t(oper, "AttEcono"), t(oper, "AttEcono.Descrizione")),
            t(oper, "LegNome"),
            t(oper, "LegComNasc"),
            t(oper, "LegProvNasc"),
            data(t(oper, "LegGGNasc"), t(oper, "LegMMNasc"), t(oper, "LegAAAANasc")),
            t(oper, "ProvCCIAA"),
            t(oper, "CodCCIAA"),
            t(oper, "AnnoCCIAA"),
            t(sl, "Denominazione"),
            t(sl, "Indirizzo"),
            t(sl, "Cap"),
            codiceDescrizione(t(sl, "CodComune"), t(sl, "ComuneSede")),
            t(sl, "SiglaSede"),
            t(sl, "StatoEstero"),
            t(sl, "CittaEstero"),
            t(sl, "Tel"),
            t(sl, "Fax"),
            t(sl, "Email"),
            t(sl, "Riferimento"),
            t(oper, "Corrispondenza"),
            t(oper, "NominativoReferente"),
            t(oper, "CodFiscaleReferente"),
            t(oper, "ContDesBanca"),
            t(oper, "ContAge"),
            t(oper, "ContIndirAge"),
            t(oper, "ContABI"),
            t(oper, "ContNumCC"),
            t(oper, "ContIntCC"),
            t(oper, "DomPrece"),
        };
        for (int i = 0; i < n.size(); ++i)
            v.testo(QStringLiteral("n") + QString::number(i + 1), n[i]);
        v.testo(QStringLiteral("CAB"), t(oper, "ContCAB"));
        v.testo(QStringLiteral("CIN"), t(oper, "ContCIN"));
        v.testo(QStringLiteral("iban"), t(oper, "ContIBAN"));
        CompilaCk(v, 10, {vero(oper, "ATI")});
    });

    // Sites, then their courses.
    if (m_r.tipoSede == QLatin1String("UL")) {
        sedeComponente(m_r.sede);
    } else if (m_r.tipoSede == QLatin1String("SO")) {
        StampaSO(m_r.sede);
    } else {
        QList<Riga> componenti;
        try {
            componenti = righe(db,
                               QStringLiteral("SELECT Componente FROM QryCompoCorsi WHERE GrupOpe = ? AND Operatore = ? "
                                              "AND PROV = ? ORDER BY Componente"),
                               s.chiaveDomanda());
        } catch (const Errore &e) {
            errore(QStringLiteral("StampaTutto"), e.descrizione());
        }
        for (const Riga &r : componenti) {
            if (interrotta())
                return;
            sedeComponente(r.value(QStringLiteral("Componente")).toLongLong());
        }
        StampaSO(std::nullopt);
    }
}

void MotoreStampa::sedeComponente(qlonglong componente)
{
    const Sessione &s = m_c.sessione;
    CorsiDB &db = m_c.db;
    const QVariantList chiave = {s.gGrupOpe, s.numeroOperatore(), componente};
    sezione(QStringLiteral("_p05Wzq"), [&](Valori &v, QHash<QString, Righe> &) {
        const Riga c = riga(db, QStringLiteral("SELECT * FROM QryCompo WHERE GrupOpe = ? AND Operatore = ? AND "
                                               "Componente = ?"),
                            chiave);
        v.grassetto(QStringLiteral("Sede"), QString::number(componente));
        v.testo(QStringLiteral("TipoSede"), t(c, "TipoCompo") == QLatin1String("SL") ? QStringLiteral("Sede legale")
                                                                                     : QStringLiteral("Componente"));
        recapitiSede(v, c);
        v.testo(QStringLiteral("NumLocali"), t(c, "NumLocali"));
        v.testo(QStringLiteral("AllieviPrevisti"), t(c, "AllieviPrevisti"));
        v.testo(QStringLiteral("CompoResp"), QString());
        CompilaCk(v, 1,
                  {vero(c, "M_A"), vero(c, "M_B"), vero(c, "M_C"), vero(c, "MIO"), vero(c, "t_AD"), vero(c, "t_D"),
                   vero(c, "t_H"), vero(c, "t_FAD"), vero(c, "t_INN")});
    });
    sezione(QStringLiteral("_p051Wzq"), [&](Valori &v, QHash<QString, Righe> &b) {
        v.grassetto(QStringLiteral("Sede"), QString::number(componente));
        for (const Riga &r : righe(db,
                                   QStringLiteral("SELECT NumLab, TipoLab FROM CorsiCompoTipoLab WHERE GrupOpe = ? AND "
                                                  "Operatore = ? AND Componente = ? ORDER BY IdLab"),
                                   chiave)) {
            Valori rv;
            rv.testo(QStringLiteral("NumLab"), t(r, "NumLab"));
            rv.testo(QStringLiteral("TipoLab"), t(r, "TipoLab"));
            b[QStringLiteral("Riga_Vuota")] << rv;
        }
        for (const Riga &r : righe(db,
                                   QStringLiteral("SELECT O.CodDiret, D.Descrizione, O.OreDiurne, O.OreSerali FROM "
                                                  "CorsiCompoOre O LEFT JOIN Direttiva D ON D.CodDiret = O.CodDiret "
                                                  "WHERE O.GrupOpe = ? AND O.Operatore = ? AND O.Componente = ? ORDER "
                                                  "BY O.CodDiret"),
                                   chiave)) {
            Valori rv;
            rv.testo(QStringLiteral("CodDiret"), codiceDescrizione(t(r, "CodDiret"), t(r, "Descrizione")));
            rv.testo(QStringLiteral("OreDiurne"), t(r, "OreDiurne"));
            rv.testo(QStringLiteral("OreSerali"), t(r, "OreSerali"));
            b[QStringLiteral("Ore")] << rv;
        }
    });
    StampaCorsi(componente);
}

void MotoreStampa::sedeOccasionale(qlonglong sede)
{
    const Sessione &s = m_c.sessione;
    sezione(QStringLiteral("_p05Wzq"), [&](Valori &v, QHash<QString, Righe> &) {
        const Riga c = riga(m_c.db, QStringLiteral("SELECT * FROM QrySediOccUtil WHERE GrupOpe = ? AND Operatore = ? AND "
                                                   "SedeOcc = ?"),
                            {s.gGrupOpe, s.numeroOperatore(), sede});
        v.grassetto(QStringLiteral("Sede"), QString::number(sede));
        v.testo(QStringLiteral("TipoSede"), QStringLiteral("Sede occasionale"));
        recapitiSede(v, c);
        v.testo(QStringLiteral("NumLocali"), QString());
        v.testo(QStringLiteral("AllieviPrevisti"), QString());
        v.testo(QStringLiteral("CompoResp"), t(c, "Accreditamento"));
        CompilaCk(v, 1, QList<bool>(9, false));
    });
}

void MotoreStampa::StampaSO(std::optional<qlonglong> sede)
{
    const Sessione &s = m_c.sessione;
    QList<Riga> siti;
    try {
        siti = righe(m_c.db,
                     QStringLiteral("SELECT DISTINCT SedeOcc, CompoResp FROM QryStSediOcc WHERE GrupOpe = ? AND "
                                    "Operatore = ? AND PROV = ? ORDER BY GrupOpe, Operatore, SedeOcc, CompoResp"),
                     s.chiaveDomanda());
    } catch (const Errore &e) {
        errore(QStringLiteral("StampaSO"), e.descrizione());
    }
    for (const Riga &r : siti) {
        const qlonglong so = r.value(QStringLiteral("SedeOcc")).toLongLong();
        if (sede && so != *sede)
            continue;
        if (interrotta())
            return;
        sedeOccasionale(so);
        StampaCorsi(so, r.value(QStringLiteral("CompoResp")).isNull()
                            ? std::nullopt
                            : std::optional<qlonglong>(r.value(QStringLiteral("CompoResp")).toLongLong()));
    }
}

void MotoreStampa::StampaCorsi(qlonglong sede, std::optional<qlonglong> compoResp)
{
    const Sessione &s = m_c.sessione;
    QList<Riga> corsi;
    try {
        corsi = righe(m_c.db,
                      QStringLiteral("SELECT Corso, Accorp, CompoResp FROM CorsiProp WHERE GrupOpe = ? AND Operatore = ? "
                                     "AND SedeInteressata = ? ORDER BY Corso, CAST(Accorp AS INTEGER)"),
                      {s.gGrupOpe, s.numeroOperatore(), sede});
    } catch (const Errore &e) {
        errore(sede > 999 ? QStringLiteral("StampaSO") : QStringLiteral("StampaTutto"), e.descrizione());
    }
    for (const Riga &r : corsi) {
        if (compoResp && r.value(QStringLiteral("CompoResp")).toLongLong() != *compoResp)
            continue;
        if (interrotta())
            return;
        StampaUnCorso({sede, t(r, "Corso"), t(r, "Accorp")});
    }
}

void MotoreStampa::StampaUnCorso(const ChiaveCorso &k)
{
    const Sessione &s = m_c.sessione;
    CorsiDB &db = m_c.db;
    const QVariantList chiave = {s.gGrupOpe, s.numeroOperatore(), k.sede, k.corso, k.accorp};
    const QString condizione = QStringLiteral(
        " WHERE GrupOpe = ? AND Operatore = ? AND SedeInteressata = ? AND Corso = ? AND Accorp = ?");
    Riga c, p;
    try {
        c = riga(db, QStringLiteral("SELECT * FROM QryCorsi") + condizione, chiave);
        p = riga(db, QStringLiteral("SELECT * FROM CorsiProp") + condizione, chiave);
    } catch (const Errore &e) {
        errore(QStringLiteral("StampaTutto"), e.descrizione());
    }
    auto corso = [&](Valori &v) {
        v.grassetto(QStringLiteral("Corso"), k.corso);
        v.grassetto(QStringLiteral("Accorp"), k.accorp);
        v.testo(QStringLiteral("SedeCorso"), QString::number(k.sede));
        v.grassetto(QStringLiteral("DesQualif"), t(p, "DesQualif"));
    };
    sezione(QStringLiteral("_p06Wzq"), [&](Valori &v, QHash<QString, Righe> &b) {
        corso(v);
        v.testo(QStringLiteral("CompoResp"), t(p, "CompoResp"));
        v.testo(QStringLiteral("Qualifica"), codiceDescrizione(t(p, "CodQualif"), t(p, "DesQualif")));
        for (int i = 1; i <= 6; ++i) {
            const QByteArray cod = "CodInd" + QByteArray::number(i), des = "DesInd" + QByteArray::number(i);
            if (!t(p, cod.constData()).isEmpty() || !t(p, des.constData()).isEmpty()) {
                Valori rv;
                rv.testo(QStringLiteral("Indirizzo"), codiceDescrizione(t(p, cod.constData()), t(p, des.constData())));
                b[QStringLiteral("Indirizzi")] << rv;
            }
        }
        v.testo(QStringLiteral("Asse"), codiceDescrizione(t(p, "CodAsse"), t(c, "DesAsse")));
        v.testo(QStringLiteral("Misura"), codiceDescrizione(t(p, "CodMisura"), t(c, "DesMisura")));
        v.testo(QStringLiteral("Azione"), codiceDescrizione(t(p, "CodAzione"), t(c, "DesAzione")));
        v.testo(QStringLiteral("Tipologia"), codiceDescrizione(t(p, "CodTipologia"), t(c, "DesTipologia")));
        for (int i = 1; i <= 5; ++i) {
            const QString cod = t(p, ("CodDest" + QByteArray::number(i)).constData());
            if (cod.isEmpty())
                continue;
            Valori rv;
            rv.testo(QStringLiteral("Destinatario"),
                     codiceDescrizione(cod, db.valoreScalare(QStringLiteral("SELECT DesDest FROM Destin WHERE CodDest = ?"),
                                                             {cod})
                                                .toString()));
            b[QStringLiteral("Destinatari")] << rv;
        }
        v.testo(QStringLiteral("Scolarita"), codiceDescrizione(t(p, "CodScol"), t(c, "DesScol")));
        v.testo(QStringLiteral("Settore"), codiceDescrizione(t(p, "CodSetto"), t(c, "DesSetto")));
        v.testo(QStringLiteral("Comparto"), codiceDescrizione(t(p, "CodComp"), t(c, "DesComp")));
        v.testo(QStringLiteral("Orario"), codiceDescrizione(t(p, "CodOra"), t(c, "DesOra")));
        v.testo(QStringLiteral("Certificazione"), codiceDescrizione(t(p, "CodCert"), t(c, "DesCert")));
        v.testo(QStringLiteral("NumAll"), t(p, "NumAll"));
        v.testo(QStringLiteral("DurataAnnOre"), t(p, "DurataAnnOre"));
        v.testo(QStringLiteral("TotOreIter"), t(p, "TotOreIter"));
        v.testo(QStringLiteral("OreStage"), t(p, "OreStage"));
        v.testo(QStringLiteral("OreLabEsterni"), t(p, "OreLabEsterni"));
        v.testo(QStringLiteral("DurataTotIter"), t(p, "DurataTotIter"));
        v.testo(QStringLiteral("StatoIter"), t(p, "StatoIter"));
        v.grassetto(QStringLiteral("DataAvvio"), t(p, "DataAvvio"));
        CompilaCk(v, 11, {vero(p, "ATS")});
    });
    const QList<Riga> spese = righe(db, QStringLiteral("SELECT * FROM CorsiPropSpese") + condizione
                                            + QStringLiteral(" ORDER BY ProgrAnno"),
                                    chiave);
    sezione(QStringLiteral("_p07Wzq"), [&](Valori &v, QHash<QString, Righe> &b) {
        corso(v);
        QList<SpeseAnno> anni;
        for (const Riga &r : spese) {
            auto campo = [&](const char *n) { return r.value(QString::fromLatin1(n)); };
            Valori rv;
            rv.grassetto(QStringLiteral("Anno"), t(r, "ProgrAnno"));
            for (const char *n : {"ParamA1", "ParamA2", "Param16", "Param17_3", "Param17Piu", "Param17Meno"})
                rv.testo(QString::fromLatin1(n), soldi(campo(n)));
            for (const char *n : {"NumOreA1", "NumAllA1", "NumOreA2", "NumAllA2", "NumOre16", "NumAll16", "NumAll17_3"})
                rv.testo(QString::fromLatin1(n), t(r, n));
            anni << leggiSpese(r);
            const Importo tot = totalePreventivo(anni.last());
            rv.grassetto(QStringLiteral("TotAnno"), tot.formato());
            rv.testo(QStringLiteral("EnteErogatore"), t(r, "EnteErogatore"));
            b[QStringLiteral("Anni")] << rv;
        }
        v.grassetto(QStringLiteral("TotCorso"), totaleCorso(anni).formato());
    });
    sezione(QStringLiteral("_p071Wzq"), [&](Valori &v, QHash<QString, Righe> &b) {
        corso(v);
        for (const Riga &r : spese) {
            Valori rv;
            rv.grassetto(QStringLiteral("Anno"), t(r, "ProgrAnno"));
            for (int i = 70; i <= 74; ++i) {
                const QByteArray n = "Param" + QByteArray::number(i);
                rv.testo(QString::fromLatin1(n), soldi(r.value(QString::fromLatin1(n))));
                rv.testo(QString::fromLatin1(n + "P"), t(r, (n + "P").constData()));
            }
            b[QStringLiteral("Ripartizione")] << rv;
        }
    });
    sezione(QStringLiteral("_p08Wzq"), [&](Valori &v, QHash<QString, Righe> &) {
        corso(v);
        for (const char *n : {"a11", "a12", "a21", "a22", "a31", "a32", "a41", "a42"}) {
            const QString base = QString::fromLatin1(n);
            const QString param = base + (base.endsWith(QLatin1Char('1')) ? QStringLiteral("_ParamA1")
                                                                          : QStringLiteral("_ParamA2"));
            const QString partecipanti = base + (base.endsWith(QLatin1Char('1')) ? QStringLiteral("_ParamC1")
                                                                                 : QStringLiteral("_ParamC2"));
            v.testo(base + QStringLiteral("P"), soldi(p.value(param)));
            v.testo(base + QStringLiteral("O"), p.value(base + QStringLiteral("_Ore")).toString());
            v.testo(base + QStringLiteral("C"), p.value(partecipanti).toString());
        }
        v.testo(QStringLiteral("b1P"), soldi(p.value(QStringLiteral("b1_ParamB1"))));
        v.testo(QStringLiteral("b2P"), soldi(p.value(QStringLiteral("b2_ParamB2"))));
        v.testo(QStringLiteral("b2N"), t(p, "b2NumAll"));
    });
    sezione(QStringLiteral("_p09Wzq"), [&](Valori &v, QHash<QString, Righe> &) {
        corso(v);
        v.testo(QStringLiteral("Istituto"), t(p, "IstitutoLibero").isEmpty()
                                                ? codiceDescrizione(t(p, "CodIsti") == QLatin1String("0")
                                                                        ? QString()
                                                                        : t(p, "CodIsti"),
                                                                    t(c, "DesIsti"))
                                                : t(p, "IstitutoLibero"));
        v.testo(QStringLiteral("SpinAmbito"), codiceDescrizione(t(p, "SPINAmbitoTerr"), t(c, "AmbitiTerr.Descrizione")));
        v.testo(QStringLiteral("SpinSettore"),
                codiceDescrizione(t(p, "SPINSettoreProd"), t(c, "SettoriProd.Descrizione")));
        v.testo(QStringLiteral("SpinFigura"), codiceDescrizione(t(p, "SPINFiguraProf"), t(c, "FigureProf.Descrizione")));
        v.testo(QStringLiteral("Professione"),
                codiceDescrizione(t(p, "CodProfessione"), t(c, "Professioni.Descrizione")));
        CompilaCk(v, 12, {vero(p, "PO_1"), vero(p, "CO_1")});
    });
    sezione(QStringLiteral("_p10Wzq"), [&](Valori &v, QHash<QString, Righe> &b) {
        corso(v);
        for (const Riga &r : righe(db,
                                   QStringLiteral("SELECT M.Tipo, M.Etichetta, V.Valore FROM Metadati M LEFT JOIN "
                                                  "ValoriChk V ON V.Prov = M.Prov AND V.ID = M.Id AND V.GrupOpe = ? AND "
                                                  "V.Operatore = ? AND V.SedeInteressata = ? AND V.Corso = ? AND "
                                                  "V.Accorp = ? WHERE M.Prov = ? ORDER BY M.Id"),
                                   chiave + QVariantList{s.gProv})) {
            Valori rv;
            if (t(r, "Tipo") == QLatin1String("T")) {
                rv.html(QStringLiteral("ckV"), QString());
                rv.grassetto(QStringLiteral("Etichetta"), t(r, "Etichetta"));
            } else {
                rv.casella(QStringLiteral("ckV"), vero(r, "Valore"));
                rv.testo(QStringLiteral("Etichetta"), t(r, "Etichetta"));
            }
            b[QStringLiteral("Valori")] << rv;
        }
    });
    sezione(QStringLiteral("_p11Wzq"), [&](Valori &v, QHash<QString, Righe> &) {
        corso(v);
        const QString im = t(p, "IM");
        v.casella(QStringLiteral("ckIMS"), im == QLatin1String("S"));
        v.casella(QStringLiteral("ckIMN"), im != QLatin1String("S"));
        for (int i = 1; i <= 3; ++i) {
            const QByteArray n = "IM_" + QByteArray::number(i);
            v.casella(QStringLiteral("ckIM") + QString::number(i), vero(p, n.constData()));
            v.testo(QString::fromLatin1(n + "Des"), t(p, (n + "Des").constData()));
        }
        v.testo(QStringLiteral("QSS"), t(p, "QSS"));
    });
    sezione(QStringLiteral("_pSez34WZQ"), [&](Valori &v, QHash<QString, Righe> &) {
        corso(v);
        for (int i = 1; i <= 4; ++i) {
            const QByteArray n = "Sez34_" + QByteArray::number(i);
            v.testo(QString::fromLatin1(n), t(p, n.constData()));
        }
    });
    StampaHandi(k);
}

void MotoreStampa::StampaHandi(const ChiaveCorso &k)
{
    const Sessione &s = m_c.sessione;
    const QList<Riga> schede = righe(m_c.db,
                                     QStringLiteral("SELECT * FROM CorsiHandi WHERE GrupOpe = ? AND Operatore = ? AND "
                                                    "SedeInteressata = ? AND Corso = ? AND Accorp = ?"),
                                     {s.gGrupOpe, s.numeroOperatore(), k.sede, k.corso, k.accorp});
    for (const Riga &h : schede) {
        sezione(QStringLiteral("_pHandiWZQ"), [&](Valori &v, QHash<QString, Righe> &b) {
            v.grassetto(QStringLiteral("Corso"), k.corso);
            v.grassetto(QStringLiteral("Accorp"), k.accorp);
            v.testo(QStringLiteral("SedeCorso"), QString::number(k.sede));
            v.testo(QStringLiteral("Handi"), t(h, "Handi"));
            v.testo(QStringLiteral("NumPersone"), t(h, "NumPersone"));
            for (int i = 1; i <= 5; ++i) {
                const QString cod = t(h, ("CodDest" + QByteArray::number(i)).constData());
                if (cod.isEmpty())
                    continue;
                Valori rv;
                rv.testo(QStringLiteral("Destinatario"),
                         codiceDescrizione(cod, m_c.db.valoreScalare(QStringLiteral("SELECT DesDest FROM Destin WHERE "
                                                                                    "CodDest = ?"),
                                                                     {cod})
                                                    .toString()));
                b[QStringLiteral("Destinatari")] << rv;
            }
        });
    }
}

void MotoreStampa::compilaSezioni(const RichiestaStampa &r)
{
    m_r = r;
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
    m_c.dialoghi.messaggio(QStringLiteral("Nella stampa sono rimasti da compilare i campi:") + CRLF
                               + nomi.join(QStringLiteral(", "))
                               + (m_r.modo == kModoOriginale ? CRLF + QStringLiteral("La stampa definitiva non è completa: il file ")
                                          + file + QStringLiteral(" non è stato creato.")
                                                             : QString()),
                           kTitoloCompilazione, Icona::Esclamazione);
}

namespace {

// The final print's PDF, whole under its provisional name, put in place: the lock first
// (unless the application already has it), then the name. A name that cannot be given
// takes the lock back; a lock that cannot be taken back is left, with the record, for the
// next start to finish. True when the PDF is under its name and the application locked.
bool consegna(Contesto &c, Consegna &k, EsitoStampa &e)
{
    Sessione &s = c.sessione;
    try {
        if (!domandaBloccata(c.db, s.chiaveDomanda())) {
            if (!SegnaDomandaStampata(c.db, s)) {
                c.dialoghi.messaggio(QStringLiteral("Domanda non trovata: impossibile segnarla come stampata."),
                                     kTitoloCompilazione, Icona::Critico);
                return false;
            }
            e.bloccata = true;
        }
    } catch (const Errore &err) {
        c.dialoghi.messaggio(descrizioneBaseDati(err), kTitoloCompilazione, Icona::Esclamazione);
        return false;
    }
    puntoDiArresto("stampa-blocco");
    QString perche;
    if (!rinomina(k.provvisorio(), k.pdf(), perche)) {
        QString testo = QStringLiteral("Impossibile scrivere il file ") + k.pdf() + QStringLiteral(": ") + perche;
        if (e.bloccata) {
            try {
                Transazione t(c.db);
                c.db.esegui(kSqlBloccoDomanda, QVariantList{FALSO} + s.chiaveDomanda());
                t.conferma();
                e.bloccata = false;
            } catch (const Errore &) {
                // The lock stands: the session follows it, and the next start puts the file in place.
                k.lascia();
                s.gDomandaStampata = VERO;
                s.gOperStampato = VERO;
                testo += CRLF + QStringLiteral("La stampa verrà completata al prossimo avvio del programma.");
            }
        }
        c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(codici::Generico) + QStringLiteral(" --> ") + testo,
                             QStringLiteral("Errore generico"), Icona::Esclamazione);
        return false;
    }
    puntoDiArresto("stampa-rinomina");
    k.chiudi();
    s.gDomandaStampata = VERO;
    s.gOperStampato = VERO;
    return true;
}

} // namespace

EsitoStampa MotoreStampa::esegui(const RichiestaStampa &r)
{
    EsitoStampa e;
    const bool originale = r.modo == kModoOriginale;
    try {
        compilaSezioni(r);
        e.sezioni = m_pdf.TotPagine;
        if (interrotta()) {
            e.stato = EsitoStampa::Stato::Annullata;
            return e;
        }
        const QString file = !r.filePdf.isEmpty() ? r.filePdf
                             : r.modo == kModoBozzaCorso ? nomePdfCorso(m_c, *r.corso)
                                                         : nomePdfDomanda(m_c);
        e.nonCompilati = QStringList(m_nonCompilati.cbegin(), m_nonCompilati.cend());
        e.nonCompilati.sort();
        // A final form with a blank left is no final form: nothing is written.
        if (originale && !e.nonCompilati.isEmpty()) {
            avvisoNonCompilati(e.nonCompilati, file);
            return e;
        }
        std::optional<Consegna> k;
        if (originale) {
            k.emplace(m_c.cartellaProgramma, m_c.sessione, file);
            k->registra();
            m_pdf.FilePDF = k->provvisorio();
        } else {
            m_pdf.FilePDF = file;
        }
        m_a.fase(QStringLiteral("Creazione del file PDF in corso..."));
        Impaginazione imp;
        imp.tipoStampa = r.modo;
        const QString denominazione = m_c.db.valoreScalare(QStringLiteral("SELECT Denominazione FROM CorsiOper WHERE "
                                                                          "GrupOpe = ? AND Operatore = ?"),
                                                           m_c.sessione.chiaveOperatore())
                                          .toString();
        imp.intestazione = QStringLiteral("Operatore ") + m_c.sessione.gGrupOpe + QLatin1Char(' ') + m_c.sessione.gOperatore
            + QStringLiteral(" - ") + denominazione.left(60) + QStringLiteral(" - Provincia di ") + m_c.sessione.gDesProv;
        imp.autore = QStringLiteral("QUIRDAL - Operatore ") + m_c.sessione.gGrupOpe + QLatin1Char(' ')
            + m_c.sessione.gOperatore;
        imp.data = m_c.piattaforma.oggi();
        const clsCreaPDF::Esito creato = m_pdf.CreatePDF(m_c.dialoghi, imp, &m_a);
        if (creato == clsCreaPDF::Esito::Annullato) {
            e.stato = EsitoStampa::Stato::Annullata;
            return e;
        }
        if (creato == clsCreaPDF::Esito::Fallito)
            return e;
        if (originale) {
            puntoDiArresto("stampa-provvisoria");
            if (!consegna(m_c, *k, e))
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

bool TrasDoma(CorsiDB &db, const Sessione &s)
{
    return db.valoreScalare(QStringLiteral("SELECT DomandaStampata FROM Installazione WHERE GrupOpe = ? AND "
                                           "Operatore = ? AND Prov = ? AND Domanda = 1"),
                            s.chiaveDomanda())
               .toInt()
        != 0;
}

bool SegnaDomandaStampata(CorsiDB &db, const Sessione &s)
{
    Transazione t(db);
    const int n = db.esegui(kSqlBloccoDomanda, QVariantList{VERO} + s.chiaveDomanda());
    t.conferma();
    return n > 0;
}

QStringList vociSediStampa(CorsiDB &db, const Sessione &s)
{
    QStringList r;
    for (const Riga &c : righe(db,
                               QStringLiteral("SELECT Componente, Denominazione FROM QryCompoCorsi WHERE GrupOpe = ? AND "
                                              "Operatore = ? AND PROV = ? ORDER BY Componente"),
                               s.chiaveDomanda()))
        r << t(c, "Componente") + QStringLiteral(" - ") + t(c, "Denominazione");
    for (const Riga &c : righe(db,
                               QStringLiteral("SELECT SedeOcc, Denominazione FROM QrySediOccUtilCorsi WHERE GrupOpe = ? "
                                              "AND Operatore = ? AND PROV = ? ORDER BY SedeOcc"),
                               s.chiaveDomanda()))
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

void iniziaStampaDefinitiva(Sessione &s)
{
    s.gTipoStampa = QStringLiteral("Stampa Definitivo");
    s.gStampaEseguita = s.gDomandaStampata != 0;
}

void registraStampaDefinitiva(Sessione &s, const EsitoStampa &e)
{
    if (e.intera())
        s.gStampaEseguita = true;
}

int completaStampeDefinitive(Contesto &c)
{
    int completate = 0;
    const QFileInfoList record = QDir(c.cartellaProgramma)
                                     .entryInfoList({QLatin1Char('*') + kEstensioneSospesa},
                                                    QDir::Files | QDir::NoSymLinks | QDir::Hidden);
    for (const QFileInfo &fi : record) {
        const Sospesa r = Sospesa::leggi(fi.absoluteFilePath());
        if (r.processo != QCoreApplication::applicationPid() && processoVivo(r.processo))
            continue; // still printing
        bool completata = false;
        if (r.valida()) {
            const QString provvisorio = r.pdf + kSuffissoProvvisorio;
            if (domandaBloccata(c.db, r.chiave)) {
                if (QFileInfo(provvisorio).isFile()) {
                    QString perche;
                    if (!rinomina(provvisorio, r.pdf, perche)) {
                        qWarning("Stampa definitiva non completata: %s", qPrintable(perche));
                        continue; // tried again at the next start
                    }
                    completata = true;
                }
            } else {
                QFile::remove(provvisorio);
            }
        }
        QFile::remove(fi.absoluteFilePath());
        if (completata) {
            ++completate;
            c.dialoghi.messaggio(messaggioCreato(r.pdf), kTitoloCompilazione, Icona::Informazione);
        }
    }
    return completate;
}

EsitoOriginale stampaOriginale(Contesto &c, AvanzamentoStampa &a, RichiestaStampa r, bool controlla)
{
    EsitoOriginale e;
    Sessione &s = c.sessione;
    if (controlla) {
        e.problemi = problemiDomandaStampa(c.db, s);
        if (!e.problemi.isEmpty())
            return e;
    }
    // The final print always covers every site.
    r.modo = kModoOriginale;
    r.tipoSede.clear();
    r.sede = 0;
    iniziaStampaDefinitiva(s);
    MotoreStampa motore(c, a);
    e.stampa = motore.esegui(r);
    registraStampaDefinitiva(s, e.stampa);
    e.segnata = e.stampa.bloccata;
    return e;
}

} // namespace quirdal
