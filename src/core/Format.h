#pragma once

#include <QDateTime>
#include <QString>
#include <QVariantList>

// Delphi-style formatting of dates, times and numbers, for the display
// patterns the program uses ("hh:nn am/pm", "dd/MMM/yyyy", "yyyy/MM/dd",
// "dd mmm yyyy hh:mm:ss:am/pm", "####0.0t", "%2.2ft", ...).
//
// The locale is fixed: English month and day names, '/' as the date
// separator, ':' as the time separator and '.' as the decimal point. The
// office PCs' regional settings are not reproduced, so stored texts (dates
// compared as "yyyy/MM/dd" in the database) and reports read the same on
// every machine.
namespace dv {

// FormatDateTime: specifiers are case-insensitive. d dd ddd dddd ddddd
// dddddd, m mm mmm mmmm (minutes when right after an h specifier), yy yyyy,
// h hh, n nn, s ss, z zzz, am/pm a/p ampm (any of them switches h to the
// 12-hour clock), c t tt, '/' ':', text in quotes is copied.
QString FormatDateTime(const QString &pattern, const QDateTime &value);

// FormatFloat: up to three sections "pos;neg;zero"; '0' a digit always
// shown, '#' a digit shown when significant, '.' the decimal point, ','
// thousands separators, E+ E- e+ e- scientific, quoted text copied; any other
// character is copied. Rounds half away from zero on the decimal value.
QString FormatFloat(const QString &pattern, double value);

// Format: printf-like "%[index:][-][width][.prec]type" with types d u x s f
// e g n and %% ; other text is copied. Throws dv::EConvertError when a
// specifier does not fit its argument or an argument is missing.
QString Format(const QString &pattern, const QVariantList &args);

// Delphi's TDateTime: days since 30 Dec 1899 (local time) with the time of
// day as the fraction.
double toDelphiDateTime(const QDateTime &value);
QDateTime fromDelphiDateTime(double value);

} // namespace dv
