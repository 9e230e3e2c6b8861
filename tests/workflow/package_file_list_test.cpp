#include "workflow/records/package_file_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "install_steps_machine.h"
#include "temp_root.h"
#include "util/md5.h"

namespace qv::workflow {
namespace {

namespace fs = std::filesystem;

class PackageFileListTest : public test::InstallStepsMachineTest {
 protected:
  std::string FilesFolder() const { return ChosenDataFolder() + "install/plugin/1001/app/"; }

  // Writes the package's list with one item per (path, digest) into the game files folder.
  void WriteList(const std::vector<std::pair<std::string, std::string>>& items) const {
    std::string xml = "<root><items>";
    for (const auto& [path, md5] : items) {
      xml += "<item path=\"" + path + "\" md5=\"" + md5 + "\"/>";
    }
    xml += "</items></root>";
    WriteGameFile("1001.xml", xml);
  }
  void WriteGameFile(const std::string& relative, std::string_view bytes) const {
    fs::create_directories(fs::path(FilesFolder() + relative).parent_path());
    root_.WriteFile(fs::relative(FilesFolder() + relative, root_.path()).string(), bytes);
  }
};

TEST_F(PackageFileListTest, ReadingKeepsTheFirstEntryOfAPathInByteOrder) {
  const std::string list = root_.WriteFile(
      "list.xml",
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<root><other path=\"x\" md5=\"1\"/><items>\n"
      "  <item path=\"b/Game.exe\" md5=\"22\" size=\"5\"/>\n"
      "  <item path=\"a.dll\" md5=\"11\"/>\n"
      "  <item path=\"b/Game.exe\" md5=\"33\"/>\n"
      "  <item path=\"no-digest.txt\"/>\n"
      "  <entry path=\"ignored\" md5=\"44\"/>\n"
      "</items></root>\n");
  FileList files = {{"stale", "entry"}};
  EXPECT_EQ(ReadFileList(W(list), files), 3u);
  EXPECT_EQ(files, (FileList{{"a.dll", "11"}, {"b/Game.exe", "22"}, {"no-digest.txt", ""}}));
}

TEST_F(PackageFileListTest, AMissingOrBrokenListReadsAsEmpty) {
  const std::string cases[] = {root_.Path("missing.xml"), root_.WriteFile("empty.xml", ""),
                               root_.WriteFile("broken.xml", "<root><items><item path=")};
  for (const std::string& list : cases) {
    FileList files = {{"stale", "entry"}};
    EXPECT_EQ(ReadFileList(W(list), files), 0u) << list;
    EXPECT_TRUE(files.empty()) << list;
  }
}

TEST_F(PackageFileListTest, OnlyProgramsAndLibrariesWithLowerCaseExtensionsAreChecked) {
  const std::string game = "game program";
  const std::string library = "library";
  const std::string good_game = util::Md5HexOfText(game);
  const std::string good_library = util::Md5HexOfText(library);
  const std::string wrong = util::Md5HexOfText("something else");
  std::string upper_library = good_library;
  std::transform(upper_library.begin(), upper_library.end(), upper_library.begin(), ::toupper);
  const struct {
    const char* what;
    std::vector<std::pair<std::string, std::string>> items;
    bool verified;
  } cases[] = {
      {"every digest right", {{"bin/game.exe", good_game}, {"bin\\x.dll", good_library}}, true},
      {"an upper-case extension is not checked", {{"bin/Game.EXE", wrong}}, true},
      {"a wrong library digest", {{"bin/game.exe", good_game}, {"bin\\x.dll", wrong}}, false},
      {"an upper-case digest", {{"bin\\x.dll", upper_library}}, false},
      {"a missing text file", {{"readme.txt", wrong}, {"bin/game.exe", good_game}}, true},
      {"a missing program", {{"bin/absent.exe", good_game}}, false},
      {"a dot inside a folder name", {{"bin.exe/readme", wrong}}, true},
      {"an empty list", {}, true},
  };
  WriteGameFile("bin/game.exe", game);
  WriteGameFile("bin/x.dll", library);
  SetGame("1001", "Game");
  for (const auto& c : cases) {
    WriteList(c.items);
    EXPECT_EQ(VerifyPackageFiles(context_), c.verified) << c.what;
  }
  fs::remove(FilesFolder() + "1001.xml");
  EXPECT_TRUE(VerifyPackageFiles(context_)) << "no list at all";
}

TEST_F(PackageFileListTest, AGameIdThatIsNoPlainNameIsNeverVerified) {
  SetGame("../1001", "Game");
  EXPECT_FALSE(VerifyPackageFiles(context_));
  EXPECT_FALSE(fs::exists(ChosenDataFolder() + "install"));
}

}  // namespace
}  // namespace qv::workflow
