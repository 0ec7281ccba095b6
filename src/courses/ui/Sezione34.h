#pragma once
// "Sez.3.4" of the course sheet: the innovative characteristics (the previous-year course, the
// modular connection; shown, never edited here) and the social inclusion texts, which only the
// axis III.G asks for.
#include <QTabWidget>
#include <array>

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace quirdal {

struct Contesto;
struct DatiCorso;
struct StatoScheda;

class Sezione34 : public QTabWidget {
    Q_OBJECT
public:
    Sezione34(Contesto &c, const StatoScheda &stato, QWidget *padre = nullptr);

    void riempiListe();
    void pulisci();
    void mostra(const DatiCorso &d);
    void leggi(DatiCorso &d) const;
    // The axis, the activity and the action chosen: the social inclusion page and the
    // previous-year courses that follow them.
    void perAzione(const QString &asse, const QString &misura, const QString &azione);
    // The innovative characteristics' page stays closed each time the sheet shows.
    void chiudiCaratteristiche();

private:
    void perAsse(const QString &asse);

    Contesto &m_c;
    const StatoScheda &m_stato;
    QComboBox *cmbCorsoPrec, *cmbCorsoMod;
    QRadioButton *optConModSi, *optConModNo;
    QWidget *m_paginaInclusione;
    std::array<QLineEdit *, 4> txt_34;
};

} // namespace quirdal
