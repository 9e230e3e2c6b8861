#include "demo_service.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "common/loopback_pki.h"
#include "common/ranged_file.h"
#include "content_path.h"
#include "util/md5.h"

namespace qv::demo {
namespace {

// Long enough for any demo run; the certificates are made anew at every start.
constexpr int kCertificateValidDays = 30;
constexpr char kPackageAttemptsKey[] = "package query";
constexpr char kGarbageAnswer[] = "<html><body>502 Bad Gateway</body></html>";

std::string HtmlEscaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string ClockText() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[16];
  std::strftime(text, sizeof text, "%H:%M:%S", &local);
  return text;
}

std::shared_ptr<const std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  return std::make_shared<const std::string>(std::istreambuf_iterator<char>(in),
                                             std::istreambuf_iterator<char>());
}

}  // namespace

DemoService::DemoService(DemoServiceSettings settings)
    : settings_(std::move(settings)), statistics_(settings_.statistics_log) {
  const tools::LoopbackPki pki =
      tools::MakeLoopbackPki(settings_.pki_folder, kCertificateValidDays);
  ca_certificate_ = pki.ca_certificate;
  const ScenarioFaults& faults = settings_.scenario.faults;
  const tools::PemFiles& https_pair = faults.wrong_host_certificate ? pki.wrong_host : pki.server;

  https_ = tools::LoopbackServer::StartHttps(https_pair.certificate, https_pair.private_key,
                                             settings_.ports.https);
  http_ = tools::LoopbackServer::StartHttp(settings_.ports.http);
  if (faults.probe_reachable) {
    probe_ = tools::LoopbackServer::StartHttps(pki.server.certificate, pki.server.private_key,
                                               settings_.ports.probe);
  }
  bound_ = {https_->port(), http_->port(), probe_ ? probe_->port() : 0};
  // The answer names content URLs, so it is made once the content host's port is known.
  try {
    answer_text_ = AnswerText(settings_.scenario, content_base_url(), settings_.content_folder);
  } catch (const std::runtime_error& error) {
    throw std::runtime_error(settings_.scenario.file + ": " + error.what());
  }

  for (tools::LoopbackServer* server : {https_.get(), http_.get(), probe_.get()}) {
    if (server) server->SetRecording(false);
  }
  using Request = httplib::Request;
  using Response = httplib::Response;
  https_->Handle(kPackageInfoPath, [this](const Request& request, Response& response) {
    AnswerPackageInfo(request, response);
  });
  https_->HandlePrefix(kContentPathPrefix, [this](const Request& request, Response& response) {
    ServeContent(request, response);
  });
  http_->Handle(kStatisticsPath, [this](const Request& request, Response& response) {
    RecordStatistics(request, response);
  });
  http_->Handle(kGamePagePath, [this](const Request& request, Response& response) {
    ServeGamePage(request, response);
  });
  http_->Handle("/", [this](const Request& request, Response& response) {
    ServeHomePage(request, response);
  });
  if (probe_) {
    probe_->HandlePrefix("/", [this](const Request& request, Response& response) {
      response.set_content("reachable\n", "text/plain");
      Log(request, response);
    });
  }
}

DemoService::~DemoService() {
  // Stop every server before the state its handlers use goes.
  for (tools::LoopbackServer* server : {https_.get(), http_.get(), probe_.get()}) {
    if (server) server->Stop();
  }
}

std::string DemoService::content_base_url() const {
  if (settings_.content_host.empty()) return https_->base_url();
  return "https://" + settings_.content_host + ":" + std::to_string(https_->port());
}

int DemoService::CountAttempt(const std::string& key) {
  std::lock_guard lock(mutex_);
  return ++attempts_[key];
}

void DemoService::Log(const httplib::Request& request, const httplib::Response& response) {
  if (!settings_.log) return;
  std::lock_guard lock(log_mutex_);
  // The library fills in 200 only after the handler returns.
  const int status = response.status == -1 ? 200 : response.status;
  const std::string range = response.get_header_value("Content-Range");
  settings_.log(ClockText() + " " + request.method + " " + request.target + " -> " +
                std::to_string(status) + (range.empty() ? "" : " (" + range + ")"));
}

void DemoService::AnswerPackageInfo(const httplib::Request& request, httplib::Response& response) {
  const ScenarioFaults& faults = settings_.scenario.faults;
  const int attempt = CountAttempt(kPackageAttemptsKey);
  std::string missing;
  for (const char* key : {"code", "lang", "client_id"}) {
    if (!request.has_param(key) || request.get_param_value(key).empty()) {
      missing += missing.empty() ? key : std::string(", ") + key;
    }
  }
  if (faults.redirect_loop) {
    response.set_redirect(request.target, 302);
  } else if (!missing.empty()) {
    response.status = 400;
    response.set_content("{\"code\":400,\"msg\":\"missing " + missing + "\"}", "application/json");
  } else if (attempt <= faults.api_unavailable_attempts) {
    response.status = 503;
    response.set_content("service unavailable (attempt " + std::to_string(attempt) + " of the " +
                             std::to_string(faults.api_unavailable_attempts) + " refused)\n",
                         "text/plain");
  } else if (faults.answer_body == AnswerBody::kGarbage) {
    response.set_content(kGarbageAnswer, "application/json");
  } else if (faults.answer_body == AnswerBody::kTruncated) {
    response.set_content(answer_text_.substr(0, answer_text_.size() / 2), "application/json");
  } else {
    response.set_content(answer_text_, "application/json");
  }
  Log(request, response);
}

void DemoService::ServeContent(const httplib::Request& request, httplib::Response& response) {
  const auto file = ContentFile(settings_.content_folder, request.path);
  const auto bytes = file ? ReadWholeFile(*file) : nullptr;
  if (!bytes || request.method != "GET") {
    response.status = bytes ? 405 : 404;
    response.set_content(bytes ? "only GET\n" : "no such file\n", "text/plain");
    Log(request, response);
    return;
  }
  const ScenarioFaults& faults = settings_.scenario.faults;
  tools::RangedPacing pacing;
  pacing.bytes_per_second = faults.throttle_bytes_per_second;
  pacing.cut_half_way = CountAttempt(request.path) <= faults.drop_download_attempts;
  tools::RangedFile served{bytes->size(),
                           [this, bytes, path = request.path](uint64_t offset, size_t size) {
                             CountServed(path, size);
                             return bytes->substr(offset, size);
                           },
                           "\"" + util::Md5HexOfText(*bytes) + "\"", "", true};
  {
    std::lock_guard lock(mutex_);
    downloads_[request.path].size = bytes->size();
    ++downloads_[request.path].answers;
  }
  tools::AnswerRanged(*https_, request, response, served, pacing);
  Log(request, response);
}

void DemoService::CountServed(const std::string& path, uint64_t bytes) {
  std::lock_guard lock(mutex_);
  downloads_[path].served += bytes;
}

std::vector<std::string> DemoService::DownloadSummary() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> lines;
  for (const auto& [path, download] : downloads_) {
    char ratio[32];
    std::snprintf(ratio, sizeof ratio, "%.2f",
                  download.size == 0 ? 0.0
                                     : static_cast<double>(download.served) /
                                           static_cast<double>(download.size));
    lines.push_back("served " + path + ": " + std::to_string(download.served) + " bytes for " +
                    std::to_string(download.size) + " (" + ratio + " times the archive, " +
                    std::to_string(download.answers) + " answers)");
  }
  return lines;
}

void DemoService::RecordStatistics(const httplib::Request& request, httplib::Response& response) {
  if (request.method != "POST") {
    response.status = 405;
    response.set_content("only POST\n", "text/plain");
  } else if (!statistics_.Append(request.body)) {
    response.status = 500;
    response.set_content("cannot write the statistics log\n", "text/plain");
  } else {
    response.set_content("ok\n", "text/plain");
  }
  Log(request, response);
}

void DemoService::ServeGamePage(const httplib::Request& request, httplib::Response& response) {
  const std::string server_id = request.get_param_value("sid");
  response.set_content(
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Tides of Valoria "
      "III</title></head>"
      "<body><h1>Tides of Valoria III</h1><p>Playing in the browser on server " +
          HtmlEscaped(server_id.empty() ? "(none given)" : server_id) +
          ".</p><p>This page is served by the QVorvane demo platform service.</p></body></html>\n",
      "text/html; charset=utf-8");
  Log(request, response);
}

void DemoService::ServeHomePage(const httplib::Request& request, httplib::Response& response) {
  response.set_content(
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>QVorvane</title></head>"
      "<body><h1>QVorvane</h1><p>The demo platform service plays the scenario \"" +
          HtmlEscaped(settings_.scenario.name) + "\".</p></body></html>\n",
      "text/html; charset=utf-8");
  Log(request, response);
}

}  // namespace qv::demo
