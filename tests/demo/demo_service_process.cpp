#include "demo_service_process.h"

#include <signal.h>

#include <fstream>
#include <map>

namespace qv::test {
namespace {

std::map<std::string, std::string> ReadKeyValues(const std::string& path) {
  std::map<std::string, std::string> values;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (const size_t equals = line.find('='); equals != std::string::npos) {
      values[line.substr(0, equals)] = line.substr(equals + 1);
    }
  }
  return values;
}

}  // namespace

std::string DemoScenarioPath(const std::string& name) {
  return std::string(QV_DEMO_SCENARIO_DIR) + "/" + name + ".json";
}

std::string DemoContentFolder() { return QV_DEMO_CONTENT_DIR; }

DemoServiceProcess::DemoServiceProcess(const std::string& working_folder,
                                       const std::string& scenario,
                                       const DemoServiceOptions& options)
    : content_host_(options.content_host.empty() ? "127.0.0.1" : options.content_host) {
  const std::string ready_file = working_folder + "/service.ready";
  statistics_log_ = working_folder + "/statistics.log";
  const std::string scenario_path =
      scenario.find('/') == std::string::npos ? DemoScenarioPath(scenario) : scenario;
  std::vector<std::string> command{
      QV_DEMO_SERVICE_PATH, "--scenario", scenario_path, "--content",
      options.content.empty() ? DemoContentFolder() : options.content, "--stats-log",
      statistics_log_, "--pki",
      options.pki_folder.empty() ? working_folder + "/pki" : options.pki_folder, "--ready-file",
      ready_file, "--https-port", std::to_string(options.https_port), "--http-port",
      std::to_string(options.http_port), "--probe-port", std::to_string(options.probe_port),
      "--quiet"};
  if (!options.content_host.empty()) {
    command.insert(command.end(), {"--content-host", options.content_host});
  }
  process_ = std::make_unique<ChildProcess>(command);
  // The service prints its first line once every port listens and the ready file is written;
  // a service that fails ends its output instead.
  if (!process_->started() || !process_->ReadLine()) return;
  auto values = ReadKeyValues(ready_file);
  https_port_ = std::stoi(values["https_port"]);
  http_port_ = std::stoi(values["http_port"]);
  probe_port_ = std::stoi(values["probe_port"]);
  ca_certificate_ = values["ca"];
  started_ = https_port_ > 0 && http_port_ > 0;
}

std::string DemoServiceProcess::ContentUrl(const std::string& path) const {
  return "https://" + content_host_ + ":" + std::to_string(https_port_) + path;
}

std::string DemoServiceProcess::HttpUrl(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(http_port_) + path;
}

workflow::ServiceEndpoints DemoServiceProcess::Endpoints() const {
  workflow::ServiceEndpoints endpoints;
  endpoints.api_base_url = ContentUrl("");
  endpoints.stats_base_url = HttpUrl("");
  endpoints.cdn_host = content_host_ + ":" + std::to_string(https_port_);
  endpoints.probe_url = "https://127.0.0.1:" + std::to_string(probe_port_) + "/";
  endpoints.ca_bundle = ca_certificate_;
  return endpoints;
}

int DemoServiceProcess::Stop() {
  process_->Kill(SIGTERM);
  return process_->Wait();
}

}  // namespace qv::test
