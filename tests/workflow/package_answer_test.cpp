// The package answer: which documents are accepted and what each member stores.
#include "workflow/packages/package_answer.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "record_matchers.h"

namespace qv::workflow {
namespace {

using Change = std::function<void(InstallRecord&)>;

struct AnswerCase {
  const char* name;
  std::string document;
  bool accepted;
  Change expected_change;  // applied to a fresh record; null: the record stays as it was
};

std::string Nested(int depth) { return std::string(depth, '[') + std::string(depth, ']'); }

const char kFullDocument[] = R"({"code":0,"data":{
  "version":"3.2.1","ver":"45","url":"https://cdn/qvorvane/repository/install/p.zip",
  "ver_air":"7","url_air":"https://cdn/air.zip","user_from":"2","business_type":"3",
  "game":{"game_name":"Tales","game_id":"tov3","server_id":"s9","url":"https://cdn/bag.zip",
          "desc":"A game.","ver":4}}})";

void FullDocumentChange(InstallRecord& r) {
  SetField(r.version, "3.2.1");
  r.ver = 45;
  SetField(r.url, "https://cdn/qvorvane/repository/install/p.zip");
  r.ver_air = 7;
  SetField(r.url_air, "https://cdn/air.zip");
  r.user_from = 2;
  r.business_type = 3;
  SetField(r.game.game_name, "Tales");
  SetField(r.game.game_id, "tov3");
  SetField(r.game.server_id, "s9");
  SetField(r.game.url, "https://cdn/bag.zip");
  SetField(r.game.desc, "A game.");
  r.game.ver = 4;
}

std::vector<AnswerCase> Cases() {
  const std::string long_text(600, 'x');
  return {
      {"only code 0 keeps the initial values", R"({"code":0})", true, [](InstallRecord&) {}},
      {"code as text", R"({"code":"0","data":{"version":"9"}})", false, nullptr},
      {"code 1", R"({"code":1,"data":{"version":"9"}})", false, nullptr},
      {"code missing", R"({"data":{"version":"9"}})", false, nullptr},
      {"code as a real number", R"({"code":0.0})", false, nullptr},
      {"code beyond 32 bits", R"({"code":4294967296})", false, nullptr},
      {"array root", R"([{"code":0}])", false, nullptr},
      {"not JSON", "<html>502 Bad Gateway</html>", false, nullptr},
      {"empty body", "", false, nullptr},
      {"truncated document", R"({"code":0,"data":{"version":"9")", false, nullptr},
      {"deeply nested garbage", Nested(100'000), false, nullptr},
      {"deep nesting inside an accepted answer", R"({"code":0,"data":)" + Nested(5'000) + "}",
       false, nullptr},
      {"text after a NUL is not read", std::string(R"({"code":0})") + '\0' + "garbage", true,
       [](InstallRecord&) {}},
      {"data not an object changes nothing", R"({"code":0,"data":["version","9"]})", true,
       [](InstallRecord&) {}},
      {"every member of data and game", kFullDocument, true, FullDocumentChange},
      {"game_vers overrides url_air, ver_air and game_id",
       R"({"code":0,"data":{"ver_air":"7","url_air":"old","game":{"game_id":"old"},
           "game_vers":{"ver_code":"12","ver":"1.0.3","game_id":"tov3b","download_url":"new",
                        "md5":"0123456789abcdef0123456789abcdef","g_type":2}}})",
       true,
       [](InstallRecord& r) {
         r.ver_air = 12;
         SetField(r.url_air, "new");
         SetField(r.game.game_id, "tov3b");
         SetField(r.game_ver, "1.0.3");
         SetField(r.md5, "0123456789abcdef0123456789abcdef");
         r.g_type = 2;
       }},
      {"text is cut at the field sizes",
       R"({"code":0,"data":{"version":"12345678901234567890","url":")" + long_text +
           R"(","game":{"game_id":")" + long_text + R"(","game_name":")" + long_text +
           R"("},"game_vers":{"md5":")" + long_text + R"(","ver":")" + long_text + R"("}}})",
       true,
       [long_text](InstallRecord& r) {
         SetField(r.version, "123456789012345");
         SetField(r.url, long_text.substr(0, 511));
         SetField(r.game.game_id, long_text.substr(0, 31));
         SetField(r.game.game_name, long_text.substr(0, 63));
         SetField(r.md5, long_text.substr(0, 32));
         SetField(r.game_ver, long_text.substr(0, 15));
       }},
      {"a cut keeps whole characters",
       // 62 bytes, then a three-byte character that would end one byte past the field
       R"({"code":0,"data":{"game":{"game_name":")" + std::string(62, 'n') +
           "\xE2\x85\xA2" + R"(","desc":")" + std::string(510, 'd') + "\xC3\xA9" +
           R"(","game_id":")" + std::string(27, 'i') + "\xF0\x9F\x98\x80" + R"("}}})",
       true,
       [](InstallRecord& r) {
         SetField(r.game.game_name, std::string(62, 'n'));
         SetField(r.game.desc, std::string(510, 'd'));
         SetField(r.game.game_id, std::string(27, 'i') + "\xF0\x9F\x98\x80");  // fits exactly
       }},
      {"game.ver keeps its low 8 bits", R"({"code":0,"data":{"game":{"ver":259}}})", true,
       [](InstallRecord& r) { r.game.ver = 3; }},
      {"game.ver as text is ignored", R"({"code":0,"data":{"game":{"ver":"3"}}})", true,
       [](InstallRecord&) {}},
      {"g_type as text", R"({"code":0,"data":{"game_vers":{"g_type":"2"}}})", true,
       [](InstallRecord& r) { r.g_type = 2; }},
      {"g_type as a real number or beyond 32 bits is ignored",
       R"({"code":0,"data":{"game_vers":{"g_type":2.5},"game":{"ver":4294967296}}})", true,
       [](InstallRecord&) {}},
      {"numbers where text is expected are ignored",
       R"({"code":0,"data":{"version":3,"ver":45,"user_from":3,"business_type":3,"url":true,
           "game":{"game_id":7},"game_vers":{"ver_code":12,"md5":null}}})",
       true, [](InstallRecord&) {}},
      {"game and game_vers that are not objects are skipped",
       R"({"code":0,"data":{"game":"tov3","game_vers":[1],"version":"1.0"}})", true,
       [](InstallRecord& r) { SetField(r.version, "1.0"); }},
      {"decimal text is read like atoi",
       R"({"code":0,"data":{"ver":" 42abc","ver_air":"-7","user_from":"300","business_type":"x",
           "game_vers":{"g_type":"99999999999"}}})",
       true,
       [](InstallRecord& r) {
         r.ver = 42;
         r.ver_air = -7;
         r.user_from = 300 & 0xFF;
         r.business_type = 0;
         r.g_type = std::numeric_limits<int32_t>::max();
       }},
      {"text with an embedded NUL ends there", R"({"code":0,"data":{"version":"3.2\u00001"}})",
       true, [](InstallRecord& r) { SetField(r.version, "3.2"); }},
  };
}

TEST(PackageAnswerTest, StoresEachMemberOfItsExpectedTypeAndRefusesAnythingElse) {
  for (const AnswerCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    InstallRecord record;
    bool accepted = true;
    ASSERT_NO_THROW(accepted = ApplyPackageAnswer(c.document, record));
    EXPECT_EQ(accepted, c.accepted);
    InstallRecord expected;
    if (c.expected_change) c.expected_change(expected);
    ExpectSameRecord(record, expected);
  }
}

TEST(PackageAnswerTest, AnAnswerLeavesFieldsItDoesNotNameAsAnEarlierOneSetThem) {
  InstallRecord record;
  ASSERT_TRUE(ApplyPackageAnswer(kFullDocument, record));
  ASSERT_TRUE(ApplyPackageAnswer(R"({"code":0,"data":{"ver":"46","game":{"ver":"x"}}})", record));
  InstallRecord expected;
  FullDocumentChange(expected);
  expected.ver = 46;
  ExpectSameRecord(record, expected);
}

}  // namespace
}  // namespace qv::workflow
