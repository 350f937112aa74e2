#include <gtest/gtest.h>

#include "devices/shared/def_device.h"
#include "tests/wine/recording_notify.h"
#include "tests/wine/test_printer.h"

TEST(Device, ConnectionFollowsTheLinkAndDisconnectingKeepsIt) {
    const std::string strPort = UniqueName("DEV");
    EXPECT_TRUE(CDefDevice(nullptr, "Kestrel A", strPort.c_str(), "host:9100").IsConnected());
    CDefDevice device(nullptr, "Kestrel A", strPort.c_str(), nullptr);
    EXPECT_FALSE(device.IsConnected());
    device.OnConnected("10.0.0.7:9100");
    EXPECT_TRUE(device.IsConnected());
    device.OnDisconnected();
    EXPECT_FALSE(device.IsConnected());
    EXPECT_EQ("10.0.0.7:9100", device.GetLink());
}

namespace {

// A device whose polling step takes the next record from a list.
class CReplayDevice : public CDefDevice {
public:
    CReplayDevice(CDeviceNotify* pNotify, std::vector<CDeviceStatus> records)
        : CDefDevice(pNotify, "Replay", UniqueName("REPLAY").c_str(), nullptr),
          m_Records(std::move(records)) {}
    void PollStatus() override { UpdateStatus(m_Records.at(m_nNext++)); }

private:
    std::vector<CDeviceStatus> m_Records;
    std::size_t m_nNext = 0;
};

} // namespace

TEST(Device, PollingStepsNotifyTheControllerInOrder) {
    CRecordingNotify notify;
    CReplayDevice device(&notify, {
                                      Record(1, 0, 0),                 // first valid record
                                      Record(3, 1, 0),                 // job starts
                                      Record(3, 1, 0x80000001, false), // not "NYRA": current, untold
                                      Record(1, 4, 0x80000001),        // compared with the unsigned one
                                      Record(1, 4, 0x80000001),        // nothing new
                                      Record(1, 0, 0),                 // error cleared
                                  });
    const std::vector<std::vector<std::string>> expected = {
        {"StatusChanged"}, {"PrintingStarted", "StatusChanged"}, {}, {"PrintingEnded", "StatusChanged"}, {},
        {"ErrorCleared"},
    };
    for (std::size_t step = 0; step < expected.size(); ++step) {
        device.PollStatus();
        EXPECT_EQ(expected[step], notify.Take()) << "step " << step;
    }
    EXPECT_TRUE(device.IsKestrelModel());
    DWORD dwClass = 0;
    EXPECT_FALSE(device.IsError(&dwClass));
}
