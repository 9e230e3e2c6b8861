#include "workflow/registration/string_value_writer.h"

#include <gtest/gtest.h>

#include "registry_machine.h"
#include "util/text_conversion.h"

namespace qv::workflow {
namespace {

using platform::RegistryRoot;

class StringValueWriterTest : public test::RegistryMachineTest {};

TEST_F(StringValueWriterTest, TextsUpTo511UnitsAreStoredLongerOnesLeaveTheOldValue) {
  platform::RegistryKey key;
  ASSERT_EQ(store_.CreateKey(RegistryRoot::kCurrentUser, "Software\\test",
                             platform::key_access::kAll, key),
            platform::RegistryStatus::kOk);
  const std::u16string longest(511, u'я');  // two UTF-8 bytes each: the limit counts UTF-16
  EXPECT_TRUE(WriteStringValue(key, u"path", longest));
  EXPECT_EQ(Value(RegistryRoot::kCurrentUser, "Software\\test", "path"),
            util::WideToUtf8(longest));
  EXPECT_FALSE(WriteStringValue(key, u"path", longest + u"я"));
  EXPECT_EQ(Value(RegistryRoot::kCurrentUser, "Software\\test", "path"),
            util::WideToUtf8(longest));
  EXPECT_TRUE(WriteStringValue(key, u"", u""));
  EXPECT_EQ(Value(RegistryRoot::kCurrentUser, "Software\\test", ""), "");

  platform::RegistryKey read_only;
  ASSERT_EQ(store_.OpenKey(RegistryRoot::kCurrentUser, "Software\\test",
                           platform::key_access::kRead, read_only),
            platform::RegistryStatus::kOk);
  EXPECT_FALSE(WriteStringValue(read_only, u"path", u"x"));
}

}  // namespace
}  // namespace qv::workflow
