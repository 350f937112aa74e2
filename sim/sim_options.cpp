#include "sim/sim_options.h"

#include <algorithm>

#include "app/format.h"
#include "monitor/device_status.h"
#include "sim/builtin_scenarios.h"
#include "sim/parse_number.h"

namespace {

constexpr std::size_t kMaxPortNameLength = 64;

// Port names end up in kernel object names, where a backslash would open a
// namespace of its own.
bool IsValidPortName(const std::string& strPort) {
    if (strPort.empty() || strPort.size() > kMaxPortNameLength)
        return false;
    return std::all_of(strPort.begin(), strPort.end(),
                       [](char c) { return c > ' ' && c < 127 && c != '\\'; });
}

// USB serial numbers end up in kernel object names, registry key names and
// the interface path, and in the record's 16-character serial field.
bool IsValidUsbSerial(const std::string& strSerial) {
    if (strSerial.empty() || strSerial.size() > CDeviceStatus::kSerialNumberSize)
        return false;
    return std::all_of(strSerial.begin(), strSerial.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
               c == '_' || c == '.';
    });
}

std::string ScenarioList() {
    std::string list;
    for (const std::string& name : BuiltInScenarioNames())
        list += (list.empty() ? "" : ", ") + name;
    return list;
}

class CArgumentReader {
public:
    CArgumentReader(const std::vector<std::string>& args, std::string& strError)
        : m_args(args), m_strError(strError) {}

    bool AtEnd() const { return m_index == m_args.size(); }
    const std::string& Next() { return m_args[m_index++]; }

    bool Value(const std::string& strOption, std::string& value) {
        if (AtEnd()) {
            m_strError = Format("%s needs a value", strOption.c_str());
            return false;
        }
        value = Next();
        return true;
    }

    bool Number(const std::string& strOption, std::uint32_t minValue, std::uint32_t maxValue,
                std::uint32_t& value) {
        std::string text;
        if (!Value(strOption, text))
            return false;
        std::uint32_t number = 0;
        if (ParseNumber(text, maxValue, number) != NumberResult::kOk || number < minValue) {
            m_strError = Format("%s \"%s\": expected a number from %u to %u", strOption.c_str(), text.c_str(),
                                minValue, maxValue);
            return false;
        }
        value = number;
        return true;
    }

    bool Text(const std::string& strOption, std::size_t maxLength, std::string& value) {
        std::string text;
        if (!Value(strOption, text))
            return false;
        if (text.size() > maxLength) {
            m_strError = Format("%s \"%s\": at most %d characters", strOption.c_str(), text.c_str(),
                                static_cast<int>(maxLength));
            return false;
        }
        value = text;
        return true;
    }

private:
    const std::vector<std::string>& m_args;
    std::string& m_strError;
    std::size_t m_index = 0;
};

bool AddPort(const std::string& strPort, SimOptions& options, std::string& strError) {
    if (!IsValidPortName(strPort)) {
        strError = Format("--port \"%s\": a port name is 1 to %d printable characters without blanks or '\\'",
                          strPort.c_str(), static_cast<int>(kMaxPortNameLength));
        return false;
    }
    if (std::find(options.ports.begin(), options.ports.end(), strPort) != options.ports.end()) {
        strError = Format("--port %s is given twice", strPort.c_str());
        return false;
    }
    if (options.ports.size() == kMaxSimPorts) {
        strError = Format("at most %d ports", static_cast<int>(kMaxSimPorts));
        return false;
    }
    options.ports.push_back(strPort);
    return true;
}

// Serves the port given last as a USB printer.
bool AddUsbSerial(const std::string& strSerial, SimOptions& options, std::string& strError) {
    if (options.ports.empty()) {
        strError = Format("--usb %s needs a --port before it", strSerial.c_str());
        return false;
    }
    if (!IsValidUsbSerial(strSerial)) {
        strError = Format("--usb \"%s\": a serial number is 1 to %d letters, digits, '-', '_' or '.'",
                          strSerial.c_str(), static_cast<int>(CDeviceStatus::kSerialNumberSize));
        return false;
    }
    const std::string& strPort = options.ports.back();
    if (options.usbSerials.count(strPort)) {
        strError = Format("--usb is given twice for --port %s", strPort.c_str());
        return false;
    }
    for (const auto& entry : options.usbSerials) {
        if (entry.second == strSerial) {
            strError = Format("--usb %s is given twice", strSerial.c_str());
            return false;
        }
    }
    options.usbSerials[strPort] = strSerial;
    return true;
}

bool ParseOption(CArgumentReader& reader, const std::string& strOption, SimOptions& options,
                 bool& bScenarioGiven, std::string& strError) {
    std::string value;
    std::uint32_t number = 0;
    if (strOption == "--port")
        return reader.Value(strOption, value) && AddPort(value, options, strError);
    if (strOption == "--usb")
        return reader.Value(strOption, value) && AddUsbSerial(value, options, strError);
    if (strOption == "--scenario") {
        if (!reader.Value(strOption, options.scenario))
            return false;
        Scenario steps;
        if (!GetBuiltInScenario(options.scenario, steps)) {
            strError = Format("--scenario \"%s\": expected one of %s", options.scenario.c_str(),
                              ScenarioList().c_str());
            return false;
        }
        bScenarioGiven = true;
        return true;
    }
    if (strOption == "--script")
        return reader.Value(strOption, options.scriptPath);
    if (strOption == "--model") {
        if (!reader.Number(strOption, 0, 0xFFFF, number))
            return false;
        options.personality.productId = static_cast<std::uint16_t>(number);
        return true;
    }
    if (strOption == "--serial")
        return reader.Text(strOption, CDeviceStatus::kSerialNumberSize, options.personality.serial);
    if (strOption == "--firmware")
        return reader.Text(strOption, CDeviceStatus::kFirmwareVersionSize, options.personality.firmware);
    if (strOption == "--tick")
        return reader.Number(strOption, 1, 10000, options.tickMs);
    if (strOption == "--stop-event")
        return reader.Value(strOption, options.stopEvent);
    if (strOption == "--pjl-port") {
        options.pjl = true;
        return reader.Number(strOption, 0, 65535, options.pjlPort);
    }
    if (strOption == "--pjl-delay")
        return reader.Number(strOption, 0, 600000, options.pjlDelayMs);
    if (strOption == "--misbehave") {
        if (!reader.Value(strOption, value))
            return false;
        if (!ParsePjlMisbehaviour(value, options.misbehaviour)) {
            strError = Format("--misbehave \"%s\": expected none, refuse, silent, slow, split, wrong-stamp, "
                              "close-early, garbage, overflow, dribble or refuse-command",
                              value.c_str());
            return false;
        }
        return true;
    }
    if (strOption == "--no-print-path") {
        options.printPath = false;
        return true;
    }
    if (strOption == "--loop")
        options.loop = true;
    else if (strOption == "--print")
        options.print = true;
    else if (strOption == "--exit-when-done")
        options.exitWhenDone = true;
    else if (strOption == "--help" || strOption == "-h" || strOption == "/?")
        options.help = true;
    else {
        strError = Format("unknown option \"%s\"", strOption.c_str());
        return false;
    }
    return true;
}

} // namespace

bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& strError) {
    SimOptions parsed;
    CArgumentReader reader(args, strError);
    bool bScenarioGiven = false;
    while (!reader.AtEnd()) {
        const std::string strOption = reader.Next();
        if (!ParseOption(reader, strOption, parsed, bScenarioGiven, strError))
            return false;
    }
    if (parsed.help) {
        options = parsed;
        return true;
    }
    if (bScenarioGiven && !parsed.scriptPath.empty()) {
        strError = "--scenario and --script exclude each other";
        return false;
    }
    if (parsed.ports.empty()) {
        strError = "at least one --port is needed";
        return false;
    }
    for (const std::string& strPort : parsed.ports) {
        if (parsed.printPath || parsed.pjl)
            break;
        if (!parsed.usbSerials.count(strPort)) {
            strError =
                Format("--no-print-path leaves %s unreachable without --pjl-port or --usb", strPort.c_str());
            return false;
        }
    }
    if (parsed.pjl && parsed.pjlPort != 0 && parsed.pjlPort + parsed.ports.size() - 1 > 65535) {
        strError = "--pjl-port: the ports of all printers must stay below 65536";
        return false;
    }
    if (parsed.stopEvent.empty() || parsed.stopEvent.find('\\') != std::string::npos) {
        strError = "--stop-event needs a name without '\\'";
        return false;
    }
    options = parsed;
    return true;
}

std::string DefaultSerial(const std::string& strPort) {
    return ("SIM-" + strPort).substr(0, CDeviceStatus::kSerialNumberSize);
}

std::string SimUsage() {
    return "Usage: NySim.exe --port NAME [--port NAME ...] [--scenario NAME | --script FILE]\n"
           "                 [--model ID] [--serial TEXT] [--firmware TEXT] [--loop] [--tick MS]\n"
           "                 [--print] [--exit-when-done] [--stop-event NAME]\n"
           "                 [--pjl-port N] [--misbehave MODE] [--pjl-delay MS] [--no-print-path]\n"
           "                 [--usb SERIAL after each --port served over USB]\n"
           "Plays print jobs on simulated printers and publishes each port's status block\n"
           "as the print path does; Cancel and Resume come through the port's console events,\n"
           "with --pjl-port as PJL requests on a loopback TCP port, and with --usb as vendor\n"
           "requests through the stand-in USB printing class driver (NyUsbPrint.sys).\n"
           "  --scenario NAME    built-in job: " +
           ScenarioList() +
           " (default job)\n"
           "  --script FILE      job read from a script (format in sim/scenario.h)\n"
           "  --model ID         USB product id the printers report (default 0x3F)\n"
           "  --serial TEXT      serial number, up to 16 characters (default SIM-<port>; a port\n"
           "                     served over USB reports its --usb serial)\n"
           "  --firmware TEXT    firmware version, up to 8 characters (default 1.23)\n"
           "  --loop             start the job again once it is done\n"
           "  --tick MS          clock period in milliseconds, 1 to 10000 (default 50)\n"
           "  --print            print every published status block as a line\n"
           "  --exit-when-done   end once every printer's job is done\n"
           "  --stop-event NAME  named event that stops the simulator (default NySim.Stop)\n"
           "  --pjl-port N       answer PJL on 127.0.0.1:N (0: any free port; one port per printer)\n"
           "  --misbehave MODE   none, refuse, silent, slow, split, wrong-stamp, close-early,\n"
           "                     garbage, overflow, dribble or refuse-command (default none)\n"
           "  --pjl-delay MS     how long a slow printer takes to answer (default 4000)\n"
           "  --no-print-path    no status mutex, console events or status block: PJL or USB only\n"
           "  --usb SERIAL       serve the port given before it as a USB printer with this serial\n"
           "                     number (up to 16 letters, digits, '-', '_', '.'), through the\n"
           "                     mapping Global\\NySim.UsbPrint.SERIAL\n";
}
