#include <gtest/gtest.h>

#include "sim/sim_options.h"

namespace {

bool Parse(const std::vector<std::string>& args, SimOptions& options, std::string& error) {
    return ParseSimOptions(args, options, error);
}

} // namespace

TEST(SimOptions, EveryOptionTakesEffect) {
    SimOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--port", "USB001", "--port", "NET1", "--scenario", "paper-out", "--model", "0x3C",
                       "--serial", "SN-0001", "--firmware", "2.05", "--loop", "--tick", "10", "--print",
                       "--exit-when-done", "--stop-event", "MyStop"},
                      options, error))
        << error;
    EXPECT_EQ((std::vector<std::string>{"USB001", "NET1"}), options.ports);
    EXPECT_EQ("paper-out", options.scenario);
    EXPECT_EQ(0x3C, options.personality.productId);
    EXPECT_EQ("SN-0001", options.personality.serial);
    EXPECT_EQ("2.05", options.personality.firmware);
    EXPECT_TRUE(options.loop && options.print && options.exitWhenDone);
    EXPECT_EQ(10u, options.tickMs);
    EXPECT_EQ("MyStop", options.stopEvent);

    ASSERT_TRUE(Parse({"--port", "NET1", "--pjl-port", "9100", "--misbehave", "close-early", "--pjl-delay",
                       "250", "--no-print-path"},
                      options, error))
        << error;
    EXPECT_TRUE(options.pjl);
    EXPECT_EQ(9100u, options.pjlPort);
    EXPECT_EQ(PjlMisbehaviour::CloseEarly, options.misbehaviour);
    EXPECT_EQ(250u, options.pjlDelayMs);
    EXPECT_FALSE(options.printPath);

    ASSERT_TRUE(Parse({"--script", "job.txt", "--port", "P"}, options, error)) << error;
    EXPECT_EQ("job.txt", options.scriptPath);
    EXPECT_FALSE(options.loop || options.pjl); // nothing is kept from an earlier parse
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
        {{"--port", "Global\\USB001"},
         "--port \"Global\\USB001\": a port name is 1 to 64 printable characters without blanks or '\\'"},
        {tooMany, "at most 31 ports"},
        {{"--port", "P", "--scenario", "job", "--script", "x.txt"},
         "--scenario and --script exclude each other"},
        {{"--port", "P", "--model", "0x10000"}, "--model \"0x10000\": expected a number from 0 to 65535"},
        {{"--port", "P", "--serial", "12345678901234567"},
         "--serial \"12345678901234567\": at most 16 characters"},
        {{"--port", "P", "--stop-event", "Global\\Stop"}, "--stop-event needs a name without '\\'"},
        {{"--port", "P", "--usb", "NY1", "--port", "Q", "--no-print-path"},
         "--no-print-path leaves Q unreachable without --pjl-port or --usb"},
        {{"--usb", "NY1", "--port", "P"}, "--usb NY1 needs a --port before it"},
        {{"--port", "P", "--usb", "NY1", "--usb", "NY2"}, "--usb is given twice for --port P"},
        {{"--port", "P", "--usb", "NY1", "--port", "Q", "--usb", "NY1"}, "--usb NY1 is given twice"},
        {{"--port", "P", "--usb", "NY#1"},
         "--usb \"NY#1\": a serial number is 1 to 16 letters, digits, '-', '_' or '.'"},
        {{"--port", "P", "--port", "Q", "--pjl-port", "65535"},
         "--pjl-port: the ports of all printers must stay below 65536"},
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
