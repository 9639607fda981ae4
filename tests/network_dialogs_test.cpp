// Host a Game and Join a Game through their real controls, offscreen; the main window's File
// menu and the download window leading to them; and what they check before anything ends.
// No Avahi daemon is reachable here (the system bus is pointed at nothing), as on a machine
// without service discovery.

#include "download/tdownload.h"
#include "chatview.h"
#include "joinaddresses.h"
#include "settingsfile.h"
#include "tchat.h"
#include "windows/joinaddress.h"
#include "windows/networkgamesettings.h"
#include "windows/thostgame.h"
#include "windows/tjoingame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr quint16 kUsualPort = 7772;

template <class W> W* child(QWidget& parent, const char* name) {
    auto* w = parent.findChild<W*>(name);
    if (!w) ADD_FAILURE() << "no control " << name;
    return w;
}

void click(QWidget& window, const char* button) {
    QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
}

void typeInto(QWidget& window, const char* edit, const QString& text) {
    auto* e = child<QLineEdit>(window, edit);
    e->clear();
    QTest::keyClicks(e, text);
}

QString message(QWidget& window) {
    return child<QLabel>(window, "label_message")->text();
}

QStringList items(QWidget& window, const char* list) {
    QStringList out;
    auto* l = child<QListWidget>(window, list);
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

struct Dialogs {
    QTemporaryDir dir;
    QString settings = dir.filePath("vesklobby.ini");
    std::vector<NextCopy> started;
    NextCopyStarter starter = [this](const NextCopy& c) { started.push_back(c); };
};

TEST(HostGame, HostsWithTheLobbysCommandLineAndRemembersTheName) {
    Dialogs d;
    {
        Thostgame host(d.settings, d.starter);
        host.show();
        typeInto(host, "edit_name", "  Alice Smith+1 ");
        click(host, "button_host");
        ASSERT_EQ(d.started.size(), 1u);
        EXPECT_EQ(d.started[0].arguments, (QStringList{"Alice Smith+1", "127.0.0.1", "true"}));
        EXPECT_FALSE(d.started[0].port.has_value());
        EXPECT_FALSE(host.isVisible());
    }
    Thostgame again(d.settings, d.starter);
    again.show();
    EXPECT_EQ(child<QLineEdit>(again, "edit_name")->text(), "Alice Smith+1");
    Tjoingame join(d.settings, kUsualPort, d.starter);
    join.show();
    EXPECT_EQ(child<QLineEdit>(join, "edit_name")->text(), "Alice Smith+1");
}

TEST(HostGame, RefusesANameTheLogInCannotCarry) {
    Dialogs d;
    Thostgame host(d.settings, d.starter);
    host.show();
    typeInto(host, "edit_name", "   ");
    click(host, "button_host");
    EXPECT_EQ(message(host), "Please enter your name.");
    child<QLineEdit>(host, "edit_name")->setText("Ann\nBob");
    click(host, "button_host");
    EXPECT_EQ(message(host), "A name cannot hold line breaks or other control characters.");
    EXPECT_TRUE(d.started.empty());
    EXPECT_TRUE(host.isVisible());
    EXPECT_EQ(child<QLineEdit>(host, "edit_name")->maxLength(), 40);
}

TEST(JoinGame, JoinsWithTheLobbysCommandLineAndThePortWhereItDiffers) {
    Dialogs d;
    Tjoingame join(d.settings, kUsualPort, d.starter);
    join.show();
    typeInto(join, "edit_name", "Bob");
    typeInto(join, "edit_address", "10.1.2.3");
    click(join, "button_join");
    ASSERT_EQ(d.started.size(), 1u);
    EXPECT_EQ(d.started[0].arguments, (QStringList{"Bob", "10.1.2.3", "false"}));
    EXPECT_FALSE(d.started[0].port.has_value());

    join.show();
    typeInto(join, "edit_address", "192.168.0.20:7800");
    click(join, "button_join");
    ASSERT_EQ(d.started.size(), 2u);
    EXPECT_EQ(d.started[1].arguments, (QStringList{"Bob", "192.168.0.20", "false"}));
    EXPECT_EQ(d.started[1].port, std::optional<quint16>(7800));
}

TEST(JoinGame, LooksUpAHostNameWithoutConnecting) {
    Dialogs d;
    Tjoingame join(d.settings, kUsualPort, d.starter);
    join.show();
    typeInto(join, "edit_name", "Bob");
    typeInto(join, "edit_address", "localhost:7900");
    click(join, "button_join");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !d.started.empty(); }, 10000)) << message(join).toStdString();
    EXPECT_EQ(d.started[0].arguments, (QStringList{"Bob", "localhost", "false"}));
    EXPECT_EQ(d.started[0].port, std::optional<quint16>(7900));
}

TEST(JoinGame, RefusesEmptyAndBadAddressesWithAMessageAndEndsNothing) {
    Dialogs d;
    Tjoingame join(d.settings, kUsualPort, d.starter);
    join.show();
    typeInto(join, "edit_name", "Bob");
    const std::pair<const char*, const char*> cases[] = {
        {"", "Please enter the address of the game's host."},
        {"300.1.1.1", "\"300.1.1.1\" is not an IPv4 address."},
        {"10.0.0", "\"10.0.0\" is not an IPv4 address."},
        {"host name", "\"host name\" is not a host name or an address."},
        {"example.org:0", "The port after the address must be a number from 1 to 65535."},
        {"example.org:99999", "The port after the address must be a number from 1 to 65535."},
        {"[::1", "An IPv6 address in brackets needs its closing \"]\"."},
        {"[fe80::zz]:7772", "\"fe80::zz\" is not an IPv6 address."},
        {"[2001:db8::5]:7800",
         "Games connect over IPv4 only: ask the host for an IPv4 address or a host name."},
    };
    for (const auto& [typed, why] : cases) {
        typeInto(join, "edit_address", typed);
        click(join, "button_join");
        EXPECT_EQ(message(join), why) << typed;
    }
    typeInto(join, "edit_name", "");
    typeInto(join, "edit_address", "10.0.0.1");
    click(join, "button_join");
    EXPECT_EQ(message(join), "Please enter your name.");
    QTest::keyClicks(child<QLineEdit>(join, "edit_name"), "B"); // typing again clears it
    EXPECT_EQ(message(join), "");
    EXPECT_TRUE(d.started.empty());
    EXPECT_TRUE(join.isVisible());
    EXPECT_TRUE(items(join, "listbox_recent").isEmpty());
}

TEST(JoinGame, KeepsTheLastTenAddressesLatestFirstInASectionOfItsOwn) {
    Dialogs d;
    {
        bg::SettingsFile f(d.settings.toStdString());
        f.set("Backgammon", "Phrase1", "Well played!");
        ASSERT_TRUE(f.save());
    }
    Tjoingame join(d.settings, kUsualPort, d.starter);
    for (int n = 1; n <= 12; ++n) {
        join.show();
        typeInto(join, "edit_name", "Bob");
        typeInto(join, "edit_address", QString("10.0.0.%1").arg(n));
        click(join, "button_join");
    }
    join.show();
    typeInto(join, "edit_address", "10.0.0.5:7772"); // the usual port said aloud is another entry
    click(join, "button_join");
    join.show();
    typeInto(join, "edit_address", "10.0.0.12");
    click(join, "button_join");

    Tjoingame fresh(d.settings, kUsualPort, d.starter);
    fresh.show();
    EXPECT_EQ(items(fresh, "listbox_recent"),
              (QStringList{"10.0.0.12", "10.0.0.5:7772", "10.0.0.11", "10.0.0.10", "10.0.0.9",
                           "10.0.0.8", "10.0.0.7", "10.0.0.6", "10.0.0.5", "10.0.0.4"}));
    // A click on a recent address puts it in the field; a double click joins it.
    auto* recent = child<QListWidget>(fresh, "listbox_recent");
    QTest::mouseClick(recent->viewport(), Qt::LeftButton, {},
                      recent->visualItemRect(recent->item(2)).center());
    EXPECT_EQ(child<QLineEdit>(fresh, "edit_address")->text(), "10.0.0.11");

    bg::SettingsFile f(d.settings.toStdString());
    ASSERT_TRUE(f.load());
    EXPECT_EQ(f.value("Backgammon", "Phrase1"), std::optional<std::string>("Well played!"));
    EXPECT_EQ(f.value("Backgammon", "Address1"), std::nullopt);
    EXPECT_EQ(f.value(NetworkGameSettings::kSection, "Address1"),
              std::optional<std::string>("10.0.0.12"));
    EXPECT_EQ(f.value(NetworkGameSettings::kSection, "PlayerName"), std::optional<std::string>("Bob"));
}

TEST(JoinGame, SaysWhenServiceDiscoveryIsNotRunning) {
    Dialogs d;
    Tjoingame join(d.settings, kUsualPort, d.starter);
    join.show();
    const QStringList games = items(join, "listbox_games");
    ASSERT_EQ(games.size(), 1);
    EXPECT_EQ(games[0], "No games found on this network (service discovery is not running)");
    EXPECT_FALSE(child<QListWidget>(join, "listbox_games")->item(0)->flags() & Qt::ItemIsEnabled);
}

TEST(JoinGame, EveryControlHasANameAScreenReaderSpeaks) {
    Dialogs d;
    Tjoingame join(d.settings, kUsualPort, d.starter);
    Thostgame host(d.settings, d.starter);
    for (QDialog* dialog : {static_cast<QDialog*>(&join), static_cast<QDialog*>(&host)})
        for (QWidget* w : dialog->findChildren<QWidget*>()) {
            if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QPushButton*>(w) &&
                !qobject_cast<QListWidget*>(w))
                continue;
            EXPECT_FALSE(w->objectName().isEmpty());
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        }
}

// The main window: the File menu's items, the next copy handed over as the window closes,
// and the download window's Play with Others without an installed lobby.
struct Window {
    QTemporaryDir dir;
    Tchat chat;
    Tdownload download;
    std::vector<NextCopy> started;
    Window() {
        chat.setSettingsPath(dir.filePath("vesklobby.ini"));
        chat.setWindows({.download = &download});
        chat.setNextCopyStarter([this](const NextCopy& c) { started.push_back(c); });
        chat.connectWindows();
        lobby::Places p = download.places();
        p.program = dir.filePath("no-lobby-here");
        download.setPlaces(p);
    }
};

TEST(NetworkGameMenu, HostFromTheFileMenuHandsOverTheCommandLineAndCloses) {
    Window w;
    w.chat.show();
    w.chat.findChild<QAction*>("HostGame1")->trigger();
    Thostgame* host = w.chat.hostGameWindow();
    ASSERT_TRUE(host && host->isVisible());
    typeInto(*host, "edit_name", "Alice");
    click(*host, "button_host");
    ASSERT_EQ(w.started.size(), 1u);
    EXPECT_EQ(w.started[0].arguments, (QStringList{"Alice", "127.0.0.1", "true"}));
    EXPECT_FALSE(w.chat.isVisible());
}

TEST(NetworkGameMenu, PlayWithOthersWithoutALobbyOpensJoinAndJoinCanTurnToHost) {
    Window w;
    w.chat.show();
    w.download.show();
    QTest::mouseClick(w.download.findChild<QPushButton*>("Button2"), Qt::LeftButton);
    Tjoingame* join = w.chat.joinGameWindow();
    ASSERT_TRUE(join && join->isVisible());
    EXPECT_FALSE(w.download.isVisible());
    click(*join, "button_hostinstead");
    EXPECT_FALSE(join->isVisible());
    ASSERT_TRUE(w.chat.hostGameWindow()->isVisible());
    EXPECT_TRUE(w.started.empty());
}

TEST(NetworkGameMenu, JoinFromTheFileMenuHandsOverTheCommandLine) {
    Window w;
    w.chat.show();
    w.chat.findChild<QAction*>("JoinGame1")->trigger();
    Tjoingame* join = w.chat.joinGameWindow();
    typeInto(*join, "edit_name", "Bob");
    typeInto(*join, "edit_address", "10.9.8.7:7801");
    click(*join, "button_join");
    ASSERT_EQ(w.started.size(), 1u);
    EXPECT_EQ(w.started[0].arguments, (QStringList{"Bob", "10.9.8.7", "false"}));
    EXPECT_EQ(w.started[0].port, std::optional<quint16>(7801));
}

TEST(NetworkGameMenu, CopyAddressIsOffUntilThisCopyHostsForOthers) {
    Window w;
    EXPECT_FALSE(w.chat.findChild<QAction*>("CopyAddress1")->isEnabled());
    w.chat.setHostStarter([](quint16) { return true; });
    w.chat.setParams({"Alice", "127.0.0.1", "true"});
    w.chat.show();
    // The chat says where others can join, whatever addresses this machine has.
    const QStringList& where = w.chat.joinAddresses();
    const QString shown = w.chat.chatView()->toPlainText();
    if (where.isEmpty())
        EXPECT_TRUE(shown.contains(joinAddressesLine(where))) << shown.toStdString();
    else
        EXPECT_TRUE(shown.contains("Others can join this game at: " + where.join(", ")))
            << shown.toStdString();
    QAction* copy = w.chat.findChild<QAction*>("CopyAddress1");
    EXPECT_EQ(copy->isEnabled(), !w.chat.joinAddresses().isEmpty());
    QGuiApplication::clipboard()->setText("before");
    copy->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              w.chat.joinAddresses().isEmpty() ? "before" : w.chat.joinAddresses().front());
}

TEST(JoinAddresses, OnlyAddressesOthersCanReachWithThePortWhereItDiffers) {
    const QList<QHostAddress> own = {QHostAddress("127.0.0.1"), QHostAddress("192.168.1.20"),
                                     QHostAddress("169.254.3.4"), QHostAddress("::1"),
                                     QHostAddress("2001:db8::1"), QHostAddress("10.0.0.5"),
                                     QHostAddress("192.168.1.20")};
    EXPECT_EQ(addressesToJoin(own, 7772, 7772), (QStringList{"192.168.1.20", "10.0.0.5"}));
    EXPECT_EQ(addressesToJoin(own, 7800, 7772),
              (QStringList{"192.168.1.20:7800", "10.0.0.5:7800"}));
    EXPECT_EQ(joinAddressesLine({"192.168.1.20:7800", "10.0.0.5:7800"}),
              "Others can join this game at:192.168.1.20:7800, 10.0.0.5:7800");
    EXPECT_EQ(joinAddressesLine({}),
              "This machine has no network address that others could join this game at.");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // No daemon behind this address: the dialogs work as on a machine without discovery.
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/bg-test-no-system-bus");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
