#include "transfer/memory_body.h"

#include <gtest/gtest.h>

#include <string>

namespace qv::transfer {
namespace {

TEST(MemoryBodyTest, GrowsInStepsOfAtLeastTheMinimumAndKeepsEveryByte) {
  MemoryBody body;
  EXPECT_EQ(body.capacity(), 0u);
  const std::string small(100, 'a');
  ASSERT_TRUE(body.Append(small.data(), small.size()));
  EXPECT_EQ(body.capacity(), MemoryBody::kGrowthStep);  // first use

  std::string expected = small;
  uint32_t previous_capacity = body.capacity();
  for (int i = 0; i < 200; ++i) {
    const std::string chunk(1000 + i * 37, static_cast<char>('b' + i % 20));
    ASSERT_TRUE(body.Append(chunk.data(), chunk.size()));
    expected += chunk;
    if (body.capacity() != previous_capacity) {
      EXPECT_GE(body.capacity() - previous_capacity, MemoryBody::kGrowthStep);
      previous_capacity = body.capacity();
    }
  }
  EXPECT_EQ(body.bytes(), expected);
  body.Clear();
  EXPECT_EQ(body.capacity(), 0u);
  EXPECT_TRUE(body.bytes().empty());
}

TEST(MemoryBodyTest, HoldsUpToTheCeilingAndNoMore) {
  constexpr uint32_t kCeiling = 50'000;
  MemoryBody body(kCeiling);
  const std::string chunk(16'384, 'x');
  uint32_t held = 0;
  while (held + chunk.size() <= kCeiling) {
    ASSERT_TRUE(body.Append(chunk.data(), chunk.size()));
    held += chunk.size();
  }
  const std::string rest(kCeiling - held, 'y');
  ASSERT_TRUE(body.Append(rest.data(), rest.size()));
  EXPECT_EQ(body.bytes().size(), kCeiling);
  EXPECT_FALSE(body.truncated());

  EXPECT_FALSE(body.Append("z", 1));
  EXPECT_TRUE(body.truncated());
  EXPECT_EQ(body.bytes().size(), kCeiling);
  EXPECT_LE(body.capacity(), kCeiling);
}

}  // namespace
}  // namespace qv::transfer
