#pragma once
// Tells the local network about the game this copy hosts: a "_backgammon._tcp" service on the
// host's port whose text record carries the notice, replaced whenever the notice changes.
// Without an Avahi daemon nothing is announced and nothing fails; a daemon that starts later
// is used when it comes.

#include "gamenotice.h"

#include <QObject>

#include <memory>

namespace bg::discovery {

class GameAnnouncer : public QObject {
    Q_OBJECT
  public:
    GameAnnouncer(quint16 port, QObject* parent = nullptr);
    ~GameAnnouncer() override;

    void announce(const GameNotice& notice);
    // The name the network knows the game by, once the daemon has taken it.
    QString serviceName() const;
    bool published() const;

  signals:
    void publishedChanged();

  private:
    struct Avahi;
    std::unique_ptr<Avahi> m_avahi;
};

} // namespace bg::discovery
