// Names with characters of several scripts, blanks, and paths longer than the original platform's
// 260-unit limit go through every file, folder and process operation unchanged. (On Windows the
// shell starts no program by a path that long, nor in a folder that long: the programs there sit
// in the first folder and start in it.)
#include <gtest/gtest.h>

#include "program_probe.h"
#include "system_files.h"
#include "temp_root.h"
#include "util/app_folders.h"
#include "util/file_paths.h"
#include "util/file_system.h"
#include "util/folder_cleanup.h"
#include "util/folder_listing.h"
#include "util/programs.h"
#include "util/text_conversion.h"

namespace qv::util {
namespace {

class PathRoundTripTest : public test::TempRootTest {};

TEST_F(PathRoundTripTest, EveryOperationKeepsTheNames) {
  const std::u16string sep = test::OnThisSystem(u"/");
  const std::u16string base = Utf8ToWide(root_.path()) + sep + u"Spiele und \u6e38\u620f \u00c4\u00df";
  const std::u16string long_name(120, u'\u00e9');  // 240 bytes: near the file-name limit
  const std::u16string first = base + sep + long_name + u" 1";
  const std::u16string second = first + sep + long_name + u" 2";
  const std::u16string folder = second + sep + u"sub folder";
  ASSERT_GT(folder.size(), 260u);

  CreateFolderPath(folder);
  ASSERT_TRUE(IsDirectory(folder + sep));
  const std::u16string file_name = u"\u30d5\u30a1\u30a4\u30eb name.\u00e9xt";
  const std::u16string file = folder + sep + file_name;
  const std::string source = root_.WriteFile("source.bin", "payload");
  EXPECT_TRUE(CopyFileContents(Utf8ToWide(source), file));
  EXPECT_TRUE(IsFile(file));
  EXPECT_EQ(GetFileNameOfPath(file), file_name);
  EXPECT_EQ(GetParentFolder(file), folder);
  EXPECT_EQ(GetExtension(file), u"\u00e9xt");

  std::vector<std::u16string> list;
  EXPECT_TRUE(ListFiles(folder, u"*.*", list));
  EXPECT_EQ(list, std::vector<std::u16string>{file});
  list.clear();
  EXPECT_TRUE(ListSubfolders(base, u"*", list));
  EXPECT_EQ(list, (std::vector<std::u16string>{first, second, folder}));
  EXPECT_TRUE(ListFilesRecursive(base, list, u"*", u"*.*"));
  EXPECT_EQ(list, std::vector<std::u16string>{file});

  const std::u16string program_name = u"\u6e38\u620f client.exe";  // longer than comm's 15 bytes
  const std::u16string programs = test::OnWindows() ? base : second;
  const std::u16string working_folder = test::OnWindows() ? base : folder;
  const std::u16string program = programs + sep + program_name;
  test::CopyProgramProbe(WideToUtf8(program));
  {
    test::ProbeReport report(root_.Path("report"));
    ASSERT_TRUE(RunProgram(program, u"\"\u00e9 t\u00e9\" x", working_folder));
    const std::string text = report.Read();
    EXPECT_TRUE(test::ReportsWorkingFolder(text, WideToUtf8(working_folder))) << text;
  }
  {
    // Another name: the program started above may not have ended yet.
    const std::u16string helper_name = u"\u00c4rger helper \u6e38\u620f.exe";
    test::CopyProgramProbe(WideToUtf8(programs + sep + helper_name));
    test::WaitingProcess running(WideToUtf8(programs + sep + helper_name));
    EXPECT_EQ(FindProcess(helper_name), running.pid());
  }

  DeleteFilesRecursive(base);
  EXPECT_FALSE(IsFile(file));
  EXPECT_FALSE(IsFile(program));
  RemoveSubfolders(base);
  EXPECT_FALSE(IsDirectory(first));
  EXPECT_TRUE(IsDirectory(base));
  EXPECT_TRUE(CreateDirectoryTree(folder));
  EXPECT_TRUE(IsDirectory(folder));
}

}  // namespace
}  // namespace qv::util
