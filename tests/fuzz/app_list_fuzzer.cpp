// The update of list.dat (the platform client's app list) from whatever the file holds.
//
// Beyond "no crash": a list the update refuses keeps its bytes; a written list is a well-formed
// app list whose items are the old ones (every other game's item attribute for attribute) with
// this game's item updated in place or appended; and updating the written list again changes
// nothing.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_check.h"
#include "fuzz_install_machine.h"
#include "util/file_paths.h"
#include "util/text_conversion.h"
#include "workflow/records/app_list.h"
#include "workflow/folders/install_folders.h"
#include "workflow/records/xml_record.h"

namespace {

using Attributes = std::vector<std::pair<std::string, std::string>>;

constexpr std::string_view kLocalPath = "/data/QVorvane/download/app/1001_1.0.2_17.dat";

// This game's item as the update writes it, every attribute in order.
const Attributes kGameItem = {
    {"game_id", "1001"},
    {"game_name", "Game & \"Co\" <1>"},
    {"md5", "0123456789abcdef0123456789abcdef"},
    {"saved_bytes", "0"},
    {"total_bytes", "0"},
    {"net_path", "https://cdn.example/p/1001.zip?a=1&b=2"},
    {"local_path", std::string(kLocalPath)},
    {"game_type", "2"},
    {"state", "9"},
    {"version", "1.0.2"},
    {"ver_code", "17"},
};

// The items of the app list in `bytes`; nullopt when the text is no app list.
std::optional<std::vector<Attributes>> Items(const std::string& bytes) {
  pugi::xml_document document;
  if (!qv::workflow::LoadXmlRecord(bytes, document)) return std::nullopt;
  const pugi::xml_node app_list = document.child("app_list");
  if (!app_list) return std::nullopt;
  std::vector<Attributes> items;
  for (const pugi::xml_node item : app_list.children("item")) {
    Attributes attributes;
    for (const pugi::xml_attribute attribute : item.attributes()) {
      attributes.emplace_back(attribute.name(), attribute.value());
    }
    items.push_back(std::move(attributes));
  }
  return items;
}

bool IsThisGame(const Attributes& item) {
  for (const auto& [name, value] : item) {
    if (name == "game_id") return value == "1001";
  }
  return false;
}

// The old item after the update: the attributes it has take the new values, except the ones an
// earlier install keeps. Of an attribute given twice (which XML forbids but the parser takes)
// the first is the one looked up and updated.
Attributes Updated(Attributes item) {
  std::set<std::string> seen;
  for (auto& [name, value] : item) {
    if (!seen.insert(name).second || name == "game_id" || name == "game_name" ||
        name == "saved_bytes" || name == "total_bytes") {
      continue;
    }
    for (const auto& [new_name, new_value] : kGameItem) {
      if (name == new_name) value = new_value;
    }
  }
  return item;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::fuzz::FuzzInstallMachine& machine = qv::fuzz::Machine();
  static const std::string list_path = [&] {
    const std::u16string folder = qv::workflow::GetDownloadFolder(machine.context.machine);
    QV_FUZZ_CHECK(!folder.empty());
    return qv::util::ToPlatformPath(folder) + "list.dat";
  }();
  const std::string old_bytes(reinterpret_cast<const char*>(data), size);
  machine.root.WriteFile(std::filesystem::relative(list_path, machine.root.path()).string(),
                         old_bytes);

  const bool written = qv::workflow::UpdateAppList(kLocalPath, machine.context);
  const std::optional<std::string> new_bytes = qv::test::ReadFileBytes(list_path);
  QV_FUZZ_CHECK(new_bytes.has_value());
  if (!written) {
    QV_FUZZ_CHECK(*new_bytes == old_bytes);
    return 0;
  }

  const std::optional<std::vector<Attributes>> new_items = Items(*new_bytes);
  QV_FUZZ_CHECK(new_items.has_value());
  std::vector<Attributes> expected = Items(old_bytes).value_or(std::vector<Attributes>());
  bool found = false;
  for (Attributes& item : expected) {
    if (IsThisGame(item)) {
      item = Updated(std::move(item));
      found = true;
      break;
    }
  }
  if (!found) expected.push_back(kGameItem);
  QV_FUZZ_CHECK(*new_items == expected);

  QV_FUZZ_CHECK(qv::workflow::UpdateAppList(kLocalPath, machine.context));
  QV_FUZZ_CHECK(qv::test::ReadFileBytes(list_path) == new_bytes);
  return 0;
}
