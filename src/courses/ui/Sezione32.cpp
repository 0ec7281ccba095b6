#include "courses/ui/Sezione32.h"

#include "common/ui/Confine.h"
#include "courses/Corso.h"
#include "courses/ui/FrmAnno.h"
#include "operator/ui/CampiScheda.h"

#include <QLineEdit>
#include <QScrollArea>

namespace quirdal {

Sezione32::Sezione32(Contesto &c, const StatoScheda &stato, const std::function<qlonglong()> &oreAnnue, QWidget *padre)
    : QTabWidget(padre)
{
    for (int y = 0; y < 3; ++y) {
        m_anni[y] = new FrmAnno(c, stato, y, oreAnnue);
        addTab(scorrevole(m_anni[y]), QStringLiteral("Anno %1").arg(y + 1));
    }
    for (FrmAnno *a : m_anni)
        for (QLineEdit *e : a->findChildren<QLineEdit *>())
            alSegnale(e, &QLineEdit::textEdited, c, [this] { m_speseDiPartenza = false; });
}

void Sezione32::mostra(const DatiCorso &d)
{
    for (int y = 0; y < 3; ++y)
        m_anni[y]->mostra(d.spese[y]);
}

void Sezione32::leggi(DatiCorso &d) const
{
    for (int y = 0; y < 3; ++y)
        d.spese[y] = m_anni[y]->leggi();
}

void Sezione32::pulisci()
{
    for (FrmAnno *a : m_anni)
        a->mostra(SpeseAnno{});
}

void Sezione32::aggiornaLinee(const LineeAmmesse &l, int durata)
{
    for (int y = 0; y < 3; ++y)
        m_anni[y]->aggiornaLinee(l, y < durata);
}

void Sezione32::mostraIniziali(const SpeseIniziali &iniziali, bool diPartenza)
{
    for (int y = 0; y < 3; ++y)
        if (iniziali.anni[y])
            m_anni[y]->mostra(*iniziali.anni[y]);
    m_speseDiPartenza = diPartenza;
}

} // namespace quirdal
