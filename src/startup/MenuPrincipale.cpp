#include "startup/MenuPrincipale.h"

#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Testo.h"
#include "config/FileIni.h"
#include "config/Impostazioni.h"
#include "common/Contesto.h"
#include "common/Sessione.h"
#include "config/SessioneIni.h"
#include "db/CorsiDB.h"
#include "startup/CatalogoAvvio.h"

#include <QSqlQuery>

namespace quirdal {

StatoMenu MenuPrincipale::carica()
{
    Sessione &s = m_c.sessione;
    StatoMenu st;
    st.didascalia = kTitoloMenu + QLatin1Char(' ') + versioneProgramma();
    s.gOptSottolinea = flag(m_c.utente.leggiFlag(chiaviFP::OptSottolinea, false));
    s.gOptAumenta = flag(m_c.utente.leggiFlag(chiaviFP::OptAumenta, false));
    s.gOptCambia = flag(m_c.utente.leggiFlag(chiaviFP::OptCambia, true));
    s.gVersione = m_c.ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Versione"));
    if (s.gVersione == QLatin1String("SERVER")) {
        st.didascalia += QStringLiteral(" ***SERVER***");
    } else if (s.gVersione == QLatin1String("CLIENT")) {
        st.didascalia += QStringLiteral(" ___CLIENT___");
        st.client = true;
    } else {
        m_c.dialoghi.messaggio(QStringLiteral("Le impostazioni del file ") + QStringLiteral("QUIRDAL.INI")
                                   + QStringLiteral(" riguardo la versione") + CRLF
                                   + QStringLiteral("Non sono Valide. Contattare l'assistenza tecnica."),
                               QStringLiteral("Errore nel file ini"), Icona::Critico);
        m_c.db.chiudi();
        throw FineProgramma(QStringLiteral("Versione non valida"));
    }
    return st;
}

void MenuPrincipale::primaAttivazione(const std::function<void()> &apriSelOpe, const std::function<void(int)> &apriAiuto)
{
    Sessione &s = m_c.sessione;
    if (s.gAiutoIniziale && apriAiuto)
        apriAiuto(20000);
    while (s.gDenomOper.isEmpty()) {
        const int n = m_c.db.valoreScalare(sql::avvio::kNumeroOperatori).toInt();
        if (n > 1) {
            s.gSelOpeAvvio = VERO;
            apriSelOpe();
            s.gSelOpeAvvio = FALSO;
        } else if (n == 1) {
            QSqlQuery q = m_c.db.seleziona(sql::avvio::kUnicoOperatore);
            q.next();
            s.impostaOperatore(q.value(0).toString(), q.value(1).toString());
            m_c.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("GrOpe"), s.gGrupOpe);
            m_c.ini.scrivi(QStringLiteral("BaseDati"), QStringLiteral("Oper"), s.gOperatore);
            s.gDenomOper = q.value(2).toString();
            s.gTipoOper = q.value(3).toString();
            q.finish();
            // The province and application the INI remembers may be another operator's.
            tieniDomandaDellOperatore(s, m_c.ini, m_c.db);
        }
        if (s.gDenomOper.isEmpty()) {
            m_c.dialoghi.messaggio(QStringLiteral("E' indispensabile selezionare un operatore."),
                                   QStringLiteral("Selezione Operatore"), Icona::Critico);
            // With no operator at all there is nothing to pick: asking again would never end.
            if (n == 0)
                throw FineProgramma(QStringLiteral("nessun operatore"));
            apriSelOpe();
        }
    }
    s.gPrimoAvvio = FALSO;
}

Intestazione MenuPrincipale::intestazione() const
{
    const Sessione &s = m_c.sessione;
    Intestazione h;
    h.grupOpe = s.gGrupOpe;
    h.operatore = s.gOperatore;
    if (s.gDenomOper.size() >= 45) {
        h.denominazione = QStringLiteral("-  ") + s.gDenomOper.left(44) + QStringLiteral("...");
        h.tooltip = s.gDenomOper;
    } else {
        h.denominazione = QStringLiteral("-  ") + s.gDenomOper;
    }
    h.provincia = QStringLiteral("   ( ") + s.gDesProv + QStringLiteral(" )");
    return h;
}

} // namespace quirdal
