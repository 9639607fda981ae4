#include "strongbot.h"

#include "bot.h"
#include "moverules.h"
#include "protocol.h"
#include "race.h"
#include "tserver.h"

namespace bg {

namespace {

// The position, dice and turn as the player on turn sees them.
uint64_t stateKey(const Board& b) {
    if (!isPlayer(b.currentplayer)) return 0; // the game is over: nothing to expect
    const uint64_t extra = static_cast<uint64_t>(b.currentplayer) | (b.aceypending ? 4u : 0u);
    return sketchKey(sketchOf(b, b.currentplayer), b.dice, extra);
}

} // namespace

StrongBot::StrongBot() {
    // The bear-off tables take a moment: computed on their own thread long before the first
    // bear-off, the host's thread never waits for them.
    prepareRaceTables();
}

void StrongBot::setSeatPlanner(int seat, SeatPlanner* planner) {
    if (isPlayer(seat)) m_seatPlanner[seat] = planner;
    m_expect = 0;
}

Plan StrongBot::planFor(const Board& b, bool afterOneTwo) {
    const int p = b.currentplayer;
    SeatPlanner* own = isPlayer(p) ? m_seatPlanner[p] : nullptr;
    if (own) return afterOneTwo ? own->planDouble(b) : own->plan(b);
    return afterOneTwo ? m_planner.planDouble(b) : m_planner.plan(b);
}

bool StrongBot::expects(const Board& b, PlannedStep::Kind kind) const {
    return m_next < m_plan.count && m_plan.steps[m_next].kind == kind && m_expect != 0 &&
           m_expect == stateKey(b);
}

bool StrongBot::move(TServer& host) {
    const Board& b = host.board();
    const int p = b.currentplayer;
    if (!expects(b, PlannedStep::Kind::Move) && !expects(b, PlannedStep::Kind::BearOff)) {
        m_plan = planFor(b, false);
        m_next = 0;
    }
    if (m_next >= m_plan.count || m_plan.steps[m_next].kind == PlannedStep::Kind::Double)
        return false;
    const PlannedStep step = m_plan.steps[m_next++];
    const bool accepted = step.kind == PlannedStep::Kind::Move
                              ? host.moveit(restOf(msg::moveit(p, step.piece, step.value)))
                              : host.placehome(restOf(msg::placehome(p, step.piece, step.value)));
    m_expect = accepted ? stateKey(host.board()) : 0;
    if (!accepted) ++m_refusals;
    return accepted;
}

int StrongBot::chooseDouble(const Board& b) {
    if (!expects(b, PlannedStep::Kind::Double)) {
        m_plan = planFor(b, true);
        m_next = 0;
    }
    const int value = m_plan.count ? m_plan.steps[m_next++].value : kBotDouble;
    Board chosen = b;
    chosen.aceypending = false;
    chosen.dice.setAll(value);
    m_expect = stateKey(chosen);
    return value;
}

} // namespace bg
