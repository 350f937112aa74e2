// The metrics file's text: label escaping, the state enumeration, the order of
// families and series, the numbers' forms, and the whole file for one printer.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "monitor/fleet/metrics_text.h"
#include "tests/native/fleet_entries.h"

namespace {

CPrinterMetrics Printer(const std::string& strName, const std::string& strState = "idle") {
    CPrinterMetrics metrics;
    metrics.printer = EntryIn(strName, strState);
    metrics.strModel = "Kestrel 200";
    return metrics;
}

CAgentMetrics Agent(std::vector<CPrinterMetrics> printers) {
    CAgentMetrics metrics;
    metrics.strVersion = "2.1.0.7";
    metrics.nSession = 1;
    metrics.nTimestampMs = 1712345678123;
    metrics.printers = std::move(printers);
    return metrics;
}

std::vector<std::string> Lines(const std::string& strText) {
    std::vector<std::string> lines;
    std::istringstream in(strText);
    for (std::string strLine; std::getline(in, strLine);)
        lines.push_back(strLine);
    return lines;
}

// The sample lines of one metric, in order.
std::vector<std::string> Samples(const std::string& strText, const std::string& strMetric) {
    std::vector<std::string> samples;
    for (const std::string& strLine : Lines(strText))
        if (strLine.compare(0, strMetric.size() + 1, strMetric + "{") == 0 ||
            strLine.compare(0, strMetric.size() + 1, strMetric + " ") == 0)
            samples.push_back(strLine);
    return samples;
}

TEST(MetricsText, EscapesLabelValues) {
    const struct {
        const char* pszValue;
        const char* pszEscaped;
    } cases[] = {
        {"Kestrel 200", "Kestrel 200"},
        {"C:\\Printers\\K200", "C:\\\\Printers\\\\K200"},
        {"the \"front\" desk", "the \\\"front\\\" desk"},
        {"two\nlines", "two\\nlines"},
        {"\\\"\n", "\\\\\\\"\\n"},
        {"Drucker Büro 東京", "Drucker Büro 東京"},
        {"tab\tand cr\r stay", "tab\tand cr\r stay"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.pszEscaped, EscapeLabelValue(c.pszValue)) << c.pszValue;
}

TEST(MetricsText, WholeFileForOnePrinter) {
    CPrinterMetrics printer = Printer("Front \"desk\"", "error");
    printer.printer.record.SetStatusCode(0x80000004);
    printer.printer.nTask = 40;
    printer.printer.nTotal = 28;
    printer.nErrorsTotal = 3;
    const std::string strLabels =
        "printer=\"Front \\\"desk\\\"\",port=\"USB001\",road=\"usb\",model=\"Kestrel 200\",session=\"1\"";
    const std::string strExpected =
        "# HELP nyagent_agent_info The agent that writes these metrics: its version and session.\n"
        "# TYPE nyagent_agent_info gauge\n"
        "nyagent_agent_info{version=\"2.1.0.7\",session=\"1\"} 1\n"
        "# HELP nyagent_last_update_timestamp_seconds When the agent last wrote its metrics, in seconds "
        "since "
        "1970.\n"
        "# TYPE nyagent_last_update_timestamp_seconds gauge\n"
        "nyagent_last_update_timestamp_seconds 1712345678.123\n"
        "# HELP nyagent_printer_connected 1 while the agent has a link to the printer, 0 otherwise.\n"
        "# TYPE nyagent_printer_connected gauge\n"
        "nyagent_printer_connected{" +
        strLabels +
        "} 1\n"
        "# HELP nyagent_printer_state The printer's state: 1 for the current one (idle, printing, error, "
        "not_connected), 0 for the others.\n"
        "# TYPE nyagent_printer_state gauge\n"
        "nyagent_printer_state{" +
        strLabels + ",state=\"idle\"} 0\nnyagent_printer_state{" + strLabels +
        ",state=\"printing\"} 0\nnyagent_printer_state{" + strLabels +
        ",state=\"error\"} 1\nnyagent_printer_state{" + strLabels +
        ",state=\"not_connected\"} 0\n"
        "# HELP nyagent_printer_error_code The printer's status code while in error, 0 otherwise.\n"
        "# TYPE nyagent_printer_error_code gauge\n"
        "nyagent_printer_error_code{" +
        strLabels +
        "} 2147483652\n"
        "# HELP nyagent_printer_task_progress_ratio The progress of the printer's current task, 0 to 1.\n"
        "# TYPE nyagent_printer_task_progress_ratio gauge\n"
        "nyagent_printer_task_progress_ratio{" +
        strLabels +
        "} 0.4\n"
        "# HELP nyagent_printer_total_progress_ratio The progress of the printer's whole job, 0 to 1.\n"
        "# TYPE nyagent_printer_total_progress_ratio gauge\n"
        "nyagent_printer_total_progress_ratio{" +
        strLabels +
        "} 0.28\n"
        "# HELP nyagent_printer_errors_total Errors the printer raised since the agent started.\n"
        "# TYPE nyagent_printer_errors_total counter\n"
        "nyagent_printer_errors_total{" +
        strLabels + "} 3\n";
    EXPECT_EQ(strExpected, EncodeMetrics(Agent({printer})));
}

TEST(MetricsText, OneStateSeriesIsSetForEachState) {
    const struct {
        const char* pszState;
        const char* pszSet;
        const char* pszConnected;
    } cases[] = {
        {"idle", "idle", "1"},
        {"printing", "printing", "1"},
        {"error", "error", "1"},
        {"off", "not_connected", "0"},
    };
    for (const auto& c : cases) {
        const std::string strText = EncodeMetrics(Agent({Printer("P", c.pszState)}));
        const std::vector<std::string> states = Samples(strText, "nyagent_printer_state");
        ASSERT_EQ(4u, states.size());
        int nSet = 0;
        for (const std::string& strLine : states) {
            const bool bThis = strLine.find(std::string("state=\"") + c.pszSet + "\"") != std::string::npos;
            EXPECT_EQ(bThis ? " 1" : " 0", strLine.substr(strLine.size() - 2)) << strLine;
            nSet += bThis;
        }
        EXPECT_EQ(1, nSet) << c.pszSet;
        const std::vector<std::string> connected = Samples(strText, "nyagent_printer_connected");
        ASSERT_EQ(1u, connected.size());
        EXPECT_EQ(std::string(" ") + c.pszConnected, connected[0].substr(connected[0].size() - 2))
            << c.pszSet;
    }
}

TEST(MetricsText, FamiliesStayTogetherAndPrintersAreSortedByName) {
    const std::string strText =
        EncodeMetrics(Agent({Printer("Lobby"), Printer("Annex"), Printer("Zebra"), Printer("Écran")}));
    // Each family's lines follow its TYPE line without another family between.
    std::vector<std::string> families;
    std::string strFamily;
    for (const std::string& strLine : Lines(strText)) {
        if (strLine.compare(0, 7, "# TYPE ") == 0) {
            strFamily = strLine.substr(7, strLine.find(' ', 7) - 7);
            families.push_back(strFamily);
        } else if (strLine[0] != '#') {
            EXPECT_EQ(0u, strLine.compare(0, strFamily.size(), strFamily)) << strLine;
        }
    }
    EXPECT_EQ(
        (std::vector<std::string>{"nyagent_agent_info", "nyagent_last_update_timestamp_seconds",
                                  "nyagent_printer_connected", "nyagent_printer_state",
                                  "nyagent_printer_error_code", "nyagent_printer_task_progress_ratio",
                                  "nyagent_printer_total_progress_ratio", "nyagent_printer_errors_total"}),
        families);
    // Byte order: the UTF-8 name after the ASCII ones.
    std::vector<std::string> names;
    for (const std::string& strLine : Samples(strText, "nyagent_printer_errors_total"))
        names.push_back(strLine.substr(strLine.find('"') + 1, strLine.find("\",") - strLine.find('"') - 1));
    EXPECT_EQ((std::vector<std::string>{"Annex", "Lobby", "Zebra", "Écran"}), names);
}

TEST(MetricsText, WithoutPrintersOnlyTheAgentIsDescribed) {
    const std::string strText = EncodeMetrics(Agent({}));
    EXPECT_EQ(6u, Lines(strText).size());
    EXPECT_EQ(std::string::npos, strText.find("nyagent_printer"));
}

TEST(MetricsText, EveryFileEndsWithALineFeedAndHasNoEmptyLine) {
    for (const auto& printers :
         {std::vector<CPrinterMetrics>{}, {Printer("a")}, {Printer("a"), Printer("b")}}) {
        const std::string strText = EncodeMetrics(Agent(printers));
        ASSERT_FALSE(strText.empty());
        EXPECT_EQ('\n', strText.back());
        EXPECT_EQ(std::string::npos, strText.find("\n\n"));
    }
}

TEST(MetricsText, NumbersTakeTheirShortestExactForm) {
    const struct {
        int nPercent;
        const char* pszRatio;
    } ratios[] = {{0, "0"}, {7, "0.07"}, {40, "0.4"}, {99, "0.99"}, {100, "1"}, {150, "1"}, {-5, "0"}};
    for (const auto& r : ratios) {
        CPrinterMetrics printer = Printer("P", "printing");
        printer.printer.nTask = r.nPercent;
        const std::vector<std::string> task =
            Samples(EncodeMetrics(Agent({printer})), "nyagent_printer_task_progress_ratio");
        ASSERT_EQ(1u, task.size());
        EXPECT_EQ(std::string("} ") + r.pszRatio, task[0].substr(task[0].rfind('}'))) << r.nPercent;
    }
    const struct {
        std::int64_t nMs;
        const char* pszSeconds;
    } times[] = {
        {1712345678123, "1712345678.123"}, {1712345678050, "1712345678.05"}, {1000, "1"}, {1, "0.001"}};
    for (const auto& t : times) {
        CAgentMetrics metrics = Agent({});
        metrics.nTimestampMs = t.nMs;
        EXPECT_EQ(
            std::vector<std::string>{std::string("nyagent_last_update_timestamp_seconds ") + t.pszSeconds},
            Samples(EncodeMetrics(metrics), "nyagent_last_update_timestamp_seconds"));
    }
}

} // namespace
