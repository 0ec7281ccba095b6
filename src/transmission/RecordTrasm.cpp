// The record writers of the transmission file: Z (header), A (operator), B (registered
// office), C (sites), E, F, G (courses, their costs, their check values), L (labs), M (hours
// by directive), N (section 3.4 texts), and the walk of the application's course rows.
#include "transmission/RecordTrasm.h"

#include "common/Errori.h"
#include "common/Sessione.h"
#include "courses/Spese.h"
#include "db/CorsiDB.h"
#include "db/IstruzionePreparata.h"
#include "transmission/CatalogoTrasmissione.h"

#include <QSet>
#include <QSqlQuery>

#include <algorithm>
#include <optional>
#include <string>

namespace quirdal::trasm {

namespace {

QString v(const QSqlQuery &q, const QString &campo) { return valoreTrasmissione(q.value(campo)); }

// Day-month-year from three fields; all three empty give an empty value, not "--".
QString data3(const QVariant &gg, const QVariant &mm, const QVariant &aaaa)
{
    const QString a = gg.toString(), b = mm.toString(), c = aaaa.toString();
    if (a.isEmpty() && b.isEmpty() && c.isEmpty())
        return {};
    return valoreTrasmissione(a + QLatin1Char('-') + b + QLatin1Char('-') + c);
}

QString dataAvvio(const QVariant &d)
{
    const QStringList p = d.toString().split(QLatin1Char('/'));
    if (p.size() != 3)
        return {};
    return valoreTrasmissione(p[2] + p[1] + p[0]);
}

void rigaSede(Stato &s, const QSqlQuery &q, const QString &codice, bool componente)
{
    QStringList r = s.prefisso(QStringLiteral("C"));
    r << v(q, QStringLiteral("GrupOpe")) << v(q, QStringLiteral("Operatore")) << v(q, codice) << v(q, QStringLiteral("TipoCompo"))
      << v(q, QStringLiteral("Denominazione")) << v(q, QStringLiteral("CodComune")) << v(q, QStringLiteral("Cap"))
      << v(q, QStringLiteral("Indirizzo")) << v(q, QStringLiteral("Tel")) << v(q, QStringLiteral("Fax"))
      << v(q, QStringLiteral("Email")) << v(q, QStringLiteral("Riferimento"));
    if (componente)
        r << v(q, QStringLiteral("NumLocali")) << v(q, QStringLiteral("AllieviPrevisti"));
    else
        r << QString() << QString();
    r << s.data;
    s.record(r);
}

bool controllaCorsi(Stato &s, const Corsi &corsi, const QString &scrittore)
{
    if (corsi.provinciaMancante)
        return s.anomalia(scrittore, QStringLiteral("ANOMALIA: Provincia non trovata. Impossibile continuare"));
    if (corsi.righe.isEmpty() && (scrittore.endsWith(QLatin1Char('E')) || scrittore.endsWith(QLatin1Char('F'))))
        return s.anomalia(scrittore, QStringLiteral("ANOMALIA: nessun corso trovato. Impossibile continuare"));
    return true;
}

// A course's key as the join on it matches it: none where a part is Null, which matches nothing.
struct ChiaveCorso {
    QString sede, corso, accorp;
    bool operator==(const ChiaveCorso &) const = default;
};
size_t qHash(const ChiaveCorso &k, size_t seme = 0) { return qHashMulti(seme, k.sede, k.corso, k.accorp); }
std::optional<ChiaveCorso> chiaveCorso(const QVariant &sede, const QVariant &corso, const QVariant &accorp)
{
    if (sede.isNull() || corso.isNull() || accorp.isNull())
        return std::nullopt;
    return ChiaveCorso{sede.toString(), corso.toString(), accorp.toString()};
}

// Each site of the operator with its province, the components' and the occasional sites' apart
// (the first one read where a site had more).
void provinceDelleSedi(Stato &s, QHash<qlonglong, QString> &componenti, QHash<qlonglong, QString> &sediOcc)
{
    IstruzionePreparata q(s.c.db, sql::trasmissione::kProvinceSedi.testo(s.c.db.motore()));
    q.legaTutti({s.g, s.o.toLongLong(), s.g, s.o.toLongLong()});
    while (q.prossima()) {
        QHash<qlonglong, QString> &sedi = q.colonna(0).toLongLong() ? sediOcc : componenti;
        if (const QVariant sede = q.colonna(1); sede.typeId() == QMetaType::LongLong && !sedi.contains(sede.toLongLong()))
            sedi.insert(sede.toLongLong(), q.colonna(2).toString());
    }
}

QString annoDi(const RigaCorso &c) { return QString::number(2009 + c.anno() - 1); }

bool righeDiSede(Stato &s, const QString &tipo, const Istruzione &righe, const QStringList &campi)
{
    QSqlQuery q = s.c.db.seleziona(righe, {s.g, s.o.toLongLong(), s.prov});
    while (q.next()) {
        QStringList r = s.prefisso(tipo);
        for (const QString &campo : campi)
            r << v(q, campo);
        r << s.data;
        s.record(r);
    }
    return true;
}

} // namespace

bool ScriviRec_Z(Stato &s)
{
    // Without its abbreviation the province cannot be named in any record.
    if (s.sigProv.trimmed().isEmpty())
        return s.anomalia(QStringLiteral("ScriviRec_Z"),
                          QStringLiteral("ANOMALIA: sigla della provincia non trovata. Impossibile continuare"));
    s.record({QStringLiteral("Z"), QStringLiteral("VTZ_ALLEGATO_PROPOSTA_CORSI_WZQ_2009"), QStringLiteral("62"),
              QStringLiteral("2009"), valoreTrasmissione(s.g), s.o, valoreTrasmissione(s.prov), valoreTrasmissione(s.sigProv),
              valoreTrasmissione(s.numDoma), s.data});
    return true;
}

bool ScriviRec_A(Stato &s)
{
    QSqlQuery q = s.c.db.seleziona(sql::trasmissione::kOperatore, {s.g, s.o.toLongLong()});
    if (!q.next())
        return s.anomalia(QStringLiteral("ScriviRec_A"),
                          QStringLiteral("ANOMALIA: Operatore non trovato. Impossibile continuare"));
    if (s.c.db.valoreScalare(sql::trasmissione::kDomandaPresente, {s.g, s.o.toLongLong(), s.prov}).toInt() == 0)
        return s.anomalia(QStringLiteral("ScriviRec_A"), QStringLiteral("ANOMALIA: Domanda non trovata. Impossibile continuare"));
    QStringList r = s.prefisso(QStringLiteral("A"));
    r << v(q, QStringLiteral("GrupOpe")) << v(q, QStringLiteral("Operatore"))
      << valoreTrasmissione(q.value(QStringLiteral("GrupOpe")).toString() + q.value(QStringLiteral("TipoOper")).toString())
      << v(q, QStringLiteral("CodFisc")) << valoreTrasmissione(s.email) << v(q, QStringLiteral("Corrispondenza"))
      << v(q, QStringLiteral("LegNome")) << v(q, QStringLiteral("LegComNasc")) << v(q, QStringLiteral("LegProvNasc"))
      << data3(q.value(QStringLiteral("LegGGNasc")), q.value(QStringLiteral("LegMMNasc")), q.value(QStringLiteral("LegAAAANasc")))
      << v(q, QStringLiteral("ContDesBanca")) << v(q, QStringLiteral("ContABI")) << v(q, QStringLiteral("ContCAB"))
      << v(q, QStringLiteral("ContCIN")) << v(q, QStringLiteral("ContIBAN")) << v(q, QStringLiteral("ContAge"))
      << v(q, QStringLiteral("ContIndirAge")) << v(q, QStringLiteral("ContNumCC")) << v(q, QStringLiteral("ContIntCC"))
      << v(q, QStringLiteral("DomPrece"))
      << data3(q.value(QStringLiteral("GGPrece")), q.value(QStringLiteral("MMPrece")), q.value(QStringLiteral("AAAAPrece")))
      << v(q, QStringLiteral("NominativoReferente")) << v(q, QStringLiteral("CodFiscaleReferente")) << s.data;
    s.record(r);
    return true;
}

bool ScriviRec_B(Stato &s)
{
    QSqlQuery q = s.c.db.seleziona(sql::trasmissione::kSedeLegale, {s.g, s.o.toLongLong()});
    if (!q.next())
        return s.anomalia(QStringLiteral("ScriviRec_B"),
                          QStringLiteral("ANOMALIA: Sede Legale dell'Operatore non trovata. Impossibile continuare"));
    QStringList r = s.prefisso(QStringLiteral("B"));
    for (const char *campo :
         {"GrupOpe", "Operatore", "Componente", "CorsiOper.Denominazione", "CodComune", "Cap", "Indirizzo", "StatoEstero",
          "CittaEstero", "ProvCCIAA", "CodCCIAA", "AnnoCCIAA", "AttEcono", "Tel", "Fax", "Email", "Riferimento"})
        r << v(q, QString::fromLatin1(campo));
    r << s.data;
    s.record(r);
    return true;
}

bool ScriviRec_C(Stato &s)
{
    int righe = 0;
    const QVariantList filtro{s.g, s.o.toLongLong(), s.prov};
    QSqlQuery q = s.c.db.seleziona(sql::trasmissione::kComponenti, filtro);
    while (q.next()) {
        rigaSede(s, q, QStringLiteral("Componente"), true);
        ++righe;
    }
    q = s.c.db.seleziona(sql::trasmissione::kSediOccasionali, filtro);
    while (q.next()) {
        rigaSede(s, q, QStringLiteral("SedeOcc"), false);
        ++righe;
    }
    // Components that are only responsible for occasional-site courses.
    q = s.c.db.seleziona(sql::trasmissione::kComponentiResponsabili, QVariantList{s.g, s.o.toLongLong()} + filtro);
    while (q.next()) {
        rigaSede(s, q, QStringLiteral("Componente"), true);
        ++righe;
    }
    if (righe == 0)
        return s.anomalia(QStringLiteral("ScriviRec_C"),
                          QStringLiteral("ANOMALIA: nessuna sede interessata trovata. Impossibile continuare"));
    return true;
}

// The columns of a course the records take.
const char *const kCampiCorso[] = {
    "GrupOpe",   "Operatore",      "SedeInteressata", "Corso",          "Accorp",     "CompoResp", "DesQualif",     "CodQualif",
    "CodInd1",   "CodInd2",        "CodInd3",         "CodInd4",        "CodInd5",    "CodInd6",   "DesInd1",       "DesInd2",
    "DesInd3",   "DesInd4",        "DesInd5",         "DesInd6",        "CodDest1",   "CodDest2",  "CodDest3",      "CodDest4",
    "CodAsse",   "CodMisura",      "CodAzione",       "CodTipologia",   "CodScol",    "CodSetto",  "CodComp",       "CodOra",
    "CodCert",   "DurataTotIter",  "StatoIter",       "NumAll",         "TotOreIter", "OreStage",  "OreLabEsterni", "ATS",
    "CodIsti",   "SPINAmbitoTerr", "SPINSettoreProd", "SPINFiguraProf", "PO_1",       "IM",        "CO_1",          "QSS",
    "DataAvvio", "Sez34_1",        "Sez34_2",         "Sez34_3",        "Sez34_4"};

// The course rows of the operator whose site lies in the application's province: each course
// with each of its cost rows in the order of their year, or alone (its costs Null) when it has
// none, as a left join gives them.
Corsi corsiDellaProvincia(Stato &s)
{
    const QVariantList operatore{s.g, s.o.toLongLong()};
    // The cost rows by course, read first.
    QHash<ChiaveCorso, QList<QVector<QVariant>>> spese;
    IstruzionePreparata qs(s.c.db, sql::trasmissione::kSpeseCorsi.testo(s.c.db.motore()));
    qs.legaTutti(operatore);
    const int nSpese = qs.numeroColonne() - 3; // after the course's key
    QStringList nomiSpese;
    for (int i = 0; i < nSpese; ++i)
        nomiSpese << qs.nomeColonna(3 + i);
    while (qs.prossima()) {
        QVector<QVariant> v;
        v.reserve(nSpese);
        for (int i = 0; i < nSpese; ++i)
            v.append(qs.colonna(3 + i));
        if (const auto k = chiaveCorso(qs.colonna(0), qs.colonna(1), qs.colonna(2)))
            spese[*k].append(std::move(v));
    }

    // Only the course's columns that the records take, of those this database has (an older
    // one may lack some).
    QStringList colonne;
    Corsi r;
    for (const Colonna &c : s.c.db.colonne(QStringLiteral("CorsiProp")))
        if (std::any_of(std::begin(kCampiCorso), std::end(kCampiCorso),
                        [&](const char *campo) { return c.nome.compare(QLatin1String(campo), Qt::CaseInsensitive) == 0; }))
            colonne << c.nome;
    for (const char *campo : kCampiCorso)
        r.campi->indice.insert(QByteArray(campo), -1);
    IstruzionePreparata q(s.c.db,
                          completa(sql::trasmissione::kCorsi, {colonne.join(QStringLiteral(", "))}).testo(s.c.db.motore()));
    q.legaTutti(operatore);
    // The columns come as the statement names them.
    const int nCorso = static_cast<int>(colonne.size()), nCampi = nCorso + nSpese;
    if (q.numeroColonne() != nCorso)
        throw Errore(codici::Generico, QStringLiteral("Colonne dei corsi inattese."));
    for (int i = 0; i < nCorso; ++i)
        for (const char *campo : kCampiCorso)
            if (colonne[i].compare(QLatin1String(campo), Qt::CaseInsensitive) == 0)
                r.campi->indice.insert(QByteArray(campo), i);
    for (int i = 0; i < nSpese; ++i) {
        const QByteArray nome = nomiSpese[i].toLatin1();
        r.campi->indice.insert(nome, nCorso + i);
        if (nome.startsWith("S_"))
            r.campi->spese.insert(nome.mid(2), nCorso + i);
    }
    const int iSede = r.campi->di("SedeInteressata"), iCorso = r.campi->di("Corso"), iAccorp = r.campi->di("Accorp");
    if (iSede < 0 || iCorso < 0 || iAccorp < 0)
        throw Errore(codici::Generico, QStringLiteral("Colonne dei corsi inattese."));
    // Site -> province: the components below 1000, the occasional sites from 1000; read at the
    // first course, and none (an empty province) for a site that is neither.
    QHash<qlonglong, QString> componenti, sediOcc;
    bool provinceLette = false;
    while (q.prossima()) {
        if (!provinceLette) {
            provinceDelleSedi(s, componenti, sediOcc);
            provinceLette = true;
        }
        const qlonglong sede = q.colonna(iSede).toLongLong();
        const QString provincia = (sede < 1000 ? componenti : sediOcc).value(sede);
        if (provincia.isEmpty()) {
            r.provinciaMancante = true;
            while (q.prossima()) {
            }
            return r;
        }
        if (provincia != s.prov)
            continue;
        QVector<QVariant> corso;
        corso.reserve(nCampi);
        for (int i = 0; i < nCorso; ++i)
            corso.append(q.colonna(i));
        const auto k = chiaveCorso(corso[iSede], corso[iCorso], corso[iAccorp]);
        const auto anni = k ? spese.constFind(*k) : spese.constEnd();
        if (anni == spese.constEnd()) {
            corso.resize(nCampi);
            r.righe.append(RigaCorso{r.campi.get(), std::move(corso)});
            continue;
        }
        for (qsizetype a = 0; a < anni->size(); ++a) {
            // The course's values copied for each year but the last, which takes them.
            RigaCorso riga{r.campi.get(), a + 1 < anni->size() ? corso : std::move(corso)};
            riga.valori.append(anni->at(a));
            r.righe.append(std::move(riga));
        }
    }
    return r;
}

bool ScriviRec_E(Stato &s, const Corsi &corsi)
{
    if (!controllaCorsi(s, corsi, QStringLiteral("ScriviRec_E")))
        return false;
    static const char *const kCampi[] = {"GrupOpe", "Operatore", "SedeInteressata", "CompoResp",    "DesQualif", "Corso",
                                         "Accorp",  "CodQualif", "CodInd1",         "CodInd2",      "CodInd3",   "CodInd4",
                                         "CodInd5", "CodInd6",   "DesInd1",         "DesInd2",      "DesInd3",   "DesInd4",
                                         "DesInd5", "DesInd6",   "CodDest1",        "CodDest2",     "CodDest3",  "CodDest4",
                                         "CodAsse", "CodMisura", "CodAzione",       "CodTipologia", "CodScol",   "CodSetto",
                                         "CodComp", "CodOra",    "CodCert",         "DurataTotIter"};
    static const char *const kConteggi[] = {"NumAll", "TotOreIter", "OreStage", "OreLabEsterni"};
    const QList<int> iCampi = corsi.campi->indici(kCampi), iConteggi = corsi.campi->indici(kConteggi);
    QHash<const char *, int> posti; // of the costs leggiSpese names, found once
    for (const RigaCorso &c : corsi.righe) {
        auto spesa = [&](const char *campo) {
            auto it = posti.constFind(campo);
            if (it == posti.constEnd())
                it = posti.insert(campo, corsi.campi->diSpesa(campo));
            return c.valore(*it);
        };
        // A course with no cost row has no amount: an empty value, not 0.00.
        const bool senzaSpese = std::all_of(std::begin(kColonneTotaleSpese), std::end(kColonneTotaleSpese),
                                            [&](const char *campo) { return spesa(campo).isNull(); });
        const QString totale = senzaSpese ? QString() : totalePreventivo(leggiSpese(spesa)).perTrasmissione();
        QString spin = c["SPINAmbitoTerr"].toString() + c["SPINSettoreProd"].toString() + c["SPINFiguraProf"].toString();
        if (spin == QLatin1String("OO9901"))
            spin.clear();
        QStringList r = s.prefisso(QStringLiteral("E"), annoDi(c));
        r.reserve(r.size() + 50);
        for (const int i : iCampi)
            r << valoreTrasmissione(c.valore(i));
        r << QString::number(c["StatoIter"].toInt() + c.anno() - 1);
        for (const int i : iConteggi)
            r << valoreTrasmissione(c.valore(i));
        r << valoreTrasmissione(c["S_NumOreA1"]) << SiNo(c["ATS"]) << totale << valoreTrasmissione(c["CodIsti"])
          << valoreTrasmissione(spin) << SiNo(c["PO_1"]) << valoreTrasmissione(c["IM"]) << SiNo(c["CO_1"])
          << valoreTrasmissione(c["QSS"]) << dataAvvio(c["DataAvvio"]) << s.data;
        s.record(r);
    }
    return true;
}

bool ScriviRec_F(Stato &s, const Corsi &corsi)
{
    if (!controllaCorsi(s, corsi, QStringLiteral("ScriviRec_F")))
        return false;
    static const QSet<QString> importi = {
        QStringLiteral("ParamA1"),    QStringLiteral("ParamA2"),     QStringLiteral("Param16"), QStringLiteral("Param17_3"),
        QStringLiteral("Param17Piu"), QStringLiteral("Param17Meno"), QStringLiteral("Param70"), QStringLiteral("Param71"),
        QStringLiteral("Param72"),    QStringLiteral("Param73"),     QStringLiteral("Param74")};
    static const char *const kSpese[] = {"ParamA1",     "NumOreA1",      "NumAllA1", "ParamA2",   "NumOreA2",   "NumAllA2",
                                         "Param16",     "NumOre16",      "NumAll16", "Param17_3", "NumAll17_3", "Param17Piu",
                                         "Param17Meno", "EnteErogatore", "Param70",  "Param70P",  "Param71",    "Param71P",
                                         "Param72",     "Param72P",      "Param73",  "Param73P",  "Param74",    "Param74P"};
    const QList<int> iSpese = corsi.campi->indici(kSpese, &CampiCorso::diSpesa);
    QList<bool> sonoImporti;
    for (const char *campo : kSpese)
        sonoImporti << importi.contains(QString::fromLatin1(campo));
    for (const RigaCorso &c : corsi.righe) {
        QStringList r = s.prefisso(QStringLiteral("F"), annoDi(c));
        r.reserve(r.size() + 30);
        r << valoreTrasmissione(c["GrupOpe"]) << valoreTrasmissione(c["Operatore"]) << valoreTrasmissione(c["Corso"])
          << valoreTrasmissione(c["Accorp"]);
        for (qsizetype i = 0; i < iSpese.size(); ++i) {
            const QVariant &val = c.valore(iSpese[i]);
            // A Null amount or count is an empty value.
            r << (sonoImporti[i] ? importo(val) : valoreTrasmissione(val));
        }
        r << s.data;
        s.record(r);
    }
    return true;
}

bool ScriviRec_G(Stato &s, const Corsi &corsi)
{
    if (!controllaCorsi(s, corsi, QStringLiteral("ScriviRec_G")))
        return false;
    // The checked items of every course of the application, read once: the values of the
    // province's items that are checks.
    QSet<qlonglong> voci;
    IstruzionePreparata qv(s.c.db, sql::trasmissione::kVociControllo.testo(s.c.db.motore()));
    qv.legaTutti({s.prov});
    while (qv.prossima())
        if (const QVariant id = qv.colonna(0); id.typeId() == QMetaType::LongLong)
            voci.insert(id.toLongLong());
    // By course (its key as RigaCorso::chiave() makes it): each item and its value ('S' or 'N').
    // The rows come course by course.
    struct Voce {
        qlonglong id;
        char valore;
    };
    QHash<QString, QList<Voce>> valori;
    IstruzionePreparata q(s.c.db, sql::trasmissione::kValoriControllo.testo(s.c.db.motore()));
    q.legaTutti({s.g, s.o.toLongLong(), s.prov});
    QString chiave; // of the course of the rows gathered
    QList<Voce> delCorso;
    const auto raccogli = [&] {
        if (!delCorso.isEmpty())
            valori[chiave] += delCorso;
        delCorso.clear();
    };
    while (q.prossima()) {
        const QVariant id = q.colonna(1);
        if (id.typeId() != QMetaType::LongLong || !voci.contains(id.toLongLong()))
            continue;
        if (QString c = q.colonna(0).toString(); c != chiave) {
            raccogli();
            chiave = std::move(c);
        }
        const QVariant valore = q.colonna(2);
        const bool si = valore.typeId() == QMetaType::LongLong ? valore.toLongLong() != 0 : SiNo(valore) == QLatin1String("S");
        delCorso.append({id.toLongLong(), si ? 'S' : 'N'});
    }
    raccogli();
    const QByteArray fine = QByteArray("#,#") + s.data.toLatin1() + "#\r\n";
    for (const RigaCorso &c : corsi.righe) {
        const auto it = valori.constFind(c.chiave());
        if (it == valori.constEnd())
            continue;
        // The values before the item are the same on every line of the course row.
        QStringList r = s.prefisso(QStringLiteral("G"), annoDi(c));
        r << valoreTrasmissione(c["GrupOpe"]) << valoreTrasmissione(c["Operatore"]) << valoreTrasmissione(c["Corso"])
          << valoreTrasmissione(c["Accorp"]);
        QByteArray testa = "#";
        for (qsizetype i = 0; i < r.size(); ++i) {
            if (i)
                testa += "#,#";
            accodaWindows1252(testa, testoTrasmissione(r[i]));
        }
        testa += "#,#";
        for (const Voce &v : *it) {
            s.dati += testa;
            s.dati += QByteArray::number(v.id);
            s.dati += "#,#";
            s.dati += v.valore;
            s.dati += fine;
        }
    }
    return true;
}

bool ScriviRec_L(Stato &s)
{
    return righeDiSede(s, QStringLiteral("L"), sql::trasmissione::kLaboratori,
                       {QStringLiteral("GrupOpe"), QStringLiteral("Operatore"), QStringLiteral("Componente"),
                        QStringLiteral("NumLab"), QStringLiteral("TipoLab")});
}

bool ScriviRec_M(Stato &s)
{
    return righeDiSede(s, QStringLiteral("M"), sql::trasmissione::kOreDirettiva,
                       {QStringLiteral("GrupOpe"), QStringLiteral("Operatore"), QStringLiteral("Componente"),
                        QStringLiteral("CodDiret"), QStringLiteral("OreDiurne"), QStringLiteral("OreSerali")});
}

bool ScriviRec_N(Stato &s, const Corsi &corsi)
{
    if (!controllaCorsi(s, corsi, QStringLiteral("ScriviRec_N")))
        return false;
    for (const RigaCorso &c : corsi.righe) {
        for (int n = 1; n <= 4; ++n) {
            static const char *const sezioni[] = {"Sez34_1", "Sez34_2", "Sez34_3", "Sez34_4"};
            const QString testo = c[sezioni[n - 1]].toString();
            if (testo.isEmpty())
                continue;
            QStringList r = s.prefisso(QStringLiteral("N"), annoDi(c));
            r << valoreTrasmissione(c["GrupOpe"]) << valoreTrasmissione(c["Operatore"])
              << valoreTrasmissione(c["SedeInteressata"]) << valoreTrasmissione(c["Corso"]) << QString::number(n)
              << valoreTrasmissione(testo) << s.data;
            s.record(r);
            break;
        }
    }
    return true;
}

} // namespace quirdal::trasm
