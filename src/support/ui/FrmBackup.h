#pragma once
#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace quirdal {

struct Contesto;

// "Salvataggio/Recupero Dati": the database saved to a zip archive, and restored from one.
class frmBackup : public QDialog {
    Q_OBJECT
public:
    explicit frmBackup(Contesto &c, QWidget *padre = nullptr);
    // Load: the last archive (or the default) in both fields.
    void carica();

private:
    void sfogliaBak();
    void sfogliaZip();
    void confermaBak();
    void confermaZip();
    QList<QWidget *> pulsanti() const;

    Contesto &m_c;
    QString m_iniziale; // what both fields showed on open
    QTabWidget *SSTab1;
    QLineEdit *txtFileBak, *txtFileZip;
    QPushButton *cmdSfogliaBak, *cmdConfermaBak, *cmdSfogliaZip, *cmdConfermaZip, *cmdEsci;
    QRadioButton *optAll, *optSost;
    // While a backup or a restore runs: what it is doing and how much of the archive is read.
    QLabel *lblAvanzamento;
    QProgressBar *prgRecupero;
};

} // namespace quirdal
