// "Invio Domanda": the final print, the copy of the transmission file, the send; send and
// copy only once the application is printed.
#include "printing/ui/SchermiStampa.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "common/ui/Clessidra.h"
#include "common/ui/Confine.h"
#include "common/ui/DialoghiQt.h"
#include "common/ui/Filtri.h"
#include "config/Impostazioni.h"
#include "db/CorsiDB.h"
#include "support/ui/FrmMailAggInst.h"
#include "transmission/CreaFileTrasm.h"
#include "transmission/ui/SchermiInternet.h"
#include "printing/ui/PezziStampa.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QStorageInfo>
#include <QStyle>
#include <QVBoxLayout>

namespace quirdal {

using namespace schermistampa;

Trasmis::Trasmis(Contesto &c, QWidget *padre) : QDialog(padre), m_c(c)
{
    setObjectName(QStringLiteral("Trasmis"));
    setWindowTitle(QStringLiteral("Invio Domanda"));
    auto *lay = new QVBoxLayout(this);
    lay->addWidget(operatoreSelezionato(c, false));
    auto *g = new QGridLayout;
    cmdStampa = pulsante("cmdStampa", QString());
    cmdStampa->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    lblStampa = voce(g, 0, cmdStampa, "lblStampa",
                     QStringLiteral("Stampa dei moduli di domanda originale da consegnare agli uffici provinciali (*)"));
    cmdSalva = pulsante("cmdSalva", QString());
    cmdSalva->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    lblSalva = voce(g, 1, cmdSalva, "lblSalva", QStringLiteral("Copia delle domande su floppy disk"));
    cmdSend = pulsante("cmdSend", QString());
    cmdSend->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    lblSend = voce(g, 2, cmdSend, "lblSend", QStringLiteral("Invio delle domande alla Provincia tramite INTERNET"));
    cmdEsci = pulsante("cmdEsci", QString());
    cmdEsci->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    lblEsci = voce(g, 3, cmdEsci, "lblEsci", QStringLiteral("Annulla Invio Domanda"));
    g->setColumnStretch(1, 1);
    lay->addLayout(g);
    lay->addWidget(etichetta(QStringLiteral("(*): verrà stampata una domanda (\"originale\") per ogni progetto "
                                            "dell'Operatore"),
                             "Label2"));
    (new StileEtichette(m_c.sessione, this))->applica(this);
    alClic(cmdStampa, m_c, [this] { stampa(); });
    alClic(cmdSalva, m_c, [this] { salva(); });
    alClic(cmdSend, m_c, [this] { invia(); });
    connect(cmdEsci, &QPushButton::clicked, this, &QDialog::accept);
    resize(560, sizeHint().height());
}

void Trasmis::carica() { AggiornaTrasmis(); }

void Trasmis::AggiornaTrasmis()
{
    const bool stampata = TrasDoma(m_c.db, m_c.sessione);
    attivo(cmdStampa, lblStampa, true);
    attivo(cmdEsci, lblEsci, true);
    attivo(cmdSend, lblSend, stampata);
    attivo(cmdSalva, lblSalva, stampata);
    lblEsci->setText(stampata ? QStringLiteral("Esci") : QStringLiteral("Annulla Invio Domanda"));
}

void Trasmis::stampa()
{
    Sessione &s = m_c.sessione;
    iniziaStampaDefinitiva(s);
    SelBozza dlg(m_c, this);
    dlg.carica();
    esegui(dlg);
    AggiornaTrasmis();
}

void Trasmis::salva()
{
    Sessione &s = m_c.sessione;
    s.gEmailValida = FALSO;
    frmMailAggInst mail(m_c, this);
    esegui(mail);
    if (mail.indirizzo().isEmpty() || s.gEmailValida == FALSO) {
        m_c.dialoghi.messaggio(QStringLiteral("E' necessario specificare un indirizzo di posta") + CRLF
                                   + QStringLiteral("elettronica per poter procedere al salvataggio dei dati."),
                               QStringLiteral("Salvataggio dati"), Icona::Esclamazione);
        return;
    }
    // The diskette drive where there is one, otherwise a folder the user picks.
    QString cartella;
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes())
        if (v.rootPath().compare(QStringLiteral("A:/"), Qt::CaseInsensitive) == 0 && v.isReady())
            cartella = v.rootPath();
    if (!cartella.isEmpty())
        m_c.dialoghi.messaggio(QStringLiteral("Copia di sicurezza dei dati") + CRLF
                                   + QStringLiteral("Inserire un floppy nel drive A:"),
                               QStringLiteral("Copia su floppy disk"), Icona::Informazione);
    s.gEmail = m_c.utente.leggi(chiaviFP::EMail);
    mCreaFileTrasm modulo(m_c);
    bool creato = false;
    {
        const Clessidra clessidra;
        creato = modulo.CreaFile(s.gProv, s.gGrupOpe, s.gOperatore);
    }
    if (!creato) {
        m_c.dialoghi.messaggio(QStringLiteral("Creazione file di trasmissione fallita."),
                               QStringLiteral("Crea File di Trasmissione"), Icona::Critico);
        return;
    }
    const QString nome = QFileInfo(modulo.gNomeFileTrasm()).fileName();
    QString destinazione;
    if (!cartella.isEmpty()) {
        destinazione = QDir(cartella).filePath(nome);
    } else {
        destinazione = m_c.dialoghi.scegliFileDaSalvare(QStringLiteral("Copia della domanda"), QDir::home().filePath(nome),
                                                        QStringLiteral("File di trasmissione|*.*"));
        if (destinazione.isEmpty())
            return;
    }
    QFile origine(QDir(m_c.cartellaProgramma).filePath(nome));
    QSaveFile copia(destinazione);
    QByteArray dati;
    const bool letto = origine.open(QIODevice::ReadOnly) && !(dati = origine.readAll()).isEmpty();
    if (!letto || !copia.open(QIODevice::WriteOnly) || copia.write(dati) != dati.size() || !copia.commit()) {
        m_c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(75) + CRLF
                                   + QStringLiteral("Impossibile copiare il file in ") + QDir::toNativeSeparators(destinazione)
                                   + (letto ? QStringLiteral(": ") + copia.errorString() : QString()),
                               QStringLiteral("Errore"), Icona::Critico);
        return;
    }
    m_c.dialoghi.messaggio(QStringLiteral("Copia dei dati effettuata.") + CRLF + QStringLiteral("Copiato 1 files."),
                           QStringLiteral("Copia su floppy disk"), Icona::Informazione);
}

void Trasmis::invia()
{
    if (m_c.dialoghi.messaggio(QStringLiteral("Attivazione collegamento con Internet") + CRLF
                                   + QStringLiteral("Procedere solo dopo aver aperto la connessione ") + CRLF
                                   + QStringLiteral("con il vostro Provider"),
                               QStringLiteral("Trasmissione dati"), Icona::Informazione, Pulsanti::OkAnnulla)
        != Risposta::Ok)
        return;
    frmInet dlg(m_c, this);
    esegui(dlg);
}

} // namespace quirdal
