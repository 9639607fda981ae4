#pragma once
// One copy of the program per user session. The first copy listens on a local socket named
// "roksev" in the user's runtime folder; a later copy finds it there, asks it to bring its
// window forward and ends before creating any window.

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
};

// The "backgammon" lock: held, never tested, released when the process ends.
void holdProcessMutex();
