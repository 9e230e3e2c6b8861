#include "workflow/registration/desktop_entry_text.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <future>

#include "program_probe.h"
#include "run_command.h"
#include "temp_root.h"

namespace qv::workflow {
namespace {

struct QuoteCase {
  const char* argument;
  const char* exec_argument;  // QuoteExecArgument
  const char* exec_value;     // the same argument as an Exec value in the file
};

TEST(DesktopEntryTextTest, ExecArgumentsAreQuotedAndEscapedByTheFormatsRules) {
  const QuoteCase cases[] = {
      {"/home/ann/app/QVorvane.exe", "/home/ann/app/QVorvane.exe", "/home/ann/app/QVorvane.exe"},
      {"/home/my games/QVorvane.exe", "\"/home/my games/QVorvane.exe\"",
       "\"/home/my games/QVorvane.exe\""},
      {"/a/say \"hi\"/x", "\"/a/say \\\"hi\\\"/x\"", "\"/a/say \\\\\"hi\\\\\"/x\""},
      {"/a/100%/x", "/a/100%%/x", "/a/100%%/x"},
      {"/a/$HOME/x", "\"/a/\\$HOME/x\"", "\"/a/\\\\$HOME/x\""},
      {"/a/b\\c", "\"/a/b\\\\c\"", "\"/a/b\\\\\\\\c\""},
      {"/a/`cmd`", "\"/a/\\`cmd\\`\"", "\"/a/\\\\`cmd\\\\`\""},
      {"/home/Jürgen/游戏/QVorvane.exe", "/home/Jürgen/游戏/QVorvane.exe",
       "/home/Jürgen/游戏/QVorvane.exe"},
      {"/a/it's & (more)", "\"/a/it's & (more)\"", "\"/a/it's & (more)\""},
      {"", "\"\"", "\"\""},
  };
  for (const QuoteCase& c : cases) {
    SCOPED_TRACE(c.argument);
    EXPECT_EQ(QuoteExecArgument(c.argument), c.exec_argument);
    EXPECT_EQ(ExecValue({c.argument}), c.exec_value);
  }
}

TEST(DesktopEntryTextTest, ValuesEscapeBackslashesLineBreaksAndALeadingBlank) {
  EXPECT_EQ(EscapeDesktopValue("a\\b"), "a\\\\b");
  EXPECT_EQ(EscapeDesktopValue("two\nlines\tand\rmore"), "two\\nlines\\tand\\rmore");
  EXPECT_EQ(EscapeDesktopValue(" lead and inner "), "\\slead and inner ");
  EXPECT_EQ(EscapeDesktopValue(std::string("bell\a") + "\x7f"), "bell  ");
}

TEST(DesktopEntryTextTest, AnEntryWithAnActionIsLaidOutInGroups) {
  DesktopEntry entry;
  entry.name = "QVorvane";
  entry.localized_names = {{"de", "QVorvane DE"}};
  entry.comment = "Find games";
  entry.command = {"/opt/my app/QVorvane.exe", "/auto_start=1"};
  entry.field_code = "%u";
  entry.working_folder = "/opt/my app";
  entry.icon = "com.qvorvane.Client";
  entry.categories = {"Game"};
  entry.mime_types = {"x-scheme-handler/qvorvane"};
  entry.startup_notify = true;
  entry.no_display = true;
  entry.extension_keys = {{"X-Mark", "yes"}};
  entry.actions = {{"Uninstall", "Uninstall", {"/opt/my app/uninstall.exe"}}};
  EXPECT_EQ(DesktopEntryText(entry),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Version=1.4\n"
            "Name=QVorvane\n"
            "Name[de]=QVorvane DE\n"
            "Comment=Find games\n"
            "Exec=\"/opt/my app/QVorvane.exe\" /auto_start=1 %u\n"
            "Path=/opt/my app\n"
            "Icon=com.qvorvane.Client\n"
            "Categories=Game;\n"
            "MimeType=x-scheme-handler/qvorvane;\n"
            "StartupNotify=true\n"
            "NoDisplay=true\n"
            "X-Mark=yes\n"
            "Actions=Uninstall;\n"
            "\n"
            "[Desktop Action Uninstall]\n"
            "Name=Uninstall\n"
            "Exec=\"/opt/my app/uninstall.exe\"\n");
}

// The desktop's own launcher (GLib's, through gio) parses each Exec line back into the program
// and the arguments given, for paths that need every kind of quoting, and the validator accepts
// every file.
class DesktopEntryLaunchTest : public test::TempRootTest {};

TEST_F(DesktopEntryLaunchTest, TheDesktopStartsTheProgramWithTheArgumentsGiven) {
  const std::string names[] = {"plain", "with blank", "say \"hi\"", "100%", "$HOME`x`",
                               "back\\slash", "Jürgen 游戏", "it's & (more);"};
  int index = 0;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    // GLib looks for the program under its Exec spelling before it unescapes "%%", so a '%'
    // goes into the arguments only (the Exec text itself is checked in the table above).
    std::string folder_name = name;
    std::erase(folder_name, '%');
    const std::string folder = root_.Path("apps/" + std::to_string(index++) + " " + folder_name);
    std::filesystem::create_directories(folder);
    const std::string program = folder + "/QVorvane.exe";
    test::CopyProgramProbe(program);

    DesktopEntry entry;
    entry.name = name;
    entry.command = {program, "/auto_start=1", name};
    entry.field_code = "%u";
    entry.working_folder = folder;
    const std::string file = folder + "/entry.desktop";
    root_.WriteFile(file.substr(root_.path().size() + 1), DesktopEntryText(entry));

    const test::CommandResult validation = test::RunCommand({"desktop-file-validate", file});
    EXPECT_EQ(validation.exit_code, 0) << validation.output;

    test::ProbeReport report(root_.Path("report-" + std::to_string(index)));
    // The started program keeps gio's output open until it has reported: read meanwhile.
    std::future<std::string> reading = std::async(std::launch::async, [&] { return report.Read(); });
    const test::CommandResult launch =
        test::RunCommand({"gio", "launch", file, "qvorvane://game/312"});
    const std::string text = reading.get();
    ASSERT_EQ(launch.exit_code, 0) << launch.output;
    EXPECT_NE(text.find("cwd=" + folder + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("arg=/auto_start=1\narg=" + name + "\narg=qvorvane://game/312\n"),
              std::string::npos)
        << text;
  }
}

}  // namespace
}  // namespace qv::workflow
