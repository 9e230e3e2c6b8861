// The file list a game package carries ("<game id>.xml"), read and used to check the package's
// programs.
//
// Beyond "no crash": the entries read are exactly the first (path, md5) of each path among the
// list's items, whatever was in the map before; the check of the programs against the list ends
// with an answer for any list (paths that climb out of the game's folder or name folders
// included).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz_check.h"
#include "fuzz_install_machine.h"
#include "util/file_paths.h"
#include "util/text_conversion.h"
#include "workflow/folders/install_folders.h"
#include "workflow/records/package_file_list.h"
#include "workflow/records/xml_record.h"

namespace {

namespace fs = std::filesystem;

// The list's entries read straight from the document.
qv::workflow::FileList ItemsOf(const std::string& bytes) {
  qv::workflow::FileList files;
  pugi::xml_document document;
  if (!qv::workflow::LoadXmlRecord(bytes, document)) return files;
  for (const pugi::xml_node item : document.child("root").child("items").children("item")) {
    files.emplace(item.attribute("path").value(), item.attribute("md5").value());
  }
  return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::fuzz::FuzzInstallMachine& machine = qv::fuzz::Machine();
  static const std::string files_folder = [&] {
    const std::u16string folder = qv::workflow::GetGameFilesFolder(machine.context);
    QV_FUZZ_CHECK(!folder.empty());
    const std::string path = qv::util::ToPlatformPath(folder);
    const std::string relative = fs::relative(path, machine.root.path()).string();
    // A small game: a program, a library and a folder whose name looks like a program.
    machine.root.WriteFile(relative + "/bin/game.exe", "game");
    machine.root.WriteFile(relative + "/bin/lib.dll", "library");
    fs::create_directories(path + "/data.exe");
    return path;
  }();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string list = files_folder + "1001.xml";
  machine.root.WriteFile(fs::relative(list, machine.root.path()).string(), bytes);

  qv::workflow::FileList files = {{"stale", "entry"}};
  const size_t count = qv::workflow::ReadFileList(qv::util::Utf8ToWide(list), files);
  QV_FUZZ_CHECK(count == files.size());
  QV_FUZZ_CHECK(files == ItemsOf(bytes));

  qv::workflow::VerifyPackageFiles(machine.context);
  return 0;
}
