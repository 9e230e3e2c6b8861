// A demo scenario: the package answer the web API gives and the faults the service plays, read
// from a JSON file of tools/demo-service/scenarios when the service starts.
//
// File shape (every member optional except where noted):
//   "description": text shown when the service starts,
//   "base": name of another scenario file in the same folder whose answer and faults this one
//           starts from (its own "answer" is merged into the base's member by member, its
//           "faults" replace the base's one by one),
//   "answer": the package answer (required unless a base gives one), any JSON; in its texts
//           "{content}" becomes the content host's base URL and "{md5:PATH}" the digest of the
//           content file PATH,
//   "faults": {
//     "api_unavailable_attempts": N   the first N package queries answer 503,
//     "answer_body": "garbage" | "truncated"   the package answer is not JSON / cut in half,
//     "redirect_loop": true            the package query redirects to itself, for ever,
//     "wrong_host_certificate": true   the HTTPS host shows a certificate for another host,
//     "drop_download_attempts": N      the first N answers for each archive stop half-way
//                                      through what they send (a continued download too),
//     "throttle_bytes_per_second": N   downloads are sent at most this fast,
//     "probe_reachable": false         the connectivity probe's port is closed
//   }
// Immutable once loaded; read from every server thread.
#pragma once

#include <json/value.h>

#include <cstdint>
#include <string>

namespace qv::demo {

enum class AnswerBody { kScenario, kGarbage, kTruncated };

struct ScenarioFaults {
  int api_unavailable_attempts = 0;
  AnswerBody answer_body = AnswerBody::kScenario;
  bool redirect_loop = false;
  bool wrong_host_certificate = false;
  int drop_download_attempts = 0;
  uint64_t throttle_bytes_per_second = 0;  // 0: unthrottled
  bool probe_reachable = true;
};

struct Scenario {
  std::string file;  // the scenario file given
  std::string name;  // its name without ".json"
  std::string description;
  Json::Value answer;
  ScenarioFaults faults;
};

// Reads `path` (and its bases). Throws std::runtime_error naming the file and the problem: not
// JSON, a member of the wrong type, an unknown fault, a missing answer, a cycle of bases.
Scenario LoadScenario(const std::string& path);

// The answer's text for the running service: placeholders replaced (see above). Throws
// std::runtime_error for a "{md5:...}" whose file cannot be read or lies outside the folder.
std::string AnswerText(const Scenario& scenario, const std::string& content_base_url,
                       const std::string& content_folder);

}  // namespace qv::demo
