// The workbook writer, over libxlsxwriter: the library writes into a private temporary folder
// (the sheets hold the agency's data), and the finished file is then put in place whole.
#include "common/FoglioDiCalcolo.h"

#include "common/FileTemporanei.h"
#include "common/Importo.h"

#include <QDir>
#include <QFile>

#include <xlsxwriter.h>

#include <algorithm>

namespace quirdal {

namespace {

constexpr double kLarghezzaMinima = 6, kLarghezzaMassima = 60;

QString erroreLibreria(lxw_error e) { return QString::fromUtf8(lxw_strerror(e)); }

// How many characters a value takes as the spreadsheet shows it.
int larghezza(const ColonnaFoglio &c, const QVariant &v)
{
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::QString) {
        int n = 0;
        for (const QString &riga : testoDiCella(v.toString()).split(QLatin1Char('\n')))
            n = std::max(n, static_cast<int>(riga.size()));
        return n;
    }
    switch (c.tipo) {
    case TipoColonna::Importo:
        return static_cast<int>(Importo::daCentesimi(v.toLongLong()).formato().size());
    case TipoColonna::Data:
        return 10;
    default:
        return static_cast<int>(v.toString().size());
    }
}

class Cartella {
public:
    Cartella(const QString &percorso, const QString &temporanei) : m_temporanei(QFile::encodeName(temporanei))
    {
        lxw_workbook_options o{};
        o.tmpdir = m_temporanei.data();
        m_wb = workbook_new_opt(QFile::encodeName(percorso).constData(), &o);
    }
    ~Cartella()
    {
        if (m_wb)
            workbook_close(m_wb); // only after a failure: the file is then thrown away
    }
    Cartella(const Cartella &) = delete;
    Cartella &operator=(const Cartella &) = delete;

    QString scrivi(const QList<FoglioDaScrivere> &fogli)
    {
        if (!m_wb)
            return QStringLiteral("impossibile creare la cartella di lavoro");
        lxw_format *intestazione = workbook_add_format(m_wb);
        format_set_bold(intestazione);
        lxw_format *testo = workbook_add_format(m_wb);
        format_set_num_format(testo, "@");
        lxw_format *importo = workbook_add_format(m_wb);
        format_set_num_format(importo, "#,##0.00");
        lxw_format *intero = workbook_add_format(m_wb);
        format_set_num_format(intero, "0");
        lxw_format *data = workbook_add_format(m_wb);
        format_set_num_format(data, "dd/mm/yyyy");
        for (const FoglioDaScrivere &f : fogli) {
            lxw_worksheet *ws = workbook_add_worksheet(m_wb, f.nome.toUtf8().constData());
            if (!ws)
                return QStringLiteral("nome di foglio non ammesso: ") + f.nome;
            QList<int> larghe;
            for (int c = 0; c < f.colonne.size(); ++c) {
                larghe << static_cast<int>(f.colonne[c].intestazione.size()) + 3; // the filter's button
                if (const lxw_error e = worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c),
                                                               f.colonne[c].intestazione.toUtf8().constData(), intestazione))
                    return erroreLibreria(e);
            }
            for (int r = 0; r < f.righe.size(); ++r) {
                const QVariantList &riga = f.righe[r];
                for (int c = 0; c < f.colonne.size() && c < riga.size(); ++c) {
                    const QVariant &v = riga[c];
                    if (v.isNull())
                        continue;
                    const auto rr = static_cast<lxw_row_t>(r + 1);
                    const auto cc = static_cast<lxw_col_t>(c);
                    lxw_error e = LXW_NO_ERROR;
                    if (v.typeId() == QMetaType::QString) {
                        e = worksheet_write_string(ws, rr, cc, testoDiCella(v.toString()).toUtf8().constData(), testo);
                    } else {
                        switch (f.colonne[c].tipo) {
                        case TipoColonna::Importo:
                            e = worksheet_write_number(ws, rr, cc, Importo::daCentesimi(v.toLongLong()).perSql(), importo);
                            break;
                        case TipoColonna::Intero:
                            e = worksheet_write_number(ws, rr, cc, static_cast<double>(v.toLongLong()), intero);
                            break;
                        case TipoColonna::Data:
                            e = worksheet_write_number(ws, rr, cc, serialeDaData(v.toDate()), data);
                            break;
                        case TipoColonna::Testo:
                            e = worksheet_write_string(ws, rr, cc, testoDiCella(v.toString()).toUtf8().constData(), testo);
                            break;
                        }
                    }
                    if (e)
                        return QStringLiteral("foglio \"%1\", cella %2%3: ")
                                   .arg(f.nome, nomeColonna(c + 1), QString::number(r + 2))
                            + erroreLibreria(e);
                    larghe[c] = std::max(larghe[c], larghezza(f.colonne[c], v) + 1);
                }
            }
            for (int c = 0; c < f.colonne.size(); ++c)
                worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                     std::clamp<double>(larghe[c], kLarghezzaMinima, kLarghezzaMassima), nullptr);
            worksheet_freeze_panes(ws, 1, 0);
            if (!f.colonne.isEmpty())
                worksheet_autofilter(ws, 0, 0, static_cast<lxw_row_t>(f.righe.size()),
                                     static_cast<lxw_col_t>(f.colonne.size() - 1));
        }
        lxw_workbook *wb = m_wb;
        m_wb = nullptr;
        if (const lxw_error e = workbook_close(wb))
            return erroreLibreria(e);
        return {};
    }

private:
    QByteArray m_temporanei;
    lxw_workbook *m_wb = nullptr;
};

} // namespace

QString scriviXlsx(const QString &percorso, const QList<FoglioDaScrivere> &fogli)
{
    const std::unique_ptr<QTemporaryDir> privata = cartellaTemporaneaPrivata(QStringLiteral("foglio"));
    if (!privata)
        return QStringLiteral("impossibile creare una cartella temporanea");
    const QString scritto = QDir(privata->path()).filePath(QStringLiteral("cartella.xlsx"));
    {
        Cartella c(scritto, privata->path());
        const QString e = c.scrivi(fogli);
        if (!e.isEmpty())
            return e;
    }
    QFile f(scritto);
    if (!f.open(QIODevice::ReadOnly))
        return f.errorString();
    FileSicuro destinazione(percorso);
    if (!destinazione.apri() || !destinazione.scrivi(f.readAll()) || !destinazione.conferma())
        return QStringLiteral("impossibile scrivere ") + QDir::toNativeSeparators(percorso);
    return {};
}

} // namespace quirdal
