#include "singleinstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace {
constexpr int kConnectWaitMs = 500;
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

bool SingleInstance::claim() {
    const QString name = serverName();
    {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(kConnectWaitMs)) {
            probe.write(kRaiseRequest);
            probe.waitForBytesWritten(kConnectWaitMs);
            probe.disconnectFromServer();
            return false;
        }
    }
    // Nobody answered: whatever is left at the name belongs to a copy that died.
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
