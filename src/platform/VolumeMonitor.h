#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace dv {

// A mounted volume stands where the design has a drive letter: its mount
// root plays "X:\" and root + "EXCAVATOR" plays "X:\EXCAVATOR".
struct Volume {
    QString root;        // mount point, e.g. "/media/stick"
    QString device;      // e.g. "/dev/sdb1"
    QString fileSystem;  // e.g. "vfat"
    int busType = 0;     // 7 = USB, 0 = cannot be told
    bool system = false; // the system volume ("drive C")
};

// Mounted volumes and their arrival and removal, delivered on the GUI thread.
class VolumeMonitor : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~VolumeMonitor() override = default;

    virtual QList<Volume> volumes() = 0;
    // Starts delivering volumeChanged; calling it again does nothing.
    virtual void start() = 0;

Q_SIGNALS:
    // root: the volume's mount point; attached: true on arrival, false on removal.
    void volumeChanged(const QString &root, bool attached);
};

// Honest stand-in until a real backend is wired: no volumes, no notices.
class NoVolumeMonitor : public VolumeMonitor {
    Q_OBJECT
public:
    using VolumeMonitor::VolumeMonitor;
    QList<Volume> volumes() override { return {}; }
    void start() override {}
};

} // namespace dv
