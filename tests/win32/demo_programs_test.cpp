// The demo platform's Windows programs, run as real processes in the test's own prefix: the
// client records each start beside itself exactly as the Linux one does (UTF-8 text, the
// arguments as the system splits its command line), and the uninstaller removes an installation
// laid out where the installer puts it, and nothing of the user's or the installer's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/known_folders.h"
#include "platform/private_profile.h"
#include "platform_registrations.h"
#include "util/app_folders.h"
#include "util/text_conversion.h"
#include "windows_command.h"
#include "windows_temp_folder.h"

namespace qv::test {
namespace {

// Makes the folders on the way and writes the file.
void PutFile(const std::string& path, const std::string& bytes) {
  ASSERT_TRUE(util::CreateDirectoryTree(util::Utf8ToWide(path.substr(0, path.rfind('\\')))))
      << path;
  ASSERT_TRUE(WriteWindowsFile(path, bytes)) << path;
}

void PutProgram(const char* built, const std::string& path) {
  PutFile(path, "");
  ASSERT_TRUE(platform::CopyFile(built, path)) << built << " -> " << path;
}

bool Exists(const std::string& path) { return platform::GetFileAttributes(path).has_value(); }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

class DemoClientTest : public WindowsTempFolderTest {};

TEST_F(DemoClientTest, RecordsEveryStartBesideItselfInUtf8) {
  const std::string client = root_.Path("Programme \xC3\xA9t\xC3\xA9\\QVorvane.exe");
  PutProgram(QV_DEMO_CLIENT_PATH, client);
  const std::u8string here = std::filesystem::current_path().u8string();
  const std::string working_folder(here.begin(), here.end());

  // How the system splits the line, and how the record escapes line breaks and backslashes.
  const std::string line = "\"" + client +
                           "\" /flag=tov3_web \"two words\" C:\\games\\tov3 "
                           "\"na\xC3\xAFve \xE6\xB8\xB8\xE6\x88\x8F\" \"first\nsecond\"";
  const std::vector<std::string> expected = {
      "program: " + client,
      "working folder: " + working_folder,
      "arguments: /flag=tov3_web two words C:\\\\games\\\\tov3 na\xC3\xAFve "
      "\xE6\xB8\xB8\xE6\x88\x8F first\\nsecond",
      "argument 1: /flag=tov3_web",
      "argument 2: two words",
      "argument 3: C:\\\\games\\\\tov3",
      "argument 4: na\xC3\xAFve \xE6\xB8\xB8\xE6\x88\x8F",
      "argument 5: first\\nsecond",
      ""};
  for (int start = 1; start <= 2; ++start) {
    const WindowsCommandResult run = RunWindowsCommand(line);
    ASSERT_EQ(run.exit_code, 0) << run.output;
  }

  const auto record = ReadWindowsFile(root_.Path("Programme \xC3\xA9t\xC3\xA9\\launch.txt"));
  ASSERT_TRUE(record.has_value());
  const std::vector<std::string> lines = Lines(*record);
  ASSERT_EQ(lines.size(), 2 * (expected.size() + 1)) << *record;
  for (size_t start = 0; start < 2; ++start) {
    const size_t first = start * (expected.size() + 1);
    EXPECT_EQ(lines[first].rfind("started: 20", 0), 0u) << lines[first];
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[first + 1 + i], expected[i]);
  }
}

class DemoUninstallerTest : public WindowsTempFolderTest {};

TEST_F(DemoUninstallerTest, RemovesThePlatformAndLeavesEverythingElse) {
  const std::string local = platform::LocalAppDataFolder() + "\\Qvorvane\\";
  const std::string platform_folder = local + "app\\";
  const std::string data_folder = root_.Path("QVorvane\\");
  const std::string desktop = platform::DesktopFolder() + "\\";
  const std::string start_menu = platform::StartMenuFolder() + "\\Programs\\QVorvane\\";
  PutProgram(QV_DEMO_UNINSTALLER_PATH, platform_folder + "uninstall.exe");
  PutProgram(QV_DEMO_CLIENT_PATH, platform_folder + "QVorvane.exe");

  const std::vector<std::string> removed_files = {
      local + "plugin\\air\\air_runtime.cfg",
      local + "gamebag\\312\\icon.png",
      data_folder + "download\\app\\list.dat",
      data_folder + "install\\plugin\\1045\\info.ini",
      desktop + "QVorvane.lnk",
      desktop + "Tides of Valoria III.lnk",
      start_menu + "QVorvane.lnk"};
  for (const std::string& file : removed_files) PutFile(file, "x");
  PutFile(local + "gamebag\\games.ini", "[General]\r\ngame_ids=312\r\n312=Tides of Valoria III\r\n");
  const std::vector<std::string> kept_files = {local + "config.ini", data_folder + "my-notes.txt",
                                               desktop + "Other program.lnk"};
  for (const std::string& file : kept_files) PutFile(file, "x");
  PutFile(local + "config.ini", "[General]\r\nclient_id=abc\r\ndl_path=" + data_folder + "\r\n");
  RegisterPlatformInstallation(platform_folder);

  // Run from the platform folder, which it removes with itself.
  const WindowsCommandResult run = RunWindowsCommand("\"" + platform_folder + "uninstall.exe\"");
  ASSERT_EQ(run.exit_code, 0) << run.output;

  EXPECT_FALSE(Exists(platform_folder)) << run.output;
  EXPECT_FALSE(Exists(local + "plugin\\air"));
  EXPECT_FALSE(Exists(local + "gamebag"));
  EXPECT_FALSE(Exists(start_menu));
  EXPECT_FALSE(Exists(data_folder + "download"));
  EXPECT_FALSE(Exists(data_folder + "install"));
  for (const std::string& file : removed_files) EXPECT_FALSE(Exists(file)) << file;
  for (const std::string& file : kept_files) EXPECT_TRUE(Exists(file)) << file;
  ExpectOnlyPlatformRegistrationsRemoved();
  EXPECT_NE(run.output.find("HKEY_CLASSES_ROOT\\QVorvane"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find(desktop + "QVorvane.lnk"), std::string::npos) << run.output;

  // A copy run from another folder finds nothing left, and keeps the folder it was run from.
  PutProgram(QV_DEMO_UNINSTALLER_PATH, root_.Path("downloads\\uninstall.exe"));
  PutFile(root_.Path("downloads\\holiday.jpg"), "x");
  const WindowsCommandResult again =
      RunWindowsCommand("\"" + root_.Path("downloads\\uninstall.exe") + "\"");
  EXPECT_EQ(again.exit_code, 0);
  EXPECT_EQ(Lines(again.output), std::vector<std::string>{"QVorvane removed: nothing was installed"});
  EXPECT_TRUE(Exists(root_.Path("downloads\\uninstall.exe")));
  EXPECT_TRUE(Exists(root_.Path("downloads\\holiday.jpg")));
  EXPECT_TRUE(Exists(local + "config.ini"));
}

}  // namespace
}  // namespace qv::test
