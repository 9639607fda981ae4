#pragma once
// Where the program keeps its files: beside the program when that folder is writable,
// otherwise in the user's configuration folder. BG_CONFIG_DIR points tests elsewhere.

#include <QString>

namespace bg {

QString appFileFolder();
QString appFilePath(const QString& fileName);
inline constexpr const char* kSettingsFileName = "vesklobby.ini";
inline constexpr const char* kSettingsSection = "Backgammon";

// Where finished games are saved by themselves: "games/" in the desktop's data location for
// this program ("~/.local/share/Backgammon/games/"; XDG_DATA_HOME moves it). Ends in "/".
QString savedGamesFolder();

// The listening port: 7772 unless BG_PORT names another (test runs must never collide).
int defaultHostPort();

} // namespace bg
