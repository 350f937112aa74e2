#include <gtest/gtest.h>

#include "sim/sim_options.h"

// The options reach the simulator's printers in the tests under Wine; here,
// the USB serial numbers by port and the refused command lines.
TEST(SimOptions, UsbSerialsGoWithTheirPorts) {
    SimOptions options;
    std::string error;
    ASSERT_TRUE(ParseSimOptions({"--port", "USB001", "--usb", "NY0001", "--port", "NET1", "--port", "USB002",
                                 "--usb", "ny_2.b-C", "--pjl-port", "0", "--no-print-path"},
                                options, error))
        << error;
    EXPECT_EQ((std::vector<std::string>{"USB001", "NET1", "USB002"}), options.ports);
    EXPECT_EQ((std::map<std::string, std::string>{{"USB001", "NY0001"}, {"USB002", "ny_2.b-C"}}),
              options.usbSerials);
    EXPECT_TRUE(options.pjl && !options.printPath);
}

TEST(SimOptions, BadCommandLinesSayWhatIsWrong) {
    const struct {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{}, "at least one --port is needed"},
        {{"--port", "P", "--usb", "NY1", "--port", "Q", "--no-print-path"},
         "--no-print-path leaves Q unreachable without --pjl-port or --usb"},
        {{"--usb", "NY1", "--port", "P"}, "--usb NY1 needs a --port before it"},
        {{"--port", "P", "--usb", "NY#1"},
         "--usb \"NY#1\": a serial number is 1 to 16 letters, digits, '-', '_' or '.'"},
    };
    for (const auto& c : cases) {
        SimOptions options;
        options.ports = {"KEPT"};
        std::string error;
        EXPECT_FALSE(ParseSimOptions(c.args, options, error)) << c.error;
        EXPECT_EQ(c.error, error);
        EXPECT_EQ(std::vector<std::string>{"KEPT"}, options.ports) << c.error; // left as it was
    }
}
