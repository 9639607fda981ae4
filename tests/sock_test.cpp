// Sock on loopback under a real Qt event loop. Listeners bind port 0, so parallel runs never
// collide; every wait has a generous limit only so that a broken build fails instead of hanging.

#include "sock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <functional>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

using bg::ESockException;
using bg::Sock;

namespace {

bool pumpUntil(const std::function<bool()>& done) {
    QTimer wake; // keeps WaitForMoreEvents from sleeping past the limit
    wake.start(10);
    const QDeadlineTimer limit(20000);
    while (!done() && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

std::string failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ESockException& e) {
        return e.what();
    }
    return "(no exception)";
}

// Info texts and the other callbacks of one socket, in the order they happened.
struct Trace {
    std::vector<std::string> lines;
    void watch(Sock* s) {
        s->OnInfo = [this](Sock*, Sock::SocketInfo, const std::string& msg) {
            lines.push_back(msg);
        };
        s->OnDisconnect = [this](Sock*) { lines.push_back("<disconnect>"); };
        s->OnConnect = [this](Sock*) { lines.push_back("<connect>"); };
    }
    int count(const std::string& line) const {
        return static_cast<int>(std::count(lines.begin(), lines.end(), line));
    }
    std::vector<std::string> without(const std::string& noise) const {
        std::vector<std::string> out;
        for (const auto& l : lines)
            if (l != noise) out.push_back(l);
        return out;
    }
};

// A byte pattern that differs between the two halves and with the position, so that a lost,
// doubled or swapped chunk shows up as a mismatch.
std::string pattern(std::size_t size, unsigned seed) {
    std::string s(size, '\0');
    unsigned x = seed;
    for (auto& c : s) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    return s;
}

sockaddr_in loopback(int port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    return addr;
}

class SockTest : public ::testing::Test {
  protected:
    void SetUp() override {
        listener = new Sock(&owner);
        listenerTrace.watch(listener);
        listener->setPortName("0");
        listener->OnAccept = [this](Sock* s) {
            Sock* fresh = nullptr;
            if (s->Accept(fresh)) accepted.push_back(fresh);
        };
        listener->setListen(true);
        port = std::to_string(listener->localPort());
    }

    Sock* newClient(const std::string& host = "127.0.0.1") {
        auto* s = new Sock(&owner);
        s->setHostName(host);
        s->setPortName(port);
        return s;
    }

    // Connects a fresh client and returns the listener's side of the connection.
    Sock* connectPair(Sock* client) {
        const std::size_t before = accepted.size();
        EXPECT_FALSE(client->Open());
        EXPECT_TRUE(pumpUntil([&] { return client->connected() && accepted.size() > before; }));
        return accepted.size() > before ? accepted.back().data() : nullptr;
    }

    QObject owner; // accepted sockets take the listener's parent
    Sock* listener = nullptr;
    Trace listenerTrace;
    std::vector<QPointer<Sock>> accepted;
    std::string port;
};

TEST_F(SockTest, AcceptAndConnectReportInOrderAndCopyHandlers) {
    EXPECT_EQ(listenerTrace.lines,
              (std::vector<std::string>{"Lookup Of Port 0", "Listening Started"}));
    std::vector<Sock*> readers;
    listener->OnRead = [&](Sock* s, int) { readers.push_back(s); };

    Sock* client = newClient();
    Trace clientTrace;
    clientTrace.watch(client);
    Sock* server = connectPair(client);
    ASSERT_NE(server, nullptr);

    EXPECT_EQ(clientTrace.lines,
              (std::vector<std::string>{"Lookup Of Port " + port, "Lookup Of Host 127.0.0.1",
                                        "Non-Blocking Socket Connected", "<connect>"}));
    EXPECT_EQ(listenerTrace.count("Created New TSock Structure"), 1);
    EXPECT_TRUE(server->connected());
    EXPECT_EQ(server->hostName(), "127.0.0.1");
    EXPECT_EQ(server->portName(), listener->portName());

    // The accepted socket reads through the listener's OnRead and reports through its OnInfo.
    listenerTrace.lines.clear();
    client->Send("CMD_hello\xFF");
    ASSERT_TRUE(pumpUntil([&] { return !readers.empty(); }));
    EXPECT_EQ(readers.front(), server);
    EXPECT_EQ(server->Receive(), "CMD_hello\xFF");
    EXPECT_EQ(listenerTrace.count("Non-Blocking Incoming Data"), 1);
    // Only the Send itself: with nothing queued the socket must not keep reporting writable.
    EXPECT_EQ(clientTrace.count("Non-Blocking Outgoing Data"), 1);

    server->Send(std::string("back"));
    ASSERT_TRUE(pumpUntil([&] { return clientTrace.count("Non-Blocking Incoming Data") == 1; }));
    EXPECT_EQ(client->Receive(), "back");

    client->setHostName("10.0.0.1");
    EXPECT_EQ(clientTrace.lines.back(), "Setting HostName While Connected Has No Effect");
    EXPECT_EQ(client->hostName(), "10.0.0.1");
}

TEST_F(SockTest, SlowReaderGetsTwoSendsCompleteAndInOrder) {
    Sock* client = newClient();
    Sock* server = connectPair(client);
    ASSERT_NE(server, nullptr);

    // Far more than loopback buffers hold, and nobody reads until both sends are done.
    const std::string first = pattern(16 << 20, 1);
    const std::string second = pattern(16 << 20, 2);
    client->Send(first);
    client->Send(second);
    EXPECT_GT(client->pendingSendBytes(), 0u) << "the kernel took everything; test proves nothing";

    std::string got;
    int largestRead = 0;
    server->OnRead = [&](Sock* s, int count) {
        largestRead = std::max(largestRead, count);
        got += s->Receive();
    };
    ASSERT_TRUE(pumpUntil([&] { return got.size() >= first.size() + second.size(); }));
    EXPECT_EQ(client->pendingSendBytes(), 0u);
    ASSERT_EQ(got.size(), first.size() + second.size());
    EXPECT_TRUE(got.compare(0, first.size(), first) == 0);
    EXPECT_TRUE(got.compare(first.size(), second.size(), second) == 0);
    EXPECT_LE(largestRead, 32768);
}

TEST_F(SockTest, PeerCloseGivesDisconnectThenSocketClosed) {
    Sock* client1 = newClient();
    Sock* plain = connectPair(client1);
    Sock* client2 = newClient();
    Sock* closing = connectPair(client2); // its OnDisconnect closes, as the host's does
    ASSERT_TRUE(plain && closing);
    Trace plainTrace, closingTrace;
    plainTrace.watch(plain);
    closingTrace.watch(closing);
    closing->OnDisconnect = [&](Sock* s) {
        closingTrace.lines.push_back("<disconnect>");
        s->Close();
    };

    EXPECT_TRUE(client1->Close());
    client2->Close();
    ASSERT_TRUE(pumpUntil([&] { return plain->handle() == -1 && closing->handle() == -1; }));
    const auto once = std::vector<std::string>{"<disconnect>", "Socket Closed"};
    const auto twice = std::vector<std::string>{"<disconnect>", "Socket Closed", "Socket Closed"};
    EXPECT_EQ(plainTrace.without("Non-Blocking Incoming Data"), once);
    EXPECT_EQ(closingTrace.without("Non-Blocking Incoming Data"), twice);
    EXPECT_FALSE(plain->connected());
}

TEST_F(SockTest, HandlerMayDeleteTheSocketThatReports) {
    Sock* client1 = newClient();
    QPointer<Sock> gone1 = connectPair(client1);
    Sock* client2 = newClient("localhost"); // also goes through the name look-up
    QPointer<Sock> gone2 = connectPair(client2);
    ASSERT_TRUE(gone1 && gone2);
    gone1->OnDisconnect = [](Sock* s) { delete s; };
    gone2->OnInfo = [](Sock* s, Sock::SocketInfo, const std::string& msg) {
        if (msg == "Socket Closed") delete s;
    };
    client1->Close();
    client2->Close();
    // Under the sanitizers any touch of the deleted objects fails this test.
    EXPECT_TRUE(pumpUntil([&] { return gone1.isNull() && gone2.isNull(); }));
}

TEST_F(SockTest, DestroyingAConnectedSocketClosesItQuietly) {
    Sock* client = newClient();
    Trace clientTrace;
    clientTrace.watch(client);
    QPointer<Sock> server = connectPair(client);
    ASSERT_NE(server, nullptr);
    int serverReports = 0;
    server->OnInfo = [&](Sock*, Sock::SocketInfo, const std::string&) { ++serverReports; };

    server->Send(std::string("CMD_full+\xFF"));
    delete server.data();
    ASSERT_TRUE(pumpUntil([&] { return client->handle() == -1; }));
    EXPECT_EQ(serverReports, 1); // the Send info only, nothing from the destructor
    EXPECT_EQ(client->Receive(), "CMD_full+\xFF");
    EXPECT_EQ(clientTrace.count("<disconnect>"), 1);
    EXPECT_EQ(clientTrace.count("Socket Closed"), 1);
}

TEST_F(SockTest, ListeningStateAndTakenPort) {
    Sock second;
    second.setPortName(port);
    EXPECT_EQ(failureOf([&] { second.setListen(true); }), "Listen - Error Binding Socket");
    EXPECT_FALSE(second.listen());
    EXPECT_EQ(second.handle(), -1);

    listener->setListen(true);
    EXPECT_EQ(listenerTrace.lines.back(), "Listening Already Running");
    EXPECT_EQ(failureOf([&] { listener->Send("x"); }), "Send - Cannot Send On A Listener Socket");
    EXPECT_EQ(failureOf([&] { listener->Receive(); }),
              "Receive - Cannot Receive On A Listener Socket");

    Sock* client = newClient();
    ASSERT_NE(connectPair(client), nullptr);
    EXPECT_EQ(failureOf([&] { client->setListen(true); }), "Listen - Socket Already In Use");

    listener->setListen(false);
    EXPECT_EQ(listenerTrace.lines.back(), "Listening Stopped");
    EXPECT_EQ(listenerTrace.count("Socket Closed"), 0);
    // The port is free again once the first listener stopped.
    EXPECT_NO_THROW(second.setListen(true));
}

TEST(SockRefused, RefusedConnectIsAnErrorInfoAndNothingElse) {
    // A bound socket that does not listen keeps the port ours and refuses connections.
    const int holder = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr = loopback(0);
    socklen_t len = sizeof addr;
    ASSERT_EQ(::bind(holder, reinterpret_cast<sockaddr*>(&addr), len), 0);
    ASSERT_EQ(::getsockname(holder, reinterpret_cast<sockaddr*>(&addr), &len), 0);

    Sock client;
    Trace trace;
    trace.watch(&client);
    client.setHostName("127.0.0.1");
    client.setPortName(std::to_string(ntohs(addr.sin_port)));
    for (int attempt = 1; attempt <= 2; ++attempt) { // a refused socket can be opened again
        EXPECT_FALSE(client.Open());
        ASSERT_TRUE(
            pumpUntil([&] { return trace.count("Error #10061 (WSAECONNREFUSED)") == attempt; }));
    }
    EXPECT_FALSE(client.connected());
    EXPECT_EQ(trace.count("Socket Closed"), 0);
    EXPECT_EQ(trace.count("<connect>"), 0);
    ::close(holder);
}

TEST_F(SockTest, MessagesSplitOrJoinedArriveIntact) {
    const int raw = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in addr = loopback(listener->localPort());
    ASSERT_EQ(::connect(raw, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_TRUE(pumpUntil([&] { return !accepted.empty(); }));
    Sock* server = accepted.back();

    std::vector<int> counts;
    server->OnRead = [&](Sock*, int count) { counts.push_back(count); };
    auto write = [&](const std::string& bytes) {
        ASSERT_EQ(::send(raw, bytes.data(), bytes.size(), MSG_NOSIGNAL), ssize_t(bytes.size()));
    };

    // Nobody calls Receive in between: the count is what is buffered, and Receive returns
    // every byte so far, the rest of the first message glued to the whole second one.
    write("CMD_chat+1+hel");
    ASSERT_TRUE(pumpUntil([&] { return counts.size() == 1; }));
    write("lo\xFF"
          "CMD_rolldice+1+\xFF");
    ASSERT_TRUE(pumpUntil([&] { return counts.size() == 2; }));
    EXPECT_EQ(counts, (std::vector<int>{14, 33}));
    EXPECT_EQ(server->Receive(), "CMD_chat+1+hello\xFF"
                                 "CMD_rolldice+1+\xFF");
    EXPECT_EQ(server->Receive(), "");
    ::close(raw);
}

TEST(SockMisuse, FailuresCarryTheirExactMessages) {
    Sock s;
    EXPECT_EQ(failureOf([&] { s.Send("x"); }), "Send - Socket Not Connected");
    EXPECT_EQ(failureOf([&] { s.Receive(); }), "Receive - Socket Not Connected");
    Sock* none = nullptr;
    EXPECT_EQ(failureOf([&] { s.Accept(none); }), "Accept - Socket Not In Listening Mode");
    s.setPortName("no-such-service-here");
    EXPECT_EQ(failureOf([&] { s.Open(); }), "Port Lookup - Could Not Find Service Entry");
    s.setPortName("7772");
    s.setHostName("300.1.2.3");
    EXPECT_EQ(failureOf([&] { s.Open(); }), "Host Lookup - Could Not Find Host Entry");
    EXPECT_EQ(s.handle(), -1);

    Sock udp;
    udp.setSocketType(Sock::SocketType::stDatagram);
    EXPECT_EQ(failureOf([&] { udp.setListen(true); }),
              "Listen - Cannot Listen On A Datagram Socket");
}

TEST(SockMisuse, CloseWithoutHandleStillReportsAndHandlerErrorsAreReplaced) {
    Sock s;
    Trace trace;
    trace.watch(&s);
    EXPECT_FALSE(s.Close());
    EXPECT_EQ(trace.lines, std::vector<std::string>{"Socket Closed"});

    s.OnInfo = [](Sock*, Sock::SocketInfo, const std::string&) { throw std::logic_error("boom"); };
    EXPECT_EQ(failureOf([&] { s.Close(); }), "Error here");
}

TEST(SockErrorText, PosixErrorsUseWindowsSocketsNumbering) {
    auto text = [](int err) { return Sock::errorText(Sock::wsaErrorCode(err)); };
    EXPECT_EQ(text(ECONNREFUSED), "Error #10061 (WSAECONNREFUSED)");
    EXPECT_EQ(text(ECONNRESET), "Error #10054 (WSAECONNRESET)");
    EXPECT_EQ(text(ETIMEDOUT), "Error #10060 (WSAETIMEDOUT)");
    EXPECT_EQ(text(EHOSTUNREACH), "Error #10065 (WSAEHOSTUNREACH)");
    EXPECT_EQ(text(EADDRINUSE), "Error #10048 (WSAEADDRINUSE)");
    EXPECT_EQ(text(EAGAIN), "Error #10035 (WSAEWOULDBLOCK)");
    EXPECT_EQ(text(ENOENT), "Error #" + std::to_string(ENOENT) + " (UNKNOWN ERROR)");
    EXPECT_EQ(static_cast<int>(Sock::SocketInfo::Error), 7);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
