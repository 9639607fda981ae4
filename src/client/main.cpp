// The program's entry: the single-instance guard, then every window in its fixed order, the
// host (which only listens when this copy hosts), and the event loop until the main window
// closes. A copy that hosted or joined from a dialog starts its successor last of all, once
// the guard and the game's port are free for it.

#include "appstyle.h"
#include "commandline.h"
#include "environment.h"
#include "hostannouncement.h"
#include "hostshell.h"
#include "programwindows.h"
#include "serve.h"
#include "singleinstance.h"
#include "startupprobe.h"
#include "tally/ttallylist.h"
#include "tchat.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

void startCopy(const NextCopy& copy) {
    QProcess process;
    process.setProgram(QCoreApplication::applicationFilePath());
    process.setArguments(copy.arguments);
    if (copy.port) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(bg::environment::kPortVariable, QString::number(*copy.port));
        process.setProcessEnvironment(environment);
    }
    process.startDetached();
}

int runWindows(QApplication& app, std::optional<NextCopy>& next) {
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
    // A copy that others may join tells its network about the game.
    std::unique_ptr<HostAnnouncement> announcement;
    chat.setHostStarter([&host, &announcement, reach, &app](quint16 port) {
        if (!host.listen(port, reach)) return false;
        if (reach == bg::HostShell::Reach::AllAddresses)
            announcement = std::make_unique<HostAnnouncement>(host, app.arguments().value(1), port);
        return true;
    });
    chat.setNextCopyStarter([&next](const NextCopy& copy) { next = copy; });
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

} // namespace

int main(int argc, char** argv) {
    // A host without a window needs no display and no single-instance guard.
    if (bg::wantsHeadlessHost(argc, argv)) return bg::runHeadlessHost(argc, argv);
    const auto env = [](const char* name) -> const char* { return std::getenv(name); };
    if (const auto code = bg::answerWithoutWindow(argc, argv, env)) return *code;
    QApplication app(argc, argv);
    std::optional<NextCopy> next;
    const int result = runWindows(app, next);
    if (next) startCopy(*next);
    return result;
}
