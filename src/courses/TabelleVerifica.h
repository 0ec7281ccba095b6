#pragma once
// The lookups of the call that a course's rules read (admitted cost lines, caps, hour ranges,
// the institute requirement), read from the database once per action and type and then kept:
// checking every course of an application reads each of them once, not once a course; and
// the annual hours of a course's main or merged courses, from the database or, once the
// application's courses are read all together, from them. One object lives as long as one
// check of one or many courses; the tables do not change meanwhile.
#include "common/Verifica.h"
#include "courses/Corso.h"
#include "courses/Spese.h"

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

namespace quirdal {

class CorsiDB;

class TabelleVerifica {
public:
    explicit TabelleVerifica(CorsiDB &db) : m_db(db) { }
    TabelleVerifica(const TabelleVerifica &) = delete;
    TabelleVerifica &operator=(const TabelleVerifica &) = delete;

    CorsiDB &db() { return m_db; }

    // As lineeAmmesse, massimaliAnno, oreMassimeAzione, regolaOreTotali, regolaOreStage and
    // the institute rule read them, with the same results.
    LineeAmmesse linee(const QString &azione, const QString &tipologia);
    Massimali massimali(const QString &asse, const QString &misura, const QString &azione, const QString &tipologia,
                        qlonglong oreA1, qlonglong allieviA1);
    std::optional<qlonglong> oreMassime(const QString &azione, const QString &tipologia);
    std::optional<EsitoVerifica> oreTotali(const QString &azione, const QString &tipologia, const QString &situazione,
                                           int durataAnni, qlonglong oreTotali);
    std::optional<EsitoVerifica> oreStage(const QString &azione, const QString &situazione, qlonglong oreTotali,
                                          qlonglong oreStage);
    bool obbligoIstituto(const QString &azione);

    // The courses of the application, read all together (caricaCorsiDomanda): the hours below
    // come from them, for every site they hold, with no statement of their own.
    void corsiLetti(const QList<CorsoDellaDomanda> &corsi);
    // The annual hours of the site's main course of that code (Null hours: 0); nothing when it
    // has none.
    std::optional<qlonglong> orePrincipale(const QVariantList &operatore, qlonglong sede, const QString &corso);
    // The highest annual hours of its merged courses; nothing when none has hours.
    std::optional<qlonglong> oreMassimeAccorpati(const QVariantList &operatore, qlonglong sede, const QString &corso);

    // How many times the database was read, for the benchmark and the tests.
    int letture() const { return m_letture; }

    // A caps row with the band of hours it covers.
    struct RigaMassimali {
        Massimali m;
        std::optional<qlonglong> minOre, maxOre;
    };
    // A stage range with its band of total hours: shares of the total or hours.
    struct RigaStage {
        QVariant minPerc, maxPerc, minAss, maxAss;
        std::optional<qlonglong> minOre, maxOre;
    };

private:
    CorsiDB &m_db;
    int m_letture = 0;
    QHash<QString, LineeAmmesse> m_linee;
    QHash<QString, QList<RigaMassimali>> m_massimali;
    QHash<QString, std::optional<qlonglong>> m_oreMassime;
    QHash<QString, std::optional<std::pair<qlonglong, qlonglong>>> m_oreTotali;
    QHash<QString, QList<RigaStage>> m_stage;
    QHash<QString, bool> m_obbligo;
    bool m_corsiLetti = false;
    QHash<QString, qlonglong> m_principali, m_massimiAccorpati;
};

} // namespace quirdal
