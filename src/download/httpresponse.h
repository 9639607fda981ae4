#pragma once
// The HTTP/1.0 exchange of the lobby download, without any socket: the request text and a
// reader that takes the response in whatever pieces the network delivers.
//
// HttpResponseReader::feed() reports, through a Sink, each header line as it completes (the
// status line first), the start of the body, and every piece of body. The reader knows the
// status code, the Location of a redirect and whether a Content-Length was reached, so the
// caller can tell a finished body from a cut one when the connection closes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace http {

inline constexpr std::string_view kUserAgent = "Mozilla/3.0 (compatible)";
inline constexpr std::string_view kAccept =
    "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";

// "GET <path> HTTP/1.0" with Host, User-Agent and Accept; the server closes after the body.
// hostField is the host as the Host header carries it ("example.org" or "example.org:8080").
std::string getRequest(std::string_view hostField, std::string_view pathAndQuery);

class HttpResponseReader {
  public:
    struct Sink {
        virtual ~Sink() = default;
        virtual void headerLine(std::string_view line) = 0;
        virtual void bodyBegins() = 0;
        virtual void bodyData(std::string_view piece) = 0;
    };

    // Longest header line and most header lines we accept; a server beyond them is broken.
    static constexpr std::size_t kMaxLine = 8192;
    static constexpr int kMaxLines = 100;

    // Takes the next bytes; false once the response is malformed (the rest is ignored then).
    bool feed(std::string_view bytes, Sink& sink);

    bool malformed() const { return m_malformed; }
    bool inBody() const { return m_inBody; }
    int status() const { return m_status; }
    const std::string& reason() const { return m_reason; }
    const std::string& location() const { return m_location; }
    std::optional<std::int64_t> contentLength() const { return m_length; }
    std::int64_t bodyReceived() const { return m_received; }
    // The body is whole: its announced length arrived (or, without a length, always true
    // once the body began; only the closing connection ends such a body).
    bool bodyComplete() const { return m_inBody && (!m_length || m_received >= *m_length); }

  private:
    bool headerLine(std::string_view line, Sink& sink);
    bool statusLine(std::string_view line);
    void field(std::string_view line);

    std::string m_line;
    int m_lines = 0;
    bool m_inBody = false;
    bool m_malformed = false;
    int m_status = 0;
    std::string m_reason;
    std::string m_location;
    std::optional<std::int64_t> m_length;
    std::int64_t m_received = 0;
};

} // namespace http
