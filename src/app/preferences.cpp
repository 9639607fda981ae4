#include "preferences.h"

#include "protocol.h"
#include "settingsfile.h"

namespace bg {

namespace {

constexpr int kDefaultTextSize = 8;
constexpr Bounds kDefaultBounds{3, 3, 774, 595};
constexpr const char* kDefaultTextColor = "clblack";

std::string text(const SettingsFile& f, const char* key, std::string_view fallback = "") {
    return f.value(kPreferencesSection, key).value_or(std::string(fallback));
}

int integer(const SettingsFile& f, const char* key, int fallback) {
    int v = 0;
    return toInt(text(f, key), v) ? v : fallback;
}

void put(SettingsFile& f, const char* key, std::string_view value) {
    f.set(kPreferencesSection, key, value);
}
void put(SettingsFile& f, const char* key, int value) {
    put(f, key, std::to_string(value));
}
void putFlag(SettingsFile& f, const char* key, bool value) {
    put(f, key, std::string_view(value ? "true" : "false"));
}

} // namespace

int choiceFromText(std::span<const RadioChoice> choices, std::string_view text, int fallback) {
    for (const RadioChoice& c : choices)
        if (text == std::to_string(c.tag)) return c.tag;
    return fallback;
}

Preferences readPreferences(const SettingsFile& f) {
    Preferences p;
    p.textSize = integer(f, "Textsize", kDefaultTextSize);
    p.bounds = {integer(f, "Left", kDefaultBounds.left), integer(f, "Top", kDefaultBounds.top),
                integer(f, "Width", kDefaultBounds.width),
                integer(f, "Height", kDefaultBounds.height)};
    p.textColor = text(f, "Textcolor", kDefaultTextColor);
    int seconds = 0;
    p.timePerTurn =
        toInt(text(f, "Timeperturn", "120"), seconds) ? std::optional(seconds) : std::nullopt;
    p.gameType = text(f, "Gametype", "0") == "1" ? 1 : 0;
    p.botSpeed = choiceFromText(kBotSpeedChoices, text(f, "Botspeed"), kBotSpeedDefault);
    p.botAbilities =
        choiceFromText(kBotAbilityChoices, text(f, "Botabilities", "1"), kBotAbilityDefault);
    p.turnSound = choiceFromText(kTurnSoundChoices, text(f, "Turnsound", "0"), kTurnSoundDefault);
    for (int n = 1; n <= kPhraseCount; ++n)
        p.phrases[static_cast<std::size_t>(n)] = text(f, ("Phrase" + std::to_string(n)).c_str());
    p.playSounds = text(f, "Playsounds") != "false";
    p.chatterSounds = text(f, "ChatterSounds", "true") != "false";
    p.markLastPlay = text(f, "MarkLastPlay") != "false";
    return p;
}

void writePreferences(SettingsFile& f, const Preferences& p) {
    put(f, "Textsize", p.textSize);
    put(f, "Top", p.bounds.top);
    put(f, "Left", p.bounds.left);
    put(f, "Width", p.bounds.width);
    put(f, "Height", p.bounds.height);
    put(f, "Textcolor", p.textColor);
    put(f, "Timeperturn", p.timePerTurn.value_or(120));
    put(f, "Gametype", p.gameType);
    put(f, "Botspeed", p.botSpeed);
    put(f, "Botabilities", p.botAbilities);
    put(f, "Turnsound", p.turnSound);
    putFlag(f, "Playsounds", p.playSounds);
    putFlag(f, "ChatterSounds", p.chatterSounds);
    putFlag(f, "MarkLastPlay", p.markLastPlay);
}

} // namespace bg
