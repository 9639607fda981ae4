// Moves, hits and bearing off: the host is the only judge of a move.

#include "tserver.h"

namespace bg {

namespace {
constexpr int kErrorInvalidMove = 1;
constexpr int kErrorNotAllHome = 2;
constexpr int kErrorOffTheBarFirst = 4;
constexpr int kErrorExactFirst = 5;
constexpr int kErrorHighestFirst = 6;
} // namespace

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

TServer::Sequel TServer::sequel() {
    if (m_board.checkforacey()) return Sequel::ChooseDouble;
    if (m_board.checkformoremoves(this)) return Sequel::MoreMoves;
    return Sequel::TurnOver;
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
    int piece = f.number();
    const int to = f.number();
    if (!isPiece(piece)) return false;
    if (m_board.checkforonbar(seat, piece)) {
        sendError(seat, kErrorOffTheBarFirst);
        return false;
    }
    if (!isBoardPoint(to)) {
        sendError(seat, kErrorInvalidMove);
        return false;
    }

    Side& mine = m_board.side[seat];
    const bool fromBar = mine.onBar(piece);
    int from = pilePoint(seat);
    int fromLevel = 0;
    if (!fromBar) {
        from = mine.pawns[piece].point;
        if (from == homePoint(seat) || !isGridPoint(from)) {
            sendError(seat, kErrorInvalidMove);
            return false;
        }
        // Pieces leave from the top of their stack, whichever one was named.
        piece = m_board.topPieceOn(seat, from);
        fromLevel = mine.pawns[piece].level;
    }

    const int distance = moveDistance(seat, from, to);
    Dice& dice = m_board.dice;
    int slot = 0;
    if (dice.die1 == distance) slot = 1;
    if (dice.die2 == distance) slot = 2; // with equal dice the second is used first
    if (slot == 0 || dice.die(slot) == 0) {
        sendError(seat, kErrorInvalidMove);
        return false;
    }
    const int dieValue = dice.die(slot);

    m_seats[seat].lastmove = {};
    const int o = m_seats[seat].opponent;
    const int occupants = m_board.checkfornumonspot(o, to);
    if (occupants >= 2) {
        m_outbox.hostChat("Error in Movement");
        sendError(seat, kErrorInvalidMove);
        // An absent player's bot must not try the same blocked move forever.
        if (!m_seats[seat].connected || m_seats[seat].watching) findplayer();
        return false;
    }

    msg::MoveReport report{seat, 0, slot, 0, piece, from, fromLevel, to, 0};
    int hitPiece = 0, hitLevel = 0, barSlot = 0;
    if (occupants == 1) {
        for (int level = 1; level <= kLevels; ++level)
            if (m_board.boardgrid[to][level].player == o) {
                hitLevel = level;
                hitPiece = m_board.boardgrid[to][level].piece;
                m_board.boardgrid[to][level] = {};
                break;
            }
        barSlot = m_board.side[o].addToBar(hitPiece);
        mine.removeFromBar(piece);
        report.toLevel = 1;
    } else {
        report.toLevel = m_board.lowestFreeLevel(to);
        mine.removeFromBar(piece);
        // Entries from the bar cannot be taken back; entries from an Acey-Deucey pile can.
        if (!fromBar) m_seats[seat].lastmove = {piece, from, to, dieValue};
    }
    m_board.boardgrid[to][report.toLevel] = {seat, piece};
    if (!fromBar) m_board.boardgrid[from][fromLevel] = {};
    mine.pawns[piece] = {to, report.toLevel};
    dice.consume(slot);
    mine.pips = m_board.configpips(seat);
    if (hitPiece) m_board.side[o].pips = m_board.configpips(o);
    ++m_seats[seat].movesmade;
    report.pips = mine.pips;

    const Sequel next = sequel();
    report.next = next == Sequel::MoreMoves ? m_board.currentplayer : 0;
    if (hitPiece)
        sendToAll(msg::pounce(report, dice, o, hitPiece, m_board.side[o].pips, hitLevel, barSlot));
    else
        sendToAll(msg::movehispiece(report, dice, next != Sequel::TurnOver));
    continueTurn(seat, next);
    return true;
}

bool TServer::placehome(const std::string& rest) {
    Fields f(rest);
    const int seat = moverOnTurn(f);
    if (!seat) return false;
    int piece = f.number();
    const int value = f.number();
    if (!isPiece(piece)) return false;
    if (!m_board.checkforallhome(seat)) {
        sendError(seat, kErrorNotAllHome);
        return false;
    }
    Dice& dice = m_board.dice;
    const int slot = value == dice.die1 ? 1 : value == dice.die2 ? 2 : 0;
    if (slot == 0) {
        sendError(seat, kErrorInvalidMove);
        return false;
    }

    Side& mine = m_board.side[seat];
    const int from = mine.pawns[piece].point;
    if (const int top = m_board.topPieceOn(seat, from)) piece = top;
    const int fromLevel = mine.pawns[piece].level;
    const int distance = homeDistance(seat, from);
    if (!m_board.checkforexact(from, seat, slot)) {
        if (m_board.checkforCANexactly(seat, slot)) {
            sendError(seat, kErrorExactFirst);
            return false;
        }
        if (!m_board.checkforhighest(from, seat)) {
            sendError(seat, kErrorHighestFirst);
            return false;
        }
    }
    if (distance <= 0 || distance > dice.die(slot) || !isBoardPoint(from)) {
        sendError(seat, kErrorInvalidMove);
        return false;
    }

    ++mine.homecount;
    m_board.boardgrid[from][fromLevel] = {};
    mine.pawns[piece] = {homePoint(seat), 0};
    mine.pips = m_board.configpips(seat);
    dice.consume(slot);
    m_seats[seat].lastmove = {};

    if (mine.homecount == kPieces) {
        sendToAll(
            msg::gothome(seat, 0, dice, slot, piece, mine.homecount, from, fromLevel, mine.pips));
        checkforwin(seat);
        return true;
    }
    const Sequel next = sequel();
    const int turnField = next == Sequel::TurnOver ? 0 : m_board.currentplayer;
    sendToAll(msg::gothome(seat, turnField, dice, slot, piece, mine.homecount, from, fromLevel,
                           mine.pips));
    continueTurn(seat, next);
    return true;
}

} // namespace bg
