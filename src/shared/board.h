#pragma once
// The position of one game of Backgammon or Acey-Deucey, as a copyable value.
//
// Numbering (shared with the wire messages):
//   points 1..24 are the board; player 1 travels up from 1 to 24, player 2 down from 24 to 1;
//   point 0 and point 25 are the start piles of player 1 and player 2 (used by Acey-Deucey, and
//   as the "from" point of a piece entering from the bar);
//   26 + player is the home (borne-off tray) of that player: 27 for player 1, 28 for player 2;
//   26 is the bar in the full-board message.
// Each player has pieces 1..15, each at a point and a 1-based stack level (0 in the home).
// `boardgrid[point][level]` names the (player, piece) standing there. A hit piece keeps its
// point and level in `pawns` but leaves the grid and is listed in its player's `bar`.
//
// The predicates carry the names the rest of the program knows them by (checkfor...). They
// read the position only, except checkformoremoves, which clears spent doubles.

#include <array>
#include <cstdint>
#include <string>

namespace bg {

inline constexpr int kPieces = 15;
inline constexpr int kLevels = 15;
inline constexpr int kFirstPoint = 1;
inline constexpr int kLastPoint = 24;
inline constexpr int kPile1 = 0;     // player 1's start pile / entry side
inline constexpr int kPile2 = 25;    // player 2's start pile / entry side
inline constexpr int kBarPoint = 26; // point value of a bar entry in the full-board message
inline constexpr int kAwaitingRoll = 100;
inline constexpr int kDieSides = 6;
inline constexpr int kGridPoints = 26; // grid rows 0..25

inline constexpr bool isPlayer(int p) {
    return p == 1 || p == 2;
}
inline constexpr bool isPiece(int id) {
    return id >= 1 && id <= kPieces;
}
inline constexpr bool isBoardPoint(int t) {
    return t >= kFirstPoint && t <= kLastPoint;
}
inline constexpr bool isGridPoint(int t) {
    return t >= 0 && t < kGridPoints;
}
inline constexpr bool isDieValue(int d) {
    return d >= 1 && d <= 6;
}
inline constexpr int opponentOf(int p) {
    return 3 - p;
}
inline constexpr int homePoint(int p) {
    return 26 + p;
}
inline constexpr int pilePoint(int p) {
    return p == 1 ? kPile1 : kPile2;
}
// Pips a piece on `point` still has to travel to bear off.
inline constexpr int homeDistance(int p, int point) {
    return p == 1 ? 25 - point : point;
}
inline constexpr int targetPoint(int p, int from, int die) {
    return p == 1 ? from + die : from - die;
}
inline constexpr int moveDistance(int p, int from, int to) {
    return p == 1 ? to - from : from - to;
}
inline constexpr int entryPoint(int p, int die) {
    return p == 1 ? die : 25 - die;
}
inline constexpr bool inHomeBoard(int p, int point) {
    return p == 1 ? point >= 19 && point <= 24 : point >= 1 && point <= 6;
}
// The same place seen from the other player: player 2's board mirrors player 1's.
inline constexpr int mirrorPoint(int point) {
    return kPile2 - point;
}

// The normal game's start, as player 1's pieces stand (player 2's mirror them): pieces
// first..last stacked on `point` from level 1 up.
struct StartGroup {
    int first, last, point;
};
inline constexpr StartGroup kNormalStart[] = {{1, 5, 12}, {6, 8, 17}, {9, 13, 19}, {14, 15, 1}};

struct Pawn {
    int32_t point = 0;
    int32_t level = 0;
    friend bool operator==(const Pawn&, const Pawn&) = default;
};

struct Cell {
    int32_t player = 0;
    int32_t piece = 0;
    bool empty() const { return player == 0 && piece == 0; }
    friend bool operator==(const Cell&, const Cell&) = default;
};

// die1/die2 hold the current throw (0 = used, kAwaitingRoll = not thrown yet);
// double1/double2 are their second uses after a double.
struct Dice {
    int32_t die1 = 0;
    int32_t die2 = 0;
    int32_t double1 = 0;
    int32_t double2 = 0;

    int32_t& die(int i) { return i == 1 ? die1 : die2; }
    int32_t die(int i) const { return i == 1 ? die1 : die2; }
    int32_t& doubled(int i) { return i == 1 ? double1 : double2; }
    // Using die i moves its second use into place.
    void consume(int i) {
        die(i) = doubled(i);
        doubled(i) = 0;
    }
    void setAll(int v) { die1 = die2 = double1 = double2 = v; }
    friend bool operator==(const Dice&, const Dice&) = default;
};

// One player's pieces, bar and counters.
struct Side {
    std::array<Pawn, kPieces + 1> pawns{};  // index 1..15
    std::array<int32_t, kPieces + 1> bar{}; // index 1..15, piece ids, 0 = empty entry
    int32_t pips = 0;
    int32_t homecount = 0;

    bool barEmpty() const;
    bool onBar(int piece) const;
    // Writes `piece` into the first empty entry; returns its 1-based index (0 if full).
    int addToBar(int piece);
    // Clears every entry holding `piece`; returns whether there was one.
    bool removeFromBar(int piece);
};

// Told when a piece on the bar cannot enter with any die left.
class BoardListener {
  public:
    virtual ~BoardListener() = default;
    virtual void nomoveoffbar(int player) = 0;
};

struct Board {
    bool acey = false; // gametype: "acey" or "normal"
    int32_t currentplayer = 0;
    bool aceypending = false;
    Dice dice;
    std::array<std::array<Cell, kLevels + 1>, kGridPoints> boardgrid{}; // [point][level 1..15]
    std::array<Side, 3> side{};                                         // index 1, 2

    const char* gametype() const { return acey ? "acey" : "normal"; }

    // --- predicates -------------------------------------------------------------------
    int checkfornumonspot(int player, int point) const;
    int checkfornoneonspot(int point) const;
    bool checkforonbar(int player, int piece) const;
    bool checkforallhome(int player) const;
    bool checkforexact(int point, int player, int dieIndex) const;
    bool checkforCANexactly(int player, int dieIndex) const;
    bool checkforhighest(int point, int player) const;
    bool checkforacey() const;
    bool checkformoremoves(BoardListener* listener);
    bool checkforopenspot(BoardListener* listener) const;
    int configpips(int player) const;
    void setpawnstobeginning();

    // --- helpers for the rules and the bot ----------------------------------------------
    // A throw of `a` and `b` to play: four moves for a double, and in Acey-Deucey a 1-2
    // brings its choice of a double.
    void giveThrow(int a, int b) {
        dice = {a, b, a == b ? a : 0, a == b ? b : 0};
        aceypending = acey && a + b == 3;
    }
    // The piece with the greatest home distance on points 1..24, lowest id on ties; 0 if none.
    int farthestBack(int player) const;
    // The player's piece with the highest level on `point`; 0 if none.
    int topPieceOn(int player, int point) const;
    // Lowest free level of `point` (1..15); 0 when the point is full.
    int lowestFreeLevel(int point) const;
    // Lowest/highest point 1..24 holding one of the player's pieces; 0 when none.
    int lowestpoint(int player) const;
    int highestpoint(int player) const;
    // A landing on t is open to `player`: level 1 empty or own, or a single opposing blot.
    bool openFor(int player, int t) const;

    // Clears pieces, bars and counters of both players and points 1..24 of the grid.
    void clearForNewGame();

    // Empty when the position is consistent, otherwise what is wrong.
    std::string validate() const;
};

// Stacks are compact (levels 1..n) and belong to one player, so a point whose bottom piece is
// somebody else's holds none of the player's, and counting stops at the first empty level.
// Inline: the bot asks this hundreds of times per move.
inline int Board::checkfornumonspot(int player, int point) const {
    if (!isPlayer(player) || !isGridPoint(point) || boardgrid[point][1].player != player) return 0;
    int n = 1;
    while (n < kLevels && boardgrid[point][n + 1].player == player)
        ++n;
    return n;
}

} // namespace bg
