#include "monitor/status_pipe_security.h"

#include "app/trace.h"
#include "framework/unique_handle.h"

namespace {

BOOL WellKnownSid(WELL_KNOWN_SID_TYPE type, std::vector<BYTE>& sid) {
    DWORD dwSize = SECURITY_MAX_SID_SIZE;
    sid.assign(dwSize, 0);
    if (CreateWellKnownSid(type, nullptr, sid.data(), &dwSize))
        return TRUE;
    DebugTrace("CStatusPipeSecurity::Build() : CreateWellKnownSid(%d) failed. GetLastError() = %d\n",
               static_cast<int>(type), static_cast<int>(GetLastError()));
    return FALSE;
}

BOOL TokenUserSid(std::vector<BYTE>& sid) {
    HANDLE hToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &hToken)) {
        DebugTrace("CStatusPipeSecurity::Build() : OpenProcessToken() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return FALSE;
    }
    const CUniqueHandle token(hToken);
    DWORD dwSize = 0;
    GetTokenInformation(hToken, TokenUser, nullptr, 0, &dwSize);
    std::vector<BYTE> buffer(dwSize ? dwSize : 1);
    if (!GetTokenInformation(hToken, TokenUser, buffer.data(), dwSize, &dwSize)) {
        DebugTrace("CStatusPipeSecurity::Build() : GetTokenInformation() failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return FALSE;
    }
    const PSID pSid = reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid;
    const DWORD dwLength = GetLengthSid(pSid);
    sid.assign(dwLength, 0);
    return CopySid(dwLength, sid.data(), pSid);
}

} // namespace

BOOL CStatusPipeSecurity::Build() {
    if (!TokenUserSid(m_user) || !WellKnownSid(WinLocalSystemSid, m_system) ||
        !WellKnownSid(WinBuiltinAdministratorsSid, m_administrators))
        return FALSE;
    DWORD dwAclSize = sizeof(ACL);
    for (const std::vector<BYTE>* pSid : {&m_user, &m_system, &m_administrators})
        dwAclSize +=
            sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(const_cast<BYTE*>(pSid->data()));
    m_acl.assign(dwAclSize, 0);
    PACL pAcl = reinterpret_cast<PACL>(m_acl.data());
    // The user reads and writes (and so may create the instances the agent
    // makes); SYSTEM and the administrators may do everything.
    if (!InitializeAcl(pAcl, dwAclSize, ACL_REVISION) ||
        !AddAccessAllowedAce(pAcl, ACL_REVISION, GENERIC_READ | GENERIC_WRITE, m_user.data()) ||
        !AddAccessAllowedAce(pAcl, ACL_REVISION, GENERIC_ALL, m_system.data()) ||
        !AddAccessAllowedAce(pAcl, ACL_REVISION, GENERIC_ALL, m_administrators.data()) ||
        !InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&m_descriptor, TRUE, pAcl, FALSE)) {
        DebugTrace("CStatusPipeSecurity::Build() : the access list failed. GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return FALSE;
    }
    m_attributes.nLength = sizeof(m_attributes);
    m_attributes.lpSecurityDescriptor = &m_descriptor;
    m_attributes.bInheritHandle = FALSE;
    return TRUE;
}

std::string CStatusPipeSecurity::SessionPipeName() {
    DWORD dwSession = 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &dwSession))
        DebugTrace(
            "CStatusPipeSecurity::SessionPipeName() : ProcessIdToSessionId() failed. GetLastError() = %d\n",
            static_cast<int>(GetLastError()));
    return "\\\\.\\pipe\\NyAgent.Status." + std::to_string(dwSession);
}
