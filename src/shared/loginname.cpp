#include "loginname.h"

#include "protocol.h"

#include <algorithm>

namespace bg {

namespace {
constexpr int kWidestSeat = 9; // the longest seat field a log-in carries
} // namespace

std::string_view loginNameProblem(std::string_view name) {
    if (name.find_first_not_of(' ') == std::string_view::npos) return "Please enter your name.";
    const bool control = std::any_of(name.begin(), name.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
    if (control) return "A name cannot hold line breaks or other control characters.";
    const auto characters = std::count_if(name.begin(), name.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    if (characters > kMaxPlayerNameChars) return "A name can have at most 40 characters.";
    // The request as the log-in sends it (the name followed by the terminator) must be one
    // whole line that the host keeps.
    const std::string line = msg::logininfo(kWidestSeat, kVersion, name);
    if (name.find(kTerminator) != std::string_view::npos || line.size() + 2 > kMaxPendingLine)
        return "That name cannot be sent to the host.";
    return {};
}

} // namespace bg
