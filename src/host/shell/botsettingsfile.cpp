#include "botsettingsfile.h"

#include "appfiles.h"

#include <QFileInfo>
#include <SimpleIni.h>

#include <cstring>

namespace bg {

namespace {
constexpr int kSlowMs = 2000;
constexpr int kNormalMs = 1000;
constexpr int kFastMs = 500;
} // namespace

int BotSettingsFile::delayFromText(const char* value) {
    if (value && std::strcmp(value, "2000") == 0) return kSlowMs;
    if (value && std::strcmp(value, "500") == 0) return kFastMs;
    return kNormalMs;
}

bool BotSettingsFile::notLimitedFromText(const char* value) {
    return !(value && std::strcmp(value, "0") == 0);
}

int BotSettingsFile::abilityFromText(const char* value) {
    if (value && std::strcmp(value, "2") == 0) return kAbilityStrong;
    return notLimitedFromText(value) ? kAbilityNotLimited : kAbilityLimited;
}

void BotSettingsFile::refresh() const {
    const QFileInfo info(m_path);
    if (!info.exists()) return; // keep what we had (the built-in state before any read)
    const QDateTime stamp = info.lastModified();
    if (m_read && stamp == m_readStamp) return;
    CSimpleIniA ini;
    if (ini.LoadFile(m_path.toLocal8Bit().constData()) < 0) return;
    m_delay = delayFromText(ini.GetValue(kSettingsSection, "Botspeed", nullptr));
    m_ability = abilityFromText(ini.GetValue(kSettingsSection, "Botabilities", nullptr));
    m_readStamp = stamp;
    m_read = true;
}

int BotSettingsFile::botDelayMs() const {
    // Test runs may speed the bot up beyond the menu's choices.
    bool forced = false;
    const int delay = qEnvironmentVariableIntValue("BG_BOT_DELAY_MS", &forced);
    if (forced && delay > 0) return delay;
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
