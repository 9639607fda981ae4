#pragma once
// Where the lobby program comes from and where it lives: the download address, the folder the
// installer is saved in, and the installed lobby program; and how either is started.
//
// The vendor's site is a reserved example name, so a build that nobody configured can never
// fetch and run a stranger's file; BG_LOBBY_URL names the real (or a test) address.

#include <QString>
#include <QStringList>
#include <QUrl>

namespace lobby {

inline constexpr const char* kVendorSite = "http://www.veskor.example";
inline constexpr const char* kInstallerPath = "/lobby/vxlsetup.exe";
// The lobby's own installer puts the program here on Linux (the Windows installer's
// "Program Files\Veskor" folder, as the file system hierarchy places add-on software).
inline constexpr const char* kProgramPath = "/opt/Veskor/VeskorLobby";
inline constexpr const char* kUrlVariable = "BG_LOBBY_URL";

// The installer's arguments: a silent installation without icons.
QStringList installerArguments();

struct Places {
    QUrl url;        // the installer's address
    QString folder;  // where the installer is saved
    QString program; // the installed lobby program

    // The address from BG_LOBBY_URL or the vendor's; the folder beside the program when it
    // is writable, else the user's data folder; the program at kProgramPath.
    static Places standard();
    // The last part of the address after its final "/" ("vxlsetup.exe").
    QString fileName() const;
    QString target() const;
};

// Makes the file executable for its owner and starts it detached with the arguments; false
// when it could not be started.
bool startProgram(const QString& path, const QStringList& arguments);

} // namespace lobby
