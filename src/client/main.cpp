// The program's entry: the single-instance guard, then every window in its fixed order, the
// host (which only listens when this copy hosts), and the event loop until the main window
// closes.

#include "appstyle.h"
#include "commandline.h"
#include "hostshell.h"
#include "programwindows.h"
#include "serve.h"
#include "singleinstance.h"
#include "startupprobe.h"
#include "tally/ttallylist.h"
#include "tchat.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdlib>

int main(int argc, char** argv) {
    // A host without a window needs no display and no single-instance guard.
    if (bg::wantsHeadlessHost(argc, argv)) return bg::runHeadlessHost(argc, argv);
    const auto env = [](const char* name) -> const char* { return std::getenv(name); };
    if (const auto code = bg::answerWithoutWindow(argc, argv, env)) return *code;
    QApplication app(argc, argv);
    SingleInstance guard;
    if (!guard.claim()) return 0;

    QApplication::setStyle(new AppStyle);
    Tchat::setApplicationTitle();
    QApplication::setQuitOnLastWindowClosed(false);

    Tchat chat;
    Ttallylist tally(&chat);
    bg::HostShell host(chat);

    chat.setWindows(programWindows(chat, &tally));
    chat.setParams(app.arguments().mid(1));
    // Without parameters the game is solo, against the bot only: nobody else may reach it.
    const auto reach = app.arguments().size() <= 1 ? bg::HostShell::Reach::LoopbackOnly
                                                   : bg::HostShell::Reach::AllAddresses;
    chat.setHostStarter([&host, reach](quint16 port) { return host.listen(port, reach); });
    chat.setHostErrorText([&host] { return host.lastError(); });
    chat.connectWindows();
    QObject::connect(&chat, &Tchat::gameForTally, &tally, &Ttallylist::addgame);
    tally.setSeatSource([&chat] {
        Ttallylist::Seats seats{{}, chat.state().myplayer()};
        for (int n = 1; n <= chat.state().seatcount(); ++n) {
            auto* name = chat.findChild<QLabel*>(QString("label_playername%1").arg(n));
            seats.names << (name ? name->text() : QString());
        }
        return seats;
    });
    QObject::connect(&host, qOverload<const QString&>(&bg::HostShell::hostChat), &chat,
                     [&chat](const QString& text) { chat.addlinetochat("0+" + text, Qt::blue); });
    QObject::connect(&host, qOverload<const QString&>(&bg::HostShell::hostMessageBox), &chat,
                     [&chat](const QString& text) { chat.showMessageBox(text); });
    QObject::connect(&guard, &SingleInstance::raiseRequested, &chat, &Tchat::bringToFront);
    QObject::connect(&chat, &Tchat::closedForGood, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    armStartupProbe(&chat);
    chat.show();
    return app.exec();
}
