#include "operator/SedeLegale.h"

#include "common/Contesto.h"
#include "common/Errori.h"
#include "common/Generale.h"
#include "common/Sessione.h"
#include "db/Consultazioni.h"
#include "db/CorsiDB.h"
#include "db/Recordset.h"

namespace quirdal {

namespace {

Recordset apriSedeLegale(Contesto &c)
{
    Recordset rs(c.db, QStringLiteral("QryCompo"));
    rs.apri(condizioniChiave({QStringLiteral("GrupOpe"), QStringLiteral("Operatore"), QStringLiteral("TipoCompo")},
                             {c.sessione.gGrupOpe, c.sessione.numeroOperatore(), c.sessione.gCompoSedeLeg}),
            {{QStringLiteral("Componente")}});
    return rs;
}

void rifiutaSeBloccato(Contesto &c)
{
    if (operatoreBloccato(c.db, c.sessione.gGrupOpe, c.sessione.numeroOperatore()))
        throw Errore(codici::Generico, QStringLiteral("Domande già inviate alla Provincia: i dati della Sede Legale non "
                                                      "sono modificabili."));
}

} // namespace

std::optional<DatiSedeLegale> caricaSedeLegale(Contesto &c)
{
    Recordset rs = apriSedeLegale(c);
    if (rs.eof())
        return std::nullopt;
    DatiSedeLegale d;
    d.componente = rs.testo(QStringLiteral("Componente"));
    d.denominazione = rs.testo(QStringLiteral("CorsiCompo.Denominazione"));
    d.codComune = rs.testo(QStringLiteral("CodComune"));
    d.comune = rs.testo(QStringLiteral("Comuni.Denominazione"));
    d.sigProv = rs.testo(QStringLiteral("SigProv"));
    d.indirizzo = rs.testo(QStringLiteral("Indirizzo"));
    d.cap = rs.testo(QStringLiteral("Cap"));
    d.tel = rs.testo(QStringLiteral("Tel"));
    d.fax = rs.testo(QStringLiteral("Fax"));
    d.riferimento = rs.testo(QStringLiteral("Riferimento"));
    d.email = rs.testo(QStringLiteral("Email"));
    return d;
}

EsitoVerifica verificaSedeLegale(Contesto &c, const DatiSedeLegale &d)
{
    c.sessione.gEmailValida = 0;
    if (!d.email.trimmed().isEmpty()) {
        if (const QString m = controllaEmail(d.email.trimmed()); !m.isEmpty())
            return EsitoVerifica::errore(m, kTitoloEmail, QStringLiteral("txtPostaElettronica"));
        c.sessione.gEmailValida = -1;
    }
    if (d.tel.isEmpty())
        return EsitoVerifica::errore(QStringLiteral("Inserire un numero di telefono."), QStringLiteral("Controllo dati"),
                                     QStringLiteral("txtTel"));
    if (d.fax.isEmpty())
        return EsitoVerifica::errore(QStringLiteral("Inserire un numero di fax."), QStringLiteral("Controllo dati"),
                                     QStringLiteral("txtFax"));
    return {};
}

void scriviSedeLegale(Contesto &c, const DatiSedeLegale &d)
{
    rifiutaSeBloccato(c);
    // Identified by its key alone: a row gone meanwhile is told as such.
    const int n = c.db.esegui(QStringLiteral("UPDATE CorsiCompo SET Cap=?, Pref='', Tel=?, PrefFax='', Fax=?, Email=?, "
                                             "Riferimento=? WHERE GrupOpe=? AND Operatore=? AND Componente=?"),
                              {d.cap, d.tel, d.fax, d.email, d.riferimento, c.sessione.gGrupOpe,
                               c.sessione.numeroOperatore(), d.componente.toLongLong()});
    if (n == 0)
        throw Errore(codici::RigaCancellata, QStringLiteral("Il record è stato cancellato da un'altra postazione."));
}

void reinserisciSedeLegale(Contesto &c, const DatiSedeLegale &d)
{
    rifiutaSeBloccato(c);
    c.db.esegui(QStringLiteral("INSERT INTO CorsiCompo (GrupOpe, Operatore, Componente, TipoCompo, Denominazione, "
                               "CodComune, Cap, Indirizzo, Pref, Tel, PrefFax, Fax, Email, Riferimento) VALUES "
                               "(?, ?, ?, ?, ?, ?, ?, ?, '', ?, '', ?, ?, ?)"),
                {c.sessione.gGrupOpe, c.sessione.numeroOperatore(), d.componente.toLongLong(), c.sessione.gCompoSedeLeg,
                 d.denominazione, d.codComune, d.cap, d.indirizzo, d.tel, d.fax, d.email, d.riferimento});
}

bool sedeLegaleCambiata(const DatiSedeLegale &a, const DatiSedeLegale &b)
{
    return a.cap != b.cap || a.tel != b.tel || a.fax != b.fax || a.riferimento != b.riferimento || a.email != b.email;
}

} // namespace quirdal
