#include "app/ErrorLog.h"
#include "core/Errors.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

QDateTime at(int y, int mo, int d, int h, int mi) { return QDateTime(QDate(y, mo, d), QTime(h, mi)); }

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ErrorLogTest : public ::testing::Test {
protected:
    QTemporaryDir docs{dvtest::home() + QStringLiteral("/docs-XXXXXX")};
    QDateTime now = at(2015, 9, 15, 15, 7);
    ErrorLog log{[this] { return docs.path(); }, [this] { return now; }};

    void SetUp() override { ASSERT_TRUE(QDir(docs.path()).mkpath(QStringLiteral("VidedorovIzarir"))); }
    QString logPath() const { return docs.path() + QStringLiteral("/VidedorovIzarir/Excavator Error.log"); }
};

const QByteArray kEntry = "Error Time Stamp: 03:07 pm on 15/Sep/2015\r\n"
                          "Error Class: EConvertError\r\n"
                          "Error Message: 'x' is not a valid date\r\n"
                          "-->>\r\n";

TEST_F(ErrorLogTest, NewFileHoldsExactlyOneEntry)
{
    EXPECT_EQ(log.logFilePath(), logPath());
    log.LogError(dv::EConvertError(QStringLiteral("'x' is not a valid date")));
    EXPECT_EQ(readAll(logPath()), kEntry);
}

TEST_F(ErrorLogTest, TimeStampUsesTwelveHourClockAndReadsTimeBeforeDate)
{
    struct Row {
        QList<QDateTime> clock; // successive readings
        const char *line;
    };
    const QList<Row> rows = {
        {{at(2015, 9, 15, 0, 30)}, "Error Time Stamp: 12:30 am on 15/Sep/2015\r\n"},
        {{at(2015, 1, 2, 12, 0)}, "Error Time Stamp: 12:00 pm on 02/Jan/2015\r\n"},
        {{at(2015, 9, 15, 23, 59), at(2015, 9, 16, 0, 0)}, "Error Time Stamp: 11:59 pm on 16/Sep/2015\r\n"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.line);
        QFile::remove(logPath());
        int calls = 0;
        ErrorLog timed([this] { return docs.path(); },
                       [&] { return r.clock.at(std::min<qsizetype>(calls++, r.clock.size() - 1)); });
        timed.LogError(QStringLiteral("EGeneralError"), QStringLiteral("m"));
        EXPECT_TRUE(readAll(logPath()).startsWith(r.line));
        EXPECT_EQ(calls, 2);
    }
}

TEST_F(ErrorLogTest, ExistingLinesStayByteIdentical)
{
    struct Row {
        const char *name;
        QByteArray before;
        QByteArray prefix; // what the first lines must read afterwards
    };
    const QList<Row> rows = {
        {"crlf lines", "first\r\nsecond \xE9\r\n-->>\r\n", "first\r\nsecond \xE9\r\n-->>\r\n"},
        {"lf lines", "a\nb\n", "a\nb\n"},
        {"no final line break", "a\r\nlast", "a\r\nlast\r\n"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        dvtest::writeFile(logPath(), r.before);
        log.LogError(dv::EConvertError(QStringLiteral("'x' is not a valid date")));
        EXPECT_EQ(readAll(logPath()), r.prefix + kEntry);
    }
}

TEST_F(ErrorLogTest, ByteOrderMarkKeepsTheFilesEncoding)
{
    struct Row {
        const char *name;
        QByteArray bom;
        QStringConverter::Encoding encoding;
    };
    const QList<Row> rows = {
        {"utf-8", "\xEF\xBB\xBF", QStringConverter::Utf8},
        {"utf-16le", "\xFF\xFE", QStringConverter::Utf16LE},
        {"utf-16be", "\xFE\xFF", QStringConverter::Utf16BE},
    };
    const QString earlier = QStringLiteral("Grüße\r\n");
    const QString message = QStringLiteral("Gerät 5 € / Ω");
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        QStringEncoder enc(r.encoding);
        const QByteArray before = r.bom + QByteArray(enc.encode(earlier));
        dvtest::writeFile(logPath(), before);
        log.LogError(QStringLiteral("EGeneralError"), message);
        const QByteArray after = readAll(logPath());
        ASSERT_TRUE(after.startsWith(before));
        QStringDecoder dec(r.encoding);
        const QString added = dec.decode(after.mid(before.size()));
        EXPECT_FALSE(dec.hasError());
        EXPECT_EQ(added, QStringLiteral("Error Time Stamp: 03:07 pm on 15/Sep/2015\r\nError Class: EGeneralError\r\n"
                                        "Error Message: ")
                             + message + QStringLiteral("\r\n-->>\r\n"));
    }
}

TEST_F(ErrorLogTest, FileWithoutMarkGetsLatin1Bytes)
{
    log.LogError(QStringLiteral("EGeneralError"), QStringLiteral("Gerät €"));
    EXPECT_TRUE(readAll(logPath()).contains("Error Message: Ger\xE4t ?\r\n"));
}

TEST_F(ErrorLogTest, ClassNameOfStandardExceptionsIsReadable)
{
    struct Row {
        std::function<void()> raise;
        const char *classLine;
    };
    const QList<Row> rows = {
        {[] { throw std::runtime_error("plain failure"); }, "Error Class: std::runtime_error\r\n"},
        {[] { throw std::out_of_range("index"); }, "Error Class: std::out_of_range\r\n"},
        {[] { throw dv::EInOutError(QStringLiteral("disk gone")); }, "Error Class: EInOutError\r\n"},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.classLine);
        QFile::remove(logPath());
        try {
            r.raise();
        } catch (const std::exception &e) {
            log.LogError(e); // caught as a standard exception, even our own
        }
        EXPECT_TRUE(readAll(logPath()).contains(r.classLine));
    }
}

TEST_F(ErrorLogTest, UnwritableLogNeverThrowsAndSaysSoOnStderr)
{
    struct Row {
        const char *name;
        std::function<QString()> documents;
        std::function<void()> prepare;
    };
    const QString gone = docs.path() + QStringLiteral("/not-there");
    const QList<Row> rows = {
        {"no documents folder",
         [] () -> QString { throw dv::EGeneralError(QStringLiteral("Could not find MyDocuments folder location.")); },
         [] {}},
        {"product folder missing", [gone] { return gone; }, [] {}},
        {"log path is a folder", [this] { return docs.path(); }, [this] { QDir().mkpath(logPath()); }},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        r.prepare();
        ErrorLog broken(r.documents, [this] { return now; });
        testing::internal::CaptureStderr();
        EXPECT_NO_THROW(broken.LogError(dv::EDatabaseError(QStringLiteral("no table"))));
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("EDatabaseError: no table"), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
    EXPECT_FALSE(QDir(gone).exists()) << "the folder must not be created";
}

} // namespace
