// The fourteen language tables as the installer embeds them: the resource format, the keys the
// program asks for, and the translations that must be exactly as given.

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/resources.h"
#include "util/default_descriptions.h"

namespace qv {
namespace {

constexpr int kFirstTableId = 138;

// The keys whose translations are fixed, in the order of Language::shown.
constexpr std::array<const char*, 6> kShownKeys = {
    "Installing...", "Downloading...", "Extracting...", "Installation completed.", "Failed...",
    "Play on Browser"};

struct Language {
  const char* code;
  // Values of kShownKeys; nullptr where the wording is ours to choose.
  std::array<const char*, 6> shown;
};

// In row order: the table of row i is resource kFirstTableId + i.
const Language kLanguages[] = {
    {"ar", {"...تنصيب", "...تحميل", "...استخراج", "تم التنصيب", "...خطا", "Play on Browser"}},
    {"de", {"Installiert...", "Lädt herunter...", "Extrahiert...", "Installation abgeschlossen.",
            "Fehlgeschlagen...", nullptr}},
    {"en", {"Installing...", "Downloading...", "Extracting...", "Installation completed.",
            "Failed...", "Play on Browser"}},
    {"es", {"Instalando...", "Descargando...", "Extrayendo...", "Instalación completa.",
            "Ha fallado...", "Jugar en el Navegador"}},
    {"fr", {"Installation en cours...", "Téléchargement en cours...", "Extrait en cours...",
            "Installation terminée", "Échoué...", "Jouer avec navigateur"}},
    {"id", {"Menginstal...", "Mengunduh...", "Mengekstraksi...", "Instalasi selesai.", "Gagal...",
            "Main di Browser"}},
    {"it", {"Installazione in corso...", "Download in corso...", "Estrazione in corso...",
            "Installazione completata.", "Non riuscito...", "Gioca sul browser"}},
    {"pl", {"Instalacja...", "Pobieranie...", "Wyodrębnianie...", "Instalacja zakończona",
            "Nie udało się...", "Graj w przeglądarce"}},
    {"pt", {"Instalando...", "Carregando...", "Extraindo...", "Instalação completa.", "Falhou...",
            "Jogar no navegador"}},
    {"ru", {"Установка...", "Загрузка...", "Распаковка...", "Установка завершена.",
            "Не удалось...", "Играть в браузере"}},
    {"th", {"กำลังติดตั้ง...", "กำลังดาวน์โหลด...", "กำลังแตกไฟล์...", "ติดตั้งเสร็จแล้ว",
            "ล้มเหลว...", "เล่นบนเบราว์เซอร์"}},
    {"tr", {"Yükleniyor...", "İndiriliyor...", "Paket Açılıyor...", "Yükleme tamamlandı.",
            "Başarısız...", "Tarayıcıda Oyna"}},
    {"zh_CN", {"安装中...", "下载中...", "解压中...", "安装完成", "失败...", "去浏览器上玩"}},
    {"zh_TW", {"安裝中...", "下載中...", "解壓中...", "安装完成", "失敗...", "去流覽器上玩"}},
};

std::vector<std::string> ExpectedKeys(std::string_view code) {
  std::vector<std::string> keys = {"Setup - QVorvane", "Setup - QVorvane for %s",
                                   util::kPlatformDescription};
  if (code != "th") keys.push_back(util::kGameDescription);  // Thai lacks the game's paragraph
  keys.insert(keys.end(), kShownKeys.begin(), kShownKeys.end() - 1);
  for (const char* key : {"for", "ToVI", "ToVII", "ToVIII", "Installing QVorvane..."})
    keys.push_back(key);
  keys.push_back(kShownKeys.back());
  return keys;
}

std::string_view TableBytes(int row) {
  const auto bytes = platform::FindResource(kFirstTableId + row);
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

using Items = std::vector<std::pair<std::string, std::string>>;

// The table's items in document order; fails on anything but empty <Item key value> elements
// under the root "Language".
testing::AssertionResult ParseTable(int row, Items* items) {
  const std::string_view bytes = TableBytes(row);
  pugi::xml_document document;
  if (const auto result = document.load_buffer(bytes.data(), bytes.size()); !result)
    return testing::AssertionFailure() << "does not parse: " << result.description();
  const pugi::xml_node root = document.document_element();
  if (std::string_view(root.name()) != "Language")
    return testing::AssertionFailure() << "root is <" << root.name() << ">";
  for (const pugi::xml_node item : root.children()) {
    const pugi::xml_attribute key = item.first_attribute();
    const pugi::xml_attribute value = key.next_attribute();
    if (std::string_view(item.name()) != "Item" || std::string_view(key.name()) != "key" ||
        std::string_view(value.name()) != "value" || value.next_attribute() || item.first_child())
      return testing::AssertionFailure() << "not an <Item key value> element: " << item.name();
    items->emplace_back(key.value(), value.value());
  }
  return testing::AssertionSuccess();
}

const std::string* ValueOf(const Items& items, std::string_view key) {
  const auto item =
      std::find_if(items.begin(), items.end(), [&](const auto& i) { return i.first == key; });
  return item == items.end() ? nullptr : &item->second;
}

// Translate decodes 1- to 3-byte UTF-8 sequences and cuts the text at anything else.
bool DecodesWhole(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += length;
  }
  return true;
}

TEST(LanguageTablesTest, EveryTableIsInTheResourceFormat) {
  constexpr std::string_view kStart = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
  for (size_t row = 0; row < std::size(kLanguages); ++row) {
    SCOPED_TRACE(kLanguages[row].code);
    const std::string_view bytes = TableBytes(static_cast<int>(row));
    EXPECT_TRUE(bytes.starts_with(kStart));
    EXPECT_TRUE(bytes.ends_with("</Language>\r\n"));
    for (size_t i = 0; i < bytes.size(); ++i) {
      const bool lone_cr = bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n');
      const bool lone_lf = bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r');
      ASSERT_FALSE(lone_cr || lone_lf) << "line end at byte " << i << " is not CR LF";
    }
  }
}

TEST(LanguageTablesTest, EveryTableHoldsTheKeysTheProgramAsksForInOrder) {
  for (size_t row = 0; row < std::size(kLanguages); ++row) {
    SCOPED_TRACE(kLanguages[row].code);
    Items items;
    ASSERT_TRUE(ParseTable(static_cast<int>(row), &items));
    std::vector<std::string> keys;
    for (const auto& item : items) keys.push_back(item.first);
    EXPECT_EQ(keys, ExpectedKeys(kLanguages[row].code));
  }
}

TEST(LanguageTablesTest, TheMostSeenTextsAreTranslatedExactly) {
  for (size_t row = 0; row < std::size(kLanguages); ++row) {
    SCOPED_TRACE(kLanguages[row].code);
    Items items;
    ASSERT_TRUE(ParseTable(static_cast<int>(row), &items));
    for (size_t k = 0; k < kShownKeys.size(); ++k) {
      const char* expected = kLanguages[row].shown[k];
      if (expected == nullptr) continue;
      const std::string* value = ValueOf(items, kShownKeys[k]);
      ASSERT_NE(value, nullptr) << kShownKeys[k];
      EXPECT_EQ(*value, expected) << kShownKeys[k];
    }
  }
}

TEST(LanguageTablesTest, EveryValueIsShownWhole) {
  for (size_t row = 0; row < std::size(kLanguages); ++row) {
    SCOPED_TRACE(kLanguages[row].code);
    Items items;
    ASSERT_TRUE(ParseTable(static_cast<int>(row), &items));
    for (const auto& [key, value] : items) {
      EXPECT_FALSE(value.empty()) << key;
      EXPECT_TRUE(DecodesWhole(value)) << key;
      // Translate would expand a backslash escape; no text of ours means one.
      EXPECT_EQ(value.find('\\'), std::string::npos) << key;
    }
    // The title with the game's name keeps its one conversion, so it can be formatted safely.
    const std::string* setup_for = ValueOf(items, "Setup - QVorvane for %s");
    ASSERT_NE(setup_for, nullptr);
    const size_t conversion = setup_for->find('%');
    ASSERT_NE(conversion, std::string::npos);
    EXPECT_EQ(setup_for->substr(conversion, 2), "%s");
    EXPECT_EQ(setup_for->find('%', conversion + 1), std::string::npos);
  }
}

TEST(LanguageTablesTest, DescriptionsAreTranslatedAndEnglishKeepsItsKeys) {
  for (size_t row = 0; row < std::size(kLanguages); ++row) {
    const std::string_view code = kLanguages[row].code;
    SCOPED_TRACE(code);
    Items items;
    ASSERT_TRUE(ParseTable(static_cast<int>(row), &items));
    for (const auto& [key, value] : items) {
      const bool description = key == util::kPlatformDescription || key == util::kGameDescription;
      if (code != "en") {
        if (description) {
          EXPECT_NE(value, key);
        }
      } else if (key == util::kPlatformDescription) {
        EXPECT_LT(value.size(), key.size()) << "the English value is a shorter variant";
      } else {
        EXPECT_EQ(value, key);
      }
    }
  }
}

}  // namespace
}  // namespace qv
