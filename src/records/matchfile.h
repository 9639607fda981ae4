#pragma once
// The plain-text match file that backgammon analysis programs import, for one game written as
// a one-point match:
//
//    1 point match
//
//    Game 1
//    Alice : 0                        Bob : 0
//     1) 31: 8/5 6/5                  52: 13/8 13/11
//     2) 64: 24/18 13/9               ...
//                                     Wins 1 point
//
// Each numbered line holds a turn of the first player (left) and one of the second (right);
// a side that did not move on that line is left blank. Comment lines (";") before the header
// carry what the layout has no place for: an Acey-Deucey game names its variant on the first
// line, the date and time of the game, and a record that starts during a game its first board.
//
// The reader takes back what the writer writes (and plain files of the same layout) and checks
// every step against the position; whatever is wrong it reports with its line, it never throws.

#include "gamerecord.h"

#include <string>
#include <string_view>

namespace bg::rec {

inline constexpr const char* kAceyVariantLine = "; [Variation \"Acey-Deucey\"]";

struct MatchStamp {
    std::string date; // "2026.12.09"
    std::string time; // "14.05"
};

std::string writeMatch(const GameRecord& record, const MatchStamp& stamp = {});

struct ReadResult {
    GameRecord record;
    int line = 0;      // where the first problem is, 0 when none
    std::string error; // "line 7: ..." , empty when the file was read whole
    bool ok() const { return error.empty(); }
};

ReadResult readMatch(std::string_view text);

} // namespace bg::rec
