#pragma once
// A fresh folder under the system's temporary folder, removed afterwards.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace testsupport {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-XXXXXX").string();
    m_path = mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  // The folder with a trailing '/', as the user folder is given.
  std::string withSlash() const { return m_path.string() + "/"; }

  // Writes content (bytes as they stand) to name inside the folder.
  std::filesystem::path write(const std::string& name, const std::string& content = "") const {
    std::filesystem::path file = m_path / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << content;
    return file;
  }

 private:
  std::filesystem::path m_path;
};

}  // namespace testsupport
