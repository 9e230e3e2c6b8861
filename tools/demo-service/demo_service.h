// The demo platform service: every peer of the installer on 127.0.0.1, playing one scenario.
//
//   HTTPS  the web API "/api/micro/packageInfo" (the scenario's answer, after checking that
//          code, lang and client_id arrived) and the content host (every file of the content
//          folder below "/qvorvane/", with byte ranges and an ETag made from the file's MD5
//          digest), with a certificate of the service's own CA;
//   HTTP   the statistics service "/client/install" (each POST body one line of the log), the
//          featured game's page "/game/?sid=..." and the platform's home page "/";
//   HTTPS  the connectivity probe's target "/" on a port of its own, closed when the scenario
//          has no Internet.
//
// Thread model: created, started and destroyed on the service's main thread; the handlers run
// on the servers' worker threads and share only the attempt and download counters (under the
// object's mutex)
// and the statistics log (which locks itself). The destructor stops the servers first.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/loopback_server.h"
#include "scenario.h"
#include "statistics_log.h"

namespace qv::demo {

inline constexpr char kPackageInfoPath[] = "/api/micro/packageInfo";
inline constexpr char kStatisticsPath[] = "/client/install";
inline constexpr char kContentPathPrefix[] = "/qvorvane/";
inline constexpr char kGamePagePath[] = "/game/";

struct DemoServicePorts {
  int https = 0;  // web API and content host; 0 takes a free port
  int http = 0;   // statistics, game page, home page
  int probe = 0;  // connectivity probe target
};

struct DemoServiceSettings {
  Scenario scenario;
  std::string content_folder;  // holds "qvorvane/repository/..."
  std::string statistics_log;  // the statistics log file
  std::string pki_folder;      // a fresh CA and certificates are written here at start
  DemoServicePorts ports;
  // The host the answer's content URLs name; empty: the address the HTTPS server gives
  // (127.0.0.1). A Windows installer asks for "localhost", its TLS matching names only.
  std::string content_host;
  // One line per request answered (method, path, query, status); null: quiet. Called from the
  // worker threads, one call at a time.
  std::function<void(const std::string&)> log;
};

class DemoService {
 public:
  // Makes the certificates, binds every port and serves. Throws std::runtime_error when a port
  // is taken, a file cannot be read or the scenario's answer names a missing content file.
  explicit DemoService(DemoServiceSettings settings);
  ~DemoService();
  DemoService(const DemoService&) = delete;
  DemoService& operator=(const DemoService&) = delete;

  // The ports actually bound; probe is 0 while the probe target is unreachable.
  DemoServicePorts ports() const { return bound_; }
  // The CA that signed the HTTPS certificates (PEM file path).
  const std::string& ca_certificate() const { return ca_certificate_; }
  // The HTTPS scheme, the content host (127.0.0.1 unless one was named) and the HTTPS port: the
  // base of every content URL in the answer.
  std::string content_base_url() const;
  // One line per content file asked for: the body bytes sent for it (a continued download's
  // answers count only what they sent) against the file's size, and the answers given.
  std::vector<std::string> DownloadSummary() const;

 private:
  struct ServedDownload {
    uint64_t size = 0;
    uint64_t served = 0;
    int answers = 0;
  };

  void AnswerPackageInfo(const httplib::Request& request, httplib::Response& response);
  void ServeContent(const httplib::Request& request, httplib::Response& response);
  void RecordStatistics(const httplib::Request& request, httplib::Response& response);
  void ServeGamePage(const httplib::Request& request, httplib::Response& response);
  void ServeHomePage(const httplib::Request& request, httplib::Response& response);
  // How many times `key` was asked for before, counting this time (1 the first time).
  int CountAttempt(const std::string& key);
  void CountServed(const std::string& path, uint64_t bytes);
  void Log(const httplib::Request& request, const httplib::Response& response);

  const DemoServiceSettings settings_;
  std::string ca_certificate_;
  std::string answer_text_;  // the scenario's answer with its placeholders filled in
  StatisticsLog statistics_;
  DemoServicePorts bound_;

  mutable std::mutex mutex_;
  std::map<std::string, int> attempts_;              // guarded by mutex_
  std::map<std::string, ServedDownload> downloads_;  // guarded by mutex_
  std::mutex log_mutex_;                 // one log line at a time

  // Last, so that they stop (in the destructor) before anything their handlers use goes.
  std::unique_ptr<tools::LoopbackServer> https_;
  std::unique_ptr<tools::LoopbackServer> http_;
  std::unique_ptr<tools::LoopbackServer> probe_;
};

}  // namespace qv::demo
