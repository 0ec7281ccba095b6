// The options screen as a user meets it from the main menu: what it shows, what each
// way of leaving it stores, and when the program must start again.
#include "config/ui/FrmOpzioni.h"
#include "support/Ambiente.h"
#include "support/GuidaModali.h"

#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

const QString kRegione = u"smtp.regione-valdoria.example"_s;
const QString kInterno = u"smtp.vtz.example"_s;
const QString kRiavvio =
    u"Sono state modificate delle impostazioni di installazione.\r\nE' necessario riavviare l'applicativo."_s;

// Sottolinea, Aumenta, Cambia as "1"/"0"; a session flag counts as on only when it is -1.
QString bit(std::initializer_list<bool> v)
{
    QString r;
    for (bool b : v)
        r += b ? u'1' : u'0';
    return r;
}
QString caselle(QWidget *w)
{
    auto c = [w](const char *n) { return trova<QCheckBox>(w, QString::fromLatin1(n))->isChecked(); };
    return bit({c("ckSottolinea"), c("ckAumenta"), c("ckCambia")});
}
QString flagSessione(const Sessione &s) { return bit({s.gOptSottolinea == VERO, s.gOptAumenta == VERO, s.gOptCambia == VERO}); }

// Also records what the file dialog was opened with.
struct DialoghiConFile : FakeDialoghi {
    QStringList richieste;
    QString scegliFileDaAprire(const QString &titolo, const QString &cartella, const QString &filtro) override
    {
        richieste << titolo + u'#' + filtro;
        return FakeDialoghi::scegliFileDaAprire(titolo, cartella, filtro);
    }
};

} // namespace

class TestFrmOpzioni : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void carica_data()
    {
        // email, server null: none stored
        colonne<QString, QString, QString, QString>("tipo", "email", "server", "opzione");
        QTest::newRow("niente memorizzato") << "StandAlone" << QString() << QString() << "optServVTZ";
        QTest::newRow("Multiutenza, Regione") << "Multiutenza"
                                              << "mario@ente.it" << kRegione << "optServVTZ";
        QTest::newRow("server interno") << "StandAlone"
                                        << "mario@ente.it" << kInterno << "optServVTZINT";
        QTest::newRow("proprio server") << "Multiutenza"
                                        << ""
                                        << "mail.ente.example"
                                        << "optMioServ";
        QTest::newRow("ServerMail vuoto") << "multiutenza"
                                          << ""
                                          << ""
                                          << "optServVTZ";
    }
    void carica()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, email);
        QFETCH(QString, server);
        QFETCH(QString, opzione);
        Pronto a(tipo);
        if (!email.isNull())
            a.utente->scrivi(chiaviFP::EMail, email);
        if (!server.isNull())
            a.utente->scrivi(chiaviFP::ServerMail, server);

        frmOpzioni dlg(*a.contesto);
        const bool proprio = opzione == "optMioServ"_L1;
        QCOMPARE(dlg.windowTitle(), u"Opzioni"_s);
        QCOMPARE(trova<QRadioButton>(&dlg, "optMultiutenza")->isChecked(), tipo == "Multiutenza"_L1);
        QCOMPARE(trova<QRadioButton>(&dlg, "optLocale")->isChecked(), tipo != "Multiutenza"_L1);
        QCOMPARE(trova<QLineEdit>(&dlg, "txtDatabase")->text(), a.percorsoDb());
        QCOMPARE(trova<QLineEdit>(&dlg, "txtEMail")->text(), email.isEmpty() ? u"Indirizzo e-mail..."_s : email);
        QCOMPARE(trova<QRadioButton>(&dlg, opzione)->isChecked(), true);
        QCOMPARE(trova<QLineEdit>(&dlg, "txtMioServ")->text(), proprio ? server : QString());
        QCOMPARE(trova<QLineEdit>(&dlg, "txtMioServ")->isEnabled(), proprio);
        QCOMPARE(caselle(&dlg), u"001"_s); // what a new user gets
    }

    // Saved without a restart; the INI is not touched.
    void salvaSenzaRiavvio_data()
    {
        // azioni: widgets clicked, or "field=text" typed; memorizzata empty: no address stored
        colonne<QString, QStringList, QString, QString, QString>("memorizzata", "azioni", "flag", "email", "server");
        const QString vecchia = u"vecchio@ente.it"_s;
        QTest::newRow("sottolinea") << "" << QStringList{"ckSottolinea"} << "101"
                                    << "" << kRegione;
        QTest::newRow("grassetto") << "" << QStringList{"ckAumenta"} << "011"
                                   << "" << kRegione;
        QTest::newRow("colore") << "" << QStringList{"ckCambia"} << "000"
                                << "" << kRegione;
        QTest::newRow("email valida") << vecchia << QStringList{"txtEMail=anna.bianchi@ente.it", "optServVTZINT"} << "001"
                                      << "anna.bianchi@ente.it" << kInterno;
        QTest::newRow("email senza chiocciola")
            << vecchia << QStringList{"txtEMail=anna.ente.it", "optServVTZINT"} << "001" << vecchia << kInterno;
        QTest::newRow("email con punto finale")
            << vecchia << QStringList{"txtEMail=anna@ente.", "optServVTZINT"} << "001" << vecchia << kInterno;
        QTest::newRow("email cancellata") << vecchia << QStringList{"txtEMail=", "optServVTZINT"} << "001" << vecchia << kInterno;
        QTest::newRow("suggerimento lasciato") << "" << QStringList{"optServVTZINT"} << "001"
                                               << "" << kInterno;
    }
    void salvaSenzaRiavvio()
    {
        QFETCH(QString, memorizzata);
        QFETCH(QStringList, azioni);
        QFETCH(QString, flag);
        QFETCH(QString, email);
        QFETCH(QString, server);
        Pronto a;
        if (!memorizzata.isEmpty())
            a.utente->scrivi(chiaviFP::EMail, memorizzata);
        const QByteArray ini = a.leggi(u"QUIRDAL.INI"_s);
        frmOpzioni dlg(*a.contesto);
        mostra(dlg);
        for (const QString &z : azioni) {
            const qsizetype uguale = z.indexOf(u'=');
            if (uguale < 0)
                clicca(&dlg, z);
            else
                digita(&dlg, z.left(uguale), z.mid(uguale + 1));
        }
        clicca(&dlg, u"cmdSalva"_s);

        QCOMPARE(a.dialoghi.testiMessaggi(), QStringList());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.fineProgramma(), false);
        QCOMPARE(flagSessione(a.sessione), flag);
        frmOpzioni riaperta(*a.contesto);
        QCOMPARE(caselle(&riaperta), flag);
        QCOMPARE(a.utente->leggi(chiaviFP::EMail), email);
        QCOMPARE(a.utente->leggi(chiaviFP::ServerMail), server);
        QCOMPARE(a.leggi(u"QUIRDAL.INI"_s), ini);
        QCOMPARE(a.db.aperto(), true);
    }

    void cambioInstallazione_data()
    {
        // azione: a radio to click, "sfoglia" or "digita"; database empty: unchanged
        colonne<QString, QString, QString, QString>("tipoPrima", "azione", "tipo", "database");
        QTest::newRow("in rete") << "StandAlone"
                                 << "optMultiutenza"
                                 << "Multiutenza"
                                 << "";
        QTest::newRow("locale") << "Multiutenza"
                                << "optLocale"
                                << "StandAlone"
                                << "";
        QTest::newRow("database scelto") << "Multiutenza"
                                         << "sfoglia"
                                         << "Multiutenza"
                                         << "/dati/rete/CORSI.mdb";
        QTest::newRow("database digitato") << "StandAlone"
                                           << "digita"
                                           << "StandAlone"
                                           << "/dati/altro.mdb";
    }
    void cambioInstallazione()
    {
        QFETCH(QString, tipoPrima);
        QFETCH(QString, azione);
        QFETCH(QString, tipo);
        QFETCH(QString, database);
        Pronto a(tipoPrima);
        DialoghiConFile dialoghi;
        Contesto c{a.dir.path(), a.sessione, a.db, a.ini, dialoghi, a.piattaforma, *a.utente};
        frmOpzioni dlg(c);
        mostra(dlg);
        if (azione == "sfoglia"_L1) {
            dialoghi.file.enqueue(database);
            clicca(&dlg, u"cmdSfoglia"_s);
            QCOMPARE(dialoghi.richieste, QStringList{"Scegliere il database#Database Microsoft Access (*.mdb)|*.mdb"});
        } else if (azione == "digita"_L1) {
            digita(&dlg, u"txtDatabase"_s, database);
        } else {
            clicca(&dlg, azione);
        }
        clicca(&dlg, u"cmdSalva"_s);

        unMessaggio(dialoghi, kRiavvio, u"Salvataggio dati"_s, Icona::Informazione, Pulsanti::Ok);
        QCOMPARE(a.db.aperto(), false);
        QCOMPARE(dlg.fineProgramma(), true);
        QCOMPARE(dlg.isVisible(), false);
        QCOMPARE(a.ini.leggi(u"Installazione"_s, u"Tipo"_s), tipo);
        QCOMPARE(a.ini.leggi(u"BaseDati"_s, u"Database"_s), database.isEmpty() ? a.percorsoDb() : database);
    }

    void proprioServer_data()
    {
        colonne<QString>("vuoto");
        QTest::newRow("vuoto") << "";
        QTest::newRow("solo spazi") << "   ";
    }
    void proprioServer()
    {
        QFETCH(QString, vuoto);
        Pronto a;
        frmOpzioni dlg(*a.contesto);
        mostra(dlg);
        auto *txt = trova<QLineEdit>(&dlg, "txtMioServ");
        clicca(&dlg, u"optMioServ"_s);
        QCOMPARE(txt->isEnabled(), true);
        digita(&dlg, u"txtMioServ"_s, vuoto);
        clicca(&dlg, u"ckSottolinea"_s);
        clicca(&dlg, u"cmdSalva"_s);

        unMessaggio(a.dialoghi, u"Indicare l'indirizzo del proprio server di posta."_s, u"Salvataggio dati"_s, Icona::Critico,
                    Pulsanti::Ok);
        QCOMPARE(dlg.isVisible(), true);
        QCOMPARE(a.utente->leggi(chiaviFP::ServerMail), QString());
        QCOMPARE(a.utente->leggi(chiaviFP::OptSottolinea), QString());
        QCOMPARE(flagSessione(a.sessione), u"001"_s);

        // Corrected, the same screen saves.
        clicca(&dlg, u"optServVTZ"_s);
        QCOMPARE(txt->isEnabled(), false);
        clicca(&dlg, u"optMioServ"_s);
        digita(&dlg, u"txtMioServ"_s, u"mail.ente.example"_s);
        clicca(&dlg, u"cmdSalva"_s);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(a.utente->leggi(chiaviFP::ServerMail), u"mail.ente.example"_s);
        QCOMPARE(flagSessione(a.sessione), u"101"_s);
    }

    void annulla_data()
    {
        // modifica: the widget clicked first, empty for none
        colonne<QString, bool, bool>("modifica", "conEsc", "si");
        QTest::newRow("modifica, Si") << "ckSottolinea" << false << true;
        QTest::newRow("modifica, No") << "ckSottolinea" << false << false;
        QTest::newRow("Esc, modifica, Si") << "optServVTZINT" << true << true;
        QTest::newRow("installazione, No") << "optMultiutenza" << false << false;
        QTest::newRow("nessuna modifica") << "" << false << true;
        QTest::newRow("Esc, nessuna modifica") << "" << true << true;
    }
    void annulla()
    {
        QFETCH(QString, modifica);
        QFETCH(bool, conEsc);
        QFETCH(bool, si);
        Pronto a;
        const QByteArray ini = a.leggi(u"QUIRDAL.INI"_s);
        frmOpzioni dlg(*a.contesto);
        mostra(dlg);
        if (!modifica.isEmpty())
            clicca(&dlg, modifica);
        a.dialoghi.risposte.enqueue(si ? Risposta::Si : Risposta::No);
        if (conEsc)
            QTest::keyClick(&dlg, Qt::Key_Escape);
        else
            clicca(&dlg, u"cmdAnnulla"_s);

        const bool salvato = si && !modifica.isEmpty();
        if (modifica.isEmpty())
            QCOMPARE(a.dialoghi.testiMessaggi(), QStringList());
        else
            unMessaggio(a.dialoghi, u"Salvare le modifiche effettuate?"_s, u"Salvataggio"_s, Icona::Domanda, Pulsanti::SiNo);
        QCOMPARE(dlg.isVisible(), false);
        QCOMPARE(dlg.fineProgramma(), false);
        QCOMPARE(dlg.result(), int(salvato ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(a.utente->leggi(chiaviFP::ServerMail).isEmpty(), !salvato); // every save writes it
        QCOMPARE(flagSessione(a.sessione), salvato && modifica == "ckSottolinea"_L1 ? "101" : "001");
        QCOMPARE(a.leggi(u"QUIRDAL.INI"_s), ini);
    }
};

QTEST_MAIN(TestFrmOpzioni)
#include "tst_frmopzioni.moc"
