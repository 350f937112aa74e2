// The simulator's job player: a step marked hold stays however much time
// passes, until Resume. The product's tests under Wine rely on it to see a
// paper-out however slowly they run, and would still pass, by luck, without
// it; its Resume and Cancel themselves are guarded by those tests.
#include <gtest/gtest.h>

#include <string>

#include "sim/job_player.h"

TEST(JobPlayer, HoldStopsTimeUntilResume) {
    Scenario steps;
    std::string strError;
    ASSERT_TRUE(ParseScenario("0 1 0 0 0\n100 3 4 40 0x80000001 hold\n200 1 0 0 0\n", steps, strError))
        << strError;
    CJobPlayer player(steps);
    player.Advance(10000);
    EXPECT_TRUE(player.IsHeld() && !player.IsDone());
    EXPECT_EQ(0x80000001u, player.Current().code);
    ASSERT_TRUE(player.Resume());
    player.Advance(99); // the next step is 100 ms after the held one
    EXPECT_EQ(3, player.Current().state);
    player.Advance(1);
    EXPECT_TRUE(player.IsDone());
}
