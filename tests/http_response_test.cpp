// The lobby download's HTTP exchange without a socket: the request text, and the response
// reader fed in every possible split of the bytes.

#include "httpresponse.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using http::HttpResponseReader;

namespace {

// Records the reader's events as text lines: "H <line>", "BEGIN", "D <piece>".
struct Recorder : HttpResponseReader::Sink {
    std::vector<std::string> events;
    std::string body;
    void headerLine(std::string_view line) override { events.push_back("H " + std::string(line)); }
    void bodyBegins() override { events.push_back("BEGIN"); }
    void bodyData(std::string_view piece) override { body.append(piece); }
};

const std::string kResponse = "HTTP/1.1 200 OK\r\n"
                              "Content-Type: application/octet-stream\r\n"
                              "content-length: 11\r\n"
                              "\r\n"
                              "hello world and more beyond the length";

} // namespace

TEST(HttpRequest, IsHttp10WithTheDownloadHeaders) {
    EXPECT_EQ(http::getRequest("www.veskor.example:8080", "/lobby/vxlsetup.exe"),
              "GET /lobby/vxlsetup.exe HTTP/1.0\r\n"
              "Host: www.veskor.example:8080\r\n"
              "User-Agent: Mozilla/3.0 (compatible)\r\n"
              "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n"
              "\r\n");
    EXPECT_TRUE(http::getRequest("h", "").starts_with("GET / HTTP/1.0\r\n"));
}

TEST(HttpResponse, EverySplitGivesTheSameEventsAndStopsAtTheLength) {
    for (std::size_t cut = 0; cut <= kResponse.size(); ++cut) {
        HttpResponseReader reader;
        Recorder r;
        ASSERT_TRUE(reader.feed(std::string_view(kResponse).substr(0, cut), r));
        ASSERT_TRUE(reader.feed(std::string_view(kResponse).substr(cut), r));
        EXPECT_EQ(r.events, (std::vector<std::string>{"H HTTP/1.1 200 OK",
                                                      "H Content-Type: application/octet-stream",
                                                      "H content-length: 11", "BEGIN"}))
            << "cut at " << cut;
        EXPECT_EQ(r.body, "hello world");
        EXPECT_EQ(reader.status(), 200);
        EXPECT_EQ(reader.reason(), "OK");
        EXPECT_EQ(reader.contentLength(), 11);
        EXPECT_EQ(reader.bodyReceived(), 11);
        EXPECT_TRUE(reader.bodyComplete());
    }
}

TEST(HttpResponse, BodyWithoutLengthRunsUntilTheCallerStops) {
    HttpResponseReader reader;
    Recorder r;
    EXPECT_FALSE(reader.bodyComplete());
    ASSERT_TRUE(reader.feed("HTTP/1.0 200 OK\nServer: x\n\nab", r));
    ASSERT_TRUE(reader.feed("cd", r));
    EXPECT_EQ(r.body, "abcd");
    EXPECT_FALSE(reader.contentLength());
    EXPECT_TRUE(reader.bodyComplete());
}

TEST(HttpResponse, ShortBodyIsNotComplete) {
    HttpResponseReader reader;
    Recorder r;
    ASSERT_TRUE(reader.feed("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n0123456789", r));
    EXPECT_EQ(reader.bodyReceived(), 10);
    EXPECT_FALSE(reader.bodyComplete());
}

TEST(HttpResponse, ErrorStatusAndRedirectAreRead) {
    HttpResponseReader notFound;
    Recorder r;
    ASSERT_TRUE(notFound.feed("HTTP/1.0 404 Not Found\r\n\r\n", r));
    EXPECT_EQ(notFound.status(), 404);
    EXPECT_EQ(notFound.reason(), "Not Found");

    HttpResponseReader moved;
    ASSERT_TRUE(moved.feed("HTTP/1.1 302 Found\r\nLocation:  /elsewhere/x.exe \r\n\r\n", r));
    EXPECT_EQ(moved.status(), 302);
    EXPECT_EQ(moved.location(), "/elsewhere/x.exe");
}

TEST(HttpResponse, MalformedAnswersAreRefused) {
    const char* bad[] = {
        "SSH-2.0-OpenSSH\r\n\r\n",                          // not HTTP at all
        "HTTP/1.0 2000 OK\r\n\r\n",                         // four-digit status
        "HTTP/1.0 abc OK\r\n\r\n",                          // no number
        "HTTP/1.0\r\n\r\n",                                 // no status
        "\r\n",                                             // empty head
        "HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\n",    // negative length
        "HTTP/1.0 200 OK\r\nContent-Length: 12abc\r\n\r\n", // not a number
    };
    for (const char* text : bad) {
        HttpResponseReader reader;
        Recorder r;
        EXPECT_FALSE(reader.feed(text, r)) << text;
        EXPECT_TRUE(reader.malformed()) << text;
        EXPECT_TRUE(r.body.empty()) << text;
    }
}

TEST(HttpResponse, EndlessHeadersAreRefused) {
    HttpResponseReader longLine;
    Recorder r;
    EXPECT_FALSE(longLine.feed(
        "HTTP/1.0 200 OK\r\nX: " + std::string(HttpResponseReader::kMaxLine, 'a'), r));

    HttpResponseReader manyLines;
    std::string head = "HTTP/1.0 200 OK\r\n";
    for (int i = 0; i < HttpResponseReader::kMaxLines; ++i)
        head += "X-Filler: " + std::to_string(i) + "\r\n";
    EXPECT_FALSE(manyLines.feed(head, r));
    EXPECT_FALSE(manyLines.inBody());
}
