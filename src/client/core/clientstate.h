#pragma once
// ClientState: everything the main window knows about the game, without any widget.
//
// The window feeds it the bytes that arrive from the host (sockRead), lets it handle one queued
// message per timer tick (processsocktimer), and then copies view() onto its controls. All the
// decisions of the client live here: the client's copy of the position (pawns, boardgrid),
// the dice, whose turn it is, and where every checker, die, target and label belongs. What
// leaves the client (messages to the host, sounds, chat lines, the tally, message boxes) goes
// out through the ClientSink it was given, so the class runs the same in the window, in the
// tests and under the fuzzer.
//
// The host is trusted, as far as that is safe: every field is taken as it comes, but a message
// naming a point, level, piece, player or die that no array has room for is dropped whole
// before it changes anything. A field that is not a number ends its handler (FieldError), as
// any error inside a handler does; what that handler had already done stays.
//
// The client's position uses the host's point and level numbers with its own encoding of the
// bar and the home: a checker on the bar has point 0 (player 1) or 25 (player 2) and its bar
// entry as level; a borne-off checker has point -1 and level 0.

#include "board.h"
#include "boardgeometry.h"
#include "gamerecorder.h"
#include "protocol.h"

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace bg {

inline constexpr int kSeatCount = 2;
inline constexpr int kBorneOff = -1;
inline constexpr const char* kWaiting = "<Waiting>";
inline constexpr const char* kInitialPips = "Pips: 167";
inline constexpr const char* kAceyCaption = "ACEY DEUCY";
inline constexpr const char* kSoloName = "You";

// What leaves the client. Every hook does nothing by default.
class ClientSink {
  public:
    virtual ~ClientSink() = default;
    // Bytes for the game connection, terminators included.
    virtual void sendBytes(std::string_view) {}
    virtual void playSound(std::string_view) {}
    // A system line (style 0, system colour) for the chat view.
    virtual void addSystemLine(std::string_view) {}
    // "CMD_chat" and "CMD_action", with the text after the command word.
    virtual void chatReceived(std::string_view) {}
    // "CMD_playasound", with the text after the command word.
    virtual void playasound(std::string_view) {}
    // "Game is full": show the message box, then close the window.
    virtual void gameIsFull() {}
    // The host announced this client: read the settings file.
    virtual void loadSettings() {}
    // A finished game for the tally: "addtomine" when this client won, else the winner's name.
    virtual void addGame(std::string_view) {}
};

// One picture on the board panel.
struct Sprite {
    bool visible = false;
    int left = 0;
    int top = 0;
    friend bool operator==(const Sprite&, const Sprite&) = default;
};

// A checker picture; `layer` orders overlapping checkers (higher is in front).
struct CheckerSprite {
    int left = 0;
    int top = 0;
    int layer = 0;
    friend bool operator==(const CheckerSprite&, const CheckerSprite&) = default;
};

// A die picture remembers the value whose face it shows.
struct DieSprite : Sprite {
    int value = 0;
};

// A click target that carries a checker and a die value or target point.
struct Target : Sprite {
    int piece = 0;
    int value = 0;
};

// Everything the window shows, as plain values. Index 1 and 2 are the players or seats.
struct ClientView {
    std::array<std::array<CheckerSprite, kPieces + 1>, 3> checkers{};
    DieSprite dice1, dice2, double1, double2;
    Sprite cup, turnBar;
    bool cupAnimating = false;
    std::array<Target, 3> moveTargets{};                // moveit_1, moveit_2
    std::array<std::array<Target, 3>, 3> homeTargets{}; // image_home11 .. image_home22
    bool undoVisible = false;
    std::array<bool, 3> eyesVisible{};
    std::array<bool, 3> concedeVisible{};
    std::array<bool, 3> directionVisible{};
    bool winnerVisible = false;
    std::string winnerText;
    bool chooseVisible = false;
    bool chooseOpen = false; // opened for a choice; a click then sends it
    bool timerVisible = false;
    bool turntimerRunning = false;
    std::string status = "Welcome to Backgammon";
    std::string gameType = "GOOD LUCK!";
    std::array<std::string, 3> pips{"", kInitialPips, kInitialPips};
    std::array<std::string, 3> playerName{"", kWaiting, kWaiting};
    std::array<std::string, 3> playerHint{"", "", kBotName};
    std::array<bool, 3> playerNameVisible{false, true, true};
    bool startButtonVisible = false;
    bool startGameEnabled = false;
    bool justWatchChecked = false;
    bool spyKickEnabled = false;
    std::vector<std::string> spies; // entries "<number>: <name>" of the spectator list
};

class ClientState {
  public:
    explicit ClientState(ClientSink& sink);

    // --- connection, command line ---------------------------------------------------------
    // processparams step 1 and the solo/host/join decisions that need no socket.
    void beginParams();
    void setSolo(); // playername "You", 127.0.0.1
    void setMultiplayer(std::string_view name, std::string_view address);
    void hostpress(); // the state half of hosting: loginstring, hosting, start button
    void joinpress();

    // --- receiving -------------------------------------------------------------------------
    // Appends what the socket delivered and queues every complete message.
    void sockRead(std::string_view bytes);
    // Handles the oldest queued message, if any. Returns whether there was one.
    bool processsocktimer();
    // Handles one message now, bypassing the queue.
    void dispatch(std::string_view line);
    std::size_t queued() const { return m_receivedlist.size(); }

    // --- requests of the window --------------------------------------------------------------
    void kicking(int number);
    void setNewTurnSound(bool on) { m_newTurnSound = on; }
    bool newTurnSound() const { return m_newTurnSound; }

    // --- handlers (fields = the text after the command word's "+") ---------------------------
    void sendloginfo(const std::string& fields);
    void newplayerinfo(const std::string& fields);
    void playerdisconnected(const std::string& fields);
    void startthegame(const std::string& fields);
    void firstroll(const std::string& fields);
    void threwdice(const std::string& fields);
    void choosedouble(const std::string& fields);
    void movehispiece(const std::string& fields);
    void pounce(const std::string& fields);
    void gothome(const std::string& fields);
    void error(const std::string& fields);
    void nomoveoffbar(const std::string& fields);
    void getnextplayer(const std::string& fields);
    void thetime(const std::string& fields);
    void conceded(const std::string& fields);
    void winner(const std::string& fields);
    void justwatching(const std::string& fields);
    void loadboard(const std::string& fields);

    // --- display operations ------------------------------------------------------------------
    void clearall();
    void setpawnsbeginning();
    void setdice();
    void putpawnhome(int player, int piece);
    void setbar(int player, int piece, int level);
    void hideTargets();
    void placeDiceForTurn(int player);
    void showTurnBar(int player);

    // --- reading -------------------------------------------------------------------------------
    const ClientView& view() const { return m_view; }
    // The record of the current or last game, from the same messages.
    const rec::GameRecorder& recorder() const { return m_recorder; }
    ClientView& view() { return m_view; }
    const Pawn& pawn(int player, int piece) const { return m_pawns[player][piece]; }
    const Cell& grid(int point, int level) const { return m_boardgrid[point][level]; }
    const Dice& dice() const { return m_dice; }
    int myplayer() const { return m_myplayer; }
    bool loggedin() const { return m_loggedin; }
    bool hosting() const { return m_hosting; }
    int currentplayer() const { return m_currentplayer; }
    int seatcount() const { return m_seatcount; }
    bool acey() const { return m_acey; }
    char dicemark() const { return m_dicemark; }
    const std::string& playername() const { return m_playername; }
    const std::string& hostaddress() const { return m_hostaddress; }
    const std::string& loginstring() const { return m_loginstring; }
    bool isSeat(int n) const { return n >= 1 && n <= m_seatcount; }
    bool amSeatPlayer() const { return isPlayer(m_myplayer); }

  private:
    void addLine(std::string_view text) { m_sink.addSystemLine(text); }
    void sendMessage(std::string_view message);
    void playTurnSound();
    void setStatus(std::string_view text) { m_view.status = text; }
    void setPips(int player, int pips);
    void placeOnBoard(int player, int piece, int point, int level);
    void placeChecker(int player, int piece, int left, int top, int layer);
    void emptyCell(int point, int level);
    void showCupForThrow();
    void startOfTurnForMe();

    ClientSink& m_sink;
    ClientView m_view;
    rec::GameRecorder m_recorder;

    LineSplitter m_splitter;
    std::deque<std::string> m_receivedlist;

    int m_myplayer = 0;
    bool m_loggedin = false;
    bool m_hosting = false;
    std::string m_playername;
    std::string m_hostaddress;
    std::string m_loginstring;
    int m_currentplayer = 0;
    int m_seatcount = kSeatCount;
    bool m_newTurnSound = false;

    bool m_acey = false;
    char m_dicemark = 0; // 't' must throw, 'u' has thrown
    Dice m_dice;
    std::array<std::array<Pawn, kPieces + 1>, 3> m_pawns{};
    std::array<std::array<Cell, kLevels + 1>, kGridPoints> m_boardgrid{}; // [0..25][0..15]
};

} // namespace bg
