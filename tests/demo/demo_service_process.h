// The demo platform service as a real process for one test: started with a scenario on free
// ports of 127.0.0.1, its certificates and statistics log inside the test's temporary root,
// killed when the object goes. Create it after the test's TempRoot.
#pragma once

#include <memory>
#include <string>

#include "child_process.h"
#include "workflow/service/service_endpoints.h"

namespace qv::test {

struct DemoServiceOptions {
  std::string content;     // the content folder; the build's when empty
  std::string pki_folder;  // where the service makes its certificates; working folder + "/pki"
                           // when empty
  int https_port = 0;      // 0: any free port
  int http_port = 0;
  int probe_port = 0;
  std::string content_host;  // the host the answer's content URLs name; 127.0.0.1 when empty
};

class DemoServiceProcess {
 public:
  // `scenario` is a file name below the committed scenarios (without ".json") or a path.
  // Check started() before use.
  DemoServiceProcess(const std::string& working_folder, const std::string& scenario,
                     const DemoServiceOptions& options = {});

  bool started() const { return started_; }
  int https_port() const { return https_port_; }
  int http_port() const { return http_port_; }
  int probe_port() const { return probe_port_; }  // 0 when the scenario closes it
  const std::string& ca_certificate() const { return ca_certificate_; }
  const std::string& statistics_log() const { return statistics_log_; }

  std::string ContentUrl(const std::string& path) const;  // the service content base (scheme, content host and port) + path
  std::string HttpUrl(const std::string& path) const;     // http://127.0.0.1:PORT + path
  // Endpoints of the installer's workflow pointed at this service.
  workflow::ServiceEndpoints Endpoints() const;

  // Stops the service as a user would (SIGTERM) and returns its exit code.
  int Stop();

 private:
  std::unique_ptr<ChildProcess> process_;
  bool started_ = false;
  int https_port_ = 0;
  int http_port_ = 0;
  int probe_port_ = 0;
  std::string content_host_;
  std::string ca_certificate_;
  std::string statistics_log_;
};

// The committed scenario file of that name.
std::string DemoScenarioPath(const std::string& name);
// The build's content folder.
std::string DemoContentFolder();

}  // namespace qv::test
