#include "cli/Comando.h"

#include <QDir>
#include <QTextStream>
#include <QTranslator>

#include <algorithm>

namespace quirdal {

namespace {

const QString kAiuto = QStringLiteral("help");

// "--nome VALORE" of an option, as the usage and the help show it.
QString forma(const QCommandLineOption &o)
{
    const QString nome = QStringLiteral("--") + o.names().constFirst();
    return o.valueName().isEmpty() ? nome : nome + QLatin1Char(' ') + o.valueName();
}

// Two columns: the names aligned, then their descriptions.
QString colonne(const QList<std::pair<QString, QString>> &righe)
{
    qsizetype larghezza = 0;
    for (const auto &[sinistra, destra] : righe)
        larghezza = std::max(larghezza, sinistra.size());
    QString t;
    for (const auto &[sinistra, destra] : righe)
        t += QStringLiteral("  ") + sinistra.leftJustified(larghezza + 2) + destra + QLatin1Char('\n');
    return t;
}

// QCommandLineParser's messages are English; these are the ones a user of this tool can
// meet (unknown options are told by erroreLettura itself, with their dashes).
class MessaggiParser : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char *contesto, const char *testo, const char *, int) const override
    {
        if (qstrcmp(contesto, "QCommandLineParser") != 0)
            return {};
        if (qstrcmp(testo, "Missing value after '%1'.") == 0)
            return QStringLiteral("manca il valore dopo %1");
        if (qstrcmp(testo, "Unexpected value after '%1'.") == 0)
            return QStringLiteral("%1 non vuole un valore");
        return {};
    }
};

} // namespace

Comando::Comando(QString nome, QString descrizione, Richiede richiede, Applicazione applicazione)
    : m_nome(std::move(nome)), m_descrizione(std::move(descrizione)), m_richiede(richiede), m_applicazione(applicazione)
{
}

void Comando::opzione(const QString &nome, const QString &valore, const QString &descrizione, Presenza presenza)
{
    m_opzioni.append({QCommandLineOption(nome, descrizione, valore), presenza});
}

void Comando::opzioniDomanda()
{
    opzione(QStringLiteral("prov"), QStringLiteral("P"), QStringLiteral("la provincia della domanda (come 001)"));
    opzione(QStringLiteral("grupope"), QStringLiteral("G"), QStringLiteral("il gruppo dell'operatore (una lettera)"));
    opzione(QStringLiteral("operatore"), QStringLiteral("N"), QStringLiteral("il numero dell'operatore"));
}

void Comando::argomento(const QString &nome, const QString &descrizione) { m_argomenti.append({nome, descrizione}); }

QString Comando::sintassi() const
{
    QStringList parti;
    for (const Argomento &a : m_argomenti)
        parti << a.nome;
    for (const Opzione &o : m_opzioni)
        parti << (o.presenza == Presenza::Obbligatoria ? forma(o.opzione)
                                                       : QLatin1Char('[') + forma(o.opzione) + QLatin1Char(']'));
    return parti.join(QLatin1Char(' '));
}

QString Comando::uso() const
{
    const QString s = sintassi();
    return QStringLiteral("uso: quirdal-cli ") + m_nome + (s.isEmpty() ? QString() : QLatin1Char(' ') + s);
}

QString Comando::aiuto() const
{
    QString t = uso() + QStringLiteral("\n\n") + m_descrizione + QLatin1Char('\n');
    if (!m_argomenti.isEmpty()) {
        QList<std::pair<QString, QString>> righe;
        for (const Argomento &a : m_argomenti)
            righe.append({a.nome, a.descrizione});
        t += QStringLiteral("\nArgomenti:\n") + colonne(righe);
    }
    QList<std::pair<QString, QString>> righe;
    for (const Opzione &o : m_opzioni)
        righe.append(
            {o.presenza == Presenza::Obbligatoria ? forma(o.opzione) : QLatin1Char('[') + forma(o.opzione) + QLatin1Char(']'),
             o.opzione.description()});
    righe.append({QStringLiteral("--help"), QStringLiteral("questo aiuto")});
    return t + QStringLiteral("\nOpzioni:\n") + colonne(righe)
        + QStringLiteral("\nLe opzioni generali (--cartella, --si, --no) vanno prima del comando: quirdal-cli --help.\n");
}

Comando::Analisi Comando::analizza(const QStringList &argomenti) const
{
    auto p = std::make_unique<QCommandLineParser>();
    // "-prov" is "--prov": there are no one-letter options to run together.
    p->setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const Opzione &o : m_opzioni)
        p->addOption(o.opzione);
    p->addOption(QCommandLineOption(kAiuto));
    // The parser skips its first item, the program's name.
    const bool letto = p->parse(QStringList{m_nome} + argomenti);
    if (letto && p->isSet(kAiuto)) {
        QTextStream(stdout) << aiuto();
        return {nullptr, kRiuscito};
    }
    if (const QString m = problema(*p, letto); !m.isEmpty())
        return {nullptr, usoErrato(*this, m)};
    return {std::move(p), kRiuscito};
}

QString Comando::problema(const QCommandLineParser &p, bool letto) const
{
    if (const QString e = erroreLettura(p, letto); !e.isEmpty())
        return e;
    QStringList mancanti;
    for (const Opzione &o : m_opzioni)
        if (o.presenza == Presenza::Obbligatoria && !p.isSet(o.opzione.names().constFirst()))
            mancanti << QStringLiteral("--") + o.opzione.names().constFirst();
    if (mancanti.size() == 1)
        return QStringLiteral("manca l'opzione ") + mancanti.constFirst();
    if (!mancanti.isEmpty())
        return QStringLiteral("mancano le opzioni ") + mancanti.join(QStringLiteral(", "));
    const QStringList posizionali = p.positionalArguments();
    if (posizionali.size() > m_argomenti.size())
        return QStringLiteral("argomento di troppo: ") + posizionali.at(m_argomenti.size());
    if (posizionali.size() < m_argomenti.size())
        return QStringLiteral("manca l'argomento ") + m_argomenti.at(posizionali.size()).nome;
    return controlla(p);
}

QString erroreLettura(const QCommandLineParser &p, bool letto)
{
    if (const QStringList ignote = p.unknownOptionNames(); !ignote.isEmpty()) {
        QStringList nomi;
        for (const QString &n : ignote)
            nomi << QStringLiteral("--") + n;
        return (nomi.size() == 1 ? QStringLiteral("opzione sconosciuta: ") : QStringLiteral("opzioni sconosciute: "))
            + nomi.join(QStringLiteral(", "));
    }
    if (!letto)
        return p.errorText();
    // No option of this tool is meant to be given twice: a second one is a mistake, not
    // a value that silently takes the place of the first.
    QStringList visti;
    for (const QString &n : p.optionNames()) {
        if (visti.contains(n))
            return QStringLiteral("opzione ripetuta: --") + n;
        visti << n;
    }
    return {};
}

int usoErrato(const Comando &c, const QString &messaggio)
{
    QTextStream(stderr) << "quirdal-cli " << c.nome() << ": " << messaggio << '\n'
                        << c.uso() << '\n'
                        << "(quirdal-cli " << c.nome() << " --help descrive il comando)\n";
    return kUsoErrato;
}

void installaMessaggiParser(QCoreApplication &app) { QCoreApplication::installTranslator(new MessaggiParser(&app)); }

QString percorsoDaRiga(const QString &p) { return QDir::isRelativePath(p) ? QDir::current().absoluteFilePath(p) : p; }

qlonglong numeroDaRiga(const QString &t)
{
    bool ok = false;
    const qlonglong n = t.trimmed().toLongLong(&ok);
    return ok && n >= 0 ? n : -1;
}

QStringList operatoreDaRiga(const QString &t)
{
    const QStringList p = t.split(QLatin1Char(':'));
    return p.size() == 2 && p[0].size() == 1 && p[1].toLongLong() > 0 ? p : QStringList();
}

} // namespace quirdal
