#include "gridtext.h"

#include <algorithm>
#include <charconv>

namespace bg {

namespace {

const std::string kEmpty;
constexpr std::string_view kLineEnd = "\r\n";

// Cuts the text into lines at LF, dropping a CR before it; a last line needs no ending.
class Lines {
  public:
    explicit Lines(std::string_view text) : m_rest(text) {}
    bool atEnd() const { return m_rest.empty(); }
    std::size_t countLeft() const {
        std::size_t n = 0;
        for (char c : m_rest)
            n += c == '\n';
        return n + (!m_rest.empty() && m_rest.back() != '\n');
    }
    std::string_view next() {
        const std::size_t lf = m_rest.find('\n');
        std::string_view line = m_rest.substr(0, lf);
        m_rest.remove_prefix(lf == std::string_view::npos ? m_rest.size() : lf + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    }

  private:
    std::string_view m_rest;
};

int readCount(Lines& lines) {
    if (lines.atEnd()) throw GridTextError("Tally text: the grid size is missing");
    const std::string_view line = lines.next();
    int value = 0;
    const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (ec != std::errc() || end != line.data() + line.size())
        throw GridTextError("'" + std::string(line) + "' is not a valid integer value");
    return value;
}

} // namespace

StringGrid::StringGrid(int colCount, int rowCount)
    : m_cols(std::max(colCount, 1)),
      m_cells(static_cast<std::size_t>(m_cols) * static_cast<std::size_t>(std::max(rowCount, 1))) {}

const std::string& StringGrid::cell(int col, int row) const {
    return inside(col, row) ? m_cells[static_cast<std::size_t>(row * m_cols + col)] : kEmpty;
}

void StringGrid::setCell(int col, int row, std::string text) {
    if (inside(col, row)) m_cells[static_cast<std::size_t>(row * m_cols + col)] = std::move(text);
}

void StringGrid::setRowCount(int rows) {
    m_cells.resize(static_cast<std::size_t>(m_cols) * static_cast<std::size_t>(std::max(rows, 1)));
}

void StringGrid::setColCount(int cols) {
    cols = std::max(cols, 1);
    if (cols == m_cols) return;
    const int rows = rowCount();
    std::vector<std::string> cells(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < std::min(cols, m_cols); ++c)
            cells[static_cast<std::size_t>(r * cols + c)] =
                std::move(m_cells[static_cast<std::size_t>(r * m_cols + c)]);
    m_cols = cols;
    m_cells = std::move(cells);
}

std::string gridToText(const StringGrid& grid) {
    std::string text;
    text += std::to_string(grid.colCount());
    text += kLineEnd;
    text += std::to_string(grid.rowCount());
    text += kLineEnd;
    for (int c = 0; c < grid.colCount(); ++c)
        for (int r = 0; r < grid.rowCount(); ++r) {
            text += grid.cell(c, r);
            text += kLineEnd;
        }
    return text;
}

StringGrid gridFromText(std::string_view text) {
    Lines lines(text);
    const int cols = readCount(lines);
    const int rows = readCount(lines);
    if (cols < 1 || rows < 1)
        throw GridTextError("Tally text: a grid of " + std::to_string(cols) + " columns and " +
                            std::to_string(rows) + " rows is not valid");
    // Checked before anything is allocated: the text must hold every cell.
    const auto cells =
        static_cast<unsigned long long>(cols) * static_cast<unsigned long long>(rows);
    if (cells > lines.countLeft())
        throw GridTextError("Tally text: the text ends before the last cell");
    StringGrid grid(cols, rows);
    for (int c = 0; c < cols; ++c)
        for (int r = 0; r < rows; ++r)
            grid.setCell(c, r, std::string(lines.next()));
    return grid;
}

} // namespace bg
