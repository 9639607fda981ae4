#pragma once
// The "Strong" bot ability: plays the whole throw as one decision.
//
// The standard bot (bot.h) picks each single move by a fixed list of preferences. This one
// looks at every way the host's rules allow to play the dice it holds: it tries each move and
// bear-off on a copy of the position with the host's own checks (moverules.h), follows each
// until the rules end the turn (four moves on a double; through the Acey-Deucey 1-2 and the
// double chosen after it), merges orders of moves that reach the same position, and scores
// every final position (the race formula of evaluation.h, or with contact the network of
// positionnet.h). It then plays the best plan one move per firing of the bot timer through
// the host's handlers, like any other ability; the plan is kept between firings as long as
// the position is the one it expects, and made afresh otherwise.
//
// The search allocates nothing: positions live on the stack, and the table of positions seen
// is a fixed array reused from throw to throw.

#include "evaluation.h"
#include "positionnet.h"

#include <array>
#include <cstdint>

namespace bg {

class TServer;

struct PlannedStep {
    enum class Kind { Move, BearOff, Double };
    Kind kind = Kind::Move;
    int piece = 0;
    int value = 0; // target point of a move, die value of a bear-off, the double chosen
};

// Every step of a turn: at most four moves, or the 1 and 2, the double and four moves of it.
inline constexpr int kMaxPlanSteps = 7;

struct Plan {
    std::array<PlannedStep, kMaxPlanSteps> steps{};
    int count = 0;      // 0 when nothing can be played
    double score = -1;  // winning chances after the plan
    long positions = 0; // positions looked at
};

// Finds the best way to play the dice left to the player on turn.
class StrongPlanner {
  public:
    explicit StrongPlanner(const Weights& weights = Weights{}) : m_weights(weights) {}
    void setWeights(const Weights& weights) { m_weights = weights; }
    // Contact positions are judged by `net`, or by the hand-made weights when it is null.
    void setNet(const NetWeights* net) { m_net = net; }
    Plan plan(const Board& b);
    // The plan after an Acey-Deucey 1-2: the double to choose first, then its moves.
    Plan planDouble(const Board& b);

  private:
    struct Search;
    void expand(Search& s, const Board& b, int depth);
    void visit(Search& s, Board& next, const PlannedStep& step, int depth);
    void refineDoubles(Search& s);
    bool firstSight(uint64_t key);
    void forgetSeen();
    double judge(const Sketch& sketch) const;

    Weights m_weights;
    const NetWeights* m_net = &trainedNet();
    // Positions met in the current search (open addressing, stamped by search).
    static constexpr int kSeenSlots = 1 << 15;
    struct Seen {
        uint64_t key = 0;
        uint32_t stamp = 0;
    };
    std::array<Seen, kSeenSlots> m_seen{};
    uint32_t m_stamp = 0;
    int m_seenCount = 0;
};

// One step for the player on turn: the next move of the plan, through the host's handlers.
// False when the plan has nothing to play or the host refused it (the caller falls back).
bool strongMove(TServer& host);
// The double the strong bot takes after an Acey-Deucey 1-2.
int strongDouble(const Board& b);
// For tuning by self-play: the weights the playing bot judges by from now on.
void setStrongWeights(const Weights& weights);
// For training: the network the playing bot judges contact positions by (null: the weights).
void setStrongNet(const NetWeights* net);

} // namespace bg
