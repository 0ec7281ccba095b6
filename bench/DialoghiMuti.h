#pragma once
// The benchmarks' dialogs: messages to stderr and counted, questions answered "No".
#include "common/Dialoghi.h"

#include <QTextStream>

namespace quirdal::bench {

class DialoghiMuti : public Dialoghi {
public:
    int messaggi = 0;
    Risposta messaggio(const QString &t, const QString &, Icona, Pulsanti) override
    {
        ++messaggi;
        QTextStream(stderr) << t << '\n';
        return Risposta::No;
    }
    std::optional<QString> chiediTesto(const QString &, const QString &, const QString &) override { return {}; }
    QString scegliFileDaAprire(const QString &, const QString &, const QString &) override { return {}; }
    QString scegliFileDaSalvare(const QString &, const QString &, const QString &) override { return {}; }
};

} // namespace quirdal::bench
