// A loopback web service for whole installing runs: the package answer, the statistics endpoint
// and the two downloads, with what each received.
//
// Made and configured on the test thread; the server answers on its own threads.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "loopback_server.h"
#include "temp_root.h"
#include "workflow/service/service_endpoints.h"
#include "zip_builders.h"

namespace qv::test {

inline constexpr char kPackageQueryPath[] = "/api/micro/packageInfo";
inline constexpr char kProbePath[] = "/probe";

// What the package answer names. The defaults describe the featured game with a game package.
struct PackageAnswer {
  std::string game_id = "1001";
  std::string game_name = "Tales of Vale";
  int game_ver = 3;
  int ver_air = 5;
  std::string md5;           // the second package's digest ("" for no check)
  bool with_package = true;  // whether the answer names a second package URL
  int user_from = 3;
};

class InstallService {
 public:
  explicit InstallService(const TempRoot& root);

  LoopbackServer& server() { return *server_; }
  // The services on this server; the content host is the server's, so the download markers hold.
  workflow::ServiceEndpoints Endpoints() const;

  std::string PlatformPath() const;
  std::string PackagePath() const;

  // Answers every package query with `answer` (status 200).
  void AnswerWith(const PackageAnswer& answer);
  std::string AnswerJson(const PackageAnswer& answer) const;

  // Serves an archive of `entries` as the platform archive or the second package; returns its
  // bytes.
  std::string ServePlatform(const std::vector<ZipEntry>& entries);
  std::string ServePackage(const std::vector<ZipEntry>& entries);

  // The statistics reports received, in order, each body split into its fields.
  std::vector<std::map<std::string, std::string>> Reports() const;
  size_t Requests(const std::string& path) const { return server_->RequestsTo(path).size(); }

 private:
  std::string Serve(const std::string& path, const std::string& name,
                    const std::vector<ZipEntry>& entries);

  const TempRoot& root_;
  std::unique_ptr<LoopbackServer> server_;
};

// The MD5 hexadecimal digest of `bytes`.
std::string Md5Of(const std::string& bytes);

}  // namespace qv::test
