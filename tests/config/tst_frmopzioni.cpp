// The options screen as a user meets it from the main menu: what it shows, what each
// way of leaving it stores, and when the program must start again.
#include "config/ui/FrmOpzioni.h"
#include "support/Ambiente.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace quirdal;
using namespace quirdal::test;

namespace {

const QString kRegione = QStringLiteral("smtp.regione-valdoria.example");
const QString kInterno = QStringLiteral("smtp.vtz.example");
const QString kRiavvio = QStringLiteral("Sono state modificate delle impostazioni di installazione.\r\n"
                                        "E' necessario riavviare l'applicativo.");

template <typename T = QWidget> T *trova(QWidget *w, const QString &nome)
{
    T *f = w->findChild<T *>(nome);
    if (!f)
        qFatal("widget %s non trovato", qPrintable(nome));
    return f;
}
// Check boxes and radios on their box: beside the label a click does nothing.
void clicca(QWidget *w, const QString &nome)
{
    QWidget *b = trova(w, nome);
    const bool casella = qobject_cast<QCheckBox *>(b) || qobject_cast<QRadioButton *>(b);
    QTest::mouseClick(b, Qt::LeftButton, {}, casella ? QPoint(b->height() / 2, b->height() / 2) : QPoint());
}
void digita(QWidget *w, const QString &nome, const QString &testo)
{
    auto *t = trova<QLineEdit>(w, nome);
    QTest::keyClick(t, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(t, Qt::Key_Delete);
    QTest::keyClicks(t, testo);
}
void mostra(QDialog &d)
{
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
}
void unMessaggio(const FakeDialoghi &d, const QString &testo, const QString &titolo, Icona icona,
                 Pulsanti pulsanti = Pulsanti::Ok)
{
    QCOMPARE(d.testiMessaggi(), QStringList{testo});
    QCOMPARE(d.messaggi.first().titolo, titolo);
    QCOMPARE(d.messaggi.first().icona, icona);
    QCOMPARE(d.messaggi.first().pulsanti, pulsanti);
}
QByteArray fileIni(Ambiente &a)
{
    QFile f(a.percorso(QStringLiteral("QUIRDAL.INI")));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
// Sottolinea, Aumenta, Cambia as "1"/"0"; a session flag counts as on only when it is -1.
QString bit(std::initializer_list<bool> v)
{
    QString r;
    for (bool b : v)
        r += QLatin1Char(b ? '1' : '0');
    return r;
}
QString caselle(QWidget *w)
{
    return bit({trova<QCheckBox>(w, "ckSottolinea")->isChecked(), trova<QCheckBox>(w, "ckAumenta")->isChecked(),
                trova<QCheckBox>(w, "ckCambia")->isChecked()});
}
QString flagSessione(const Sessione &s)
{
    return bit({s.gOptSottolinea == VERO, s.gOptAumenta == VERO, s.gOptCambia == VERO});
}

// Also records what the file dialog was opened with.
struct DialoghiConFile : FakeDialoghi {
    QStringList richieste;
    QString scegliFileDaAprire(const QString &titolo, const QString &cartella, const QString &filtro) override
    {
        richieste << titolo + QLatin1Char('#') + filtro;
        return FakeDialoghi::scegliFileDaAprire(titolo, cartella, filtro);
    }
};

} // namespace

class TestFrmOpzioni : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void carica_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("email");  // null: none stored
        QTest::addColumn<QString>("server"); // null: none stored
        QTest::addColumn<QString>("opzione");
        QTest::newRow("niente memorizzato") << "StandAlone" << QString() << QString() << "optServVTZ";
        QTest::newRow("Multiutenza, Regione") << "Multiutenza" << "mario@ente.it" << kRegione << "optServVTZ";
        QTest::newRow("server interno") << "StandAlone" << "mario@ente.it" << kInterno << "optServVTZINT";
        QTest::newRow("proprio server") << "Multiutenza" << "" << "mail.ente.example" << "optMioServ";
        QTest::newRow("ServerMail vuoto") << "multiutenza" << "" << "" << "optServVTZ";
    }
    void carica()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, email);
        QFETCH(QString, server);
        QFETCH(QString, opzione);
        Ambiente a;
        a.pronto(tipo);
        if (!email.isNull())
            a.utente->scrivi(chiaviFP::EMail, email);
        if (!server.isNull())
            a.utente->scrivi(chiaviFP::ServerMail, server);

        frmOpzioni dlg(*a.contesto);
        const bool proprio = opzione == QLatin1String("optMioServ");
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Opzioni"));
        QCOMPARE(trova<QRadioButton>(&dlg, "optMultiutenza")->isChecked(), tipo == QLatin1String("Multiutenza"));
        QCOMPARE(trova<QRadioButton>(&dlg, "optLocale")->isChecked(), tipo != QLatin1String("Multiutenza"));
        QCOMPARE(trova<QLineEdit>(&dlg, "txtDatabase")->text(), a.percorsoDb());
        QCOMPARE(trova<QLineEdit>(&dlg, "txtEMail")->text(), email.isEmpty() ? QStringLiteral("Indirizzo e-mail...") : email);
        QCOMPARE(trova<QRadioButton>(&dlg, opzione)->isChecked(), true);
        QCOMPARE(trova<QLineEdit>(&dlg, "txtMioServ")->text(), proprio ? server : QString());
        QCOMPARE(trova<QLineEdit>(&dlg, "txtMioServ")->isEnabled(), proprio);
        QCOMPARE(caselle(&dlg), QStringLiteral("001")); // what a new user gets
    }

    void soloAccessibilita_data()
    {
        QTest::addColumn<QString>("casella");
        QTest::addColumn<QString>("attese");
        QTest::newRow("sottolinea") << "ckSottolinea" << "101";
        QTest::newRow("grassetto") << "ckAumenta" << "011";
        QTest::newRow("colore") << "ckCambia" << "000";
    }
    void soloAccessibilita()
    {
        QFETCH(QString, casella);
        QFETCH(QString, attese);
        Ambiente a;
        a.pronto();
        const QByteArray ini = fileIni(a);
        frmOpzioni dlg(*a.contesto);
        mostra(dlg);
        clicca(&dlg, casella);
        clicca(&dlg, QStringLiteral("cmdSalva"));

        QCOMPARE(a.dialoghi.testiMessaggi(), QStringList());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.fineProgramma(), false);
        QCOMPARE(flagSessione(a.sessione), attese);
        frmOpzioni riaperta(*a.contesto);
        QCOMPARE(caselle(&riaperta), attese);
        QCOMPARE(a.utente->leggi(chiaviFP::ServerMail), kRegione);
        QCOMPARE(fileIni(a), ini);
        QCOMPARE(a.db.aperto(), true);
    }

    void cambioInstallazione_data()
    {
        QTest::addColumn<QString>("tipoPrima");
        QTest::addColumn<QString>("azione"); // a radio to click, "sfoglia" or "digita"
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("database"); // empty: unchanged
        QTest::newRow("in rete") << "StandAlone" << "optMultiutenza" << "Multiutenza" << "";
        QTest::newRow("locale") << "Multiutenza" << "optLocale" << "StandAlone" << "";
        QTest::newRow("database scelto") << "Multiutenza" << "sfoglia" << "Multiutenza" << "/dati/rete/CORSI.mdb";
        QTest::newRow("database digitato") << "StandAlone" << "digita" << "StandAlone" << "/dati/altro.mdb";
    }
    void cambioInstallazione()
    {
        QFETCH(QString, tipoPrima);
        QFETCH(QString, azione);
        QFETCH(QString, tipo);
        QFETCH(QString, database);
        Ambiente a;
        a.pronto(tipoPrima);
        DialoghiConFile dialoghi;
        Contesto c{a.dir.path(), a.sessione, a.db, a.ini, dialoghi, a.piattaforma, *a.utente};
        frmOpzioni dlg(c);
        mostra(dlg);
        if (azione == QLatin1String("sfoglia")) {
            dialoghi.file.enqueue(database);
            clicca(&dlg, QStringLiteral("cmdSfoglia"));
            QCOMPARE(dialoghi.richieste, QStringList{"Scegliere il database#Database Microsoft Access (*.mdb)|*.mdb"});
        } else if (azione == QLatin1String("digita")) {
            digita(&dlg, QStringLiteral("txtDatabase"), database);
        } else {
            clicca(&dlg, azione);
        }
        clicca(&dlg, QStringLiteral("cmdSalva"));

        unMessaggio(dialoghi, kRiavvio, QStringLiteral("Salvataggio dati"), Icona::Informazione);
        QCOMPARE(a.db.aperto(), false);
        QCOMPARE(dlg.fineProgramma(), true);
        QCOMPARE(dlg.isVisible(), false);
        QCOMPARE(a.ini.leggi(QStringLiteral("Installazione"), QStringLiteral("Tipo")), tipo);
        QCOMPARE(a.ini.leggi(QStringLiteral("BaseDati"), QStringLiteral("Database")),
                 database.isEmpty() ? a.percorsoDb() : database);
    }

    void email_data()
    {
        QTest::addColumn<QString>("memorizzata"); // empty: none
        QTest::addColumn<QString>("digitata");    // null: field left as shown
        QTest::addColumn<QString>("attesa");
        QTest::newRow("valida") << "vecchio@ente.it" << "anna.bianchi@ente.it" << "anna.bianchi@ente.it";
        QTest::newRow("senza chiocciola") << "vecchio@ente.it" << "anna.ente.it" << "vecchio@ente.it";
        QTest::newRow("punto finale") << "vecchio@ente.it" << "anna@ente." << "vecchio@ente.it";
        QTest::newRow("cancellata") << "vecchio@ente.it" << "" << "vecchio@ente.it";
        QTest::newRow("suggerimento lasciato") << "" << QString() << "";
    }
    void email()
    {
        QFETCH(QString, memorizzata);
        QFETCH(QString, digitata);
        QFETCH(QString, attesa);
        Ambiente a;
        a.pronto();
        if (!memorizzata.isEmpty())
            a.utente->scrivi(chiaviFP::EMail, memorizzata);
        frmOpzioni dlg(*a.contesto);
        mostra(dlg);
        if (!digitata.isNull())
            digita(&dlg, QStringLiteral("txtEMail"), digitata);
        clicca(&dlg, QStringLiteral("optServVTZINT"));
        clicca(&dlg, QStringLiteral("cmdSalva"));

        QCOMPARE(a.dialoghi.testiMessaggi(), QStringList());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(a.utente->leggi(chiaviFP::EMail), attesa);
        QCOMPARE(a.utente->leggi(chiaviFP::ServerMail), kInterno);
    }

    void proprioServer_data()
    {
        QTest::addColumn<QString>("vuoto");
        QTest::newRow("vuoto") << "";
        QTest::newRow("solo spazi") << "   ";
    }
    void proprioServer()
    {
        QFETCH(QString, vuoto);
        Ambiente a;
        a.pronto();
        frmOpzioni dlg(*a.contesto);
        mostra(dlg);
        auto *txt = trova<QLineEdit>(&dlg, "txtMioServ");
        clicca(&dlg, QStringLiteral("optMioServ"));
        QCOMPARE(txt->isEnabled(), true);
        digita(&dlg, QStringLiteral("txtMioServ"), vuoto);
        clicca(&dlg, QStringLiteral("ckSottolinea"));
        clicca(&dlg, QStringLiteral("cmdSalva"));

        unMessaggio(a.dialoghi, QStringLiteral("Indicare l'indirizzo del proprio server di posta."),
                    QStringLiteral("Salvataggio dati"), Icona::Critico);
        QCOMPARE(dlg.isVisible(), true);
        QCOMPARE(a.utente->leggi(chiaviFP::ServerMail), QString());
        QCOMPARE(a.utente->leggi(chiaviFP::OptSottolinea), QString());
        QCOMPARE(flagSessione(a.sessione), QStringLiteral("001"));

        clicca(&dlg, QStringLiteral("optServVTZ"));
        QCOMPARE(txt->isEnabled(), false);
        clicca(&dlg, QStringLiteral("optMioServ"));
        digita(&dlg, QStringLiteral("txtMioServ"), QStringLiteral("mail.ente.example"));
        clicca(&dlg, QStringLiteral("cmdSalva"));
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(a.utente->leggi(chiaviFP::ServerMail), QStringLiteral("mail.ente.example"));
        QCOMPARE(flagSessione(a.sessione), QStringLiteral("101"));
    }

    void annulla_data()
    {
        QTest::addColumn<QString>("modifica"); // widget clicked first; empty: none
        QTest::addColumn<bool>("conEsc");
        QTest::addColumn<bool>("si");
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
        Ambiente a;
        a.pronto();
        const QByteArray ini = fileIni(a);
        frmOpzioni dlg(*a.contesto);
        mostra(dlg);
        if (!modifica.isEmpty())
            clicca(&dlg, modifica);
        a.dialoghi.risposte.enqueue(si ? Risposta::Si : Risposta::No);
        if (conEsc)
            QTest::keyClick(&dlg, Qt::Key_Escape);
        else
            clicca(&dlg, QStringLiteral("cmdAnnulla"));

        const bool salvato = si && !modifica.isEmpty();
        if (modifica.isEmpty())
            QCOMPARE(a.dialoghi.testiMessaggi(), QStringList());
        else
            unMessaggio(a.dialoghi, QStringLiteral("Salvare le modifiche effettuate?"), QStringLiteral("Salvataggio"),
                        Icona::Domanda, Pulsanti::SiNo);
        QCOMPARE(dlg.isVisible(), false);
        QCOMPARE(dlg.fineProgramma(), false);
        QCOMPARE(dlg.result(), int(salvato ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(a.utente->leggi(chiaviFP::ServerMail).isEmpty(), !salvato); // every save writes it
        QCOMPARE(flagSessione(a.sessione), salvato && modifica == QLatin1String("ckSottolinea") ? "101" : "001");
        QCOMPARE(fileIni(a), ini);
    }
};

QTEST_MAIN(TestFrmOpzioni)
#include "tst_frmopzioni.moc"
