#include "courses/TabelleVerifica.h"

#include "courses/CatalogoCorsi.h"
#include "courses/Elenchi.h"
#include "db/CorsiDB.h"

#include <QSqlQuery>

namespace quirdal {

namespace {

QString chiave(std::initializer_list<QString> parti)
{
    QString r;
    for (const QString &p : parti)
        r += p + QChar(0x1F); // a separator no code holds
    return r;
}

std::optional<qlonglong> numero(const QVariant &v)
{
    return v.isNull() ? std::nullopt : std::optional<qlonglong>(v.toLongLong());
}

// A band "MinOre <= ore AND MaxOre >= ore": a missing bound matches nothing, as in SQL.
bool nellaBanda(const std::optional<qlonglong> &min, const std::optional<qlonglong> &max, qlonglong ore)
{
    return min && max && *min <= ore && *max >= ore;
}

} // namespace

LineeAmmesse TabelleVerifica::linee(const QString &azione, const QString &tipologia)
{
    const QString k = chiave({azione, tipologia});
    auto it = m_linee.constFind(k);
    if (it == m_linee.cend()) {
        ++m_letture;
        it = m_linee.insert(k, lineeAmmesse(m_db, azione, tipologia));
    }
    return *it;
}

Massimali TabelleVerifica::massimali(const QString &asse, const QString &misura, const QString &azione, const QString &tipologia,
                                     qlonglong oreA1, qlonglong allieviA1)
{
    const QString k = chiave({asse, misura, azione, tipologia});
    auto it = m_massimali.constFind(k);
    if (it == m_massimali.cend()) {
        ++m_letture;
        QList<RigaMassimali> righe;
        QSqlQuery q = m_db.seleziona(sql::corsi::kMassimaliBande, {asse, misura, azione, tipologia});
        while (q.next())
            righe.append({massimaliDaRiga(q), numero(q.value(5)), numero(q.value(6))});
        it = m_massimali.insert(k, righe);
    }
    QList<Massimali> banda;
    for (const RigaMassimali &r : *it)
        if (nellaBanda(r.minOre, r.maxOre, oreA1))
            banda.append(r.m);
    return sceltaMassimali(banda, allieviA1);
}

std::optional<qlonglong> TabelleVerifica::oreMassime(const QString &azione, const QString &tipologia)
{
    const QString k = chiave({azione, tipologia});
    auto it = m_oreMassime.constFind(k);
    if (it == m_oreMassime.cend()) {
        ++m_letture;
        it = m_oreMassime.insert(k, oreMassimeAzione(m_db, azione, tipologia));
    }
    return *it;
}

std::optional<EsitoVerifica> TabelleVerifica::oreTotali(const QString &azione, const QString &tipologia,
                                                        const QString &situazione, int durataAnni, qlonglong ore)
{
    const QString k = chiave({azione, tipologia, situazione, QString::number(durataAnni)});
    auto it = m_oreTotali.constFind(k);
    if (it == m_oreTotali.cend()) {
        ++m_letture;
        it = m_oreTotali.insert(k, intervalloOreTotali(m_db, azione, tipologia, situazione, durataAnni));
    }
    return regolaOreTotali(*it, ore);
}

std::optional<EsitoVerifica> TabelleVerifica::oreStage(const QString &azione, const QString &situazione, qlonglong oreTotali,
                                                       qlonglong oreStage)
{
    const QString k = chiave({azione, situazione});
    auto it = m_stage.constFind(k);
    if (it == m_stage.cend()) {
        ++m_letture;
        QList<RigaStage> righe;
        QSqlQuery q = m_db.seleziona(sql::corsi::kOreStageBande, {azione, situazione});
        while (q.next())
            righe.append({q.value(0), q.value(1), q.value(2), q.value(3), numero(q.value(4)), numero(q.value(5))});
        it = m_stage.insert(k, righe);
    }
    for (const RigaStage &r : *it)
        if (nellaBanda(r.minOre, r.maxOre, oreTotali))
            return regolaOreStage(r.minPerc, r.maxPerc, r.minAss, r.maxAss, oreTotali, oreStage);
    return std::nullopt;
}

bool TabelleVerifica::obbligoIstituto(const QString &azione)
{
    auto it = m_obbligo.constFind(azione);
    if (it == m_obbligo.cend()) {
        ++m_letture;
        it = m_obbligo.insert(azione, m_db.valoreScalare(sql::corsi::kObbligoIstituto, {azione}).toInt() > 0);
    }
    return *it;
}

void TabelleVerifica::corsiLetti(const QList<CorsoDellaDomanda> &corsi)
{
    m_corsiLetti = true;
    for (const CorsoDellaDomanda &c : corsi) {
        const QString k = chiave({QString::number(c.dati.chiave.sede), c.dati.chiave.corso});
        if (c.dati.chiave.accorp == QLatin1String("0")) {
            m_principali.insert(k, c.durataAnnOre.toLongLong());
        } else if (!c.durataAnnOre.isNull()) {
            // As MAX() in SQL: Null hours count for nothing.
            const qlonglong ore = c.durataAnnOre.toLongLong();
            auto it = m_massimiAccorpati.find(k);
            if (it == m_massimiAccorpati.end())
                m_massimiAccorpati.insert(k, ore);
            else
                *it = std::max(*it, ore);
        }
    }
}

std::optional<qlonglong> TabelleVerifica::orePrincipale(const QVariantList &operatore, qlonglong sede, const QString &corso)
{
    if (m_corsiLetti) {
        const auto it = m_principali.constFind(chiave({QString::number(sede), corso}));
        return it == m_principali.cend() ? std::nullopt : std::optional<qlonglong>(*it);
    }
    ++m_letture;
    QSqlQuery q = m_db.seleziona(sql::corsi::kOrePrincipale, operatore + QVariantList{sede, corso});
    return q.next() ? std::optional<qlonglong>(q.value(0).toLongLong()) : std::nullopt;
}

std::optional<qlonglong> TabelleVerifica::oreMassimeAccorpati(const QVariantList &operatore, qlonglong sede, const QString &corso)
{
    if (m_corsiLetti) {
        const auto it = m_massimiAccorpati.constFind(chiave({QString::number(sede), corso}));
        return it == m_massimiAccorpati.cend() ? std::nullopt : std::optional<qlonglong>(*it);
    }
    ++m_letture;
    return numero(m_db.valoreScalare(sql::corsi::kOreMassimeAccorpati, operatore + QVariantList{sede, corso}));
}

} // namespace quirdal
