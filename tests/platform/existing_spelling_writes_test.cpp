// Every way the installer makes a file or folder lands in the tree that exists already, whatever
// its letter case at each level: one tree, never a second one beside it in the spelling given.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "platform/atomic_file.h"
#include "platform/files.h"
#include "platform/posix/folder_creation.h"
#include "platform/path_rename.h"
#include "platform/private_profile.h"
#include "temp_root.h"

namespace qv::platform {
namespace {

namespace fs = std::filesystem;

// The files and folders below `folder`, relative to it.
std::set<std::string> Tree(const std::string& folder) {
  std::set<std::string> tree;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    tree.insert(fs::relative(entry.path(), folder).string());
  }
  return tree;
}

class ExistingSpellingWritesTest : public test::TempRootTest {};

TEST_F(ExistingSpellingWritesTest, EveryWriterFillsTheTreeThatExists) {
  const std::string data = root_.Path("data/");
  const struct {
    const char* name;
    std::function<bool()> write;
    const char* made;  // below QVORVANE/
  } cases[] = {
      {"folder", [&] { return EnsureFolder(data + "Qvorvane/app/plugins", 0700); }, "APP/plugins"},
      {"folder, one level", [&] { return CreateFolder(data + "Qvorvane/app/Lib"); }, "APP/Lib"},
      {"copy",
       [&] { return CopyFile(data + "qvorvane/app/old.txt", data + "Qvorvane/App/copy.txt"); },
       "APP/copy.txt"},
      {"ini write",
       [&] { return WritePrivateProfileString("General", "dl_path", "x", data + "Qvorvane/config.ini"); },
       "config.ini"},
      {"atomic record",
       [&] { return !WriteFileAtomically(data + "qvorvane/app/qvorvane.ini", "[General]\n"); },
       "APP/qvorvane.ini"},
      {"rename",
       [&] {
         return RenamePath(data + "qvorvane/App/old.txt", data + "Qvorvane/app/new.txt");
       },
       "APP/new.txt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(data);
    fs::create_directories(data + "QVORVANE/APP");
    fs::create_directories(data + "QVORVANE/gamebag");
    root_.WriteFile("data/QVORVANE/APP/old.txt", "old");

    EXPECT_TRUE(c.write());

    EXPECT_TRUE(fs::exists(data + "QVORVANE/" + c.made)) << c.made;
    // Nothing beside the tree that was there.
    for (const std::string& entry : Tree(data)) {
      EXPECT_EQ(entry.rfind("QVORVANE", 0), 0u) << entry;
    }
  }
}

}  // namespace
}  // namespace qv::platform
