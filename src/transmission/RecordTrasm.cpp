// The record writers of the transmission file: Z (header), A (operator), B (registered
// office), C (sites), E, F, G (courses, their costs, their check values), L (labs), M (hours
// by directive), N (section 3.4 texts), and the walk of the application's course rows.
#include "transmission/RecordTrasm.h"

#include "common/Errori.h"
#include "common/Sessione.h"
#include "courses/Spese.h"
#include "db/CatalogoDb.h"
#include "db/CorsiDB.h"
#include "db/IstruzionePreparata.h"
#include "transmission/CatalogoTrasmissione.h"

#include <QSet>
#include <QSqlQuery>

#include <algorithm>
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
    q = s.c.db.seleziona(sql::trasmissione::kComponentiResponsabili, filtro);
    while (q.next()) {
        rigaSede(s, q, QStringLiteral("Componente"), true);
        ++righe;
    }
    if (righe == 0)
        return s.anomalia(QStringLiteral("ScriviRec_C"),
                          QStringLiteral("ANOMALIA: nessuna sede interessata trovata. Impossibile continuare"));
    return true;
}

// The course rows of the operator whose site lies in the application's province.
Corsi corsiDellaProvincia(Stato &s)
{
    IstruzionePreparata q(s.c.db, sql::trasmissione::kCorsi.testo(s.c.db.motore()));
    q.legaTutti({s.g, s.o.toLongLong()});
    Corsi r;
    const int nCampi = q.numeroColonne();
    for (int i = 0; i < nCampi; ++i)
        r.campi->indice.insert(q.nomeColonna(i).toLatin1(), i);
    const int iSede = r.campi->di("SedeInteressata");
    QHash<qlonglong, QString> province; // site -> province, looked up once
    while (q.prossima()) {
        const qlonglong sede = q.colonna(iSede).toLongLong();
        auto it = province.find(sede);
        if (it == province.end()) {
            const Istruzione &provincia = sede < 1000 ? sql::db::kProvinciaComponente : sql::trasmissione::kProvinciaSedeOcc;
            it = province.insert(sede, s.c.db.valoreScalare(provincia, {s.g, s.o.toLongLong(), sede}).toString());
        }
        if (it->isEmpty()) {
            r.provinciaMancante = true;
            while (q.prossima()) {
            }
            return r;
        }
        if (*it == s.prov) {
            RigaCorso riga{r.campi.get(), QVector<QVariant>(nCampi)};
            for (int i = 0; i < nCampi; ++i)
                riga.valori[i] = q.colonna(i);
            r.righe.append(std::move(riga));
        }
    }
    return r;
}

bool ScriviRec_E(Stato &s, const Corsi &corsi)
{
    if (!controllaCorsi(s, corsi, QStringLiteral("ScriviRec_E")))
        return false;
    for (const RigaCorso &c : corsi.righe) {
        auto spesa = [&](const char *campo) { return c[(std::string("S_") + campo).c_str()]; };
        // A course with no cost row has no amount: an empty value, not 0.00.
        const bool senzaSpese = std::all_of(std::begin(kColonneTotaleSpese), std::end(kColonneTotaleSpese),
                                            [&](const char *campo) { return spesa(campo).isNull(); });
        const QString totale = senzaSpese ? QString() : totalePreventivo(leggiSpese(spesa)).perTrasmissione();
        QString spin = c["SPINAmbitoTerr"].toString() + c["SPINSettoreProd"].toString() + c["SPINFiguraProf"].toString();
        if (spin == QLatin1String("OO9901"))
            spin.clear();
        QStringList r = s.prefisso(QStringLiteral("E"), annoDi(c));
        for (const char *campo :
             {"GrupOpe",   "Operatore", "SedeInteressata", "CompoResp", "DesQualif", "Corso",        "Accorp",
              "CodQualif", "CodInd1",   "CodInd2",         "CodInd3",   "CodInd4",   "CodInd5",      "CodInd6",
              "DesInd1",   "DesInd2",   "DesInd3",         "DesInd4",   "DesInd5",   "DesInd6",      "CodDest1",
              "CodDest2",  "CodDest3",  "CodDest4",        "CodAsse",   "CodMisura", "CodAzione",    "CodTipologia",
              "CodScol",   "CodSetto",  "CodComp",         "CodOra",    "CodCert",   "DurataTotIter"})
            r << valoreTrasmissione(c[campo]);
        r << QString::number(c["StatoIter"].toInt() + c.anno() - 1);
        for (const char *campo : {"NumAll", "TotOreIter", "OreStage", "OreLabEsterni"})
            r << valoreTrasmissione(c[campo]);
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
    for (const RigaCorso &c : corsi.righe) {
        QStringList r = s.prefisso(QStringLiteral("F"), annoDi(c));
        r << valoreTrasmissione(c["GrupOpe"]) << valoreTrasmissione(c["Operatore"]) << valoreTrasmissione(c["Corso"])
          << valoreTrasmissione(c["Accorp"]);
        for (const char *campo :
             {"ParamA1",  "NumOreA1",  "NumAllA1",   "ParamA2",    "NumOreA2",    "NumAllA2",      "Param16", "NumOre16",
              "NumAll16", "Param17_3", "NumAll17_3", "Param17Piu", "Param17Meno", "EnteErogatore", "Param70", "Param70P",
              "Param71",  "Param71P",  "Param72",    "Param72P",   "Param73",     "Param73P",      "Param74", "Param74P"}) {
            const QString nome = QString::fromLatin1(campo);
            const QVariant val = c[(std::string("S_") + campo).c_str()];
            // A Null amount or count is an empty value.
            r << (importi.contains(nome) ? importo(val) : valoreTrasmissione(val));
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
    // The checked items of every course of the application, read once.
    QHash<QString, QList<QPair<QVariant, QVariant>>> valori;
    IstruzionePreparata q(s.c.db, sql::trasmissione::kValoriControllo.testo(s.c.db.motore()));
    q.legaTutti({s.g, s.o.toLongLong(), s.prov});
    while (q.prossima())
        valori[q.colonna(0).toString() + QLatin1Char('|') + q.colonna(1).toString() + QLatin1Char('|') + q.colonna(2).toString()]
            .append({q.colonna(3), q.colonna(4)});
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
        for (const auto &[id, valore] : *it) {
            s.dati += testa;
            accodaWindows1252(s.dati, valoreTrasmissione(id));
            s.dati += "#,#";
            accodaWindows1252(s.dati, SiNo(valore));
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
