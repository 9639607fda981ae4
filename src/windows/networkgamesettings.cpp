#include "networkgamesettings.h"

#include "settingsfile.h"

namespace {
constexpr const char* kNameKey = "PlayerName";
QString addressKey(int n) {
    return QString("Address%1").arg(n);
}
} // namespace

NetworkGameSettings NetworkGameSettings::load(const QString& settingsPath) {
    NetworkGameSettings s;
    bg::SettingsFile file(settingsPath.toStdString());
    file.load();
    if (auto name = file.value(kSection, kNameKey)) s.playerName = QString::fromStdString(*name);
    for (int n = 1; n <= kRecentAddresses; ++n) {
        const auto address = file.value(kSection, addressKey(n).toStdString());
        if (address && !address->empty()) s.recentAddresses << QString::fromStdString(*address);
    }
    return s;
}

bool NetworkGameSettings::save(const QString& settingsPath) const {
    bg::SettingsFile file(settingsPath.toStdString());
    file.load();
    file.set(kSection, kNameKey, playerName.toStdString());
    for (int n = 1; n <= kRecentAddresses; ++n)
        file.set(kSection, addressKey(n).toStdString(),
                 n <= recentAddresses.size() ? recentAddresses[n - 1].toStdString() : "");
    return file.save();
}

void NetworkGameSettings::addRecent(const QString& address) {
    recentAddresses.removeIf(
        [&](const QString& a) { return a.compare(address, Qt::CaseInsensitive) == 0; });
    recentAddresses.prepend(address);
    while (recentAddresses.size() > kRecentAddresses)
        recentAddresses.removeLast();
}
