#pragma once
// SettingsFile: one sections-and-keys text file ("vesklobby.ini"), shared with other programs
// of the same maker, read and written without disturbing what they keep in it.
//
//   bg::SettingsFile f(path);
//   f.load();                                    // missing or unreadable: reads as empty
//   std::optional<std::string> v = f.value("Backgammon", "Phrase1");
//   f.set("Backgammon", "Phrase1", "Well played!");
//   f.save();                                    // false when it could not be written
//
// Section and key names match without regard to case. Other sections, other keys and comments
// survive a load-and-save untouched; a value is written as "Key=Value" with no spaces, the
// form the other programs expect. The file is open only inside load() and save(). To change a
// few keys, load first, so that what others wrote meanwhile is kept.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace bg {

class SettingsFile {
  public:
    explicit SettingsFile(std::string path);
    ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // Reads the whole file; returns false (and holds nothing) when it could not be read.
    bool load();
    // Takes the text of a file as if load() had read it; returns false (holding nothing) when
    // it is not a settings text.
    bool loadText(std::string_view text);
    // The value of a key, or nothing when the section or key is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    void set(std::string_view section, std::string_view key, std::string_view value);
    // Writes everything held; returns false when the file could not be written.
    bool save() const;
    const std::string& path() const { return m_path; }

  private:
    struct Ini;
    std::string m_path;
    std::unique_ptr<Ini> m_ini;
};

} // namespace bg
