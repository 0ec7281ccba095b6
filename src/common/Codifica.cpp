#include "common/Codifica.h"

#include <array>

namespace quirdal {
namespace {
// 0x80..0x9F; 0 marks the five undefined positions, which map to the C1 control itself.
constexpr std::array<char16_t, 32> kAlta = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
} // namespace

QString daWindows1252(const QByteArray &byte)
{
    QString r(byte.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(r.data());
    for (const char c : byte) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b <= 0x9F && kAlta[b - 0x80] != 0) ? kAlta[b - 0x80] : static_cast<char16_t>(b);
    }
    return r;
}

QByteArray aWindows1252(const QString &testo)
{
    QByteArray r;
    accodaWindows1252(r, testo);
    return r;
}

void accodaWindows1252(QByteArray &destinazione, QStringView testo)
{
    const qsizetype inizio = destinazione.size();
    destinazione.resize(inizio + testo.size());
    char *out = destinazione.data() + inizio;
    for (const QChar ch : testo) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            *out++ = static_cast<char>(u);
            continue;
        }
        char car = '?';
        for (int i = 0; i < 32; ++i) {
            if (kAlta[i] == u || (kAlta[i] == 0 && u == 0x80 + i)) {
                car = static_cast<char>(0x80 + i);
                break;
            }
        }
        *out++ = car;
    }
}

} // namespace quirdal
