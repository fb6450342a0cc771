#include "platform/HidDevice.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

TEST(HidDeviceTest, NoDeviceStaysInactiveAndDropsWrites)
{
    dv::NoHidDevice hid;
    QSignalSpy received(&hid, &dv::HidDevice::reportReceived);
    EXPECT_FALSE(hid.present());
    hid.setActive(true);
    EXPECT_FALSE(hid.active());
    EXPECT_FALSE(hid.write(QByteArray(65, '\x01')));
    EXPECT_EQ(received.count(), 0);
}

} // namespace
