// Prints the play a trained network chooses for each of the 15 opening throws, by the
// network alone and with look-ahead, and whether it agrees with the five openings every book
// agrees on: a check of a training run's checkpoints before one is shipped.
//
// Usage: opening_check WEIGHTS.cpp.bin ... (the raw weights selfplay_train writes beside its
// source file); with no argument, the shipped network.

#include "judges.h"
#include "moverules.h"
#include "weightsfile.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

using namespace bg;

namespace {

// Player 1's points as it counts them, 24 where it starts.
int at(const Board& b, int distance) {
    return b.checkfornumonspot(1, 25 - distance);
}

// The points that lost or gained pieces: "-8 -6 +3 +3".
std::string change(const Board& before, const Board& after) {
    std::string out;
    for (int point = 24; point >= 1; --point) {
        int d = at(after, point) - at(before, point);
        for (; d < 0; ++d)
            out += " -" + std::to_string(point);
        for (; d > 0; --d)
            out += " +" + std::to_string(point);
    }
    return out;
}

Board played(Board b, const Plan& plan) {
    for (int i = 0; i < plan.count; ++i) {
        const PlannedStep& step = plan.steps[i];
        if (step.kind == PlannedStep::Kind::Move)
            applyMove(b, 1, checkMove(b, 1, step.piece, step.value), step.value);
    }
    return b;
}

// Each of the five book openings is judged by the piece counts it must leave.
bool agrees(int d1, int d2, const Board& a) {
    if (d1 == 3 && d2 == 1) return at(a, 5) == 2;
    if (d1 == 4 && d2 == 2) return at(a, 4) == 2;
    if (d1 == 6 && d2 == 1) return at(a, 7) == 2;
    if (d1 == 5 && d2 == 3) return at(a, 3) == 2;
    if (d1 == 6 && d2 == 5) return at(a, 24) == 1 && at(a, 13) == 6;
    return true;
}

void check(const PositionJudge* judge, const char* name) {
    int agreed = 0;
    std::printf("%s\n", name);
    for (int d1 = 2; d1 <= 6; ++d1)
        for (int d2 = 1; d2 < d1; ++d2) {
            Board b;
            b.setpawnstobeginning();
            for (int q : {1, 2})
                b.side[q].pips = b.configpips(q);
            b.currentplayer = 1;
            b.dice = {d1, d2, 0, 0};
            std::string line = "  " + std::to_string(d1) + std::to_string(d2) + ":";
            for (bool ahead : {false, true}) {
                StrongPlanner planner;
                planner.setJudge(judge);
                planner.setLookAhead(ahead);
                planner.setBudgetMs(1000);
                const Plan plan = planner.plan(b);
                const Board after = played(b, plan);
                const bool ok = agrees(d1, d2, after);
                if (ahead && ok) ++agreed;
                char score[32];
                std::snprintf(score, sizeof score, " (%.3f)%s", plan.score, ok ? "" : " !");
                line += (ahead ? "  look-ahead" : " net") + change(b, after) + score;
            }
            std::printf("%s\n", line.c_str());
        }
    std::printf("  book openings with look-ahead: %d of 15 (5 judged, 10 free)\n", agreed);
}

} // namespace

int main(int argc, char** argv) {
    prepareRaceTables();
    if (argc < 2) check(nullptr, "shipped network");
    for (int i = 1; i < argc; ++i) {
        const auto net = training::netNamed(argv[i]);
        training::NetJudge judge(*net);
        check(&judge, argv[i]);
    }
    return 0;
}
