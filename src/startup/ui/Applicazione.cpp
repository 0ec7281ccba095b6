#include "startup/ui/Applicazione.h"

#include "common/Arresto.h"
#include "common/Errori.h"
#include "common/Piattaforma.h"
#include "common/Dialoghi.h"
#include "common/ui/Aiuto.h"
#include "common/ui/DialoghiQt.h"
#include "config/CartellaProgramma.h"
#include "config/FileIni.h"
#include "config/Impostazioni.h"
#include "config/Installazione.h"
#include "common/Sessione.h"
#include "common/ui/Confine.h"
#include "common/ui/SchermataInUso.h"
#include "db/CorsiDB.h"
#include "startup/Avvio.h"
#include "startup/ui/AvvioForm.h"
#include "startup/ui/MainForm.h"
#include "loading/ui/FrmInstOper.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace quirdal {

std::unique_ptr<QObject> installaAiuto(Contesto &c)
{
    ServiziAiuto s;
    // F1 on a screen without an "Aiuto" button: its topic, the way the buttons open theirs.
    s.apri = [&c](int argomento, QWidget *finestra) {
        protetto(c, [&] {
            if (fileAiuto(c.sessione).isEmpty())
                c.dialoghi.messaggio(QStringLiteral("File di Aiuto non presente"), QStringLiteral("Aiuto"), Icona::Informazione);
            else
                mostraAiuto(c.sessione.gFileHelp, argomento, finestra);
        });
    };
    s.leggiFinestra = [&c] { return c.utente.leggi(chiaviFP::FinestraAiuto); };
    s.scriviFinestra = [&c](const QString &v) { c.utente.scrivi(chiaviFP::FinestraAiuto, v); };
    return installaServiziAiuto(std::move(s));
}

int eseguiProgramma(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString cartella = cartellaProgramma();
    // From here on an abort leaves its report in the program folder, naming the screen.
    installaRapportoArresto(cartella, QStringLiteral("quirdal"));
    seguiSchermataInUso();
    QApplication::setApplicationName(QStringLiteral("QUIRDAL"));
    QApplication::setOrganizationName(QStringLiteral("QUIRDAL"));
    // The desktop entry's name, so the window shows the entry's icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("quirdal"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("quirdal")));
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QTranslator traduzioni;
    if (traduzioni.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduzioni);

    Sessione sessione;
    CorsiDB db;
    cFileINI ini;
    DialoghiQt dialoghi;
    Piattaforma piattaforma;
    ImpostazioniUtente utente;
    Contesto c{cartella, sessione, db, ini, dialoghi, piattaforma, utente};
    const std::unique_ptr<QObject> aiuto = installaAiuto(c);

    std::unique_ptr<MDI_Main> principale;
    int esito = 0;
    try {
        AvvioForm avvio;
        PassiAvvio passi;
        passi.cartellaModello = cartellaModello();
        // First start: the operators to fetch from the server, typed by the user.
        passi.scaricaPrimoAvvio = [](Contesto &ctx) {
            frmInstOper scarico(ctx);
            esegui(scarico);
            if (scarico.fineProgramma())
                throw FineProgramma(QStringLiteral("scarico annullato al primo avvio"));
        };
        Avvio sequenza(c, avvio, passi);
        sequenza.esegui();
        principale = avvio.prendiFinestraPrincipale();
    } catch (const FineProgramma &) {
        principale.reset();
        db.chiudi();
        return 0;
    }
    // Closing the main menu ends the program.
    esito = QApplication::exec();
    principale.reset();
    db.chiudi();
    return esito;
}

} // namespace quirdal
