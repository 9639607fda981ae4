#pragma once
// Preferences: the user's choices as the settings file stores them in the section
// "Backgammon", with the rules that turn each stored text into a value and back.
//
// readPreferences() applies the defaults of a missing or malformed key; writePreferences()
// sets every key but the phrases (only the phrase editor writes those). The radio choices
// (Bot Speed, Bot Abilities, Turn Sound) are tables shared with the menus that show them, so a
// new choice is one more row.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace bg {

class SettingsFile;

inline constexpr const char* kPreferencesSection = "Backgammon";
inline constexpr int kPhraseCount = 9;

// One radio item of a menu whose chosen value lives in its parent item's tag.
struct RadioChoice {
    const char* name;    // the menu item's object name
    const char* caption; // its text
    int tag;             // the value stored and used
};

inline constexpr RadioChoice kBotSpeedChoices[] = {
    {"Slow1", "Slow", 2000},
    {"Normal1", "Normal", 1000},
    {"Fast1", "Fast", 500},
};
inline constexpr int kBotSpeedDefault = 1000;

inline constexpr RadioChoice kBotAbilityChoices[] = {
    {"Limited1", "Limited", 0},
    {"NotLimited1", "Not Limited", 1},
    {"Strong1", "Strong", 2},
};
inline constexpr int kBotAbilityDefault = 1;

inline constexpr RadioChoice kTurnSoundChoices[] = {
    {"Classic1", "Classic", 0},
    {"New1", "New", 1},
};
inline constexpr int kTurnSoundDefault = 0;

// The tag of the choice whose tag reads exactly as `text`, else `fallback`.
int choiceFromText(std::span<const RadioChoice> choices, std::string_view text, int fallback);

struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Bounds&, const Bounds&) = default;
};

struct Preferences {
    // The built-in state, before the file is first read.
    int textSize = 10;
    Bounds bounds{};
    std::string textColor = "clBlack";
    std::optional<int> timePerTurn = 120; // nothing: the file's value was not a number
    int gameType = 1;
    int botSpeed = 1500;
    int botAbilities = kBotAbilityDefault;
    int turnSound = kTurnSoundDefault;
    std::array<std::string, kPhraseCount + 1> phrases{}; // [1..9]; empty keeps the button's
    bool playSounds = true;
    bool chatterSounds = false;
    bool markLastPlay = true; // our own key: the last play of the other side marked on the board
};

// Reads every key of the section; what is missing or malformed takes its default.
Preferences readPreferences(const SettingsFile& file);
// Sets every key but the phrases, in the file's order.
void writePreferences(SettingsFile& file, const Preferences& p);

} // namespace bg
