#include "operator/Componente.h"

#include "common/Contesto.h"
#include "common/Errori.h"
#include "common/Generale.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "courses/Spese.h"
#include "db/CorsiDB.h"
#include "operator/CatalogoOperatore.h"

#include <QSqlQuery>

namespace quirdal {

namespace {

const QString kVerificaDati = QStringLiteral("Verifica Dati");

QVariantList chiaveSede(const Contesto &c, qlonglong componente)
{
    return {c.sessione.gGrupOpe, c.sessione.numeroOperatore(), componente};
}

// A count typed in a field: empty is Null, otherwise a whole number.
QVariant conteggio(const QString &testo)
{
    const QString t = testo.trimmed();
    return t.isEmpty() ? QVariant() : QVariant(t.toLongLong());
}

bool formatoEmail(const QString &e)
{
    const qsizetype chiocciola = e.indexOf(QLatin1Char('@'));
    if (e.count(QLatin1Char('@')) != 1 || chiocciola == 0)
        return false;
    const qsizetype ultimoPunto = e.lastIndexOf(QLatin1Char('.'));
    return ultimoPunto > chiocciola && ultimoPunto < e.size() - 1;
}

void rifiutaSeStampata(const Contesto &c)
{
    if (c.sessione.gDomandaStampata)
        throw Errore(codici::Generico,
                     QStringLiteral("Domanda già inviata alla Provincia: i dati delle Sedi Interessate "
                                    "non sono modificabili."));
}

} // namespace

QList<Sede> sequenzaSedi(Contesto &c)
{
    QList<Sede> r;
    const QVariantList chiave = c.sessione.chiaveDomanda();
    QSqlQuery q = c.db.seleziona(sql::operatore::kComponentiProvincia, chiave);
    while (q.next())
        r.append({q.value(0).toLongLong(), false});
    q = c.db.seleziona(sql::operatore::kSediOccasionaliProvincia, chiave);
    while (q.next())
        r.append({q.value(0).toLongLong(), true});
    return r;
}

QStringList vociTipoCompo(Contesto &c)
{
    QStringList r;
    QSqlQuery q = c.db.seleziona(sql::operatore::kTipiComponente);
    while (q.next())
        r << q.value(0).toString() + QStringLiteral("  ") + q.value(1).toString();
    return r;
}

std::optional<DatiSede> caricaSede(Contesto &c, const Sede &s, const QStringList &vociTipo)
{
    const QList<QVariantMap> righe =
        c.db.righe(s.occasionale ? sql::operatore::kSedeOccasionale : sql::operatore::kComponente, chiaveSede(c, s.codice));
    if (righe.isEmpty())
        return std::nullopt;
    DatiSede d;
    d.sede = s;
    auto t = [&](const char *n) { return CorsiDB::campo(righe.first(), QString::fromLatin1(n)).toString(); };
    d.denominazione = t("Denominazione");
    const QString tipo = t("TipoCompo");
    d.voceTipoCompo = tipo;
    for (const QString &v : vociTipo)
        if (v.left(2).trimmed() == tipo)
            d.voceTipoCompo = v;
    d.codComune = t("CodComune");
    d.comune = t("Comuni.Denominazione");
    d.sigProv = t("SigProv");
    d.cap = t("Cap");
    d.indirizzo = t("Indirizzo");
    d.tel = t("Tel");
    d.fax = t("Fax");
    d.riferimento = t("Riferimento");
    d.email = t("Email");
    if (!s.occasionale) {
        d.statoEstero = t("StatoEstero");
        d.cittaEstero = t("CittaEstero");
        d.numLocali = t("NumLocali");
        d.allieviPrevisti = t("AllieviPrevisti");
        d.direttive = t("Direttive") == QLatin1String("S");
    }
    return d;
}

EsitoVerifica verificaSede(Contesto &c, const DatiSede &d, bool salvataggio)
{
    const Sessione &s = c.sessione;
    const QString tipo = d.sede.occasionale ? QStringLiteral("UO") : d.voceTipoCompo.left(2).trimmed();
    if (!d.sede.occasionale && tipo == s.gCompoSedeLeg
        && c.db.valoreScalare(sql::operatore::kAltreSediLegali, {s.gGrupOpe, s.numeroOperatore(), tipo, d.sede.codice}).toInt()
            > 0)
        return EsitoVerifica::errore(QStringLiteral("E' già presente un componente (Facoltà)") + CRLF
                                         + QStringLiteral(" di tipo SEDE LEGALE"),
                                     QStringLiteral("Tipo componente"), QStringLiteral("cmbTipoCompo"), PaginaDatiSede);
    if (d.denominazione.trimmed().isEmpty())
        return EsitoVerifica::errore(d.sede.occasionale ? QStringLiteral("Inserire denominazione della Sede Operativa")
                                                        : QStringLiteral("Inserire denominazione della Facoltà"),
                                     kVerificaDati, QStringLiteral("txtDenominazione"), PaginaDatiSede);
    if (!d.cap.trimmed().isEmpty() && d.cap.trimmed().size() != 5)
        return EsitoVerifica::errore(QStringLiteral("C.A.P. non valido"), kVerificaDati, QStringLiteral("txtCap"),
                                     PaginaDatiSede);
    if (!d.cap.trimmed().isEmpty() && d.codComune.isEmpty())
        return EsitoVerifica::errore(QStringLiteral("Indicare, oltre al C.A.P., anche il comune, oppure cancellare il C.A.P."),
                                     kVerificaDati, QStringLiteral("txtComDes"), PaginaDatiSede);
    if (!d.email.trimmed().isEmpty() && !formatoEmail(d.email.trimmed()))
        return EsitoVerifica::errore(QStringLiteral("Il formato dell'indirizzo di posta elettronica non è corretto."),
                                     kVerificaDati, QStringLiteral("txtPostaElettronica"), PaginaDatiSede);
    if (!salvataggio || d.sede.occasionale)
        return {};
    const qlonglong labs = numeroLaboratori(c, d.sede.codice);
    const QString locali = d.numLocali.trimmed();
    if (locali.isEmpty())
        return EsitoVerifica::errore(QStringLiteral("Indicare il numero totale dei locali."), kVerificaDati,
                                     QStringLiteral("txtNumLocali"), PaginaLocali);
    if (locali.toLongLong() < 1)
        return EsitoVerifica::errore(QStringLiteral("Il numero totale dei locali deve essere MAGGIORE di 0."), kVerificaDati,
                                     QStringLiteral("txtNumLocali"), PaginaLocali);
    if (locali.toLongLong() < labs)
        return EsitoVerifica::errore(QStringLiteral("Il numero di locali indicato, deve essere maggiore o uguale al numero "
                                                    "di laboratori inseriti"),
                                     kVerificaDati, QStringLiteral("txtNumLocali"), PaginaLocali);
    // One laboratory every three rooms, counted upwards: 1 to 3 rooms need 1, 4 to 6 need 2.
    if (labs < (locali.toLongLong() + 2) / 3)
        return EsitoVerifica::errore(QStringLiteral("E' obbligatorio che ogni tre locali uno sia adibito a laboratorio."),
                                     kVerificaDati, QStringLiteral("txtNumLocali"), PaginaLocali);
    const QString allievi = d.allieviPrevisti.trimmed();
    if (allievi.isEmpty())
        return EsitoVerifica::errore(QStringLiteral("Indicare il numero di allievi contemporaneamente previsti nella sede in "
                                                    "riferimento alla legge sull'edilizia scolastica."),
                                     kVerificaDati, QStringLiteral("txtAllieviPrevisti"), PaginaLocali);
    if (allievi.toLongLong() < 1)
        return EsitoVerifica::errore(QStringLiteral("Il numero di allievi contemporaneamente previsti nella sede in "
                                                    "riferimento alla legge sull'edilizia scolastica deve essere MAGGIORE di "
                                                    "0."),
                                     kVerificaDati, QStringLiteral("txtAllieviPrevisti"), PaginaLocali);
    if (!d.direttive && orePerDirettiva(c, d.sede.codice).isEmpty())
        return EsitoVerifica::errore(QStringLiteral("E' obbligatorio compilare la griglia 'Previsione Ore Corsi Rientranti "
                                                    "Nell'Anno Formativo' o spuntare il flag soprastante."),
                                     QStringLiteral("Verifica dati"), QStringLiteral("ChkDirettive"), PaginaOre);
    return {};
}

void scriviSede(Contesto &c, const DatiSede &d)
{
    rifiutaSeStampata(c);
    const QVariantList chiave = chiaveSede(c, d.sede.codice);
    Transazione t(c.db);
    int n = 0;
    if (d.sede.occasionale) {
        n = c.db.esegui(sql::operatore::kScriviSedeOccasionale,
                        {d.denominazione, d.codComune, d.cap, d.indirizzo, d.tel, d.fax, d.sede.codice});
        if (n > 0)
            n = c.db.esegui(sql::operatore::kScriviUsoSedeOccasionale, QVariantList{d.riferimento, d.email} + chiave);
    } else {
        n = c.db.esegui(sql::operatore::kScriviComponente,
                        QVariantList{d.denominazione, d.voceTipoCompo.left(2).trimmed(), d.codComune, d.cap, d.indirizzo, d.tel,
                                     d.fax, d.statoEstero, d.cittaEstero, d.riferimento, d.email, conteggio(d.numLocali),
                                     conteggio(d.allieviPrevisti), d.direttive ? QStringLiteral("S") : QStringLiteral("N")}
                            + chiave);
    }
    if (n == 0)
        throw Errore(codici::RigaCancellata, QStringLiteral("Il record è stato cancellato da un'altra postazione."));
    t.conferma();
}

bool sedeCambiata(const DatiSede &caricati, const DatiSede &attuali)
{
    DatiSede a = caricati, b = attuali;
    // What the write does not store does not count.
    a.comune = b.comune;
    a.sigProv = b.sigProv;
    if (a.sede.occasionale) {
        a.voceTipoCompo = b.voceTipoCompo;
        a.statoEstero = b.statoEstero;
        a.cittaEstero = b.cittaEstero;
        a.numLocali = b.numLocali;
        a.allieviPrevisti = b.allieviPrevisti;
        a.direttive = b.direttive;
    }
    return !(a == b);
}

std::optional<ComuneTrovato> cercaComuneInProvincia(Contesto &c, const QString &nome)
{
    QSqlQuery q = c.db.seleziona(sql::operatore::kComuneInProvincia, {nome.trimmed(), c.sessione.gProv});
    if (!q.next())
        return std::nullopt;
    return ComuneTrovato{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
}

QList<Laboratorio> laboratori(Contesto &c, qlonglong componente)
{
    QList<Laboratorio> r;
    QSqlQuery q = c.db.seleziona(sql::operatore::kLaboratori, chiaveSede(c, componente));
    while (q.next())
        r.append({q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toString()});
    return r;
}

qlonglong numeroLaboratori(Contesto &c, qlonglong componente)
{
    return c.db.valoreScalare(sql::operatore::kNumeroLaboratori, chiaveSede(c, componente)).toLongLong();
}

std::optional<qlonglong> numeroDiLaboratori(const QString &testo)
{
    bool ok = false;
    const qlonglong n = testo.trimmed().toLongLong(&ok);
    if (!ok || n < 1 || n > 9999)
        return std::nullopt;
    return n;
}

void aggiungiLaboratorio(Contesto &c, qlonglong componente, qlonglong numero, const QString &tipo)
{
    rifiutaSeStampata(c);
    c.db.esegui(sql::operatore::kAggiungiLaboratorio,
                chiaveSede(c, componente) + QVariantList{numero, tipo.left(kLunghezzaTipoLab)});
}

void modificaLaboratorio(Contesto &c, qlonglong id, qlonglong numero, const QString &tipo)
{
    rifiutaSeStampata(c);
    if (c.db.esegui(sql::operatore::kModificaLaboratorio, {numero, tipo.left(kLunghezzaTipoLab), id}) == 0)
        throw Errore(codici::RigaCancellata, QStringLiteral("Il record è stato cancellato da un'altra postazione."));
}

void eliminaLaboratorio(Contesto &c, qlonglong id)
{
    rifiutaSeStampata(c);
    if (c.db.esegui(sql::operatore::kEliminaLaboratorio, {id}) == 0)
        throw Errore(codici::RigaCancellata, QStringLiteral("Il record è già stato cancellato da un'altra postazione."));
}

QList<OreDirettiva> orePerDirettiva(Contesto &c, qlonglong componente)
{
    QList<OreDirettiva> r;
    QSqlQuery q = c.db.seleziona(sql::operatore::kOrePerDirettiva, chiaveSede(c, componente));
    while (q.next())
        r.append({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toLongLong(), q.value(3).toLongLong()});
    return r;
}

QStringList vociDirettive(Contesto &c)
{
    QStringList r;
    QSqlQuery q = c.db.seleziona(sql::operatore::kDirettive);
    while (q.next())
        r << q.value(0).toString() + QStringLiteral("  ") + q.value(1).toString();
    return r;
}

void salvaOreDirettiva(Contesto &c, qlonglong componente, qlonglong codDiret, qlonglong diurne, qlonglong serali)
{
    rifiutaSeStampata(c);
    c.db.esegui(sql::operatore::kSalvaOreDirettiva, chiaveSede(c, componente) + QVariantList{codDiret, diurne, serali});
}

void eliminaOreDirettiva(Contesto &c, qlonglong componente, qlonglong codDiret)
{
    rifiutaSeStampata(c);
    c.db.esegui(sql::operatore::kEliminaOreDirettiva, chiaveSede(c, componente) + QVariantList{codDiret});
}

void eliminaTutteLeOre(Contesto &c, qlonglong componente)
{
    rifiutaSeStampata(c);
    c.db.esegui(sql::operatore::kEliminaTutteLeOre, chiaveSede(c, componente));
}

QStringList testiRiepilogo(Contesto &c, qlonglong componente)
{
    const TotaliSede t = TotaliCorsiSede(c.db, c.sessione, componente);
    auto riga = [](const GruppoCorsi &g, const char *dove) {
        return QStringLiteral("n° ") + QString::number(g.schede) + QString::fromUtf8(dove) + g.totale.formato()
            + QStringLiteral(" per monte ore ") + QString::number(g.ore);
    };
    return {riga(t.sedeAccreditata, " schede di caratteristiche Corsi nella Sede Accreditata, per E. "),
            riga(t.sediOccasionali, " schede di caratteristiche Corsi in Sedi Occasionali collegate, per E. "),
            riga(t.azioniInDeroga, "  schede di caratteristiche Corsi su Azioni in deroga, per E. ")};
}

} // namespace quirdal
