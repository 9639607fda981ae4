#pragma once
// The review of one game: every turn of its record judged by the analysis engine
// (playjudge.h), with the play made, the play the engine prefers, what the difference cost in
// winning chances and the mark it earns, and for each player the decisions, the average loss
// per decision, the blunders and the band of that average (reviewmarks.h).
//
// A review takes a fraction of a second per turn, so it is made a turn at a time and may be
// stopped between turns: a window runs it on a worker thread and shows the rows as they come.
//
//   GameReviewer reviewer(record);          // a copy of the record: the game may go on
//   while (!reviewer.done()) rows.push_back(reviewer.next());
//   Summary s = summaryOf(rows, 1);

#include "gamerecord.h"
#include "playjudge.h"

#include <array>
#include <string>
#include <vector>

namespace bg::review {

struct ReviewRow {
    int turn = 0; // 1 for the record's first turn
    int mover = 0;
    std::string throwText; // "31"
    std::string played;    // "13/9 24/23"
    std::string preferred; // the engine's play, the same text when it is the one made
    rec::Turn playedTurn, preferredTurn;
    rec::Position before; // the position the mover faced
    bool decision = false; // more than one way to play the throw
    bool lookedAhead = false; // judged after the next throw, not by the judgement alone
    double loss = 0;       // percent of winning chances given away, never negative
    std::string mark;      // "", "?!", "?", "??"
    // Each side's winning chances after the play, in percent (index 1 and 2).
    std::array<double, 3> chances{};
};

struct Summary {
    int decisions = 0;
    double totalLoss = 0; // percent, over the decisions
    int blunders = 0;
    double averageLoss() const { return decisions ? totalLoss / decisions : 0; }
    std::string band() const;
};

class GameReviewer {
  public:
    explicit GameReviewer(rec::GameRecord record);
    // The record's turns that can be reviewed: all of them, or those before the first step
    // the rules refuse (error() says which).
    int turns() const { return static_cast<int>(m_positions.size()) - 1; }
    int reviewed() const { return m_next; }
    bool done() const { return m_next >= turns(); }
    // Judges the next turn.
    ReviewRow next();
    const std::string& error() const { return m_error; }
    const rec::GameRecord& record() const { return m_record; }

  private:
    rec::GameRecord m_record;
    std::vector<rec::Position> m_positions;
    std::string m_error;
    int m_next = 0;
    PlayJudge m_judge;
};

// Every turn at once.
std::vector<ReviewRow> reviewGame(const rec::GameRecord& record);
Summary summaryOf(const std::vector<ReviewRow>& rows, int player);

} // namespace bg::review
