#include "serve.h"

#include "appfiles.h"
#include "botsettingsfile.h"
#include "hostshell.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace bg {

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &byte, 1);
}

// Ctrl+C and SIGTERM end the event loop from inside it, where quitting is safe.
void quitOnSignals(QCoreApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char byte;
        [[maybe_unused]] const auto n = ::read(g_signalPipe[0], &byte, 1);
        app.quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int portArgument(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--port") == 0) {
            int port = 0;
            if (toInt(argv[i + 1], port) && port > 0 && port < 65536) return port;
            return -1;
        }
    return defaultHostPort();
}

} // namespace

bool wantsHeadlessHost(int argc, char** argv) {
    // Only as the first parameter: a player may well be called "--serve".
    return argc >= 2 && std::strcmp(argv[1], "--serve") == 0;
}

int runHeadlessHost(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("Backgammon");
    std::signal(SIGPIPE, SIG_IGN);
    const int port = portArgument(argc, argv);
    if (port < 0) {
        std::fprintf(stderr, "backgammon: --port needs a number from 1 to 65535\n");
        return 2;
    }
    BotSettingsFile settings(appFilePath(kSettingsFileName));
    HostShell host(settings);
    host.engine().setHostSeatIsLocal(false);
    if (!host.listen(port)) {
        std::fprintf(stderr, "backgammon: cannot host on port %d: %s\n", port,
                     host.lastError().toLocal8Bit().constData());
        return 1;
    }
    std::fprintf(stderr, "backgammon: hosting on port %d\n", host.port());
    quitOnSignals(app);
    return app.exec();
}

} // namespace bg
