// The installer's own per-user folders, computed once per process and created on first use.
//
// | folder           | path                                   |
// | base data        | local app data + "/"                   |
// | local data       | base data + "Qvorvane/"                |
// | platform         | base data + "Qvorvane/app/"            |
// | game bag         | base data + "Qvorvane/gamebag/"        |
// | roaming data     | roaming app data + "/Qvorvane/"        |
//
// The base folder is the first non-empty of the local, all-users and roaming application-data
// folders; the roaming one the first of roaming, all users and local. Paths are wide, end in '/'
// and keep the case the known folders have.
//
// Threads: an AppFolders may be asked from any thread; the first request of each folder computes
// and creates it under that folder's own lock, so two threads asking at once get the same path
// and the folder is made once. ProcessAppFolders() lives for the whole process; tests make their
// own AppFolders so that no cached path outlives a test's temporary root.
#pragma once

#include <mutex>
#include <string>
#include <string_view>

namespace qv::util {

// Makes the folder and every missing parent exist. Returns whether the name exists afterwards (it
// may be a file: nothing is changed then). A relative name whose parents are all missing is not
// made.
bool CreateDirectoryTree(std::u16string_view path);

class AppFolders {
 public:
  AppFolders() = default;
  AppFolders(const AppFolders&) = delete;
  AppFolders& operator=(const AppFolders&) = delete;

  std::u16string BaseDataFolder();
  std::u16string LocalDataFolder();
  std::u16string PlatformFolder();
  std::u16string GameBagFolder();
  std::u16string RoamingDataFolder();

 private:
  struct CachedFolder {
    std::mutex mutex;
    std::u16string path;  // empty until computed
  };
  // The cached path, computed by `compute` (and created) while it is still empty.
  template <typename Compute>
  std::u16string Get(CachedFolder& cached, Compute compute);

  CachedFolder base_;
  CachedFolder local_;
  CachedFolder platform_;
  CachedFolder game_bag_;
  CachedFolder roaming_;
};

// The folders of this process.
AppFolders& ProcessAppFolders();

std::u16string BaseDataFolder();
std::u16string LocalDataFolder();
std::u16string PlatformFolder();
std::u16string GameBagFolder();
std::u16string RoamingDataFolder();

// Sub-paths of the base data folder and the roaming folder.
inline constexpr std::u16string_view kLocalDataSubPath = u"Qvorvane/";
inline constexpr std::u16string_view kPlatformSubPath = u"Qvorvane/app/";
inline constexpr std::u16string_view kGameBagSubPath = u"Qvorvane/gamebag/";
inline constexpr std::u16string_view kRoamingSubPath = u"/Qvorvane/";

}  // namespace qv::util
