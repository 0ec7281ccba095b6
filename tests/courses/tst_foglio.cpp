// The courses of an application in and out of a spreadsheet: what an independent reader
// (openpyxl) sees in the export, the export read back unchanged, a file edited as an agency
// edits it, a workbook written by openpyxl, a workbook saved by LibreOffice Calc, hostile and
// broken files, and an import stopped dead.
#include "support/FoglioCorsi.h"
#include "support/RigaDiComando.h"
#include "support/Zip.h"

#include "application/Selezione.h"
#include "common/FoglioDiCalcolo.h"
#include "common/Importo.h"
#include "courses/Spese.h"
#include "db/CatalogoCopie.h"

#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

// The amounts of the rows to the cent, columns apart by "/": each engine writes a stored amount
// as text in its own way ("9.0", "9").
QString importi(Ambiente &a, const QString &sql)
{
    QSqlQuery q = a.db.seleziona(sql);
    QStringList righe;
    while (q.next()) {
        QStringList c;
        for (int i = 0; i < q.record().count(); ++i)
            c << Importo::daValore(q.value(i)).perTrasmissione();
        righe << c.join(u'/');
    }
    return righe.join(u' ');
}

// The cell of openpyxl's description under the header, in the given row.
QJsonObject cella(const QJsonObject &foglio, const QString &intestazione, int riga)
{
    QString colonna;
    const QJsonArray celle = foglio[u"celle"_s].toArray();
    for (const QJsonValue &c : celle)
        if (c[u"valore"_s].toString() == intestazione && c[u"rif"_s].toString().endsWith(u"1"_s)
            && c[u"rif"_s].toString().size() <= 3)
            colonna = c[u"rif"_s].toString().chopped(1);
    for (const QJsonValue &c : celle)
        if (c[u"rif"_s].toString() == colonna + QString::number(riga))
            return c.toObject();
    return {};
}

// A workbook made by hand, part by part: what the reader must understand however a writer
// lays it out. Sheets named through the workbook's relations, one by an absolute target.
VociZip cartellaAMano()
{
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    return {
        {u"[Content_Types].xml"_s,
         "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
        {u"_rels/.rels"_s,
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"r1\" "
         "Type=\""
             + rel + "/officeDocument\" Target=\"xl/libro.xml\"/></Relationships>"},
        {u"xl/libro.xml"_s,
         "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:x=\"" + rel
             + "\"><workbookPr date1904=\"1\"/><sheets><sheet name=\"Altro\" sheetId=\"1\" x:id=\"a\"/><sheet "
               "name=\"Dati\" sheetId=\"2\" x:id=\"b\"/></sheets></workbook>"},
        {u"xl/_rels/libro.xml.rels"_s,
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"b\" Type=\""
             + rel
             + "/worksheet\" Target=\"/xl/fogli/primo.xml\"/>"
               "<Relationship Id=\"a\" Type=\""
             + rel
             + "/worksheet\" Target=\"fogli/../fogli/secondo.xml\"/>"
               "<Relationship Id=\"s\" Type=\""
             + rel + "/sharedStrings\" Target=\"testi.xml\"/></Relationships>"},
        {u"xl/testi.xml"_s,
         "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><si><t>semplice</t></si><si><r><t>ric"
         "</t></r><r><rPr><b/></rPr><t xml:space=\"preserve\">co </t></r><rPh sb=\"0\" eb=\"1\"><t>FONETICA</t></rPh>"
         "</si><si><t>riga_x000D_\ndue</t></si></sst>"},
        {u"xl/fogli/primo.xml"_s,
         "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>"
         "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"C1\" t=\"inlineStr\"><is><t>in linea</t></is></c></row>"
         "<row r=\"3\"><c t=\"b\"><v>1</v></c><c><v>42.5</v></c><c t=\"s\"><v>1</v></c><c r=\"F3\"><v>36526</v></c>"
         "<c r=\"G3\" s=\"1\"/></row>"
         "<row><c r=\"B4\" t=\"s\"><v>2</v></c><c r=\"C4\" t=\"str\"><f>A1</f><v>formula</v></c><c r=\"D4\" t=\"e\">"
         "<v>#DIV/0!</v></c></row><row r=\"9000\" s=\"2\" customFormat=\"1\"/></sheetData></worksheet>"},
        {u"xl/fogli/secondo.xml"_s,
         "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData><row r=\"2\">"
         "<c r=\"B2\"><v>7</v></c></row></sheetData></worksheet>"},
    };
}

VociZip sostituisci(VociZip v, const QString &nome, const QByteArray &dati)
{
    for (auto &[n, d] : v)
        if (n == nome) {
            d = dati;
            return v;
        }
    v.append({nome, dati});
    return v;
}

// The sheet of the hand-made workbook with one row of the given XML (row 2).
VociZip conRiga(const QByteArray &riga)
{
    return sostituisci(cartellaAMano(), u"xl/fogli/primo.xml"_s,
                       "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" + riga
                           + "</sheetData></worksheet>");
}

// A zip whose one entry is encrypted, as libzip writes it.
bool zipCifrato(const QString &percorso)
{
    int errore = 0;
    zip_t *z = zip_open(QFile::encodeName(percorso).constData(), ZIP_CREATE | ZIP_TRUNCATE, &errore);
    static const QByteArray dati = "<Types/>";
    zip_source_t *s = zip_source_buffer(z, dati.constData(), static_cast<zip_uint64_t>(dati.size()), 0);
    const zip_int64_t i = zip_file_add(z, "[Content_Types].xml", s, 0);
    return i >= 0 && zip_file_set_encryption(z, static_cast<zip_uint64_t>(i), ZIP_EM_AES_256, "segreta") == 0
        && zip_close(z) == 0;
}

} // namespace

class TestFoglio : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // openpyxl reads the export as a spreadsheet program would: three sheets in order, the
    // header frozen and filtered, codes as text with their zeros, counts and amounts as numbers
    // in their formats, the start date a date, and the summary's total the summary screen's.
    void esportazioneVistaDaOpenpyxl()
    {
        DomandaPronta a;
        const QString f = a.esporta(u"corsi.xlsx"_s);
        const QJsonObject d = QJsonDocument::fromJson(python({u"descrivi"_s, f}).toUtf8()).object();
        QCOMPARE(d[u"fogli"_s].toArray(), (QJsonArray{u"Corsi"_s, u"Spese"_s, u"Riepilogo"_s}));
        const QJsonObject dettagli = d[u"dettagli"_s].toObject();
        const QJsonObject corsi = dettagli[u"Corsi"_s].toObject(), spese = dettagli[u"Spese"_s].toObject(),
                          riepilogo = dettagli[u"Riepilogo"_s].toObject();
        for (const QJsonObject &x : {corsi, spese, riepilogo}) {
            QCOMPARE(x[u"bloccato"_s].toString(), u"A2"_s);
            QVERIFY(x[u"filtro"_s].toString().startsWith(u"A1:"_s));
            QVERIFY(x[u"filtro"_s].toString().endsWith(QString::number(x[u"righe"_s].toInt())));
        }
        QCOMPARE(corsi[u"righe"_s].toInt(), 5); // four courses of province 001
        QCOMPARE(spese[u"righe"_s].toInt(), 6); // and five years of costs
        auto vede = [](const QJsonObject &c) {
            return c[u"valore"_s].toVariant().toString() + u' ' + c[u"tipo"_s].toString() + u' ' + c[u"formato"_s].toString();
        };
        QCOMPARE(vede(cella(corsi, u"Corso"_s, 2)), u"0001 s @"_s);
        QCOMPARE(vede(cella(corsi, u"Attività"_s, 2)), u"06 s @"_s);
        QCOMPARE(vede(cella(corsi, u"Sede"_s, 5)), u"1001 n 0"_s);
        QCOMPARE(vede(cella(corsi, u"Allievi previsti"_s, 4)), u"18 n 0"_s);
        QCOMPARE(vede(cella(corsi, u"Data avvio presunta"_s, 2)), u"2009-09-15 d dd/mm/yyyy"_s);
        QVERIFY(cella(corsi, u"Data avvio presunta"_s, 2)[u"data"_s].toBool());
        QCOMPARE(vede(cella(corsi, u"3.4 Immigrati"_s, 2)), u"RIGA UNO\nRIGA DUE s @"_s);
        QCOMPARE(vede(cella(spese, u"Spese Generali - euro"_s, 2)), u"8.5 n #,##0.00"_s);
        QCOMPARE(vede(cella(spese, u"Spese Generali - totale"_s, 2)), u"76500 n #,##0.00"_s);
        QCOMPARE(vede(cella(spese, u"Quota dell'operatore da sottrarre"_s, 5)), u"50.25 n #,##0.00"_s);
        QCOMPARE(vede(cella(spese, u"Totale PREVENTIVO calcolato"_s, 5)), u"150249.75 n #,##0.00"_s);
        // Every column at least as wide as its header.
        const QJsonObject larghezze = corsi[u"larghezze"_s].toObject();
        QCOMPARE(larghezze.size(), corsi[u"colonne"_s].toInt());
        QVERIFY(larghezze[u"BW"_s].toDouble() >= QString(u"3.4 Immigrati"_s).size());
        // The last row of the summary: the application's total, as the summary screen has it.
        const Riepilogo r = calcolaRiepilogo(*a.contesto);
        const int ultima = riepilogo[u"righe"_s].toInt();
        QCOMPARE(cella(riepilogo, u"Denominazione"_s, ultima)[u"valore"_s].toString(), u"Totale della domanda"_s);
        QCOMPARE(qRound64(cella(riepilogo, u"Contributo richiesto"_s, ultima)[u"valore"_s].toDouble() * 100),
                 r.totale.centesimi());
        QCOMPARE(cella(riepilogo, u"Corsi"_s, ultima)[u"valore"_s].toInt(), r.corsi);
        QCOMPARE(qRound64(cella(riepilogo, u"Contributo richiesto"_s, 2)[u"valore"_s].toDouble() * 100),
                 TotSpeseCorsiSede(a.db, a.sessione, 1).centesimi());
    }

    // The same export as CSV: three files, ";" between fields, "," before the decimals, UTF-8
    // with its mark, CR LF; a text a spreadsheet would run is guarded; read back unchanged.
    void esportazioneCsv()
    {
        DomandaPronta a;
        a.db.esegui(u"UPDATE CorsiPropSpese SET EnteErogatore='=SOMMA(A1)' WHERE Corso='0002' AND ProgrAnno=2"_s);
        a.db.esegui(u"UPDATE CorsiPropSpese SET Param17Meno=0, Param17Piu=50.25 WHERE Corso='0002' AND ProgrAnno=2"_s);
        QCOMPARE(
            esportaCorsi(a.db, a.sessione, a.percorso(u"corsi.csv"_s), nullptr),
            (QStringList{a.percorso(u"corsi.csv"_s), a.percorso(u"corsi-Spese.csv"_s), a.percorso(u"corsi-Riepilogo.csv"_s)}));
        const QByteArray corsi = a.leggi(u"corsi.csv"_s), spese = a.leggi(u"corsi-Spese.csv"_s);
        QVERIFY(corsi.startsWith("\xEF\xBB\xBF"
                                 "Sede;Denominazione sede;Corso;Accorp;"));
        QVERIFY(corsi.contains("\r\n1;SEDE LEGALE;0001;0;"));
        QVERIFY(corsi.contains(";15/09/2009;"));
        QVERIFY(corsi.contains(";\"RIGA UNO\nRIGA DUE\";"));
        QVERIFY(spese.contains("\r\n1;0001;0;OPERATORE GRAFICO;1;8,50;600;15;76500,00;"));
        QVERIFY(spese.contains(";'=SOMMA(A1);"));
        const QString prima = a.stato();
        const EsitoImportazione e = a.importa(a.percorso(u"corsi.csv"_s));
        QCOMPARE(righe(e), QStringList());
        QCOMPARE(sintesiImportazione(e), u"Importazione eseguita: 0 corsi nuovi, 0 aggiornati, 4 invariati."_s);
        QCOMPARE(a.stato(), prima);
    }

    // The export imported as it is leaves the database identical row for row, from the
    // workbook and from a copy openpyxl writes of its own: sheets in another order, every
    // number stored as text (amounts the Italian way), the start dates as serial numbers.
    void giroCompleto_data()
    {
        QTest::addColumn<bool>("openpyxl");
        QTest::newRow("la cartella esportata") << false;
        QTest::newRow("rifatta da openpyxl") << true;
    }
    void giroCompleto()
    {
        QFETCH(bool, openpyxl);
        DomandaPronta a;
        QString f = a.esporta(u"corsi.xlsx"_s);
        if (openpyxl) {
            python({u"rifai"_s, f, a.percorso(u"rifatta.xlsx"_s)});
            f = a.percorso(u"rifatta.xlsx"_s);
            // Read, not merely found equal: the values in the database move, the file puts them back.
            a.db.esegui(u"UPDATE CorsiProp SET NumAll=17, DataAvvio='02/10/2009' WHERE Corso='0002'"_s);
            a.db.esegui(u"UPDATE CorsiPropSpese SET ParamA1=7 WHERE Corso='0002'"_s);
        }
        const QString prima = a.stato();
        const EsitoImportazione e = a.importa(f);
        QCOMPARE(righe(e), QStringList());
        QCOMPARE(e.stato, EsitoImportazione::Stato::Applicata);
        if (!openpyxl) {
            QCOMPARE(e.invariati, 4);
            QCOMPARE(a.stato(), prima);
            return;
        }
        QCOMPARE(e.aggiornati, 1);
        QCOMPARE(a.valore(u"SELECT NumAll || ' ' || DataAvvio FROM CorsiProp WHERE Corso='0002'"_s), u"18 01/10/2009"_s);
        QCOMPARE(importi(a, u"SELECT ParamA1, Param17Meno, Param71 FROM CorsiPropSpese WHERE Corso='0002' ORDER BY ProgrAnno"_s),
                 u"9.00/0.00/30060.00 9.00/50.25/30049.95"_s); // the breakdown follows the changed costs
    }

    // An edited file: one cost changed, one course added, one course with three faults. Three
    // lines, nothing written; mended, it applies, and the new course takes the next code.
    void fileModificato()
    {
        DomandaPronta a;
        const QString f = a.esporta(u"corsi.xlsx"_s);
        const QJsonArray comuni{
            cambio(u"Spese"_s, 4, u"Spese Generali - euro"_s, 9.5),
            cambio(u"Corsi"_s, u"nuova"_s, u"Corso"_s, QJsonValue::Null, 4),
            cambio(u"Corsi"_s, u"nuova"_s, u"Accorp"_s, QJsonValue::Null),
            cambio(u"Corsi"_s, u"nuova"_s, u"Qualifica (descrizione)"_s, u"QUALIFICA # NUOVA"_s),
            cambio(u"Corsi"_s, u"nuova"_s, u"Qualifica"_s, QJsonValue::Null),
        };
        QJsonArray faults = comuni;
        faults.append(cambio(u"Corsi"_s, 5, u"Allievi previsti"_s, u"dieci"_s));
        faults.append(cambio(u"Corsi"_s, 5, u"Data avvio presunta"_s, u"31/02/2010"_s));
        faults.append(cambio(u"Corsi"_s, 5, u"3.4 Disabilità"_s, u"TESTO"_s));
        const QString guasto = a.modificato(f, cambi(faults));
        const QString prima = a.stato();
        EsitoImportazione e = a.importa(guasto);
        QCOMPARE(
            righe(e),
            (QStringList{u"Foglio \"Corsi\", riga 5, colonna \"Allievi previsti\": Il valore \"dieci\" non è un numero intero"_s,
                         u"Foglio \"Corsi\", riga 5, colonna \"Data avvio presunta\": La DATA AVVIO PRESUNTA deve "
                         "essere una data valida"_s,
                         u"Foglio \"Corsi\", riga 5, colonna \"3.4 Disabilità\": Non è possibile compilare la parte "
                         "relativa a - Disabilità"_s}));
        QCOMPARE(e.stato, EsitoImportazione::Stato::Problemi);
        QCOMPARE(a.stato(), prima);

        QJsonArray mendati = comuni;
        mendati.append(cambio(u"Corsi"_s, 5, u"Allievi previsti"_s, 12));
        const QString mendato = a.modificato(f, cambi(mendati), u"mendato.xlsx"_s);
        QVERIFY(a.importa(mendato, true).stato == EsitoImportazione::Stato::Verificata);
        QCOMPARE(a.stato(), prima);
        e = a.importa(mendato);
        QCOMPARE(righe(e), QStringList());
        QCOMPARE(sintesiImportazione(e), u"Importazione eseguita: 1 corsi nuovi, 1 aggiornati, 3 invariati."_s);
        QCOMPARE(importi(a, u"SELECT ParamA1 FROM CorsiPropSpese WHERE Corso='0002' ORDER BY ProgrAnno"_s), u"9.50 9.00"_s);
        // The new course: the operator's next code, the sheet's "#", the defaults of the caps.
        QCOMPARE(a.valore(u"SELECT SedeInteressata || ' ' || Accorp || ' ' || DesQualif || ' ' || COALESCE(CodQualif, '-') "
                          "FROM CorsiProp WHERE Corso='0006'"_s),
                 u"1 0 QUALIFICA SHARP NUOVA -"_s);
        QCOMPARE(a.valore(u"SELECT count(*) || ' ' || sum(NumOreA1) FROM CorsiPropSpese WHERE Corso='0006'"_s), u"2 1800"_s);
        QCOMPARE(a.lista(u"SELECT ID || '=' || Valore FROM ValoriChk WHERE Corso='0006' ORDER BY ID"_s), QString());
    }

    // Values as people type them: an amount "1.234,50" or "1234.5", a code a spreadsheet has
    // turned into a number, a code no longer in the lists, a "#" in a free text.
    void valoriLetti_data()
    {
        QTest::addColumn<QString>("foglio");
        QTest::addColumn<int>("riga");
        QTest::addColumn<QString>("colonna");
        QTest::addColumn<QString>("valore");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("atteso"); // the value read back, or the one problem reported
        // In cents: each engine writes a stored amount as text in its own way.
        const QString a1 =
            u"SELECT CAST(ROUND(ParamA1 * 100) AS INTEGER) FROM CorsiPropSpese WHERE Corso='0002' AND ProgrAnno=1"_s;
        const QString importo = u"Foglio \"Spese\", riga 4, colonna \"Spese Generali - euro\": Il valore \"%1\" non è un "
                                "importo in euro (come 1.234,50 o 1234.5)"_s;
        QTest::newRow("1.234,50") << u"Spese"_s << 4 << u"Spese Generali - euro"_s << u"1.234,50"_s << a1 << u"123450"_s;
        QTest::newRow("1234.5") << u"Spese"_s << 4 << u"Spese Generali - euro"_s << u"1234.5"_s << a1 << u"123450"_s;
        QTest::newRow("€ 1.234,5") << u"Spese"_s << 4 << u"Spese Generali - euro"_s << u"€ 1.234,5"_s << a1 << u"123450"_s;
        QTest::newRow("1.234") << u"Spese"_s << 4 << u"Spese Generali - euro"_s << u"1.234"_s << a1 << u"123400"_s;
        QTest::newRow("tre decimali") << u"Spese"_s << 4 << u"Spese Generali - euro"_s << u"12,345"_s << a1
                                      << importo.arg(u"12,345"_s);
        QTest::newRow("testo") << u"Spese"_s << 4 << u"Spese Generali - euro"_s << u"nove"_s << a1 << importo.arg(u"nove"_s);
        QTest::newRow("negativo") << u"Spese"_s << 4 << u"Spese Generali - euro"_s << u"-9"_s << a1
                                  << u"Foglio \"Spese\", riga 4, colonna \"Spese Generali - euro\": Un importo non può "
                                     "essere negativo"_s;
        QTest::newRow("ore 1.200") << u"Corsi"_s << 4 << u"Durata annuale (ore)"_s << u"1.200"_s
                                   << u"SELECT DurataAnnOre FROM CorsiProp WHERE Corso='0002'"_s << u"1200"_s;
        QTest::newRow("codice diventato numero")
            << u"Corsi"_s << 2 << u"Attività"_s << u"6"_s
            << u"SELECT CodMisura FROM CorsiProp WHERE Corso='0001' AND Accorp='0'"_s << u"06"_s;
        QTest::newRow("codice non più valido") << u"Corsi"_s << 2 << u"Orario"_s << u"9"_s << QString()
                                               << u"Foglio \"Corsi\", riga 2, colonna \"Orario\": 9 (codice non più valido)"_s;
        QTest::newRow("cancelletto") << u"Corsi"_s << 4 << u"Istituto scolastico (testo libero)"_s << u"VIA #3"_s
                                     << u"SELECT IstitutoLibero FROM CorsiProp WHERE Corso='0002'"_s << u"VIA SHARP3"_s;
        QTest::newRow("corso senza zeri") << u"Corsi"_s << 4 << u"Corso"_s << u"2"_s
                                          << u"SELECT count(*) FROM CorsiProp WHERE Corso='0002'"_s << u"1"_s;
        QTest::newRow("corso che non c'è")
            << u"Corsi"_s << 4 << u"Corso"_s << u"0099"_s << QString()
            << u"Foglio \"Corsi\", riga 4, colonna \"Corso\": Il corso 0099/0 non esiste: per un corso nuovo lasciare vuoto "
               "il codice\nFoglio \"Spese\", riga 4, colonna \"Corso\": Il corso 0002/0 non è nel foglio \"Corsi\"\n"
               "Foglio \"Spese\", riga 5, colonna \"Corso\": Il corso 0002/0 non è nel foglio \"Corsi\""_s;
        QTest::newRow("sede d'altri")
            << u"Corsi"_s << 4 << u"Sede"_s << u"3"_s << QString()
            << u"Foglio \"Corsi\", riga 4, colonna \"Sede\": La sede 3 non è una sede della domanda (un componente o una sede "
               "occasionale dell'operatore nella provincia)"_s;
    }
    void valoriLetti()
    {
        QFETCH(QString, foglio);
        QFETCH(int, riga);
        QFETCH(QString, colonna);
        QFETCH(QString, valore);
        QFETCH(QString, sql);
        QFETCH(QString, atteso);
        DomandaPronta a;
        const QString f = a.esporta(u"corsi.xlsx"_s);
        const EsitoImportazione e = a.importa(a.modificato(f, cambi({cambio(foglio, riga, colonna, valore)})));
        if (sql.isEmpty() || !e.problemi.isEmpty())
            QCOMPARE(righe(e).join(u'\n'), atteso);
        else
            QCOMPARE(a.valore(sql), atteso);
    }

    // The application's checks that concern courses (the hours of the rooms and of the
    // occasional sites) are notes beside the import: they block nothing.
    void noteDellaDomanda()
    {
        DomandaPronta a;
        const QString f = a.esporta(u"corsi.xlsx"_s);
        a.db.esegui(u"UPDATE CorsiCompo SET NumLocali=0 WHERE Componente=1"_s);
        const EsitoImportazione e = a.importa(f);
        QCOMPARE(e.stato, EsitoImportazione::Stato::Applicata);
        QCOMPARE(e.note.size(), 2);
        QVERIFY(e.note[0].startsWith(u"Le attività formative svolte in Sedi Occasionali possono raggiungere"_s));
        QVERIFY(e.note[1].contains(u"- [ORE DIURNE] \t\tA 7 - 1 - SEDE LEGALE"_s));
    }

    // A printed application refuses any import before reading the file.
    void domandaStampata()
    {
        DomandaPronta a;
        const QString f = a.esporta(u"corsi.xlsx"_s);
        a.db.esegui(u"UPDATE Installazione SET DomandaStampata=-1 WHERE Prov='001'"_s);
        ricalcolaStampate(a.sessione, a.db);
        const EsitoImportazione e = a.importa(f);
        QCOMPARE(e.stato, EsitoImportazione::Stato::Rifiutata);
        QCOMPARE(e.messaggio, u"Domanda già inviata alla Provincia\r\nNon sarà possibile modificare i dati dei corsi"_s);
    }

    // The reader takes a workbook however it is laid out: sheets found by name through the
    // relations (an absolute target, a relative one that walks back), shared strings with runs
    // and phonetic guides, inline strings, booleans, numbers, formulas' results, error values,
    // cells and rows without references, empty cells, a 1904 workbook.
    void lettoreXlsx()
    {
        QTemporaryDir d;
        const QString f = d.filePath(u"a_mano.xlsx"_s);
        QVERIFY(scriviZip(f, cartellaAMano()));
        const CartellaLetta c = leggiXlsx(f, {u"dati"_s, u"Mancante"_s});
        QCOMPARE(c.errore, QString());
        QCOMPARE(c.fogli.size(), 1);
        QVERIFY(c.date1904);
        const FoglioLetto &s = c.fogli[0];
        QCOMPARE(s.nome, u"Dati"_s);
        QCOMPARE(s.righe.size(), 4);
        QStringList v;
        for (int r = 1; r <= 4; ++r)
            for (int k = 1; k <= 7; ++k) {
                const CellaLetta x = s.cella(r, k);
                v << (x.tipo == CellaLetta::Tipo::Vuota          ? u"-"_s
                          : x.tipo == CellaLetta::Tipo::Numero   ? u"n"_s + x.testo
                          : x.tipo == CellaLetta::Tipo::Booleano ? u"b"_s + x.testo
                                                                 : x.testo);
            }
        QCOMPARE(v.join(u'|'),
                 u"semplice|-|in linea|-|-|-|-|-|-|-|-|-|-|-|bVERO|n42.5|ricco |-|-|n36526|-|-|riga\r\ndue|"
                 "formula|#DIV/0!|-|-|-"_s);
        QCOMPARE(dataDaSeriale(s.cella(3, 6).numero, c.date1904), QDate(2004, 1, 2));
        QCOMPARE(dataDaSeriale(40087), QDate(2009, 10, 1));
        QCOMPARE(dataDaSeriale(59), QDate(1900, 2, 28));
        QCOMPARE(dataDaSeriale(61), QDate(1900, 3, 1));
        QCOMPARE(leggiXlsx(f, {u"Altro"_s}).fogli.value(0).cella(2, 2).testo, u"7"_s);
    }

    // What is refused, with its message, before anything of it is believed.
    void lettoreRifiuta_data()
    {
        QTest::addColumn<QByteArray>("grezzo"); // the file's bytes, when not a zip
        QTest::addColumn<QString>("voce");      // else the hand-made workbook with this entry...
        QTest::addColumn<QByteArray>("dati");   // ...holding this
        QTest::addColumn<QString>("errore");
        const QString danneggiata = u"Il file non è una cartella di lavoro di Excel (.xlsx) leggibile"_s;
        const QString cifrata = u"La cartella di lavoro è protetta da password (cifrata): salvarla senza password e riprovare."_s;
        QTest::newRow("testo") << QByteArray("Sede;Corso\r\n1;0001\r\n") << QString() << QByteArray() << danneggiata + u"."_s;
        QTest::newRow("documento cifrato") << QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(504, '\0') << QString()
                                           << QByteArray() << cifrata;
        QTest::newRow("zip troncato") << QByteArray("PK\x03\x04rotto") << QString() << QByteArray() << danneggiata + u"."_s;
        for (const char *nome : {"../fuori.xml", "/assoluto.xml", "xl\\rovescio.xml", "C:/disco.xml", "xl/./punto.xml"})
            QTest::newRow(nome) << QByteArray() << QString::fromLatin1(nome) << QByteArray("x")
                                << u"La cartella di lavoro contiene una voce con un nome non ammesso (\""_s
                    + QString::fromLatin1(nome) + u"\"): il file non viene letto."_s;
        QTest::newRow("relazione che esce")
            << QByteArray() << u"xl/_rels/libro.xml.rels"_s
            << QByteArray("<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                          "<Relationship Id=\"b\" Type=\"t\" Target=\"../../etc/passwd\"/></Relationships>")
            << u"La cartella di lavoro rimanda a una parte fuori dal file (\"../../etc/passwd\"): il file non viene letto."_s;
        QTest::newRow("senza libro") << QByteArray() << u"_rels/.rels"_s << QByteArray("<Relationships/>")
                                     << danneggiata + u"."_s;
        QTest::newRow("dichiarazione di tipo")
            << QByteArray() << u"xl/testi.xml"_s
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE sst [<!ENTITY a \"aaaaaaaaaa\">]><sst><si><t>&a;</t></si></sst>")
            << danneggiata + u": la parte xl/testi.xml contiene una dichiarazione di tipo."_s;
        QTest::newRow("xml rotto") << QByteArray() << u"xl/fogli/primo.xml"_s << QByteArray("<worksheet><sheetData><row>")
                                   << danneggiata
                + u": la parte xl/fogli/primo.xml è danneggiata (Premature end of document.)."_s;
        QTest::newRow("testo condiviso mancante")
            << QByteArray() << u"xl/fogli/primo.xml"_s
            << QByteArray("<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>99</v></c></row></sheetData></worksheet>")
            << danneggiata + u": testo mancante (foglio \"Dati\", cella A1)."_s;
        QTest::newRow("cella troppo lunga")
            << QByteArray() << u"xl/fogli/primo.xml"_s
            << "<worksheet><sheetData><row r=\"1\"><c r=\"B1\" t=\"inlineStr\"><is><t>" + QByteArray(32768, 'x')
                + "</t></is></c></row></sheetData></worksheet>"
            << u"Una cella della cartella di lavoro (foglio \"Dati\", cella B1) supera i 32.767 caratteri: il file non viene "
               "letto."_s;
        QTest::newRow("troppe righe")
            << QByteArray() << u"xl/fogli/primo.xml"_s
            << QByteArray("<worksheet><sheetData><row r=\"10001\"><c><v>1</v></c></row></sheetData></worksheet>")
            << u"Il foglio \"Dati\" ha più di 10.000 righe: il file non viene letto."_s;
        QTest::newRow("parte enorme")
            << QByteArray() << u"xl/fogli/primo.xml"_s
            << "<worksheet><sheetData>" + QByteArray(70 << 20, ' ') + "</sheetData></worksheet>"
            << u"La cartella di lavoro contiene una parte troppo grande per essere letta (oltre 64 MB): il file non viene "
               "letto."_s;
    }
    void lettoreRifiuta()
    {
        QFETCH(QByteArray, grezzo);
        QFETCH(QString, voce);
        QFETCH(QByteArray, dati);
        QFETCH(QString, errore);
        QTemporaryDir d;
        const QString f = d.filePath(u"rifiutato.xlsx"_s);
        QVERIFY(voce.isEmpty() ? scriviFile(f, grezzo) : scriviZip(f, sostituisci(cartellaAMano(), voce, dati)));
        const CartellaLetta c = leggiXlsx(f, {u"Dati"_s});
        QCOMPARE(c.errore, errore);
        QVERIFY(c.fogli.isEmpty());
    }

    // A zip whose entries are encrypted is refused as an encrypted workbook; a row of formats
    // alone far below the data is no row.
    void lettoreCifratoERigheVuote()
    {
        QTemporaryDir d;
        QVERIFY(zipCifrato(d.filePath(u"cifrato.xlsx"_s)));
        QCOMPARE(leggiXlsx(d.filePath(u"cifrato.xlsx"_s), {u"Dati"_s}).errore,
                 u"La cartella di lavoro è protetta da password (cifrata): salvarla senza password e riprovare."_s);
        QVERIFY(
            scriviZip(d.filePath(u"vuote.xlsx"_s),
                      conRiga("<row r=\"2\"><c r=\"A2\"><v>1</v></c></row><row r=\"600000\"><c r=\"A600000\" s=\"3\"/></row>")));
        const CartellaLetta c = leggiXlsx(d.filePath(u"vuote.xlsx"_s), {u"Dati"_s});
        QCOMPARE(c.errore, QString());
        QCOMPARE(c.fogli[0].righe.size(), 2);
    }

    // CSV as spreadsheet programs save it: the separator the header uses, quoted fields with
    // separators, quotes and line breaks inside, the mark of UTF-8 or Excel's Windows-1252,
    // the apostrophe that guarded a formula taken away.
    void lettoreCsv_data()
    {
        QTest::addColumn<QByteArray>("dati");
        QTest::addColumn<QString>("atteso"); // rows apart by "/", cells by "|"
        QTest::newRow("punto e virgola") << QByteArray("\xEF\xBB\xBF"
                                                       "a;b;c\r\n1;\"x;y\";\"di \"\"lui\"\"\"\r\n")
                                         << u"a|b|c/1|x;y|di \"lui\""_s;
        QTest::newRow("virgola") << QByteArray("a,b\n1,2\n") << u"a|b/1|2"_s;
        QTest::newRow("tabulazione") << QByteArray("a\tb\tc;d\n1\t2\t3;4") << u"a|b|c;d/1|2|3;4"_s;
        QTest::newRow("a capo nel campo") << QByteArray("a;b\r\n\"uno\r\ndue\";2\r\n\r\n;;\r\n") << u"a|b/uno\r\ndue|2"_s;
        QTest::newRow("windows-1252") << QByteArray("a;b\r\n\xE0;\x80\r\n") << u"a|b/à|€"_s;
        QTest::newRow("formula protetta") << QByteArray("a;b\r\n'=1+1;'''-x\r\n") << u"a|b/=1+1|''-x"_s;
        QTest::newRow("celle vuote") << QByteArray("a;;c\r\n;2\r\n") << u"a||c/|2"_s;
    }
    void lettoreCsv()
    {
        QFETCH(QByteArray, dati);
        QFETCH(QString, atteso);
        QTemporaryDir d;
        QVERIFY(scriviFile(d.filePath(u"f.csv"_s), dati));
        const CartellaLetta c = leggiCsv(d.filePath(u"f.csv"_s), u"Corsi"_s);
        QCOMPARE(c.errore, QString());
        QStringList righe;
        for (const QList<CellaLetta> &r : c.fogli[0].righe) {
            QStringList celle;
            for (const CellaLetta &x : r)
                celle << x.testo;
            righe << celle.join(u'|');
        }
        QCOMPARE(righe.join(u'/'), atteso);
    }

    // The import refuses what it cannot read and writes nothing: not a workbook, a hostile
    // entry, a sheet of more than 10,000 rows, an encrypted workbook, a file of another layout.
    void fileRifiutati_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("errore");
        QTest::newRow("non una cartella") << u"testo"_s << u"Il file non è una cartella di lavoro di Excel (.xlsx) leggibile."_s;
        QTest::newRow("voce ostile")
            << u"ostile"_s
            << u"La cartella di lavoro contiene una voce con un nome non ammesso (\"../../corsi.xlsx\"): "
               "il file non viene letto."_s;
        QTest::newRow("foglio enorme") << u"enorme"_s
                                       << u"Il foglio \"Corsi\" ha più di 10.000 righe: il file non viene letto."_s;
        QTest::newRow("cifrata") << u"cifrata"_s
                                 << u"La cartella di lavoro è protetta da password (cifrata): salvarla senza password e "
                                    "riprovare."_s;
        QTest::newRow("altra forma") << u"colonne"_s
                                     << u"Nel foglio \"Corsi\" mancano le colonne \"Componente responsabile\", \"Qualifica\""_s;
        QTest::newRow("senza Corsi") << u"senzacorsi"_s << u"Il file non ha il foglio \"Corsi\"."_s;
    }
    void fileRifiutati()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, errore);
        DomandaPronta a;
        const QString f = a.percorso(u"rifiutato.xlsx"_s);
        if (tipo == u"testo"_s)
            QVERIFY(a.scrivi(u"rifiutato.xlsx"_s, "Sede;Corso;Accorp\r\n1;0001;0\r\n"));
        else if (tipo == u"ostile"_s)
            QVERIFY(scriviZip(f, sostituisci(cartellaAMano(), u"../../corsi.xlsx"_s, "x")));
        else if (tipo == u"enorme"_s)
            python({u"righe"_s, f, u"10001"_s});
        else if (tipo == u"cifrata"_s)
            QVERIFY(zipCifrato(f));
        else if (tipo == u"colonne"_s)
            python({u"righe"_s, f, u"3"_s});
        else
            QVERIFY(scriviXlsx(f, {FoglioDaScrivere{u"Spese"_s, {{u"Sede"_s}}, {}}}).isEmpty());
        const QString prima = a.stato();
        const EsitoImportazione e = a.importa(f);
        QCOMPARE(e.stato, EsitoImportazione::Stato::Illeggibile);
        QVERIFY2(e.messaggio.startsWith(errore), qPrintable(e.messaggio));
        QCOMPARE(a.stato(), prima);
    }

    // A small workbook saved by LibreOffice Calc from the export (tests/data/corsi-libreoffice.xlsx,
    // kept in the sources): its own way of writing shared strings, styles and dates, read as the
    // program's export.
    void salvatoDaLibreOffice()
    {
        DomandaPronta a;
        const QString prima = a.stato();
        const EsitoImportazione e = a.importa(datiDiProva(u"corsi-libreoffice.xlsx"_s));
        QCOMPARE(righe(e), QStringList());
        QCOMPARE(sintesiImportazione(e), u"Importazione eseguita: 0 corsi nuovi, 1 aggiornati, 3 invariati."_s);
        QVERIFY(a.stato() != prima);
        // Changed before Calc saved it: the participants of course 0003 and its start date, a date.
        QCOMPARE(a.valore(u"SELECT NumAll || ' ' || DataAvvio FROM CorsiProp WHERE Corso='0003'"_s), u"13 05/10/2009"_s);
    }

    // The command line: exit 0 applied (or checked with --prova), 1 with problems (one line
    // each), 2 for a usage error or a file that cannot be read.
    void rigaDiComando()
    {
        DomandaPronta a;
        const QString f = a.esporta(u"corsi.xlsx"_s);
        const QString guasto = a.modificato(
            f, cambi({cambio(u"Corsi"_s, 3, u"Allievi previsti"_s, 0), cambio(u"Spese"_s, 4, u"b) Realizzazione %"_s, 21)}));
        a.scrivi(u"rotto.xlsx"_s, "non una cartella");
        const QString prima = a.stato();
        a.db.chiudi();
        const QStringList domanda{u"--prov"_s, u"001"_s, u"--grupope"_s, u"A"_s, u"--operatore"_s, u"7"_s};
        EsitoCli e = cli(a.dir.path(), QStringList{u"esporta-corsi"_s} + domanda + QStringList{u"--file"_s, u"cli.csv"_s});
        QCOMPARE(e.codice, 0);
        QCOMPARE(e.righe().size(), 3);
        e = cli(a.dir.path(), QStringList{u"importa-corsi"_s} + domanda + QStringList{u"--file"_s, u"cli.csv"_s});
        QCOMPARE(e.errore(), QString());
        QCOMPARE(e.err.trimmed(), u"Importazione eseguita: 0 corsi nuovi, 0 aggiornati, 4 invariati."_s);
        e = cli(a.dir.path(), QStringList{u"importa-corsi"_s} + domanda + QStringList{u"--file"_s, guasto, u"--prova"_s});
        QCOMPARE(e.codice, 1);
        QCOMPARE(e.righe(),
                 (QStringList{u"Foglio \"Corsi\", riga 3, colonna \"Allievi previsti\": Inserire gli ALLIEVI "
                              "PREVISTI"_s,
                              u"Foglio \"Spese\", riga 3, colonna \"Spese Generali - allievi\": Il numero di "
                              "allievi della spesa 'Spese Generali' non può superare il numero degli ALLIEVI "
                              "PREVISTI (0)"_s,
                              u"Foglio \"Spese\", riga 4, colonna \"a) Preparazione %\": Il totale del dettaglio "
                              "delle spese deve dare 100% "_s.trimmed()}));
        e = cli(a.dir.path(), QStringList{u"importa-corsi"_s} + domanda + QStringList{u"--file"_s, u"rotto.xlsx"_s});
        QCOMPARE(e.codice, 2);
        QVERIFY(e.err.contains(u"Il file non è una cartella di lavoro di Excel (.xlsx) leggibile."_s));
        e = cli(a.dir.path(), QStringList{u"importa-corsi"_s} + domanda + QStringList{u"--file"_s, u"corsi.ods"_s});
        QCOMPARE(e.codice, 2);
        QVERIFY(e.err.contains(u"--file deve essere un file .xlsx o .csv: corsi.ods"_s));
        e = cli(a.dir.path(), QStringList{u"importa-corsi"_s} + domanda);
        QCOMPARE(e.codice, 2);
        a.apriDb();
        QCOMPARE(a.stato(), prima);
    }

    // An import killed while it writes leaves the courses as they were; run again, it applies
    // whole.
    void importazioneInterrotta_data()
    {
        QTest::addColumn<int>("dopo");
        QTest::newRow("al primo corso scritto") << 1;
        QTest::newRow("al terzo") << 3;
    }
    void importazioneInterrotta()
    {
        QFETCH(int, dopo);
        DomandaPronta a;
        const QString f = a.esporta(u"corsi.xlsx"_s);
        // Every course of the file now differs from the database: four to write.
        a.db.esegui(u"UPDATE CorsiPropSpese SET ParamA1 = ParamA1 + 1"_s);
        const QString prima = a.stato();
        a.db.chiudi();
        const QStringList argomenti{
            u"importa-corsi"_s, u"--prov"_s, u"001"_s, u"--grupope"_s, u"A"_s, u"--operatore"_s, u"7"_s, u"--file"_s, f};
        QProcess p;
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(u"QUIRDAL_ARRESTO"_s, u"importa-corsi:%1"_s.arg(dopo));
        p.setProcessEnvironment(ambiente);
        p.start(qEnvironmentVariable("QUIRDAL_TEST_CLI"), QStringList{u"--cartella"_s, a.dir.path()} + argomenti);
        QVERIFY(p.waitForFinished(120000));
        QCOMPARE(p.exitCode(), 137);
        a.apriDb();
        // The file's own check; a server keeps its pages whole itself (its log and checksums).
        if (!a.suServer())
            QCOMPARE(a.valore(sql::copie::kVerificaIntegrita.testo()), u"ok"_s);
        QCOMPARE(a.stato(), prima);
        a.db.chiudi();
        QCOMPARE(cli(a.dir.path(), argomenti).errore(), QString());
        a.apriDb();
        QCOMPARE(importi(a, u"SELECT ParamA1 FROM CorsiPropSpese ORDER BY Corso, Accorp, ProgrAnno"_s),
                 u"8.50 1234.50 9.00 9.00 0.00 6.00"_s); // 0004 is of another province: not in the file
    }
};

QTEST_GUILESS_MAIN(TestFoglio)
#include "tst_foglio.moc"
