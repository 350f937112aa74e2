#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include <windows.h>
#include <sddl.h>

#include "app/winver.h"
#include "devices/shared/def_device.h"
#include "framework/unique_handle.h"
#include "monitor/console.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/test_printer.h"

namespace {

std::string EventName(const std::string& strPort, const char* pszEvent, const char* pszPrefix = "Global\\") {
    return pszPrefix + ("KORVA.Nylm.Console." + strPort + "." + pszEvent);
}

bool IsSignalled(const CUniqueHandle& hEvent) {
    return WaitForSingleObject(hEvent.Get(), 0) == WAIT_OBJECT_0;
}

class ConsoleTest : public ::testing::Test {
protected:
    void TearDown() override { SetWindowsVersionForTesting(VER_PLATFORM_WIN32_NT, 10, 0); }

    CTraceCapture m_Trace;
    const std::string m_strPort = UniqueName("CON");
    const std::string m_strCancel = EventName(m_strPort, "Cancel");
    const std::string m_strResume = EventName(m_strPort, "Resume");
};

} // namespace

// The events are global on Windows 2000 and later; older systems name them
// without the prefix.
TEST_F(ConsoleTest, FirstConsoleCreatesBothEventsAndSecondOpensThem) {
    for (const auto& [dwPlatform, dwMajor, pszPrefix] :
         {std::tuple{VER_PLATFORM_WIN32_NT, 5, "Global\\"}, {VER_PLATFORM_WIN32_WINDOWS, 4, ""}}) {
        SCOPED_TRACE(dwMajor);
        SetWindowsVersionForTesting(dwPlatform, dwMajor, 0);
        const std::string strCancel = EventName(m_strPort, "Cancel", pszPrefix);
        {
            CConsole first(m_strPort);
            CConsole second(m_strPort);
            // A signal of the second reaches a listener once (auto-reset), and Resume does not touch Cancel.
            CUniqueHandle hCancel(OpenEventA(SYNCHRONIZE, FALSE, strCancel.c_str()));
            CUniqueHandle hResume(
                OpenEventA(SYNCHRONIZE, FALSE, EventName(m_strPort, "Resume", pszPrefix).c_str()));
            second.ReplyClose();
            EXPECT_TRUE(IsSignalled(hCancel));
            EXPECT_FALSE(IsSignalled(hCancel) || IsSignalled(hResume));
            second.ReplyResume();
            EXPECT_TRUE(IsSignalled(hResume));
            EXPECT_FALSE(IsSignalled(hCancel));
        }
        // Once the last handle is gone, the events are gone.
        EXPECT_EQ(nullptr, OpenEventA(SYNCHRONIZE, FALSE, strCancel.c_str()));
    }
}

// Events that exist under a descriptor refusing to create them are opened to
// be signalled; where the descriptor only lets the agent wait, the console
// still stands and Cancel and Resume report the refusal. The default device's
// status is never read, and without its console it cannot pass Cancel and
// Resume on.
TEST_F(ConsoleTest, EventUnderRefusingDescriptorIsOpenedToBeSignalledAndTheDefaultDeviceNeedsItsConsole) {
    const struct {
        const char* pszDescriptor;
        DWORD dwResult;
    } cases[] = {{"D:(A;;0x00100002;;;WD)", 0}, {"D:(A;;0x00100000;;;WD)", ERROR_ACCESS_DENIED}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszDescriptor);
        PSECURITY_DESCRIPTOR pDescriptor = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(c.pszDescriptor, SDDL_REVISION_1,
                                                                         &pDescriptor, nullptr));
        SECURITY_ATTRIBUTES attributes = {sizeof(attributes), pDescriptor, FALSE};
        CUniqueHandle hCancel(CreateEventA(&attributes, FALSE, FALSE, m_strCancel.c_str()));
        CUniqueHandle hResume(CreateEventA(&attributes, FALSE, FALSE, m_strResume.c_str()));
        LocalFree(pDescriptor);

        CDefDevice device(nullptr, "Printer", m_strPort.c_str(), m_strPort.c_str());
        m_Trace.Clear();
        EXPECT_EQ(c.dwResult, device.OnCancel());
        EXPECT_EQ(c.dwResult == 0, IsSignalled(hCancel));
        EXPECT_EQ(c.dwResult, device.OnResume());
        EXPECT_EQ(c.dwResult == 0, IsSignalled(hResume));
        EXPECT_EQ(c.dwResult == 0 ? 0u : 2u, m_Trace.Lines().size());
        CDeviceStatus status;
        std::memset(status.Data(), 0xAB, CDeviceStatus::kSize);
        EXPECT_EQ(0u, device.ReadStatus(&status));
        EXPECT_EQ(0, std::memcmp(CDeviceStatus().Data(), status.Data(), CDeviceStatus::kSize));
        device.CloseConsole();
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_STATE), device.OnCancel());
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_STATE), device.OnResume());
    }
}

TEST_F(ConsoleTest, NameTakenByAnotherKindOfObjectFailsTheDevice) {
    CUniqueHandle hMutex(CreateMutexA(nullptr, FALSE, m_strCancel.c_str()));
    EXPECT_THROW(CDefDevice(nullptr, "Printer", m_strPort.c_str(), nullptr), CDevice::CExcept);

    // A failure on the Resume event releases the Cancel event already created.
    const std::string strPort = m_strPort + "B";
    CUniqueHandle hResumeMutex(CreateMutexA(nullptr, FALSE, EventName(strPort, "Resume").c_str()));
    EXPECT_THROW(CConsole console(strPort), CConsole::CExcept);
    EXPECT_EQ(nullptr, OpenEventA(SYNCHRONIZE, FALSE, EventName(strPort, "Cancel").c_str()));
    // A backslash in the port name makes the event name a path that does not exist.
    EXPECT_THROW(CConsole console(m_strPort + "\\X"), CConsole::CExcept);
}
