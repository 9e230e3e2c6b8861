#include "util/file_paths.h"

#include <gtest/gtest.h>

#include "system_files.h"
#include "system_path.h"
#include "util/text_conversion.h"

namespace qv::util {
namespace {

using test::OnThisSystem;

TEST(FilePathsTest, SeparatorsParentFileNameAndExtension) {
  struct Case {
    std::u16string path;
    std::u16string normalized;
    std::u16string parent;
    std::u16string file_name;
    std::u16string extension;
  };
  const Case cases[] = {
      {u"a//b///c", u"a/b/c", u"a/b", u"c", u""},
      {u"a\\b\\\\c/d", u"a/b/c/d", u"a/b/c", u"d", u""},
      {u"\\\\server\\share\\x.ini", u"/server/share/x.ini", u"/server/share", u"x.ini", u"ini"},
      {u"/home/u/Qvorvane/app/QVorvane.exe", u"/home/u/Qvorvane/app/QVorvane.exe",
       u"/home/u/Qvorvane/app", u"QVorvane.exe", u"exe"},
      {u"setup.exe", u"setup.exe", u"", u"setup.exe", u"exe"},
      {u"archive.tar.gz", u"archive.tar.gz", u"", u"archive.tar.gz", u"gz"},
      {u".profile", u".profile", u"", u".profile", u""},
      {u"dir.d/file", u"dir.d/file", u"dir.d", u"file", u""},
      {u"dir.d\\file", u"dir.d/file", u"dir.d", u"file", u""},
      {u"file.", u"file.", u"", u"file.", u""},
      {u"folder/", u"folder/", u"folder", u"", u""},
      {u"/a", u"/a", u"", u"a", u""},
      {u"Spiele/\u6e38\u620f \u00c4.EXE", u"Spiele/\u6e38\u620f \u00c4.EXE", u"Spiele",
       u"\u6e38\u620f \u00c4.EXE", u"EXE"},
      {u"", u"", u"", u"", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.path));
    std::u16string normalized = c.path;
    NormalizeSeparators(normalized);
    EXPECT_EQ(normalized, OnThisSystem(c.normalized));
    EXPECT_EQ(GetParentFolder(c.path), OnThisSystem(c.parent));
    EXPECT_EQ(GetFileNameOfPath(c.path), OnThisSystem(c.file_name));
    EXPECT_EQ(GetExtension(c.path), c.extension);
  }
}

TEST(FilePathsTest, JoinPathNeverDoublesASeparator) {
  EXPECT_EQ(JoinPath(OnThisSystem(u"/data/"), u"x"), OnThisSystem(u"/data/x"));
  EXPECT_EQ(JoinPath(OnThisSystem(u"/data"), u"x"), OnThisSystem(u"/data/x"));
  EXPECT_EQ(JoinPath(u"", u"x"), OnThisSystem(u"/x"));
  EXPECT_EQ(AsFolderPath(u"C:"), OnThisSystem(u"C:/"));
  // A final '/' is a separator on both systems; a final '\' on Windows only (on Linux it is
  // turned into one only when the path is normalised).
  EXPECT_EQ(AsFolderPath(u"/data/"), u"/data/");
  EXPECT_EQ(AsFolderPath(u"data\\"), test::OnWindows() ? u"data\\" : u"data\\/");
  EXPECT_EQ(ToPlatformPath(u"C\\\u00e9t\u00e9//x"), OnThisSystem("C/\xc3\xa9t\xc3\xa9/x"));
}

// The program's fixed sub-paths are written with '/' and take the system's separator.
TEST(FilePathsTest, FixedSubPathsTakeTheSystemsSeparator) {
  EXPECT_EQ(SystemPath(u"Qvorvane/app/"), OnThisSystem(u"Qvorvane/app/"));
  EXPECT_EQ(SystemPath(u"/Programs/QVorvane/"), OnThisSystem(u"/Programs/QVorvane/"));
  EXPECT_EQ(SystemPath(u"QVorvane.exe"), u"QVorvane.exe");
}

}  // namespace
}  // namespace qv::util
