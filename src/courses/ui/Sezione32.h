#pragma once
// "Sez.3.2" of the course sheet: the cost estimate, one page for each of the three years.
#include <QTabWidget>
#include <array>
#include <functional>

namespace quirdal {

struct Contesto;
struct DatiCorso;
struct LineeAmmesse;
struct SpeseIniziali;
struct StatoScheda;
class FrmAnno;

class Sezione32 : public QTabWidget {
    Q_OBJECT
public:
    // oreAnnue: the course's annual hours as typed, from which line 17.3 is computed.
    Sezione32(Contesto &c, const StatoScheda &stato, const std::function<qlonglong()> &oreAnnue, QWidget *padre = nullptr);

    void mostra(const DatiCorso &d);
    void leggi(DatiCorso &d) const;
    // Every year without costs.
    void pulisci();
    // The lines the action and type admit; the years within the duration open.
    void aggiornaLinee(const LineeAmmesse &l, int durata);
    // The defaults of the years that have them. diPartenza: they stand for a new course's
    // costs, and follow its hours and participants until the user types a cost.
    void mostraIniziali(const SpeseIniziali &iniziali, bool diPartenza);
    bool speseDiPartenza() const { return m_speseDiPartenza; }

private:
    std::array<FrmAnno *, 3> m_anni{};
    // The costs of a new course are still the defaults, untouched by the user: they follow
    // the annual hours and the participants as these are typed.
    bool m_speseDiPartenza = false;
};

} // namespace quirdal
