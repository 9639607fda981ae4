#include "boardnames.h"

namespace bg {

std::string checkerName(const ClientState& s, int player, int piece) {
    std::string name = player == 1 ? "White checker" : "Black checker";
    if (!isPlayer(player) || !isPiece(piece)) return name;
    const Pawn pw = s.pawn(player, piece);
    if (isBoardPoint(pw.point)) return name + " on point " + std::to_string(pw.point);
    if (pw.point == kBorneOff) return name + " borne off";
    if (pw.point == pilePoint(player) && pw.level >= 1 && pw.level <= kLevels) {
        // Checkers waiting to enter stand in the grid's pile column; a hit checker does not.
        if (s.grid(pw.point, pw.level) == Cell{player, piece}) return name + " waiting to enter";
        return name + " on the bar";
    }
    return name + " off the board";
}

std::string moveTargetName(int point) {
    return "Move to point " + std::to_string(point);
}

std::string bearOffName(int die) {
    return "Bear off with " + std::to_string(die);
}

std::string dieName(int value) {
    if (value >= 1 && value <= 6) return "Die: " + std::to_string(value);
    if (value == 0) return "Die used";
    return "Die not thrown";
}

std::string doubleChoiceName(int value) {
    return "Double " + std::to_string(value);
}

} // namespace bg
