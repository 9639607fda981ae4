#pragma once
// The host engine's only ways out into the world. Production binds them to sockets, QTimers
// and a clock-seeded generator; tests and benchmarks bind them to an in-memory outbox, a
// virtual clock and a seeded generator, so whole games run deterministically.

#include <random>
#include <string_view>

namespace bg {

class Outbox {
  public:
    virtual ~Outbox() = default;
    // Sends one message (without its terminator) to the connection in `seat` (1..10).
    virtual void send(int seat, std::string_view message) = 0;
    // Closes the connection in `seat`; the world reports "Socket Closed" back to the host.
    virtual void close(int seat) = 0;
    // A line for the hosting machine's own chat view ("Error in Movement").
    virtual void hostChat(std::string_view) {}
    // A message box on the hosting machine only.
    virtual void hostMessageBox(std::string_view) {}
};

// The host's game timers. A started timer fires every `intervalMs` until stopped; starting it
// again restarts its interval.
enum class HostTimer { Turn, Pass, Bot };
inline constexpr int kHostTimers = 3;

class Timers {
  public:
    virtual ~Timers() = default;
    virtual void start(HostTimer timer, int intervalMs) = 0;
    virtual void stop(HostTimer timer) = 0;
};

class Random {
  public:
    virtual ~Random() = default;
    // A uniform integer from 0 to n - 1.
    virtual int random(int n) = 0;
};

// A Mersenne Twister behind the seam; seeded from the clock in production, fixed in tests.
class SeededRandom : public Random {
  public:
    explicit SeededRandom(unsigned seed) : m_engine(seed) {}
    int random(int n) override {
        return n <= 1 ? 0 : static_cast<int>(m_engine() % static_cast<unsigned>(n));
    }

  private:
    std::mt19937 m_engine;
};

// The bot's pace and strength, read at the moment they are used so that a change in the menu
// (or the settings file of a headless host) takes effect on the next bot action.
class BotSettings {
  public:
    virtual ~BotSettings() = default;
    virtual int botDelayMs() const = 0;
    // True for "Not Limited" and for "Strong": a strong bot that falls back plays unlimited.
    virtual bool botNotLimited() const = 0;
    // The ability as the menu's tag gives it. Settings that know only the first two abilities
    // answer it from botNotLimited().
    virtual int botAbility() const;
};

inline constexpr int kAbilityLimited = 0;
inline constexpr int kAbilityNotLimited = 1;
inline constexpr int kAbilityStrong = 2; // plans the whole throw (strongbot.h)

inline int BotSettings::botAbility() const {
    return botNotLimited() ? kAbilityNotLimited : kAbilityLimited;
}

inline constexpr int kDefaultBotDelayMs = 1500; // before the settings are first read

class FixedBotSettings : public BotSettings {
  public:
    explicit FixedBotSettings(int delayMs = kDefaultBotDelayMs, bool unlimited = true)
        : delay(delayMs), notLimited(unlimited) {}
    int botDelayMs() const override { return delay; }
    bool botNotLimited() const override { return notLimited || strong; }
    int botAbility() const override { return strong ? kAbilityStrong : BotSettings::botAbility(); }
    int delay;
    bool notLimited;
    bool strong = false;
};

} // namespace bg
