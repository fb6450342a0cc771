#include "platform/LinuxVolumeMonitor.h"
#include "platform/LinuxVolumeMonitorMount.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using dv::LinuxVolumeMonitor;

namespace {

// A mountinfo file and a sysfs tree in a temporary folder.
class VolumeFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        sys = dir.path() + QStringLiteral("/sys");
        QDir().mkpath(sys + QStringLiteral("/dev/block"));
        QDir().mkpath(sys + QStringLiteral("/class/block"));
        // A stick behind a USB host controller and the system disk on virtio.
        addBlock(QStringLiteral("8:17"), QStringLiteral("sdb1"),
                 QStringLiteral("devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/"
                                "target6:0:0/6:0:0:0/block/sdb/sdb1"));
        addBlock(QStringLiteral("254:0"), QStringLiteral("vda"),
                 QStringLiteral("devices/pci0000:00/0000:00:02.0/virtio1/block/vda"));
        // A SATA disk whose name alone looks like a bus but is not one.
        addBlock(QStringLiteral("8:1"), QStringLiteral("sda1"),
                 QStringLiteral("devices/pci0000:00/ata1/host0/target0:0:0/0:0:0:0/block/sda/sda1"));
    }

    void addBlock(const QString &majMin, const QString &name, const QString &devicePath)
    {
        const QString target = sys + QLatin1Char('/') + devicePath;
        QDir().mkpath(target);
        QFile::link(target, sys + QStringLiteral("/dev/block/") + majMin);
        QFile::link(target, sys + QStringLiteral("/class/block/") + name);
    }

    void writeMountInfo(const QByteArray &text) { dvtest::writeFile(mountInfo(), text); }
    QString mountInfo() const { return dir.path() + QStringLiteral("/mountinfo"); }

    LinuxVolumeMonitor::Options options(QStringList include = {}) const
    {
        LinuxVolumeMonitor::Options o;
        o.mountInfoPath = mountInfo();
        o.sysfsRoot = sys;
        o.includeRoots = include;
        return o;
    }

    QTemporaryDir dir;
    QString sys;
};

const QByteArray kBase =
    "21 27 0:20 / /proc rw,relatime - proc proc rw\n"
    "22 27 0:21 / /sys rw,relatime - sysfs sysfs rw\n"
    "25 23 0:23 / /dev/shm rw,relatime - tmpfs tmpfs rw\n"
    "27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
    "31 22 0:28 / /sys/fs/cgroup rw,relatime - tmpfs tmpfs rw,mode=755\n"
    "50 27 254:0 /var/lib/x/hosts /etc/hosts rw - ext4 /dev/vda rw\n";

const QByteArray kStick = "60 27 8:17 / /media/op/LOGGER\\040ONE rw,nosuid shared:5 - vfat /dev/sdb1 rw\n";

TEST_F(VolumeFixture, VolumesAreWholeFileSystemsWithTheirBusAndTheSystemVolume)
{
    writeMountInfo(kBase + kStick +
                   "61 27 8:1 / /data rw - ext4 /dev/sda1 rw\n"
                   "62 27 0:40 / /mnt/card rw - tmpfs card rw\n");
    LinuxVolumeMonitor m(options());
    const QList<dv::Volume> v = m.volumes();
    ASSERT_EQ(v.size(), 4);
    // Sorted by mount point; pseudo file systems and the bind of /etc/hosts left out.
    EXPECT_EQ(v[0].root, QStringLiteral("/"));
    EXPECT_TRUE(v[0].system);
    EXPECT_EQ(v[0].busType, 0);
    EXPECT_EQ(v[1].root, QStringLiteral("/data"));
    EXPECT_EQ(v[1].busType, 0);
    EXPECT_EQ(v[2].root, QStringLiteral("/media/op/LOGGER ONE")); // \040 decoded
    EXPECT_EQ(v[2].busType, 7);
    EXPECT_EQ(v[2].device, QStringLiteral("/dev/sdb1"));
    EXPECT_EQ(v[2].fileSystem, QStringLiteral("vfat"));
    EXPECT_FALSE(v[2].system);
    EXPECT_EQ(v[3].root, QStringLiteral("/mnt/card"));
    EXPECT_EQ(v[3].busType, 0); // no block device: cannot be told
}

TEST_F(VolumeFixture, BusTypeComesFromTheSysfsPathOrIsZero)
{
    LinuxVolumeMonitor m(options());
    struct Case { int major, minor; const char *source; int bus; } cases[] = {
        {8, 17, "/dev/sdb1", 7},
        {254, 0, "/dev/vda", 0},
        {8, 1, "/dev/sda1", 0},
        {8, 33, "/dev/sdc1", 0},   // not in sysfs at all
        {0, 40, "tmpfs", 0},
        {99, 99, "/dev/sdb1", 7},  // number unknown: the device name still leads there
    };
    for (const Case &c : cases) {
        dv::MountEntry e;
        e.major = c.major;
        e.minor = c.minor;
        e.source = QString::fromLatin1(c.source);
        EXPECT_EQ(m.busTypeOf(e), c.bus) << c.source << " " << c.major << ":" << c.minor;
    }
}

TEST_F(VolumeFixture, ATemporaryFolderNamedLikeABusDoesNotMakeEveryDiskUsb)
{
    // The fixture's own path may hold "usb1"; only the part below the sysfs root counts.
    QTemporaryDir usbDir(QDir::tempPath() + QStringLiteral("/usb1"));
    ASSERT_TRUE(usbDir.isValid());
    const QString root = QDir::tempPath() + QStringLiteral("/usb1");
    const QString target = root + QStringLiteral("/sys/devices/virtio1/block/vda");
    QDir().mkpath(target);
    QDir().mkpath(root + QStringLiteral("/sys/dev/block"));
    QFile::link(target, root + QStringLiteral("/sys/dev/block/254:0"));
    LinuxVolumeMonitor::Options o = options();
    o.sysfsRoot = root + QStringLiteral("/sys");
    LinuxVolumeMonitor m(o);
    dv::MountEntry e;
    e.major = 254;
    e.source = QStringLiteral("/dev/vda");
    EXPECT_EQ(m.busTypeOf(e), 0);
    QDir(root).removeRecursively();
}

TEST_F(VolumeFixture, RescanReportsRemovalsThenArrivalsByDiff)
{
    writeMountInfo(kBase + "70 27 0:41 / /mnt/old rw - tmpfs a rw\n");
    LinuxVolumeMonitor m(options());
    QSignalSpy spy(&m, &dv::VolumeMonitor::volumeChanged);
    m.start();
    m.start(); // a second start does nothing
    m.rescan();
    EXPECT_EQ(spy.count(), 0) << "no change, no notice";

    writeMountInfo(kBase + kStick + "71 27 0:42 / /srv/tmp rw - tmpfs b rw\n");
    m.rescan();
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy[0][0].toString(), QStringLiteral("/mnt/old"));
    EXPECT_FALSE(spy[0][1].toBool());
    EXPECT_EQ(spy[1][0].toString(), QStringLiteral("/media/op/LOGGER ONE"));
    EXPECT_TRUE(spy[1][1].toBool());

    // Another device mounted at the same place is a removal and an arrival.
    spy.clear();
    writeMountInfo(kBase + "60 27 8:1 / /media/op/LOGGER\\040ONE rw - ext4 /dev/sda1 rw\n");
    m.rescan();
    ASSERT_EQ(spy.count(), 2);
    EXPECT_FALSE(spy[0][1].toBool());
    EXPECT_TRUE(spy[1][1].toBool());
}

TEST_F(VolumeFixture, IncludedRootsMakeTheirMountsVolumes)
{
    writeMountInfo(kBase + "80 27 0:50 / /srv/sticks/one rw - tmpfs x rw\n");
    EXPECT_EQ(LinuxVolumeMonitor(options()).volumes().size(), 1);
    EXPECT_EQ(LinuxVolumeMonitor(options({QStringLiteral("/srv/sticks")})).volumes().size(), 2);
}

TEST_F(VolumeFixture, AMissingMountInfoGivesNoVolumesAndNoCrash)
{
    LinuxVolumeMonitor m(options());
    EXPECT_TRUE(m.volumes().isEmpty());
    m.start();
    m.rescan();
}

TEST(LinuxVolumeMonitorMount, TheKernelsNoticeOfAMountAndUnmountArrives)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    LinuxVolumeMonitor::Options o;
    o.includeRoots = {dir.path()};
    LinuxVolumeMonitor m(o);
    QSignalSpy spy(&m, &dv::VolumeMonitor::volumeChanged);
    m.start();
    const QString stick = dir.path() + QStringLiteral("/stick");
    dvtest::TmpfsMount mount(stick);
    if (!mount.ok())
        GTEST_SKIP() << mount.why().toStdString();
    EXPECT_TRUE(dvtest::waitForNotice(spy, stick, true)) << "no arrival notice from mountinfo";
    ASSERT_TRUE(mount.unmount());
    EXPECT_TRUE(dvtest::waitForNotice(spy, stick, false)) << "no removal notice from mountinfo";
}

} // namespace
