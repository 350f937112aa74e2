#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "sim/job_player.h"
#include "sim/sim_printer.h"

namespace {

Scenario Script(const char* pszText) {
    Scenario steps;
    std::string error;
    EXPECT_TRUE(ParseScenario(pszText, steps, error)) << error;
    return steps;
}

// A job with a paper-out error at yellow 40% that holds until Resume.
const char* const kPaperOut = "0    1 0 0   0\n"
                              "100  3 1 0   0\n"
                              "200  3 4 40  0\n"
                              "300  3 4 40  0x80000001 hold\n"
                              "300  3 4 40  0\n" // at once after a Resume
                              "400  3 4 100 0\n"
                              "500  1 0 0   0\n";

// What the player shows, as "state/phase/progress/code".
std::string Shown(const CJobPlayer& player) {
    const ScenarioStep& step = player.Current();
    char text[64];
    std::snprintf(text, sizeof(text), "%d/%d/%d/%08X", step.state, step.phase, step.progress, step.code);
    return text;
}

} // namespace

TEST(JobPlayer, StepsFollowTheClock) {
    CJobPlayer player(Script("50 3 1 0 0\n150 3 4 10 0\n150 3 4 20 0\n400 1 0 0 0\n"));
    EXPECT_EQ("1/0/0/00000000", Shown(player)); // ready before the first step
    struct Tick {
        std::uint32_t elapsed;
        const char* shown;
        bool done;
    };
    const Tick ticks[] = {
        {49, "1/0/0/00000000", false},  {1, "3/1/0/00000000", false},    {99, "3/1/0/00000000", false},
        {1, "3/4/20/00000000", false},  {249, "3/4/20/00000000", false}, {1, "1/0/0/00000000", true},
        {1000, "1/0/0/00000000", true},
    };
    for (const Tick& tick : ticks) {
        player.Advance(tick.elapsed);
        EXPECT_EQ(tick.shown, Shown(player)) << player.JobTimeMs();
        EXPECT_EQ(tick.done, player.IsDone()) << player.JobTimeMs();
    }
}

TEST(JobPlayer, HoldStopsTimeUntilResume) {
    CJobPlayer player(Script(kPaperOut));
    player.Advance(10000); // far past the end: the job still stops on the error
    EXPECT_EQ("3/4/40/80000001", Shown(player));
    EXPECT_TRUE(player.IsHeld());
    EXPECT_FALSE(player.IsDone());
    EXPECT_EQ(300u, player.JobTimeMs());
    player.Advance(5000);
    EXPECT_EQ(300u, player.JobTimeMs());

    ASSERT_TRUE(player.Resume());
    EXPECT_EQ("3/4/40/00000000", Shown(player)); // cleared at once, before the clock moves
    EXPECT_FALSE(player.IsHeld());
    EXPECT_FALSE(player.Resume()); // nothing left to clear

    // The job goes on from the error: the next step is 100 ms later.
    player.Advance(99);
    EXPECT_EQ("3/4/40/00000000", Shown(player));
    player.Advance(1);
    EXPECT_EQ("3/4/100/00000000", Shown(player));
    player.Advance(100);
    EXPECT_EQ("1/0/0/00000000", Shown(player));
    EXPECT_TRUE(player.IsDone());
}

TEST(JobPlayer, ResumeOfAnErrorThatIsNotResumableChangesNothing) {
    const std::pair<std::uint32_t, bool> cases[] = {
        {0x80000001, true}, {0x80000300, true}, {0x80000020, false}, {0x40000020, false}};
    for (const auto& [dwCode, bResumable] : cases) {
        CJobPlayer player(Script(("0 3 4 40 " + std::to_string(dwCode) + " hold\n100 1 0 0 0\n").c_str()));
        ASSERT_TRUE(player.IsHeld()) << std::hex << dwCode;
        EXPECT_EQ(bResumable, player.Resume()) << std::hex << dwCode;
        EXPECT_EQ(!bResumable, player.IsHeld()) << std::hex << dwCode;
        EXPECT_EQ(bResumable ? 0u : dwCode, player.Current().code) << std::hex << dwCode;
        player.Advance(100);
        EXPECT_EQ(bResumable, player.IsDone()) << std::hex << dwCode;
    }
}

TEST(JobPlayer, ResumeClearsAPassingResumableErrorWithoutHold) {
    CJobPlayer player(Script("0 3 4 40 0x80000008\n100 3 4 50 0\n"));
    EXPECT_FALSE(player.IsHeld());
    EXPECT_TRUE(player.Resume());
    EXPECT_EQ("3/4/40/00000000", Shown(player));
    player.Advance(100);
    EXPECT_EQ("3/4/50/00000000", Shown(player));
}

TEST(JobPlayer, CancelEndsTheJobWhereverItIs) {
    struct Case {
        std::uint32_t elapsed; // before the Cancel
        bool wasHeld;
    };
    const Case cases[] = {{0, false}, {150, false}, {300, true}};
    for (const Case& c : cases) {
        CJobPlayer player(Script(kPaperOut));
        player.Advance(c.elapsed);
        EXPECT_EQ(c.wasHeld, player.IsHeld()) << c.elapsed;
        EXPECT_TRUE(player.Cancel()) << c.elapsed;
        EXPECT_EQ("1/0/0/00000000", Shown(player)) << c.elapsed;
        EXPECT_TRUE(player.IsDone()) << c.elapsed;
        EXPECT_FALSE(player.IsHeld()) << c.elapsed;
        // Nothing more happens: no further step, no second Cancel, no Resume.
        player.Advance(1000);
        EXPECT_EQ("1/0/0/00000000", Shown(player)) << c.elapsed;
        EXPECT_FALSE(player.Cancel()) << c.elapsed;
        EXPECT_FALSE(player.Resume()) << c.elapsed;
    }
}

TEST(SimPrinter, RecordCarriesThePersonalityAndTheCurrentStep) {
    SimPersonality personality;
    personality.productId = 0x3C;
    personality.serial = "SIM-USB001";
    personality.firmware = "2.05";
    CSimPrinter printer(personality, Script(kPaperOut), false);
    printer.Advance(300);
    CDeviceStatus expected;
    expected.SetSignature();
    expected.SetVendorId(0x0E7A);
    expected.SetProductId(0x3C);
    expected.SetSerialNumber("SIM-USB001");
    expected.SetFirmwareVersion("2.05");
    expected.SetDeviceState(3);
    expected.SetPrintPhase(4);
    expected.SetProgress(40);
    expected.SetStatusCode(0x80000001);
    EXPECT_EQ(0, std::memcmp(expected.Data(), printer.GetStatus().Data(), CDeviceStatus::kSize));
}

TEST(SimPrinter, LoopingPrinterShowsTheEndThenStartsAgain) {
    CSimPrinter once(SimPersonality(), Script("0 3 1 0 0\n100 1 0 0 0\n"), false);
    CSimPrinter loop(SimPersonality(), Script("0 3 1 0 0\n100 1 0 0 0\n"), true);
    for (CSimPrinter* p : {&once, &loop})
        p->Advance(100);
    EXPECT_TRUE(once.IsDone());
    EXPECT_FALSE(loop.IsDone());
    EXPECT_EQ(kStateReady, loop.GetStatus().GetDeviceState());

    once.Advance(50);
    loop.Advance(50);
    EXPECT_EQ(kStateReady, once.GetStatus().GetDeviceState());
    EXPECT_EQ(kPhaseFeedIn, loop.GetStatus().GetPrintPhase());

    // A Cancel ends the looping printer's job too, and the next one follows.
    EXPECT_TRUE(loop.Cancel());
    EXPECT_EQ(kStateReady, loop.GetStatus().GetDeviceState());
    loop.Advance(50);
    EXPECT_EQ(kPhaseFeedIn, loop.GetStatus().GetPrintPhase());
}
