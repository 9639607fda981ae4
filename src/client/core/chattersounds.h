#pragma once
// Chatter sounds: the twenty sounds a seated player sends to everybody ("wave1" .. "wave20"),
// their captions, and what a receiving client does with one: play it, or, with chatter sounds
// off, read it as a system line ("Ann: <Chatter Sound> Applause").
//
// Event sounds are asked for by lower-case name ("dice"); the store holds upper-case names
// ("DICE"). storedSoundName() maps a request onto the store, or gives nothing for a name that
// is not there, which then plays nothing.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bg {

inline constexpr int kChatterSounds = 20;

// The caption (and hint) of chatter sound `tag` (1 to 20); empty for any other tag.
std::string_view chatterCaption(int tag);
// The tag of a chatter sound name ("wave13", any case), or nothing.
std::optional<int> chatterTag(std::string_view name);
// The stored name of a sound request ("dice" -> "DICE"), or nothing when the store has none.
std::optional<std::string> storedSoundName(std::string_view request);
// Every stored name: the 15 event sounds, then WAVE1 .. WAVE20.
const std::vector<std::string>& allStoredSounds();

// What a received "CMD_playasound" asks of this client.
struct ChatterReceipt {
    std::string play; // a sound request to play, or empty
    std::string line; // a chat line ("0+...") to add in the system colour, or empty
};

// `body` is the message after its command word: sender, "+", sound name, "+". `seatName`
// gives the caption of a seat's name label, or nothing when there is no label for the number.
ChatterReceipt receiveChatter(std::string_view body, bool chatterOn,
                              const std::function<std::optional<std::string>(int)>& seatName);

} // namespace bg
