#include "cli/Comandi.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "config/FileIni.h"

#include <algorithm>

namespace quirdal {

bool soloSuServer(Contesto &c, const QString &funzione)
{
    if (c.ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione")) != QLatin1String("CLIENT"))
        return true;
    c.dialoghi.messaggio(QStringLiteral("La funzione di ") + funzione
                             + QStringLiteral(" è disponibile solo dalle installazioni di tipo SERVER."),
                         QStringLiteral("Funzione non disponibile"), Icona::Critico);
    return false;
}

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
