#pragma once
// How a record reaches the disk: one match file per game in the saved games folder
// (bg::savedGamesFolder()), named by the date, time and players, written in full under a temporary name, synced and renamed,
// so that a crash never leaves half a record.

#include "gamerecord.h"
#include "matchfile.h"

#include <QDateTime>
#include <QString>

namespace recordfiles {

// "2026-12-09 14.05.33 You vs Zobo.mat": no character a file system could refuse.
QString fileNameFor(const bg::rec::GameRecord& record, const QDateTime& when);
// The match file's text of a record, stamped with `when`.
QByteArray matchText(const bg::rec::GameRecord& record, const QDateTime& when);
// Writes `bytes` to "<path>.part", syncs it, then renames it over `path`. Empty when done.
QString writeWhole(const QString& path, const QByteArray& bytes);
// Saves a finished game in the games folder; returns its path, or empty when it failed.
QString saveInGamesFolder(const bg::rec::GameRecord& record, const QDateTime& when);
// Reads a match file; a file that cannot be opened reports that as its error.
bg::rec::ReadResult readRecordFile(const QString& path);

} // namespace recordfiles
