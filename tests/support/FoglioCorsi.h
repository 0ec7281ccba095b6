#pragma once
// The fixture's application made ready for the courses' spreadsheet, and openpyxl
// (tests/courses/foglio.py) to read and edit the workbooks the program writes.
#include "Bando.h"
#include "Domanda.h"

#include "courses/FoglioCorsi.h"
#include "printing/ControlliStampa.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>

namespace quirdal::test {

inline QString python(const QStringList &argomenti)
{
    QProcess p;
    p.start(u"/usr/bin/python3"_s,
            QStringList{qEnvironmentVariable("QUIRDAL_SORGENTI") + u"/tests/courses/foglio.py"_s} + argomenti);
    p.waitForFinished(120000);
    if (p.exitCode() != 0)
        qWarning().noquote() << p.readAllStandardError();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The fixture's application, not printed, with the call's lists and every course passing the
// course rules: made once, then copied for each test. On a server the copy is a database made
// from it as a template; the template goes when the program ends.
inline QString modello()
{
    static QTemporaryDir cartella;
    static QString database;
    static const QString file = [] {
        Selezionata a(false);
        listeDelBando(*a.contesto);
        // The fixture's own hour range of the action replaces the lists' narrower one.
        a.db.esegui(u"DELETE FROM IntervalloOreStage WHERE CodAsse='III.G' AND CodMisura='06' AND CodAzione='04'"_s);
        corsiCorretti(a.db);
        a.db.chiudi();
        if (a.suServer()) {
            database = nomeDatabaseNuovo();
            amministra(u"CREATE DATABASE %1 TEMPLATE %2"_s.arg(database, a.nomeDbServer));
            qAddPostRoutine([] {
                try {
                    eliminaDatabaseServer(database);
                } catch (const Errore &e) {
                    qWarning().noquote() << e.descrizione();
                }
            });
            return database;
        }
        const QString f = cartella.filePath(u"QUIRDAL.mdb"_s);
        QFile::copy(a.percorsoDb(), f);
        return f;
    }();
    return file;
}

struct DomandaPronta : Ambiente {
    DomandaPronta()
    {
        scriviIni();
        scriviAiuto();
        if (suServer())
            amministra(u"CREATE DATABASE %1 TEMPLATE %2"_s.arg(nomeDbServer, modello()));
        else
            QFile::copy(modello(), percorsoDb());
        apriDb();
        for (const auto &[k, v] :
             {std::pair{"GrOpe", "A"}, std::pair{"Oper", "7"}, std::pair{"Prov", "001"}, std::pair{"Domanda", "1"}})
            ini.scrivi(u"BaseDati"_s, QString::fromLatin1(k), QString::fromLatin1(v));
        ripristinaSessione(sessione, ini, db);
    }
    QString esporta(const QString &nome)
    {
        QString errore;
        const QStringList f = esportaCorsi(db, sessione, percorso(nome), &errore);
        if (!errore.isEmpty())
            qWarning().noquote() << errore;
        return f.value(0);
    }
    EsitoImportazione importa(const QString &file, bool prova = false)
    {
        OpzioniImportazione o;
        o.prova = prova;
        o.noteDomanda = [this] { return problemiOreDomanda(db, sessione); };
        return importaCorsi(db, sessione, piattaforma, file, o);
    }
    // The export edited by openpyxl: each change {foglio, riga, colonna, valore} (riga "nuova"
    // with copia: a new row copied from that one).
    QString modificato(const QString &esportato, const QByteArray &modifiche, const QString &nome = u"modificato.xlsx"_s)
    {
        scrivi(u"modifiche.json"_s, modifiche);
        python({u"modifica"_s, esportato, percorso(nome), percorso(u"modifiche.json"_s)});
        return percorso(nome);
    }
    // Every row of the courses' tables, in order: what "row for row" compares.
    QString stato()
    {
        QString r;
        for (const char *t : {"CorsiProp", "CorsiPropSpese", "ValoriChk", "CorsiHandi"}) {
            QSqlQuery q = db.seleziona(u"SELECT * FROM %1 ORDER BY 1, 2, 3, 4, 5, 6"_s.arg(QLatin1String(t)));
            while (q.next()) {
                QStringList v;
                for (int i = 0; i < q.record().count(); ++i)
                    v << (q.isNull(i) ? u"NULL"_s : q.value(i).toString());
                r += QLatin1String(t) + u": "_s + v.join(u'|') + u'\n';
            }
        }
        return r;
    }
};

// One change of the file: the cell under the header in the row (a number, or "nuova" for a row
// added; copia: the row it starts as a copy of).
inline QJsonObject cambio(const QString &foglio, const QJsonValue &riga, const QString &colonna, const QJsonValue &valore,
                          int copia = 0)
{
    QJsonObject o{{u"foglio"_s, foglio}, {u"riga"_s, riga}, {u"colonna"_s, colonna}, {u"valore"_s, valore}};
    if (copia)
        o.insert(u"copia"_s, copia);
    return o;
}
inline QByteArray cambi(const QJsonArray &a) { return QJsonDocument(a).toJson(); }

inline QStringList righe(const EsitoImportazione &e)
{
    QStringList r;
    for (const ProblemaFoglio &p : e.problemi)
        r << rigaProblemaFoglio(p);
    return r;
}

} // namespace quirdal::test
