#pragma once
// Building positions by hand for tests: pieces are moved the way the rules move them, so the
// result stays a consistent position.

#include "board.h"

namespace bg::setup {

// Moves `id` of player p onto `point` (or its home), on the lowest free level.
inline void put(Board& b, int p, int id, int point) {
    Pawn& pawn = b.side[p].pawns[id];
    if (pawn.point == homePoint(p)) --b.side[p].homecount;
    if (isGridPoint(pawn.point) && pawn.level > 0 &&
        b.boardgrid[pawn.point][pawn.level] == Cell{p, id})
        b.boardgrid[pawn.point][pawn.level] = {};
    b.side[p].removeFromBar(id);
    if (point == homePoint(p)) {
        pawn = {point, 0};
        ++b.side[p].homecount;
    } else {
        const int level = b.lowestFreeLevel(point);
        pawn = {point, level};
        b.boardgrid[point][level] = {p, id};
    }
    b.side[p].pips = b.configpips(p);
}

// Sends a piece standing on a point to its player's bar.
inline void hit(Board& b, int p, int id) {
    Pawn& pawn = b.side[p].pawns[id];
    b.boardgrid[pawn.point][pawn.level] = {};
    b.side[p].addToBar(id);
    b.side[p].pips = b.configpips(p);
}

// Every piece in its home: a blank position to build on (keeps the game type and turn).
inline void clearToHome(Board& b) {
    for (auto& point : b.boardgrid)
        point = {};
    for (int p = 1; p <= 2; ++p) {
        b.side[p] = Side{};
        for (int id = 1; id <= kPieces; ++id)
            b.side[p].pawns[id] = {homePoint(p), 0};
        b.side[p].homecount = kPieces;
    }
}

} // namespace bg::setup
