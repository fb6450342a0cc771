#include "core/Format.h"

#include "core/Errors.h"

#include <QTimeZone>

#include <cmath>
#include <cstdio>

namespace dv {

namespace {

// --- fixed English locale ----------------------------------------------------

const char *const kShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char *const kLongMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
// Sunday first, as Delphi's DayOfWeek counts.
const char *const kShortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char *const kLongDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

constexpr QChar kDateSeparator = u'/';
constexpr QChar kTimeSeparator = u':';
constexpr QChar kDecimalSeparator = u'.';
constexpr QChar kThousandSeparator = u',';
const char *const kShortDateFormat = "dd/mm/yyyy";
const char *const kLongDateFormat = "dddd, d mmmm yyyy";
const char *const kShortTimeFormat = "hh:nn";
const char *const kLongTimeFormat = "hh:nn:ss";

// --- decimal digits of a double -----------------------------------------------

// |value| = 0.d1 d2 d3 ... * 10^exponent; no digits means zero.
struct Decimal {
    QByteArray digits;
    int exponent = 0;
    bool negative = false;
    bool isZero() const { return digits.isEmpty(); }
};

// 15 significant digits, as Delphi's formatting routines take from a double;
// later rounding works on these decimal digits, so 12.25 rounds to 12.3.
Decimal toDecimal(double value)
{
    Decimal d;
    d.negative = std::signbit(value);
    const double a = std::fabs(value);
    if (a == 0.0 || !std::isfinite(a))
        return d;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", a);
    // "d.ddddddddddddddde[+-]xx"
    QByteArray s(buf);
    const qsizetype e = s.indexOf('e');
    d.digits = s.left(1) + s.mid(2, e - 2);
    d.exponent = s.mid(e + 1).toInt() + 1;
    while (d.digits.endsWith('0'))
        d.digits.chop(1);
    return d;
}

// Keeps `keep` leading digits, rounding half away from zero.
void roundDigits(Decimal &d, qsizetype keep)
{
    if (d.isZero() || keep >= d.digits.size())
        return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits.at(keep) >= '5';
    d.digits.truncate(keep);
    if (up) {
        qsizetype i = keep - 1;
        while (i >= 0 && d.digits.at(i) == '9') {
            d.digits[i] = '0';
            --i;
        }
        if (i < 0) {
            d.digits.prepend('1');
            ++d.exponent;
        } else {
            d.digits[i] = static_cast<char>(d.digits.at(i) + 1);
        }
    }
    while (d.digits.endsWith('0'))
        d.digits.chop(1);
}

void roundToDecimals(Decimal &d, int decimals) { roundDigits(d, d.exponent + decimals); }

QChar digitAt(const Decimal &d, qsizetype index)
{
    if (index < 0 || index >= d.digits.size())
        return u'0';
    return QChar::fromLatin1(d.digits.at(index));
}

// Integer digits of a rounded decimal, without leading zeros ("" for < 1).
QString integerDigits(const Decimal &d)
{
    QString out;
    for (qsizetype i = 0; i < d.exponent; ++i)
        out.append(digitAt(d, i));
    return out;
}

QString fractionDigits(const Decimal &d, int count)
{
    QString out;
    for (int i = 0; i < count; ++i)
        out.append(digitAt(d, d.exponent + i));
    return out;
}

QString groupThousands(const QString &digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out.append(kThousandSeparator);
        out.append(digits.at(i));
    }
    return out;
}

QString fixed(double value, int decimals, bool thousands)
{
    Decimal d = toDecimal(value);
    roundToDecimals(d, decimals);
    QString ip = integerDigits(d);
    if (ip.isEmpty())
        ip = QStringLiteral("0");
    if (thousands)
        ip = groupThousands(ip);
    QString out = (d.negative && !d.isZero()) ? QStringLiteral("-") : QString();
    out += ip;
    if (decimals > 0)
        out += kDecimalSeparator + fractionDigits(d, decimals);
    return out;
}

// --- FormatDateTime -------------------------------------------------------------

QString pad(int v, int width) { return QStringLiteral("%1").arg(v, width, 10, QLatin1Char('0')); }

bool startsWithCI(const QString &s, qsizetype pos, const char *what)
{
    return s.mid(pos, qsizetype(qstrlen(what))).compare(QLatin1String(what), Qt::CaseInsensitive) == 0;
}

// Whether an am/pm specifier follows `from` (outside quotes): it puts the
// hours before it on the 12-hour clock.
bool twelveHourFrom(const QString &p, qsizetype from)
{
    for (qsizetype i = from; i < p.size(); ++i) {
        const QChar c = p.at(i);
        if (c == u'\'' || c == u'"') {
            const qsizetype end = p.indexOf(c, i + 1);
            if (end < 0)
                return false;
            i = end;
        } else if (c == u'a' || c == u'A') {
            if (startsWithCI(p, i, "am/pm") || startsWithCI(p, i, "a/p") || startsWithCI(p, i, "ampm"))
                return true;
        }
    }
    return false;
}

void appendDateTime(QString &out, const QString &p, const QDate &date, const QTime &time, int depth)
{
    QChar lastToken;
    qsizetype i = 0;
    while (i < p.size()) {
        const QChar starter = p.at(i);
        qsizetype count = 1;
        while (i + count < p.size() && p.at(i + count) == starter)
            ++count;
        QChar token = starter.toUpper();
        if (token >= u'A' && token <= u'Z') {
            if (token == u'M' && lastToken == u'H')
                token = u'N';
            lastToken = token;
        }
        switch (token.unicode()) {
        case u'Y':
            out += count <= 2 ? pad(date.year() % 100, 2) : pad(date.year(), 4);
            break;
        case u'M':
            if (count <= 2)
                out += pad(date.month(), int(count));
            else if (count == 3)
                out += QLatin1String(kShortMonths[date.month() - 1]);
            else
                out += QLatin1String(kLongMonths[date.month() - 1]);
            break;
        case u'D':
            if (count <= 2)
                out += pad(date.day(), int(count));
            else if (count == 3)
                out += QLatin1String(kShortDays[date.dayOfWeek() % 7]);
            else if (count == 4)
                out += QLatin1String(kLongDays[date.dayOfWeek() % 7]);
            else if (depth == 0)
                appendDateTime(out, QLatin1String(count == 5 ? kShortDateFormat : kLongDateFormat), date, time, 1);
            break;
        case u'H': {
            int h = time.hour();
            if (twelveHourFrom(p, i + count)) {
                h %= 12;
                if (h == 0)
                    h = 12;
            }
            out += pad(h, count >= 2 ? 2 : 1);
            break;
        }
        case u'N':
            out += pad(time.minute(), count >= 2 ? 2 : 1);
            break;
        case u'S':
            out += pad(time.second(), count >= 2 ? 2 : 1);
            break;
        case u'Z':
            out += pad(time.msec(), count >= 2 ? 3 : 1);
            break;
        case u'T':
            if (depth == 0)
                appendDateTime(out, QLatin1String(count == 1 ? kShortTimeFormat : kLongTimeFormat), date, time, 1);
            count = count >= 2 ? 2 : 1;
            break;
        case u'C':
            if (depth == 0) {
                appendDateTime(out, QLatin1String(kShortDateFormat), date, time, 1);
                if (time.msecsSinceStartOfDay() != 0) {
                    out += u' ';
                    appendDateTime(out, QLatin1String(kLongTimeFormat), date, time, 1);
                }
            }
            count = 1;
            break;
        case u'A': {
            const bool pm = time.hour() >= 12;
            count = 1;
            if (startsWithCI(p, i, "am/pm")) {
                out += p.mid(pm ? i + 3 : i, 2); // the letters as the pattern writes them
                count = 5;
            } else if (startsWithCI(p, i, "a/p")) {
                out += p.at(pm ? i + 2 : i);
                count = 3;
            } else if (startsWithCI(p, i, "ampm")) {
                out += pm ? QStringLiteral("PM") : QStringLiteral("AM");
                count = 4;
            } else {
                out += starter;
            }
            break;
        }
        case u'/':
            out += QString(count, kDateSeparator);
            break;
        case u':':
            out += QString(count, kTimeSeparator);
            break;
        case u'\'':
        case u'"': {
            const qsizetype end = p.indexOf(starter, i + 1);
            if (end < 0) {
                out += p.mid(i + 1);
                return;
            }
            out += p.mid(i + 1, end - i - 1);
            count = end - i + 1;
            break;
        }
        default:
            out += p.mid(i, count);
            break;
        }
        i += count;
    }
}

// --- FormatFloat ------------------------------------------------------------------

QStringList splitSections(const QString &pattern)
{
    QStringList sections;
    QString cur;
    QChar quote;
    for (const QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            sections.append(cur);
            cur.clear();
            continue;
        }
        cur.append(c);
    }
    sections.append(cur);
    return sections;
}

struct SectionInfo {
    int intPlaceholders = 0;
    int minInt = 0;
    int minDec = 0;
    int maxDec = 0;
    bool thousands = false;
    bool scientific = false;
    bool expAlwaysSign = false;
    int expDigits = 0;
    QString expLetter;
};

SectionInfo analyse(const QString &s)
{
    SectionInfo info;
    bool afterPoint = false;
    bool seenZero = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == u'\'' || c == u'"') {
            const qsizetype end = s.indexOf(c, i + 1);
            i = end < 0 ? s.size() : end;
        } else if ((c == u'E' || c == u'e') && i + 1 < s.size() && (s.at(i + 1) == u'+' || s.at(i + 1) == u'-')) {
            info.scientific = true;
            info.expLetter = c;
            info.expAlwaysSign = s.at(i + 1) == u'+';
            i += 2;
            while (i < s.size() && s.at(i) == u'0') {
                ++info.expDigits;
                ++i;
            }
            break;
        } else if (c == u'0' || c == u'#') {
            if (afterPoint) {
                ++info.maxDec;
                if (c == u'0')
                    info.minDec = info.maxDec;
            } else {
                ++info.intPlaceholders;
                if (c == u'0')
                    seenZero = true;
                if (seenZero)
                    ++info.minInt;
            }
        } else if (c == u'.' && !afterPoint) {
            afterPoint = true;
        } else if (c == u',' && !afterPoint) {
            info.thousands = true;
        }
    }
    return info;
}

QString renderSection(const QString &s, const SectionInfo &info, const QString &intText,
                      const QString &fracText, const QString &expText, bool minus)
{
    QString out;
    if (minus)
        out += u'-';
    bool intDone = false;
    bool afterPoint = false;
    int fracIndex = 0;
    const auto emitInt = [&] {
        if (!intDone)
            out += intText;
        intDone = true;
    };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c == u'\'' || c == u'"') {
            const qsizetype end = s.indexOf(c, i + 1);
            out += s.mid(i + 1, end < 0 ? -1 : end - i - 1);
            i = end < 0 ? s.size() : end;
        } else if (info.scientific && (c == u'E' || c == u'e') && i + 1 < s.size()
                   && (s.at(i + 1) == u'+' || s.at(i + 1) == u'-')) {
            emitInt();
            out += expText;
            i += 1 + info.expDigits;
        } else if (c == u'0' || c == u'#') {
            if (!afterPoint) {
                emitInt();
            } else {
                if (fracIndex < fracText.size())
                    out += fracText.at(fracIndex);
                ++fracIndex;
            }
        } else if (c == u'.' && !afterPoint) {
            emitInt();
            afterPoint = true;
            if (!fracText.isEmpty())
                out += kDecimalSeparator;
        } else if (c == u',' && !afterPoint) {
            // placed by the grouping
        } else {
            out += c;
        }
    }
    emitInt();
    return out;
}

QString trimFraction(QString frac, int minDec)
{
    while (frac.size() > minDec && frac.endsWith(u'0'))
        frac.chop(1);
    return frac;
}

// --- Format -------------------------------------------------------------------------

[[noreturn]] void badFormat(const QString &pattern)
{
    throw EConvertError(QStringLiteral("Format '%1' invalid or incompatible with argument").arg(pattern));
}

bool isInteger(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

bool isNumber(const QVariant &v)
{
    return isInteger(v) || v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float;
}

QString scientific(double value, int precision)
{
    if (precision < 1)
        precision = 1;
    if (precision > 15)
        precision = 15;
    Decimal d = toDecimal(value);
    roundDigits(d, precision);
    QString out = (d.negative && !d.isZero()) ? QStringLiteral("-") : QString();
    out += digitAt(d, 0);
    if (precision > 1) {
        out += kDecimalSeparator;
        for (int i = 1; i < precision; ++i)
            out += digitAt(d, i);
    }
    const int e = d.isZero() ? 0 : d.exponent - 1;
    out += e < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
    out += pad(std::abs(e), 3);
    return out;
}

} // namespace

QString FormatDateTime(const QString &pattern, const QDateTime &value)
{
    const QDateTime v = value.isValid() ? value : fromDelphiDateTime(0.0);
    QString out;
    if (pattern.isEmpty())
        appendDateTime(out, QStringLiteral("c"), v.date(), v.time(), 0);
    else
        appendDateTime(out, pattern, v.date(), v.time(), 0);
    return out;
}

QString FormatFloat(const QString &pattern, double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (pattern.isEmpty())
        return QString::number(value, 'g', 15);

    const QStringList sections = splitSections(pattern);
    QString section = sections.at(0);
    bool minus = value < 0;
    if (minus && sections.size() > 1 && !sections.at(1).isEmpty()) {
        section = sections.at(1);
        minus = false;
    }
    SectionInfo info = analyse(section);

    Decimal d = toDecimal(value);
    QString intText, fracText, expText;
    if (info.scientific) {
        const int intCount = std::max(1, info.intPlaceholders);
        roundDigits(d, intCount + info.maxDec);
        const int exp10 = d.isZero() ? 0 : d.exponent - intCount;
        for (int i = 0; i < intCount; ++i)
            intText += digitAt(d, i);
        while (intText.size() > std::max(1, info.minInt) && intText.startsWith(u'0'))
            intText.remove(0, 1);
        for (int i = 0; i < info.maxDec; ++i)
            fracText += digitAt(d, intCount + i);
        fracText = trimFraction(fracText, info.minDec);
        expText = info.expLetter;
        if (exp10 < 0)
            expText += u'-';
        else if (info.expAlwaysSign)
            expText += u'+';
        expText += pad(std::abs(exp10), std::max(1, info.expDigits));
    } else {
        roundToDecimals(d, info.maxDec);
        intText = integerDigits(d);
        while (intText.size() < info.minInt)
            intText.prepend(u'0');
        if (info.thousands)
            intText = groupThousands(intText);
        fracText = trimFraction(fractionDigits(d, info.maxDec), info.minDec);
    }
    if (d.isZero()) {
        minus = false;
        if (sections.size() > 2 && !sections.at(2).isEmpty()) {
            section = sections.at(2);
            info = analyse(section);
            return renderSection(section, info, QString(info.minInt, u'0'), QString(info.minDec, u'0'),
                                 QString(), false);
        }
    }
    return renderSection(section, info, intText, fracText, expText, minus);
}

QString Format(const QString &pattern, const QVariantList &args)
{
    QString out;
    qsizetype argIndex = 0;
    const auto nextArg = [&]() -> const QVariant & {
        if (argIndex >= args.size())
            badFormat(pattern);
        return args.at(argIndex++);
    };
    const auto readNumber = [&](qsizetype &i, int &n) -> bool {
        if (i < pattern.size() && pattern.at(i) == u'*') {
            const QVariant &a = nextArg();
            if (!isInteger(a))
                badFormat(pattern);
            n = a.toInt();
            ++i;
            return true;
        }
        bool any = false;
        n = 0;
        while (i < pattern.size() && pattern.at(i).isDigit()) {
            n = n * 10 + pattern.at(i).digitValue();
            ++i;
            any = true;
        }
        return any;
    };

    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c != u'%') {
            out += c;
            continue;
        }
        ++i;
        if (i >= pattern.size())
            badFormat(pattern);
        if (pattern.at(i) == u'%') {
            out += u'%';
            continue;
        }
        // [index:]
        {
            qsizetype j = i;
            int n = 0;
            bool any = false;
            while (j < pattern.size() && pattern.at(j).isDigit()) {
                n = n * 10 + pattern.at(j).digitValue();
                ++j;
                any = true;
            }
            if (any && j < pattern.size() && pattern.at(j) == u':') {
                argIndex = n;
                i = j + 1;
            }
        }
        bool left = false;
        if (i < pattern.size() && pattern.at(i) == u'-') {
            left = true;
            ++i;
        }
        int width = 0;
        readNumber(i, width);
        int prec = -1;
        if (i < pattern.size() && pattern.at(i) == u'.') {
            ++i;
            if (!readNumber(i, prec))
                prec = 0;
        }
        if (i >= pattern.size())
            badFormat(pattern);
        const QChar type = pattern.at(i).toLower();
        const QVariant &arg = nextArg();
        QString text;
        switch (type.unicode()) {
        case u'd':
        case u'u':
        case u'x': {
            if (!isInteger(arg))
                badFormat(pattern);
            QString digits;
            bool neg = false;
            if (type == u'd') {
                const qlonglong v = arg.toLongLong();
                neg = v < 0;
                digits = QString::number(neg ? -static_cast<qulonglong>(v) : static_cast<qulonglong>(v));
            } else {
                qulonglong v = arg.toULongLong();
                if (arg.toLongLong() < 0 && arg.toLongLong() >= -0x80000000LL)
                    v = static_cast<quint32>(arg.toLongLong()); // as the 32-bit value
                digits = type == u'u' ? QString::number(v) : QString::number(v, 16).toUpper();
            }
            while (prec > 0 && digits.size() < prec)
                digits.prepend(u'0');
            text = neg ? u'-' + digits : digits;
            break;
        }
        case u'f':
        case u'n':
            if (!isNumber(arg))
                badFormat(pattern);
            text = fixed(arg.toDouble(), prec < 0 ? 2 : std::min(prec, 18), type == u'n');
            break;
        case u'e':
            if (!isNumber(arg))
                badFormat(pattern);
            text = scientific(arg.toDouble(), prec < 0 ? 15 : prec);
            break;
        case u'g':
            if (!isNumber(arg))
                badFormat(pattern);
            text = QString::number(arg.toDouble(), 'g', prec <= 0 ? 15 : std::min(prec, 15)).toUpper();
            break;
        case u's':
            if (!arg.canConvert<QString>())
                badFormat(pattern);
            text = arg.toString();
            if (prec >= 0 && text.size() > prec)
                text.truncate(prec);
            break;
        default:
            badFormat(pattern);
        }
        if (text.size() < width)
            text = left ? text.leftJustified(width) : text.rightJustified(width);
        out += text;
    }
    return out;
}

namespace {
const QDate kDelphiEpoch(1899, 12, 30);
constexpr double kMsecsPerDay = 86400000.0;
} // namespace

double toDelphiDateTime(const QDateTime &value)
{
    const double days = static_cast<double>(kDelphiEpoch.daysTo(value.date()));
    const double frac = value.time().msecsSinceStartOfDay() / kMsecsPerDay;
    // Before the epoch the fraction still counts forward from midnight, so
    // -1.25 is 29 Dec 1899 06:00.
    return days < 0 ? days - frac : days + frac;
}

QDateTime fromDelphiDateTime(double value)
{
    double whole = std::trunc(value);
    qint64 msecs = std::llround(std::fabs(value - whole) * kMsecsPerDay);
    if (msecs >= qint64(kMsecsPerDay)) {
        msecs -= qint64(kMsecsPerDay);
        whole += value < 0 ? -1 : 1;
    }
    const QDate date = kDelphiEpoch.addDays(static_cast<qint64>(whole));
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(msecs)));
}

} // namespace dv
