#pragma once
// The host's bot: plays a seat that has no person, whose player only watches, or whose
// player ran out of time.
//
// It never looks ahead. Each firing of the bot timer makes one action through the host's own
// rule handlers, with the same text a client would send, so its moves are checked and
// announced like anybody's. To pick a move it tries a fixed series of move families, and the
// first family that finds a piece and die playing them wins:
//   enter from the bar; bear off (exactly, else from the back); follow the opening book;
//   leave the start pile (Acey-Deucey); hit a lone opposing piece (sometimes skipped when
//   "Limited"); race home once the armies have passed each other; land on a point holding one
//   own piece; then ever less choosy landings anywhere not held by two opposing pieces.
// When nothing plays, it passes the turn. After an Acey-Deucey 1-2 it always takes doubles 5.
// With the "Strong" ability the whole throw is planned instead (strongbot.h); the families
// remain its fallback.

#include "tserver.h"

namespace bg {

class BotPlayer {
  public:
    explicit BotPlayer(TServer& host) : m_host(host), m_board(host.m_board) {}

    void computerroll();
    void computerdouble();
    void computerplay();

    // The move families: each makes at most one move for player p and says whether it did.
    bool computeronbar(int p);
    bool computermovehome(int p);
    bool computerfirstmove(int p);
    bool computermoveout(int p);
    bool computercanpounce(int p);
    bool computergethome(int p);
    bool computeroneonspotnotone(int p);
    bool computeroneonspot(int p);
    bool computermovenotinhomenotone(int p);
    bool computermovenotinhome(int p);
    bool computermove(int p);
    bool computernotoneleft(int p);
    bool computernotonetherenotoneleft(int p);

  private:
    enum class Order { Ascending, Descending };
    // Plays the first piece and usable die (die 1 first) passing `fits(piece, from, to)`,
    // among pieces below point 25 (optionally only those outside the home board).
    template <typename Fits>
    bool firstFitting(int p, Order order, bool outsideHomeBoardOnly, Fits fits);
    bool move(int p, int piece, int to);
    bool bearOff(int p, int piece, int die);
    int count(int player, int point) const { return m_board.checkfornumonspot(player, point); }

    TServer& m_host;
    const Board& m_board;
    bool m_rejected = false;
};

} // namespace bg
