#include "import/LogFileListPageWorld.h"
#include "import/UsbDetector.h"

#include <gtest/gtest.h>

namespace {

TEST(UsbDetector, UnitMaskNamesTheHighestDriveBitOrNone)
{
    struct Case { quint32 mask; int index; } cases[] = {
        {0x1, 0},                   // A
        {1u << 4, 4},               // E
        {(1u << 4) | (1u << 6), 6}, // E and G in one notice: G
        {(1u << 2) | (1u << 25), 25},
        {0x3FFFFFF, 25},            // every drive bit
        {0, -1},                    // no drive
        {1u << 26, -1},             // beyond Z only
        {(1u << 26) | (1u << 3), -1}, // a bit beyond Z hides the drive bits
    };
    for (const Case &c : cases)
        EXPECT_EQ(driveIndexFromUnitMask(c.mask), c.index) << std::hex << c.mask;
}

TEST(UsbDetector, BusQueriesGoByMountPoint)
{
    pagetest::FakeVolumeMonitor m;
    EXPECT_EQ(FirstUsbDrive(m), QStringLiteral("-"));
    EXPECT_EQ(UsbDriveCount(m), 0);
    m.add(QStringLiteral("/media/zz"), 7);
    m.add(QStringLiteral("/"), 0);
    m.add(QStringLiteral("/media/card"), 3);
    m.add(QStringLiteral("/media/aa"), 7);
    EXPECT_EQ(FirstUsbDrive(m), QStringLiteral("/media/aa"));
    EXPECT_EQ(UsbDriveCount(m), 2);
    EXPECT_EQ(GetBusType(m, QStringLiteral("/media/card")), 3);
    EXPECT_EQ(GetBusType(m, QStringLiteral("/media/none")), 0);
}

TEST(UsbDetector, OneDetectorPerMonitorPassesEveryNoticeOn)
{
    pagetest::FakeVolumeMonitor m;
    QStringList seen;
    TUSBDetector *first = StartUsbDetector(m, [&](TUSBDetector *sender, const QString &drv,
                                                  const QString &drive, bool attached) {
        EXPECT_NE(sender, nullptr);
        seen << drv + QLatin1Char('|') + drive + QLatin1Char('|') + (attached ? "in" : "out");
    });
    TUSBDetector *second = StartUsbDetector(m, [&](TUSBDetector *, const QString &, const QString &, bool) {
        seen << QStringLiteral("second");
    });
    EXPECT_EQ(first, second);
    EXPECT_EQ(m.starts, 1);
    m.plug(QStringLiteral("/media/disc"), 0); // any bus
    m.unplug(QStringLiteral("/media/disc"));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("/media/disc|Drive /media/disc|in"),
                                 QStringLiteral("/media/disc|Drive /media/disc|out")}));
    first->OnUsbDriveChanged = nullptr;
    m.plug(QStringLiteral("/media/x")); // unassigned: nothing called, nothing breaks
    EXPECT_EQ(seen.size(), 2);
}

} // namespace
