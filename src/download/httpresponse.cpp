#include "httpresponse.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace http {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

template <typename Int> std::optional<Int> number(std::string_view s) {
    Int value{};
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || value < 0) return std::nullopt;
    return value;
}

} // namespace

std::string getRequest(std::string_view hostField, std::string_view pathAndQuery) {
    std::string r;
    r.append("GET ").append(pathAndQuery.empty() ? "/" : pathAndQuery).append(" HTTP/1.0\r\n");
    r.append("Host: ").append(hostField).append("\r\n");
    r.append("User-Agent: ").append(kUserAgent).append("\r\n");
    r.append("Accept: ").append(kAccept).append("\r\n\r\n");
    return r;
}

bool HttpResponseReader::feed(std::string_view bytes, Sink& sink) {
    while (!bytes.empty() && !m_malformed) {
        if (m_inBody) {
            // Bytes beyond an announced length are not part of the document.
            std::string_view piece = bytes;
            if (m_length) {
                const auto room = std::max<std::int64_t>(0, *m_length - m_received);
                piece = bytes.substr(
                    0, static_cast<std::size_t>(std::min<std::int64_t>(room, bytes.size())));
            }
            if (piece.empty()) return true;
            m_received += static_cast<std::int64_t>(piece.size());
            sink.bodyData(piece);
            return true;
        }
        const auto nl = bytes.find('\n');
        const auto take = nl == std::string_view::npos ? bytes.size() : nl;
        m_line.append(bytes.substr(0, take));
        if (m_line.size() > kMaxLine) {
            m_malformed = true;
            break;
        }
        if (nl == std::string_view::npos) return true;
        bytes.remove_prefix(nl + 1);
        std::string line;
        line.swap(m_line);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!headerLine(line, sink)) m_malformed = true;
    }
    return !m_malformed;
}

bool HttpResponseReader::headerLine(std::string_view line, Sink& sink) {
    if (line.empty()) {
        if (m_lines == 0) return false;
        m_inBody = true;
        sink.bodyBegins();
        return true;
    }
    if (++m_lines > kMaxLines) return false;
    if (m_lines == 1 && !statusLine(line)) return false;
    if (m_lines > 1) field(line);
    sink.headerLine(line);
    return true;
}

// "HTTP/1.x 200 OK"
bool HttpResponseReader::statusLine(std::string_view line) {
    if (line.substr(0, 5) != "HTTP/") return false;
    const auto sp = line.find(' ');
    if (sp == std::string_view::npos) return false;
    std::string_view rest = line.substr(sp + 1);
    const auto code = number<int>(rest.substr(0, 3));
    if (!code || *code < 100 || *code > 999 || (rest.size() > 3 && rest[3] != ' ')) return false;
    m_status = *code;
    m_reason = std::string(trim(rest.size() > 3 ? rest.substr(4) : std::string_view()));
    return true;
}

void HttpResponseReader::field(std::string_view line) {
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) return;
    const std::string_view name = trim(line.substr(0, colon));
    const std::string_view value = trim(line.substr(colon + 1));
    if (sameName(name, "Content-Length")) {
        m_length = number<std::int64_t>(value);
        // A length that is not a number leaves no way to tell a whole body from a cut one.
        if (!m_length) m_malformed = true;
    } else if (sameName(name, "Location")) {
        m_location = std::string(value);
    }
}

} // namespace http
