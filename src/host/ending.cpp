// Taking back a move, conceding, and the end of a game.

#include "tserver.h"

namespace bg {

void TServer::undo(const std::string& rest) {
    Fields f(rest);
    const int seat = f.number();
    if (!m_gamerunning || !isPlayer(seat) || seat != m_board.currentplayer) return;
    SeatRecord& r = m_seats[seat];
    if (r.lastmove.empty()) return;
    const LastMove last = r.lastmove;
    r.lastmove = {};

    Side& mine = m_board.side[seat];
    const int returnLevel = m_board.lowestFreeLevel(last.from);
    int piece = m_board.topPieceOn(seat, last.to);
    int level = piece ? mine.pawns[piece].level : 0;
    if (level <= 1) {
        piece = last.piece;
        level = 1;
    }
    m_board.boardgrid[last.to][level] = {};
    m_board.boardgrid[last.from][returnLevel] = {seat, piece};
    mine.pawns[piece] = {last.from, returnLevel};

    Dice& d = m_board.dice;
    int slot = 0;
    if (d.die1 == 0) {
        d.die1 = last.die;
        slot = 1;
    } else if (d.die2 == 0) {
        d.die2 = last.die;
        slot = 2;
    } else if (d.double1 == 0) {
        d.double1 = last.die;
        slot = 3;
    } else if (d.double2 == 0) {
        d.double2 = last.die;
        slot = 3;
    } else {
        m_outbox.hostMessageBox("error");
    }
    mine.pips = m_board.configpips(seat);
    const msg::MoveReport report{
        seat,       m_board.currentplayer, slot, mine.pips, piece, last.to, level, last.from,
        returnLevel};
    sendToAll(msg::movehispiece(report, d, false));
}

void TServer::concede(const std::string& rest) {
    Fields f(rest);
    const int seat = f.number();
    if (!m_gamerunning || !isPlayer(seat)) return;
    checkforwin(m_seats[seat].opponent);
    sendToAll(msg::conceded(seat));
}

void TServer::checkforwin(int player) {
    m_gamerunning = false;
    m_timers.stop(HostTimer::Turn);
    m_timers.stop(HostTimer::Bot);
    m_board.currentplayer = 0;
    if (!isPlayer(player)) return;
    const SeatRecord& r = m_seats[player];
    sendToAll(msg::winner(r.name.empty() ? r.botname : r.name));
}

std::string TServer::validate() const {
    if (!m_gamerunning && m_board.side[1].pawns[1].point == 0 &&
        m_board.side[1].pawns[1].level == 0)
        return {}; // no game has been set up yet
    return m_board.validate();
}

} // namespace bg
