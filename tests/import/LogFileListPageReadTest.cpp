#include "import/LogFileListPageWorld.h"

#include "core/Errors.h"
#include "import/FixtureLog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using pagetest::World;
using pagetest::local;

namespace {

class ReadLogFileButtonTest : public ::testing::Test {
protected:
    pagetest::CleanDocuments clean;
    World w;
    QString folder = local() + QStringLiteral("/EXCAVATOR");

    void SetUp() override
    {
        QDir().mkpath(local() + QStringLiteral("/__backup"));
        dvtest::writeFile(folder + QStringLiteral("/EX0010457A01.exs"), fixture::goodRecords(3, 1));
        dvtest::writeFile(folder + QStringLiteral("/EX0020999A02.exs"), fixture::goodRecords(2, 10));
        dvtest::writeFile(folder + QStringLiteral("/EX0030111A03.exs"), fixture::goodRecords(1, 20));
        w.db.set(ivBACKUPONREADLOGFILE, false);
        w.db.set(ivDELETEONREADLOGFILE, false);
        w.db.set(ivSUPPRESSWARNINGS, true);
        w.page.enterPage();
    }
};

TEST_F(ReadLogFileButtonTest, TickedFilesAreReadInListOrderWhileTheCommandIsBusy)
{
    QPushButton *btn = w.page.LogFileGB->ReadLogFileBTN;
    QStringList busy;
    QObject::connect(&w.page, &LogFileListPage::numEventsChanged, [&](const QString &) {
        busy << btn->text() + (btn->isEnabled() ? QStringLiteral(" enabled") : QStringLiteral(" disabled")) +
                    (w.page.CheckFileListBox->isEnabled() ? QStringLiteral(" list") : QString());
    });
    w.tick({QStringLiteral("EX0030111A03.exs"), QStringLiteral("EX0010457A01.exs")});
    const quint16 before = w.db.state.DwnldRecrd;

    w.page.ReadLogFileBTNClick();

    // List order, not the order of ticking.
    EXPECT_EQ(w.db.downloads(), (QStringList{QStringLiteral("1:0457"), QStringLiteral("2:0111")}));
    EXPECT_EQ(w.db.eventLoadIds().size(), 4);
    ASSERT_FALSE(busy.isEmpty());
    EXPECT_EQ(busy.last(), QStringLiteral("Loading     Wait!! disabled"));
    EXPECT_EQ(w.numEvents.last()[0].toString(), QString::number(before + 4)) << "the final count is exact";
    EXPECT_EQ(btn->text(), QStringLiteral("Read Log File"));
    EXPECT_TRUE(btn->isEnabled());
    EXPECT_TRUE(w.page.CheckFileListBox->isEnabled());
    EXPECT_TRUE(w.page.LogFileGB->ReadingFileLBL->isHidden());
    EXPECT_EQ(w.page.LogFileGB->readingFileData(), QStringLiteral("EX0030111A03.exs"));
    EXPECT_TRUE(w.ticked().isEmpty()) << "the list was re-read";
    EXPECT_EQ(w.names().size(), 3) << "both settings off: the files stay";
    // Local files: back to the viewer, tab hidden.
    EXPECT_EQ(w.viewer.count(), 1);
    EXPECT_EQ(w.tabShown(), 0);
}

TEST_F(ReadLogFileButtonTest, NothingTickedReturnsToIdleAndWithAStickTheTabStays)
{
    w.page.startDetector();
    w.volumes.plug(QStringLiteral("/media/stick"));
    w.page.ReadLogFileBTNClick();
    EXPECT_TRUE(w.db.downloads().isEmpty());
    EXPECT_TRUE(w.db.prompter.shown().isEmpty());
    EXPECT_EQ(w.page.LogFileGB->ReadLogFileBTN->text(), QStringLiteral("Read Log File"));
    EXPECT_EQ(w.viewer.count(), 0);
    EXPECT_EQ(w.tabShown(), 1);
}

TEST_F(ReadLogFileButtonTest, ACleanFileIsBackedUpWhenTheBoxSaysSo)
{
    w.page.LogFileGB->BackupOnReadCB->click();
    w.tick({QStringLiteral("EX0020999A02.exs")});
    w.page.ReadLogFileBTNClick();
    EXPECT_TRUE(QFileInfo::exists(local() + QStringLiteral("/__backup/EX0020999A02.E~S")));
    EXPECT_EQ(w.names(), (QStringList{QStringLiteral("EX0010457A01.exs"), QStringLiteral("EX0030111A03.exs")}));
}

TEST_F(ReadLogFileButtonTest, AnErrorEndsTheCommandButLeavesTheBusyStateAndReachesTheHook)
{
    w.tick({QStringLiteral("EX0010457A01.exs"), QStringLiteral("EX0020999A02.exs"),
            QStringLiteral("EX0030111A03.exs")});
    QFile::remove(folder + QStringLiteral("/EX0020999A02.exs")); // gone after ticking
    EXPECT_THROW(w.page.ReadLogFileBTNClick(), dv::EInOutError);
    EXPECT_EQ(w.db.downloads(), QStringList{QStringLiteral("1:0457")}) << "files after it are not read";
    EXPECT_EQ(w.page.LogFileGB->ReadLogFileBTN->text(), QStringLiteral("Read Log File"));
    EXPECT_TRUE(w.page.LogFileGB->ReadLogFileBTN->isEnabled());
    EXPECT_TRUE(w.page.CheckFileListBox->isEnabled());
    EXPECT_EQ(w.names().size(), 2);
}

} // namespace
