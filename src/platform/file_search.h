// Find-first / find-next listing of a folder with the wildcard patterns of the original
// platform's file search.
//
// The system lists the folder (readdir; FindFirstFileW/FindNextFileW of "*") and the pattern is
// matched here, alike on both systems. A FileSearch belongs to the thread that started it (one
// open listing); it is movable, not copyable, and closes the listing when it ends.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qv::platform {

struct FoundEntry {
  std::string name;
  // A real folder. A symbolic link is never reported as a folder, whatever it points to, so a
  // walk built on this listing never leaves the tree it walks.
  bool is_directory = false;
  bool is_symlink = false;
};

// Wildcard match without regard to case: '*' matches any run of characters, '?' exactly one,
// and a pattern ending in ".*" also matches a name with no dot at that place (so "*.*" matches
// every name, as on the original platform).
bool MatchesWildcard(std::string_view pattern, std::string_view name);

class FileSearch {
 public:
  // Opens `folder` (resolved without regard to case) for a search of `pattern`; nullopt when the
  // folder cannot be read. An empty folder gives a search that finds nothing.
  static std::optional<FileSearch> Start(const std::string& folder, std::string pattern);

  FileSearch(FileSearch&&) noexcept;
  FileSearch& operator=(FileSearch&&) noexcept;
  FileSearch(const FileSearch&) = delete;
  FileSearch& operator=(const FileSearch&) = delete;
  ~FileSearch();

  // The next entry matching the pattern ("." and ".." are never reported); false at the end.
  bool Next(FoundEntry& entry);

 private:
  // The system's open listing of the folder, and its closing; each side defines both.
  struct Listing;
  struct ListingCloser {
    void operator()(Listing* listing) const;
  };
  using ListingHandle = std::unique_ptr<Listing, ListingCloser>;

  FileSearch(ListingHandle listing, std::string pattern);
  // The listing's next entry of any name; false at the end.
  bool NextListed(FoundEntry& entry);

  ListingHandle listing_;
  std::string pattern_;
};

}  // namespace qv::platform
