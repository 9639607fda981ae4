#include "botsettingsfile.h"

#include "environment.h"
#include "preferences.h"
#include "settingsfile.h"

#include <QFileInfo>

namespace bg {

void BotSettingsFile::refresh() const {
    const QFileInfo info(m_path);
    if (!info.exists()) return; // keep what we had (the built-in state before any read)
    const QDateTime stamp = info.lastModified();
    if (m_read && stamp == m_readStamp) return;
    SettingsFile file(m_path.toLocal8Bit().toStdString());
    if (!file.load()) return;
    const Preferences p = readPreferences(file);
    m_delay = p.botSpeed;
    m_ability = p.botAbilities;
    m_readStamp = stamp;
    m_read = true;
}

int BotSettingsFile::botDelayMs() const {
    // Test runs may speed the bot up beyond the menu's choices.
    if (const auto forced = environment::botDelayMs()) return *forced;
    refresh();
    return m_delay;
}

bool BotSettingsFile::botNotLimited() const {
    refresh();
    return m_ability != kAbilityLimited;
}

int BotSettingsFile::botAbility() const {
    refresh();
    return m_ability;
}

} // namespace bg
