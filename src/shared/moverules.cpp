#include "moverules.h"

namespace bg {

MoveCheck checkMove(const Board& b, int seat, int piece, int to) {
    MoveCheck c;
    if (!isPlayer(seat) || !isPiece(piece)) {
        c.error = kErrorInvalidMove;
        return c;
    }
    if (b.checkforonbar(seat, piece)) {
        c.error = kErrorOffTheBarFirst;
        return c;
    }
    if (!isBoardPoint(to)) {
        c.error = kErrorInvalidMove;
        return c;
    }
    const Side& mine = b.side[seat];
    c.fromBar = mine.onBar(piece);
    c.from = pilePoint(seat);
    c.piece = piece;
    if (!c.fromBar) {
        c.from = mine.pawns[piece].point;
        if (c.from == homePoint(seat) || !isGridPoint(c.from)) {
            c.error = kErrorInvalidMove;
            return c;
        }
        // Pieces leave from the top of their stack, whichever one was named.
        c.piece = b.topPieceOn(seat, c.from);
        c.fromLevel = mine.pawns[c.piece].level;
    }
    const int distance = moveDistance(seat, c.from, to);
    if (b.dice.die1 == distance) c.slot = 1;
    if (b.dice.die2 == distance) c.slot = 2; // with equal dice the second is used first
    if (c.slot == 0 || b.dice.die(c.slot) == 0) {
        c.error = kErrorInvalidMove;
        return c;
    }
    c.dieValue = b.dice.die(c.slot);
    c.occupants = b.checkfornumonspot(opponentOf(seat), to);
    if (c.occupants >= 2) {
        c.error = kErrorInvalidMove;
        c.blocked = true;
    }
    return c;
}

MoveOutcome applyMove(Board& b, int seat, const MoveCheck& c, int to) {
    const int o = opponentOf(seat);
    Side& mine = b.side[seat];
    MoveOutcome out;
    if (c.occupants == 1) {
        for (int level = 1; level <= kLevels; ++level)
            if (b.boardgrid[to][level].player == o) {
                out.hitLevel = level;
                out.hitPiece = b.boardgrid[to][level].piece;
                b.boardgrid[to][level] = {};
                break;
            }
        out.barSlot = b.side[o].addToBar(out.hitPiece);
        out.toLevel = 1;
    } else {
        out.toLevel = b.lowestFreeLevel(to);
    }
    mine.removeFromBar(c.piece);
    b.boardgrid[to][out.toLevel] = {seat, c.piece};
    if (!c.fromBar) b.boardgrid[c.from][c.fromLevel] = {};
    mine.pawns[c.piece] = {to, out.toLevel};
    b.dice.consume(c.slot);
    mine.pips = b.configpips(seat);
    if (out.hitPiece) b.side[o].pips = b.configpips(o);
    return out;
}

BearOffCheck checkBearOff(const Board& b, int seat, int piece, int value) {
    BearOffCheck c;
    if (!isPlayer(seat) || !isPiece(piece)) {
        c.error = kErrorInvalidMove;
        return c;
    }
    if (!b.checkforallhome(seat)) {
        c.error = kErrorNotAllHome;
        return c;
    }
    c.slot = value == b.dice.die1 ? 1 : value == b.dice.die2 ? 2 : 0;
    if (c.slot == 0) {
        c.error = kErrorInvalidMove;
        return c;
    }
    const Side& mine = b.side[seat];
    c.from = mine.pawns[piece].point;
    c.piece = piece;
    if (const int top = b.topPieceOn(seat, c.from)) c.piece = top;
    c.fromLevel = mine.pawns[c.piece].level;
    if (!b.checkforexact(c.from, seat, c.slot)) {
        if (b.checkforCANexactly(seat, c.slot)) {
            c.error = kErrorExactFirst;
            return c;
        }
        if (!b.checkforhighest(c.from, seat)) {
            c.error = kErrorHighestFirst;
            return c;
        }
    }
    const int distance = homeDistance(seat, c.from);
    if (distance <= 0 || distance > b.dice.die(c.slot) || !isBoardPoint(c.from))
        c.error = kErrorInvalidMove;
    return c;
}

void applyBearOff(Board& b, int seat, const BearOffCheck& c) {
    Side& mine = b.side[seat];
    ++mine.homecount;
    b.boardgrid[c.from][c.fromLevel] = {};
    mine.pawns[c.piece] = {homePoint(seat), 0};
    mine.pips = b.configpips(seat);
    b.dice.consume(c.slot);
}

Sequel sequelOf(Board& b, BoardListener* listener) {
    if (b.checkforacey()) return Sequel::ChooseDouble;
    if (b.checkformoremoves(listener)) return Sequel::MoreMoves;
    return Sequel::TurnOver;
}

} // namespace bg
