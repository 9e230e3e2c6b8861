// The package answer, from the body the service sends to the InstallRecord the task keeps.
//
// Beyond "no crash": a refused answer leaves the record as it was; every text field keeps its
// terminating zero; a retried query (the same body applied again) gives the same verdict and the
// same record; nothing after the body's first NUL counts.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fuzz_check.h"
#include "workflow/packages/install_record.h"
#include "workflow/packages/package_answer.h"

namespace {

using qv::workflow::GameInfo;
using qv::workflow::InstallRecord;

template <size_t kSize>
bool SameText(const char (&a)[kSize], const char (&b)[kSize]) {
  return std::memcmp(a, b, kSize) == 0;
}

template <size_t kSize>
bool Terminated(const char (&field)[kSize]) {
  return field[kSize - 1] == '\0';
}

// Field by field: the record has padding, whose bytes no copy is bound to keep.
bool SameRecord(const InstallRecord& a, const InstallRecord& b) {
  const GameInfo& g = a.game;
  const GameInfo& h = b.game;
  return SameText(a.version, b.version) && SameText(a.url, b.url) &&
         SameText(a.url_air, b.url_air) && SameText(a.md5, b.md5) &&
         SameText(a.game_ver, b.game_ver) && a.user_from == b.user_from &&
         a.business_type == b.business_type && a.ver == b.ver && a.ver_air == b.ver_air &&
         a.g_type == b.g_type && g.ver == h.ver && SameText(g.game_id, h.game_id) &&
         SameText(g.game_name, h.game_name) && SameText(g.url, h.url) &&
         SameText(g.desc, h.desc) && SameText(g.server_id, h.server_id);
}

bool AllTerminated(const InstallRecord& r) {
  return Terminated(r.version) && Terminated(r.url) && Terminated(r.url_air) &&
         Terminated(r.md5) && Terminated(r.game_ver) && Terminated(r.game.game_id) &&
         Terminated(r.game.game_name) && Terminated(r.game.url) && Terminated(r.game.desc) &&
         Terminated(r.game.server_id);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);

  const InstallRecord initial;  // the installing task's record before its first query
  InstallRecord record = initial;
  const bool accepted = qv::workflow::ApplyPackageAnswer(body, record);
  QV_FUZZ_CHECK(AllTerminated(record));
  if (!accepted) QV_FUZZ_CHECK(SameRecord(record, initial));

  InstallRecord retried = record;
  QV_FUZZ_CHECK(qv::workflow::ApplyPackageAnswer(body, retried) == accepted);
  QV_FUZZ_CHECK(SameRecord(retried, record));

  if (const size_t nul = body.find('\0'); nul != std::string_view::npos) {
    InstallRecord cut = initial;
    QV_FUZZ_CHECK(qv::workflow::ApplyPackageAnswer(body.substr(0, nul), cut) == accepted);
    QV_FUZZ_CHECK(SameRecord(cut, record));
  }
  return 0;
}
