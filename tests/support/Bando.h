#pragma once
// The lookup lists of the call the course sheet offers, loaded as the program loads them.
#include "Ambiente.h"
#include "common/Progresso.h"
#include "loading/TabelleDecodifica.h"

#include <QTest>

namespace quirdal::test {

// The call's lists the sheet offers, from the demo's lookup files, through the loader.
inline void listeDelBando(Contesto &c)
{
    ProgressoCaricamento p;
    for (const char *t :
         {"Asse", "Misura", "Azione", "AzioneTipologia", "AzioneDestin", "AzioneScolari", "Destin", "Scolari", "Settore",
          "Comparto", "Orari", "Certif", "Qualifi", "Indiri", "Istituti", "AmbitiTerr", "SettoriProd", "FigureProf"}) {
        const QString tabella = QString::fromLatin1(t);
        QVERIFY(caricaTabella(c, qEnvironmentVariable("QUIRDAL_SORGENTI") + u"/data/tabelle/"_s + tabella + u".txt"_s, tabella,
                              terminiChiave(c, tabella), p)
                > 0);
    }
    // The codes of the fixture's courses that the demo's lists do not hold.
    for (const char *sql : {"INSERT INTO AzioneDestin VALUES ('III.G','06','04','10',1), ('III.G','06','04','10',3)",
                            "INSERT INTO AzioneScolari VALUES ('III.G','06','04','10',2)",
                            "INSERT INTO IntervalloOreStage VALUES ('III.G','06','04','10','A',1,300,1200,NULL,NULL,0,400)",
                            "INSERT INTO AmbitiTerr VALUES ('AA','AMBITO A')",
                            "INSERT INTO SettoriProd VALUES ('AA','01','SETTORE UNO'), ('OO','99','NESSUNO')",
                            "INSERT INTO FigureProf VALUES ('AA','01','02','FIGURA DUE'), ('OO','99','01','NESSUNA')"})
        c.db.esegui(QString::fromLatin1(sql));
}

} // namespace quirdal::test
