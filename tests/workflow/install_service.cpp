#include "install_service.h"

#include <filesystem>

#include "util/md5.h"
#include "workflow/packages/package_downloads.h"
#include "workflow/service/statistics_report.h"

namespace qv::test {

InstallService::InstallService(const TempRoot& root)
    : root_(root), server_(LoopbackServer::StartHttp()) {
  server_->Answer(workflow::kInstallReportPath, 200, "ok");
}

workflow::ServiceEndpoints InstallService::Endpoints() const {
  workflow::ServiceEndpoints endpoints;
  endpoints.api_base_url = server_->base_url();
  endpoints.stats_base_url = server_->base_url();
  endpoints.cdn_host = "127.0.0.1:" + std::to_string(server_->port());
  endpoints.probe_url = server_->Url(kProbePath);
  endpoints.ca_bundle.clear();
  return endpoints;
}

std::string InstallService::PlatformPath() const {
  return std::string(workflow::kInstallerMarkerPath) + "/platform.zip";
}

std::string InstallService::PackagePath() const {
  return std::string(workflow::kPluginMarkerPath) + "/package.zip";
}

std::string InstallService::AnswerJson(const PackageAnswer& answer) const {
  const std::string package_url = answer.with_package ? server_->Url(PackagePath()) : "";
  return R"({"code":0,"data":{"version":"3.2.1","ver":"321","url":")" +
         server_->Url(PlatformPath()) + R"(","user_from":")" + std::to_string(answer.user_from) +
         R"(","business_type":"2","game":{"game_id":")" + answer.game_id +
         R"(","game_name":")" + answer.game_name + R"(","ver":)" +
         std::to_string(answer.game_ver) + R"(,"url":")" + server_->Url("/bag.zip") +
         R"(","desc":"A game","server_id":"s1"},"game_vers":{"ver_code":")" +
         std::to_string(answer.ver_air) + R"(","ver":"1.0","game_id":")" + answer.game_id +
         R"(","download_url":")" + package_url + R"(","md5":")" + answer.md5 + R"("}}})";
}

void InstallService::AnswerWith(const PackageAnswer& answer) {
  server_->Answer(kPackageQueryPath, 200, AnswerJson(answer), "application/json");
}

std::string InstallService::Serve(const std::string& path, const std::string& name,
                                  const std::vector<ZipEntry>& entries) {
  const std::string file = root_.Path("served/" + name);
  std::filesystem::create_directories(root_.Path("served"));
  BuildZipWithMinizip(file, entries);
  std::string bytes = *ReadFileBytes(file);
  server_->Answer(path, 200, bytes);
  return bytes;
}

std::string InstallService::ServePlatform(const std::vector<ZipEntry>& entries) {
  return Serve(PlatformPath(), "platform.zip", entries);
}

std::string InstallService::ServePackage(const std::vector<ZipEntry>& entries) {
  return Serve(PackagePath(), "package.zip", entries);
}

std::vector<std::map<std::string, std::string>> InstallService::Reports() const {
  std::vector<std::map<std::string, std::string>> reports;
  for (const RecordedRequest& request : server_->RequestsTo(workflow::kInstallReportPath)) {
    std::map<std::string, std::string> fields;
    size_t start = 0;
    while (start <= request.body.size()) {
      size_t end = request.body.find('&', start);
      if (end == std::string::npos) end = request.body.size();
      const std::string field = request.body.substr(start, end - start);
      const size_t equals = field.find('=');
      fields[field.substr(0, equals)] =
          equals == std::string::npos ? "" : field.substr(equals + 1);
      start = end + 1;
    }
    reports.push_back(std::move(fields));
  }
  return reports;
}

std::string Md5Of(const std::string& bytes) { return util::Md5HexOfText(bytes); }

}  // namespace qv::test
