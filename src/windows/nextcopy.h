#pragma once
// Hosting or joining from a dialog ends this copy and starts another with the command line a
// lobby would give it. The copy to start, as the dialogs ask for it; the program starts it
// once this copy has let go of everything (the single-instance guard, the game's port).

#include <QStringList>

#include <functional>
#include <optional>

struct NextCopy {
    QStringList arguments; // "<name> <address> true|false"
    // The host's port where it is not this copy's own; passed the way test runs pass it.
    std::optional<quint16> port;
};

using NextCopyStarter = std::function<void(const NextCopy&)>;
