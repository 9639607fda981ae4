#include "lobbyplaces.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace lobby {

QStringList installerArguments() {
    return QStringLiteral("/SP- /silent /noicons").split(' ');
}

Places Places::standard() {
    Places p;
    const QString forced = qEnvironmentVariable(kUrlVariable);
    p.url = QUrl(forced.isEmpty() ? QString(kVendorSite) + kInstallerPath : forced);
    p.folder = QCoreApplication::applicationDirPath();
    if (!QFileInfo(p.folder).isWritable()) {
        p.folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
        QDir().mkpath(p.folder);
    }
    p.program = kProgramPath;
    return p;
}

QString Places::fileName() const {
    const QString path = url.path();
    return path.mid(path.lastIndexOf('/') + 1);
}

QString Places::target() const {
    return QDir(folder).filePath(fileName());
}

bool startProgram(const QString& path, const QStringList& arguments) {
    QFile file(path);
    if (!file.exists()) return false;
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return QProcess::startDetached(path, arguments, QFileInfo(path).absolutePath());
}

} // namespace lobby
