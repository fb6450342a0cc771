#include "import/LocalDateTimeCache.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

// Runs the body with the process in another time zone, then restores it.
class InZone {
public:
    explicit InZone(const char *tz)
    {
        if (const char *old = std::getenv("TZ"))
            old_ = old, hadOld_ = true;
        setenv("TZ", tz, 1);
        tzset();
    }
    ~InZone()
    {
        if (hadOld_)
            setenv("TZ", old_.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::string old_;
    bool hadOld_ = false;
};

// Every minute-and-second of the days around zone changes gives the same
// wall clock, and the same instant, as a date-time built from its fields.
TEST(ImportLocalDateTime, matchesTheFieldByFieldDateTimeAcrossZoneChanges)
{
    struct Day { const char *tz; int y, m, d; };
    const Day days[] = {
        {"Europe/Berlin", 2024, 3, 31},        // an hour that does not exist
        {"Europe/Berlin", 2024, 10, 27},       // an hour that happens twice
        {"Australia/Lord_Howe", 2024, 4, 7},   // a change of half an hour
        {"Australia/Lord_Howe", 2024, 10, 6},
    };
    for (const Day &day : days) {
        InZone zone(day.tz);
        LocalDateTimeCache cache;
        int mismatches = 0;
        for (int h = 0; h < 24; ++h)
            for (int m = 0; m < 60; ++m)
                for (int s = 0; s < 60; s += 7) {
                    const QDateTime slow(QDate(day.y, day.m, day.d), QTime(h, m, s));
                    const QDateTime fast = cache.make(day.y, day.m, day.d, h, m, s);
                    if (fast.date() != slow.date() || fast.time() != slow.time()
                        || fast.toMSecsSinceEpoch() != slow.toMSecsSinceEpoch())
                        ++mismatches;
                }
        EXPECT_EQ(mismatches, 0) << day.tz << ' ' << day.m << '/' << day.d;
    }
}

} // namespace
