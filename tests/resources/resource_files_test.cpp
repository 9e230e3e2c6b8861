// The program's resource table against the files it was made from: every id of
// resources/manifest.txt (QV_RESOURCE_MANIFEST, in the test system's spelling) reads back the
// exact bytes of its file, icons included, and no other id reads anything.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/resources.h"

namespace qv {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string AsText(std::span<const unsigned char> bytes) {
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

struct ManifestEntry {
  int id;
  std::string path;
};

std::vector<ManifestEntry> ManifestEntries() {
  const std::string manifest = QV_RESOURCE_MANIFEST;
  const std::string folder = manifest.substr(0, manifest.find_last_of("/\\") + 1);
  std::ifstream in(manifest);
  std::vector<ManifestEntry> entries;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line.substr(0, line.find('#')));
    ManifestEntry entry{};
    if (fields >> entry.id >> entry.path) entries.push_back({entry.id, folder + entry.path});
  }
  return entries;
}

TEST(ResourceFilesTest, EveryIdReadsBackTheExactBytesOfItsFile) {
  const auto entries = ManifestEntries();
  ASSERT_EQ(entries.size(), 23u) << "icons 107-108, pictures 131-137, tables 138-151";
  for (const ManifestEntry& entry : entries) {
    const std::string file = ReadFile(entry.path);
    ASSERT_FALSE(file.empty()) << entry.path;
    EXPECT_TRUE(AsText(platform::FindResource(entry.id)) == file)
        << "resource " << entry.id << " differs from " << entry.path;
  }
}

TEST(ResourceFilesTest, IdsOutsideTheManifestReadNothing) {
  std::set<int> listed;
  for (const ManifestEntry& entry : ManifestEntries()) listed.insert(entry.id);
  ASSERT_FALSE(listed.empty());
  // Around every listed id, the first numbers (which the system gives the icons' own images),
  // and numbers that are no 16-bit id but would become a listed one if cut to 16 bits.
  std::set<int> probes = {-1, 0, 1, 2, 3, 4, 14, 65535, 65536 + 131, 131 - 65536, -65536 + 107};
  for (const int id : listed) {
    probes.insert(id - 1);
    probes.insert(id + 1);
  }
  for (const int id : probes) {
    if (listed.count(id) == 0) {
      EXPECT_TRUE(platform::FindResource(id).empty()) << id;
    }
  }
}

}  // namespace
}  // namespace qv
