#pragma once
// The environment overrides that test runs (and only they) set, read in one place so that the
// window and the headless host can never disagree about them.
//   BG_PORT          the game's port instead of 7772 (test runs must never collide)
//   BG_CONFIG_DIR    the folder of the settings and tally files
//   BG_BOT_DELAY_MS  the bot's delay, beyond the menu's choices
//   BG_TICK_MS       the length of the host's one-second ticks (pass delay, turn clock)
// Each answers nothing (or the default) when the variable is unset or not a usable value.

#include <QString>

#include <optional>

namespace bg::environment {

// The port's variable, also for handing a port on to a copy this one starts.
inline constexpr const char* kPortVariable = "BG_PORT";

// The listening and connecting port: BG_PORT when it is a port number, else 7772.
int gamePort();
// The forced folder of the program's files, or an empty string.
QString configFolder();
// The forced bot delay in milliseconds, when one is set.
std::optional<int> botDelayMs();
// The forced tick length in milliseconds, when one is set.
std::optional<int> tickMs();

} // namespace bg::environment
