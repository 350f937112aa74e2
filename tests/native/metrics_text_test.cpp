// The metrics file's text: label escaping, the state enumeration, the order of
// families and series, the numbers' forms, and the whole file for one printer.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "monitor/fleet/metrics_text.h"
#include "tests/native/status_entries.h"

namespace {

using Strings = std::vector<std::string>;

// A printer of a known model that raised no error.
CPrinterMetrics Printer(const std::string& strName, const std::string& strState = "idle") {
    return {EntryIn(strName, strState), "Kestrel 200", 0};
}

// Version 2.1.0.7 in session 1, written at 1712345678.123 s.
CAgentMetrics Agent(std::vector<CPrinterMetrics> printers) {
    return {"2.1.0.7", 1, 1712345678123, std::move(printers)};
}

// The file's lines that start with strStart, in order and without it: the
// samples of a metric, or the families' "# TYPE" lines (the file's form, HELP
// before TYPE and each family's samples together, is checked by promtool in
// the fleet's end-to-end test).
Strings Lines(const std::string& strText, const std::string& strStart) {
    Strings lines;
    std::istringstream in(strText);
    for (std::string strLine; std::getline(in, strLine);)
        if (strLine.compare(0, strStart.size(), strStart) == 0)
            lines.push_back(strLine.substr(strStart.size()));
    return lines;
}

// The printer's name escaped in its label: a backslash, a quote and a line
// feed; a tab and UTF-8 pass as they are.
TEST(MetricsText, WholeFileForOnePrinter) {
    CPrinterMetrics printer = Printer("C:\\Front \"desk\"\n\tÉ", "error");
    printer.printer.record.SetStatusCode(0x80000004);
    printer.printer.nTask = 40;
    printer.printer.nTotal = 28;
    printer.nErrorsTotal = 3;
    const std::string strText = EncodeMetrics(Agent({printer}));
    EXPECT_EQ((Strings{"agent_info gauge", "last_update_timestamp_seconds gauge", "printer_connected gauge",
                       "printer_state gauge", "printer_error_code gauge", "printer_task_progress_ratio gauge",
                       "printer_total_progress_ratio gauge", "printer_errors_total counter"}),
              Lines(strText, "# TYPE nyagent_"));
    const std::string L =
        "{printer=\"C:\\\\Front \\\"desk\\\"\\n\tÉ\",port=\"USB001\",road=\"usb\",model=\"Kestrel "
        "200\",session=\"1\"";
    EXPECT_EQ(
        (Strings{"agent_info{version=\"2.1.0.7\",session=\"1\"} 1",
                 "last_update_timestamp_seconds 1712345678.123", "printer_connected" + L + "} 1",
                 "printer_state" + L + ",state=\"idle\"} 0", "printer_state" + L + ",state=\"printing\"} 0",
                 "printer_state" + L + ",state=\"error\"} 1",
                 "printer_state" + L + ",state=\"not_connected\"} 0",
                 "printer_error_code" + L + "} 2147483652", "printer_task_progress_ratio" + L + "} 0.4",
                 "printer_total_progress_ratio" + L + "} 0.28", "printer_errors_total" + L + "} 3"}),
        Lines(strText, "nyagent_"));
}

// Printer families only with printers, and the printers sorted by name.
TEST(MetricsText, PrinterFamiliesOnlyWithPrintersSortedByName) {
    EXPECT_EQ(2u, Lines(EncodeMetrics(Agent({})), "# TYPE nyagent_").size());
    const std::string strText =
        EncodeMetrics(Agent({Printer("Lobby"), Printer("Annex"), Printer("Zebra"), Printer("Écran")}));
    EXPECT_EQ(8u, Lines(strText, "# TYPE nyagent_").size());
    // Byte order: the UTF-8 name after the ASCII ones.
    Strings names;
    for (const std::string& strLine : Lines(strText, "nyagent_printer_errors_total{"))
        names.push_back(strLine.substr(strLine.find('"') + 1, strLine.find("\",") - strLine.find('"') - 1));
    EXPECT_EQ((Strings{"Annex", "Lobby", "Zebra", "Écran"}), names);
}

// For each printer one state series is set (in order idle, printing, error,
// not_connected); ratios are clamped to 0..1 and seconds come from
// milliseconds, without trailing zeros.
TEST(MetricsText, StateSeriesAndNumbersInTheirShortestExactForm) {
    const struct {
        const char *pszState, *pszSet;
        char cConnected;
        int nPercent;
        const char* pszRatio;
        std::int64_t nMs;
        const char* pszSeconds;
    } cases[] = {{"idle", "1000", '1', 0, "0", 1712345678050, "1712345678.05"},
                 {"printing", "0100", '1', 7, "0.07", 1000, "1"},
                 {"error", "0010", '1', 100, "1", 1, "0.001"},
                 {"off", "0001", '0', 150, "1", 0, "0"},
                 {"printing", "0100", '1', -5, "0", 20, "0.02"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszState + std::string(" ") + std::to_string(c.nPercent));
        CPrinterMetrics printer = Printer("P", c.pszState);
        printer.printer.nTask = c.nPercent;
        CAgentMetrics metrics = Agent({printer});
        metrics.nTimestampMs = c.nMs;
        const std::string strText = EncodeMetrics(metrics);
        std::string strSet;
        for (const std::string& strLine : Lines(strText, "nyagent_printer_state{"))
            strSet += strLine.back();
        EXPECT_EQ(c.pszSet, strSet);
        EXPECT_EQ(c.cConnected, Lines(strText, "nyagent_printer_connected{").at(0).back());
        const std::string strTask = Lines(strText, "nyagent_printer_task_progress_ratio{").at(0);
        EXPECT_EQ(std::string("} ") + c.pszRatio, strTask.substr(strTask.rfind('}')));
        EXPECT_EQ(Strings{c.pszSeconds}, Lines(strText, "nyagent_last_update_timestamp_seconds "));
    }
}

} // namespace
