#include "core/Errors.h"
#include "db/L3Data.h"
#include "db/DbFixture.h"

#include <QDir>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class DataModule : public ::testing::Test {
protected:
    dbtest::Settings s;
    QTemporaryDir dir;

    QString makeDb(const QStringList &alter = {})
    {
        const QString path = dir.path() + QStringLiteral("/ExLoggerDB.mdb");
        dv::createDatabase(path);
        if (!alter.isEmpty())
            dbtest::sql(path, alter);
        s.setDatabase(dir.path(), QStringLiteral("ExLoggerDB.mdb"));
        return path;
    }
};

TEST_F(DataModule, CreateOpensTheThreeTables)
{
    makeDb();
    TdmDataBase dm(s.info, s.prompter);
    dm.DataModuleCreate();
    EXPECT_TRUE(s.prompter.shown().isEmpty());
    EXPECT_TRUE(dm.connected());
    EXPECT_TRUE(dm.L3EventTbl.active() && dm.L3EquipmentTbl.active() && dm.L3DownLoadTbl.active());
    EXPECT_TRUE(dm.EventDSEnabled && dm.DownLoadDSEnabled);
    EXPECT_EQ(dm.L3ADOConnection.path(), dir.path() + QDir::separator() + QStringLiteral("ExLoggerDB.mdb"));
}

TEST_F(DataModule, MissingFileIsReportedAndLeavesEverythingClosed)
{
    s.setDatabase(dir.path(), QStringLiteral("nothere.mdb"));
    TdmDataBase dm(s.info, s.prompter);
    dm.DataModuleCreate();
    ASSERT_EQ(s.prompter.shown().size(), 1);
    EXPECT_EQ(s.prompter.shown()[0].kind, dv::MsgKind::Error);
    EXPECT_EQ(s.prompter.shown()[0].text,
              QStringLiteral("Database Filename doesn't exist :- ") + dir.path() + QDir::separator()
                  + QStringLiteral("nothere.mdb"));
    EXPECT_FALSE(dm.connected());
    EXPECT_FALSE(dm.L3EventTbl.active());
    EXPECT_EQ(dm.EventCount(), 0);
}

TEST_F(DataModule, TrailingSeparatorInTheFolderStillOpens)
{
    makeDb();
    s.info.SetVariable(ivDATABASEPATH, dir.path() + QDir::separator());
    TdmDataBase dm(s.info, s.prompter);
    dm.DataModuleCreate();
    EXPECT_TRUE(s.prompter.shown().isEmpty());
    EXPECT_TRUE(dm.connected() && dm.L3DownLoadTbl.active());
}

TEST_F(DataModule, MissingDeclaredColumnFailsTheEventTableButAnUndeclaredOneDoesNot)
{
    // PeakSpeed is declared: opening fails and the error reaches the caller.
    makeDb({QStringLiteral("ALTER TABLE EventTable DROP COLUMN PeakSpeed")});
    {
        TdmDataBase dm(s.info, s.prompter);
        try {
            dm.DataModuleCreate();
            FAIL() << "opened an event table without PeakSpeed";
        } catch (const dv::EDatabaseError &e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("Field 'PeakSpeed' not found"))) << qPrintable(e.message());
        }
        EXPECT_FALSE(dm.L3EventTbl.active());
    }
    QFile::remove(dir.path() + QStringLiteral("/ExLoggerDB.mdb"));

    // ErrorState is not declared: everything opens; only writing it fails.
    makeDb({QStringLiteral("ALTER TABLE EventTable DROP COLUMN ErrorState")});
    TdmDataBase dm(s.info, s.prompter);
    dm.DataModuleCreate();
    EXPECT_TRUE(dm.L3EventTbl.active());
    dm.L3EventTbl.append();
    dm.L3EventTbl.setField(QStringLiteral("ErrorCode"), QStringLiteral("Overload"));
    EXPECT_THROW(dm.L3EventTbl.setField(QStringLiteral("ErrorState"), QStringLiteral("On")), dv::EDatabaseError);
    dm.L3EventTbl.cancel();
}

TEST_F(DataModule, DownloadRowThenEventsUnderItsNumber)
{
    makeDb();
    TdmDataBase dm(s.info, s.prompter);
    dm.DataModuleCreate();
    QSignalSpy updated(&dm, &TdmDataBase::EventDSUpdateData);
    const QString serial = QStringLiteral("1\"2'); drop --");
    const QDateTime before = QDateTime::currentDateTime().addMSecs(-1);
    dm.DownloadTableUpdateFileSerialNum(serial);
    EXPECT_EQ(dm.L3DownLoadTbl.field(QStringLiteral("CraneID")).toString(), serial);
    EXPECT_GE(dm.L3DownLoadTbl.field(QStringLiteral("DateTime")).toDateTime(), before);
    const int download = dm.L3DownLoadTbl.field(QStringLiteral("DownLoad")).toInt();
    EXPECT_EQ(download, 1);

    {
        auto ins = dm.beginEventInsert();
        for (int i = 0; i < 10; ++i)
            ins->add(EventRow{download, QDateTime(QDate(2024, 5, 1), QTime(10, i)), QStringLiteral("Load"),
                              QStringLiteral("Excavator"), 1.25f * float(i), {}});
        ins->commit();
    }
    EXPECT_EQ(updated.count(), 1);
    EXPECT_EQ(dm.EventCount(), 10);
    EXPECT_EQ(dm.L3EventTbl.recordCount(), 10);
    dm.L3EventTbl.last();
    EXPECT_EQ(dm.L3EventTbl.field(QStringLiteral("DownLoad")).toInt(), download);
    EXPECT_DOUBLE_EQ(dm.L3EventTbl.field(QStringLiteral("PeakSpeed")).toDouble(), 11.25);
    EXPECT_EQ(dm.L3EventTbl.field(QStringLiteral("DateTime")).toDateTime(), QDateTime(QDate(2024, 5, 1), QTime(10, 9)));

    // uncommitted rows go when the inserter does
    {
        auto ins = dm.beginEventInsert();
        ins->add(EventRow{download, QDateTime::currentDateTime(), {}, {}, 0, {}});
    }
    EXPECT_EQ(dm.EventCount(), 10);
    EXPECT_EQ(updated.count(), 1);

    // a refused row fails the add; the rows before it still commit
    {
        auto ins = dm.beginEventInsert();
        ins->add(EventRow{download, QDateTime::currentDateTime(), QStringLiteral("ok"), {}, 0, {}});
        EXPECT_THROW(ins->add(EventRow{download, QDateTime::currentDateTime(), QString(31, u'x'), {}, 0, {}}),
                     dv::EDatabaseError);
        ins->commit();
    }
    EXPECT_EQ(dm.EventCount(), 11);
}

TEST_F(DataModule, AddAllFieldsKeepsEveryColumnReachableAndReopens)
{
    const QString path = makeDb();
    TdmDataBase dm(s.info, s.prompter);
    dm.DataModuleCreate();
    dbtest::sql(path, QStringLiteral("ALTER TABLE EquipmentTable ADD COLUMN Site TEXT"));
    EXPECT_FALSE(dm.L3EquipmentTbl.hasField(QStringLiteral("Site")));
    dm.AddAllFields(dm.L3EventTbl);
    dm.AddAllFields(dm.L3EquipmentTbl);
    EXPECT_TRUE(dm.AllFieldsFound());
    EXPECT_TRUE(dm.L3EquipmentTbl.active());
    EXPECT_TRUE(dm.L3EquipmentTbl.hasField(QStringLiteral("Site")));
    EXPECT_TRUE(dm.L3EventTbl.hasField(QStringLiteral("Reeving")));
}

TEST_F(DataModule, ShowVersionNamesTheEngine)
{
    TdmDataBase dm(s.info, s.prompter);
    dm.ShowVersion();
    ASSERT_EQ(s.prompter.shown().size(), 1);
    EXPECT_EQ(s.prompter.shown()[0].kind, dv::MsgKind::Information);
    EXPECT_TRUE(s.prompter.shown()[0].text.startsWith(QStringLiteral("ADO Version is SQLite 3.")));
    EXPECT_TRUE(s.prompter.shown()[0].text.endsWith(QStringLiteral(" (Should be at least 2.8)")));
}

} // namespace
