#include "db/Istruzione.h"

#include "common/Errori.h"

namespace quirdal {

QString Istruzione::testo(Motore m) const
{
    if (!perMotore(m))
        throw Errore(codici::Generico,
                     QStringLiteral("L'istruzione ") + QString::fromUtf8(nome)
                         + (m == Motore::PostgreSQL ? QStringLiteral(" non vale per PostgreSQL.")
                                                    : QStringLiteral(" non vale per SQLite.")));
    return QString::fromUtf8(testoGrezzo(m));
}

QString IstruzioneCompleta::testo(Motore m) const
{
    QString t = istruzione.testo(m);
    // Only names the program chose: a word of letters, digits and "_", a list of them, or the
    // conditions and placeholders made of them ("Prov = ? AND Id <> ?"), placeholders cast to a
    // type of the schema ("?::integer[]"). Never a value: no quote that would open a text, no
    // sign that would end the statement.
    for (const QString &n : nomi)
        for (const QChar c : n)
            if (!(c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char(',') || c == QLatin1Char(' ')
                  || c == QLatin1Char('"') || c == QLatin1Char('.') || c == QLatin1Char('?') || c == QLatin1Char('=')
                  || c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char(':') || c == QLatin1Char('[')
                  || c == QLatin1Char(']')))
                throw Errore(codici::Generico,
                             QStringLiteral("Nome non valido per l'istruzione ") + QString::fromUtf8(istruzione.nome)
                                 + QStringLiteral(": ") + n);
    for (const QString &n : nomi)
        t = t.arg(n);
    return t;
}

} // namespace quirdal
