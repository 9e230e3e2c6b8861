#include "util/language_selection.h"

#include <mutex>

#include "platform/private_profile.h"
#include "platform/resources.h"
#include "platform/ui_language.h"
#include "util/app_folders.h"
#include "util/client_identity.h"
#include "util/language_id.h"
#include "util/text_conversion.h"

namespace qv::util {
namespace {

struct ProcessTable {
  std::mutex lock;
  LanguageTable table;  // guarded by lock
};

ProcessTable& ProcessLanguageTable() {
  static ProcessTable* table = new ProcessTable;  // kept until exit: Translate may come late
  return *table;
}

}  // namespace

LanguageSelection DefaultLanguageSelection() {
  LanguageSelection selection;
  selection.config_ini = WideToUtf8(LocalDataFolder() + kConfigIniName);
  selection.system_code = SystemLanguageCode();
  selection.find_resource = [](int id) { return platform::FindResource(id); };
  return selection;
}

bool SelectLanguage(LanguageTable& table, const LanguageSelection& selection) {
  std::string code;
  platform::GetPrivateProfileString(kLanguageIniSection, kLastLangNameIniKey, "", code,
                                    kLastLangNameBufferUnits, selection.config_ini);
  if (code.empty()) {
    code = selection.system_code;
    // A failed write only means the choice is made again next time.
    platform::WritePrivateProfileString(kLanguageIniSection, kLastLangNameIniKey, code,
                                        selection.config_ini);
  }
  const Language* language = FindLanguage(code);
  if (language == nullptr) return false;
  bool loaded = false;
  if (selection.find_resource) loaded = table.Load(selection.find_resource(language->resource_id));
  SetCurrentLanguageId(language->language_id);
  return loaded;
}

bool SelectLanguage() {
  const LanguageSelection selection = DefaultLanguageSelection();
  ProcessTable& process = ProcessLanguageTable();
  std::lock_guard<std::mutex> guard(process.lock);
  return SelectLanguage(process.table, selection);
}

std::u16string Translate(std::string_view key) {
  ProcessTable& process = ProcessLanguageTable();
  std::lock_guard<std::mutex> guard(process.lock);
  return process.table.Translate(key);
}

std::string SystemLanguageCode() {
  static const std::string code(LanguageCodeForLangId(platform::UserDefaultUILanguage()));
  return code;
}

}  // namespace qv::util
