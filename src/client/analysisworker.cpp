#include "analysisworker.h"

#include <QMetaObject>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Below the window's thread: when the cores are busy, the game's timers come first.
constexpr int kBackgroundNice = 10;

void runInBackground() {
    const auto thread = static_cast<id_t>(syscall(SYS_gettid));
    const int now = getpriority(PRIO_PROCESS, thread);
    setpriority(PRIO_PROCESS, thread, now + kBackgroundNice);
}

} // namespace

void AnalysisWorker::start(std::function<void(AnalysisWorker&)> work) {
    stop();
    m_stop = false;
    m_running = true;
    const unsigned generation = ++m_generation;
    m_thread = std::thread([this, generation, work = std::move(work)] {
        runInBackground();
        work(*this);
        m_running = false;
        post([this, generation] {
            if (generation == m_generation) emit finished();
        });
    });
}

void AnalysisWorker::stop() {
    if (!m_thread.joinable()) return;
    m_stop = true;
    m_thread.join();
    m_running = false;
    ++m_generation;
}

void AnalysisWorker::post(std::function<void()> result) {
    const unsigned generation = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, generation, result = std::move(result)] {
            if (generation == m_generation) result();
        },
        Qt::QueuedConnection);
}
