#pragma once
// The host alone, without a window: `backgammon --serve [--port N]`.

namespace bg {

// True when the command line asks for a headless host.
bool wantsHeadlessHost(int argc, char** argv);
// Runs the headless host until Ctrl+C (or SIGTERM); returns the process exit code. Creates
// its own QCoreApplication, so call it before any other application object exists.
int runHeadlessHost(int argc, char** argv);

} // namespace bg
