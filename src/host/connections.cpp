// Seats, log-in, departures, spectators, relays and the dispatcher of the host.

#include "tserver.h"

#include "strongbot.h"

#include <cstdio>
#include <cstdlib>

namespace bg {

TServer::TServer(Outbox& outbox, Timers& timers, Random& random, const BotSettings& settings)
    : m_outbox(outbox), m_timers(timers), m_random(random), m_settings(settings) {
    m_seats[2].botname = kBotName;
    m_seats[1].opponent = 2;
    m_seats[2].opponent = 1;
}

TServer::~TServer() = default;

StrongBot& TServer::strongBot() {
    if (!m_strong) m_strong = std::make_unique<StrongBot>();
    return *m_strong;
}

void TServer::sendTo(int seat, std::string_view message) {
    if (seat >= 1 && seat <= kRefusedSeat && m_seats[seat].connected) m_outbox.send(seat, message);
}

void TServer::sendToAll(std::string_view message) {
    for (int s = 1; s <= m_seatsused; ++s)
        sendTo(s, message);
}

void TServer::sendToOthers(int seat, std::string_view message) {
    for (int s = 1; s <= m_seatsused; ++s)
        if (s != seat) sendTo(s, message);
}

void TServer::nomoveoffbar(int player) {
    sendToAll(msg::nomoveoffbar(player));
}

int TServer::Sock1Accept(const std::function<void(int seat)>& bind) {
    int seat = 0;
    if (m_seatsused == 0) {
        m_seatsused = 1;
        seat = 1;
    } else {
        seat = m_seatsused;
        for (int i = 1; i <= m_seatsused; ++i)
            if (!m_seats[i].connected) {
                seat = i;
                break;
            }
        if (m_seats[seat].connected) {
            if (seat >= kMaxSeats) {
                // Full: the connection is parked in the spare index only long enough to be told.
                bind(kRefusedSeat);
                m_outbox.send(kRefusedSeat, msg::full());
                m_outbox.close(kRefusedSeat);
                return kRefusedSeat;
            }
            seat = ++m_seatsused;
        }
    }
    SeatRecord& r = m_seats[seat];
    r.connected = true;
    r.buffer.clear();
    dropWaiting(seat);
    bind(seat);
    sendTo(seat, msg::sendlogininfo(seat));
    return seat;
}

void TServer::Sock1Read(int seat, std::string_view bytes) {
    if (seat < 1 || seat > kMaxSeats || !m_seats[seat].connected) return;
    SeatRecord& r = m_seats[seat];
    std::vector<std::string> lines;
    const bool sane = r.buffer.feed(bytes, lines);
    if (r.waiting.empty() && !lines.empty()) m_ready.push_back(seat);
    for (auto& line : lines)
        r.waiting.push_back(std::move(line));
    // A peer that never ends its line, or sends far faster than it can be served, would grow
    // the host without bound: let it go like any departing connection.
    if (!sane || r.waiting.size() > kMaxWaitingLines) m_outbox.close(seat);
}

void TServer::dropWaiting(int seat) {
    m_seats[seat].waiting.clear();
    std::erase(m_ready, seat);
}

void TServer::tempsockDisconnect(int seat) {
    if (seat >= 1 && seat <= kMaxSeats && m_seats[seat].connected) m_outbox.close(seat);
}

void TServer::tempsockInfo(int seat, std::string_view msgText) {
    if (msgText != "Socket Closed" || seat < 1 || seat > kMaxSeats) return;
    SeatRecord& r = m_seats[seat];
    // A peer's close is reported twice (once by our own close, once by the socket layer).
    // Only the first report, while the seat is still taken, frees it and moves the game on.
    if (!r.connected) return;
    sendToOthers(seat, msg::playerdisconnected(seat, r.name));
    r.connected = false;
    r.name.clear();
    r.watching = false;
    r.buffer.clear();
    // What the connection sent before it went dies with it: handled later, a log-in would
    // bring the freed seat back as a ghost, and anything else would be laid at the door of the
    // next connection in this seat.
    dropWaiting(seat);
    if (m_gamerunning && seat <= kPlayerSeats) letGameGoOn(seat, true);
}

// A player left or only watches now: press start for it, or throw, move or pass its turn.
void TServer::letGameGoOn(int seat, bool exceptHostSeat) {
    SeatRecord& r = m_seats[seat];
    if (r.startpending) {
        pressstart(restOf(msg::pressstart(seat)));
        return;
    }
    if (!r.turnopen || (exceptHostSeat && m_hostSeatIsLocal && seat == kHostSeat)) return;
    if (m_board.currentplayer != seat) return;
    if (m_board.dice.die1 == kAwaitingRoll)
        rolldice(restOf(msg::rolldice(seat)));
    else if (m_board.dice.die1 != 0 || m_board.dice.die2 != 0)
        scheduleBot(BotAction::Move);
    else if (m_board.checkforacey())
        // The 1 and 2 are played and the double is still to choose, as after a time-out.
        scheduleBot(BotAction::Double);
    else
        findplayer();
}

void TServer::receivedlogininfo(const std::string& rest) {
    Fields f(rest);
    const int n = f.number();
    const std::string version = f.text();
    const std::string name = f.remaining();
    if (n < 1 || n > kMaxSeats) return;
    SeatRecord& r = m_seats[n];
    if (!r.connected) return; // nobody is there to log in
    r.name = name;
    sendToAll(msg::newplayerinfo(n, name));
    for (int i = 1; i <= m_seatsused; ++i)
        if (i != n && m_seats[i].connected) sendTo(n, msg::existingplayers(i, m_seats[i].name));
    if (version != kVersion) {
        sendTo(kHostSeat, msg::havewrongversion(name));
        sendTo(n, msg::wrongversion());
    }
    if (m_gamerunning) {
        r.timedout = true;
        sendTo(n, msg::loadboard(n, m_board));
    }
}

void TServer::kickhim(const std::string& rest) {
    Fields f(rest);
    if (f.number() != kHostSeat) return;
    disconnectsock(f.number());
}

void TServer::disconnectsock(int seat) {
    if (seat >= 1 && seat <= kMaxSeats && m_seats[seat].connected) m_outbox.close(seat);
}

void TServer::justwatch(const std::string& rest, int origin) {
    Fields f(rest);
    const int seat = f.number();
    if (seat < 1 || seat > kPlayerSeats || !m_gamerunning) return;
    // Only the hosting player may switch somebody else's seat.
    if (origin != kInternal && origin != seat && origin != kHostSeat) return;
    const std::string& mode = f.remaining();
    SeatRecord& r = m_seats[seat];
    if (mode == "2") {
        r.watching = false;
        sendToAll(msg::justwatching(seat, 2));
    } else if (mode == "1") {
        r.watching = true;
        sendToAll(msg::justwatching(seat, 1));
        letGameGoOn(seat, false);
    }
}

namespace {
// The name of the seat named by a relay's seat field; empty for a seat that does not exist.
std::string_view relayName(const std::array<SeatRecord, kRefusedSeat + 1>& seats, int seat) {
    return seat >= 1 && seat <= kMaxSeats ? std::string_view(seats[seat].name) : std::string_view();
}
} // namespace

void TServer::chat(const std::string& rest) {
    Fields f(rest);
    const std::string seatField = f.text();
    const int seat = toIntOrThrow(seatField);
    sendToAll(msg::chatRelay(seatField, relayName(m_seats, seat), f.remaining()));
}

void TServer::action(const std::string& rest) {
    Fields f(rest);
    const std::string seatField = f.text();
    const int seat = toIntOrThrow(seatField);
    sendToAll(msg::actionRelay(seatField, relayName(m_seats, seat), f.remaining()));
}

void TServer::playasound(const std::string& rest) {
    Fields f(rest);
    const int seat = f.number();
    sendToAll(msg::playasoundRelay(seat, f.remaining()));
}

void TServer::socktimerTimer() {
    if (m_ready.empty()) return;
    const int seat = m_ready.front();
    m_ready.pop_front();
    SeatRecord& r = m_seats[seat];
    const std::string line = std::move(r.waiting.front());
    r.waiting.pop_front();
    if (!r.waiting.empty()) m_ready.push_back(seat);
    dispatch(line, seat);
}

// Requests whose first field is the sender's own seat.
bool TServer::ownSeatRequired(std::string_view word) const {
    return word != "CMD_startgame" && word != "CMD_justwatch";
}

namespace {
using Handler = void (*)(TServer&, const std::string& rest, int origin);
// The known requests, in the order they are compared.
const std::pair<std::string_view, Handler> kHandlers[] = {
    {"CMD_logininfo", [](TServer& h, const std::string& r, int) { h.receivedlogininfo(r); }},
    {"CMD_kickhim", [](TServer& h, const std::string& r, int) { h.kickhim(r); }},
    {"CMD_chat", [](TServer& h, const std::string& r, int) { h.chat(r); }},
    {"CMD_action", [](TServer& h, const std::string& r, int) { h.action(r); }},
    {"CMD_startgame", [](TServer& h, const std::string& r, int) { h.startgame(r); }},
    {"CMD_justwatch", [](TServer& h, const std::string& r, int o) { h.justwatch(r, o); }},
    {"CMD_rolldice", [](TServer& h, const std::string& r, int) { h.rolldice(r); }},
    {"CMD_moveit", [](TServer& h, const std::string& r, int) { h.moveit(r); }},
    {"CMD_placehome", [](TServer& h, const std::string& r, int) { h.placehome(r); }},
    {"CMD_pressstart", [](TServer& h, const std::string& r, int) { h.pressstart(r); }},
    {"CMD_mydoubles", [](TServer& h, const std::string& r, int) { h.mydoubles(r); }},
    {"CMD_concede", [](TServer& h, const std::string& r, int) { h.concede(r); }},
    {"CMD_undo", [](TServer& h, const std::string& r, int) { h.undo(r); }},
    {"CMD_playasound", [](TServer& h, const std::string& r, int) { h.playasound(r); }},
};
} // namespace

void TServer::dispatch(std::string_view line, int origin) {
    const Command cmd = splitCommand(line);
    if (cmd.word.empty()) return;
    if (origin != kInternal) {
        if (ownSeatRequired(cmd.word)) {
            int named = 0;
            if (!toInt(Fields(cmd.rest).text(), named) || named != origin) return;
        }
        if ((cmd.word == "CMD_startgame" || cmd.word == "CMD_kickhim") && origin != kHostSeat)
            return;
    }
    try {
        for (const auto& [word, handle] : kHandlers)
            if (cmd.word == word) {
                handle(*this, cmd.rest, origin);
                break;
            }
    } catch (const FieldError&) {
        // A field that is not a number ends this one request; what it changed stays.
    }
    assertConsistent();
}

void TServer::assertConsistent() const {
#ifndef NDEBUG
    const std::string problem = validate();
    if (!problem.empty()) {
        std::fprintf(stderr, "host position inconsistent: %s\n", problem.c_str());
        std::abort();
    }
#endif
}

} // namespace bg
