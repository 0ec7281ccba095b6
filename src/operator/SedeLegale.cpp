#include "operator/SedeLegale.h"

#include "common/Contesto.h"
#include "common/Errori.h"
#include "common/Generale.h"
#include "common/Sessione.h"
#include "db/Consultazioni.h"
#include "db/CorsiDB.h"
#include "operator/CatalogoOperatore.h"

namespace quirdal {

namespace {

void rifiutaSeBloccato(Contesto &c)
{
    if (operatoreBloccato(c.db, c.sessione.gGrupOpe, c.sessione.numeroOperatore()))
        throw Errore(codici::Generico,
                     QStringLiteral("Domande già inviate alla Provincia: i dati della Sede Legale non "
                                    "sono modificabili."));
}

} // namespace

std::optional<DatiSedeLegale> caricaSedeLegale(Contesto &c)
{
    const QList<QVariantMap> righe =
        c.db.righe(sql::operatore::kSedeLegale, {c.sessione.gGrupOpe, c.sessione.numeroOperatore(), c.sessione.gCompoSedeLeg});
    if (righe.isEmpty())
        return std::nullopt;
    auto t = [&](const char *n) { return CorsiDB::campo(righe.first(), QString::fromLatin1(n)).toString(); };
    DatiSedeLegale d;
    d.componente = t("Componente");
    d.denominazione = t("Denominazione");
    d.codComune = t("CodComune");
    d.comune = t("Comuni.Denominazione");
    d.sigProv = t("SigProv");
    d.indirizzo = t("Indirizzo");
    d.cap = t("Cap");
    d.tel = t("Tel");
    d.fax = t("Fax");
    d.riferimento = t("Riferimento");
    d.email = t("Email");
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
    const int n = c.db.esegui(sql::operatore::kScriviSedeLegale,
                              {d.cap, d.tel, d.fax, d.email, d.riferimento, c.sessione.gGrupOpe, c.sessione.numeroOperatore(),
                               d.componente.toLongLong()});
    if (n == 0)
        throw Errore(codici::RigaCancellata, QStringLiteral("Il record è stato cancellato da un'altra postazione."));
}

void reinserisciSedeLegale(Contesto &c, const DatiSedeLegale &d)
{
    rifiutaSeBloccato(c);
    c.db.esegui(sql::operatore::kReinserisciSedeLegale,
                {c.sessione.gGrupOpe, c.sessione.numeroOperatore(), d.componente.toLongLong(), c.sessione.gCompoSedeLeg,
                 d.denominazione, d.codComune, d.cap, d.indirizzo, d.tel, d.fax, d.email, d.riferimento});
}

bool sedeLegaleCambiata(const DatiSedeLegale &a, const DatiSedeLegale &b)
{
    return a.cap != b.cap || a.tel != b.tel || a.fax != b.fax || a.riferimento != b.riferimento || a.email != b.email;
}

} // namespace quirdal
