#include "gamerecord.h"

#include "moverules.h"
#include "notation.h"

namespace bg::rec {

Position Position::start(bool acey) {
    Board b;
    b.acey = acey;
    b.setpawnstobeginning();
    return of(b);
}

Position Position::of(const Board& board) {
    Position pos;
    for (int p = 1; p <= 2; ++p) {
        const Side& s = board.side[p];
        SideCount& c = pos.side[p];
        for (int id = 1; id <= kPieces; ++id) {
            const int point = s.pawns[id].point;
            if (s.onBar(id))
                ++c.bar;
            else if (isBoardPoint(point))
                ++c.point[point];
            else if (point == homePoint(p))
                ++c.off;
            else if (point == pilePoint(p) && s.pawns[id].level >= 1)
                ++c.pile;
        }
    }
    return pos;
}

// Which checker of a point stands where makes no difference to the rules.
Board boardOf(const Position& pos, bool acey) {
    Board b;
    b.acey = acey;
    for (int p = 1; p <= 2; ++p) {
        const SideCount& c = pos.side[p];
        Side& s = b.side[p];
        int id = 0;
        auto stand = [&](int point) {
            if (++id > kPieces) return;
            const int level = b.lowestFreeLevel(point);
            if (level == 0) return;
            s.pawns[id] = {point, level};
            b.boardgrid[point][level] = {p, id};
        };
        for (int point = 1; point <= kLastPoint; ++point)
            for (int n = 0; n < c.point[point]; ++n)
                stand(point);
        for (int n = 0; n < c.pile; ++n)
            stand(pilePoint(p));
        for (int n = 0; n < c.bar && id < kPieces; ++n) {
            // A hit checker keeps a point outside the board and waits in the bar list.
            s.pawns[++id] = {pilePoint(opponentOf(p)), 1};
            s.addToBar(id);
        }
        for (int n = 0; n < c.off && id < kPieces; ++n) {
            s.pawns[++id] = {homePoint(p), 0};
            ++s.homecount;
        }
        s.pips = b.configpips(p);
    }
    return b;
}

namespace {

// The board was made for the record's game, so it knows whether a 1-2 brings a double.
void giveThrow(Board& b, const Turn& turn) {
    b.currentplayer = turn.mover;
    b.giveThrow(turn.die1, turn.die2);
}

} // namespace

Board boardBefore(const Position& pos, bool acey, const Turn& turn, bool opening) {
    Board b = boardOf(pos, acey);
    giveThrow(b, turn);
    if (opening) {
        b.dice.double1 = b.dice.double2 = 0;
        b.aceypending = false;
    }
    return b;
}

bool isOpening(const GameRecord& record, std::size_t t) {
    return t == 0 && !record.joinedMidGame;
}

namespace {

const char* refusal(int code) {
    switch (code) {
    case kErrorNotAllHome:
        return "not every checker is home yet";
    case kErrorOffTheBarFirst:
        return "a checker on the bar must enter first";
    case kErrorExactFirst:
        return "a checker on the die's own point must bear off first";
    case kErrorHighestFirst:
        return "a higher die bears off only the farthest checker";
    default:
        return "no die of the throw makes that step";
    }
}

// One step on `b` by the host's own checks; empty when it was made.
std::string makeStep(Board& b, int mover, const Step& step) {
    int piece = 0;
    switch (step.origin) {
    case Origin::Bar:
        for (int i = 1; i <= kPieces && !piece; ++i)
            piece = b.side[mover].bar[i];
        if (!piece) return "no checker is on the bar";
        break;
    case Origin::Pile:
        if (!b.acey) return "only Acey-Deucey enters from the start pile";
        if (!b.side[mover].barEmpty()) return "a checker on the bar must enter first";
        piece = b.topPieceOn(mover, pilePoint(mover));
        if (!piece) return "no checker is waiting to enter";
        break;
    case Origin::Point:
        if (isBoardPoint(step.from)) piece = b.topPieceOn(mover, step.from);
        if (!piece) return "no checker stands there";
        break;
    }
    if (step.to == kOff) {
        if (step.origin != Origin::Point) return "a checker must enter before it bears off";
        // Any die that bears it off; the lowest such die is the one used.
        int error = kErrorInvalidMove;
        for (int value = 1; value <= kDieSides; ++value) {
            if (b.dice.die1 != value && b.dice.die2 != value) continue;
            const BearOffCheck c = checkBearOff(b, mover, piece, value);
            if (c.error == 0) {
                applyBearOff(b, mover, c);
                return {};
            }
            if (error == kErrorInvalidMove) error = c.error;
        }
        return refusal(error);
    }
    const MoveCheck c = checkMove(b, mover, piece, step.to);
    if (c.blocked) return "the point is held by the other side";
    if (c.error) return refusal(c.error);
    if (step.hit && c.occupants != 1) return "there is nothing to hit";
    applyMove(b, mover, c, step.to);
    return {};
}

} // namespace

std::vector<Position> positionsOf(const GameRecord& record, std::string* error) {
    std::vector<Position> out{record.start};
    Board b = boardOf(record.start, record.acey);
    for (std::size_t t = 0; t < record.turns.size(); ++t) {
        const Turn& turn = record.turns[t];
        auto fail = [&](const std::string& what) {
            if (error) {
                *error = turn.line ? "line " + std::to_string(turn.line) + ": " : "";
                *error += "turn " + std::to_string(t + 1) + ": " + what;
            }
            return out;
        };
        if (!isPlayer(turn.mover)) return fail("no player");
        if (!isDieValue(turn.die1) || !isDieValue(turn.die2))
            return fail("the throw is not two dice");
        giveThrow(b, turn);
        if (turn.chosenDouble) {
            if (!b.aceypending) return fail("a double is chosen only after a 1-2 in Acey-Deucey");
            if (!isDieValue(turn.chosenDouble)) return fail("the chosen double is no die");
        }
        for (std::size_t i = 0; i <= turn.steps.size(); ++i) {
            if (turn.chosenDouble && i == turn.stepsBeforeDouble) {
                // The host offers the choice once the 1 and the 2 are played.
                if (!b.checkforacey()) return fail("the double is chosen after the 1 and the 2");
                b.aceypending = false;
                b.dice.setAll(turn.chosenDouble);
            }
            if (i == turn.steps.size()) break;
            const Step& step = turn.steps[i];
            if (b.dice.die1 == 0 && b.dice.die2 == 0)
                return fail(stepText(turn.mover, step) + ": no die is left for it");
            const std::string problem = makeStep(b, turn.mover, step);
            if (!problem.empty()) return fail(stepText(turn.mover, step) + ": " + problem);
        }
        out.push_back(Position::of(b));
    }
    if (error) error->clear();
    return out;
}

} // namespace bg::rec
