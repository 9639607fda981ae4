#include "board.h"

namespace bg {

bool Side::barEmpty() const {
    for (int i = 1; i <= kPieces; ++i)
        if (bar[i] != 0) return false;
    return true;
}

bool Side::onBar(int piece) const {
    for (int i = 1; i <= kPieces; ++i)
        if (bar[i] == piece) return piece != 0;
    return false;
}

int Side::addToBar(int piece) {
    for (int i = 1; i <= kPieces; ++i)
        if (bar[i] == 0) {
            bar[i] = piece;
            return i;
        }
    return 0;
}

bool Side::removeFromBar(int piece) {
    bool found = false;
    for (int i = 1; i <= kPieces; ++i)
        if (bar[i] == piece && piece != 0) {
            bar[i] = 0;
            found = true;
        }
    return found;
}

int Board::checkfornoneonspot(int point) const {
    if (!isGridPoint(point)) return 0;
    int n = 0;
    while (n < kLevels && !boardgrid[point][n + 1].empty())
        ++n;
    return n;
}

bool Board::checkforonbar(int player, int piece) const {
    if (!isPlayer(player)) return false;
    const Side& s = side[player];
    return !s.barEmpty() && !s.onBar(piece);
}

bool Board::checkforallhome(int player) const {
    if (!isPlayer(player)) return false;
    const Side& s = side[player];
    if (!s.barEmpty()) return false;
    for (int id = 1; id <= kPieces; ++id) {
        const int point = s.pawns[id].point;
        if (point < 26 && !inHomeBoard(player, point)) return false;
    }
    return true;
}

bool Board::checkforexact(int point, int player, int dieIndex) const {
    return homeDistance(player, point) == dice.die(dieIndex);
}

bool Board::checkforCANexactly(int player, int dieIndex) const {
    if (!isPlayer(player)) return false;
    const int d = dice.die(dieIndex);
    if (d == 0) return false;
    for (int id = 1; id <= kPieces; ++id) {
        const int point = side[player].pawns[id].point;
        if (isBoardPoint(point) && homeDistance(player, point) == d) return true;
    }
    return false;
}

int Board::farthestBack(int player) const {
    if (!isPlayer(player)) return 0;
    int best = 0;
    int bestDistance = -1;
    for (int id = 1; id <= kPieces; ++id) {
        const int point = side[player].pawns[id].point;
        if (!isBoardPoint(point)) continue;
        const int distance = homeDistance(player, point);
        if (distance > bestDistance) {
            bestDistance = distance;
            best = id;
        }
    }
    return best;
}

bool Board::checkforhighest(int point, int player) const {
    const int id = farthestBack(player);
    return id != 0 && side[player].pawns[id].point == point;
}

bool Board::checkforacey() const {
    return acey && aceypending && dice.die1 + dice.die2 == 0;
}

bool Board::checkformoremoves(BoardListener* listener) {
    if (dice.die1 == 0 && dice.die2 == 0) {
        dice.setAll(0);
        return false;
    }
    return checkforopenspot(listener);
}

bool Board::openFor(int player, int t) const {
    const Cell& bottom = boardgrid[t][1];
    return bottom.empty() || bottom.player == player ||
           checkfornumonspot(opponentOf(player), t) == 1;
}

bool Board::checkforopenspot(BoardListener* listener) const {
    const int p = currentplayer;
    if (!isPlayer(p)) return false;
    const int o = opponentOf(p);
    const Side& s = side[p];
    const int dieValues[2] = {dice.die1, dice.die2};

    if (!s.barEmpty()) {
        for (int d : dieValues) {
            if (d == 0) continue;
            const int e = entryPoint(p, d);
            if (isBoardPoint(e) && checkfornumonspot(o, e) < 2) return true;
        }
        if (listener) listener->nomoveoffbar(p);
        return false;
    }

    if (checkforallhome(p)) {
        if (checkforCANexactly(p, 1) || checkforCANexactly(p, 2)) return true;
        const int back = farthestBack(p);
        if (back == 0) return false;
        const int from = s.pawns[back].point;
        for (int d : dieValues) {
            if (d == 0) continue;
            const int t = targetPoint(p, from, d);
            if (t > kLastPoint || t < 0) return true;
            if (isBoardPoint(t) && openFor(p, t)) return true;
        }
        return false;
    }

    for (int id = 1; id <= kPieces; ++id) {
        const int from = s.pawns[id].point;
        if (from == homePoint(p) || !isGridPoint(from)) continue;
        for (int d : dieValues) {
            if (d == 0) continue;
            const int t = targetPoint(p, from, d);
            if (isBoardPoint(t) && openFor(p, t)) return true;
        }
    }
    return false;
}

int Board::configpips(int player) const {
    if (!isPlayer(player)) return 0;
    const Side& s = side[player];
    int pips = 0;
    for (int id = 1; id <= kPieces; ++id) {
        const int point = s.pawns[id].point;
        if (isBoardPoint(point)) pips += homeDistance(player, point);
    }
    // A piece on the bar still has its old point in `pawns`: top it up to a full 25.
    for (int i = 1; i <= kPieces; ++i) {
        const int id = s.bar[i];
        if (!isPiece(id)) continue;
        const int point = s.pawns[id].point;
        pips += player == 1 ? point : 25 - point;
    }
    return pips;
}

void Board::setpawnstobeginning() {
    for (int p = 1; p <= 2; ++p) {
        auto place = [&](int id, int point, int level) {
            side[p].pawns[id] = {point, level};
            boardgrid[point][level] = {p, id};
        };
        if (acey) {
            for (int id = 1; id <= kPieces; ++id)
                place(id, pilePoint(p), id);
            continue;
        }
        for (const StartGroup& g : kNormalStart)
            for (int id = g.first; id <= g.last; ++id)
                place(id, p == 1 ? g.point : mirrorPoint(g.point), id - g.first + 1);
    }
}

int Board::topPieceOn(int player, int point) const {
    if (!isPlayer(player)) return 0;
    int best = 0;
    int bestLevel = 0;
    for (int id = 1; id <= kPieces; ++id) {
        const Pawn& pawn = side[player].pawns[id];
        if (pawn.point == point && pawn.level > bestLevel) {
            bestLevel = pawn.level;
            best = id;
        }
    }
    return best;
}

int Board::lowestFreeLevel(int point) const {
    if (!isGridPoint(point)) return 0;
    for (int level = 1; level <= kLevels; ++level)
        if (boardgrid[point][level].empty()) return level;
    return 0;
}

int Board::lowestpoint(int player) const {
    int best = 0;
    for (int id = 1; id <= kPieces; ++id) {
        const int point = side[player].pawns[id].point;
        if (isBoardPoint(point) && (best == 0 || point < best)) best = point;
    }
    return best;
}

int Board::highestpoint(int player) const {
    int best = 0;
    for (int id = 1; id <= kPieces; ++id) {
        const int point = side[player].pawns[id].point;
        if (isBoardPoint(point) && point > best) best = point;
    }
    return best;
}

void Board::clearForNewGame() {
    for (int p = 1; p <= 2; ++p)
        side[p] = Side{};
    // The start piles are cleared too: a finished Acey-Deucey game may leave pieces there, and
    // they would otherwise linger as ghosts in a following normal game.
    for (auto& point : boardgrid)
        point = {};
}

std::string Board::validate() const {
    auto where = [](int p, int id) {
        return "player " + std::to_string(p) + " piece " + std::to_string(id) + ": ";
    };
    for (int p = 1; p <= 2; ++p) {
        const Side& s = side[p];
        int home = 0;
        for (int id = 1; id <= kPieces; ++id) {
            int barEntries = 0;
            for (int i = 1; i <= kPieces; ++i)
                if (s.bar[i] == id) ++barEntries;
            const Pawn& pawn = s.pawns[id];
            if (barEntries > 1) return where(p, id) + "on the bar twice";
            if (pawn.point == homePoint(p)) {
                if (barEntries) return where(p, id) + "home and on the bar";
                if (pawn.level != 0) return where(p, id) + "home with a level";
                ++home;
                continue;
            }
            if (!isGridPoint(pawn.point) || pawn.level < 1 || pawn.level > kLevels)
                return where(p, id) + "nowhere";
            const bool inGrid = boardgrid[pawn.point][pawn.level] == Cell{p, id};
            if (barEntries && inGrid) return where(p, id) + "on the bar and on a point";
            if (!barEntries && !inGrid) return where(p, id) + "missing from the grid";
        }
        if (home != s.homecount) return "player " + std::to_string(p) + ": wrong home count";
        if (s.pips != configpips(p)) return "player " + std::to_string(p) + ": wrong pips";
    }
    for (int point = 0; point < kGridPoints; ++point) {
        bool gap = false;
        int owner = 0;
        for (int level = 1; level <= kLevels; ++level) {
            const Cell& c = boardgrid[point][level];
            auto at = [&](const char* what) {
                return "point " + std::to_string(point) + " level " + std::to_string(level) + ": " +
                       what;
            };
            if (c.empty()) {
                gap = true;
                continue;
            }
            if (gap) return at("stack has a hole");
            if (!isPlayer(c.player) || !isPiece(c.piece)) return at("bad cell");
            if (owner && owner != c.player) return at("two players on one point");
            owner = c.player;
            const Pawn& pawn = side[c.player].pawns[c.piece];
            if (pawn.point != point || pawn.level != level || side[c.player].onBar(c.piece))
                return at("grid and pieces disagree");
        }
    }
    return {};
}

} // namespace bg
