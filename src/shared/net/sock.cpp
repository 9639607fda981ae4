#include "sock.h"

#include <QByteArray>
#include <QSocketNotifier>
#include <QtGlobal>

#include <arpa/inet.h>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>

namespace bg {

namespace {

// One read per readiness notification takes at most this much, so one busy peer cannot starve
// the rest of the event loop.
constexpr std::size_t kReadChunk = 32768;
constexpr int kListenBacklog = 5;

const char* const kSocketClosed = "Socket Closed";
const char* const kOutgoingData = "Non-Blocking Outgoing Data";

bool startsWithDigit(const std::string& s) {
    return !s.empty() && s[0] >= '0' && s[0] <= '9';
}

bool wouldBlock(int err) {
    return err == EAGAIN || err == EWOULDBLOCK || err == EINTR;
}

// Port numbers are taken like the classic text-to-integer conversion (leading digits), service
// names go through the services database.
std::uint16_t lookupPort(const std::string& name, bool datagram) {
    if (startsWithDigit(name)) {
        long value = 0;
        for (char c : name) {
            if (c < '0' || c > '9') break;
            value = value * 10 + (c - '0');
            if (value > 65535) throw ESockException("Port Lookup - Could Not Find Service Entry");
        }
        return static_cast<std::uint16_t>(value);
    }
    const servent* entry = ::getservbyname(name.c_str(), datagram ? "udp" : "tcp");
    if (!entry) throw ESockException("Port Lookup - Could Not Find Service Entry");
    return ntohs(static_cast<std::uint16_t>(entry->s_port));
}

// Name look-ups block, and a host name is looked up again on every reconnect, so successful
// answers are kept for the life of the process.
struct HostCache {
    std::mutex mutex;
    std::unordered_map<std::string, in_addr> entries;
};

HostCache& hostCache() {
    static HostCache cache;
    return cache;
}

// Messages are short and answered at once: a small write must not wait for the
// acknowledgement of the one before it, which the peer delays by up to 40 ms.
void sendAtOnce(int fd) {
    const int one = 1;
    (void)::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

in_addr lookupHost(const std::string& name) {
    in_addr address{};
    if (name.empty()) {
        address.s_addr = htonl(INADDR_ANY);
        return address;
    }
    if (startsWithDigit(name)) {
        if (::inet_aton(name.c_str(), &address) == 0)
            throw ESockException("Host Lookup - Could Not Find Host Entry");
        return address;
    }
    HostCache& cache = hostCache();
    {
        std::lock_guard lock(cache.mutex);
        auto it = cache.entries.find(name);
        if (it != cache.entries.end()) return it->second;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* result = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &result) != 0 || !result)
        throw ESockException("Host Lookup - Could Not Find Host Entry");
    address = reinterpret_cast<const sockaddr_in*>(result->ai_addr)->sin_addr;
    ::freeaddrinfo(result);
    std::lock_guard lock(cache.mutex);
    cache.entries.emplace(name, address);
    return address;
}

sockaddr_in makeAddress(in_addr host, std::uint16_t port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr = host;
    addr.sin_port = htons(port);
    return addr;
}

struct WsaName {
    int code;
    const char* name;
};

constexpr WsaName kWsaNames[] = {
    {10004, "WSAEINTR"},           {10009, "WSAEBADF"},        {10013, "WSAEACCES"},
    {10014, "WSAEFAULT"},          {10022, "WSAEINVAL"},       {10024, "WSAEMFILE"},
    {10035, "WSAEWOULDBLOCK"},     {10036, "WSAEINPROGRESS"},  {10037, "WSAEALREADY"},
    {10038, "WSAENOTSOCK"},        {10039, "WSAEDESTADDRREQ"}, {10040, "WSAEMSGSIZE"},
    {10041, "WSAEPROTOTYPE"},      {10042, "WSAENOPROTOOPT"},  {10043, "WSAEPROTONOSUPPORT"},
    {10044, "WSAESOCKTNOSUPPORT"}, {10045, "WSAEOPNOTSUPP"},   {10046, "WSAEPFNOSUPPORT"},
    {10047, "WSAEAFNOSUPPORT"},    {10048, "WSAEADDRINUSE"},   {10049, "WSAEADDRNOTAVAIL"},
    {10050, "WSAENETDOWN"},        {10051, "WSAENETUNREACH"},  {10052, "WSAENETRESET"},
    {10053, "WSAECONNABORTED"},    {10054, "WSAECONNRESET"},   {10055, "WSAENOBUFS"},
    {10056, "WSAEISCONN"},         {10057, "WSAENOTCONN"},     {10058, "WSAESHUTDOWN"},
    {10059, "WSAETOOMANYREFS"},    {10060, "WSAETIMEDOUT"},    {10061, "WSAECONNREFUSED"},
    {10062, "WSAELOOP"},           {10063, "WSAENAMETOOLONG"}, {10064, "WSAEHOSTDOWN"},
    {10065, "WSAEHOSTUNREACH"},    {10066, "WSAENOTEMPTY"},    {10067, "WSAEPROCLIM"},
    {10068, "WSAEUSERS"},          {10069, "WSAEDQUOT"},       {10070, "WSAESTALE"},
    {10071, "WSAEREMOTE"},         {10091, "WSASYSNOTREADY"},  {10092, "WSAVERNOTSUPPORTED"},
    {10093, "WSANOTINITIALISED"},  {10101, "WSAEDISCON"},      {11001, "WSAHOST_NOT_FOUND"},
    {11002, "WSATRY_AGAIN"},       {11003, "WSANO_RECOVERY"},  {11004, "WSANO_DATA"},
};

// Writing to a connection the peer has reset gives EPIPE here; Windows Sockets calls it a reset.
constexpr std::pair<int, int> kErrnoToWsa[] = {
    {EINTR, 10004},           {EBADF, 10009},        {EACCES, 10013},
    {EFAULT, 10014},          {EINVAL, 10022},       {EMFILE, 10024},
    {EWOULDBLOCK, 10035},     {EINPROGRESS, 10036},  {EALREADY, 10037},
    {ENOTSOCK, 10038},        {EDESTADDRREQ, 10039}, {EMSGSIZE, 10040},
    {EPROTOTYPE, 10041},      {ENOPROTOOPT, 10042},  {EPROTONOSUPPORT, 10043},
    {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},   {EPFNOSUPPORT, 10046},
    {EAFNOSUPPORT, 10047},    {EADDRINUSE, 10048},   {EADDRNOTAVAIL, 10049},
    {ENETDOWN, 10050},        {ENETUNREACH, 10051},  {ENETRESET, 10052},
    {ECONNABORTED, 10053},    {EPIPE, 10054},        {ECONNRESET, 10054},
    {ENOBUFS, 10055},         {EISCONN, 10056},      {ENOTCONN, 10057},
    {ESHUTDOWN, 10058},       {ETOOMANYREFS, 10059}, {ETIMEDOUT, 10060},
    {ECONNREFUSED, 10061},    {ELOOP, 10062},        {ENAMETOOLONG, 10063},
    {EHOSTDOWN, 10064},       {EHOSTUNREACH, 10065}, {ENOTEMPTY, 10066},
    {EUSERS, 10068},          {EDQUOT, 10069},       {ESTALE, 10070},
    {EREMOTE, 10071}};

} // namespace

int Sock::wsaErrorCode(int posixErrno) {
    for (const auto& [posix, wsa] : kErrnoToWsa)
        if (posix == posixErrno) return wsa;
    return posixErrno;
}

std::string Sock::errorText(int wsaCode) {
    const char* name = "UNKNOWN ERROR";
    for (const WsaName& entry : kWsaNames) {
        if (entry.code == wsaCode) {
            name = entry.name;
            break;
        }
    }
    return "Error #" + std::to_string(wsaCode) + " (" + name + ")";
}

Sock::Sock(QObject* parent)
    : QObject(parent), m_readNotifier(new QSocketNotifier(QSocketNotifier::Read, this)),
      m_writeNotifier(new QSocketNotifier(QSocketNotifier::Write, this)) {
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &Sock::readable);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &Sock::writable);
}

Sock::~Sock() {
    if (m_handle == -1) return;
    // Last chance for queued bytes (a refusal message sent just before the socket is dropped);
    // whatever the kernel does not take now is lost with the connection.
    if (m_connected && !m_sendBuffer.empty())
        (void)::send(m_handle, m_sendBuffer.data(), m_sendBuffer.size(),
                     MSG_NOSIGNAL | MSG_DONTWAIT);
    releaseHandle();
}

template <typename F> void Sock::guarded(F&& body) {
    // `this` may be gone by the time an exception arrives here, so nothing below touches it.
    try {
        body();
    } catch (const std::exception& e) {
        qWarning("Sock: exception in a socket event: %s", e.what());
    } catch (...) {
        qWarning("Sock: unknown exception in a socket event");
    }
}

void Sock::info(SocketInfo kind, const std::string& msg) {
    // A copy, so that a handler may reassign OnInfo or delete this object while it runs.
    InfoEvent handler = OnInfo;
    if (!handler) return;
    try {
        handler(this, kind, msg);
    } catch (...) {
        throw ESockException("Error here");
    }
}

void Sock::errorInfo(int posixErrno) {
    info(SocketInfo::Error, errorText(wsaErrorCode(posixErrno)));
}

void Sock::adoptHandle(int fd) {
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    m_handle = fd;
    ++m_generation;
    m_peerClosed = false;
    m_readNotifier->setSocket(fd);
    m_writeNotifier->setSocket(fd);
}

bool Sock::releaseHandle() {
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    m_readNotifier->setSocket(-1);
    m_writeNotifier->setSocket(-1);
    const bool ok = ::close(m_handle) == 0;
    m_handle = -1;
    return ok;
}

void Sock::updateNotifiers() {
    bool wantRead = false;
    bool wantWrite = false;
    if (m_handle != -1) {
        if (m_listening) {
            wantRead = m_acceptArmed;
        } else if (m_connecting) {
            // Only writability: on a failed connect a read would consume the error before
            // SO_ERROR could be asked for it.
            wantWrite = true;
        } else if (m_connected && !m_peerClosed) {
            wantRead = true;
            // Asking for writability with nothing to write would spin the event loop.
            wantWrite = !m_sendBuffer.empty();
        }
    }
    if (m_readNotifier->isEnabled() != wantRead) m_readNotifier->setEnabled(wantRead);
    if (m_writeNotifier->isEnabled() != wantWrite) m_writeNotifier->setEnabled(wantWrite);
}

bool Sock::Open() {
    if (m_handle != -1) return m_connected;
    const bool datagram = m_socketType == SocketType::stDatagram;
    QPointer<Sock> self(this);

    info(SocketInfo::Lookup, "Lookup Of Port " + m_portName);
    if (!self) return false;
    const std::uint16_t port = lookupPort(m_portName, datagram);
    info(SocketInfo::Lookup, "Lookup Of Host " + m_hostName);
    if (!self) return false;
    const sockaddr_in addr = makeAddress(lookupHost(m_hostName), port);
    if (m_handle != -1) return m_connected; // an info handler opened it meanwhile

    const int fd =
        ::socket(AF_INET, (datagram ? SOCK_DGRAM : SOCK_STREAM) | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        errorInfo(errno);
        return false;
    }
    if (!datagram) sendAtOnce(fd);
    m_receiveBuffer.clear();
    m_sendBuffer.clear();
    adoptHandle(fd);
    m_connected = false;
    m_connecting = true;

    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0 ||
        errno == EINPROGRESS) {
        // Even an immediate success is reported from the event loop, like every completion.
        updateNotifiers();
        return false;
    }
    // Refused at once (rare, but possible): report it later, exactly like a refusal that
    // arrives over the network, so callers see one behaviour.
    const int err = errno;
    m_connecting = false;
    releaseHandle();
    QMetaObject::invokeMethod(
        this, [this, err] { guarded([this, err] { errorInfo(err); }); }, Qt::QueuedConnection);
    return false;
}

bool Sock::Close() {
    const bool wasListening = m_listening;
    const bool ok = m_handle != -1 ? releaseHandle() : false;
    m_connected = false;
    m_connecting = false;
    m_listening = false;
    m_sendBuffer.clear();
    if (!wasListening) info(SocketInfo::Close, kSocketClosed);
    return ok;
}

bool Sock::Send(std::string_view bytes) {
    if (m_handle == -1) throw ESockException("Send - Socket Not Connected");
    if (m_listening) throw ESockException("Send - Cannot Send On A Listener Socket");
    m_sendBuffer.append(bytes);
    updateNotifiers();
    QPointer<Sock> self(this);
    info(SocketInfo::Send, kOutgoingData);
    if (!self) return true;
    flushSendBuffer();
    return true;
}

bool Sock::Send(const QByteArray& bytes) {
    return Send(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

std::string Sock::Receive() {
    if (m_handle == -1 && m_receiveBuffer.empty())
        throw ESockException("Receive - Socket Not Connected");
    if (m_listening) throw ESockException("Receive - Cannot Receive On A Listener Socket");
    return std::exchange(m_receiveBuffer, std::string());
}

void Sock::flushSendBuffer() {
    if (m_handle == -1 || !m_connected || m_sendBuffer.empty()) return;
    // One hand-over per call; what the kernel does not take waits for the next writable event.
    const ssize_t sent = ::send(m_handle, m_sendBuffer.data(), m_sendBuffer.size(), MSG_NOSIGNAL);
    if (sent > 0) {
        m_sendBuffer.erase(0, static_cast<std::size_t>(sent));
    } else if (sent < 0 && !wouldBlock(errno)) {
        // The connection is broken; keeping the bytes would only make the socket report
        // writable forever. The reading side sees the end of the connection on its own.
        const int err = errno;
        m_sendBuffer.clear();
        updateNotifiers();
        errorInfo(err);
        return;
    }
    updateNotifiers();
}

void Sock::setHostName(const std::string& name) {
    m_hostName = name;
    if (m_connected) info(SocketInfo::Lookup, "Setting HostName While Connected Has No Effect");
}

void Sock::setPortName(const std::string& name) {
    m_portName = name;
    if (m_connected) info(SocketInfo::Lookup, "Setting PortName While Connected Has No Effect");
}

void Sock::setListen(bool on) {
    if (!on) {
        if (!m_listening) return;
        Close(); // silent for a listener
        info(SocketInfo::Listen, "Listening Stopped");
        return;
    }
    if (m_handle != -1 && !m_listening) throw ESockException("Listen - Socket Already In Use");
    if (m_socketType == SocketType::stDatagram)
        throw ESockException("Listen - Cannot Listen On A Datagram Socket");
    if (m_listening) {
        info(SocketInfo::Listen, "Listening Already Running");
        return;
    }
    QPointer<Sock> self(this);
    info(SocketInfo::Lookup, "Lookup Of Port " + m_portName);
    if (!self || m_handle != -1) return;
    // A listener's host name is the local address it listens on; none means every address.
    const sockaddr_in addr = makeAddress(lookupHost(m_hostName), lookupPort(m_portName, false));

    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) throw ESockException("Listen - Error Starting Listen");
    // Lets a restarted host take its port back while old connections linger in TIME_WAIT.
    // On Linux this still refuses a port that another socket is actively listening on.
    const int one = 1;
    (void)::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        throw ESockException("Listen - Error Binding Socket");
    }
    if (::listen(fd, kListenBacklog) != 0) {
        ::close(fd);
        throw ESockException("Listen - Error Starting Listen");
    }
    m_receiveBuffer.clear();
    m_sendBuffer.clear();
    adoptHandle(fd);
    m_listening = true;
    m_connected = false;
    m_acceptArmed = true;
    updateNotifiers();
    info(SocketInfo::Listen, "Listening Started");
}

int Sock::localPort() const {
    if (m_handle == -1) return 0;
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    if (::getsockname(m_handle, reinterpret_cast<sockaddr*>(&addr), &len) != 0) return 0;
    return ntohs(addr.sin_port);
}

bool Sock::Accept(Sock*& newSock) {
    if (!m_listening) throw ESockException("Accept - Socket Not In Listening Mode");
    newSock = nullptr;
    sockaddr_in peer{};
    socklen_t len = sizeof peer;
    const int fd =
        ::accept4(m_handle, reinterpret_cast<sockaddr*>(&peer), &len, SOCK_NONBLOCK | SOCK_CLOEXEC);
    // Further waiting connections may be reported again.
    m_acceptArmed = true;
    updateNotifiers();
    if (fd < 0) {
        info(SocketInfo::Accept, "Could Not Accept Connection");
        return false;
    }
    sendAtOnce(fd);

    char dotted[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &peer.sin_addr, dotted, sizeof dotted);

    auto* sock = new Sock(parent());
    sock->m_blocking = m_blocking;
    sock->m_blockingTimeout = m_blockingTimeout;
    sock->OnRead = OnRead;
    sock->OnWrite = OnWrite;
    sock->OnDisconnect = OnDisconnect;
    sock->OnInfo = OnInfo;
    sock->m_portName = m_portName;
    sock->m_hostName = dotted;
    sock->m_peerAddress = dotted;
    sock->adoptHandle(fd);
    sock->m_connected = true;
    sock->updateNotifiers();
    newSock = sock;

    info(SocketInfo::Accept, "Created New TSock Structure");
    return true;
}

void Sock::readable() {
    guarded([this] {
        if (m_handle == -1) return;
        if (m_listening) {
            acceptWaiting();
            return;
        }
        if (!m_connected) return;

        char chunk[kReadChunk];
        const ssize_t got = ::recv(m_handle, chunk, sizeof chunk, 0);
        if (got > 0) {
            m_receiveBuffer.append(chunk, static_cast<std::size_t>(got));
            QPointer<Sock> self(this);
            info(SocketInfo::Receive, "Non-Blocking Incoming Data");
            if (!self) return;
            ReadEvent handler = OnRead;
            if (handler)
                handler(this, static_cast<int>(qMin<std::size_t>(m_receiveBuffer.size(), INT_MAX)));
        } else if (got == 0) {
            // An empty datagram is just an empty datagram; only a stream ends this way.
            if (m_socketType == SocketType::stStream) peerClosed();
        } else if (!wouldBlock(errno)) {
            // Linux hands out a reset once; the next read sees the end of the connection and
            // closes the socket through peerClosed.
            errorInfo(errno);
        }
    });
}

void Sock::writable() {
    guarded([this] {
        if (m_handle == -1) return;
        if (m_connecting) {
            connectFinished();
            return;
        }
        if (!m_connected) return;
        QPointer<Sock> self(this);
        flushSendBuffer();
        if (!self) return;
        info(SocketInfo::Send, kOutgoingData);
        if (!self) return;
        NotifyEvent handler = OnWrite;
        if (handler) handler(this);
    });
}

void Sock::acceptWaiting() {
    // Quiet until Accept is called, as an unanswered connection would otherwise keep waking us.
    m_acceptArmed = false;
    updateNotifiers();
    if (m_autoAccept) {
        Sock* accepted = nullptr;
        QPointer<Sock> self(this);
        if (!Accept(accepted) || !self) return;
        AutoAcceptEvent handler = OnAutoAccept;
        if (handler) handler(this, accepted);
        return;
    }
    NotifyEvent handler = OnAccept;
    if (handler) handler(this);
}

void Sock::connectFinished() {
    int err = 0;
    socklen_t len = sizeof err;
    if (::getsockopt(m_handle, SOL_SOCKET, SO_ERROR, &err, &len) != 0) err = errno;
    m_connecting = false;
    if (err != 0) {
        // The handle is given up quietly: no "Socket Closed" for a connection that never
        // existed, and the object can simply be opened again.
        releaseHandle();
        errorInfo(err);
        return;
    }
    m_connected = true;
    updateNotifiers();
    QPointer<Sock> self(this);
    info(SocketInfo::Connect, "Non-Blocking Socket Connected");
    if (!self) return;
    NotifyEvent handler = OnConnect;
    if (handler) handler(this);
}

void Sock::peerClosed() {
    // Stop reading first: a handler that runs a nested event loop must not see the end again.
    m_peerClosed = true;
    updateNotifiers();
    const unsigned generation = m_generation;
    QPointer<Sock> self(this);
    NotifyEvent handler = OnDisconnect;
    if (handler) handler(this);
    if (!self) return;
    // A handler that already closed still gets the second "Socket Closed"; one that opened a
    // new connection on this object must not lose it.
    if (m_generation == generation) Close();
}

} // namespace bg
