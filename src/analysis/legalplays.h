#pragma once
// Every legal way to play the dice the player on turn holds, under the host's own move rules
// (moverules.h): one rule book, so a play found here is a play the host accepts.
//
// PlayGenerator tries each move and bear-off on a copy of the position with the host's checks
// and follows it until the rules end the turn (four moves on a double) or ask for the
// Acey-Deucey double after a 1-2. Orders of moves that reach the same position are merged, so
// each distinct ending is reported once, in a fixed order (pieces by id, the first die first):
// the same position always gives the same list. It allocates nothing: positions live on the
// stack and the table of positions seen is a fixed array reused from throw to throw.
//
//   PlayGenerator gen;
//   gen.generate(board, sink);           // sink.ending(e) for every distinct ending
//   std::vector<LegalPlay> all = legalPlays(board); // the same, as a list
//
// After a 1-2 the generator stops where the double is to be chosen (`awaitsDouble`); the
// caller sets the chosen double on the board and asks again.

#include "sketch.h"

#include <array>
#include <cstdint>
#include <vector>

namespace bg {

struct PlannedStep {
    enum class Kind { Move, BearOff, Double };
    Kind kind = Kind::Move;
    int piece = 0;
    int value = 0; // target point of a move, die value of a bear-off, the double chosen
    friend bool operator==(const PlannedStep&, const PlannedStep&) = default;
};

// Every step of a turn: at most four moves, or the 1 and 2, the double and four moves of it.
inline constexpr int kMaxPlanSteps = 7;
// The most dice one throw (or one double choice) gives.
inline constexpr int kMaxMoves = 4;

using StepPath = std::array<PlannedStep, kMaxPlanSteps>;

// One distinct way to play, as the generator reports it.
struct PlayEnding {
    const Board& board;   // the position after the steps
    const Sketch& sketch; // that position, seen from the mover
    const StepPath& steps;
    int count = 0;
    bool awaitsDouble = false; // an Acey-Deucey 1-2 is played: the double is chosen next
};

class PlayGenerator {
  public:
    class Sink {
      public:
        virtual void ending(const PlayEnding& e) = 0;
        // True once the sink wants no more endings: the walk then stops where it is.
        virtual bool stopped() const { return false; }

      protected:
        ~Sink() = default;
    };
    // Reports every distinct ending of the dice the player on turn holds; returns the number
    // of positions looked at on the way. Nothing is reported when nothing can be played.
    long generate(const Board& b, Sink& sink);

  private:
    struct Walk;
    void expand(Walk& w, const Board& b, int depth);
    void visit(Walk& w, Board& next, const PlannedStep& step, int depth);
    bool firstSight(uint64_t key);
    void forgetSeen();

    // Positions met in the current walk (open addressing, stamped by walk).
    static constexpr int kSeenSlots = 1 << 15;
    struct Seen {
        uint64_t key = 0;
        uint32_t stamp = 0;
    };
    std::array<Seen, kSeenSlots> m_seen{};
    uint32_t m_stamp = 0;
    int m_seenCount = 0;
};

// A hash of a sketch with the dice and a few more bits of state (turn, pending double).
uint64_t sketchKey(const Sketch& sketch, const Dice& dice, uint64_t extra);

struct LegalPlay {
    std::vector<PlannedStep> steps;
    Board board;
    bool awaitsDouble = false;
};
// Every distinct ending of the dice the player on turn holds, in the generator's order.
std::vector<LegalPlay> legalPlays(const Board& b);

} // namespace bg
