#include "FixtureDb.h"
#include "FixtureLog.h"

#include "core/Errors.h"
#include "import/ReadLogData.h"
#include "import/ReadLogFile.h"

#include <gtest/gtest.h>

using fixture::Rec;

namespace {

const QByteArray kTerm("\xAA\x55", 2);

struct Case {
    const char *name;
    QByteArray bytes;
    bool suppress;
    QStringList boxes;  // in order
    QStringList stored; // LoadIDs committed
    const char *outcome; // "clean", "problem", or the message of the error that ends the read
};

QString outcomeOf(fixture::Db &f)
{
    f.db.DownloadTableUpdateFileSerialNum(QStringLiteral("0457"));
    try {
        return ReadLogData(f.db, f.info, f.prompter, f.state).run() ? QStringLiteral("clean")
                                                                     : QStringLiteral("problem");
    } catch (const dv::EConvertError &e) {
        return e.message();
    }
}

TEST(ImportReadLogData, boxesRowsAndResultFollowTheFile)
{
    const QByteArray good1 = Rec{}.load(1, 100).bytes();
    const QByteArray good2 = Rec{}.load(2, 200).bytes();
    const QByteArray good3 = Rec{}.load(3, 300).bytes();
    QByteArray stray = good1;
    stray.insert(13, '\x00');
    const QByteArray terminatorAtP9 = Rec{}.term(0).bytes() + QByteArray(9, '\0') + kTerm;

    const Case cases[] = {
        {"empty file", {}, false, {"P:0 Records were read into Database"}, {}, "clean"},
        {"three good records", good1 + good2 + good3, false, {"P:3 Records were read into Database"},
         {"1", "2", "3"}, "clean"},
        {"one stray byte in the first record", stray + good2, false,
         {"E:Found Termination in Record 0 But record discarded", "P:2 Records were read into Database"},
         {"2"}, "problem"},
        {"terminator first found at P+9", good1 + terminatorAtP9 + good3, false,
         {"E:Found Termination in Record 1 But record discarded", "E:Error Reading Data in Record 1",
          "P:3 Records were read into Database"},
         {"1", "3"}, "problem"},
        {"damaged terminator, warnings suppressed",
         Rec{}.term(0).bytes() + QByteArray(12, '\0') + Rec{}.term(1).bytes() + QByteArray(12, '\0'), true,
         {"P:2 Records were read into Database"}, {}, "problem"},
        {"cut-short tail", good1 + good2.left(9), false,
         {"E:Error Reading Data in Record 1", "P:2 Records were read into Database"}, {"1"}, "problem"},
        {"Hours 24 ends the read; the rows before it stay", good1 + Rec{}.load(2, 0).at(24, 0, 0).bytes() + good3,
         false, {}, {"1"}, "Invalid argument to time encode"},
        {"30 February in the first record", Rec{}.on(fixture::date(30, 2, 24)).bytes() + good2, false, {}, {},
         "Invalid argument to date encode"},
    };
    for (const Case &c : cases) {
        fixture::Db f;
        f.set(ivSUPPRESSWARNINGS, c.suppress);
        f.state.Ms1 = c.bytes;
        EXPECT_EQ(outcomeOf(f), QString::fromLatin1(c.outcome)) << c.name;
        EXPECT_EQ(f.boxes(), c.boxes) << c.name;
        EXPECT_EQ(f.eventLoadIds(), c.stored) << c.name;
    }
}

TEST(ImportReadLogData, writesTheRecordFieldsUnderTheCurrentDownload)
{
    fixture::Db f;
    f.db.DownloadTableUpdateFileSerialNum(QStringLiteral("0001"));
    f.db.DownloadTableUpdateFileSerialNum(QStringLiteral("0457"));
    const int downLoad = f.db.L3DownLoadTbl.field(QStringLiteral("DownLoad")).toInt();
    Rec r;
    r.machine = 0x0041;
    r.at(13, 45, 7).on(fixture::date(29, 2, 24)).load(7, 1234);
    f.state.Ms1 = r.bytes() + Rec{}.load(8, 5).bytes();
    f.state.DwnldRecrd = 65535;

    EXPECT_TRUE(ReadLogData(f.db, f.info, f.prompter, f.state).run());

    const auto rows = f.committed(QStringLiteral(
        "SELECT DownLoad, DateTime, ErrorCode, ErrorStr, PeakSpeed, EngUnits, SetLimit FROM EventTable ORDER BY rowid"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][0].toInt(), downLoad);
    EXPECT_EQ(rows[1][0].toInt(), downLoad);
    EXPECT_EQ(rows[0][1].toString(), QStringLiteral("2024-02-29T13:45:07.000"));
    EXPECT_EQ(rows[0][2].toString(), QStringLiteral("A"));
    EXPECT_EQ(rows[0][3].toString(), QStringLiteral("7"));
    EXPECT_EQ(rows[0][4].toDouble(), double(12.34f)); // single precision, then widened
    EXPECT_TRUE(rows[0][5].isNull());
    EXPECT_TRUE(rows[0][6].isNull());
    EXPECT_EQ(f.db.DateTime_Stamp, QDateTime(QDate(2024, 3, 14), QTime(10, 15, 30))); // the last record's
    EXPECT_EQ(f.state.DwnldRecrd, 1); // 65535 + 2 wraps through 0
    EXPECT_TRUE(f.state.LogToDataBase);
    EXPECT_EQ(f.state.ExcavatorData.ExcavRecs.LoadID, 8);
}

TEST(ImportReadLogData, disconnectedDatabaseWarnsForEveryGoodRecord)
{
    fixture::Db f(/*connect=*/false);
    f.set(ivSUPPRESSWARNINGS, true); // that box does not depend on it
    f.state.Ms1 = fixture::goodRecords(2) + Rec{}.term(0).bytes();
    EXPECT_FALSE(ReadLogData(f.db, f.info, f.prompter, f.state).run());
    EXPECT_EQ(f.boxes(), (QStringList{"W:Connection to DataBase Failed", "W:Connection to DataBase Failed",
                                      "P:3 Records were read into Database"}));
    EXPECT_EQ(f.state.DwnldRecrd, 2);
    EXPECT_FALSE(f.state.LogToDataBase);
}

// The rows of one file become visible together when the file ends, so a
// crash half-way leaves none of them.
class PeekWhileReading : public ImportObserver {
public:
    explicit PeekWhileReading(const fixture::Db &f) : f_(f) {}
    void recordStored(quint16) override { seen << f_.eventLoadIds().size(); }
    QList<qsizetype> seen;

private:
    const fixture::Db &f_;
};

TEST(ImportReadLogData, rowsOfAFileAreCommittedTogether)
{
    fixture::Db f;
    f.db.DownloadTableUpdateFileSerialNum(QStringLiteral("0457"));
    f.state.Ms1 = fixture::goodRecords(3);
    PeekWhileReading peek(f);
    EXPECT_TRUE(ReadLogData(f.db, f.info, f.prompter, f.state).run(&peek));
    EXPECT_EQ(peek.seen, (QList<qsizetype>{0, 0, 0}));
    EXPECT_EQ(f.eventLoadIds().size(), 3);
}

TEST(ImportReadLogData, theSuppressionSettingIsReadAtEachBox)
{
    // Ticking "Suppress Warnings" while the first warning is open silences the rest.
    class SuppressOnFirstBox : public dv::Prompter {
    public:
        explicit SuppressOnFirstBox(tInfo &info) : info_(info) {}
        using dv::Prompter::ask;
        dv::MsgButton ask(const dv::Prompt &p) override
        {
            texts << p.text;
            info_.SetVariable(ivSUPPRESSWARNINGS, true);
            return dv::mbOK;
        }
        QStringList texts;

    private:
        tInfo &info_;
    };
    fixture::Db f;
    f.db.DownloadTableUpdateFileSerialNum(QStringLiteral("0457"));
    SuppressOnFirstBox prompter(f.info);
    f.state.Ms1 = Rec{}.term(0).bytes() + QByteArray(12, '\0') + Rec{}.term(0).bytes();
    EXPECT_FALSE(ReadLogData(f.db, f.info, prompter, f.state).run());
    EXPECT_EQ(prompter.texts, (QStringList{"Error Reading Data in Record 0", "2 Records were read into Database"}));
}

} // namespace
