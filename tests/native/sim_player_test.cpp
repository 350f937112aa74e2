// The simulator's job player, as the status window and network device tests
// under Wine rely on it: an error held until Resume, and Cancel ending the job.
#include <gtest/gtest.h>

#include <string>

#include "app/format.h"
#include "sim/job_player.h"

namespace {

// A job with a paper-out error at yellow 40% that holds until Resume; the
// step at the same time follows at once after a Resume.
const char* const kPaperOut = "# a job with a paper-out error\n0 1 0 0 0\n100 3 1 0 0\n200 3 4 40 0\n"
                              "300 3 4 40 0x80000001 hold\n300 3 4 40 0\n400 3 4 100 0\n500 1 0 0 0\n";

CJobPlayer Player(const std::string& strText) {
    Scenario steps;
    std::string error;
    EXPECT_TRUE(ParseScenario(strText, steps, error)) << error;
    return CJobPlayer(steps);
}

// What the player shows, as "state/phase/progress/code".
std::string Shown(const CJobPlayer& player) {
    const ScenarioStep& step = player.Current();
    return Format("%d/%d/%d/%08X", step.state, step.phase, step.progress, step.code);
}

} // namespace

TEST(JobPlayer, HoldStopsTimeUntilResumeAndOnlyAResumableErrorIsCleared) {
    CJobPlayer player = Player(kPaperOut);
    player.Advance(10000); // far past the end: the job still stops on the error
    EXPECT_EQ("3/4/40/80000001", Shown(player));
    EXPECT_TRUE(player.IsHeld() && !player.IsDone());
    ASSERT_TRUE(player.Resume());
    EXPECT_EQ("3/4/40/00000000", Shown(player)); // cleared at once, before the clock moves
    EXPECT_FALSE(player.IsHeld() || player.Resume());
    player.Advance(99); // the next step is 100 ms after the error
    EXPECT_EQ("3/4/40/00000000", Shown(player));
    player.Advance(1);
    EXPECT_EQ("3/4/100/00000000", Shown(player));

    CJobPlayer card = Player("0 3 4 40 0x80000020 hold\n100 1 0 0 0\n");
    EXPECT_FALSE(card.Resume());
    card.Advance(100);
    EXPECT_EQ("3/4/40/80000020", Shown(card));
}

TEST(JobPlayer, CancelEndsTheJobWhereverItIs) {
    for (const std::uint32_t nElapsed : {0u, 300u}) {
        CJobPlayer player = Player(kPaperOut);
        player.Advance(nElapsed);
        EXPECT_TRUE(player.Cancel()) << nElapsed;
        EXPECT_TRUE(player.IsDone() && !player.IsHeld()) << nElapsed;
        // Nothing more happens: no further step, no second Cancel, no Resume.
        player.Advance(1000);
        EXPECT_EQ("1/0/0/00000000", Shown(player)) << nElapsed;
        EXPECT_FALSE(player.Cancel() || player.Resume()) << nElapsed;
    }
}
