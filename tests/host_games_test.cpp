// A thousand seeded games of each kind, bot against bot, checking the position after every
// message the host sends; each game, recorded from the broadcasts, goes through the match file
// and back and replays to the host's final board.

#include "gamerecorder.h"
#include "matchfile.h"
#include "sim_games.h"

#include <gtest/gtest.h>

using namespace bg;
using bg::sim::Sim;

namespace {

void playMany(bool acey, bool notLimited) {
    int wins[3] = {};
    for (unsigned seed = 1; seed <= 1000; ++seed) {
        Sim s(seed, 500, notLimited);
        rec::GameRecorder recorder;
        const auto r =
            sim::playBotGame(s, acey, true, [&](std::string_view m) { recorder.feed(m); });
        ASSERT_EQ(r.fault, "") << "seed " << seed;
        ASSERT_TRUE(r.finished) << "seed " << seed << " did not end after " << r.events
                                << " events";
        ASSERT_FALSE(s.host->gamerunning());
        const rec::ReadResult back = rec::readMatch(rec::writeMatch(recorder.record()));
        ASSERT_TRUE(back.ok()) << "seed " << seed << ": " << back.error;
        std::string error;
        ASSERT_EQ(rec::positionsOf(back.record, &error).back(), rec::Position::of(s.host->board()))
            << "seed " << seed << " " << error;
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
