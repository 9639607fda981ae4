// The host engine under arbitrary input, with the address and undefined-behaviour sanitizers.
// The input is a series of operations: raw bytes from a seat (any line, any seat field),
// connections coming and going, time passing, and well-formed game requests built from the
// input's bytes so that games really get started, thrown, moved, undone and won. After every
// operation the position must still be consistent.

#include "sim_harness.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace bg;

namespace {

class Input {
  public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool empty() const { return m_pos >= m_size; }
    int byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    // Bytes up to the next 0xFF (kept), as one raw read.
    std::string chunk() {
        std::string out;
        while (m_pos < m_size) {
            const char c = static_cast<char>(m_data[m_pos++]);
            out.push_back(c);
            if (c == kTerminator) break;
        }
        return out;
    }

  private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

void check(const sim::Sim& s) {
    const std::string problem = s.host->validate();
    if (!problem.empty()) {
        std::fprintf(stderr, "inconsistent position: %s\n", problem.c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    sim::Sim s(static_cast<unsigned>(in.byte()), 50 + in.byte() * 10, in.byte() & 1);
    s.outbox.record = false;
    // A headless host's seat 1 is a remote player whose departure the bot covers.
    s.host->setHostSeatIsLocal(!(in.byte() & 1));
    s.join("Host");
    if (in.byte() & 1) s.join("Bob");
    int steps = 0;
    while (!in.empty() && ++steps < 400) {
        const int op = in.byte() % 16;
        const int seat = in.byte() % 12; // includes seats that do not exist
        const int a = in.byte() - 8;     // small numbers, negative ones too
        const int b = in.byte() - 8;
        const int player = s.host->board().currentplayer ? s.host->board().currentplayer : 1;
        switch (op) {
        case 0:
            s.host->Sock1Read(seat, in.chunk());
            break;
        case 1:
            s.connect();
            break;
        case 2:
            s.hangUp(seat);
            break;
        case 3:
            s.run(static_cast<int64_t>(a + 8) * 250);
            break;
        case 4:
            s.send(1, msg::startgame("Host", std::to_string(a), (b & 1) ? "1" : "0"));
            break;
        case 5:
            s.send(seat, msg::pressstart(seat));
            break;
        case 6:
            s.send(player, msg::rolldice(player));
            break;
        case 7:
            s.send(player, msg::moveit(player, 1 + (a + 8) % 15, 1 + (b + 8) % 24));
            break;
        case 8:
            s.send(player, msg::moveit(player, a, b + 8));
            break;
        case 9:
            s.send(player, msg::placehome(player, a, b));
            break;
        case 10:
            s.send(player, msg::mydoubles(player, a));
            break;
        case 11:
            s.send(player, msg::undo(player));
            break;
        case 12:
            s.send(seat, msg::concede(seat));
            break;
        case 13:
            s.send(seat, msg::justwatch(seat, (a & 1) + 1));
            break;
        case 14:
            s.send(seat, msg::chat(seat, in.chunk(), "clRed"));
            break;
        case 15:
            s.send(1, msg::kickhim(1, seat));
            break;
        }
        s.settle();
#ifdef HOST_FUZZ_TRACE
        std::fprintf(stderr, "op %d seat %d a %d b %d -> player %d dice %d %d %d %d: %s\n", op,
                     seat, a, b, s.host->board().currentplayer, s.host->board().dice.die1,
                     s.host->board().dice.die2, s.host->board().dice.double1,
                     s.host->board().dice.double2, s.host->validate().c_str());
#endif
        check(s);
    }
    s.run(30000); // let the bot carry on for a while
    check(s);
    return 0;
}
