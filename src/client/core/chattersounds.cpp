#include "chattersounds.h"

#include <array>
#include <cctype>
#include <charconv>

namespace bg {

namespace {

constexpr std::array<std::string_view, kChatterSounds + 1> kCaptions = {"",
                                                                        "Doh",
                                                                        "Cough",
                                                                        "Hello",
                                                                        "Thank You",
                                                                        "Where have you been?",
                                                                        "Snoring",
                                                                        "Sneezing",
                                                                        "Sorry",
                                                                        "Welcome",
                                                                        "Yeehaa",
                                                                        "Yippee",
                                                                        "Oh No",
                                                                        "Applause",
                                                                        "Honk",
                                                                        "Oooh",
                                                                        "Razzberry",
                                                                        "Cheer",
                                                                        "Woman Laughing",
                                                                        "Man Laughing",
                                                                        "Crying"};

constexpr std::array<std::string_view, 15> kEventSounds = {
    "CHOOSEDOUBLE", "DICE", "ENTERED", "GETBAR", "INVALID", "MOVECHIP", "MOVEHOME", "PUTBAR",
    "STARTGAME",    "TICK", "TIMEUP",  "TURN",   "TURNNEW", "UNABLE",   "WINNER"};

constexpr std::string_view kWavePrefix = "WAVE";

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::optional<int> parseSeat(std::string_view s) {
    int v = 0;
    const char* end = s.data() + s.size();
    auto [p, ec] = std::from_chars(s.data(), end, v);
    if (s.empty() || ec != std::errc() || p != end) return std::nullopt;
    return v;
}

} // namespace

std::string_view chatterCaption(int tag) {
    if (tag < 1 || tag > kChatterSounds) return {};
    return kCaptions[static_cast<std::size_t>(tag)];
}

std::optional<int> chatterTag(std::string_view name) {
    const std::string u = upper(name);
    if (u.rfind(kWavePrefix, 0) != 0) return std::nullopt;
    const std::string_view digits = std::string_view(u).substr(kWavePrefix.size());
    // "wave13" only: no sign, no leading zero, nothing after the number.
    if (digits.empty() || digits.front() == '0' || digits.front() == '+') return std::nullopt;
    const std::optional<int> tag = parseSeat(digits);
    if (!tag || *tag < 1 || *tag > kChatterSounds) return std::nullopt;
    return tag;
}

const std::vector<std::string>& allStoredSounds() {
    static const std::vector<std::string> all = [] {
        std::vector<std::string> v(kEventSounds.begin(), kEventSounds.end());
        for (int n = 1; n <= kChatterSounds; ++n)
            v.push_back(std::string(kWavePrefix) + std::to_string(n));
        return v;
    }();
    return all;
}

std::optional<std::string> storedSoundName(std::string_view request) {
    const std::string u = upper(request);
    for (const std::string& name : allStoredSounds())
        if (name == u) return name;
    return std::nullopt;
}

ChatterReceipt receiveChatter(std::string_view body, bool chatterOn,
                              const std::function<std::optional<std::string>(int)>& seatName) {
    const std::size_t plus = body.find('+');
    if (plus == std::string_view::npos) return {};
    const std::string_view sender = body.substr(0, plus);
    std::string_view name = body.substr(plus + 1);
    name = name.substr(0, name.find('+'));
    if (chatterOn) return {std::string(name), {}};
    // Reading it instead: a sender without a name label or a name without a menu item shows
    // nothing.
    const std::optional<int> seat = parseSeat(sender);
    const std::optional<int> tag = chatterTag(name);
    if (!seat || !tag) return {};
    const std::optional<std::string> who = seatName(*seat);
    if (!who) return {};
    return {{}, "0+" + *who + ": <Chatter Sound> " + std::string(chatterCaption(*tag))};
}

} // namespace bg
