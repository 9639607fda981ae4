#pragma once
// One game as its turns: who threw what and which steps the pieces took, from the start
// position (or from the position a late spectator was sent) to the winner.
//
// Points are the board's own numbers (1..24, player 1 travels up); only the notation turns
// them into the mover's view. The position of a record counts checkers, it does not name them:
// that is all a replay, a file or an analysis program needs.

#include "board.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace bg::rec {

inline constexpr int kOff = 0; // Step::to of a bear-off

enum class Origin { Point, Bar, Pile };

struct Step {
    Origin origin = Origin::Point;
    int from = 0; // board point when origin is Point
    int to = 0;   // board point 1..24, or kOff
    bool hit = false;
    int piece = 0; // the host's number of the piece when recorded live, 0 when read from a file
    friend bool operator==(const Step& a, const Step& b) {
        return a.origin == b.origin && a.from == b.from && a.to == b.to && a.hit == b.hit;
    }
};

struct Turn {
    int mover = 0;
    int die1 = 0;
    int die2 = 0;
    std::vector<Step> steps;
    // Acey-Deucey: the double chosen after playing a 1-2, and how many steps came before it.
    int chosenDouble = 0;
    std::size_t stepsBeforeDouble = 0;
    int line = 0; // where a file read it from, for messages
    bool doubles() const { return die1 == die2; }
};

struct SideCount {
    std::array<int, 25> point{}; // index 1..24
    int bar = 0;
    int pile = 0; // Acey-Deucey checkers not yet entered
    int off = 0;
    friend bool operator==(const SideCount&, const SideCount&) = default;
};

struct Position {
    std::array<SideCount, 3> side{}; // index 1, 2
    static Position start(bool acey);
    // The checkers of a host board, wherever they stand.
    static Position of(const Board& board);
    friend bool operator==(const Position&, const Position&) = default;
};

struct GameRecord {
    bool acey = false;
    std::array<std::string, 3> names{"", "", ""};
    Position start;
    bool joinedMidGame = false; // the record starts at the board a spectator was sent
    std::vector<Turn> turns;
    int winner = 0;
    int concededBy = 0;
    bool finished() const { return winner != 0; }
};

// A host board holding the checkers `pos` counts, numbered in order, nobody on turn and no
// dice: the rule book and the analysis work on boards.
Board boardOf(const Position& pos, bool acey);
// The board before `turn` is played from `pos`: the mover on turn with the throw in hand. The
// opening throw (the two start dice) gives two moves even when they are equal, and no
// Acey-Deucey double after a 1-2.
Board boardBefore(const Position& pos, bool acey, const Turn& turn, bool opening = false);
// Whether turn `t` of `record` is the game's opening throw.
bool isOpening(const GameRecord& record, std::size_t t);

// Every position of a game: the start, then the position after each turn, every step made by
// the host's own rule book (moverules.h). Stops at the first step the rules refuse and says
// which one, and why, in `error`.
std::vector<Position> positionsOf(const GameRecord& record, std::string* error = nullptr);

} // namespace bg::rec
