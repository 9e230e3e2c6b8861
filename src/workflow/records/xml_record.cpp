#include "workflow/records/xml_record.h"

#include <sstream>

namespace qv::workflow {

bool LoadXmlRecord(std::string_view bytes, pugi::xml_document& document) {
  return static_cast<bool>(document.load_buffer(bytes.data(), bytes.size()));
}

std::string SaveXmlRecord(const pugi::xml_document& document) {
  std::ostringstream out;
  document.save(out);
  return std::move(out).str();
}

}  // namespace qv::workflow
