#include "tallyrecords.h"

#include <charconv>
#include <limits>

namespace bg {

namespace {

void fillRow(StringGrid& grid, int row, int fromCol, const std::string& text) {
    for (int c = fromCol; c < kTallyColumns; ++c)
        grid.setCell(c, row, text);
}

} // namespace

TallyRecords::TallyRecords() : m_grid(kTallyColumns, 1) {
    fillRow(m_grid, 0, 0, "0");
}

void TallyRecords::fromText(std::string_view text) {
    StringGrid grid = gridFromText(text);
    // A narrower grid still gets every column the counting needs.
    if (grid.colCount() < kTallyColumns) grid.setColCount(kTallyColumns);
    for (int r = 1; r < grid.rowCount(); ++r)
        for (int c = tallycol::games; c <= tallycol::neither; ++c)
            grid.setCell(c + tallycol::session, r, "0");
    m_grid = std::move(grid);
}

void TallyRecords::addOpponent(const std::string& name) {
    const int row = m_grid.rowCount();
    m_grid.setRowCount(row + 1);
    m_grid.setCell(tallycol::name, row, name);
    fillRow(m_grid, row, 1, "0");
}

void TallyRecords::removeRow(int k) {
    const int rows = m_grid.rowCount();
    if (k < 1 || k >= rows) return;
    for (int r = k; r + 1 < rows; ++r)
        for (int c = 0; c < m_grid.colCount(); ++c)
            m_grid.setCell(c, r, m_grid.cell(c, r + 1));
    m_grid.setRowCount(rows - 1);
}

void TallyRecords::addgame(std::string_view winner, const std::vector<Present>& present) {
    increment(tallycol::totalGames, 0);
    if (winner == kOwnWin) increment(tallycol::ownWins, 0);
    for (const Present& p : present) {
        if (p.row < 1 || p.row >= m_grid.rowCount()) continue;
        for (int c = 1; c < kTallyColumns; ++c)
            if (m_grid.cell(c, p.row).empty()) m_grid.setCell(c, p.row, "0");
        const int outcome = p.name == winner    ? tallycol::hisWins
                            : winner == kOwnWin ? tallycol::myWins
                                                : tallycol::neither;
        for (int c : {tallycol::games, outcome}) {
            increment(c, p.row);
            increment(c + tallycol::session, p.row);
        }
    }
}

void TallyRecords::reset() {
    m_grid = StringGrid(kTallyColumns, 1);
    fillRow(m_grid, 0, 0, "0");
}

// A cell that does not hold a number, or holds the largest one (only a hand-edited file has
// either), is left as it is.
void TallyRecords::increment(int col, int row) {
    const std::string& text = m_grid.cell(col, row);
    long long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return;
    if (value == std::numeric_limits<long long>::max()) return;
    m_grid.setCell(col, row, std::to_string(value + 1));
}

std::vector<std::string> opponentsInGame(const std::vector<std::string>& seatNames, int myplayer) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < seatNames.size(); ++i)
        if (static_cast<int>(i) + 1 != myplayer && !seatNames[i].empty() &&
            seatNames[i] != kWaitingSeat)
            names.push_back(seatNames[i]);
    return names;
}

} // namespace bg
