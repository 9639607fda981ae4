#include "gamerecord.h"

#include "notation.h"

#include <algorithm>

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

namespace {

bool allHome(const SideCount& c, int mover) {
    if (c.bar || c.pile) return false;
    for (int point = 1; point <= kLastPoint; ++point)
        if (c.point[point] && !inHomeBoard(mover, point)) return false;
    return true;
}

// The mover's checker farthest from home on the board, as its distance; 0 when none.
int farthestDistance(const SideCount& c, int mover) {
    int best = 0;
    for (int point = 1; point <= kLastPoint; ++point)
        if (c.point[point]) best = std::max(best, homeDistance(mover, point));
    return best;
}

bool takeDie(std::vector<int>& dice, int value) {
    const auto it = std::find(dice.begin(), dice.end(), value);
    if (it == dice.end()) return false;
    dice.erase(it);
    return true;
}

} // namespace

std::string applyStep(Position& pos, int mover, const Step& step, std::vector<int>& dice) {
    if (!isPlayer(mover)) return "no player to move";
    SideCount& mine = pos.side[mover];
    SideCount& theirs = pos.side[opponentOf(mover)];
    if (dice.empty()) return "no die is left for it";
    if (mine.bar && step.origin != Origin::Bar) return "a checker on the bar must enter first";
    int from = 0;
    switch (step.origin) {
    case Origin::Bar:
        if (!mine.bar) return "no checker is on the bar";
        from = pilePoint(mover);
        break;
    case Origin::Pile:
        if (!mine.pile) return "no checker is waiting to enter";
        from = pilePoint(mover);
        break;
    case Origin::Point:
        if (!isBoardPoint(step.from) || !mine.point[step.from]) return "no checker stands there";
        from = step.from;
        break;
    }
    if (step.to == kOff) {
        if (step.origin != Origin::Point) return "a checker must enter before it bears off";
        if (!allHome(mine, mover)) return "not every checker is home yet";
        const int distance = homeDistance(mover, from);
        if (!takeDie(dice, distance)) {
            // A higher die bears off the farthest checker only; the lowest such die is used.
            if (distance < farthestDistance(mine, mover)) return "no die bears it off";
            std::sort(dice.begin(), dice.end());
            const auto it =
                std::find_if(dice.begin(), dice.end(), [&](int d) { return d > distance; });
            if (it == dice.end()) return "no die bears it off";
            dice.erase(it);
        }
        --mine.point[from];
        ++mine.off;
        return {};
    }
    if (!isBoardPoint(step.to)) return "it lands nowhere";
    const int distance = moveDistance(mover, from, step.to);
    if (distance < 1 || distance > kDieSides) return "it goes the wrong way";
    const int blockers = theirs.point[step.to];
    if (blockers >= 2) return "the point is held by the other side";
    if (step.hit && blockers == 0) return "there is nothing to hit";
    if (!takeDie(dice, distance)) return "no die of that number is left";
    if (step.origin == Origin::Bar)
        --mine.bar;
    else if (step.origin == Origin::Pile)
        --mine.pile;
    else
        --mine.point[from];
    if (blockers == 1) {
        theirs.point[step.to] = 0;
        ++theirs.bar;
    }
    ++mine.point[step.to];
    return {};
}

static std::vector<int> diceOf(int die1, int die2) {
    if (die1 == die2) return {die1, die1, die1, die1};
    return {die1, die2};
}

std::vector<Position> positionsOf(const GameRecord& record, std::string* error) {
    std::vector<Position> out{record.start};
    Position pos = record.start;
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
        std::vector<int> dice = diceOf(turn.die1, turn.die2);
        const std::size_t total = turn.steps.size();
        if (turn.chosenDouble) {
            if (!record.acey || turn.doubles() || turn.die1 + turn.die2 != 3)
                return fail("a double is chosen only after a 1-2 in Acey-Deucey");
            if (!isDieValue(turn.chosenDouble)) return fail("the chosen double is no die");
            if (turn.stepsBeforeDouble != 2 || total < 2)
                return fail("the double is chosen after the 1 and the 2 are played");
        }
        for (std::size_t i = 0; i < total; ++i) {
            if (turn.chosenDouble && i == turn.stepsBeforeDouble)
                dice = diceOf(turn.chosenDouble, turn.chosenDouble);
            const Step& step = turn.steps[i];
            const std::string problem = applyStep(pos, turn.mover, step, dice);
            if (!problem.empty()) return fail(stepText(turn.mover, step) + ": " + problem);
        }
        out.push_back(pos);
    }
    if (error) error->clear();
    return out;
}

} // namespace bg::rec
