// Shortcut files on Windows: what the shell saved, loaded back through the shell's own object.
#include "platform/shell_link.h"

#include <gtest/gtest.h>

#include "platform/win32/windows_api.h"

#include <cstdlib>
#include <string>

#include <objidl.h>
#include <shlguid.h>
#include <shobjidl.h>

#include "platform/win32/wide_text.h"
#include "windows_temp_folder.h"

namespace qv::platform {
namespace {

class ShellLinkTest : public test::WindowsTempFolderTest {};

struct LoadedLink {
  std::wstring path, arguments, icon, working_directory, description;
  int icon_index = -1;
};

std::optional<LoadedLink> Load(const std::string& file) {
  IShellLinkW* link = nullptr;
  IPersistFile* persist = nullptr;
  std::optional<LoadedLink> loaded;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
      SUCCEEDED(persist->Load(win32::Wide(file).c_str(), STGM_READ))) {
    wchar_t text[1024];
    LoadedLink result;
    if (link->GetPath(text, 1024, nullptr, SLGP_RAWPATH) == S_OK) result.path = text;
    if (link->GetArguments(text, 1024) == S_OK) result.arguments = text;
    if (link->GetIconLocation(text, 1024, &result.icon_index) == S_OK) result.icon = text;
    if (link->GetWorkingDirectory(text, 1024) == S_OK) result.working_directory = text;
    if (link->GetDescription(text, 1024) == S_OK) result.description = text;
    loaded = result;
  }
  if (persist != nullptr) persist->Release();
  if (link != nullptr) link->Release();
  return loaded;
}

// The featured game's shortcut, with every field the installer sets.
ShellLinkFields GameShortcut() {
  ShellLinkFields fields;
  fields.target = u"C:\\users\\Public\\Qvorvane\\app\\QVorvane.exe";
  fields.arguments = u"/startgame=VGlkZXM= /game_id=312 /flag=tov3_web";
  fields.icon = u"C:\\users\\Public\\Qvorvane\\gamebag\\312\\icon.ico";
  fields.working_directory = u"C:\\users\\Public\\Qvorvane\\app";
  fields.description = u"Tides of Valoria \u2162";
  return fields;
}

TEST_F(ShellLinkTest, TheShellSavesEveryFieldAndReadsItBack) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::string file = root_.Path("Tides of Valoria \u2162.lnk");
  ShellLinkFields fields = GameShortcut();
  fields.show_command = SW_SHOWMAXIMIZED;  // one of the states a shortcut keeps as such
  ASSERT_EQ(SaveShellLinkThroughSystem(file, fields), true);

  const auto bytes = test::ReadWindowsFile(file);
  ASSERT_TRUE(bytes.has_value() && bytes->size() > 0x40);
  // The show command as the file's header holds it (Wine's loader does not give it back).
  EXPECT_EQ(static_cast<unsigned char>((*bytes)[0x3C]), SW_SHOWMAXIMIZED);
  const auto loaded = Load(file);
  ASSERT_TRUE(loaded.has_value());
  EXPECT_EQ(loaded->path, L"C:\\users\\Public\\Qvorvane\\app\\QVorvane.exe");
  EXPECT_EQ(loaded->arguments, L"/startgame=VGlkZXM= /game_id=312 /flag=tov3_web");
  EXPECT_EQ(loaded->icon, L"C:\\users\\Public\\Qvorvane\\gamebag\\312\\icon.ico");
  EXPECT_EQ(loaded->icon_index, 0);
  EXPECT_EQ(loaded->working_directory, L"C:\\users\\Public\\Qvorvane\\app");
  EXPECT_EQ(loaded->description, L"Tides of Valoria \u2162");
  CoUninitialize();
}

TEST_F(ShellLinkTest, AFolderThatDoesNotExistIsAFailure) {
  ShellLinkFields fields;
  fields.target = u"C:\\windows\\notepad.exe";
  EXPECT_EQ(SaveShellLinkThroughSystem(root_.Path("missing\\notepad.lnk"), fields), false);
}

// Saves a shortcut where a Linux tool reads it back afterwards (check-lnkinfo.sh): the folder is
// a Linux path in QV_SHORTCUT_EXPORT, reached through the prefix's drive for the Linux root.
TEST(ShellLinkExport, SavesAShortcutForTheLinuxReader) {
  const char* folder = std::getenv("QV_SHORTCUT_EXPORT");
  if (folder == nullptr || folder[0] != '/') GTEST_SKIP() << "no folder to export to";
  std::string windows_folder = std::string("Z:") + folder;
  for (char& c : windows_folder) {
    if (c == '/') c = '\\';
  }
  CreateDirectoryW(win32::Wide(windows_folder).c_str(), nullptr);
  EXPECT_EQ(SaveShellLinkThroughSystem(windows_folder + "\\QVorvane.lnk", GameShortcut()), true);
}

}  // namespace
}  // namespace qv::platform
