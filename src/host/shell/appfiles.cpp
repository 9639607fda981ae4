#include "appfiles.h"

#include "protocol.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace bg {

QString appFileFolder() {
    const QString forced = qEnvironmentVariable("BG_CONFIG_DIR");
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

int defaultHostPort() {
    bool ok = false;
    const int port = qEnvironmentVariableIntValue("BG_PORT", &ok);
    return ok && port > 0 && port < 65536 ? port : kDefaultPort;
}

} // namespace bg
