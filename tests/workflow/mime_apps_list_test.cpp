#include "workflow/registration/mime_apps_list.h"

#include <gtest/gtest.h>

namespace qv::workflow {
namespace {

constexpr char kMime[] = "x-scheme-handler/qvorvane";
constexpr char kOurs[] = "com.qvorvane.ClientLink.desktop";

struct MergeCase {
  const char* what;
  const char* before;
  const char* after;
};

TEST(MimeAppsListTest, OurDefaultIsSetAndEveryOtherLineKept) {
  const MergeCase cases[] = {
      {"no file yet", "", "[Default Applications]\nx-scheme-handler/qvorvane=com.qvorvane.ClientLink.desktop;\n"},
      {"our key replaced in place, other lines and comments kept",
       "# mine\n[Default Applications]\ntext/html=firefox.desktop;\n"
       "x-scheme-handler/qvorvane=other.desktop;\nimage/png=eog.desktop;\n\n"
       "[Added Associations]\nx-scheme-handler/qvorvane=other.desktop;\n",
       "# mine\n[Default Applications]\ntext/html=firefox.desktop;\n"
       "x-scheme-handler/qvorvane=com.qvorvane.ClientLink.desktop;\nimage/png=eog.desktop;\n\n"
       "[Added Associations]\nx-scheme-handler/qvorvane=other.desktop;\n"},
      {"key missing: added after the group's last key, before the blank line",
       "[Default Applications]\ntext/html=firefox.desktop;\n\n[Removed Associations]\na/b=c;\n",
       "[Default Applications]\ntext/html=firefox.desktop;\n"
       "x-scheme-handler/qvorvane=com.qvorvane.ClientLink.desktop;\n\n"
       "[Removed Associations]\na/b=c;\n"},
      {"group missing, last line without its end",
       "[Added Associations]\ntext/html=firefox.desktop;",
       "[Added Associations]\ntext/html=firefox.desktop;\n\n[Default Applications]\n"
       "x-scheme-handler/qvorvane=com.qvorvane.ClientLink.desktop;\n"},
      {"a second line of our key is dropped, blanks around the key tolerated",
       "[Default Applications]\n x-scheme-handler/qvorvane = a.desktop;\n"
       "x-scheme-handler/qvorvane=b.desktop;\n",
       "[Default Applications]\nx-scheme-handler/qvorvane=com.qvorvane.ClientLink.desktop;\n"},
      {"CRLF lines keep their ends, a new line takes them too",
       "[Default Applications]\r\ntext/html=firefox.desktop;\r\n",
       "[Default Applications]\r\ntext/html=firefox.desktop;\r\n"
       "x-scheme-handler/qvorvane=com.qvorvane.ClientLink.desktop;\r\n"},
      {"a look-alike key in a comment is not ours; a group without keys gets ours first",
       "[Default Applications]\n#x-scheme-handler/qvorvane=a.desktop;\n",
       "[Default Applications]\nx-scheme-handler/qvorvane=com.qvorvane.ClientLink.desktop;\n"
       "#x-scheme-handler/qvorvane=a.desktop;\n"},
  };
  for (const MergeCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string once = SetDefaultApplication(c.before, kMime, kOurs);
    EXPECT_EQ(once, c.after);
    EXPECT_EQ(SetDefaultApplication(once, kMime, kOurs), once) << "a second run changes nothing";
  }
}

TEST(MimeAppsListTest, RemovingTakesOnlyOurNameOut) {
  const MergeCase cases[] = {
      {"our line goes",
       "[Default Applications]\ntext/html=firefox.desktop;\n"
       "x-scheme-handler/qvorvane=com.qvorvane.ClientLink.desktop;\n",
       "[Default Applications]\ntext/html=firefox.desktop;\n"},
      {"other names on the line stay",
       "[Default Applications]\nx-scheme-handler/qvorvane=a.desktop;com.qvorvane.ClientLink.desktop;b.desktop\n",
       "[Default Applications]\nx-scheme-handler/qvorvane=a.desktop;b.desktop;\n"},
      {"a default chosen by the user since stays",
       "[Default Applications]\nx-scheme-handler/qvorvane=other.desktop;\n",
       "[Default Applications]\nx-scheme-handler/qvorvane=other.desktop;\n"},
      {"other groups are not touched",
       "[Added Associations]\nx-scheme-handler/qvorvane=com.qvorvane.ClientLink.desktop;\n",
       "[Added Associations]\nx-scheme-handler/qvorvane=com.qvorvane.ClientLink.desktop;\n"},
  };
  for (const MergeCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(RemoveDefaultApplication(c.before, kMime, kOurs), c.after);
  }
}

}  // namespace
}  // namespace qv::workflow
