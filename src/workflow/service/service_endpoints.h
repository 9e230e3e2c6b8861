// Where the installer reaches its services, and the limits of its transfers.
//
// The program uses the build's deployment settings (the defaults); tests point the same code at
// their loopback servers and trust their own certificate authority. A plain value: each task
// keeps its own copy.
#pragma once

#include <string>

#include "qv/deployment_settings.h"
#include "transfer/http.h"

namespace qv::workflow {

struct ServiceEndpoints {
  std::string api_base_url = settings::kApiBaseUrl;      // the package query's host
  std::string stats_base_url = settings::kStatsBaseUrl;  // the statistics service's host
  std::string cdn_host = settings::kCdnHost;             // the host inside the download markers
  std::string probe_url = settings::kProbeUrl;           // the connectivity probe
  std::string ca_bundle = settings::kCaBundle;           // what Get trusts; empty: the system store
  transfer::TransferLimits limits;
};

}  // namespace qv::workflow
