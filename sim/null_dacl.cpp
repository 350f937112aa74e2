#include "sim/null_dacl.h"

#include "app/trace.h"

CNullDaclAttributes::CNullDaclAttributes() : m_descriptor(), m_attributes() {
    if (!InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION)) {
        DebugTrace("CNullDaclAttributes::CNullDaclAttributes() : InitializeSecurityDescriptor() failed. "
                   "GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return;
    }
    if (!SetSecurityDescriptorDacl(&m_descriptor, TRUE, nullptr, FALSE)) {
        DebugTrace("CNullDaclAttributes::CNullDaclAttributes() : SetSecurityDescriptorDacl() failed. "
                   "GetLastError() = %d\n",
                   static_cast<int>(GetLastError()));
        return;
    }
    m_attributes.nLength = sizeof(m_attributes);
    m_attributes.lpSecurityDescriptor = &m_descriptor;
    m_attributes.bInheritHandle = FALSE;
    m_bReady = true;
}
