#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include "app/winver.h"
#include "monitor/console.h"
#include "devices/shared/def_device.h"
#include "framework/unique_handle.h"
#include "tests/common/trace_capture.h"
#include "tests/wine/test_printer.h"

namespace {

std::string CancelName(const std::string& strPort) { return "Global\\KORVA.Nylm.Console." + strPort + ".Cancel"; }
std::string ResumeName(const std::string& strPort) { return "Global\\KORVA.Nylm.Console." + strPort + ".Resume"; }

bool IsSignalled(HANDLE hEvent) { return WaitForSingleObject(hEvent, 0) == WAIT_OBJECT_0; }

// An event that exists under a descriptor given in SDDL, as a print path
// running under another account would leave it.
CUniqueHandle CreateGuardedEvent(const std::string& strName, const char* pszSddl) {
    PSECURITY_DESCRIPTOR pDescriptor = nullptr;
    EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(pszSddl, SDDL_REVISION_1, &pDescriptor,
                                                                     nullptr));
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), pDescriptor, FALSE};
    CUniqueHandle hEvent(CreateEventA(&attributes, FALSE, FALSE, strName.c_str()));
    LocalFree(pDescriptor);
    EXPECT_TRUE(hEvent);
    return hEvent;
}

class ConsoleTest : public ::testing::Test {
protected:
    void TearDown() override { SetWindowsVersionForTesting(VER_PLATFORM_WIN32_NT, 10, 0); }

    CTraceCapture m_Trace;
    const std::string m_strPort = UniqueName("CON");
};

} // namespace

TEST_F(ConsoleTest, FirstConsoleCreatesBothEventsAndSecondOpensThem) {
    {
        CConsole first(m_strPort);
        const std::vector<std::string> expected = {
            "CConsole::CreateOrOpenEvent() : SecurityDescriptor : SUCCESS\n",
            "CConsole::CreateOrOpenEvent() : CreateEvent(" + CancelName(m_strPort) + ") CREATION\n",
            "CConsole::CreateOrOpenEvent() : SecurityDescriptor : SUCCESS\n",
            "CConsole::CreateOrOpenEvent() : CreateEvent(" + ResumeName(m_strPort) + ") CREATION\n",
        };
        EXPECT_EQ(expected, m_Trace.Lines());

        m_Trace.Clear();
        CConsole second(m_strPort);
        EXPECT_EQ(1, m_Trace.Count("CConsole::CreateOrOpenEvent() : CreateEvent(" + CancelName(m_strPort) +
                                   ") already exists\n"));
        EXPECT_EQ(1, m_Trace.Count("CConsole::CreateOrOpenEvent() : CreateEvent(" + ResumeName(m_strPort) +
                                   ") already exists\n"));

        // The second console's handles work: a signal reaches a listener once
        // (auto-reset), and Resume does not touch Cancel.
        CUniqueHandle hCancel(OpenEventA(SYNCHRONIZE, FALSE, CancelName(m_strPort).c_str()));
        CUniqueHandle hResume(OpenEventA(SYNCHRONIZE, FALSE, ResumeName(m_strPort).c_str()));
        ASSERT_TRUE(hCancel && hResume);
        second.ReplyClose();
        EXPECT_TRUE(IsSignalled(hCancel.Get()));
        EXPECT_FALSE(IsSignalled(hCancel.Get()));
        EXPECT_FALSE(IsSignalled(hResume.Get()));
        second.ReplyResume();
        EXPECT_TRUE(IsSignalled(hResume.Get()));
        EXPECT_FALSE(IsSignalled(hCancel.Get()));
    }
    // Once the last handle is gone, the events are gone.
    EXPECT_EQ(nullptr, OpenEventA(SYNCHRONIZE, FALSE, CancelName(m_strPort).c_str()));
}

TEST_F(ConsoleTest, EventUnderRefusingDescriptorIsOpenedForSynchronizeOnly) {
    // Everyone may wait on the events, nobody may signal or create them.
    CUniqueHandle hCancel = CreateGuardedEvent(CancelName(m_strPort), "D:(A;;0x00100000;;;WD)");
    CUniqueHandle hResume = CreateGuardedEvent(ResumeName(m_strPort), "D:(A;;0x00100000;;;WD)");
    m_Trace.Clear();

    CDefDevice device(nullptr, "Printer", m_strPort.c_str(), m_strPort.c_str());
    EXPECT_EQ(0, m_Trace.Count("CDevice::CDevice() : OpenConsole() returns FALSE\n"));
    for (const std::string& line : m_Trace.Lines())
        EXPECT_EQ(std::string::npos, line.find("CREATION")) << line;

    m_Trace.Clear();
    EXPECT_EQ(0u, device.OnCancel());
    EXPECT_EQ(std::vector<std::string>{"CConsole::ReplyClose() : SetEvent() failed. GetLastError() = 5\n"},
              m_Trace.Lines());
    EXPECT_FALSE(IsSignalled(hCancel.Get()));

    m_Trace.Clear();
    EXPECT_EQ(0u, device.OnResume());
    EXPECT_EQ(std::vector<std::string>{"CConsole::ReplyResume() : SetEvent() failed. GetLastError() = 5\n"},
              m_Trace.Lines());
}

TEST_F(ConsoleTest, NameTakenByAnotherKindOfObjectFailsTheDevice) {
    CUniqueHandle hMutex(CreateMutexA(nullptr, FALSE, CancelName(m_strPort).c_str()));
    ASSERT_TRUE(hMutex);
    EXPECT_THROW(CDefDevice(nullptr, "Printer", m_strPort.c_str(), nullptr), CDevice::CExcept);
    const std::vector<std::string> expected = {
        "CConsole::CreateOrOpenEvent() : SecurityDescriptor : SUCCESS\n",
        "CConsole::CreateOrOpenEvent() : CreateEvent(" + CancelName(m_strPort) + ") failed. GetLastError() = 6\n",
        "CConsole::CConsole() : OpenOrCreateEvent(" + CancelName(m_strPort) + ") failed\n",
        "CDevice::OnNotification() : Unable to construct CConsole object\n",
        "CDevice::CDevice() : OpenConsole() returns FALSE\n",
    };
    EXPECT_EQ(expected, m_Trace.Lines());
}

TEST_F(ConsoleTest, ResumeFailureReleasesTheCancelEvent) {
    CUniqueHandle hMutex(CreateMutexA(nullptr, FALSE, ResumeName(m_strPort).c_str()));
    ASSERT_TRUE(hMutex);
    EXPECT_THROW(CConsole console(m_strPort), CConsole::CExcept);
    EXPECT_EQ(1, m_Trace.Count("CConsole::CConsole() : OpenOrCreateEvent(" + ResumeName(m_strPort) + ") failed\n"));
    // The Cancel event was created and must not outlive the failed console.
    EXPECT_EQ(nullptr, OpenEventA(SYNCHRONIZE, FALSE, CancelName(m_strPort).c_str()));
}

TEST_F(ConsoleTest, CreationFailureOtherThanAccessDenied) {
    // A backslash in the port name makes the event name a path that does not exist.
    const std::string strPort = m_strPort + "\\X";
    EXPECT_THROW(CConsole console(strPort), CConsole::CExcept);
    EXPECT_EQ(1, m_Trace.Count("CConsole::CreateOrOpenEvent() : CreateEvent(" + CancelName(strPort) +
                               ") failed. GetLastError() = 3\n"));
}

TEST_F(ConsoleTest, OlderSystemsNameEventsWithoutGlobalPrefix) {
    SetWindowsVersionForTesting(VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    CConsole console(m_strPort);
    const std::string strLocal = "KORVA.Nylm.Console." + m_strPort + ".Cancel";
    EXPECT_EQ(1, m_Trace.Count("CConsole::CreateOrOpenEvent() : CreateEvent(" + strLocal + ") CREATION\n"));
    CUniqueHandle hLocal(OpenEventA(SYNCHRONIZE, FALSE, strLocal.c_str()));
    EXPECT_TRUE(hLocal);
    console.ReplyClose();
    EXPECT_TRUE(IsSignalled(hLocal.Get()));
}
