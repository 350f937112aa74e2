// Names of the kernel objects that the agent shares with the print path, all
// formed from the spooler port name. Names that live in the global namespace
// take "Global\" on Windows 2000 and later and go without it on older systems.
#pragma once

#include <string>

namespace printpath {

inline std::string GlobalPrefix(bool bGlobalNamespace) {
    return bGlobalNamespace ? "Global\\" : "";
}

// Held by whoever talks to the printer on that port.
inline std::string StatusMutexName(const std::string& strPort, bool bGlobalNamespace) {
    return GlobalPrefix(bGlobalNamespace) + "KORVA.Nylm.Status." + strPort + ".Mutex";
}

// The same mutex as the USB device names it: never in the global namespace.
inline std::string UsbStatusMutexName(const std::string& strPort) {
    return "KORVA.Nylm.Status." + strPort + ".Mutex";
}

// Console events: a signal cancels, or resumes, the job in progress on the port.
inline std::string CancelEventName(const std::string& strPort, bool bGlobalNamespace) {
    return GlobalPrefix(bGlobalNamespace) + "KORVA.Nylm.Console." + strPort + ".Cancel";
}

inline std::string ResumeEventName(const std::string& strPort, bool bGlobalNamespace) {
    return GlobalPrefix(bGlobalNamespace) + "KORVA.Nylm.Console." + strPort + ".Resume";
}

// The status monitor's mapping, as the network device opens it.
inline std::string StatusMappingName(const std::string& strPort, bool bGlobalNamespace) {
    return GlobalPrefix(bGlobalNamespace) + "NYRA_DEVICE_STATUS." + strPort;
}

// The same mapping as the shared-memory device opens it: never in the global namespace.
inline std::string LocalStatusMappingName(const std::string& strPort) {
    return "NYRA_DEVICE_STATUS." + strPort;
}

} // namespace printpath
