#pragma once
// Where the program keeps its files: beside the program when that folder is writable,
// otherwise in the user's configuration folder. BG_CONFIG_DIR points tests elsewhere.

#include <QString>

namespace bg {

QString appFileFolder();
QString appFilePath(const QString& fileName);
inline constexpr const char* kSettingsFileName = "vesklobby.ini";
inline constexpr const char* kSettingsSection = "Backgammon";

// The listening port: 7772 unless BG_PORT names another (test runs must never collide).
int defaultHostPort();

} // namespace bg
