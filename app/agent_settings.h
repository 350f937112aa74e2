// The agent's behaviour settings for one run: whether a status window opens
// by itself on an error and while printing, and whether the printers' own
// status monitor is used. The application reads them at start-up and hands
// them to the windows that use them; the tray menu flips the two popup
// switches, and Save writes back each switch set in this run.
#pragma once

#include <windows.h>

class CAgentSettings {
public:
    // Reads every setting from the user's key.
    void Read();

    BOOL GetOpenOnErrorSetting() const { return m_bOpenOnError; }
    BOOL GetOpenWhenPrintingSetting() const { return m_bOpenWhenPrinting; }
    BOOL GetUseNyStatusMonitorSetting() const { return m_bUseNyStatusMonitor; }
    // In memory only; stored by Save.
    void SetOpenOnErrorSetting(BOOL bOpenOnError);
    void SetOpenWhenPrintingSetting(BOOL bOpenWhenPrinting);
    // Writes each popup switch set in this run (even back to the value read),
    // once: a value another program stored meanwhile stays unless the user
    // changed that switch. Settings never read write nothing.
    void Save();

private:
    BOOL m_bOpenOnError = TRUE;
    BOOL m_bOpenWhenPrinting = TRUE;
    BOOL m_bUseNyStatusMonitor = FALSE;
    BOOL m_bRead = FALSE;
    bool m_bOpenOnErrorChanged = false;
    bool m_bOpenWhenPrintingChanged = false;
};
