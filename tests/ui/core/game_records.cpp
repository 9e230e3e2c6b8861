#include "game_records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace qv::ui::test {
namespace {

template <size_t N>
void CopyField(char (&field)[N], const std::string& text) {
  std::strncpy(field, text.c_str(), N - 1);
}

}  // namespace

void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

workflow::GameInfo MakeGame(const std::string& name, const std::string& id,
                            const std::string& server_id, const std::string& desc) {
  workflow::GameInfo game;
  CopyField(game.game_name, name);
  CopyField(game.game_id, id);
  CopyField(game.server_id, server_id);
  CopyField(game.desc, desc);
  return game;
}

}  // namespace qv::ui::test
