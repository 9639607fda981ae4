#include "avahipoll.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>

#include <sys/time.h>

// The library names these structures and leaves their contents to the main loop.
struct AvahiWatch {
    QSocketNotifier* read = nullptr;
    QSocketNotifier* write = nullptr;
    AvahiWatchCallback callback = nullptr;
    void* userdata = nullptr;
    AvahiWatchEvent lastEvent = static_cast<AvahiWatchEvent>(0);
    int fd = -1;
};

struct AvahiTimeout {
    QTimer* timer = nullptr;
    AvahiTimeoutCallback callback = nullptr;
    void* userdata = nullptr;
};

namespace bg::discovery {

namespace {

QObject* owner(const AvahiPoll* api) {
    return static_cast<QObject*>(api->userdata);
}

void watchUpdate(AvahiWatch* w, AvahiWatchEvent events) {
    w->read->setEnabled(events & AVAHI_WATCH_IN);
    w->write->setEnabled(events & AVAHI_WATCH_OUT);
}

AvahiWatch* watchNew(const AvahiPoll* api, int fd, AvahiWatchEvent events,
                     AvahiWatchCallback callback, void* userdata) {
    auto* w = new AvahiWatch;
    w->fd = fd;
    w->callback = callback;
    w->userdata = userdata;
    w->read = new QSocketNotifier(fd, QSocketNotifier::Read, owner(api));
    w->write = new QSocketNotifier(fd, QSocketNotifier::Write, owner(api));
    const auto fire = [w](AvahiWatchEvent event) {
        w->lastEvent = event;
        w->callback(w, w->fd, event, w->userdata);
    };
    QObject::connect(w->read, &QSocketNotifier::activated, w->read, [fire] { fire(AVAHI_WATCH_IN); });
    QObject::connect(w->write, &QSocketNotifier::activated, w->write,
                     [fire] { fire(AVAHI_WATCH_OUT); });
    watchUpdate(w, events);
    return w;
}

AvahiWatchEvent watchGetEvents(AvahiWatch* w) {
    return w->lastEvent;
}

void watchFree(AvahiWatch* w) {
    // Freed from inside its own callback as often as not: the notifiers go once it returns.
    w->read->setEnabled(false);
    w->write->setEnabled(false);
    w->read->deleteLater();
    w->write->deleteLater();
    delete w;
}

void timeoutUpdate(AvahiTimeout* t, const struct timeval* tv) {
    if (!tv) {
        t->timer->stop();
        return;
    }
    struct timeval now {};
    gettimeofday(&now, nullptr);
    const long long ms = (static_cast<long long>(tv->tv_sec) - now.tv_sec) * 1000 +
                         (static_cast<long long>(tv->tv_usec) - now.tv_usec) / 1000;
    t->timer->start(static_cast<int>(std::max(0LL, std::min(ms, 24LL * 3600 * 1000))));
}

AvahiTimeout* timeoutNew(const AvahiPoll* api, const struct timeval* tv,
                         AvahiTimeoutCallback callback, void* userdata) {
    auto* t = new AvahiTimeout;
    t->callback = callback;
    t->userdata = userdata;
    t->timer = new QTimer(owner(api));
    t->timer->setSingleShot(true);
    QObject::connect(t->timer, &QTimer::timeout, t->timer, [t] { t->callback(t, t->userdata); });
    timeoutUpdate(t, tv);
    return t;
}

void timeoutFree(AvahiTimeout* t) {
    t->timer->stop();
    t->timer->deleteLater();
    delete t;
}

} // namespace

AvahiQtPoll::AvahiQtPoll(QObject* parent) : QObject(parent) {
    m_poll.userdata = this;
    m_poll.watch_new = watchNew;
    m_poll.watch_update = watchUpdate;
    m_poll.watch_get_events = watchGetEvents;
    m_poll.watch_free = watchFree;
    m_poll.timeout_new = timeoutNew;
    m_poll.timeout_update = timeoutUpdate;
    m_poll.timeout_free = timeoutFree;
}

} // namespace bg::discovery
