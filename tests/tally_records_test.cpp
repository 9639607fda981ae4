// The tally's grid text and its records: the text form line by line, refusals of broken text,
// and the counting, removing and resetting the tally window does.

#include "gridtext.h"
#include "tallyrecords.h"

#include <gtest/gtest.h>

using namespace bg;

namespace {

std::string lines(std::initializer_list<const char*> list) {
    std::string s;
    for (const char* l : list)
        s += std::string(l) + "\r\n";
    return s;
}

std::string errorOf(std::string_view text) {
    try {
        gridFromText(text);
    } catch (const GridTextError& e) {
        return e.what();
    }
    return "no error";
}

std::vector<std::string> row(const TallyRecords& t, int r) {
    std::vector<std::string> cells;
    for (int c = 0; c < kTallyColumns; ++c)
        cells.push_back(t.cell(c, r));
    return cells;
}

} // namespace

TEST(GridText, OneOpponentIsTwentyLinesColumnByColumn) {
    TallyRecords t;
    t.addOpponent("Zobo");
    t.addgame("Zobo", {{1, "Zobo"}});
    EXPECT_EQ(t.toText(), lines({"9", "2", "0", "Zobo", "1", "1", "0", "1", "0", "0",
                                 "0", "0", "0", "1",    "0", "1", "0", "0", "0", "0"}));
}

TEST(GridText, ReadsWhatItWritesIncludingEmptyCells) {
    StringGrid g(3, 2);
    g.setCell(0, 0, "a");
    g.setCell(2, 1, "last");
    const StringGrid back = gridFromText(gridToText(g));
    ASSERT_EQ(back.colCount(), 3);
    ASSERT_EQ(back.rowCount(), 2);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 2; ++r)
            EXPECT_EQ(back.cell(c, r), g.cell(c, r));
    // Bare LF endings and a last line without an ending read the same.
    EXPECT_EQ(gridFromText("1\n2\nx\ny").cell(0, 1), "y");
}

TEST(GridText, RefusesTextThatIsNoWholeGrid) {
    EXPECT_EQ(errorOf(""), "Tally text: the grid size is missing");
    EXPECT_EQ(errorOf("nine\r\n2\r\n"), "'nine' is not a valid integer value");
    EXPECT_EQ(errorOf("9\r\n 2\r\n"), "' 2' is not a valid integer value");
    EXPECT_EQ(errorOf("0\r\n1\r\n"), "Tally text: a grid of 0 columns and 1 rows is not valid");
    EXPECT_EQ(errorOf("9\r\n-1\r\n"), "Tally text: a grid of 9 columns and -1 rows is not valid");
    EXPECT_EQ(errorOf("2\r\n2\r\na\r\nb\r\nc\r\n"),
              "Tally text: the text ends before the last cell");
    // A huge size is refused before anything is allocated for it.
    EXPECT_EQ(errorOf("2000000000\r\n2000000000\r\n"),
              "Tally text: the text ends before the last cell");
}

TEST(TallyRecords, LoadingClearsOnlyTheSinceStartColumns) {
    TallyRecords t;
    t.fromText(lines({"9", "2", "0", "Ann", "7", "5", "3", "2", "0", "1", "0", "2", "0", "2", "0",
                      "1", "0", "1"}) +
               "0\r\n1\r\n");
    EXPECT_EQ(row(t, 0), (std::vector<std::string>{"0", "7", "3", "0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(row(t, 1), (std::vector<std::string>{"Ann", "5", "2", "1", "2", "0", "0", "0", "0"}));
    // A broken text leaves the records as they were.
    EXPECT_THROW(t.fromText("9\r\nx\r\n"), GridTextError);
    EXPECT_EQ(t.cell(0, 1), "Ann");
    // A narrow grid is widened so every column can count.
    t.fromText(lines({"2", "2", "0", "Bo", "4", "2"}));
    t.addgame("Bo", {{1, "Bo"}});
    EXPECT_EQ(row(t, 1), (std::vector<std::string>{"Bo", "3", "1", "0", "0", "1", "1", "0", "0"}));
}

TEST(TallyRecords, AGameCountsForEveryTalliedOpponentPresent) {
    TallyRecords t;
    t.addOpponent("Ann");
    t.addOpponent("Bob");
    t.addOpponent("Cy");
    // I win against Ann; Bob is not in the game.
    t.addgame(kOwnWin, {{1, "Ann"}});
    // Ann wins; the name is compared exactly, so "ann" would not be her.
    t.addgame("Ann", {{1, "Ann"}, {3, "Cy"}});
    t.addgame("ann", {{1, "Ann"}});
    EXPECT_EQ(row(t, 0), (std::vector<std::string>{"0", "3", "1", "0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(row(t, 1), (std::vector<std::string>{"Ann", "3", "1", "1", "1", "3", "1", "1", "1"}));
    EXPECT_EQ(row(t, 2), (std::vector<std::string>{"Bob", "0", "0", "0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(row(t, 3), (std::vector<std::string>{"Cy", "1", "0", "0", "1", "1", "0", "0", "1"}));
}

TEST(TallyRecords, EmptyCellsCountFromZeroAndOddCellsStay) {
    TallyRecords t;
    t.fromText(lines({"9", "2", "0", "Di", "0", "", "0", "", "0", "x",
                      "0", "",  "0", "",   "0", "", "0", "", "0", ""}));
    t.addgame("Di", {{1, "Di"}});
    EXPECT_EQ(row(t, 1), (std::vector<std::string>{"Di", "1", "1", "x", "0", "1", "1", "0", "0"}));

    // A count already at the largest number stays there rather than wrapping round.
    const char* most = "9223372036854775807";
    t.fromText(lines({"9", "2", "0", "Di", "0", most, "0", "-3", "0", "",
                      "0", "",  "0", "",   "0", "",   "0", "",   "0", ""}));
    t.addgame("Di", {{1, "Di"}});
    EXPECT_EQ(row(t, 1), (std::vector<std::string>{"Di", most, "-2", "0", "0", "1", "1", "0", "0"}));
}

TEST(TallyRecords, RemovingRowsKeepsTheOthers) {
    TallyRecords t;
    for (const char* n : {"A", "B", "C"})
        t.addOpponent(n);
    t.addgame("B", {{2, "B"}});
    t.removeRow(3); // the last of several
    ASSERT_EQ(t.opponentCount(), 2);
    EXPECT_EQ(t.cell(0, 2), "B");
    EXPECT_EQ(t.cell(2, 2), "1");
    t.removeRow(1); // the first: B moves up with its figures
    ASSERT_EQ(t.opponentCount(), 1);
    EXPECT_EQ(row(t, 1), (std::vector<std::string>{"B", "1", "1", "0", "0", "1", "1", "0", "0"}));
    t.removeRow(1); // the only one
    EXPECT_EQ(t.opponentCount(), 0);
    EXPECT_EQ(t.cell(1, 0), "1");
    t.removeRow(0); // row 0 is never removed
    EXPECT_EQ(t.grid().rowCount(), 1);
}

TEST(TallyRecords, ResetLeavesNineZerosInOneRow) {
    TallyRecords t;
    t.addOpponent("A");
    t.addgame(kOwnWin, {{1, "A"}});
    t.reset();
    EXPECT_EQ(t.toText(), lines({"9", "1", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
}

TEST(TallyRecords, OpponentsAreTheOtherHeldSeats) {
    EXPECT_EQ(opponentsInGame({"Me", "Zobo"}, 1), std::vector<std::string>{"Zobo"});
    EXPECT_EQ(opponentsInGame({"<Waiting>", "Me"}, 2), std::vector<std::string>{});
    EXPECT_EQ(opponentsInGame({"Ann", "Bob"}, 3), (std::vector<std::string>{"Ann", "Bob"}));
    EXPECT_EQ(opponentsInGame({"", "Bob"}, 2), std::vector<std::string>{});
}
