#include "appfiles.h"

#include "environment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace bg {

QString appFileFolder() {
    const QString forced = environment::configFolder();
    if (!forced.isEmpty()) {
        QDir().mkpath(forced);
        return forced;
    }
    const QString besideProgram = QCoreApplication::applicationDirPath();
    if (QFileInfo(besideProgram).isWritable()) return besideProgram;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return config;
}

QString appFilePath(const QString& fileName) {
    return QDir(appFileFolder()).filePath(fileName);
}

QString savedGamesFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/games/";
}

int defaultHostPort() {
    return environment::gamePort();
}

} // namespace bg
