#pragma once
// TallyRecords: the tally's grid of text cells and every change the tally window makes to it.
// Row 0 holds the player's own totals (column 1 games, column 2 wins); each further row one
// tallied opponent: the name, then games, the opponent's wins, own wins and games neither won,
// first in total (columns 1 to 4), then since the program started (columns 5 to 8).
//
// The window finds rows by the order of its list (row = list index + 1) and hands them in;
// this class only counts. fromText()/toText() carry the grid through the tally file.

#include "gridtext.h"

#include <string>
#include <string_view>
#include <vector>

namespace bg {

inline constexpr int kTallyColumns = 9;
inline constexpr const char* kTallyFileName = "Backgammontally.tld";
// What addgame is told when this player won.
inline constexpr std::string_view kOwnWin = "addtomine";
inline constexpr std::string_view kWaitingSeat = "<Waiting>";

namespace tallycol {
inline constexpr int name = 0, games = 1, hisWins = 2, myWins = 3, neither = 4;
inline constexpr int session = 4; // added to a total column gives its since-start column
// Row 0.
inline constexpr int totalGames = 1, ownWins = 2;
} // namespace tallycol

class TallyRecords {
  public:
    // One opponent of the finished game who is tallied: their row, and the name as shown.
    struct Present {
        int row;
        std::string name;
    };

    TallyRecords();

    // Replaces the records with the grid of a tally text; the since-start columns start at 0.
    // Throws GridTextError; the records are then as they were.
    void fromText(std::string_view text);
    std::string toText() const { return gridToText(m_grid); }

    const StringGrid& grid() const { return m_grid; }
    int opponentCount() const { return m_grid.rowCount() - 1; }
    const std::string& cell(int col, int row) const { return m_grid.cell(col, row); }

    // Appends a row for a newly tallied opponent, all figures 0.
    void addOpponent(const std::string& name);
    // Removes row k (>= 1); the rows below move up.
    void removeRow(int k);
    // Counts a finished game: `winner` is kOwnWin or the winner's name as shown.
    void addgame(std::string_view winner, const std::vector<Present>& present);
    // Every figure to 0, every opponent gone.
    void reset();

  private:
    void increment(int col, int row);
    StringGrid m_grid;
};

// The other players of the current game from the seats' name labels (seat 1 first): every seat
// but the player's own that someone holds (a name, not "<Waiting>").
std::vector<std::string> opponentsInGame(const std::vector<std::string>& seatNames, int myplayer);

} // namespace bg
