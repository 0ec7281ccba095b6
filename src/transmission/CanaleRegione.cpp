#include "transmission/CanaleRegione.h"

#include "common/Contesto.h"
#include "config/FileIni.h"
#include "transmission/ServiziRegione.h"
#include "transmission/Trasferimento.h"

#include <QUrl>

namespace quirdal {

namespace {

EsitoInvio converti(const EsitoTrasferimento &e, const QString &indirizzo)
{
    const QUrl u(indirizzo);
    EsitoInvio r;
    r.completato = e.completato;
    r.risposta = e.risposta;
    if (!e.completato)
        r.erroreTrasmissione = testoErroreTrasmissione(e);
    r.server = u.port() > 0 ? u.host() + QLatin1Char(':') + QString::number(u.port()) : u.host();
    r.servizio = u.path();
    return r;
}

} // namespace

EsitoInvio CanaleRegione::postaModulo(const QString &indirizzo, const CampiModulo &campi)
{
    return converti(m_t.posta(indirizzo, corpoModulo(campi), intestazioniModulo()), indirizzo);
}

EsitoInvio CanaleRegione::postaUpload(const QByteArray &corpo, const QString &tipoContenuto)
{
    const QString indirizzo = indirizzoUpload(m_c.ini.leggi(QStringLiteral("CONNESSIONE"), QStringLiteral("NREG")));
    // A database takes longer than a form to travel.
    const int prima = m_t.attesaMassima();
    m_t.setAttesaMassima(std::max(prima, 300000));
    const EsitoTrasferimento e =
        m_t.posta(indirizzo, corpo, QStringLiteral("Content-Type: ") + tipoContenuto + QStringLiteral("\r\n"));
    m_t.setAttesaMassima(prima);
    return converti(e, indirizzo);
}

} // namespace quirdal
