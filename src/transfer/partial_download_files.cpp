#include "transfer/partial_download_files.h"

#include <filesystem>
#include <set>
#include <system_error>

#include "platform/atomic_file.h"
#include "util/md5.h"

namespace qv::transfer {
namespace {

constexpr size_t kNameHashDigits = 16;
constexpr std::string_view kDownloadSuffix = ".part";
constexpr std::string_view kRecordSuffix = ".rec";

std::string FileName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

// Every path a download may leave behind, the download itself first.
std::vector<std::string> FilesOf(const std::string& download_path) {
  const std::string record = PartialRecordPath(download_path);
  return {download_path, record, platform::AtomicFileLockPath(record),
          platform::AtomicFileTempPath(record)};
}

bool IsOurs(const std::string& name) {
  return name.starts_with(kPartialDownloadPrefix) ||
         (name.starts_with('.') && std::string_view(name).substr(1).starts_with(
                                       kPartialDownloadPrefix));
}

}  // namespace

std::string PartialDownloadPath(std::string_view folder, std::string_view url) {
  return std::string(folder) + std::string(kPartialDownloadPrefix) +
         util::Md5HexOfText(url).substr(0, kNameHashDigits) + std::string(kDownloadSuffix);
}

std::string PartialRecordPath(std::string_view download_path) {
  return std::string(download_path) + std::string(kRecordSuffix);
}

void DeletePartialDownload(const std::string& download_path) {
  for (const std::string& path : FilesOf(download_path)) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
}

void DeletePartialRecord(const std::string& download_path) {
  const std::vector<std::string> files = FilesOf(download_path);
  for (auto file = files.begin() + 1; file != files.end(); ++file) {
    std::error_code ignored;
    std::filesystem::remove(*file, ignored);
  }
}

void DeleteStalePartialDownloads(std::string_view folder,
                                 const std::vector<std::string>& urls_in_use) {
  std::set<std::string> in_use;
  for (const std::string& url : urls_in_use) {
    for (const std::string& path : FilesOf(PartialDownloadPath(folder, url))) {
      in_use.insert(FileName(path));
    }
  }
  std::error_code error;
  std::vector<std::filesystem::path> stale;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(folder), error)) {
    const std::string name = entry.path().filename().string();
    std::error_code type_error;
    if (IsOurs(name) && !in_use.contains(name) && entry.is_regular_file(type_error)) {
      stale.push_back(entry.path());
    }
  }
  for (const auto& path : stale) std::filesystem::remove(path, error);
}

}  // namespace qv::transfer
