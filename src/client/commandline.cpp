#include "commandline.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace bg {

namespace {

bool set(EnvReader env, const char* name) {
    const char* value = env(name);
    return value && *value;
}

} // namespace

std::string usageText() {
    return "Usage: backgammon                          a solo game against the bot\n"
           "       backgammon NAME ADDRESS true        host a game as NAME\n"
           "       backgammon NAME ADDRESS false       join the game hosted at ADDRESS\n"
           "       backgammon --serve [--port N]       host without a window or display\n"
           "       backgammon --help | --version\n"
           "\n"
           "Games are played on TCP port 7772 unless BG_PORT or --port says otherwise.\n"
           "See backgammon(6) for the files and the environment.\n";
}

std::string versionText() {
    return std::string("backgammon ") + BG_VERSION;
}

bool haveDisplay(EnvReader env) {
    // A platform chosen by name decides for itself (offscreen needs no display at all), except
    // the two desktop ones, which need their own display.
    const char* forced = env("QT_QPA_PLATFORM");
    if (forced && *forced) {
        const std::string_view platform(forced);
        if (platform.starts_with("xcb")) return set(env, "DISPLAY");
        if (platform.starts_with("wayland")) return set(env, "WAYLAND_DISPLAY");
        return true;
    }
    return set(env, "DISPLAY") || set(env, "WAYLAND_DISPLAY");
}

std::optional<int> answerWithoutWindow(int argc, char** argv, EnvReader env) {
    // Only as the first parameter: a player may well be called "--help".
    if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(usageText().c_str(), stdout);
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s\n", versionText().c_str());
        return 0;
    }
    if (!haveDisplay(env)) {
        std::fputs("backgammon: the game needs a desktop to show its window (no display found); "
                   "`backgammon --serve` hosts a game without one\n",
                   stderr);
        return 1;
    }
    return std::nullopt;
}

} // namespace bg
