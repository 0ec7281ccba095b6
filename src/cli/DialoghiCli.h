#pragma once
#include "common/Dialoghi.h"
#include "loading/TabelleDecodifica.h"

namespace quirdal {

// Messages to stderr with their title; questions answered by --si or --no, and without
// either by the answer that stops.
class DialoghiCli : public Dialoghi {
public:
    enum class Scelta { Nessuna, Si, No };
    explicit DialoghiCli(Scelta scelta) : m_scelta(scelta) { }
    Risposta messaggio(const QString &testo, const QString &titolo, Icona icona, Pulsanti pulsanti) override;
    std::optional<QString> chiediTesto(const QString &, const QString &, const QString &) override { return std::nullopt; }
    QString scegliFileDaAprire(const QString &, const QString &, const QString &) override { return {}; }
    QString scegliFileDaSalvare(const QString &, const QString &, const QString &) override { return {}; }

private:
    Scelta m_scelta;
    int m_riprove = 0;
};

// Progress of a load on stderr, one line per file.
class ProgressoCli : public ProgressoCaricamento {
public:
    void file(const QString &percorso, const QString &tabella, int totale) override;
};

} // namespace quirdal
