// Unpacking zip archives (every package the installer downloads is one) into a folder.
//
// CUnzipper sits on minizip's unzip API and adds folders, file writing, permission bits and
// timestamps. Entries are unpacked in central-directory order; the first entry that cannot be
// unpacked ends the extraction with false and leaves what was written before it in place.
//
// The archive is untrusted. Besides what minizip checks, an entry fails the extraction when its
// name is unsafe (see zip_entry_name.h), is longer than the name buffer or the target would be
// longer than kMaxTargetPathLength, when it is encrypted or compressed by a method other than
// stored or deflated, when its data ends before its declared size or fails its CRC-32, when an
// existing folder on its way is a symbolic link, or when writing or closing its file fails.
// Symbolic links stored in an archive are written as ordinary files holding the link text, as
// on the system the packages are made for; nothing is ever written through a link.
//
// Paths are narrow text (UTF-8 here). Ownership: one object per extraction, used and destroyed
// on the thread that made it; the destructor closes the archive.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/path_limits.h"
#include "platform/read_only_file.h"

namespace qv::util {

// Limits kept from the archive layout the packages are made for.
inline constexpr size_t kMaxEntryNameLength = 260;    // the stored-name buffer, without its NUL
inline constexpr size_t kMaxEntryCommentLength = 255;
// Full paths follow this system's limit: a long home folder holds every package.
inline constexpr size_t kMaxArchivePathLength = platform::kMaxPathLength;  // the archive's full path
inline constexpr size_t kMaxTargetPathLength = platform::kMaxPathLength;   // folder + separator + entry name
// Entry data is inflated straight into blocks of this size and written from them. zlib decodes
// with its fast path only while 258 bytes of output room remain, so small reads end each one in
// its slow path; blocks of 256 KiB keep that to a trace. An entry larger than one block is
// summed and written on a second thread from one block while the next is inflated into the
// other (BackgroundWriter): the memory stays fixed at two blocks and one input block.
inline constexpr size_t kEntryReadChunkSize = 256 * 1024;
inline constexpr uint32_t kFolderAttribute = 0x10;    // external attribute bit of a folder entry

struct ZipEntryInfo {
  std::string name;     // as stored, "/" turned into "\" (the archive's own convention)
  std::string comment;
  uint32_t version_made_by = 0;
  uint32_t version_needed = 0;
  uint32_t flags = 0;
  uint32_t compression_method = 0;
  uint32_t dos_date_time = 0;  // date in the high 16 bits, time in the low 16 bits
  uint32_t crc32 = 0;
  uint64_t compressed_size = 0;
  uint64_t uncompressed_size = 0;
  uint32_t internal_attributes = 0;
  uint32_t external_attributes = 0;
  bool is_folder = false;       // external attributes carry kFolderAttribute
  bool name_too_long = false;   // the stored name did not fit kMaxEntryNameLength
  bool name_has_nul = false;    // the stored name holds a NUL byte before its end
};

class OutputFile;

class CUnzipper {
 public:
  CUnzipper();
  virtual ~CUnzipper();
  CUnzipper(const CUnzipper&) = delete;
  CUnzipper& operator=(const CUnzipper&) = delete;

  // Closes any open archive, then opens `path`. Fails for an empty path, a full path longer than
  // kMaxArchivePathLength, or a file minizip cannot open as an archive.
  bool OpenArchive(const std::string& path);
  void CloseArchive();
  bool is_open() const { return archive_ != nullptr; }
  // The archive's full path without its extension; used when no destination is given.
  const std::string& default_output_folder() const { return default_output_folder_; }

  // Unpacks every entry below `folder`, which is created when missing. An archive with no
  // entries yields false.
  bool ExtractAllTo(const std::string& folder);

  bool MoveToFirstEntry();
  bool MoveToNextEntry();  // false after the last entry
  bool ReadEntryInfo(ZipEntryInfo& info);
  // Unpacks the current entry below `folder` (the default output folder when empty).
  bool ExtractCurrentEntryTo(const std::string& folder);

  // Creates `path` and its missing parents. An existing path (file or folder) succeeds at once;
  // a relative path is made below the current folder.
  static bool MakeFolderPath(const std::string& path);
  // MakeFolderPath of the text before the last separator of `file_path`; false when there is none.
  static bool MakeParentFolders(const std::string& file_path);
  // Sets the file's modification time to the DOS date and time taken as local time; the access
  // time is kept. Does not follow a symbolic link.
  static bool ApplyEntryTimestamp(const std::string& file_path, uint32_t dos_date_time);

 private:
  struct ArchiveCloser {
    void operator()(void* archive) const;
  };

  bool WriteCurrentEntry(const ZipEntryInfo& info, const std::string& target);
  // Copy the open entry's data into `file`; true when all of it arrived and passed its CRC-32.
  // Up to one block through minizip; larger entries straight from the archive file, inflated
  // on this thread and summed and written on another.
  bool CopyEntryData(const ZipEntryInfo& info, OutputFile& file);
  bool CopyLargeEntryData(const ZipEntryInfo& info, OutputFile& file);

  std::unique_ptr<void, ArchiveCloser> archive_;  // minizip's unzFile
  std::string archive_path_;
  // The archive opened once more, for reading the data of large entries; opened on first use.
  std::optional<platform::ReadOnlyFile> data_file_;
  // The destination made last, and the folder of the last file written below it: already made
  // and checked for links, so that the next entry in the same folder skips that work.
  std::string ready_folder_;
  std::string ready_parent_;
  std::string default_output_folder_;
  std::unique_ptr<char[]> read_buffers_[2];
};

// Opens `archive_path`, unpacks every entry into `destination` and closes the archive whatever
// the outcome. True only when every entry was unpacked.
bool ExtractArchive(const std::string& archive_path, const std::string& destination);

}  // namespace qv::util
