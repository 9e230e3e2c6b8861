#include "platform/ui_language.h"

#include <initializer_list>

namespace qv::platform {
namespace {

// Primary language ids (the low ten bits of a language id) by ISO 639 code.
struct PrimaryLanguage {
  std::string_view code;
  uint16_t primary;
};

constexpr PrimaryLanguage kPrimaryLanguages[] = {
    {"af", 0x36},  {"am", 0x5E},  {"ar", 0x01},  {"arn", 0x7A}, {"as", 0x4D},  {"az", 0x2C},
    {"ba", 0x6D},  {"be", 0x23},  {"bg", 0x02},  {"bn", 0x45},  {"bo", 0x51},  {"br", 0x7E},
    {"bs", 0x1A},  {"ca", 0x03},  {"ckb", 0x92}, {"co", 0x83},  {"cs", 0x05},  {"cy", 0x52},
    {"da", 0x06},  {"de", 0x07},  {"dsb", 0x2E}, {"dv", 0x65},  {"el", 0x08},  {"en", 0x09},
    {"es", 0x0A},  {"et", 0x25},  {"eu", 0x2D},  {"fa", 0x29},  {"ff", 0x67},  {"fi", 0x0B},
    {"fil", 0x64}, {"fo", 0x38},  {"fr", 0x0C},  {"fy", 0x62},  {"ga", 0x3C},  {"gd", 0x91},
    {"gl", 0x56},  {"gsw", 0x84}, {"gu", 0x47},  {"ha", 0x68},  {"he", 0x0D},  {"hi", 0x39},
    {"hr", 0x1A},  {"hsb", 0x2E}, {"hu", 0x0E},  {"hy", 0x2B},  {"id", 0x21},  {"ig", 0x70},
    {"ii", 0x78},  {"is", 0x0F},  {"it", 0x10},  {"iu", 0x5D},  {"ja", 0x11},  {"ka", 0x37},
    {"kk", 0x3F},  {"kl", 0x6F},  {"km", 0x53},  {"kn", 0x4B},  {"ko", 0x12},  {"kok", 0x57},
    {"ku", 0x92},  {"ky", 0x40},  {"lb", 0x6E},  {"lo", 0x54},  {"lt", 0x27},  {"lv", 0x26},
    {"mi", 0x81},  {"mk", 0x2F},  {"ml", 0x4C},  {"mn", 0x50},  {"moh", 0x7C}, {"mr", 0x4E},
    {"ms", 0x3E},  {"mt", 0x3A},  {"my", 0x55},  {"nb", 0x14},  {"ne", 0x61},  {"nl", 0x13},
    {"nn", 0x14},  {"no", 0x14},  {"nso", 0x6C}, {"oc", 0x82},  {"or", 0x48},  {"pa", 0x46},
    {"pl", 0x15},  {"ps", 0x63},  {"pt", 0x16},  {"quz", 0x6B}, {"rm", 0x17},  {"ro", 0x18},
    {"ru", 0x19},  {"rw", 0x87},  {"sa", 0x4F},  {"sah", 0x85}, {"se", 0x3B},  {"si", 0x5B},
    {"sk", 0x1B},  {"sl", 0x24},  {"sq", 0x1C},  {"sr", 0x1A},  {"sv", 0x1D},  {"sw", 0x41},
    {"syr", 0x5A}, {"ta", 0x49},  {"te", 0x4A},  {"tg", 0x28},  {"th", 0x1E},  {"tk", 0x42},
    {"tn", 0x32},  {"tr", 0x1F},  {"tt", 0x44},  {"ug", 0x80},
    {"uk", 0x22},  {"ur", 0x20},  {"uz", 0x43},  {"vi", 0x2A},  {"wo", 0x88},  {"xh", 0x34},
    {"yo", 0x6A},  {"zh", 0x04},  {"zu", 0x35},
};

// Ids of the languages whose territory (or script) changes more than the default sub-language.
struct RegionalLanguage {
  std::string_view language;
  std::string_view territory;  // "" for the language without a territory
  std::string_view modifier;   // "" for any modifier
  uint16_t id;
};

constexpr RegionalLanguage kRegionalLanguages[] = {
    {"ar", "SA", "", 0x0401}, {"ar", "IQ", "", 0x0801}, {"ar", "EG", "", 0x0C01},
    {"ar", "LY", "", 0x1001}, {"ar", "DZ", "", 0x1401}, {"ar", "MA", "", 0x1801},
    {"ar", "TN", "", 0x1C01}, {"ar", "OM", "", 0x2001}, {"ar", "YE", "", 0x2401},
    {"ar", "SY", "", 0x2801}, {"ar", "JO", "", 0x2C01}, {"ar", "LB", "", 0x3001},
    {"ar", "KW", "", 0x3401}, {"ar", "AE", "", 0x3801}, {"ar", "BH", "", 0x3C01},
    {"ar", "QA", "", 0x4001},
    {"bs", "BA", "cyrillic", 0x201A}, {"bs", "BA", "", 0x141A},
    {"de", "CH", "", 0x0807}, {"de", "AT", "", 0x0C07}, {"de", "LU", "", 0x1007},
    {"de", "LI", "", 0x1407},
    {"en", "GB", "", 0x0809}, {"en", "AU", "", 0x0C09}, {"en", "CA", "", 0x1009},
    {"en", "NZ", "", 0x1409}, {"en", "IE", "", 0x1809}, {"en", "ZA", "", 0x1C09},
    {"en", "JM", "", 0x2009}, {"en", "BZ", "", 0x2809}, {"en", "TT", "", 0x2C09},
    {"en", "ZW", "", 0x3009}, {"en", "PH", "", 0x3409}, {"en", "IN", "", 0x4009},
    {"en", "MY", "", 0x4409}, {"en", "SG", "", 0x4809},
    {"es", "ES", "", 0x0C0A}, {"es", "MX", "", 0x080A}, {"es", "GT", "", 0x100A},
    {"es", "CR", "", 0x140A}, {"es", "PA", "", 0x180A}, {"es", "DO", "", 0x1C0A},
    {"es", "VE", "", 0x200A}, {"es", "CO", "", 0x240A}, {"es", "PE", "", 0x280A},
    {"es", "AR", "", 0x2C0A}, {"es", "EC", "", 0x300A}, {"es", "CL", "", 0x340A},
    {"es", "UY", "", 0x380A}, {"es", "PY", "", 0x3C0A}, {"es", "BO", "", 0x400A},
    {"es", "SV", "", 0x440A}, {"es", "HN", "", 0x480A}, {"es", "NI", "", 0x4C0A},
    {"es", "PR", "", 0x500A}, {"es", "US", "", 0x540A},
    {"fr", "BE", "", 0x080C}, {"fr", "CA", "", 0x0C0C}, {"fr", "CH", "", 0x100C},
    {"fr", "LU", "", 0x140C}, {"fr", "MC", "", 0x180C},
    {"it", "CH", "", 0x0810},
    {"ms", "BN", "", 0x083E},
    {"nl", "BE", "", 0x0813},
    {"nn", "", "", 0x0814},
    {"pt", "BR", "", 0x0416}, {"pt", "PT", "", 0x0816},
    {"ru", "MD", "", 0x0819},
    {"sr", "RS", "latin", 0x241A}, {"sr", "RS", "", 0x281A}, {"sr", "ME", "latin", 0x2C1A},
    {"sr", "ME", "", 0x301A}, {"sr", "", "latin", 0x081A}, {"sr", "", "", 0x0C1A},
    {"sv", "FI", "", 0x081D},
    {"uz", "UZ", "cyrillic", 0x0843},
    {"zh", "", "", 0x0004}, {"zh", "TW", "", 0x0404}, {"zh", "CN", "", 0x0804},
    {"zh", "HK", "", 0x0C04}, {"zh", "SG", "", 0x1004}, {"zh", "MO", "", 0x1404},
};

constexpr uint16_t kSubLanguageDefault = 0x01;

uint16_t MakeLangId(uint16_t primary, uint16_t sub) {
  return static_cast<uint16_t>((sub << 10) | primary);
}

}  // namespace

uint16_t LanguageIdForLocale(std::string_view locale) {
  // language[_TERRITORY][.codeset][@modifier]
  std::string_view modifier;
  if (const size_t at = locale.find('@'); at != std::string_view::npos) {
    modifier = locale.substr(at + 1);
    locale = locale.substr(0, at);
  }
  if (const size_t dot = locale.find('.'); dot != std::string_view::npos) {
    locale = locale.substr(0, dot);
  }
  std::string_view territory;
  if (const size_t underscore = locale.find('_'); underscore != std::string_view::npos) {
    territory = locale.substr(underscore + 1);
    locale = locale.substr(0, underscore);
  }
  const std::string_view language = locale;

  for (const RegionalLanguage& regional : kRegionalLanguages) {
    if (regional.language == language && regional.territory == territory &&
        (regional.modifier.empty() || regional.modifier == modifier)) {
      return regional.id;
    }
  }
  for (const PrimaryLanguage& primary : kPrimaryLanguages) {
    if (primary.code != language) continue;
    // Chinese of a territory without an id of its own: the neutral (simplified) id.
    if (language == "zh") return 0x0004;
    return MakeLangId(primary.primary, kSubLanguageDefault);
  }
  return kLangIdEnglishUnitedStates;  // "C", "POSIX", unset, or a language without an id
}

}  // namespace qv::platform
