#include "demo_packages.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "util/md5.h"
#include "common/zip_writer.h"

namespace qv::demo {
namespace {

namespace fs = std::filesystem;
using tools::ZipEntry;

constexpr uint32_t kRegularFile = 0100000;
constexpr uint32_t kProgramMode = kRegularFile | 0755;
constexpr uint32_t kDataMode = kRegularFile | 0644;

std::string ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ZipEntry FileEntry(std::string name, std::string data, uint32_t mode) {
  ZipEntry entry = ZipEntry::File(std::move(name), std::move(data));
  entry.unix_mode = mode;
  return entry;
}

// Every file below `folder`, by relative path with '/' separators, in name order so that the
// same sources always give the same archive.
std::vector<ZipEntry> FolderEntries(const fs::path& folder) {
  std::vector<ZipEntry> entries;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    if (!item.is_regular_file()) continue;
    entries.push_back(FileEntry(fs::relative(item.path(), folder).generic_string(),
                                ReadWholeFile(item.path()), kDataMode));
  }
  std::sort(entries.begin(), entries.end(),
            [](const ZipEntry& a, const ZipEntry& b) { return a.name < b.name; });
  return entries;
}

std::string Md5HexOf(const std::string& bytes) { return util::Md5HexOfText(bytes); }

// The package's file list: root/items/item with each file's path and digest.
std::string FileListXml(const std::vector<ZipEntry>& files) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<root>\n\t<items>\n";
  for (const ZipEntry& file : files) {
    xml += "\t\t<item path=\"" + file.name + "\" md5=\"" + Md5HexOf(file.data) + "\" />\n";
  }
  return xml + "\t</items>\n</root>\n";
}

fs::path Output(const std::string& out_folder, const char* relative) {
  const fs::path path = fs::path(out_folder) / relative;
  fs::create_directories(path.parent_path());
  return path;
}

}  // namespace

void BuildDemoContent(const DemoContentSources& sources, const std::string& out_folder) {
  const fs::path source_root(sources.sources_folder);

  std::vector<ZipEntry> platform = FolderEntries(source_root / "platform");
  platform.insert(platform.begin(),
                  {FileEntry("QVorvane.exe", ReadWholeFile(sources.client_program), kProgramMode),
                   FileEntry("uninstall.exe", ReadWholeFile(sources.uninstaller), kProgramMode)});
  tools::BuildZipWithMinizip(Output(out_folder, kPlatformArchive), platform);

  // Same entries; the client's stored CRC is wrong, so an extractor that checks it refuses the
  // archive once it has written the client's bytes.
  std::vector<ZipEntry> damaged = platform;
  const std::string& client = damaged.front().data;
  damaged.front().crc_override =
      static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(client.data()),
                                  static_cast<uInt>(client.size()))) ^
      0xFFFFFFFFu;
  tools::BuildZipWithMinizip(Output(out_folder, kDamagedPlatformArchive), damaged);

  tools::BuildZipWithMinizip(Output(out_folder, kPluginPackage),
                             FolderEntries(source_root / "plugin-air"));

  std::vector<ZipEntry> game = FolderEntries(source_root / "game-1045");
  for (ZipEntry& file : game) {
    if (file.name.starts_with("bin/")) file.unix_mode = kProgramMode;
  }
  const std::string file_list = FileListXml(game);
  game.push_back(FileEntry(std::string(kGamePackageId) + ".xml", file_list, kDataMode));
  tools::BuildZipWithMinizip(Output(out_folder, kGamePackage), game);

  tools::BuildZipWithMinizip(Output(out_folder, kGameBag), FolderEntries(source_root / "gamebag"));
}

}  // namespace qv::demo
