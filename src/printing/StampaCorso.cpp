// The sections of one course: its data, its costs year by year, its parameters, its
// options, its check values, its section 3.4 texts, then its handicap sheets.
#include "printing/Stampa.h"

#include "common/Contesto.h"
#include "common/Errori.h"
#include "common/Importo.h"
#include "common/Sessione.h"
#include "courses/Spese.h"
#include "db/CorsiDB.h"
#include "printing/CampiStampa.h"

namespace quirdal {

using namespace stampa;

namespace {

QString soldi(const QVariant &v) { return v.isNull() ? QString() : Importo::daValore(v).formato(); }

} // namespace

void MotoreStampa::StampaUnCorso(const ChiaveCorso &k)
{
    const Sessione &s = m_c.sessione;
    CorsiDB &db = m_c.db;
    const QVariantList chiave = {s.gGrupOpe, s.numeroOperatore(), k.sede, k.corso, k.accorp};
    Riga c, p;
    try {
        c = riga(db, sql::stampa::kCorsoDescritto, chiave);
        p = riga(db, sql::stampa::kCorso, chiave);
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
                     codiceDescrizione(cod, db.valoreScalare(sql::stampa::kDesDest, {cod}).toString()));
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
    const QList<Riga> spese = righe(db, sql::stampa::kSpeseCorso, chiave);
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
            const QString param =
                base + (base.endsWith(QLatin1Char('1')) ? QStringLiteral("_ParamA1") : QStringLiteral("_ParamA2"));
            const QString partecipanti =
                base + (base.endsWith(QLatin1Char('1')) ? QStringLiteral("_ParamC1") : QStringLiteral("_ParamC2"));
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
        v.testo(QStringLiteral("Istituto"),
                t(p, "IstitutoLibero").isEmpty()
                    ? codiceDescrizione(t(p, "CodIsti") == QLatin1String("0") ? QString() : t(p, "CodIsti"), t(c, "DesIsti"))
                    : t(p, "IstitutoLibero"));
        v.testo(QStringLiteral("SpinAmbito"), codiceDescrizione(t(p, "SPINAmbitoTerr"), t(c, "AmbitiTerr.Descrizione")));
        v.testo(QStringLiteral("SpinSettore"), codiceDescrizione(t(p, "SPINSettoreProd"), t(c, "SettoriProd.Descrizione")));
        v.testo(QStringLiteral("SpinFigura"), codiceDescrizione(t(p, "SPINFiguraProf"), t(c, "FigureProf.Descrizione")));
        v.testo(QStringLiteral("Professione"), codiceDescrizione(t(p, "CodProfessione"), t(c, "Professioni.Descrizione")));
        CompilaCk(v, 12, {vero(p, "PO_1"), vero(p, "CO_1")});
    });
    sezione(QStringLiteral("_p10Wzq"), [&](Valori &v, QHash<QString, Righe> &b) {
        corso(v);
        for (const Riga &r : righe(db, sql::stampa::kValoriControllo, chiave + QVariantList{s.gProv})) {
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
    const QList<Riga> schede =
        righe(m_c.db, sql::stampa::kSchedeHandicap, {s.gGrupOpe, s.numeroOperatore(), k.sede, k.corso, k.accorp});
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
                         codiceDescrizione(cod, m_c.db.valoreScalare(sql::stampa::kDesDest, {cod}).toString()));
                b[QStringLiteral("Destinatari")] << rv;
            }
        });
    }
}

} // namespace quirdal
