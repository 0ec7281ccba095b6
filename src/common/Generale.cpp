#include "common/Generale.h"

#include "common/Codifica.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace quirdal {

QString raddoppiaApici(const QVariant &valore) { return valore.isNull() ? QString() : raddoppiaApici(valore.toString()); }

QString sostituisci(const QString &testo, const QString &cerca, const QString &con)
{
    if (cerca.isEmpty())
        return testo;
    QString r = testo;
    return r.replace(cerca, con);
}

QString elementoN(const QString &testo, const QString &separatore, int n)
{
    if (testo.isEmpty() || n < 0)
        return {};
    return testo.split(separatore).value(n).trimmed();
}

QString dopoTrattino(const QString &testo)
{
    const int i = testo.indexOf(QLatin1Char('-'));
    return testo.mid(i + 1).trimmed(); // without a dash, the whole text
}

QString primaTrattino(const QString &testo)
{
    const int i = testo.indexOf(QStringLiteral(" -"));
    return (i < 0 ? testo : testo.left(i)).trimmed();
}

QString riempi(const QString &testo, int n, const QString &lato)
{
    if (lato == QLatin1String("dx"))
        return testo.rightJustified(n, QLatin1Char(' '));
    if (lato == QLatin1String("sx"))
        return testo.leftJustified(n, QLatin1Char(' '));
    return {};
}

QString riempiDavanti(const QString &testo, int n) { return testo.rightJustified(n, QLatin1Char(' ')); }

QString riempiFinoA(const QString &testo, int n) { return testo.leftJustified(n, QLatin1Char(' ')); }

QString segnoTroncato(const QString &testo, int n) { return testo.size() > n ? QStringLiteral(".") : QStringLiteral(" "); }

int maiuscolo(int codiceTasto)
{
    if (codiceTasto <= 0 || codiceTasto > 0xFFFF)
        return codiceTasto;
    return QChar(static_cast<char16_t>(codiceTasto)).toUpper().unicode();
}

QVariant valoreTipizzato(const QVariant &valore, const QString &tipo)
{
    const QString t = tipo.toUpper();
    const QString s = valore.toString().trimmed();
    if (t == QLatin1String("S"))
        return s;
    if (t == QLatin1String("I"))
        return QVariant::fromValue(
            static_cast<short>(QLocale::c().toDouble(QString(s).replace(QLatin1Char(','), QLatin1Char('.')))));
    if (t == QLatin1String("L"))
        return QVariant::fromValue(
            static_cast<qint32>(QLocale::c().toDouble(QString(s).replace(QLatin1Char(','), QLatin1Char('.')))));
    if (t == QLatin1String("DBL"))
        return QLocale::c().toDouble(QString(s).replace(QLatin1Char(','), QLatin1Char('.')));
    if (t == QLatin1String("B")) {
        if (valore.typeId() == QMetaType::Bool)
            return valore.toBool();
        const QString u = s.toUpper();
        return !(u.isEmpty() || u == QLatin1String("0") || u == QLatin1String("FALSE") || u == QLatin1String("FALSO")
                 || u == QLatin1String("N") || u == QLatin1String("NO"));
    }
    if (t == QLatin1String("D")) {
        if (const auto d = controllaData(s))
            return QDate::fromString(*d, QStringLiteral("dd/MM/yyyy"));
        return QDate();
    }
    return valore;
}

QStringList dividiRecord(const QString &riga, bool completa)
{
    QStringList campi;
    campi.reserve(completa ? kCampiRecord : 16);
    qsizetype inizio = 1; // the opening "#" is skipped
    const qsizetype n = riga.size();
    while (inizio < n && campi.size() < kCampiRecord) {
        const qsizetype fine = riga.indexOf(QLatin1Char('#'), inizio);
        if (fine < 0) {
            campi << riga.mid(inizio); // not closed: the field ends with the line
            break;
        }
        campi << riga.mid(inizio, fine - inizio);
        inizio = fine + 3; // the "#", the separator and the next opening "#"
    }
    if (completa)
        while (campi.size() < kCampiRecord)
            campi << QString();
    return campi;
}

namespace {
constexpr qint64 kPezzoLettura = 64 * 1024;
}

bool LettoreRighe::riempi()
{
    if (m_fine)
        return false;
    m_pezzo = m_d.read(kPezzoLettura);
    m_pos = 0;
    if (m_pezzo.isEmpty()) {
        m_fine = true;
        m_errore = !m_d.atEnd();
        return false;
    }
    if (m_inizio) {
        m_inizio = false;
        if (m_pezzo.startsWith("\xEF\xBB\xBF"))
            m_pos = 3;
    }
    // A CR that ended the previous piece and the LF that opens this one are one line end.
    if (m_saltaLF) {
        m_saltaLF = false;
        if (m_pos < m_pezzo.size() && m_pezzo[m_pos] == '\n')
            ++m_pos;
    }
    return true;
}

bool LettoreRighe::prossima(QByteArray &riga)
{
    riga.truncate(0);
    bool iniziata = false;
    for (;;) {
        if (m_pos >= m_pezzo.size()) {
            if (!riempi()) {
                if (!iniziata)
                    return false;
                ++m_numero; // the last line, without a line end
                return true;
            }
            continue;
        }
        iniziata = true;
        const char *d = m_pezzo.constData() + m_pos;
        const qsizetype n = m_pezzo.size() - m_pos;
        qsizetype i = 0;
        while (i < n && d[i] != '\n' && d[i] != '\r')
            ++i;
        riga.append(d, i);
        m_pos += i;
        if (i == n)
            continue; // the line goes on in the next piece
        ++m_pos;
        if (d[i] == '\r') {
            if (m_pos < m_pezzo.size()) {
                if (m_pezzo[m_pos] == '\n')
                    ++m_pos;
            } else {
                m_saltaLF = true;
            }
        }
        ++m_numero;
        return true;
    }
}

QString RigaDati::motivo(const QString &file) const
{
    const QString dove =
        QStringLiteral("la riga %1 del file ").arg(numero) + (file.isEmpty() ? QString() : file + QLatin1Char(' '));
    switch (difetto) {
    case Difetto::CarattereNullo:
        return dove + QStringLiteral("contiene un carattere nullo");
    case Difetto::SenzaCancelletto:
        return dove + QStringLiteral("non è nel formato dei dati (deve iniziare con \"#\")");
    case Difetto::Nessuno:
        break;
    }
    return {};
}

QString LettoreDati::intestazione() { return m_righe.prossima(m_riga) ? daWindows1252(m_riga) : QString(); }

bool LettoreDati::prossimo(RigaDati &r)
{
    while (m_righe.prossima(m_riga)) {
        const QString riga = daWindows1252(m_riga).trimmed();
        if (riga.isEmpty())
            continue; // the line break after the last record, or a blank line
        r.numero = m_righe.numero();
        r.campi.clear();
        if (m_riga.contains('\0')) {
            r.difetto = RigaDati::Difetto::CarattereNullo;
        } else if (!riga.startsWith(QLatin1Char('#'))) {
            r.difetto = RigaDati::Difetto::SenzaCancelletto;
        } else {
            r.difetto = RigaDati::Difetto::Nessuno;
            r.campi = dividiRecord(riga, false);
        }
        return true;
    }
    return false;
}

int contaRecord(const QString &percorso, bool conIntestazione)
{
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    LettoreRighe righe(f);
    QByteArray riga;
    if (conIntestazione)
        righe.prossima(riga);
    int n = 0;
    while (righe.prossima(riga))
        if (!daWindows1252(riga).trimmed().isEmpty())
            ++n;
    return righe.erroreLettura() ? -1 : n;
}

std::optional<QString> controllaData(const QString &testo)
{
    const QString t = testo.trimmed();
    QString gg, mm, aaaa;
    if (t.size() == 10) {
        gg = t.mid(0, 2);
        mm = t.mid(3, 2);
        aaaa = t.mid(6, 4);
    } else if (t.size() == 8) {
        gg = t.mid(0, 2);
        mm = t.mid(2, 2);
        aaaa = t.mid(4, 4);
    } else {
        return std::nullopt;
    }
    auto cifre = [](const QString &s) {
        for (const QChar c : s)
            if (!c.isDigit() || c.unicode() > 127)
                return false;
        return !s.isEmpty();
    };
    if (!cifre(gg) || !cifre(mm) || !cifre(aaaa))
        return std::nullopt;
    const QDate d(aaaa.toInt(), mm.toInt(), gg.toInt());
    if (!d.isValid() || aaaa.toInt() < 100)
        return std::nullopt;
    return gg + QLatin1Char('/') + mm + QLatin1Char('/') + aaaa;
}

QString unisciTelefono(const QString &prefisso, const QString &numero, int massimo)
{
    auto cifre = [](const QString &s) {
        QString r;
        for (const QChar c : s)
            if (c.unicode() >= '0' && c.unicode() <= '9')
                r.append(c);
        return r;
    };
    const QString p = cifre(prefisso), n = cifre(numero);
    if (p.isEmpty() || n.startsWith(p))
        return n;
    const QString unito = p + n;
    return unito.size() > massimo ? n : unito;
}

QString controllaEmail(const QString &indirizzo)
{
    const QString &e = indirizzo;
    const int chiocciola = e.indexOf(QLatin1Char('@'));
    if (e.contains(QLatin1Char(',')))
        return QStringLiteral("L'indirizzo e-mail non può contenere virgole.");
    if (e.contains(QLatin1Char('/')))
        return QStringLiteral("L'indirizzo e-mail non può contenere il carattere '/'.");
    if (e.contains(QStringLiteral("..")))
        return QStringLiteral("L'indirizzo e-mail non può contenere punti consecutivi.");
    if (e.contains(QLatin1Char(' ')))
        return QStringLiteral("L'indirizzo e-mail non può contenere spazi all'inizio, alla fine o internamente.");
    if (e.isEmpty())
        return QStringLiteral("E' indispensabile indicare un 'indirizzo e-mail valido.");
    if (chiocciola < 0)
        return QStringLiteral("L'indirizzo e-mail deve contenere il carattere '@'.");
    if (!e.mid(chiocciola + 1).contains(QLatin1Char('.')) || e.contains(QStringLiteral("@.")))
        return QStringLiteral("L'indirizzo di e-mail deve contenere almeno 1 '.' dopo il carattere '@', e non nella "
                              "forma '@.'");
    if (chiocciola == 0)
        return QStringLiteral("L'indirizzo e-mail deve iniziare con il proprio user-name (es. 'mario.rossi', "
                              "'mrossi', ecc.)");
    if (e.count(QLatin1Char('@')) > 1)
        return QStringLiteral("L'indirizzo e-mail non può contenere più di 1 carattere '@'.");
    if (e.endsWith(QLatin1Char('.')))
        return QStringLiteral("Dopo l'ultimo '.' deve essere specificato il provider (es. 'it', 'com', ecc.)");
    return {};
}

const QStringList &fileDatiOperatori()
{
    static const QStringList nomi = {QStringLiteral("oper.tx1"),     QStringLiteral("compo.tx1"),
                                     QStringLiteral("sediocc.tx1"),  QStringLiteral("sediutil.tx1"),
                                     QStringLiteral("corsipre.tx1"), QStringLiteral("percmod.tx1")};
    return nomi;
}

const QStringList &fileFlagTabelle()
{
    static const QStringList nomi = {QStringLiteral("installa.tab"), QStringLiteral("aggiorna.tab")};
    return nomi;
}

QString trovaFile(const QString &cartella, const QString &nome)
{
    const QDir dir(cartella);
    if (QFileInfo(dir.filePath(nome)).isFile())
        return dir.filePath(nome);
    for (const QFileInfo &fi : dir.entryInfoList(QDir::Files | QDir::Hidden))
        if (fi.fileName().compare(nome, Qt::CaseInsensitive) == 0)
            return fi.filePath();
    return {};
}

bool spostaFile(const QString &da, const QString &a)
{
    if (!QFileInfo(da).isFile())
        return false;
    QDir().mkpath(QFileInfo(a).absolutePath());
    QFile::remove(a);
    if (QFile::rename(da, a))
        return true;
    return QFile::copy(da, a) && QFile::remove(da);
}

bool fileHaRighe(const QString &percorso)
{
    QFile f(percorso);
    return f.open(QIODevice::ReadOnly) && f.size() > 0;
}

bool fileVuoto(const QString &percorso) { return !fileHaRighe(percorso); }

QString leggiFileTesto(const QString &cartella, const QString &nome)
{
    QFile f(QDir(cartella).filePath(nome));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList righe = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (QString &r : righe)
        if (r.endsWith(QLatin1Char('\r')))
            r.chop(1);
    if (!righe.isEmpty() && righe.last().isEmpty())
        righe.removeLast();
    return righe.join(QLatin1Char('\n'));
}

int eseguiEAttendi(const QString &programma, const QStringList &argomenti)
{
    QProcess p;
    p.start(programma, argomenti);
    if (!p.waitForStarted(10000))
        return -1;
    QEventLoop ciclo;
    QObject::connect(&p, &QProcess::finished, &ciclo, &QEventLoop::quit);
    if (p.state() != QProcess::NotRunning)
        ciclo.exec();
    return p.exitCode();
}

} // namespace quirdal
