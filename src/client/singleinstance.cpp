#include "singleinstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const char kRaiseRequest[] = "raise\n";
// How long a later copy keeps asking a first copy that is still starting up.
constexpr int kFirstCopyStartMs = 5000;
constexpr int kRetryMs = 50;

QString runtimeFolder() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    QDir().mkpath(dir);
    return dir;
}

// A lock the kernel keeps for this process until it ends, however it ends: a copy that died
// leaves nothing in the way, and taking it writes nothing to the disk. The descriptor, or
// kHeldElsewhere, or -1 when the file cannot be opened at all.
constexpr int kHeldElsewhere = -2;
int takeLock(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held ? kHeldElsewhere : -1;
}

// Asks the first copy to come forward; it may still be on its way to opening its pipe.
void askToComeForward(const QByteArray& path) {
    QElapsedTimer waited;
    waited.start();
    do {
        const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            // Shorter than the pipe's atomic size: arrives whole or not at all.
            [[maybe_unused]] const auto n = ::write(fd, kRaiseRequest, sizeof kRaiseRequest - 1);
            ::close(fd);
            return;
        }
        QThread::msleep(kRetryMs);
    } while (waited.elapsed() < kFirstCopyStartMs);
}
} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance() {
    delete m_notifier;
    if (m_keepOpen >= 0) ::close(m_keepOpen);
    if (m_lock >= 0) ::close(m_lock);
    if (m_pipe >= 0) {
        ::close(m_pipe);
        ::unlink(QFile::encodeName(serverName()).constData());
    }
}

QString SingleInstance::serverName() {
    return runtimeFolder() + "/roksev";
}

bool SingleInstance::claim() {
    const QString name = serverName();
    const QByteArray path = QFile::encodeName(name);
    m_lock = takeLock(name + ".lock");
    if (m_lock == kHeldElsewhere) {
        askToComeForward(path);
        return false;
    }
    // This copy is first: whatever is left at the name belongs to a copy that died.
    ::unlink(path.constData());
    if (::mkfifo(path.constData(), 0600) != 0) return true; // no guard, but the program runs
    m_pipe = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_pipe < 0) return true;
    m_keepOpen = ::open(path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    m_notifier = new QSocketNotifier(m_pipe, QSocketNotifier::Read);
    connect(m_notifier, &QSocketNotifier::activated, this, &SingleInstance::readRequests);
    return true;
}

void SingleInstance::readRequests() {
    char buffer[256];
    bool raise = false;
    ssize_t n = 0;
    while ((n = ::read(m_pipe, buffer, sizeof buffer)) > 0)
        raise = raise || QByteArray(buffer, n).contains("raise");
    if (raise) emit raiseRequested();
}

void holdProcessMutex() {
    static int lock = -1;
    if (lock >= 0) return;
    lock = takeLock(runtimeFolder() + "/backgammon.lock"); // held until the process ends
}
