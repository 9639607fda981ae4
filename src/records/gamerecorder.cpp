#include "gamerecorder.h"

#include "protocol.h"

#include <vector>

namespace bg::rec {

namespace {

std::string withoutTrailingPlus(std::string_view text) {
    if (!text.empty() && text.back() == '+') text.remove_suffix(1);
    return std::string(text);
}

bool isLevel(int v) {
    return v >= 0 && v <= kLevels;
}

} // namespace

std::string GameRecorder::seatName(int seat) const {
    if (!m_seatNames[seat].empty()) return m_seatNames[seat];
    return seat == 2 ? std::string(kBotName) : "Player " + std::to_string(seat);
}

const Turn* GameRecorder::lastPlay() const {
    if (!m_hasGame || m_turnOpen || m_record.turns.empty()) return nullptr;
    return &m_record.turns.back();
}

void GameRecorder::feed(std::string_view message) {
    const Command cmd = splitCommand(message);
    const std::string& word = cmd.word;
    try {
        Fields f(cmd.rest);
        if (word == "CMD_newplayerinfo" || word == "CMD_existingplayers") {
            const int seat = f.number();
            if (seat == 1 || seat == 2) m_seatNames[seat] = f.remaining();
        } else if (word == "CMD_playerdisconnected") {
            const int seat = f.number();
            if (seat == 1 || seat == 2) m_seatNames[seat].clear();
        } else if (word == "CMD_startgame") {
            startGame(cmd.rest);
        } else if (!m_running && word != "CMD_loadboard") {
            return;
        } else if (word == "CMD_firstroll") {
            const int d1 = f.number();
            const int d2 = f.number();
            const int starter = f.number();
            if (isDieValue(d1) && isDieValue(d2) && isPlayer(starter)) openTurn(starter, d1, d2);
        } else if (word == "CMD_nextplayer") {
            const int player = f.number();
            if (!isPlayer(player)) return;
            m_turnOpen = false;
            m_awaitThrow = true;
            m_foldIntoStart = false;
            ++m_revision;
        } else if (word == "CMD_threwdice") {
            const int player = f.number();
            const Dice d = msg::readDice(f);
            if (!isPlayer(player) || !isDieValue(d.die1) || !isDieValue(d.die2)) return;
            if (m_awaitThrow) {
                openTurn(player, d.die1, d.die2);
                return;
            }
            // Without a turn passed on, a throw is the double chosen after a 1-2.
            if (m_foldIntoStart || m_record.turns.empty()) return;
            Turn& t = m_record.turns.back();
            if (t.mover == player && m_record.acey && !t.chosenDouble && d.die1 == d.die2 &&
                t.die1 + t.die2 == 3 && !t.doubles()) {
                t.chosenDouble = d.die1;
                t.stepsBeforeDouble = t.steps.size();
                ++m_revision;
            }
        } else if (word == "CMD_movehispiece" || word == "CMD_pounce") {
            Dice d;
            const msg::MoveReport m = msg::readMoveReport(f, d);
            if (!isPlayer(m.mover) || !isPiece(m.piece) || !isGridPoint(m.fromPoint) ||
                !isGridPoint(m.toPoint) || !isLevel(m.fromLevel))
                return;
            if (moveDistance(m.mover, m.fromPoint, m.toPoint) < 0) {
                if (word == "CMD_movehispiece") undo(m.mover);
                return;
            }
            if (!isBoardPoint(m.toPoint)) return;
            Step s;
            s.piece = m.piece;
            s.to = m.toPoint;
            s.hit = word == "CMD_pounce";
            if (m.fromPoint == pilePoint(m.mover))
                s.origin = m.fromLevel == 0 ? Origin::Bar : Origin::Pile;
            else if (isBoardPoint(m.fromPoint))
                s.from = m.fromPoint;
            else
                return;
            step(m.mover, s);
        } else if (word == "CMD_gothome") {
            const int mover = f.number();
            f.number(); // next
            msg::readDice(f);
            f.number(); // die used
            const int piece = f.number();
            f.number(); // home count
            const int from = f.number();
            if (!isPlayer(mover) || !isPiece(piece) || !isBoardPoint(from)) return;
            step(mover, Step{Origin::Point, from, kOff, false, piece});
        } else if (word == "CMD_winner") {
            winner(withoutTrailingPlus(cmd.rest));
        } else if (word == "CMD_conceded") {
            const int seat = f.number();
            if (!isPlayer(seat) || !m_hasGame) return;
            m_record.concededBy = seat;
            if (!m_record.winner) m_record.winner = opponentOf(seat);
            m_running = false;
            ++m_revision;
        } else if (word == "CMD_loadboard") {
            loadBoard(cmd.rest);
        }
    } catch (const FieldError&) {
        // A field that is no number: the message tells the record nothing.
    }
}

void GameRecorder::startGame(std::string_view fields) {
    // starter+seconds+acey+ : the starter's name may hold "+", so the flag is read from the right.
    const std::string rest = withoutTrailingPlus(fields);
    const std::size_t plus = rest.rfind('+');
    const std::string aceyFlag = plus == std::string::npos ? rest : rest.substr(plus + 1);
    m_record = GameRecord{};
    m_record.acey = aceyFlag == "1";
    for (int p = 1; p <= 2; ++p)
        m_record.names[p] = seatName(p);
    m_record.start = Position::start(m_record.acey);
    m_position = m_record.start;
    m_hasGame = m_running = true;
    m_turnOpen = m_awaitThrow = m_foldIntoStart = false;
    ++m_revision;
}

void GameRecorder::openTurn(int mover, int die1, int die2) {
    Turn t;
    t.mover = mover;
    t.die1 = die1;
    t.die2 = die2;
    m_record.turns.push_back(std::move(t));
    m_turnOpen = true;
    m_awaitThrow = false;
    m_foldIntoStart = false;
    ++m_revision;
}

void GameRecorder::step(int mover, const Step& s) {
    SideCount& mine = m_position.side[mover];
    SideCount& theirs = m_position.side[opponentOf(mover)];
    switch (s.origin) {
    case Origin::Bar:
        if (mine.bar) --mine.bar;
        break;
    case Origin::Pile:
        if (mine.pile) --mine.pile;
        break;
    case Origin::Point:
        if (mine.point[s.from]) --mine.point[s.from];
        break;
    }
    if (s.to == kOff) {
        ++mine.off;
    } else {
        if (s.hit && theirs.point[s.to]) {
            --theirs.point[s.to];
            ++theirs.bar;
        }
        ++mine.point[s.to];
    }
    ++m_revision;
    if (m_foldIntoStart) {
        m_record.start = m_position;
        return;
    }
    if (m_record.turns.empty() || m_record.turns.back().mover != mover) return;
    m_record.turns.back().steps.push_back(s);
}

void GameRecorder::undo(int mover) {
    if (m_record.turns.empty()) return;
    Turn& t = m_record.turns.back();
    if (t.mover != mover || t.steps.empty() || m_foldIntoStart) return;
    const Step s = t.steps.back();
    // The host takes back only a plain step of this turn, never a hit or an entry from the bar.
    if (s.hit || s.to == kOff || s.origin == Origin::Bar) return;
    t.steps.pop_back();
    SideCount& mine = m_position.side[mover];
    if (mine.point[s.to]) --mine.point[s.to];
    if (s.origin == Origin::Pile)
        ++mine.pile;
    else if (s.origin == Origin::Point)
        ++mine.point[s.from];
    else
        ++mine.bar;
    ++m_revision;
}

void GameRecorder::winner(std::string_view name) {
    if (!m_hasGame || m_record.winner) return;
    int seat = 0;
    const bool first = m_record.names[1] == name;
    const bool second = m_record.names[2] == name;
    if (first != second) seat = first ? 1 : 2;
    // Two players of one name, or a name this copy never heard: the one with every checker off.
    if (!seat)
        for (int p = 1; p <= 2; ++p)
            if (m_position.side[p].off == kPieces) seat = p;
    if (!seat) return;
    m_record.winner = seat;
    if (m_position.side[seat].off < kPieces) m_record.concededBy = opponentOf(seat);
    m_running = false;
    m_turnOpen = false;
    ++m_revision;
}

void GameRecorder::loadBoard(std::string_view fields) {
    // seat+current+type+dice(4) then player+piece+point+level for every checker, the last
    // without a "+" after it. The seat is this copy's own: nobody else is sent it.
    std::vector<std::string> parts;
    for (std::size_t start = 0;;) {
        const std::size_t plus = fields.find('+', start);
        parts.emplace_back(
            fields.substr(start, plus == std::string_view::npos ? plus : plus - start));
        if (plus == std::string_view::npos) break;
        start = plus + 1;
    }
    if (!parts.empty() && parts.back().empty()) parts.pop_back();
    if (parts.size() < 7 || (parts.size() - 7) % 4 != 0) return;
    std::vector<int> n(parts.size(), 0);
    for (std::size_t i = 0; i < parts.size(); ++i)
        if (i != 2 && !toInt(parts[i], n[i])) return;
    const int current = n[1];
    const bool acey = parts[2] == "acey";
    const int die1 = n[3];

    std::array<std::array<int, kPieces + 1>, 3> where{}; // the last point listed per piece
    std::array<std::array<bool, kPieces + 1>, 3> onBar{};
    for (std::size_t i = 7; i < parts.size(); i += 4) {
        const int player = n[i], piece = n[i + 1], point = n[i + 2];
        if (!isPlayer(player) || !isPiece(piece)) return;
        if (point == kBarPoint)
            onBar[player][piece] = true;
        else
            where[player][piece] = point;
    }
    Position pos;
    for (int p = 1; p <= 2; ++p)
        for (int id = 1; id <= kPieces; ++id) {
            SideCount& c = pos.side[p];
            const int point = where[p][id];
            if (onBar[p][id])
                ++c.bar;
            else if (isBoardPoint(point))
                ++c.point[point];
            else if (point == homePoint(p))
                ++c.off;
            else if (point == pilePoint(p))
                ++c.pile;
        }
    m_record = GameRecord{};
    m_record.acey = acey;
    for (int p = 1; p <= 2; ++p)
        m_record.names[p] = seatName(p);
    m_record.start = pos;
    m_record.joinedMidGame = true;
    m_position = pos;
    m_hasGame = m_running = true;
    m_turnOpen = false;
    m_awaitThrow = die1 == kAwaitingRoll || !isPlayer(current);
    m_foldIntoStart = !m_awaitThrow;
    ++m_revision;
}

} // namespace bg::rec
