#pragma once
// Sock: one TCP endpoint (listener, accepted connection or outgoing connection) driven by the
// Qt event loop. It is the only code in the program that touches the socket API.
//
// Everything is non-blocking: Open starts a connect and returns, Send queues bytes and hands
// them to the kernel as far as it takes them, and readiness reported by QSocketNotifier turns
// into the callbacks below, always on the thread that owns the object (the UI thread). The
// rest of the program recognises what happened by the exact info texts ("Socket Closed", ...),
// so those texts, the property names and the exception messages are fixed and must not drift.
//
// Main entry points: set HostName/PortName and call Open() to connect; setListen(true) to
// listen, and in OnAccept call Accept() to get a new Sock for the waiting connection; Send()
// and Receive() move bytes; Close() ends the connection.
//
// Callbacks are plain std::function members rather than signals because a listener copies its
// handlers into every socket it accepts. A callback may close or delete any socket, including
// the one that is reporting; the object stops touching itself as soon as it notices.

#include <QObject>
#include <QPointer>

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

class QByteArray;
class QSocketNotifier;

namespace bg {

class ESockException : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class Sock : public QObject {
    Q_OBJECT
  public:
    enum class SocketType { stStream, stDatagram };
    Q_ENUM(SocketType)
    enum class LineBreak { lbCRLF, lbCR, lbLF, lbSmart };
    Q_ENUM(LineBreak)
    // The numbering 0..7 is part of the component's contract.
    enum class SocketInfo { Lookup, Connect, Close, Listen, Receive, Send, Accept, Error };
    Q_ENUM(SocketInfo)

    Q_PROPERTY(SocketType SocketType READ socketType WRITE setSocketType)
    Q_PROPERTY(QString HostName READ hostNameQ WRITE setHostNameQ)
    Q_PROPERTY(QString PortName READ portNameQ WRITE setPortNameQ)
    Q_PROPERTY(bool Blocking READ blocking WRITE setBlocking)
    Q_PROPERTY(bool AutoAccept READ autoAccept WRITE setAutoAccept)
    Q_PROPERTY(bool Listen READ listen WRITE setListen)
    Q_PROPERTY(LineBreak LineBreak READ lineBreak WRITE setLineBreak)
    Q_PROPERTY(int BlockingTimeout READ blockingTimeout WRITE setBlockingTimeout)
    Q_PROPERTY(int Tag READ tag WRITE setTag)

    using NotifyEvent = std::function<void(Sock* sender)>;
    using InfoEvent = std::function<void(Sock* sender, SocketInfo kind, const std::string& msg)>;
    using ReadEvent = std::function<void(Sock* sender, int count)>;
    using AutoAcceptEvent = std::function<void(Sock* sender, Sock* newSock)>;

    explicit Sock(QObject* parent = nullptr);
    // Closes a listening or connected socket first, but silently: no callback runs from a
    // destructor, so a handler can never see (or delete again) a half-destroyed object.
    ~Sock() override;

    Sock(const Sock&) = delete;
    Sock& operator=(const Sock&) = delete;

    // Returns the connected flag; false while a connect is still under way.
    bool Open();
    // Returns whether closing the handle succeeded.
    bool Close();
    // Queues the bytes and hands the queue to the kernel once; never waits. Returns true.
    bool Send(std::string_view bytes);
    bool Send(const char* bytes) { return Send(std::string_view(bytes)); }
    bool Send(const QByteArray& bytes);
    // Everything received so far, possibly several messages or part of one.
    std::string Receive();
    // On success `newSock` is a connected Sock whose QObject parent is the listener's parent
    // (with no parent, the caller owns it).
    bool Accept(Sock*& newSock);

    SocketType socketType() const { return m_socketType; }
    void setSocketType(SocketType type) { m_socketType = type; }
    const std::string& hostName() const { return m_hostName; }
    void setHostName(const std::string& name);
    const std::string& portName() const { return m_portName; }
    void setPortName(const std::string& name);
    bool blocking() const { return m_blocking; }
    // Stored and copied to accepted sockets; the socket itself always runs non-blocking.
    void setBlocking(bool on) { m_blocking = on; }
    bool autoAccept() const { return m_autoAccept; }
    void setAutoAccept(bool on) { m_autoAccept = on; }
    bool listen() const { return m_listening; }
    void setListen(bool on);
    LineBreak lineBreak() const { return m_lineBreak; }
    void setLineBreak(LineBreak lb) { m_lineBreak = lb; }
    int blockingTimeout() const { return m_blockingTimeout; }
    void setBlockingTimeout(int ms) { m_blockingTimeout = ms; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    int handle() const { return m_handle; }
    bool connected() const { return m_connected; }
    // The bound port of a listener (useful after listening on port "0"); 0 without a handle.
    int localPort() const;
    // Bytes accepted by Send that the kernel has not taken yet.
    std::size_t pendingSendBytes() const { return m_sendBuffer.size(); }

    // Windows Sockets numbering of a POSIX errno; an errno without a counterpart is returned
    // unchanged and later reads as "UNKNOWN ERROR".
    static int wsaErrorCode(int posixErrno);
    // "Error #<code> (<name>)" for a Windows Sockets error code.
    static std::string errorText(int wsaCode);

    NotifyEvent OnConnect;
    NotifyEvent OnDisconnect;
    InfoEvent OnInfo;
    ReadEvent OnRead;
    NotifyEvent OnWrite;
    NotifyEvent OnAccept;
    AutoAcceptEvent OnAutoAccept;

  private:
    QString hostNameQ() const { return QString::fromStdString(m_hostName); }
    void setHostNameQ(const QString& name) { setHostName(name.toStdString()); }
    QString portNameQ() const { return QString::fromStdString(m_portName); }
    void setPortNameQ(const QString& name) { setPortName(name.toStdString()); }

    void readable();
    void writable();
    void acceptWaiting();
    void connectFinished();
    void peerClosed();
    void flushSendBuffer();
    void adoptHandle(int fd);
    bool releaseHandle();
    void updateNotifiers();
    void info(SocketInfo kind, const std::string& msg);
    void errorInfo(int posixErrno);
    // Runs an event-loop entry point; exceptions must not unwind through Qt's dispatcher.
    template <typename F> void guarded(F&& body);

    SocketType m_socketType = SocketType::stStream;
    std::string m_hostName;
    std::string m_portName;
    bool m_blocking = false;
    bool m_autoAccept = false;
    LineBreak m_lineBreak = LineBreak::lbSmart;
    int m_blockingTimeout = 0;
    int m_tag = 0;

    int m_handle = -1;
    bool m_connected = false;
    bool m_connecting = false;
    bool m_listening = false;
    // The peer has ended the connection and OnDisconnect is running; reading would only see
    // the end again.
    bool m_peerClosed = false;
    // A listener stays quiet after OnAccept until Accept is called, as otherwise an unanswered
    // waiting connection would wake the event loop forever.
    bool m_acceptArmed = true;
    // Bumped for every new handle, so a callback that closed and reopened the object is noticed.
    unsigned m_generation = 0;
    std::string m_receiveBuffer;
    std::string m_sendBuffer;
    std::string m_peerAddress;

    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
};

} // namespace bg
