#include "singleinstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

namespace {
constexpr int kConnectWaitMs = 500;
// How long a later copy keeps asking a first copy that is still starting up.
constexpr int kFirstCopyStartMs = 5000;
constexpr int kRetryMs = 50;
const char kRaiseRequest[] = "raise\n";

QString runtimeFolder() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    QDir().mkpath(dir);
    return dir;
}
} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}
SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName() {
    return runtimeFolder() + "/roksev";
}

namespace {
// Asks the first copy to come forward; it may still be on its way to listening.
void askToComeForward(const QString& name) {
    QElapsedTimer waited;
    waited.start();
    do {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(kConnectWaitMs)) {
            probe.write(kRaiseRequest);
            probe.waitForBytesWritten(kConnectWaitMs);
            probe.disconnectFromServer();
            return;
        }
        QThread::msleep(kRetryMs);
    } while (waited.elapsed() < kFirstCopyStartMs);
}
} // namespace

bool SingleInstance::claim() {
    const QString name = serverName();
    m_lock = std::make_unique<QLockFile>(name + ".lock");
    // Never stale by age: only a holder that no longer runs gives it up.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0) && m_lock->error() == QLockFile::LockFailedError) {
        askToComeForward(name);
        return false;
    }
    // This copy is first: whatever is left at the name belongs to a copy that died.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) return true; // no guard, but the program still runs
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = m_server->nextPendingConnection()) {
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                if (peer->readAll().contains("raise")) emit raiseRequested();
            });
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        }
    });
    return true;
}

void holdProcessMutex() {
    static std::unique_ptr<QLockFile> lock;
    if (lock) return;
    lock = std::make_unique<QLockFile>(runtimeFolder() + "/backgammon.lock");
    lock->setStaleLockTime(0);
    lock->tryLock(0);
}
