// The package answer as fixed-size plain records.
//
// InstallRecord and GameInfo hold no pointers, so the installing task, the controller, the
// windows and the statistics reports pass them around as whole copies (each side owns its own
// copy; a copy made on one thread is handed to another under the receiver's lock). Text fields
// are narrow, zero-terminated and hold the answer's UTF-8 bytes unchanged, cut to the field size
// minus one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

namespace qv::workflow {

#pragma pack(push, 1)
struct GameInfo {
  uint8_t ver = 0;            // game package version number, compared with the game bag's record
  char game_id[32] = {};
  char game_name[64] = {};
  char url[512] = {};         // the game bag archive
  char desc[512] = {};
  char server_id[32] = {};
};
#pragma pack(pop)

struct InstallRecord {
  char version[16] = {};      // platform version text
  char url[512] = {};         // platform installer download
  char url_air[512] = {};     // plug-in or game package download
  char md5[33] = {};          // digest of the game package
  char game_ver[16] = {};     // game package version text
  uint8_t user_from = 0;
  uint8_t business_type = 1;  // 1 until the answer says otherwise
  int32_t ver = 0;            // platform build number
  int32_t ver_air = 0;        // plug-in or game package version
  int32_t g_type = -1;        // game type; -1 until the answer says otherwise
  GameInfo game;
};

static_assert(std::is_trivially_copyable_v<GameInfo>);
static_assert(std::is_trivially_copyable_v<InstallRecord>);
static_assert(sizeof(GameInfo) == 1 + 32 + 64 + 512 + 512 + 32, "GameInfo is packed without gaps");

// A text field up to its terminator, never read past the field (a copied record is trusted no
// further than its size).
template <size_t kSize>
std::string FieldText(const char (&field)[kSize]) {
  return std::string(field, strnlen(field, kSize));
}

}  // namespace qv::workflow
