#include "recordfiles.h"

#include "appfiles.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace recordfiles {

namespace {

QString safeName(const std::string& name) {
    QString out;
    for (const QChar c : QString::fromStdString(name))
        out += (c.isLetterOrNumber() || c == ' ' || c == '-' || c == '_') ? c : QChar('_');
    out = out.simplified();
    return out.isEmpty() ? QString("Player") : out.left(40);
}

} // namespace

QString fileNameFor(const bg::rec::GameRecord& record, const QDateTime& when) {
    return when.toString("yyyy-MM-dd HH.mm.ss") + " " + safeName(record.names[1]) + " vs " +
           safeName(record.names[2]) + ".mat";
}

QByteArray matchText(const bg::rec::GameRecord& record, const QDateTime& when) {
    const bg::rec::MatchStamp stamp{when.toString("yyyy.MM.dd").toStdString(),
                                    when.toString("HH.mm").toStdString()};
    return QByteArray::fromStdString(bg::rec::writeMatch(record, stamp));
}

QString writeWhole(const QString& path, const QByteArray& bytes) {
    const QString part = path + ".part";
    QFile f(part);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return f.errorString();
    if (f.write(bytes) != bytes.size() || !f.flush()) {
        const QString why = f.errorString();
        f.close();
        f.remove();
        return why;
    }
    // The bytes must be on the disk before the name points at them.
    if (::fsync(f.handle()) != 0) {
        f.close();
        f.remove();
        return "the file could not be synced";
    }
    f.close();
    QFile::remove(path);
    if (!QFile::rename(part, path)) {
        QFile::remove(part);
        return "the file could not be renamed";
    }
    return {};
}

QString saveInGamesFolder(const bg::rec::GameRecord& record, const QDateTime& when) {
    const QString folder = bg::savedGamesFolder();
    if (!QDir().mkpath(folder)) return {};
    QString path = folder + fileNameFor(record, when);
    // Two copies on one machine finish the same game at the same second.
    for (int n = 2; QFile::exists(path); ++n)
        path = folder + fileNameFor(record, when).chopped(4) + QString(" (%1).mat").arg(n);
    return writeWhole(path, matchText(record, when)).isEmpty() ? path : QString();
}

bg::rec::ReadResult readRecordFile(const QString& path) {
    QFile f(path);
    bg::rec::ReadResult r;
    if (!f.open(QIODevice::ReadOnly)) {
        r.error = "the file cannot be opened: " + f.errorString().toStdString();
        r.line = 1;
        return r;
    }
    // Far more than any game needs; a larger file is not a record.
    const QByteArray bytes = f.read(4 * 1024 * 1024 + 1);
    return bg::rec::readMatch(std::string_view(bytes.constData(), bytes.size()));
}

} // namespace recordfiles
