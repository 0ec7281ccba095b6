// The transmission file as a whole: the formats of its values, its name, the writers run in
// order over one consistent reading of the database, the file written under a temporary
// name and renamed when complete. The records themselves are in RecordTrasm.cpp.
#include "transmission/CreaFileTrasm.h"
#include "transmission/RecordTrasm.h"

#include "common/Codifica.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"
#include "common/Importo.h"
#include "common/Piattaforma.h"
#include "common/Sessione.h"
#include "common/Testo.h"
#include "db/CatalogoDb.h"
#include "db/CorsiDB.h"
#include "transmission/CatalogoTrasmissione.h"
#include "transmission/Invii.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <functional>

namespace quirdal {

QString SiNo(const QVariant &v)
{
    if (v.isNull())
        return QStringLiteral("N");
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (ok)
        return d != 0 ? QStringLiteral("S") : QStringLiteral("N");
    return v.toBool() ? QStringLiteral("S") : QStringLiteral("N");
}

QString PuntoDecimale(const QString &testo)
{
    QString r = testo;
    const int i = static_cast<int>(r.indexOf(QLatin1Char(',')));
    if (i >= 0 && i < r.size() - 1)
        r[i] = QLatin1Char('.');
    return r;
}

QString importo(const QVariant &v) { return v.isNull() ? QString() : Importo::daValore(v).perTrasmissione(); }

QString valoreTrasmissione(const QVariant &v)
{
    if (v.isNull())
        return {};
    QString t;
    switch (v.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
        return QString::number(v.toLongLong());
    case QMetaType::Double: {
        const double d = v.toDouble();
        return d == std::floor(d) && std::fabs(d) < 1e15 ? QString::number(static_cast<qlonglong>(d))
                                                         : QString::number(d, 'g', 15);
    }
    default:
        t = v.toString();
    }
    return testoTrasmissione(t);
}

QString testoTrasmissione(const QString &testo)
{
    const auto daCambiare = [](QChar c) { return c == u'#' || c == u'\r' || c == u'\n' || carattereDiControllo(c.unicode()); };
    if (std::none_of(testo.cbegin(), testo.cend(), daCambiare))
        return testo;
    QString t = testo;
    t.replace(QLatin1Char('#'), QStringLiteral("SHARP"));
    t.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    t.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    // Whatever a restore or an older version left in the database: the file never
    // carries a control character.
    return senzaCaratteriDiControllo(t);
}

using namespace trasm;

namespace {

QString testoErrore(long numero, const QString &descrizione)
{
    return QStringLiteral("Errore ") + QString::number(numero) + QStringLiteral(" --> ") + descrizione + CRLF
        + QStringLiteral("durante la creazione del file di trasmissione con i dati della domanda");
}

} // namespace

QString mCreaFileTrasm::NomeFile(const QString &prov, const QString &grupOpe, const QString &operatore)
{
    const QVariantList chiave{grupOpe, operatore.toLongLong(), prov};
    const QVariant n = m_c.db.valoreScalare(sql::trasmissione::kNumDomaDomanda, chiave);
    if (n.isNull() && !m_c.db.valoreScalare(sql::trasmissione::kDomandaPresente, chiave).toInt())
        return {};
    m_numDoma = n.toString().trimmed();
    // The name goes into a path and is the first line of the upload: cleaned as every
    // value, and nothing in it may reach another folder.
    QString nome = valoreTrasmissione(QStringLiteral("QUIRDAL_") + prov + QLatin1Char('_') + m_numDoma + QLatin1Char('.')
                                      + grupOpe + operatore);
    for (QChar &ch : nome)
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F || QStringLiteral("/\\:*?\"<>|").contains(ch))
            ch = QLatin1Char('_');
    return nome;
}

bool mCreaFileTrasm::scrivi(Stato &s, const QString &prov, const QString &grupOpe, const QString &operatore)
{
    s.prov = prov;
    s.g = grupOpe;
    s.o = QString::number(operatore.toLongLong());
    s.numDoma = m_numDoma;
    s.sigProv = m_c.db.valoreScalare(sql::db::kSigProvProvincia, {prov}).toString();
    // A locked application is written as its final form fixed it, whatever the day and the
    // address typed to send it; a date given explicitly asks for that date.
    QDate data = m_dataFissa;
    s.email = m_email.value_or(m_c.sessione.gEmail);
    if (!data.isValid()) {
        if (const auto definitivo = fileDefinitivo(m_c.db, prov, grupOpe, operatore)) {
            data = definitivo->data;
            s.email = definitivo->email;
        }
    }
    s.data = (data.isValid() ? data : m_c.piattaforma.oggi()).toString(QStringLiteral("yyyyMMdd"));

    const QList<std::pair<const char *, std::function<bool(const Corsi &)>>> scrittori = {
        {"ScriviRec_Z", [&](const Corsi &) { return ScriviRec_Z(s); }},
        {"ScriviRec_A", [&](const Corsi &) { return ScriviRec_A(s); }},
        {"ScriviRec_B", [&](const Corsi &) { return ScriviRec_B(s); }},
        {"ScriviRec_C", [&](const Corsi &) { return ScriviRec_C(s); }},
        {"ScriviRec_E", [&](const Corsi &c) { return ScriviRec_E(s, c); }},
        {"ScriviRec_F", [&](const Corsi &c) { return ScriviRec_F(s, c); }},
        {"ScriviRec_G", [&](const Corsi &c) { return ScriviRec_G(s, c); }},
        {"ScriviRec_L", [&](const Corsi &) { return ScriviRec_L(s); }},
        {"ScriviRec_M", [&](const Corsi &) { return ScriviRec_M(s); }},
        {"ScriviRec_N", [&](const Corsi &c) { return ScriviRec_N(s, c); }},
    };
    // Every record is read from one state of the file, whatever other workstations
    // write meanwhile: the file is a consistent snapshot of the application.
    const Lettura lettura(m_c.db);
    Corsi corsi;
    bool corsiLetti = false;
    for (const auto &[nome, scrittore] : scrittori) {
        try {
            if (!corsiLetti && QByteArray(nome) == "ScriviRec_E") {
                corsi = corsiDellaProvincia(s);
                corsiLetti = true;
            }
            if (!scrittore(corsi))
                return false;
        } catch (const Errore &e) {
            s.errNumero = e.numero();
            s.errDescrizione = e.descrizione();
            m_c.dialoghi.messaggio(testoErrore(e.numero(), e.descrizione()),
                                   QStringLiteral("Creazione file di trasmissione - ") + QString::fromLatin1(nome),
                                   Icona::Critico);
            return false;
        }
    }
    s.dati += "#Z#,#EOF#\r\n";
    return true;
}

QByteArray mCreaFileTrasm::Contenuto(const QString &prov, const QString &grupOpe, const QString &operatore)
{
    m_nomeFile.clear();
    QString nome;
    try {
        nome = NomeFile(prov, grupOpe, operatore);
    } catch (const Errore &e) {
        m_c.dialoghi.messaggio(testoErrore(e.numero(), e.descrizione()),
                               QStringLiteral("Creazione file di trasmissione - NomeFile"), Icona::Critico);
        return {};
    }
    if (nome.isEmpty())
        return {};
    Stato s(m_c);
    if (!scrivi(s, prov, grupOpe, operatore)) {
        m_c.dialoghi.messaggio(testoErrore(s.errNumero, s.errDescrizione),
                               QStringLiteral("Creazione file di trasmissione - Nomina_e_Crea"), Icona::Critico);
        return {};
    }
    m_nomeFile = nome;
    return s.dati;
}

QString mCreaFileTrasm::Nomina_e_Crea(const QString &prov, const QString &grupOpe, const QString &operatore)
{
    QString nome;
    try {
        nome = NomeFile(prov, grupOpe, operatore);
    } catch (const Errore &e) {
        m_c.dialoghi.messaggio(testoErrore(e.numero(), e.descrizione()),
                               QStringLiteral("Creazione file di trasmissione - NomeFile"), Icona::Critico);
        return {};
    }
    if (nome.isEmpty())
        return {};
    const QString percorso = QDir(m_c.cartellaProgramma).filePath(nome);
    Stato s(m_c);
    bool ok = scrivi(s, prov, grupOpe, operatore);
    if (ok) {
        // Written to a temporary name and renamed when complete.
        QSaveFile f(percorso);
        ok = f.open(QIODevice::WriteOnly) && f.write(s.dati) == s.dati.size() && f.commit();
        if (!ok) {
            s.errNumero = 75;
            s.errDescrizione = QStringLiteral("Impossibile scrivere il file ") + QDir::toNativeSeparators(percorso);
        }
    }
    if (!ok) {
        m_c.dialoghi.messaggio(testoErrore(s.errNumero, s.errDescrizione),
                               QStringLiteral("Creazione file di trasmissione - Nomina_e_Crea"), Icona::Critico);
        // An older file of this name must not be sent in place of the one that failed.
        QFile::remove(percorso);
        return {};
    }
    return nome;
}

bool mCreaFileTrasm::CreaFile(const QString &prov, const QString &grupOpe, const QString &operatore)
{
    m_nomeFile = Nomina_e_Crea(prov, grupOpe, operatore);
    return !m_nomeFile.isEmpty();
}

} // namespace quirdal
