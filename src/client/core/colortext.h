#pragma once
// Colour texts: how a colour travels in chat lines and sits in the settings file. A colour is
// written as the toolkit's colour name ("clBlack", "clMaroon", ..., "clWindowText", ...) or as
// "$" and eight hexadecimal digits 00BBGGRR.
//
// Values here are always plain 0x00BBGGRR (red in the low byte). The system colour names, and
// "$FF0000nn" (the toolkit's encoding of system colour nn), are resolved to the classic desktop
// palette, since a peer may run on another desktop and only the look has to agree.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace bg {

// clRed: what a received line shows when its colour cannot be read.
inline constexpr std::uint32_t kColorRed = 0x0000FF;
inline constexpr std::uint32_t kColorBlack = 0x000000;

// The colour of a name (matched without regard to case) or of "$" + eight hex digits; nothing
// for any other text.
std::optional<std::uint32_t> colorFromText(std::string_view text);

// The name of a standard colour where one exists, else "$" + eight upper-case hex digits.
std::string colorToText(std::uint32_t color);

} // namespace bg
