#pragma once

#include "platform/VolumeMonitor.h"

#include <QMap>
#include <QStringList>

class QSocketNotifier;

namespace dv {

// One line of /proc/self/mountinfo, with the escapes of its paths decoded.
struct MountEntry {
    int major = 0;
    int minor = 0;
    QString root;       // the part of the file system mounted ("/" for a whole volume)
    QString mountPoint;
    QString fsType;
    QString source;
};

// Volumes of a Linux system, read from mountinfo, with the USB bus told from sysfs.
//
// What counts as a volume (a "drive"): a mount of a whole file system (not a
// bind of one of its folders) that is either a real block device (a /dev
// source with a non-zero major number) or is mounted under /media, /run/media,
// /mnt or one of the extra roots given to the constructor. Pseudo file systems
// (proc, sysfs, cgroup, the tmpfs of /dev/shm and /run) are therefore left out,
// while a stick mounted by a desktop or by hand under /media or /mnt is in.
// The system volume ("drive C") is the one mounted at "/".
//
// Changes are watched with a QSocketNotifier of the Exception kind on the
// mountinfo file: the kernel raises POLLPRI on it at every mount and unmount,
// so nothing polls. Each notice re-reads the file and reports the difference
// as volumeChanged, on the thread that owns the monitor (the GUI thread).
class LinuxVolumeMonitor : public VolumeMonitor {
    Q_OBJECT
public:
    struct Options {
        QString mountInfoPath = QStringLiteral("/proc/self/mountinfo");
        QString sysfsRoot = QStringLiteral("/sys");
        QStringList includeRoots; // extra folders whose mounts count as volumes
    };

    explicit LinuxVolumeMonitor(QObject *parent = nullptr);
    explicit LinuxVolumeMonitor(Options options, QObject *parent = nullptr);
    ~LinuxVolumeMonitor() override;

    // Sorted by mount point.
    QList<Volume> volumes() override;
    void start() override;

    // Re-reads mountinfo and reports removals, then arrivals, each in mount
    // point order. The notifier calls it; tests on fixture files call it too.
    void rescan();

    static QList<MountEntry> parseMountInfo(const QByteArray &text);
    // 7 when the block device's sysfs path passes through a usb node, else 0.
    int busTypeOf(const MountEntry &entry) const;
    bool isVolume(const MountEntry &entry) const;

private:
    QMap<QString, Volume> readVolumes() const;

    Options options_;
    QMap<QString, Volume> known_;
    QSocketNotifier *notifier_ = nullptr;
    int watchFd_ = -1;
};

} // namespace dv
