#include "config/Impostazioni.h"

#include <QSettings>

namespace quirdal {

ImpostazioniUtente::ImpostazioniUtente(const QString &file)
    : m_s(file.isEmpty() ? std::make_unique<QSettings>(QStringLiteral("QUIRDAL"), QStringLiteral("QUIRDAL"))
                         : std::make_unique<QSettings>(file, QSettings::IniFormat))
{
}

ImpostazioniUtente::~ImpostazioniUtente() = default;

QString ImpostazioniUtente::leggi(const QString &chiave, const QString &predefinito) const
{
    return m_s->value(QStringLiteral("FP/") + chiave, predefinito).toString();
}

void ImpostazioniUtente::scrivi(const QString &chiave, const QString &valore)
{
    m_s->setValue(QStringLiteral("FP/") + chiave, valore);
    m_s->sync();
}

bool ImpostazioniUtente::leggiFlag(const QString &chiave, bool predefinito) const
{
    bool ok = false;
    const int v = leggi(chiave, predefinito ? QStringLiteral("1") : QStringLiteral("0")).toInt(&ok);
    return ok ? v != 0 : predefinito;
}

void ImpostazioniUtente::scriviFlag(const QString &chiave, bool valore)
{
    scrivi(chiave, valore ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace quirdal
