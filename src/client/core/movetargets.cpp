#include "movetargets.h"

namespace bg {

namespace {

constexpr int kPlayer1HomeFrom = 19; // player 1's home board is 19..24
constexpr int kPlayer2HomeTo = 6;    // player 2's is 1..6

bool outside(int player, int point) {
    if (point == kBorneOff || point == 0) return false;
    return player == 1 ? point < kPlayer1HomeFrom : point > kPlayer2HomeTo;
}

int opponentsOn(const ClientState& s, int opponent, int point) {
    int n = 0;
    for (int level = 1; level <= kLevels; ++level)
        if (s.grid(point, level).player == opponent) ++n;
    return n;
}

} // namespace

bool allHome(const ClientState& s, int player) {
    for (int id = 1; id <= kPieces; ++id)
        if (outside(player, s.pawn(player, id).point)) return false;
    return true;
}

CheckerTargets targetsFor(const ClientState& s, int player, int piece) {
    CheckerTargets t;
    if (!isPlayer(player) || !isPiece(piece)) return t;
    const int point = s.pawn(player, piece).point;
    if (point == kBorneOff) return t;
    const std::array<int, 3> dice{0, s.dice().die1, s.dice().die2};
    const int opponent = player == 1 ? 2 : 1;

    if (allHome(s, player)) {
        const int distance = player == 1 ? 25 - point : point;
        for (int i = 1; i <= 2; ++i)
            if (dice[i] >= 1 && dice[i] <= 6 && dice[i] >= distance) t.home[i] = {true, dice[i]};
    }
    for (int i = 1; i <= 2; ++i) {
        // 100 (not thrown) and 0 (used) move nothing.
        if (dice[i] < 1 || dice[i] > 6) continue;
        const int to = player == 1 ? point + dice[i] : point - dice[i];
        if (!isBoardPoint(to)) continue;
        const Cell bottom = s.grid(to, 1);
        if (bottom.player == opponent && opponentsOn(s, opponent, to) > 1)
            t.move[i] = {false, to, true};
        else
            t.move[i] = {true, to, false};
    }
    return t;
}

} // namespace bg
