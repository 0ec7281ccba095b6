#include "db/Schema.h"

#include "common/Errori.h"
#include "db/CatalogoConnessione.h"
#include "db/CorsiDB.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace quirdal {
namespace {

// Types: VARCHAR(n) text of at most n characters, TEXT long text, INTEGER long,
// SMALLINT integer, DOUBLE amount, BIT yes/no (-1/0).
const char *const kTabelle = R"SQL(
CREATE TABLE CorsiOper (
  GrupOpe VARCHAR(1) NOT NULL, Operatore INTEGER NOT NULL, Denominazione VARCHAR(100), TipoOper VARCHAR(2),
  CodFisc VARCHAR(16), LegNome VARCHAR(35), LegComNasc VARCHAR(30), LegProvNasc VARCHAR(2),
  LegGGNasc VARCHAR(2), LegMMNasc VARCHAR(2), LegAAAANasc VARCHAR(4), ProvCCIAA VARCHAR(2),
  CodCCIAA VARCHAR(7), AnnoCCIAA VARCHAR(4), AttEcono INTEGER, Corrispondenza INTEGER,
  ContABI VARCHAR(6), ContCAB VARCHAR(6), ContCIN VARCHAR(1), ContIBAN VARCHAR(27), ContDesBanca VARCHAR(30),
  ContAge VARCHAR(5), ContIndirAge VARCHAR(30), ContNumCC VARCHAR(15), ContIntCC VARCHAR(30),
  DomPrece VARCHAR(20), GGPrece VARCHAR(2), MMPrece VARCHAR(2), AAAAPrece VARCHAR(4), DESPROV VARCHAR(50),
  NominativoReferente VARCHAR(30), CodFiscaleReferente VARCHAR(16), Direttiva VARCHAR(80),
  AnnoDirettiva VARCHAR(4), ATI BIT,
  PRIMARY KEY (GrupOpe, Operatore));
CREATE TABLE CorsiCompo (
  GrupOpe VARCHAR(1) NOT NULL, Operatore INTEGER NOT NULL, Componente INTEGER NOT NULL, TipoCompo VARCHAR(2),
  Denominazione VARCHAR(100), CodComune VARCHAR(6), Cap VARCHAR(5), Indirizzo VARCHAR(50), Pref VARCHAR(5),
  Tel VARCHAR(15), PrefFax VARCHAR(5), Fax VARCHAR(15), StatoEstero VARCHAR(30), CittaEstero VARCHAR(30),
  Email VARCHAR(80), Riferimento VARCHAR(30), NumLocali INTEGER, AllieviPrevisti INTEGER, Direttive VARCHAR(1),
  M_A BIT, MA_nCert VARCHAR(10), MA_Data VARCHAR(10), M_B BIT, MB_nCert VARCHAR(10), MB_Data VARCHAR(10),
  M_C BIT, MC_nCert VARCHAR(10), MC_Data VARCHAR(10), MIO BIT, MIO_nCert VARCHAR(10), MIO_Data VARCHAR(10),
  t_AD BIT, tAD_nCert VARCHAR(10), tAD_Data VARCHAR(10), t_D BIT, tD_nCert VARCHAR(10), tD_Data VARCHAR(10),
  t_H BIT, tH_nCert VARCHAR(10), tH_Data VARCHAR(10), t_FAD BIT, tFAD_nCert VARCHAR(10), tFAD_Data VARCHAR(10),
  t_INN BIT, tINN_nCert VARCHAR(10), tINN_Data VARCHAR(10),
  PRIMARY KEY (GrupOpe, Operatore, Componente));
CREATE TABLE CorsiCompoOre (
  GrupOpe VARCHAR(1) NOT NULL, Operatore INTEGER NOT NULL, Componente INTEGER NOT NULL, CodDiret INTEGER NOT NULL,
  OreDiurne INTEGER, OreSerali INTEGER,
  PRIMARY KEY (GrupOpe, Operatore, Componente, CodDiret));
CREATE TABLE CorsiCompoTipoLab (
  IdLab INTEGER PRIMARY KEY AUTOINCREMENT, GrupOpe VARCHAR(1) NOT NULL, Operatore INTEGER NOT NULL,
  Componente INTEGER NOT NULL, NumLab INTEGER, TipoLab VARCHAR(255));
CREATE INDEX CorsiCompoTipoLab_Compo ON CorsiCompoTipoLab (GrupOpe, Operatore, Componente);
CREATE TABLE CorsiSediOcc (
  SedeOcc INTEGER NOT NULL PRIMARY KEY, Denominazione VARCHAR(100), Indirizzo VARCHAR(50), CodComune VARCHAR(6),
  Cap VARCHAR(5), Pref VARCHAR(5), Tel VARCHAR(15), PrefFax VARCHAR(5), Fax VARCHAR(15), TipoCompo VARCHAR(2));
CREATE TABLE CorsiSediOccUtil (
  GrupOpe VARCHAR(1) NOT NULL, Operatore INTEGER NOT NULL, SedeOcc INTEGER NOT NULL, Email VARCHAR(80),
  Riferimento VARCHAR(30), Accreditamento VARCHAR(50),
  PRIMARY KEY (GrupOpe, Operatore, SedeOcc));
CREATE TABLE PrecCorsi (
  IdAttivitaPrec INTEGER NOT NULL PRIMARY KEY, GrupOpe VARCHAR(1), Operatore INTEGER, Componente SMALLINT,
  SedeOcc INTEGER, ProgrAttivitaPrec SMALLINT, AnnoInizioPrec VARCHAR(4), AccPrec INTEGER, Denomina VARCHAR(100),
  GrupOpeAtt VARCHAR(1), OperatoreAtt INTEGER, CodAsse VARCHAR(10), CodMisura VARCHAR(10), CodAzione VARCHAR(10));
CREATE TABLE PercMod (
  IdAttivitaPrec INTEGER NOT NULL PRIMARY KEY, GrupOpe VARCHAR(1), Operatore INTEGER, Componente SMALLINT,
  SedeOcc INTEGER, ProgrAttivitaPrec SMALLINT, AnnoInizioPrec VARCHAR(4), AccPrec INTEGER, Denomina VARCHAR(100),
  GrupOpeAtt VARCHAR(1), OperatoreAtt INTEGER, CodAsse VARCHAR(10), CodMisura VARCHAR(10), CodAzione VARCHAR(10),
  AnnGest VARCHAR(4));
CREATE TABLE Installazione (
  GrupOpe VARCHAR(1) NOT NULL, Operatore INTEGER NOT NULL, Prov VARCHAR(3) NOT NULL, Domanda SMALLINT,
  DomandaStampata BIT DEFAULT 0, NumDoma VARCHAR(50), AttiATIATS SMALLINT,
  PRIMARY KEY (GrupOpe, Operatore, Prov));
CREATE TABLE DomandeDefinitive (
  GrupOpe TEXT NOT NULL, Operatore INTEGER NOT NULL, Prov TEXT NOT NULL, DataFile TEXT, Email TEXT, Sha256 TEXT,
  PRIMARY KEY (GrupOpe, Operatore, Prov));
CREATE TABLE Invii (
  GrupOpe TEXT NOT NULL, Operatore INTEGER NOT NULL, Prov TEXT NOT NULL, Copia TEXT NOT NULL, NumDoma TEXT,
  NomeFile TEXT, Dimensione INTEGER, Sha256 TEXT, DataOra TEXT, Risposta TEXT,
  PRIMARY KEY (GrupOpe, Operatore, Prov, Copia));
CREATE TABLE CorsiProp (
  GrupOpe VARCHAR(1) NOT NULL, Operatore INTEGER NOT NULL, SedeInteressata INTEGER NOT NULL, Corso VARCHAR(4) NOT NULL,
  Accorp VARCHAR(2) NOT NULL, CompoResp INTEGER, CodQualif VARCHAR(10), DesQualif VARCHAR(255),
  CodInd1 VARCHAR(10), CodInd2 VARCHAR(10), CodInd3 VARCHAR(10), CodInd4 VARCHAR(10), CodInd5 VARCHAR(10),
  CodInd6 VARCHAR(10), DesInd1 VARCHAR(255), DesInd2 VARCHAR(255), DesInd3 VARCHAR(255), DesInd4 VARCHAR(255),
  DesInd5 VARCHAR(255), DesInd6 VARCHAR(255), CodAsse VARCHAR(10), CodMisura VARCHAR(10), CodAzione VARCHAR(10),
  CodTipologia VARCHAR(10), CodDest1 VARCHAR(10), CodDest2 VARCHAR(10), CodDest3 VARCHAR(10), CodDest4 VARCHAR(10),
  CodDest5 VARCHAR(10), CodScol INTEGER, CodSetto INTEGER, CodComp INTEGER, CodOra INTEGER, CodCert INTEGER,
  CodIsti INTEGER, IstitutoLibero VARCHAR(255), CodProfessione VARCHAR(10), SPINAmbitoTerr VARCHAR(2),
  SPINSettoreProd VARCHAR(2), SPINFiguraProf VARCHAR(2), IdAttivitaPrec INTEGER, IdAttivitaReit INTEGER,
  StatoIter SMALLINT, ProgrAnno SMALLINT, NumAll SMALLINT, DurataAnnOre INTEGER, TotOreIter INTEGER,
  OreStage INTEGER, OreLabEsterni INTEGER, DurataTotIter SMALLINT, ATS BIT, IM VARCHAR(1),
  IM_1 BIT, IM_1Des VARCHAR(255), IM_2 BIT, IM_2Des VARCHAR(255), IM_3 BIT, IM_3Des VARCHAR(255),
  PO_1 BIT, CO_1 BIT, QSS VARCHAR(255), Sez34_1 TEXT, Sez34_2 TEXT, Sez34_3 TEXT, Sez34_4 TEXT,
  SchedaHand SMALLINT,
  a11_ParamA1 DOUBLE, a11_Ore INTEGER, a11_ParamC1 INTEGER, a12_ParamA2 DOUBLE, a12_Ore INTEGER, a12_ParamC2 INTEGER,
  a21_ParamA1 DOUBLE, a21_Ore INTEGER, a21_ParamC1 INTEGER, a22_ParamA2 DOUBLE, a22_Ore INTEGER, a22_ParamC2 INTEGER,
  a31_ParamA1 DOUBLE, a31_Ore INTEGER, a31_ParamC1 INTEGER, a32_ParamA2 DOUBLE, a32_Ore INTEGER, a32_ParamC2 INTEGER,
  a41_ParamA1 DOUBLE, a41_Ore INTEGER, a41_ParamC1 INTEGER, a42_ParamA2 DOUBLE, a42_Ore INTEGER, a42_ParamC2 INTEGER,
  b1_ParamB1 DOUBLE, b2_ParamB2 DOUBLE, b2NumAll INTEGER
  @DATAAVVIO@,
  PRIMARY KEY (GrupOpe, Operatore, SedeInteressata, Corso, Accorp));
CREATE INDEX CorsiProp_Corso ON CorsiProp (GrupOpe, Operatore, Corso);
CREATE TABLE CorsiPropSpese (
  GrupOpe VARCHAR(1) NOT NULL, Operatore INTEGER NOT NULL, SedeInteressata INTEGER NOT NULL, Corso VARCHAR(4) NOT NULL,
  Accorp VARCHAR(2) NOT NULL, ProgrAnno SMALLINT NOT NULL,
  ParamA1 DOUBLE, NumOreA1 INTEGER, NumAllA1 INTEGER, ParamA2 DOUBLE, NumOreA2 INTEGER, NumAllA2 INTEGER,
  Param16 DOUBLE, NumOre16 INTEGER, NumAll16 INTEGER, Param17Piu DOUBLE, Param17Meno DOUBLE,
  Param70 DOUBLE, Param70P DOUBLE, Param71 DOUBLE, Param71P DOUBLE, Param72 DOUBLE, Param72P DOUBLE,
  Param73 DOUBLE, Param73P DOUBLE, Param74 DOUBLE, Param74P DOUBLE, Param17_3 DOUBLE, NumAll17_3 INTEGER,
  EnteErogatore VARCHAR(100), Guid VARCHAR(32),
  PRIMARY KEY (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, ProgrAnno));
CREATE TABLE CorsiHandi (
  GrupOpe VARCHAR(1) NOT NULL, Operatore INTEGER NOT NULL, SedeInteressata INTEGER NOT NULL, Corso VARCHAR(4) NOT NULL,
  Accorp VARCHAR(2) NOT NULL, Handi VARCHAR(4), CodDest1 VARCHAR(10), CodDest2 VARCHAR(10), CodDest3 VARCHAR(10),
  CodDest4 VARCHAR(10), CodDest5 VARCHAR(10), NumPersone INTEGER,
  PRIMARY KEY (GrupOpe, Operatore, SedeInteressata, Corso, Accorp));
CREATE TABLE CorsiPropAziende (
  GrupOpe VARCHAR(1) NOT NULL, Operatore INTEGER NOT NULL, SedeInteressata INTEGER NOT NULL, Corso VARCHAR(4) NOT NULL,
  GrupOpeAzienda VARCHAR(1) NOT NULL, OperatoreAzienda INTEGER NOT NULL, CodPerc VARCHAR(10),
  PRIMARY KEY (GrupOpe, Operatore, SedeInteressata, Corso, GrupOpeAzienda, OperatoreAzienda));
CREATE TABLE Metadati (
  Prov VARCHAR(3) NOT NULL, Id INTEGER NOT NULL, Tipo VARCHAR(1), Etichetta VARCHAR(255), Numero VARCHAR(10),
  PRIMARY KEY (Prov, Id));
CREATE TABLE Legami (Prov VARCHAR(3) NOT NULL, ID INTEGER NOT NULL, PRIMARY KEY (Prov, ID));
CREATE TABLE ValoriChk (
  GrupOpe VARCHAR(1) NOT NULL, Operatore INTEGER NOT NULL, SedeInteressata INTEGER NOT NULL, Corso VARCHAR(4) NOT NULL,
  Accorp VARCHAR(2) NOT NULL, Prov VARCHAR(3) NOT NULL, ID INTEGER NOT NULL, Valore BIT DEFAULT 0,
  PRIMARY KEY (GrupOpe, Operatore, SedeInteressata, Corso, Accorp, Prov, ID));

CREATE TABLE AmbitiTerr (Codice VARCHAR(2) NOT NULL PRIMARY KEY, Descrizione VARCHAR(255));
CREATE TABLE Asse (CodAsse VARCHAR(10) NOT NULL PRIMARY KEY, DesAsse VARCHAR(255));
CREATE TABLE Misura (CodAsse VARCHAR(10) NOT NULL, CodMisura VARCHAR(10) NOT NULL, DesMisura VARCHAR(255),
  PRIMARY KEY (CodAsse, CodMisura));
CREATE TABLE Azione (CodAsse VARCHAR(10) NOT NULL, CodMisura VARCHAR(10) NOT NULL, CodAzione VARCHAR(10) NOT NULL,
  DesAzione VARCHAR(255), PRIMARY KEY (CodAsse, CodMisura, CodAzione));
CREATE TABLE AzioneTipologia (CodAsse VARCHAR(10) NOT NULL, CodMisura VARCHAR(10) NOT NULL,
  CodAzione VARCHAR(10) NOT NULL, CodTipologia VARCHAR(10) NOT NULL, DesTipologia VARCHAR(255),
  PRIMARY KEY (CodAsse, CodMisura, CodAzione, CodTipologia));
CREATE TABLE AzioneDestin (CodAsse VARCHAR(10) NOT NULL, CodMisura VARCHAR(10) NOT NULL,
  CodAzione VARCHAR(10) NOT NULL, CodTipologia VARCHAR(10) NOT NULL, CodDest INTEGER NOT NULL,
  PRIMARY KEY (CodAsse, CodMisura, CodAzione, CodTipologia, CodDest));
CREATE TABLE AzioneScolari (CodAsse VARCHAR(10) NOT NULL, CodMisura VARCHAR(10) NOT NULL,
  CodAzione VARCHAR(10) NOT NULL, CodTipologia VARCHAR(10) NOT NULL, CodScol INTEGER NOT NULL,
  PRIMARY KEY (CodAsse, CodMisura, CodAzione, CodTipologia, CodScol));
CREATE TABLE AzioneDeroga (CodAsse VARCHAR(10) NOT NULL, CodMisura VARCHAR(10) NOT NULL,
  CodAzione VARCHAR(10) NOT NULL, PRIMARY KEY (CodAsse, CodMisura, CodAzione));
CREATE TABLE CentroCosto (CodCentro INTEGER NOT NULL PRIMARY KEY, DesCentro VARCHAR(255));
CREATE TABLE CentroCostoSpesa (CodCentro INTEGER NOT NULL, CodSpesa INTEGER NOT NULL, DesSpesa VARCHAR(255),
  PRIMARY KEY (CodCentro, CodSpesa));
CREATE TABLE AmmissioneSpese (CodAsse VARCHAR(10) NOT NULL, CodMisura VARCHAR(10) NOT NULL,
  CodAzione VARCHAR(10) NOT NULL, CodTipologia VARCHAR(10) NOT NULL, CodCentro INTEGER NOT NULL,
  CodSpesa INTEGER NOT NULL, PRIMARY KEY (CodAsse, CodMisura, CodAzione, CodTipologia, CodCentro, CodSpesa));
CREATE TABLE AmmissioneSchedaHand (CodAsse VARCHAR(10) NOT NULL, CodMisura VARCHAR(10) NOT NULL,
  CodAzione VARCHAR(10) NOT NULL, CodTipologia VARCHAR(10) NOT NULL,
  PRIMARY KEY (CodAsse, CodMisura, CodAzione, CodTipologia));
CREATE TABLE MassimaliPar (CodAsse VARCHAR(10) NOT NULL, CodMisura VARCHAR(10) NOT NULL,
  CodAzione VARCHAR(10) NOT NULL, CodTipologia VARCHAR(10) NOT NULL, MinOre INTEGER NOT NULL,
  MaxOre INTEGER NOT NULL, ParA1 DOUBLE, ParC1 INTEGER NOT NULL, ParA2 DOUBLE, ParC2 INTEGER, ParB DOUBLE,
  PRIMARY KEY (CodAsse, CodMisura, CodAzione, CodTipologia, MinOre, MaxOre, ParC1));
CREATE TABLE MassimaliSpesa (CodAsse VARCHAR(10) NOT NULL, CodMisura VARCHAR(10) NOT NULL,
  CodAzione VARCHAR(10) NOT NULL, CodTipologia VARCHAR(10) NOT NULL, CodCentro INTEGER NOT NULL,
  CodSpesa INTEGER NOT NULL, Massimale DOUBLE,
  PRIMARY KEY (CodAsse, CodMisura, CodAzione, CodTipologia, CodCentro, CodSpesa));
CREATE TABLE IntervalloOreStage (CodAsse VARCHAR(10) NOT NULL, CodMisura VARCHAR(10) NOT NULL,
  CodAzione VARCHAR(10) NOT NULL, CodTipologia VARCHAR(10) NOT NULL, SitIter VARCHAR(1) NOT NULL,
  ProgrAnno SMALLINT NOT NULL, MinOre INTEGER, MaxOre INTEGER, min_ore_stage_perc DOUBLE,
  max_ore_stage_perc DOUBLE, min_ore_stage_ass INTEGER, max_ore_stage_ass INTEGER,
  PRIMARY KEY (CodAsse, CodMisura, CodAzione, CodTipologia, SitIter, ProgrAnno));
CREATE TABLE Certif (CodCert INTEGER NOT NULL PRIMARY KEY, DesCert VARCHAR(255));
CREATE TABLE Comparto (CodSetto INTEGER NOT NULL, CodComp INTEGER NOT NULL, DesComp VARCHAR(255),
  PRIMARY KEY (CodSetto, CodComp));
CREATE TABLE Destin (CodDest INTEGER NOT NULL PRIMARY KEY, DesDest VARCHAR(255));
CREATE TABLE Orari (CodOra INTEGER NOT NULL PRIMARY KEY, DesOra VARCHAR(255));
CREATE TABLE Qualifi (CodQualif VARCHAR(10) NOT NULL PRIMARY KEY, DesQualif VARCHAR(255));
CREATE TABLE Indiri (CodQualif VARCHAR(10) NOT NULL, CodIndi INTEGER NOT NULL, DesIndi VARCHAR(255),
  PRIMARY KEY (CodQualif, CodIndi));
CREATE TABLE Scolari (CodScol INTEGER NOT NULL PRIMARY KEY, DesScol VARCHAR(255));
CREATE TABLE Settore (CodSetto INTEGER NOT NULL PRIMARY KEY, DesSetto VARCHAR(255));
CREATE TABLE SettoriProd (AmbitoTerr VARCHAR(2) NOT NULL, Codice VARCHAR(2) NOT NULL, Descrizione VARCHAR(255),
  PRIMARY KEY (AmbitoTerr, Codice));
CREATE TABLE FigureProf (AmbitoTerr VARCHAR(2) NOT NULL, SettoreProd VARCHAR(2) NOT NULL, Codice VARCHAR(2) NOT NULL,
  Descrizione VARCHAR(255), PRIMARY KEY (AmbitoTerr, SettoreProd, Codice));
CREATE TABLE Professioni (CodProfessione VARCHAR(10) NOT NULL PRIMARY KEY, Descrizione VARCHAR(255));
CREATE TABLE Istituti (CodIsti INTEGER NOT NULL PRIMARY KEY, DesIsti VARCHAR(255));
CREATE TABLE ObbligoIstituto (CodAsse VARCHAR(10) NOT NULL, CodMisura VARCHAR(10) NOT NULL,
  CodAzione VARCHAR(10) NOT NULL, Obbligo VARCHAR(3), PRIMARY KEY (CodAsse, CodMisura, CodAzione));
CREATE TABLE New_Old_Azioni (New_CodAsse VARCHAR(10) NOT NULL, New_CodMisura VARCHAR(10) NOT NULL,
  New_CodAzione VARCHAR(10) NOT NULL, Old_CodAsse VARCHAR(10) NOT NULL, Old_CodMisura VARCHAR(10) NOT NULL,
  Old_CodAzione VARCHAR(10) NOT NULL,
  PRIMARY KEY (New_CodAsse, New_CodMisura, New_CodAzione, Old_CodAsse, Old_CodMisura, Old_CodAzione));
CREATE TABLE Comuni (CodComune VARCHAR(6) NOT NULL PRIMARY KEY, Denominazione VARCHAR(50), PROV VARCHAR(3),
  SigProv VARCHAR(2), Cap VARCHAR(5));
CREATE INDEX Comuni_Prov ON Comuni (PROV);
CREATE INDEX Comuni_Denominazione ON Comuni (Denominazione);
CREATE TABLE Province (PROV VARCHAR(3) NOT NULL PRIMARY KEY, SigProv VARCHAR(2), DesProv VARCHAR(50),
  Regione VARCHAR(2));
CREATE TABLE ProvinceLoghiIndir (PROV VARCHAR(3) NOT NULL PRIMARY KEY, Logo VARCHAR(255), Indirizzo VARCHAR(100),
  Cap VARCHAR(5), Comune VARCHAR(50), Settore VARCHAR(100), SottoSettore VARCHAR(100));
CREATE TABLE Regioni (REGIONE VARCHAR(2) NOT NULL PRIMARY KEY, Descrizione VARCHAR(50));
CREATE TABLE StatiEsteri (CodStato VARCHAR(4) NOT NULL PRIMARY KEY, DenomStato VARCHAR(50));
CREATE TABLE TipoCompo (TipoCompo VARCHAR(2) NOT NULL PRIMARY KEY, Descrizione VARCHAR(255));
CREATE TABLE TipoOper (GrupOpe VARCHAR(1) NOT NULL, TipoOper VARCHAR(2) NOT NULL, Descrizione VARCHAR(255),
  PRIMARY KEY (GrupOpe, TipoOper));
CREATE TABLE AttEcono (AttEcono VARCHAR(3) NOT NULL PRIMARY KEY, Descrizione VARCHAR(255));
CREATE TABLE Direttiva (CodDiret INTEGER NOT NULL PRIMARY KEY, Descrizione VARCHAR(255));
CREATE TABLE Accreditamenti (CodAccreditamento VARCHAR(10) NOT NULL PRIMARY KEY, Descrizione VARCHAR(255));
)SQL";

QStringList divisiInIstruzioni(const QString &script)
{
    QStringList r;
    for (const QString &s : script.split(QLatin1Char(';'))) {
        const QString t = s.trimmed();
        if (!t.isEmpty())
            r << t;
    }
    return r;
}

// The script as the server reads it. Amounts are exact there (numeric, SQLite keeps a double
// that the amount type reads back to the cent); a yes/no flag is a smallint of the domain
// SINO, so that the catalogue still tells a flag from a number; the counter is an identity
// column that, like AUTOINCREMENT, also takes a value given.
QString perPostgres(QString script)
{
    script.replace(QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"),
                   QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"));
    script.replace(QRegularExpression(QStringLiteral("\\bDOUBLE\\b")), QStringLiteral("NUMERIC"));
    script.replace(QRegularExpression(QStringLiteral("\\bBIT\\b")), QStringLiteral("SINO"));
    return QStringLiteral("CREATE DOMAIN SINO AS SMALLINT;\n") + script;
}

} // namespace

QString istruzioneVista(const QString &nome, const QString &select)
{
    return QStringLiteral("CREATE VIEW ") + nome + QStringLiteral(" AS ") + select;
}

QStringList istruzioniSchema(const OpzioniNuovoDatabase &opzioni, Motore motore)
{
    QString tabelle = QString::fromUtf8(kTabelle);
    tabelle.replace(QStringLiteral("@DATAAVVIO@"),
                    opzioni.versionePrecedente ? QString() : QStringLiteral(", DataAvvio VARCHAR(10)"));
    if (motore == Motore::PostgreSQL)
        tabelle = perPostgres(tabelle);
    QStringList r = divisiInIstruzioni(tabelle);
    for (const QuerySalvata &q : querySalvate(!opzioni.versionePrecedente))
        r << istruzioneVista(q.nome, q.perMotore(motore));
    return r;
}

const NomiSchema &nomiSchema()
{
    static const NomiSchema nomi = [] {
        NomiSchema r;
        const QString nome = QStringLiteral("nomi-") + QUuid::createUuid().toString(QUuid::Id128);
        {
            QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
            d.setDatabaseName(QStringLiteral(":memory:"));
            if (d.open()) {
                QSqlQuery q(d);
                for (const QString &s : istruzioniSchema())
                    q.exec(s);
                q.exec(sql::connessione::kCreaSigillo.testo());
                QStringList tabelle;
                q.exec(sql::connessione::kElencoTabelle.testo());
                while (q.next())
                    tabelle << q.value(0).toString();
                for (const QString &t : tabelle) {
                    r.tabelle.insert(t.toLower(), t);
                    QHash<QString, QString> &colonne = r.colonne[t.toLower()];
                    q.prepare(sql::connessione::kColonne.testo());
                    q.addBindValue(t);
                    q.exec();
                    while (q.next()) {
                        const QString c = q.value(0).toString();
                        colonne.insert(c.toLower(), c);
                        if (!r.tutte.contains(c.toLower()))
                            r.tutte.insert(c.toLower(), c);
                    }
                }
                q.finish();
                d.close();
            }
        }
        QSqlDatabase::removeDatabase(nome);
        return r;
    }();
    return nomi;
}

QStringList tabelleSchema()
{
    static const QRegularExpression crea(QStringLiteral("^CREATE TABLE (\\w+)"));
    QStringList r;
    for (const QString &istruzione : divisiInIstruzioni(QString::fromUtf8(kTabelle))) {
        const QRegularExpressionMatch m = crea.match(istruzione);
        if (m.hasMatch())
            r << m.captured(1);
    }
    return r;
}

QStringList istruzioniTabella(const QString &tabella)
{
    static const QRegularExpression crea(QStringLiteral("^CREATE TABLE (\\w+) "));
    static const QRegularExpression indice(QStringLiteral("^CREATE INDEX \\w+ ON (\\w+) "));
    QStringList r;
    for (const QString &istruzione : divisiInIstruzioni(QString::fromUtf8(kTabelle))) {
        const QRegularExpressionMatch m = crea.match(istruzione), i = indice.match(istruzione);
        if ((m.hasMatch() && m.captured(1).compare(tabella, Qt::CaseInsensitive) == 0)
            || (i.hasMatch() && i.captured(1).compare(tabella, Qt::CaseInsensitive) == 0))
            r << istruzione;
    }
    return r;
}

bool tabellaDellEnte(const QString &tabella)
{
    static const QStringList ente = {QStringLiteral("CorsiOper"),         QStringLiteral("CorsiCompo"),
                                     QStringLiteral("CorsiCompoOre"),     QStringLiteral("CorsiCompoTipoLab"),
                                     QStringLiteral("CorsiSediOcc"),      QStringLiteral("CorsiSediOccUtil"),
                                     QStringLiteral("PrecCorsi"),         QStringLiteral("PercMod"),
                                     QStringLiteral("Installazione"),     QStringLiteral("CorsiProp"),
                                     QStringLiteral("CorsiPropSpese"),    QStringLiteral("CorsiPropAziende"),
                                     QStringLiteral("CorsiHandi"),        QStringLiteral("ValoriChk"),
                                     QStringLiteral("DomandeDefinitive"), QStringLiteral("Invii")};
    return ente.contains(tabella.trimmed(), Qt::CaseInsensitive);
}

namespace {

void creaSuServer(const DatiConnessione &dove, const QString &password, const OpzioniNuovoDatabase &opzioni)
{
    const QString nome = QStringLiteral("creazione-") + QUuid::createUuid().toString(QUuid::Id128);
    std::exception_ptr errore;
    {
        QSqlDatabase db = CorsiDB::connettiServer(dove, nome);
        try {
            QSqlQuery q(db);
            if (!q.exec(sql::connessione::kContaTabelle.testo(Motore::PostgreSQL)) || !q.next())
                throw CorsiDB::erroreDa(q.lastError(), {}, Motore::PostgreSQL);
            if (q.value(0).toLongLong() > 0)
                throw Errore(3204,
                             QStringLiteral("La base dati ") + dove.descrizione()
                                 + QStringLiteral(" contiene già delle tabelle: non viene sovrascritta."));
            // All or nothing: the server's schema changes are part of the transaction.
            if (!q.exec(sql::connessione::kIniziaScrittura.testo(Motore::PostgreSQL)))
                throw CorsiDB::erroreDa(q.lastError(), {}, Motore::PostgreSQL);
            for (const QString &s : istruzioniSchema(opzioni, Motore::PostgreSQL))
                if (!q.exec(s))
                    throw CorsiDB::erroreDa(q.lastError(), s.left(80), Motore::PostgreSQL);
            CorsiDB::impostaPassword(db, password);
            if (!q.exec(sql::connessione::kConferma.testo(Motore::PostgreSQL)))
                throw CorsiDB::erroreDa(q.lastError(), {}, Motore::PostgreSQL);
        } catch (...) {
            errore = std::current_exception();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(nome);
    if (errore)
        std::rethrow_exception(errore);
}

} // namespace

void creaDatabase(const DatiConnessione &dove, const QString &password, const OpzioniNuovoDatabase &opzioni)
{
    if (dove.motore == Motore::PostgreSQL)
        creaSuServer(dove, password, opzioni);
    else
        creaDatabase(dove.file, password, opzioni);
}

void creaDatabase(const QString &percorso, const QString &password, const OpzioniNuovoDatabase &opzioni)
{
    const QFileInfo fi(percorso);
    if (fi.exists())
        throw Errore(3204, QStringLiteral("Il file '") + percorso + QStringLiteral("' esiste già."));
    if (!fi.dir().exists())
        throw Errore(3044, QStringLiteral("Percorso '") + fi.dir().path() + QStringLiteral("' non valido."));
    const QString temporaneo = percorso + QStringLiteral(".nuovo");
    QFile::remove(temporaneo);
    const QString nome = QStringLiteral("creazione-") + QUuid::createUuid().toString(QUuid::Id128);
    QString errore;
    long numero = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nome);
        db.setDatabaseName(temporaneo);
        if (!db.open()) {
            errore = db.lastError().text();
            numero = codici::Generico;
        } else {
            QSqlQuery q(db);
            q.exec(sql::connessione::kGiornale.testo());
            bool ok = q.exec(sql::connessione::kIniziaScrittura.testo());
            for (const QString &s : istruzioniSchema(opzioni)) {
                if (!ok)
                    break;
                ok = q.exec(s);
                if (!ok)
                    errore = q.lastError().text() + QStringLiteral(" [") + s.left(80) + QLatin1Char(']');
            }
            if (ok) {
                try {
                    CorsiDB::impostaPassword(db, password);
                } catch (const Errore &e) {
                    ok = false;
                    errore = e.descrizione();
                }
            }
            if (ok)
                ok = q.exec(sql::connessione::kConferma.testo());
            if (!ok && errore.isEmpty())
                errore = q.lastError().text();
            q.finish();
            db.close();
            if (!ok)
                numero = codici::Generico;
        }
    }
    QSqlDatabase::removeDatabase(nome);
    if (numero == 0 && !QFile::rename(temporaneo, percorso)) {
        numero = codici::Generico;
        errore = QStringLiteral("Impossibile creare il file '") + percorso + QStringLiteral("'.");
    }
    if (numero != 0) {
        QFile::remove(temporaneo);
        throw Errore(numero, errore);
    }
}

} // namespace quirdal
