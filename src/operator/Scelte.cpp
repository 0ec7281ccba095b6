#include "operator/Scelte.h"

#include "common/Contesto.h"
#include "common/Generale.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "db/CorsiDB.h"
#include "operator/CatalogoOperatore.h"

#include <QSqlQuery>

namespace quirdal {

namespace {

ElencoScelta leggi(Contesto &c, const QStringList &intestazioni, const Istruzione &istruzione, const QVariantList &parametri = {})
{
    ElencoScelta e{intestazioni, {}};
    QSqlQuery q = c.db.seleziona(istruzione, parametri);
    while (q.next()) {
        QStringList riga;
        for (int i = 0; i < intestazioni.size(); ++i)
            riga << q.value(i).toString();
        e.righe << riga;
    }
    return e;
}

// The site-list layout: a text cut to its width, "." marking a cut, blanks to the column.
QString colonna(const QString &testo, int larghezza, int taglio)
{
    return riempi(testo.left(taglio) + segnoTroncato(testo, taglio), larghezza, QStringLiteral("sx"));
}

const QString kOccasionale = QStringLiteral("(SEDE OCCASIONALE)");

} // namespace

ElencoScelta elencoComuni(Contesto &c, const QString &prov)
{
    const QStringList intestazioni = {QStringLiteral("Cod. Istat"), QStringLiteral("Denominazione"), QStringLiteral("Prov"),
                                      QStringLiteral("C.A.P.")};
    if (prov.isEmpty())
        return leggi(c, intestazioni, sql::operatore::kComuni);
    return leggi(c, intestazioni, sql::operatore::kComuniProvincia, {prov});
}

ElencoScelta elencoStati(Contesto &c)
{
    return leggi(c, {QStringLiteral("Codice"), QStringLiteral("Denominazione")}, sql::operatore::kStatiEsteri);
}

ElencoScelta elencoIstituti(Contesto &c)
{
    return leggi(c, {QStringLiteral("Cod. Istituto"), QStringLiteral("Denominazione")}, sql::operatore::kIstituti);
}

int cercaDopo(const QStringList &valori, int corrente, const QString &testo, bool contiene)
{
    const QString t = testo.trimmed();
    if (t.isEmpty())
        return -1;
    for (int i = std::max(corrente + 1, 0); i < valori.size(); ++i) {
        const bool trovato = contiene ? valori[i].contains(t, Qt::CaseInsensitive) : valori[i].startsWith(t, Qt::CaseInsensitive);
        if (trovato)
            return i;
    }
    return -1;
}

QStringList vociSediProvincia(Contesto &c)
{
    QStringList voci;
    const QVariantList chiave = c.sessione.chiaveDomanda();
    QSqlQuery q = c.db.seleziona(sql::operatore::kVociComponentiProvincia, chiave);
    // Components and occasional sites alike: code, name, type, the whole address.
    auto voce = [](const QSqlQuery &r) {
        return riempi(r.value(0).toString(), 5, QStringLiteral("sx")) + QStringLiteral(" - ")
            + colonna(r.value(1).toString(), 21, 20) + QStringLiteral(" - ") + r.value(2).toString() + QStringLiteral(" - ")
            + r.value(3).toString();
    };
    while (q.next())
        voci << voce(q);
    q = c.db.seleziona(sql::operatore::kVociSediOccasionaliProvincia, chiave);
    while (q.next())
        voci << voce(q) + QStringLiteral("   ") + kOccasionale;
    return voci;
}

SedeVoce leggiVoceSede(const QString &voce)
{
    const qsizetype trattino = voce.indexOf(QStringLiteral(" - "));
    return {(trattino < 0 ? voce : voce.left(trattino)).trimmed(), voce.right(kOccasionale.size()) == kOccasionale};
}

QStringList vociComponentiProvincia(Contesto &c)
{
    QStringList voci;
    QSqlQuery q = c.db.seleziona(sql::operatore::kVociComponentiProvincia, c.sessione.chiaveDomanda());
    while (q.next())
        voci << q.value(0).toString() + QStringLiteral(" - ") + q.value(1).toString() + QStringLiteral(" - ")
                + q.value(2).toString() + QStringLiteral(" - ") + q.value(3).toString();
    return voci;
}

QString senzaCancelletto(const QString &testo)
{
    // A typed or pasted control character would otherwise be stored and sent.
    QString r = senzaCaratteriDiControllo(testo);
    return r.replace(QLatin1Char('#'), QStringLiteral("SHARP"));
}

} // namespace quirdal
