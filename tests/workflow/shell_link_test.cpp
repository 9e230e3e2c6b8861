#include "workflow/shortcuts/shell_link.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "lnk_reader.h"
#include "platform/executable_path.h"
#include "temp_root.h"
#include "util/text_conversion.h"

namespace qv::workflow {
namespace {

namespace fs = std::filesystem;

using test::LnkInfo;
using test::LnkInfoField;
using test::ShowCommandOf;

class ShellLinkTest : public test::TempRootTest {
 protected:
  ShellLinkTest() { fs::create_directories(root_.Path("links")); }
  std::u16string Folder() { return util::Utf8ToWide(root_.Path("links/")); }
  size_t FilesInFolder() {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(root_.Path("links")), fs::directory_iterator()));
  }
};

TEST_F(ShellLinkTest, LnkinfoReadsEveryPropertyWeSet) {
  ShellLinkDescription link;
  link.link_name = u"Spiel Ölberg.lnk";
  link.folder = Folder();
  link.target = u"/opt/Qvorvane 雷/QVorvane.exe";
  link.arguments = u"/startgame=1 \"quoted\"";
  link.icon = u"/opt/Qvorvane app/gamebag/1001/icon.ico";
  link.working_directory = u"/opt/Qvorvane app";
  link.description = u"QVorvane 雷";
  link.show_command = kShow;
  ASSERT_TRUE(CreateShellLink(link));

  const std::string path = root_.Path("links/Spiel Ölberg.lnk");
  const std::string report = LnkInfo(path);
  EXPECT_EQ(LnkInfoField(report, "Local path"), "/opt/Qvorvane 雷/QVorvane.exe");
  EXPECT_EQ(LnkInfoField(report, "Drive type"), "Fixed (3)");
  EXPECT_EQ(LnkInfoField(report, "Description"), "QVorvane 雷");
  EXPECT_EQ(LnkInfoField(report, "Working directory"), "/opt/Qvorvane app");
  EXPECT_EQ(LnkInfoField(report, "Command line arguments"), "/startgame=1 \"quoted\"");
  EXPECT_EQ(LnkInfoField(report, "Icon location"), "/opt/Qvorvane app/gamebag/1001/icon.ico");
  EXPECT_EQ(LnkInfoField(report, "Icon index"), "0");
  EXPECT_EQ(ShowCommandOf(path), 5u);
}

TEST_F(ShellLinkTest, UnsetAndEmptyTextsLeaveNoStringInTheFile) {
  ShellLinkDescription link;
  link.link_name = u"plain.lnk";
  link.folder = Folder();
  link.target = u"/opt/app/QVorvane.exe";
  link.arguments = u"";  // empty: set, but nothing to keep
  link.icon = u"";
  ASSERT_TRUE(CreateShellLink(link));

  const std::string path = root_.Path("links/plain.lnk");
  const std::string report = LnkInfo(path);
  EXPECT_EQ(LnkInfoField(report, "Local path"), "/opt/app/QVorvane.exe");
  for (const char* field :
       {"Description", "Working directory", "Command line arguments", "Icon location"}) {
    EXPECT_EQ(LnkInfoField(report, field), std::nullopt) << field;
  }
  EXPECT_EQ(ShowCommandOf(path), 1u);
}

TEST_F(ShellLinkTest, WithoutLinkNameTheTargetsNameEndsInLnk) {
  ShellLinkDescription link;
  link.folder = Folder();
  link.target = u"/opt/app/QVorvane.exe";
  ASSERT_TRUE(CreateShellLink(link));
  EXPECT_TRUE(fs::is_regular_file(root_.Path("links/QVorvane.lnk")));

  // No target: the running program itself, its last three characters turned into "lnk".
  ShellLinkDescription own;
  own.folder = Folder();
  ASSERT_TRUE(CreateShellLink(own));
  std::string name = fs::path(platform::ExecutablePath()).filename().string();
  name.replace(name.size() - 3, 3, "lnk");
  const std::string path = root_.Path("links/" + name);
  EXPECT_EQ(LnkInfoField(LnkInfo(path), "Local path"), platform::ExecutablePath());
}

TEST_F(ShellLinkTest, RefusedDescriptionsWriteNothing) {
  struct Case {
    const char* what;
    std::optional<std::u16string> folder;
    std::optional<std::u16string> link_name;
    std::u16string target;
  };
  const std::u16string folder = Folder();
  const std::u16string target = u"/opt/app/QVorvane.exe";
  const Case cases[] = {
      {"no folder", std::nullopt, u"a.lnk", target},
      {"empty folder", u"", u"a.lnk", target},
      {"target without folder part", folder, std::nullopt, u"QVorvane.exe"},
      {"target name too short", folder, std::nullopt, u"/opt/ab"},
      {"colon", folder, u"Tales: Rise.lnk", target},
      {"asterisk", folder, u"a*.lnk", target},
      {"question mark", folder, u"a?.lnk", target},
      {"quote", folder, u"\"a\".lnk", target},
      {"angle brackets", folder, u"<a>.lnk", target},
      {"bar", folder, u"a|b.lnk", target},
      {"slash", folder, u"../escape.lnk", target},
      {"backslash", folder, u"..\\escape.lnk", target},
      {"line break", folder, u"a\nb.lnk", target},
  };
  for (const Case& c : cases) {
    ShellLinkDescription link;
    link.folder = c.folder;
    link.link_name = c.link_name;
    link.target = c.target;
    EXPECT_FALSE(CreateShellLink(link)) << c.what;
  }
  EXPECT_EQ(FilesInFolder(), 0u);
  EXPECT_FALSE(fs::exists(root_.Path("escape.lnk")));
}

TEST_F(ShellLinkTest, TextTooLongForTheFormatIsRefused) {
  ShellLinkDescription link;
  link.link_name = u"long.lnk";
  link.folder = Folder();
  link.target = u"/opt/app/QVorvane.exe";
  link.arguments = std::u16string(65536, u'x');
  EXPECT_FALSE(CreateShellLink(link));
  link.arguments = std::u16string(65535, u'x');
  EXPECT_TRUE(CreateShellLink(link));
  EXPECT_EQ(LnkInfoField(LnkInfo(root_.Path("links/long.lnk")), "Command line arguments"),
            std::string(65535, 'x'));
}

}  // namespace
}  // namespace qv::workflow
