#pragma once

#include <filesystem>
#include <string>

namespace trelvox::testing {

// A fresh folder for one test, removed with everything in it when the test ends.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The full path of a file inside the folder, as text (UTF-8 on Windows).
  std::string File(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

// Paths are text as the program takes them (UTF-8 on Windows).
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
// The folder holding the test data files.
std::string DataFile(const std::string& name);

}  // namespace trelvox::testing
