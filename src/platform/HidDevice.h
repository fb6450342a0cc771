#pragma once

#include <QByteArray>
#include <QObject>

namespace dv {

// The USB HID link to the machine's display unit. A backend delivers each
// incoming report on the GUI thread through reportReceived.
class HidDevice : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~HidDevice() override = default;

    // Whether a device is there to talk to.
    virtual bool present() const = 0;
    // Switches the link on or off; it only turns on when a device is present.
    virtual void setActive(bool on) = 0;
    virtual bool active() const = 0;
    // Sends one report; false when it was dropped (link off, no device).
    virtual bool write(const QByteArray &report) = 0;

Q_SIGNALS:
    void reportReceived(const QByteArray &report);
};

// The standard build's link: no device, never active, every write dropped.
class NoHidDevice : public HidDevice {
    Q_OBJECT
public:
    using HidDevice::HidDevice;
    bool present() const override { return false; }
    void setActive(bool) override {}
    bool active() const override { return false; }
    bool write(const QByteArray &) override { return false; }
};

} // namespace dv
