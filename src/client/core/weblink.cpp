#include "weblink.h"

namespace bg {

namespace {

// Characters that never belong in an address: blanks, controls and the ones a shell or a
// browser would treat specially.
bool unsafe(unsigned char c) {
    if (c <= 0x20 || c == 0x7F) return true;
    for (char bad : std::string_view("\"<>\\^`{|}"))
        if (c == static_cast<unsigned char>(bad)) return true;
    return false;
}

std::optional<std::string> checked(std::string_view address, std::string_view scheme) {
    for (char c : address)
        if (unsafe(static_cast<unsigned char>(c))) return std::nullopt;
    const std::string_view rest = address.substr(scheme.size());
    const std::size_t hostEnd = rest.find_first_of("/?#:");
    const std::string_view host = rest.substr(0, hostEnd);
    if (host.empty() || host.front() == '.' || host.front() == '@') return std::nullopt;
    if (rest.substr(0, rest.find_first_of("/?#")).find('@') != std::string_view::npos)
        return std::nullopt; // a user part hides where the address really goes
    return std::string(address);
}

} // namespace

std::optional<std::string> webAddressForLink(std::string_view word) {
    if (!word.empty() && word.back() == ' ') word.remove_suffix(1);
    constexpr std::string_view kHttp = "http://";
    constexpr std::string_view kHttps = "https://";
    if (word.substr(0, 4) == "www.") return checked(std::string(kHttp) + std::string(word), kHttp);
    const std::size_t http = word.find(kHttp);
    const std::size_t https = word.find(kHttps);
    if (http == std::string_view::npos && https == std::string_view::npos) return std::nullopt;
    const bool secure =
        http == std::string_view::npos || (https != std::string_view::npos && https < http);
    const std::size_t from = secure ? https : http;
    return checked(word.substr(from), secure ? kHttps : kHttp);
}

} // namespace bg
