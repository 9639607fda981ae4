#pragma once
// What a hosting copy tells its network about its game, and how a joining copy reads it back.
//
// The notice travels in a DNS-SD text record as "name=", "game=" and "seats=" strings. Whatever
// arrives from the network may come from anybody: reading keeps only plain text of a bounded
// length and numbers in range, and a record that does not read is no game.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bg::discovery {

inline constexpr const char* kServiceType = "_backgammon._tcp";
// Longer names are cut: a list entry is no place for an essay, and a DNS-SD string holds 255.
inline constexpr std::size_t kMaxShownBytes = 64;
// Everybody who can connect holds a seat: two players and up to seven spectators.
inline constexpr int kSeats = 9;

enum class GameType { Backgammon, AceyDeucey };

struct GameNotice {
    std::string hostName;
    GameType type = GameType::Backgammon;
    int seatsTaken = 0;
    bool operator==(const GameNotice&) const = default;
};

// The text record's strings, in a fixed order.
std::vector<std::string> textRecord(const GameNotice& notice);
// The notice a text record holds; nothing when a key is missing or its value does not read.
std::optional<GameNotice> readTextRecord(const std::vector<std::string>& strings);

// Untrusted bytes as text fit to show: valid UTF-8 only, control and formatting characters
// dropped, cut at a character boundary to at most maxBytes.
std::string plainText(std::string_view untrusted, std::size_t maxBytes = kMaxShownBytes);

// "Backgammon" or "Acey-Deucey".
std::string_view gameTypeName(GameType type);

} // namespace bg::discovery
