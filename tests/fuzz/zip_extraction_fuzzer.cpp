// Zip extraction of an archive made of the fuzzer's bytes, into a scratch folder.
//
// Beyond "no crash": nothing appears outside the destination (the whole temporary root and the
// folder holding it are compared before and after); nothing inside it is a symbolic link or
// anything but a plain file or folder; and when the extraction reports success, every file
// entry's target holds exactly the entry's data (as minizip reads it on its own) and no other
// file was made. The destination lies 90 folders deep: climbing past the temporary root from
// there takes 93 "../" (279 bytes), more than an entry name may hold (kMaxEntryNameLength), so
// no name the limit lets through could leave the root unnoticed.
#include <minizip/unzip.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "temp_root_folder.h"
#include "util/unzipper.h"
#include "util/zip_entry_name.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDestinationDepth = 90;
constexpr uint64_t kLargestComparedEntry = 4 * 1024 * 1024;

// Every path below `folder`, links not followed.
std::set<std::string> PathsBelow(const fs::path& folder) {
  std::set<std::string> paths;
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    paths.insert(it->path().string());
  }
  QV_FUZZ_CHECK(!error);
  return paths;
}

// The names directly in `folder`.
std::set<std::string> NamesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

bool IsInside(const std::string& path, const std::string& folder) {
  return path == folder || path.rfind(folder + "/", 0) == 0;
}

// The destination itself, what lies in it, and the folders on the way to it.
bool MayBeMade(const std::string& path, const std::string& destination) {
  return IsInside(path, destination) || destination.rfind(path + "/", 0) == 0;
}

// The entry data minizip reads for the current entry; nullopt when it cannot be read or is too
// large to compare.
std::optional<std::string> EntryData(unzFile archive, uint64_t size) {
  if (size > kLargestComparedEntry || unzOpenCurrentFile(archive) != UNZ_OK) return std::nullopt;
  std::string data(size, '\0');
  const int read = size == 0 ? 0 : unzReadCurrentFile(archive, data.data(),
                                                      static_cast<unsigned>(size));
  const bool closed = unzCloseCurrentFile(archive) == UNZ_OK;
  if (read < 0 || static_cast<uint64_t>(read) != size || !closed) return std::nullopt;
  return data;
}

// What each file entry's target should hold after a successful extraction (the last entry of a
// target wins); nullopt marks a target whose data is not compared.
std::map<std::string, std::optional<std::string>> ExpectedFiles(const std::string& archive_path,
                                                                  const std::string& destination) {
  std::map<std::string, std::optional<std::string>> files;
  unzFile archive = unzOpen64(archive_path.c_str());
  QV_FUZZ_CHECK(archive != nullptr);  // the extraction opened it
  for (int status = unzGoToFirstFile(archive); status == UNZ_OK;
       status = unzGoToNextFile(archive)) {
    unz_file_info64 info{};
    char name[qv::util::kMaxEntryNameLength + 1] = {};
    QV_FUZZ_CHECK(unzGetCurrentFileInfo64(archive, &info, name, sizeof(name), nullptr, 0,
                                          nullptr, 0) == UNZ_OK);
    if ((info.external_fa & qv::util::kFolderAttribute) != 0) continue;
    const std::optional<std::string> relative = qv::util::SafeEntryPath(name);
    QV_FUZZ_CHECK(relative.has_value());  // an unsafe name fails the extraction
    files[qv::util::JoinEntryTarget(destination, *relative)] =
        EntryData(archive, info.uncompressed_size);
  }
  unzClose(archive);
  return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const qv::test::TempRoot root;
  const fs::path outer = fs::path(root.path()).parent_path();
  static const std::set<std::string> outer_before = NamesIn(outer);

  const std::string scratch = root.Path("case");
  fs::remove_all(scratch);
  std::string destination = scratch;
  for (int i = 0; i < kDestinationDepth; ++i) destination += "/d";
  destination += "/out";
  const std::string archive = root.WriteFile(
      "case/archive.zip", std::string_view(reinterpret_cast<const char*>(data), size));
  const std::set<std::string> before = PathsBelow(root.path());

  const bool extracted = qv::util::ExtractArchive(archive, destination);

  std::set<std::string> made_files;
  for (const std::string& path : PathsBelow(root.path())) {
    if (before.count(path)) continue;
    QV_FUZZ_CHECK(MayBeMade(path, destination));
    const fs::file_status status = fs::symlink_status(path);
    QV_FUZZ_CHECK(fs::is_directory(status) || fs::is_regular_file(status));
    if (fs::is_regular_file(status)) made_files.insert(path);
  }
  QV_FUZZ_CHECK(NamesIn(outer) == outer_before);

  if (extracted) {
    const auto expected = ExpectedFiles(archive, destination);
    for (const std::string& path : made_files) QV_FUZZ_CHECK(expected.count(path) == 1);
    for (const auto& [path, bytes] : expected) {
      const std::optional<std::string> written = qv::test::ReadFileBytes(path);
      QV_FUZZ_CHECK(written.has_value());
      if (bytes) QV_FUZZ_CHECK(*written == *bytes);
    }
  }
  return 0;
}
