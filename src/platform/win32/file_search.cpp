// The folder listing of the file search on Windows: FindFirstFileW / FindNextFileW of "*".
#include "platform/file_search.h"

#include "platform/win32/windows_api.h"

#include "platform/win32/wide_text.h"

namespace qv::platform {

struct FileSearch::Listing {
  HANDLE search = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW found{};
  bool found_pending = true;  // FindFirstFileW's entry is still to be reported
};

void FileSearch::ListingCloser::operator()(Listing* listing) const {
  if (listing->search != INVALID_HANDLE_VALUE) FindClose(listing->search);
  delete listing;
}

std::optional<FileSearch> FileSearch::Start(const std::string& folder, std::string pattern) {
  ListingHandle listing(new Listing);
  std::wstring all = win32::Wide(folder);
  if (!all.empty() && all.back() != L'\\' && all.back() != L'/') all += L'\\';
  all += L'*';
  listing->search = FindFirstFileExW(all.c_str(), FindExInfoBasic, &listing->found,
                                     FindExSearchNameMatch, nullptr, 0);
  if (listing->search == INVALID_HANDLE_VALUE) {
    // An empty listing of an existing folder is a search that finds nothing.
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return std::nullopt;
    listing->found_pending = false;
  }
  return FileSearch(std::move(listing), std::move(pattern));
}

bool FileSearch::NextListed(FoundEntry& entry) {
  if (listing_->search == INVALID_HANDLE_VALUE) return false;
  if (!listing_->found_pending && !FindNextFileW(listing_->search, &listing_->found)) return false;
  listing_->found_pending = false;
  const DWORD attributes = listing_->found.dwFileAttributes;
  entry.name = win32::Utf8(listing_->found.cFileName);
  // A link or junction (a reparse point) is never reported as a folder.
  entry.is_symlink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  entry.is_directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !entry.is_symlink;
  return true;
}

}  // namespace qv::platform
