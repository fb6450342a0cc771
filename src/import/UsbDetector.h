#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace dv { class VolumeMonitor; }

class TUSBDetector;

// Notification of a volume's arrival (Attached true) or removal. Drv is the
// volume's root (the mount point, which stands for the drive letter) and
// Drive its readable name, "Drive " + root, e.g. "Drive /media/stick".
using TUsbDriveChanged = std::function<void(TUSBDetector *Sender, const QString &Drv,
                                            const QString &Drive, bool Attached)>;

// Storage bus type of the volume at this root; 7 is USB, 0 when it cannot be told
// (no such volume, or a bus the system does not name).
int GetBusType(dv::VolumeMonitor &volumes, const QString &volume);
// Root of the first volume, by mount point, on the USB bus; "-" when there is none.
QString FirstUsbDrive(dv::VolumeMonitor &volumes);
// How many volumes are on the USB bus.
int UsbDriveCount(dv::VolumeMonitor &volumes);

// Drive index (0 = A) named by a volume notice's unit mask: the first i among
// 0..25 for which mask >> i is exactly 1, i.e. the highest set bit of the
// drive bits. -1 when no drive bit is set; such a notice is to be ignored.
int driveIndexFromUnitMask(quint32 mask);

// Turns the monitor's volume notices into drive-changed notifications. Every
// arrival and removal is passed on, whatever its bus.
class TUSBDetector : public QObject {
    Q_OBJECT
public:
    TUSBDetector(dv::VolumeMonitor &volumes, TUsbDriveChanged NotifyProc);
    ~TUSBDetector() override = default;

    TUsbDriveChanged OnUsbDriveChanged;

    // Calls OnUsbDriveChanged with this detector as Sender, when it is assigned.
    virtual void DoUsbDriveChanged(const QString &Drv, const QString &Drive, bool Attached);

private:
    void volumeChanged(const QString &root, bool attached);
};

// Creates the detector of this monitor and starts the monitor, unless the
// monitor has a detector already (then nothing is done). The detector belongs
// to the monitor and lives as long as it does; it is returned either way.
TUSBDetector *StartUsbDetector(dv::VolumeMonitor &volumes, TUsbDriveChanged NotifyProc);
