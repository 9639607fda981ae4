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
#include "sparsenet.h"

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
inline constexpr int kContactHidden = 128;
using ContactNet = SparseNet<kContactInputs, kContactHidden>;
using ContactInputs = SparseInputs<kContactInputs>;
using ContactOutput = SparseOutput<kContactHidden>;
inline constexpr int kContactWeightCount = ContactNet::kWeightCount;
// Ties generated weights to this layout: changes with any of the sizes above.
inline constexpr uint32_t kContactLayout = sparseLayout(kContactInputs, kContactHidden);

ContactInputs contactInputsOf(const Sketch& s);
ContactOutput runContactNet(const ContactNet& net, const ContactInputs& in);
double contactValue(const ContactNet& net, const Sketch& s);

// The share of the 36 throws with which the rearmost piece of `side` gets past the points
// the other side holds within twelve pips in front of it.
int escapesOf(const Sketch& s, int side);

// The weights the program ships with (contactweights.cpp).
const ContactNet& shippedContactNet();

} // namespace bg
