// Game start, the start press and opening throw, the dice of each turn, the Acey-Deucey
// doubles choice and passing the turn.

#include "tserver.h"

namespace bg {

namespace {

// The bot's opening book: for a throw (die1, die2) of different dice, the piece to move with
// die 1 and the piece to move with die 2. Pieces are those of the normal start layout:
// 4 and 5 on the mid-point, 8 on top of the three-stack, 13 on top of the home stack, 15 on
// top of the two back pieces. The book is the same for both players.
struct Opening {
    int piece1, piece2;
};
constexpr Opening kOpeningBook[7][7] = {
    {},
    {{}, {}, {15, 5}, {13, 8}, {15, 5}, {15, 5}, {8, 5}},
    {{}, {5, 15}, {}, {5, 15}, {13, 8}, {5, 4}, {15, 15}},
    {{}, {8, 13}, {15, 5}, {}, {15, 5}, {13, 8}, {15, 15}},
    {{}, {5, 15}, {8, 13}, {5, 15}, {}, {5, 4}, {13, 8}},
    {{}, {5, 15}, {5, 4}, {8, 13}, {5, 4}, {}, {15, 15}},
    {{}, {5, 8}, {15, 15}, {15, 15}, {8, 13}, {15, 15}, {}},
};

} // namespace

void TServer::findopening(int die1, int die2) {
    if (die1 == die2 || !isDieValue(die1) || !isDieValue(die2)) return;
    m_openingpiece1 = kOpeningBook[die1][die2].piece1;
    m_openingpiece2 = kOpeningBook[die1][die2].piece2;
}

bool TServer::botDriven(int seat) const {
    if (seat < 1 || seat > kPlayerSeats) return false;
    const SeatRecord& r = m_seats[seat];
    return !r.connected || r.watching || r.timedout;
}

void TServer::scheduleBot(BotAction action) {
    m_timers.stop(HostTimer::Bot);
    m_botAction = action;
    m_timers.start(HostTimer::Bot, m_settings.botDelayMs());
}

void TServer::startPassDelay() {
    m_timers.stop(HostTimer::Pass);
    m_timer1Tag = 1;
    m_passdelay = kPassDelayTicks;
    m_timers.start(HostTimer::Pass, kClockTickMs);
}

void TServer::prepareOpening() {
    const int p = m_board.currentplayer;
    SeatRecord& r = m_seats[p];
    if (r.movesmade != 0) return;
    if (m_board.dice.die1 == m_board.dice.die2 || m_board.acey)
        r.movesmade = 10; // no book for doubles or Acey-Deucey: switch it off for this game
    else
        findopening(m_board.dice.die1, m_board.dice.die2);
}

void TServer::openTurn(int seat) {
    SeatRecord& r = m_seats[seat];
    r.timedout = false;
    r.turnopen = true;
    r.lastmove = {};
}

void TServer::startgame(const std::string& rest) {
    m_timers.stop(HostTimer::Bot);
    m_botAction = BotAction::None;
    m_board.aceypending = false;
    // A doubles choice that ended the last game must not hand the new one a second turn.
    m_anotherturn = false;
    m_openingpiece1 = m_openingpiece2 = 0;
    m_timers.stop(HostTimer::Pass);
    m_gamerunning = true;

    Fields f(rest);
    const std::string starter = f.text();
    const std::string seconds = f.text();
    const std::string aceyFlag = f.text();
    int turnSeconds = kDefaultTurnSeconds;
    m_turnseconds = toInt(seconds, turnSeconds) ? turnSeconds : kDefaultTurnSeconds;

    // A game restarted in the middle of another must not carry that game's turn over: nobody
    // may move, undo or run out of time before the opening throw.
    m_timers.stop(HostTimer::Turn);
    m_board.currentplayer = 0;
    m_board.clearForNewGame();
    for (int s = 1; s <= kPlayerSeats; ++s) {
        SeatRecord& r = m_seats[s];
        r.watching = false;
        r.startdie = 0;
        r.movesmade = 0;
        r.startpending = true;
        r.turnopen = false;
        r.lastmove = {};
    }
    m_board.acey = aceyFlag == "1";
    m_board.setpawnstobeginning();
    for (int p = 1; p <= kPlayerSeats; ++p)
        m_board.side[p].pips = m_board.configpips(p);

    sendToAll(msg::startgame(starter, seconds, aceyFlag));
    if (!m_seats[2].connected) pressstart(restOf(msg::pressstart(2)));
}

void TServer::pressstart(const std::string& rest) {
    Fields f(rest);
    const int seat = f.number();
    if (!m_gamerunning || seat < 1 || seat > kPlayerSeats || !m_seats[seat].startpending) return;
    m_seats[seat].startpending = false;
    m_seats[seat].startdie = m_random.random(kDieSides) + 1;
    if (m_seats[1].startpending || m_seats[2].startpending) return;

    const int d1 = m_seats[1].startdie;
    const int d2 = m_seats[2].startdie;
    m_board.currentplayer = d1 > d2 ? 1 : d2 > d1 ? 2 : m_random.random(2) + 1;
    // A tie is settled by lot, not re-thrown, and its equal dice still give two moves.
    m_board.dice = {d1, d2, 0, 0};
    // The opening throw opens the starter's turn like any other, only without the clock.
    openTurn(m_board.currentplayer);
    sendToAll(msg::empty());
    if (m_board.checkformoremoves(this)) {
        sendToAll(msg::firstroll(d1, d2, m_board.currentplayer, true));
        if (botDriven(m_board.currentplayer)) {
            prepareOpening();
            scheduleBot(BotAction::Move);
        }
    } else {
        sendToAll(msg::firstroll(d1, d2, m_board.currentplayer, false));
        startPassDelay();
    }
}

void TServer::rolldice(const std::string& rest) {
    Fields f(rest);
    const int seat = f.number();
    if (!isPlayer(seat) || seat != m_board.currentplayer || m_board.dice.die1 != kAwaitingRoll)
        return;
    m_board.aceypending = false;
    m_anotherturn = false;
    const int die1 = m_random.random(kDieSides) + 1;
    m_board.giveThrow(die1, m_random.random(kDieSides) + 1);
    if (m_board.checkformoremoves(this)) {
        sendToAll(msg::threwdice(seat, m_board.dice, true));
        if (botDriven(seat)) {
            prepareOpening();
            scheduleBot(BotAction::Move);
        }
    } else {
        sendToAll(msg::threwdice(seat, m_board.dice, false));
        startPassDelay();
    }
}

void TServer::mydoubles(const std::string& rest) {
    Fields f(rest);
    const int seat = f.number();
    const int value = f.number();
    if (!m_gamerunning || !isPlayer(seat) || seat != m_board.currentplayer ||
        !m_board.aceypending || !m_board.acey)
        return;
    // The choice is earned by playing the 1 and the 2 first.
    if (!m_board.checkforacey()) return;
    // Only a real die value can be played; anything else would stall the turn.
    if (!isDieValue(value)) return;
    m_board.aceypending = false;
    m_anotherturn = true;
    m_board.dice.setAll(value);
    if (m_board.checkformoremoves(this)) {
        sendToAll(msg::threwdice(seat, m_board.dice, true));
        if (botDriven(seat)) scheduleBot(BotAction::Move);
    } else {
        sendToAll(msg::threwdice(seat, m_board.dice, false));
        startPassDelay();
    }
}

void TServer::findplayer() {
    // A pass delay still running would pass the new turn on as well.
    m_timers.stop(HostTimer::Pass);
    if (!isPlayer(m_board.currentplayer)) return; // no game: nobody to hand the turn to
    m_board.dice.die1 = m_board.dice.die2 = kAwaitingRoll;
    if (!m_anotherturn) m_board.currentplayer = opponentOf(m_board.currentplayer);
    const int p = m_board.currentplayer;
    openTurn(p);
    sendToAll(msg::nextplayer(p));
    if (!m_seats[p].connected || m_seats[p].watching) scheduleBot(BotAction::Roll);
    m_turncountdown = m_turnseconds;
    m_timers.start(HostTimer::Turn, kClockTickMs);
}

} // namespace bg
