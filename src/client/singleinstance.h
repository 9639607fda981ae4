#pragma once
// One copy of the program per user session. The first copy holds the lock file "roksev.lock"
// in the user's runtime folder for its whole life and listens on a named pipe "roksev" beside
// it; a later copy finds the lock taken, writes a request to come forward into the pipe and
// ends before creating any window. The lock, not the pipe, decides who is first, so copies
// started at the same moment cannot both win. A pipe rather than a local socket keeps the
// network library out of a program that needs it for nothing else.

#include <QObject>

class QSocketNotifier;

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
    void readRequests();

    int m_lock = -1; // the lock file's descriptor while this copy holds it
    int m_pipe = -1;
    // Held open so that the pipe never reports an end when a later copy has written and gone.
    int m_keepOpen = -1;
    QSocketNotifier* m_notifier = nullptr;
};

// The "backgammon" lock: held, never tested, released when the process ends.
void holdProcessMutex();
