#pragma once
// One copy of the program per user session. The first copy holds the lock file "roksev.lock"
// for its whole life and listens on a local socket named "roksev" in the user's runtime
// folder; a later copy finds the lock taken, asks the holder over the socket to bring its
// window forward and ends before creating any window. The lock, not the socket, decides who
// is first, so copies started at the same moment cannot both win.

#include <QObject>

#include <memory>

class QLocalServer;
class QLockFile;

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this is the first copy (and now the one others ask); false when another copy
    // runs and has been asked to come forward.
    bool claim();
    static QString serverName();

  signals:
    // A later copy asked this one to come forward.
    void raiseRequested();

  private:
    QLocalServer* m_server = nullptr;
    std::unique_ptr<QLockFile> m_lock;
};

// The "backgammon" lock: held, never tested, released when the process ends.
void holdProcessMutex();
