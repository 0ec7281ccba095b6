#pragma once
// The small modal pickers and the text editor. Each hands its result back in the session
// (gComuneScelto, gStatoScelto, gIstitutoScelto, gSedeScelta and gSedeSceltaOcc, gTesto),
// which the caller clears before opening it; nothing there means the user cancelled.
#include "operator/Scelte.h"

#include <QDialog>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTextEdit;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace quirdal {

struct Contesto;

// A lookup table in a sortable grid with a search box. Enter in the grid or a double click
// chooses, Esc cancels, typing in the grid jumps to the rows that begin with what is typed.
class TabellaScelta : public QDialog {
    Q_OBJECT
public:
    struct Descrizione {
        const char *nome, *griglia, *ricerca, *cerca, *conferma, *annulla; // objectNames
        QString didascalia, titoloGriglia;
        int colonnaRicerca = 1;
        bool contiene = false; // the search finds the text anywhere, not only at the start
        QString nessunoTrovato, titoloRicerca, selezionare, titoloSelezionare;
        std::function<ElencoScelta(Contesto &)> sorgente;
    };
    TabellaScelta(Contesto &c, Descrizione d, QWidget *padre = nullptr);
    // The rows from the database.
    void carica();
    // The chosen row's values; empty when cancelled.
    const QStringList &scelta() const { return m_scelta; }

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void cerca();
    void conferma();
    Contesto &m_c;
    Descrizione m_d;
    QStringList m_scelta;
    QTableView *m_griglia;
    QLineEdit *m_ricerca;
    QStandardItemModel *m_modello;
    QSortFilterProxyModel *m_ordine;
};

// "Tabella Comuni": gComuneScelto; restricted to gFiltroComuni when set.
std::unique_ptr<TabellaScelta> TabComu(Contesto &c, QWidget *padre = nullptr);
// "Tabella Stati esteri": gStatoScelto.
std::unique_ptr<TabellaScelta> TabNaz(Contesto &c, QWidget *padre = nullptr);
// "Tabella Istituti": gIstitutoScelto.
std::unique_ptr<TabellaScelta> TabIsti(Contesto &c, QWidget *padre = nullptr);

// Opens a picker and copies its choice into the session value (cleared first).
void scegli(Contesto &c, TabellaScelta &picker, QStringList &risultato);

// "Elenco Sedi Interessate": gSedeScelta, gSedeSceltaOcc.
class FrmEleSedi : public QDialog {
    Q_OBJECT
public:
    explicit FrmEleSedi(Contesto &c, QWidget *padre = nullptr);
    void carica();

private:
    void conferma();
    Contesto &m_c;
    QListWidget *lstSedi;
};

// "Componente Responsabile": the component chosen for courses moved to an occasional site.
class CompoRes : public QDialog {
    Q_OBJECT
public:
    explicit CompoRes(Contesto &c, QWidget *padre = nullptr);
    void carica();
    // The chosen component's code; empty when cancelled.
    const QString &componente() const { return m_componente; }

protected:
    void reject() override;

private:
    void conferma();
    Contesto &m_c;
    QString m_componente;
    QComboBox *cmbCompo;
};

// "Testo Descrittivo": gTesto in and out, at most gTestoMaxRighe × 70 characters, upper case,
// read-only in mode "READ".
class FrmTesto : public QDialog {
    Q_OBJECT
public:
    static constexpr int kCaratteriPerRiga = 70;
    explicit FrmTesto(Contesto &c, QWidget *padre = nullptr);

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void adatta();
    void conferma();
    Contesto &m_c;
    int m_massimo = 0;
    bool m_adattando = false;
    QTextEdit *txtTesto;
};

} // namespace quirdal
