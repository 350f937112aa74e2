// The agent's application object, one per process. It decides at start-up
// whether this process runs at all (one agent per logon session, "destroyall"
// stops every agent in every session through a global event), reads the
// behaviour settings, which the layer above hands to the windows that use
// them, and writes the popup switches the user changed back when it goes. The
// agent itself, the monitor window and the tray, is made by the layer above
// (RunAgent), which alone may see them all.
#pragma once

#include <string>

#include <windows.h>

#include "app/agent_settings.h"
#include "framework/unique_handle.h"

class CNyAgentApp {
public:
    // The per-session instance event and the global destruction event, without
    // the "Local\" and "Global\" prefixes that Windows 2000 and later take.
    static constexpr char kInstanceEventName[] = "BrindleNyAgent01";
    static constexpr char kDestructionEventName[] = "BrindleNyAgent02";

    CNyAgentApp();
    // Saves the settings, then closes the events.
    virtual ~CNyAgentApp();
    CNyAgentApp(const CNyAgentApp&) = delete;
    CNyAgentApp& operator=(const CNyAgentApp&) = delete;

    // Start-up with the program's arguments (the first is its name). Runs the
    // agent unless this is a "destroyall" run or a second instance, and always
    // returns FALSE: the process ends afterwards.
    BOOL InitInstance(int nArgs, const char* const* ppszArgs);
    // Releases the socket library; the process's exit code.
    int ExitInstance();

    // The settings, read by InitInstance before the agent runs.
    CAgentSettings& GetSettings() { return m_settings; }

    // Opens the global destruction event, or creates it with a null access
    // list so that every user may open it; signals it for a "destroyall" run.
    BOOL CreateGlobalDestructionEvent(BOOL bDestroyAll);
    void DestroyAllInstances();
    // TRUE when another agent already runs in this logon session.
    BOOL IsAlreadyRunningInCurrentCession();
    // TRUE once the destruction event is signalled; a missing event never is.
    BOOL IsDestructionRequested() const;

    // The text of a key of the version record's string tables; the last
    // translation that holds the key wins. FALSE leaves strValue untouched.
    static BOOL GetVersionInformation(const std::string& strKey, std::string& strValue);
    // "ProductName", read once it can be read; empty text until then.
    static const char* GetProductName();
    // The product version of the fixed version block.
    static BOOL GetProductVersion(WORD& wMajor, WORD& wMinor, WORD& wBuild, WORD& wRevision);

protected:
    // Start-up step 3: the socket that makes the socket layer ready early.
    virtual void FirstCallOfIsReachable() = 0;
    // Start-up step 9: builds the agent, runs its message loop until WM_QUIT
    // and takes it down again.
    virtual void RunAgent() = 0;

private:
    static std::string KernelObjectName(const char* pszLocalOrGlobal, const char* pszName);

    CAgentSettings m_settings;
    CUniqueHandle m_hInstanceEvent;
    CUniqueHandle m_hDestructionEvent;
};
