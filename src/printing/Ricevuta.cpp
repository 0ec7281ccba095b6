#include "printing/Ricevuta.h"

#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Piattaforma.h"
#include "db/CorsiDB.h"
#include "printing/CatalogoStampa.h"
#include "printing/CreaPDF.h"
#include "printing/Modello.h"
#include "transmission/ServiziRegione.h"

#include <QFileInfo>
#include <QLocale>

namespace quirdal {

namespace {

const QString kTitoloRicevuta = QStringLiteral("Ricevuta di trasmissione");

// What the receipt says of the final form: whether the hash printed on it is the one sent.
QString testoModulo(Contesto &c, const Invio &i)
{
    const auto definitivo = fileDefinitivo(c.db, i.prov, i.grupOpe, QString::number(i.operatore));
    if (!definitivo || definitivo->sha256.isEmpty())
        return QStringLiteral("nessuna impronta registrata per il modulo originale");
    if (definitivo->sha256.compare(i.sha256, Qt::CaseInsensitive) == 0)
        return QStringLiteral("l'impronta stampata sul modulo originale è la stessa");
    return QStringLiteral("ATTENZIONE: sul modulo originale è stampata un'altra impronta (") + definitivo->sha256
        + QLatin1Char(')');
}

} // namespace

QString scriviRicevuta(Contesto &c, const Invio &i)
{
    const QString percorso = percorsoRicevuta(c.cartellaProgramma, i);
    try {
        const QVariantList chiave{i.grupOpe, i.operatore, i.prov};
        QString desProv, sigProv, denominazione;
        if (QSqlQuery q = c.db.seleziona(sql::stampa::kIntestazione, chiave); q.next()) {
            desProv = q.value(1).toString();
            sigProv = q.value(2).toString();
            denominazione = q.value(3).toString();
        }
        const QString operatore = QString::number(i.operatore);
        Valori v;
        v.grassetto(QStringLiteral("NumDoma"), i.numDoma);
        v.testo(QStringLiteral("Prov"), desProv);
        v.testo(QStringLiteral("SigProv"), sigProv);
        v.grassetto(QStringLiteral("DenOpe"), denominazione);
        v.testo(QStringLiteral("GrupOpe"), i.grupOpe);
        v.testo(QStringLiteral("Operatore"), operatore);
        v.testo(QStringLiteral("DataOra"),
                i.dataOra.toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" ore ")
                    + i.dataOra.toString(QStringLiteral("HH:mm:ss")));
        v.testo(QStringLiteral("NomeFile"), i.nomeFile);
        v.testo(QStringLiteral("Dimensione"), QLocale(QLocale::Italian).toString(i.dimensione) + QStringLiteral(" byte"));
        v.testo(QStringLiteral("Sha256"), i.sha256);
        v.testo(QStringLiteral("Risposta"), i.risposta.trimmed());
        v.testo(QStringLiteral("Modulo"), testoModulo(c, i));
        v.testo(QStringLiteral("Copia"), kCartellaInviati + QLatin1Char('/') + i.copia);
        const PaginaCompilata p = compila(testoModello(c.cartellaProgramma, QStringLiteral("_pRicevuta.html")), v);

        clsCreaPDF pdf;
        pdf.FilePDF = percorso;
        Impaginazione imp;
        imp.tipoStampa = QStringLiteral("RICEVUTA");
        imp.titolo = kTitoloRicevuta;
        imp.intestazione = QStringLiteral("Operatore ") + i.grupOpe + QLatin1Char(' ') + operatore + QStringLiteral(" - ")
            + denominazione.left(60) + QStringLiteral(" - Provincia di ") + desProv;
        imp.autore = QStringLiteral("QUIRDAL - Operatore ") + i.grupOpe + QLatin1Char(' ') + operatore;
        imp.data = i.dataOra.date();
        imp.soggetto = QStringLiteral("Impronta SHA-256 del file di trasmissione: ") + i.sha256;
        imp.paroleChiave = QStringLiteral("SHA-256 ") + i.sha256;
        if (pdf.CreatePDF(c.dialoghi, imp, [&] { pdf.SaveTmpRTF(1, p.html); }) != clsCreaPDF::Esito::Creato)
            return {};
    } catch (const Errore &e) {
        c.dialoghi.messaggio(QStringLiteral("Errore ") + QString::number(e.numero()) + QStringLiteral(" --> ") + e.descrizione(),
                             kTitoloRicevuta, Icona::Esclamazione);
        return {};
    }
    return percorso;
}

bool apriRicevuta(Contesto &c, const Invio &i)
{
    QString percorso = percorsoRicevuta(c.cartellaProgramma, i);
    if (!QFileInfo(percorso).isFile())
        percorso = scriviRicevuta(c, i);
    return !percorso.isEmpty() && c.piattaforma.apri(percorso);
}

EsitoInvioDomanda inviaDomanda(Contesto &c, Trasferimento &t, const QString &prov, const QString &grupOpe,
                               const QString &operatore, bool apri)
{
    EsitoInvioDomanda e;
    e.trasmessa = InviaFile(c, t, prov, grupOpe, operatore, &e.invio);
    if (e.invio) {
        e.ricevuta = scriviRicevuta(c, *e.invio);
        if (apri && !e.ricevuta.isEmpty())
            c.piattaforma.apri(e.ricevuta);
    }
    return e;
}

} // namespace quirdal
