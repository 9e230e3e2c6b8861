// A path of a loopback server whose behaviour follows a script, one step per request (the last
// step repeats), so a test can make a service fail a few times and then answer.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "loopback_server.h"

namespace qv::workflow::test {

// Nothing can listen on port 0: a client sent there fails at once with "could not connect".
inline constexpr char kUnreachableUrl[] = "http://127.0.0.1:0/";

enum class Step {
  kUnreachable,  // redirects to kUnreachableUrl, which the client follows and cannot reach
  kAnswer,       // 200 with the script's body
  kHttpError,    // 500
};

// Registers the script on `server` at `path`. `on_request` (optional) is called on the server's
// thread with the 0-based number of each request before it is answered.
inline void ScriptPath(qv::test::LoopbackServer& server, const std::string& path,
                       std::vector<Step> steps, std::string body = "ok",
                       std::function<void(size_t)> on_request = nullptr) {
  auto count = std::make_shared<std::atomic<size_t>>(0);
  server.Handle(path, [count, steps = std::move(steps), body = std::move(body),
                       on_request = std::move(on_request)](const httplib::Request&,
                                                           httplib::Response& response) {
    const size_t index = count->fetch_add(1);
    if (on_request) on_request(index);
    switch (steps[std::min(index, steps.size() - 1)]) {
      case Step::kUnreachable:
        response.set_redirect(kUnreachableUrl, 302);
        break;
      case Step::kAnswer:
        response.status = 200;
        response.set_content(body, "text/plain");
        break;
      case Step::kHttpError:
        response.status = 500;
        response.set_content("error", "text/plain");
        break;
    }
  });
}

}  // namespace qv::workflow::test
