#pragma once
// The application of tests/data/domanda.sql, which uses every record of the transmission
// file, and the file it makes.
#include "Ambiente.h"
#include "config/SessioneIni.h"

namespace quirdal::test {

inline QString datiDiProva(const QString &nome) { return qEnvironmentVariable("QUIRDAL_SORGENTI") + u"/tests/data/"_s + nome; }

inline void preparaDomanda(Ambiente &a)
{
    QString sql;
    for (const QString &riga : QString::fromUtf8(leggiFile(datiDiProva(u"domanda.sql"_s))).split(u'\n'))
        if (!riga.startsWith(u"--"_s))
            sql += riga + u'\n';
    for (const QString &istruzione : sql.split(u";\n"_s, Qt::SkipEmptyParts))
        if (!istruzione.trimmed().isEmpty())
            a.db.esegui(QString(istruzione).replace(u"@CRLF@"_s, u"\r\n"_s));
}

// The transmission file this application makes, as the region expects it.
inline QString percorsoRiferimento() { return datiDiProva(u"trasmissione/QUIRDAL_001_000123.A7"_s); }

// The application above, selected: operator A-7, province 001, printed or not.
inline void selezionata(Ambiente &a, bool stampata = true)
{
    a.pronto();
    preparaDomanda(a);
    a.db.esegui(u"UPDATE Installazione SET DomandaStampata=? WHERE Prov='001'"_s, {stampata ? -1 : 0});
    for (const auto &[k, v] :
         {std::pair{"GrOpe", "A"}, std::pair{"Oper", "7"}, std::pair{"Prov", "001"}, std::pair{"Domanda", "1"}})
        a.ini.scrivi(u"BaseDati"_s, QString::fromLatin1(k), QString::fromLatin1(v));
    ripristinaSessione(a.sessione, a.ini, a.db);
}

// What course 0002/0 (site 1) still lacks to pass every course rule: the hour range of its
// action, the operator's share admitted, the provider named in both years.
inline void corsoPulito(CorsiDB &db)
{
    db.esegui(u"INSERT INTO IntervalloOreStage VALUES ('II.E','11','01','10','P',2,1000,2000,NULL,NULL,0,400)"_s);
    db.esegui(u"INSERT INTO AmmissioneSpese VALUES ('II.E','11','01','10',17,1)"_s);
    db.esegui(u"UPDATE CorsiPropSpese SET EnteErogatore='EROGATORE SRL' WHERE Corso='0002'"_s);
}

// Every course of the application in province 001 made to pass the course rules, as the final
// print requires: the hour ranges of their actions, the section 3.4 text in the part the action
// asks for, start dates, the merged course's hours and the breakdown of course 0003.
inline void corsiCorretti(CorsiDB &db)
{
    corsoPulito(db);
    for (const char *sql : {"INSERT INTO IntervalloOreStage VALUES ('III.G','06','04','10','A',1,100,2000,NULL,NULL,0,400)",
                            "UPDATE CorsiProp SET Sez34_3=Sez34_2, Sez34_2=NULL WHERE Corso='0001' AND Accorp='0'",
                            "UPDATE CorsiProp SET Sez34_3='IMMIGRATI' WHERE Sez34_3 IS NULL OR Sez34_3=''",
                            "UPDATE CorsiProp SET DataAvvio='01/10/2009' WHERE DataAvvio='' OR DataAvvio IS NULL",
                            "UPDATE CorsiPropSpese SET NumOreA1=300 WHERE Corso='0001' AND Accorp='1'",
                            "UPDATE CorsiPropSpese SET Param70P=100 WHERE Corso='0003'"})
        db.esegui(QString::fromLatin1(sql));
}

// The application made ready for its final print: the operator sheet complete, every course
// starting on 1 October 2009 and passing the course rules.
inline void domandaStampabile(CorsiDB &db)
{
    db.esegui(u"UPDATE CorsiOper SET LegGGNasc='01', LegMMNasc='02'"_s);
    db.esegui(u"UPDATE CorsiProp SET DataAvvio='01/10/2009'"_s);
    corsiCorretti(db);
}

struct Selezionata : Ambiente {
    explicit Selezionata(bool stampata = true) { selezionata(*this, stampata); }
};

} // namespace quirdal::test
