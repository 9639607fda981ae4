#pragma once
// The questions a command line can ask before any window exists: `--help` and `--version`
// (first parameter only, like `--serve`), and whether there is a desktop to show a window on.
// The toolkit aborts with a core dump when it finds no display, so the program answers first.

#include <optional>
#include <string>

namespace bg {

// The usage text that `--help` prints.
std::string usageText();
// "backgammon 1.0.4".
std::string versionText();

// Whether a window could be shown: a display for the platform the toolkit will pick.
// `env` reads one environment variable (null when unset).
using EnvReader = const char* (*)(const char*);
bool haveDisplay(EnvReader env);

// Answers a command line that needs no window (or cannot have one): prints and returns the
// exit code; nothing when the program goes on to open its window.
std::optional<int> answerWithoutWindow(int argc, char** argv, EnvReader env);

} // namespace bg
