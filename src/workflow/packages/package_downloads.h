// The installing task's two downloads (the platform installer archive and the plug-in package)
// and how their progress advances the task's running percentage.
//
// Thread: made, used and destroyed on the installing task's thread; the progress notifications
// of its transfers arrive on that thread too, so nothing here needs a lock. The view's record,
// percent, report callback and stop signal are the task's and outlive this object.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "transfer/http.h"
#include "transfer/http_result.h"
#include "workflow/packages/install_record.h"
#include "workflow/service/service_endpoints.h"

namespace qv::workflow {

// The paths inside the two download markers; a marker is the content host followed by its path,
// and a progress notification belongs to a download when its URL contains the marker.
inline constexpr char kInstallerMarkerPath[] = "/qvorvane/repository/install";
inline constexpr char kPluginMarkerPath[] = "/qvorvane/repository/plugin/air";

// How many percentage steps one download may take, by the record's business type.
inline constexpr double kStepsInstallerType3 = 55;
inline constexpr double kStepsPluginType3 = 30;
inline constexpr double kStepsInstallerType1 = 85;
inline constexpr double kStepsOtherTypes = 100;

// The part of the installing task a download works on.
struct DownloadTaskView {
  const InstallRecord& record;
  int& percent;
  // The task's ReportProgress(status key, state code); it does not change the percent.
  std::function<void(std::u16string_view status_key, int state_code)> report_progress;
  const platform::StopSignal* stop;  // the task's stop signal, the transfers' cancel hook
};

// Bytes a download must advance before the percentage moves one step (0: every notification).
double ProgressStepSize(uint8_t business_type, const std::string& url, const std::string& cdn_host,
                        double total);

// Removes the partial downloads in the temporary folder that this run will not continue: all
// but the game bag's and, when `platform_needed`, the platform archive's and the second
// package's. Called once the package answer is known; the game-bag task may already be
// downloading, and its file is kept.
void DeleteUnusedPartialDownloads(const InstallRecord& record, bool platform_needed);

class PackageDownloads final : public transfer::CHttp::Delegate {
 public:
  PackageDownloads(DownloadTaskView task, ServiceEndpoints endpoints);

  // Each is one attempt at its URL of the record, into the URL's partial file in the temporary
  // folder (transfer/resumable_download.h): an attempt continues what the one before it, or an
  // earlier run, left there when the server allows it. Gives the file's path and the transfer's
  // result; true when the result is 0, and the complete file is then the caller's to delete.
  // A failed attempt leaves at most a partial file that can be continued, with its record.
  bool DownloadPlatformInstaller(std::u16string& path, transfer::HttpResult& result);
  bool DownloadPluginPackage(std::u16string& path, transfer::HttpResult& result);

  // Deletes a download's file and its record, whatever state it is in (empty path: nothing).
  static void Discard(const std::u16string& path);

  // One step of the percentage (reported as "Downloading...", 0) each time the download has
  // advanced by its step size since the last step.
  void OnTransferProgress(const std::string& url, double total, double now) override;

 private:
  bool Download(const std::string& url, std::u16string& path, transfer::HttpResult& result);

  DownloadTaskView task_;
  const ServiceEndpoints endpoints_;
  double last_step_bytes_ = 0;  // bytes at the last step of the current download
  double last_bytes_ = 0;       // bytes at the last notification of the current download
};

}  // namespace qv::workflow
