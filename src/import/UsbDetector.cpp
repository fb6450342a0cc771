#include "import/UsbDetector.h"

#include "platform/VolumeMonitor.h"

#include <algorithm>

namespace {

QList<dv::Volume> byMountPoint(dv::VolumeMonitor &volumes)
{
    QList<dv::Volume> v = volumes.volumes();
    std::stable_sort(v.begin(), v.end(),
                     [](const dv::Volume &a, const dv::Volume &b) { return a.root < b.root; });
    return v;
}

constexpr int kBusTypeUsb = 7;

} // namespace

int GetBusType(dv::VolumeMonitor &volumes, const QString &volume)
{
    for (const dv::Volume &v : volumes.volumes())
        if (v.root == volume)
            return v.busType;
    return 0;
}

QString FirstUsbDrive(dv::VolumeMonitor &volumes)
{
    for (const dv::Volume &v : byMountPoint(volumes))
        if (v.busType == kBusTypeUsb)
            return v.root;
    return QStringLiteral("-");
}

int UsbDriveCount(dv::VolumeMonitor &volumes)
{
    const QList<dv::Volume> v = volumes.volumes();
    return int(std::count_if(v.begin(), v.end(),
                             [](const dv::Volume &x) { return x.busType == kBusTypeUsb; }));
}

int driveIndexFromUnitMask(quint32 mask)
{
    for (int i = 0; i < 26; ++i)
        if ((mask >> i) == 1)
            return i;
    return -1;
}

TUSBDetector::TUSBDetector(dv::VolumeMonitor &volumes, TUsbDriveChanged NotifyProc)
    : QObject(&volumes), OnUsbDriveChanged(std::move(NotifyProc))
{
    connect(&volumes, &dv::VolumeMonitor::volumeChanged, this, &TUSBDetector::volumeChanged);
}

void TUSBDetector::DoUsbDriveChanged(const QString &Drv, const QString &Drive, bool Attached)
{
    if (OnUsbDriveChanged)
        OnUsbDriveChanged(this, Drv, Drive, Attached);
}

void TUSBDetector::volumeChanged(const QString &root, bool attached)
{
    if (root.isEmpty())
        return; // names no volume
    DoUsbDriveChanged(root, QStringLiteral("Drive ") + root, attached);
}

TUSBDetector *StartUsbDetector(dv::VolumeMonitor &volumes, TUsbDriveChanged NotifyProc)
{
    if (auto *existing = volumes.findChild<TUSBDetector *>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    auto *detector = new TUSBDetector(volumes, std::move(NotifyProc));
    volumes.start();
    return detector;
}
