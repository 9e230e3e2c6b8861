// Files, renames and canonical paths on Windows: what the system did, read back through the
// system. Names match without regard to case by the file system itself.
#include "platform/files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include "platform/path_rename.h"
#include "platform/path_resolution.h"
#include "platform/real_path.h"
#include "platform/win32/handles.h"
#include "platform/win32/wide_text.h"
#include "windows_temp_folder.h"

namespace qv::platform {
namespace {

using test::NamesInFolder;
using test::ReadWindowsFile;
using test::WriteWindowsFile;
using ::testing::ElementsAre;

class FilesTest : public test::WindowsTempFolderTest {};

DWORD AttributesOf(const std::string& path) {
  return GetFileAttributesW(win32::Wide(path).c_str());
}

TEST_F(FilesTest, FoldersFilesAndTheHiddenAttribute) {
  const std::string folder = root_.Path("QVorvane");
  EXPECT_TRUE(CreateFolder(folder));
  EXPECT_FALSE(CreateFolder(root_.Path("qvorvane")));  // exists, in another spelling
  ASSERT_TRUE(GetFileAttributes(root_.Path("QVORVANE")).has_value());
  EXPECT_TRUE(GetFileAttributes(folder)->is_directory);
  EXPECT_EQ(GetFileAttributes(root_.Path("missing")), std::nullopt);

  const std::string file = folder + "\\uninstall.exe";
  ASSERT_TRUE(WriteWindowsFile(file, "program"));
  EXPECT_FALSE(GetFileAttributes(file)->is_hidden);
  EXPECT_TRUE(SetHidden(file));
  EXPECT_NE(AttributesOf(file) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_TRUE(GetFileAttributes(file)->is_hidden);
  EXPECT_FALSE(SetHidden(root_.Path("missing")));

  EXPECT_FALSE(RemoveFolder(folder));  // not empty
  EXPECT_FALSE(DeleteFile(folder));    // never a folder
  EXPECT_TRUE(DeleteFile(root_.Path("qvorvane\\UNINSTALL.EXE")));
  EXPECT_FALSE(DeleteFile(file));
  EXPECT_TRUE(RemoveFolder(folder));
  EXPECT_THAT(NamesInFolder(root_.path()), ElementsAre());
}

TEST_F(FilesTest, CopyReplacesTheTargetWholeAndACopyOntoItselfKeepsTheBytes) {
  const std::string source = root_.Path("QVorvane.exe");
  const std::string target = root_.Path("copy.exe");
  ASSERT_TRUE(WriteWindowsFile(source, "new client"));
  ASSERT_TRUE(WriteWindowsFile(target, "old client, longer than the new one"));
  EXPECT_TRUE(CopyFile(source, target));
  EXPECT_EQ(ReadWindowsFile(target), "new client");
  EXPECT_TRUE(CopyFile(source, root_.Path("qvorvane.EXE")));
  EXPECT_EQ(ReadWindowsFile(source), "new client");
  EXPECT_FALSE(CopyFile(root_.Path("missing"), target));
  EXPECT_FALSE(CopyFile(root_.path(), target));  // a folder
  EXPECT_THAT(NamesInFolder(root_.path()), ElementsAre("QVorvane.exe", "copy.exe"));
}

TEST_F(FilesTest, ModificationTimeIsStoredToTheSecond) {
  const std::string file = root_.Path("icon.ico");
  ASSERT_TRUE(WriteWindowsFile(file, "icon"));
  // 2024-03-01 12:00:00 UTC
  const auto time = std::chrono::system_clock::time_point(std::chrono::seconds(1709294400));
  ASSERT_TRUE(SetModificationTime(file, time));
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExW(win32::Wide(file).c_str(), GetFileExInfoStandard, &data));
  SYSTEMTIME utc{};
  FileTimeToSystemTime(&data.ftLastWriteTime, &utc);
  EXPECT_EQ(utc.wYear, 2024);
  EXPECT_EQ(utc.wMonth, 3);
  EXPECT_EQ(utc.wDay, 1);
  EXPECT_EQ(utc.wHour, 12);
  EXPECT_EQ(utc.wMinute, 0);
  EXPECT_FALSE(SetModificationTime(root_.Path("missing"), time));
}

TEST_F(FilesTest, RenameNeverReplacesAndRealPathIsTheSpellingOnDisk) {
  ASSERT_TRUE(CreateFolder(root_.Path("Qvorvane")));
  ASSERT_TRUE(WriteWindowsFile(root_.Path("Qvorvane\\app.new"), "new"));
  ASSERT_TRUE(WriteWindowsFile(root_.Path("Qvorvane\\app"), "old"));
  EXPECT_FALSE(RenamePath(root_.Path("Qvorvane\\app.new"), root_.Path("Qvorvane\\app")));
  EXPECT_EQ(ReadWindowsFile(root_.Path("Qvorvane\\app")), "old");
  EXPECT_TRUE(RenamePath(root_.Path("Qvorvane\\app.new"), root_.Path("Qvorvane\\app.next")));
  EXPECT_TRUE(RenamePath(root_.Path("Qvorvane"), root_.Path("Moved")));
  EXPECT_EQ(ReadWindowsFile(root_.Path("Moved\\app.next")), "new");

  const auto real = RealPath(root_.Path("MOVED\\.\\..\\moved\\APP.NEXT"));
  ASSERT_TRUE(real.has_value());
  EXPECT_TRUE(real->ends_with("\\Moved\\app.next")) << *real;
  EXPECT_EQ(real->find("\\\\?\\"), std::string::npos) << *real;
  EXPECT_EQ(RealPath(root_.Path("missing")), std::nullopt);
  EXPECT_FALSE(IsSymbolicLink(root_.Path("Moved\\")));
  EXPECT_FALSE(IsSymbolicLink(root_.Path("Moved\\app.next")));
}

TEST(NameMatchTest, NamesMatchWithoutRegardToCaseAsTheFileSystemMatchesThem) {
  EXPECT_TRUE(NamesMatchIgnoringCase("QVorvane.exe", "qvorvane.EXE"));
  EXPECT_TRUE(NamesMatchIgnoringCase("\xC3\x9C" "bung", "\xC3\xBC" "BUNG"));  // Übung, üBUNG
  EXPECT_FALSE(NamesMatchIgnoringCase("app", "app2"));
  EXPECT_EQ(ResolvePathForCreation("C:\\Users\\x\\QVORVANE"), "C:\\Users\\x\\QVORVANE");
}

}  // namespace
}  // namespace qv::platform
