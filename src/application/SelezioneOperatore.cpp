#include "application/SelezioneOperatore.h"

#include "application/CatalogoSelezione.h"
#include "common/Contesto.h"
#include "common/Sessione.h"
#include "config/CatalogoConfig.h"
#include "config/FileIni.h"
#include "config/SessioneIni.h"
#include "db/CorsiDB.h"

#include <QSqlQuery>

namespace quirdal {

QList<VoceOperatore> vociOperatori(Contesto &c)
{
    QList<VoceOperatore> r;
    QSqlQuery q = c.db.seleziona(sql::selezione::kOperatori);
    while (q.next()) {
        VoceOperatore v;
        v.grupOpe = q.value(0).toString();
        v.operatore = q.value(1).toString();
        v.testo = v.grupOpe + QStringLiteral("  ") + v.operatore + QStringLiteral("  ") + q.value(2).toString();
        r.append(v);
    }
    return r;
}

int voceCorrente(const QList<VoceOperatore> &voci, const Contesto &c)
{
    for (int i = 0; i < voci.size(); ++i)
        if (voci[i].grupOpe == c.sessione.gGrupOpe && voci[i].operatore == c.sessione.gOperatore)
            return i;
    return voci.isEmpty() ? -1 : 0;
}

VoceOperatore leggiVoce(const QString &testo)
{
    VoceOperatore v;
    v.testo = testo;
    v.grupOpe = testo.left(1);
    v.operatore = testo.split(QStringLiteral("  ")).value(1).trimmed();
    return v;
}

void confermaOperatore(Contesto &c, const QString &testoVoce)
{
    const VoceOperatore v = leggiVoce(testoVoce);
    Sessione &s = c.sessione;
    QSqlQuery q = c.db.seleziona(sql::config::kOperatore, {v.grupOpe, v.operatore.toLongLong()});
    if (q.next()) {
        s.gDenomOper = q.value(0).toString();
        s.gTipoOper = q.value(1).toString();
    }
    q.finish();
    const QString grOpe = c.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("GrOpe"));
    const QString oper = c.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Oper"));
    if (grOpe != v.grupOpe || oper != v.operatore) {
        c.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("GrOpe"), v.grupOpe);
        c.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Oper"), v.operatore);
        QSqlQuery i = c.db.seleziona(sql::selezione::kDomandeOperatore, {v.grupOpe, v.operatore.toLongLong()});
        const bool trovata = i.next();
        c.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Prov"), trovata ? i.value(0).toString() : QString());
        c.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Domanda"), trovata ? i.value(1).toString() : QString());
    }
    const QString denom = s.gDenomOper, tipo = s.gTipoOper;
    ripristinaSessione(s, c.ini, c.db);
    s.gDenomOper = denom;
    s.gTipoOper = tipo;
}

} // namespace quirdal
