// The host's Qt shell with real sockets on loopback: nine clients log in, a tenth is refused,
// and a departure is announced to the others.

#include "botsettingsfile.h"
#include "hostshell.h"
#include "protocol.h"
#include "sock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace bg;

namespace {

bool pumpUntil(const std::function<bool()>& done, int limitMs = 20000) {
    QTimer wake;
    wake.start(10);
    const QDeadlineTimer limit(limitMs);
    while (!done() && !limit.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

// A client that answers the log-in like the main window and keeps every line it hears.
struct Client {
    Sock sock;
    LineSplitter splitter;
    std::vector<std::string> lines;
    std::string name;
    bool closed = false;

    Client(int port, std::string who) : name(std::move(who)) {
        sock.setHostName("127.0.0.1");
        sock.setPortName(std::to_string(port));
        sock.OnRead = [this](Sock* s, int) {
            std::vector<std::string> got;
            splitter.feed(s->Receive(), got);
            for (auto& line : got) {
                if (line.starts_with("CMD_sendlogininfo+")) {
                    const int seat = toIntOrThrow(line.substr(18));
                    s->Send(frame(msg::logininfo(seat, kVersion, name)));
                }
                lines.push_back(std::move(line));
            }
        };
        sock.OnInfo = [this](Sock*, Sock::SocketInfo, const std::string& m) {
            if (m == "Socket Closed") closed = true;
        };
        sock.Open();
    }
    bool heard(const std::string& line) const {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

} // namespace

TEST(HostShell, NineSeatsTenthRefusedAndDeparturesAnnounced) {
    FixedBotSettings settings;
    HostShell host(settings);
    ASSERT_TRUE(host.listen(0)) << host.lastError().toStdString();
    const int port = host.port();
    ASSERT_GT(port, 0);

    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 1; i <= kMaxSeats; ++i) {
        clients.push_back(std::make_unique<Client>(port, "Player" + std::to_string(i)));
        // One at a time, so seats are handed out in order.
        ASSERT_TRUE(pumpUntil(
            [&] { return clients.back()->heard("CMD_sendlogininfo+" + std::to_string(i)); }));
    }
    ASSERT_TRUE(pumpUntil([&] { return clients[0]->heard("CMD_newplayerinfo+9+Player9"); }));
    EXPECT_TRUE(clients[8]->heard("CMD_existingplayers+1+Player1"));
    EXPECT_TRUE(clients[8]->heard("CMD_existingplayers+8+Player8"));
    std::vector<std::size_t> before;
    for (auto& c : clients)
        before.push_back(c->lines.size());

    Client tenth(port, "Late");
    ASSERT_TRUE(pumpUntil([&] { return tenth.closed; }));
    EXPECT_EQ(tenth.lines, (std::vector<std::string>{"CMD_full+"}));
    pumpUntil([] { return false; }, 200);
    for (std::size_t i = 0; i < clients.size(); ++i) {
        EXPECT_EQ(clients[i]->lines.size(), before[i]) << "seat " << i + 1 << " noticed the tenth";
        EXPECT_FALSE(clients[i]->closed);
    }

    clients[4]->sock.Close(); // seat 5 leaves
    ASSERT_TRUE(pumpUntil([&] { return clients[0]->heard("CMD_playerdisconnected+5+Player5"); }));
    ASSERT_TRUE(pumpUntil([&] { return clients[8]->heard("CMD_playerdisconnected+5+Player5"); }));
    EXPECT_FALSE(host.engine().seat(5).connected);

    Client again(port, "Again"); // the freed seat is handed out again
    ASSERT_TRUE(pumpUntil([&] { return again.heard("CMD_sendlogininfo+5"); }));
}

TEST(HostShell, SecondHostOnTheSamePortFails) {
    FixedBotSettings settings;
    HostShell first(settings);
    ASSERT_TRUE(first.listen(0));
    HostShell second(settings);
    EXPECT_FALSE(second.listen(first.port()));
    EXPECT_EQ(second.lastError(), "Listen - Error Binding Socket");
}

TEST(BotSettingsFile, ReadsEachAbilityAndTakesUnknownValuesAsNotLimited) {
    QTemporaryDir dir;
    const QString path = dir.filePath("vesklobby.ini");
    BotSettingsFile settings(path);
    EXPECT_EQ(settings.botAbility(), kAbilityNotLimited); // no file yet
    struct Case {
        const char* value;
        int ability;
    };
    for (const Case c : {Case{"0", kAbilityLimited}, Case{"2", kAbilityStrong},
                         Case{"1", kAbilityNotLimited}, Case{"3", kAbilityNotLimited}}) {
        // A fresh reader each time: the file's time stamp may not move within one second.
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("[Backgammon]\nBotabilities=") + c.value + "\n");
        file.close();
        BotSettingsFile reader(path);
        EXPECT_EQ(reader.botAbility(), c.ability) << c.value;
        EXPECT_EQ(reader.botNotLimited(), c.ability != kAbilityLimited) << c.value;
    }
}

// With a tick of a minute, only the line that found the host idle can be relayed within the
// test: the ones behind it still wait for the tick, one per tick.
TEST(HostShell, TheLineToAnIdleHostGoesAtOnceTheRestWaitForTheTick) {
    FixedBotSettings settings;
    HostShell host(settings);
    ASSERT_TRUE(host.listen(0));
    Client talker(host.port(), "Talker");
    ASSERT_TRUE(pumpUntil([&] { return talker.heard("CMD_newplayerinfo+1+Talker"); }));
    ASSERT_TRUE(pumpUntil([&] { return !host.engine().hasQueuedLines(); }));
    host.setDispatchInterval(60000);

    const auto relays = [&](const std::string& text) {
        return std::count_if(talker.lines.begin(), talker.lines.end(), [&](const std::string& l) {
            return l.starts_with("CMD_chat+") && l.find(text) != std::string::npos;
        });
    };
    talker.sock.Send(frame(msg::chat(1, "first", "clBlack")) +
                     frame(msg::chat(1, "second", "clBlack")));
    ASSERT_TRUE(pumpUntil([&] { return relays("first") == 1; }));
    pumpUntil([] { return false; }, 300);
    EXPECT_EQ(relays("second"), 0);
    EXPECT_TRUE(host.engine().hasQueuedLines());
}

TEST(HostShell, ASeatThatStopsReadingIsLetGoBeforeItFillsTheHost) {
    FixedBotSettings settings;
    HostShell host(settings);
    ASSERT_TRUE(host.listen(0));
    Client talker(host.port(), "Talker");
    ASSERT_TRUE(pumpUntil([&] { return talker.heard("CMD_newplayerinfo+1+Talker"); }));

    // A spectator that connects and never reads a byte.
    const int silent = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(silent, 0);
    const int small = 4096;
    ::setsockopt(silent, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(host.port()));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::connect(silent, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_TRUE(pumpUntil([&] { return host.engine().seat(2).connected; }));

    // Long chat lines, each relayed to both seats: several times the bound and any socket buffer.
    const std::string text(60000, 'x');
    int sent = 0;
    const bool letGo = pumpUntil(
        [&] {
            if (sent < 600 && talker.lines.size() + 50 > static_cast<std::size_t>(sent)) {
                talker.sock.Send(frame(msg::chat(1, text, "clBlack")));
                ++sent;
            }
            return !host.engine().seat(2).connected;
        },
        60000);
    ::close(silent);
    ASSERT_TRUE(letGo) << "sent " << sent;
    EXPECT_TRUE(pumpUntil([&] { return talker.heard("CMD_playerdisconnected+2+"); }));
    EXPECT_FALSE(talker.closed);
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
