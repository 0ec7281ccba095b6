#include "cli/Comandi.h"

#include <algorithm>

namespace quirdal {

const ElencoComandi &comandi()
{
    static const ElencoComandi tutti = [] {
        ElencoComandi r;
        for (auto gruppo : {comandiInstallazione, comandiCaricamento, comandiServer, comandiDati, comandiDomanda,
                            comandiRiassegna, comandiFoglio, comandiSql})
            for (auto &c : gruppo())
                r.push_back(std::move(c));
        std::sort(r.begin(), r.end(), [](const auto &a, const auto &b) { return a->nome() < b->nome(); });
        return r;
    }();
    return tutti;
}

const Comando *trovaComando(const QString &nome)
{
    for (const auto &c : comandi())
        if (c->nome() == nome)
            return c.get();
    return nullptr;
}

} // namespace quirdal
