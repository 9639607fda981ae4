#include "hostshell.h"

#include "environment.h"

#include <QPointer>

#include <chrono>

namespace bg {

namespace {

// The host's one-second ticks (pass delay, turn clock); tests that play whole games over real
// sockets shorten them with BG_TICK_MS.
int clockTickMs() {
    return environment::tickMs().value_or(kClockTickMs);
}

unsigned clockSeed() {
    return static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
}
} // namespace

HostShell::HostShell(const BotSettings& settings, QObject* parent)
    : QObject(parent), m_random(clockSeed()),
      m_engine(std::make_unique<TServer>(m_bridge, m_bridge, m_random, settings)) {
    m_sock1.OnAccept = [this](Sock*) { sock1Accept(); };
    m_socktimer.setInterval(kDispatchIntervalMs);
    connect(&m_socktimer, &QTimer::timeout, this, &HostShell::dispatchTick);
    for (int i = 0; i < kHostTimers; ++i)
        connect(&m_timers[i], &QTimer::timeout, this,
                [this, i] { m_engine->timerFired(static_cast<HostTimer>(i)); });
}

HostShell::~HostShell() {
    for (Sock*& sock : m_socks) {
        delete sock; // closes silently
        sock = nullptr;
    }
}

bool HostShell::listen(int port, Reach reach) {
    m_sock1.setHostName(reach == Reach::LoopbackOnly ? kLoopback : "");
    m_sock1.setPortName(std::to_string(port));
    try {
        m_sock1.setListen(true);
    } catch (const ESockException& e) {
        m_lastError = QString::fromStdString(e.what());
        return false;
    }
    return true;
}

int HostShell::port() const {
    return m_sock1.localPort();
}

void HostShell::sock1Accept() {
    Sock* newSock = nullptr;
    try {
        if (!m_sock1.Accept(newSock) || !newSock) return; // the seat stays free
    } catch (const ESockException&) {
        return;
    }
    newSock->setParent(this);
    m_engine->Sock1Accept([&](int seat) {
        m_socks[seat] = newSock;
        m_closing[seat] = false;
        newSock->setTag(seat);
        if (seat == kRefusedSeat) return;
        newSock->OnRead = [this](Sock* s, int) { seatRead(s); };
        newSock->OnDisconnect = [this](Sock* s) { m_engine->tempsockDisconnect(s->tag()); };
        newSock->OnInfo = [this](Sock* s, Sock::SocketInfo, const std::string& msg) {
            seatInfo(s, msg);
        };
    });
    emit gameChanged();
}

void HostShell::seatRead(Sock* sock) {
    m_engine->Sock1Read(sock->tag(), sock->Receive());
    // An idle host sleeps: the dispatcher ticks only while lines wait. The line that finds it
    // idle is handled at the next turn of the event loop; the ones behind it keep the pace of
    // one per tick.
    if (!m_engine->hasQueuedLines() || m_socktimer.isActive() || m_firstLinePosted) return;
    m_firstLinePosted = true;
    QMetaObject::invokeMethod(this, &HostShell::dispatchFirstLine, Qt::QueuedConnection);
}

void HostShell::dispatchFirstLine() {
    m_firstLinePosted = false;
    if (m_socktimer.isActive()) return;
    m_engine->socktimerTimer();
    if (m_engine->hasQueuedLines()) m_socktimer.start();
}

void HostShell::dispatchTick() {
    m_engine->socktimerTimer();
    if (!m_engine->hasQueuedLines()) m_socktimer.stop();
    emit gameChanged();
}

void HostShell::closeLater(int seat, Sock* sock) {
    if (m_closing[seat]) return;
    m_closing[seat] = true;
    QMetaObject::invokeMethod(
        this,
        [this, seat, alive = QPointer<Sock>(sock)] {
            if (alive && m_socks[seat] == alive) alive->Close(); // an ordinary departure
        },
        Qt::QueuedConnection);
}

void HostShell::seatInfo(Sock* sender, const std::string& msg) {
    const int seat = sender->tag();
    m_engine->tempsockInfo(seat, msg);
    if (msg == "Socket Closed") {
        dropSocket(seat, sender);
        emit gameChanged();
    }
}

// A closed seat's socket goes once the event that closed it has run its course. Its handlers
// stay: a second "Socket Closed" from the same close finds the seat already free.
void HostShell::dropSocket(int seat, Sock* sock) {
    if (seat < 1 || seat > kRefusedSeat || m_socks[seat] != sock) return;
    m_socks[seat] = nullptr;
    sock->deleteLater();
}

void HostShell::Bridge::send(int seat, std::string_view message) {
    if (seat < 1 || seat > kRefusedSeat || !m_shell.m_socks[seat] || m_shell.m_closing[seat])
        return;
    Sock* sock = m_shell.m_socks[seat];
    try {
        sock->Send(frame(message));
    } catch (const ESockException&) {
        // The connection is gone; its departure is reported through "Socket Closed".
        return;
    }
    if (sock->pendingSendBytes() > kMaxUnsentBytes) m_shell.closeLater(seat, sock);
}

void HostShell::Bridge::close(int seat) {
    if (seat < 1 || seat > kRefusedSeat || !m_shell.m_socks[seat]) return;
    Sock* sock = m_shell.m_socks[seat];
    if (seat == kRefusedSeat) {
        // A refused connection is destroyed at once; the kernel still delivers "CMD_full+".
        m_shell.m_socks[seat] = nullptr;
        delete sock;
        return;
    }
    sock->Close(); // reports "Socket Closed", which frees the seat
}

void HostShell::Bridge::hostChat(std::string_view text) {
    emit m_shell.hostChat(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void HostShell::Bridge::hostMessageBox(std::string_view text) {
    emit m_shell.hostMessageBox(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void HostShell::Bridge::start(HostTimer timer, int intervalMs) {
    const int tickMs = clockTickMs();
    if (timer != HostTimer::Bot) intervalMs = intervalMs * tickMs / kClockTickMs;
    m_shell.m_timers[static_cast<int>(timer)].start(intervalMs);
}

void HostShell::Bridge::stop(HostTimer timer) {
    m_shell.m_timers[static_cast<int>(timer)].stop();
}

} // namespace bg
