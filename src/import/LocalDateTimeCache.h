#pragma once

#include <QDateTime>

// Builds local date-times for records that mostly share their date and hour.
// A local QDateTime built from its fields asks the C library for the zone
// each time (mktime re-reads the zone file), which costs more than storing
// the row; so the start of each hour is built that way once, and the record's
// minutes and seconds are added as milliseconds. A result whose wall clock
// differs from the one asked for (a zone change inside the hour) is built
// the slow way instead.
class LocalDateTimeCache {
public:
    QDateTime make(int year, int month, int day, int hours, int mins, int secs);

private:
    QDate date_;
    int hour_ = -1;
    qint64 hourStartMs_ = 0;
    bool hourStartValid_ = false;
};
