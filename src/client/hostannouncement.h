#pragma once
// The hosting copy tells its network about its game: the host player's name, the game type
// of the last game started and the seats taken, announced again whenever they change.

#include "discovery/gameannouncer.h"

#include <QObject>
#include <QString>

namespace bg {
class HostShell;
class TServer;
} // namespace bg

// What the notice says of a host engine's game.
bg::discovery::GameNotice noticeOf(const bg::TServer& engine, const QString& hostName);

class HostAnnouncement : public QObject {
  public:
    HostAnnouncement(bg::HostShell& host, QString hostName, quint16 port,
                     QObject* parent = nullptr);

  private:
    void refresh();

    bg::HostShell& m_host;
    QString m_hostName;
    bg::discovery::GameAnnouncer m_announcer;
};
