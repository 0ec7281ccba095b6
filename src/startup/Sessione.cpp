#include "startup/Sessione.h"

#include "common/Testo.h"
#include "config/FileIni.h"
#include "db/CorsiDB.h"

#include <QSqlQuery>

namespace quirdal {

QString valoreNumerico(const QString &testo)
{
    bool ok = false;
    const qlonglong n = testo.trimmed().toLongLong(&ok);
    if (ok)
        return QString::number(n);
    const double d = testo.trimmed().toDouble(&ok);
    return ok ? QString::number(static_cast<qlonglong>(d)) : QStringLiteral("0");
}

void Sessione::impostaOperatore(const QString &grupOpe, const QString &operatore)
{
    gGrupOpe = grupOpe;
    gOperatore = valoreNumerico(operatore);
    const QString g = raddoppiaApici(gGrupOpe);
    gWhereOper = QStringLiteral("GrupOpe='") + g + QStringLiteral("' AND Operatore=") + gOperatore;
    gWhereOperCorsi = QStringLiteral("CorsiProp.GrupOpe='") + g + QStringLiteral("' AND CorsiProp.Operatore=")
        + gOperatore;
}

void Sessione::ricalcolaStampate(CorsiDB &db)
{
    gOperStampato = flag(db.valoreScalare(QStringLiteral("SELECT count(*) FROM Installazione WHERE GrupOpe=? AND "
                                                         "Operatore=? AND DomandaStampata<>0"),
                                          {gGrupOpe, gOperatore.toLongLong()})
                             .toInt()
                         > 0);
    gDomandaStampata = FALSO;
    if (!gProv.isEmpty()) {
        const QVariant v = db.valoreScalare(QStringLiteral("SELECT DomandaStampata FROM Installazione WHERE "
                                                           "GrupOpe=? AND Operatore=? AND Prov=? AND Domanda=1"),
                                            {gGrupOpe, gOperatore.toLongLong(), gProv});
        gDomandaStampata = flag(!v.isNull() && v.toInt() != 0);
    }
}

void Sessione::ripristinaDaIni(cFileINI &ini, CorsiDB &db)
{
    ini.setSezione(QStringLiteral("BaseDati"));
    impostaOperatore(ini.Leggi(QStringLiteral("GrOpe"), QString()), ini.Leggi(QStringLiteral("Oper"), QStringLiteral("0")));
    gProv = ini.Leggi(QStringLiteral("Prov"), QString());
    gDesProv = db.valoreScalare(QStringLiteral("SELECT DesProv FROM Province WHERE PROV=?"), {gProv}).toString();
    gDomanda = static_cast<short>(valoreNumerico(ini.Leggi(QStringLiteral("Domanda"), QStringLiteral("0"))).toInt());
    ricalcolaStampate(db);
    const int righe = db.valoreScalare(QStringLiteral("SELECT count(*) FROM Installazione WHERE GrupOpe=? AND "
                                                      "Operatore=? AND Prov=?"),
                                       {gGrupOpe, gOperatore.toLongLong(), gProv})
                          .toInt();
    if (righe == 0)
        gDomanda = 0;
}

} // namespace quirdal
