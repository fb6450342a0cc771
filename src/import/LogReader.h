#pragma once

#include "import/ExcavData.h"

#include <QByteArrayView>
#include <QString>
#include <vector>

namespace dv {

// Size of one logger record and its terminator word (bytes 0xAA, 0x55).
inline constexpr qsizetype kLogRecordSize = 15;
inline constexpr std::uint16_t kLogTermination = 0x55AA;

// One thing the reader meets while walking a log file.
struct LogEvent {
    enum class Kind {
        Record,           // a record with a good terminator: store it
        FoundTermination, // bad terminator, a terminator found nearby; the record is discarded
        ErrorReading,     // bad terminator with none found early in the window, or a record cut short
    };
    Kind kind = Kind::Record;
    int index = 0;        // record index in the file, from 0
    qsizetype offset = 0; // where the record starts in the data
    bool cutShort = false; // ErrorReading only: fewer than 15 bytes were left for the record
    ExcavData_t data;     // the record's fields as read (not meaningful when cut short)
};

// Decodes a log file held in memory, record by record, with no database and
// no boxes, so the rules can be tested and fuzzed on bytes alone.
//
// A bad terminator starts a scan for 0xAA,0x55 over the 13 positions from the
// bad terminator's own position to 12 bytes past the record's end; reading
// resumes just after a found terminator, or 12 bytes past the record's end.
// A terminator found only in the last two positions brings both warnings.
// A record with fewer than 15 bytes left is never decoded as a record: it is
// told as ErrorReading with cutShort set, and ends the data.
class LogReader {
public:
    explicit LogReader(QByteArrayView data) : data_(data) {}

    // The next event; false when the data is exhausted.
    bool next(LogEvent &event);

    // Records read so far, discarded ones included (the summary count).
    int recordsRead() const { return index_; }

private:
    std::uint16_t wordAt(qsizetype pos) const;
    // True when both bytes at pos lie inside the data and form the terminator.
    bool terminatorAt(qsizetype pos) const;

    QByteArrayView data_;
    qsizetype pos_ = 0;
    int index_ = 0;
    bool pendingError_ = false; // an ErrorReading follows the FoundTermination just given
    LogEvent pending_;
};

// Every event of the data, in order.
std::vector<LogEvent> readLogEvents(QByteArrayView data);

// The date and time of a record: day 0 counts as 1, month 0 or 13..15 as
// January, year bits above 99 as 2011; NU0 is ignored. Throws EConvertError
// for a day past its month's end, an hour of 24 or more, or a minute or
// second of 60 or more.
struct LogDateTime {
    int year, month, day, hours, mins, secs;
};
LogDateTime decodeLogDateTime(const TimeStamp_t &time, const DateStamp_t &date);

} // namespace dv
