#pragma once
// The strong bot's judgement of positions with contact: a neural network with one hidden
// layer, trained by temporal-difference learning in games against itself
// (tools/selfplay_train.cpp writes the weights into contactweights.cpp).
//
// It reads a Sketch (evaluation.h) as the player who just moved, with the opponent to throw,
// and answers that player's winning chances, the one thing this game counts. The inputs:
//  - for each side, the pieces at each home distance as four units (one piece, two, three,
//    and half a unit for each one beyond), the bar, the Acey-Deucey start pile, the pieces
//    borne off and the pip count;
//  - what a raw board hides, for each side: the shots at its lone pieces and what those hits
//    cost in pips, its longest prime, its home-board points, its pieces still back, the
//    escapes open to its rearmost piece, its anchors in the other's home board, its timing
//    (the pips still to bring home) and its lone pieces; and the pip lead.
// The first part is laid out as the network before it had them, so training could start
// from that network's weights.

#include "evaluation.h"

#include <array>
#include <cstdint>

namespace bg {

inline constexpr int kContactUnitsPerPoint = 4;
inline constexpr int kContactSideInputs = kLastPoint * kContactUnitsPerPoint + 5;
inline constexpr int kContactFirstFeatures = 8; // shots, hit losses, primes, home boards
inline constexpr int kContactSideFeatures = 5;  // back, escapes, anchors, timing, blots
inline constexpr int kContactFeatureStart = 2 * kContactSideInputs;
inline constexpr int kContactLaterFeatureStart = kContactFeatureStart + kContactFirstFeatures;
inline constexpr int kContactInputs =
    kContactLaterFeatureStart + 2 * kContactSideFeatures + 1; // and the pip lead
inline constexpr int kContactHidden = 80;
// Every weight in one array: input to hidden (by input, then hidden unit), hidden biases,
// hidden to output, output bias.
inline constexpr int kContactWeightCount =
    kContactInputs * kContactHidden + 2 * kContactHidden + 1;
// Ties generated weights to this layout: changes with any of the sizes above.
inline constexpr uint32_t kContactLayout =
    uint32_t(kContactInputs) * 100003u + uint32_t(kContactHidden) * 101u + 3u;

struct ContactNet {
    std::array<float, kContactWeightCount> w{};

    static constexpr int hiddenBiasAt = kContactInputs * kContactHidden;
    static constexpr int hiddenOutAt = (kContactInputs + 1) * kContactHidden;

    float& inHidden(int input, int hidden) { return w[input * kContactHidden + hidden]; }
    float& hiddenBias(int hidden) { return w[hiddenBiasAt + hidden]; }
    float& hiddenOut(int hidden) { return w[hiddenOutAt + hidden]; }
    float& outBias() { return w[kContactWeightCount - 1]; }
    float inHidden(int input, int hidden) const { return w[input * kContactHidden + hidden]; }
    float hiddenBias(int hidden) const { return w[hiddenBiasAt + hidden]; }
    float hiddenOut(int hidden) const { return w[hiddenOutAt + hidden]; }
    float outBias() const { return w[kContactWeightCount - 1]; }
};

// The inputs that are not zero: most of a position's units are off. Only the first `count`
// entries are set (the arrays are left uninitialised: this runs in the inner loop).
struct ContactInputs {
    std::array<int16_t, kContactInputs> index;
    std::array<float, kContactInputs> value;
    int count = 0;
};
ContactInputs contactInputsOf(const Sketch& s);

// The network's answer, with the hidden layer kept for learning.
struct ContactOutput {
    std::array<float, kContactHidden> hidden;
    double value = 0.5;
};
ContactOutput runContactNet(const ContactNet& net, const ContactInputs& in);
double contactValue(const ContactNet& net, const Sketch& s);

// The share of the 36 throws with which the rearmost piece of `side` gets past the points
// the other side holds within twelve pips in front of it.
int escapesOf(const Sketch& s, int side);

// The weights the program ships with (contactweights.cpp).
const ContactNet& shippedContactNet();

} // namespace bg
