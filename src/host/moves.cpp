// Moves, hits and bearing off: the host is the only judge of a move.

#include "moverules.h"
#include "tserver.h"

namespace bg {

void TServer::sendError(int seat, int code) {
    sendTo(seat, msg::error(seat, code));
}

int TServer::moverOnTurn(Fields& f) {
    const int seat = f.number();
    if (!m_gamerunning || !isPlayer(seat) || seat != m_board.currentplayer ||
        m_board.dice.die1 == kAwaitingRoll)
        return 0;
    return seat;
}

Sequel TServer::sequel() {
    return sequelOf(m_board, this);
}

void TServer::continueTurn(int seat, Sequel next) {
    switch (next) {
    case Sequel::ChooseDouble:
        sendTo(seat, msg::choosedouble(seat));
        if (botDriven(m_board.currentplayer)) scheduleBot(BotAction::Double);
        break;
    case Sequel::MoreMoves:
        if (botDriven(m_board.currentplayer)) scheduleBot(BotAction::Move);
        break;
    case Sequel::TurnOver:
        m_seats[seat].turnopen = false;
        startPassDelay();
        break;
    }
}

bool TServer::moveit(const std::string& rest) {
    Fields f(rest);
    const int seat = moverOnTurn(f);
    if (!seat) return false;
    const int named = f.number();
    const int to = f.number();
    if (!isPiece(named)) return false;
    const MoveCheck check = checkMove(m_board, seat, named, to);
    if (check.error && !check.blocked) {
        sendError(seat, check.error);
        return false;
    }
    // From here on the previous move can no longer be taken back, even when this one fails.
    m_seats[seat].lastmove = {};
    if (check.blocked) {
        m_outbox.hostChat("Error in Movement");
        sendError(seat, check.error);
        // An absent player's bot must not try the same blocked move forever.
        if (!m_seats[seat].connected || m_seats[seat].watching) findplayer();
        return false;
    }

    const int o = m_seats[seat].opponent;
    const MoveOutcome out = applyMove(m_board, seat, check, to);
    // Entries from the bar and hits cannot be taken back; entries from an Acey-Deucey pile can.
    if (!out.hitPiece && !check.fromBar)
        m_seats[seat].lastmove = {check.piece, check.from, to, check.dieValue};
    ++m_seats[seat].movesmade;

    msg::MoveReport report{seat,        0,          check.slot,      m_board.side[seat].pips,
                           check.piece, check.from, check.fromLevel, to,
                           out.toLevel};
    const Sequel next = sequel();
    report.next = next == Sequel::MoreMoves ? m_board.currentplayer : 0;
    const Dice& dice = m_board.dice;
    if (out.hitPiece)
        sendToAll(msg::pounce(report, dice, o, out.hitPiece, m_board.side[o].pips, out.hitLevel,
                              out.barSlot));
    else
        sendToAll(msg::movehispiece(report, dice, next != Sequel::TurnOver));
    continueTurn(seat, next);
    return true;
}

bool TServer::placehome(const std::string& rest) {
    Fields f(rest);
    const int seat = moverOnTurn(f);
    if (!seat) return false;
    const int named = f.number();
    const int value = f.number();
    if (!isPiece(named)) return false;
    const BearOffCheck check = checkBearOff(m_board, seat, named, value);
    if (check.error) {
        sendError(seat, check.error);
        return false;
    }

    applyBearOff(m_board, seat, check);
    m_seats[seat].lastmove = {};
    const Side& mine = m_board.side[seat];
    const Dice& dice = m_board.dice;
    if (mine.homecount == kPieces) {
        sendToAll(msg::gothome(seat, 0, dice, check.slot, check.piece, mine.homecount, check.from,
                               check.fromLevel, mine.pips));
        checkforwin(seat);
        return true;
    }
    const Sequel next = sequel();
    const int turnField = next == Sequel::TurnOver ? 0 : m_board.currentplayer;
    sendToAll(msg::gothome(seat, turnField, dice, check.slot, check.piece, mine.homecount,
                           check.from, check.fromLevel, mine.pips));
    continueTurn(seat, next);
    return true;
}

} // namespace bg
