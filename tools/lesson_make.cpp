// Writes lessons for the contact network (lessons.h): in self-play games of a network by its
// judgement alone, every position with contact a side leaves is given the value the
// look-ahead finds for it (the average over the opponent's 21 throws after its best reply),
// with no time limit. Several of these can run at once on different seeds; lesson_fit then
// fits a network to all their files.
//
// With `--depth 2` each lesson looks one throw further: the opponent's reply to each of its
// 21 throws is the one the look-ahead itself would choose, and is valued by the look-ahead.
// A network fitted to those values learns what one throw of look-ahead can only find by
// searching, so the look-ahead over it sees two throws. Each lesson costs some forty times
// as much.
//
// With `--horizon N` each lesson is valued by games played on instead of by a search: over
// the opponent's 21 throws, after its best reply by the judgement alone, `--trials` games per
// throw go on by the judgement alone for N throws more and are valued by the judgement where
// they stop (a race once both sides are home exactly). Each trial sees a few throws further
// than the look-ahead for little cost; its noise is what the fit has to average away.
//
// With `--race` the lessons are for the race network instead: every race position a side
// leaves before both sides are home, valued by `--trials` games played out from it, both
// sides playing by the race judgement of this build, each race decided exactly from the
// bear-off tables as soon as both sides are home.
//
// Options: `lesson_make --help`. The same arguments give the same file.

#include "judges.h"
#include "lessons.h"
#include "moverules.h"
#include "options.h"
#include "playjudge.h"
#include "rollout.h"
#include "traininggame.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

using namespace bg;
using namespace bg::training;

namespace {

constexpr const char* kUsage =
    "usage: lesson_make --games N --seed S --out FILE.lessons [--acey PERCENT]\n"
    "       [--net shipped|FILE.cpp.bin] [--depth 1|2] [--horizon THROWS]\n"
    "       [--race] [--trials N]\n";
constexpr unsigned kLessonSeeds = 550000000; // apart from the trainer's and the evaluations'

struct Options {
    int games = 1000;
    unsigned seed = 1;
    std::string out;
    int aceyShare = 25;
    std::string net = "shipped";
    int depth = 1;
    bool race = false;
    int trials = 64;
    int horizon = 0; // contact lessons by games played this many throws on (0: by a search)
};

Options parse(int argc, char** argv) {
    Options o;
    readOptions(argc, argv, kUsage, {"--race"}, [&o](std::string_view key, const char* v) {
        if (key == "--race")
            o.race = true;
        else if (key == "--trials")
            o.trials = std::max(1, std::atoi(v));
        else if (key == "--games")
            o.games = std::max(1, std::atoi(v));
        else if (key == "--seed")
            o.seed = unsigned(std::strtoul(v, nullptr, 10));
        else if (key == "--out")
            o.out = v;
        else if (key == "--acey")
            o.aceyShare = std::atoi(v);
        else if (key == "--net")
            o.net = v;
        else if (key == "--horizon")
            o.horizon = std::max(0, std::atoi(v));
        else if (key == "--depth")
            o.depth = std::clamp(std::atoi(v), 1, 2);
        else
            return false;
        return true;
    });
    if (o.out.empty()) {
        std::fputs(kUsage, stderr);
        std::exit(2);
    }
    return o;
}

// The value of `end` for the player who made it (its currentplayer): the average over the
// opponent's 21 throws of 1 - `theirs(r)`, r being `end` with that throw to play.
template <class Chance> double overTheirThrows(const Board& end, Chance theirs) {
    Board r = end;
    r.currentplayer = opponentOf(end.currentplayer);
    double sum = 0;
    for (int a = 1; a <= kDieSides; ++a)
        for (int b = a; b <= kDieSides; ++b) {
            r.giveThrow(a, b);
            sum += (a == b ? 1 : 2) * (1 - theirs(r));
        }
    return sum / 36;
}

// Two throws deep: after the reply the look-ahead chooses, valued by the look-ahead.
// `replies` looks ahead with no time limit.
double twoThrowValue(StrongPlanner& replies, const Board& end) {
    return overTheirThrows(end, [&](const Board& r) {
        Board probe = r;
        Plan reply;
        if (sequelOf(probe, nullptr) == Sequel::MoreMoves) reply = replies.plan(r);
        if (reply.count == 0) return replies.valueOf(r, false, true); // the board stands
        if (reply.lookedAhead) return reply.score;
        // A single candidate, or a race: value it at the same depth as the others.
        return replies.valueOf(playedOut(r, reply), takesDouble(reply), true);
    });
}

// By games played on: after the reply by `roller`, `trials` games of `horizon` throws more.
double playedOnValue(StrongPlanner& roller, const Board& end, int trials, int horizon,
                     std::mt19937& dice) {
    const int me = end.currentplayer;
    return overTheirThrows(end, [&](const Board& r) {
        const int them = r.currentplayer;
        bool again = false;
        const Board reply = playedBy(roller, r, again);
        if (reply.side[them].homecount >= kPieces) return 1.0;
        double theirs = 0;
        for (int t = 0; t < trials; ++t)
            // After a double the opponent throws again, as if `me` had just moved.
            theirs += again ? 1 - rollOut(reply, me, dice, roller, true, horizon + 1)
                            : rollOut(reply, them, dice, roller, true, horizon);
        return theirs / trials;
    });
}

} // namespace

int main(int argc, char** argv) {
    const Options o = parse(argc, argv);
    const auto net = netNamed(o.net);
    prepareRaceTables();
    NetJudge judge(*net);
    StrongPlanner teacher;
    teacher.setJudge(&judge);
    teacher.setBudgetMs(PlayJudge::kNoTimeLimitMs); // every lesson looks at all 21 throws
    StrongPlanner roller;
    roller.setJudge(&judge);
    roller.setLookAhead(false);
    if (o.race || o.horizon) waitForRaceTables();
    std::remove(o.out.c_str());
    std::mt19937 random(o.seed);
    const auto started = std::chrono::steady_clock::now();
    long written = 0;
    for (int g = 0; g < o.games; ++g) {
        const bool acey = int(random() % 100) < o.aceyShare;
        Game game(kLessonSeeds + o.seed * kSeedSpacing + unsigned(g), &judge);
        std::vector<Lesson> lessons;
        auto watch = sim::onTurnEnds(game.sim, [&](int mover) {
            const Board& b = game.sim.host->board();
            Lesson l;
            l.position = sketchOf(b, mover);
            Board end = b;
            end.currentplayer = mover;
            if (o.race) {
                if (hasContact(l.position) || bothHome(l.position)) return;
                std::mt19937 dice(o.seed * 7919u + unsigned(g) * 104729u +
                                  unsigned(lessons.size()));
                double won = 0;
                for (int t = 0; t < o.trials; ++t)
                    won += rollOut(end, mover, dice, roller, true);
                l.target = float(won / o.trials);
            } else {
                if (!hasContact(l.position)) return;
                if (o.horizon > 0) {
                    std::mt19937 dice(o.seed * 7919u + unsigned(g) * 104729u +
                                      unsigned(lessons.size()));
                    l.target = float(playedOnValue(roller, end, o.trials, o.horizon, dice));
                } else {
                    l.target = float(o.depth == 2 ? twoThrowValue(teacher, end)
                                                  : teacher.valueOf(end, false, true));
                }
            }
            l.acey = acey;
            lessons.push_back(l);
        });
        sim::playBotGame(game.sim, acey, false, watch);
        if (!appendLessons(o.out, lessons)) {
            std::perror(o.out.c_str());
            return 1;
        }
        written += long(lessons.size());
        if ((g + 1) % 100 == 0 || g + 1 == o.games) {
            const double s =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            std::printf("%d games, %ld lessons, %.0f s, %.0f lessons/s\n", g + 1, written, s,
                        double(written) / s);
            std::fflush(stdout);
        }
    }
    return 0;
}
