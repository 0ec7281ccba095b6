#pragma once
// "Sez.3.1" of the course sheet: site and qualification, axis, activity and action; merged
// course, addresses, type; recipients, schooling, sector; association, duration, participants,
// hours and start date. The lists cascade here; what the other sections follow (the action,
// the type, the duration, the hours) is signalled to the sheet.
#include <QTabWidget>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace quirdal {

struct Contesto;
struct DatiCorso;
struct StatoScheda;

class Sezione31 : public QTabWidget {
    Q_OBJECT
public:
    Sezione31(Contesto &c, const StatoScheda &stato, QWidget *padre = nullptr);

    // The lists that do not depend on another choice.
    void riempiListe();
    // The fields of no course; a new course may be merged into a main course.
    void pulisci();
    // The fields of the course; false when a stored code no longer fits its list.
    bool mostra(const DatiCorso &d);
    // The fields into the course; caricati gives the descriptions of codes no longer listed.
    void leggi(DatiCorso &d, const DatiCorso &caricati, bool inserimento) const;
    // A copy of the course is entered: it may be merged, into the course copied when that was.
    void preparaCopia();
    // The lists that follow the action: the types, and with them the recipients, the
    // schooling and the durations.
    void aggiornaAzione();

    QString asse() const;
    QString misura() const;
    QString codiceAzione() const;
    QString azione() const; // the key of the action: axis.activity.action
    QString tipologia() const;
    int durata() const; // years, 0 when none chosen
    qlonglong oreAnnue() const;
    qlonglong allievi() const;
    // Where a course is met: the qualification, or at an occasional site its responsible component.
    QWidget *campoIniziale(bool sedeOccasionale) const;

Q_SIGNALS:
    void azioneCambiata();      // the action (or no action) chosen, its lists refilled
    void tipologiaCambiata();   // the type chosen, its lists refilled
    void durataScelta();        // the duration in years chosen
    void oreOAllieviLasciati(); // the annual hours or the participants typed and left

private:
    void costruisciSedeQualifica();
    void costruisciAccorpamento();
    void costruisciDestinatari();
    void costruisciDurata();
    void collega();
    void cambiaAzione();

    Contesto &m_c;
    const StatoScheda &m_stato;
    QComboBox *cmbCompoResp, *cmbQuali, *cmbAsse, *cmbMisura, *cmbAzione, *CmbTipologia, *cmbAccorp, *cmbScol, *cmbSetto,
        *cmbCompa, *cmbOra, *cmbCert, *cmbDurata;
    std::array<QComboBox *, 6> cmbIndi;
    std::array<QCheckBox *, 6> chkIndi;
    std::array<QLineEdit *, 6> txtIndi;
    std::array<QComboBox *, 5> cmbDest;
    QCheckBox *chkQuali, *chkAccorp, *ChkATS;
    QLabel *lblEleAcc;
    QLineEdit *txtQuali, *txtNumAll, *txtDurataAnnOre, *txtTotIter, *txtOreStage, *txtOreLabEsterni, *txtStato, *txtGGDataAvvio,
        *txtMMDataAvvio, *txtAAAADataAvvio;
};

} // namespace quirdal
