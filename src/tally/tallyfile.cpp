#include "tallyfile.h"

#include "tlzrw1.h"

#include <filesystem>
#include <system_error>

namespace bg {

namespace {

// A free name beside `path` for a file that could not be read.
std::filesystem::path asideName(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path aside = path.string() + ".damaged";
    for (int n = 1; std::filesystem::exists(aside, ec); ++n)
        aside = path.string() + "." + std::to_string(n) + ".damaged";
    return aside;
}

} // namespace

TallyLoad loadTallyFile(const std::string& path, TallyRecords& records) {
    TallyLoad result;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return result;
    try {
        Tlzrw1 codec;
        codec.InputFile = path;
        const lzrw1::Bytes text = codec.decompressToMemory();
        records.fromText(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
        return result;
    } catch (const std::exception& e) {
        result.failed = true;
        result.error = e.what();
    }
    const std::filesystem::path aside = asideName(path);
    std::filesystem::rename(path, aside, ec);
    if (!ec) result.keptAs = aside.string();
    return result;
}

void saveTallyFile(const std::string& path, const TallyRecords& records) {
    const std::string text = records.toText();
    Tlzrw1 codec;
    codec.OutputFile = path;
    codec.compressFrom({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

} // namespace bg
