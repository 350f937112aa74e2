// Security attributes that let every account open a named object: a
// descriptor with a present but null access list. The print path runs under
// another account than the agents that open its objects.
#pragma once

#include <windows.h>

class CNullDaclAttributes {
public:
    CNullDaclAttributes();
    CNullDaclAttributes(const CNullDaclAttributes&) = delete;
    CNullDaclAttributes& operator=(const CNullDaclAttributes&) = delete;

    // Null when the descriptor could not be prepared: objects then get default security.
    SECURITY_ATTRIBUTES* Get() { return m_bReady ? &m_attributes : nullptr; }

private:
    SECURITY_DESCRIPTOR m_descriptor;
    SECURITY_ATTRIBUTES m_attributes;
    bool m_bReady = false;
};
