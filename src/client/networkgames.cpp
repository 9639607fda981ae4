// Playing others from the desktop: the File menu's Host a Game, Join a Game and Copy Address,
// the download window's "Play with Others" when no lobby is installed, and the hosting copy's
// line in the chat with the addresses others can join at.

#include "download/tdownload.h"
#include "joinaddresses.h"
#include "tchat.h"
#include "windows/thostgame.h"
#include "windows/tjoingame.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

void Tchat::addNetworkGameItems(QMenu* file) {
    connect(menuItem(file, "HostGame1", "Host a Game..."), &QAction::triggered, this,
            &Tchat::HostGame1Click);
    connect(menuItem(file, "JoinGame1", "Join a Game..."), &QAction::triggered, this,
            &Tchat::JoinGame1Click);
    m_copyAddress = menuItem(file, "CopyAddress1", "Copy Address");
    m_copyAddress->setEnabled(false);
    connect(m_copyAddress, &QAction::triggered, this, &Tchat::CopyAddress1Click);
    file->addSeparator();
}

void Tchat::connectNetworkGames() {
    const auto starter = [this](const NextCopy& copy) { startNextCopy(copy); };
    m_hostGame = LazyWindow<Thostgame>::madeBy(
        [this, starter] { return new Thostgame(settingsPath(), starter, this); });
    m_joinGame = LazyWindow<Tjoingame>::madeBy([this, starter] {
        auto* dialog = new Tjoingame(settingsPath(), defaultGamePort(), starter, this);
        connect(dialog, &Tjoingame::hostRequested, this, &Tchat::HostGame1Click);
        return dialog;
    });
    m_windows.download.onMade([this](Tdownload& download) {
        connect(&download, &Tdownload::playWithOthersRequested, this, [this, &download] {
            download.close();
            JoinGame1Click();
        });
    });
}

Thostgame* Tchat::hostGameWindow() {
    return m_hostGame.get();
}

Tjoingame* Tchat::joinGameWindow() {
    return m_joinGame.get();
}

void Tchat::HostGame1Click() {
    if (Thostgame* dialog = m_hostGame.get()) {
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    }
}

void Tchat::JoinGame1Click() {
    if (Tjoingame* dialog = m_joinGame.get()) {
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    }
}

void Tchat::startNextCopy(const NextCopy& copy) {
    if (m_nextCopyStarter) m_nextCopyStarter(copy);
    close();
}

void Tchat::announceJoinAddresses() {
    m_joinAddresses = addressesToJoin(gamePort(), static_cast<quint16>(bg::kDefaultPort));
    m_copyAddress->setEnabled(!m_joinAddresses.isEmpty());
    addSystemLine(joinAddressesLine(m_joinAddresses).toStdString());
}

void Tchat::CopyAddress1Click() {
    if (m_joinAddresses.isEmpty()) return;
    QGuiApplication::clipboard()->setText(m_joinAddresses.front());
}
