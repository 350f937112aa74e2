// The fleet's reporting thread. It reads the printers from the status board
// after each change and reports what changed to the Application log (source
// "NyAgent", a printer that flaps rate-limited), and, while the machine's
// MetricsDirectory setting names a folder, writes the metrics file there on
// each change and at least every 30 s. The setting is read at the start and
// whenever its key changes. The agent's start and end are logged too; the
// metrics file goes when the thread ends. Nothing it does waits on the
// user-interface thread, which only signals it.
#pragma once

#include <cstdint>
#include <string>
#include <thread>

#include "framework/unique_handle.h"
#include "monitor/status_board.h"

class CFleetReporter {
public:
    // The machine's setting: a value of this key under HKEY_LOCAL_MACHINE.
    static constexpr const wchar_t* kSettingsKey = L"Software\\Tessel\\Tessel Photo\\NyAgent";
    static constexpr const wchar_t* kMetricsDirectoryValue = L"MetricsDirectory";
    static constexpr const wchar_t* kEventSource = L"NyAgent";
    static constexpr unsigned kRefreshMs = 30000;

    CFleetReporter(CStatusBoard& board, std::string strVersion, std::uint32_t nSession);
    // Stops the thread.
    ~CFleetReporter();
    CFleetReporter(const CFleetReporter&) = delete;
    CFleetReporter& operator=(const CFleetReporter&) = delete;

    void Start();
    // Ends the thread and waits for it; the board's listener is removed first.
    void Stop();

private:
    void Run();

    CStatusBoard& m_board;
    std::string m_strVersion;
    std::uint32_t m_nSession;
    CUniqueHandle m_hStop;
    CUniqueHandle m_hChanged;
    std::thread m_thread;
};
