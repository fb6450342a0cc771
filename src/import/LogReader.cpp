#include "import/LogReader.h"

#include "core/Errors.h"

#include <QDate>

#include <algorithm>

namespace dv {

std::uint16_t LogReader::wordAt(qsizetype pos) const
{
    return std::uint16_t(std::uint8_t(data_[pos])) | std::uint16_t(std::uint8_t(data_[pos + 1])) << 8;
}

bool LogReader::terminatorAt(qsizetype pos) const
{
    return pos >= 0 && pos + 1 < data_.size() && wordAt(pos) == kLogTermination;
}

bool LogReader::next(LogEvent &event)
{
    if (pendingError_) {
        pendingError_ = false;
        event = pending_;
        return true;
    }
    const qsizetype size = data_.size();
    if (pos_ >= size)
        return false;

    const qsizetype start = pos_;
    event = LogEvent{};
    event.index = index_++;
    event.offset = start;

    if (size - start < kLogRecordSize) {
        // What is left cannot hold a record; its fields would be partly
        // missing, so nothing of it is stored.
        event.kind = LogEvent::Kind::ErrorReading;
        event.cutShort = true;
        pos_ = size;
        return true;
    }

    // Fields in file order; the in-memory record orders them differently.
    ExcavRec_t &rec = event.data.ExcavRecs;
    rec.DataType = std::uint8_t(data_[start]);
    rec.Time.setTimeStamp(std::uint32_t(wordAt(start + 1)) | std::uint32_t(wordAt(start + 3)) << 16);
    rec.Date.DateStamp = wordAt(start + 5);
    rec.LoadWght = wordAt(start + 7);
    rec.Machine = wordAt(start + 9);
    rec.LoadID = wordAt(start + 11);
    event.data.Termination = wordAt(start + 13);

    const qsizetype p = start + kLogRecordSize;
    if (event.data.Termination == kLogTermination) {
        event.kind = LogEvent::Kind::Record;
        pos_ = p;
        return true;
    }

    // Resynchronise: try P-2 .. P+10; j ends one past the last position tried.
    const qsizetype limit = p + 10;
    qsizetype j = p - 2;
    bool found = false;
    do {
        found = terminatorAt(j);
        ++j;
    } while (!found && j <= limit);

    const bool errorReading = j >= limit;
    pos_ = found ? j + 1 : std::min(p + 12, size);

    if (found) {
        event.kind = LogEvent::Kind::FoundTermination;
        if (errorReading) {
            pending_ = event;
            pending_.kind = LogEvent::Kind::ErrorReading;
            pendingError_ = true;
        }
    } else {
        event.kind = LogEvent::Kind::ErrorReading;
    }
    return true;
}

std::vector<LogEvent> readLogEvents(QByteArrayView data)
{
    std::vector<LogEvent> out;
    LogReader reader(data);
    LogEvent ev;
    while (reader.next(ev))
        out.push_back(ev);
    return out;
}

LogDateTime decodeLogDateTime(const TimeStamp_t &time, const DateStamp_t &date)
{
    const std::uint16_t d = date.DateStamp;
    int day = d & 0x1F;
    if (day == 0)
        day = 1;
    int month = (d >> 5) & 0x0F;
    if (month == 0 || month > 12)
        month = 1;
    int yearBits = d >> 9;
    if (yearBits > 99)
        yearBits = 11;
    const int year = 2000 + yearBits;

    if (!QDate::isValid(year, month, day))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    if (time.Hours >= 24 || time.Mins >= 60 || time.Secs >= 60)
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return LogDateTime{year, month, day, time.Hours, time.Mins, time.Secs};
}

} // namespace dv
