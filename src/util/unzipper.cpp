#include "util/unzipper.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <ctime>
#include <optional>

#include "platform/exact_entries.h"
#include "platform/files.h"
#include "platform/path_syntax.h"
#include "platform/path_resolution.h"
#include "util/background_writer.h"
#include "util/entry_data_reader.h"
#include "util/output_file.h"
#include "util/zip_archive_file.h"
#include "util/zip_entry_name.h"

namespace qv::util {
namespace {

constexpr uint32_t kEncryptedFlag = 0x0001;
constexpr uint32_t kMethodStored = 0;
constexpr uint32_t kMethodDeflated = Z_DEFLATED;
constexpr uint32_t kMadeByUnix = 3;  // host system in the high byte of "version made by"
// The file type bits of a Unix mode, and the type of a regular file.
constexpr uint32_t kUnixTypeMask = 0170000;
constexpr uint32_t kUnixRegularFile = 0100000;
constexpr uint32_t kUnixPermissionBits = 07777;

// Closes the current entry on every path; Close() reports minizip's verdict (CRC included).
class OpenEntry {
 public:
  explicit OpenEntry(unzFile archive) : archive_(archive) {}
  ~OpenEntry() {
    if (archive_ != nullptr) unzCloseCurrentFile(archive_);
  }
  OpenEntry(const OpenEntry&) = delete;
  OpenEntry& operator=(const OpenEntry&) = delete;

  bool Close() {
    const int result = unzCloseCurrentFile(archive_);
    archive_ = nullptr;
    return result == UNZ_OK;
  }

 private:
  unzFile archive_;
};

std::string FullPath(const std::string& path) { return platform::AbsolutePath(path); }

// `path` with every separator the system takes written as its own: on Windows a destination
// given with '/' is then split at its folders like any other.
std::string WithSystemSeparators(std::string path) {
  for (char& c : path) {
    if (platform::kPathSeparators.find(c) != std::string_view::npos) c = platform::kPathSeparator;
  }
  return path;
}

std::string WithoutExtension(const std::string& path) {
  const size_t slash = path.rfind(platform::kPathSeparator);
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
  return path.substr(0, dot);
}

// Every existing folder between `folder` and the entry's own name must be a real folder: a
// symbolic link there (left by anything but this archive) would carry the write elsewhere.
bool PathBelowIsPlain(const std::string& folder, const std::string& relative) {
  for (size_t slash = relative.find(platform::kPathSeparator); slash != std::string::npos;
       slash = relative.find(platform::kPathSeparator, slash + 1)) {
    if (slash + 1 == relative.size()) break;  // a trailing separator names the entry itself
    switch (platform::EntryKindOf(JoinEntryTarget(folder, relative.substr(0, slash)))) {
      case platform::EntryKind::kFolder:
        continue;
      case platform::EntryKind::kMissing:
        return true;  // nothing further down exists yet
      default:
        return false;
    }
  }
  return true;
}

bool IsUnixMadeFile(const ZipEntryInfo& info, uint32_t& mode) {
  if ((info.version_made_by >> 8) != kMadeByUnix) return false;
  mode = info.external_attributes >> 16;
  const uint32_t type = mode & kUnixTypeMask;
  return (type == 0 || type == kUnixRegularFile) && (mode & kUnixPermissionBits) != 0;
}

// The owner's bits and the executable bits a Unix-made entry stored (platform/write_stream.h).
bool RestorePermissions(const ZipEntryInfo& info, OutputFile& file) {
  uint32_t stored = 0;
  if (!IsUnixMadeFile(info, stored)) return true;
  return file.ApplyStoredUnixMode(stored & kUnixPermissionBits);
}

// Makes room for a new file at `target`: an existing file or link is removed (never followed),
// an existing folder stays and fails the entry.
bool ClearTarget(const std::string& target) {
  switch (platform::EntryKindOf(target)) {
    case platform::EntryKind::kMissing:
      return true;
    case platform::EntryKind::kFile:
    case platform::EntryKind::kLink:
      return platform::DeleteFile(target);
    default:
      return false;
  }
}

}  // namespace

void CUnzipper::ArchiveCloser::operator()(void* archive) const { unzClose(archive); }

CUnzipper::CUnzipper()
    : read_buffers_{std::make_unique_for_overwrite<char[]>(kEntryReadChunkSize),
                    std::make_unique_for_overwrite<char[]>(kEntryReadChunkSize)} {}

CUnzipper::~CUnzipper() { CloseArchive(); }

bool CUnzipper::OpenArchive(const std::string& path) {
  CloseArchive();
  if (path.empty()) return false;
  const std::string full_path = FullPath(path);
  if (full_path.empty() || full_path.size() > kMaxArchivePathLength) return false;
  zlib_filefunc64_def file_functions = ArchiveFileFunctions();
  archive_.reset(unzOpen2_64(full_path.c_str(), &file_functions));
  if (!archive_) return false;
  archive_path_ = full_path;
  default_output_folder_ = WithoutExtension(full_path);
  return true;
}

void CUnzipper::CloseArchive() {
  archive_.reset();
  data_file_.reset();
  archive_path_.clear();
  default_output_folder_.clear();
  ready_folder_.clear();
  ready_parent_.clear();
}

bool CUnzipper::ExtractAllTo(const std::string& requested_folder) {
  if (!archive_ || requested_folder.empty()) return false;
  const std::string folder = WithSystemSeparators(requested_folder);
  ready_folder_.clear();  // made and checked afresh for every extraction
  ready_parent_.clear();
  if (!MakeFolderPath(folder)) return false;
  if (!MoveToFirstEntry()) return false;
  do {
    if (!ExtractCurrentEntryTo(folder)) return false;
  } while (MoveToNextEntry());
  return true;
}

bool CUnzipper::MoveToFirstEntry() { return archive_ && unzGoToFirstFile(archive_.get()) == UNZ_OK; }

bool CUnzipper::MoveToNextEntry() { return archive_ && unzGoToNextFile(archive_.get()) == UNZ_OK; }

bool CUnzipper::ReadEntryInfo(ZipEntryInfo& info) {
  if (!archive_) return false;
  unz_file_info64 raw{};
  char name[kMaxEntryNameLength + 1] = {};
  char comment[kMaxEntryCommentLength + 1] = {};
  if (unzGetCurrentFileInfo64(archive_.get(), &raw, name, sizeof(name), nullptr, 0, comment,
                              sizeof(comment)) != UNZ_OK) {
    return false;
  }
  info.name_too_long = raw.size_filename > kMaxEntryNameLength;
  const size_t name_length = std::min<size_t>(raw.size_filename, kMaxEntryNameLength);
  info.name.assign(name, name_length);
  info.name_has_nul = info.name.find('\0') != std::string::npos;
  std::replace(info.name.begin(), info.name.end(), '/', '\\');
  info.comment.assign(comment, std::min<size_t>(raw.size_file_comment, kMaxEntryCommentLength));
  info.version_made_by = static_cast<uint32_t>(raw.version);
  info.version_needed = static_cast<uint32_t>(raw.version_needed);
  info.flags = static_cast<uint32_t>(raw.flag);
  info.compression_method = static_cast<uint32_t>(raw.compression_method);
  info.dos_date_time = static_cast<uint32_t>(raw.dosDate);
  info.crc32 = static_cast<uint32_t>(raw.crc);
  info.compressed_size = raw.compressed_size;
  info.uncompressed_size = raw.uncompressed_size;
  info.internal_attributes = static_cast<uint32_t>(raw.internal_fa);
  info.external_attributes = static_cast<uint32_t>(raw.external_fa);
  info.is_folder = (info.external_attributes & kFolderAttribute) != 0;
  return true;
}

bool CUnzipper::ExtractCurrentEntryTo(const std::string& requested_folder) {
  if (!archive_) return false;
  const std::string folder =
      WithSystemSeparators(requested_folder.empty() ? default_output_folder_ : requested_folder);
  if (folder != ready_folder_) {
    ready_parent_.clear();
    if (!MakeFolderPath(folder)) return false;
    ready_folder_ = folder;
  }

  ZipEntryInfo info;
  if (!ReadEntryInfo(info) || info.name_too_long || info.name_has_nul) return false;
  if ((info.flags & kEncryptedFlag) != 0) return false;
  if (info.compression_method != kMethodStored && info.compression_method != kMethodDeflated) {
    return false;
  }
  const std::optional<std::string> relative = SafeEntryPath(info.name);
  if (!relative) return false;
  const std::string target = JoinEntryTarget(folder, *relative);
  if (target.size() > kMaxTargetPathLength) return false;
  // Entries come folder by folder: the checks of the folder an entry lies in are done once.
  const std::string parent = target.substr(0, target.rfind(platform::kPathSeparator));
  const bool parent_ready = !info.is_folder && parent == ready_parent_;
  if (!parent_ready && !PathBelowIsPlain(folder, *relative)) return false;

  if (info.is_folder) {
    // Without its trailing separator, so that a link is looked at instead of through.
    const std::string folder_target = target.substr(0, target.find_last_not_of(platform::kPathSeparator) + 1);
    if (platform::EntryKindOf(folder_target) == platform::EntryKind::kLink) return false;
    return MakeFolderPath(target);
  }
  if (!parent_ready) {
    if (!MakeParentFolders(target)) return false;
    ready_parent_ = parent;
  }
  if (!WriteCurrentEntry(info, target)) return false;
  ApplyEntryTimestamp(target, info.dos_date_time);  // a file with the wrong time is still whole
  return true;
}

bool CUnzipper::WriteCurrentEntry(const ZipEntryInfo& info, const std::string& target) {
  // The name is the one the archive gives, as the folders' are: no other spelling is looked for.
  OutputFile file;
  if (!file.Open(target, OutputFile::Mode::kCreateNewExactly)) {
    // Usually nothing is there yet; otherwise what is there is replaced.
    if (!file.name_taken()) return false;
    if (!ClearTarget(target)) return false;
    if (!file.Open(target, OutputFile::Mode::kCreateNewExactly)) return false;
  }
  if (unzOpenCurrentFile(archive_.get()) != UNZ_OK) return false;
  OpenEntry entry(archive_.get());

  const bool whole = info.uncompressed_size > kEntryReadChunkSize ? CopyLargeEntryData(info, file)
                                                                  : CopyEntryData(info, file);
  if (!whole) return false;
  if (!entry.Close()) return false;
  if (!RestorePermissions(info, file)) return false;
  return file.Close();
}

bool CUnzipper::CopyEntryData(const ZipEntryInfo& info, OutputFile& file) {
  uint64_t written = 0;
  for (;;) {
    const int read =
        unzReadCurrentFile(archive_.get(), read_buffers_[0].get(), kEntryReadChunkSize);
    if (read < 0) return false;
    if (read == 0) break;
    if (!file.Write(read_buffers_[0].get(), static_cast<size_t>(read))) return false;
    written += static_cast<uint64_t>(read);
  }
  // minizip checks the CRC (when the entry is closed) only when the entry was read to its
  // declared end, and an entry whose data runs out early just reads 0: both are damaged data,
  // never a finished file.
  return written == info.uncompressed_size;
}

bool CUnzipper::CopyLargeEntryData(const ZipEntryInfo& info, OutputFile& file) {
  if (!data_file_) data_file_ = platform::ReadOnlyFile::Open(archive_path_);
  if (!data_file_) return false;
  EntryDataReader reader(*data_file_, unzGetCurrentFileZStreamPos64(archive_.get()),
                         info.compressed_size, info.uncompressed_size,
                         info.compression_method == kMethodDeflated);
  BackgroundWriter writer(file);
  uint64_t written = 0;
  // One block is inflated into while the other is summed and written.
  for (size_t turn = 0;; turn ^= 1) {
    char* block = read_buffers_[turn].get();
    const int64_t read = reader.Read(block, kEntryReadChunkSize);
    if (read < 0) return false;
    if (read == 0) break;
    if (!writer.Write(block, static_cast<size_t>(read))) return false;
    written += static_cast<uint64_t>(read);
  }
  // The same verdicts as minizip's: cut short or summing wrong is damaged, never finished.
  return writer.Finish() && written == info.uncompressed_size && writer.crc32() == info.crc32;
}

bool CUnzipper::MakeFolderPath(const std::string& path) {
  if (path.empty()) return false;
  switch (platform::EntryKindOf(path)) {
    case platform::EntryKind::kFile:
    case platform::EntryKind::kFolder:
    case platform::EntryKind::kLink:
      return true;  // what it is, the entry's own checks tell
    case platform::EntryKind::kMissing:
    case platform::EntryKind::kUnknown:
      break;
  }
  const size_t slash = path.rfind(platform::kPathSeparator);
  // A name without a separator is a folder below the current one (there are no drive names to
  // stop at), so it is made like any other.
  if (slash != std::string::npos && slash > 0 && !MakeFolderPath(path.substr(0, slash))) {
    return false;
  }
  if (slash != std::string::npos && slash + 1 == path.size()) return true;
  return platform::MakeFolderExactly(path);
}

bool CUnzipper::MakeParentFolders(const std::string& file_path) {
  const size_t slash = file_path.rfind(platform::kPathSeparator);
  if (slash == std::string::npos) return false;
  if (slash == 0) return true;  // the file-system root
  return MakeFolderPath(file_path.substr(0, slash));
}

bool CUnzipper::ApplyEntryTimestamp(const std::string& file_path, uint32_t dos_date_time) {
  const uint32_t date = dos_date_time >> 16;
  const uint32_t time = dos_date_time & 0xFFFF;
  std::tm local{};
  local.tm_year = static_cast<int>((date >> 9) & 0x7F) + 1980 - 1900;
  local.tm_mon = static_cast<int>((date >> 5) & 0x0F) - 1;
  local.tm_mday = static_cast<int>(date & 0x1F);
  local.tm_hour = static_cast<int>((time >> 11) & 0x1F);
  local.tm_min = static_cast<int>((time >> 5) & 0x3F);
  local.tm_sec = static_cast<int>(time & 0x1F) * 2;
  local.tm_isdst = -1;  // whatever daylight saving time was in force on that date
  const std::time_t seconds = std::mktime(&local);
  if (seconds == static_cast<std::time_t>(-1)) return false;

  return platform::SetModificationTimeExactly(file_path, seconds);
}

bool ExtractArchive(const std::string& archive_path, const std::string& destination) {
  CUnzipper unzipper;
  if (!unzipper.OpenArchive(platform::ResolveExistingPath(archive_path).value_or(archive_path))) {
    return false;
  }
  // The destination's folders that exist in another spelling are the ones filled.
  const bool extracted = unzipper.ExtractAllTo(platform::ResolvePathForCreation(destination));
  unzipper.CloseArchive();
  return extracted;
}

}  // namespace qv::util
