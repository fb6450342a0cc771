#include "import/LocalDateTimeCache.h"

QDateTime LocalDateTimeCache::make(int year, int month, int day, int hours, int mins, int secs)
{
    const QDate date(year, month, day);
    const QTime time(hours, mins, secs);
    if (date != date_ || hours != hour_) {
        date_ = date;
        hour_ = hours;
        const QDateTime start(date, QTime(hours, 0, 0));
        hourStartValid_ = start.isValid() && start.time() == QTime(hours, 0, 0) && start.date() == date;
        hourStartMs_ = hourStartValid_ ? start.toMSecsSinceEpoch() : 0;
    }
    if (hourStartValid_) {
        const QDateTime fast = QDateTime::fromMSecsSinceEpoch(
            hourStartMs_ + (qint64(mins) * 60 + secs) * 1000, Qt::LocalTime);
        if (fast.time() == time && fast.date() == date)
            return fast;
    }
    return QDateTime(date, time);
}
