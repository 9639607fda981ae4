// Trains the strong bot's race network (racenet.h) by temporal-difference learning, TD(lambda),
// in the races of this program's own self-play games, and writes the weights as a source
// file. Contact is played by the shipped contact network; once contact is over, both seats
// judge by the race network in training until both sides are home, where the exact bear-off
// tables take over and end the lesson.
//
// Every `--every` games it plays a fixed set of games (each seed twice, the sides swapped)
// in which one seat judges races by the network and the other by the race formula, and
// prints the share the network's seat wins: the learning curve, also written to `--curve`.
//
// Usage: race_train --games N --seed S --out FILE.cpp [--curve FILE.csv] [--every N]
//        [--eval-games N] [--acey PERCENT] [--alpha A0,A1] [--lambda L]
//        [--start FILE.cpp.bin]
// The same arguments give the same weights: every game is seeded from `seed`.

#include "bearofftable.h"
#include "contactnet.h"
#include "racenet.h"
#include "tdlearner.h"
#include "traininggame.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <random>

using namespace bg;
using namespace bg::training;

namespace {

using RaceLearner = TdLearner<RaceNet, RaceInputs>;

struct Options {
    int games = 100000;
    unsigned seed = 1;
    std::string out = "raceweights.cpp";
    std::string curve;
    int every = 10000;
    int evalGames = 1000;
    int aceyShare = 25;
    double alpha0 = 0.02, alpha1 = 0.002;
    double lambda = 0.7;
    std::string startFile;
};

// Contact by the shipped network, bear-offs exactly, other races by the network in training,
// except for `formulaSeat`, whose races the formula judges.
class RaceJudge : public PositionJudge {
  public:
    explicit RaceJudge(const RaceNet& net) : m_net(net) {}
    int formulaSeat = 0;
    double judge(const Sketch& s, int player, bool acey) const override {
        if (hasContact(s)) return contactValue(shippedContactNet(), s);
        if (bothHome(s)) return bearOffChance(s, acey);
        if (player == formulaSeat) return raceChance(s);
        return raceNetValue(m_net, s, acey);
    }

  private:
    const RaceNet& m_net;
};

int trainOn(RaceLearner (&learners)[2], const RaceJudge& judge, unsigned seed, bool acey) {
    Game g(seed, judge);
    learners[0].startGame();
    learners[1].startGame();
    int mover = 0;
    auto watch = [&](std::string_view m) {
        const Board& b = g.sim.host->board();
        if (m.starts_with("CMD_threwdice+") || m.starts_with("CMD_firstroll+")) {
            mover = b.currentplayer;
        } else if (m.starts_with("CMD_nextplayer+")) {
            // An Acey-Deucey double throws again: the turn is not over yet.
            if (!isPlayer(mover) || b.currentplayer == mover) return;
            const Sketch left = sketchOf(b, mover);
            if (!hasContact(left)) learners[mover - 1].observe(left);
        }
    };
    const sim::GameResult game = sim::playBotGame(g.sim, acey, false, watch);
    if (!game.finished) return 0;
    learners[game.winner - 1].finish(1.0);
    learners[2 - game.winner].finish(0.0);
    return game.winner;
}

double againstFormula(RaceJudge& judge, int games, bool acey) {
    int won = 0, played = 0;
    for (int g = 0; g < games; ++g) {
        const int mine = g % 2 == 0 ? 1 : 2;
        judge.formulaSeat = 3 - mine;
        Game game(kEvalSeeds + unsigned(g / 2) + (acey ? kSeedSpacing : 0), judge);
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
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i];
        const char* v = argv[i + 1];
        if (key == "--games") o.games = std::max(1, std::atoi(v));
        else if (key == "--seed") o.seed = unsigned(std::strtoul(v, nullptr, 10));
        else if (key == "--out") o.out = v;
        else if (key == "--curve") o.curve = v;
        else if (key == "--every") o.every = std::max(1, std::atoi(v));
        else if (key == "--eval-games") o.evalGames = std::max(0, std::atoi(v));
        else if (key == "--acey") o.aceyShare = std::atoi(v);
        else if (key == "--alpha") std::sscanf(v, "%lf,%lf", &o.alpha0, &o.alpha1);
        else if (key == "--lambda") o.lambda = std::atof(v);
        else if (key == "--start") o.startFile = v;
        else {
            std::fprintf(stderr, "unknown option %s\n", key.c_str());
            std::exit(2);
        }
    }
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
    if (!o.startFile.empty() && !readWeights(o.startFile, *net)) {
        std::fprintf(stderr, "%s: not weights of this layout\n", o.startFile.c_str());
        return 1;
    }
    RaceJudge judge(*net);
    bool aceyGame = false;
    auto encode = [&aceyGame](const Sketch& s) { return raceInputsOf(s, aceyGame); };
    auto beyond = [&aceyGame](const Sketch& s) -> std::optional<double> {
        if (!bothHome(s)) return std::nullopt;
        return bearOffChance(s, aceyGame);
    };
    RaceLearner learners[2] = {{*net, o.alpha0, o.lambda, encode, beyond},
                               {*net, o.alpha0, o.lambda, encode, beyond}};
    FILE* curve = o.curve.empty() ? nullptr : std::fopen(o.curve.c_str(), "w");
    if (curve) std::fprintf(curve, "games,vs_formula_normal,vs_formula_acey,seconds\n");

    const auto started = std::chrono::steady_clock::now();
    auto seconds = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    auto evaluate = [&](int played) {
        if (o.evalGames == 0) return;
        const double normal = againstFormula(judge, o.evalGames, false);
        const double acey = againstFormula(judge, o.evalGames / 2, true);
        std::printf("%d games, %.0f s: vs-formula normal %.1f%%, acey %.1f%%\n", played,
                    seconds(), normal, acey);
        std::fflush(stdout);
        if (curve) {
            std::fprintf(curve, "%d,%.2f,%.2f,%.0f\n", played, normal, acey, seconds());
            std::fflush(curve);
        }
    };
    for (int g = 0; g < o.games; ++g) {
        const double alpha = o.alpha0 * std::pow(o.alpha1 / o.alpha0, double(g) / o.games);
        learners[0].setAlpha(alpha);
        learners[1].setAlpha(alpha);
        aceyGame = int(random() % 100) < o.aceyShare;
        trainOn(learners, judge, (o.seed + 1) * kSeedSpacing * 5 + unsigned(g), aceyGame);
        if ((g + 1) % 1000 == 0 && (g + 1) % o.every != 0) {
            std::printf("%d games, %.0f s, %.1f games/s, alpha %.4f\n", g + 1, seconds(),
                        (g + 1) / seconds(), alpha);
            std::fflush(stdout);
        }
        if ((g + 1) % o.every == 0 || g + 1 == o.games) {
            char origin[160];
            std::snprintf(origin, sizeof origin,
                          "tools/race_train (%d games, seed %u, acey share %d%%)", g + 1, o.seed,
                          o.aceyShare);
            writeWeights(*net, o.out,
                         {"racenet.h", "RaceNet", "kRaceLayout", "shippedRaceNet",
                          "The strong bot's network"},
                         origin, g + 1);
            evaluate(g + 1);
        }
    }
    if (curve) std::fclose(curve);
    return 0;
}
