// Any text as the settings file: reading it must never fail, and the preferences written back
// must read again as the same preferences (what a save followed by the next start does).

#include "preferences.h"
#include "settingsfile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    bg::SettingsFile file("/nonexistent/vesklobby.ini");
    file.loadText(std::string_view(reinterpret_cast<const char*>(data), size));
    const bg::Preferences first = bg::readPreferences(file);
    bg::writePreferences(file, first);
    const bg::Preferences again = bg::readPreferences(file);
    const bool same = first.textSize == again.textSize && first.bounds == again.bounds &&
                      first.gameType == again.gameType && first.botSpeed == again.botSpeed &&
                      first.botAbilities == again.botAbilities &&
                      first.turnSound == again.turnSound &&
                      first.playSounds == again.playSounds &&
                      first.chatterSounds == again.chatterSounds &&
                      first.phrases == again.phrases;
    if (!same) std::abort();
    return 0;
}
