// The courses' spreadsheet: its layout and its writing.
#include "courses/FoglioCorsi.h"

#include "common/Sessione.h"
#include "courses/CatalogoFoglio.h"
#include "courses/ColonneFoglioCorsi.h"
#include "courses/Elenchi.h"
#include "courses/Spese.h"
#include "db/CorsiDB.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>

namespace quirdal {

namespace foglio {

template <typename F>
QStringList ElenchiCorso::una(const QString &chiave, F leggi)
{
    auto it = m_voci.find(chiave);
    if (it == m_voci.end())
        it = m_voci.insert(chiave, leggi());
    return *it;
}

QStringList ElenchiCorso::qualifiche()
{
    return una(QStringLiteral("Q"), [&] { return vociQualifiche(m_db); });
}
QStringList ElenchiCorso::indirizzi(const QString &q)
{
    return una(QStringLiteral("I|") + q, [&] { return vociIndirizzi(m_db, q); });
}
QStringList ElenchiCorso::assi()
{
    return una(QStringLiteral("A"), [&] { return vociAssi(m_db); });
}
QStringList ElenchiCorso::misure(const QString &a)
{
    return una(QStringLiteral("M|") + a, [&] { return vociMisure(m_db, a); });
}
QStringList ElenchiCorso::azioni(const QString &a, const QString &m)
{
    return una(QStringLiteral("Z|") + a + QLatin1Char('|') + m, [&] { return vociAzioni(m_db, a, m); });
}
QStringList ElenchiCorso::tipologie(const QString &azione)
{
    return una(QStringLiteral("T|") + azione, [&] {
        QStringList r;
        for (const VoceTipologia &t : vociTipologie(m_db, azione))
            r << t.codice + QStringLiteral("  ") + t.descrizione;
        return r;
    });
}
QStringList ElenchiCorso::destinatari(const QString &azione, const QString &t)
{
    return una(QStringLiteral("D|") + azione + QLatin1Char('|') + t, [&] { return vociDestinatari(m_db, azione, t); });
}
QStringList ElenchiCorso::scolarita(const QString &azione, const QString &t)
{
    return una(QStringLiteral("S|") + azione + QLatin1Char('|') + t, [&] { return vociScolarita(m_db, azione, t); });
}
QStringList ElenchiCorso::settori()
{
    return una(QStringLiteral("E"), [&] { return vociSettori(m_db); });
}
QStringList ElenchiCorso::comparti(const QString &s)
{
    return una(QStringLiteral("C|") + s, [&] { return vociComparti(m_db, s); });
}
QStringList ElenchiCorso::orari()
{
    return una(QStringLiteral("O"), [&] { return vociOrari(m_db); });
}
QStringList ElenchiCorso::certificazioni()
{
    return una(QStringLiteral("R"), [&] { return vociCertificazioni(m_db); });
}
QStringList ElenchiCorso::durate(const QString &azione, const QString &t)
{
    return una(QStringLiteral("U|") + azione + QLatin1Char('|') + t, [&] { return vociDurate(m_db, azione, t); });
}
QStringList ElenchiCorso::istituti()
{
    return una(QStringLiteral("L"), [&] { return vociIstituti(m_db); });
}
QStringList ElenchiCorso::ambiti()
{
    return una(QStringLiteral("B"), [&] { return vociAmbitiTerritoriali(m_db); });
}
QStringList ElenchiCorso::settoriProduttivi(const QString &a)
{
    return una(QStringLiteral("P|") + a, [&] { return vociSettoriProduttivi(m_db, a); });
}
QStringList ElenchiCorso::figure(const QString &a, const QString &s)
{
    return una(QStringLiteral("F|") + a + QLatin1Char('|') + s, [&] { return vociFigureProfessionali(m_db, a, s); });
}
QStringList ElenchiCorso::componenti()
{
    return una(QStringLiteral("K"), [&] { return vociComponentiResponsabili(m_db, m_s); });
}

namespace {
bool soloCifre(const QString &t)
{
    return !t.isEmpty() && std::all_of(t.cbegin(), t.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}
} // namespace

std::optional<QString> codiceInElenco(const QString &valore, const QStringList &voci)
{
    const QString v = valore.trimmed();
    for (const QString &voce : voci)
        if (codiceVoce(voce) == v)
            return v;
    if (!soloCifre(v))
        return std::nullopt;
    for (const QString &voce : voci) {
        const QString c = codiceVoce(voce);
        if (soloCifre(c) && c.toULongLong() == v.toULongLong())
            return c;
    }
    return std::nullopt;
}

QString descrizioneVoce(const QStringList &voci, const QString &codice)
{
    const QString voce = voceDelCodice(voci, codice);
    if (voce.isEmpty())
        return {};
    QString d = voce.mid(codiceVoce(voce).size()).trimmed();
    if (d.startsWith(QLatin1String("- ")))
        d = d.mid(2).trimmed();
    return d;
}

ColonnaCampo colonnaDelCampo(const QString &campo)
{
    static const QHash<QString, QString> anno = {
        {QStringLiteral("txtA1"), euro(kSpeseGenerali)},
        {QStringLiteral("txtNumOreA1"), ore(kSpeseGenerali)},
        {QStringLiteral("txtNumAllA1"), allievi(kSpeseGenerali)},
        {QStringLiteral("txtA2"), euro(kPremio)},
        {QStringLiteral("txtNumOreA2"), ore(kPremio)},
        {QStringLiteral("txtNumAllA2"), allievi(kPremio)},
        {QStringLiteral("txt16"), euro(kReddito)},
        {QStringLiteral("txtNumOre16"), ore(kReddito)},
        {QStringLiteral("txtNumAll16"), allievi(kReddito)},
        {QStringLiteral("txtNumAll17_3"), allievi(kContributo)},
        {QStringLiteral("txtParam17Piu"), kQuotaPiu},
        {QStringLiteral("txtParam17Meno"), kQuotaMeno},
        {QStringLiteral("txtEnteErogatore"), kEnteErogatore},
        {QStringLiteral("txt70P"), percentuale(0)},
    };
    static const QHash<QString, QString> corso = {
        {QStringLiteral("cmbAccorp"), kCorso},
        {QStringLiteral("cmbCompoResp"), kCompoResp},
        {QStringLiteral("cmbQuali"), kQualifica},
        {QStringLiteral("txtQuali"), descrizione(kQualifica)},
        {QStringLiteral("cmbAsse"), kAsse},
        {QStringLiteral("cmbMisura"), kMisura},
        {QStringLiteral("cmbAzione"), kAzione},
        {QStringLiteral("CmbTipologia"), kTipologia},
        {QStringLiteral("cmbScol"), kScolarita},
        {QStringLiteral("cmbSetto"), kSettore},
        {QStringLiteral("cmbCompa"), kComparto},
        {QStringLiteral("cmbOra"), kOrario},
        {QStringLiteral("cmbCert"), kCertificazione},
        {QStringLiteral("txtNumAll"), kNumAll},
        {QStringLiteral("txtDurataAnnOre"), kDurataAnnOre},
        {QStringLiteral("txtGGDataAvvio"), kDataAvvio},
        {QStringLiteral("cmbDurata"), kDurataAnni},
        {QStringLiteral("txtTotIter"), kTotOreIter},
        {QStringLiteral("txtStato"), kDurataAnni},
        {QStringLiteral("txtOreStage"), kOreStage},
        {QStringLiteral("ChkATS"), kAts},
        {QStringLiteral("cmbCodIsti"), kIstituto},
        {QStringLiteral("cmbAmbitoTerr"), kSpinAmbito},
        {QStringLiteral("cmbSettProd"), kSpinSettore},
        {QStringLiteral("cmbFigProf"), kSpinFigura},
        {QStringLiteral("txtQss"), kEntiGestori},
    };
    const qsizetype trattino = campo.lastIndexOf(QLatin1Char('_'));
    if (trattino > 0) {
        const QString base = campo.left(trattino);
        bool numero = false;
        const int i = campo.mid(trattino + 1).toInt(&numero);
        if (numero && anno.contains(base))
            return {anno.value(base), i};
        if (numero && base == QLatin1String("cmbIndi"))
            return {indirizzo(i)};
        if (numero && base == QLatin1String("cmbDest"))
            return {destinatario(i)};
        if (numero && base == QLatin1String("txt_34") && i >= 0 && i < 4)
            return {kSez34[i]};
    }
    return {corso.value(campo, kCorso)};
}

} // namespace foglio

using namespace foglio;

namespace {

QVariant intero(qlonglong v) { return v; }
QVariant soldi(const Importo &v) { return qlonglong(v.centesimi()); }
QVariant soldi(const Totale &v) { return v ? soldi(*v) : QVariant(kImportoTroppoGrande); }
QVariant testo(const QString &t) { return t; }
QVariant sino(bool b) { return b ? QStringLiteral("S") : QStringLiteral("N"); }

// The description shown beside a stored code: the list's, or the sheet's mark of a code the
// list no longer has.
QVariant descrizioneDi(const QStringList &voci, const QString &codice)
{
    if (codice.trimmed().isEmpty())
        return QString();
    const QString d = descrizioneVoce(voci, codice);
    return voceDelCodice(voci, codice).isEmpty() ? QStringLiteral("(codice non più valido)") : d;
}

// The start date as a date when it is one, as typed otherwise.
QVariant dataAvvio(const DatiCorso &d)
{
    if ((d.ggAvvio + d.mmAvvio + d.aaaaAvvio).isEmpty())
        return {};
    const QString t = d.ggAvvio + QLatin1Char('/') + d.mmAvvio + QLatin1Char('/') + d.aaaaAvvio;
    const QDate data = QDate::fromString(t, QStringLiteral("dd/MM/yyyy"));
    return data.isValid() ? QVariant(data) : QVariant(t);
}

struct CorsoDellaDomanda {
    DatiCorso dati;
    QString sede; // its name
};

} // namespace

QList<FoglioDaScrivere> fogliCorsi(CorsiDB &db, const Sessione &s)
{
    const Lettura lettura(db);
    ElenchiCorso elenchi(db, s);
    QHash<qlonglong, QString> nomiSedi;
    {
        QSqlQuery q = db.seleziona(sql::foglio::kSediDomanda, s.chiaveDomanda() + s.chiaveDomanda());
        while (q.next())
            nomiSedi.insert(q.value(0).toLongLong(), q.value(1).toString());
    }
    QList<ChiaveCorso> chiavi;
    {
        QSqlQuery q = db.seleziona(sql::foglio::kCorsiDomanda, s.chiaveOperatore() + QVariantList{s.gProv, s.gProv});
        while (q.next())
            chiavi.append({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString()});
    }
    const QList<VoceSezione33> sez33 = vociSezione33(db, s.gProv);

    FoglioDaScrivere corsi{kFoglioCorsi, {}, {}};
    auto colonna = [&](const QString &t, TipoColonna tipo = TipoColonna::Testo) { corsi.colonne.append({t, tipo}); };
    auto conDescrizione = [&](const QString &t) {
        colonna(t);
        colonna(descrizione(t));
    };
    colonna(kSede, TipoColonna::Intero);
    colonna(kDenominazioneSede);
    colonna(kCorso);
    colonna(kAccorp);
    conDescrizione(kCompoResp);
    conDescrizione(kQualifica);
    for (int i = 0; i < 6; ++i)
        conDescrizione(indirizzo(i));
    for (const QString &t : {kAsse, kMisura, kAzione, kTipologia})
        conDescrizione(t);
    for (int i = 0; i < 5; ++i)
        conDescrizione(destinatario(i));
    for (const QString &t : {kScolarita, kSettore, kComparto, kOrario, kCertificazione})
        conDescrizione(t);
    for (const QString &t : {kNumAll, kDurataAnnOre, kDurataAnni, kTotOreIter, kOreStage, kOreLabEsterni})
        colonna(t, TipoColonna::Intero);
    colonna(kDataAvvio, TipoColonna::Data);
    colonna(kAts);
    conDescrizione(kIstituto);
    colonna(kIstitutoLibero);
    colonna(kSpinNonPresente);
    for (const QString &t : {kSpinAmbito, kSpinSettore, kSpinFigura})
        conDescrizione(t);
    for (const QString &t : {kInnovazione, kPariOpportunita, kCapacitaOrganizzativa, kEntiGestori})
        colonna(t);
    QList<qlonglong> caselle;
    for (const VoceSezione33 &v : sez33)
        if (v.tipo == VoceSezione33::Casella) {
            colonna(kPrefisso33 + v.testo.trimmed());
            caselle << v.id;
        }
    for (const QString &t : kSez34)
        colonna(t);

    FoglioDaScrivere spese{kFoglioSpese, {}, {}};
    auto colonnaSpese = [&](const QString &t, TipoColonna tipo) { spese.colonne.append({t, tipo}); };
    colonnaSpese(kSede, TipoColonna::Intero);
    colonnaSpese(kCorso, TipoColonna::Testo);
    colonnaSpese(kAccorp, TipoColonna::Testo);
    colonnaSpese(descrizione(kQualifica), TipoColonna::Testo);
    colonnaSpese(kAnno, TipoColonna::Intero);
    for (const QString &linea : {kSpeseGenerali, kPremio, kReddito}) {
        colonnaSpese(euro(linea), TipoColonna::Importo);
        colonnaSpese(ore(linea), TipoColonna::Intero);
        colonnaSpese(allievi(linea), TipoColonna::Intero);
        colonnaSpese(totale(linea), TipoColonna::Importo);
    }
    colonnaSpese(euro(kContributo), TipoColonna::Importo);
    colonnaSpese(allievi(kContributo), TipoColonna::Intero);
    colonnaSpese(totale(kContributo), TipoColonna::Importo);
    colonnaSpese(kQuotaPiu, TipoColonna::Importo);
    colonnaSpese(kQuotaMeno, TipoColonna::Importo);
    colonnaSpese(kEnteErogatore, TipoColonna::Testo);
    for (int i = 0; i < 5; ++i)
        colonnaSpese(percentuale(i), TipoColonna::Intero);
    for (int i = 0; i < 5; ++i)
        colonnaSpese(euro(kDettaglio[i]), TipoColonna::Importo);
    colonnaSpese(kTotaleAnno, TipoColonna::Importo);
    colonnaSpese(kTotalePreventivo, TipoColonna::Importo);

    Sessione sede = s;
    for (const ChiaveCorso &k : chiavi) {
        sede.impostaSede(QString::number(k.sede));
        const std::optional<DatiCorso> letto = caricaCorso(db, sede, k);
        if (!letto)
            continue;
        const DatiCorso &d = *letto;
        const QString azione = d.azione();
        QVariantList r;
        auto codice = [&](const QString &c, const QStringList &voci) { r << testo(c) << descrizioneDi(voci, c); };
        r << intero(k.sede) << testo(nomiSedi.value(k.sede)) << testo(k.corso) << testo(k.accorp);
        codice(d.compoResp, elenchi.componenti());
        r << testo(d.qualificaNuova ? QString() : d.codQualif) << testo(d.desQualif);
        for (int i = 0; i < 6; ++i)
            r << testo(d.indirizzoNuovo[i] ? QString() : d.codInd[i]) << testo(d.desInd[i]);
        codice(d.codAsse, elenchi.assi());
        codice(d.codMisura, elenchi.misure(d.codAsse));
        codice(d.codAzione, elenchi.azioni(d.codAsse, d.codMisura));
        codice(d.codTipologia, elenchi.tipologie(azione));
        for (int i = 0; i < 5; ++i)
            codice(d.codDest[i], elenchi.destinatari(azione, d.codTipologia));
        codice(d.codScol, elenchi.scolarita(azione, d.codTipologia));
        codice(d.codSetto, elenchi.settori());
        codice(d.codComp, elenchi.comparti(d.codSetto));
        codice(d.codOra, elenchi.orari());
        codice(d.codCert, elenchi.certificazioni());
        r << intero(d.numAll) << intero(d.durataAnnOre) << (d.durataTotIter > 0 ? intero(d.durataTotIter) : QVariant())
          << intero(d.totOreIter) << intero(d.oreStage) << intero(d.oreLabEsterni) << dataAvvio(d) << sino(d.ats);
        codice(d.codIsti, elenchi.istituti());
        r << testo(d.istitutoLibero) << sino(d.spinNonPresente);
        codice(d.spinAmbito, elenchi.ambiti());
        codice(d.spinSettore, elenchi.settoriProduttivi(d.spinAmbito));
        codice(d.spinFigura, elenchi.figure(d.spinAmbito, d.spinSettore));
        r << sino(d.im == QLatin1String("S")) << sino(d.po1) << sino(d.co1) << testo(d.qss);
        for (const qlonglong id : caselle)
            r << sino(d.valoriChk.value(id, false));
        for (const QString &t : d.sez34)
            r << testo(t);
        corsi.righe << r;

        for (int anno = 0; anno < std::min(d.durataTotIter, 3); ++anno) {
            const SpeseAnno &x = d.spese[anno];
            const TotaliAnno t = totaliAnno(x);
            QVariantList rs{intero(k.sede), testo(k.corso), testo(k.accorp), testo(d.desQualif), intero(anno + 1)};
            rs << soldi(x.a1) << intero(x.oreA1) << intero(x.allA1) << soldi(t.a1);
            rs << soldi(x.a2) << intero(x.oreA2) << intero(x.allA2) << soldi(t.a2);
            rs << soldi(x.p16) << intero(x.ore16) << intero(x.all16) << soldi(t.p16);
            rs << soldi(x.p17_3) << intero(x.all17_3) << soldi(t.p17_3);
            rs << soldi(x.piu) << soldi(x.meno) << testo(x.enteErogatore);
            for (const qlonglong p : x.percentuali)
                rs << intero(p);
            for (const Importo &v : x.dettaglio)
                rs << soldi(v);
            rs << soldi(t.anno) << soldi(t.preventivo);
            spese.righe << rs;
        }
    }

    // The sites and the application, as the print's summary has them: a component with its
    // own courses and those of the occasional sites it answers for.
    FoglioDaScrivere riepilogo{kFoglioRiepilogo,
                               {{kSede, TipoColonna::Intero},
                                {kDenominazione, TipoColonna::Testo},
                                {kTipoSede, TipoColonna::Testo},
                                {kNumeroCorsi, TipoColonna::Intero},
                                {kContributoRichiesto, TipoColonna::Importo},
                                {kNote, TipoColonna::Testo}},
                               {}};
    QList<std::tuple<qlonglong, QString, bool>> sedi;
    {
        QSqlQuery q = db.seleziona(sql::foglio::kSediConCorsi, s.chiaveDomanda() + s.chiaveDomanda());
        while (q.next())
            sedi.append({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toInt() != 0});
    }
    qlonglong numero = 0;
    Importo somma;
    for (const auto &[codice, nome, occasionale] : sedi) {
        const qlonglong n = db.valoreScalare(sql::foglio::kCorsiSede, s.chiaveOperatore() + QVariantList{codice}).toLongLong();
        const Importo importo = occasionale ? Importo() : TotSpeseCorsiSede(db, s, codice);
        riepilogo.righe << QVariantList{intero(codice),
                                        testo(nome),
                                        testo(occasionale ? QStringLiteral("Sede occasionale") : QStringLiteral("Componente")),
                                        intero(n),
                                        occasionale ? QVariant() : soldi(importo),
                                        occasionale ? QVariant(QStringLiteral("con la sede responsabile")) : QVariant()};
        numero += n;
        somma += importo;
    }
    riepilogo.righe << QVariantList{
        QVariant(), testo(QStringLiteral("Totale della domanda")), QVariant(), intero(numero), soldi(somma), QVariant()};
    return {corsi, spese, riepilogo};
}

QString fileCsvDelFoglio(const QString &file, const QString &foglio)
{
    if (foglio == kFoglioCorsi)
        return file;
    const QFileInfo f(file);
    return f.dir().filePath(f.completeBaseName() + QLatin1Char('-') + foglio + QLatin1Char('.') + f.suffix());
}

QStringList esportaCorsi(CorsiDB &db, const Sessione &s, const QString &file, QString *errore)
{
    const QString estensione = QFileInfo(file).suffix().toLower();
    QString e;
    QStringList scritti;
    if (estensione != QLatin1String("xlsx") && estensione != QLatin1String("csv")) {
        e = QStringLiteral("Il file deve avere l'estensione .xlsx o .csv.");
    } else {
        const QList<FoglioDaScrivere> fogli = fogliCorsi(db, s);
        if (estensione == QLatin1String("xlsx")) {
            e = scriviXlsx(file, fogli);
            if (e.isEmpty())
                scritti << file;
        } else {
            for (const FoglioDaScrivere &f : fogli) {
                e = scriviCsv(fileCsvDelFoglio(file, f.nome), f);
                if (!e.isEmpty())
                    break;
                scritti << fileCsvDelFoglio(file, f.nome);
            }
        }
    }
    if (errore)
        *errore = e.isEmpty() ? QString() : QStringLiteral("Esportazione non riuscita: ") + e;
    return e.isEmpty() ? scritti : QStringList();
}

QString rigaProblemaFoglio(const ProblemaFoglio &p)
{
    QString m = p.messaggio;
    m.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QStringLiteral("Foglio \"%1\", riga %2, colonna \"%3\": %4").arg(p.foglio).arg(p.riga).arg(p.colonna, m.simplified());
}

QString sintesiImportazione(const EsitoImportazione &e)
{
    switch (e.stato) {
    case EsitoImportazione::Stato::Applicata:
        return QStringLiteral("Importazione eseguita: %1 corsi nuovi, %2 aggiornati, %3 invariati.")
            .arg(e.nuovi)
            .arg(e.aggiornati)
            .arg(e.invariati);
    case EsitoImportazione::Stato::Verificata:
        return QStringLiteral("Verifica senza problemi: l'importazione porterebbe %1 corsi nuovi, %2 aggiornati, %3 "
                              "invariati. Nulla è stato scritto.")
            .arg(e.nuovi)
            .arg(e.aggiornati)
            .arg(e.invariati);
    case EsitoImportazione::Stato::Problemi:
        return QStringLiteral("Problemi trovati: %1. Nessun corso è stato importato.").arg(e.problemi.size());
    case EsitoImportazione::Stato::Illeggibile:
    case EsitoImportazione::Stato::Rifiutata:
        return e.messaggio;
    }
    return {};
}

} // namespace quirdal
