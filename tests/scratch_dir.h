#pragma once
// A folder of a test's own under the system's temporary folder, removed with everything in it
// when the test ends, however it ends. Its name is unique (mkdtemp), so test programs running
// at once, or one left over from a crash, never share a file.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace bg {

class ScratchDir {
  public:
    explicit ScratchDir(const std::string& prefix = "bg-test-") {
        std::string name = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
        if (mkdtemp(name.data())) m_path = name;
    }
    ~ScratchDir() {
        std::error_code ignored;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // Empty when no folder could be made.
    const std::filesystem::path& path() const { return m_path; }
    std::string filePath(const std::string& name) const { return (m_path / name).string(); }

  private:
    std::filesystem::path m_path;
};

} // namespace bg
