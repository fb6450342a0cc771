#include "FixtureLog.h"

#include "core/Errors.h"
#include "import/LogReader.h"

#include <gtest/gtest.h>

#include <QStringList>

using fixture::Rec;

namespace {

// One word per event: R<index>:<LoadID> for a good record, F<index> for a
// found terminator, E<index> for an error reading, T<index> for a record cut short.
QString trace(const QByteArray &bytes, int *count = nullptr)
{
    QStringList words;
    dv::LogReader reader(bytes);
    dv::LogEvent ev;
    while (reader.next(ev)) {
        switch (ev.kind) {
        case dv::LogEvent::Kind::Record:
            words << QStringLiteral("R%1:%2").arg(ev.index).arg(ev.data.ExcavRecs.LoadID);
            break;
        case dv::LogEvent::Kind::FoundTermination:
            words << QStringLiteral("F%1").arg(ev.index);
            break;
        case dv::LogEvent::Kind::ErrorReading:
            words << QStringLiteral("%1%2").arg(ev.cutShort ? QLatin1Char('T') : QLatin1Char('E')).arg(ev.index);
            break;
        }
    }
    if (count)
        *count = reader.recordsRead();
    return words.join(QLatin1Char(' '));
}

QByteArray zeros(int n) { return QByteArray(n, '\0'); }
const QByteArray kTerm("\xAA\x55", 2);

// A record whose terminator is missing, followed by `gap` zero bytes and a
// terminator: the terminator then lies at P + gap - 2.
QByteArray badThenTerminatorAfter(int gap)
{
    return Rec{}.term(0).bytes() + zeros(gap - 2) + kTerm;
}

struct Case {
    const char *name;
    QByteArray bytes;
    const char *events;
    int count;
};

TEST(LogReader, walksRecordsAndResynchronisesAsTheFileDemands)
{
    const QByteArray good1 = Rec{}.load(1, 100).bytes();
    const QByteArray good2 = Rec{}.load(2, 200).bytes();
    QByteArray strayByte = Rec{}.load(1, 100).bytes();
    strayByte.insert(13, '\x00');

    const Case cases[] = {
        {"empty file", {}, "", 0},
        {"three good records", fixture::goodRecords(3), "R0:1 R1:2 R2:3", 3},
        {"terminator bytes swapped (0x55, 0xAA)", Rec{}.term(0xAA55).bytes(), "E0", 1},
        // Resuming 12 bytes past the bad record lands inside the next one, whose
        // terminator the following scan then finds one byte late.
        {"swapped terminator in a file of three",
         Rec{}.term(0xAA55).bytes() + good1 + good2, "E0 F1", 2},
        {"one stray byte before the terminator", strayByte + good2, "F0 R1:2", 2},
        {"damaged terminator: reading resumes at P+12",
         Rec{}.term(0x1234).bytes() + zeros(12) + good2, "E0 R1:2", 2},
        {"terminator at P+8: one warning", badThenTerminatorAfter(10) + good2, "F0 R1:2", 2},
        {"terminator first found at P+9: both warnings", badThenTerminatorAfter(11) + good2,
         "F0 E0 R1:2", 2},
        {"terminator at P+10: both warnings", badThenTerminatorAfter(12) + good2, "F0 E0 R1:2", 2},
        {"bad last record: the window runs past the data", Rec{}.term(0).bytes(), "E0", 1},
        {"half a terminator at the very end never matches",
         Rec{}.term(0).bytes() + QByteArray("\xAA", 1), "E0", 1},
        {"cut-short tail is never stored", good1 + good2.left(10), "R0:1 T1", 2},
        // The tail's last two bytes are a terminator; it is still no record.
        {"cut-short tail ending in a terminator", good1 + good2.mid(1), "R0:1 T1", 2},
        {"a lone byte", QByteArray("\x01", 1), "T0", 1},
    };
    for (const Case &c : cases) {
        int count = -1;
        EXPECT_EQ(trace(c.bytes, &count), QString::fromLatin1(c.events)) << c.name;
        EXPECT_EQ(count, c.count) << c.name;
    }
}

TEST(LogReader, decodesFieldsLittleEndianInFileOrder)
{
    Rec r;
    r.dataType = 9;
    r.machine = 0x0041;
    r.at(23, 59, 58).on(fixture::date(31, 12, 99)).load(0xBEEF, 0x1234);
    r.nu0 = 0x77;
    const auto events = dv::readLogEvents(r.bytes());
    ASSERT_EQ(events.size(), 1u);
    const ExcavRec_t &rec = events[0].data.ExcavRecs;
    EXPECT_EQ(rec.DataType, 9);
    EXPECT_EQ(rec.Machine, 0x41);
    EXPECT_EQ(rec.LoadID, 0xBEEF);
    EXPECT_EQ(rec.LoadWght, 0x1234);
    EXPECT_EQ(rec.Time.TimeStamp(), 0x77173B3Au);
    EXPECT_EQ(rec.Date.DateStamp, fixture::date(31, 12, 99));
    EXPECT_EQ(events[0].data.Termination, 0x55AA);
}

struct DateCase {
    const char *name;
    std::uint16_t dateStamp;
    int hours, mins, secs;
    const char *expected; // "yyyy-mm-dd hh:mm:ss" or the error message
};

TEST(LogReader, dateRulesAndConversionErrors)
{
    using fixture::date;
    const DateCase cases[] = {
        {"DateStamp 0 is 1 January 2000", 0, 0, 0, 0, "2000-01-01 00:00:00"},
        {"year bits 127 give 2011", date(5, 6, 127), 1, 2, 3, "2011-06-05 01:02:03"},
        {"year bits 100 give 2011", date(5, 6, 100), 1, 2, 3, "2011-06-05 01:02:03"},
        {"year bits 99 give 2099", date(5, 6, 99), 1, 2, 3, "2099-06-05 01:02:03"},
        {"month 0 is January", date(9, 0, 24), 12, 0, 0, "2024-01-09 12:00:00"},
        {"month 13 is January", date(9, 13, 24), 12, 0, 0, "2024-01-09 12:00:00"},
        {"month 15 is January", date(9, 15, 24), 12, 0, 0, "2024-01-09 12:00:00"},
        {"month 12 stays", date(9, 12, 24), 12, 0, 0, "2024-12-09 12:00:00"},
        {"day 0 is the 1st", date(0, 7, 24), 12, 0, 0, "2024-07-01 12:00:00"},
        {"29 February of a leap year", date(29, 2, 24), 23, 59, 59, "2024-02-29 23:59:59"},
        {"29 February of another year", date(29, 2, 23), 0, 0, 0, "Invalid argument to date encode"},
        {"30 February", date(30, 2, 24), 0, 0, 0, "Invalid argument to date encode"},
        {"31 April", date(31, 4, 24), 0, 0, 0, "Invalid argument to date encode"},
        {"Hours 24", date(1, 1, 24), 24, 0, 0, "Invalid argument to time encode"},
        {"Mins 60", date(1, 1, 24), 0, 60, 0, "Invalid argument to time encode"},
        {"Secs 60", date(1, 1, 24), 0, 0, 60, "Invalid argument to time encode"},
    };
    for (const DateCase &c : cases) {
        TimeStamp_t t;
        t.Hours = std::uint8_t(c.hours);
        t.Mins = std::uint8_t(c.mins);
        t.Secs = std::uint8_t(c.secs);
        t.NU0 = 0xEE; // never part of the time
        DateStamp_t d;
        d.DateStamp = c.dateStamp;
        QString got;
        try {
            const dv::LogDateTime v = dv::decodeLogDateTime(t, d);
            got = QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", v.year, v.month, v.day, v.hours,
                                    v.mins, v.secs);
        } catch (const dv::EConvertError &e) {
            got = e.message();
        }
        EXPECT_EQ(got, QString::fromLatin1(c.expected)) << c.name;
    }
}

} // namespace
