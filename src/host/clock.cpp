// The three game timers: the turn clock, the pass delay and the bot's pace.

#include "bot.h"
#include "tserver.h"

namespace bg {

void TServer::timerFired(HostTimer timer) {
    switch (timer) {
    case HostTimer::Turn:
        turntimeTimer();
        break;
    case HostTimer::Pass:
        timer1Timer();
        break;
    case HostTimer::Bot:
        computertimerTimer();
        break;
    }
    assertConsistent();
}

void TServer::turntimeTimer() {
    if (!m_gamerunning) {
        m_timers.stop(HostTimer::Turn);
        return;
    }
    --m_turncountdown;
    if (m_turncountdown == kTurnWarningSeconds) sendToAll(msg::thetime(kTimeWarning));
    if (m_turncountdown >= 0) return;
    m_timers.stop(HostTimer::Turn);
    sendToAll(msg::thetime(kTimeUp));
    const int p = m_board.currentplayer;
    if (!isPlayer(p)) return;
    m_seats[p].timedout = true;
    if (m_board.dice.die1 == kAwaitingRoll)
        rolldice(restOf(msg::rolldice(p)));
    else if (m_board.dice.die1 != 0 || m_board.dice.die2 != 0)
        scheduleBot(BotAction::Move);
    else if (m_board.checkforacey())
        // The 1 and 2 are played and the double is still to choose: no die is left, yet no pass
        // delay runs either, so without the bot the game would wait for the idle player forever.
        scheduleBot(BotAction::Double);
}

void TServer::timer1Timer() {
    --m_passdelay;
    if (!m_gamerunning) {
        m_timers.stop(HostTimer::Pass);
        return;
    }
    if (m_passdelay >= 1) return;
    m_timers.stop(HostTimer::Pass);
    if (m_timer1Tag == 1) findplayer();
}

void TServer::computertimerTimer() {
    m_timers.stop(HostTimer::Bot); // every arming fires once
    if (!m_gamerunning) return;
    BotPlayer bot(*this);
    switch (m_botAction) {
    case BotAction::Move:
        bot.computerplay();
        break;
    case BotAction::Roll:
        bot.computerroll();
        break;
    case BotAction::Double:
        bot.computerdouble();
        break;
    case BotAction::None:
        break;
    }
}

} // namespace bg
