#include "import/LogFileListPageWorld.h"

#include "import/FixtureLog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using pagetest::World;
using pagetest::local;

namespace {

class LogFileListPageTest : public ::testing::Test {
protected:
    pagetest::CleanDocuments clean;
    QTemporaryDir sticks;
    World w;

    QString stick(const QString &name, bool withExcavator)
    {
        const QString root = sticks.path() + QLatin1Char('/') + name;
        QDir().mkpath(withExcavator ? root + QStringLiteral("/EXCAVATOR") : root);
        return root;
    }
};

TEST_F(LogFileListPageTest, StartUpShowsTheTabOnlyWithAUsbVolumeAndStartsOneDetector)
{
    w.page.startDetector();
    EXPECT_EQ(w.tabShown(), 0);
    EXPECT_FALSE(w.page.USBAttached);
    EXPECT_EQ(w.volumes.starts, 1);

    World with;
    with.volumes.add(QStringLiteral("/media/card"), 0);
    with.volumes.add(QStringLiteral("/media/stick"), 7);
    with.page.startDetector();
    EXPECT_EQ(with.tabShown(), 1);
    EXPECT_TRUE(with.page.USBAttached);
    with.page.startDetector(); // the monitor keeps its one detector
    EXPECT_EQ(with.volumes.starts, 1);
}

TEST_F(LogFileListPageTest, ArrivalPointsAtTheSticksExcavatorFolderAndRemovalAtTheLocalOne)
{
    QDir().mkpath(local() + QStringLiteral("/EXCAVATOR"));
    const QString withFolder = stick(QStringLiteral("a"), true);
    const QString bare = stick(QStringLiteral("b"), false);
    dvtest::writeFile(withFolder + QStringLiteral("/EXCAVATOR/12340457001.exs"), "x");
    dvtest::writeFile(withFolder + QStringLiteral("/EXCAVATOR/notes.txt"), "x");
    w.page.startDetector();

    w.volumes.plug(withFolder);
    EXPECT_EQ(w.tabShown(), 1);
    EXPECT_TRUE(w.page.USBAttached);
    EXPECT_EQ(w.page.USBDrv, withFolder);
    EXPECT_EQ(w.page.currentDrive(), withFolder);
    EXPECT_EQ(w.page.currentFolder(), withFolder + QStringLiteral("/EXCAVATOR"));
    // Before the page is first entered the list shows every file.
    EXPECT_EQ(w.names(), (QStringList{QStringLiteral("12340457001.exs"), QStringLiteral("notes.txt")}));

    w.volumes.plug(bare);
    EXPECT_EQ(w.page.currentFolder(), bare);

    // Removing any volume, not only the stick, goes back to the local folder.
    w.volumes.unplug(QStringLiteral("/media/unrelated"));
    EXPECT_EQ(w.tabShown(), 0);
    EXPECT_FALSE(w.page.USBAttached);
    EXPECT_EQ(w.page.USBDrv, QStringLiteral("-"));
    EXPECT_EQ(w.page.currentDrive(), QStringLiteral("/"));
    EXPECT_EQ(w.page.currentFolder(), local() + QStringLiteral("/EXCAVATOR"));

    QDir(local() + QStringLiteral("/EXCAVATOR")).removeRecursively();
    w.volumes.unplug(bare);
    EXPECT_EQ(w.page.currentFolder(), local());
}

TEST_F(LogFileListPageTest, EnteringThePageSetsTheMaskAndTheFirstUsbVolume)
{
    QSignalSpy group(&w.page, &LogFileListPage::showLogFileGroup);
    const QString a = stick(QStringLiteral("a"), true);
    const QString z = stick(QStringLiteral("z"), true);
    for (const char *n : {"11110001001.exs", "22220002002.EXS", "33330003003.E~S", "readme.txt"})
        dvtest::writeFile(a + QStringLiteral("/EXCAVATOR/") + QLatin1String(n), "x");
    w.volumes.add(a, 7);
    w.page.startDetector();
    w.volumes.plug(QStringLiteral("/media/cardreader"), 0); // last arrival, not on the bus
    w.volumes.add(z, 7);

    w.page.enterPage();
    ASSERT_FALSE(group.isEmpty());
    EXPECT_TRUE(group.last()[0].toBool());
    EXPECT_EQ(w.page.fileMask(), QStringLiteral("*exs;"));
    EXPECT_EQ(w.page.currentDrive(), a);
    EXPECT_EQ(w.page.currentFolder(), a + QStringLiteral("/EXCAVATOR"));
    EXPECT_EQ(w.names(), (QStringList{QStringLiteral("11110001001.exs"), QStringLiteral("22220002002.EXS")}));

    // Attached, but no volume on the USB bus now: the local folder, not a drive "-".
    QDir().mkpath(local());
    w.volumes.list.removeIf([](const dv::Volume &v) { return v.busType == 7; });
    w.page.enterPage();
    EXPECT_EQ(w.page.currentDrive(), QStringLiteral("/"));
    EXPECT_EQ(w.page.currentFolder(), local());
}

TEST_F(LogFileListPageTest, FileBoxesExcludeEachOtherAndFollowTheSettings)
{
    QDir().mkpath(local());
    LogFileGroup &g = *w.page.LogFileGB;
    // Both stored True by other means: entering leaves Backup True and Delete False.
    w.db.set(ivBACKUPONREADLOGFILE, true);
    w.db.set(ivDELETEONREADLOGFILE, true);
    w.db.set(ivSUPPRESSWARNINGS, true);
    w.page.enterPage();
    EXPECT_TRUE(g.SuppressWarningsCB->isChecked());
    EXPECT_TRUE(g.BackupOnReadCB->isChecked());
    EXPECT_FALSE(g.DeleteOnReadCB->isChecked());
    EXPECT_FALSE(w.db.info.flag(ivDELETEONREADLOGFILE));
    EXPECT_TRUE(w.db.info.flag(ivBACKUPONREADLOGFILE));
    EXPECT_GE(w.reloads.count(), 2);

    // Ticking Delete unticks Backup; the nested handler stores the same values.
    w.reloads.clear();
    g.DeleteOnReadCB->click();
    EXPECT_FALSE(g.BackupOnReadCB->isChecked());
    EXPECT_TRUE(w.db.info.flag(ivDELETEONREADLOGFILE));
    EXPECT_FALSE(w.db.info.flag(ivBACKUPONREADLOGFILE));
    EXPECT_EQ(w.reloads.count(), 2);

    g.BackupOnReadCB->click();
    EXPECT_FALSE(g.DeleteOnReadCB->isChecked());
    EXPECT_FALSE(w.db.info.flag(ivDELETEONREADLOGFILE));
    EXPECT_TRUE(w.db.info.flag(ivBACKUPONREADLOGFILE));

    g.BackupOnReadCB->click(); // both off is allowed
    EXPECT_FALSE(w.db.info.flag(ivBACKUPONREADLOGFILE));
    EXPECT_FALSE(w.db.info.flag(ivDELETEONREADLOGFILE));

    g.SuppressWarningsCB->click();
    EXPECT_FALSE(w.db.info.flag(ivSUPPRESSWARNINGS));

    // Entering again with the settings as stored changes no box, so runs no handler.
    w.reloads.clear();
    w.page.enterPage();
    EXPECT_EQ(w.reloads.count(), 0);
}

TEST_F(LogFileListPageTest, PopupCaptionAndTheSelectAllCounts)
{
    const QString folder = local() + QStringLiteral("/EXCAVATOR");
    w.page.setFolder(folder); // not there yet: an empty list, no failure
    EXPECT_TRUE(w.names().isEmpty());
    w.page.CheckAllFilesClick();
    w.page.UnCheckAllFilesClick();
    EXPECT_EQ(w.db.prompter.texts(),
              (QStringList{QStringLiteral("0 Files Selected"), QStringLiteral("0 Files De-Selected")}));

    for (int i = 0; i < 12; ++i)
        dvtest::writeFile(folder + QStringLiteral("/f%1.exs").arg(i, 2, 10, QLatin1Char('0')), "x");
    w.page.setFolder(folder);
    QAction *del = w.page.DeleteSelectedFile1;
    struct Case { int ticks; bool enabled; const char *caption; } cases[] = {
        {0, false, "De&lete Selected Files"},
        {1, true, "De&lete Selected File"},
        {2, true, "De&lete Selected Files"},
        {1, true, "De&lete Selected File"},
        {0, false, "De&lete Selected File"}, // disabled, the caption stays as it was
    };
    for (const Case &c : cases) {
        w.page.refreshFileList();
        for (int i = 0; i < c.ticks; ++i)
            w.page.CheckFileListBox->item(i)->setCheckState(Qt::Checked);
        w.page.CheckFilePopupMenuPopup();
        EXPECT_EQ(del->isEnabled(), c.enabled) << c.ticks;
        EXPECT_EQ(del->text(), QLatin1String(c.caption)) << c.ticks;
    }
    // Opening the menu runs the same rule.
    w.page.CheckFileListBox->item(3)->setCheckState(Qt::Checked);
    Q_EMIT w.page.CheckFilePopupMenu->aboutToShow();
    EXPECT_TRUE(del->isEnabled());

    w.db.prompter.clear();
    w.page.CheckAllFilesClick();
    EXPECT_EQ(w.ticked().size(), 12);
    EXPECT_EQ(w.page.CheckFileListBox->currentRow(), 0);
    w.page.UnCheckAllFilesClick();
    EXPECT_TRUE(w.ticked().isEmpty());
    ASSERT_EQ(w.db.prompter.shown().size(), 2);
    EXPECT_EQ(w.db.prompter.shown()[0].kind, dv::MsgKind::Information);
    EXPECT_EQ(w.db.prompter.texts(),
              (QStringList{QStringLiteral("12 Files Selected"), QStringLiteral("12 Files De-Selected")}));
}

TEST_F(LogFileListPageTest, DeleteAsksForEachTickedFileAndDeletesOnlyOnYes)
{
    const QString folder = local();
    for (const char *n : {"a.exs", "b.exs", "c.exs", "d.exs"})
        dvtest::writeFile(folder + QLatin1Char('/') + QLatin1String(n), "x");
    w.page.setFolder(folder);
    w.tick({QStringLiteral("a.exs"), QStringLiteral("b.exs"), QStringLiteral("d.exs")});
    w.db.prompter.answerNext(dv::mbYes);
    w.db.prompter.answerNext(dv::mbNo); // d.exs gets the default, No
    w.page.DeleteSelectedFile1Click();

    const QList<dv::Prompt> &boxes = w.db.prompter.shown();
    ASSERT_EQ(boxes.size(), 3);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Delete :- a.exs\n\rAre you sure?"));
    EXPECT_EQ(boxes[2].text, QStringLiteral("Delete :- d.exs\n\rAre you sure?"));
    EXPECT_EQ(boxes[0].kind, dv::MsgKind::Confirmation);
    EXPECT_EQ(boxes[0].buttons, dv::MsgButtons(dv::mbYes | dv::mbNo));
    EXPECT_EQ(boxes[0].defaultButton, dv::mbNo);
    EXPECT_EQ(w.names(), (QStringList{QStringLiteral("b.exs"), QStringLiteral("c.exs"), QStringLiteral("d.exs")}));
    EXPECT_TRUE(w.ticked().isEmpty()) << "the list was re-read";

    // Declining everything deletes nothing, and the list is re-read all the same.
    w.db.prompter.clear();
    w.tick({QStringLiteral("b.exs"), QStringLiteral("c.exs")});
    dvtest::writeFile(folder + QStringLiteral("/e.exs"), "x");
    w.page.DeleteSelectedFile1Click();
    EXPECT_EQ(w.db.prompter.shown().size(), 2);
    EXPECT_EQ(w.names().size(), 4);
    EXPECT_TRUE(w.names().contains(QStringLiteral("e.exs")));

    // A delete that fails says so instead of passing in silence.
    w.db.prompter.clear();
    w.tick({QStringLiteral("c.exs")});
    QFile::remove(folder + QStringLiteral("/c.exs"));
    w.db.prompter.answerNext(dv::mbYes);
    w.page.DeleteSelectedFile1Click();
    ASSERT_EQ(w.db.prompter.shown().size(), 2);
    EXPECT_EQ(w.db.prompter.shown()[1].kind, dv::MsgKind::Error);
    EXPECT_TRUE(w.db.prompter.shown()[1].text.startsWith(QStringLiteral("Could not delete :- c.exs")));
}

TEST_F(LogFileListPageTest, LoadFileFromDirectoryShowsThePageOnTheLocalDrive)
{
    QSignalSpy page(&w.page, &LogFileListPage::showLogFilePage);
    QDir().mkpath(dvtest::documents() + QStringLiteral("/DezozadidUrudad/WIND_SPD"));
    w.page.LoadFilefromDirectory1->trigger();
    EXPECT_EQ(page.count(), 1);
    EXPECT_EQ(w.tabShown(), 1);
    EXPECT_FALSE(w.page.USBAttached);
    EXPECT_EQ(w.page.currentDrive(), QStringLiteral("/"));
    EXPECT_EQ(w.page.currentFolder(), dvtest::documents() + QStringLiteral("/DezozadidUrudad/WIND_SPD"));
    EXPECT_TRUE(w.page.fileMask().isEmpty()) << "the page-change handler did not run";
}

TEST_F(LogFileListPageTest, CopyFirmwareChecksTheFileSystemAndReportsTheCopy)
{
    const QString x = stick(QStringLiteral("fw"), false);
    const QString source =
        dvtest::documents() + QStringLiteral("/DezozadidUrudad/QL77_mf/QL77V1_Windspeed_Wireless.dfwf");
    w.volumes.add(x, 7, QStringLiteral("ext4"));

    w.page.CopyFirmwareBTNClick();
    EXPECT_EQ(w.page.USBDrv, x);
    EXPECT_EQ(w.page.USBFat, QStringLiteral("ext4"));
    EXPECT_EQ(w.db.prompter.texts(), (QStringList{QStringLiteral("USB Stick must be formatted with FAT32"),
                                                  QStringLiteral("Board Firmware File not Found")}));
    EXPECT_TRUE(QFileInfo(x + QStringLiteral("/QL77bin")).isDir());

    dvtest::writeFile(source, "firmware v2");
    dvtest::writeFile(x + QStringLiteral("/QL77bin/QL77V1.bin"), "old");
    w.db.prompter.clear();
    w.page.CopyFirmwareBTNClick();
    ASSERT_EQ(w.db.prompter.texts().size(), 2) << "the copy is attempted after the FAT32 error";
    EXPECT_EQ(w.db.prompter.shown()[1].text, QStringLiteral("File Copied to USB Stick"));
    EXPECT_EQ(w.db.prompter.shown()[1].kind, dv::MsgKind::Confirmation);
    QFile copied(x + QStringLiteral("/QL77bin/QL77V1.bin"));
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), QByteArray("firmware v2"));

    // A FAT stick gives no file system error; a removed stick writes nowhere.
    w.volumes.list.last().fileSystem = QStringLiteral("vfat");
    w.db.prompter.clear();
    w.page.CopyFirmwareBTNClick();
    EXPECT_EQ(w.db.prompter.texts(), QStringList{QStringLiteral("File Copied to USB Stick")});
    w.page.USBDrv = QStringLiteral("-");
    w.db.prompter.clear();
    w.page.CopyFirmwareBTNClick();
    EXPECT_EQ(w.db.prompter.texts(), QStringList{QStringLiteral("USB Stick not found")});
}

} // namespace

namespace {

TEST_F(LogFileListPageTest, TheFolderAndDriveListsMoveTheFileList)
{
    const QString root = stick(QStringLiteral("nav"), true);
    dvtest::writeFile(root + QStringLiteral("/EXCAVATOR/a.exs"), "x");
    dvtest::writeFile(root + QStringLiteral("/top.exs"), "x");
    w.page.setFolder(root);
    auto *folders = qobject_cast<QListWidget *>(w.page.DirectoryListBox);
    ASSERT_NE(folders, nullptr);
    ASSERT_EQ(folders->count(), 2); // ".." and EXCAVATOR
    EXPECT_EQ(folders->item(1)->text(), QStringLiteral("EXCAVATOR"));
    Q_EMIT folders->itemActivated(folders->item(1));
    EXPECT_EQ(w.page.currentFolder(), root + QStringLiteral("/EXCAVATOR"));
    EXPECT_EQ(w.names(), QStringList{QStringLiteral("a.exs")});
    Q_EMIT folders->itemActivated(folders->item(0));
    EXPECT_EQ(w.page.currentFolder(), root);
    EXPECT_EQ(w.names(), QStringList{QStringLiteral("top.exs")});

    w.volumes.plug(root); // no detector started: only the drive box hears it
    const int i = w.page.DriveComboBox->findData(root);
    ASSERT_GE(i, 0) << "the drive box lists the volumes";
    w.page.setFolder(QStringLiteral("/"));
    Q_EMIT w.page.DriveComboBox->activated(i);
    EXPECT_EQ(w.page.currentFolder(), root);
}

} // namespace
