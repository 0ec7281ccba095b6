#pragma once
// "2.4 Previsione Ore Corsi Rientranti Nell'Anno Formativo" of the component sheet: the
// day and evening hours a component foresees for each directive, with their totals, and
// the small panel (PanOre) in which a row is typed. A row is written at once, not with the
// sheet's save.
#include <QGroupBox>

class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quirdal {

struct Contesto;

class PannelloOre : public QGroupBox {
    Q_OBJECT
public:
    explicit PannelloOre(Contesto &c, QWidget *padre = nullptr);
    // The directives the drop-down offers (code, two blanks, description).
    void impostaDirettive(const QStringList &voci);
    // The hours of this component, read again.
    void mostra(qlonglong componente);
    // Adding and deleting rows allowed or not (not when no directive's activity is foreseen).
    void abilitaRighe(bool si);
    // An application printed in final form: no row may change.
    void blocca();
    // No activity of the directives in this site: its hours go, at once.
    void eliminaTutte();
    void chiudiPannello();

Q_SIGNALS:
    // While a row is typed in the panel, the sheet's own buttons wait.
    void pannelloAperto(bool aperto);

private:
    void aggiorna();
    void apriPannello(bool modifica);
    void conferma();
    void elimina();

    Contesto &m_c;
    qlonglong m_componente = 0;
    QTableWidget *grdOre;
    QLineEdit *txtTotDiurne, *txtTotSerali, *txtOreDiurne, *txtOreSerali;
    QComboBox *CmbDirettiva;
    QFrame *PanOre;
    QPushButton *CmdInsOre, *CmdOre, *CmdCancOre;
};

} // namespace quirdal
