#include "config/FileIni.h"

#include "common/Codifica.h"
#include "common/FileTemporanei.h"
#include "common/PuntiArresto.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace quirdal {
namespace {

// With this key every printable ASCII character becomes a printable Latin-1 one, so the
// scrambled value never holds a control character or a blank that the INI would lose.
constexpr char16_t kChiavePwd = 0x80;

bool haSeparatore(const QString &s) { return s.contains(QLatin1Char('\\')) || s.contains(QLatin1Char('/')); }

QString nomeSezione(const QString &riga)
{
    const QString t = riga.trimmed();
    if (t.startsWith(QLatin1Char('[')) && t.contains(QLatin1Char(']')))
        return t.mid(1, t.indexOf(QLatin1Char(']')) - 1).trimmed();
    return {};
}

bool eSezione(const QString &riga)
{
    const QString t = riga.trimmed();
    return t.startsWith(QLatin1Char('[')) && t.contains(QLatin1Char(']'));
}

// The key of a "key=value" line, or empty for comments and other lines.
QString chiaveDi(const QString &riga)
{
    const QString t = riga.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || eSezione(t))
        return {};
    const int uguale = t.indexOf(QLatin1Char('='));
    if (uguale <= 0)
        return {};
    return t.left(uguale).trimmed();
}

QString valoreDi(const QString &riga)
{
    QString v = riga.mid(riga.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (v.size() >= 2
        && ((v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
            || (v.startsWith(QLatin1Char('\'')) && v.endsWith(QLatin1Char('\'')))))
        v = v.mid(1, v.size() - 2);
    return v;
}

bool leggiRighe(const QString &file, QStringList &righe, QString &aCapo)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QString testo = daWindows1252(f.readAll());
    aCapo = testo.contains(QStringLiteral("\r\n")) || !testo.contains(QLatin1Char('\n')) ? QStringLiteral("\r\n")
                                                                                         : QStringLiteral("\n");
    righe = testo.split(QLatin1Char('\n'));
    for (QString &r : righe)
        if (r.endsWith(QLatin1Char('\r')))
            r.chop(1);
    if (!righe.isEmpty() && righe.last().isEmpty())
        righe.removeLast();
    return true;
}

} // namespace

cFileINI::cFileINI(QString cartellaProgramma) : m_cartella(std::move(cartellaProgramma)) { }

void cFileINI::setNomeFile(const QString &nome)
{
    QString n = nome;
    if (!n.contains(QLatin1Char('.')))
        n += QStringLiteral(".ini");
    if (!haSeparatore(n))
        n = QDir(m_cartella).filePath(n);
    m_nomeFile = n;
}

QString cFileINI::Leggi(const QString &strChiave, const QString &strDefault) const
{
    QStringList righe;
    QString aCapo;
    if (m_nomeFile.isEmpty() || !leggiRighe(m_nomeFile, righe, aCapo))
        return strDefault;
    bool dentro = false;
    for (const QString &riga : righe) {
        if (eSezione(riga)) {
            dentro = nomeSezione(riga).compare(m_sezione, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (dentro && chiaveDi(riga).compare(strChiave, Qt::CaseInsensitive) == 0 && !chiaveDi(riga).isEmpty())
            return valoreDi(riga).left(kLunghezzaMassima);
    }
    return strDefault;
}

int cFileINI::Scrivi(const QString &strChiave, const QString &strValore)
{
    if (m_nomeFile.isEmpty() || strChiave.trimmed().isEmpty() || m_sezione.trimmed().isEmpty())
        return 0;
    QStringList righe;
    QString aCapo = QStringLiteral("\r\n");
    if (QFile::exists(m_nomeFile) && !leggiRighe(m_nomeFile, righe, aCapo))
        return 0;

    // A line break inside a value would split it into lines of its own.
    QString valore = strValore;
    valore.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString nuova = strChiave + QLatin1Char('=') + valore;

    int inizio = -1; // index of the section header
    int fine = -1;   // index after the last non-blank line of the section
    int trovata = -1;
    for (int i = 0; i < righe.size(); ++i) {
        if (eSezione(righe[i])) {
            if (inizio >= 0)
                break;
            if (nomeSezione(righe[i]).compare(m_sezione, Qt::CaseInsensitive) == 0) {
                inizio = i;
                fine = i + 1;
            }
            continue;
        }
        if (inizio < 0)
            continue;
        if (!righe[i].trimmed().isEmpty())
            fine = i + 1;
        if (trovata < 0 && chiaveDi(righe[i]).compare(strChiave, Qt::CaseInsensitive) == 0 && !chiaveDi(righe[i]).isEmpty())
            trovata = i;
    }
    if (trovata >= 0)
        righe[trovata] = nuova;
    else if (inizio >= 0)
        righe.insert(fine, nuova);
    else {
        righe << (QLatin1Char('[') + m_sezione + QLatin1Char(']')) << nuova;
    }

    // Written beside the file under a name that carries this process's id and renamed
    // over it when whole: what a killed write leaves is removed by the next one.
    FileSicuro out(m_nomeFile);
    if (!out.apri() || !out.scrivi(aWindows1252(righe.join(aCapo) + aCapo)))
        return 0;
    puntoDiArresto("scrittura-ini");
    return out.conferma() ? 1 : 0;
}

QString cFileINI::leggi(const QString &sezione, const QString &chiave, const QString &def)
{
    setSezione(sezione);
    return Leggi(chiave, def);
}

int cFileINI::scrivi(const QString &sezione, const QString &chiave, const QString &valore)
{
    setSezione(sezione);
    return Scrivi(chiave, valore);
}

QString scramblePwd(const QString &testo)
{
    QString r;
    r.reserve(testo.size());
    for (const QChar c : testo)
        r.append(QChar(static_cast<char16_t>(c.unicode() ^ kChiavePwd)));
    return r;
}

} // namespace quirdal
