#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace dv::sqlvalues {

// Date/time travels to the database as local wall-clock text in this form:
// it sorts in time order and the engine's date functions read it.
inline constexpr const char *kDateTimeFormat = "yyyy-MM-ddTHH:mm:ss.zzz";

// Fast text form of a date-time (the import writes a million of them).
QString dateTimeText(const QDateTime &dt);
// The same text straight from wall-clock fields, with no time-zone lookup.
QString dateTimeText(int year, int month, int day, int hour, int minute, int second, int msec = 0);

// A value as it is bound: date-times as text, floats widened, the rest as is.
QVariant toDb(const QVariant &v);

// A value as read from a date/time column: the stored text back as a QDateTime
// (local time); anything that is not such text is returned unchanged.
QVariant fromDbDateTime(const QVariant &v);

// "name" quoted as an SQL identifier.
QString quoteIdent(const QString &name);

} // namespace dv::sqlvalues
