#pragma once
// What the Host and Join dialogs remember in the settings file, in a section of their own so
// that the keys the game and its lobby share are never touched: the player's name and the
// last ten addresses joined, the latest first.

#include <QString>
#include <QStringList>

struct NetworkGameSettings {
    static constexpr const char* kSection = "Backgammon Network";
    static constexpr int kRecentAddresses = 10;

    QString playerName;
    QStringList recentAddresses;

    static NetworkGameSettings load(const QString& settingsPath);
    // Keeps every other section and key of the file; false when it could not be written.
    bool save(const QString& settingsPath) const;
    // Puts an address first, once (compared without regard to case), and keeps the last ten.
    void addRecent(const QString& address);
};
