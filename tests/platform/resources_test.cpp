#include "platform/resources.h"

#include <gtest/gtest.h>

#include <string>

namespace qv::platform {
namespace {

std::string AsText(std::span<const unsigned char> bytes) {
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

TEST(ResourcesTest, FindResourceReturnsTheEmbeddedBytes) {
  EXPECT_EQ(AsText(FindResource(131)), "Hello, resources.\n");

  const auto all_bytes = FindResource(65535);
  ASSERT_EQ(all_bytes.size(), 768u);
  for (size_t i = 0; i < all_bytes.size(); ++i) ASSERT_EQ(all_bytes[i], i % 256) << i;
}

TEST(ResourcesTest, UnknownIdsGiveNoBytes) {
  for (int id : {0, 1, 130, 132, 65534, 65536, -131}) EXPECT_TRUE(FindResource(id).empty()) << id;
}

}  // namespace
}  // namespace qv::platform
