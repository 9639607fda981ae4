#include "analysisworker.h"

#include <QMetaObject>

void AnalysisWorker::start(std::function<void(AnalysisWorker&)> work) {
    stop();
    m_stop = false;
    m_running = true;
    const unsigned generation = ++m_generation;
    m_thread = std::thread([this, generation, work = std::move(work)] {
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
