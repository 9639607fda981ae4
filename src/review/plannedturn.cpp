#include "plannedturn.h"

#include "moverules.h"
#include "notation.h"

namespace bg::review {

rec::Turn turnOfPlan(const Board& b, const Plan& plan) {
    rec::Turn turn;
    const int p = b.currentplayer;
    turn.mover = p;
    turn.die1 = b.dice.die1;
    turn.die2 = b.dice.die2;
    Board at = b;
    for (int i = 0; i < plan.count; ++i) {
        const PlannedStep& step = plan.steps[static_cast<std::size_t>(i)];
        if (step.kind == PlannedStep::Kind::Double) {
            turn.chosenDouble = step.value;
            turn.stepsBeforeDouble = turn.steps.size();
            at.aceypending = false;
            at.dice.setAll(step.value);
            continue;
        }
        rec::Step s;
        s.piece = step.piece;
        const Pawn& pawn = at.side[p].pawns[step.piece];
        if (at.side[p].onBar(step.piece))
            s.origin = rec::Origin::Bar;
        else if (pawn.point == pilePoint(p))
            s.origin = rec::Origin::Pile;
        else
            s.from = pawn.point;
        if (step.kind == PlannedStep::Kind::Move) {
            const MoveCheck c = checkMove(at, p, step.piece, step.value);
            if (c.error) break; // a plan is made for this very position: never happens
            s.to = step.value;
            s.hit = c.occupants == 1;
            applyMove(at, p, c, step.value);
        } else {
            const BearOffCheck c = checkBearOff(at, p, step.piece, step.value);
            if (c.error) break;
            s.to = rec::kOff;
            applyBearOff(at, p, c);
        }
        turn.steps.push_back(s);
    }
    return turn;
}

std::string playText(const rec::Turn& turn) {
    const std::string whole = rec::turnText(turn, true);
    const std::size_t colon = whole.find(": ");
    return colon == std::string::npos ? std::string() : whole.substr(colon + 2);
}

std::string hintLine(const rec::Turn& turn) {
    return "Hint: " + playText(turn);
}

} // namespace bg::review
