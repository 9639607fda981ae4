#include "hostannouncement.h"

#include "hostshell.h"
#include "tserver.h"

bg::discovery::GameNotice noticeOf(const bg::TServer& engine, const QString& hostName) {
    bg::discovery::GameNotice notice;
    notice.hostName = hostName.toStdString();
    notice.type = engine.board().acey ? bg::discovery::GameType::AceyDeucey
                                      : bg::discovery::GameType::Backgammon;
    for (int s = 1; s <= engine.seatsused(); ++s)
        if (engine.seat(s).connected) ++notice.seatsTaken;
    return notice;
}

HostAnnouncement::HostAnnouncement(bg::HostShell& host, QString hostName, quint16 port,
                                   QObject* parent)
    : QObject(parent), m_host(host), m_hostName(std::move(hostName)), m_announcer(port, this) {
    connect(&m_host, &bg::HostShell::gameChanged, this, &HostAnnouncement::refresh);
    refresh();
}

void HostAnnouncement::refresh() {
    m_announcer.announce(noticeOf(m_host.engine(), m_hostName));
}
