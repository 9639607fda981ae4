#pragma once
// TServer: the authority of a game, without any toolkit.
//
// It owns the seat table (connections 1..9, index 10 for a connection being refused), the
// receive queue, the board and the three game timers, and it plays absent seats with its bot.
// The world drives it through a few entry points:
//   Sock1Accept        a connection waits: pick its seat (or refuse it) and greet it;
//   Sock1Read          bytes arrived on a seat's connection;
//   tempsockDisconnect the peer of a seat closed its side;
//   tempsockInfo       a seat's socket reports an info text ("Socket Closed" = departure);
//   socktimerTimer     every 10 ms: handle one queued request, the connections taking turns;
//   timerFired         one of the game timers (turn clock, pass delay, bot) fired.
// It answers only through the Outbox, Timers and Random seams it was given.
//
// Requests carry the sender's seat in their first field. The host also knows which
// connection delivered each line and drops a request that names a seat other than its own,
// so a spectator cannot act for a player. The bot calls the handlers directly, as kInternal.

#include "board.h"
#include "moverules.h"
#include "protocol.h"
#include "seams.h"

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <string>

namespace bg {

inline constexpr int kMaxSeats = 9;
inline constexpr int kRefusedSeat = 10;
inline constexpr int kPlayerSeats = 2;
inline constexpr int kHostSeat = 1;
inline constexpr int kInternal = 0; // origin of requests the host makes itself
inline constexpr int kDefaultTurnSeconds = 120;
inline constexpr int kTurnWarningSeconds = 15;
inline constexpr int kClockTickMs = 1000;
inline constexpr int kPassDelayTicks = 2;
inline constexpr int kDispatchIntervalMs = 10;
inline constexpr int kBotDouble = 5;
// A connection with more lines than this waiting to be handled is closed: at one line per
// tick nobody can need more, and its backlog must not hold up or outgrow the others.
inline constexpr std::size_t kMaxWaitingLines = 1000;

enum class BotAction { None = 0, Move = 1, Roll = 2, Double = 3 };

struct LastMove {
    int32_t piece = 0;
    int32_t from = 0;
    int32_t to = 0;
    int32_t die = 0;
    bool empty() const { return piece == 0; }
};

// One seat: the connection fields and the per-player game fields. The pieces themselves live
// in the board (Board::side) so that a position stays one copyable value.
struct SeatRecord {
    std::string name;
    bool connected = false;
    bool watching = false;
    std::string botname;
    int32_t opponent = 0;
    bool startpending = false;
    int32_t movesmade = 0;
    int32_t startdie = 0;
    bool timedout = false;
    bool turnopen = false;
    LastMove lastmove;
    LineSplitter buffer;             // unterminated rest of this connection's bytes
    std::deque<std::string> waiting; // this connection's complete lines, oldest first
};

class StrongBot;

class TServer : private BoardListener {
  public:
    TServer(Outbox& outbox, Timers& timers, Random& random, const BotSettings& settings);
    ~TServer() override;
    TServer(const TServer&) = delete;
    TServer& operator=(const TServer&) = delete;

    // --- connections ------------------------------------------------------------------
    // Places a waiting connection. `bind(seat)` is called first so the world can attach the
    // connection to that seat index before anything is sent to it. Returns the seat, or
    // kRefusedSeat when the game was full (the connection got "CMD_full+" and was closed).
    int Sock1Accept(const std::function<void(int seat)>& bind);
    void Sock1Read(int seat, std::string_view bytes);
    void tempsockDisconnect(int seat);
    void tempsockInfo(int seat, std::string_view msg);

    // --- queue and timers -------------------------------------------------------------
    void socktimerTimer();
    bool hasQueuedLines() const { return !m_ready.empty(); }
    void timerFired(HostTimer timer);

    // --- request handlers (rest = the text after the command word's "+") ---------------
    void dispatch(std::string_view line, int origin);
    void receivedlogininfo(const std::string& rest);
    void kickhim(const std::string& rest);
    void chat(const std::string& rest);
    void action(const std::string& rest);
    void playasound(const std::string& rest);
    void justwatch(const std::string& rest, int origin);
    void startgame(const std::string& rest);
    void pressstart(const std::string& rest);
    void rolldice(const std::string& rest);
    void mydoubles(const std::string& rest);
    // Both answer whether the move was accepted (the bot needs to know).
    bool moveit(const std::string& rest);
    bool placehome(const std::string& rest);
    void concede(const std::string& rest);
    void undo(const std::string& rest);

    // --- game flow used by handlers, timers and the bot ----------------------------------
    void findplayer();
    void findopening(int die1, int die2);
    void checkforwin(int player);
    void disconnectsock(int seat);
    // A windowed host's seat 1 is its own window, which never leaves while the program runs;
    // a headless host has no window, and its seat 1 is a remote player like seat 2.
    void setHostSeatIsLocal(bool local) { m_hostSeatIsLocal = local; }

    // --- read access for the shell, tests and benchmarks --------------------------------
    const Board& board() const { return m_board; }
    const SeatRecord& seat(int s) const { return m_seats[s]; }
    int seatsused() const { return m_seatsused; }
    bool gamerunning() const { return m_gamerunning; }
    int turnseconds() const { return m_turnseconds; }
    bool anotherturn() const { return m_anotherturn; }
    int openingpiece(int i) const { return i == 1 ? m_openingpiece1 : m_openingpiece2; }
    BotAction pendingBotAction() const { return m_botAction; }
    int turncountdown() const { return m_turncountdown; }
    // The Strong ability of this host: its planner and the plan it is playing.
    StrongBot& strongBot();
    // Direct access for tests and tools that set up positions.
    Board& mutableBoard() { return m_board; }
    SeatRecord& mutableSeat(int s) { return m_seats[s]; }
    // Every invariant of the position, plus the host's own counters; empty when consistent.
    std::string validate() const;
    // Debug builds stop at once when a request or timer left the position inconsistent.
    void assertConsistent() const;

  private:
    friend class BotPlayer;

    void sendTo(int seat, std::string_view message);
    void sendToAll(std::string_view message);
    void sendToOthers(int seat, std::string_view message);
    void nomoveoffbar(int player) override;

    bool ownSeatRequired(std::string_view word) const;
    void letGameGoOn(int seat, bool exceptHostSeat);
    bool botDriven(int seat) const;
    void scheduleBot(BotAction action);
    void startPassDelay();
    void prepareOpening();
    void openTurn(int seat);
    void sendError(int seat, int code);
    // The seat of a move request when it may move now (game on, its turn, dice thrown), else 0.
    int moverOnTurn(Fields& f);
    // After a move or bear-off: must a double be chosen, does the turn go on, or is it over?
    // Asking may itself announce that a piece on the bar cannot enter.
    Sequel sequel();
    // Acts on the sequel once the move has been announced.
    void continueTurn(int seat, Sequel next);

    void turntimeTimer();
    void timer1Timer();
    void computertimerTimer();

    Outbox& m_outbox;
    Timers& m_timers;
    Random& m_random;
    const BotSettings& m_settings;

    std::array<SeatRecord, kRefusedSeat + 1> m_seats{};
    // The receive queue is one queue per connection; the seats with lines waiting take turns
    // in the order they got their first line, so single lines are handled in order of arrival
    // and a flood from one connection delays each other connection by one tick at most.
    std::deque<int> m_ready;
    void dropWaiting(int seat);
    int m_seatsused = 0;
    bool m_hostSeatIsLocal = true;

    Board m_board;
    bool m_gamerunning = false;
    int m_turnseconds = kDefaultTurnSeconds;
    bool m_anotherturn = false;
    int m_openingpiece1 = 0;
    int m_openingpiece2 = 0;

    int m_turncountdown = 0;
    int m_passdelay = 0;
    int m_timer1Tag = 0;
    BotAction m_botAction = BotAction::None;
    std::unique_ptr<StrongBot> m_strong; // made when the ability first acts
};

} // namespace bg
