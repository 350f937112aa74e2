// The agent's end of a port's console events: a signal of the Cancel event
// makes the print path cancel the job on that port, one of the Resume event
// makes it resume the job.
#pragma once

#include <string>

#include <windows.h>

#include "framework/unique_handle.h"

class CConsole {
public:
    // Thrown by the constructor when an event can be neither created nor opened.
    class CExcept {};

    explicit CConsole(const std::string& strPort);
    virtual ~CConsole() = default;

    CConsole(const CConsole&) = delete;
    CConsole& operator=(const CConsole&) = delete;

    // Creates the named auto-reset event open to every account, or opens it
    // with dwAccess when it exists under a descriptor that forbids creating
    // it; when that descriptor refuses dwAccess too, with SYNCHRONIZE alone.
    static BOOL CreateOrOpenEvent(const std::string& strName, DWORD dwAccess, CUniqueHandle& hEvent);

    // Signal the Cancel, or the Resume, event. 0, or the error after its trace.
    DWORD ReplyClose();
    DWORD ReplyResume();

private:
    CUniqueHandle m_hCancelEvent;
    CUniqueHandle m_hResumeEvent;
};
