#include "sketch.h"

namespace bg {

Sketch sketchOf(const Board& b, int player) {
    Sketch s;
    if (!isPlayer(player)) return s;
    for (int k = 0; k < 2; ++k) {
        const int p = k == 0 ? player : opponentOf(player);
        const Side& side = b.side[p];
        uint32_t onBar = 0;
        for (int i = 1; i <= kPieces; ++i)
            if (isPiece(side.bar[i])) onBar |= 1u << side.bar[i];
        for (int id = 1; id <= kPieces; ++id) {
            const int point = side.pawns[id].point;
            if (onBar & (1u << id)) {
                ++s.n[k][kFullDistance];
                ++s.bar[k];
            } else if (point == homePoint(p)) {
                ++s.off[k];
            } else if (isBoardPoint(point)) {
                ++s.n[k][homeDistance(p, point)];
            } else {
                ++s.n[k][kFullDistance]; // the start pile
            }
        }
    }
    return s;
}

Sketch flipped(const Sketch& s) {
    Sketch f;
    f.n = {s.n[1], s.n[0]};
    f.bar = {s.bar[1], s.bar[0]};
    f.off = {s.off[1], s.off[0]};
    return f;
}

} // namespace bg
