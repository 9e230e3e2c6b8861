// A fresh folder per test under the Windows temporary folder (inside the test's own Wine
// prefix), removed with everything in it when the test ends, with the helpers the Win32 tests
// read back through: whole files and folder listings, by UTF-8 paths with '\' separators.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::test {

class WindowsTempFolder {
 public:
  WindowsTempFolder();
  ~WindowsTempFolder();
  WindowsTempFolder(const WindowsTempFolder&) = delete;
  WindowsTempFolder& operator=(const WindowsTempFolder&) = delete;

  // The folder, without a trailing separator.
  const std::string& path() const { return path_; }
  // folder + "\" + relative
  std::string Path(std::string_view relative) const;

 private:
  std::string path_;
};

class WindowsTempFolderTest : public ::testing::Test {
 protected:
  WindowsTempFolder root_;
};

// The file's bytes, read through the system; nullopt when it cannot be opened.
std::optional<std::string> ReadWindowsFile(const std::string& path);
// Writes the bytes through the system, replacing the file; false on failure.
bool WriteWindowsFile(const std::string& path, std::string_view bytes);
// The names in a folder, sorted, without "." and "..".
std::vector<std::string> NamesInFolder(const std::string& folder);

}  // namespace qv::test
