#pragma once
// Whole games of the strong bot against the standard one (ability "Not Limited"), as the
// simulation tests and the strong bot's benchmark play them. The host asks for the bot's
// ability at the moment it acts, so the duel answers "Strong" only for the strong seat, and
// times each of its decisions (in CPU time of this thread) up to the message announcing it.

#include "sim_games.h"
#include "strongbot.h"

#include <ctime>
#include <functional>
#include <vector>

namespace bg::sim {

class DuelSettings : public BotSettings {
  public:
    const TServer* host = nullptr;
    int strongSeat = 1;
    int botDelayMs() const override { return kDuelBotDelayMs; }
    bool botNotLimited() const override { return true; }
    int botAbility() const override {
        if (!host || host->board().currentplayer != strongSeat) return kAbilityNotLimited;
        m_deciding = true;
        m_started = cpuMs();
        return kAbilityStrong;
    }
    // Called for every message: the first one after a strong decision ends its timing.
    // Returns the milliseconds the decision took, or a negative value.
    double decisionEnded() const {
        if (!m_deciding) return -1;
        m_deciding = false;
        return cpuMs() - m_started;
    }
    static constexpr int kDuelBotDelayMs = 500;

  private:
    mutable bool m_deciding = false;
    mutable double m_started = 0;
    // The time this thread spent computing: what a decision costs on one core, however busy
    // the machine is with other work.
    static double cpuMs() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
    }
};

struct DuelResult {
    GameResult game;
    bool strongWon = false;
    std::vector<double> throwMs; // the strong bot's time for each of its throws
};

// `tune` may set the strong seat's weights or network before the game starts.
inline DuelResult playDuel(unsigned seed, bool acey, int strongSeat, bool checkEveryMessage,
                           const std::function<void(StrongBot&)>& tune = {}) {
    Sim s(seed, DuelSettings::kDuelBotDelayMs, true);
    DuelSettings settings;
    settings.strongSeat = strongSeat;
    s.host = std::make_unique<TServer>(s.outbox, s.clock, s.random, settings);
    settings.host = s.host.get();
    if (tune) tune(s.host->strongBot());
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
