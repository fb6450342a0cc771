#pragma once

#include <QString>
#include <cstdint>

// One record of the logger's file as held in memory (the field order is not
// the file order, so it is filled field by field).
struct TimeStamp_t {
    bool all_cmnd = false;
    std::uint8_t Secs = 0, Mins = 0, Hours = 0, NU0 = 0;
    std::uint32_t TimeStamp() const
    {
        return std::uint32_t(Secs) | std::uint32_t(Mins) << 8 | std::uint32_t(Hours) << 16 |
               std::uint32_t(NU0) << 24;
    }
    void setTimeStamp(std::uint32_t v)
    {
        Secs = v & 0xFF; Mins = (v >> 8) & 0xFF; Hours = (v >> 16) & 0xFF; NU0 = (v >> 24) & 0xFF;
    }
};

struct DateStamp_t {
    bool all_cmnd = false;
    std::uint16_t DateStamp = 0;
};

struct ExcavRec_t {
    std::uint8_t DataType = 0;
    std::uint16_t Machine = 0;
    std::uint16_t LoadID = 0;
    std::uint16_t LoadWght = 0;
    TimeStamp_t Time;
    DateStamp_t Date;
};

struct ExcavData_t {
    ExcavRec_t ExcavRecs;
    std::uint16_t Termination = 0;
};

// The log file's name parts; only SerialN (characters 6 to 9) is used.
struct FileName_t {
    QString FileNameStr; // at most 15 characters
    QString SerialN() const { return FileNameStr.mid(5, 4); }
};
