#pragma once
// The choice of a whole throw: the Strong ability's search.
//
// The standard bot picks each single move by a fixed list of preferences. The planner looks
// at every way the rules allow to play the dice (legalplays.h), scores every final position
// (the race formula of evaluation.h, or with contact the network of positionnet.h) and keeps
// the best. After an Acey-Deucey 1-2 the best few endings are followed through each of the six
// doubles and the moves of it, so the double is chosen by the same judgement.
//
// It reads a position and nothing else: the host's driver (strongbot.h) plays its plan, and
// any other caller may ask it about any position.

#include "evaluation.h"
#include "legalplays.h"
#include "positionnet.h"

#include <array>

namespace bg {

struct Plan {
    StepPath steps{};
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
    void refineDoubles(Search& s);
    double judge(const Sketch& sketch) const;

    Weights m_weights;
    const NetWeights* m_net = &trainedNet();
    PlayGenerator m_generator;
};

} // namespace bg
