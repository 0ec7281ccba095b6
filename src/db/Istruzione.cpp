#include "db/Istruzione.h"

#include "common/Errori.h"

namespace quirdal {

QString Istruzione::testo(Motore m) const
{
    return QString::fromUtf8(m == Motore::PostgreSQL && postgres ? postgres : sql);
}

QString IstruzioneCompleta::testo(Motore m) const
{
    QString t = istruzione.testo(m);
    // Only names the program chose: a word of letters, digits and "_", or a list of them.
    for (const QString &n : nomi)
        for (const QChar c : n)
            if (!(c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char(',') || c == QLatin1Char(' ')
                  || c == QLatin1Char('"') || c == QLatin1Char('.')))
                throw Errore(codici::Generico, QStringLiteral("Nome non valido per l'istruzione ")
                                                   + QString::fromUtf8(istruzione.nome) + QStringLiteral(": ") + n);
    for (const QString &n : nomi)
        t = t.arg(n);
    return t;
}

} // namespace quirdal
