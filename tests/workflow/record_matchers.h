// Field-by-field comparison of InstallRecords (the record has padding, so bytes do not compare).
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "workflow/packages/install_record.h"

namespace qv::workflow {

inline void ExpectSameRecord(const InstallRecord& actual, const InstallRecord& expected) {
  EXPECT_EQ(FieldText(actual.version), FieldText(expected.version));
  EXPECT_EQ(FieldText(actual.url), FieldText(expected.url));
  EXPECT_EQ(FieldText(actual.url_air), FieldText(expected.url_air));
  EXPECT_EQ(FieldText(actual.md5), FieldText(expected.md5));
  EXPECT_EQ(FieldText(actual.game_ver), FieldText(expected.game_ver));
  EXPECT_EQ(actual.user_from, expected.user_from);
  EXPECT_EQ(actual.business_type, expected.business_type);
  EXPECT_EQ(actual.ver, expected.ver);
  EXPECT_EQ(actual.ver_air, expected.ver_air);
  EXPECT_EQ(actual.g_type, expected.g_type);
  EXPECT_EQ(actual.game.ver, expected.game.ver);
  EXPECT_EQ(FieldText(actual.game.game_id), FieldText(expected.game.game_id));
  EXPECT_EQ(FieldText(actual.game.game_name), FieldText(expected.game.game_name));
  EXPECT_EQ(FieldText(actual.game.url), FieldText(expected.game.url));
  EXPECT_EQ(FieldText(actual.game.desc), FieldText(expected.game.desc));
  EXPECT_EQ(FieldText(actual.game.server_id), FieldText(expected.game.server_id));
}

template <size_t kSize>
void SetField(char (&field)[kSize], const std::string& text) {
  ASSERT_LT(text.size(), kSize);
  std::memset(field, 0, kSize);
  std::memcpy(field, text.data(), text.size());
}

}  // namespace qv::workflow
