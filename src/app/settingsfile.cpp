#include "settingsfile.h"

#include <SimpleIni.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace bg {

struct SettingsFile::Ini {
    // Case-insensitive names, UTF-8 kept as it is, one value per key.
    CSimpleIniA ini{true, false, false};
};

SettingsFile::SettingsFile(std::string path)
    : m_path(std::move(path)), m_ini(std::make_unique<Ini>()) {
    m_ini->ini.SetSpaces(false);
}

SettingsFile::~SettingsFile() = default;

namespace {
// Far beyond any settings file; a larger "file" is not one, and is not read into memory.
constexpr std::uintmax_t kMaxFileBytes = 16u << 20;

// The whole file, or nothing when it is missing, not a plain file, too large or unreadable.
// The reading is ours rather than the library's: the library sizes its buffer from the file's
// reported length, which for a folder or a device is not a length at all.
std::optional<std::string> readWhole(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxFileBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return text;
}
} // namespace

bool SettingsFile::load() {
    const std::optional<std::string> text = readWhole(m_path);
    if (!text) {
        m_ini->ini.Reset();
        return false;
    }
    return loadText(*text);
}

bool SettingsFile::loadText(std::string_view text) {
    m_ini->ini.Reset();
    if (m_ini->ini.LoadData(text.data(), text.size()) >= 0) return true;
    m_ini->ini.Reset(); // a half-read file must not be written back half
    return false;
}

std::optional<std::string> SettingsFile::value(std::string_view section,
                                               std::string_view key) const {
    const char* v =
        m_ini->ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
    if (!v) return std::nullopt;
    return std::string(v);
}

void SettingsFile::set(std::string_view section, std::string_view key, std::string_view value) {
    m_ini->ini.SetValue(std::string(section).c_str(), std::string(key).c_str(),
                        std::string(value).c_str());
}

bool SettingsFile::save() const {
    return m_ini->ini.SaveFile(m_path.c_str(), false) >= 0;
}

} // namespace bg
