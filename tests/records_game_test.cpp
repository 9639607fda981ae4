// Whole seeded bot games recorded from the host's broadcasts, the way every copy records
// them: written to the match file, read back, and replayed to the host's own final board.

#include "gamerecorder.h"
#include "matchfile.h"
#include "notation.h"
#include "sim_games.h"

#include <gtest/gtest.h>

using namespace bg;

namespace {

struct Recorded {
    rec::GameRecord record;
    rec::Position hostFinal;
    bool finished = false;
};

Recorded recordGame(unsigned seed, bool acey) {
    sim::Sim s(seed, 500, true);
    rec::GameRecorder recorder;
    // Only the watcher in seat 1 is connected, so every broadcast is seen once.
    const sim::GameResult r =
        sim::playBotGame(s, acey, false, [&](std::string_view m) { recorder.feed(m); });
    return {recorder.record(), rec::Position::of(s.host->board()), r.finished};
}

void expectRoundTrip(unsigned seed, bool acey) {
    const Recorded g = recordGame(seed, acey);
    ASSERT_TRUE(g.finished) << "seed " << seed;
    ASSERT_TRUE(g.record.finished()) << "seed " << seed;
    std::string error;
    const std::vector<rec::Position> live = rec::positionsOf(g.record, &error);
    ASSERT_EQ(error, "") << "seed " << seed;
    EXPECT_EQ(live.back(), g.hostFinal) << "seed " << seed;
    EXPECT_EQ(live.back().side[g.record.winner].off, kPieces) << "seed " << seed;

    const std::string file = rec::writeMatch(g.record);
    const rec::ReadResult back = rec::readMatch(file);
    ASSERT_TRUE(back.ok()) << "seed " << seed << ": " << back.error << "\n" << file;
    EXPECT_EQ(back.record.turns.size(), g.record.turns.size());
    EXPECT_EQ(back.record.winner, g.record.winner);
    EXPECT_EQ(back.record.concededBy, 0);
    const std::vector<rec::Position> replayed = rec::positionsOf(back.record, &error);
    ASSERT_EQ(error, "") << "seed " << seed;
    EXPECT_EQ(replayed, live) << "seed " << seed;
    // Written again, the file is the same text.
    EXPECT_EQ(rec::writeMatch(back.record), file) << "seed " << seed;
}

} // namespace

TEST(RecordedGames, ASeededBotGameReplaysToTheHostsFinalBoard) {
    const Recorded g = recordGame(7, false);
    ASSERT_TRUE(g.finished);
    EXPECT_GT(g.record.turns.size(), 20u);
    EXPECT_EQ(g.record.names[1], "Watcher");
    EXPECT_EQ(g.record.names[2], "Zobo");
    const std::vector<std::string> list = rec::moveList(g.record);
    EXPECT_EQ(list.size(), g.record.turns.size() + 1);
    EXPECT_EQ(list.back(), g.record.names[g.record.winner] + " wins the game");
    expectRoundTrip(7, false);
}

TEST(RecordedGames, AceyDeuceyGamesReplayToTheHostsFinalBoard) {
    bool sawDouble = false;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        expectRoundTrip(seed, true);
        for (const rec::Turn& t : recordGame(seed, true).record.turns)
            sawDouble = sawDouble || t.chosenDouble != 0;
    }
    EXPECT_TRUE(sawDouble) << "forty games without a 1-2 played to a double";
}
