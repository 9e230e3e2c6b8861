#include "scenario.h"

#include <json/reader.h>
#include <json/writer.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <stdexcept>

#include "content_path.h"
#include "util/md5.h"

namespace qv::demo {
namespace {

namespace fs = std::filesystem;

constexpr char kContentPlaceholder[] = "{content}";
constexpr char kDigestPlaceholderStart[] = "{md5:";

[[noreturn]] void Fail(const fs::path& file, const std::string& problem) {
  throw std::runtime_error(file.string() + ": " + problem);
}

Json::Value ParseFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) Fail(file, "cannot be read");
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Json::CharReaderBuilder builder;
  builder["failIfExtra"] = true;
  builder["rejectDupKeys"] = true;
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors)) {
    Fail(file, "not JSON: " + errors);
  }
  if (!root.isObject()) Fail(file, "not a JSON object");
  return root;
}

// Objects are merged member by member; any other value replaces the base's.
void MergeInto(Json::Value& base, const Json::Value& overlay) {
  if (!base.isObject() || !overlay.isObject()) {
    base = overlay;
    return;
  }
  for (const std::string& name : overlay.getMemberNames()) MergeInto(base[name], overlay[name]);
}

int NonNegativeInt(const fs::path& file, const Json::Value& value, const std::string& name) {
  if (!value.isInt() || value.asInt() < 0) Fail(file, name + " must be a whole number >= 0");
  return value.asInt();
}

bool Flag(const fs::path& file, const Json::Value& value, const std::string& name) {
  if (!value.isBool()) Fail(file, name + " must be true or false");
  return value.asBool();
}

void ReadFaults(const fs::path& file, const Json::Value& faults, ScenarioFaults& out) {
  if (!faults.isObject()) Fail(file, "\"faults\" must be an object");
  for (const std::string& name : faults.getMemberNames()) {
    const Json::Value& value = faults[name];
    if (name == "api_unavailable_attempts") {
      out.api_unavailable_attempts = NonNegativeInt(file, value, name);
    } else if (name == "answer_body") {
      const std::string body = value.isString() ? value.asString() : "";
      if (body == "garbage") {
        out.answer_body = AnswerBody::kGarbage;
      } else if (body == "truncated") {
        out.answer_body = AnswerBody::kTruncated;
      } else if (body == "scenario") {
        out.answer_body = AnswerBody::kScenario;
      } else {
        Fail(file, "answer_body must be \"scenario\", \"garbage\" or \"truncated\"");
      }
    } else if (name == "redirect_loop") {
      out.redirect_loop = Flag(file, value, name);
    } else if (name == "wrong_host_certificate") {
      out.wrong_host_certificate = Flag(file, value, name);
    } else if (name == "drop_download_attempts") {
      out.drop_download_attempts = NonNegativeInt(file, value, name);
    } else if (name == "throttle_bytes_per_second") {
      out.throttle_bytes_per_second = static_cast<uint64_t>(NonNegativeInt(file, value, name));
    } else if (name == "probe_reachable") {
      out.probe_reachable = Flag(file, value, name);
    } else {
      Fail(file, "unknown fault \"" + name + "\"");
    }
  }
}

Scenario LoadWithBases(const fs::path& file, std::set<fs::path>& seen) {
  const fs::path canonical = fs::weakly_canonical(file);
  if (!seen.insert(canonical).second) Fail(file, "its bases form a cycle");
  const Json::Value root = ParseFile(file);

  Scenario scenario;
  if (root.isMember("base")) {
    if (!root["base"].isString()) Fail(file, "\"base\" must be a scenario name");
    scenario = LoadWithBases(file.parent_path() / (root["base"].asString() + ".json"), seen);
  }
  scenario.name = file.stem().string();
  if (root.isMember("description")) {
    if (!root["description"].isString()) Fail(file, "\"description\" must be text");
    scenario.description = root["description"].asString();
  }
  if (root.isMember("answer")) MergeInto(scenario.answer, root["answer"]);
  if (root.isMember("faults")) ReadFaults(file, root["faults"], scenario.faults);
  for (const std::string& name : root.getMemberNames()) {
    if (name != "base" && name != "description" && name != "answer" && name != "faults") {
      Fail(file, "unknown member \"" + name + "\"");
    }
  }
  if (scenario.answer.isNull()) Fail(file, "no \"answer\"");
  return scenario;
}

std::string ContentDigest(const std::string& content_folder, const std::string& relative) {
  const auto file = ContentFile(content_folder, relative);
  uint8_t digest[util::kMd5DigestSize];
  if (!file || !util::Md5File(digest, file->string())) {
    throw std::runtime_error("{md5:" + relative + "} names no file of " + content_folder);
  }
  char hex[util::kMd5HexSize];
  util::Md5Hex(digest, hex);
  return hex;
}

std::string Substituted(std::string text, const std::string& content_base_url,
                        const std::string& content_folder) {
  for (size_t at = text.find(kContentPlaceholder); at != std::string::npos;
       at = text.find(kContentPlaceholder, at + content_base_url.size())) {
    text.replace(at, sizeof kContentPlaceholder - 1, content_base_url);
  }
  for (size_t at = text.find(kDigestPlaceholderStart); at != std::string::npos;
       at = text.find(kDigestPlaceholderStart, at)) {
    const size_t end = text.find('}', at);
    if (end == std::string::npos) throw std::runtime_error("unterminated {md5: in " + text);
    const size_t start = at + sizeof kDigestPlaceholderStart - 1;
    text.replace(at, end + 1 - at, ContentDigest(content_folder, text.substr(start, end - start)));
  }
  return text;
}

void SubstituteAll(Json::Value& value, const std::string& content_base_url,
                   const std::string& content_folder) {
  if (value.isString()) {
    value = Substituted(value.asString(), content_base_url, content_folder);
  } else if (value.isObject()) {
    for (const std::string& name : value.getMemberNames()) {
      SubstituteAll(value[name], content_base_url, content_folder);
    }
  } else if (value.isArray()) {
    for (Json::Value& item : value) SubstituteAll(item, content_base_url, content_folder);
  }
}

}  // namespace

Scenario LoadScenario(const std::string& path) {
  std::set<fs::path> seen;
  Scenario scenario = LoadWithBases(path, seen);
  scenario.file = path;
  return scenario;
}

std::string AnswerText(const Scenario& scenario, const std::string& content_base_url,
                       const std::string& content_folder) {
  Json::Value answer = scenario.answer;
  SubstituteAll(answer, content_base_url, content_folder);
  Json::StreamWriterBuilder writer;
  writer["indentation"] = "";
  writer["emitUTF8"] = true;
  return Json::writeString(writer, answer);
}

}  // namespace qv::demo
