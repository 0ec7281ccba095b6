// The sections of the whole application: cover, addressee, summary of the sites, operator
// sheet, then every site (a component or an occasional one) with its courses.
#include "printing/Stampa.h"

#include "common/Contesto.h"
#include "common/Errori.h"
#include "common/Importo.h"
#include "common/Sessione.h"
#include "courses/Spese.h"
#include "db/CorsiDB.h"
#include "printing/CampiStampa.h"

#include <QDir>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace quirdal {

using namespace stampa;

namespace {

// The name, address and contacts of a site, a component or an occasional one alike.
void recapitiSede(Valori &v, const Riga &c)
{
    v.grassetto(QStringLiteral("Denominazione"), t(c, "Denominazione"));
    for (const auto &[segnaposto, campo] :
         {std::pair{"Indirizzo", "Indirizzo"}, std::pair{"Cap", "Cap"}, std::pair{"Prov1", "SigProv"}, std::pair{"Tel", "Tel"},
          std::pair{"Fax", "Fax"}, std::pair{"Email", "Email"}, std::pair{"Riferimento", "Riferimento"}})
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

} // namespace

void MotoreStampa::StampaTutto()
{
    const Sessione &s = m_c.sessione;
    CorsiDB &db = m_c.db;
    const Riga oper = riga(db, sql::stampa::kOperatore, s.chiaveOperatore());
    const Riga sl = riga(db, sql::stampa::kSedeLegale, s.chiaveOperatore());
    // Cover.
    sezione(QStringLiteral("_p01WZQ"), [&](Valori &v, QHash<QString, Righe> &) {
        const Riga pr = riga(db, sql::stampa::kProvinciaLogo, {s.gProv});
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
        const QString desProv = db.valoreScalare(sql::stampa::kDesProv, {s.gProv}).toString();
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
        const QList<Riga> sedi = righe(db, sql::stampa::kRiepilogoSedi, s.chiaveDomanda() + s.chiaveDomanda());
        for (const Riga &r : sedi) {
            const qlonglong sede = r.value(QStringLiteral("Sede")).toLongLong();
            const int n = db.valoreScalare(sql::stampa::kNumeroCorsiSede, {s.gGrupOpe, s.numeroOperatore(), sede}).toInt();
            // A component's own courses; an occasional site's are counted with its component.
            const Importo imp = vero(r, "Occ") ? Importo() : TotSpeseCorsiSede(db, s, sede);
            Valori rv;
            rv.testo(QStringLiteral("RSede"), QString::number(sede));
            rv.testo(QStringLiteral("RDenominazione"),
                     t(r, "Denominazione") + (vero(r, "Occ") ? QStringLiteral("  (SEDE OCCASIONALE)") : QString()));
            rv.testo(QStringLiteral("RCorsi"), QString::number(n));
            rv.testo(QStringLiteral("RImporto"), vero(r, "Occ") ? QStringLiteral("(con la sede responsabile)") : imp.formato());
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
            componenti = righe(db, sql::stampa::kComponentiConCorsi, s.chiaveDomanda());
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
        const Riga c = riga(db, sql::stampa::kComponente, chiave);
        v.grassetto(QStringLiteral("Sede"), QString::number(componente));
        v.testo(QStringLiteral("TipoSede"),
                t(c, "TipoCompo") == QLatin1String("SL") ? QStringLiteral("Sede legale") : QStringLiteral("Componente"));
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
        for (const Riga &r : righe(db, sql::stampa::kLaboratori, chiave)) {
            Valori rv;
            rv.testo(QStringLiteral("NumLab"), t(r, "NumLab"));
            rv.testo(QStringLiteral("TipoLab"), t(r, "TipoLab"));
            b[QStringLiteral("Riga_Vuota")] << rv;
        }
        for (const Riga &r : righe(db, sql::stampa::kOreDirettiva, chiave)) {
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
        const Riga c = riga(m_c.db, sql::stampa::kSedeOccasionale, {s.gGrupOpe, s.numeroOperatore(), sede});
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
        siti = righe(m_c.db, sql::stampa::kSediOccasionali, s.chiaveDomanda());
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
        StampaCorsi(so,
                    r.value(QStringLiteral("CompoResp")).isNull()
                        ? std::nullopt
                        : std::optional<qlonglong>(r.value(QStringLiteral("CompoResp")).toLongLong()));
    }
}

void MotoreStampa::StampaCorsi(qlonglong sede, std::optional<qlonglong> compoResp)
{
    const Sessione &s = m_c.sessione;
    QList<Riga> corsi;
    try {
        corsi = righe(m_c.db, sql::stampa::kCorsiSede, {s.gGrupOpe, s.numeroOperatore(), sede});
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

} // namespace quirdal
