#include "matchfile.h"

#include "notation.h"
#include "protocol.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace bg::rec {

namespace {

constexpr std::size_t kLeftColumn = 5;   // after "NNN) "
constexpr std::size_t kRightColumn = 34; // where the second player's turns begin
constexpr std::size_t kSideThreshold = 20;
constexpr std::size_t kMaxFileSize = 4 * 1024 * 1024;
constexpr const char* kStartTag = "; [Start \"";

std::string cleanName(const std::string& name) {
    std::string out;
    for (char c : name)
        out += (static_cast<unsigned char>(c) < 0x20 || c == '"') ? ' ' : c;
    if (out.find_first_not_of(' ') == std::string::npos) out = "Player";
    return out;
}

std::string padTo(std::string text, std::size_t column) {
    if (text.size() < column)
        text.resize(column, ' ');
    else
        text += ' ';
    return text;
}

std::string startText(const Position& pos) {
    std::vector<int> counts;
    for (int p = 1; p <= 2; ++p) {
        const SideCount& c = pos.side[p];
        counts.insert(counts.end(), c.point.begin() + 1, c.point.end());
        counts.insert(counts.end(), {c.bar, c.pile, c.off});
    }
    std::string out;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (i == 27) out += " /";
        if (i) out += ' ';
        out += std::to_string(counts[i]);
    }
    return out;
}

} // namespace

std::string writeMatch(const GameRecord& record, const MatchStamp& stamp) {
    std::string out;
    if (record.acey) out += std::string(kAceyVariantLine) + "\n";
    for (int p = 1; p <= 2; ++p)
        out += "; [Player " + std::to_string(p) + " \"" + cleanName(record.names[p]) + "\"]\n";
    if (!stamp.date.empty()) out += "; [EventDate \"" + stamp.date + "\"]\n";
    if (!stamp.time.empty()) out += "; [EventTime \"" + stamp.time + "\"]\n";
    if (record.joinedMidGame) out += kStartTag + startText(record.start) + "\"]\n";
    out += "\n 1 point match\n\n Game 1\n";
    out += padTo(" " + cleanName(record.names[1]) + " : 0", kRightColumn) +
           cleanName(record.names[2]) + " : 0\n";

    struct Line {
        std::optional<std::string> left, right;
    };
    std::vector<Line> lines;
    for (const Turn& t : record.turns) {
        const std::string text = turnText(t, false);
        if (t.mover == 2 && !lines.empty() && !lines.back().right)
            lines.back().right = text;
        else if (t.mover == 2)
            lines.push_back({std::nullopt, text});
        else
            lines.push_back({text, std::nullopt});
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string n = std::to_string(i + 1) + ") ";
        std::string line = std::string(kLeftColumn - std::min(n.size(), kLeftColumn), ' ') + n;
        line += lines[i].left.value_or("");
        if (lines[i].right) line = padTo(line, kRightColumn) + *lines[i].right;
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out += line + "\n";
    }
    if (record.finished())
        out += std::string(record.winner == 1 ? kLeftColumn : kRightColumn, ' ') + "Wins 1 point\n";
    return out;
}

namespace {

struct Token {
    std::string_view text;
    std::size_t column;
};

std::vector<Token> tokens(std::string_view line, std::size_t from) {
    std::vector<Token> out;
    std::size_t i = from;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start) out.push_back({line.substr(start, i - start), start});
    }
    return out;
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool allDigits(std::string_view s) {
    return !s.empty() && s.size() <= 6 &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// " Alice : 0        Bob : 0": the names around the two scores.
bool readPlayers(std::string_view line, std::string& first, std::string& second) {
    for (std::size_t at = line.find(" : "); at != std::string_view::npos;
         at = line.find(" : ", at + 1)) {
        std::size_t end = at + 3;
        while (end < line.size() && line[end] >= '0' && line[end] <= '9')
            ++end;
        if (end == at + 3 || end >= line.size() || line[end] != ' ') continue;
        const std::string_view rest = trim(line.substr(end));
        const std::size_t last = rest.rfind(" : ");
        if (last == std::string_view::npos || !allDigits(trim(rest.substr(last + 3)))) continue;
        first = std::string(trim(line.substr(0, at)));
        second = std::string(trim(rest.substr(0, last)));
        // A name may itself hold " : 0": look further along for the pair of scores.
        if (!first.empty() && !second.empty()) return true;
    }
    return false;
}

bool readStart(std::string_view text, Position& pos, std::string& why) {
    std::vector<int> values;
    int side = 1;
    for (const Token& t : tokens(text, 0)) {
        if (t.text == "/") {
            if (values.size() != 27) break;
            side = 2;
            continue;
        }
        int v = 0;
        if (!allDigits(t.text) || !toInt(t.text, v) || v > kPieces) {
            why = "the first board holds '" + std::string(t.text) + "'";
            return false;
        }
        values.push_back(v);
    }
    if (side != 2 || values.size() != 54) {
        why = "the first board needs 27 counts for each side";
        return false;
    }
    for (int p = 1; p <= 2; ++p) {
        SideCount& c = pos.side[p];
        const int* v = values.data() + (p - 1) * 27;
        int total = 0;
        for (int point = 1; point <= kLastPoint; ++point)
            total += c.point[point] = v[point - 1];
        total += c.bar = v[24];
        total += c.pile = v[25];
        total += c.off = v[26];
        if (total != kPieces) {
            why = "the first board does not hold 15 checkers of each side";
            return false;
        }
    }
    for (int point = 1; point <= kLastPoint; ++point)
        if (pos.side[1].point[point] && pos.side[2].point[point]) {
            why = "the first board has both sides on point " + std::to_string(point);
            return false;
        }
    return true;
}

} // namespace

ReadResult readMatch(std::string_view text) {
    ReadResult result;
    GameRecord& r = result.record;
    int lineNo = 0;
    auto fail = [&](const std::string& what) {
        result.line = lineNo;
        result.error = "line " + std::to_string(lineNo) + ": " + what;
        return result;
    };
    if (text.size() > kMaxFileSize) return fail("the file is far too long for a game record");

    enum class Stage { Header, Game, Players, Moves, Done } stage = Stage::Header;
    bool startGiven = false;
    int expectedNumber = 1;
    std::size_t pos = 0;
    while (pos <= text.size() && stage != Stage::Done) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (lineNo == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
        const std::string_view body = trim(line);
        if (body.empty()) {
            if (end == text.size()) break;
            continue;
        }
        if (body.front() == ';') {
            // A name may begin with ';': the players' line is read as such before any comment.
            if (stage == Stage::Players && readPlayers(line, r.names[1], r.names[2])) {
                stage = Stage::Moves;
                continue;
            }
            if (stage != Stage::Header) continue;
            if (body == kAceyVariantLine) r.acey = true;
            if (body.starts_with(kStartTag)) {
                std::string_view inner = body.substr(std::string_view(kStartTag).size());
                if (!inner.ends_with("\"]")) return fail("the first board is not closed");
                inner.remove_suffix(2);
                std::string why;
                if (!readStart(inner, r.start, why)) return fail(why);
                startGiven = r.joinedMidGame = true;
            }
            continue;
        }
        switch (stage) {
        case Stage::Header: {
            const std::vector<Token> t = tokens(body, 0);
            int length = 0;
            if (t.size() != 3 || !allDigits(t[0].text) || !toInt(t[0].text, length) || length < 1 ||
                t[1].text != "point" || t[2].text != "match")
                return fail("not a game record: the file should begin with \"1 point match\"");
            if (!startGiven) r.start = Position::start(r.acey);
            stage = Stage::Game;
            break;
        }
        case Stage::Game: {
            const std::vector<Token> t = tokens(body, 0);
            if (t.size() != 2 || t[0].text != "Game" || !allDigits(t[1].text))
                return fail("\"Game 1\" should follow the match length");
            stage = Stage::Players;
            break;
        }
        case Stage::Players:
            if (!readPlayers(line, r.names[1], r.names[2]))
                return fail("the two players and their scores should follow \"Game 1\"");
            stage = Stage::Moves;
            break;
        case Stage::Moves: {
            if (body.starts_with("Game ")) {
                stage = Stage::Done; // a second game of a longer match: only the first is read
                break;
            }
            if (body.starts_with("Wins ")) {
                const std::size_t column = line.find("Wins");
                r.winner = column < kSideThreshold ? 1 : 2;
                stage = Stage::Done;
                break;
            }
            const std::size_t paren = line.find(')');
            const std::string_view number =
                paren == std::string_view::npos ? std::string_view() : trim(line.substr(0, paren));
            int n = 0;
            if (!allDigits(number) || !toInt(number, n))
                return fail("a numbered move line or \"Wins 1 point\" was expected");
            if (n != expectedNumber)
                return fail("move line " + std::to_string(n) + " comes where " +
                            std::to_string(expectedNumber) + " belongs");
            ++expectedNumber;
            const std::vector<Token> t = tokens(line, paren + 1);
            if (t.empty()) return fail("the move line is empty");
            int halves = 0;
            bool firstWasRight = false;
            std::size_t i = 0;
            while (i < t.size()) {
                Turn turn;
                turn.line = lineNo;
                if (!parseThrow(t[i].text, turn.die1, turn.die2))
                    return fail(std::string("'") + std::string(t[i].text) +
                                "' should be a throw like \"31:\"");
                if (halves == 1 && firstWasRight)
                    return fail("a line holds at most one turn of each side");
                const bool right = halves == 1 || t[i].column >= kSideThreshold;
                firstWasRight = halves == 0 && right;
                turn.mover = right ? 2 : 1;
                ++halves;
                for (++i; i < t.size(); ++i) {
                    const std::string_view tok = t[i].text;
                    int d1 = 0, d2 = 0;
                    if (parseThrow(tok, d1, d2)) break;
                    if (tok.size() == 4 && tok.front() == '[' && tok.back() == ']') {
                        if (!parseThrow(std::string(tok.substr(1, 2)) + ":", d1, d2) || d1 != d2 ||
                            turn.chosenDouble)
                            return fail(std::string("'") + std::string(tok) +
                                        "' is not a chosen double");
                        turn.chosenDouble = d1;
                        turn.stepsBeforeDouble = turn.steps.size();
                        continue;
                    }
                    const std::string why = parseSteps(tok, turn.mover, turn.steps);
                    if (!why.empty()) return fail(why);
                    if (turn.steps.size() > 8) return fail("too many steps for one turn");
                }
                if (halves > 2) return fail("a line holds at most one turn of each side");
                r.turns.push_back(std::move(turn));
            }
            break;
        }
        case Stage::Done:
            break;
        }
        if (end == text.size()) break;
    }
    if (stage == Stage::Header) return fail("not a game record: no \"1 point match\" line");
    if (stage == Stage::Game || stage == Stage::Players)
        return fail("the file ends before its moves");

    std::string why;
    const std::vector<Position> positions = positionsOf(r, &why);
    if (!why.empty()) {
        result.error = why;
        for (const Turn& t : r.turns)
            if (why.starts_with("line " + std::to_string(t.line) + ":")) result.line = t.line;
        if (!result.line) result.line = lineNo;
        return result;
    }
    if (r.winner && positions.back().side[r.winner].off < kPieces)
        r.concededBy = opponentOf(r.winner);
    return result;
}

} // namespace bg::rec
