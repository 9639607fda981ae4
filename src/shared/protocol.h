#pragma once
// The wire format between host and clients, written down once.
//
// A message is a command word and fields joined by "+":  CMD_<word>+<field>+<field>...
// On the wire every message ends with the byte 0xFF; there is no other framing.
// Some messages end their field list with a "+" (CMD_rolldice+2+), others do not
// (CMD_newplayerinfo+2+Guest): the builders below produce each exactly, and that trailing
// "+" is part of the message. Free text that may hold "+" (names, chat) is always last.
//
// Receiving: bytes go into a per-connection LineSplitter, which hands out each complete
// message when its 0xFF arrives and keeps the rest for the next read. A line is dispatched by
// cutting the command word at the first "+"; the handler then cuts its fields one by one with
// Fields. Numeric fields convert like the standard text-to-integer conversion; a field that
// does not convert throws FieldError, which ends that one handler and nothing else.
//
// No other file concatenates a message: every message of the protocol has its builder here.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bg {

struct Board;
struct Dice;

inline constexpr char kTerminator = '\xFF';
inline constexpr int kDefaultPort = 7772;
inline constexpr const char* kVersion = "1.0.4";
inline constexpr const char* kBotName = "Zobo"; // the bot's name in the seat table
inline constexpr const char* kLoopback = "127.0.0.1";
// A connection may not hold more than this much unterminated text.
inline constexpr std::size_t kMaxPendingLine = 64 * 1024;

// Cuts a byte stream into messages at every 0xFF.
class LineSplitter {
  public:
    // Appends `bytes` and moves every complete message to `out`, in order. Returns false when
    // the unterminated rest has grown beyond kMaxPendingLine: the peer should be dropped.
    bool feed(std::string_view bytes, std::vector<std::string>& out);
    void clear() { m_rest.clear(); }
    const std::string& rest() const { return m_rest; }

  private:
    std::string m_rest;
};

// A numeric field that did not convert, or a field that is missing.
class FieldError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Standard text-to-integer conversion: an optional "-", decimal digits, within 32 bits.
// Anything else ("", "12a", " 1", "+3", "0x10") fails.
bool toInt(std::string_view text, int& value);
int toIntOrThrow(std::string_view text);
std::string fromInt(int value);

// Splits a line into command word and rest at the first "+". A line without "+" has an
// empty command word.
struct Command {
    std::string word;
    std::string rest;
};
Command splitCommand(std::string_view line);
// What a request carries after its command word, as the host's handlers take it: the host's
// own timers and the bot hand their requests, built like a client's, to those handlers.
std::string restOf(std::string_view request);

// Cuts fields off the front of a message's rest, one "+" at a time. Without any "+" left the
// field is empty and the rest stays as it is.
class Fields {
  public:
    explicit Fields(std::string rest) : m_rest(std::move(rest)) {}
    std::string text();
    int number(); // throws FieldError
    // Everything not yet cut: the free-text last field.
    const std::string& remaining() const { return m_rest; }

  private:
    std::string m_rest;
};

// Appends the terminator.
std::string frame(std::string_view message);

namespace msg {

// ---- client to host --------------------------------------------------------------------
std::string logininfo(int seat, std::string_view version, std::string_view name);
std::string kickhim(int seat, int victim);
std::string chat(int seat, std::string_view text, std::string_view colour);
std::string action(int seat, std::string_view text, std::string_view colour);
std::string startgame(std::string_view starter, std::string_view seconds, std::string_view acey);
std::string justwatch(int seat, int mode); // 1 = only watch, 2 = play again
std::string pressstart(int seat);
std::string rolldice(int seat);
std::string moveit(int seat, int piece, int to);
std::string placehome(int seat, int piece, int die);
std::string mydoubles(int seat, int value);
std::string concede(int seat);
std::string undo(int seat);
std::string playasound(int seat, int wave);

// ---- host to clients -------------------------------------------------------------------
std::string sendlogininfo(int seat);
std::string full();
std::string newplayerinfo(int seat, std::string_view name);
std::string existingplayers(int seat, std::string_view name);
std::string havewrongversion(std::string_view name);
std::string wrongversion();
std::string playerdisconnected(int seat, std::string_view name);
std::string justwatching(int seat, int mode);
// Relays keep the sender's seat field and the rest as they arrived.
std::string chatRelay(std::string_view seatField, std::string_view name, std::string_view rest);
std::string actionRelay(std::string_view seatField, std::string_view name, std::string_view rest);
std::string playasoundRelay(int seat, std::string_view rest);
std::string thetime(int kind); // 1 = fifteen seconds left, 2 = time is up
std::string firstroll(int die1, int die2, int first, bool canMove);
std::string threwdice(int player, const Dice& dice, bool canMove);
std::string nextplayer(int player);
std::string choosedouble(int player);

// The fields every piece-moving message shares.
struct MoveReport {
    int mover = 0;
    int next = 0; // currentplayer while the turn goes on, else 0
    int slot = 0; // die used (1, 2) or, for an undo, where the value went back (1, 2, 3)
    int pips = 0;
    int piece = 0;
    int fromPoint = 0;
    int fromLevel = 0;
    int toPoint = 0;
    int toLevel = 0;
};
std::string movehispiece(const MoveReport& m, const Dice& dice, bool more);
std::string pounce(const MoveReport& m, const Dice& dice, int opponent, int hitPiece,
                   int opponentPips, int hitLevel, int barSlot);
// Reading back what the builders above write: the dice state, and the leading fields of
// CMD_movehispiece and CMD_pounce (mover, next, dice, slot, pips, piece, from, to).
Dice readDice(Fields& f);
MoveReport readMoveReport(Fields& f, Dice& dice);
std::string gothome(int mover, int next, const Dice& dice, int slot, int piece, int homeCount,
                    int fromPoint, int fromLevel, int pips);
std::string error(int player, int code);
std::string nomoveoffbar(int player);
std::string conceded(int player);
std::string winner(std::string_view name);
std::string loadboard(int seat, const Board& board);
// The empty message sent to everybody right before the opening throw.
std::string empty();

} // namespace msg
} // namespace bg
