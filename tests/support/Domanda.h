#pragma once
// The application of tests/data/domanda.sql, which uses every record of the transmission
// file, and the file it makes.
#include "Ambiente.h"
#include "config/SessioneIni.h"

namespace quirdal::test {

inline QString datiDiProva(const QString &nome)
{
    return qEnvironmentVariable("QUIRDAL_SORGENTI") + u"/tests/data/"_s + nome;
}

inline void preparaDomanda(Ambiente &a)
{
    QString sql;
    for (const QString &riga : QString::fromUtf8(leggiFile(datiDiProva(u"domanda.sql"_s))).split(u'\n'))
        if (!riga.startsWith(u"--"_s))
            sql += riga + u'\n';
    for (const QString &istruzione : sql.split(u";\n"_s, Qt::SkipEmptyParts))
        if (!istruzione.trimmed().isEmpty())
            a.db.esegui(istruzione);
}

// The transmission file this application makes, as the region expects it.
inline QString percorsoRiferimento() { return datiDiProva(u"trasmissione/QUIRDAL_001_000123.A7"_s); }

// The application above, selected: operator A-7, province 001, printed or not.
inline void selezionata(Ambiente &a, bool stampata = true)
{
    a.pronto();
    preparaDomanda(a);
    a.db.esegui(u"UPDATE Installazione SET DomandaStampata=? WHERE Prov='001'"_s, {stampata ? -1 : 0});
    for (const auto &[k, v] : {std::pair{"GrOpe", "A"}, std::pair{"Oper", "7"}, std::pair{"Prov", "001"},
                               std::pair{"Domanda", "1"}})
        a.ini.scrivi(u"BaseDati"_s, QString::fromLatin1(k), QString::fromLatin1(v));
    ripristinaSessione(a.sessione, a.ini, a.db);
}

struct Selezionata : Ambiente {
    explicit Selezionata(bool stampata = true) { selezionata(*this, stampata); }
};

} // namespace quirdal::test
