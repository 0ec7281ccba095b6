#include "common/Sessione.h"

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
}

void Sessione::impostaSede(const QString &sede) { gCompo = valoreNumerico(sede); }

} // namespace quirdal
