// The agent's command line: one flag, "destroyall", written after a slash or
// a hyphen in any letter case. Nothing else on the line has any effect.
// Platform-free.
#pragma once

class CAgentCommandLineInfo {
public:
    // One parameter, with its leading slash or hyphen already stripped when
    // bFlag is set.
    void ParseParam(const char* pszParam, bool bFlag, bool bLast);
    // Every argument after the program's name, as the framework hands them on.
    void ParseCommandLine(int nArgs, const char* const* ppszArgs);

    bool m_bDestroyAll = false;
};
