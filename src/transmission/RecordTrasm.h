#pragma once
// The records of the transmission file, one writer per record type (ScriviRec_Z ...
// ScriviRec_N), with what they share while a file is made (mCreaFileTrasm::Stato: the bytes
// so far, the values common to every record, the last error) and the course rows of the
// application, read once for the course records. The writers are in RecordTrasm.cpp; the
// file's name, its assembly and the value formats in CreaFileTrasm.cpp.
#include "transmission/CreaFileTrasm.h"

#include "common/Codifica.h"
#include "common/Contesto.h"
#include "common/Dialoghi.h"
#include "common/Errori.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <cstring>
#include <memory>

namespace quirdal {

struct mCreaFileTrasm::Stato {
    explicit Stato(Contesto &contesto) : c(contesto) { }
    Contesto &c;
    QByteArray dati;
    QString numDoma, sigProv, data, prov, g, o;
    QString email; // the sender's address, record A
    long errNumero = 0;
    QString errDescrizione;

    // One record: every value between "#", separated by ",". Each value passes the
    // text rule here too, whatever made it, so that nothing can split a record or put a
    // control character into the file.
    void record(const QStringList &valori)
    {
        dati += '#';
        for (qsizetype i = 0; i < valori.size(); ++i) {
            if (i)
                dati += "#,#";
            accodaWindows1252(dati, testoTrasmissione(valori[i]));
        }
        dati += "#\r\n";
    }
    QStringList prefisso(const QString &tipo, const QString &anno = QStringLiteral("2009")) const
    {
        return {tipo, valoreTrasmissione(numDoma), QStringLiteral("62"), anno, valoreTrasmissione(sigProv)};
    }
    bool anomalia(const QString &scrittore, const QString &testo)
    {
        c.dialoghi.messaggio(testo, QStringLiteral("Creazione file di trasmissione - ") + scrittore, Icona::Critico);
        errNumero = 0;
        errDescrizione.clear();
        return false;
    }
};

namespace trasm {

using Stato = mCreaFileTrasm::Stato;

// The fields of the course walk by name, looked up once per name; the costs' also by their
// name without "S_". A field the records take that this database has not (-1) is Null; a name
// read that is no field of the walk is the program's own fault, an error, never an empty value.
struct CampiCorso {
    QHash<QByteArray, int> indice, spese;
    int di(const char *nome) const { return cerca(indice, nome); }
    int diSpesa(const char *nome) const { return cerca(spese, nome); }
    static int cerca(const QHash<QByteArray, int> &campi, const char *nome)
    {
        const auto it = campi.constFind(QByteArray::fromRawData(nome, static_cast<qsizetype>(std::strlen(nome))));
        if (it == campi.constEnd())
            throw Errore(
                3265, QStringLiteral("Elemento '") + QString::fromLatin1(nome) + QStringLiteral("' non trovato nell'insieme."));
        return *it;
    }
    // The places of many names, found once for every row.
    template <typename Nomi>
    QList<int> indici(const Nomi &nomi, int (CampiCorso::*di)(const char *) const = &CampiCorso::di) const
    {
        QList<int> r;
        for (const char *nome : nomi)
            r << (this->*di)(nome);
        return r;
    }
};

// One course row: a course with one of its yearly cost rows.
struct RigaCorso {
    const CampiCorso *campi;
    QVector<QVariant> valori;
    const QVariant &operator[](const char *c) const { return valore(campi->di(c)); }
    // A cost of the row's year, by its column's name in the costs' table.
    const QVariant &spesa(const char *c) const { return valore(campi->diSpesa(c)); }
    const QVariant &valore(int i) const
    {
        static const QVariant nessuno;
        return i < 0 ? nessuno : valori[i];
    }
    int anno() const
    {
        const QVariant p = (*this)["S_ProgrAnno"];
        return p.isNull() ? 1 : p.toInt();
    }
    QString chiave() const
    {
        return (*this)["SedeInteressata"].toString() + QLatin1Char('|') + (*this)["Corso"].toString() + QLatin1Char('|')
            + (*this)["Accorp"].toString();
    }
};

struct Corsi {
    std::shared_ptr<CampiCorso> campi = std::make_shared<CampiCorso>();
    QList<RigaCorso> righe; // of the application's province, in order
    bool provinciaMancante = false;
};

// The course rows of the operator whose site lies in the application's province.
Corsi corsiDellaProvincia(Stato &s);

bool ScriviRec_Z(Stato &s);
bool ScriviRec_A(Stato &s);
bool ScriviRec_B(Stato &s);
bool ScriviRec_C(Stato &s);
bool ScriviRec_E(Stato &s, const Corsi &corsi);
bool ScriviRec_F(Stato &s, const Corsi &corsi);
bool ScriviRec_G(Stato &s, const Corsi &corsi);
bool ScriviRec_L(Stato &s);
bool ScriviRec_M(Stato &s);
bool ScriviRec_N(Stato &s, const Corsi &corsi);

} // namespace trasm
} // namespace quirdal
