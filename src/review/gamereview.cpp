#include "gamereview.h"

#include "notation.h"
#include "plannedturn.h"
#include "reviewmarks.h"

namespace bg::review {

std::string Summary::band() const {
    return std::string(bandFor(averageLoss()));
}

GameReviewer::GameReviewer(rec::GameRecord record) : m_record(std::move(record)) {
    m_positions = rec::positionsOf(m_record, &m_error);
}

ReviewRow GameReviewer::next() {
    const std::size_t t = static_cast<std::size_t>(m_next++);
    const rec::Turn& turn = m_record.turns[t];
    ReviewRow row;
    row.turn = m_next;
    row.mover = turn.mover;
    row.throwText = rec::throwText(turn.die1, turn.die2);
    row.before = m_positions[t];
    row.playedTurn = turn;
    row.played = playText(turn);

    const Board before = rec::boardBefore(m_positions[t], m_record.acey, turn, rec::isOpening(m_record, t));
    Board after = rec::boardOf(m_positions[t + 1], m_record.acey);
    after.currentplayer = turn.mover;
    const PlayVerdict v = m_judge.judge(before, after, turn.chosenDouble != 0);
    row.decision = v.choice;
    row.lookedAhead = v.best.lookedAhead;
    if (v.playedIsBest) {
        row.preferredTurn = turn;
        row.preferred = row.played;
    } else {
        row.preferredTurn = turnOfPlan(before, v.best);
        row.preferred = playText(row.preferredTurn);
        row.loss = 100 * v.loss();
    }
    row.mark = markFor(row.loss);
    const double mine = 100 * v.playedValue;
    row.chances[turn.mover] = mine;
    row.chances[opponentOf(turn.mover)] = 100 - mine;
    return row;
}

std::vector<ReviewRow> reviewGame(const rec::GameRecord& record) {
    GameReviewer reviewer(record);
    std::vector<ReviewRow> rows;
    while (!reviewer.done())
        rows.push_back(reviewer.next());
    return rows;
}

Summary summaryOf(const std::vector<ReviewRow>& rows, int player) {
    Summary s;
    for (const ReviewRow& r : rows) {
        if (r.mover != player || !r.decision) continue;
        ++s.decisions;
        s.totalLoss += r.loss;
        if (isBlunder(r.loss)) ++s.blunders;
    }
    return s;
}

} // namespace bg::review
