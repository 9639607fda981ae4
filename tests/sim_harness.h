#pragma once
// Runs the host engine without sockets or real time: an in-memory outbox that records every
// message per seat, a virtual clock that fires the game timers in time order, and a seeded
// (optionally scripted) random source. Closing a seat reports "Socket Closed" back at once,
// as the socket layer does.

#include "tserver.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bg::sim {

struct Sent {
    int seat;
    std::string text;
};

class MemoryOutbox : public Outbox {
  public:
    std::function<void(int seat)> onClose;
    std::function<void(int seat, std::string_view)> onSend;
    std::vector<Sent> log;
    std::vector<int> closed;
    std::vector<std::string> hostChats;
    std::vector<std::string> hostBoxes;
    bool record = true;

    void send(int seat, std::string_view message) override {
        if (record) log.push_back({seat, std::string(message)});
        if (onSend) onSend(seat, message);
    }
    void close(int seat) override {
        closed.push_back(seat);
        if (onClose) onClose(seat);
    }
    void hostChat(std::string_view text) override { hostChats.emplace_back(text); }
    void hostMessageBox(std::string_view text) override { hostBoxes.emplace_back(text); }

    std::vector<std::string> to(int seat) const {
        std::vector<std::string> out;
        for (const Sent& s : log)
            if (s.seat == seat) out.push_back(s.text);
        return out;
    }
    void clear() { log.clear(); }
};

// Periodic timers on a virtual millisecond clock.
class VirtualClock : public Timers {
  public:
    void start(HostTimer t, int intervalMs) override {
        Slot& s = m_slots[static_cast<int>(t)];
        s.running = true;
        s.interval = std::max(1, intervalMs);
        s.due = now + s.interval;
        s.order = ++m_sequence;
    }
    void stop(HostTimer t) override { m_slots[static_cast<int>(t)].running = false; }
    bool running(HostTimer t) const { return m_slots[static_cast<int>(t)].running; }
    int interval(HostTimer t) const { return m_slots[static_cast<int>(t)].interval; }

    // The next timer to fire, or -1 when none runs.
    int nextDue(int64_t& when) const {
        int best = -1;
        for (int i = 0; i < kHostTimers; ++i) {
            const Slot& s = m_slots[i];
            if (!s.running) continue;
            if (best < 0 || s.due < m_slots[best].due ||
                (s.due == m_slots[best].due && s.order < m_slots[best].order))
                best = i;
        }
        if (best >= 0) when = m_slots[best].due;
        return best;
    }
    void reschedule(int i) {
        Slot& s = m_slots[i];
        s.due += s.interval;
        s.order = ++m_sequence;
    }

    int64_t now = 0;

  private:
    struct Slot {
        bool running = false;
        int interval = 0;
        int64_t due = 0;
        uint64_t order = 0;
    };
    Slot m_slots[kHostTimers];
    uint64_t m_sequence = 0;
};

// Returns scripted values first (each must be below n), then seeded ones.
class ScriptedRandom : public Random {
  public:
    explicit ScriptedRandom(unsigned seed) : m_seeded(seed) {}
    std::deque<int> script;
    int random(int n) override {
        if (!script.empty()) {
            const int v = script.front();
            script.pop_front();
            return v;
        }
        return m_seeded.random(n);
    }

  private:
    SeededRandom m_seeded;
};

class Sim {
  public:
    explicit Sim(unsigned seed = 1, int botDelayMs = 1000, bool notLimited = true)
        : random(seed), settings(botDelayMs, notLimited),
          host(std::make_unique<TServer>(outbox, clock, random, settings)) {
        outbox.onClose = [this](int seat) {
            if (seat == kRefusedSeat) return;
            host->tempsockInfo(seat, "Socket Closed");
        };
    }

    // A new connection; returns its seat (kRefusedSeat when refused).
    int connect() {
        return host->Sock1Accept([](int) {});
    }
    // A connection that logs in with `name`; returns its seat.
    int join(const std::string& name, const std::string& version = kVersion) {
        const int seat = connect();
        send(seat, msg::logininfo(seat, version, name));
        settle();
        return seat;
    }
    void send(int seat, const std::string& message) { host->Sock1Read(seat, frame(message)); }
    // The peer of `seat` hangs up: OnDisconnect, then the socket layer's own close.
    void hangUp(int seat) {
        host->tempsockDisconnect(seat);
        host->tempsockInfo(seat, "Socket Closed");
    }

    // Advances virtual time by `ms`, dispatching one queued line per 10 ms and firing timers.
    // `afterEach` runs after every dispatched line and timer firing.
    void run(int64_t ms, const std::function<void()>& afterEach = {}) {
        const int64_t end = clock.now + ms;
        while (true) {
            int64_t timerAt = 0;
            const int t = clock.nextDue(timerAt);
            const int64_t dispatchAt = host->hasQueuedLines() ? nextDispatch() : INT64_MAX;
            const int64_t at = std::min(t >= 0 ? timerAt : INT64_MAX, dispatchAt);
            if (at > end) break;
            clock.now = at;
            if (dispatchAt <= (t >= 0 ? timerAt : INT64_MAX)) {
                m_lastDispatch = at;
                host->socktimerTimer();
            } else {
                clock.reschedule(t);
                host->timerFired(static_cast<HostTimer>(t));
            }
            if (afterEach) afterEach();
        }
        clock.now = end;
    }
    // Handles every queued line, 10 ms apart, without firing timers that are not due yet.
    void settle() {
        while (host->hasQueuedLines())
            run(kDispatchIntervalMs);
    }

    MemoryOutbox outbox;
    VirtualClock clock;
    ScriptedRandom random;
    FixedBotSettings settings;
    std::unique_ptr<TServer> host;

  private:
    int64_t nextDispatch() const {
        const int64_t tick = (clock.now / kDispatchIntervalMs + 1) * kDispatchIntervalMs;
        return std::max(tick, m_lastDispatch + kDispatchIntervalMs);
    }
    int64_t m_lastDispatch = -kDispatchIntervalMs;
};

} // namespace bg::sim
