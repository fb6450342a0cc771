#include "db/SqlValues.h"

namespace dv::sqlvalues {

namespace {
void put(QChar *&p, int value, int digits)
{
    for (int i = digits - 1; i >= 0; --i) {
        p[i] = QChar(u'0' + value % 10);
        value /= 10;
    }
    p += digits;
}
} // namespace

QString dateTimeText(const QDateTime &dt)
{
    if (!dt.isValid())
        return QString();
    const QDateTime local = dt.timeSpec() == Qt::LocalTime ? dt : dt.toLocalTime();
    const QDate d = local.date();
    const QTime t = local.time();
    if (d.year() < 0 || d.year() > 9999)
        return local.toString(QLatin1String(kDateTimeFormat));
    return dateTimeText(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec());
}

QString dateTimeText(int year, int month, int day, int hour, int minute, int second, int msec)
{
    QString s(23, Qt::Uninitialized);
    QChar *p = s.data();
    put(p, year, 4);
    *p++ = u'-';
    put(p, month, 2);
    *p++ = u'-';
    put(p, day, 2);
    *p++ = u'T';
    put(p, hour, 2);
    *p++ = u':';
    put(p, minute, 2);
    *p++ = u':';
    put(p, second, 2);
    *p++ = u'.';
    put(p, msec, 3);
    return s;
}

QVariant toDb(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        return v.toDateTime().isValid() ? QVariant(dateTimeText(v.toDateTime())) : QVariant();
    case QMetaType::QDate:
        return v.toDate().isValid() ? QVariant(dateTimeText(v.toDate().startOfDay())) : QVariant();
    case QMetaType::Float:
        return QVariant(double(v.toFloat()));
    default:
        return v;
    }
}

QVariant fromDbDateTime(const QVariant &v)
{
    if (v.typeId() != QMetaType::QString)
        return v;
    const QString s = v.toString();
    QDateTime dt = QDateTime::fromString(s, Qt::ISODateWithMs);
    if (!dt.isValid())
        dt = QDateTime::fromString(s, Qt::ISODate);
    return dt.isValid() ? QVariant(dt) : v;
}

QString quoteIdent(const QString &name)
{
    QString n = name;
    n.replace(u'"', QStringLiteral("\"\""));
    return u'"' + n + u'"';
}

} // namespace dv::sqlvalues
