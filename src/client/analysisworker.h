#pragma once
// AnalysisWorker: runs the analysis engine's work on a thread of its own, at a lower priority
// than the window's, so that the game's host and client keep their pace while a hint is found
// or a game reviewed.
//
// The work gets the worker and hands its results back with post(), which runs them on the
// thread that owns the worker (the window's); it looks at stopRequested() between pieces of
// work. Stopping, starting anew and destroying the worker wait for the work to end, so a
// result never arrives at a window that has gone.
//
//   worker->start([board](AnalysisWorker& w) {
//       const Plan p = PlayJudge().preferred(board);
//       w.post([p] { ... show it ... });
//   });

#include <QObject>

#include <atomic>
#include <functional>
#include <thread>

class AnalysisWorker : public QObject {
    Q_OBJECT
  public:
    explicit AnalysisWorker(QObject* parent = nullptr) : QObject(parent) {}
    ~AnalysisWorker() override { stop(); }

    void start(std::function<void(AnalysisWorker&)> work);
    // Asks the work to end and waits for it; what it posted before is dropped.
    void stop();
    bool running() const { return m_running.load(); }
    // On the worker's thread.
    bool stopRequested() const { return m_stop.load(); }
    void post(std::function<void()> result);

  signals:
    // The work has ended (on the owner's thread), whether done or stopped.
    void finished();

  private:
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
    unsigned m_generation = 0; // results of a stopped run are dropped
};
