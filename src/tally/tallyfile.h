#pragma once
// The tally file: the records' grid text packed by the codec. Loading a file that cannot be
// read moves it aside (a ".damaged" name beside it) before anything can overwrite it; saving
// writes the new file beside the old one and renames it into place.

#include "tallyrecords.h"

#include <string>

namespace bg {

struct TallyLoad {
    bool failed = false;
    std::string error;  // the codec's or the text reader's message
    std::string keptAs; // where a file that failed to load now is; empty if it stayed put
};

// Reads `path` into `records` (left as they were when the file is missing or fails).
TallyLoad loadTallyFile(const std::string& path, TallyRecords& records);
// Throws bg::lzrw1::LzrwError when the file cannot be written; the old file then stays.
void saveTallyFile(const std::string& path, const TallyRecords& records);

} // namespace bg
