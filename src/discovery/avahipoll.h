#pragma once
// The Avahi client library's main-loop interface served by Qt's own event loop: each watch is
// a pair of socket notifiers and each timeout a single-shot timer, so the library's callbacks
// run on the thread of the windows and need no locking.

#include <avahi-common/watch.h>

#include <QObject>

namespace bg::discovery {

class AvahiQtPoll : public QObject {
  public:
    explicit AvahiQtPoll(QObject* parent = nullptr);
    const AvahiPoll* poll() const { return &m_poll; }

  private:
    AvahiPoll m_poll{};
};

} // namespace bg::discovery
