// A real volume mounted while the page watches: the kernel's notice reaches
// the page through the Linux monitor, and the stick's files are imported.
#include "import/FixtureDb.h"
#include "import/FixtureLog.h"
#include "import/LogFileListPage.h"
#include "platform/LinuxVolumeMonitor.h"
#include "platform/LinuxVolumeMonitorMount.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList names(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

TEST(MountedStick, ArrivalImportAndRemovalOnARealVolume)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString staging = dir.path() + QStringLiteral("/staging");
    const QString media = dir.path() + QStringLiteral("/media");
    const QString stick = media + QStringLiteral("/LOGGER");
    const QString local = dvtest::documents() + QStringLiteral("/VidedorovIzarir");
    QDir().mkpath(local + QStringLiteral("/EXCAVATOR"));
    QDir().mkpath(local + QStringLiteral("/__backup"));
    struct Clean { ~Clean() { QDir(dvtest::documents()).removeRecursively(); } } clean;

    // The volume is filled before it appears where the monitor looks, as a stick arrives full.
    dvtest::TmpfsMount volume(staging);
    if (!volume.ok())
        GTEST_SKIP() << volume.why().toStdString();
    dvtest::writeFile(staging + QStringLiteral("/EXCAVATOR/EX0010457A01.exs"), fixture::goodRecords(3, 1));
    dvtest::writeFile(staging + QStringLiteral("/EXCAVATOR/EX0020999A02.exs"), fixture::goodRecords(2, 10));
    dvtest::writeFile(staging + QStringLiteral("/EXCAVATOR/readme.txt"), "not a log");

    fixture::Db db;
    db.set(ivBACKUPONREADLOGFILE, false);
    db.set(ivDELETEONREADLOGFILE, true);
    db.set(ivSUPPRESSWARNINGS, true);
    dv::LinuxVolumeMonitor::Options o;
    o.includeRoots = {media};
    dv::LinuxVolumeMonitor monitor(o);
    LogFileListPage page(db.info, db.db, db.prompter, monitor, db.state);
    QSignalSpy tab(&page, &LogFileListPage::logFileTabVisible);
    QSignalSpy notices(&monitor, &dv::VolumeMonitor::volumeChanged);

    page.startDetector();
    page.enterPage(); // the operator is on the page when the stick goes in
    EXPECT_EQ(page.currentFolder(), local + QStringLiteral("/EXCAVATOR"));

    dvtest::TmpfsMount plugged(staging, stick);
    ASSERT_TRUE(plugged.ok()) << plugged.why().toStdString();
    ASSERT_TRUE(dvtest::waitForNotice(notices, stick, true)) << "no arrival notice";
    ASSERT_FALSE(tab.isEmpty());
    EXPECT_TRUE(tab.last()[0].toBool());
    EXPECT_TRUE(page.USBAttached);
    EXPECT_EQ(page.currentFolder(), stick + QStringLiteral("/EXCAVATOR"));
    ASSERT_EQ(names(page.CheckFileListBox),
              (QStringList{QStringLiteral("EX0010457A01.exs"), QStringLiteral("EX0020999A02.exs")}));

    for (int i = 0; i < page.CheckFileListBox->count(); ++i)
        page.CheckFileListBox->item(i)->setCheckState(Qt::Checked);
    page.ReadLogFileBTNClick();
    EXPECT_EQ(db.downloads(), (QStringList{QStringLiteral("1:0457"), QStringLiteral("2:0999")}));
    EXPECT_EQ(db.eventLoadIds().size(), 5);
    EXPECT_TRUE(names(page.CheckFileListBox).isEmpty()) << "deleted from the stick on read";
    EXPECT_FALSE(QFileInfo::exists(staging + QStringLiteral("/EXCAVATOR/EX0010457A01.exs")));
    EXPECT_TRUE(tab.last()[0].toBool()) << "a stick is still in: the tab stays";

    notices.clear();
    ASSERT_TRUE(plugged.unmount());
    ASSERT_TRUE(dvtest::waitForNotice(notices, stick, false)) << "no removal notice";
    EXPECT_FALSE(tab.last()[0].toBool());
    EXPECT_FALSE(page.USBAttached);
    EXPECT_EQ(page.currentFolder(), local + QStringLiteral("/EXCAVATOR"));
}

} // namespace
