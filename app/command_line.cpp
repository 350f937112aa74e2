#include "app/command_line.h"

#include <cctype>
#include <string>

void CAgentCommandLineInfo::ParseParam(const char* pszParam, bool bFlag, bool) {
    if (!bFlag || !pszParam)
        return;
    std::string strParam(pszParam);
    for (char& c : strParam)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (strParam == "destroyall")
        m_bDestroyAll = true;
}

void CAgentCommandLineInfo::ParseCommandLine(int nArgs, const char* const* ppszArgs) {
    for (int i = 1; i < nArgs; ++i) {
        const char* pszParam = ppszArgs[i];
        if (!pszParam)
            continue;
        const bool bFlag = pszParam[0] == '/' || pszParam[0] == '-';
        ParseParam(bFlag ? pszParam + 1 : pszParam, bFlag, i + 1 == nArgs);
    }
}
