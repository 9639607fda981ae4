// Trains the strong bot's contact network (contactnet.h) by temporal-difference learning,
// TD(lambda), in games of the network against itself, and writes the weights as a source
// file. Both seats play greedily by the network being trained; each side has its own learner,
// shown the position it left after each of its turns, and both teach the one network. The
// first position without contact, judged by the race evaluator, ends a side's lesson.
//
// Every `--every` games it plays a fixed set of games against the frozen previous strong bot
// (each seed twice, the sides swapped) and prints the share won: the learning curve, also
// written to `--curve` as CSV for plot_curve.py. The weights are written at each of those
// points too, so an interrupted run leaves its latest network. With `--games 0` it only
// measures the starting network.
//
// Options: `selfplay_train --help`.
// `--start previous` starts from the frozen previous network for the inputs and hidden units
// it had; "shipped" from the weights the program ships with; a .bin file is what an earlier
// run wrote beside its weights, to go on from there.
//
// `--standard` plays that share of the games against the standard bot, so that the network
// also meets the positions such a player leads to. With ahead lessons (the default there)
// every position with contact either side leaves is taught its look-ahead value, which does
// not depend on who played the game; with TD lessons only the network's own side learns, from
// how the game against that bot went.
// The same arguments give the same weights: every game is seeded from `seed`.

#include "contactlearner.h"
#include "judges.h"
#include "options.h"
#include "planner.h"
#include "race.h"
#include "strongbot.h"
#include "traininggame.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace bg;
using namespace bg::training;

namespace {

struct Options {
    int games = 100000;
    unsigned seed = 1;
    std::string out = "contactweights.cpp";
    std::string curve;
    int every = 5000;
    int evalGames = 400;
    int aceyShare = 25;
    bool fromPrevious = true;
    bool fromShipped = false;
    int standardShare = 0;
    bool standardAhead = true;
    std::string startFile; // raw weights a former run wrote beside its source file
    double alpha0 = 0.02, alpha1 = 0.002;
    double lambda = 0.7;
    bool aheadLessons = false; // --lessons ahead: taught by the look-ahead, not by TD
};

// The network in training for every seat but `previousSeat`, which judges as the frozen
// previous bot did.
class TrainingJudge : public PositionJudge {
  public:
    explicit TrainingJudge(const ContactNet& net) : m_net(net) {}
    int previousSeat = 0;
    double judge(const Sketch& s, int player, bool acey) const override {
        return player == previousSeat ? previousValue(s) : m_net.judge(s, player, acey);
    }

  private:
    NetJudge m_net;
};

// One self-play game, both sides learning. Returns the winner (0: unfinished).
// With `teacher`, each position with contact a side leaves is taught the value the
// look-ahead gives it (the average over the opponent's throws after its best reply) instead
// of the TD lesson of the positions that followed.
// With `standardSeat`, that seat is the standard bot's and its learner learns only from
// `teacher`'s lessons.
int trainOn(ContactLearner (&learners)[2], const PositionJudge& judge, unsigned seed, bool acey,
            StrongPlanner* teacher, int standardSeat = 0) {
    Game g(seed, &judge, standardSeat);
    learners[0].startGame();
    learners[1].startGame();
    auto watch = sim::onTurnEnds(g.sim, [&](int mover) {
        const Board& b = g.sim.host->board();
        const Sketch left = sketchOf(b, mover);
        if (!teacher) {
            if (mover != standardSeat) learners[mover - 1].observe(left);
        } else if (hasContact(left)) {
            Board end = b;
            end.currentplayer = mover;
            learners[mover - 1].teach(left, teacher->valueOf(end, false, true));
        }
    });
    const sim::GameResult game = sim::playBotGame(g.sim, acey, false, watch);
    if (!game.finished) return 0;
    if (teacher) return game.winner;
    for (int seat = 1; seat <= 2; ++seat)
        if (seat != standardSeat) learners[seat - 1].finish(seat == game.winner ? 1.0 : 0.0);
    return game.winner;
}

// Plays the fixed evaluation games; returns the share the network wins.
double againstPrevious(TrainingJudge& judge, int games, bool acey) {
    int won = 0, played = 0;
    for (int g = 0; g < games; ++g) {
        const int mine = g % 2 == 0 ? 1 : 2;
        judge.previousSeat = 3 - mine;
        Game game(kEvalSeeds + unsigned(g / 2) + (acey ? kSeedSpacing : 0), &judge);
        const sim::GameResult r = sim::playBotGame(game.sim, acey, false);
        if (!r.finished) continue;
        ++played;
        if (r.winner == mine) ++won;
    }
    judge.previousSeat = 0;
    return played ? 100.0 * won / played : 0;
}

// Plays fixed normal games against the standard bot, the network taking seat 1 and seat 2 in
// turn; returns the share it wins.
double againstStandard(const TrainingJudge& judge, int games) {
    int won = 0, played = 0;
    for (int g = 0; g < games; ++g) {
        const int mine = g % 2 == 0 ? 1 : 2;
        Game game(kEvalSeeds + 2 * kSeedSpacing + unsigned(g), &judge, 3 - mine);
        const sim::GameResult r = sim::playBotGame(game.sim, false, false);
        if (!r.finished) continue;
        ++played;
        if (r.winner == mine) ++won;
    }
    return played ? 100.0 * won / played : 0;
}

void writeWeights(const ContactNet& net, const Options& o, int games) {
    char origin[260];
    std::snprintf(origin, sizeof origin,
                  "tools/selfplay_train (%d games of self-play, seed %u, acey share %d%%, from "
                  "%s weights%s)",
                  games, o.seed, o.aceyShare,
                  !o.startFile.empty() ? o.startFile.c_str()
                  : o.fromShipped      ? "the shipped"
                  : o.fromPrevious     ? "the previous"
                                       : "random",
                  o.aheadLessons ? ", taught by the look-ahead" : "");
    if (o.standardShare > 0) {
        const size_t used = std::strlen(origin);
        std::snprintf(origin + used, sizeof origin - used, ", %d%% against the standard bot",
                      o.standardShare);
    }
    training::writeWeights(net, o.out, kContactWeightsNames, origin, games);
}

// Weights an earlier run wrote (its layout, then every weight). A network with fewer hidden
// units of the same inputs is widened: its units are kept and the new ones start nearly
// silent, so the wider network first plays as the narrower one did.
void loadStart(ContactNet& net, const std::string& path, std::mt19937& random) {
    FILE* f = std::fopen(path.c_str(), "rb");
    uint32_t layout = 0;
    const bool header = f && std::fread(&layout, sizeof layout, 1, f) == 1;
    const long rest = long(layout) - long(kContactInputs) * 100003L - 3;
    const int hidden = rest >= 0 && rest % 101 == 0 ? int(rest / 101) : 0;
    const size_t count = size_t(kContactInputs + 2) * hidden + 1;
    std::vector<float> old(count);
    if (!header || hidden < 1 || hidden > kContactHidden ||
        std::fread(old.data(), sizeof(float), count, f) != count) {
        std::fprintf(stderr, "%s: not weights of these inputs\n", path.c_str());
        std::exit(1);
    }
    std::fclose(f);
    std::uniform_real_distribution<float> small(-0.02f, 0.02f);
    for (int h = 0; h < kContactHidden; ++h) {
        const bool kept = h < hidden;
        for (int i = 0; i < kContactInputs; ++i)
            net.inHidden(i, h) = kept ? old[size_t(i) * hidden + h] : net.inHidden(i, h);
        net.hiddenBias(h) = kept ? old[size_t(kContactInputs) * hidden + h] : 0.0f;
        net.hiddenOut(h) = kept ? old[size_t(kContactInputs + 1) * hidden + h] : small(random);
    }
    net.outBias() = old[count - 1];
}

// Random weights, or the previous network's for the inputs and hidden units it had.
void initialise(ContactNet& net, const Options& o, std::mt19937& random) {
    std::uniform_real_distribution<float> spread(-0.1f, 0.1f);
    for (float& w : net.w)
        w = spread(random);
    if (!o.startFile.empty()) {
        loadStart(net, o.startFile, random);
        return;
    }
    if (o.fromShipped) {
        net = shippedContactNet();
        return;
    }
    if (!o.fromPrevious) return;
    using namespace previous;
    const NetWeights& old = trainedNet();
    static_assert(kNetInputs <= kContactInputs && kNetHidden <= kContactHidden);
    for (int i = 0; i < kContactInputs; ++i)
        for (int h = 0; h < kNetHidden; ++h)
            net.inHidden(i, h) = i < kNetInputs ? old.inHidden(i, h) : 0.0f;
    std::uniform_real_distribution<float> small(-0.02f, 0.02f);
    for (int h = 0; h < kContactHidden; ++h) {
        if (h < kNetHidden) {
            net.hiddenBias(h) = old.hiddenBias(h);
            net.hiddenOut(h) = old.hiddenOut(h);
        } else {
            net.hiddenOut(h) = small(random);
        }
    }
    net.outBias() = old.outBias();
}

constexpr const char* kUsage =
    "usage: selfplay_train --games N --seed S --out FILE.cpp [--curve FILE.csv] [--every N]\n"
    "       [--eval-games N] [--acey PERCENT] [--start random|previous|shipped|FILE.cpp.bin]\n"
    "       [--alpha A0,A1] [--lambda L] [--lessons td|ahead]\n"
    "       [--standard PERCENT] [--standard-lessons td|ahead]\n";

Options parse(int argc, char** argv) {
    Options o;
    readOptions(argc, argv, kUsage, {}, [&o](std::string_view key, const char* v) {
        if (key == "--games")
            o.games = std::max(0, std::atoi(v));
        else if (key == "--seed")
            o.seed = unsigned(std::strtoul(v, nullptr, 10));
        else if (key == "--out")
            o.out = v;
        else if (key == "--curve")
            o.curve = v;
        else if (key == "--every")
            o.every = std::max(1, std::atoi(v));
        else if (key == "--eval-games")
            o.evalGames = std::max(0, std::atoi(v));
        else if (key == "--acey")
            o.aceyShare = std::atoi(v);
        else if (key == "--start") {
            o.fromPrevious = std::strcmp(v, "previous") == 0;
            o.fromShipped = std::strcmp(v, "shipped") == 0;
            if (std::strcmp(v, "random") != 0 && !o.fromPrevious && !o.fromShipped) o.startFile = v;
        } else if (key == "--standard")
            o.standardShare = std::clamp(std::atoi(v), 0, 100);
        else if (key == "--standard-lessons")
            o.standardAhead = std::strcmp(v, "ahead") == 0;
        else if (key == "--alpha")
            std::sscanf(v, "%lf,%lf", &o.alpha0, &o.alpha1);
        else if (key == "--lambda")
            o.lambda = std::atof(v);
        else if (key == "--lessons")
            o.aheadLessons = std::strcmp(v, "ahead") == 0;
        else
            return false;
        return true;
    });
    return o;
}

} // namespace

int main(int argc, char** argv) {
    const Options o = parse(argc, argv);
    std::mt19937 random(o.seed);
    auto net = std::make_unique<ContactNet>();
    initialise(*net, o, random);
    TrainingJudge judge(*net);
    bool aceyGame = false;
    auto race = [&aceyGame](const Sketch& s) { return raceValue(s, aceyGame); };
    ContactLearner learners[2] = {{*net, o.alpha0, o.lambda, race},
                                  {*net, o.alpha0, o.lambda, race}};
    StrongPlanner teacher;
    teacher.setJudge(&judge);
    teacher.setBudgetMs(1e9); // every lesson looks at all 21 throws
    FILE* curve = o.curve.empty() ? nullptr : std::fopen(o.curve.c_str(), "w");
    const bool withStandard = o.standardShare > 0;
    if (curve)
        std::fprintf(curve, "games,vs_previous_normal,vs_previous_acey,%sseconds\n",
                     withStandard ? "vs_standard," : "");

    const auto started = std::chrono::steady_clock::now();
    auto seconds = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    auto evaluate = [&](int played) {
        if (o.evalGames == 0) return;
        const double normal = againstPrevious(judge, o.evalGames, false);
        const double acey = againstPrevious(judge, o.evalGames / 2, true);
        const double standard = withStandard ? againstStandard(judge, o.evalGames) : 0;
        char shown[40] = "", column[20] = "";
        if (withStandard) {
            std::snprintf(shown, sizeof shown, ", vs-standard %.1f%%", standard);
            std::snprintf(column, sizeof column, "%.2f,", standard);
        }
        std::printf("%d games, %.0f s: vs-previous normal %.1f%%, acey %.1f%%%s\n", played,
                    seconds(), normal, acey, shown);
        std::fflush(stdout);
        if (curve) {
            std::fprintf(curve, "%d,%.2f,%.2f,%s%.0f\n", played, normal, acey, column, seconds());
            std::fflush(curve);
        }
    };
    evaluate(0);
    int unfinished = 0;
    for (int g = 0; g < o.games; ++g) {
        // The step size falls geometrically from the first value to the last.
        const double alpha = o.alpha0 * std::pow(o.alpha1 / o.alpha0, double(g) / o.games);
        learners[0].setAlpha(alpha);
        learners[1].setAlpha(alpha);
        const bool acey = int(random() % 100) < o.aceyShare;
        // Drawn after the game type, so runs without the standard bot keep their games.
        const int standardSeat =
            o.standardShare > 0 && int(random() % 100) < o.standardShare ? 1 + g % 2 : 0;
        aceyGame = acey;
        const bool ahead = standardSeat ? o.standardAhead : o.aheadLessons;
        if (!trainOn(learners, judge, (o.seed + 1) * kSeedSpacing * 3 + unsigned(g), acey,
                     ahead ? &teacher : nullptr, standardSeat))
            ++unfinished;
        if ((g + 1) % 1000 == 0 && (g + 1) % o.every != 0) {
            std::printf("%d games, %.0f s, %.1f games/s, alpha %.4f, unfinished %d\n", g + 1,
                        seconds(), (g + 1) / seconds(), alpha, unfinished);
            std::fflush(stdout);
        }
        if ((g + 1) % o.every == 0 || g + 1 == o.games) {
            writeWeights(*net, o, g + 1);
            evaluate(g + 1);
        }
    }
    if (curve) std::fclose(curve);
    return 0;
}
