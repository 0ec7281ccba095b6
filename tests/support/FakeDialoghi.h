#pragma once
// A scripted Dialoghi: records every message (text, title, icon) and answers from a
// queue (Ok/first default when the queue is empty).
#include "common/Dialoghi.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QTest>
#include <optional>

namespace quirdal::test {

using namespace Qt::StringLiterals;

struct MessaggioRegistrato {
    QString testo;
    QString titolo;
    Icona icona;
    Pulsanti pulsanti;
};

class FakeDialoghi : public Dialoghi {
public:
    QList<MessaggioRegistrato> messaggi;
    QQueue<Risposta> risposte;
    QQueue<std::optional<QString>> testi;
    QQueue<QString> file;

    Risposta messaggio(const QString &testo, const QString &titolo, Icona icona, Pulsanti pulsanti) override
    {
        messaggi.append({testo, titolo, icona, pulsanti});
        if (!risposte.isEmpty())
            return risposte.dequeue();
        switch (pulsanti) {
        case Pulsanti::SiNo:
        case Pulsanti::SiNoAnnulla:
            return Risposta::No;
        case Pulsanti::RiprovaAnnulla:
            return Risposta::Annulla;
        default:
            return Risposta::Ok;
        }
    }
    std::optional<QString> chiediTesto(const QString &, const QString &, const QString &) override
    {
        return testi.isEmpty() ? std::nullopt : testi.dequeue();
    }
    QString scegliFileDaAprire(const QString &, const QString &, const QString &) override
    {
        return file.isEmpty() ? QString() : file.dequeue();
    }
    QString scegliFileDaSalvare(const QString &a, const QString &b, const QString &c) override
    {
        return scegliFileDaAprire(a, b, c);
    }
    QString ultimo() const { return messaggi.isEmpty() ? QString() : messaggi.last().testo; }
    QStringList testiMessaggi() const
    {
        QStringList r;
        for (const auto &m : messaggi)
            r << m.testo;
        return r;
    }
};

// Exactly one message, with this text, title and icon (and buttons, when given).
inline void unMessaggio(const FakeDialoghi &d, const QString &testo, const QString &titolo, Icona icona,
                        std::optional<Pulsanti> pulsanti = {})
{
    QCOMPARE(d.testiMessaggi(), QStringList{testo});
    QCOMPARE(d.messaggi.first().titolo, titolo);
    QCOMPARE(d.messaggi.first().icona, icona);
    if (pulsanti)
        QCOMPARE(d.messaggi.first().pulsanti, *pulsanti);
}

} // namespace quirdal::test
