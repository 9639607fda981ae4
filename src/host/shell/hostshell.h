#pragma once
// HostShell binds the host engine to the real world: the listening socket Sock1, one Sock per
// seat, a 10 ms QTimer for the dispatcher (running only while lines wait behind the one
// handled at once), QTimers for the game timers and a clock-seeded random source. It adds no
// game logic of its own, only the bound on what a connection that stops reading may leave
// unsent.

#include "seams.h"
#include "sock.h"
#include "tserver.h"

#include <QObject>
#include <QTimer>

#include <array>
#include <memory>

namespace bg {

// Bytes a seat may leave unsent beyond what the system's socket buffer holds; a connection
// that stops reading falls that far behind only when it is not coming back.
inline constexpr std::size_t kMaxUnsentBytes = 1024 * 1024;

class HostShell : public QObject {
    Q_OBJECT
  public:
    explicit HostShell(const BotSettings& settings, QObject* parent = nullptr);
    ~HostShell() override;

    // Starts listening on all local addresses, or on the loopback address only (a solo game
    // is nobody else's business); false (with the reason in lastError()) when the port is
    // taken or listening fails.
    enum class Reach { AllAddresses, LoopbackOnly };
    bool listen(int port, Reach reach = Reach::AllAddresses);
    QString lastError() const { return m_lastError; }
    int port() const;
    TServer& engine() { return *m_engine; }
    // The dispatcher's tick (10 ms); tests stretch it to tell the first line from the rest.
    void setDispatchInterval(int ms) { m_socktimer.setInterval(ms); }

  signals:
    // Host-local notices: a line for the hosting machine's chat view, and a message box.
    void hostChat(const QString& text);
    void hostMessageBox(const QString& text);
    // A connection came or went, or a request was handled: the seats or the game may differ.
    void gameChanged();

  private:
    // The engine's view of this shell.
    class Bridge : public Outbox, public Timers {
      public:
        explicit Bridge(HostShell& shell) : m_shell(shell) {}
        void send(int seat, std::string_view message) override;
        void close(int seat) override;
        void hostChat(std::string_view text) override;
        void hostMessageBox(std::string_view text) override;
        void start(HostTimer timer, int intervalMs) override;
        void stop(HostTimer timer) override;

      private:
        HostShell& m_shell;
    };

    void sock1Accept();
    void seatInfo(Sock* sender, const std::string& msg);
    void dropSocket(int seat, Sock* sock);
    void seatRead(Sock* sock);
    void dispatchTick();
    void dispatchFirstLine();
    // Closes a seat that fell too far behind once the current handler has finished, so that
    // its departure never runs in the middle of another request.
    void closeLater(int seat, Sock* sock);

    Bridge m_bridge{*this};
    SeededRandom m_random;
    std::unique_ptr<TServer> m_engine;
    Sock m_sock1;
    std::array<Sock*, kRefusedSeat + 1> m_socks{};
    std::array<bool, kRefusedSeat + 1> m_closing{};
    QTimer m_socktimer;
    bool m_firstLinePosted = false;
    std::array<QTimer, kHostTimers> m_timers;
    QString m_lastError;
};

} // namespace bg
