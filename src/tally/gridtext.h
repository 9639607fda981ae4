#pragma once
// A grid of text cells and its text form, as the tally file holds it once unpacked: the column
// count, the row count, then column by column every cell from the first row to the last, one
// line each, every line ended by CR LF.
//
// gridFromText() refuses text that does not describe a whole grid (a count that is not a
// number, a size of zero, fewer lines than cells) with a GridTextError; whatever the input, the
// grid it builds is never larger than the text could describe.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace bg {

class StringGrid {
  public:
    StringGrid(int colCount = 1, int rowCount = 1);

    int colCount() const { return m_cols; }
    int rowCount() const { return static_cast<int>(m_cells.size()) / m_cols; }
    // Cells outside the grid read as empty; writing them does nothing.
    const std::string& cell(int col, int row) const;
    void setCell(int col, int row, std::string text);
    // Growing adds empty rows or columns; shrinking drops the last ones (never below one).
    void setRowCount(int rows);
    void setColCount(int cols);

  private:
    bool inside(int col, int row) const {
        return col >= 0 && col < m_cols && row >= 0 && row < rowCount();
    }
    int m_cols;
    std::vector<std::string> m_cells; // row by row
};

class GridTextError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

std::string gridToText(const StringGrid& grid);
StringGrid gridFromText(std::string_view text);

} // namespace bg
