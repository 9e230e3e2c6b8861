#include "workflow/packages/package_downloads.h"

#include <utility>
#include <vector>

#include "platform/known_folders.h"
#include "transfer/partial_download_files.h"
#include "transfer/resumable_download.h"
#include "util/text_conversion.h"
#include "workflow/tasks/status_keys.h"

namespace qv::workflow {
namespace {

bool Contains(const std::string& url, const std::string& marker) {
  return url.find(marker) != std::string::npos;
}

}  // namespace

double ProgressStepSize(uint8_t business_type, const std::string& url, const std::string& cdn_host,
                        double total) {
  const bool installer = Contains(url, cdn_host + kInstallerMarkerPath);
  const bool plugin = Contains(url, cdn_host + kPluginMarkerPath);
  switch (business_type) {
    case 3:
      if (installer) return total / kStepsInstallerType3;
      if (plugin) return total / kStepsPluginType3;
      return 0;
    case 1:
      return installer ? total / kStepsInstallerType1 : 0;
    default:
      return total / kStepsOtherTypes;
  }
}

void DeleteUnusedPartialDownloads(const InstallRecord& record, bool platform_needed) {
  std::vector<std::string> in_use = {FieldText(record.game.url)};
  if (platform_needed) {
    in_use.push_back(FieldText(record.url));
    in_use.push_back(FieldText(record.url_air));
  }
  transfer::DeleteStalePartialDownloads(platform::TempFolder(), in_use);
}

PackageDownloads::PackageDownloads(DownloadTaskView task, ServiceEndpoints endpoints)
    : task_(std::move(task)), endpoints_(std::move(endpoints)) {}

bool PackageDownloads::DownloadPlatformInstaller(std::u16string& path,
                                                 transfer::HttpResult& result) {
  return Download(FieldText(task_.record.url), path, result);
}

bool PackageDownloads::DownloadPluginPackage(std::u16string& path, transfer::HttpResult& result) {
  return Download(FieldText(task_.record.url_air), path, result);
}

bool PackageDownloads::Download(const std::string& url, std::u16string& path,
                                transfer::HttpResult& result) {
  path = util::Utf8ToWide(transfer::PartialDownloadPath(platform::TempFolder(), url));
  const std::string file = util::WideToAnsi(path);
  transfer::DownloadSetup setup;
  setup.progress = this;
  setup.limits = endpoints_.limits;
  setup.cancel = task_.stop;
  setup.ca_bundle = endpoints_.ca_bundle;
  result = transfer::DownloadResumably(url, file, setup);
  last_step_bytes_ = 0;
  last_bytes_ = 0;
  return result == transfer::HttpResult::kSuccess;
}

void PackageDownloads::Discard(const std::u16string& path) {
  if (!path.empty()) transfer::DeletePartialDownload(util::WideToAnsi(path));
}

void PackageDownloads::OnTransferProgress(const std::string& url, double total, double now) {
  if (!(total > 0) || now == 0 || now > total) return;
  last_bytes_ = now;
  if (now - last_step_bytes_ >= ProgressStepSize(task_.record.business_type, url,
                                                 endpoints_.cdn_host, total)) {
    ++task_.percent;
    last_step_bytes_ = now;
    if (task_.report_progress) task_.report_progress(kStatusDownloading, 0);
  }
}

}  // namespace qv::workflow
