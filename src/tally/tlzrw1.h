#pragma once
// Tlzrw1: the codec as a file component. Compress packs InputFile into OutputFile, Decompress
// restores it; both read their input whole and code it in memory. The output file is written
// beside its final name and renamed into place, so a failure half-way (a full disk, a crash)
// leaves the previous file as it was, and no partial output remains after an error.
//
// Only the fast mode is built; files of the other method ("!HZL") are refused with a message
// that says so.

#include "lzrw1.h"

#include <cstddef>
#include <memory>
#include <span>
#include <string>

class Tlzrw1 {
  public:
    enum class Mode { Good, Fast, Auto };

    Tlzrw1(); // throws LzrwError "LZRW1KH : no memory for HASH table"

    std::string InputFile;
    std::string OutputFile;
    Mode CompressMode = Mode::Fast;
    bool UseStream = false;
    int Threshold = 40;

    // Both return the number of bytes written and throw bg::lzrw1::LzrwError on any failure.
    std::size_t Compress();
    std::size_t Decompress();

    // The same with one side in memory: packs `data` into OutputFile, or unpacks InputFile.
    std::size_t compressFrom(std::span<const std::uint8_t> data);
    bg::lzrw1::Bytes decompressToMemory();

  private:
    std::unique_ptr<bg::lzrw1::BlockCoder> m_coder;
};

namespace bg::lzrw1 {
// Reads a whole file; throws with the open, size and read messages of the codec.
Bytes readWholeFile(const std::string& path, const std::string& readErrorSuffix = {});
// Writes a whole file beside `path` and renames it into place; throws with the open and write
// messages. Nothing of the new file remains after a failure.
void writeFileAtomically(const std::string& path, std::span<const std::uint8_t> data);
} // namespace bg::lzrw1
