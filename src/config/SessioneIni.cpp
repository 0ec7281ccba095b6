#include "config/SessioneIni.h"

#include "common/Sessione.h"
#include "config/CatalogoConfig.h"
#include "config/FileIni.h"
#include "db/CatalogoDb.h"
#include "db/CorsiDB.h"

#include <QSqlQuery>

namespace quirdal {

void ricalcolaStampate(Sessione &s, CorsiDB &db)
{
    s.gOperStampato = flag(db.valoreScalare(sql::db::kOperatoreBloccato, s.chiaveOperatore()).toInt() > 0);
    s.gDomandaStampata = FALSO;
    if (!s.gProv.isEmpty()) {
        const QVariant v = db.valoreScalare(sql::config::kDomandaStampata, s.chiaveDomanda());
        s.gDomandaStampata = flag(!v.isNull() && v.toInt() != 0);
    }
}

void ripristinaSessione(Sessione &s, cFileINI &ini, CorsiDB &db)
{
    ini.setSezione(QStringLiteral("BaseDati"));
    s.impostaOperatore(ini.Leggi(QStringLiteral("GrOpe"), QString()), ini.Leggi(QStringLiteral("Oper"), QStringLiteral("0")));
    s.gProv = ini.Leggi(QStringLiteral("Prov"), QString());
    s.gDesProv = db.valoreScalare(sql::config::kDescrizioneProvincia, {s.gProv}).toString();
    s.gDomanda = static_cast<short>(valoreNumerico(ini.Leggi(QStringLiteral("Domanda"), QStringLiteral("0"))).toInt());
    ricalcolaStampate(s, db);
    const int righe = db.valoreScalare(sql::config::kDomandeProvincia, s.chiaveDomanda()).toInt();
    if (righe == 0)
        s.gDomanda = 0;
}

void tieniDomandaDellOperatore(Sessione &s, cFileINI &ini, CorsiDB &db)
{
    QSqlQuery q;
    bool trovata = false;
    if (!s.gProv.isEmpty()) {
        q = db.seleziona(sql::config::kDomanda, s.chiaveDomanda());
        trovata = q.next();
    }
    const QString domanda = trovata ? q.value(0).toString() : QString();
    q.finish();
    if (!trovata) {
        s.gProv.clear();
        s.gDesProv.clear();
    }
    s.gDomanda = static_cast<short>(valoreNumerico(domanda).toInt());
    const QString sezione = QStringLiteral("BaseDati");
    for (const auto &[chiave, valore] :
         {std::pair{QStringLiteral("Prov"), s.gProv}, std::pair{QStringLiteral("Domanda"), domanda}})
        if (ini.leggi(sezione, chiave) != valore)
            ini.scrivi(sezione, chiave, valore);
    ricalcolaStampate(s, db);
}

bool impostaDomanda(Sessione &s, CorsiDB &db, const QString &grupOpe, const QString &operatore, const QString &prov)
{
    s.impostaOperatore(grupOpe, operatore);
    s.gProv = prov;
    s.gDomanda = 0;
    s.gDenomOper.clear();
    s.gTipoOper.clear();
    QSqlQuery q = db.seleziona(sql::config::kOperatore, s.chiaveOperatore());
    const bool operatoreTrovato = q.next();
    if (operatoreTrovato) {
        s.gDenomOper = q.value(0).toString();
        s.gTipoOper = q.value(1).toString();
    }
    q.finish();
    const QVariant domanda = operatoreTrovato ? db.valoreScalare(sql::config::kDomanda, s.chiaveDomanda()) : QVariant();
    s.gDomanda = static_cast<short>(valoreNumerico(domanda.toString()).toInt());
    s.gDesProv = db.valoreScalare(sql::config::kDescrizioneProvincia, {prov}).toString();
    ricalcolaStampate(s, db);
    return operatoreTrovato && !domanda.isNull();
}

} // namespace quirdal
