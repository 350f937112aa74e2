#include <gtest/gtest.h>

#include "sim/sim_options.h"

namespace {

bool Parse(const std::vector<std::string>& args, SimOptions& options, std::string& error) {
    return ParseSimOptions(args, options, error);
}

} // namespace

// The options reach the simulator's printers in the tests under Wine; here,
// what a parse keeps and the USB serial numbers by port.
TEST(SimOptions, EachParseStartsAfreshAndUsbSerialsGoWithTheirPorts) {
    SimOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--port", "NET1", "--loop", "--pjl-port", "9100", "--no-print-path"}, options, error))
        << error;
    ASSERT_TRUE(Parse({"--script", "job.txt", "--port", "P"}, options, error)) << error;
    EXPECT_EQ("job.txt", options.scriptPath);
    EXPECT_EQ(std::vector<std::string>{"P"}, options.ports);
    EXPECT_FALSE(options.loop || options.pjl);
    EXPECT_TRUE(options.printPath);

    ASSERT_TRUE(Parse({"--port", "USB001", "--usb", "NY0001", "--port", "NET1", "--port", "USB002", "--usb",
                       "ny_2.b-C", "--pjl-port", "0"},
                      options, error))
        << error;
    EXPECT_EQ((std::map<std::string, std::string>{{"USB001", "NY0001"}, {"USB002", "ny_2.b-C"}}),
              options.usbSerials);
    ASSERT_TRUE(Parse({"--port", "USB001", "--usb", "NY0001", "--no-print-path"}, options, error)) << error;
    EXPECT_EQ(1u, options.usbSerials.size());
}

TEST(SimOptions, BadCommandLinesSayWhatIsWrong) {
    std::vector<std::string> tooMany;
    for (std::size_t i = 0; i <= kMaxSimPorts; ++i)
        tooMany.insert(tooMany.end(), {"--port", "P" + std::to_string(i)});
    const struct {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{}, "at least one --port is needed"},
        {{"--port", "USB001", "--port", "USB001"}, "--port USB001 is given twice"},
        {tooMany, "at most 31 ports"},
        {{"--port", "P", "--scenario", "job", "--script", "x.txt"},
         "--scenario and --script exclude each other"},
        {{"--port", "P", "--usb", "NY1", "--port", "Q", "--no-print-path"},
         "--no-print-path leaves Q unreachable without --pjl-port or --usb"},
        {{"--usb", "NY1", "--port", "P"}, "--usb NY1 needs a --port before it"},
        {{"--port", "P", "--usb", "NY1", "--usb", "NY2"}, "--usb is given twice for --port P"},
        {{"--port", "P", "--usb", "NY1", "--port", "Q", "--usb", "NY1"}, "--usb NY1 is given twice"},
        {{"--port", "P", "--usb", "NY#1"},
         "--usb \"NY#1\": a serial number is 1 to 16 letters, digits, '-', '_' or '.'"},
    };
    for (const auto& c : cases) {
        SimOptions options;
        options.ports = {"KEPT"};
        std::string error;
        EXPECT_FALSE(Parse(c.args, options, error)) << c.error;
        EXPECT_EQ(c.error, error);
        EXPECT_EQ(std::vector<std::string>{"KEPT"}, options.ports) << c.error; // left as it was
    }
    EXPECT_EQ("SIM-IP_10.0.0.12", DefaultSerial("IP_10.0.0.123")); // cut to the record's field
}
