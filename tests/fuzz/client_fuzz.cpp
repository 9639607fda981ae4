// Arbitrary host messages into the client's state, under the address and undefined-behaviour
// sanitizers. The first bytes choose who this client is and which game is running, so the
// fuzzer reaches the game handlers with a real position behind them; the rest is fed as raw
// socket bytes, cut at 0xFF like any read.

#include "clientstate.h"
#include "protocol.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

struct NullSink : bg::ClientSink {
    std::size_t sent = 0;
    void sendBytes(std::string_view b) override { sent += b.size(); }
};

// Every picture stays where an index into the layout could have put it.
void checkPictures(const bg::ClientState& st) {
    const bg::ClientView& v = st.view();
    for (int p = 1; p <= 2; ++p)
        for (int id = 1; id <= bg::kPieces; ++id) {
            const bg::CheckerSprite& s = v.checkers[p][id];
            if (s.left < 0 || s.left >= bg::geo::kPanelWidth) std::abort();
            if (s.top < -400 || s.top > bg::geo::kPanelHeight) std::abort();
            if (s.layer < 0 || s.layer > bg::kLevels) std::abort();
        }
    for (int v2 : {v.dice1.value, v.dice2.value, v.double1.value, v.double2.value})
        if (!(v2 >= 0 && v2 <= 6) && v2 != bg::kAwaitingRoll) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    NullSink sink;
    bg::ClientState st(sink);
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const uint8_t mode = input.empty() ? 0 : static_cast<uint8_t>(input.front());
    if (!input.empty()) input.remove_prefix(1);

    st.setMultiplayer("Fuzz", "127.0.0.1");
    if (mode & 1)
        st.hostpress();
    else
        st.joinpress();
    const int seat = 1 + (mode >> 1) % 4; // 1, 2, or a spectator
    st.dispatch(bg::msg::sendlogininfo(seat));
    st.dispatch(bg::msg::newplayerinfo(1, "Alice"));
    st.dispatch(bg::msg::newplayerinfo(2, "Bob"));
    if (mode & 8) st.dispatch(bg::msg::startgame("Alice", "120", (mode & 16) ? "1" : "0"));

    // Feed in a few reads so split messages are exercised too.
    const std::size_t cut = (mode >> 5) * 7 % (input.size() + 1);
    st.sockRead(input.substr(0, cut));
    while (st.processsocktimer())
        checkPictures(st);
    st.sockRead(input.substr(cut));
    while (st.processsocktimer())
        checkPictures(st);
    checkPictures(st);
    return 0;
}
