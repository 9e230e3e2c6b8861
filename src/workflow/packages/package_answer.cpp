#include "workflow/packages/package_answer.h"

#include <json/json.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

#include "platform/utf8_text.h"

namespace qv::workflow {
namespace {

// Members are looked up through const access only: a non-const operator[] would insert the key,
// and jsoncpp throws when a member is looked up on something that is not an object.
const Json::Value* Member(const Json::Value& object, const char* key) {
  if (!object.isObject()) return nullptr;
  return object.find(key, key + std::strlen(key));
}

// An integer token within the signed 32-bit range. A real number (even 3.0) is not an integer
// here, and a larger integer counts as a value of the wrong type.
bool IsInt32(const Json::Value& value) {
  return (value.type() == Json::intValue || value.type() == Json::uintValue) && value.isInt();
}

template <size_t kSize>
void StoreText(const Json::Value& object, const char* key, char (&field)[kSize]) {
  const Json::Value* value = Member(object, key);
  if (value == nullptr || !value->isString()) return;
  const char* begin = nullptr;
  const char* end = nullptr;
  value->getString(&begin, &end);
  // The field keeps its terminating zero; text ends at its first NUL, as a C string does, and a
  // text too long for the field is cut after its last whole character.
  std::string_view text(begin, static_cast<size_t>(end - begin));
  text = text.substr(0, text.find('\0'));
  const size_t length = platform::Utf8Prefix(text, kSize - 1).size();
  std::memset(field, 0, kSize);
  std::memcpy(field, begin, length);
}

template <typename Field>
void StoreDecimalText(const Json::Value& object, const char* key, Field& field) {
  const Json::Value* value = Member(object, key);
  if (value == nullptr || !value->isString()) return;
  // The 8-bit fields keep the low 8 bits, as a plain assignment in the original does.
  field = static_cast<Field>(DecimalTextValue(value->asString()));
}

void StoreGame(const Json::Value& game, GameInfo& info) {
  StoreText(game, "game_name", info.game_name);
  StoreText(game, "game_id", info.game_id);
  StoreText(game, "server_id", info.server_id);
  StoreText(game, "url", info.url);
  StoreText(game, "desc", info.desc);
  if (const Json::Value* ver = Member(game, "ver"); ver != nullptr && IsInt32(*ver)) {
    info.ver = static_cast<uint8_t>(ver->asInt());
  }
}

void StoreGameVersions(const Json::Value& versions, InstallRecord& record) {
  StoreDecimalText(versions, "ver_code", record.ver_air);
  StoreText(versions, "ver", record.game_ver);
  StoreText(versions, "game_id", record.game.game_id);
  StoreText(versions, "download_url", record.url_air);
  StoreText(versions, "md5", record.md5);
  if (const Json::Value* type = Member(versions, "g_type"); type != nullptr) {
    if (IsInt32(*type)) {
      record.g_type = type->asInt();
    } else if (type->isString()) {
      record.g_type = DecimalTextValue(type->asString());
    }
  }
}

void StoreData(const Json::Value& data, InstallRecord& record) {
  StoreText(data, "version", record.version);
  StoreDecimalText(data, "ver", record.ver);
  StoreText(data, "url", record.url);
  StoreDecimalText(data, "ver_air", record.ver_air);
  StoreText(data, "url_air", record.url_air);
  StoreDecimalText(data, "user_from", record.user_from);
  StoreDecimalText(data, "business_type", record.business_type);
  if (const Json::Value* game = Member(data, "game"); game != nullptr && game->isObject()) {
    StoreGame(*game, record.game);
  }
  if (const Json::Value* versions = Member(data, "game_vers");
      versions != nullptr && versions->isObject()) {
    StoreGameVersions(*versions, record);
  }
}

bool ParseDocument(std::string_view text, Json::Value& root) {
  Json::CharReaderBuilder builder;
  builder["stackLimit"] = kPackageAnswerMaxDepth;
  builder["collectComments"] = false;
  const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  std::string errors;
  try {
    return reader->parse(text.data(), text.data() + text.size(), &root, &errors);
  } catch (const std::exception&) {
    // The reader throws past its depth limit; such a document is simply not an answer.
    return false;
  }
}

}  // namespace

int32_t DecimalTextValue(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    magnitude = std::min(magnitude * 10 + (text[at] - '0'), kLimit);
  }
  if (negative) return static_cast<int32_t>(-magnitude);
  return static_cast<int32_t>(std::min<int64_t>(magnitude, std::numeric_limits<int32_t>::max()));
}

bool ApplyPackageAnswer(std::string_view body, InstallRecord& record) {
  const std::string_view text = body.substr(0, body.find('\0'));
  Json::Value root;
  if (!ParseDocument(text, root) || !root.isObject()) return false;
  const Json::Value* code = Member(root, "code");
  if (code == nullptr || !IsInt32(*code) || code->asInt() != 0) return false;
  const Json::Value* data = Member(root, "data");
  if (data != nullptr && data->isObject()) StoreData(*data, record);
  return true;
}

}  // namespace qv::workflow
