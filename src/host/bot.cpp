#include "bot.h"

#include "strongbot.h"

namespace bg {

namespace {
constexpr int kLimitedHitChance = 51; // a "Limited" bot hits when Random(100) reaches this
} // namespace

void BotPlayer::computerroll() {
    const int p = m_board.currentplayer;
    if (m_host.botDriven(p)) m_host.rolldice(restOf(msg::rolldice(p)));
}

void BotPlayer::computerdouble() {
    const int p = m_board.currentplayer;
    if (!m_host.botDriven(p)) return;
    const bool strong = m_host.m_settings.botAbility() == kAbilityStrong;
    m_host.mydoubles(
        restOf(msg::mydoubles(p, strong ? m_host.strongBot().chooseDouble(m_board) : kBotDouble)));
}

void BotPlayer::computerplay() {
    const int p = m_board.currentplayer;
    if (!m_host.botDriven(p)) return;
    // The strong ability plans the whole throw; whatever it cannot play falls to the families.
    if (m_host.m_settings.botAbility() == kAbilityStrong && m_host.strongBot().move(m_host)) return;
    const bool played = computeronbar(p) || computermovehome(p) || computerfirstmove(p) ||
                        (m_board.acey && computermoveout(p)) || computercanpounce(p) ||
                        computergethome(p) || computeroneonspotnotone(p) || computeroneonspot(p) ||
                        computermovenotinhomenotone(p) || computermovenotinhome(p) ||
                        computermove(p) || computernotoneleft(p) ||
                        computernotonetherenotoneleft(p);
    if (played && !m_rejected) return;
    // Nothing plays, or the host refused the proposal (a piece on the bar that cannot enter,
    // when the bot took over a turn with dice left): hand the turn on rather than leave it
    // hanging, unless the host already has.
    if (m_board.currentplayer == p && m_board.dice.die1 != kAwaitingRoll) m_host.findplayer();
}

// Both answer true once a proposal was made; whether the host took it is in m_rejected.
bool BotPlayer::move(int p, int piece, int to) {
    m_rejected = !m_host.moveit(restOf(msg::moveit(p, piece, to)));
    return true;
}

bool BotPlayer::bearOff(int p, int piece, int die) {
    m_rejected = !m_host.placehome(restOf(msg::placehome(p, piece, die)));
    return true;
}

template <typename Fits>
bool BotPlayer::firstFitting(int p, Order order, bool outsideHomeBoardOnly, Fits fits) {
    const int dieValues[2] = {m_board.dice.die1, m_board.dice.die2};
    for (int k = 0; k < kPieces; ++k) {
        const int piece = order == Order::Ascending ? k + 1 : kPieces - k;
        const int from = m_board.side[p].pawns[piece].point;
        if (from >= kPile2) continue;
        if (outsideHomeBoardOnly && inHomeBoard(p, from)) continue;
        for (int d : dieValues) {
            if (d == 0) continue;
            const int to = targetPoint(p, from, d);
            if (isBoardPoint(to) && fits(from, to)) return move(p, piece, to);
        }
    }
    return false;
}

bool BotPlayer::computeronbar(int p) {
    const int o = opponentOf(p);
    for (int i = 1; i <= kPieces; ++i) {
        const int piece = m_board.side[p].bar[i];
        if (piece == 0) continue;
        for (int d : {m_board.dice.die1, m_board.dice.die2}) {
            if (d == 0) continue;
            const int to = entryPoint(p, d);
            if (isBoardPoint(to) && count(o, to) < 2) return move(p, piece, to);
        }
    }
    return false;
}

bool BotPlayer::computermovehome(int p) {
    if (!m_board.checkforallhome(p)) return false;
    const Side& mine = m_board.side[p];
    for (int d : {m_board.dice.die1, m_board.dice.die2}) {
        if (d == 0) continue;
        for (int piece = 1; piece <= kPieces; ++piece) {
            const int from = mine.pawns[piece].point;
            if (isBoardPoint(from) && homeDistance(p, from) == d) return bearOff(p, piece, d);
        }
    }
    for (int d : {m_board.dice.die1, m_board.dice.die2}) {
        if (d == 0) continue;
        const int back = m_board.farthestBack(p);
        if (back && d > homeDistance(p, mine.pawns[back].point)) return bearOff(p, back, d);
    }
    return false;
}

bool BotPlayer::computerfirstmove(int p) {
    if (m_host.m_seats[p].movesmade > 1 || m_board.acey) return false;
    const int o = opponentOf(p);
    int* opening[2] = {&m_host.m_openingpiece1, &m_host.m_openingpiece2};
    const int dieValues[2] = {m_board.dice.die1, m_board.dice.die2};
    for (int i = 0; i < 2; ++i) {
        const int piece = *opening[i];
        if (dieValues[i] == 0 || !isPiece(piece)) continue;
        const int to = targetPoint(p, m_board.side[p].pawns[piece].point, dieValues[i]);
        if (!isBoardPoint(to) || count(o, to) >= 2) continue;
        *opening[i] = 0;
        return move(p, piece, to);
    }
    return false;
}

bool BotPlayer::computermoveout(int p) {
    const int o = opponentOf(p);
    const int pile = pilePoint(p);
    for (int piece = kPieces; piece >= 1; --piece) {
        if (m_board.side[p].pawns[piece].point != pile) continue;
        for (int d : {m_board.dice.die1, m_board.dice.die2}) {
            if (d == 0) continue;
            const int to = targetPoint(p, pile, d);
            if (!isBoardPoint(to)) continue;
            // Player 1 leaves its pile only to hit; player 2 whenever it may land.
            const bool fits = p == 1 ? count(o, to) == 1 : count(o, to) < 2;
            if (fits) return move(p, piece, to);
        }
    }
    return false;
}

bool BotPlayer::computercanpounce(int p) {
    if (!m_host.m_settings.botNotLimited() && m_host.m_random.random(100) < kLimitedHitChance)
        return false;
    const int o = opponentOf(p);
    return firstFitting(p, Order::Descending, false,
                        [&](int, int to) { return count(o, to) == 1; });
}

bool BotPlayer::computergethome(int p) {
    const int o = opponentOf(p);
    const bool noContact = p == 1 ? m_board.lowestpoint(1) >= m_board.highestpoint(o)
                                  : m_board.highestpoint(2) <= m_board.lowestpoint(o);
    if (!noContact) return false;
    return firstFitting(p, Order::Ascending, true, [&](int, int to) { return count(o, to) < 2; });
}

bool BotPlayer::computeroneonspotnotone(int p) {
    if (!m_host.m_settings.botNotLimited()) return false;
    return firstFitting(p, Order::Ascending, false,
                        [&](int from, int to) { return count(p, to) == 1 && count(p, from) != 2; });
}

bool BotPlayer::computeroneonspot(int p) {
    return firstFitting(p, Order::Ascending, false, [&](int, int to) { return count(p, to) == 1; });
}

bool BotPlayer::computermovenotinhomenotone(int p) {
    if (!m_host.m_settings.botNotLimited()) return false;
    const int o = opponentOf(p);
    return firstFitting(p, Order::Descending, true,
                        [&](int from, int to) { return count(o, to) < 2 && count(p, from) != 2; });
}

bool BotPlayer::computermovenotinhome(int p) {
    const int o = opponentOf(p);
    return firstFitting(p, Order::Descending, true, [&](int, int to) { return count(o, to) < 2; });
}

bool BotPlayer::computermove(int p) {
    const int o = opponentOf(p);
    return firstFitting(p, Order::Descending, false, [&](int, int to) { return count(o, to) < 2; });
}

bool BotPlayer::computernotoneleft(int p) {
    const int o = opponentOf(p);
    return firstFitting(p, Order::Ascending, false,
                        [&](int from, int to) { return count(o, to) < 2 && count(p, from) != 2; });
}

bool BotPlayer::computernotonetherenotoneleft(int p) {
    return firstFitting(p, Order::Ascending, false,
                        [&](int from, int to) { return count(p, to) >= 1 && count(p, from) != 2; });
}

} // namespace bg
