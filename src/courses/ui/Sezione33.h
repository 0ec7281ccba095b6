#pragma once
// "Sez.3.3" of the course sheet, the specific characteristics: the school institute and the
// SPIN research; methodological innovation, equal opportunities, organisational capacity; and
// the check boxes the province's metadata describe, on four pages.
#include <QList>
#include <QTabWidget>
#include <utility>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace quirdal {

struct Contesto;
struct DatiCorso;
struct StatoScheda;

class Sezione33 : public QTabWidget {
    Q_OBJECT
public:
    Sezione33(Contesto &c, const StatoScheda &stato, QWidget *padre = nullptr);

    void riempiListe();
    void pulisci();
    // false when a stored code no longer fits its list.
    bool mostra(const DatiCorso &d);
    void leggi(DatiCorso &d) const;

private:
    void costruisciIstituto();
    void costruisciInnovazione();
    void costruisciCaselle();
    void collega();

    Contesto &m_c;
    const StatoScheda &m_stato;
    QComboBox *cmbCodIsti, *cmbAmbitoTerr, *cmbSettProd, *cmbFigProf;
    QLineEdit *txtIstitutoLibero, *txtQss;
    QCheckBox *chkSPINNonPres, *chkPO_1, *chkCO_1;
    QRadioButton *OptIM_S, *OptIM_N;
    QList<std::pair<qlonglong, QCheckBox *>> m_caselle;
};

} // namespace quirdal
