#include "workflow/records/package_file_list.h"

#include "platform/atomic_file.h"
#include "util/file_paths.h"
#include "util/md5.h"
#include "util/platform_client.h"
#include "util/text_conversion.h"
#include "workflow/folders/install_folders.h"
#include "workflow/packages/record_text.h"
#include "workflow/records/xml_record.h"

namespace qv::workflow {
namespace {

// Only programs and libraries are checked; the test is on the extension as written.
bool IsCheckedExtension(std::u16string_view extension) {
  return extension.find(u"exe") != std::u16string_view::npos ||
         extension.find(u"dll") != std::u16string_view::npos;
}

}  // namespace

size_t ReadFileList(std::u16string_view path, FileList& files) {
  files.clear();
  std::string bytes;
  pugi::xml_document document;
  if (platform::ReadWholeFile(util::ToPlatformPath(path), bytes) ||
      !LoadXmlRecord(bytes, document)) {
    return 0;
  }
  for (const pugi::xml_node item : document.child("root").child("items").children("item")) {
    files.emplace(item.attribute("path").value(), item.attribute("md5").value());
  }
  return files.size();
}

bool VerifyPackageFiles(const InstallContext& context) {
  const std::u16string game_id = WideRecordText(context.record.game.game_id);
  const std::u16string files_folder = GetGameFilesFolder(context);
  if (files_folder.empty()) return false;
  FileList files;
  ReadFileList(files_folder + game_id + std::u16string(util::kGameFileListExtension), files);
  for (const auto& [relative_path, digest] : files) {
    const std::u16string path = files_folder + util::Utf8ToWide(relative_path);
    if (!IsCheckedExtension(util::GetExtension(path))) continue;
    if (!util::Md5Matches(digest, path)) return false;
  }
  return true;
}

}  // namespace qv::workflow
