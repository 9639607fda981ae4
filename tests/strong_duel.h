#pragma once
// Whole games of the strong bot against the specified one (ability "Not Limited"), as the
// simulation tests and the strong bot's benchmark play them. The host asks for the bot's
// ability at the moment it acts, so the duel answers "Strong" only for the strong seat, and
// times each of its decisions up to the message that announces it.

#include "sim_games.h"

#include <chrono>
#include <vector>

namespace bg::sim {

class DuelSettings : public BotSettings {
  public:
    using Clock = std::chrono::steady_clock;
    const TServer* host = nullptr;
    int strongSeat = 1;
    int botDelayMs() const override { return kDuelBotDelayMs; }
    bool botNotLimited() const override { return true; }
    int botAbility() const override {
        if (!host || host->board().currentplayer != strongSeat) return kAbilityNotLimited;
        m_deciding = true;
        m_started = Clock::now();
        return kAbilityStrong;
    }
    // Called for every message: the first one after a strong decision ends its timing.
    // Returns the milliseconds the decision took, or a negative value.
    double decisionEnded() const {
        if (!m_deciding) return -1;
        m_deciding = false;
        return std::chrono::duration<double, std::milli>(Clock::now() - m_started).count();
    }
    static constexpr int kDuelBotDelayMs = 500;

  private:
    mutable bool m_deciding = false;
    mutable Clock::time_point m_started{};
};

struct DuelResult {
    GameResult game;
    bool strongWon = false;
    std::vector<double> throwMs; // the strong bot's time for each of its throws
};

inline DuelResult playDuel(unsigned seed, bool acey, int strongSeat, bool checkEveryMessage) {
    Sim s(seed, DuelSettings::kDuelBotDelayMs, true);
    DuelSettings settings;
    settings.strongSeat = strongSeat;
    s.host = std::make_unique<TServer>(s.outbox, s.clock, s.random, settings);
    settings.host = s.host.get();
    DuelResult duel;
    double thisThrow = 0;
    auto watch = [&](std::string_view m) {
        const double ms = settings.decisionEnded();
        if (ms >= 0) thisThrow += ms;
        if (m.starts_with("CMD_nextplayer+") || m.starts_with("CMD_winner+")) {
            if (thisThrow > 0) duel.throwMs.push_back(thisThrow);
            thisThrow = 0;
        }
    };
    duel.game = playBotGame(s, acey, checkEveryMessage, watch);
    duel.strongWon = duel.game.finished && duel.game.winner == strongSeat;
    return duel;
}

} // namespace bg::sim
