#pragma once
// The games announced on the local network, kept current as they appear, change and go. Each
// is resolved to an IPv4 address and port (the address a joining copy can reach) and its text
// record read as untrusted (gamenotice.h). Without an Avahi daemon the list stays empty and
// daemonRunning() says why; a daemon that starts later is used when it comes.

#include "gamenotice.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

namespace bg::discovery {

struct FoundGame {
    QString serviceName; // plain text, length-limited
    QString address;     // dotted IPv4
    quint16 port = 0;
    GameNotice notice;
};

class GameBrowser : public QObject {
    Q_OBJECT
  public:
    explicit GameBrowser(QObject* parent = nullptr);
    ~GameBrowser() override;

    // Resolved games, ordered by host name then service name.
    std::vector<FoundGame> games() const;
    bool daemonRunning() const;

  signals:
    void changed();

  private:
    struct Avahi;
    std::unique_ptr<Avahi> m_avahi;
};

} // namespace bg::discovery
