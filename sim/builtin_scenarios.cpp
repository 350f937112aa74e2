#include "sim/builtin_scenarios.h"

#include "monitor/device_status.h"

namespace {

constexpr std::uint32_t kPaperOut = 0x80000001;       // printer: out of paper, resumable
constexpr std::uint32_t kRibbonJammed = 0x80000010;   // printer: ribbon jammed, resumable
constexpr std::uint32_t kUnreadableCard = 0x40000020; // consumable card unreadable, not resumable

// An error that a job raises, and holds, once it reaches a phase at a progress.
struct Fault {
    std::uint8_t phase;
    std::uint8_t progress;
    std::uint32_t code;
};

// Lays steps out one after the other, each a given time after the one before,
// and slips the fault in when the job gets to it. A job stopped by an error
// that cannot be resumed takes no further steps.
class CScenarioBuilder {
public:
    explicit CScenarioBuilder(const Fault* pFault) : m_pFault(pFault) {}

    void Step(std::uint32_t afterMs, std::uint8_t state, std::uint8_t phase, std::uint8_t progress) {
        if (m_bStopped)
            return;
        Add(afterMs, state, phase, progress, 0, false);
        if (m_pFault && m_pFault->phase == phase && m_pFault->progress == progress) {
            Add(kFaultDelayMs, state, phase, progress, m_pFault->code, true);
            m_bStopped = !IsResumableError(m_pFault->code);
            m_pFault = nullptr;
        }
    }

    // A pass whose progress climbs from 0 to 100 by tenths.
    void Pass(std::uint8_t phase, std::uint32_t afterMs, std::uint32_t tenthMs) {
        for (int progress = 0; progress <= 100; progress += 10)
            Step(progress == 0 ? afterMs : tenthMs, kStatePrinting, phase,
                 static_cast<std::uint8_t>(progress));
    }

    Scenario Take() { return std::move(m_steps); }

private:
    static constexpr std::uint32_t kFaultDelayMs = 100;

    void Add(std::uint32_t afterMs, std::uint8_t state, std::uint8_t phase, std::uint8_t progress,
             std::uint32_t code, bool hold) {
        m_timeMs += afterMs;
        ScenarioStep step;
        step.timeMs = m_timeMs;
        step.state = state;
        step.phase = phase;
        step.progress = progress;
        step.code = code;
        step.hold = hold;
        m_steps.push_back(step);
    }

    const Fault* m_pFault;
    bool m_bStopped = false;
    std::uint32_t m_timeMs = 0;
    Scenario m_steps;
};

// One sheet, about 13 s: feed in, heating, the yellow, magenta and cyan
// passes and the coating with the printer cooling down between them, feed
// out, and ready again.
Scenario Job(const Fault* pFault) {
    CScenarioBuilder job(pFault);
    job.Step(0, kStateReady, kPhaseNone, 0);
    job.Step(500, kStatePrinting, kPhaseFeedIn, 0);
    job.Step(300, kStatePrinting, kPhaseFeedIn, 50);
    job.Step(300, kStatePrinting, kPhaseFeedIn, 100);
    job.Step(300, kStatePrinting, kPhaseWaiting, 0);
    job.Pass(kPhaseYellow, 800, 200);
    job.Step(200, kStatePrinting, kPhaseWaiting, 0);
    job.Pass(kPhaseMagenta, 600, 200);
    job.Step(200, kStatePrinting, kPhaseWaiting, 0);
    job.Pass(kPhaseCyan, 600, 200);
    job.Step(200, kStatePrinting, kPhaseWaiting, 0);
    job.Pass(kPhaseCoating, 400, 150);
    job.Step(150, kStatePrinting, kPhaseFeedOut, 0);
    job.Step(400, kStatePrinting, kPhaseFeedOut, 100);
    job.Step(400, kStateReady, kPhaseNone, 0);
    return job.Take();
}

} // namespace

const std::vector<std::string>& BuiltInScenarioNames() {
    static const std::vector<std::string> names = {"idle", "job", "paper-out", "ribbon-jam", "card-error"};
    return names;
}

bool GetBuiltInScenario(const std::string& strName, Scenario& steps) {
    if (strName == "idle") {
        steps = Scenario{ReadyStep()};
    } else if (strName == "job") {
        steps = Job(nullptr);
    } else if (strName == "paper-out") {
        const Fault fault = {kPhaseYellow, 40, kPaperOut};
        steps = Job(&fault);
    } else if (strName == "ribbon-jam") {
        const Fault fault = {kPhaseCyan, 60, kRibbonJammed};
        steps = Job(&fault);
    } else if (strName == "card-error") {
        const Fault fault = {kPhaseWaiting, 0, kUnreadableCard};
        steps = Job(&fault);
    } else {
        return false;
    }
    return true;
}
