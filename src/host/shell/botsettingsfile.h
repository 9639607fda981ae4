#pragma once
// The bot's pace and strength as the settings file states them, for a host without a window.
// The file is read again whenever it changed, so editing it takes effect on the next action.

#include "seams.h"

#include <QDateTime>
#include <QString>

namespace bg {

class BotSettingsFile : public BotSettings {
  public:
    explicit BotSettingsFile(QString path) : m_path(std::move(path)) {}
    int botDelayMs() const override;
    bool botNotLimited() const override;
    int botAbility() const override;

  private:
    void refresh() const;
    QString m_path;
    mutable QDateTime m_readStamp;
    mutable bool m_read = false;
    mutable int m_delay = kDefaultBotDelayMs;
    mutable int m_ability = kAbilityNotLimited;
};

} // namespace bg
