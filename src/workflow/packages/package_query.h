// The package query: one GET of the web service's package answer into the task's InstallRecord.
// Runs on the installing task's thread; the retry policy is the task's.
#pragma once

#include <string>

#include "platform/clock.h"
#include "transfer/http_result.h"
#include "workflow/packages/install_record.h"
#include "workflow/service/service_endpoints.h"

namespace qv::workflow {

// The query's URL: `api_base_url` + "/api/micro/packageInfo?code=%s&lang=%s&client_id=%s" with
// the three values percent-encoded where they are not URL-safe (safe values go unchanged), cut
// at 4095 characters as the formatting buffer does, never inside an escape.
std::string PackageInfoUrl(const std::string& api_base_url, const std::string& code,
                           const std::string& lang, const std::string& client_id);

// GETs the package answer for `code` (the package code), `lang` (the language id, "en-us") and
// `client_id` (UTF-8) and stores it into `record` (ApplyPackageAnswer). `result` gets the
// transfer's result. True only for a valid answer; a refused answer is false with result 0.
// Raising `cancel` ends the transfer at once (result kFailed).
bool QueryPackageInfo(const std::string& code, const std::string& lang,
                      const std::string& client_id, InstallRecord& record,
                      transfer::HttpResult& result, const ServiceEndpoints& endpoints,
                      const platform::StopSignal* cancel);

}  // namespace qv::workflow
