#pragma once
// The strong bot's judgement of positions with contact: a small neural network, one hidden
// layer, trained by temporal-difference learning in games against the standard bot
// (bench/strong_train.cpp writes the weights into evaluationweights.cpp).
//
// It reads a Sketch (evaluation.h) as the player who just moved, with the opponent to throw,
// and answers that player's winning chances. Its inputs are the pieces per home distance of
// both sides (a few units per point: one piece, two, three, and the extra ones beyond), the
// bar, the Acey-Deucey start pile, the pieces borne off and the pip counts, and a few
// hand-made ones the raw board hides, for both sides: the shots at the lone pieces and
// what those hits cost in pips, the longest prime, the points held in the home board.

#include "evaluation.h"

#include <array>

namespace bg::previous {

inline constexpr int kNetUnitsPerPoint = 4;
inline constexpr int kNetSideInputs = kLastPoint * kNetUnitsPerPoint + 5;
inline constexpr int kNetFeatures = 8; // shots, hit losses, primes and home boards of both
inline constexpr int kNetInputs = 2 * kNetSideInputs + kNetFeatures;
inline constexpr int kNetHidden = 40;
// Every weight in one array: input to hidden (by input, then hidden unit), hidden biases,
// hidden to output, output bias.
inline constexpr int kNetWeightCount = kNetInputs * kNetHidden + 2 * kNetHidden + 1;

struct NetWeights {
    std::array<float, kNetWeightCount> w{};

    float& inHidden(int input, int hidden) { return w[input * kNetHidden + hidden]; }
    float& hiddenBias(int hidden) { return w[kNetInputs * kNetHidden + hidden]; }
    float& hiddenOut(int hidden) { return w[(kNetInputs + 1) * kNetHidden + hidden]; }
    float& outBias() { return w[kNetWeightCount - 1]; }
    float inHidden(int input, int hidden) const { return w[input * kNetHidden + hidden]; }
    float hiddenBias(int hidden) const { return w[kNetInputs * kNetHidden + hidden]; }
    float hiddenOut(int hidden) const { return w[(kNetInputs + 1) * kNetHidden + hidden]; }
    float outBias() const { return w[kNetWeightCount - 1]; }
};

// The inputs that are not zero: most of a position's units are off. Only the first `count`
// entries are set (the arrays are left uninitialised: the network runs in the inner loop).
struct NetInputs {
    std::array<int, kNetInputs> index;
    std::array<float, kNetInputs> value;
    int count = 0;
};
NetInputs netInputsOf(const Sketch& s);

// The network's answer, with the hidden layer kept for learning.
struct NetOutput {
    std::array<float, kNetHidden> hidden{};
    double value = 0.5;
};
NetOutput runNet(const NetWeights& net, const NetInputs& in);
double netValue(const NetWeights& net, const Sketch& s);

// The weights the program ships with (evaluationweights.cpp).
const NetWeights& trainedNet();

} // namespace bg::previous
