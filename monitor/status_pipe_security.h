// The access list of the status pipe: the user of the process's token,
// SYSTEM and the administrators may connect, nobody else. Built once from
// the token; the pipe's instances are created with it.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

class CStatusPipeSecurity {
public:
    CStatusPipeSecurity() = default;
    CStatusPipeSecurity(const CStatusPipeSecurity&) = delete;
    CStatusPipeSecurity& operator=(const CStatusPipeSecurity&) = delete;

    // Reads the token's user and builds the descriptor; FALSE, traced, on failure.
    BOOL Build();
    SECURITY_ATTRIBUTES* GetAttributes() { return &m_attributes; }

    // "\\.\pipe\NyAgent.Status.<session id>" for this process's session.
    static std::string SessionPipeName();

private:
    std::vector<BYTE> m_user;
    std::vector<BYTE> m_system;
    std::vector<BYTE> m_administrators;
    std::vector<BYTE> m_acl;
    SECURITY_DESCRIPTOR m_descriptor = {};
    SECURITY_ATTRIBUTES m_attributes = {};
};
