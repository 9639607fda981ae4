// Compares the plays of two judgements by rollouts, with far less noise than a share of won
// games: in positions of real games, wherever the two choose different plays, each of the two
// endings is played out to the end `--trials` times, both sides playing by the shipped
// network alone, the two endings meeting the same dice in the same trial. It prints how often
// they differ and by how much B's play comes out ahead of A's, with its standard error.
//
// Options: `play_compare --help`.
// The positions are A's decisions (normal games) in games against the standard bot or
// against itself; `--only-hits` keeps only those where B's play puts more of the opponent's
// pieces on the bar than A's. A and B play by their judgement alone, without look-ahead.

#include "judges.h"
#include "options.h"
#include "playjudge.h"
#include "rollout.h"
#include "traininggame.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

using namespace bg;
using namespace bg::training;

namespace {

// Owns the weights it judges by.
class FileJudge : public NetJudge {
  public:
    explicit FileJudge(std::unique_ptr<ContactNet> net) : NetJudge(*net), m_net(std::move(net)) {}

  private:
    std::unique_ptr<ContactNet> m_net;
};

// Null for the shipped judgement.
std::unique_ptr<PositionJudge> judgeNamed(const std::string& name) {
    if (name == "shipped") return nullptr;
    if (name == "previous") return std::make_unique<PreviousJudge>();
    return std::make_unique<FileJudge>(netNamed(name));
}

struct Options {
    std::string a = "shipped", b = "previous";
    int games = 200;
    int trials = 144;
    bool againstStandard = true;
    bool onlyHits = false;
};

constexpr const char* kUsage =
    "usage: play_compare --a shipped|previous|FILE.bin --b shipped|previous|FILE.bin\n"
    "       [--games N] [--trials N] [--against standard|self] [--only-hits]\n";

Options parse(int argc, char** argv) {
    Options o;
    readOptions(argc, argv, kUsage, {"--only-hits"}, [&o](std::string_view key, const char* v) {
        if (key == "--only-hits")
            o.onlyHits = true;
        else if (key == "--a")
            o.a = v;
        else if (key == "--b")
            o.b = v;
        else if (key == "--games")
            o.games = std::max(1, std::atoi(v));
        else if (key == "--trials")
            o.trials = std::max(1, std::atoi(v));
        else if (key == "--against")
            o.againstStandard = std::strcmp(v, "self") != 0;
        else
            return false;
        return true;
    });
    return o;
}

} // namespace

int main(int argc, char** argv) {
    const Options o = parse(argc, argv);
    prepareRaceTables();
    waitForRaceTables();
    const auto judgeA = judgeNamed(o.a), judgeB = judgeNamed(o.b);
    StrongPlanner a, b, roller;
    for (StrongPlanner* p : {&a, &b, &roller})
        p->setLookAhead(false);
    a.setJudge(judgeA.get());
    b.setJudge(judgeB.get());
    long decisions = 0, compared = 0, better = 0;
    double sum = 0, squares = 0;
    for (int g = 0; g < o.games; ++g) {
        const int mine = g % 2 == 0 ? 1 : 2;
        Game game(kEvalSeeds + 3 * kSeedSpacing + unsigned(g), judgeA.get(),
                  o.againstStandard ? 3 - mine : 0);
        auto watch = [&](std::string_view m) {
            const Board& now = game.sim.host->board();
            if (!m.starts_with("CMD_threwdice+") || now.currentplayer != mine) return;
            ++decisions;
            const Board byA = playedOut(now, a.plan(now)), byB = playedOut(now, b.plan(now));
            const Sketch sa = sketchOf(byA, mine), sb = sketchOf(byB, mine);
            if (sa == sb) return;
            if (o.onlyHits && sb.bar[1] <= sa.bar[1]) return;
            double d = 0;
            for (int t = 0; t < o.trials; ++t) {
                const unsigned seed = unsigned(g) * 1000003u + unsigned(t);
                std::mt19937 diceA(seed), diceB(seed);
                d += rollOut(byB, mine, diceB, roller) - rollOut(byA, mine, diceA, roller);
            }
            d /= o.trials;
            ++compared;
            sum += d;
            squares += d * d;
            if (d > 0) ++better;
        };
        sim::playBotGame(game.sim, false, false, watch);
    }
    const double mean = compared ? sum / double(compared) : 0;
    const double spread = compared ? std::sqrt(std::max(0.0, squares / compared - mean * mean)) : 0;
    std::printf("%ld decisions, %ld compared (B plays otherwise%s): B ahead by %.4f per compared "
                "decision (standard error %.4f), %.5f per decision; B better in %ld\n",
                decisions, compared, o.onlyHits ? " and hits more" : "", mean,
                compared ? spread / std::sqrt(double(compared)) : 0,
                decisions ? sum / double(decisions) : 0, better);
    return 0;
}
