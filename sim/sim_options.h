// The simulator's command line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sim/pjl_responder.h"
#include "sim/sim_printer.h"

// One stop event and each port's Cancel and Resume events must fit in one
// wait on at most 64 handles.
constexpr std::size_t kMaxSimPorts = 31;

struct SimOptions {
    std::vector<std::string> ports;
    std::string scenario = "job"; // a built-in scenario, unless a script is given
    std::string scriptPath;
    SimPersonality personality; // without --serial each port gets its own, see DefaultSerial
    bool loop = false;
    std::uint32_t tickMs = 50;
    bool print = false;
    bool exitWhenDone = false;
    std::string stopEvent = "NySim.Stop";
    // The print path's objects (status mutex, console events, status block).
    bool printPath = true;
    // Each printer also answers PJL on 127.0.0.1: the first at pjlPort (0: any
    // free port), the next ones on the ports that follow.
    bool pjl = false;
    std::uint32_t pjlPort = 0;
    PjlMisbehaviour misbehaviour = PjlMisbehaviour::None;
    std::uint32_t pjlDelayMs = 4000; // how long a slow printer takes to answer
    // Ports also served as USB printers, each with its serial number: the
    // printer reports it and answers the stand-in USB printing class driver
    // through the bridge block named after it.
    std::map<std::string, std::string> usbSerials;
    bool help = false;
};

// Parses the arguments that follow the program name. On failure returns false
// and says what is wrong in strError.
bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& strError);

std::string SimUsage();

// "SIM-" and the port name, cut to the record's 16 characters.
std::string DefaultSerial(const std::string& strPort);
