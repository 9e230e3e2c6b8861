#include "workflow/package_downloads.h"

#include <utility>

#include "platform/known_folders.h"
#include "util/text_conversion.h"
#include "util/text_format.h"
#include "workflow/status_keys.h"

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

PackageDownloads::PackageDownloads(DownloadTaskView task, ServiceEndpoints endpoints)
    : task_(std::move(task)), endpoints_(std::move(endpoints)) {}

bool PackageDownloads::DownloadPlatformInstaller(std::u16string& path,
                                                 transfer::HttpResult& result) {
  return Download(FieldText(task_.record.url), kInstallerFilePattern, path, result);
}

bool PackageDownloads::DownloadPluginPackage(std::u16string& path, transfer::HttpResult& result) {
  return Download(FieldText(task_.record.url_air), kPluginFilePattern, path, result);
}

bool PackageDownloads::Download(const std::string& url, const char16_t* file_pattern,
                                std::u16string& path, transfer::HttpResult& result) {
  // A new name for every attempt, so a partial file is never continued.
  std::u16string name =
      util::FormatWideText(file_pattern, platform::CurrentClock().TickCount());
  if (name.size() > kMaxTempFileNameLength) name.resize(kMaxTempFileNameLength);
  path = util::Utf8ToWide(platform::TempFolder()) + name;

  transfer::CHttp http(this, endpoints_.limits);
  http.SetCancelSignal(task_.stop);
  http.SetCaBundle(endpoints_.ca_bundle);
  std::string unused_body;
  result = http.Get(url, unused_body, util::WideToAnsi(path));
  last_step_bytes_ = 0;
  last_bytes_ = 0;
  return result == transfer::HttpResult::kSuccess;
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
