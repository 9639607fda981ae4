#include "environment.h"

#include "protocol.h"

#include <QtGlobal>

namespace bg::environment {

namespace {
std::optional<int> positive(const char* name) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    if (!ok || value <= 0) return std::nullopt;
    return value;
}
} // namespace

int gamePort() {
    const std::optional<int> port = positive(kPortVariable);
    return port && *port < 65536 ? *port : kDefaultPort;
}

QString configFolder() {
    return qEnvironmentVariable("BG_CONFIG_DIR");
}

std::optional<int> botDelayMs() {
    return positive("BG_BOT_DELAY_MS");
}

std::optional<int> tickMs() {
    return positive("BG_TICK_MS");
}

} // namespace bg::environment
