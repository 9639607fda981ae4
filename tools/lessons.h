#pragma once
// Lessons for the contact network: positions of real games, each with the value the
// look-ahead gives it, written by lesson_make and fitted by lesson_fit. The file is a plain
// array of Lesson records, for this build's own tools only (not an exchange format).

#include "sketch.h"

#include <cstdio>
#include <string>
#include <vector>

namespace bg::training {

struct Lesson {
    Sketch position;  // as the player who just moved sees it, the opponent to throw
    float target = 0; // that player's winning chances after the next throw
    uint8_t acey = 0; // an Acey-Deucey game
    uint8_t spare[3]{};
};

inline bool appendLessons(const std::string& path, const std::vector<Lesson>& lessons) {
    FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) return false;
    const bool ok =
        std::fwrite(lessons.data(), sizeof(Lesson), lessons.size(), f) == lessons.size();
    return std::fclose(f) == 0 && ok;
}

// Appends every whole lesson of `path` to `into`; false when it cannot be read.
inline bool readLessons(const std::string& path, std::vector<Lesson>& into) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    Lesson l;
    while (std::fread(&l, sizeof l, 1, f) == 1)
        into.push_back(l);
    std::fclose(f);
    return true;
}

} // namespace bg::training
