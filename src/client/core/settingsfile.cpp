#include "settingsfile.h"

#include <SimpleIni.h>

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

bool SettingsFile::load() {
    m_ini->ini.Reset();
    if (m_ini->ini.LoadFile(m_path.c_str()) >= 0) return true;
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
