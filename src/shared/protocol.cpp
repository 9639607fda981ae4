#include "protocol.h"

#include "board.h"

#include <charconv>
#include <climits>

namespace bg {

bool LineSplitter::feed(std::string_view bytes, std::vector<std::string>& out) {
    m_rest.append(bytes);
    std::size_t start = 0;
    for (std::size_t end; (end = m_rest.find(kTerminator, start)) != std::string::npos;
         start = end + 1)
        out.emplace_back(m_rest, start, end - start);
    m_rest.erase(0, start);
    return m_rest.size() <= kMaxPendingLine;
}

bool toInt(std::string_view text, int& value) {
    if (text.empty()) return false;
    std::size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    for (std::size_t k = i; k < text.size(); ++k)
        if (text[k] < '0' || text[k] > '9') return false;
    long long v = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), v);
    if (result.ec != std::errc{} || v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

int toIntOrThrow(std::string_view text) {
    int value = 0;
    if (!toInt(text, value))
        throw FieldError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

std::string fromInt(int value) {
    return std::to_string(value);
}

Command splitCommand(std::string_view line) {
    const std::size_t plus = line.find('+');
    if (plus == std::string_view::npos) return {};
    return {std::string(line.substr(0, plus)), std::string(line.substr(plus + 1))};
}

std::string restOf(std::string_view request) {
    return splitCommand(request).rest;
}

std::string Fields::text() {
    const std::size_t plus = m_rest.find('+');
    if (plus == std::string::npos) return {};
    std::string field = m_rest.substr(0, plus);
    m_rest.erase(0, plus + 1);
    return field;
}

int Fields::number() {
    return toIntOrThrow(text());
}

std::string frame(std::string_view message) {
    std::string out;
    out.reserve(message.size() + 1);
    out.append(message);
    out.push_back(kTerminator);
    return out;
}

namespace {

// Joins the command word and fields with "+"; `trailing` adds the final "+".
class Builder {
  public:
    explicit Builder(std::string_view word) {
        m_text.reserve(96);
        m_text.append(word);
    }
    Builder& operator<<(int v) {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
        return field(std::string_view(digits, static_cast<std::size_t>(end - digits)));
    }
    Builder& operator<<(std::string_view v) { return field(v); }
    Builder& operator<<(const char* v) { return field(v); }
    Builder& operator<<(const Dice& d) {
        return *this << d.die1 << d.die2 << d.double1 << d.double2;
    }
    std::string open() { return std::move(m_text); }         // no "+" after the last field
    std::string closed() { return std::move(m_text) + "+"; } // "+" after the last field

  private:
    Builder& field(std::string_view v) {
        m_text += '+';
        m_text += v;
        return *this;
    }
    std::string m_text;
};

const char* flag(bool b) {
    return b ? "t" : "f";
}

} // namespace

namespace msg {

std::string logininfo(int seat, std::string_view version, std::string_view name) {
    return (Builder("CMD_logininfo") << seat << version << name).open();
}
std::string kickhim(int seat, int victim) {
    return (Builder("CMD_kickhim") << seat << victim).closed();
}
std::string chat(int seat, std::string_view text, std::string_view colour) {
    return (Builder("CMD_chat") << seat << std::string(text) + "|" + std::string(colour)).open();
}
std::string action(int seat, std::string_view text, std::string_view colour) {
    return (Builder("CMD_action") << seat << std::string(text) + "|" + std::string(colour)).open();
}
std::string startgame(std::string_view starter, std::string_view seconds, std::string_view acey) {
    return (Builder("CMD_startgame") << starter << seconds << acey).closed();
}
std::string justwatch(int seat, int mode) {
    return (Builder("CMD_justwatch") << seat << mode).open();
}
std::string pressstart(int seat) {
    return (Builder("CMD_pressstart") << seat).closed();
}
std::string rolldice(int seat) {
    return (Builder("CMD_rolldice") << seat).closed();
}
std::string moveit(int seat, int piece, int to) {
    return (Builder("CMD_moveit") << seat << piece << to).closed();
}
std::string placehome(int seat, int piece, int die) {
    return (Builder("CMD_placehome") << seat << piece << die).closed();
}
std::string mydoubles(int seat, int value) {
    return (Builder("CMD_mydoubles") << seat << value).closed();
}
std::string concede(int seat) {
    return (Builder("CMD_concede") << seat).closed();
}
std::string undo(int seat) {
    return (Builder("CMD_undo") << seat).closed();
}
std::string playasound(int seat, int wave) {
    return (Builder("CMD_playasound") << seat << "wave" + std::to_string(wave)).closed();
}

std::string sendlogininfo(int seat) {
    return (Builder("CMD_sendlogininfo") << seat).open();
}
std::string full() {
    return Builder("CMD_full").closed();
}
std::string newplayerinfo(int seat, std::string_view name) {
    return (Builder("CMD_newplayerinfo") << seat << name).open();
}
std::string existingplayers(int seat, std::string_view name) {
    return (Builder("CMD_existingplayers") << seat << name).open();
}
std::string havewrongversion(std::string_view name) {
    return (Builder("CMD_havewrongversion") << name).open();
}
std::string wrongversion() {
    return Builder("CMD_wrongversion").closed();
}
std::string playerdisconnected(int seat, std::string_view name) {
    return (Builder("CMD_playerdisconnected") << seat << name).open();
}
std::string justwatching(int seat, int mode) {
    return (Builder("CMD_justwatching") << seat << mode).open();
}
std::string chatRelay(std::string_view seatField, std::string_view name, std::string_view rest) {
    return (Builder("CMD_chat") << seatField << std::string(name) + " chats: " + std::string(rest))
        .open();
}
std::string actionRelay(std::string_view seatField, std::string_view name, std::string_view rest) {
    return (Builder("CMD_action") << seatField << std::string(name) + " " + std::string(rest))
        .open();
}
std::string playasoundRelay(int seat, std::string_view rest) {
    return (Builder("CMD_playasound") << seat << rest).open();
}
std::string thetime(int kind) {
    return (Builder("CMD_thetime") << kind).closed();
}
std::string firstroll(int die1, int die2, int first, bool canMove) {
    return (Builder("CMD_firstroll") << die1 << die2 << first << flag(canMove)).closed();
}
std::string threwdice(int player, const Dice& dice, bool canMove) {
    return (Builder("CMD_threwdice") << player << dice << flag(canMove)).closed();
}
std::string nextplayer(int player) {
    return (Builder("CMD_nextplayer") << player).closed();
}
std::string choosedouble(int player) {
    return (Builder("CMD_choosedouble") << player).closed();
}

std::string movehispiece(const MoveReport& m, const Dice& dice, bool more) {
    return (Builder("CMD_movehispiece")
            << m.mover << m.next << dice << m.slot << m.pips << m.piece << m.fromPoint
            << m.fromLevel << m.toPoint << m.toLevel << flag(more))
        .closed();
}
std::string pounce(const MoveReport& m, const Dice& dice, int opponent, int hitPiece,
                   int opponentPips, int hitLevel, int barSlot) {
    return (Builder("CMD_pounce") << m.mover << m.next << dice << m.slot << m.pips << m.piece
                                  << m.fromPoint << m.fromLevel << m.toPoint << m.toLevel
                                  << opponent << hitPiece << opponentPips << hitLevel << barSlot)
        .closed();
}
Dice readDice(Fields& f) {
    Dice d;
    d.die1 = f.number();
    d.die2 = f.number();
    d.double1 = f.number();
    d.double2 = f.number();
    return d;
}

MoveReport readMoveReport(Fields& f, Dice& dice) {
    MoveReport m;
    m.mover = f.number();
    m.next = f.number();
    dice = readDice(f);
    m.slot = f.number();
    m.pips = f.number();
    m.piece = f.number();
    m.fromPoint = f.number();
    m.fromLevel = f.number();
    m.toPoint = f.number();
    m.toLevel = f.number();
    return m;
}

std::string gothome(int mover, int next, const Dice& dice, int slot, int piece, int homeCount,
                    int fromPoint, int fromLevel, int pips) {
    return (Builder("CMD_gothome") << mover << next << dice << slot << piece << homeCount
                                   << fromPoint << fromLevel << pips)
        .closed();
}
std::string error(int player, int code) {
    return (Builder("CMD_error") << player << code).closed();
}
std::string nomoveoffbar(int player) {
    return (Builder("CMD_nomoveoffbar") << player).closed();
}
std::string conceded(int player) {
    return (Builder("CMD_conceded") << player).closed();
}
std::string winner(std::string_view name) {
    return (Builder("CMD_winner") << name).closed();
}

std::string loadboard(int seat, const Board& board) {
    Builder b("CMD_loadboard");
    b << seat << board.currentplayer << board.gametype() << board.dice;
    for (int p = 1; p <= 2; ++p)
        for (int id = 1; id <= kPieces; ++id)
            b << p << id << board.side[p].pawns[id].point << board.side[p].pawns[id].level;
    for (int p = 1; p <= 2; ++p) {
        int k = 0;
        for (int i = 1; i <= kPieces; ++i)
            if (board.side[p].bar[i] != 0) b << p << board.side[p].bar[i] << kBarPoint << ++k;
    }
    return b.open();
}

std::string empty() {
    return {};
}

} // namespace msg
} // namespace bg
