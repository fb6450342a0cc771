#include "core/Errors.h"
#include "core/Format.h"

#include <gtest/gtest.h>

using namespace dv;

namespace {

QDateTime at(int y, int mo, int d, int h, int mi, int s = 0, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

TEST(FormatTest, FormatDateTimePatterns)
{
    struct Row {
        const char *pattern;
        QDateTime when;
        const char *expected;
    };
    const Row rows[] = {
        {"hh:nn am/pm", at(2015, 9, 15, 15, 7), "03:07 pm"},
        {"hh:nn am/pm", at(2015, 9, 15, 0, 30), "12:30 am"},
        {"hh:nn am/pm", at(2015, 9, 15, 12, 0), "12:00 pm"},
        {"hh:nn am/pm", at(2015, 9, 15, 11, 59), "11:59 am"},
        {"hh:nn AM/PM", at(2015, 9, 15, 23, 1), "11:01 PM"},
        {"h:nn a/p", at(2015, 9, 15, 9, 5), "9:05 a"},
        {"hh:nn ampm", at(2015, 9, 15, 13, 5), "01:05 PM"},
        {"hh:nn", at(2015, 9, 15, 15, 7), "15:07"},
        {"dd/MMM/yyyy", at(2015, 9, 15, 15, 7), "15/Sep/2015"},
        {"dd/MMM/yyyy", at(2016, 1, 3, 0, 0), "03/Jan/2016"},
        {"yyyy/MM/dd", at(2015, 9, 5, 15, 7), "2015/09/05"},
        {"yyyy/mm/dd", at(1999, 12, 31, 23, 59), "1999/12/31"},
        {"dd mmm yyyy hh:mm:ss:am/pm", at(2015, 9, 15, 15, 7, 9), "15 Sep 2015 03:07:09:pm"},
        {"dd mmm yyyy hh:mm:ss:am/pm", at(2015, 12, 1, 0, 0, 0), "01 Dec 2015 12:00:00:am"},
        {"hh:mm", at(2015, 9, 15, 8, 42), "08:42"}, // mm after hh: minutes
        {"mm hh", at(2015, 9, 15, 8, 42), "09 08"},
        {"d/m/yy", at(2007, 3, 4, 0, 0), "4/3/07"},
        {"ddd dddd mmmm", at(2015, 9, 13, 0, 0), "Sun Sunday September"},
        {"hh:nn:ss.zzz", at(2015, 9, 15, 1, 2, 3, 45), "01:02:03.045"},
        {"'Date:' dd\"/\"mm", at(2015, 9, 15, 0, 0), "Date: 15/09"},
        {"ddddd t", at(2015, 9, 15, 15, 7), "15/09/2015 15:07"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.pattern);
        EXPECT_EQ(FormatDateTime(QString::fromLatin1(r.pattern), r.when), QString::fromLatin1(r.expected));
    }
}

TEST(FormatTest, FormatFloatPatterns)
{
    struct Row {
        const char *pattern;
        double value;
        const char *expected;
    };
    const Row rows[] = {
        {"####0.0t", 12.34, "12.3t"},
        {"####0.0t", 12.25, "12.3t"}, // half away from zero on the decimal value
        {"####0.0t", 0.04, "0.0t"},
        {"####0.0t", 0.0, "0.0t"},
        {"####0.0t", 123456.789, "123456.8t"},
        {"####0.0t", -2.35, "-2.4t"},
        {"####0.0t", 9.96, "10.0t"},
        {"####0.0t", 1.15, "1.2t"},
        {"0.00", 1.005, "1.01"},
        {"#,##0.00", 1234567.891, "1,234,567.89"},
        {"0.##", 1.5, "1.5"},
        {"0.##", 2.0, "2"},
        {"000", 7, "007"},
        {"#", 0.0, ""},
        {"0.0;(0.0);'zero'", -3.21, "(3.2)"},
        {"0.0;(0.0);'zero'", 0.0, "zero"},
        {"0.0;(0.0);'zero'", 0.01, "zero"},
        {"0.00E+00", 1234.5, "1.23E+03"},
        {"0.0E-0", 0.00125, "1.3E-3"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(std::string(r.pattern) + " " + std::to_string(r.value));
        EXPECT_EQ(FormatFloat(QString::fromLatin1(r.pattern), r.value), QString::fromLatin1(r.expected));
    }
}

TEST(FormatTest, FormatSpecifiers)
{
    struct Row {
        const char *pattern;
        QVariantList args;
        const char *expected;
    };
    const QList<Row> rows = {
        {"%2.2ft", {12.345}, "12.35t"},
        {"%2.2ft", {1.0}, "1.00t"},
        {"%2.2ft", {12.25 / 10}, "1.23t"},
        {"%2.2ft", {-0.004}, "0.00t"},
        {"%s", {QStringLiteral("Excavator")}, "Excavator"},
        {"Read %d records from %s", {42, QStringLiteral("a.exs")}, "Read 42 records from a.exs"},
        {"%d", {-7}, "-7"},
        {"[%5d|%-5d|%.3d]", {12, 12, 5}, "[   12|12   |005]"},
        {"%x %u", {255, 3u}, "FF 3"},
        {"%.2s!", {QStringLiteral("abc")}, "ab!"},
        {"100%% %f", {2.5}, "100% 2.50"},
        {"%1:s %0:s", {QStringLiteral("a"), QStringLiteral("b")}, "b a"},
        {"%n", {1234567.5}, "1,234,567.50"},
        {"%e", {1234.5}, "1.23450000000000E+003"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.pattern);
        EXPECT_EQ(Format(QString::fromLatin1(r.pattern), r.args), QString::fromLatin1(r.expected));
    }
}

TEST(FormatTest, FormatRejectsMissingOrUnfitArguments)
{
    EXPECT_THROW(Format(QStringLiteral("%d %d"), {1}), EConvertError);
    EXPECT_THROW(Format(QStringLiteral("%d"), {QStringLiteral("x")}), EConvertError);
    EXPECT_THROW(Format(QStringLiteral("%f"), {QStringLiteral("x")}), EConvertError);
    EXPECT_THROW(Format(QStringLiteral("%q"), {1}), EConvertError);
    EXPECT_THROW(Format(QStringLiteral("50%"), {}), EConvertError);
}

TEST(FormatTest, DelphiDateTimeValues)
{
    struct Row {
        QDateTime when;
        double value;
    };
    const Row rows[] = {
        {at(1899, 12, 30, 0, 0), 0.0},
        {at(1900, 1, 1, 12, 0), 2.5},
        {at(2015, 9, 15, 15, 7), 42262.0 + (15 * 60 + 7) / 1440.0},
        {at(1899, 12, 29, 6, 0), -1.25},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.when.toString().toStdString());
        EXPECT_NEAR(toDelphiDateTime(r.when), r.value, 1e-9);
        EXPECT_EQ(fromDelphiDateTime(r.value), r.when);
    }
    // A fraction that rounds up to midnight lands on the next day.
    EXPECT_EQ(fromDelphiDateTime(1.9999999999), at(1900, 1, 1, 0, 0));
}

} // namespace
