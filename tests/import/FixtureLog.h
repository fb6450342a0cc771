#pragma once

// Builds logger files byte by byte, so a test shows exactly which bytes are wrong.
#include <QByteArray>
#include <cstdint>
#include <initializer_list>

namespace fixture {

// Packs a date the way the logger does: day bits 0-4, month 5-8, years since 2000 in 9-15.
constexpr std::uint16_t date(unsigned day, unsigned month, unsigned yearBits)
{
    return std::uint16_t((day & 0x1F) | (month & 0x0F) << 5 | (yearBits & 0x7F) << 9);
}

struct Rec {
    std::uint8_t dataType = 1;
    std::uint8_t secs = 30, mins = 15, hours = 10, nu0 = 0;
    std::uint16_t dateStamp = date(14, 3, 24);
    std::uint16_t loadWght = 1234;
    std::uint16_t machine = 'A';
    std::uint16_t loadId = 7;
    std::uint16_t termination = 0x55AA;

    Rec &at(unsigned h, unsigned m, unsigned s) { hours = std::uint8_t(h); mins = std::uint8_t(m); secs = std::uint8_t(s); return *this; }
    Rec &on(std::uint16_t d) { dateStamp = d; return *this; }
    Rec &load(std::uint16_t id, std::uint16_t weight) { loadId = id; loadWght = weight; return *this; }
    Rec &term(std::uint16_t t) { termination = t; return *this; }

    // The 15 bytes of the record, little-endian, in file order.
    QByteArray bytes() const
    {
        QByteArray b;
        auto put16 = [&b](std::uint16_t v) { b.append(char(v & 0xFF)); b.append(char(v >> 8)); };
        b.append(char(dataType));
        b.append(char(secs)); b.append(char(mins)); b.append(char(hours)); b.append(char(nu0));
        put16(dateStamp);
        put16(loadWght);
        put16(machine);
        put16(loadId);
        put16(termination);
        return b;
    }
};

inline QByteArray file(std::initializer_list<Rec> recs)
{
    QByteArray out;
    for (const Rec &r : recs)
        out += r.bytes();
    return out;
}

// n good records with load ids first, first+1, ...
inline QByteArray goodRecords(int n, std::uint16_t first = 1)
{
    QByteArray out;
    for (int i = 0; i < n; ++i)
        out += Rec{}.load(std::uint16_t(first + i), std::uint16_t(100 * (i + 1))).bytes();
    return out;
}

} // namespace fixture
