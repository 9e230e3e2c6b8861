#include "workflow/packages/package_query.h"

#include "transfer/http.h"
#include "util/text_format.h"
#include "workflow/packages/package_answer.h"
#include "workflow/service/url_encode.h"

namespace qv::workflow {

std::string PackageInfoUrl(const std::string& api_base_url, const std::string& code,
                           const std::string& lang, const std::string& client_id) {
  // One formatting buffer holds the whole URL, so a long base and long values are cut together.
  std::string url =
      api_base_url + util::FormatText("/api/micro/packageInfo?code=%s&lang=%s&client_id=%s",
                                      PercentEncodeQueryValue(code).c_str(),
                                      PercentEncodeQueryValue(lang).c_str(),
                                      PercentEncodeQueryValue(client_id).c_str());
  CutUrl(url, util::kMaxFormattedLength);
  return url;
}

bool QueryPackageInfo(const std::string& code, const std::string& lang,
                      const std::string& client_id, InstallRecord& record,
                      transfer::HttpResult& result, const ServiceEndpoints& endpoints,
                      const platform::StopSignal* cancel) {
  transfer::CHttp http(nullptr, endpoints.limits);
  http.SetCancelSignal(cancel);
  http.SetCaBundle(endpoints.ca_bundle);
  std::string body;
  result = http.Get(PackageInfoUrl(endpoints.api_base_url, code, lang, client_id), body, "");
  if (result != transfer::HttpResult::kSuccess) return false;
  return ApplyPackageAnswer(body, record);
}

}  // namespace qv::workflow
