// A thousand seeded games of each kind, bot against bot, checking the position after every
// message the host sends.

#include "sim_games.h"

#include <gtest/gtest.h>

using namespace bg;
using bg::sim::Sim;

namespace {

void playMany(bool acey, bool notLimited) {
    int wins[3] = {};
    for (unsigned seed = 1; seed <= 1000; ++seed) {
        Sim s(seed, 500, notLimited);
        const auto r = sim::playBotGame(s, acey, true);
        ASSERT_EQ(r.fault, "") << "seed " << seed;
        ASSERT_TRUE(r.finished) << "seed " << seed << " did not end after " << r.events
                                << " events";
        ASSERT_FALSE(s.host->gamerunning());
        ++wins[r.winner];
    }
    // Both sides of a fair bot match win now and then.
    EXPECT_GT(wins[1], 100);
    EXPECT_GT(wins[2], 100);
}

} // namespace

TEST(BotGames, ThousandNormalGamesEndCleanly) {
    playMany(false, true);
}
TEST(BotGames, ThousandAceyGamesEndCleanly) {
    playMany(true, true);
}
TEST(BotGames, LimitedBotGamesEndCleanly) {
    playMany(false, false);
}
