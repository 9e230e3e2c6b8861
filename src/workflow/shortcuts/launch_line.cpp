#include "workflow/shortcuts/launch_line.h"

#include <cstddef>
#include <cstdint>

#include "platform/utf8_text.h"
#include "util/text_conversion.h"
#include "workflow/shortcuts/base64_coding.h"

namespace qv::workflow {
namespace {

// The client reads the name from a 64-byte field with its terminator.
constexpr size_t kMaxGameNameBytes = 63;

}  // namespace

std::u16string BuildLaunchArguments(const InstallRecord& record, std::string_view code) {
  std::u16string line;
  const std::string name(
      platform::Utf8Prefix(FieldText(record.game.game_name), kMaxGameNameBytes));
  if (!name.empty()) {
    char encoded[kBase64OutputSize] = {};
    CBase64Coding coding;
    if (coding.Base64Encode(reinterpret_cast<const uint8_t*>(name.data()), name.size(),
                            encoded)) {
      line += u" /startgame=";
      line += util::AnsiToWide(encoded);
    }
  }
  const std::string game_id = FieldText(record.game.game_id);
  if (!game_id.empty()) {
    line += u" /game_id=";
    line += util::AnsiToWide(game_id);
  }
  if (!code.empty()) {
    line += u" /flag=";
    line += util::AnsiToWide(code);
  }
  line += u" /user_frome=";
  line += util::AnsiToWide(std::to_string(static_cast<int>(record.user_from)));
  return line;
}

}  // namespace qv::workflow
