#pragma once
// The phrase buttons' rate limit: a sent phrase closes the gate for 2 seconds of real time,
// as the phrase editor tells the user ("once every 2 seconds"). Counting timer ticks instead
// would tie the pause to how often the platform runs a 1 ms timer.

#include <chrono>
#include <functional>
#include <optional>

namespace bg {

inline constexpr std::chrono::milliseconds kPhraseGatePause{2000};

class PhraseGate {
  public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;

    explicit PhraseGate(Now now = &Clock::now) : m_now(std::move(now)) {}
    // Tests drive the gate by a clock of their own.
    void setClock(Now now) { m_now = std::move(now); }

    bool open() const { return !m_closedAt || m_now() - *m_closedAt >= kPhraseGatePause; }
    void close() { m_closedAt = m_now(); }

  private:
    Now m_now;
    std::optional<Clock::time_point> m_closedAt;
};

} // namespace bg
