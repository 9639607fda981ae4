#pragma once
// The strong bot as it was before it learned by self-play, frozen as the yardstick of
// bench/strong_bot_bench ("vs-previous"): its whole-throw search over the shared move rules,
// judging final positions by its race formula and its network trained against the standard
// bot. Kept in bench/ only; nothing that ships uses it.
#include "evaluation.h"
#include "positionnet.h"

#include <array>
#include <cstdint>

namespace bg::previous {

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

} // namespace bg::previous
