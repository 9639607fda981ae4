#include "notation.h"

#include <algorithm>

namespace bg::rec {

int moverPoint(int mover, int point) {
    return mover == 1 ? 25 - point : point;
}
int boardPoint(int mover, int n) {
    return mover == 1 ? 25 - n : n;
}

namespace {

std::string originText(int mover, const Step& s) {
    switch (s.origin) {
    case Origin::Bar:
        return "bar";
    case Origin::Pile:
        return "pile";
    case Origin::Point:
        break;
    }
    return std::to_string(moverPoint(mover, s.from));
}

std::string landingText(int mover, int to) {
    return to == kOff ? std::string("off") : std::to_string(moverPoint(mover, to));
}

// One checker's way through a turn: where it began and every point it landed on.
struct Route {
    std::string start;
    std::vector<int> landings;
    std::vector<bool> hits;
    std::string text() const {
        std::string out = start;
        for (std::size_t i = 0; i < landings.size(); ++i) {
            const bool last = i + 1 == landings.size();
            if (!last && !hits[i]) continue;
            out += '/';
            out += landings[i] < 0 ? std::string("off") : std::to_string(landings[i]);
            if (hits[i]) out += "*";
        }
        return out;
    }
};

} // namespace

std::string stepText(int mover, const Step& step) {
    return originText(mover, step) + "/" + landingText(mover, step.to) + (step.hit ? "*" : "");
}

std::string stepsText(int mover, std::span<const Step> steps) {
    std::string out;
    for (const Step& s : steps) {
        if (!out.empty()) out += ' ';
        out += stepText(mover, s);
    }
    return out;
}

std::string joinedText(int mover, std::span<const Step> steps) {
    std::vector<Route> routes;
    std::vector<int> ends; // board point where each route stands now, kOff when off
    for (const Step& s : steps) {
        const int landing = s.to == kOff ? -1 : moverPoint(mover, s.to);
        int joined = -1;
        if (s.origin == Origin::Point)
            for (int r = static_cast<int>(routes.size()) - 1; r >= 0; --r)
                if (ends[r] == s.from) {
                    joined = r;
                    break;
                }
        if (joined < 0) {
            routes.push_back({originText(mover, s), {}, {}});
            ends.push_back(0);
            joined = static_cast<int>(routes.size()) - 1;
        }
        routes[joined].landings.push_back(landing);
        routes[joined].hits.push_back(s.hit);
        ends[joined] = s.to;
    }
    std::vector<std::pair<std::string, int>> counted;
    for (const Route& r : routes) {
        const std::string t = r.text();
        auto it = std::find_if(counted.begin(), counted.end(),
                               [&](const auto& c) { return c.first == t; });
        if (it == counted.end())
            counted.emplace_back(t, 1);
        else
            ++it->second;
    }
    std::string out;
    for (const auto& [text, n] : counted) {
        if (!out.empty()) out += ' ';
        out += text;
        if (n > 1) out += std::string("(") + std::to_string(n) + ")";
    }
    return out;
}

std::string throwText(int die1, int die2) {
    return std::to_string(std::max(die1, die2)) + std::to_string(std::min(die1, die2));
}

std::string turnText(const Turn& turn, bool joined) {
    const std::span<const Step> all(turn.steps);
    const std::size_t split =
        turn.chosenDouble ? std::min(turn.stepsBeforeDouble, all.size()) : all.size();
    auto play = [&](std::span<const Step> steps) {
        if (steps.empty()) return joined ? std::string(" no move") : std::string();
        return std::string(" ") +
               (joined ? joinedText(turn.mover, steps) : stepsText(turn.mover, steps));
    };
    std::string out = throwText(turn.die1, turn.die2) + ":" + play(all.first(split));
    if (turn.chosenDouble) {
        const std::string dbl = throwText(turn.chosenDouble, turn.chosenDouble);
        out += joined ? ", chose " + dbl + ":" : " [" + dbl + "]";
        const std::string rest = play(all.subspan(split));
        out += joined || !all.subspan(split).empty() ? rest : "";
    }
    return out;
}

std::string resultText(const GameRecord& record) {
    if (!record.finished()) return {};
    const std::string& winner = record.names[record.winner];
    if (record.concededBy)
        return record.names[record.concededBy] + " conceded; " + winner + " wins the game";
    return winner + " wins the game";
}

std::vector<std::string> moveList(const GameRecord& record) {
    std::vector<std::string> lines;
    if (record.joinedMidGame) lines.emplace_back(kJoinedLine);
    for (std::size_t i = 0; i < record.turns.size(); ++i) {
        const Turn& t = record.turns[i];
        const std::string& name = isPlayer(t.mover) ? record.names[t.mover] : std::string();
        lines.push_back(std::to_string(i + 1) + ". " + name + " " + turnText(t, true));
    }
    if (record.finished()) lines.push_back(resultText(record));
    return lines;
}

namespace {

bool number(std::string_view text, int& value) {
    if (text.empty() || text.size() > 2) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

} // namespace

std::string parseSteps(std::string_view token, int mover, std::vector<Step>& out) {
    if (!isPlayer(mover)) return "no player to move";
    int repeat = 1;
    if (!token.empty() && token.back() == ')') {
        const std::size_t open = token.rfind('(');
        if (open == std::string_view::npos ||
            !number(token.substr(open + 1, token.size() - open - 2), repeat) || repeat < 1 ||
            repeat > 4)
            return std::string("'") + std::string(token) + "' has a bad count";
        token = token.substr(0, open);
    }
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t slash = token.find('/', start);
        parts.push_back(
            token.substr(start, slash == std::string_view::npos ? slash : slash - start));
        if (slash == std::string_view::npos) break;
        start = slash + 1;
    }
    const std::string bad = std::string("'") + std::string(token) + "' is not a play";
    if (parts.size() < 2 || parts.size() > 5) return bad;
    std::vector<Step> route;
    Step step;
    const std::string_view first = parts[0];
    int n = 0;
    if (first == "bar" || first == "25")
        step.origin = Origin::Bar;
    else if (first == "pile")
        step.origin = Origin::Pile;
    else if (number(first, n) && n >= 1 && n <= 24)
        step.from = boardPoint(mover, n);
    else
        return bad;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        std::string_view p = parts[i];
        step.hit = !p.empty() && p.back() == '*';
        if (step.hit) p.remove_suffix(1);
        if (p == "off" || p == "0") {
            if (i + 1 != parts.size()) return bad;
            step.to = kOff;
        } else if (number(p, n) && n >= 1 && n <= 24) {
            step.to = boardPoint(mover, n);
        } else {
            return bad;
        }
        route.push_back(step);
        step = Step{Origin::Point, step.to, 0, false, 0};
    }
    for (int k = 0; k < repeat; ++k)
        out.insert(out.end(), route.begin(), route.end());
    return {};
}

bool parseThrow(std::string_view token, int& die1, int& die2) {
    if (token.size() != 3 || token[2] != ':') return false;
    die1 = token[0] - '0';
    die2 = token[1] - '0';
    return isDieValue(die1) && isDieValue(die2);
}

} // namespace bg::rec
