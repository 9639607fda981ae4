#pragma once
// Builds the record of the game from the host's messages alone, in every copy: a player's, a
// spectator's, a test's. It is fed each message as it arrives (without its terminator) and
// keeps the last game until the next one starts.
//
// What the messages tell: CMD_startgame opens a game, CMD_firstroll and CMD_threwdice open a
// turn (a throw that comes without CMD_nextplayer before it is the double chosen after an
// Acey-Deucey 1-2), the piece messages are its steps, a CMD_movehispiece that goes backwards
// is an undo and takes the last step away, CMD_winner and CMD_conceded end the game. A copy
// that joins during a game is sent CMD_loadboard: the record starts at that board, and the
// steps of a turn already under way go into that start.
//
// Messages that do not fit (a field that is no number, a point no board has) change nothing.

#include "gamerecord.h"

#include <array>
#include <string>
#include <string_view>

namespace bg::rec {

class GameRecorder {
  public:
    void feed(std::string_view message);

    bool hasGame() const { return m_hasGame; }
    const GameRecord& record() const { return m_record; }
    // The checkers as they stand now.
    const Position& position() const { return m_position; }
    // The last whole play, from the end of its turn until the next throw; null otherwise.
    const Turn* lastPlay() const;
    // Grows with every change of the record, so a window can tell when to redraw.
    unsigned revision() const { return m_revision; }

  private:
    void startGame(std::string_view fields);
    void openTurn(int mover, int die1, int die2);
    void step(int mover, const Step& s);
    void undo(int mover);
    void winner(std::string_view name);
    void loadBoard(std::string_view fields);
    std::string seatName(int seat) const;

    std::array<std::string, 3> m_seatNames{"", "", ""};
    bool m_hasGame = false;
    bool m_running = false;
    GameRecord m_record;
    Position m_position;
    bool m_turnOpen = false;      // a throw came and its turn has not been passed on
    bool m_awaitThrow = false;    // CMD_nextplayer came: the next throw opens a turn
    bool m_foldIntoStart = false; // joined during a turn: its steps change the start
    unsigned m_revision = 0;
};

} // namespace bg::rec
