// Trains the strong bot's race network (racenet.h) by temporal-difference learning, TD(lambda),
// in the races of its own games, and writes the weights as a source file. Both seats play by
// the shipped contact network (no look-ahead); once contact is over, by the race network
// being trained. Each side's learner is shown every race position it leaves; the first one
// with both sides home ends the lesson with the bear-off tables' exact chances.
//
// It starts by fitting the network to the race formula (race.h) on the race positions of
// `--fit-games` games, so that it first judges as the formula does. Every `--every` games it
// plays a fixed set of duplicate games against the formula (each seed twice, the sides
// swapped; the same contact play on both sides, so only the races differ) and prints the
// share the network wins: the learning curve, also written to `--curve` as CSV.
//
// Usage: race_train --games N --seed S --out FILE.cpp [--curve FILE.csv] [--every N]
//        [--eval-games N] [--acey PERCENT] [--alpha A0,A1] [--lambda L] [--fit-games N]
//        [--start formula|FILE.cpp.bin]
// The same arguments give the same weights: every game is seeded from `seed`.

#include "bearofftable.h"
#include "contactnet.h"
#include "race.h"
#include "racenet.h"
#include "tdlearner.h"
#include "traininggame.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

using namespace bg;
using namespace bg::training;

namespace {

struct Options : RunOptions {
    Options() {
        out = "raceweights.cpp";
        every = 10000;
        evalGames = 1000;
        alpha0 = 0.01;
        alpha1 = 0.001;
    }
    int fitGames = 3000;
    std::string startFile; // raw weights a former run wrote beside its source file
};

// The end of a race the network does not judge: a side is off, or both are home.
std::optional<double> settled(const Sketch& s, bool acey) {
    if (s.off[1] == kPieces) return 0.0;
    if (s.off[0] == kPieces) return 1.0;
    if (bothHome(s)) return bearOffChance(s, acey);
    return std::nullopt;
}

bool learnable(const Sketch& s) {
    return !hasContact(s) && !bothHome(s) && s.off[0] < kPieces && s.off[1] < kPieces;
}

// The shipped contact network; races by the network in training, or by the formula for
// `formulaSeat`.
class RaceTrainingJudge : public PositionJudge {
  public:
    explicit RaceTrainingJudge(const RaceNet& net) : m_net(net) {}
    int formulaSeat = 0;
    double judge(const Sketch& s, int player, bool acey) const override {
        if (hasContact(s)) return contactValue(shippedContactNet(), s);
        if (const std::optional<double> known = settled(s, acey)) return *known;
        return player == formulaSeat ? raceFormula(s, acey) : raceNetValue(m_net, s, acey);
    }

  private:
    const RaceNet& m_net;
};

using RaceLearner = TdLearner<RaceNet, RaceInputs>;

// One game, both sides learning their races. Returns false when it did not finish.
bool trainOn(RaceLearner (&learners)[2], const PositionJudge& judge, unsigned seed, bool acey) {
    Game g(seed, &judge);
    learners[0].startGame();
    learners[1].startGame();
    auto watch = sim::onTurnEnds(g.sim, [&](int mover) {
        const Sketch left = sketchOf(g.sim.host->board(), mover);
        if (!hasContact(left)) learners[mover - 1].observe(left);
    });
    const sim::GameResult game = sim::playBotGame(g.sim, acey, false, watch);
    if (!game.finished) return false;
    for (int seat = 1; seat <= 2; ++seat)
        learners[seat - 1].finish(seat == game.winner ? 1.0 : 0.0);
    return true;
}

// The race positions either side leaves in `games` games, for the first fit.
std::vector<std::pair<Sketch, bool>> racePositions(const PositionJudge& judge, int games,
                                                   unsigned seed, int aceyShare) {
    std::vector<std::pair<Sketch, bool>> out;
    std::mt19937 random(seed);
    for (int g = 0; g < games; ++g) {
        const bool acey = int(random() % 100) < aceyShare;
        Game game(seed * 7919u + unsigned(g), &judge);
        auto watch = sim::onTurnEnds(game.sim, [&](int mover) {
            const Sketch s = sketchOf(game.sim.host->board(), mover);
            if (learnable(s)) out.push_back({s, acey});
        });
        sim::playBotGame(game.sim, acey, false, watch);
    }
    return out;
}

// Moves the network towards the formula's chances on `positions` (squared error), so that
// it starts as the judgement it replaces.
void fitToFormula(RaceNet& net, const std::vector<std::pair<Sketch, bool>>& positions,
                  std::mt19937& random) {
    std::vector<float> gradient(RaceNet::kWeightCount);
    std::vector<size_t> order(positions.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    constexpr int kPasses = 30;
    for (int pass = 0; pass < kPasses; ++pass) {
        std::shuffle(order.begin(), order.end(), random);
        const float rate = 0.5f * (1.0f - float(pass) / kPasses) + 0.02f;
        double error = 0;
        for (size_t i : order) {
            const auto& [s, acey] = positions[i];
            const RaceInputs in = raceInputsOf(s, acey);
            const auto out = runSparseNet(net, in);
            const double miss = raceFormula(s, acey) - out.value;
            error += miss * miss;
            std::fill(gradient.begin(), gradient.end(), 0.0f);
            addSparseGradient(net, in, out, gradient);
            for (int w = 0; w < RaceNet::kWeightCount; ++w)
                net.w[size_t(w)] += rate * float(miss) * gradient[size_t(w)];
        }
        if (pass % 10 == 9 || pass == kPasses - 1)
            std::printf("fit to the formula, pass %d: rms %.4f over %zu positions\n", pass + 1,
                        std::sqrt(error / double(positions.size())), positions.size());
    }
    std::fflush(stdout);
}

// The fixed duplicate games against the formula; returns the share the network wins.
double againstFormula(RaceTrainingJudge& judge, int seeds, bool acey) {
    int won = 0, played = 0;
    for (int g = 0; g < 2 * seeds; ++g) {
        const int mine = g % 2 == 0 ? 1 : 2;
        judge.formulaSeat = 3 - mine;
        Game game(kEvalSeeds + 3 * kSeedSpacing + unsigned(g / 2) + (acey ? kSeedSpacing : 0),
                  &judge);
        const sim::GameResult r = sim::playBotGame(game.sim, acey, false);
        if (!r.finished) continue;
        ++played;
        if (r.winner == mine) ++won;
    }
    judge.formulaSeat = 0;
    return played ? 100.0 * won / played : 0;
}

Options parse(int argc, char** argv) {
    Options o;
    readOptions(argc, argv, o, [&o](const std::string& key, const char* v) {
        if (key == "--fit-games")
            o.fitGames = std::max(0, std::atoi(v));
        else if (key == "--start")
            o.startFile = std::strcmp(v, "formula") == 0 ? "" : v;
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
    auto net = std::make_unique<RaceNet>();
    std::uniform_real_distribution<float> spread(-0.1f, 0.1f);
    for (float& w : net->w)
        w = spread(random);
    RaceTrainingJudge judge(*net);
    waitForRaceTables();
    const auto started = std::chrono::steady_clock::now();
    auto seconds = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    if (!o.startFile.empty()) {
        if (!readWeights(o.startFile, *net)) {
            std::fprintf(stderr, "%s: not weights of the race network\n", o.startFile.c_str());
            return 1;
        }
    } else if (o.fitGames > 0) {
        // Every seat plays its races by the formula while the positions are collected.
        struct Formula : PositionJudge {
            double judge(const Sketch& s, int, bool acey) const override {
                if (hasContact(s)) return contactValue(shippedContactNet(), s);
                if (const std::optional<double> known = settled(s, acey)) return *known;
                return raceFormula(s, acey);
            }
        } byFormula;
        fitToFormula(*net, racePositions(byFormula, o.fitGames, o.seed, o.aceyShare), random);
    }

    bool aceyGame = false;
    auto encode = [&aceyGame](const Sketch& s) { return raceInputsOf(s, aceyGame); };
    auto beyond = [&aceyGame](const Sketch& s) { return settled(s, aceyGame); };
    RaceLearner learners[2] = {{*net, o.alpha0, o.lambda, encode, beyond},
                               {*net, o.alpha0, o.lambda, encode, beyond}};
    FILE* curve = o.curve.empty() ? nullptr : std::fopen(o.curve.c_str(), "w");
    if (curve) std::fprintf(curve, "games,vs_formula_normal,vs_formula_acey,seconds\n");
    auto evaluate = [&](int played) {
        if (o.evalGames == 0) return;
        const double normal = againstFormula(judge, o.evalGames, false);
        const double acey = againstFormula(judge, o.evalGames / 2, true);
        std::printf("%d games, %.0f s: vs-formula normal %.2f%%, acey %.2f%%\n", played,
                    seconds(), normal, acey);
        std::fflush(stdout);
        if (curve) {
            std::fprintf(curve, "%d,%.2f,%.2f,%.0f\n", played, normal, acey, seconds());
            std::fflush(curve);
        }
    };
    auto write = [&](int games) {
        char origin[200];
        std::snprintf(origin, sizeof origin,
                      "tools/race_train (%d games, seed %u, acey share %d%%, lambda %.2f, "
                      "alpha %g to %g, %s)",
                      games, o.seed, o.aceyShare, o.lambda, o.alpha0, o.alpha1,
                      o.startFile.empty() ? "fitted to the race formula first" : "from a run");
        writeWeights(*net, o.out,
                     {"racenet.h", "RaceNet", "kRaceLayout", "shippedRaceNet",
                      "The strong bot's race network"},
                     origin, games);
    };
    evaluate(0);
    int unfinished = 0;
    for (int g = 0; g < o.games; ++g) {
        const double alpha = o.alphaAt(g);
        learners[0].setAlpha(alpha);
        learners[1].setAlpha(alpha);
        aceyGame = int(random() % 100) < o.aceyShare;
        if (!trainOn(learners, judge, (o.seed + 1) * kSeedSpacing * 5 + unsigned(g), aceyGame))
            ++unfinished;
        if ((g + 1) % 1000 == 0 && (g + 1) % o.every != 0) {
            std::printf("%d games, %.0f s, %.1f games/s, alpha %.5f, unfinished %d\n", g + 1,
                        seconds(), (g + 1) / seconds(), alpha, unfinished);
            std::fflush(stdout);
        }
        if ((g + 1) % o.every == 0 || g + 1 == o.games) {
            write(g + 1);
            evaluate(g + 1);
        }
    }
    if (curve) std::fclose(curve);
    return 0;
}
