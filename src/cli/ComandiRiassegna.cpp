#include "cli/ComandiRiassegna.h"

#include "application/Selezione.h"
#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Sessione.h"
#include "config/SessioneIni.h"
#include "courses/Riassegnazione.h"
#include "db/CorsiDB.h"

#include <QMap>
#include <QTextStream>

namespace quirdal {

namespace {

const char *const kUso = "uso: quirdal-cli riassegna --prov P --grupope G --operatore N --da SEDE --a SEDE "
                         "--corso CCCC|TUTTI [--compo-resp C]\n";

// A whole number of the command line, -1 when the text is not one.
qlonglong numero(const QString &t)
{
    bool ok = false;
    const qlonglong n = t.trimmed().toLongLong(&ok);
    return ok && n >= 0 ? n : -1;
}

} // namespace

int comandoRiassegna(Contesto &c, const QStringList &argomenti)
{
    const QStringList ammesse{QStringLiteral("prov"), QStringLiteral("grupope"), QStringLiteral("operatore"),
                              QStringLiteral("da"),   QStringLiteral("a"),       QStringLiteral("corso"),
                              QStringLiteral("compo-resp")};
    QMap<QString, QString> o;
    for (int i = 0; i < argomenti.size(); i += 2) {
        const QString nome = argomenti[i].mid(2);
        if (!argomenti[i].startsWith(QLatin1String("--")) || !ammesse.contains(nome) || i + 1 >= argomenti.size()
            || o.contains(nome)) {
            QTextStream(stderr) << kUso;
            return 2;
        }
        o.insert(nome, argomenti[i + 1]);
    }
    for (const QString &r : ammesse.mid(0, 6))
        if (!o.contains(r)) {
            QTextStream(stderr) << kUso;
            return 2;
        }
    Riassegnazione r;
    r.da = numero(o.value(QStringLiteral("da")));
    r.a = numero(o.value(QStringLiteral("a")));
    const QString corso = o.value(QStringLiteral("corso")).trimmed();
    r.tutti = corso.compare(QLatin1String("TUTTI"), Qt::CaseInsensitive) == 0;
    r.corso = r.tutti ? QString() : corso;
    r.compoResp = o.value(QStringLiteral("compo-resp"));
    if (numero(o.value(QStringLiteral("operatore"))) < 0 || r.da < 0 || r.a < 0) {
        QTextStream(stderr) << kUso;
        return 2;
    }

    // The application as the menu would have it selected.
    Sessione &s = c.sessione;
    // Without an application the menu's checks below say so, with their own message.
    impostaDomanda(s, c.db, o.value(QStringLiteral("grupope")).trimmed(), o.value(QStringLiteral("operatore")).trimmed(),
                   o.value(QStringLiteral("prov")).trimmed());

    // The checks and the question of the menu entry, then the exclusive connection.
    if (!controllaRiassegnazione(c))
        return 1;
    const EsitoVerifica e = verificaRiassegnazione(c.db, s, r);
    if (!e.valido()) {
        c.dialoghi.messaggio(e.messaggio, e.titolo, e.icona);
        return 1;
    }
    const int righe = riassegnaCorsi(c.db, s, r);
    c.dialoghi.messaggio(QStringLiteral("RIASSEGNAZIONE EFFETTUATA. Sono stati spostati anche gli eventuali accorpati."),
                         QStringLiteral("Riassegnazione Corsi"), Icona::Informazione);
    QTextStream(stdout) << righe << '\n';
    return 0;
}

} // namespace quirdal
