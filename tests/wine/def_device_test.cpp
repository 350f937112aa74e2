#include <gtest/gtest.h>

#include <cstring>

#include "devices/shared/def_device.h"
#include "framework/unique_handle.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/test_printer.h"

namespace {

class DefDeviceTest : public ::testing::Test {
protected:
    const std::string m_strPort = UniqueName("LPT");
    CDefDevice m_Device{nullptr, "Kestrel on LPT", m_strPort.c_str(), m_strPort.c_str()};
    CTraceCapture m_Trace;
};

} // namespace

TEST_F(DefDeviceTest, StatusIsTheAllZeroRecordAndTheRestIsNotSupported) {
    CDeviceStatus status;
    std::memset(status.Data(), 0xAB, CDeviceStatus::kSize);
    EXPECT_EQ(0u, m_Device.ReadStatus(&status));
    EXPECT_EQ(0, std::memcmp(CDeviceStatus().Data(), status.Data(), CDeviceStatus::kSize));

    DEVICE_INFO info;
    std::memset(&info, 0x5A, sizeof(info));
    WORD wCount = 7;
    DEVICE_LOG log;
    std::memset(&log, 0x5A, sizeof(log));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_SUPPORTED), m_Device.ReadInfo(&info));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_SUPPORTED), m_Device.GetNumberOfLogs(&wCount));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_SUPPORTED), m_Device.GetLogs(0, &log));
    EXPECT_EQ(0x5A, info.abData[77]);
    EXPECT_EQ(7, wCount);
    EXPECT_EQ(0x5A, log.abData[7]);
}

TEST_F(DefDeviceTest, CancelAndResumeSignalThePortsEventsOrFailWithoutConsole) {
    const std::string strEvent = "Global\\KORVA.Nylm.Console." + m_strPort;
    CUniqueHandle hCancel(OpenEventA(SYNCHRONIZE, FALSE, (strEvent + ".Cancel").c_str()));
    CUniqueHandle hResume(OpenEventA(SYNCHRONIZE, FALSE, (strEvent + ".Resume").c_str()));
    ASSERT_TRUE(hCancel && hResume);
    EXPECT_EQ(0u, m_Device.OnCancel());
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(hCancel.Get(), 0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(hResume.Get(), 0));
    EXPECT_EQ(0u, m_Device.OnResume());
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(hResume.Get(), 0));
    EXPECT_TRUE(m_Trace.Lines().empty());

    m_Device.CloseConsole();
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_STATE), m_Device.OnCancel());
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_STATE), m_Device.OnResume());
    const std::vector<std::string> expected = {"CDefDevice::OnCancel() : m_pConsole is NULL\n",
                                               "CDefDevice::OnResume() : m_pConsole is NULL\n"};
    EXPECT_EQ(expected, m_Trace.Lines());
}
